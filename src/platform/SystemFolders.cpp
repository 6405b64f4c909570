#include "platform/SystemFolders.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStorageInfo>
#include <QTemporaryFile>

namespace {

QString WithTrailingSlash(QString path)
{
    if (!path.isEmpty() && !path.endsWith(QLatin1Char('/'))) path += QLatin1Char('/');
    return path;
}

QString HomeFolder()
{
    const QByteArray home = qgetenv("HOME");
    if (!home.isEmpty()) return QString::fromLocal8Bit(home);
    return QDir::homePath();
}

} // namespace

QString SpecialFolderPath(int shellFolderId)
{
    switch (shellFolderId) {
    case kCsidlCommonAppData: {
        const QByteArray overridden = qgetenv("VARNEL_CONFIG_DIR");
        if (!overridden.isEmpty()) return WithTrailingSlash(QString::fromLocal8Bit(overridden));
        QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
        if (folder.isEmpty()) return QString();
        return WithTrailingSlash(folder + QStringLiteral("/varnel"));
    }
    case kCsidlPersonal:
        return WithTrailingSlash(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
    default:
        return QString();
    }
}

bool CanWriteTo(const QString& folder)
{
    if (folder.isEmpty() || !QFileInfo(folder).isDir()) return false;
    QTemporaryFile probe(QDir(folder).filePath(QStringLiteral("DAXXXXXX.tmp")));
    probe.setAutoRemove(false);
    if (!probe.open()) return false;
    const QString name = probe.fileName();
    probe.close();
    return QFile::remove(name);
}

QString DefaultOutputFolder()
{
    QString videos = QStandardPaths::writableLocation(QStandardPaths::MoviesLocation);
    if (videos.isEmpty()) videos = HomeFolder() + QStringLiteral("/Videos");
    return QDir::cleanPath(videos + QStringLiteral("/varnel"));
}

QString PerUserOutputFolder()
{
    return QDir::cleanPath(HomeFolder() + QStringLiteral("/varnel"));
}

bool IsOnReadOnlyMedia(const QString& folder)
{
    const QStorageInfo storage(folder);
    if (!storage.isValid() || !storage.isReadOnly()) return false;
    const QByteArray type = storage.fileSystemType();
    return type == "iso9660" || type == "udf";
}

QString InstalledDataFolder()
{
    const QString beside = QDir::cleanPath(QCoreApplication::applicationDirPath() + QStringLiteral("/../share/varnel"));
    if (QFileInfo::exists(beside + QStringLiteral("/varnelformat.ini"))) return beside;
    const QByteArray fromEnvironment = qgetenv("VARNEL_SOURCE_DATA_DIR");
    if (!fromEnvironment.isEmpty()) return QString::fromLocal8Bit(fromEnvironment);
    return QStringLiteral(VARNEL_SOURCE_DATA_DIR);
}

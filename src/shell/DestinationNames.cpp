#include "shell/DestinationNames.h"

#include "platform/Dialogs.h"
#include "platform/SystemFolders.h"
#include "shell/Settings.h"

#include <QDir>
#include <QFileInfo>

QString UsableOutputFolder(ConverterSettings& settings, Dialogs& dialogs, QWidget* parent)
{
    QString folder = settings.OutPutDir();
    if (!folder.isEmpty() && (QFileInfo(folder).isDir() || QDir().mkpath(folder))) return folder;
    const QString fallback = DefaultOutputFolder();
    dialogs.Message(parent,
                    QStringLiteral("Cannot create output directory:") + folder +
                        QStringLiteral(".It will create default directory ") + fallback + QStringLiteral("!"),
                    QStringLiteral("Warning"), MessageIcon::Warning);
    QDir().mkpath(fallback);
    settings.SetOutPutDir(fallback);
    return fallback;
}

bool DestinationNamer::IsTaken(const QString& path) const
{
    return handedOut_.contains(path) || QFileInfo::exists(path) || QFileInfo(path).isSymLink();
}

QString DestinationNamer::NameInFolder(const QString& sourcePath, const QString& suffix, QString folder)
{
    if (!folder.endsWith(QLatin1Char('/'))) folder += QLatin1Char('/');
    const QString base = folder + QFileInfo(sourcePath).completeBaseName();
    QString candidate = base + QStringLiteral("_(new)") + suffix;
    for (int n = 1; IsTaken(candidate); ++n)
        candidate = base + QStringLiteral("_(new_%1)").arg(n) + suffix;
    handedOut_.insert(candidate);
    return candidate;
}

QString DestinationNamer::Name(const QString& sourcePath, const QString& suffix, ConverterSettings& settings,
                               Dialogs& dialogs, QWidget* parent)
{
    return NameInFolder(sourcePath, suffix, UsableOutputFolder(settings, dialogs, parent));
}

QString DestinationName(const QString& sourcePath, const QString& suffix, ConverterSettings& settings,
                        Dialogs& dialogs, QWidget* parent)
{
    DestinationNamer namer;
    return namer.Name(sourcePath, suffix, settings, dialogs, parent);
}

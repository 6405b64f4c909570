#include "media/OutputFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

QString CreateTemporaryOutput(const QString& destination, QString& error)
{
    const QFileInfo fi(destination);
    const QString dir = fi.absolutePath();
    if (!QFileInfo(dir).isDir()) {
        error = QStringLiteral("Output folder does not exist: %1").arg(dir);
        return {};
    }
    QByteArray pattern = QFile::encodeName(QDir(dir).filePath(QStringLiteral(".%1.XXXXXX.part").arg(fi.completeBaseName())));
    const int fd = mkstemps(pattern.data(), 5);
    if (fd < 0) {
        error = QStringLiteral("Cannot write to output folder %1: %2").arg(dir, QString::fromLocal8Bit(std::strerror(errno)));
        return {};
    }
    ::close(fd);
    return QFile::decodeName(pattern);
}

QString NextDestinationName(const QString& taken)
{
    const QFileInfo fi(taken);
    const QString suffix = fi.suffix().isEmpty() ? QString() : QStringLiteral(".") + fi.suffix();
    QString stem = fi.completeBaseName();
    if (fi.suffix().isEmpty()) stem = fi.fileName();
    static const QRegularExpression numbered(QStringLiteral("^(.*)_\\(new(?:_(\\d+))?\\)$"));
    const QRegularExpressionMatch m = numbered.match(stem);
    QString next;
    if (m.hasMatch()) {
        const int n = m.captured(2).isEmpty() ? 0 : m.captured(2).toInt();
        next = QStringLiteral("%1_(new_%2)").arg(m.captured(1)).arg(n + 1);
    } else {
        next = stem + QStringLiteral("_(new)");
    }
    return QDir(fi.path()).filePath(next + suffix);
}

namespace {

// 0 on success, else errno. EEXIST means the name is taken.
int LinkNoReplace(const QByteArray& from, const QByteArray& to)
{
    if (::link(from.constData(), to.constData()) == 0) {
        ::unlink(from.constData());
        return 0;
    }
    const int err = errno;
    if (err == EEXIST) return EEXIST;
    if (err != EPERM && err != ENOTSUP && err != EOPNOTSUPP && err != EXDEV && err != ENOSYS) return err;
    // Folders without hard links: rename, refusing to replace.
    if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE) == 0) return 0;
    return errno;
}

} // namespace

bool MoveIntoPlace(const QString& temporary, const QString& destination, QString& finalPath, QString& error)
{
    QString candidate = destination;
    for (int attempt = 0; attempt < 10000; ++attempt) {
        const int rc = LinkNoReplace(QFile::encodeName(temporary), QFile::encodeName(candidate));
        if (rc == 0) {
            finalPath = candidate;
            return true;
        }
        if (rc != EEXIST) {
            error = QStringLiteral("Cannot create %1: %2").arg(candidate, QString::fromLocal8Bit(std::strerror(rc)));
            return false;
        }
        candidate = NextDestinationName(candidate);
    }
    error = QStringLiteral("No free output name for %1").arg(destination);
    return false;
}

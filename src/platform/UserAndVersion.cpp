#include "platform/UserAndVersion.h"

#include <pwd.h>
#include <unistd.h>

QString CurrentUserName()
{
    if (const passwd* entry = getpwuid(geteuid()); entry && entry->pw_name) return QString::fromLocal8Bit(entry->pw_name);
    return QString::fromLocal8Bit(qgetenv("USER"));
}

QString VersionText(int major, int minor, int release, int build)
{
    return QStringLiteral(" %1.%2%3%4 ").arg(major).arg(minor).arg(release).arg(build);
}

QString VersionFromResource()
{
    return VersionText(VARNEL_VERSION_MAJOR, VARNEL_VERSION_MINOR, VARNEL_VERSION_PATCH, VARNEL_VERSION_TWEAK);
}

QString RightChars(const QString& text, quint16 count)
{
    if (text.size() <= count) return text;
    return text.right(count);
}

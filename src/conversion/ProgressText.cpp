#include "conversion/ProgressText.h"

#include <QFileInfo>

int64_t ProgressPercent(int64_t position, int64_t total) { return total > 0 ? position * 100 / total : 0; }

QString SecondsText(int64_t microseconds) { return QString::number(microseconds / 1000000) + QStringLiteral(" Second"); }

QString KilobytesText(int64_t bytes) { return QString::number(bytes / 1000) + QStringLiteral(" kb"); }

QString TaskNumberText(int taskIndex, int taskCount)
{
    return QStringLiteral("[%1/%2]").arg(taskIndex + 1).arg(taskCount);
}

QString ShortSourceName(const QString& path)
{
    if (path.size() <= 50) return path;
    const QString suffix = QFileInfo(path).suffix();
    return path.left(44) + QStringLiteral("..") + (suffix.isEmpty() ? QString() : QLatin1Char('.') + suffix);
}

#include "conversion/ProgressText.h"

#include <QFileInfo>

#include <cmath>

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

QRect FitPicture(int pictureWidth, int pictureHeight, const QRect& box)
{
    if (pictureWidth <= 0 || pictureHeight <= 0 || box.width() <= 0 || box.height() <= 0) return box;
    const double a = double(pictureWidth) / box.width();
    const double b = double(pictureHeight) / box.height();
    // nearbyint rounds halves to even, as the layout rule asks.
    if (a >= b) {
        const int m = int(std::nearbyint((box.height() - pictureHeight / a) / 2));
        return QRect(box.left(), box.top() + m, box.width(), box.height() - 2 * m);
    }
    const int m = int(std::nearbyint((box.width() - pictureWidth / b) / 2));
    return QRect(box.left() + m, box.top(), box.width() - 2 * m, box.height());
}

#include "tools/TrimRange.h"

#include <QFileInfo>

namespace {

constexpr int64_t kOneMillisecond = 1000;
constexpr int kCaptionChars = 50;

QString DottedExtension(const QString& path)
{
    const QString suffix = QFileInfo(path).suffix();
    return suffix.isEmpty() ? QString() : QLatin1Char('.') + suffix;
}

} // namespace

TrimChoice ChooseTrim(int64_t s, int64_t e, int64_t d)
{
    const int64_t length = (s >= 0 && e > 0 && s < e && e <= d) ? e - s : d;
    TrimChoice choice;
    if (length <= 0) return choice;
    choice.TrimStart = s > 0 ? s : 0;
    // A range that is all or nearly all of the file, or too short to mean
    // anything, converts to the end.
    const bool toTheEnd = length < kOneMillisecond || d - length < kOneMillisecond || length == d;
    choice.TrimLength = toTheEnd ? 0 : length;
    choice.TrimmedLengthText = QString::number(length / 1000000);
    return choice;
}

int BarPositionOf(int64_t position, int64_t fileDuration, int barMax)
{
    if (fileDuration <= 0) return 0;
    return int(int64_t(barMax) * position / fileDuration);
}

int64_t PositionOfBar(int thumb, int barMax, int64_t fileDuration)
{
    if (barMax <= 0) return 0;
    return int64_t(double(thumb) / barMax * double(fileDuration));
}

QString TrimCaption(const QString& sourcePath)
{
    if (sourcePath.size() <= kCaptionChars) return sourcePath;
    return QStringLiteral("Trim   ") + sourcePath.left(kCaptionChars) + QStringLiteral("..") +
           DottedExtension(sourcePath) + QStringLiteral("  ");
}

#include "tools/FileInfoText.h"

#include <QFileInfo>

#include <cmath>

QString ShortenedSourceName(const QString& path)
{
    if (path.size() <= 45) return path;
    const QString suffix = QFileInfo(path).suffix();
    const QString extension = suffix.isEmpty() ? QString() : QStringLiteral(".") + suffix;
    return path.left(40) + QStringLiteral("..") + extension + QStringLiteral("  ");
}

QString MillisecondSecondsText(int64_t microseconds)
{
    if (microseconds < 0) return {};
    return QString::asprintf("%lld.%.3lld", static_cast<long long>(microseconds / 1000000),
                             static_cast<long long>(microseconds % 1000000 / 1000)) +
           QStringLiteral(" Second");
}

QString FrameRateText(const TRational& rate)
{
    if (rate.Num <= 0 || rate.Den <= 0) return {};
    QString text = QString::number(double(rate.Num) / double(rate.Den), 'f', 2);
    while (text.endsWith(QLatin1Char('0'))) text.chop(1);
    if (text.endsWith(QLatin1Char('.'))) text.chop(1);
    return text;
}

int64_t TotalFrames(int64_t durationMicroseconds, const TRational& rate)
{
    if (durationMicroseconds < 0 || rate.Num <= 0 || rate.Den <= 0) return -1;
    return std::llround(double(durationMicroseconds) / 1e6 * double(rate.Num) / double(rate.Den));
}

QString AudioCodecText(const QString& report)
{
    static const QString marker = QStringLiteral("Audio:");
    const qsizetype start = report.indexOf(marker);
    if (start < 0) return {};
    qsizetype lineEnd = report.indexOf(QLatin1Char('\n'), start);
    if (lineEnd < 0) lineEnd = report.size();
    const QString line = report.mid(start + marker.size(), lineEnd - start - marker.size());
    const qsizetype comma = line.indexOf(QLatin1Char(','));
    if (comma < 0) return {};
    return line.left(comma).trimmed();
}

#include "shell/TextHelpers.h"

#include <QRegularExpression>

QString FormatTimestamp(int64_t microseconds)
{
    const int64_t seconds = microseconds / 1000000;
    const int64_t hours = seconds / 60 / 60;
    const int64_t minutes = seconds / 60 % 60;
    const int64_t secs = seconds % 60;
    const int64_t millis = (microseconds % 1000000) * 1000 / 1000000;
    return QString::asprintf("%.2lld:%.2lld:%.2lld.%.3lld", static_cast<long long>(hours),
                             static_cast<long long>(minutes), static_cast<long long>(secs),
                             static_cast<long long>(millis));
}

QString FormatClock(int32_t seconds)
{
    if (seconds < 0) seconds = 0;
    return QString::asprintf("%d:%.2d:%.2d", seconds / 3600, seconds / 60 % 60, seconds % 60);
}

bool IsIntegerText(const QString& text)
{
    static const QRegularExpression pattern(QStringLiteral("^\\s*[+-]?\\d+$"));
    if (!pattern.match(text).hasMatch()) return false;
    bool ok = false;
    text.trimmed().toInt(&ok);
    return ok;
}

bool IsNumberText(const QString& text)
{
    static const QRegularExpression pattern(QStringLiteral("^\\s*[+-]?(\\d+\\.?\\d*|\\.\\d+)([eE][+-]?\\d+)?$"));
    return pattern.match(text).hasMatch();
}

#pragma once

#include <QString>

#include <cstdint>

// Microseconds as "hh:mm:ss.mmm"; hours are not wrapped at 24.
QString FormatTimestamp(int64_t microseconds);
// Whole seconds as "h:mm:ss"; negative counts as 0.
QString FormatClock(int32_t seconds);
// True when the whole text is a decimal integer (leading blanks and a sign allowed).
bool IsIntegerText(const QString& text);
// True when the whole text is a decimal number with a point as separator.
bool IsNumberText(const QString& text);

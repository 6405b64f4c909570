#pragma once

#include "media/MediaRecords.h"

#include <QString>

#include <cstdint>

// The file name as the information window shows it: whole up to 45
// characters, else its first 40 characters, "..", its extension and two blanks.
QString ShortenedSourceName(const QString& path);

// Microseconds as whole seconds, a point and three digits of milliseconds,
// then " Second": 83 456 789 gives "83.456 Second". Empty when unknown (< 0).
QString MillisecondSecondsText(int64_t microseconds);

// A frame rate as a decimal number of frames per second with at most two
// decimals and no trailing zeros: 30000/1001 gives "29.97", 25/1 gives "25".
// Empty when the rate is unknown.
QString FrameRateText(const TRational& rate);

// The number of pictures in the duration at that rate, rounded; -1 when the
// duration or the rate is unknown.
int64_t TotalFrames(int64_t durationMicroseconds, const TRational& rate);

// The audio codec named in a probe report: the text after "Audio: " up to
// the first comma of that line. Empty when the report has no audio line or
// the line has no comma.
QString AudioCodecText(const QString& report);

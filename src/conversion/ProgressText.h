#pragma once

#include <QString>

#include <cstdint>

// Percentage of the running task; 0 while the total length is unknown.
int64_t ProgressPercent(int64_t position, int64_t total);
// "12 Second", "3456 kb", "[2/3]".
QString SecondsText(int64_t microseconds);
QString KilobytesText(int64_t bytes);
QString TaskNumberText(int taskIndex, int taskCount);
// A source path as the progress window shows it: whole up to 50 characters,
// else its first 44 characters, ".." and its extension.
QString ShortSourceName(const QString& path);

#pragma once

#include <QString>

#include <cstdint>
#include <optional>

// What the trim window's Ok stores for a chosen start S and end E of a file
// lasting D (all microseconds).
struct TrimChoice {
    int64_t TrimStart = 0;
    int64_t TrimLength = 0; // 0 = up to the end
    // The "Trimmed Length" text, whole seconds; empty when the row keeps its text.
    std::optional<QString> TrimmedLengthText;
};

TrimChoice ChooseTrim(int64_t rangeStart, int64_t rangeEnd, int64_t fileDuration);

// Thumb place on a bar of barMax steps for a position (truncating); 0 for an unknown duration.
int BarPositionOf(int64_t position, int64_t fileDuration, int barMax);
// The position a thumb stands for (truncating); 0 for an empty bar.
int64_t PositionOfBar(int thumb, int barMax, int64_t fileDuration);

// The trim window's caption for a source path: the path itself when short,
// else shortened around its extension.
QString TrimCaption(const QString& sourcePath);

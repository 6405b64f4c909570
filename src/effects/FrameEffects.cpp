#include "effects/FrameEffects.h"

#include "media/Bitmap24.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <vector>

namespace {

uint8_t Clamp255(int64_t v)
{
    return uint8_t(std::clamp<int64_t>(v, 0, 255));
}

// Rounds to nearest with ties to even (the default floating-point mode).
int64_t RoundEven(double v)
{
    return int64_t(std::nearbyint(v));
}


using ByteTable = std::array<uint8_t, 256>;

// The colour pass: the level table (brightness, then contrast) and the
// saturation and grey offset tables, folded into one mapping of (mean, byte),
// followed by `after` (the identity, or the exposure table).
void ColorPass(Bitmap24& frame, int brightness, int contrast, int saturation, const ByteTable* after)
{
    // 100 would make the factor infinite.
    const int c = contrast == 100 ? 99 : contrast;
    // The negative side keeps its historic constant rather than pi/200; the
    // stored settings were tuned against it.
    const double k = c > 0 ? 1.0 / std::cos(c * std::numbers::pi / 200.0) : std::cos(c * 0.015708);
    std::array<uint8_t, 256> contrastTable;
    for (int i = 0; i < 256; ++i) contrastTable[i] = Clamp255(RoundEven((i - 170) * k + 170));

    ByteTable level; // brightness, then contrast
    for (int j = 0; j < 256; ++j) {
        const int64_t q = int64_t(brightness) * (j - 1) + 256;
        level[j] = contrastTable[Clamp255(q / 256)];
        if (after) level[j] = (*after)[level[j]];
    }

    std::array<uint16_t, 256> weight;
    for (int l = 0; l < 256; ++l) weight[l] = uint16_t((uint32_t(l + 1) * uint32_t(saturation)) >> 8);

    // Grey offset by the sum of the three bytes: each mean appears three times.
    std::array<int32_t, 768> greyOffset;
    for (int t = 0; t < 768; ++t) greyOffset[t] = t / 3 - weight[t / 3];

    // Per pixel the result of a byte depends only on the byte and on the
    // pixel's mean g = t div 3, so the whole mapping is a 256 x 256 table:
    // out(g, p) = L[clamp(G[3g] + W[p])]. Building it costs 64K steps; the
    // pass then needs one sum and four lookups per pixel, with no clamping.
    std::vector<uint8_t> mapped(256 * 256);
    for (int g = 0; g < 256; ++g) {
        const int32_t m = greyOffset[3 * g];
        uint8_t* row = mapped.data() + g * 256;
        for (int p = 0; p < 256; ++p) row[p] = level[std::clamp<int32_t>(m + weight[p], 0, 255)];
    }
    std::array<uint8_t, 768> mean;
    for (int t = 0; t < 768; ++t) mean[t] = uint8_t(t / 3);

    const int width = frame.Width();
    for (int y = 0; y < frame.Height(); ++y) {
        uint8_t* p = frame.ScanLine(y);
        for (int x = 0; x < width; ++x, p += 3) {
            const uint8_t* row = mapped.data() + mean[p[0] + p[1] + p[2]] * 256;
            const uint8_t b0 = row[p[0]], b1 = row[p[1]], b2 = row[p[2]];
            p[0] = b0;
            p[1] = b1;
            p[2] = b2;
        }
    }
}

ByteTable ExposureTable(float exposure)
{
    const double x = exposure;
    ByteTable table;
    for (int i = 0; i < 256; ++i) {
        const double e = std::exp((x / 128.0) * (i / -128.0));
        const int64_t v = RoundEven(256.0 * (1.0 - e));
        const uint64_t rest = uint64_t(255 - i);
        int64_t out;
        if (x >= 0)
            out = i + int64_t((uint64_t(v) * rest) >> 8);
        else
            out = i - int64_t((uint64_t(-v) * rest) >> 8);
        table[i] = Clamp255(out);
    }
    return table;
}

} // namespace

void ApplyColorAdjust(Bitmap24& frame, int brightness, int contrast, int saturation)
{
    if (!frame.Empty()) ColorPass(frame, brightness, contrast, saturation, nullptr);
}

void ApplyColorAdjustAndExposure(Bitmap24& frame, int brightness, int contrast, int saturation, float exposure)
{
    if (frame.Empty()) return;
    const ByteTable table = ExposureTable(exposure);
    ColorPass(frame, brightness, contrast, saturation, &table);
}

void ApplyExposure(Bitmap24& frame, float exposure)
{
    if (frame.Empty()) return;
    const ByteTable table = ExposureTable(exposure);

    // Loads of a group come before its stores: a store through a byte pointer
    // could alias the table, and would otherwise order every next lookup.
    const int bytes = frame.Width() * 3;
    for (int y = 0; y < frame.Height(); ++y) {
        uint8_t* p = frame.ScanLine(y);
        int b = 0;
        for (; b + 4 <= bytes; b += 4) {
            const uint8_t v0 = table[p[b]], v1 = table[p[b + 1]], v2 = table[p[b + 2]], v3 = table[p[b + 3]];
            p[b] = v0;
            p[b + 1] = v1;
            p[b + 2] = v2;
            p[b + 3] = v3;
        }
        for (; b < bytes; ++b) p[b] = table[p[b]];
    }
}

bool EffectsAreActive(int brightness, int contrast, int saturation, int exposure)
{
    return brightness != kNeutralBrightness || contrast != kNeutralContrast || saturation != kNeutralSaturation ||
           exposure != kNeutralExposure;
}

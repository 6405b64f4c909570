#include "effects/FrameEffects.h"

#include "media/Bitmap24.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <numbers>

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

} // namespace

bool EffectsAreActive(int brightness, int contrast, int saturation, int exposure)
{
    return brightness != kNeutralBrightness || contrast != kNeutralContrast || saturation != kNeutralSaturation ||
           exposure != kNeutralExposure;
}

void ApplyColorAdjust(Bitmap24& frame, int brightness, int contrast, int saturation)
{
    if (frame.Empty()) return;

    // 100 would make the factor infinite.
    const int c = contrast == 100 ? 99 : contrast;
    // The negative side keeps its historic constant rather than pi/200; the
    // stored settings were tuned against it.
    const double k = c > 0 ? 1.0 / std::cos(c * std::numbers::pi / 200.0) : std::cos(c * 0.015708);
    std::array<uint8_t, 256> contrastTable;
    for (int i = 0; i < 256; ++i) contrastTable[i] = Clamp255(RoundEven((i - 170) * k + 170));

    std::array<uint8_t, 256> level; // brightness, then contrast
    for (int j = 0; j < 256; ++j) {
        const int64_t q = int64_t(brightness) * (j - 1) + 256;
        level[j] = contrastTable[Clamp255(q / 256)];
    }

    std::array<uint16_t, 256> weight;
    for (int l = 0; l < 256; ++l) weight[l] = uint16_t((uint32_t(l + 1) * uint32_t(saturation)) >> 8);

    // Grey offset by the sum of the three bytes: each mean appears three times.
    std::array<int32_t, 768> greyOffset;
    for (int t = 0; t < 768; ++t) greyOffset[t] = t / 3 - weight[t / 3];

    // v = m + W[p] lies in -65535..65535+255: a table over that span would be
    // larger than the work it saves, so clamp arithmetically.
    const int width = frame.Width();
    for (int y = 0; y < frame.Height(); ++y) {
        uint8_t* p = frame.ScanLine(y);
        for (int x = 0; x < width; ++x, p += 3) {
            const int32_t m = greyOffset[p[0] + p[1] + p[2]];
            const int32_t v0 = std::clamp<int32_t>(m + weight[p[0]], 0, 255);
            const int32_t v1 = std::clamp<int32_t>(m + weight[p[1]], 0, 255);
            const int32_t v2 = std::clamp<int32_t>(m + weight[p[2]], 0, 255);
            p[0] = level[v0];
            p[1] = level[v1];
            p[2] = level[v2];
        }
    }
}

void ApplyExposure(Bitmap24& frame, float exposure)
{
    if (frame.Empty()) return;

    const double x = exposure;
    std::array<uint8_t, 256> table;
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

    const int bytes = frame.Width() * 3;
    for (int y = 0; y < frame.Height(); ++y) {
        uint8_t* p = frame.ScanLine(y);
        for (int b = 0; b < bytes; ++b) p[b] = table[p[b]];
    }
}

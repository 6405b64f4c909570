#include "effects/FrameEffects.h"
#include "media/Bitmap24.h"

#include <gtest/gtest.h>

#include <array>
#include <random>
#include <vector>

namespace {

// A 256 x 1 frame whose pixel i is grey i: after a colour pass at
// saturation 255 pixel i shows the level table at i.
Bitmap24 GreyRamp()
{
    Bitmap24 ramp(256, 1);
    for (int i = 0; i < 256; ++i) ramp.SetPixel(i, 0, uint32_t(i) * 0x010101u);
    return ramp;
}

int ByteAt(const Bitmap24& frame, int x)
{
    return frame.ScanLine(0)[x * 3];
}

std::array<int, 256> ColorTable(int brightness, int contrast)
{
    Bitmap24 ramp = GreyRamp();
    ApplyColorAdjust(ramp, brightness, contrast, 255);
    std::array<int, 256> table{};
    for (int i = 0; i < 256; ++i) {
        table[i] = ByteAt(ramp, i);
        EXPECT_EQ(ramp.Pixel(i, 0), uint32_t(table[i]) * 0x010101u) << "grey stays grey at " << i;
    }
    return table;
}

std::array<int, 256> ExposureTable(int exposure)
{
    Bitmap24 ramp = GreyRamp();
    ApplyExposure(ramp, float(exposure));
    std::array<int, 256> table{};
    for (int i = 0; i < 256; ++i) table[i] = ByteAt(ramp, i);
    return table;
}

Bitmap24 RandomFrame(int width, int height, unsigned seed)
{
    Bitmap24 frame(width, height);
    std::mt19937 random(seed);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width * 3; ++x) frame.ScanLine(y)[x] = uint8_t(random());
    return frame;
}

bool SamePixels(const Bitmap24& a, const Bitmap24& b)
{
    if (a.Width() != b.Width() || a.Height() != b.Height()) return false;
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x)
            if (a.Pixel(x, y) != b.Pixel(x, y)) return false;
    return true;
}

struct TableCase {
    int setting;
    std::vector<std::pair<int, int>> entries; // index -> value
};

} // namespace

TEST(ApplyColorAdjust, ContrastTableWorkedValues)
{
    const std::vector<TableCase> cases = {
        {50, {{0, 0}, {64, 20}, {128, 111}, {170, 170}, {200, 212}, {255, 255}}},
        {-50, {{0, 50}, {64, 95}, {128, 140}, {170, 170}, {200, 191}, {255, 230}}},
        {100, {{0, 0}, {167, 0}, {168, 43}, {169, 106}, {170, 170}, {171, 234}, {172, 255}, {255, 255}}},
    };
    for (const TableCase& c : cases) {
        const auto table = ColorTable(256, c.setting);
        for (auto [index, value] : c.entries) EXPECT_EQ(table[index], value) << "contrast " << c.setting << " at " << index;
    }
}

TEST(ApplyColorAdjust, ContrastExtremes)
{
    const auto hundred = ColorTable(256, 100);
    EXPECT_EQ(hundred, ColorTable(256, 99)) << "100 is taken as 99";
    for (int i = 0; i <= 167; ++i) EXPECT_EQ(hundred[i], 0) << i;
    for (int i = 172; i <= 255; ++i) EXPECT_EQ(hundred[i], 255) << i;

    for (int value : ColorTable(256, -100)) EXPECT_EQ(value, 170);
}

TEST(ApplyColorAdjust, BrightnessMapsBeforeContrast)
{
    const auto b256 = ColorTable(256, 0);
    const auto b255 = ColorTable(255, 0);
    const auto b0 = ColorTable(0, 0);
    const auto b512 = ColorTable(512, 0);
    for (int j = 0; j < 256; ++j) {
        EXPECT_EQ(b256[j], j) << "256 is the identity";
        EXPECT_EQ(b255[j], j < 2 ? j : j - 1) << j;
        EXPECT_EQ(b0[j], 1) << j;
        EXPECT_EQ(b512[j], j == 0 ? 0 : std::min(255, 2 * j - 1)) << j;
    }
    // Brightness 255 lowers by one first, then the contrast table applies.
    const auto contrast = ColorTable(256, 10);
    const auto both = ColorTable(255, 10);
    for (int j = 0; j < 256; ++j) EXPECT_EQ(both[j], contrast[j < 2 ? j : j - 1]) << j;
}

TEST(ApplyColorAdjust, SaturationWorkedValues)
{
    struct Case {
        int saturation;
        uint8_t in[3], out[3];
    };
    const Case cases[] = {
        {0, {10, 20, 30}, {20, 20, 20}},
        {0, {255, 0, 128}, {127, 127, 127}},
        {512, {10, 20, 30}, {0, 20, 40}},
        {512, {100, 150, 200}, {50, 150, 250}},
        {255, {3, 200, 97}, {3, 200, 97}},
        {256, {3, 200, 97}, {3, 200, 97}},
    };
    for (const Case& c : cases) {
        Bitmap24 frame(1, 1);
        std::copy(c.in, c.in + 3, frame.ScanLine(0));
        ApplyColorAdjust(frame, 256, 0, c.saturation);
        for (int k = 0; k < 3; ++k)
            EXPECT_EQ(frame.ScanLine(0)[k], c.out[k]) << "saturation " << c.saturation << " byte " << k;
    }
}

TEST(ApplyColorAdjust, SaturationZeroGivesTheTruncatedMeanEverywhere)
{
    Bitmap24 frame = RandomFrame(64, 16, 7);
    const Bitmap24 before = frame;
    ApplyColorAdjust(frame, 256, 0, 0);
    for (int y = 0; y < frame.Height(); ++y)
        for (int x = 0; x < frame.Width(); ++x) {
            const uint8_t* in = before.ScanLine(y) + x * 3;
            const uint8_t* out = frame.ScanLine(y) + x * 3;
            const int mean = (in[0] + in[1] + in[2]) / 3;
            ASSERT_EQ(out[0], mean);
            ASSERT_EQ(out[1], mean);
            ASSERT_EQ(out[2], mean);
        }
}

TEST(ApplyColorAdjust, NeutralSettingsLeaveEveryPixel)
{
    for (int saturation : {255, 256}) {
        Bitmap24 frame = RandomFrame(97, 13, 3);
        const Bitmap24 before = frame;
        ApplyColorAdjust(frame, 256, 0, saturation);
        ApplyExposure(frame, 0.0f);
        EXPECT_TRUE(SamePixels(frame, before)) << "saturation " << saturation;
    }
}

TEST(ApplyExposure, WorkedValues)
{
    const std::vector<TableCase> cases = {
        {100, {{0, 0}, {1, 2}, {64, 125}, {128, 196}, {192, 235}, {254, 254}, {255, 255}}},
        {-100, {{1, 0}, {64, 0}, {128, 0}, {192, 52}, {254, 251}, {255, 255}}},
        {512, {{1, 8}, {16, 110}, {64, 228}, {128, 252}, {255, 255}}},
        {-255, {{250, 11}, {254, 203}, {255, 255}}},
    };
    for (const TableCase& c : cases) {
        const auto table = ExposureTable(c.setting);
        for (auto [index, value] : c.entries) EXPECT_EQ(table[index], value) << "exposure " << c.setting << " at " << index;
    }
    const auto darkest = ExposureTable(-255);
    for (int i = 0; i <= 128; ++i) EXPECT_EQ(darkest[i], 0) << i;
    const auto none = ExposureTable(0);
    for (int i = 0; i < 256; ++i) EXPECT_EQ(none[i], i);
}

TEST(FrameEffects, EveryRowIsVisitedWhateverTheStride)
{
    // The same picture stored top-down with padded rows and bottom-up (a
    // negative step from row to row) must come out the same, and the padding
    // must stay untouched.
    const int width = 5, height = 4;
    const Bitmap24 reference = RandomFrame(width, height, 11);
    Bitmap24 expected = reference;
    ApplyColorAdjust(expected, 300, 20, 400);
    ApplyExposure(expected, 60.0f);

    const int padded = width * 3 + 7;
    std::vector<uint8_t> topDown(size_t(padded) * height, 0xAB);
    std::vector<uint8_t> bottomUp(size_t(width * 3) * height);
    for (int y = 0; y < height; ++y) {
        std::copy_n(reference.ScanLine(y), width * 3, topDown.data() + y * padded);
        std::copy_n(reference.ScanLine(y), width * 3, bottomUp.data() + (height - 1 - y) * width * 3);
    }
    Bitmap24 padView(topDown.data(), width, height, padded);
    Bitmap24 upView(bottomUp.data() + (height - 1) * width * 3, width, height, -width * 3);
    for (Bitmap24* view : {&padView, &upView}) {
        ApplyColorAdjust(*view, 300, 20, 400);
        ApplyExposure(*view, 60.0f);
        EXPECT_TRUE(SamePixels(*view, expected));
    }
    for (int y = 0; y < height; ++y)
        for (int b = width * 3; b < padded; ++b) EXPECT_EQ(topDown[size_t(y * padded + b)], 0xAB);
}

TEST(FrameEffects, OnePassGivesTheSameAsBothInTurn)
{
    struct Case {
        int brightness, contrast, saturation, exposure;
    };
    const Case cases[] = {{255, 0, 255, 100}, {0, 100, 512, -255}, {512, -100, 0, 512},
                          {300, 37, 180, -60},  {256, 0, 256, 1},    {128, -20, 400, 255}};
    for (const Case& c : cases) {
        Bitmap24 twoPasses = RandomFrame(61, 9, unsigned(c.brightness + c.exposure));
        Bitmap24 onePass = twoPasses;
        ApplyColorAdjust(twoPasses, c.brightness, c.contrast, c.saturation);
        ApplyExposure(twoPasses, float(c.exposure));
        ApplyColorAdjustAndExposure(onePass, c.brightness, c.contrast, c.saturation, float(c.exposure));
        EXPECT_TRUE(SamePixels(onePass, twoPasses)) << c.brightness << " " << c.contrast << " " << c.saturation << " "
                                                    << c.exposure;
    }
}

TEST(FrameEffects, FrameWithoutPixelsIsLeftAlone)
{
    Bitmap24 empty;
    ApplyColorAdjust(empty, 0, 100, 0);
    ApplyExposure(empty, -255.0f);
    ApplyColorAdjustAndExposure(empty, 0, 100, 0, 512.0f);
    EXPECT_TRUE(empty.Empty());
}

TEST(FrameEffects, ActiveWhenAnyValueLeavesNeutral)
{
    EXPECT_FALSE(EffectsAreActive(255, 0, 255, 0));
    EXPECT_TRUE(EffectsAreActive(256, 0, 255, 0));
    EXPECT_TRUE(EffectsAreActive(255, -1, 255, 0));
    EXPECT_TRUE(EffectsAreActive(255, 0, 0, 0));
    EXPECT_TRUE(EffectsAreActive(255, 0, 255, 1));
}

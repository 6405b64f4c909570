#include "effects/BlendBitmap.h"
#include "media/Bitmap24.h"

#include <QRect>

#include <gtest/gtest.h>

namespace {

Bitmap24 Filled(int width, int height, uint32_t color)
{
    Bitmap24 bitmap(width, height);
    bitmap.FillRect(0, 0, width, height, color);
    return bitmap;
}

} // namespace

TEST(BlendBitmap, AlphaZeroLeavesTheFrame)
{
    Bitmap24 frame = Filled(6, 4, 0x102030);
    BlendBitmap(frame, Filled(3, 3, 0xFFFFFF), 1, 1, 0);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x) EXPECT_EQ(frame.Pixel(x, y), 0x102030u);
}

TEST(BlendBitmap, Arithmetic)
{
    struct Case {
        uint8_t frame, overlay;
        int alpha;
        uint8_t out;
    };
    const Case cases[] = {
        {0, 255, 255, 254},   // white over black, fully opaque, stays one short
        {0, 255, 128, 127},   // (128 * 255) >> 8
        {200, 100, 64, 175},  // (192 * 200 + 64 * 100) >> 8
        {255, 255, 255, 255}, // equal bytes never move
        {77, 77, 13, 77},
    };
    for (const Case& c : cases) {
        Bitmap24 frame = Filled(1, 1, uint32_t(c.frame) * 0x010101u);
        BlendBitmap(frame, Filled(1, 1, uint32_t(c.overlay) * 0x010101u), 0, 0, c.alpha);
        EXPECT_EQ(frame.Pixel(0, 0), uint32_t(c.out) * 0x010101u)
            << int(c.frame) << " under " << int(c.overlay) << " at " << c.alpha;
    }
}

TEST(BlendBitmap, OverlayEqualToFrameChangesNothing)
{
    Bitmap24 frame(9, 7);
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 9; ++x) frame.SetPixel(x, y, uint32_t(x * 31 + y * 17) * 0x030507u & 0xFFFFFF);
    const Bitmap24 before = frame;
    Bitmap24 overlay(4, 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x) overlay.SetPixel(x, y, before.Pixel(x + 2, y + 3));
    for (int alpha : {1, 100, 200, 255}) {
        BlendBitmap(frame, overlay, 2, 3, alpha);
        for (int y = 0; y < 7; ++y)
            for (int x = 0; x < 9; ++x) ASSERT_EQ(frame.Pixel(x, y), before.Pixel(x, y)) << alpha;
    }
}

TEST(BlendBitmap, ClipsAtEveryEdge)
{
    const int fw = 8, fh = 6, ow = 4, oh = 3;
    const QPoint places[] = {{2, 2},  {-2, -1}, {6, 4},  {-3, 4},  {6, -2}, {-4, 0}, {8, 0},
                             {0, 6},  {-10, -10}, {5, 0}, {0, 5},  {-1, 3}, {4, -2}};
    for (QPoint at : places) {
        Bitmap24 frame = Filled(fw, fh, 0x000000);
        // Each overlay pixel carries its own value, to see which one lands where.
        Bitmap24 overlay(ow, oh);
        for (int y = 0; y < oh; ++y)
            for (int x = 0; x < ow; ++x) overlay.SetPixel(x, y, uint32_t(40 + 60 * y + 10 * x) * 0x010101u);
        BlendBitmap(frame, overlay, at.x(), at.y(), 255);
        const QRect covered = QRect(0, 0, fw, fh) & QRect(at, QSize(ow, oh));
        for (int y = 0; y < fh; ++y)
            for (int x = 0; x < fw; ++x) {
                const uint32_t want = covered.contains(x, y)
                                          ? (255 * (overlay.Pixel(x - at.x(), y - at.y()) & 0xFF)) >> 8
                                          : 0u;
                ASSERT_EQ(frame.Pixel(x, y) & 0xFF, want) << "overlay at " << at.x() << "," << at.y() << " pixel "
                                                          << x << "," << y;
            }
    }
}

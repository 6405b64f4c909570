#include "effects/WaterMarkHelpers.h"
#include "effects/WmLayerView.h"
#include "media/Bitmap24.h"

#include <QRect>

#include <gtest/gtest.h>

TEST(WaterMarkCaption, LongPathsAreShortenedAt56Characters)
{
    const QString path55 = "/videos/" + QString(43, 'a') + ".flv"; // 55 characters
    ASSERT_EQ(path55.size(), 55);
    EXPECT_EQ(WaterMarkCaption(path55), "Water Mark  " + path55);
    const QString path56 = "/videos/" + QString(44, 'b') + ".flv";
    ASSERT_EQ(path56.size(), 56);
    EXPECT_EQ(WaterMarkCaption(path56), "Water Mark  " + path56.left(50) + "...flv  ");
}

TEST(DrawCropOutline, TwoPixelGreenFrameAtTheCropMargins)
{
    struct Case {
        int top, left, bottom, right;
    };
    for (const Case& c : {Case{0, 0, 0, 0}, Case{4, 6, 8, 10}, Case{1, 2, 3, 0}}) {
        Bitmap24 frame(40, 30);
        DrawCropOutline(frame, c.top, c.left, c.bottom, c.right);
        const int x0 = c.left, y0 = c.top, x1 = 40 - c.right, y1 = 30 - c.bottom;
        const QRect outer = QRect(QPoint(x0 - 1, y0 - 1), QPoint(x1, y1));
        const QRect inner = outer.adjusted(2, 2, -2, -2);
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 40; ++x) {
                const bool onPen = outer.contains(x, y) && !inner.contains(x, y);
                ASSERT_EQ(frame.Pixel(x, y), onPen ? 0x008000u : 0u)
                    << "crop " << c.top << "," << c.left << "," << c.bottom << "," << c.right << " at " << x << "," << y;
            }
    }
}

TEST(ColorBoxColors, StandardColoursFirstInTheirOrder)
{
    const auto colors = ColorBoxColors();
    ASSERT_GT(colors.size(), 20u);
    EXPECT_EQ(colors[0].first, "clBlack");
    EXPECT_EQ(colors[2].first, "clGreen");
    EXPECT_EQ(colors[2].second, QColor(0, 128, 0));
    EXPECT_EQ(colors[12].first, "clBlue");
    EXPECT_EQ(colors[12].second, QColor(0, 0, 255));
    EXPECT_EQ(colors[15].first, "clWhite");
    EXPECT_EQ(colors[16].first, "clMoneyGreen");
    EXPECT_EQ(colors[19].first, "clMedGray");
}

TEST(OutlineResizing, SymmetricAboutTheCentreOnlyWithCtrl)
{
    const QRectF old(10, 10, 20, 10); // centre (20, 15)
    const QRectF widened(10, 10, 30, 10); // right edge dragged by 10
    EXPECT_EQ(OutlineResizing(old, widened, false), widened);
    EXPECT_EQ(OutlineResizing(old, QRectF(15, 12, 20, 10), true), QRectF(15, 12, 20, 10)) << "a move passes";
    EXPECT_EQ(OutlineResizing(old, widened, true), QRectF(0, 10, 40, 10));
    // Dragged almost onto the centre: half-extents stay at least 2.
    EXPECT_EQ(OutlineResizing(old, QRectF(19.5, 14.5, 10.5, 0.5), true), QRectF(18, 13, 4, 4));
}

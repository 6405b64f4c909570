#include "effects/BlendBitmap.h"
#include "effects/FrameCompositing.h"
#include "effects/FrameEffects.h"
#include "effects/WmGraphics.h"
#include "media/FFmpegException.h"
#include "shell/TlvFilesRecord.h"

#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

Bitmap24 Filled(int width, int height, uint32_t color)
{
    Bitmap24 bitmap(width, height);
    bitmap.FillRect(0, 0, width, height, color);
    return bitmap;
}

Bitmap24 Gradient(int width, int height)
{
    Bitmap24 frame(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) frame.SetPixel(x, y, uint32_t((x * 3) & 0xFF) | uint32_t((y * 5) & 0xFF) << 8 | 0x400000);
    return frame;
}

TWmRec TextItem(const QString& text, int left, int top, int alpha, bool opaque = false)
{
    TWmRec item;
    item.Kind = TWmRec::kText;
    item.Text = text;
    item.Font = MakeItemFont(QStringLiteral("DejaVu Sans"), 20, kFontBold);
    item.FontColor = Qt::white;
    const QSize size = TextExtent(text, item.Font);
    item.TextWidth = size.width();
    item.TextHeight = size.height();
    item.TextLeft = left;
    item.TextTop = top;
    item.TextAlpha = alpha;
    item.BackOpaque = opaque;
    item.BackColor = 0x0000FF; // red
    item.EndTime = 100;
    return item;
}

TWmRec ImageItem(const QString& path, int left, int top, int alpha)
{
    TWmRec item;
    item.Kind = TWmRec::kImage;
    item.ImageFile = path;
    item.ImageLeft = left;
    item.ImageTop = top;
    item.ImageAlpha = alpha;
    item.EndTime = 100;
    return item;
}

QString SavePicture(const QTemporaryDir& dir, const QString& name, QSize size, QColor color)
{
    QImage image(size, QImage::Format_RGB888);
    image.fill(color);
    const QString path = dir.filePath(name);
    EXPECT_TRUE(image.save(path));
    return path;
}

void Composite(Bitmap24& frame, int64_t pts, const TlvFilesRecord& record)
{
    std::map<int, ItemOverlay> overlays;
    CompositeFrame(frame, pts, record, overlays);
}

} // namespace

TEST(ItemVisibleAt, WholeSecondsBothBoundsInclusive)
{
    struct Case {
        int start, end;
        int64_t pts;
        bool visible;
    };
    const Case cases[] = {
        {0, 59, 59'999'999, true},   {60, 100, 59'999'999, false}, {60, 100, 60'000'000, true},
        {0, 5, 5'999'999, true},     {0, 5, 6'000'000, false},     {3, 2, 2'500'000, false},
        {3, 2, 3'000'000, false},    {0, 0, 0, true},              {1, 4, 999'999, false},
    };
    for (const Case& c : cases) {
        TWmRec item;
        item.StartTime = c.start;
        item.EndTime = c.end;
        EXPECT_EQ(ItemVisibleAt(item, c.pts), c.visible) << c.start << ".." << c.end << " at " << c.pts;
    }
}

TEST(CompositeFrame, TransparentBoxChangesOnlyGlyphPixels)
{
    TlvFilesRecord record;
    record.WaterMarks.push_back(TextItem(QStringLiteral("Varnel Ag"), 12, 9, 200));
    const TWmRec& item = record.WaterMarks[0];
    const QImage glyphs = RenderTextPicture(item);

    Bitmap24 frame = Gradient(200, 80);
    const Bitmap24 before = frame;
    Composite(frame, 1'000'000, record);

    int changed = 0;
    for (int y = 0; y < frame.Height(); ++y)
        for (int x = 0; x < frame.Width(); ++x) {
            const QPoint local(x - item.TextLeft, y - item.TextTop);
            const bool glyph = glyphs.rect().contains(local) && qAlpha(glyphs.pixel(local)) > 0;
            if (!glyph) {
                ASSERT_EQ(frame.Pixel(x, y), before.Pixel(x, y)) << x << "," << y;
            }
            if (frame.Pixel(x, y) != before.Pixel(x, y)) ++changed;
        }
    EXPECT_GT(changed, 50) << "the text shows";
}

TEST(CompositeFrame, OpacityOfTextItems)
{
    TlvFilesRecord record;
    record.WaterMarks.push_back(TextItem(QStringLiteral("I"), 0, 0, 0));
    Bitmap24 frame = Filled(40, 40, 0);
    Composite(frame, 0, record);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x) ASSERT_EQ(frame.Pixel(x, y), 0u) << "opacity 0 draws nothing";

    // Fully covered pixels of a white glyph over black at opacity 255 become 254.
    record.WaterMarks[0] = TextItem(QStringLiteral("IIII"), 0, 0, 255);
    const QImage glyphs = RenderTextPicture(record.WaterMarks[0]);
    Composite(frame, 0, record);
    int solid = 0;
    for (int y = 0; y < glyphs.height(); ++y) {
        for (int x = 0; x < glyphs.width(); ++x) {
            if (qAlpha(glyphs.pixel(x, y)) == 255) {
                EXPECT_EQ(frame.Pixel(x, y), 0xFEFEFEu);
                ++solid;
            }
        }
    }
    EXPECT_GT(solid, 0);
}

TEST(CompositeFrame, OpaqueBoxCoversItsRectangleAndIsCutAtTheEdges)
{
    TlvFilesRecord record;
    TWmRec item = TextItem(QStringLiteral("Box"), -5, 30, 255, true);
    record.WaterMarks.push_back(item);
    Bitmap24 frame = Filled(60, 40, 0);
    Composite(frame, 0, record);
    // Corner of the box, away from the glyphs: red 255 over black gives 254.
    EXPECT_EQ(frame.Pixel(0, 30), 0x0000FEu);
    EXPECT_EQ(frame.Pixel(0, 29), 0u);
    EXPECT_EQ(frame.Pixel(item.TextWidth - 5, 30), 0u) << "right of the box";
}

TEST(CompositeFrame, LaterItemsBlendOverEarlierOnes)
{
    QTemporaryDir dir;
    TlvFilesRecord record;
    record.WaterMarks.push_back(ImageItem(SavePicture(dir, "red.bmp", {10, 10}, Qt::red), 0, 0, 255));
    record.WaterMarks.push_back(ImageItem(SavePicture(dir, "blue.png", {10, 10}, Qt::blue), 5, 5, 128));
    Bitmap24 frame = Filled(20, 20, 0);
    Composite(frame, 0, record);
    EXPECT_EQ(frame.Pixel(2, 2), 0x0000FEu) << "red alone";
    // Blue at 128 over the red already there: red (128 * 254) >> 8, blue (128 * 255) >> 8.
    EXPECT_EQ(frame.Pixel(7, 7), 0x7F007Fu);
    EXPECT_EQ(frame.Pixel(12, 12), 0x7F0000u) << "blue over black";
}

TEST(CompositeFrame, HiddenAndEmptyItemsDrawNothing)
{
    TlvFilesRecord record;
    TWmRec later = TextItem(QStringLiteral("Later"), 0, 0, 255, true);
    later.StartTime = 6;
    record.WaterMarks.push_back(later);
    TWmRec blank = TextItem(QString(), 0, 0, 255, true);
    blank.TextWidth = blank.TextHeight = 20;
    record.WaterMarks.push_back(blank);
    record.WaterMarks.push_back(ImageItem(QString(), 0, 0, 255));
    Bitmap24 frame = Filled(50, 30, 0x123456);
    Composite(frame, 5'999'999, record);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 50; ++x) ASSERT_EQ(frame.Pixel(x, y), 0x123456u);
    Composite(frame, 6'000'000, record);
    EXPECT_NE(frame.Pixel(1, 1), 0x123456u) << "shown from second 6";
}

TEST(CompositeFrame, EffectsRunBeforeItemsAndOnlyThoseOffNeutral)
{
    TlvFilesRecord record;
    record.Exposure = 100;
    Bitmap24 frame = Filled(4, 4, 0x806040);
    Bitmap24 exposureOnly = frame;
    ApplyExposure(exposureOnly, 100.0f);
    Composite(frame, 0, record);
    EXPECT_EQ(frame.Pixel(1, 1), exposureOnly.Pixel(1, 1)) << "no colour pass at brightness 255";

    record.Exposure = 0;
    record.Contrast = -100; // every byte 170
    QTemporaryDir dir;
    record.WaterMarks.push_back(ImageItem(SavePicture(dir, "white.bmp", {2, 2}, Qt::white), 0, 0, 128));
    Composite(frame, 0, record);
    EXPECT_EQ(frame.Pixel(3, 3), 0xAAAAAAu);
    EXPECT_EQ(frame.Pixel(0, 0), 0xD4D4D4u) << "(128 * 170 + 128 * 255) >> 8: drawn after the effects";
}

TEST(ConversionCompositor, OverlaysAreKeptPerTaskUntilReset)
{
    QTemporaryDir dir;
    const QString picture = SavePicture(dir, "mark.bmp", {4, 4}, Qt::white);
    TlvFilesRecord record;
    record.WaterMarks.push_back(ImageItem(picture, 0, 0, 255));
    ConversionCompositor compositor([&](int task) { return task == 0 ? &record : nullptr; });

    auto hook = [&](int task) {
        Bitmap24 frame = Filled(8, 8, 0);
        THookInfo info;
        info.TaskIndex = task;
        info.Bitmap = &frame;
        info.PTS = 0;
        compositor.CCAVCCustomHook(nullptr, &info);
        return frame.Pixel(1, 1);
    };
    EXPECT_EQ(hook(0), 0xFEFEFEu);
    EXPECT_EQ(hook(1), 0u) << "a task without a record is left alone";

    // The picture is read once per task, not per frame.
    SavePicture(dir, "mark.bmp", {4, 4}, Qt::black);
    EXPECT_EQ(hook(0), 0xFEFEFEu);
    compositor.Reset();
    EXPECT_EQ(hook(0), 0u);
    compositor.Detach();
    record.WaterMarks[0] = ImageItem(SavePicture(dir, "white.bmp", {4, 4}, Qt::white), 0, 0, 255);
    EXPECT_EQ(hook(0), 0u) << "detached";
}

TEST(ConversionCompositor, UnreadablePictureLeavesTheTaskAsDecoded)
{
    TlvFilesRecord record;
    record.Brightness = 0;
    record.WaterMarks.push_back(ImageItem(QStringLiteral("/nonexistent/mark.bmp"), 0, 0, 255));
    ConversionCompositor compositor([&](int) { return &record; });
    Bitmap24 frame = Filled(8, 8, 0x808080);
    THookInfo info;
    info.TaskIndex = 0;
    info.Bitmap = &frame;
    // The first frame raises the error, which the engine logs...
    EXPECT_THROW(compositor.CCAVCCustomHook(nullptr, &info), FFmpegException);
    // ...later ones are quietly sent as decoded.
    THookInfo next = info;
    EXPECT_NO_THROW(compositor.CCAVCCustomHook(nullptr, &next));
    EXPECT_FALSE(next.Update);
}

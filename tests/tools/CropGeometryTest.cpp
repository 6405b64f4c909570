#include "tools/CropGeometry.h"

#include <gtest/gtest.h>

namespace {

TEST(CropGeometry, RoundsHalvesToEven)
{
    EXPECT_EQ(RoundHalfEven(19.12), 19);
    EXPECT_EQ(RoundHalfEven(2.5), 2);
    EXPECT_EQ(RoundHalfEven(3.5), 4);
    EXPECT_EQ(RoundHalfEven(16.3333), 16);
    EXPECT_EQ(RoundHalfEven(0.5), 0);
    EXPECT_EQ(RoundHalfEven(7.51), 8);
}

struct FitCase {
    int w, h;
    QRect fitted;
};

TEST(CropGeometry, PicturesFitTheBoxKeepingTheirShape)
{
    const FitCase cases[] = {
        {640, 480, QRect(16, 0, 338, 253)}, // taller than the box: bars left and right
        {640, 360, QRect(0, 22, 370, 209)}, // wider: bars above and below
        {370, 253, QRect(0, 0, 370, 253)},
        {320, 240, QRect(16, 0, 338, 253)},
    };
    for (const FitCase& c : cases) {
        const double rw = double(c.w) / 370, rh = double(c.h) / 253;
        SCOPED_TRACE(testing::Message() << c.w << "x" << c.h << " rw " << rw << " rh " << rh);
        EXPECT_EQ(FittedPicture(c.w, c.h), c.fitted);
        EXPECT_EQ(PreviewRect(c.w, c.h), c.fitted.adjusted(1, 1, -1, -1));
    }
}

TEST(CropGeometry, The640x480ExampleStoresEvenSourceMargins)
{
    const QRect preview = PreviewRect(640, 480);
    EXPECT_EQ(preview, QRect(17, 1, 336, 251));
    const CropMargins boxes{10, 30, 20, 40};
    const SourceCrop crop = SourceCropOf(boxes, 640, 480, preview.size());
    EXPECT_EQ(crop, (SourceCrop{18, 38, 56, 76}));
    // Boxes and tracker describe the same rectangle both ways.
    const QRect tracker = TrackerOf(boxes, preview);
    EXPECT_EQ(tracker, QRect(47, 11, 336 - 40 - 30, 251 - 20 - 10));
    EXPECT_EQ(MarginsOf(tracker, preview), boxes);
}

TEST(CropGeometry, SamePreviewAndSourceSizeKeepsTheBoxValues)
{
    EXPECT_EQ(SourceCropOf({10, 12, 14, 16}, 336, 251, QSize(336, 251)), (SourceCrop{10, 14, 12, 16}));
    // Odd box values still give even crops, rounded down.
    EXPECT_EQ(SourceCropOf({11, 13, 15, 17}, 336, 251, QSize(336, 251)), (SourceCrop{10, 14, 12, 16}));
    EXPECT_EQ(SourceCropOf({5, 5, 5, 5}, 640, 480, QSize()), SourceCrop{});
}

TEST(CropGeometry, ZoomListFollowsTheMode)
{
    const std::pair<const char*, int> cases[] = {{"full", 0}, {"lbox", 1}, {"orig", -1}, {"cent", -1},
                                                 {"", 0},     {"pan", 0},  {"FULL", 0}};
    for (const auto& [mode, index] : cases) EXPECT_EQ(ZoomIndexOf(mode), index) << mode;
    EXPECT_EQ(ZoomModeOf(0, "lbox"), "full");
    EXPECT_EQ(ZoomModeOf(1, "full"), "lbox");
    EXPECT_EQ(ZoomModeOf(-1, "orig"), "orig");
    // An empty mode selects "Full screen", so Ok brings back "full".
    EXPECT_EQ(ZoomModeOf(ZoomIndexOf(""), ""), "full");
}

TEST(CropGeometry, LabelsAndLength)
{
    const QString longPath = "/videos/" + QString(60, 'c') + ".flv";
    EXPECT_EQ(CropSourceLabel(longPath), longPath.left(44) + "...flv  ");
    EXPECT_EQ(CropSourceLabel("/a/b.flv"), "/a/b.flv");
    EXPECT_EQ(CropLengthText(3040000), "3.040 Second");
    EXPECT_EQ(CropLengthText(61005999), "61.005 Second");
    EXPECT_EQ(CropLengthText(-1), "0.000 Second");
}

// The preview rectangle of a 640 x 480 source: left 17, top 1, 336 x 251.
const QRect kPic(17, 1, 336, 251);

TrackerStep Step(const QRect& bounds, const QPoint& mouse, const CropMargins& boxes, const QPoint& anchor)
{
    TrackerStep step;
    step.bounds = bounds;
    step.mouse = mouse;
    step.preview = kPic;
    step.lastBoxes = boxes;
    step.anchor = anchor;
    return step;
}

TEST(CropTrackerClamp, InsideThePreviewNothingChanges)
{
    const QRect bounds(47, 11, 266, 221);
    EXPECT_EQ(ClampTracker(Step(bounds, QPoint(100, 100), {10, 30, 20, 40}, QPoint(47, 11))), bounds);
}

TEST(CropTrackerClamp, MovedPastTheLeftEdgeReturnsToTheLastLeftValue)
{
    // Moved left by 40: its left lies 10 pixels outside the preview.
    const QRect moved(7, 11, 266, 221);
    EXPECT_EQ(ClampTracker(Step(moved, QPoint(100, 100), {10, 30, 20, 40}, QPoint(47, 11))), QRect(47, 11, 266, 221));
}

TEST(CropTrackerClamp, LeftEdgeDraggedPastThePreviewKeepsTheRightEdge)
{
    // The left edge dragged from 47 to 7: the tracker widened by 40.
    TrackerStep step = Step(QRect(7, 11, 306, 221), QPoint(2, 100), {10, 30, 20, 40}, QPoint(47, 11));
    step.leftEdgeDrag = true;
    const QRect clamped = ClampTracker(step);
    EXPECT_EQ(clamped.left(), 47);
    EXPECT_EQ(clamped.left() + clamped.width(), 313); // where the right edge was
}

TEST(CropTrackerClamp, TopStopsAtThePreviewTop)
{
    const QRect moved(47, -5, 266, 221);
    EXPECT_EQ(ClampTracker(Step(moved, QPoint(100, 100), {10, 30, 20, 40}, QPoint(47, 11))), QRect(47, 1, 266, 221));
}

TEST(CropTrackerClamp, RightEdgeDraggedPastThePreviewStopsAtTheLastRightValue)
{
    // Right edge dragged out to x 400, far past the preview's right at 353.
    const QRect wide(47, 11, 353, 221);
    const QRect clamped = ClampTracker(Step(wide, QPoint(352, 100), {10, 30, 20, 40}, QPoint(47, 11)));
    EXPECT_EQ(clamped.left(), 47);
    EXPECT_EQ(clamped.width(), 336 - 30 - 40);
}

TEST(CropTrackerClamp, BottomDraggedPastThePreviewStopsAtTheBottom)
{
    const QRect tall(47, 11, 266, 300);
    const QRect clamped = ClampTracker(Step(tall, QPoint(100, 299), {10, 30, 20, 40}, QPoint(47, 11)));
    EXPECT_EQ(clamped.top(), 11);
    EXPECT_EQ(clamped.top() + clamped.height(), kPic.top() + kPic.height());
}

TEST(CropTrackerClamp, MovedPastTheBottomRightGoesBackToTheAnchor)
{
    const QRect moved(120, 60, 266, 221);
    const QRect clamped = ClampTracker(Step(moved, QPoint(100, 100), {10, 30, 20, 40}, QPoint(47, 11)));
    EXPECT_EQ(clamped.topLeft(), QPoint(47, 11));
    EXPECT_LE(clamped.left() + clamped.width(), kPic.left() + kPic.width());
    EXPECT_LE(clamped.top() + clamped.height(), kPic.top() + kPic.height());
}

} // namespace

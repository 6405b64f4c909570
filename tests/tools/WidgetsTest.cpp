// The rectangle tracker and the two-thumb track bar driven by synthetic
// mouse and key events.
#include "tools/RectTracker.h"
#include "tools/Tracker2.h"

#include <QPainter>
#include <QtTest>

#include <vector>

namespace {

// A parent holding one tracker, shown so that events reach it.
struct TrackerHost {
    TrackerHost(const QRect& bounds)
    {
        parent.resize(400, 300);
        tracker = new TRectTracker(&parent);
        tracker->setGeometry(bounds);
        tracker->OnChange = [this](TCustomRectTracker*, const QRect& rect) { changes.push_back(rect); };
        parent.show();
        QVERIFY(QTest::qWaitForWindowExposed(&parent));
    }

    // Presses at a point of the tracker, moves the mouse by the steps (each
    // relative to the mouse's place on the parent) and releases.
    void Drag(QPoint at, const std::vector<QPoint>& steps)
    {
        QTest::mousePress(tracker, Qt::LeftButton, {}, at);
        QPoint onParent = tracker->pos() + at;
        for (const QPoint& step : steps) {
            onParent += step;
            QTest::mouseMove(tracker, onParent - tracker->pos());
        }
        QTest::mouseRelease(tracker, Qt::LeftButton, {}, onParent - tracker->pos());
    }

    QWidget parent;
    TRectTracker* tracker;
    std::vector<QRect> changes;
};

} // namespace

class WidgetsTest : public QObject {
    Q_OBJECT

private slots:
    void trackerZonesFollowTheHitOrder()
    {
        const QSize size(65, 65);
        struct Case {
            QPoint point;
            TCustomRectTracker::TDragMode zone;
        } cases[] = {
            {{1, 1}, TCustomRectTracker::dmTopLeft},     {{63, 63}, TCustomRectTracker::dmBottomRight},
            {{1, 63}, TCustomRectTracker::dmBottomLeft}, {{63, 1}, TCustomRectTracker::dmTopRight},
            {{2, 32}, TCustomRectTracker::dmLeft},       {{62, 32}, TCustomRectTracker::dmRight},
            {{32, 2}, TCustomRectTracker::dmTop},        {{32, 62}, TCustomRectTracker::dmBottom},
            {{20, 40}, TCustomRectTracker::dmMove},      {{0, 20}, TCustomRectTracker::dmNone},
        };
        for (const Case& c : cases) QCOMPARE(TCustomRectTracker::ZoneAt(size, c.point), c.zone);
        // Midpoint handles start at ceil(size / 2) - 3.
        QCOMPARE(TCustomRectTracker::HandleRect(QSize(65, 40), TCustomRectTracker::dmTop), QRect(30, 0, 5, 5));
        QCOMPARE(TCustomRectTracker::HandleRect(QSize(65, 40), TCustomRectTracker::dmLeft), QRect(0, 17, 5, 5));
        // On a tracker of the minimum size the corners win over the midpoints.
        QCOMPARE(TCustomRectTracker::ZoneAt(QSize(10, 10), QPoint(3, 3)), TCustomRectTracker::dmTopLeft);
    }

    void narrowTrackerKeepsItsWidthWhenTheLeftEdgeIsDraggedIn()
    {
        TrackerHost host(QRect(100, 50, 10, 80));
        const QPoint leftHandle(1, 40);
        QCOMPARE(TCustomRectTracker::ZoneAt(host.tracker->size(), leftHandle), TCustomRectTracker::dmLeft);
        host.Drag(leftHandle, {{6, 0}});
        QCOMPARE(host.tracker->geometry(), QRect(100, 50, 10, 80));
        QVERIFY(host.changes.empty());
        host.Drag(leftHandle, {{-7, 0}});
        QCOMPARE(host.tracker->geometry(), QRect(93, 50, 17, 80));
        QCOMPARE(host.changes.size(), size_t(1));
        QCOMPARE(host.changes.back(), QRect(95, 52, 13, 76));
    }

    void edgesAndCornersResizeAndTheInsideMoves()
    {
        struct Case {
            const char* what;
            QPoint at;
            std::vector<QPoint> steps;
            QRect expected;
        } cases[] = {
            {"right edge", {62, 40}, {{10, 0}, {5, 3}}, QRect(100, 50, 80, 80)},
            {"bottom edge", {32, 78}, {{0, -20}}, QRect(100, 50, 65, 60)},
            {"top edge", {32, 1}, {{0, 15}, {4, 5}}, QRect(100, 70, 65, 60)},
            {"bottom-right corner", {63, 78}, {{5, 5}, {5, 5}}, QRect(100, 50, 75, 90)},
            {"top-left corner", {1, 1}, {{-10, -20}}, QRect(90, 30, 75, 100)},
            {"top-right corner", {63, 1}, {{8, 8}}, QRect(100, 58, 73, 72)},
            {"bottom-left corner", {1, 78}, {{-4, 6}}, QRect(96, 50, 69, 86)},
            {"inside", {30, 30}, {{20, 0}, {0, -10}, {-5, 5}}, QRect(115, 45, 65, 80)},
            // Shrinking below the minimum stops at 10, the far edge stays.
            {"left edge past the right", {1, 40}, {{100, 0}}, QRect(155, 50, 10, 80)},
            {"right edge past the left", {62, 40}, {{-100, 0}}, QRect(100, 50, 10, 80)},
        };
        for (const Case& c : cases) {
            TrackerHost host(QRect(100, 50, 65, 80));
            host.Drag(c.at, c.steps);
            QVERIFY2(host.tracker->geometry() == c.expected,
                     qPrintable(QString("%1: %2,%3 %4x%5").arg(c.what).arg(host.tracker->x()).arg(host.tracker->y())
                                    .arg(host.tracker->width()).arg(host.tracker->height())));
            QCOMPARE(host.changes.size(), size_t(1));
            QCOMPARE(host.changes.back(), c.expected.adjusted(2, 2, -2, -2));
            QCOMPARE(host.tracker->Mode(), TCustomRectTracker::dmNone);
        }
    }

    void releasingWhereItWasPressedRaisesNoChange()
    {
        TrackerHost host(QRect(100, 50, 65, 80));
        int moves = 0, downs = 0, ups = 0;
        host.tracker->OnMouseDown = [&](TCustomRectTracker*, Qt::MouseButton, Qt::KeyboardModifiers, int, int) { ++downs; };
        host.tracker->OnMouseMove = [&](TCustomRectTracker* t, Qt::KeyboardModifiers, int, int) {
            ++moves;
            // The owner sees the tracker after this step's move.
            QCOMPARE(t->geometry(), host.tracker->geometry());
        };
        host.tracker->OnMouseUp = [&](TCustomRectTracker*, Qt::MouseButton, Qt::KeyboardModifiers, int, int) { ++ups; };
        host.Drag({30, 30}, {{12, 7}, {-12, -7}});
        QCOMPARE(host.tracker->geometry(), QRect(100, 50, 65, 80));
        QVERIFY(host.changes.empty());
        QCOMPARE(downs, 1);
        QCOMPARE(ups, 1);
        QCOMPARE(moves, 2);
        host.Drag({30, 30}, {});
        QVERIFY(host.changes.empty());
    }

    void cursorShowsWhatAPressWouldGrab()
    {
        TrackerHost host(QRect(100, 50, 65, 80));
        const std::pair<QPoint, Qt::CursorShape> cases[] = {
            {{2, 40}, Qt::SizeHorCursor},   {{32, 78}, Qt::SizeVerCursor}, {{63, 1}, Qt::SizeBDiagCursor},
            {{63, 78}, Qt::SizeFDiagCursor}, {{30, 30}, Qt::SizeAllCursor}, {{0, 20}, Qt::ArrowCursor},
        };
        for (const auto& [point, shape] : cases) {
            QTest::mouseMove(host.tracker, point);
            QCOMPARE(host.tracker->cursor().shape(), shape);
        }
        QCOMPARE(host.tracker->geometry(), QRect(100, 50, 65, 80)); // hovering moves nothing
    }

    void framedControlFollowsTheTracker()
    {
        TrackerHost host(QRect(0, 0, 65, 65));
        auto* label = new QWidget(&host.parent);
        label->setGeometry(50, 40, 80, 30);
        label->show();
        host.tracker->SetAcControl(label);
        QCOMPARE(host.tracker->geometry(), QRect(45, 35, 90, 40));
        QCOMPARE(label->geometry(), QRect(50, 40, 80, 30));
        host.Drag({45, 20}, {{10, 10}});
        QCOMPARE(label->geometry(), QRect(60, 50, 80, 30));
        host.tracker->resize(120, 60);
        QCOMPARE(label->geometry(), QRect(60, 50, 110, 50));
    }

    void frameAndHandlesTurnThePictureBelowWhite()
    {
        QWidget parent;
        parent.resize(120, 120);
        parent.setAutoFillBackground(true);
        QPalette dark = parent.palette();
        dark.setColor(QPalette::Window, QColor(40, 60, 80));
        parent.setPalette(dark);
        auto* tracker = new TRectTracker(&parent);
        tracker->setGeometry(20, 20, 65, 65);
        const QImage shot = parent.grab().toImage();
        QCOMPARE(QColor(shot.pixel(20, 20)), QColor(Qt::white)); // top-left handle
        QCOMPARE(QColor(shot.pixel(22 + 30, 22)), QColor(Qt::white)); // top midpoint handle
        QCOMPARE(QColor(shot.pixel(50, 50)), QColor(40, 60, 80));    // inside stays as it was
        int whiteOnFrame = 0;
        for (int x = 30; x < 45; ++x) whiteOnFrame += QColor(shot.pixel(x, 22 + 60)) == QColor(Qt::white);
        QVERIFY(whiteOnFrame >= 5 && whiteOnFrame <= 10); // dotted, not solid
    }

    void lowerThumbStaysBelowTheUpperOne()
    {
        TTrackBar2 bar;
        bar.SetSecondThumb(true);
        int changes = 0;
        bar.OnChange = [&](TTrackBar2*) { ++changes; };
        bar.SetPositionL(5);
        bar.SetPositionU(6);
        QCOMPARE(changes, 2);
        bar.SetPositionL(9);
        QCOMPARE(bar.PositionL(), 5);
        bar.SetPositionU(2);
        QCOMPARE(bar.PositionU(), 6);
        bar.SetPositionU(99);
        QCOMPARE(bar.PositionU(), bar.Max());
        bar.SetPositionL(-4);
        QCOMPARE(bar.PositionL(), bar.Min());
    }

    void singleThumbBarStillKeepsTheUpperPositionAbove()
    {
        TTrackBar2 bar;
        QCOMPARE(bar.Max(), 20);
        QCOMPARE(bar.PositionU(), 10);
        bar.SetPositionL(12);
        QCOMPARE(bar.PositionL(), 12); // no second thumb: only the range limits it
        bar.SetPositionU(7);
        QCOMPARE(bar.PositionU(), 13);
        bar.SetPositionL(25);
        QCOMPARE(bar.PositionL(), 20);
    }

    void rangeChangesMoveThumbsSilently()
    {
        TTrackBar2 bar;
        bar.SetSecondThumb(true);
        bar.SetPositionL(4);
        int changes = 0;
        bar.OnChange = [&](TTrackBar2*) { ++changes; };
        bar.SetMax(8);
        QCOMPARE(bar.PositionU(), 8);
        bar.SetMin(6);
        QCOMPARE(bar.PositionL(), 6);
        QCOMPARE(changes, 0);
    }

    void orientationFollowsTheShape()
    {
        TTrackBar2 bar;
        QCOMPARE(bar.Orientation(), toVertical);
        bar.resize(200, 40);
        QCOMPARE(bar.Orientation(), toHorizontal);
        bar.resize(40, 200);
        QCOMPARE(bar.Orientation(), toVertical);
    }

    void pixelsMapToValuesAlongTheTrack()
    {
        TTrackBar2 bar;
        bar.resize(220, 40); // track 200 pixels from x 10, 0..20: 10 pixels a step
        QCOMPARE(bar.ValueAt(10), 0);
        QCOMPARE(bar.ValueAt(29), 1);
        QCOMPARE(bar.ValueAt(110), 10);
        QCOMPARE(bar.ValueAt(500), 20);
        QCOMPARE(bar.PixelOf(15), 160);
        bar.SetMin(100);
        bar.SetMax(120);
        QCOMPARE(bar.ValueAt(110), 110); // counted from Min
        bar.resize(40, 220);
        QCOMPARE(bar.ValueAt(10), 120); // vertical bars count from the bottom
        QCOMPARE(bar.ValueAt(210), 100);
    }

    void mousePicksTheNearerThumbAndDragsIt()
    {
        TTrackBar2 bar;
        bar.resize(220, 40);
        bar.SetSecondThumb(true);
        bar.SetPositionL(4);
        bar.SetPositionU(14);
        bar.show();
        QVERIFY(QTest::qWaitForWindowExposed(&bar));
        // Beyond the midpoint (value 9) concerns the upper thumb: it jumps there.
        QTest::mouseClick(&bar, Qt::LeftButton, {}, QPoint(bar.PixelOf(11), 20));
        QCOMPARE(bar.PositionU(), 11);
        QCOMPARE(bar.PositionL(), 4);
        QTest::mouseClick(&bar, Qt::LeftButton, {}, QPoint(bar.PixelOf(2), 20));
        QCOMPARE(bar.PositionL(), 2);
        // With Shift the thumb steps towards the mouse.
        QTest::mouseClick(&bar, Qt::LeftButton, Qt::ShiftModifier, QPoint(bar.PixelOf(18), 20));
        QCOMPARE(bar.PositionU(), 12);
        // Pressed on the thumb itself, it follows the mouse until released.
        QTest::mousePress(&bar, Qt::LeftButton, {}, QPoint(bar.PixelOf(12) + 3, 20));
        QVERIFY(bar.TrackingU());
        QTest::mouseMove(&bar, QPoint(bar.PixelOf(17), 20));
        QCOMPARE(bar.PositionU(), 17);
        QTest::mouseMove(&bar, QPoint(bar.PixelOf(1), 20));
        QCOMPARE(bar.PositionU(), 3); // never at or below the lower thumb
        QTest::mouseRelease(&bar, Qt::LeftButton, {}, QPoint(bar.PixelOf(1), 20));
        QVERIFY(!bar.TrackingU());
        QTest::mouseMove(&bar, QPoint(bar.PixelOf(15), 20));
        QCOMPARE(bar.PositionU(), 3);
    }

    void keysStepTheLowerThumbAndWithShiftTheUpper()
    {
        TTrackBar2 bar;
        bar.resize(220, 40);
        bar.SetSecondThumb(true);
        bar.SetPositionL(4);
        bar.SetPositionU(14);
        bar.show();
        QVERIFY(QTest::qWaitForWindowExposed(&bar));
        struct Case {
            Qt::Key key;
            Qt::KeyboardModifiers modifiers;
            int lower, upper;
        } cases[] = {
            {Qt::Key_Right, {}, 5, 14},      {Qt::Key_Up, {}, 6, 14},       {Qt::Key_PageUp, {}, 8, 14},
            {Qt::Key_Left, {}, 7, 14},       {Qt::Key_PageDown, {}, 5, 14}, {Qt::Key_Down, {}, 4, 14},
            {Qt::Key_Right, Qt::ShiftModifier, 4, 15}, {Qt::Key_PageDown, Qt::ShiftModifier, 4, 13},
        };
        for (const Case& c : cases) {
            QTest::keyClick(&bar, c.key, c.modifiers);
            QCOMPARE(bar.PositionL(), c.lower);
            QCOMPARE(bar.PositionU(), c.upper);
        }
        bar.SetSecondThumb(false);
        QTest::keyClick(&bar, Qt::Key_Right, Qt::ShiftModifier);
        QCOMPARE(bar.PositionL(), 5); // without a second thumb Shift changes nothing
    }

    void everyStyleDrawsAndUserDrawnStylesAskTheOwner()
    {
        TTrackBar2 bar;
        bar.resize(220, 44);
        bar.SetSecondThumb(true);
        bar.SetPositionL(3);
        bar.SetPositionU(15);
        bar.SetTrackColor(QColor(200, 30, 30));
        const QImage plain = bar.grab().toImage();
        for (TTrackStyle track : {trFlat, trRaised, trLowered})
            for (TThumbStyle thumb : {tsRectangle, tsRaisedRectangle, tsLoweredRectangle, tsSmallPointer,
                                      tsMediumPointer, tsLargePointer})
                for (TTickStyle tick : {tiLine, tiSquare, tiRaisedSquare, tiLoweredSquare}) {
                    bar.SetTrackStyle(track);
                    bar.SetThumbStyle(thumb);
                    bar.SetTickStyle(tick);
                    const QImage shot = bar.grab().toImage();
                    // The track's colour shows beyond the thumbs.
                    const QRect inner = bar.TrackRect().adjusted(2, 2, -2, -2);
                    QCOMPARE(QColor(shot.pixel(bar.PixelOf(19), inner.center().y())), QColor(200, 30, 30));
                }
        const QString shots = qEnvironmentVariable("VARNEL_SCREENSHOT_DIR");
        if (!shots.isEmpty()) {
            QImage sheet(220, 44 * 6, QImage::Format_RGB32);
            sheet.fill(Qt::lightGray);
            QPainter sheetPainter(&sheet);
            int row = 0;
            for (TThumbStyle thumb : {tsRaisedRectangle, tsRectangle, tsLoweredRectangle, tsSmallPointer,
                                      tsMediumPointer, tsLargePointer}) {
                bar.SetTrackStyle(row % 2 ? trFlat : trLowered);
                bar.SetThumbStyle(thumb);
                bar.SetTickStyle(TTickStyle(1 + row % 4));
                bar.SetTickOrientation(row < 3 ? toBoth : toBottomRight);
                sheetPainter.drawImage(0, 44 * row++, bar.grab().toImage());
            }
            sheetPainter.end();
            sheet.save(shots + QStringLiteral("/trackbar2.png"));
        }
        int tracks = 0, thumbs = 0, ticks = 0;
        bar.OnDrawTrack = [&](TTrackBar2*, QPainter&, const QRect&) { ++tracks; };
        bar.OnDrawThumb = [&](TTrackBar2*, QPainter&, const QRect&, TTrackBar2::TThumb) { ++thumbs; };
        bar.OnDrawTick = [&](TTrackBar2*, QPainter&, const QRect&, int) { ++ticks; };
        bar.SetTrackStyle(trUserDrawn);
        bar.SetThumbStyle(tsUserDrawn);
        bar.SetTickStyle(tiUserDrawn);
        bar.SetTickOrientation(toTopLeft);
        bar.grab();
        QCOMPARE(tracks, 1);
        QCOMPARE(thumbs, 2);
        QCOMPARE(ticks, 21);
        QVERIFY(!plain.isNull());
    }
};

QTEST_MAIN(WidgetsTest)
#include "WidgetsTest.moc"

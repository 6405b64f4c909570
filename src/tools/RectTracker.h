#pragma once

#include <QPoint>
#include <QRect>
#include <QWidget>

#include <functional>

// A dotted rectangle with eight handles that the user moves and resizes with
// the mouse over a picture. It draws nothing of its own background, so the
// picture below shows through; frame and handles invert what is under them.
class TCustomRectTracker : public QWidget {
public:
    // Sender and the frame rectangle, in the parent's coordinates.
    using TTrackerEvent = std::function<void(TCustomRectTracker* Sender, const QRect& TrackRect)>;
    // X and Y are relative to the tracker.
    using TMouseEvent =
        std::function<void(TCustomRectTracker* Sender, Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X, int Y)>;
    using TMouseMoveEvent = std::function<void(TCustomRectTracker* Sender, Qt::KeyboardModifiers Shift, int X, int Y)>;

    // What a press grabbed: an edge, a corner, the whole rectangle or nothing.
    enum TDragMode {
        dmLeft = 0,
        dmRight = 1,
        dmTop = 2,
        dmBottom = 3,
        dmTopLeft = 4,
        dmTopRight = 5,
        dmBottomLeft = 6,
        dmBottomRight = 7,
        dmMove = 8,
        dmNone = 9
    };

    static constexpr int kMinimumSize = 10;
    static constexpr int kFrameInset = 2;
    static constexpr int kHandleSize = 5;
    // The gap kept around AcControl.
    static constexpr int kControlGap = 5;

    explicit TCustomRectTracker(QWidget* parent = nullptr);

    // The bounds shrunk by the frame inset, in the tracker's coordinates.
    QRect FrameRect() const;
    // The same in the parent's coordinates, as OnChange reports it.
    QRect TrackRect() const;
    TDragMode Mode() const { return mode_; }
    // The zone of a point of a tracker of the given size, in hit-test order.
    static TDragMode ZoneAt(const QSize& size, const QPoint& point);
    // The eight handle squares of a tracker of the given size.
    static QRect HandleRect(const QSize& size, TDragMode handle);

    // A sibling control the tracker frames: setting it places the tracker
    // kControlGap pixels outside it, and the control then follows every move
    // and resize of the tracker, kControlGap pixels inside.
    QWidget* AcControl() const { return acControl_; }
    void SetAcControl(QWidget* control);

    TTrackerEvent OnChange;
    TMouseEvent OnMouseDown;
    TMouseMoveEvent OnMouseMove;
    TMouseEvent OnMouseUp;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void Drag(const QPoint& mouse);
    void FollowWithControl();
    void UpdateCursor(const QPoint& mouse);

    TDragMode mode_ = dmNone;
    QPoint lastMouse_;
    QRect boundsAtPress_;
    QWidget* acControl_ = nullptr;
};

class TRectTracker : public TCustomRectTracker {
public:
    using TCustomRectTracker::TCustomRectTracker;
};

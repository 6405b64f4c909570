#include "tools/RectTracker.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

namespace {

// Where a midpoint handle starts along a side of the given length.
int MidHandleStart(int length) { return (length + 1) / 2 - 3; }

} // namespace

TCustomRectTracker::TCustomRectTracker(QWidget* parent) : QWidget(parent)
{
    setMinimumSize(kMinimumSize, kMinimumSize);
    resize(65, 65);
    setMouseTracking(true);
    // Only frame and handles are drawn; whatever lies below stays visible.
    setAttribute(Qt::WA_NoSystemBackground);
    setAutoFillBackground(false);
}

QRect TCustomRectTracker::FrameRect() const
{
    return rect().adjusted(kFrameInset, kFrameInset, -kFrameInset, -kFrameInset);
}

QRect TCustomRectTracker::TrackRect() const { return FrameRect().translated(pos()); }

QRect TCustomRectTracker::HandleRect(const QSize& size, TDragMode handle)
{
    const int w = size.width(), h = size.height();
    const int right = w - kHandleSize, bottom = h - kHandleSize;
    const int midX = MidHandleStart(w), midY = MidHandleStart(h);
    switch (handle) {
    case dmTopLeft: return {0, 0, kHandleSize, kHandleSize};
    case dmTopRight: return {right, 0, kHandleSize, kHandleSize};
    case dmBottomLeft: return {0, bottom, kHandleSize, kHandleSize};
    case dmBottomRight: return {right, bottom, kHandleSize, kHandleSize};
    case dmLeft: return {0, midY, kHandleSize, kHandleSize};
    case dmRight: return {right, midY, kHandleSize, kHandleSize};
    case dmTop: return {midX, 0, kHandleSize, kHandleSize};
    case dmBottom: return {midX, bottom, kHandleSize, kHandleSize};
    default: return {};
    }
}

TCustomRectTracker::TDragMode TCustomRectTracker::ZoneAt(const QSize& size, const QPoint& point)
{
    // Corners first: on a small tracker they overlap the midpoint handles.
    for (TDragMode handle : {dmTopLeft, dmBottomRight, dmBottomLeft, dmTopRight, dmLeft, dmRight, dmTop, dmBottom})
        if (HandleRect(size, handle).contains(point)) return handle;
    const QRect frame = QRect(QPoint(0, 0), size).adjusted(kFrameInset, kFrameInset, -kFrameInset, -kFrameInset);
    return frame.contains(point) ? dmMove : dmNone;
}

void TCustomRectTracker::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    // Merging the background with the inverse of black turns every pixel
    // drawn white, which stays visible over any picture.
    painter.setCompositionMode(QPainter::RasterOp_NotSourceOrDestination);
    QPen pen(Qt::black);
    pen.setStyle(Qt::DotLine);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    const QRect frame = FrameRect();
    painter.drawRect(frame.adjusted(0, 0, -1, -1));
    for (TDragMode handle : {dmTopLeft, dmTopRight, dmBottomLeft, dmBottomRight, dmLeft, dmRight, dmTop, dmBottom})
        painter.fillRect(HandleRect(size(), handle), Qt::black);
}

void TCustomRectTracker::mousePressEvent(QMouseEvent* event)
{
    const QPoint mouse = event->position().toPoint();
    if (event->button() == Qt::LeftButton) {
        boundsAtPress_ = geometry();
        lastMouse_ = mouse;
        mode_ = ZoneAt(size(), mouse);
    }
    if (OnMouseDown) OnMouseDown(this, event->button(), event->modifiers(), mouse.x(), mouse.y());
}

void TCustomRectTracker::Drag(const QPoint& mouse)
{
    const int dx = mouse.x() - lastMouse_.x();
    const int dy = mouse.y() - lastMouse_.y();
    QRect r = geometry();
    // An edge dragged inwards stops at the minimum size; the opposite edge
    // stays where it is.
    auto moveLeftEdge = [&r](int d) { r.setLeft(r.left() + std::min(d, r.width() - kMinimumSize)); };
    auto moveTopEdge = [&r](int d) { r.setTop(r.top() + std::min(d, r.height() - kMinimumSize)); };
    auto growWidth = [&r](int d) { r.setWidth(std::max(kMinimumSize, r.width() + d)); };
    auto growHeight = [&r](int d) { r.setHeight(std::max(kMinimumSize, r.height() + d)); };
    const bool leftMayMove = r.width() > kMinimumSize || dx <= 0;
    const bool topMayMove = r.height() > kMinimumSize || dy <= 0;

    switch (mode_) {
    case dmLeft:
        if (leftMayMove) moveLeftEdge(dx);
        break;
    case dmRight:
        growWidth(dx);
        lastMouse_.setX(mouse.x());
        break;
    case dmTop:
        if (topMayMove) moveTopEdge(dy);
        break;
    case dmBottom:
        growHeight(dy);
        lastMouse_.setY(mouse.y());
        break;
    case dmTopLeft:
        if (leftMayMove) {
            moveLeftEdge(dx);
            if (topMayMove) moveTopEdge(dy);
        } else if (topMayMove) {
            moveTopEdge(dy);
        }
        break;
    case dmTopRight:
        if (topMayMove) moveTopEdge(dy);
        growWidth(dx);
        lastMouse_.setX(mouse.x());
        break;
    case dmBottomLeft:
        if (leftMayMove) moveLeftEdge(dx);
        growHeight(dy);
        lastMouse_.setY(mouse.y());
        break;
    case dmBottomRight:
        growWidth(dx);
        growHeight(dy);
        lastMouse_ = mouse;
        break;
    case dmMove: r.translate(dx, dy); break;
    case dmNone: return;
    }
    if (r == geometry()) return;
    setGeometry(r);
    FollowWithControl();
}

void TCustomRectTracker::mouseMoveEvent(QMouseEvent* event)
{
    // Kept in the parent's coordinates: the tracker may move under the mouse.
    const QPoint inParent = pos() + event->position().toPoint();
    if ((event->buttons() & Qt::LeftButton) && mode_ != dmNone) Drag(event->position().toPoint());
    const QPoint mouse = inParent - pos();
    UpdateCursor(mouse);
    if (OnMouseMove) OnMouseMove(this, event->modifiers(), mouse.x(), mouse.y());
}

void TCustomRectTracker::mouseReleaseEvent(QMouseEvent* event)
{
    const QPoint mouse = event->position().toPoint();
    if (event->button() != Qt::LeftButton) {
        if (OnMouseUp) OnMouseUp(this, event->button(), event->modifiers(), mouse.x(), mouse.y());
        return;
    }
    mode_ = dmNone;
    if (OnMouseUp) OnMouseUp(this, event->button(), event->modifiers(), mouse.x(), mouse.y());
    if (geometry() != boundsAtPress_ && OnChange) OnChange(this, TrackRect());
}

void TCustomRectTracker::UpdateCursor(const QPoint& mouse)
{
    switch (ZoneAt(size(), mouse)) {
    case dmLeft:
    case dmRight: setCursor(Qt::SizeHorCursor); break;
    case dmTop:
    case dmBottom: setCursor(Qt::SizeVerCursor); break;
    case dmTopRight:
    case dmBottomLeft: setCursor(Qt::SizeBDiagCursor); break;
    case dmTopLeft:
    case dmBottomRight: setCursor(Qt::SizeFDiagCursor); break;
    case dmMove: setCursor(Qt::SizeAllCursor); break;
    case dmNone: unsetCursor(); break;
    }
}

void TCustomRectTracker::SetAcControl(QWidget* control)
{
    acControl_ = control;
    if (!control) return;
    QRect around = control->geometry().adjusted(-kControlGap, -kControlGap, kControlGap, kControlGap);
    if (control->parentWidget() && parentWidget() && control->parentWidget() != parentWidget())
        around.moveTopLeft(parentWidget()->mapFromGlobal(control->parentWidget()->mapToGlobal(around.topLeft())));
    setGeometry(around);
    // The handles must stay within reach above the control they frame.
    raise();
    FollowWithControl();
}

void TCustomRectTracker::FollowWithControl()
{
    if (!acControl_) return;
    QRect inside = geometry().adjusted(kControlGap, kControlGap, -kControlGap, -kControlGap);
    if (acControl_->parentWidget() && parentWidget() && acControl_->parentWidget() != parentWidget())
        inside.moveTopLeft(acControl_->parentWidget()->mapFromGlobal(parentWidget()->mapToGlobal(inside.topLeft())));
    if (acControl_->geometry() != inside) acControl_->setGeometry(inside);
}

void TCustomRectTracker::moveEvent(QMoveEvent* event)
{
    QWidget::moveEvent(event);
    FollowWithControl();
}

void TCustomRectTracker::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    FollowWithControl();
}

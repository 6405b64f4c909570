#include "tools/Tracker2.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPolygon>
#include <qdrawutil.h>

#include <algorithm>

TTrackBar2::TTrackBar2(QWidget* parent) : QWidget(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    tickColor_ = palette().color(QPalette::Button);
    thumbColor_ = palette().color(QPalette::Button);
    // A fresh bar stands upright until it is given a wider than tall shape.
    orientation_ = toVertical;
    shapeSeen_ = size();
}

void TTrackBar2::FollowShape() const
{
    if (size() == shapeSeen_) return;
    shapeSeen_ = size();
    if (height() > width())
        orientation_ = toVertical;
    else if (width() > height())
        orientation_ = toHorizontal;
}

TTrackBarOrientation TTrackBar2::Orientation() const
{
    FollowShape();
    return orientation_;
}

QSize TTrackBar2::sizeHint() const
{
    const int across = thumbSize_ + 2 * (tickSize_ + 2);
    return orientation_ == toHorizontal ? QSize(150, across) : QSize(across, 150);
}

void TTrackBar2::SetMin(int value)
{
    if (value == min_) return;
    min_ = value;
    if (max_ < min_) max_ = min_;
    positionL_ = std::clamp(positionL_, min_, max_);
    positionU_ = std::clamp(positionU_, min_, max_);
    update();
}

void TTrackBar2::SetMax(int value)
{
    if (value == max_) return;
    max_ = value;
    if (min_ > max_) min_ = max_;
    positionU_ = std::clamp(positionU_, min_, max_);
    positionL_ = std::clamp(positionL_, min_, max_);
    update();
}

void TTrackBar2::SetPositionL(int value)
{
    if (value == positionL_) return;
    if (secondThumb_ && value >= positionU_)
        value = positionU_ - 1;
    else
        value = std::clamp(value, min_, max_);
    if (value == positionL_) return;
    positionL_ = value;
    Changed();
}

void TTrackBar2::SetPositionU(int value)
{
    if (value == positionU_) return;
    if (value > max_)
        value = max_;
    else if (value <= positionL_)
        value = positionL_ + 1;
    if (value == positionU_) return;
    positionU_ = value;
    Changed();
}

void TTrackBar2::Changed()
{
    if (OnChange) OnChange(this);
    update();
}

void TTrackBar2::SetSecondThumb(bool value)
{
    secondThumb_ = value;
    update();
}

void TTrackBar2::SetOrientation(TTrackBarOrientation value)
{
    FollowShape();
    orientation_ = value;
    update();
}

void TTrackBar2::SetTrackSize(int value) { trackSize_ = std::max(1, value), update(); }
void TTrackBar2::SetTrackStyle(TTrackStyle value) { trackStyle_ = value, update(); }
void TTrackBar2::SetTrackColor(const QColor& value) { trackColor_ = value, update(); }
void TTrackBar2::SetTickSize(int value) { tickSize_ = std::max(0, value), update(); }
void TTrackBar2::SetTickStyle(TTickStyle value) { tickStyle_ = value, update(); }
void TTrackBar2::SetTickColor(const QColor& value) { tickColor_ = value, update(); }
void TTrackBar2::SetTickOrientation(TTickOrientation value) { tickOrientation_ = value, update(); }
void TTrackBar2::SetTickInterval(int value) { tickInterval_ = std::max(0, value), update(); }
void TTrackBar2::SetThumbSize(int value) { thumbSize_ = std::max(2, value), update(); }
void TTrackBar2::SetThumbStyle(TThumbStyle value) { thumbStyle_ = value, update(); }
void TTrackBar2::SetThumbColor(const QColor& value) { thumbColor_ = value, update(); }
void TTrackBar2::SetDitherThumb(bool value) { ditherThumb_ = value, update(); }

int TTrackBar2::Length() const
{
    FollowShape();
    return orientation_ == toHorizontal ? width() : height();
}

int TTrackBar2::Across() const
{
    FollowShape();
    return orientation_ == toHorizontal ? height() : width();
}

int TTrackBar2::TrackLength() const { return std::max(1, Length() - thumbSize_); }
int TTrackBar2::PixelAlong(const QPoint& point) const
{
    FollowShape();
    return orientation_ == toHorizontal ? point.x() : point.y();
}


int TTrackBar2::ValueAt(int pixel) const
{
    const int offset = std::clamp(pixel - TrackStart(), 0, TrackLength());
    const int steps = int(int64_t(offset) * (max_ - min_) / TrackLength());
    return orientation_ == toHorizontal ? min_ + steps : max_ - steps;
}

int TTrackBar2::PixelOf(int value) const
{
    const int range = max_ - min_;
    const int offset = range > 0 ? int(int64_t(std::clamp(value, min_, max_) - min_) * TrackLength() / range) : 0;
    return orientation_ == toHorizontal ? TrackStart() + offset : TrackStart() + TrackLength() - offset;
}

namespace {

struct AcrossBands {
    int tickBefore; // space for ticks on the top (left) side
    int tickAfter;  // on the bottom (right) side
};

} // namespace

static AcrossBands BandsOf(int tickSize, int tickInterval, TTickOrientation orientation)
{
    const int space = tickInterval > 0 && tickSize > 0 ? tickSize + 2 : 0;
    return {orientation == toBottomRight ? 0 : space, orientation == toTopLeft ? 0 : space};
}

// A rectangle given along and across the bar, turned to widget coordinates.
static QRect Oriented(TTrackBarOrientation orientation, int along, int across, int length, int thickness)
{
    return orientation == toHorizontal ? QRect(along, across, length, thickness) : QRect(across, along, thickness, length);
}

QRect TTrackBar2::TrackRect() const
{
    const AcrossBands bands = BandsOf(tickSize_, tickInterval_, tickOrientation_);
    const int band = std::max(0, Across() - bands.tickBefore - bands.tickAfter);
    const int thickness = std::min(trackSize_, band);
    return Oriented(orientation_, TrackStart(), bands.tickBefore + (band - thickness) / 2, TrackLength(), thickness);
}

QRect TTrackBar2::ThumbRect(TThumb thumb) const
{
    const AcrossBands bands = BandsOf(tickSize_, tickInterval_, tickOrientation_);
    const int band = std::max(4, Across() - bands.tickBefore - bands.tickAfter);
    const int centre = PixelOf(ThumbValue(thumb));
    return Oriented(orientation_, centre - thumbSize_ / 2, bands.tickBefore + 1, thumbSize_, std::max(2, band - 2));
}

void TTrackBar2::SetThumb(TThumb thumb, int value)
{
    if (thumb == thUpper)
        SetPositionU(value);
    else
        SetPositionL(value);
}

void TTrackBar2::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    setFocus(Qt::MouseFocusReason);
    const QPoint point = event->position().toPoint();
    const int pixel = PixelAlong(point);
    TThumb thumb = thLower;
    if (secondThumb_) {
        const int middle = (PixelOf(positionL_) + PixelOf(positionU_)) / 2;
        // Upper values lie right on a horizontal bar and up on a vertical one.
        const bool beyond = orientation_ == toHorizontal ? pixel > middle : pixel < middle;
        if (beyond) thumb = thUpper;
    }
    if (ThumbRect(thumb).contains(point)) {
        (thumb == thUpper ? trackingU_ : trackingL_) = true;
        update();
        return;
    }
    const int target = ValueAt(pixel);
    if (!(event->modifiers() & Qt::ShiftModifier)) {
        SetThumb(thumb, target);
        return;
    }
    const int current = ThumbValue(thumb);
    if (target > current)
        SetThumb(thumb, current + smallChange_);
    else if (target < current)
        SetThumb(thumb, current - smallChange_);
}

void TTrackBar2::mouseMoveEvent(QMouseEvent* event)
{
    if (!trackingL_ && !trackingU_) {
        QWidget::mouseMoveEvent(event);
        return;
    }
    SetThumb(trackingU_ ? thUpper : thLower, ValueAt(PixelAlong(event->position().toPoint())));
}

void TTrackBar2::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && (trackingL_ || trackingU_)) {
        trackingL_ = trackingU_ = false;
        update();
        return;
    }
    QWidget::mouseReleaseEvent(event);
}

void TTrackBar2::keyPressEvent(QKeyEvent* event)
{
    int step = 0;
    switch (event->key()) {
    case Qt::Key_PageUp: step = largeChange_; break;
    case Qt::Key_PageDown: step = -largeChange_; break;
    case Qt::Key_Right:
    case Qt::Key_Up: step = smallChange_; break;
    case Qt::Key_Left:
    case Qt::Key_Down: step = -smallChange_; break;
    default: QWidget::keyPressEvent(event); return;
    }
    const TThumb thumb = secondThumb_ && (event->modifiers() & Qt::ShiftModifier) ? thUpper : thLower;
    SetThumb(thumb, ThumbValue(thumb) + step);
}

void TTrackBar2::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    FollowShape();
}

void TTrackBar2::paintEvent(QPaintEvent*)
{
    FollowShape();
    QPainter painter(this);
    DrawTicks(painter);
    DrawTrack(painter);
    DrawThumb(painter, thLower);
    if (secondThumb_) DrawThumb(painter, thUpper);
    if (hasFocus()) {
        painter.setPen(QPen(palette().color(QPalette::WindowText), 1, Qt::DotLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
    if (OnPaint) OnPaint(this, painter);
}

void TTrackBar2::DrawTrack(QPainter& painter)
{
    const QRect track = TrackRect();
    if (track.isEmpty()) return;
    switch (trackStyle_) {
    case trUserDrawn:
        if (OnDrawTrack) OnDrawTrack(this, painter, track);
        return;
    case trFlat:
        painter.fillRect(track, trackColor_);
        painter.setPen(palette().color(QPalette::Dark));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(track.adjusted(0, 0, -1, -1));
        break;
    case trRaised:
    case trLowered: {
        const QBrush fill(trackColor_);
        qDrawShadePanel(&painter, track, palette(), trackStyle_ == trLowered, 1, &fill);
        break;
    }
    }
    if (secondThumb_) {
        // The chosen range is marked inside the track.
        const int a = PixelOf(positionL_), b = PixelOf(positionU_);
        const int from = std::min(a, b), to = std::max(a, b);
        const QRect inner = track.adjusted(2, 2, -2, -2);
        const QRect range = orientation_ == toHorizontal ? QRect(from, inner.top(), to - from, inner.height())
                                                         : QRect(inner.left(), from, inner.width(), to - from);
        painter.fillRect(range.intersected(inner), palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled,
                                                                    QPalette::Highlight));
    }
}

void TTrackBar2::DrawTicks(QPainter& painter)
{
    if (tickInterval_ <= 0 || tickSize_ <= 0 || max_ < min_) return;
    const int across = Across();
    const int square = std::clamp(tickSize_ - 2, 2, 6);
    std::vector<std::pair<int, int>> sides; // start across, length across
    if (tickOrientation_ != toBottomRight) sides.push_back({1, tickSize_});
    if (tickOrientation_ != toTopLeft) sides.push_back({across - 1 - tickSize_, tickSize_});
    // Never more ticks than pixels to put them on.
    const int spacing = std::max(1, TrackLength() / std::max(1, (max_ - min_) / tickInterval_));
    const int interval = spacing < 3 ? tickInterval_ * ((3 + spacing - 1) / spacing) : tickInterval_;
    for (int value = min_;; value += interval) {
        const int v = std::min(value, max_);
        const int at = PixelOf(v);
        for (const auto& [start, length] : sides) {
            QRect area = Oriented(orientation_, at - square / 2, start + (length - square) / 2, square, square);
            switch (tickStyle_) {
            case tiUserDrawn:
                if (OnDrawTick) OnDrawTick(this, painter, Oriented(orientation_, at, start, 1, length), v);
                break;
            case tiLine:
                painter.setPen(tickColor_.darker(160));
                if (orientation_ == toHorizontal)
                    painter.drawLine(at, start, at, start + length - 1);
                else
                    painter.drawLine(start, at, start + length - 1, at);
                break;
            case tiSquare: painter.fillRect(area, tickColor_.darker(150)); break;
            case tiRaisedSquare:
            case tiLoweredSquare: {
                const QBrush fill(tickColor_);
                qDrawShadePanel(&painter, area, palette(), tickStyle_ == tiLoweredSquare, 1, &fill);
                break;
            }
            }
        }
        if (v >= max_) break;
    }
}

void TTrackBar2::DrawThumb(QPainter& painter, TThumb thumb)
{
    const QRect area = ThumbRect(thumb);
    if (thumbStyle_ == tsUserDrawn) {
        if (OnDrawThumb) OnDrawThumb(this, painter, area, thumb);
        return;
    }
    const bool dragging = thumb == thUpper ? trackingU_ : trackingL_;
    QBrush fill(thumbColor_);
    if (!isEnabled() && ditherThumb_) {
        painter.fillRect(area, palette().color(QPalette::Window));
        fill = QBrush(thumbColor_.darker(130), Qt::Dense4Pattern);
    }
    switch (thumbStyle_) {
    case tsRectangle:
        painter.setPen(palette().color(QPalette::Shadow));
        painter.setBrush(fill);
        painter.drawRect(area.adjusted(0, 0, -1, -1));
        break;
    case tsRaisedRectangle:
    case tsLoweredRectangle:
        qDrawShadePanel(&painter, area, palette(), (thumbStyle_ == tsLoweredRectangle) != dragging, 2, &fill);
        break;
    case tsSmallPointer:
    case tsMediumPointer:
    case tsLargePointer: {
        // A pointer is a narrower thumb with a tip towards the (last) tick side.
        const int percent = thumbStyle_ == tsSmallPointer ? 50 : thumbStyle_ == tsMediumPointer ? 75 : 100;
        const int along = std::max(4, thumbSize_ * percent / 100);
        const int centre = PixelOf(ThumbValue(thumb));
        const bool tipBefore = tickOrientation_ == toTopLeft;
        const int thickness = orientation_ == toHorizontal ? area.height() : area.width();
        const int acrossStart = orientation_ == toHorizontal ? area.top() : area.left();
        const int tip = std::min(along / 2, thickness / 2);
        const int a0 = centre - along / 2, a1 = centre + along / 2;
        const int c0 = acrossStart, c1 = acrossStart + thickness - 1;
        QPolygon shape;
        auto add = [&](int a, int c) { shape << (orientation_ == toHorizontal ? QPoint(a, c) : QPoint(c, a)); };
        if (tipBefore) {
            add(centre, c0), add(a1, c0 + tip), add(a1, c1), add(a0, c1), add(a0, c0 + tip);
        } else {
            add(a0, c0), add(a1, c0), add(a1, c1 - tip), add(centre, c1), add(a0, c1 - tip);
        }
        painter.setPen(palette().color(dragging ? QPalette::Highlight : QPalette::Shadow));
        painter.setBrush(fill);
        painter.drawPolygon(shape);
        break;
    }
    case tsUserDrawn: break;
    }
}

#include "tools/PositionBar.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <qdrawutil.h>

#include <algorithm>

TPositionBar::TPositionBar(int widthInPixels, int thumbLength, QWidget* parent)
    : QSlider(Qt::Horizontal, parent), thumbLength_(thumbLength)
{
    setFixedSize(widthInPixels, 26);
    setRange(0, widthInPixels);
    setTickPosition(QSlider::NoTicks);
    setFocusPolicy(Qt::StrongFocus);
}

void TPositionBar::SetSelStart(int value)
{
    selStart_ = value;
    update();
}

void TPositionBar::SetSelEnd(int value)
{
    selEnd_ = value;
    update();
}

void TPositionBar::SetThumbVisible(bool visible)
{
    thumbVisible_ = visible;
    update();
}

int TPositionBar::XOfValue(int value) const
{
    const int span = std::max(1, width() - thumbLength_);
    const int range = maximum() - minimum();
    if (range <= 0) return thumbLength_ / 2;
    return thumbLength_ / 2 + int(int64_t(std::clamp(value, minimum(), maximum()) - minimum()) * span / range);
}

int TPositionBar::ValueAtX(int x) const
{
    const int span = std::max(1, width() - thumbLength_);
    const int offset = std::clamp(x - thumbLength_ / 2, 0, span);
    return minimum() + int((int64_t(offset) * (maximum() - minimum()) + span / 2) / span);
}

void TPositionBar::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QPalette& pal = palette();
    const int mid = height() / 2;
    const QRect groove(thumbLength_ / 2 - 2, mid - 3, width() - thumbLength_ + 4, 6);
    const QBrush grooveFill(pal.color(QPalette::Base));
    qDrawShadePanel(&painter, groove, pal, true, 1, &grooveFill);

    if (selEnd_ > selStart_) {
        const int from = XOfValue(selStart_), to = XOfValue(selEnd_);
        painter.fillRect(QRect(from, mid - 2, std::max(1, to - from), 4), pal.color(QPalette::Highlight));
    }
    // Selection ends are marked with small triangles above the groove, the
    // way a track bar shows its selection range.
    if (selStart_ != 0 || selEnd_ != 0) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(pal.color(QPalette::WindowText));
        for (int value : {selStart_, selEnd_}) {
            const int x = XOfValue(value);
            const QPoint tip[3] = {QPoint(x, mid - 4), QPoint(x - 3, mid - 9), QPoint(x + 3, mid - 9)};
            painter.drawPolygon(tip, 3);
        }
    }
    if (!thumbVisible_) return;
    const int x = XOfValue(value());
    const QRect thumb(x - thumbLength_ / 2, 3, thumbLength_, height() - 6);
    QBrush face(isEnabled() ? pal.color(QPalette::Button) : pal.color(QPalette::Window));
    if (!isEnabled()) face.setStyle(Qt::Dense4Pattern);
    qDrawShadePanel(&painter, thumb, pal, dragging_, 1, &face);
    if (hasFocus()) {
        painter.setPen(QPen(pal.color(QPalette::WindowText), 1, Qt::DotLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(thumb.adjusted(2, 2, -3, -3));
    }
}

void TPositionBar::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QSlider::mousePressEvent(event);
        return;
    }
    setFocus(Qt::MouseFocusReason);
    dragging_ = true;
    setSliderDown(true);
    if (OnMouseDown) OnMouseDown();
    if (thumbVisible_) setValue(ValueAtX(event->position().toPoint().x()));
    update();
}

void TPositionBar::mouseMoveEvent(QMouseEvent* event)
{
    if (!dragging_) {
        QSlider::mouseMoveEvent(event);
        return;
    }
    if (thumbVisible_) setValue(ValueAtX(event->position().toPoint().x()));
}

void TPositionBar::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !dragging_) {
        QSlider::mouseReleaseEvent(event);
        return;
    }
    dragging_ = false;
    setSliderDown(false);
    update();
    if (OnMouseUp) OnMouseUp();
}

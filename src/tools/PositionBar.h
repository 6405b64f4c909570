#pragma once

#include <QSlider>

#include <functional>

// The position bar under a preview: a horizontal slider whose maximum is its
// width in pixels, with a marked selection and a thumb that can be hidden
// while nothing with a length is open. A press anywhere takes the thumb to
// the mouse and drags it from there.
class TPositionBar : public QSlider {
public:
    TPositionBar(int widthInPixels, int thumbLength, QWidget* parent = nullptr);

    int SelStart() const { return selStart_; }
    int SelEnd() const { return selEnd_; }
    void SetSelStart(int value);
    void SetSelEnd(int value);
    bool ThumbVisible() const { return thumbVisible_; }
    void SetThumbVisible(bool visible);
    int ThumbLength() const { return thumbLength_; }

    // Left button pressed and released on the bar (the release wherever the
    // mouse is then, since the bar holds the mouse while it is down).
    std::function<void()> OnMouseDown;
    std::function<void()> OnMouseUp;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    int ValueAtX(int x) const;
    int XOfValue(int value) const;

    int thumbLength_;
    int selStart_ = 0;
    int selEnd_ = 0;
    bool thumbVisible_ = true;
    bool dragging_ = false;
};

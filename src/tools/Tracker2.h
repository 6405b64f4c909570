#pragma once

#include <QColor>
#include <QRect>
#include <QWidget>

#include <functional>

class QPainter;

enum TTrackBarOrientation { toHorizontal, toVertical };
enum TTickOrientation { toTopLeft, toBottomRight, toBoth };
enum TTrackStyle { trUserDrawn, trFlat, trRaised, trLowered };
enum TTickStyle { tiUserDrawn, tiLine, tiSquare, tiRaisedSquare, tiLoweredSquare };
enum TThumbStyle {
    tsUserDrawn,
    tsRectangle,
    tsRaisedRectangle,
    tsLoweredRectangle,
    tsSmallPointer,
    tsMediumPointer,
    tsLargePointer
};

// A track bar with a lower thumb and, when SecondThumb is on, an upper one:
// a range picker (for example a time range). Values are integers from Min to
// Max; PositionL stays below PositionU while both thumbs are in use.
class TTrackBar2 : public QWidget {
public:
    enum TThumb { thLower, thUpper };
    using TNotifyEvent = std::function<void(TTrackBar2* Sender)>;
    using TPaintEvent = std::function<void(TTrackBar2* Sender, QPainter& Canvas)>;
    using TDrawTrackEvent = std::function<void(TTrackBar2* Sender, QPainter& Canvas, const QRect& TrackRect)>;
    using TDrawThumbEvent =
        std::function<void(TTrackBar2* Sender, QPainter& Canvas, const QRect& ThumbRect, TThumb Thumb)>;
    using TDrawTickEvent = std::function<void(TTrackBar2* Sender, QPainter& Canvas, const QRect& TickRect, int Value)>;

    explicit TTrackBar2(QWidget* parent = nullptr);

    int Min() const { return min_; }
    void SetMin(int value);
    int Max() const { return max_; }
    void SetMax(int value);
    int PositionL() const { return positionL_; }
    void SetPositionL(int value);
    int PositionU() const { return positionU_; }
    void SetPositionU(int value);
    bool SecondThumb() const { return secondThumb_; }
    void SetSecondThumb(bool value);
    int SmallChange() const { return smallChange_; }
    void SetSmallChange(int value) { smallChange_ = value; }
    int LargeChange() const { return largeChange_; }
    void SetLargeChange(int value) { largeChange_ = value; }
    TTrackBarOrientation Orientation() const;
    void SetOrientation(TTrackBarOrientation value);

    int TrackSize() const { return trackSize_; }
    void SetTrackSize(int value);
    TTrackStyle TrackStyle() const { return trackStyle_; }
    void SetTrackStyle(TTrackStyle value);
    QColor TrackColor() const { return trackColor_; }
    void SetTrackColor(const QColor& value);

    int TickSize() const { return tickSize_; }
    void SetTickSize(int value);
    TTickStyle TickStyle() const { return tickStyle_; }
    void SetTickStyle(TTickStyle value);
    QColor TickColor() const { return tickColor_; }
    void SetTickColor(const QColor& value);
    TTickOrientation TickOrientation() const { return tickOrientation_; }
    void SetTickOrientation(TTickOrientation value);
    // 0 draws no ticks.
    int TickInterval() const { return tickInterval_; }
    void SetTickInterval(int value);

    int ThumbSize() const { return thumbSize_; }
    void SetThumbSize(int value);
    TThumbStyle ThumbStyle() const { return thumbStyle_; }
    void SetThumbStyle(TThumbStyle value);
    QColor ThumbColor() const { return thumbColor_; }
    void SetThumbColor(const QColor& value);
    // A disabled bar draws its thumbs in a dithered pattern.
    bool DitherThumb() const { return ditherThumb_; }
    void SetDitherThumb(bool value);

    bool TrackingL() const { return trackingL_; }
    bool TrackingU() const { return trackingU_; }

    // Geometry along the bar, in widget pixels: the usable track starts half
    // a thumb in and is the bar's length less one thumb long.
    int TrackStart() const { return thumbSize_ / 2; }
    int TrackLength() const;
    // The value under a pixel offset along the bar (x, or y from the top).
    int ValueAt(int pixel) const;
    // The pixel offset of a value's thumb centre.
    int PixelOf(int value) const;
    QRect ThumbRect(TThumb thumb) const;
    QRect TrackRect() const;

    TNotifyEvent OnChange;
    TPaintEvent OnPaint;
    TDrawTrackEvent OnDrawTrack;
    TDrawThumbEvent OnDrawThumb;
    TDrawTickEvent OnDrawTick;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // A resize decides the orientation, also while the bar is hidden and
    // gets no resize events.
    void FollowShape() const;
    int Length() const;
    int Across() const;
    int PixelAlong(const QPoint& point) const;
    void SetThumb(TThumb thumb, int value);
    int ThumbValue(TThumb thumb) const { return thumb == thUpper ? positionU_ : positionL_; }
    void Changed();
    void DrawTrack(QPainter& painter);
    void DrawTicks(QPainter& painter);
    void DrawThumb(QPainter& painter, TThumb thumb);

    int min_ = 0;
    int max_ = 20;
    int positionL_ = 0;
    int positionU_ = 10;
    bool secondThumb_ = false;
    int smallChange_ = 1;
    int largeChange_ = 2;
    mutable TTrackBarOrientation orientation_ = toVertical;
    mutable QSize shapeSeen_;
    int trackSize_ = 10;
    TTrackStyle trackStyle_ = trLowered;
    QColor trackColor_ = Qt::white;
    int tickSize_ = 6;
    TTickStyle tickStyle_ = tiRaisedSquare;
    QColor tickColor_;
    TTickOrientation tickOrientation_ = toBoth;
    int tickInterval_ = 1;
    int thumbSize_ = 20;
    TThumbStyle thumbStyle_ = tsRaisedRectangle;
    QColor thumbColor_;
    bool ditherThumb_ = true;
    bool trackingL_ = false;
    bool trackingU_ = false;
};

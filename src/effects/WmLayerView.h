#pragma once

#include <QGraphicsPixmapItem>
#include <QGraphicsView>
#include <QImage>

#include <functional>
#include <vector>

class QGraphicsRectItem;

// One item's picture in the layer view: a premultiplied ARGB bitmap placed
// in frame pixels, drawn with a master alpha (the item's opacity).
class WmLayer : public QGraphicsPixmapItem {
public:
    explicit WmLayer(const QImage& bitmap);

    // 0 for a text item, 1 for an image item.
    int Tag = 0;
    std::function<void(WmLayer*)> OnMouseDown;
    std::function<void(WmLayer*)> OnMoved;

    int MasterAlpha() const { return alpha_; }
    void SetMasterAlpha(int alpha);
    // Left, top, right, bottom in frame pixels; the bitmap is stretched to it.
    QRectF Location() const;
    void SetLocation(const QRectF& location);
    QSize BitmapSize() const { return bitmapSize_; }

protected:
    void mousePressEvent(QGraphicsSceneMouseEvent* event) override;
    QVariant itemChange(GraphicsItemChange change, const QVariant& value) override;

private:
    int alpha_ = 255;
    QSize bitmapSize_;
};

// Resize rule of the selection outline: with Ctrl held a resize is symmetric
// about the old centre, each half-extent at least 2 pixels; without Ctrl, and
// for moves, the proposed rectangle passes unchanged.
QRectF OutlineResizing(const QRectF& oldRect, const QRectF& proposed, bool ctrlHeld);

// The window's image view: the source frame fitted and centred over a
// checkerboard, the item layers above it in list order, and a dotted outline
// around the selected layer, which the mouse can move but not resize.
class WmLayerView : public QGraphicsView {
    Q_OBJECT
public:
    explicit WmLayerView(QWidget* parent = nullptr);

    // The frame everything is placed on; its pixels are the layers' coordinates.
    void SetFrame(const QImage& frame);
    QSize FrameSize() const { return frameSize_; }
    const QImage& FrameImage() const { return frameImage_; }

    // Layers in drawing order (first at the back).
    const std::vector<WmLayer*>& Layers() const { return layers_; }
    WmLayer* AddLayer(const QImage& bitmap, int index = -1);
    void DeleteLayer(WmLayer* layer);
    int LayerIndex(const WmLayer* layer) const;
    void MoveLayer(WmLayer* layer, int newIndex);

    WmLayer* SelectedLayer() const { return selected_; }
    void SelectLayer(WmLayer* layer);
    bool OutlineExists() const { return outline_ != nullptr; }
    void DropOutline();
    // The view's centre in frame pixels.
    QPointF CentreInFrame() const;

signals:
    // A press on empty space (no layer under the mouse).
    void emptyClicked();
    void layerClicked(WmLayer* layer);
    void mouseMovedOver();

protected:
    void drawBackground(QPainter* painter, const QRectF& rect) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    void Fit();
    void Restack();
    void FollowSelection();

    QGraphicsScene scene_;
    QGraphicsPixmapItem* frameItem_;
    QImage frameImage_;
    QSize frameSize_;
    std::vector<WmLayer*> layers_;
    WmLayer* selected_ = nullptr;
    QGraphicsRectItem* outline_ = nullptr;
};

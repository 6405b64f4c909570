#include "effects/WmLayerView.h"

#include <QGraphicsRectItem>
#include <QGraphicsSceneMouseEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPen>

#include <algorithm>
#include <cmath>

WmLayer::WmLayer(const QImage& bitmap) : QGraphicsPixmapItem(QPixmap::fromImage(bitmap)), bitmapSize_(bitmap.size())
{
    setTransformationMode(Qt::FastTransformation);
    setFlag(ItemSendsGeometryChanges);
    setShapeMode(BoundingRectShape);
}

void WmLayer::SetMasterAlpha(int alpha)
{
    alpha_ = std::clamp(alpha, 0, 255);
    setOpacity(alpha_ / 255.0);
}

QRectF WmLayer::Location() const
{
    const QSizeF size = transform().map(QRectF(QPointF(0, 0), QSizeF(bitmapSize_))).boundingRect().size();
    return QRectF(pos(), size);
}

void WmLayer::SetLocation(const QRectF& location)
{
    const double sx = bitmapSize_.width() > 0 ? location.width() / bitmapSize_.width() : 1.0;
    const double sy = bitmapSize_.height() > 0 ? location.height() / bitmapSize_.height() : 1.0;
    setTransform(QTransform::fromScale(sx, sy));
    setPos(location.topLeft());
}

void WmLayer::mousePressEvent(QGraphicsSceneMouseEvent* event)
{
    if (OnMouseDown) OnMouseDown(this);
    QGraphicsPixmapItem::mousePressEvent(event);
}

QVariant WmLayer::itemChange(GraphicsItemChange change, const QVariant& value)
{
    if (change == ItemPositionHasChanged && OnMoved) OnMoved(this);
    return QGraphicsPixmapItem::itemChange(change, value);
}

QRectF OutlineResizing(const QRectF& oldRect, const QRectF& proposed, bool ctrlHeld)
{
    const bool resized = std::abs(proposed.width() - oldRect.width()) > 1e-9 ||
                         std::abs(proposed.height() - oldRect.height()) > 1e-9;
    if (!ctrlHeld || !resized) return proposed;
    const QPointF centre = oldRect.center();
    // The dragged edges are those that moved; measure them from the centre.
    const double left = std::abs(proposed.left() - oldRect.left()) > 1e-9 ? proposed.left() : proposed.right();
    const double top = std::abs(proposed.top() - oldRect.top()) > 1e-9 ? proposed.top() : proposed.bottom();
    const double halfWidth = std::max(2.0, std::abs(left - centre.x()));
    const double halfHeight = std::max(2.0, std::abs(top - centre.y()));
    return QRectF(centre.x() - halfWidth, centre.y() - halfHeight, 2 * halfWidth, 2 * halfHeight);
}

WmLayerView::WmLayerView(QWidget* parent) : QGraphicsView(parent)
{
    setScene(&scene_);
    frameItem_ = scene_.addPixmap(QPixmap());
    frameItem_->setZValue(-1);
    frameItem_->setTransformationMode(Qt::FastTransformation);
    setRenderHint(QPainter::SmoothPixmapTransform, false);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFrameShape(QFrame::NoFrame);
    setAlignment(Qt::AlignCenter);
    setCacheMode(CacheNone);
    setViewportUpdateMode(SmartViewportUpdate);
    setMouseTracking(true);
}

void WmLayerView::SetFrame(const QImage& frame)
{
    const bool resized = frame.size() != frameSize_;
    frameImage_ = frame;
    frameSize_ = frame.size();
    frameItem_->setPixmap(QPixmap::fromImage(frame));
    if (resized) {
        scene_.setSceneRect(QRectF(QPointF(0, 0), QSizeF(frameSize_)));
        Fit();
    }
}

void WmLayerView::Fit()
{
    if (frameSize_.isEmpty()) return;
    fitInView(scene_.sceneRect(), Qt::KeepAspectRatio);
}

void WmLayerView::resizeEvent(QResizeEvent* event)
{
    QGraphicsView::resizeEvent(event);
    Fit();
}

void WmLayerView::drawBackground(QPainter* painter, const QRectF&)
{
    // 13-pixel tiles over the whole viewport, in screen pixels.
    painter->save();
    painter->resetTransform();
    const int columns = viewport()->width() / 13 + 1;
    const int rows = viewport()->height() / 13 + 1;
    for (int row = 0; row < rows; ++row)
        for (int column = 0; column < columns; ++column)
            painter->fillRect(column * 13, row * 13, 13, 13,
                              (column % 2) == (row % 2) ? QColor(0xB0, 0xB0, 0xB0) : QColor(Qt::white));
    painter->restore();
}

WmLayer* WmLayerView::AddLayer(const QImage& bitmap, int index)
{
    auto* layer = new WmLayer(bitmap);
    scene_.addItem(layer);
    if (index < 0 || index > int(layers_.size())) index = int(layers_.size());
    layers_.insert(layers_.begin() + index, layer);
    layer->OnMoved = [this](WmLayer* moved) {
        if (moved == selected_) FollowSelection();
    };
    Restack();
    return layer;
}

void WmLayerView::DeleteLayer(WmLayer* layer)
{
    if (!layer) return;
    if (layer == selected_) SelectLayer(nullptr);
    layers_.erase(std::remove(layers_.begin(), layers_.end(), layer), layers_.end());
    delete layer;
    Restack();
}

int WmLayerView::LayerIndex(const WmLayer* layer) const
{
    const auto found = std::find(layers_.begin(), layers_.end(), layer);
    return found == layers_.end() ? -1 : int(found - layers_.begin());
}

void WmLayerView::MoveLayer(WmLayer* layer, int newIndex)
{
    const int old = LayerIndex(layer);
    if (old < 0 || newIndex < 0 || newIndex >= int(layers_.size()) || newIndex == old) return;
    layers_.erase(layers_.begin() + old);
    layers_.insert(layers_.begin() + newIndex, layer);
    Restack();
}

void WmLayerView::Restack()
{
    for (size_t i = 0; i < layers_.size(); ++i) layers_[i]->setZValue(double(i));
    if (outline_) outline_->setZValue(double(layers_.size()) + 1);
}

void WmLayerView::SelectLayer(WmLayer* layer)
{
    if (layer == selected_) return;
    if (selected_) selected_->setFlag(QGraphicsItem::ItemIsMovable, false);
    if (outline_) outline_->setVisible(false);
    selected_ = layer;
    if (!layer) {
        viewport()->update();
        return;
    }
    if (!outline_) {
        outline_ = scene_.addRect(QRectF());
        QPen pen(Qt::black, 0, Qt::DotLine);
        pen.setCosmetic(true);
        outline_->setPen(pen);
        outline_->setAcceptedMouseButtons(Qt::NoButton);
    }
    Restack();
    layer->setFlag(QGraphicsItem::ItemIsMovable, true);
    outline_->setVisible(true);
    FollowSelection();
}

void WmLayerView::DropOutline()
{
    if (selected_) selected_->setFlag(QGraphicsItem::ItemIsMovable, false);
    selected_ = nullptr;
    delete outline_;
    outline_ = nullptr;
}

void WmLayerView::FollowSelection()
{
    if (!outline_ || !selected_) return;
    QRectF r = selected_->Location();
    r.setSize(r.size().expandedTo(QSizeF(1, 1)));
    outline_->setRect(r);
}

QPointF WmLayerView::CentreInFrame() const
{
    const QRect r = viewport()->rect();
    const QPoint centre((r.left() + r.right()) / 2, (r.top() + r.bottom()) / 2);
    return mapToScene(centre);
}

void WmLayerView::mousePressEvent(QMouseEvent* event)
{
    QGraphicsItem* under = itemAt(event->position().toPoint());
    auto* layer = dynamic_cast<WmLayer*>(under);
    QGraphicsView::mousePressEvent(event);
    if (layer)
        emit layerClicked(layer);
    else
        emit emptyClicked();
}

void WmLayerView::mouseMoveEvent(QMouseEvent* event)
{
    QGraphicsView::mouseMoveEvent(event);
    if (selected_) emit mouseMovedOver();
}

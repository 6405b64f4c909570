#include "media/player/VideoSurface.h"

#include <QEvent>
#include <QPainter>

VideoSurface::VideoSurface(QWidget* target, std::shared_ptr<ScreenImage> image)
    : QWidget(target), image_(std::move(image))
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_OpaquePaintEvent, false);
    setGeometry(target->rect());
    target->installEventFilter(this);
    show();
    raise();
}

void VideoSurface::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    std::lock_guard lock(image_->mutex);
    const QImage& image = image_->image;
    if (image.isNull()) return;
    painter.drawImage(QPoint((width() - image.width()) / 2, (height() - image.height()) / 2), image);
}

bool VideoSurface::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == parent() && event->type() == QEvent::Resize) setGeometry(parentWidget()->rect());
    return QWidget::eventFilter(watched, event);
}

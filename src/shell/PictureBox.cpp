#include "shell/PictureBox.h"

#include <QPainter>

#include <cmath>

QRect FitPicture(int pictureWidth, int pictureHeight, const QRect& box)
{
    if (pictureWidth <= 0 || pictureHeight <= 0 || box.width() <= 0 || box.height() <= 0) return box;
    const double a = double(pictureWidth) / box.width();
    const double b = double(pictureHeight) / box.height();
    // nearbyint rounds halves to even in the default rounding mode.
    if (a >= b) {
        const int m = int(std::nearbyint((box.height() - pictureHeight / a) / 2));
        return QRect(box.left(), box.top() + m, box.width(), box.height() - 2 * m);
    }
    const int m = int(std::nearbyint((box.width() - pictureWidth / b) / 2));
    return QRect(box.left() + m, box.top(), box.width() - 2 * m, box.height());
}

PictureBox::PictureBox(QWidget* parent, QSize size, QColor ground)
    : QWidget(parent), canvas_(size, QImage::Format_RGB32), ground_(ground)
{
    setFixedSize(size);
    Clear();
}

void PictureBox::Clear()
{
    canvas_.fill(ground_);
    update();
}

void PictureBox::Draw(const QImage& picture)
{
    canvas_.fill(ground_);
    if (!picture.isNull()) {
        QPainter painter(&canvas_);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(FitPicture(picture.width(), picture.height(), canvas_.rect()), picture);
    }
    update();
}

void PictureBox::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawImage(0, 0, canvas_);
}

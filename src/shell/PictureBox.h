#pragma once

#include <QColor>
#include <QImage>
#include <QRect>
#include <QWidget>

// The largest rectangle of the picture's shape that fits the box, centred;
// margins are rounded half to even. The whole box when either size is empty.
QRect FitPicture(int pictureWidth, int pictureHeight, const QRect& box);

// A fixed-size picture on a plain ground: each picture drawn replaces the
// last, fitted and centred. The canvas is kept, so what is shown can be saved.
class PictureBox : public QWidget {
public:
    PictureBox(QWidget* parent, QSize size, QColor ground);
    void Clear();
    void Draw(const QImage& picture);
    const QImage& Canvas() const { return canvas_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage canvas_;
    QColor ground_;
};

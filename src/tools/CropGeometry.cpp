#include "tools/CropGeometry.h"

#include "shell/PictureBox.h"

#include <QFileInfo>

#include <cmath>

int RoundHalfEven(double value)
{
    const double floor = std::floor(value);
    const double fraction = value - floor;
    if (fraction > 0.5) return int(floor) + 1;
    if (fraction < 0.5) return int(floor);
    return std::fmod(floor, 2.0) == 0.0 ? int(floor) : int(floor) + 1;
}

QRect FittedPicture(int sourceWidth, int sourceHeight, const QSize& box)
{
    return FitPicture(sourceWidth, sourceHeight, QRect(QPoint(0, 0), box));
}

QRect PreviewRect(int sourceWidth, int sourceHeight, const QSize& box)
{
    return FittedPicture(sourceWidth, sourceHeight, box).adjusted(1, 1, -1, -1);
}

CropMargins MarginsOf(const QRect& tracker, const QRect& preview)
{
    CropMargins m;
    m.Up = tracker.top() - preview.top();
    m.Left = tracker.left() - preview.left();
    m.Down = preview.height() - tracker.height() - m.Up;
    m.Right = preview.width() - tracker.width() - m.Left;
    return m;
}

QRect TrackerOf(const CropMargins& m, const QRect& preview)
{
    return {preview.left() + m.Left, preview.top() + m.Up, preview.width() - m.Right - m.Left,
            preview.height() - m.Down - m.Up};
}

SourceCrop SourceCropOf(const CropMargins& m, int sourceWidth, int sourceHeight, const QSize& preview)
{
    auto convert = [](int margin, int sourceLength, int previewLength) {
        if (previewLength <= 0 || margin <= 0) return 0;
        const int rounded = RoundHalfEven(double(margin) * sourceLength / previewLength);
        return rounded / 2 * 2;
    };
    SourceCrop crop;
    crop.Top = convert(m.Up, sourceHeight, preview.height());
    crop.Bottom = convert(m.Down, sourceHeight, preview.height());
    crop.Left = convert(m.Left, sourceWidth, preview.width());
    crop.Right = convert(m.Right, sourceWidth, preview.width());
    return crop;
}

int ZoomIndexOf(const QString& zoomMode)
{
    if (zoomMode == QLatin1String("full")) return 0;
    if (zoomMode == QLatin1String("lbox")) return 1;
    if (zoomMode == QLatin1String("orig") || zoomMode == QLatin1String("cent")) return -1;
    return 0;
}

QString ZoomModeOf(int zoomIndex, const QString& current)
{
    if (zoomIndex == 0) return QStringLiteral("full");
    if (zoomIndex == 1) return QStringLiteral("lbox");
    return current;
}

QString CropSourceLabel(const QString& sourcePath)
{
    if (sourcePath.size() <= 50) return sourcePath;
    const QString suffix = QFileInfo(sourcePath).suffix();
    return sourcePath.left(44) + QStringLiteral("..") + (suffix.isEmpty() ? QString() : QLatin1Char('.') + suffix) +
           QStringLiteral("  ");
}

QString CropLengthText(int64_t durationMicroseconds)
{
    const int64_t ms = std::max<int64_t>(0, durationMicroseconds) / 1000;
    return QString::asprintf("%d.%.3d", int(ms / 1000), int(ms % 1000)) + QStringLiteral(" Second");
}

QRect ClampTracker(const TrackerStep& step)
{
    QRect r = step.bounds;
    const QRect& pic = step.preview;
    const int picLeft = pic.left(), picTop = pic.top(), picWidth = pic.width(), picHeight = pic.height();
    // The frame is the bounds less two pixels; right and bottom are exclusive.
    auto frameLeft = [&] { return r.left() + 2; };
    auto frameTop = [&] { return r.top() + 2; };
    auto frameRight = [&] { return r.left() + r.width() - 2; };
    auto frameBottom = [&] { return r.top() + r.height() - 2; };
    auto setLeft = [&](int left, bool keepRight) {
        if (keepRight) r.setLeft(left);
        else r.moveLeft(left);
    };
    auto setTop = [&](int top, bool keepBottom) {
        if (keepBottom) r.setTop(top);
        else r.moveTop(top);
    };

    if (frameLeft() < picLeft + 3) setLeft(picLeft + step.lastBoxes.Left, step.leftEdgeDrag);
    if (frameTop() < picTop + 3) setTop(picTop, step.topEdgeDrag);
    // The mouse is where it was on the screen; the tracker may have moved.
    const QPoint mouse = step.mouse + step.bounds.topLeft() - r.topLeft();
    if (mouse.x() >= picWidth - (r.left() - picLeft)) r.setWidth(picWidth - (r.left() - picLeft) - step.lastBoxes.Right);
    if (r.width() > picWidth) r.setWidth(picWidth - (r.left() - picLeft));
    if (mouse.y() >= picHeight - (r.top() - picTop)) r.setHeight(picHeight - (r.top() - picTop));
    if (r.height() > picHeight) r.setHeight(picHeight - (r.top() - picTop));
    if (frameRight() - picLeft > picWidth && frameBottom() - picTop > picHeight) {
        r.moveTopLeft(QPoint(step.anchor.x(), step.anchor.y()));
        r.setWidth(picWidth - (r.left() - picLeft));
        r.setHeight(picHeight - (r.top() - picTop));
    }
    if (frameRight() - picLeft > picWidth) {
        r.moveLeft(step.anchor.x());
        r.setWidth(picWidth - (r.left() - picLeft));
    }
    if (frameBottom() - picTop > picHeight) {
        r.moveTop(step.anchor.y());
        r.setHeight(picHeight - (r.top() - picTop));
    }
    return r;
}

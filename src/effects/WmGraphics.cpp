#include "effects/WmGraphics.h"

#include "effects/TWmRec.h"

#include <QFileInfo>
#include <QFontMetrics>
#include <QImageReader>
#include <QPainter>

#include <cmath>
#include <cstring>

uint32_t ColorToBgrValue(const QColor& color)
{
    return uint32_t(color.red()) | uint32_t(color.green()) << 8 | uint32_t(color.blue()) << 16;
}

QColor ColorFromBgrValue(uint32_t value)
{
    return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}

int FontStyleOf(const QFont& font)
{
    return (font.bold() ? kFontBold : 0) | (font.italic() ? kFontItalic : 0) |
           (font.underline() ? kFontUnderline : 0) | (font.strikeOut() ? kFontStrikeout : 0);
}

void SetFontStyle(QFont& font, int style)
{
    font.setBold(style & kFontBold);
    font.setItalic(style & kFontItalic);
    font.setUnderline(style & kFontUnderline);
    font.setStrikeOut(style & kFontStrikeout);
}

QFont MakeItemFont(const QString& family, int pointSize, int style)
{
    QFont font(family);
    font.setPointSize(pointSize > 0 ? pointSize : 1);
    SetFontStyle(font, style);
    return font;
}

namespace {

QFont PixelFont(const QFont& font)
{
    QFont pixels(font);
    if (font.pointSizeF() > 0) pixels.setPixelSize(std::max(1, int(std::lround(font.pointSizeF() * 96.0 / 72.0))));
    return pixels;
}

} // namespace

QSize TextExtent(const QString& text, const QFont& font)
{
    const QFontMetrics metrics(PixelFont(font));
    return QSize(std::max(1, metrics.horizontalAdvance(text)), std::max(1, metrics.height()));
}

QImage RenderTextPicture(const QString& text, const QFont& font, const QColor& color, QSize size, bool opaqueBox,
                         uint32_t backColor)
{
    QImage picture(size.expandedTo(QSize(1, 1)), QImage::Format_ARGB32_Premultiplied);
    picture.fill(opaqueBox ? ColorFromBgrValue(backColor) : QColor(Qt::transparent));
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::TextAntialiasing);
    const QFont pixels = PixelFont(font);
    painter.setFont(pixels);
    QColor opaque(color);
    opaque.setAlpha(255);
    painter.setPen(opaque);
    painter.drawText(QPointF(0, QFontMetricsF(pixels).ascent()), text);
    return picture;
}

QImage RenderTextPicture(const TWmRec& item)
{
    return RenderTextPicture(item.Text, item.Font, item.FontColor, QSize(item.TextWidth, item.TextHeight),
                             item.BackOpaque, item.BackColor);
}

QImage LoadImage24(const QString& path, QString* error)
{
    QImageReader reader(path);
    QImage image = reader.read();
    if (image.isNull()) {
        if (error)
            *error = QFileInfo::exists(path) ? QStringLiteral("Cannot read the picture %1: %2").arg(path, reader.errorString())
                                             : QStringLiteral("The picture %1 does not exist.").arg(path);
        return {};
    }
    return image.convertToFormat(QImage::Format_BGR888);
}

Bitmap24 BitmapFromImage(const QImage& image)
{
    const QImage bgr = image.format() == QImage::Format_BGR888 ? image : image.convertToFormat(QImage::Format_BGR888);
    Bitmap24 bitmap(bgr.width(), bgr.height());
    for (int y = 0; y < bitmap.Height(); ++y)
        std::memcpy(bitmap.ScanLine(y), bgr.constScanLine(y), size_t(bitmap.Width()) * 3);
    return bitmap;
}

QImage ImageFromBitmap(const Bitmap24& bitmap)
{
    QImage image(bitmap.Width(), bitmap.Height(), QImage::Format_BGR888);
    for (int y = 0; y < bitmap.Height(); ++y)
        std::memcpy(image.scanLine(y), bitmap.ScanLine(y), size_t(bitmap.Width()) * 3);
    return image;
}

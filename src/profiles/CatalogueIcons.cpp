#include "profiles/CatalogueIcons.h"

#include <QPainter>
#include <QPainterPath>

#include <array>

namespace {

QPixmap DrawGlyph(bool expanded)
{
    QPixmap pixmap(15, 15);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QColor(0x7A, 0x8C, 0xA8));
    p.setBrush(QColor(0xFF, 0xFF, 0xFF));
    p.drawRect(2, 2, 10, 10);
    p.setPen(QPen(QColor(0x20, 0x30, 0x60), 1));
    p.drawLine(4, 7, 10, 7);
    if (!expanded) p.drawLine(7, 4, 7, 10);
    return pixmap;
}

QPixmap DrawGroupIcon(int group)
{
    QPixmap pixmap(20, 20);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    switch (group) {
    case 0: { // a disc: the DVD/VCD formats
        QRadialGradient shine(QPointF(8, 7), 11);
        shine.setColorAt(0, QColor(0xF4, 0xF8, 0xFF));
        shine.setColorAt(1, QColor(0x8E, 0xA6, 0xD0));
        p.setPen(QColor(0x4A, 0x5E, 0x8C));
        p.setBrush(shine);
        p.drawEllipse(QRectF(1.5, 1.5, 17, 17));
        p.setBrush(Qt::white);
        p.drawEllipse(QRectF(7.5, 7.5, 5, 5));
        break;
    }
    case 1: { // a film strip: the video formats
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x34, 0x4F, 0x94));
        p.drawRoundedRect(QRectF(2, 3, 16, 14), 2, 2);
        p.setBrush(QColor(0xDD, 0xE8, 0xFA));
        for (int i = 0; i < 4; ++i) {
            p.drawRect(QRectF(3.5 + i * 4, 4, 2, 2));
            p.drawRect(QRectF(3.5 + i * 4, 14, 2, 2));
        }
        p.setBrush(QColor(0x9C, 0xC4, 0xF0));
        p.drawRect(QRectF(4, 7, 12, 6));
        break;
    }
    default: { // a note: the audio formats
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x3E, 0x8A, 0x4A));
        p.drawEllipse(QRectF(3, 12, 6, 5));
        p.drawEllipse(QRectF(11, 10, 6, 5));
        p.drawRect(QRectF(7.5, 3, 1.6, 12));
        p.drawRect(QRectF(15.5, 1.5, 1.6, 11.5));
        QPainterPath beam;
        beam.moveTo(7.5, 3);
        beam.lineTo(17.1, 1.5);
        beam.lineTo(17.1, 4.5);
        beam.lineTo(7.5, 6);
        beam.closeSubpath();
        p.drawPath(beam);
        break;
    }
    }
    return pixmap;
}

} // namespace

const QPixmap& ExpandGlyph(int picture)
{
    static const std::array<QPixmap, 2> glyphs{DrawGlyph(false), DrawGlyph(true)};
    return glyphs[picture == 1 ? 1 : 0];
}

const QPixmap& GroupIcon(int group)
{
    static const std::array<QPixmap, 3> icons{DrawGroupIcon(0), DrawGroupIcon(1), DrawGroupIcon(2)};
    return icons[size_t(group >= 0 && group < 3 ? group : 0)];
}

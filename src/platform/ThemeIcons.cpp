#include "platform/ThemeIcons.h"

#include "platform/Themes.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <cmath>

namespace {

// Every glyph is drawn on a 32 x 32 grid and scaled to the pixmap's size.
constexpr double kGrid = 32.0;

void Document(QPainter& p, const Theme& theme, double x, double y)
{
    QPainterPath page;
    page.moveTo(x, y);
    page.lineTo(x + 12, y);
    page.lineTo(x + 18, y + 6);
    page.lineTo(x + 18, y + 24);
    page.lineTo(x, y + 24);
    page.closeSubpath();
    p.setPen(QPen(theme.accentDark, 1.4));
    p.setBrush(Qt::white);
    p.drawPath(page);
    p.setBrush(theme.oddRowTint);
    p.drawPolygon(QPolygonF({QPointF(x + 12, y), QPointF(x + 12, y + 6), QPointF(x + 18, y + 6)}));
    p.setPen(QPen(theme.accent, 1.6));
    for (int line = 0; line < 3; ++line) {
        const double lineY = y + 10 + line * 4;
        p.drawLine(QPointF(x + 3.5, lineY), QPointF(x + 12, lineY));
    }
}

void Badge(QPainter& p, const QColor& fill, bool plus, bool cross)
{
    p.setPen(QPen(Qt::white, 1.5));
    p.setBrush(fill);
    p.drawEllipse(QPointF(23, 23), 7.5, 7.5);
    p.setPen(QPen(Qt::white, 2.4, Qt::SolidLine, Qt::RoundCap));
    if (cross) {
        p.drawLine(QPointF(20, 20), QPointF(26, 26));
        p.drawLine(QPointF(26, 20), QPointF(20, 26));
        return;
    }
    p.drawLine(QPointF(19.5, 23), QPointF(26.5, 23));
    if (plus) p.drawLine(QPointF(23, 19.5), QPointF(23, 26.5));
}

void Gear(QPainter& p, const Theme& theme)
{
    QPainterPath gear;
    const QPointF centre(16, 16);
    const int teeth = 8;
    for (int i = 0; i < teeth * 4; ++i) {
        const double angle = (i * 2 * M_PI) / (teeth * 4);
        const double radius = (i % 4 == 1 || i % 4 == 2) ? 13.5 : 10.5;
        const QPointF point(centre.x() + radius * std::cos(angle), centre.y() + radius * std::sin(angle));
        if (i == 0) gear.moveTo(point);
        else gear.lineTo(point);
    }
    gear.closeSubpath();
    gear.addEllipse(centre, 4.5, 4.5);
    gear.setFillRule(Qt::OddEvenFill);
    p.setPen(QPen(theme.accentDark, 1.3));
    QLinearGradient shade(0, 2, 0, 30);
    shade.setColorAt(0, theme.accent.lighter(135));
    shade.setColorAt(1, theme.accent);
    p.setBrush(shade);
    p.drawPath(gear);
}

void Draw(QPainter& p, ChromeGlyph glyph, const Theme& theme)
{
    const QColor dark = theme.accentDark;
    QLinearGradient shade(0, 2, 0, 30);
    shade.setColorAt(0, theme.accent.lighter(130));
    shade.setColorAt(1, theme.accentDark);
    switch (glyph) {
    case ChromeGlyph::Add:
        Document(p, theme, 5, 3);
        Badge(p, QColor(0x2F, 0x9E, 0x44), true, false);
        break;
    case ChromeGlyph::Remove:
        Document(p, theme, 5, 3);
        Badge(p, QColor(0xD9, 0x82, 0x1E), false, false);
        break;
    case ChromeGlyph::Clear:
        Document(p, theme, 9, 1);
        Document(p, theme, 5, 5);
        Badge(p, QColor(0xC9, 0x2A, 0x2A), false, true);
        break;
    case ChromeGlyph::Edit: {
        Document(p, theme, 4, 4);
        p.save();
        p.translate(22, 14);
        p.rotate(45);
        p.setPen(QPen(dark, 1.2));
        p.setBrush(shade);
        p.drawRoundedRect(QRectF(-3, -11, 6, 18), 1.5, 1.5);
        p.setBrush(QColor(0xF2, 0xD2, 0x9B));
        p.drawPolygon(QPolygonF({QPointF(-3, 7), QPointF(3, 7), QPointF(0, 13)}));
        p.restore();
        break;
    }
    case ChromeGlyph::Settings:
        Gear(p, theme);
        break;
    case ChromeGlyph::Start:
    case ChromeGlyph::Program:
        p.setPen(QPen(dark, 1.4));
        p.setBrush(shade);
        p.drawEllipse(QPointF(16, 16), 13.5, 13.5);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        p.drawPolygon(QPolygonF({QPointF(12.5, 9), QPointF(23.5, 16), QPointF(12.5, 23)}));
        break;
    case ChromeGlyph::Exit: {
        QPen pen(dark, 3.2, Qt::SolidLine, Qt::RoundCap);
        p.setPen(pen);
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(5, 6, 22, 22), 120 * 16, 300 * 16);
        p.drawLine(QPointF(16, 3.5), QPointF(16, 15));
        break;
    }
    case ChromeGlyph::Play:
        p.setPen(QPen(dark, 1.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(shade);
        p.drawPolygon(QPolygonF({QPointF(9, 5), QPointF(27, 16), QPointF(9, 27)}));
        break;
    case ChromeGlyph::Pause:
        p.setPen(QPen(dark, 1.2));
        p.setBrush(shade);
        p.drawRoundedRect(QRectF(7, 6, 6.5, 20), 1.5, 1.5);
        p.drawRoundedRect(QRectF(18.5, 6, 6.5, 20), 1.5, 1.5);
        break;
    case ChromeGlyph::Stop:
        p.setPen(QPen(dark, 1.2));
        p.setBrush(shade);
        p.drawRoundedRect(QRectF(7, 7, 18, 18), 2, 2);
        break;
    case ChromeGlyph::Snapshot:
        p.setPen(QPen(dark, 1.3));
        p.setBrush(shade);
        p.drawRoundedRect(QRectF(11, 6, 10, 5), 1.5, 1.5);
        p.drawRoundedRect(QRectF(3, 9, 26, 18), 3, 3);
        p.setBrush(Qt::white);
        p.drawEllipse(QPointF(16, 18), 6.5, 6.5);
        p.setBrush(theme.accentDark);
        p.drawEllipse(QPointF(16, 18), 3.5, 3.5);
        break;
    }
}

QPixmap Render(ChromeGlyph glyph, const Theme& theme, int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / kGrid, size / kGrid);
    Draw(painter, glyph, theme);
    return pixmap;
}

} // namespace

QIcon ThemeIcon(ChromeGlyph glyph, const Theme& theme)
{
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64}) icon.addPixmap(Render(glyph, theme, size));
    return icon;
}

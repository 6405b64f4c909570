#include "effects/WaterMarkHelpers.h"

#include "media/Bitmap24.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QPalette>

QString WaterMarkCaption(const QString& path)
{
    const QString prefix = QStringLiteral("Water Mark  ");
    if (path.size() < 56) return prefix + path;
    const QString suffix = QFileInfo(path).suffix();
    return prefix + path.left(50) + QStringLiteral("..") + (suffix.isEmpty() ? QString() : QLatin1Char('.') + suffix) +
           QStringLiteral("  ");
}

void DrawCropOutline(Bitmap24& frame, int top, int left, int bottom, int right)
{
    if (frame.Empty()) return;
    const uint32_t green = 0x008000; // 0x00BBGGRR
    const int x0 = left, y0 = top, x1 = frame.Width() - right, y1 = frame.Height() - bottom;
    if (x1 <= x0 || y1 <= y0) return;
    // A 2-pixel pen centred on the rectangle's edges, as a pen of that width draws it.
    frame.FillRect(x0 - 1, y0 - 1, x1 - x0 + 2, 2, green);
    frame.FillRect(x0 - 1, y1 - 1, x1 - x0 + 2, 2, green);
    frame.FillRect(x0 - 1, y0 - 1, 2, y1 - y0 + 2, green);
    frame.FillRect(x1 - 1, y0 - 1, 2, y1 - y0 + 2, green);
}

std::vector<std::pair<QString, QColor>> ColorBoxColors()
{
    std::vector<std::pair<QString, QColor>> colors = {
        {"clBlack", QColor(0, 0, 0)},         {"clMaroon", QColor(128, 0, 0)},    {"clGreen", QColor(0, 128, 0)},
        {"clOlive", QColor(128, 128, 0)},     {"clNavy", QColor(0, 0, 128)},      {"clPurple", QColor(128, 0, 128)},
        {"clTeal", QColor(0, 128, 128)},      {"clGray", QColor(128, 128, 128)},  {"clSilver", QColor(192, 192, 192)},
        {"clRed", QColor(255, 0, 0)},         {"clLime", QColor(0, 255, 0)},      {"clYellow", QColor(255, 255, 0)},
        {"clBlue", QColor(0, 0, 255)},        {"clFuchsia", QColor(255, 0, 255)}, {"clAqua", QColor(0, 255, 255)},
        {"clWhite", QColor(255, 255, 255)},   {"clMoneyGreen", QColor(192, 220, 192)},
        {"clSkyBlue", QColor(166, 202, 240)}, {"clCream", QColor(255, 251, 240)}, {"clMedGray", QColor(164, 160, 160)},
    };
    const QPalette palette = QGuiApplication::palette();
    const std::pair<const char*, QPalette::ColorRole> system[] = {
        {"clWindow", QPalette::Window},         {"clWindowText", QPalette::WindowText},
        {"clBtnFace", QPalette::Button},        {"clBtnText", QPalette::ButtonText},
        {"clHighlight", QPalette::Highlight},   {"clHighlightText", QPalette::HighlightedText},
        {"clBtnShadow", QPalette::Dark},        {"clBtnHighlight", QPalette::Light},
        {"clInfoBk", QPalette::ToolTipBase},    {"clInfoText", QPalette::ToolTipText},
    };
    for (const auto& [name, role] : system) colors.push_back({QString::fromLatin1(name), palette.color(role)});
    return colors;
}

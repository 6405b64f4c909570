#include "platform/Themes.h"

#include <QWidget>

#include <array>

namespace {

const std::array<Theme, kThemeCount>& AllThemes()
{
    static const std::array<Theme, kThemeCount> themes{{
        {QStringLiteral("Default"), QColor(0xF4, 0xF6, 0xFC), QColor(0x5B, 0x7B, 0xC8), QColor(0x34, 0x4F, 0x94),
         QColor(0xB9, 0xCC, 0xEC), QColor(0xE2, 0xE6, 0xF6)},
        {QStringLiteral("Gray"), QColor(0xF3, 0xF3, 0xF3), QColor(0x7A, 0x7A, 0x7A), QColor(0x4C, 0x4C, 0x4C),
         QColor(0xC8, 0xC8, 0xC8), QColor(0xEC, 0xEC, 0xEC)},
        {QStringLiteral("Orange"), QColor(0xFD, 0xF9, 0xF0), QColor(0xE0, 0x8A, 0x1E), QColor(0xA8, 0x5D, 0x08),
         QColor(0xF6, 0xD8, 0xA8), QColor(0xF8, 0xF2, 0xE0)},
        {QStringLiteral("Purple"), QColor(0xFB, 0xF4, 0xF9), QColor(0x9A, 0x4F, 0x8E), QColor(0x6B, 0x2E, 0x61),
         QColor(0xE4, 0xC4, 0xDD), QColor(0xF6, 0xE6, 0xF1)},
        {QStringLiteral("Red"), QColor(0xFC, 0xF4, 0xF4), QColor(0xC0, 0x3A, 0x3A), QColor(0x8A, 0x1F, 0x1F),
         QColor(0xF0, 0xC2, 0xC2), QColor(0xF7, 0xE1, 0xE1)},
        {QStringLiteral("Green"), QColor(0xF3, 0xFB, 0xF3), QColor(0x3E, 0x9A, 0x4A), QColor(0x22, 0x6B, 0x2C),
         QColor(0xC4, 0xE8, 0xC4), QColor(0xE2, 0xF7, 0xE1)},
        {QStringLiteral("Light blue"), QColor(0xF2, 0xF9, 0xFC), QColor(0x3C, 0x9C, 0xC8), QColor(0x1E, 0x6A, 0x8E),
         QColor(0xBE, 0xE0, 0xF0), QColor(0xE1, 0xF0, 0xF7)},
    }};
    return themes;
}

int& CurrentIndex()
{
    static int index = 0;
    return index;
}

QString Rgb(const QColor& c) { return c.name(QColor::HexRgb); }

} // namespace

bool IsThemeIndex(int index) { return index >= 0 && index < kThemeCount; }

const Theme& ThemeAt(int index) { return AllThemes()[IsThemeIndex(index) ? size_t(index) : 0]; }

QPalette ThemePalette(const Theme& theme)
{
    QPalette palette;
    palette.setColor(QPalette::Window, theme.window);
    palette.setColor(QPalette::WindowText, QColor(0x1E, 0x1E, 0x1E));
    palette.setColor(QPalette::Base, Qt::white);
    palette.setColor(QPalette::AlternateBase, theme.oddRowTint);
    palette.setColor(QPalette::Text, Qt::black);
    palette.setColor(QPalette::Button, theme.window.darker(104));
    palette.setColor(QPalette::ButtonText, QColor(0x1E, 0x1E, 0x1E));
    palette.setColor(QPalette::Highlight, theme.highlight);
    palette.setColor(QPalette::HighlightedText, Qt::black);
    palette.setColor(QPalette::Light, theme.window.lighter(110));
    palette.setColor(QPalette::Mid, theme.accent.lighter(150));
    palette.setColor(QPalette::Dark, theme.accentDark);
    palette.setColor(QPalette::ToolTipBase, theme.oddRowTint);
    palette.setColor(QPalette::ToolTipText, Qt::black);
    palette.setColor(QPalette::Link, theme.accentDark);
    palette.setColor(QPalette::Disabled, QPalette::WindowText, QColor(0x9A, 0x9A, 0x9A));
    palette.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(0x9A, 0x9A, 0x9A));
    palette.setColor(QPalette::Disabled, QPalette::Text, QColor(0x9A, 0x9A, 0x9A));
    return palette;
}

QString ThemeStyleSheet(const Theme& theme)
{
    const QString accent = Rgb(theme.accent);
    const QString dark = Rgb(theme.accentDark);
    const QString tint = Rgb(theme.oddRowTint);
    const QString highlight = Rgb(theme.highlight);
    const QString bright = Rgb(theme.accent.lighter(118));
    const QString window = Rgb(theme.window);
    QString sheet = QStringLiteral(
        // The menu bar is the skin's title band.
        "QMenuBar { background: qlineargradient(x1:0,y1:0,x2:0,y2:1, stop:0 @bright, stop:1 @accent);"
        " color: white; border-bottom: 1px solid @dark; padding: 1px 2px; }"
        "QMenuBar::item { background: transparent; color: white; padding: 3px 9px; border-radius: 3px; }"
        "QMenuBar::item:selected, QMenuBar::item:pressed { background: @dark; }"
        "QMenu { background: white; border: 1px solid @dark; padding: 3px 0px; }"
        "QMenu::item { padding: 4px 26px 4px 24px; color: #1e1e1e; }"
        "QMenu::item:selected { background: @highlight; color: black; }"
        "QMenu::item:disabled { color: #a0a0a0; background: transparent; }"
        "QMenu::separator { height: 1px; background: @highlight; margin: 3px 8px; }"
        "QMenu::indicator { width: 8px; height: 8px; left: 9px; border-radius: 4px; }"
        "QMenu::indicator:unchecked { background: transparent; border: 1px solid transparent; }"
        "QMenu::indicator:checked { background: @accent; border: 1px solid @dark; }"
        "QWidget#toolbarArea { background: qlineargradient(x1:0,y1:0,x2:0,y2:1, stop:0 white, stop:1 @tint);"
        " border-bottom: 1px solid @accent; }"
        "QToolButton { border: 1px solid transparent; border-radius: 4px; padding: 2px; color: #1e1e1e; }"
        "QToolButton:hover { border-color: @accent; background: @tint; }"
        "QToolButton:pressed { background: @highlight; border-color: @dark; }"
        "QToolButton:disabled { color: #a0a0a0; }"
        "QPushButton { border: 1px solid @accent; border-radius: 3px; padding: 3px 10px; color: #1e1e1e;"
        " background: qlineargradient(x1:0,y1:0,x2:0,y2:1, stop:0 white, stop:1 @tint); }"
        "QPushButton:hover { background: @tint; border-color: @dark; }"
        "QPushButton:pressed { background: @highlight; }"
        "QPushButton:default { border: 2px solid @accent; }"
        "QPushButton:disabled { color: #a0a0a0; border-color: #c8c8c8; background: #f2f2f2; }"
        // The large Start button is the window's main action.
        "QPushButton#btnStartLarge { color: white; border: 1px solid @dark; border-radius: 6px;"
        " background: qlineargradient(x1:0,y1:0,x2:0,y2:1, stop:0 @bright, stop:1 @dark); }"
        "QPushButton#btnStartLarge:hover { background: qlineargradient(x1:0,y1:0,x2:0,y2:1, stop:0 @accent,"
        " stop:1 @dark); }"
        "QPushButton#btnStartLarge:pressed { background: @dark; }"
        "QPushButton#btnStartLarge:disabled { color: #eeeeee; background: #b8b8b8; border-color: #a0a0a0; }"
        "QGroupBox { border: 1px solid @accent; border-radius: 4px; margin-top: 8px; }"
        "QGroupBox::title { subcontrol-origin: margin; left: 8px; padding: 0px 3px; color: @dark; }"
        "QHeaderView::section { background: qlineargradient(x1:0,y1:0,x2:0,y2:1, stop:0 white, stop:1 @tint);"
        " color: #1e1e1e; border: 0px; border-right: 1px solid @highlight; border-bottom: 1px solid @accent;"
        " padding: 2px 4px; }"
        "QLineEdit, QSpinBox { border: 1px solid @accent; border-radius: 2px; padding: 1px 3px; background: white;"
        " selection-background-color: @highlight; selection-color: black; }"
        "QLineEdit:disabled, QSpinBox:disabled { background: #f2f2f2; border-color: #c8c8c8; color: #a0a0a0; }"
        "QListView, QTreeView, QTextEdit, QPlainTextEdit { border: 1px solid @accent; background: white; }"
        "QProgressBar { border: 1px solid @accent; border-radius: 3px; text-align: center; background: white; }"
        "QProgressBar::chunk { background: qlineargradient(x1:0,y1:0,x2:0,y2:1, stop:0 @bright, stop:1 @accent); }"
        "QSlider::groove:horizontal { height: 4px; background: white; border: 1px solid @accent;"
        " border-radius: 2px; }"
        "QSlider::sub-page:horizontal { background: @accent; border: 1px solid @dark; border-radius: 2px; }"
        "QSlider::handle:horizontal { width: 10px; margin: -5px 0px; border-radius: 5px; border: 1px solid @dark;"
        " background: qlineargradient(x1:0,y1:0,x2:0,y2:1, stop:0 white, stop:1 @accent); }"
        "QSlider::handle:horizontal:hover { background: @highlight; }"
        "QSlider::groove:horizontal:disabled { border-color: #c8c8c8; background: #f2f2f2; }"
        "QSlider::sub-page:horizontal:disabled { background: #d8d8d8; border-color: #c0c0c0; }"
        "QSlider::handle:horizontal:disabled { background: #e8e8e8; border-color: #b0b0b0; }"
        // A file of unknown length has no position to show.
        "QSlider[thumbHidden=\"true\"]::handle:horizontal { background: transparent; border: 0px; }"
        "QFrame#previewFrame { border: 1px solid @accent; border-radius: 6px;"
        " background: qlineargradient(x1:0,y1:0,x2:0,y2:1, stop:0 white, stop:1 @tint); }"
        "QFrame#pan1 { background: #808080; border: 1px solid @dark; }"
        "QLabel#lblTime, QLabel#lblPTS { color: @dark; }"
        "QToolTip { background: @window; color: black; border: 1px solid @accent; padding: 2px; }");
    sheet.replace(QStringLiteral("@accent"), accent);
    sheet.replace(QStringLiteral("@dark"), dark);
    sheet.replace(QStringLiteral("@tint"), tint);
    sheet.replace(QStringLiteral("@highlight"), highlight);
    sheet.replace(QStringLiteral("@bright"), bright);
    sheet.replace(QStringLiteral("@window"), window);
    return sheet;
}

int CurrentThemeIndex() { return CurrentIndex(); }

void SetCurrentThemeIndex(int index)
{
    if (IsThemeIndex(index)) CurrentIndex() = index;
}

void ApplyTheme(QWidget* window, int index)
{
    const Theme& theme = ThemeAt(index);
    // A new style sheet re-polishes the window and would put back the palette
    // it saw before, so the palette goes second.
    window->setStyleSheet(ThemeStyleSheet(theme));
    window->setPalette(ThemePalette(theme));
}

void ApplyCurrentTheme(QWidget* window) { ApplyTheme(window, CurrentThemeIndex()); }

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
    const QString light = Rgb(theme.oddRowTint);
    const QString highlight = Rgb(theme.highlight);
    return QStringLiteral(
               "QMenuBar { background: qlineargradient(x1:0,y1:0,x2:0,y2:1, stop:0 %3, stop:1 %4); }"
               "QMenuBar::item:selected, QMenu::item:selected { background: %4; color: black; }"
               "QMenu { border: 1px solid %2; }"
               "QToolBar, QWidget#toolbarArea { background: qlineargradient(x1:0,y1:0,x2:0,y2:1, stop:0 white, stop:1 %3);"
               " border-bottom: 1px solid %1; }"
               "QToolButton { border: 1px solid transparent; border-radius: 3px; padding: 2px; }"
               "QToolButton:hover { border-color: %1; background: %3; }"
               "QToolButton:pressed { background: %4; }"
               "QPushButton { border: 1px solid %1; border-radius: 3px; padding: 3px 10px;"
               " background: qlineargradient(x1:0,y1:0,x2:0,y2:1, stop:0 white, stop:1 %3); }"
               "QPushButton:hover { background: %3; }"
               "QPushButton:pressed { background: %4; }"
               "QPushButton:disabled { color: #9a9a9a; border-color: #c8c8c8; }"
               "QGroupBox { border: 1px solid %1; border-radius: 4px; margin-top: 8px; }"
               "QGroupBox::title { subcontrol-origin: margin; left: 8px; color: %2; }"
               "QHeaderView::section { background: qlineargradient(x1:0,y1:0,x2:0,y2:1, stop:0 white, stop:1 %3);"
               " border: 0px; border-right: 1px solid %1; border-bottom: 1px solid %1; padding: 2px 4px; }"
               "QLineEdit, QComboBox, QSpinBox, QListView, QTreeView, QTextEdit, QPlainTextEdit"
               " { border: 1px solid %1; }"
               "QProgressBar { border: 1px solid %1; border-radius: 3px; text-align: center; }"
               "QProgressBar::chunk { background: %1; }")
        .arg(accent, dark, light, highlight);
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

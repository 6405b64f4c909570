#pragma once

#include <QColor>
#include <QPalette>
#include <QString>

class QWidget;

// One of the seven colour themes of the skin menu.
struct Theme {
    QString menuText;    // the Skin menu entry: "Default", "Gray", ...
    QColor window;       // window and dialog background
    QColor accent;       // title bands, toolbar, group frames
    QColor accentDark;   // pressed buttons, frame lines
    QColor highlight;    // selections
    QColor oddRowTint;   // background of odd rows in the file list
};

constexpr int kThemeCount = 7;

// Theme 0 ("Default") to 6 ("Light blue"); any other index gives theme 0.
const Theme& ThemeAt(int index);
bool IsThemeIndex(int index);

QPalette ThemePalette(const Theme& theme);
QString ThemeStyleSheet(const Theme& theme);

// The theme the program shows now; windows copy it when they are shown.
int CurrentThemeIndex();
void SetCurrentThemeIndex(int index);

// Gives the window (and so its children) the palette and style of the theme.
void ApplyTheme(QWidget* window, int index);
// Gives the window the program's current theme.
void ApplyCurrentTheme(QWidget* window);

#pragma once

#include <QIcon>

struct Theme;

// The pictures of the main window's toolbar and preview buttons, drawn in a
// theme's colours so that they change with the skin.
enum class ChromeGlyph { Add, Remove, Clear, Edit, Settings, Start, Exit, Play, Pause, Stop, Snapshot, Program };

QIcon ThemeIcon(ChromeGlyph glyph, const Theme& theme);

#pragma once

#include <QPixmap>

// The pictures of the format list: the expand glyph (0 while a group is
// collapsed, 1 while it is expanded) and the 20 x 20 icon of each group.
const QPixmap& ExpandGlyph(int picture);
const QPixmap& GroupIcon(int group);

#pragma once

#include <QColor>
#include <QString>

#include <cstdint>
#include <utility>
#include <vector>

class Bitmap24;

// "Water Mark  " and the source path; a path of 56 characters or more shows
// its first 50, "..", its extension and two spaces.
QString WaterMarkCaption(const QString& path);

// The crop outline of the preview: an unfilled 2-pixel rectangle in RGB(0, 128, 0)
// from (left, top) to (width - right, height - bottom), cut at the frame's edges.
void DrawCropOutline(Bitmap24& frame, int top, int left, int bottom, int right);

// The colour boxes' entries in order: the sixteen standard colours, four
// extended ones, then the system colours of the current palette.
std::vector<std::pair<QString, QColor>> ColorBoxColors();

#pragma once

#include <QRect>
#include <QSize>
#include <QString>

#include <cstdint>

// The crop window's preview box.
constexpr QSize kCropPreviewSize(370, 253);

// Nearest integer, halves to the even neighbour.
int RoundHalfEven(double value);

// Where a source picture lands when fitted into the box, keeping its shape
// and centred across the spare room.
QRect FittedPicture(int sourceWidth, int sourceHeight, const QSize& box = kCropPreviewSize);
// The rectangle the crop margins are measured from: the fitted picture less
// one pixel on every side.
QRect PreviewRect(int sourceWidth, int sourceHeight, const QSize& box = kCropPreviewSize);

// Margins between the tracker and the preview rectangle, preview pixels.
struct CropMargins {
    int Up = 0;
    int Left = 0;
    int Down = 0;
    int Right = 0;
    bool operator==(const CropMargins&) const = default;
};

CropMargins MarginsOf(const QRect& tracker, const QRect& preview);
QRect TrackerOf(const CropMargins& margins, const QRect& preview);

// Margins cut from the source picture, even numbers of source pixels.
struct SourceCrop {
    int Top = 0;
    int Bottom = 0;
    int Left = 0;
    int Right = 0;
    bool operator==(const SourceCrop&) const = default;
};

SourceCrop SourceCropOf(const CropMargins& margins, int sourceWidth, int sourceHeight, const QSize& preview);

// The hidden zoom list: 0 "Full screen", 1 "Letterbox", -1 nothing selected.
int ZoomIndexOf(const QString& zoomMode);
// The mode Ok stores for a list index; nothing selected keeps the current one.
QString ZoomModeOf(int zoomIndex, const QString& current);

// The crop window's label for a source path, shortened around its extension.
QString CropSourceLabel(const QString& sourcePath);
// A duration as whole seconds and milliseconds: "12.345 Second".
QString CropLengthText(int64_t durationMicroseconds);

// The tracker after one mouse step of the crop window, kept on the preview.
struct TrackerStep {
    QRect bounds;          // the tracker's bounds after its own move
    QPoint mouse;          // the mouse, relative to the tracker
    QRect preview;         // PicLeft, PicTop, PicWidth, PicHeight
    CropMargins lastBoxes; // the box values before this step
    QPoint anchor;         // AnchorLeft, AnchorTop: the tracker's place at the press
    // True while the step's drag moved the left (top) edge on its own, so a
    // correction of that edge leaves the opposite edge in place.
    bool leftEdgeDrag = false;
    bool topEdgeDrag = false;
};
QRect ClampTracker(const TrackerStep& step);

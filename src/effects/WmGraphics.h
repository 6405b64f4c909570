#pragma once

#include "media/Bitmap24.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QSize>
#include <QString>

#include <cstdint>

struct TWmRec;

// Colours are stored as 0x00BBGGRR.
uint32_t ColorToBgrValue(const QColor& color);
QColor ColorFromBgrValue(uint32_t value);

// The font style set as stored: bold 1, italic 2, underline 4, strikeout 8.
enum FontStyleBits { kFontBold = 1, kFontItalic = 2, kFontUnderline = 4, kFontStrikeout = 8 };
int FontStyleOf(const QFont& font);
void SetFontStyle(QFont& font, int style);
QFont MakeItemFont(const QString& family, int pointSize, int style);

// Sizes are in points at 96 pixels per inch whatever the screen, so that a
// text measured in the editor, by the batch program or on the conversion
// thread gets the same box.
QSize TextExtent(const QString& text, const QFont& font);

// A text item's picture of the given size: the text at (0, 0) in its colour,
// anti-aliased, on an opaque box of the back colour or on nothing.
// Premultiplied ARGB.
QImage RenderTextPicture(const QString& text, const QFont& font, const QColor& color, QSize size, bool opaqueBox,
                         uint32_t backColor);
QImage RenderTextPicture(const TWmRec& item);

// A picture file as a 24-bit image (any alpha channel is dropped: image
// items are opaque). Empty, with the reason in error, when it cannot be read.
QImage LoadImage24(const QString& path, QString* error = nullptr);
Bitmap24 BitmapFromImage(const QImage& image);
QImage ImageFromBitmap(const Bitmap24& bitmap);

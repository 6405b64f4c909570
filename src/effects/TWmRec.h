#pragma once

#include <QColor>
#include <QFont>
#include <QString>

#include <cstdint>

// One stored watermark item of a source file: a text on an optional box, or
// a bitmap picture, placed in source-frame pixels and shown from StartTime to
// EndTime (whole seconds, both inclusive).
struct TWmRec {
    enum Kinds { kText = 0, kImage = 1 };

    QString Text;
    QFont Font;
    QColor FontColor = Qt::black;
    int32_t TextLeft = 0;
    int32_t TextTop = 0;
    int32_t TextWidth = 0;
    int32_t TextHeight = 0;
    int32_t TextAlpha = 255;
    uint32_t BackColor = 0x00FFFFFF; // 0x00BBGGRR
    bool BackOpaque = false;
    QString ImageFile;
    int32_t ImageLeft = 0;
    int32_t ImageTop = 0;
    int32_t ImageWidth = 0;
    int32_t ImageHeight = 0;
    int32_t ImageAlpha = 255;
    int32_t Kind = kText;
    int32_t StartTime = 0;
    int32_t EndTime = 0;
};

#pragma once

#include "effects/TWmRec.h"

#include <QString>

#include <cstdint>
#include <vector>

// The data of one row of the source file list: paths, duration and the
// per-file edits of the trim, crop and effect windows.
struct TlvFilesRecord {
    int32_t SelectionIndex = 0;
    QString SourceFile;
    QString DestFile;
    int32_t DurationSeconds = 0;
    int64_t TrimStart = 0;  // microseconds
    int64_t TrimLength = 0; // microseconds; 0 = to the end
    QString ZoomMode = QStringLiteral("lbox");
    // Margins cut from the source picture, source pixels.
    int32_t CropTop = 0;
    int32_t CropLeft = 0;
    int32_t CropBottom = 0;
    int32_t CropRight = 0;
    // The same margins in the crop window's preview pixels.
    int32_t MarginUp = 0;
    int32_t MarginLeft = 0;
    int32_t MarginDown = 0;
    int32_t MarginRight = 0;
    std::vector<TWmRec> WaterMarks;
    // Picture effects; these values leave the picture unchanged.
    int32_t Brightness = 255;
    int32_t Contrast = 0;
    int32_t Saturation = 255;
    int32_t Exposure = 0;
    bool ProcessText = false;
    bool ProcessImage = false;

    bool HasCrop() const { return CropTop > 0 || CropLeft > 0 || CropBottom > 0 || CropRight > 0; }
    // True when converting this file must pass every frame through the hook
    // that draws effects and watermarks. Any item with something to draw
    // counts, not only the first: a blank first item must not hide the rest.
    bool NeedsFrameHook() const
    {
        if (Brightness != 255 || Contrast != 0 || Saturation != 255 || Exposure != 0) return true;
        for (const TWmRec& item : WaterMarks)
            if (!item.Text.isEmpty() || !item.ImageFile.isEmpty()) return true;
        return false;
    }
};

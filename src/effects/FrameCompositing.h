#pragma once

#include "media/Bitmap24.h"
#include "media/MediaRecords.h"

#include <QImage>
#include <QString>

#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <utility>

class TFFmpegVCL;
struct TlvFilesRecord;
struct TWmRec;

// Whether an item shows in the frame at pts (microseconds): its whole second
// lies within StartTime..EndTime, both inclusive.
bool ItemVisibleAt(const TWmRec& item, int64_t pts);

// The effects of a record as a conversion applies them: the colour pass only
// when brightness, contrast or saturation is off neutral, the exposure pass
// only when exposure is.
void ApplyRecordEffects(Bitmap24& frame, const TlvFilesRecord& record);

// What one item draws, prepared once and drawn into many frames.
class ItemOverlay {
public:
    // Renders the text or loads the picture. An item with nothing to draw
    // (empty text or file name) gives an overlay that draws nothing; a picture
    // that cannot be read gives one whose Draw throws.
    static ItemOverlay For(const TWmRec& item);

    // Draws into the frame at the item's place with its opacity; throws
    // FFmpegException when the item's picture could not be read.
    void Draw(Bitmap24& frame) const;
    bool Failed() const { return !error_.isEmpty(); }

private:
    enum class Kind { kNothing, kPicture, kGlyphs };
    Kind kind_ = Kind::kNothing;
    Bitmap24 picture_; // opaque box with its text, or an image
    QImage glyphs_;    // premultiplied text on a transparent box
    int x_ = 0, y_ = 0, alpha_ = 255;
    QString error_;
};

// Draws every visible item of a record in list order, after the effects.
// Overlays are taken from (and added to) the given cache, keyed by item index.
void CompositeFrame(Bitmap24& frame, int64_t pts, const TlvFilesRecord& record, std::map<int, ItemOverlay>& overlays);

// The conversion hook of the main window's encoder. It finds each task's
// record through the lookup and keeps the task's overlays from frame to frame.
class ConversionCompositor {
public:
    using RecordLookup = std::function<const TlvFilesRecord*(int taskIndex)>;
    explicit ConversionCompositor(RecordLookup lookup);

    // Worker thread, one call at a time.
    void CCAVCCustomHook(TFFmpegVCL* sender, PHookInfo info);
    // Forgets the overlays of the last run; the records may have changed.
    void Reset();
    // No record is looked up any more; later calls leave frames alone.
    void Detach();

private:
    std::mutex mutex_;
    RecordLookup lookup_;
    std::map<int, std::map<int, ItemOverlay>> overlays_; // task -> item -> overlay
    std::map<int, bool> failureReported_;
};

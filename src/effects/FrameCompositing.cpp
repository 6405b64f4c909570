#include "effects/FrameCompositing.h"

#include "effects/BlendBitmap.h"
#include "effects/FrameEffects.h"
#include "effects/TWmRec.h"
#include "effects/WmGraphics.h"
#include "media/FFmpegException.h"
#include "shell/TlvFilesRecord.h"

#include <algorithm>

bool ItemVisibleAt(const TWmRec& item, int64_t pts)
{
    const int64_t second = pts / 1000000;
    return int64_t(item.StartTime) <= second && second <= int64_t(item.EndTime);
}

void ApplyRecordEffects(Bitmap24& frame, const TlvFilesRecord& record)
{
    const bool color = record.Brightness != kNeutralBrightness || record.Contrast != kNeutralContrast ||
                       record.Saturation != kNeutralSaturation;
    const bool exposure = record.Exposure != kNeutralExposure;
    if (color && exposure)
        ApplyColorAdjustAndExposure(frame, record.Brightness, record.Contrast, record.Saturation, float(record.Exposure));
    else if (color)
        ApplyColorAdjust(frame, record.Brightness, record.Contrast, record.Saturation);
    else if (exposure)
        ApplyExposure(frame, float(record.Exposure));
}

ItemOverlay ItemOverlay::For(const TWmRec& item)
{
    ItemOverlay overlay;
    if (item.Kind == TWmRec::kText) {
        if (item.Text.isEmpty() || item.TextWidth <= 0 || item.TextHeight <= 0) return overlay;
        overlay.x_ = item.TextLeft;
        overlay.y_ = item.TextTop;
        overlay.alpha_ = item.TextAlpha;
        const QImage picture = RenderTextPicture(item);
        if (item.BackOpaque) {
            overlay.kind_ = Kind::kPicture;
            overlay.picture_ = BitmapFromImage(picture);
        } else {
            overlay.kind_ = Kind::kGlyphs;
            overlay.glyphs_ = picture;
        }
    } else if (item.Kind == TWmRec::kImage) {
        if (item.ImageFile.isEmpty()) return overlay;
        overlay.x_ = item.ImageLeft;
        overlay.y_ = item.ImageTop;
        overlay.alpha_ = item.ImageAlpha;
        QString error;
        const QImage image = LoadImage24(item.ImageFile, &error);
        if (image.isNull()) {
            overlay.error_ = error;
            return overlay;
        }
        overlay.kind_ = Kind::kPicture;
        overlay.picture_ = BitmapFromImage(image);
    }
    return overlay;
}

void ItemOverlay::Draw(Bitmap24& frame) const
{
    if (!error_.isEmpty()) throw FFmpegException(error_.toStdString());
    switch (kind_) {
    case Kind::kNothing: return;
    case Kind::kPicture: BlendBitmap(frame, picture_, x_, y_, alpha_); return;
    case Kind::kGlyphs: break;
    }
    // The text drawn over the frame's own pixels, then blended into the frame
    // with the item's opacity, in one step per glyph pixel. Pixels the glyphs
    // do not touch would blend a pixel with itself, which leaves it as it is,
    // so they are skipped.
    const uint32_t a = uint32_t(std::clamp(alpha_, 0, 255));
    if (a == 0) return;
    const int c0 = std::max(0, -x_), r0 = std::max(0, -y_);
    const int c1 = int(std::min<int64_t>(glyphs_.width(), int64_t(frame.Width()) - x_));
    const int r1 = int(std::min<int64_t>(glyphs_.height(), int64_t(frame.Height()) - y_));
    for (int r = r0; r < r1; ++r) {
        const QRgb* g = reinterpret_cast<const QRgb*>(glyphs_.constScanLine(r));
        uint8_t* f = frame.ScanLine(y_ + r) + (x_ + c0) * 3;
        for (int c = c0; c < c1; ++c, f += 3) {
            const QRgb px = g[c];
            const uint32_t cover = qAlpha(px);
            if (cover == 0) continue;
            const uint32_t over[3] = {uint32_t(qBlue(px)), uint32_t(qGreen(px)), uint32_t(qRed(px))};
            for (int k = 0; k < 3; ++k) {
                const uint32_t text = (over[k] * 255 + f[k] * (255 - cover) + 127) / 255;
                f[k] = uint8_t(((256 - a) * f[k] + a * text) >> 8);
            }
        }
    }
}

void CompositeFrame(Bitmap24& frame, int64_t pts, const TlvFilesRecord& record, std::map<int, ItemOverlay>& overlays)
{
    ApplyRecordEffects(frame, record);
    for (size_t i = 0; i < record.WaterMarks.size(); ++i) {
        const TWmRec& item = record.WaterMarks[i];
        if (!ItemVisibleAt(item, pts)) continue;
        auto found = overlays.find(int(i));
        if (found == overlays.end()) found = overlays.emplace(int(i), ItemOverlay::For(item)).first;
        found->second.Draw(frame);
    }
}

ConversionCompositor::ConversionCompositor(RecordLookup lookup) : lookup_(std::move(lookup)) {}

void ConversionCompositor::CCAVCCustomHook(TFFmpegVCL*, PHookInfo info)
{
    std::lock_guard lock(mutex_);
    if (!info || !info->Bitmap || !lookup_) return;
    const TlvFilesRecord* record = lookup_(info->TaskIndex);
    if (!record) return;
    try {
        CompositeFrame(*info->Bitmap, info->PTS, *record, overlays_[info->TaskIndex]);
    } catch (const FFmpegException&) {
        // The frame goes out as decoded. Say so once per task, not per frame;
        // every later frame of the task is left alone the same way.
        if (!failureReported_[info->TaskIndex]) {
            failureReported_[info->TaskIndex] = true;
            throw;
        }
        info->Update = false;
    }
}

void ConversionCompositor::Reset()
{
    std::lock_guard lock(mutex_);
    overlays_.clear();
    failureReported_.clear();
}

void ConversionCompositor::Detach()
{
    std::lock_guard lock(mutex_);
    lookup_ = nullptr;
    overlays_.clear();
}

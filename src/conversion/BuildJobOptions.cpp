#include "conversion/BuildJobOptions.h"

#include "media/TAVProbe.h"
#include "platform/Dialogs.h"
#include "platform/IniFile.h"
#include "profiles/FormatCatalogue.h"
#include "profiles/ProfileDefaults.h"
#include "shell/TextHelpers.h"
#include "shell/TlvFilesRecord.h"

#include <QStringList>

#include <cmath>
#include <cstdlib>

namespace {

const QString kAsSource = QStringLiteral("as source");

std::string Text(const QString& s) { return s.toStdString(); }

int IntegerOf(const QString& s) { return s.trimmed().toInt(); }

double DecimalOf(const QString& s) { return s.trimmed().toDouble(); }

bool IntegerOrDecimal(const QString& s) { return IsIntegerText(s) || IsNumberText(s); }

// kbit/s text to bit/s, rounded down; 12.2 gives 12200.
int32_t KilobitsToBits(const QString& s)
{
    // The small nudge keeps 12.2 * 1000 = 12199.999... from rounding down to 12199.
    return int32_t(std::floor(DecimalOf(s) * 1000.0 + 1e-6));
}

int VolumeOf(const QString& s)
{
    if (!IsIntegerText(s)) throw ProfileValueError(Text("'" + s + "' is not a valid integer value"));
    return IntegerOf(s);
}

void ApplyTarget(const QString& format, const QString& videoSize, TOutputOptions& out)
{
    struct Target {
        const char* word;
        int type;
        int norm;
        const char* wideSize; // the size that makes a DVD 16:9
    };
    static const Target targets[] = {
        {"ntsc-dvd", 3, 2, "720x480"}, {"pal-dvd", 3, 1, "720x576"},  {"ntsc-vcd", 1, 2, nullptr},
        {"pal-vcd", 1, 1, nullptr},    {"ntsc-svcd", 2, 2, nullptr}, {"pal-svcd", 2, 1, nullptr},
    };
    for (const Target& t : targets) {
        if (format != QLatin1String(t.word)) continue;
        out.TargetType = t.type;
        out.TargetNorm = t.norm;
        out.AspectRatio = t.wideSize && videoSize == QLatin1String(t.wideSize) ? "16:9" : "4:3";
        return;
    }
}

// Channels, sample rate, bit rate and volume. Sound files take only a
// positive channel count; video files take any integer.
void ApplyAudio(const IniFile& conv, const QString& section, bool soundFile, TOutputOptions& out)
{
    const QString channel = conv.ReadString(section, QStringLiteral("paraChannel"), QStringLiteral("2"));
    if (channel != kAsSource && IsIntegerText(channel) && (!soundFile || IntegerOf(channel) > 0))
        out.AudioChannels = IntegerOf(channel);
    const QString rate = conv.ReadString(section, QStringLiteral("paraSampleRate"), QStringLiteral("44100"));
    if (rate != kAsSource && IsIntegerText(rate) && IntegerOf(rate) > 0) out.AudioSampleRate = IntegerOf(rate);
    const QString bitRate = conv.ReadString(section, QStringLiteral("paraAudioBitRate"), QStringLiteral("128"));
    if (bitRate != kAsSource && IntegerOrDecimal(bitRate)) {
        const int32_t bits = KilobitsToBits(bitRate);
        if (bits > 0) out.AudioBitRate = bits;
    }
    // A profile without a volume keeps the sound as it is: reading the
    // missing key as a tiny volume would all but silence the output.
    const QString volume = conv.ReadString(section, QStringLiteral("paraVolume"), QStringLiteral("256"));
    if (volume != QLatin1String("256")) out.Volume = VolumeOf(volume);
}

void ApplyVideoCodec(const QString& encoder, const QString& format, TOutputOptions& out)
{
    static const QStringList direct{"mpeg4",     "libxvid", "mpeg1video", "mpeg2video", "msmpeg4", "msmpeg4v1", "msmpeg4v2",
                                    "huffyuv",   "dvvideo", "rawvideo",   "h263p",      "h263",    "rv10",      "rv20",
                                    "ljpeg",     "mjpeg",   "svq1",       "zlib",       "wmv1",    "wmv2"};
    if (direct.contains(encoder)) {
        out.VideoCodec = Text(encoder);
        if (encoder == QLatin1String("mpeg2video")) out.TargetType = 3;
    } else if (encoder == QLatin1String("libx264")) {
        out.VideoCodec = "libx264";
        if (format == QLatin1String("psp")) out.VideoPreset = "libx264-psp";
        else if (format == QLatin1String("ipod")) out.VideoPreset = "libx264-ipod";
        else if (format == QLatin1String("ps3")) out.VideoPreset = "libx264-ps3";
        else out.VideoPreset = "libx264-mp4";
    }
}

QString SizeText(int w, int h) { return QStringLiteral("%1x%2").arg(w).arg(h); }
QString RatioText(int w, int h) { return QStringLiteral("%1:%2").arg(w).arg(h); }

} // namespace

SourceVideoFacts VideoFactsOf(TAVProbe& probe)
{
    SourceVideoFacts facts;
    facts.videoStreamCount = probe.VideoStreamCount();
    TVideoStreamInfo info;
    if (facts.videoStreamCount > 0 && probe.GetVideoStreamInfo(-1, info)) {
        facts.width = info.Width;
        facts.height = info.Height;
        facts.bitRate = info.BitRate;
    }
    return facts;
}

Pads LetterboxPads(int sourceWidth, int sourceHeight, int width, int height)
{
    Pads pads;
    if (width <= 0 || height <= 0 || sourceWidth <= 0 || sourceHeight <= 0) return pads;
    const double rW = double(sourceWidth) / width;
    const double rH = double(sourceHeight) / height;
    if (rW > rH) {
        const int c = int(std::trunc(sourceHeight / rW));
        pads.top = pads.bottom = 2 * ((height - 2 * (c / 2)) / 4);
    } else if (rW < rH) {
        const int c = int(std::trunc(sourceWidth / rH));
        pads.left = pads.right = 2 * ((width - 2 * (c / 2)) / 4);
    }
    return pads;
}

void BuildJobOptions(const TlvFilesRecord& row, int formatCode, TOutputOptions& out, const SourceVideoFacts& probe,
                     TInputOptions& input, const ProfileSources& sources)
{
    const QString section = FormatSection(formatCode);
    IniFile& conv = sources.converterIni;
    if (!conv.SectionExists(section)) StoreFormatDefaults(sources.formatIni, conv, formatCode);

    // 1. DVD, VCD and SVCD targets.
    const QString formatWord = sources.formatIni.ReadString(section, QStringLiteral("Format"), QStringLiteral("null"));
    const QString format = formatWord.toLower();
    ApplyTarget(format, conv.ReadString(section, QStringLiteral("paraVideoSize"), QStringLiteral("null")), out);

    // 2. and 3. A profile without a video encoder makes a sound file.
    const QString videoEncoder = conv.ReadString(section, QStringLiteral("paraVideoEncoder"), QString());
    if (videoEncoder.trimmed().isEmpty()) {
        out.AudioCodec = Text(conv.ReadString(section, QStringLiteral("paraAudioEncoder"), QStringLiteral("libfaac")));
        ApplyAudio(conv, section, true, out);
        input.ExtraOptions = "vn=1";
        out.VideoDisabled = true;
        out.SubtitlesDisabled = true;
        return;
    }

    // 4. Video codec.
    ApplyVideoCodec(videoEncoder, format, out);

    QString filter;
    if (probe.videoStreamCount <= 0) {
        // 5. Nothing to encode as video.
        out.VideoDisabled = true;
    } else {
        const int Ws = probe.width, Hs = probe.height;

        // 6. Video bit rate.
        const QString bitRate = conv.ReadString(section, QStringLiteral("paraVideoBitRate"), QStringLiteral("512"));
        if (bitRate != kAsSource && IsIntegerText(bitRate)) {
            if (IntegerOf(bitRate) > 0) out.VideoBitRate = IntegerOf(bitRate) * 1000;
        } else {
            out.VideoBitRate = int32_t(probe.bitRate);
        }

        // 7. Frame rate.
        const QString frameRate = conv.ReadString(section, QStringLiteral("paraFrameRate"), QStringLiteral("29.97"));
        if (frameRate != kAsSource && IntegerOrDecimal(frameRate) && DecimalOf(frameRate) > 0)
            out.FrameRate = Text(frameRate);

        // 8. Container.
        static const QStringList containers{"ipod", "3gp", "3g2", "avi", "psp", "mov", "vcd", "flv", "mpegts", "vob"};
        if (containers.contains(format)) out.OutputFormat = Text(formatWord);

        // 9. Target size.
        QString size = conv.ReadString(section, QStringLiteral("paraVideoSize"), QStringLiteral("null"));
        int W = 0, H = 0;
        const qsizetype p = size.indexOf(QLatin1Char('x')) + 1; // 1-based, 0 = none
        const qsizetype n = size.size();
        if (size != kAsSource && p > 1 && p < n) {
            const QString before = size.left(p - 1);
            const QString after = size.mid(p);
            W = IsIntegerText(before) ? IntegerOf(before) : Ws;
            H = IsIntegerText(after) ? IntegerOf(after) : Hs;
            if (QString::fromStdString(out.VideoCodec).toLower() == QLatin1String("h263") &&
                !QStringLiteral("704x576,352x288,176x144,160x120,128x96").contains(size)) {
                if (W > 176 && W <= 352) W = 352, H = 288;
                if (W > 352 && W <= 704) W = 704, H = 576;
                if (W > 704) W = 704, H = 576;
            }
        } else if (size != kAsSource) {
            if (sources.dialogs.Question(sources.parent,
                                         QStringLiteral("Error output Video Size.Use the default size 320x240?"),
                                         QStringLiteral("Warning")))
                W = 320, H = 240;
            else
                size = kAsSource;
        }
        if (size == kAsSource) W = Ws, H = Hs;

        // 10. Crop fields the run left unset.
        for (int32_t* crop : {&out.CropTop, &out.CropBottom, &out.CropLeft, &out.CropRight})
            if (*crop == -1) *crop = 0;

        // 11. Zoom.
        const int cl = row.CropLeft, ct = row.CropTop, cr = row.CropRight, cb = row.CropBottom;
        const bool anyCrop = row.HasCrop();
        const QString& zoom = row.ZoomMode;
        const double rW = W > 0 ? double(Ws) / W : 0.0;
        const double rH = H > 0 ? double(Hs) / H : 0.0;
        if (zoom == QLatin1String("full")) {
            if (anyCrop) out.CropTop = ct, out.CropBottom = cb, out.CropLeft = cl, out.CropRight = cr;
            out.FrameSize = Text(SizeText(W, H));
            out.AspectRatio = Text(RatioText(W, H));
        } else if (zoom == QLatin1String("lbox")) {
            const Pads pad = LetterboxPads(Ws, Hs, W, H);
            const int innerW = W - pad.left - pad.right, innerH = H - pad.top - pad.bottom;
            out.AspectRatio = Text(RatioText(innerW, innerH));
            if (anyCrop) {
                filter = QStringLiteral("crop=%1:%2:%3:%4,scale=%5:%6,pad=%7:%8:%9:%10")
                             .arg(cl).arg(ct).arg(Ws - cl - cr).arg(Hs - ct - cb)
                             .arg(innerW).arg(innerH).arg(W).arg(H).arg(pad.left).arg(pad.top);
                // The crop filter names the margins in uncropped source pixels;
                // cropping again through the crop fields would cut them twice.
                out.CropTop = out.CropBottom = out.CropLeft = out.CropRight = 0;
            } else {
                out.FrameSize = Text(SizeText(innerW, innerH));
                filter = QStringLiteral("pad=%1:%2:%3:%4").arg(W).arg(H).arg(pad.left).arg(pad.top);
            }
        } else if (zoom == QLatin1String("pan")) {
            const double cw = Ws - cl - cr, ch = Hs - ct - cb;
            const double k = 4.0 / 3.0;
            if (cw > 0 && ch > 0 && cw / ch > k) {
                const int x = std::abs(int(std::trunc((cw / ch - k) * cw)) / 2);
                out.CropLeft = out.CropRight = (x + cl) / 2 * 2;
            } else if (cw > 0 && ch > 0 && cw / ch < k) {
                const int x = std::abs(int(std::trunc((ch / cw - k) * ch)) / 2);
                out.CropTop = out.CropBottom = (x + ct) / 2 * 2;
            }
            out.FrameSize = Text(SizeText(W, H));
            out.AspectRatio = Text(RatioText(W, H));
        } else if (zoom == QLatin1String("center")) {
            const Pads pad = LetterboxPads(Ws, Hs, W, H);
            if (rW > rH) {
                out.FrameSize = Text(SizeText(W, H));
                filter = QString::asprintf("pad=%d:%d:%d:%d:black", Ws, Hs + pad.top + pad.bottom, 0, pad.top);
            } else if (rW < rH) {
                out.FrameSize = Text(SizeText(W - pad.left - pad.right, H));
                filter = QString::asprintf("pad=%d:%d:%d:%d:black", Ws + pad.left + pad.right, Hs, pad.left, 0);
            } else {
                out.FrameSize = Text(SizeText(W, H));
                filter = QString::asprintf("pad=%d:%d:%d:%d:black", Ws, Hs, 0, 0);
            }
            out.AspectRatio = Text(RatioText(W, H));
        }
    }

    // 12. Filter hand-over.
    if (!out.VideoFilters.empty()) out.VideoFilters += "," + Text(filter);
    else out.VideoFilters = Text(filter);

    // 13. Audio.
    QString audioEncoder = conv.ReadString(section, QStringLiteral("paraAudioEncoder"), QString());
    if (audioEncoder == QLatin1String("libamr_nb")) audioEncoder = QStringLiteral("libopencore_amrnb");
    out.AudioCodec = Text(audioEncoder);
    if (audioEncoder.trimmed().isEmpty()) out.AudioDisabled = true;
    ApplyAudio(conv, section, false, out);
}

#include "media/TAVProbe.h"

#include "media/AvUtil.h"

extern "C" {
#include <libavutil/pixdesc.h>
}

#include <QFileInfo>

#include <algorithm>

namespace {

bool IsRealVideo(const AVStream* st)
{
    return st->codecpar->codec_type == AVMEDIA_TYPE_VIDEO && !(st->disposition & AV_DISPOSITION_ATTACHED_PIC);
}

int64_t StreamDurationUs(const AVStream* st)
{
    if (st->duration == AV_NOPTS_VALUE || st->duration <= 0) return -1;
    return av_rescale_q(st->duration, st->time_base, AVRational{1, 1000000});
}

} // namespace

TAVProbe::TAVProbe() = default;

TAVProbe::~TAVProbe() { CloseFile(); }

bool TAVProbe::Loaded() const { return ctx_ != nullptr; }

bool TAVProbe::LoadFile(const QString& fileName, const std::string& formatName)
{
    CloseFile();
    lastError_.clear();
    const std::string path = ToFfmpegPath(fileName);

    const AVInputFormat* forced = nullptr;
    if (!formatName.empty()) {
        forced = av_find_input_format(formatName.c_str());
        if (!forced) {
            lastError_ = QString::fromStdString(Format("Unknown input format: %s", formatName.c_str()));
            return false;
        }
    }
    const QFileInfo fi(fileName);
    if (fi.exists() && fi.isFile() && fi.size() == 0) {
        lastError_ = QString::fromStdString(Format("%s: file is empty", path.c_str()));
        return false;
    }

    AVFormatContext* ctx = nullptr;
    const int rc = avformat_open_input(&ctx, path.c_str(), forced, nullptr);
    if (rc < 0) {
        if (rc == AVERROR_INVALIDDATA)
            lastError_ = QString::fromStdString(Format("Unknown input format: %s", path.c_str()));
        else
            lastError_ = QString::fromStdString(Format("%s: %s", path.c_str(), AvErrorText(rc).c_str()));
        return false;
    }
    ctx_ = ctx;
    fileName_ = fileName;

    bool usable = avformat_find_stream_info(ctx_, nullptr) >= 0;
    if (usable) {
        usable = std::any_of(ctx_->streams, ctx_->streams + ctx_->nb_streams, [](const AVStream* st) {
            return (IsRealVideo(st) && st->codecpar->width > 0) ||
                   (st->codecpar->codec_type == AVMEDIA_TYPE_AUDIO && st->codecpar->sample_rate > 0);
        });
    }
    if (!usable) {
        CloseFile();
        lastError_ = QString::fromStdString(Format("%s: could not find codec parameters", path.c_str()));
        return false;
    }
    if (LooksTruncated()) {
        CloseFile();
        lastError_ = QString::fromStdString(Format("%s: the file is truncated", path.c_str()));
        return false;
    }
    return true;
}

// A container that states its length in its header but whose last packets end
// well before that length has lost its tail (an interrupted download or copy).
bool TAVProbe::LooksTruncated()
{
    if (ctx_->duration == AV_NOPTS_VALUE || ctx_->duration <= 0) return false;
    if (ctx_->duration_estimation_method != AVFMT_DURATION_FROM_STREAM) return false;
    if (!ctx_->pb || !(ctx_->pb->seekable & AVIO_SEEKABLE_NORMAL)) return false;
    if (ctx_->iformat->flags & AVFMT_NO_BYTE_SEEK) return false;
    const int64_t size = avio_size(ctx_->pb);
    if (size <= 0) return false;

    // A second reader, so that jumping near the end leaves the probe's own
    // context (and the streams it found) untouched.
    AVFormatContext* raw = nullptr;
    if (avformat_open_input(&raw, ToFfmpegPath(fileName_).c_str(), ctx_->iformat, nullptr) < 0) return false;
    InputPtr tail(raw);
    const int64_t from = std::max<int64_t>(0, size - 256 * 1024);
    if (av_seek_frame(raw, -1, from, AVSEEK_FLAG_BYTE) < 0) return false;

    const int64_t start = ctx_->start_time == AV_NOPTS_VALUE ? 0 : ctx_->start_time;
    int64_t lastEnd = AV_NOPTS_VALUE;
    PacketPtr pkt = MakePacket();
    while (av_read_frame(raw, pkt.get()) >= 0) {
        const AVStream* st = raw->streams[pkt->stream_index];
        int64_t ts = pkt->pts != AV_NOPTS_VALUE ? pkt->pts : pkt->dts;
        if (ts != AV_NOPTS_VALUE) {
            ts += std::max<int64_t>(0, pkt->duration);
            const int64_t us = av_rescale_q(ts, st->time_base, AVRational{1, 1000000}) - start;
            if (lastEnd == AV_NOPTS_VALUE || us > lastEnd) lastEnd = us;
        }
        av_packet_unref(pkt.get());
    }
    if (lastEnd == AV_NOPTS_VALUE) return false;
    const int64_t slack = std::max<int64_t>(1000000, ctx_->duration / 10);
    return lastEnd + slack < ctx_->duration;
}

void TAVProbe::CloseFile()
{
    if (ctx_) avformat_close_input(&ctx_);
    ctx_ = nullptr;
    fileName_.clear();
}

bool TAVProbe::CheckLoaded()
{
    if (ctx_) return true;
    lastError_ = QStringLiteral("file not loaded.");
    return false;
}

QString TAVProbe::ProbeFileName() const { return fileName_; }

TFileStreamInfo TAVProbe::GetFileStreamInfo()
{
    TFileStreamInfo info;
    if (!CheckLoaded()) return info;
    info.FileName = fileName_;
    info.FormatName = ctx_->iformat->name;
    info.Duration = (ctx_->duration == AV_NOPTS_VALUE || ctx_->duration <= 0) ? -1 : ctx_->duration;
    info.StartTime = ctx_->start_time == AV_NOPTS_VALUE ? 0 : ctx_->start_time;
    info.BitRate = ctx_->bit_rate;
    info.StreamCount = int(ctx_->nb_streams);
    return info;
}

bool TAVProbe::GetVideoStreamInfo(int streamIndex, TVideoStreamInfo& info)
{
    info = TVideoStreamInfo{};
    if (!CheckLoaded()) return false;
    if (streamIndex < 0) {
        streamIndex = DefaultVideoStream();
        if (streamIndex < 0) {
            lastError_ = QStringLiteral("no video stream.");
            return false;
        }
    }
    if (!IsVideoStream(streamIndex)) {
        lastError_ = QString::fromStdString(Format("stream index #%d is invalid.", streamIndex));
        return false;
    }
    AVStream* st = ctx_->streams[streamIndex];
    const AVCodecParameters* par = st->codecpar;
    info.StreamIndex = streamIndex;
    info.CodecName = avcodec_get_name(par->codec_id);
    const char* pix = av_get_pix_fmt_name(AVPixelFormat(par->format));
    info.PixelFormat = pix ? pix : "";
    info.Width = par->width;
    info.Height = par->height;
    info.BitRate = par->bit_rate;
    const AVRational rate = av_guess_frame_rate(ctx_, st, nullptr);
    info.FrameRate = {rate.num, rate.den};
    const AVRational sar = av_guess_sample_aspect_ratio(ctx_, st, nullptr);
    info.SampleAspectRatio = {sar.num, sar.den};
    if (par->width > 0 && par->height > 0) {
        AVRational dar{0, 1};
        const AVRational s = sar.num > 0 ? sar : AVRational{1, 1};
        av_reduce(&dar.num, &dar.den, int64_t(par->width) * s.num, int64_t(par->height) * s.den, 1 << 30);
        info.DisplayAspectRatio = {dar.num, dar.den};
    }
    info.Duration = StreamDurationUs(st);
    return true;
}

bool TAVProbe::GetAudioStreamInfo(int streamIndex, TAudioStreamInfo& info)
{
    info = TAudioStreamInfo{};
    if (!CheckLoaded()) return false;
    if (streamIndex < 0) {
        streamIndex = DefaultAudioStream();
        if (streamIndex < 0) {
            lastError_ = QStringLiteral("no audio stream.");
            return false;
        }
    }
    if (!IsAudioStream(streamIndex)) {
        lastError_ = QString::fromStdString(Format("stream index #%d is invalid.", streamIndex));
        return false;
    }
    const AVStream* st = ctx_->streams[streamIndex];
    const AVCodecParameters* par = st->codecpar;
    info.StreamIndex = streamIndex;
    info.CodecName = avcodec_get_name(par->codec_id);
    const char* fmt = av_get_sample_fmt_name(AVSampleFormat(par->format));
    info.SampleFormat = fmt ? fmt : "";
    info.SampleRate = par->sample_rate;
    info.Channels = par->ch_layout.nb_channels;
    char layout[128] = {};
    if (av_channel_layout_describe(&par->ch_layout, layout, sizeof layout) > 0) info.ChannelLayout = layout;
    info.BitRate = par->bit_rate;
    info.Duration = StreamDurationUs(st);
    return true;
}

std::string TAVProbe::FormatName()
{
    if (!CheckLoaded()) return {};
    return ctx_->iformat->name;
}

bool TAVProbe::IsVideoStream(int streamIndex)
{
    if (!CheckLoaded()) return false;
    return streamIndex >= 0 && unsigned(streamIndex) < ctx_->nb_streams && IsRealVideo(ctx_->streams[streamIndex]);
}

bool TAVProbe::IsAudioStream(int streamIndex)
{
    if (!CheckLoaded()) return false;
    return streamIndex >= 0 && unsigned(streamIndex) < ctx_->nb_streams &&
           ctx_->streams[streamIndex]->codecpar->codec_type == AVMEDIA_TYPE_AUDIO;
}

int TAVProbe::DefaultVideoStream()
{
    if (!CheckLoaded()) return -1;
    for (unsigned i = 0; i < ctx_->nb_streams; ++i)
        if (IsRealVideo(ctx_->streams[i])) {
            const int best = av_find_best_stream(ctx_, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
            return best >= 0 && IsRealVideo(ctx_->streams[best]) ? best : int(i);
        }
    return -1;
}

int TAVProbe::DefaultAudioStream()
{
    if (!CheckLoaded()) return -1;
    const int best = av_find_best_stream(ctx_, AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0);
    return best >= 0 ? best : -1;
}

int TAVProbe::StreamCount()
{
    if (!CheckLoaded()) return -1;
    return int(ctx_->nb_streams);
}

int TAVProbe::VideoStreamCount()
{
    if (!CheckLoaded()) return -1;
    return int(std::count_if(ctx_->streams, ctx_->streams + ctx_->nb_streams, IsRealVideo));
}

int TAVProbe::AudioStreamCount()
{
    if (!CheckLoaded()) return -1;
    return int(std::count_if(ctx_->streams, ctx_->streams + ctx_->nb_streams, [](const AVStream* st) {
        return st->codecpar->codec_type == AVMEDIA_TYPE_AUDIO;
    }));
}

QString TAVProbe::InfoReport()
{
    if (!CheckLoaded()) return {};
    QStringList lines;
    lines << QString::fromStdString(Format("Input #0, %s, from '%s':", ctx_->iformat->name,
                                           ToFfmpegPath(fileName_).c_str()));
    QString durationText = QStringLiteral("N/A");
    if (ctx_->duration != AV_NOPTS_VALUE && ctx_->duration > 0) {
        const int64_t cs = (ctx_->duration + 5000) / 10000;
        durationText = QString::asprintf("%02lld:%02lld:%02lld.%02lld", (long long)(cs / 360000),
                                         (long long)(cs / 6000 % 60), (long long)(cs / 100 % 60),
                                         (long long)(cs % 100));
    }
    QString line = QStringLiteral("  Duration: ") + durationText;
    if (ctx_->start_time != AV_NOPTS_VALUE)
        line += QString::asprintf(", start: %.6f", double(ctx_->start_time) / AV_TIME_BASE);
    line += ctx_->bit_rate > 0 ? QString::asprintf(", bitrate: %lld kb/s", (long long)(ctx_->bit_rate / 1000))
                               : QStringLiteral(", bitrate: N/A");
    lines << line;

    CodecContextPtr cc(avcodec_alloc_context3(nullptr));
    for (unsigned i = 0; i < ctx_->nb_streams; ++i) {
        AVStream* st = ctx_->streams[i];
        if (!cc || avcodec_parameters_to_context(cc.get(), st->codecpar) < 0) continue;
        char buf[512] = {};
        avcodec_string(buf, sizeof buf, cc.get(), 0);
        QString text = QString::fromUtf8(buf);
        if (IsRealVideo(st)) {
            const AVRational rate = av_guess_frame_rate(ctx_, st, nullptr);
            if (rate.num > 0 && rate.den > 0) text += QString::asprintf(", %.4g fps", av_q2d(rate));
        }
        lines << QStringLiteral("Stream #0.%1: %2").arg(i).arg(text);
    }
    return lines.join(QLatin1Char('\n'));
}

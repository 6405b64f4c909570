#include "media/Transcoder.h"

#include "media/AvUtil.h"
#include "media/Bitmap24.h"
#include "media/EncoderChoice.h"
#include "media/FilterGraphs.h"
#include "media/FrameQueue.h"
#include "media/OptionText.h"
#include "media/OutputFiles.h"
#include "media/TargetPresets.h"

extern "C" {
#include <libavfilter/buffersink.h>
#include <libavutil/channel_layout.h>
#include <libavutil/opt.h>
#include <libavutil/pixdesc.h>
#include <libavutil/samplefmt.h>
#include <libswscale/swscale.h>
}

#include <QFile>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <mutex>
#include <thread>
#include <vector>

namespace {

constexpr AVRational kMicroseconds{1, 1000000};

struct SwsDeleter { void operator()(SwsContext* c) const { sws_freeContext(c); } };

// Converts frames of any format to 24-bit BGR at their own size.
class BgrConverter {
public:
    FramePtr Convert(const AVFrame* in)
    {
        sws_.reset(sws_getCachedContext(sws_.release(), in->width, in->height, AVPixelFormat(in->format), in->width,
                                        in->height, AV_PIX_FMT_BGR24, SWS_BICUBIC, nullptr, nullptr, nullptr));
        if (!sws_) return nullptr;
        FramePtr out = MakeFrame();
        out->format = AV_PIX_FMT_BGR24;
        out->width = in->width;
        out->height = in->height;
        if (av_frame_get_buffer(out.get(), 0) < 0) return nullptr;
        sws_scale(sws_.get(), in->data, in->linesize, 0, in->height, out->data, out->linesize);
        av_frame_copy_props(out.get(), in);
        return out;
    }

private:
    std::unique_ptr<SwsContext, SwsDeleter> sws_;
};

std::shared_ptr<Bitmap24> ToBitmap(BgrConverter& converter, const AVFrame* frame)
{
    FramePtr bgr = converter.Convert(frame);
    if (!bgr) return nullptr;
    auto bitmap = std::make_shared<Bitmap24>(bgr->width, bgr->height);
    for (int y = 0; y < bgr->height; ++y)
        std::copy_n(bgr->data[0] + ptrdiff_t(y) * bgr->linesize[0], size_t(bgr->width) * 3, bitmap->ScanLine(y));
    return bitmap;
}

CodecContextPtr OpenDecoder(AVStream* st, std::string& error)
{
    const AVCodec* codec = avcodec_find_decoder(st->codecpar->codec_id);
    if (!codec) {
        error = Format("No decoder for %s", avcodec_get_name(st->codecpar->codec_id));
        return nullptr;
    }
    CodecContextPtr ctx(avcodec_alloc_context3(codec));
    if (!ctx || avcodec_parameters_to_context(ctx.get(), st->codecpar) < 0) {
        error = "Cannot set up the decoder";
        return nullptr;
    }
    ctx->pkt_timebase = st->time_base;
    ctx->thread_count = 0;
    ctx->thread_type = FF_THREAD_FRAME | FF_THREAD_SLICE;
    const int rc = avcodec_open2(ctx.get(), codec, nullptr);
    if (rc < 0) {
        error = Format("Cannot open the %s decoder: %s", codec->name, AvErrorText(rc).c_str());
        return nullptr;
    }
    return ctx;
}

int BestVideoStream(AVFormatContext* ic)
{
    int best = av_find_best_stream(ic, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
    if (best >= 0 && (ic->streams[best]->disposition & AV_DISPOSITION_ATTACHED_PIC)) best = -1;
    if (best < 0)
        for (unsigned i = 0; i < ic->nb_streams; ++i)
            if (ic->streams[i]->codecpar->codec_type == AVMEDIA_TYPE_VIDEO &&
                !(ic->streams[i]->disposition & AV_DISPOSITION_ATTACHED_PIC))
                return int(i);
    return best;
}

void SetOptions(void* obj, OptionList& options)
{
    for (auto it = options.begin(); it != options.end();) {
        if (av_opt_set(obj, it->first.c_str(), it->second.c_str(), AV_OPT_SEARCH_CHILDREN) >= 0)
            it = options.erase(it);
        else
            ++it;
    }
}

class Job {
public:
    Job(const TInputOptions& in, const TOutputOptions& out, TaskCallbacks& cb, TaskControl& ctl)
        : in_(in), out_(out), cb_(cb), ctl_(ctl)
    {
    }
    ~Job();
    TaskResult Run();

private:
    struct Lane {
        int inIndex = -1;
        AVStream* inStream = nullptr;
        CodecContextPtr dec;
        CodecContextPtr enc;
        AVStream* outStream = nullptr;
        FilterGraph graph;
        std::string chain;
        bool done = false;          // reached the end of the wanted range
        int64_t lastPts = AV_NOPTS_VALUE;
    };

    bool OpenInput();
    bool OpenOutput();
    bool SetUpVideo();
    bool SetUpAudio();
    bool StartThreads();
    void ReadLoop();
    void DecodePacket(Lane& lane, const AVPacket* pkt);
    void HandleVideoFrame(FramePtr frame);
    void HandleAudioFrame(FramePtr frame);
    void FinishInput();
    bool Finish();

    void VideoFilterThread();
    void VideoEncodeThread();
    void AudioThread();
    bool FilterVideo(AVFrame* frame);
    bool EncodeFrame(Lane& lane, AVFrame* frame);
    bool Mux(Lane& lane, AVPacket* pkt);
    void MaybeReportProgress(bool force);

    void Fail(const std::string& message);
    bool Failed() const { return failed_.load(); }
    bool Aborted() const { return failed_.load() || ctl_.StopRequested(); }
    void Note(const std::string& note)
    {
        if (note.empty()) return;
        std::lock_guard lock(noteMutex_);
        notes_.push_back(note);
    }
    void AbortQueues();

    const TInputOptions& in_;
    TOutputOptions out_;
    TaskCallbacks& cb_;
    TaskControl& ctl_;
    ResolvedTarget target_;

    InputPtr ic_;
    AVFormatContext* oc_ = nullptr;
    QString tempPath_;
    QString destination_;
    Lane video_, audio_;
    bool useVideo_ = false, useAudio_ = false;
    int64_t inputOffset_ = 0;   // microseconds of the source that map to output time 0
    int64_t limitUs_ = -1;      // output length, -1 open-ended
    int64_t totalUs_ = 0;
    AVRational outRate_{25, 1};
    int sinkFrameSize_ = 0;

    bool hookActive_ = false;
    int frameNumber_ = 0;
    BgrConverter hookConverter_;
    BgrConverter previewConverter_;

    std::unique_ptr<FrameQueue> videoIn_, videoOut_, audioIn_;
    std::vector<std::thread> threads_;

    std::mutex muxMutex_;
    int64_t positionUs_ = 0;
    std::chrono::steady_clock::time_point lastProgress_{};
    std::atomic<bool> previewDue_{false};

    std::atomic<bool> failed_{false};
    std::mutex noteMutex_;
    std::string error_;
    std::vector<std::string> notes_;
};

Job::~Job()
{
    ctl_.SetStopHandler(nullptr);
    AbortQueues();
    for (auto& t : threads_)
        if (t.joinable()) t.join();
    if (oc_) {
        if (oc_->pb && !(oc_->oformat->flags & AVFMT_NOFILE)) avio_closep(&oc_->pb);
        avformat_free_context(oc_);
    }
    if (!tempPath_.isEmpty()) QFile::remove(tempPath_);
}

void Job::Fail(const std::string& message)
{
    {
        std::lock_guard lock(noteMutex_);
        if (error_.empty()) error_ = message;
    }
    failed_ = true;
    AbortQueues();
}

void Job::AbortQueues()
{
    for (auto* q : {videoIn_.get(), videoOut_.get(), audioIn_.get()})
        if (q) q->Abort();
}

bool Job::OpenInput()
{
    OptionList extra = ParseOptionLines(in_.ExtraOptions);
    std::string value;
    if (TakeOption(extra, "vn", &value) && OptionIsTrue(value)) out_.VideoDisabled = true;
    if (TakeOption(extra, "an", &value) && OptionIsTrue(value)) out_.AudioDisabled = true;
    if (TakeOption(extra, "sn", &value) && OptionIsTrue(value)) out_.SubtitlesDisabled = true;
    AVDictionary* opts = nullptr;
    for (const auto& [k, v] : extra) av_dict_set(&opts, k.c_str(), v.c_str(), 0);

    const AVInputFormat* forced = nullptr;
    if (!in_.InputFormat.empty() && !(forced = av_find_input_format(in_.InputFormat.c_str()))) {
        av_dict_free(&opts);
        Fail(Format("Unknown input format: %s", in_.InputFormat.c_str()));
        return false;
    }
    const std::string path = ToFfmpegPath(in_.InputFileName);
    AVFormatContext* ic = nullptr;
    int rc = avformat_open_input(&ic, path.c_str(), forced, &opts);
    const AVDictionaryEntry* unused = av_dict_get(opts, "", nullptr, AV_DICT_IGNORE_SUFFIX);
    if (unused) Note(Format("Input option '%s' not used.", unused->key));
    av_dict_free(&opts);
    if (rc < 0) {
        Fail(rc == AVERROR_INVALIDDATA ? Format("Unknown input format: %s", path.c_str())
                                       : Format("%s: %s", path.c_str(), AvErrorText(rc).c_str()));
        return false;
    }
    ic_.reset(ic);
    if (avformat_find_stream_info(ic, nullptr) < 0) {
        Fail(Format("%s: could not find codec parameters", path.c_str()));
        return false;
    }
    const int64_t start = ic->start_time == AV_NOPTS_VALUE ? 0 : ic->start_time;
    const int64_t trim = in_.StartPosition == kNoTime ? 0 : std::max<int64_t>(0, in_.StartPosition);
    inputOffset_ = start + trim;
    if (out_.RecordingTime != kNoTime && out_.RecordingTime >= 0) limitUs_ = out_.RecordingTime;
    if (ic->duration != AV_NOPTS_VALUE && ic->duration > 0) totalUs_ = std::max<int64_t>(0, ic->duration - trim);
    if (limitUs_ >= 0 && (totalUs_ == 0 || limitUs_ < totalUs_)) totalUs_ = limitUs_;

    if (!out_.VideoDisabled) video_.inIndex = BestVideoStream(ic);
    if (!out_.AudioDisabled) audio_.inIndex = av_find_best_stream(ic, AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0);
    if (video_.inIndex < 0 && audio_.inIndex < 0) {
        Fail(Format("%s: no audio or video stream to convert.", path.c_str()));
        return false;
    }
    if (trim > 0) {
        // Lands on the keyframe at or before the start; frames before it are
        // decoded and dropped, so the output begins exactly there.
        rc = avformat_seek_file(ic, -1, INT64_MIN, inputOffset_, inputOffset_, 0);
        if (rc < 0) Note("The source cannot seek; it is read from its beginning.");
    }
    return true;
}

bool Job::OpenOutput()
{
    destination_ = out_.OutputFileName;
    if (destination_.isEmpty()) {
        Fail("No output file name.");
        return false;
    }
    const AVStream* vst = video_.inIndex >= 0 ? ic_->streams[video_.inIndex] : nullptr;
    const double srcRate = vst ? av_q2d(av_guess_frame_rate(ic_.get(), const_cast<AVStream*>(vst), nullptr)) : 0;
    target_ = ApplyTargetPreset(out_, ResolveTargetNorm(out_.TargetNorm, out_.DefaultNorm, srcRate));
    const TOutputOptions& o = target_.options;

    const std::string destPath = ToFfmpegPath(destination_);
    const AVOutputFormat* fmt = nullptr;
    if (!o.OutputFormat.empty()) {
        fmt = av_guess_format(o.OutputFormat.c_str(), nullptr, nullptr);
        if (!fmt) {
            Fail(Format("Unknown output format: %s", o.OutputFormat.c_str()));
            return false;
        }
    } else {
        fmt = av_guess_format(nullptr, destPath.c_str(), nullptr);
        if (!fmt) {
            Fail(Format("Unable to find a suitable output format for '%s'", destPath.c_str()));
            return false;
        }
    }
    QString error;
    tempPath_ = CreateTemporaryOutput(destination_, error);
    if (tempPath_.isEmpty()) {
        Fail(error.toStdString());
        return false;
    }
    if (avformat_alloc_output_context2(&oc_, fmt, nullptr, ToFfmpegPath(tempPath_).c_str()) < 0 || !oc_) {
        Fail("Cannot set up the output file.");
        return false;
    }
    useVideo_ = video_.inIndex >= 0 && !o.VideoDisabled && fmt->video_codec != AV_CODEC_ID_NONE;
    useAudio_ = audio_.inIndex >= 0 && !o.AudioDisabled && fmt->audio_codec != AV_CODEC_ID_NONE;
    if (video_.inIndex >= 0 && !o.VideoDisabled && !useVideo_) Note(Format("The %s format holds no video.", fmt->name));
    if (useVideo_ && !SetUpVideo()) return false;
    if (useAudio_ && !SetUpAudio()) return false;
    if (!useVideo_ && !useAudio_) {
        Fail("Nothing to write: the output would have no stream.");
        return false;
    }

    if (o.PacketSize > 0) oc_->packet_size = unsigned(o.PacketSize);
    if (o.MuxRate > 0) av_opt_set_int(oc_, "muxrate", o.MuxRate, AV_OPT_SEARCH_CHILDREN);
    if (o.MuxPreload > 0) av_opt_set_int(oc_, "preload", int64_t(o.MuxPreload * AV_TIME_BASE), AV_OPT_SEARCH_CHILDREN);
    oc_->max_delay = int(o.MuxDelay > 0 ? o.MuxDelay * AV_TIME_BASE : 0.7 * AV_TIME_BASE);
    const TStreamInfo& m = o.Metadata;
    const std::pair<const char*, const std::string*> tags[] = {{"title", &m.Title},     {"artist", &m.Author},
                                                              {"copyright", &m.Copyright}, {"comment", &m.Comment},
                                                              {"album", &m.Album},     {"genre", &m.Genre}};
    for (const auto& [key, text] : tags)
        if (!text->empty()) av_dict_set(&oc_->metadata, key, text->c_str(), 0);
    if (m.Year > 0) av_dict_set_int(&oc_->metadata, "date", m.Year, 0);
    if (m.Track > 0) av_dict_set_int(&oc_->metadata, "track", m.Track, 0);

    if (!(fmt->flags & AVFMT_NOFILE)) {
        const int rc = avio_open(&oc_->pb, ToFfmpegPath(tempPath_).c_str(), AVIO_FLAG_WRITE);
        if (rc < 0) {
            Fail(Format("Cannot write %s: %s", destPath.c_str(), AvErrorText(rc).c_str()));
            return false;
        }
    }
    OptionList extra = ParseOptionLines(o.ExtraOptions);
    AVDictionary* muxOpts = nullptr;
    for (const auto& [k, v] : extra)
        if (k != "vn" && k != "an" && k != "sn") av_dict_set(&muxOpts, k.c_str(), v.c_str(), 0);
    const int rc = avformat_write_header(oc_, &muxOpts);
    av_dict_free(&muxOpts);
    if (rc < 0) {
        Fail(Format("Cannot write the header of %s: %s", destPath.c_str(), AvErrorText(rc).c_str()));
        return false;
    }
    return true;
}

bool Job::SetUpVideo()
{
    const TOutputOptions& o = target_.options;
    Lane& lane = video_;
    lane.inStream = ic_->streams[lane.inIndex];
    std::string error;
    lane.dec = OpenDecoder(lane.inStream, error);
    if (!lane.dec) {
        Fail(error);
        return false;
    }
    std::string note;
    const AVCodec* codec = ChooseEncoder(o.VideoCodec, AVMEDIA_TYPE_VIDEO, oc_->oformat, note);
    Note(note);
    if (!codec) {
        useVideo_ = false;
        return true;
    }
    const bool x264 = std::string(codec->name) == "libx264";
    DeviceSettings device;
    if (!o.VideoPreset.empty()) {
        device = DeviceSettingsFor(o.VideoPreset);
        if (!device.known) Note(Format("Unknown video preset '%s' ignored.", o.VideoPreset.c_str()));
        else if (!x264) device = DeviceSettings{};
    }

    // Frame rate: the task's, else the source's; MPEG-1/2 only take their standard rates.
    AVRational srcRate = av_guess_frame_rate(ic_.get(), lane.inStream, nullptr);
    if (srcRate.num <= 0 || srcRate.den <= 0 || av_q2d(srcRate) > 240) srcRate = AVRational{25, 1};
    outRate_ = srcRate;
    if (!o.FrameRate.empty()) {
        AVRational r{};
        if (!ParseFrameRate(o.FrameRate, r)) {
            Fail(Format("Invalid frame rate: %s", o.FrameRate.c_str()));
            return false;
        }
        outRate_ = r;
    }
    if (codec->supported_framerates) {
        const int idx = av_find_nearest_q_idx(outRate_, codec->supported_framerates);
        outRate_ = codec->supported_framerates[idx];
    }
    av_reduce(&outRate_.num, &outRate_.den, outRate_.num, outRate_.den, 1 << 30);

    // Pixel format the encoder takes, as close to the decoded one as it allows.
    AVPixelFormat srcFormat = lane.dec->pix_fmt != AV_PIX_FMT_NONE ? lane.dec->pix_fmt : AV_PIX_FMT_YUV420P;
    AVPixelFormat encFormat = srcFormat;
    std::string forced = target_.pixelFormat;
    if (device.known) forced = "yuv420p";
    if (!forced.empty()) encFormat = av_get_pix_fmt(forced.c_str());
    else if (codec->pix_fmts) encFormat = avcodec_find_best_pix_fmt_of_list(codec->pix_fmts, srcFormat, 0, nullptr);
    if (codec->pix_fmts && std::find_if(codec->pix_fmts, codec->pix_fmts + 64, [&](AVPixelFormat f) {
                               return f == encFormat || f == AV_PIX_FMT_NONE;
                           }) == codec->pix_fmts + 64)
        encFormat = codec->pix_fmts[0];
    // DV's profiles tie the pixel format to the norm: NTSC pictures are 4:1:1,
    // PAL ones 4:2:0; any other pairing makes the encoder refuse to open.
    if (codec->id == AV_CODEC_ID_DVVIDEO)
        encFormat = std::fabs(av_q2d(outRate_) - 30000.0 / 1001.0) < 0.05 ? AV_PIX_FMT_YUV411P : AV_PIX_FMT_YUV420P;

    hookActive_ = bool(cb_.hook) && o.UseFrameHook;
    const int srcW = lane.dec->width, srcH = lane.dec->height;
    if (srcW <= 0 || srcH <= 0) {
        Fail("The video stream has no frame size.");
        return false;
    }
    VideoChainSpec spec;
    spec.sourceWidth = srcW;
    spec.sourceHeight = srcH;
    spec.cropTop = o.CropTop;
    spec.cropBottom = o.CropBottom;
    spec.cropLeft = o.CropLeft;
    spec.cropRight = o.CropRight;
    spec.frameSize = o.FrameSize;
    spec.aspectRatio = o.AspectRatio;
    spec.userFilters = o.VideoFilters;
    spec.frameRate = Format("%d/%d", outRate_.num, outRate_.den);
    spec.finalSize = target_.finalFrameSize;
    spec.pixelFormat = av_get_pix_fmt_name(encFormat);
    lane.chain = BuildVideoChain(spec, error);
    if (lane.chain.empty()) {
        Fail(error);
        return false;
    }
    const AVPixelFormat graphIn = hookActive_ ? AV_PIX_FMT_BGR24 : srcFormat;
    const AVRational sar = av_guess_sample_aspect_ratio(ic_.get(), lane.inStream, nullptr);
    if (!lane.graph.ConfigureVideo(lane.chain, srcW, srcH, graphIn, lane.inStream->time_base, sar, srcRate, error)) {
        Fail(error);
        return false;
    }
    int outW = av_buffersink_get_w(lane.graph.Sink()), outH = av_buffersink_get_h(lane.graph.Sink());
    const AVPixFmtDescriptor* desc = av_pix_fmt_desc_get(encFormat);
    const int evenW = desc ? (1 << desc->log2_chroma_w) : 1, evenH = desc ? (1 << desc->log2_chroma_h) : 1;
    if (outW % evenW || outH % evenH) {
        // Subsampled chroma needs even sizes; drop the odd last column or row.
        spec.finalSize = Format("%dx%d", outW - outW % evenW, outH - outH % evenH);
        lane.chain = BuildVideoChain(spec, error);
        if (lane.chain.empty() ||
            !lane.graph.ConfigureVideo(lane.chain, srcW, srcH, graphIn, lane.inStream->time_base, sar, srcRate, error)) {
            Fail(error);
            return false;
        }
        outW = av_buffersink_get_w(lane.graph.Sink());
        outH = av_buffersink_get_h(lane.graph.Sink());
    }

    lane.enc.reset(avcodec_alloc_context3(codec));
    AVCodecContext* enc = lane.enc.get();
    enc->width = outW;
    enc->height = outH;
    enc->pix_fmt = AVPixelFormat(av_buffersink_get_format(lane.graph.Sink()));
    enc->sample_aspect_ratio = av_buffersink_get_sample_aspect_ratio(lane.graph.Sink());
    enc->time_base = av_inv_q(outRate_);
    enc->framerate = outRate_;
    enc->thread_count = 0;
    if (o.VideoBitRate > 0) enc->bit_rate = o.VideoBitRate;
    if (o.GopSize > 0) enc->gop_size = o.GopSize;
    const int maxRate = o.MaxRate > 0 ? o.MaxRate : device.maxRate;
    const int bufSize = o.BufferSize > 0 ? o.BufferSize : device.bufferSize;
    if (maxRate > 0) enc->rc_max_rate = maxRate;
    if (o.MinRate > 0) enc->rc_min_rate = o.MinRate;
    if (bufSize > 0) enc->rc_buffer_size = bufSize;
    if (o.BitRateTolerance > 0) enc->bit_rate_tolerance = o.BitRateTolerance;
    if (o.VideoTag.size() == 4)
        enc->codec_tag = MKTAG(o.VideoTag[0], o.VideoTag[1], o.VideoTag[2], o.VideoTag[3]);
    if (oc_->oformat->flags & AVFMT_GLOBALHEADER) enc->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    if (codec->capabilities & AV_CODEC_CAP_EXPERIMENTAL) enc->strict_std_compliance = FF_COMPLIANCE_EXPERIMENTAL;
    if (device.known) {
        if (!device.profile.empty()) av_opt_set(enc->priv_data, "profile", device.profile.c_str(), 0);
        if (!device.level.empty()) av_opt_set(enc->priv_data, "level", device.level.c_str(), 0);
        if (!device.x264Params.empty()) av_opt_set(enc->priv_data, "x264-params", device.x264Params.c_str(), 0);
    }
    if (target_.scanOffset) av_opt_set_int(enc->priv_data, "scan_offset", 1, 0);

    OptionList extra = ParseOptionLines(o.ExtraOptions);
    TakeOption(extra, "vn");
    TakeOption(extra, "an");
    TakeOption(extra, "sn");
    SetOptions(enc, extra);
    int rc = avcodec_open2(enc, codec, nullptr);
    if (rc < 0) {
        Fail(Format("Cannot open the %s encoder at %dx%d: %s", codec->name, outW, outH, AvErrorText(rc).c_str()));
        return false;
    }
    lane.outStream = avformat_new_stream(oc_, nullptr);
    if (!lane.outStream || avcodec_parameters_from_context(lane.outStream->codecpar, enc) < 0) {
        Fail("Cannot add the video stream.");
        return false;
    }
    lane.outStream->time_base = enc->time_base;
    lane.outStream->avg_frame_rate = outRate_;
    lane.outStream->sample_aspect_ratio = enc->sample_aspect_ratio;
    if (!o.VideoLanguage.empty()) av_dict_set(&lane.outStream->metadata, "language", o.VideoLanguage.c_str(), 0);
    return true;
}

bool Job::SetUpAudio()
{
    const TOutputOptions& o = target_.options;
    Lane& lane = audio_;
    lane.inStream = ic_->streams[lane.inIndex];
    std::string error;
    lane.dec = OpenDecoder(lane.inStream, error);
    if (!lane.dec) {
        Fail(error);
        return false;
    }
    std::string note;
    const AVCodec* codec = ChooseEncoder(o.AudioCodec, AVMEDIA_TYPE_AUDIO, oc_->oformat, note);
    Note(note);
    if (!codec) {
        useAudio_ = false;
        return true;
    }
    const AVCodecContext* dec = lane.dec.get();
    int rate = o.AudioSampleRate > 0 ? o.AudioSampleRate : dec->sample_rate;
    if (codec->supported_samplerates) {
        int best = codec->supported_samplerates[0];
        for (const int* r = codec->supported_samplerates; *r; ++r)
            if (std::abs(*r - rate) < std::abs(best - rate)) best = *r;
        rate = best;
    }
    int channels = o.AudioChannels > 0 ? o.AudioChannels : dec->ch_layout.nb_channels;
    if (channels <= 0) channels = 2;
    AVChannelLayout layout{};
    av_channel_layout_default(&layout, channels);
    if (codec->ch_layouts && codec->ch_layouts[0].nb_channels) {
        const AVChannelLayout* pick = nullptr;
        for (const AVChannelLayout* l = codec->ch_layouts; l->nb_channels; ++l)
            if (l->nb_channels == channels) { pick = l; break; }
        if (!pick)
            for (const AVChannelLayout* l = codec->ch_layouts; l->nb_channels; ++l)
                if (l->nb_channels < channels && (!pick || l->nb_channels > pick->nb_channels)) pick = l;
        if (!pick) pick = codec->ch_layouts;
        av_channel_layout_copy(&layout, pick);
    }
    AVSampleFormat fmt = dec->sample_fmt;
    if (codec->sample_fmts) {
        bool found = false;
        for (const AVSampleFormat* f = codec->sample_fmts; *f != AV_SAMPLE_FMT_NONE; ++f) found |= *f == fmt;
        if (!found) fmt = codec->sample_fmts[0];
    }

    lane.enc.reset(avcodec_alloc_context3(codec));
    AVCodecContext* enc = lane.enc.get();
    enc->sample_rate = rate;
    av_channel_layout_copy(&enc->ch_layout, &layout);
    enc->sample_fmt = fmt;
    enc->time_base = AVRational{1, rate};
    enc->thread_count = 0;
    if (o.AudioBitRate > 0) enc->bit_rate = o.AudioBitRate;
    if (o.AudioBitRateTolerance > 0) enc->bit_rate_tolerance = o.AudioBitRateTolerance;
    if (o.AudioTag.size() == 4)
        enc->codec_tag = MKTAG(o.AudioTag[0], o.AudioTag[1], o.AudioTag[2], o.AudioTag[3]);
    if (oc_->oformat->flags & AVFMT_GLOBALHEADER) enc->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    if (codec->capabilities & AV_CODEC_CAP_EXPERIMENTAL) enc->strict_std_compliance = FF_COMPLIANCE_EXPERIMENTAL;
    OptionList extra = ParseOptionLines(o.ExtraOptions);
    TakeOption(extra, "vn");
    TakeOption(extra, "an");
    TakeOption(extra, "sn");
    SetOptions(enc, extra);
    int rc = avcodec_open2(enc, codec, nullptr);
    if (rc < 0) {
        av_channel_layout_uninit(&layout);
        Fail(Format("Cannot open the %s encoder: %s", codec->name, AvErrorText(rc).c_str()));
        return false;
    }
    sinkFrameSize_ = (codec->capabilities & AV_CODEC_CAP_VARIABLE_FRAME_SIZE) ? 0 : enc->frame_size;

    AudioChainSpec spec;
    spec.volume = o.Volume;
    spec.sampleRate = rate;
    spec.sampleFormat = av_get_sample_fmt_name(fmt);
    char text[128] = {};
    av_channel_layout_describe(&layout, text, sizeof text);
    spec.channelLayout = text;
    av_channel_layout_uninit(&layout);
    lane.chain = BuildAudioChain(spec);
    if (!lane.graph.ConfigureAudio(lane.chain, dec->sample_rate, dec->sample_fmt, dec->ch_layout,
                                   AVRational{1, dec->sample_rate}, sinkFrameSize_, error)) {
        Fail(error);
        return false;
    }
    lane.outStream = avformat_new_stream(oc_, nullptr);
    if (!lane.outStream || avcodec_parameters_from_context(lane.outStream->codecpar, enc) < 0) {
        Fail("Cannot add the audio stream.");
        return false;
    }
    lane.outStream->time_base = enc->time_base;
    if (!o.AudioLanguage.empty()) av_dict_set(&lane.outStream->metadata, "language", o.AudioLanguage.c_str(), 0);
    return true;
}

bool Job::StartThreads()
{
    if (useVideo_) {
        videoIn_ = std::make_unique<FrameQueue>(4);
        videoOut_ = std::make_unique<FrameQueue>(4);
    }
    if (useAudio_) audioIn_ = std::make_unique<FrameQueue>(32);
    ctl_.SetStopHandler([this] { AbortQueues(); });
    try {
        if (useVideo_) {
            threads_.emplace_back([this] { VideoFilterThread(); });
            threads_.emplace_back([this] { VideoEncodeThread(); });
        }
        if (useAudio_) threads_.emplace_back([this] { AudioThread(); });
    } catch (const std::exception& e) {
        Fail(std::string("Cannot start the conversion threads: ") + e.what());
        return false;
    }
    return true;
}

void Job::ReadLoop()
{
    PacketPtr pkt = MakePacket();
    while (!Aborted()) {
        if (!ctl_.WaitWhilePaused()) break;
        if ((!useVideo_ || video_.done) && (!useAudio_ || audio_.done)) break;
        const int rc = av_read_frame(ic_.get(), pkt.get());
        if (rc == AVERROR(EAGAIN)) continue;
        if (rc < 0) {
            if (rc != AVERROR_EOF) Note("The source ends early: " + AvErrorText(rc) + "; converted what could be read.");
            break;
        }
        if (useVideo_ && pkt->stream_index == video_.inIndex && !video_.done) DecodePacket(video_, pkt.get());
        else if (useAudio_ && pkt->stream_index == audio_.inIndex && !audio_.done) DecodePacket(audio_, pkt.get());
        av_packet_unref(pkt.get());
    }
}

void Job::DecodePacket(Lane& lane, const AVPacket* pkt)
{
    const int sent = avcodec_send_packet(lane.dec.get(), pkt);
    if (sent < 0 && sent != AVERROR_EOF && pkt) return; // a damaged packet: skip it as players do
    while (!Aborted()) {
        FramePtr frame = MakeFrame();
        const int rc = avcodec_receive_frame(lane.dec.get(), frame.get());
        if (rc < 0) break;
        if (&lane == &video_) HandleVideoFrame(std::move(frame));
        else HandleAudioFrame(std::move(frame));
    }
}

void Job::HandleVideoFrame(FramePtr frame)
{
    Lane& lane = video_;
    const AVRational tb = lane.inStream->time_base;
    int64_t ts = frame->best_effort_timestamp;
    if (ts == AV_NOPTS_VALUE) {
        const int64_t step = std::max<int64_t>(1, av_rescale_q(1, av_inv_q(outRate_), tb));
        ts = lane.lastPts == AV_NOPTS_VALUE ? av_rescale_q(inputOffset_, kMicroseconds, tb) : lane.lastPts + step;
    }
    lane.lastPts = ts;
    const int64_t rel = ts - av_rescale_q(inputOffset_, kMicroseconds, tb);
    const int64_t relUs = av_rescale_q(rel, tb, kMicroseconds);
    if (relUs < 0) return;
    if (limitUs_ >= 0 && relUs >= limitUs_) {
        lane.done = true;
        return;
    }
    frame->pts = rel;
    frame->pict_type = AV_PICTURE_TYPE_NONE;

    if (hookActive_) {
        FramePtr bgr = hookConverter_.Convert(frame.get());
        if (!bgr) {
            Fail("Cannot convert a frame for the frame hook.");
            return;
        }
        bgr->pts = rel;
        Bitmap24 view(bgr->data[0], bgr->width, bgr->height, bgr->linesize[0]);
        THookInfo info;
        info.TaskIndex = cb_.taskIndex;
        info.Bitmap = &view;
        info.FrameNumber = frameNumber_++;
        info.PTS = relUs;
        bool keep = true;
        try {
            cb_.hook(info);
            keep = info.Update;
        } catch (const std::exception& e) {
            keep = false;
            if (cb_.log) cb_.log(std::string("Error occurs OnCustomHook: ") + e.what());
        } catch (...) {
            keep = false;
            if (cb_.log) cb_.log("Error occurs OnCustomHook: unknown error");
        }
        if (!keep) { // the hook's drawing is not wanted: encode the frame as decoded
            bgr = hookConverter_.Convert(frame.get());
            if (!bgr) {
                Fail("Cannot convert a frame for the frame hook.");
                return;
            }
            bgr->pts = rel;
        }
        if (info.StopHook) hookActive_ = false; // later frames go to the graph in their own format
        frame = std::move(bgr);
    }
    if (!videoIn_->Push(std::move(frame))) return;
}

void Job::HandleAudioFrame(FramePtr frame)
{
    Lane& lane = audio_;
    const int sr = frame->sample_rate > 0 ? frame->sample_rate : lane.dec->sample_rate;
    const AVRational stb{1, sr};
    int64_t ts = frame->best_effort_timestamp;
    if (ts != AV_NOPTS_VALUE) ts = av_rescale_q(ts, lane.inStream->time_base, stb);
    if (ts == AV_NOPTS_VALUE)
        ts = lane.lastPts == AV_NOPTS_VALUE ? av_rescale_q(inputOffset_, kMicroseconds, stb) : lane.lastPts;
    lane.lastPts = ts + frame->nb_samples;
    int64_t rel = ts - av_rescale_q(inputOffset_, kMicroseconds, stb);
    if (rel + frame->nb_samples <= 0) return;
    if (rel < 0) { // the wanted range starts inside this frame: keep its tail
        const int skip = int(-rel);
        FramePtr tail = MakeFrame();
        tail->format = frame->format;
        tail->sample_rate = frame->sample_rate;
        av_channel_layout_copy(&tail->ch_layout, &frame->ch_layout);
        tail->nb_samples = frame->nb_samples - skip;
        if (av_frame_get_buffer(tail.get(), 0) < 0) {
            Fail("Out of memory");
            return;
        }
        av_samples_copy(tail->extended_data, frame->extended_data, 0, skip, tail->nb_samples,
                        frame->ch_layout.nb_channels, AVSampleFormat(frame->format));
        frame = std::move(tail);
        rel = 0;
    }
    if (limitUs_ >= 0) {
        const int64_t limit = av_rescale_q(limitUs_, kMicroseconds, stb);
        if (rel >= limit) {
            lane.done = true;
            return;
        }
        if (rel + frame->nb_samples > limit) {
            frame->nb_samples = int(limit - rel);
            lane.done = true;
        }
    }
    frame->pts = rel;
    frame->time_base = stb;
    audioIn_->Push(std::move(frame));
}

void Job::FinishInput()
{
    if (!Aborted()) {
        if (useVideo_ && !video_.done) DecodePacket(video_, nullptr);
        if (useAudio_ && !audio_.done) DecodePacket(audio_, nullptr);
    }
    if (videoIn_) videoIn_->Close();
    if (audioIn_) audioIn_->Close();
}

void Job::VideoFilterThread()
{
    if (cb_.threadStart) cb_.threadStart();
    FramePtr frame;
    while (videoIn_->Pop(frame)) {
        if (!ctl_.WaitWhilePaused()) return;
        if (!FilterVideo(frame.get())) return;
    }
    if (Aborted()) return;
    if (FilterVideo(nullptr)) videoOut_->Close();
}

// Sends one frame (nullptr at the end) through the video graph and passes what
// comes out to the encoder stage.
bool Job::FilterVideo(AVFrame* frame)
{
    Lane& lane = video_;
    if (frame && (frame->width != lane.graph.InputWidth() || frame->height != lane.graph.InputHeight() ||
                  frame->format != lane.graph.InputFormat())) {
        // The stream changed size or format (or the hook was switched off):
        // rebuild the graph, keeping the size the encoder was opened with.
        std::string chain = lane.chain + Format(",scale=%d:%d,format=%s", lane.enc->width, lane.enc->height,
                                                av_get_pix_fmt_name(lane.enc->pix_fmt));
        // Drain what the old graph still holds.
        lane.graph.Push(nullptr);
        for (;;) {
            FramePtr out = MakeFrame();
            if (lane.graph.Pull(out.get()) < 0) break;
            if (!videoOut_->Push(std::move(out))) return false;
        }
        std::string error;
        const AVRational sar = frame->sample_aspect_ratio.num > 0 ? frame->sample_aspect_ratio : AVRational{1, 1};
        if (!lane.graph.ConfigureVideo(chain, frame->width, frame->height, frame->format, lane.inStream->time_base,
                                       sar, outRate_, error)) {
            Fail(error);
            return false;
        }
    }
    int rc = lane.graph.Push(frame);
    if (rc < 0 && frame) {
        Fail("Video filtering failed: " + AvErrorText(rc));
        return false;
    }
    for (;;) {
        FramePtr out = MakeFrame();
        rc = lane.graph.Pull(out.get());
        if (rc == AVERROR(EAGAIN) || rc == AVERROR_EOF) return true;
        if (rc < 0) {
            Fail("Video filtering failed: " + AvErrorText(rc));
            return false;
        }
        out->time_base = av_buffersink_get_time_base(lane.graph.Sink());
        if (!videoOut_->Push(std::move(out))) return false;
    }
}

void Job::VideoEncodeThread()
{
    if (cb_.threadStart) cb_.threadStart();
    FramePtr frame;
    while (videoOut_->Pop(frame)) {
        if (!ctl_.WaitWhilePaused()) return;
        if (frame->pts != AV_NOPTS_VALUE) frame->pts = av_rescale_q(frame->pts, frame->time_base, video_.enc->time_base);
        frame->pict_type = AV_PICTURE_TYPE_NONE;
        if (cb_.wantPreview && previewDue_.exchange(false) && cb_.preview) {
            if (auto bitmap = ToBitmap(previewConverter_, frame.get()))
                cb_.preview(std::move(bitmap), av_rescale_q(frame->pts, video_.enc->time_base, kMicroseconds));
        }
        if (!EncodeFrame(video_, frame.get())) return;
    }
    if (!Aborted()) EncodeFrame(video_, nullptr);
}

void Job::AudioThread()
{
    if (cb_.threadStart) cb_.threadStart();
    Lane& lane = audio_;
    FramePtr frame;
    const auto drain = [&]() -> bool {
        for (;;) {
            FramePtr out = MakeFrame();
            const int rc = lane.graph.Pull(out.get());
            if (rc == AVERROR(EAGAIN) || rc == AVERROR_EOF) return true;
            if (rc < 0) {
                Fail("Audio filtering failed: " + AvErrorText(rc));
                return false;
            }
            const AVRational tb = av_buffersink_get_time_base(lane.graph.Sink());
            if (out->pts != AV_NOPTS_VALUE) out->pts = av_rescale_q(out->pts, tb, lane.enc->time_base);
            if (!EncodeFrame(lane, out.get())) return false;
        }
    };
    while (audioIn_->Pop(frame)) {
        if (!ctl_.WaitWhilePaused()) return;
        if (frame->format != lane.graph.InputFormat() || frame->sample_rate != lane.graph.InputSampleRate() ||
            frame->ch_layout.nb_channels != lane.graph.InputChannels()) {
            std::string error;
            lane.graph.Push(nullptr);
            if (!drain()) return;
            if (!lane.graph.ConfigureAudio(lane.chain, frame->sample_rate, frame->format, frame->ch_layout,
                                           AVRational{1, frame->sample_rate}, sinkFrameSize_, error)) {
                Fail(error);
                return;
            }
        }
        const int rc = lane.graph.Push(frame.get());
        if (rc < 0) {
            Fail("Audio filtering failed: " + AvErrorText(rc));
            return;
        }
        if (!drain()) return;
    }
    if (Aborted()) return;
    lane.graph.Push(nullptr);
    if (drain()) EncodeFrame(lane, nullptr);
}

bool Job::EncodeFrame(Lane& lane, AVFrame* frame)
{
    int rc = avcodec_send_frame(lane.enc.get(), frame);
    if (rc < 0 && rc != AVERROR_EOF) {
        Fail(Format("Encoding failed (%s): %s", lane.enc->codec->name, AvErrorText(rc).c_str()));
        return false;
    }
    PacketPtr pkt = MakePacket();
    for (;;) {
        rc = avcodec_receive_packet(lane.enc.get(), pkt.get());
        if (rc == AVERROR(EAGAIN) || rc == AVERROR_EOF) return true;
        if (rc < 0) {
            Fail(Format("Encoding failed (%s): %s", lane.enc->codec->name, AvErrorText(rc).c_str()));
            return false;
        }
        if (!Mux(lane, pkt.get())) return false;
    }
}

bool Job::Mux(Lane& lane, AVPacket* pkt)
{
    std::lock_guard lock(muxMutex_);
    if (Failed()) return false;
    pkt->stream_index = lane.outStream->index;
    av_packet_rescale_ts(pkt, lane.enc->time_base, lane.outStream->time_base);
    if (pkt->pts != AV_NOPTS_VALUE)
        positionUs_ = std::max(positionUs_, av_rescale_q(pkt->pts, lane.outStream->time_base, kMicroseconds));
    const int rc = av_interleaved_write_frame(oc_, pkt);
    if (rc < 0) {
        const std::string text = AvErrorText(rc);
        failed_ = true;
        std::lock_guard noteLock(noteMutex_);
        if (error_.empty()) error_ = "Writing the output failed: " + text;
        return false;
    }
    MaybeReportProgress(false);
    return true;
}

// Called with the mux lock held.
void Job::MaybeReportProgress(bool force)
{
    const auto now = std::chrono::steady_clock::now();
    if (!force && now - lastProgress_ < std::chrono::milliseconds(std::max(100, cb_.progressIntervalMs))) return;
    lastProgress_ = now;
    previewDue_ = true;
    if (!cb_.progress) return;
    TProgressInfo info;
    info.TaskIndex = cb_.taskIndex;
    info.CurrentSize = oc_->pb ? avio_tell(oc_->pb) : 0;
    info.CurrentDuration = positionUs_;
    info.TotalDuration = totalUs_;
    cb_.progress(info);
}

bool Job::Finish()
{
    for (auto& t : threads_)
        if (t.joinable()) t.join();
    threads_.clear();
    if (Aborted()) return false;
    std::lock_guard lock(muxMutex_);
    int rc = av_write_trailer(oc_);
    if (rc >= 0 && oc_->pb) {
        avio_flush(oc_->pb);
        rc = oc_->pb->error;
    }
    MaybeReportProgress(true);
    if (oc_->pb && !(oc_->oformat->flags & AVFMT_NOFILE)) {
        const int closed = avio_closep(&oc_->pb);
        if (rc >= 0) rc = closed;
    }
    if (rc < 0) {
        Fail("Writing the output failed: " + AvErrorText(rc));
        return false;
    }
    return true;
}

TaskResult Job::Run()
{
    TaskResult result;
    if (OpenInput() && OpenOutput() && StartThreads()) {
        ReadLoop();
        FinishInput();
        if (Finish()) {
            QString finalPath, error;
            if (MoveIntoPlace(tempPath_, destination_, finalPath, error)) {
                tempPath_.clear();
                result.finished = true;
                result.outputPath = finalPath;
                if (finalPath != destination_) Note("Saved as " + finalPath.toStdString() + " because the name was taken.");
            } else {
                Fail(error.toStdString());
            }
        }
    }
    for (auto& t : threads_)
        if (t.joinable()) t.join();
    std::lock_guard lock(noteMutex_);
    if (!result.finished) {
        if (ctl_.StopRequested() && !failed_) {
            result.message = "Stopped.";
        } else {
            result.exception = true;
            result.message = error_.empty() ? "Conversion failed." : error_;
        }
    }
    for (const auto& n : notes_) result.message += (result.message.empty() ? "" : " ") + n;
    return result;
}

} // namespace

TaskResult RunTask(const TInputOptions& input, const TOutputOptions& output, TaskCallbacks& callbacks,
                   TaskControl& control)
{
    Job job(input, output, callbacks, control);
    return job.Run();
}

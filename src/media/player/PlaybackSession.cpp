#include "media/player/PlaybackSession.h"

extern "C" {
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}

#include <algorithm>
#include <chrono>
#include <vector>

namespace {

constexpr AVRational kMicroseconds{1, 1000000};
constexpr int64_t kNoTarget = INT64_MIN;
// The demuxer stops reading ahead once both queues hold this many packets (or
// their bytes pass the cap): about two seconds of any ordinary file.
constexpr size_t kEnoughPackets = 60;
constexpr int64_t kMaxQueuedBytes = 16 * 1024 * 1024;

bool IsRealVideo(const AVStream* st)
{
    return st->codecpar->codec_type == AVMEDIA_TYPE_VIDEO && !(st->disposition & AV_DISPOSITION_ATTACHED_PIC);
}

CodecContextPtr OpenDecoder(AVStream* stream)
{
    const AVCodec* codec = avcodec_find_decoder(stream->codecpar->codec_id);
    if (!codec) return {};
    CodecContextPtr ctx(avcodec_alloc_context3(codec));
    if (!ctx || avcodec_parameters_to_context(ctx.get(), stream->codecpar) < 0) return {};
    ctx->pkt_timebase = stream->time_base;
    // A couple of threads keep large pictures on time without starving the
    // other players that may run beside this one.
    ctx->thread_count = 2;
    if (avcodec_open2(ctx.get(), codec, nullptr) < 0) return {};
    return ctx;
}

} // namespace

std::unique_ptr<PlaybackSession> PlaybackSession::Open(const QString& fileName, QString& error)
{
    std::unique_ptr<PlaybackSession> session(new PlaybackSession);
    if (!session->OpenFile(fileName, error)) return {};
    return session;
}

bool PlaybackSession::OpenFile(const QString& fileName, QString& error)
{
    const std::string path = ToFfmpegPath(fileName);
    AVFormatContext* ctx = nullptr;
    int rc = avformat_open_input(&ctx, path.c_str(), nullptr, nullptr);
    if (rc < 0) {
        error = QString::fromStdString(Format("%s: %s", path.c_str(), AvErrorText(rc).c_str()));
        return false;
    }
    format_.reset(ctx);
    rc = avformat_find_stream_info(ctx, nullptr);
    if (rc < 0) {
        error = QString::fromStdString(Format("%s: %s", path.c_str(), AvErrorText(rc).c_str()));
        return false;
    }
    const int video = av_find_best_stream(ctx, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
    if (video >= 0 && IsRealVideo(ctx->streams[video]) && ctx->streams[video]->codecpar->width > 0) {
        videoCodec_ = OpenDecoder(ctx->streams[video]);
        if (videoCodec_) videoIndex_ = video;
    }
    const int audio = av_find_best_stream(ctx, AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0);
    if (audio >= 0 && ctx->streams[audio]->codecpar->sample_rate > 0) {
        audioCodec_ = OpenDecoder(ctx->streams[audio]);
        if (audioCodec_) audioIndex_ = audio;
    }
    if (videoIndex_ < 0 && audioIndex_ < 0) {
        error = QString::fromStdString(Format("%s: no stream that can be played", path.c_str()));
        return false;
    }
    for (unsigned i = 0; i < ctx->nb_streams; ++i)
        if (int(i) != videoIndex_ && int(i) != audioIndex_) ctx->streams[i]->discard = AVDISCARD_ALL;

    startTime_ = ctx->start_time == AV_NOPTS_VALUE ? 0 : ctx->start_time;
    duration_ = ctx->duration == AV_NOPTS_VALUE || ctx->duration < 0 ? 0 : ctx->duration;
    if (videoIndex_ >= 0) {
        const AVRational rate = av_guess_frame_rate(ctx, ctx->streams[videoIndex_], nullptr);
        if (rate.num > 0 && rate.den > 0) frameDuration_ = av_rescale(1000000, rate.den, rate.num);
    }
    return true;
}

PlaybackSession::~PlaybackSession()
{
    RequestStop();
    Join();
    sws_freeContext(toBgr_);
    sws_freeContext(toScreen_);
}

int PlaybackSession::FrameWidth() const { return videoCodec_ ? videoCodec_->width : -1; }
int PlaybackSession::FrameHeight() const { return videoCodec_ ? videoCodec_->height : -1; }

void PlaybackSession::Start(QSize screen, std::shared_ptr<ScreenImage> screenImage, Callbacks callbacks, int volume,
                            bool mute)
{
    screen_ = screen;
    screenImage_ = std::move(screenImage);
    callbacks_ = std::move(callbacks);
    auto wakeReader = [this] { cv_.notify_all(); };
    videoPackets_.SetOnPop(wakeReader);
    audioPackets_.SetOnPop(wakeReader);
    if (HasAudio()) {
        audio_ = std::make_unique<AudioOutput>(clock_);
        audio_->SetVolume(volume);
        audio_->SetMute(mute);
        audio_->onDrained = [this](int serial, int64_t endPts) { MarkDone(false, serial, endPts); };
        audio_->Open(audioCodec_->sample_rate, audioCodec_->ch_layout.nb_channels);
        audioThread_ = std::thread([this] { AudioLoop(); });
    }
    if (HasVideo()) videoThread_ = std::thread([this] { VideoLoop(); });
    readThread_ = std::thread([this] { ReadLoop(); });
}

bool PlaybackSession::WaitFirstPicture(int timeoutMs)
{
    if (!HasVideo()) return true;
    std::unique_lock lock(mutex_);
    return cv_.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                        [this] { return stop_ || firstPicture_ || videoDoneSerial_ >= 0; });
}

void PlaybackSession::SetPaused(bool paused)
{
    {
        std::lock_guard lock(mutex_);
        paused_ = paused;
        clock_.SetPaused(paused);
    }
    if (audio_) audio_->SetPaused(paused);
    cv_.notify_all();
}

bool PlaybackSession::Paused() const
{
    std::lock_guard lock(mutex_);
    return paused_;
}

int PlaybackSession::Seek(int64_t target)
{
    int serial = 0;
    {
        std::lock_guard lock(mutex_);
        serial = requestedSerial_.load() + 1;
        requestedSerial_ = serial;
        seekPending_ = true;
        seekTarget_ = target;
    }
    // Wake a decoder that may be blocked handing over stale samples.
    if (audio_) audio_->Flush(serial);
    cv_.notify_all();
    return serial;
}

bool PlaybackSession::WaitSeek(int serial, int timeoutMs)
{
    std::unique_lock lock(mutex_);
    return cv_.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] {
        return stop_ || requestedSerial_.load() != serial || landedSerial_ >= serial || endedSerial_ == serial;
    });
}

void PlaybackSession::SetVolume(int volume)
{
    if (audio_) audio_->SetVolume(volume);
}

void PlaybackSession::SetMute(bool mute)
{
    if (audio_) audio_->SetMute(mute);
}

Bitmap24 PlaybackSession::CurrentPicture() const
{
    std::lock_guard lock(pictureMutex_);
    return current_;
}

int64_t PlaybackSession::CurrentPosition() const
{
    if (HasVideo()) {
        std::lock_guard lock(pictureMutex_);
        return currentPts_;
    }
    {
        std::lock_guard lock(mutex_);
        if (endedSerial_ == requestedSerial_.load() && endPosition_ >= 0) return endPosition_;
    }
    const int64_t now = clock_.Get();
    if (now == PlayClock::kInvalid) return -1;
    return std::clamp<int64_t>(now, 0, duration_ > 0 ? duration_ : INT64_MAX);
}

bool PlaybackSession::Ended() const
{
    std::lock_guard lock(mutex_);
    return endedSerial_ == requestedSerial_.load();
}

void PlaybackSession::RequestStop()
{
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
    }
    videoPackets_.Abort();
    audioPackets_.Abort();
    if (audio_) audio_->Abort();
    cv_.notify_all();
}

void PlaybackSession::CloseAudio()
{
    if (audio_) audio_->Close();
}

void PlaybackSession::Join()
{
    // The device's callback reads the sample queue: stop it before anything goes.
    if (audio_) audio_->Close();
    if (readThread_.joinable()) readThread_.join();
    if (videoThread_.joinable()) videoThread_.join();
    if (audioThread_.joinable()) audioThread_.join();
}

// ---------------------------------------------------------------- demuxing

bool PlaybackSession::QueuesFull() const
{
    if (videoPackets_.Bytes() + audioPackets_.Bytes() > kMaxQueuedBytes) return true;
    return (!HasVideo() || videoPackets_.Count() >= kEnoughPackets) &&
           (!HasAudio() || audioPackets_.Count() >= kEnoughPackets);
}

bool PlaybackSession::SeekLandsBefore(int64_t ts, int64_t limit, std::vector<PacketPtr>& peeked)
{
    peeked.clear();
    if (avformat_seek_file(format_.get(), -1, INT64_MIN, ts, ts, 0) < 0) return false;
    // Read up to the first picture: it must be a key frame at or before the
    // target, or the decoder would start late (or on garbage). Some demuxers
    // (FLV without an index) land past the last key frame or at the very end.
    for (size_t n = 0; n < 500; ++n) {
        PacketPtr packet = MakePacket();
        if (av_read_frame(format_.get(), packet.get()) < 0) return false;
        const int index = packet->stream_index;
        if (index != videoIndex_ && index != audioIndex_) continue;
        const AVStream* st = format_->streams[index];
        const int64_t t = packet->pts != AV_NOPTS_VALUE ? packet->pts : packet->dts;
        const bool early = t == AV_NOPTS_VALUE || av_rescale_q(t, st->time_base, kMicroseconds) <= limit;
        if (!HasVideo() || index == videoIndex_) {
            const bool good = early && (index != videoIndex_ || (packet->flags & AV_PKT_FLAG_KEY));
            peeked.push_back(std::move(packet));
            return good;
        }
        peeked.push_back(std::move(packet));
    }
    return false;
}

void PlaybackSession::DoSeek(int serial, int64_t target)
{
    // Land on the key frame at or before the target; the decoders then drop
    // what lies before it, so the picture shown is the one at the target.
    // When the demuxer cannot find one, step back further, down to the start.
    const int64_t ts = target + startTime_;
    std::vector<PacketPtr> peeked;
    bool landed = false;
    for (int64_t back = 0; !landed; back = back ? back * 2 : 1000000) {
        const int64_t from = std::max(startTime_, ts - back);
        landed = SeekLandsBefore(from, ts, peeked);
        if (from == startTime_) break;
    }
    if (!landed) {
        peeked.clear();
        av_seek_frame(format_.get(), -1, 0, AVSEEK_FLAG_BYTE);
    }

    clock_.NewEpoch(serial);
    if (!HasVideo()) clock_.Set(target, serial);
    if (audio_) audio_->Flush(serial);
    videoPackets_.Flush(serial, target);
    audioPackets_.Flush(serial, target);
    for (PacketPtr& packet : peeked)
        (packet->stream_index == videoIndex_ ? videoPackets_ : audioPackets_).Push(std::move(packet));
    if (!HasVideo()) MarkLanded(serial);
}

void PlaybackSession::ReadLoop()
{
    PacketPtr packet = MakePacket();
    bool eof = false;
    while (!stop_) {
        bool seek = false;
        int serial = 0;
        int64_t target = 0;
        {
            std::unique_lock lock(mutex_);
            if (seekPending_) {
                seek = true;
                seekPending_ = false;
                serial = requestedSerial_.load();
                target = seekTarget_;
            } else if (eof || QueuesFull()) {
                cv_.wait_for(lock, std::chrono::milliseconds(20), [this] { return stop_ || seekPending_; });
                continue;
            }
        }
        if (seek) {
            DoSeek(serial, target);
            eof = false;
            continue;
        }
        const int rc = av_read_frame(format_.get(), packet.get());
        if (rc == AVERROR(EAGAIN)) continue;
        if (rc < 0) {
            // The end, or a read error that ends the file early (a cut-off
            // download): either way the decoders drain what they hold.
            if (HasVideo()) videoPackets_.Push(nullptr);
            if (HasAudio()) audioPackets_.Push(nullptr);
            eof = true;
            continue;
        }
        if (packet->stream_index == videoIndex_ || packet->stream_index == audioIndex_) {
            PacketPtr copy = MakePacket();
            av_packet_move_ref(copy.get(), packet.get());
            (copy->stream_index == videoIndex_ ? videoPackets_ : audioPackets_).Push(std::move(copy));
        } else {
            av_packet_unref(packet.get());
        }
    }
}

// ---------------------------------------------------------------- video

int64_t PlaybackSession::FramePts(const AVFrame* frame, AVStream* stream) const
{
    const int64_t ts = frame->best_effort_timestamp;
    if (ts == AV_NOPTS_VALUE) return PlayClock::kInvalid;
    return av_rescale_q(ts, stream->time_base, kMicroseconds) - startTime_;
}

void PlaybackSession::VideoLoop()
{
    AVStream* stream = format_->streams[videoIndex_];
    FramePtr frame = MakeFrame();
    FramePtr held;
    int serial = -1;
    int64_t target = kNoTarget;
    bool first = true;
    int64_t lastPts = -1;
    PacketQueue::Item item;
    while (videoPackets_.Pop(item)) {
        if (item.serial != serial) {
            avcodec_flush_buffers(videoCodec_.get());
            serial = item.serial;
            target = item.seekTarget;
            first = true;
            lastPts = -1;
            held.reset();
        }
        if (Stale(serial)) continue;
        avcodec_send_packet(videoCodec_.get(), item.packet.get());
        for (;;) {
            const int rc = avcodec_receive_frame(videoCodec_.get(), frame.get());
            if (rc == AVERROR_EOF) {
                // A seek past the last picture shows the last picture; so does
                // an end reached while catching up.
                if (held && !Stale(serial)) {
                    int64_t pts = FramePts(held.get(), stream);
                    if (pts == PlayClock::kInvalid) pts = std::max<int64_t>(0, target - frameDuration_);
                    Present(held.get(), pts, serial, true);
                    lastPts = pts;
                    first = false;
                }
                held.reset();
                if (!Stale(serial)) {
                    const int64_t end = (lastPts >= 0 ? lastPts : 0) + frameDuration_;
                    if (first || WaitUntil(end, serial)) {
                        MarkLanded(serial);
                        MarkDone(true, serial, lastPts);
                    }
                }
                break;
            }
            if (rc < 0) break;
            if (!Stale(serial)) {
                int64_t pts = FramePts(frame.get(), stream);
                if (pts == PlayClock::kInvalid) pts = lastPts >= 0 ? lastPts + frameDuration_ : 0;
                HandleVideoFrame(frame.get(), serial, target, first, held);
                lastPts = std::max(lastPts, pts);
            }
            av_frame_unref(frame.get());
        }
    }
}

void PlaybackSession::HandleVideoFrame(AVFrame* frame, int serial, int64_t& target, bool& first, FramePtr& held)
{
    AVStream* stream = format_->streams[videoIndex_];
    int64_t pts = FramePts(frame, stream);
    if (pts == PlayClock::kInvalid) pts = 0;
    if (target != kNoTarget) {
        if (pts + frameDuration_ <= target) {
            if (!held) held = MakeFrame();
            av_frame_unref(held.get());
            av_frame_move_ref(held.get(), frame);
            return;
        }
        target = kNoTarget;
        held.reset();
    }
    if (!first && !Paused()) {
        // Far behind the clock (a loaded machine): skip the conversion and the
        // hook and catch up, rather than showing every picture late.
        const int64_t now = clock_.Get();
        const int64_t lateLimit = std::max<int64_t>(3 * frameDuration_, 120000);
        if (now != PlayClock::kInvalid && pts + lateLimit < now) {
            // Kept: if it turns out to be the last picture, it is shown at the end.
            if (!held) held = MakeFrame();
            av_frame_unref(held.get());
            av_frame_move_ref(held.get(), frame);
            return;
        }
    }
    held.reset();
    Present(frame, pts, serial, first);
    first = false;
}

bool PlaybackSession::ConvertPicture(AVFrame* frame)
{
    if (pending_.Width() != frame->width || pending_.Height() != frame->height)
        pending_ = Bitmap24(frame->width, frame->height);
    toBgr_ = sws_getCachedContext(toBgr_, frame->width, frame->height, AVPixelFormat(frame->format), frame->width,
                                  frame->height, AV_PIX_FMT_BGR24, SWS_BILINEAR, nullptr, nullptr, nullptr);
    if (!toBgr_ || pending_.Empty()) return false;
    uint8_t* dst[4] = {pending_.Bits(), nullptr, nullptr, nullptr};
    int dstStride[4] = {pending_.Stride(), 0, 0, 0};
    sws_scale(toBgr_, frame->data, frame->linesize, 0, frame->height, dst, dstStride);
    return true;
}

void PlaybackSession::ScaleToScreen()
{
    if (!screenImage_ || screen_.isEmpty() || pending_.Empty()) return;
    if (pendingScreen_.size() != screen_) pendingScreen_ = QImage(screen_, QImage::Format_RGB32);
    toScreen_ = sws_getCachedContext(toScreen_, pending_.Width(), pending_.Height(), AV_PIX_FMT_BGR24, screen_.width(),
                                     screen_.height(), AV_PIX_FMT_BGRA, SWS_BILINEAR, nullptr, nullptr, nullptr);
    if (!toScreen_) return;
    const uint8_t* src[4] = {pending_.Bits(), nullptr, nullptr, nullptr};
    const int srcStride[4] = {pending_.Stride(), 0, 0, 0};
    uint8_t* dst[4] = {pendingScreen_.bits(), nullptr, nullptr, nullptr};
    const int dstStride[4] = {int(pendingScreen_.bytesPerLine()), 0, 0, 0};
    sws_scale(toScreen_, src, srcStride, 0, pending_.Height(), dst, dstStride);
}

void PlaybackSession::Present(AVFrame* frame, int64_t pts, int serial, bool first)
{
    if (!ConvertPicture(frame)) return;
    if (callbacks_.hook && !Stale(serial) && !callbacks_.hook(pending_, pts)) {
        // What a failed handler half-drew is not shown.
        ConvertPicture(frame);
    }
    ScaleToScreen();
    // The first picture of a start or a seek is shown at once, even while
    // paused: it is what the user asked to see.
    if (!first && !WaitUntil(pts, serial)) return;
    if (Stale(serial)) return;
    {
        std::lock_guard lock(pictureMutex_);
        std::swap(current_, pending_);
        currentPts_ = pts;
    }
    if (screenImage_ && !pendingScreen_.isNull()) {
        std::lock_guard lock(screenImage_->mutex);
        std::swap(screenImage_->image, pendingScreen_);
    }
    clock_.Start(pts, serial);
    if (first) MarkLanded(serial);
    if (callbacks_.pictureShown) callbacks_.pictureShown();
}

bool PlaybackSession::WaitUntil(int64_t pts, int serial)
{
    std::unique_lock lock(mutex_);
    for (;;) {
        if (Stale(serial)) return false;
        if (paused_) {
            cv_.wait(lock);
            continue;
        }
        const int64_t now = clock_.Get();
        if (now == PlayClock::kInvalid) return true;
        const int64_t delay = pts - now;
        if (delay <= 1000) return true;
        cv_.wait_for(lock, std::chrono::microseconds(std::min<int64_t>(delay, 20000)));
    }
}

void PlaybackSession::MarkLanded(int serial)
{
    {
        std::lock_guard lock(mutex_);
        landedSerial_ = std::max(landedSerial_, serial);
        firstPicture_ = true;
    }
    cv_.notify_all();
}

void PlaybackSession::MarkDone(bool video, int serial, int64_t endPts)
{
    bool report = false;
    {
        std::lock_guard lock(mutex_);
        if (stop_ || serial != requestedSerial_.load()) return;
        (video ? videoDoneSerial_ : audioDoneSerial_) = serial;
        if ((!HasVideo() || videoDoneSerial_ == serial) && (!HasAudio() || audioDoneSerial_ == serial) &&
            endedSerial_ != serial) {
            endedSerial_ = serial;
            if (!HasVideo()) {
                const int64_t now = clock_.Get();
                endPosition_ = endPts != PlayClock::kInvalid ? endPts : now;
                if (duration_ > 0) endPosition_ = std::min(endPosition_, duration_);
            }
            report = true;
        }
    }
    cv_.notify_all();
    if (report && callbacks_.ended) callbacks_.ended();
}

// ---------------------------------------------------------------- audio

void PlaybackSession::AudioLoop()
{
    AVStream* stream = format_->streams[audioIndex_];
    const int outRate = audio_->SampleRate();
    const int outChannels = audio_->Channels();
    AVChannelLayout outLayout;
    av_channel_layout_default(&outLayout, outChannels);
    SwrContext* swr = nullptr;
    AVChannelLayout inLayout{};
    int inRate = 0;
    int inFormat = -1;
    std::vector<uint8_t> buffer;
    FramePtr frame = MakeFrame();
    int serial = -1;
    int64_t target = kNoTarget;
    int64_t nextPts = 0;
    PacketQueue::Item item;
    while (audioPackets_.Pop(item)) {
        if (item.serial != serial) {
            avcodec_flush_buffers(audioCodec_.get());
            serial = item.serial;
            target = item.seekTarget;
            nextPts = target == kNoTarget ? 0 : target;
            swr_free(&swr); // drop what the resampler holds from before the seek
        }
        if (Stale(serial)) continue;
        avcodec_send_packet(audioCodec_.get(), item.packet.get());
        for (;;) {
            const int rc = avcodec_receive_frame(audioCodec_.get(), frame.get());
            if (rc == AVERROR_EOF) {
                if (!Stale(serial)) audio_->PushEnd(serial);
                break;
            }
            if (rc < 0) break;
            if (Stale(serial) || frame->sample_rate <= 0) {
                av_frame_unref(frame.get());
                continue;
            }
            if (!swr || frame->sample_rate != inRate || frame->format != inFormat ||
                av_channel_layout_compare(&frame->ch_layout, &inLayout) != 0) {
                swr_free(&swr);
                av_channel_layout_uninit(&inLayout);
                av_channel_layout_copy(&inLayout, &frame->ch_layout);
                inRate = frame->sample_rate;
                inFormat = frame->format;
                if (swr_alloc_set_opts2(&swr, &outLayout, AV_SAMPLE_FMT_S16, outRate, &inLayout,
                                        AVSampleFormat(inFormat), inRate, 0, nullptr) < 0 ||
                    swr_init(swr) < 0) {
                    swr_free(&swr);
                    av_frame_unref(frame.get());
                    continue;
                }
            }
            int64_t pts = FramePts(frame.get(), stream);
            if (pts == PlayClock::kInvalid) pts = nextPts;
            nextPts = pts + int64_t(frame->nb_samples) * 1000000 / frame->sample_rate;

            const int capacity = swr_get_out_samples(swr, frame->nb_samples);
            buffer.resize(size_t(std::max(capacity, 0)) * outChannels * 2);
            uint8_t* out[1] = {buffer.data()};
            const int samples = swr_convert(swr, out, capacity, const_cast<const uint8_t**>(frame->extended_data),
                                            frame->nb_samples);
            av_frame_unref(frame.get());
            if (samples <= 0) continue;
            const size_t sampleBytes = size_t(outChannels) * 2;
            size_t skip = 0;
            if (target != kNoTarget) {
                // Sound before the seek target is dropped sample-exactly, so
                // sound and picture start together.
                const int64_t skipUs = target - pts;
                if (skipUs > 0) skip = size_t(std::min<int64_t>(samples, skipUs * outRate / 1000000));
                if (skip >= size_t(samples)) continue;
                pts += int64_t(skip) * 1000000 / outRate;
                target = kNoTarget;
            }
            if (!audio_->Push(serial, pts, buffer.data() + skip * sampleBytes, (size_t(samples) - skip) * sampleBytes))
                continue;
        }
    }
    swr_free(&swr);
    av_channel_layout_uninit(&inLayout);
    av_channel_layout_uninit(&outLayout);
}

#pragma once

#include "media/AvUtil.h"
#include "media/Bitmap24.h"
#include "media/player/AudioOutput.h"
#include "media/player/PacketQueue.h"
#include "media/player/PlayClock.h"

#include <QImage>
#include <QSize>
#include <QString>

#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

struct SwsContext;
struct SwrContext;

// The picture the screen widget paints, handed over from the decoding thread.
// The lock is held only while swapping in a new picture or painting it.
struct ScreenImage {
    std::mutex mutex;
    QImage image;
};

// One open file being played: a demuxing thread, a video decoding thread (which
// converts, hooks, scales and presents pictures on time) and an audio decoding
// thread feeding the sound device. Everything here runs without a widget; the
// owner learns of new pictures and of the end through the callbacks.
class PlaybackSession {
public:
    struct Callbacks {
        // Video thread, after a new picture became current.
        std::function<void()> pictureShown;
        // Any playback thread, once per reach of the end of the file.
        std::function<void()> ended;
        // Video thread, per picture before it is shown; false when the handler
        // failed (the picture is then shown as decoded).
        std::function<bool(Bitmap24& picture, int64_t pts)> hook;
    };

    // Opens the demuxer and decoders; null with a message when nothing in the
    // file can be played.
    static std::unique_ptr<PlaybackSession> Open(const QString& fileName, QString& error);
    ~PlaybackSession();
    PlaybackSession(const PlaybackSession&) = delete;
    PlaybackSession& operator=(const PlaybackSession&) = delete;

    int64_t Duration() const { return duration_; }
    bool HasVideo() const { return videoIndex_ >= 0; }
    bool HasAudio() const { return audioIndex_ >= 0; }
    int FrameWidth() const;
    int FrameHeight() const;

    // screen: the size pictures are scaled to for painting; empty for none.
    void Start(QSize screen, std::shared_ptr<ScreenImage> screenImage, Callbacks callbacks, int volume, bool mute);
    // Waits (bounded) until the first picture is current; true at once without video.
    bool WaitFirstPicture(int timeoutMs);

    void SetPaused(bool paused);
    bool Paused() const;
    // Media microseconds from the start of the file, already clamped; returns
    // the seek's serial for WaitSeek.
    int Seek(int64_t target);
    // Until the seek has landed (its first picture shown, or the file ended).
    bool WaitSeek(int serial, int timeoutMs);

    void SetVolume(int volume);
    void SetMute(bool mute);

    Bitmap24 CurrentPicture() const;
    int64_t CurrentPosition() const;
    bool Ended() const;

    // Asks every thread to finish; does not wait.
    void RequestStop();
    // Closes the sound device; its callback has returned when this does.
    void CloseAudio();
    // Waits for the threads and closes the sound device.
    void Join();

private:
    PlaybackSession() = default;
    bool OpenFile(const QString& fileName, QString& error);

    void ReadLoop();
    void VideoLoop();
    void AudioLoop();

    bool Stale(int serial) const { return stop_ || requestedSerial_.load() != serial; }
    bool QueuesFull() const;
    void DoSeek(int serial, int64_t target);
    // Seeks to ts and reads up to the first packet of the main stream into
    // peeked; true when that is a key frame no later than limit.
    bool SeekLandsBefore(int64_t ts, int64_t limit, std::vector<PacketPtr>& peeked);
    void HandleVideoFrame(AVFrame* frame, int serial, int64_t& target, bool& first, FramePtr& held);
    void Present(AVFrame* frame, int64_t pts, int serial, bool first);
    // Sleeps until the clock reaches pts; false when the wait was abandoned
    // (stop or seek).
    bool WaitUntil(int64_t pts, int serial);
    bool ConvertPicture(AVFrame* frame);
    void ScaleToScreen();
    void MarkLanded(int serial);
    void MarkDone(bool video, int serial, int64_t endPts);
    int64_t FramePts(const AVFrame* frame, AVStream* stream) const;

    InputPtr format_;
    CodecContextPtr videoCodec_;
    CodecContextPtr audioCodec_;
    int videoIndex_ = -1;
    int audioIndex_ = -1;
    int64_t startTime_ = 0;
    int64_t duration_ = 0;
    int64_t frameDuration_ = 40000;

    PacketQueue videoPackets_;
    PacketQueue audioPackets_;
    PlayClock clock_;
    std::unique_ptr<AudioOutput> audio_;
    Callbacks callbacks_;

    std::atomic<bool> stop_{false};
    std::atomic<int> requestedSerial_{0};
    mutable std::mutex mutex_;
    std::condition_variable cv_;
    bool paused_ = false;
    bool seekPending_ = false;
    int64_t seekTarget_ = 0;
    int landedSerial_ = -1;
    bool firstPicture_ = false;
    int videoDoneSerial_ = -1;
    int audioDoneSerial_ = -1;
    int endedSerial_ = -1;
    int64_t endPosition_ = -1;

    // Video thread only.
    Bitmap24 pending_;
    QImage pendingScreen_;
    QSize screen_;
    SwsContext* toBgr_ = nullptr;
    SwsContext* toScreen_ = nullptr;
    std::shared_ptr<ScreenImage> screenImage_;

    mutable std::mutex pictureMutex_;
    Bitmap24 current_;
    int64_t currentPts_ = -1;

    std::thread readThread_;
    std::thread videoThread_;
    std::thread audioThread_;
};

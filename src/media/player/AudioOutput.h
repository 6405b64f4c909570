#pragma once

#include "media/player/PlayClock.h"

#include <QString>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

// The sound side of one playback: an SDL audio device fed from a queue of
// decoded samples (signed 16-bit, interleaved, in the device's rate and channel
// count). The device's callback is the master clock: it stamps the clock with
// the time of the samples it hands to the device, and it applies volume and mute
// so that they act at once. When no device can be opened, a thread paced by the
// steady clock consumes the samples instead, so a file still plays (silently)
// at the right speed.
class AudioOutput {
public:
    explicit AudioOutput(PlayClock& clock);
    ~AudioOutput();
    AudioOutput(const AudioOutput&) = delete;
    AudioOutput& operator=(const AudioOutput&) = delete;

    // Opens the device for (about) this rate and channel count and starts it.
    void Open(int sampleRate, int channels);
    // Stops the device; the callback is not running any more when this returns.
    void Close();

    int SampleRate() const { return rate_; }
    int Channels() const { return channels_; }
    bool HasDevice() const { return device_ != 0; }

    void SetPaused(bool paused);
    void SetVolume(int volume) { volume_ = volume; }
    void SetMute(bool mute) { mute_ = mute; }

    // Producer side (the audio decoding thread). Push blocks while the queue
    // is full; it returns false when the samples are stale (a seek moved on) or
    // the output was aborted.
    bool Push(int serial, int64_t pts, const uint8_t* data, size_t bytes);
    // After the last samples of this serial: once they are played, onDrained runs.
    void PushEnd(int serial);
    void Flush(int serial);
    void Abort();

    // Runs on the device's thread when the end marker of the current serial is
    // reached. Set before Open.
    std::function<void(int serial, int64_t endPts)> onDrained;

private:
    struct Chunk {
        int serial = 0;
        int64_t pts = 0;
        std::vector<uint8_t> data;
        size_t offset = 0;
        bool end = false;
    };

    static void Callback(void* self, uint8_t* stream, int len);
    void Fill(uint8_t* out, int len);
    void PaceWithoutDevice();

    PlayClock& clock_;
    uint32_t device_ = 0;
    int rate_ = 0;
    int channels_ = 0;
    int bufferBytes_ = 0;
    int64_t bytesPerSecond_ = 1;
    std::atomic<int> volume_{128};
    std::atomic<bool> mute_{false};

    std::mutex mutex_;
    std::condition_variable roomCv_;
    std::deque<Chunk> chunks_;
    size_t queuedBytes_ = 0;
    size_t capacityBytes_ = 0;
    int serial_ = 0;
    bool aborted_ = false;

    std::thread pacer_;
    std::mutex paceMutex_;
    std::condition_variable paceCv_;
    bool pacePaused_ = false;
    bool paceStop_ = false;
};

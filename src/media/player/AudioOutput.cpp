#include "media/player/AudioOutput.h"

#include <SDL.h>

#include <algorithm>
#include <cstring>

namespace {

// SDL is set up once per process and left up: players come and go, and
// shutting the audio subsystem down under another player would stop its sound.
bool SdlAudioReady()
{
    static const bool ready = [] {
        // The GUI toolkit owns the process's signals.
        SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
        return SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
    }();
    return ready;
}

} // namespace

AudioOutput::AudioOutput(PlayClock& clock) : clock_(clock) {}

AudioOutput::~AudioOutput() { Close(); }

void AudioOutput::Open(int sampleRate, int channels)
{
    rate_ = sampleRate > 0 ? sampleRate : 44100;
    channels_ = std::clamp(channels, 1, 2);
    int samples = 1024;
    if (SdlAudioReady()) {
        SDL_AudioSpec want{}, have{};
        want.freq = rate_;
        want.format = AUDIO_S16SYS;
        want.channels = Uint8(channels_);
        want.samples = Uint16(samples);
        want.callback = &AudioOutput::Callback;
        want.userdata = this;
        device_ = SDL_OpenAudioDevice(nullptr, 0, &want, &have,
                                      SDL_AUDIO_ALLOW_FREQUENCY_CHANGE | SDL_AUDIO_ALLOW_CHANNELS_CHANGE);
        if (device_ != 0) {
            if (have.channels > 2) {
                // We resample to mono or stereo only; a device that insists on
                // more channels is no use to us.
                SDL_CloseAudioDevice(device_);
                device_ = 0;
            } else {
                rate_ = have.freq;
                channels_ = have.channels;
                samples = have.samples;
            }
        }
    }
    bufferBytes_ = samples * channels_ * 2;
    bytesPerSecond_ = int64_t(rate_) * channels_ * 2;
    capacityBytes_ = std::max<size_t>(size_t(bytesPerSecond_ / 4), size_t(bufferBytes_) * 4);
    if (device_ != 0)
        SDL_PauseAudioDevice(device_, 0);
    else
        pacer_ = std::thread([this] { PaceWithoutDevice(); });
}

void AudioOutput::Close()
{
    Abort();
    if (device_ != 0) {
        SDL_CloseAudioDevice(device_);
        device_ = 0;
    }
    if (pacer_.joinable()) {
        {
            std::lock_guard lock(paceMutex_);
            paceStop_ = true;
        }
        paceCv_.notify_all();
        pacer_.join();
    }
}

void AudioOutput::SetPaused(bool paused)
{
    if (device_ != 0) SDL_PauseAudioDevice(device_, paused ? 1 : 0);
    {
        std::lock_guard lock(paceMutex_);
        pacePaused_ = paused;
    }
    paceCv_.notify_all();
}

bool AudioOutput::Push(int serial, int64_t pts, const uint8_t* data, size_t bytes)
{
    std::unique_lock lock(mutex_);
    roomCv_.wait(lock, [&] { return aborted_ || serial != serial_ || queuedBytes_ < capacityBytes_; });
    if (aborted_ || serial != serial_) return false;
    Chunk chunk;
    chunk.serial = serial;
    chunk.pts = pts;
    chunk.data.assign(data, data + bytes);
    queuedBytes_ += bytes;
    chunks_.push_back(std::move(chunk));
    return true;
}

void AudioOutput::PushEnd(int serial)
{
    std::lock_guard lock(mutex_);
    if (aborted_ || serial != serial_) return;
    Chunk chunk;
    chunk.serial = serial;
    chunk.end = true;
    chunks_.push_back(std::move(chunk));
}

void AudioOutput::Flush(int serial)
{
    {
        std::lock_guard lock(mutex_);
        chunks_.clear();
        queuedBytes_ = 0;
        serial_ = serial;
    }
    roomCv_.notify_all();
}

void AudioOutput::Abort()
{
    {
        std::lock_guard lock(mutex_);
        aborted_ = true;
        chunks_.clear();
        queuedBytes_ = 0;
    }
    roomCv_.notify_all();
}

void AudioOutput::Callback(void* self, uint8_t* stream, int len) { static_cast<AudioOutput*>(self)->Fill(stream, len); }

void AudioOutput::Fill(uint8_t* out, int len)
{
    std::memset(out, 0, size_t(len));
    const int volume = mute_ ? 0 : volume_.load();
    int64_t endPts = PlayClock::kInvalid;
    bool drained = false;
    int serial = 0;
    {
        std::lock_guard lock(mutex_);
        serial = serial_;
        int filled = 0;
        while (filled < len && !chunks_.empty()) {
            Chunk& c = chunks_.front();
            if (c.serial != serial_) {
                chunks_.pop_front();
                continue;
            }
            if (c.end) {
                chunks_.pop_front();
                drained = true;
                break;
            }
            const size_t n = std::min(size_t(len - filled), c.data.size() - c.offset);
            if (volume >= SDL_MIX_MAXVOLUME)
                std::memcpy(out + filled, c.data.data() + c.offset, n);
            else if (volume > 0)
                SDL_MixAudioFormat(out + filled, c.data.data() + c.offset, AUDIO_S16SYS, Uint32(n), volume);
            c.offset += n;
            filled += int(n);
            queuedBytes_ -= n;
            endPts = c.pts + int64_t(c.offset) * 1000000 / bytesPerSecond_;
            if (c.offset == c.data.size()) chunks_.pop_front();
        }
    }
    roomCv_.notify_all();
    if (endPts != PlayClock::kInvalid) {
        // What we wrote now is heard after the buffer the device is playing and
        // the one we just filled (the usual estimate of SDL's latency).
        clock_.Set(endPts - 2 * int64_t(bufferBytes_) * 1000000 / bytesPerSecond_, serial);
    }
    if (drained && onDrained) onDrained(serial, endPts);
}

void AudioOutput::PaceWithoutDevice()
{
    std::vector<uint8_t> scratch(static_cast<size_t>(bufferBytes_));
    const auto period = std::chrono::microseconds(int64_t(bufferBytes_) * 1000000 / bytesPerSecond_);
    auto next = std::chrono::steady_clock::now();
    std::unique_lock lock(paceMutex_);
    while (!paceStop_) {
        if (pacePaused_) {
            paceCv_.wait(lock, [this] { return paceStop_ || !pacePaused_; });
            next = std::chrono::steady_clock::now();
            continue;
        }
        lock.unlock();
        Fill(scratch.data(), int(scratch.size()));
        lock.lock();
        next += period;
        paceCv_.wait_until(lock, next, [this] { return paceStop_ || pacePaused_; });
    }
}

#pragma once

#include <chrono>
#include <cstdint>
#include <mutex>

// The presentation clock of one playback. The sound device sets it from the
// samples it is playing; without sound (or after the sound has run out) it
// runs on the steady clock from the last value set. Every seek starts a new
// epoch, so a late update from before the seek cannot pull the clock back.
class PlayClock {
public:
    static constexpr int64_t kInvalid = INT64_MIN;

    // Microseconds of media time, or kInvalid until the first Set of the epoch.
    int64_t Get() const
    {
        std::lock_guard lock(mutex_);
        if (base_ == kInvalid) return kInvalid;
        return paused_ ? base_ : base_ + (Now() - baseWall_);
    }
    bool Valid() const
    {
        std::lock_guard lock(mutex_);
        return base_ != kInvalid;
    }
    void Set(int64_t pts, int epoch)
    {
        std::lock_guard lock(mutex_);
        if (epoch != epoch_) return;
        base_ = pts;
        baseWall_ = Now();
    }
    // Sets the clock only when nothing has set it in this epoch yet.
    void Start(int64_t pts, int epoch)
    {
        std::lock_guard lock(mutex_);
        if (epoch != epoch_ || base_ != kInvalid) return;
        base_ = pts;
        baseWall_ = Now();
    }
    void NewEpoch(int epoch)
    {
        std::lock_guard lock(mutex_);
        epoch_ = epoch;
        base_ = kInvalid;
    }
    int Epoch() const
    {
        std::lock_guard lock(mutex_);
        return epoch_;
    }
    void SetPaused(bool paused)
    {
        std::lock_guard lock(mutex_);
        if (paused == paused_) return;
        if (base_ != kInvalid) {
            if (paused)
                base_ += Now() - baseWall_;
            else
                baseWall_ = Now();
        }
        paused_ = paused;
    }

    static int64_t Now()
    {
        return std::chrono::duration_cast<std::chrono::microseconds>(
                   std::chrono::steady_clock::now().time_since_epoch())
            .count();
    }

private:
    mutable std::mutex mutex_;
    int64_t base_ = kInvalid;
    int64_t baseWall_ = 0;
    bool paused_ = false;
    int epoch_ = 0;
};

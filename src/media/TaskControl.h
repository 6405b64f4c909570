#pragma once

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>

// Pause and stop requests from the owner of a running task to every thread of
// that task. A paused thread sleeps on a condition variable, so a paused task
// spends no CPU time.
class TaskControl {
public:
    void Pause()
    {
        std::lock_guard lock(mutex_);
        paused_ = true;
    }
    void Resume()
    {
        {
            std::lock_guard lock(mutex_);
            paused_ = false;
        }
        cv_.notify_all();
    }
    void RequestStop()
    {
        std::function<void()> wake;
        {
            std::lock_guard lock(mutex_);
            stop_ = true;
            wake = onStop_;
        }
        cv_.notify_all();
        if (wake) wake();
    }
    bool StopRequested() const { return stop_.load(); }
    bool Paused() const
    {
        std::lock_guard lock(mutex_);
        return paused_;
    }
    // Blocks while paused; false once a stop was asked for.
    bool WaitWhilePaused()
    {
        std::unique_lock lock(mutex_);
        cv_.wait(lock, [this] { return !paused_ || stop_; });
        return !stop_;
    }
    // Called (from the stopping thread) when a stop is requested, to wake
    // threads blocked elsewhere than in WaitWhilePaused.
    void SetStopHandler(std::function<void()> handler)
    {
        std::function<void()> now;
        {
            std::lock_guard lock(mutex_);
            onStop_ = std::move(handler);
            if (stop_) now = onStop_;
        }
        if (now) now();
    }

private:
    mutable std::mutex mutex_;
    std::condition_variable cv_;
    bool paused_ = false;
    std::atomic<bool> stop_{false};
    std::function<void()> onStop_;
};

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
        {
            std::lock_guard lock(mutex_);
            stop_ = true;
        }
        cv_.notify_all();
        std::lock_guard handlerLock(handlerMutex_);
        if (onStop_) onStop_();
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
    // threads blocked elsewhere than in WaitWhilePaused. Once this returns, a
    // handler it replaced is no longer running, so its owner may go away.
    void SetStopHandler(std::function<void()> handler)
    {
        std::lock_guard handlerLock(handlerMutex_);
        onStop_ = std::move(handler);
        if (stop_ && onStop_) onStop_();
    }

private:
    mutable std::mutex mutex_;
    std::condition_variable cv_;
    bool paused_ = false;
    std::atomic<bool> stop_{false};
    std::mutex handlerMutex_;
    std::function<void()> onStop_;
};

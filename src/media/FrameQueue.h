#pragma once

#include "media/AvUtil.h"

#include <condition_variable>
#include <deque>
#include <mutex>

// A bounded hand-over of frames between two stages of a task. Frames move by
// reference (the AVFrame keeps its buffers), never by copying pixels.
class FrameQueue {
public:
    explicit FrameQueue(size_t capacity) : capacity_(capacity) {}

    // False when the queue was aborted; the frame is then dropped.
    bool Push(FramePtr frame)
    {
        std::unique_lock lock(mutex_);
        notFull_.wait(lock, [this] { return aborted_ || items_.size() < capacity_; });
        if (aborted_) return false;
        items_.push_back(std::move(frame));
        notEmpty_.notify_one();
        return true;
    }
    // False at the end: closed and drained, or aborted.
    bool Pop(FramePtr& frame)
    {
        std::unique_lock lock(mutex_);
        notEmpty_.wait(lock, [this] { return aborted_ || closed_ || !items_.empty(); });
        if (aborted_ || items_.empty()) return false;
        frame = std::move(items_.front());
        items_.pop_front();
        notFull_.notify_one();
        return true;
    }
    // No more frames will come; the consumer drains what is queued.
    void Close()
    {
        std::lock_guard lock(mutex_);
        closed_ = true;
        notEmpty_.notify_all();
    }
    // Give up at once: both sides return false.
    void Abort()
    {
        std::lock_guard lock(mutex_);
        aborted_ = true;
        items_.clear();
        notEmpty_.notify_all();
        notFull_.notify_all();
    }

private:
    std::mutex mutex_;
    std::condition_variable notEmpty_, notFull_;
    std::deque<FramePtr> items_;
    size_t capacity_;
    bool closed_ = false;
    bool aborted_ = false;
};

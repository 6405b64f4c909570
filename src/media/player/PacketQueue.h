#pragma once

#include "media/AvUtil.h"

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>

// Packets of one stream on their way from the demuxer to a decoder. Each
// packet carries the serial of the seek it belongs to; a flush empties the
// queue and moves it to a new serial, so a decoder notices the seek by the
// first packet it takes afterwards. A null packet marks the end of input.
class PacketQueue {
public:
    struct Item {
        PacketPtr packet; // null: end of input
        int serial = 0;
        int64_t seekTarget = INT64_MIN; // media microseconds to drop frames up to, or INT64_MIN
    };

    void Push(PacketPtr packet)
    {
        std::lock_guard lock(mutex_);
        if (aborted_) return;
        bytes_ += packet ? packet->size : 0;
        items_.push_back(Item{std::move(packet), serial_, target_});
        cv_.notify_all();
    }
    // Blocks until a packet is there; false once aborted.
    bool Pop(Item& item)
    {
        std::unique_lock lock(mutex_);
        cv_.wait(lock, [this] { return aborted_ || !items_.empty(); });
        if (aborted_) return false;
        item = std::move(items_.front());
        items_.pop_front();
        if (item.packet) bytes_ -= item.packet->size;
        if (onPop_) onPop_();
        return true;
    }
    void Flush(int serial, int64_t seekTarget)
    {
        std::lock_guard lock(mutex_);
        items_.clear();
        bytes_ = 0;
        serial_ = serial;
        target_ = seekTarget;
        cv_.notify_all();
    }
    void Abort()
    {
        std::lock_guard lock(mutex_);
        aborted_ = true;
        items_.clear();
        cv_.notify_all();
    }
    size_t Count() const
    {
        std::lock_guard lock(mutex_);
        return items_.size();
    }
    int64_t Bytes() const
    {
        std::lock_guard lock(mutex_);
        return bytes_;
    }
    int Serial() const
    {
        std::lock_guard lock(mutex_);
        return serial_;
    }
    // Called under the queue's lock whenever room is made; it must only notify.
    void SetOnPop(std::function<void()> onPop) { onPop_ = std::move(onPop); }

private:
    mutable std::mutex mutex_;
    std::condition_variable cv_;
    std::deque<Item> items_;
    int64_t bytes_ = 0;
    int serial_ = 0;
    int64_t target_ = INT64_MIN;
    bool aborted_ = false;
    std::function<void()> onPop_;
};

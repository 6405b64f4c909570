#include "shell/SourceProber.h"

#include "media/TAVProbe.h"

SourceProber::SourceProber(QObject* parent) : QObject(parent) {}

SourceProber::~SourceProber()
{
    {
        std::lock_guard lock(mutex_);
        quit_ = true;
        batches_.clear();
    }
    wake_.notify_all();
    if (thread_.joinable()) thread_.join();
}

void SourceProber::Probe(const QStringList& paths)
{
    {
        std::lock_guard lock(mutex_);
        batches_.push_back(paths);
        if (!thread_.joinable()) thread_ = std::thread([this] { Run(); });
    }
    wake_.notify_all();
}

bool SourceProber::Busy() const
{
    std::lock_guard lock(mutex_);
    return working_ || !batches_.empty();
}

void SourceProber::Run()
{
    for (;;) {
        QStringList batch;
        {
            std::unique_lock lock(mutex_);
            wake_.wait(lock, [this] { return quit_ || !batches_.empty(); });
            if (quit_) return;
            batch = std::move(batches_.front());
            batches_.pop_front();
            working_ = true;
        }
        for (int i = 0; i < batch.size(); ++i) {
            {
                std::lock_guard lock(mutex_);
                if (quit_) return;
            }
            TAVProbe probe;
            const bool usable = probe.LoadFile(batch[i]);
            const qint64 duration = usable ? probe.GetFileStreamInfo().Duration : -1;
            emit probed(i, batch[i], usable, duration);
        }
        {
            std::lock_guard lock(mutex_);
            working_ = false;
        }
        emit batchDone();
    }
}

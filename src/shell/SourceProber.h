#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <atomic>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

// Opens picked files on a thread of its own, so adding many files never
// holds up the window. Files are probed in the order given, batch after
// batch; each result arrives on the thread that owns the prober.
class SourceProber : public QObject {
    Q_OBJECT
public:
    explicit SourceProber(QObject* parent = nullptr);
    ~SourceProber() override;

    // Queues the paths; selectionIndex of a result is its position here.
    void Probe(const QStringList& paths);
    bool Busy() const;

signals:
    // usable is false when the engine cannot open the file; durationUs is -1
    // when the length is unknown.
    void probed(int selectionIndex, const QString& path, bool usable, qint64 durationUs);
    void batchDone();

private:
    void Run();

    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<QStringList> batches_;
    bool working_ = false;
    bool quit_ = false;
    std::thread thread_;
};

#pragma once

#include "media/FFmpegException.h"
#include "media/MediaRecords.h"
#include "media/TAVProbe.h"

#include <QObject>
#include <QString>

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

class TaskControl;

// The conversion component: a list of tasks (one input, one output each) run
// one after another on a worker thread. Progress, preview and terminate events
// reach the thread that owns the component (the GUI thread) in the order they
// happened; the custom hook runs on the worker thread.
class TFFmpegVCL : public QObject {
    Q_OBJECT
public:
    explicit TFFmpegVCL(QObject* parent = nullptr);
    ~TFFmpegVCL() override;

    bool LoadLibraries(const QString& folder = {});
    QString LastLoadError() const;

    // Index of the new task, -1 when the file cannot be opened (LastErrMsg says why).
    int AddTask(const QString& fileName, const TInputOptions& options);
    bool SetOutputFile(int taskIndex, const QString& fileName, const TOutputOptions& options);
    void ClearTasks();
    void RemoveTask(int taskIndex);
    // Runs every task in index order on the worker thread and returns at once.
    void StartTask(int count = 1);
    void PauseConversion();
    void ResumeConversion();
    // Stops the running task, skips the rest and, with wait, returns once idle.
    void StopConversion(bool wait = true);
    int TaskCount() const;
    TAVProbe* InputProbe(int taskIndex, int inputIndex = 0);
    TAVProbe* EngineProbe() { return &engineProbe_; }
    bool Working() const { return working_.load(); }
    bool Paused() const { return paused_.load(); }
    QString LastErrMsg() const;

    // Published settings.
    bool PreviewBitmap = false;
    bool TriggerEventInMainThread = true;
    bool Preview = false;
    TThreadPriority ThreadPriority = tpNormal;
    int ProgressInterval() const { return progressInterval_; }
    void SetProgressInterval(int ms) { progressInterval_ = ms < 100 ? 100 : ms; }

    // Events.
    std::function<void(TFFmpegVCL* sender, PProgressInfo info)> OnProgress;
    std::function<void(TFFmpegVCL* sender, const TPreviewInfo& info)> OnPreviewBitmap;
    std::function<void(TFFmpegVCL* sender, const TTerminateInfo& info)> OnTerminate;
    // Worker thread, one call at a time.
    std::function<void(TFFmpegVCL* sender, PHookInfo info)> OnCustomHook;
    // Engine log lines (hook errors, notes); owner's thread.
    std::function<void(TFFmpegVCL* sender, const QString& line)> OnLog;

signals:
    void progress(const TProgressInfo& info);
    void previewBitmap(const TPreviewInfo& info);
    void terminated(const TTerminateInfo& info);
    void logMessage(const QString& line);

private:
    struct Task;
    void CheckIdle(const char* operation) const;
    struct RunSettings {
        TThreadPriority priority = tpNormal;
        bool preview = false;
        int progressInterval = 500;
        std::function<void(TFFmpegVCL*, PHookInfo)> hook;
    };
    void RunAll(std::vector<std::shared_ptr<Task>> tasks, std::shared_ptr<TaskControl> control, RunSettings settings);
    void Deliver(std::function<void()> event);
    void JoinWorker();

    std::vector<std::shared_ptr<Task>> tasks_;
    TAVProbe engineProbe_;
    QString lastError_;
    int progressInterval_ = 500;
    std::atomic<bool> working_{false};
    std::atomic<bool> paused_{false};
    std::thread worker_;
    std::shared_ptr<TaskControl> control_;
    std::mutex hookMutex_;
};

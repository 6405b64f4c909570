#include "media/TFFmpegVCL.h"

#include "media/AvUtil.h"
#include "media/FilterGraphs.h"
#include "media/TFFmpegLoader.h"
#include "media/TaskControl.h"
#include "media/Transcoder.h"

extern "C" {
#include <libavfilter/avfilter.h>
}

#include <QDebug>
#include <QMetaObject>

#include <sched.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

struct TFFmpegVCL::Task {
    TInputOptions input;
    TOutputOptions output;
    bool hasOutput = false;
    TAVProbe probe;
};

namespace {

void ApplyPriority(TThreadPriority priority)
{
    const pid_t tid = pid_t(syscall(SYS_gettid));
    if (priority == tpIdle) {
        sched_param param{};
        sched_setscheduler(tid, SCHED_IDLE, &param);
        return;
    }
    int nice = 0;
    switch (priority) {
    case tpLowest: nice = 15; break;
    case tpLower: nice = 5; break;
    case tpHigher: nice = -5; break;
    case tpHighest: nice = -10; break;
    case tpTimeCritical: nice = -15; break;
    default: break;
    }
    // Raising priority needs privileges; without them the thread stays normal.
    if (setpriority(PRIO_PROCESS, id_t(tid), nice) != 0 && nice < 0) setpriority(PRIO_PROCESS, id_t(tid), 0);
}

// The values a task would fail on, checked when the output is set so the
// caller hears about them at once.
bool CheckOutputOptions(const QString& fileName, const TOutputOptions& o, std::string& error)
{
    if (!o.OutputFormat.empty() && !av_guess_format(o.OutputFormat.c_str(), nullptr, nullptr)) {
        error = Format("Unknown output format: %s", o.OutputFormat.c_str());
        return false;
    }
    if (o.OutputFormat.empty() && o.TargetType == 0 && !av_guess_format(nullptr, ToFfmpegPath(fileName).c_str(), nullptr)) {
        error = Format("Unable to find a suitable output format for '%s'", ToFfmpegPath(fileName).c_str());
        return false;
    }
    int w = 0, h = 0;
    if (!o.FrameSize.empty() && !ParseFrameSize(o.FrameSize, w, h)) {
        error = Format("Invalid frame size: %s", o.FrameSize.c_str());
        return false;
    }
    AVRational q{};
    if (!o.FrameRate.empty() && !ParseFrameRate(o.FrameRate, q)) {
        error = Format("Invalid frame rate: %s", o.FrameRate.c_str());
        return false;
    }
    if (!o.AspectRatio.empty() && !ParseAspect(o.AspectRatio, q)) {
        error = Format("Invalid aspect ratio: %s", o.AspectRatio.c_str());
        return false;
    }
    if (!o.VideoFilters.empty()) {
        AVFilterGraph* graph = avfilter_graph_alloc();
        AVFilterInOut* ins = nullptr;
        AVFilterInOut* outs = nullptr;
        const int rc = graph ? avfilter_graph_parse2(graph, o.VideoFilters.c_str(), &ins, &outs) : AVERROR(ENOMEM);
        avfilter_inout_free(&ins);
        avfilter_inout_free(&outs);
        avfilter_graph_free(&graph);
        if (rc < 0) {
            error = Format("Invalid filter chain \"%s\": %s", o.VideoFilters.c_str(), AvErrorText(rc).c_str());
            return false;
        }
    }
    return true;
}

} // namespace

TFFmpegVCL::TFFmpegVCL(QObject* parent) : QObject(parent) {}

TFFmpegVCL::~TFFmpegVCL()
{
    StopConversion(true);
    JoinWorker();
}

bool TFFmpegVCL::LoadLibraries(const QString& folder) { return TFFmpegLoader::LoadLibraries(folder); }

QString TFFmpegVCL::LastLoadError() const { return TFFmpegLoader::LastLoadError(); }

QString TFFmpegVCL::LastErrMsg() const { return lastError_; }

void TFFmpegVCL::CheckIdle(const char* operation) const
{
    if (working_) throw FFmpegException(Format("Cannot %s while working.", operation));
}

void TFFmpegVCL::JoinWorker()
{
    if (worker_.joinable() && worker_.get_id() != std::this_thread::get_id()) worker_.join();
}

int TFFmpegVCL::AddTask(const QString& fileName, const TInputOptions& options)
{
    CheckIdle("AddTask");
    auto task = std::make_shared<Task>();
    task->input = options;
    if (task->input.InputFileName.isEmpty()) task->input.InputFileName = fileName;
    if (!task->probe.LoadFile(task->input.InputFileName, task->input.InputFormat)) {
        lastError_ = task->probe.LastErrMsg();
        return -1;
    }
    lastError_.clear();
    tasks_.push_back(std::move(task));
    return int(tasks_.size()) - 1;
}

bool TFFmpegVCL::SetOutputFile(int taskIndex, const QString& fileName, const TOutputOptions& options)
{
    CheckIdle("SetOutputFile");
    if (taskIndex < 0 || taskIndex >= int(tasks_.size())) {
        lastError_ = QString::fromStdString(Format("task index #%d is invalid.", taskIndex));
        return false;
    }
    Task& task = *tasks_[size_t(taskIndex)];
    if (task.hasOutput) {
        lastError_ = QString::fromStdString(Format("max output files %d reached", 1));
        return false;
    }
    std::string error;
    if (!CheckOutputOptions(fileName, options, error)) {
        lastError_ = QString::fromStdString(error);
        return false;
    }
    task.output = options;
    task.output.OutputFileName = fileName;
    task.hasOutput = true;
    lastError_.clear();
    return true;
}

void TFFmpegVCL::ClearTasks()
{
    CheckIdle("ClearTasks");
    JoinWorker();
    tasks_.clear();
}

void TFFmpegVCL::RemoveTask(int taskIndex)
{
    CheckIdle("RemoveTask");
    if (taskIndex >= 0 && taskIndex < int(tasks_.size())) tasks_.erase(tasks_.begin() + taskIndex);
}

int TFFmpegVCL::TaskCount() const { return int(tasks_.size()); }

TAVProbe* TFFmpegVCL::InputProbe(int taskIndex, int inputIndex)
{
    if (taskIndex < 0 || taskIndex >= int(tasks_.size()) || inputIndex != 0) return nullptr;
    return &tasks_[size_t(taskIndex)]->probe;
}

void TFFmpegVCL::StartTask(int count)
{
    (void)count; // one task at a time is the only mode
    CheckIdle("StartTask");
    JoinWorker();
    auto control = std::make_shared<TaskControl>();
    control_ = control;
    paused_ = false;
    working_ = true;
    try {
        // The worker keeps its own copy of the settings and the hook, so the
        // owner may change them during the run without racing it.
        RunSettings settings{ThreadPriority, PreviewBitmap, progressInterval_, OnCustomHook};
        worker_ = std::thread(&TFFmpegVCL::RunAll, this, tasks_, control, std::move(settings));
    } catch (const std::exception& e) {
        working_ = false;
        throw FFmpegException(std::string("Cannot start the conversion thread: ") + e.what());
    }
}

void TFFmpegVCL::PauseConversion()
{
    if (!working_ || !control_) return;
    control_->Pause();
    paused_ = true;
}

void TFFmpegVCL::ResumeConversion()
{
    if (!control_) return;
    control_->Resume();
    paused_ = false;
}

void TFFmpegVCL::StopConversion(bool wait)
{
    if (control_) control_->RequestStop();
    if (wait) JoinWorker();
    paused_ = false;
}

void TFFmpegVCL::Deliver(std::function<void()> event)
{
    if (TriggerEventInMainThread)
        QMetaObject::invokeMethod(this, std::move(event), Qt::QueuedConnection);
    else
        event();
}

void TFFmpegVCL::RunAll(std::vector<std::shared_ptr<Task>> tasks, std::shared_ptr<TaskControl> control,
                        RunSettings settings)
{
    const TThreadPriority priority = settings.priority;
    ApplyPriority(priority);
    const bool wantPreview = settings.preview;
    const int interval = settings.progressInterval;
    for (size_t i = 0; i < tasks.size(); ++i) {
        if (control->StopRequested()) break;
        Task& task = *tasks[i];
        TTerminateInfo done;
        done.TaskIndex = int32_t(i);
        if (!task.hasOutput) {
            done.Exception = true;
            done.ExceptionMsg = QStringLiteral("No output file set for the task.");
        } else {
            TaskCallbacks cb;
            cb.taskIndex = int(i);
            cb.progressIntervalMs = interval;
            cb.wantPreview = wantPreview;
            cb.threadStart = [priority] { ApplyPriority(priority); };
            cb.progress = [this](const TProgressInfo& info) {
                Deliver([this, info] {
                    if (OnProgress) OnProgress(this, &info);
                    emit progress(info);
                });
            };
            cb.preview = [this, i](std::shared_ptr<const Bitmap24> bitmap, int64_t pts) {
                TPreviewInfo info{int32_t(i), std::move(bitmap), pts};
                Deliver([this, info] {
                    if (OnPreviewBitmap) OnPreviewBitmap(this, info);
                    emit previewBitmap(info);
                });
            };
            cb.log = [this](const std::string& line) {
                const QString text = QString::fromStdString(line);
                qWarning().noquote() << text;
                Deliver([this, text] {
                    if (OnLog) OnLog(this, text);
                    emit logMessage(text);
                });
            };
            if (task.output.UseFrameHook && settings.hook) {
                cb.hook = [this, &settings](THookInfo& info) {
                    std::lock_guard lock(hookMutex_);
                    settings.hook(this, &info);
                };
            }
            const TaskResult result = RunTask(task.input, task.output, cb, *control);
            done.Finished = result.finished;
            done.Exception = result.exception;
            done.ExceptionMsg = QString::fromStdString(result.message);
        }
        Deliver([this, done] {
            if (OnTerminate) OnTerminate(this, done);
            emit terminated(done);
        });
    }
    // Idle before the last event goes out, so its handler may clear the tasks.
    working_ = false;
    TTerminateInfo all;
    all.TaskIndex = -1;
    all.Finished = !control->StopRequested();
    Deliver([this, all] {
        JoinWorker();
        if (OnTerminate) OnTerminate(this, all);
        emit terminated(all);
    });
}

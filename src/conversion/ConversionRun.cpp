#include "conversion/ConversionRun.h"

#include "conversion/BuildJobOptions.h"
#include "conversion/ProgressText.h"
#include "effects/FrameCompositing.h"
#include "media/Bitmap24.h"
#include "media/TAVProbe.h"
#include "media/TFFmpegVCL.h"
#include "platform/Dialogs.h"
#include "platform/IniFile.h"
#include "platform/ShellActions.h"
#include "profiles/FormatCatalogue.h"
#include "shell/AppException.h"
#include "shell/DestinationNames.h"
#include "shell/Settings.h"
#include "shell/TlvFilesRecord.h"

#include <QApplication>
#include <QScopeGuard>

ConversionRun::ConversionRun(TFFmpegVCL& engine, QString converterIniPath, QString formatIniPath, Dialogs& dialogs,
                             QWidget* parent)
    : engine_(engine), engineAlive_(&engine), converterIniPath_(std::move(converterIniPath)),
      formatIniPath_(std::move(formatIniPath)), dialogs_(dialogs), parent_(parent)
{
    engine_.OnProgress = [this](TFFmpegVCL*, PProgressInfo info) { OnProgress(*info); };
    engine_.OnTerminate = [this](TFFmpegVCL*, const TTerminateInfo& info) { OnTerminate(info); };
    engine_.OnPreviewBitmap = [this](TFFmpegVCL*, const TPreviewInfo& info) {
        if (events.preview && info.Bitmap && !info.Bitmap->Empty()) events.preview(info);
    };
    compositor_ = std::make_shared<ConversionCompositor>([this](int task) { return RecordOfTask(task); });
    // The engine keeps its own copy of the hook for a run; it holds the
    // compositor, which is detached when this run object goes.
    engine_.OnCustomHook = [compositor = compositor_](TFFmpegVCL* sender, PHookInfo info) {
        compositor->CCAVCCustomHook(sender, info);
    };
}

ConversionRun::~ConversionRun()
{
    compositor_->Detach();
    if (!engineAlive_) return;
    engine_.OnProgress = nullptr;
    engine_.OnTerminate = nullptr;
    engine_.OnPreviewBitmap = nullptr;
    engine_.OnCustomHook = nullptr;
}

bool ConversionRun::PriorityFromSetting(int setting, TThreadPriority& priority)
{
    switch (setting) {
    case 0: priority = tpIdle; return true;
    case 1: priority = tpNormal; return true;
    case 2: priority = tpLower; return true;
    case 3: priority = tpLowest; return true;
    default: return false;
    }
}

int ConversionRun::Prepare(const std::vector<RunRow>& checkedRows)
{
    engine_.ClearTasks();
    tasks_.clear();
    compositor_->Reset();
    ConverterSettings settings(converterIniPath_);
    TThreadPriority priority = tpNormal;
    if (PriorityFromSetting(settings.Priority(), priority)) engine_.ThreadPriority = priority;

    DestinationNamer namer;
    for (const RunRow& row : checkedRows) {
        QString error;
        if (PrepareRow(row, namer, error)) continue;
        if (events.rowStatus) events.rowStatus(row.listRow, QStringLiteral("Error"));
        if (events.rowSkipped) events.rowSkipped(row.listRow, error);
    }
    return TaskCount();
}

bool ConversionRun::PrepareRow(const RunRow& row, DestinationNamer& namer, QString& error)
{
    TlvFilesRecord& record = *row.record;
    TInputOptions input;
    ResetInputOptions(input);
    input.InputFileName = record.SourceFile;

    TAVProbe& probe = *engine_.EngineProbe();
    if (!probe.LoadFile(record.SourceFile)) {
        error = probe.LastErrMsg();
        return false;
    }
    const auto closeProbe = qScopeGuard([&probe] { probe.CloseFile(); });
    if (record.TrimStart >= 0) input.StartPosition = record.TrimStart;

    IniFile formatIni(formatIniPath_);
    ConverterSettings settings(converterIniPath_);
    const int code = formatCode_.value_or(settings.FormatCode());
    const QString section = FormatSection(code);
    const QString extension = QLatin1Char('.') + formatIni.ReadString(section, QStringLiteral("FileExt"), QStringLiteral("mp4"));
    const QString destination = outputFolder_ ? namer.NameInFolder(probe.ProbeFileName(), extension, *outputFolder_)
                                              : namer.Name(probe.ProbeFileName(), extension, settings, dialogs_, parent_);
    record.ZoomMode = settings.ini().ReadString(section, QStringLiteral("parazoom"), QStringLiteral("lbox"));

    TOutputOptions output;
    ResetOutputOptions(output);
    output.OutputFileName = destination;
    if (record.HasCrop()) {
        output.CropTop = record.CropTop;
        output.CropBottom = record.CropBottom;
        output.CropLeft = record.CropLeft;
        output.CropRight = record.CropRight;
    }
    // The trim window sets an end as well as a start; the output stops there.
    if (record.TrimLength > 0) output.RecordingTime = record.TrimLength;

    try {
        BuildJobOptions(record, code, output, VideoFactsOf(probe), input,
                        ProfileSources{formatIni, settings.ini(), dialogs_, parent_});
    } catch (const ProfileValueError& problem) {
        error = QString::fromUtf8(problem.what());
        dialogs_.Message(parent_, ExceptionDisplayText(error), QApplication::applicationDisplayName(),
                         MessageIcon::Error);
        return false;
    }

    const int task = engine_.AddTask(input.InputFileName, input);
    if (task < 0) {
        error = engine_.LastErrMsg();
        return false;
    }
    output.UseFrameHook = record.NeedsFrameHook();
    if (!engine_.SetOutputFile(task, destination, output)) {
        error = engine_.LastErrMsg();
        engine_.RemoveTask(task);
        return false;
    }
    tasks_.push_back({row, destination});
    return true;
}

int ConversionRun::RowOfTask(int taskIndex) const
{
    return taskIndex >= 0 && taskIndex < TaskCount() ? tasks_[size_t(taskIndex)].row.listRow : -1;
}

const TlvFilesRecord* ConversionRun::RecordOfTask(int taskIndex) const
{
    return taskIndex >= 0 && taskIndex < TaskCount() ? tasks_[size_t(taskIndex)].row.record : nullptr;
}

QString ConversionRun::DestinationOfTask(int taskIndex) const
{
    return taskIndex >= 0 && taskIndex < TaskCount() ? tasks_[size_t(taskIndex)].destination : QString();
}

void ConversionRun::OnProgress(const TProgressInfo& info)
{
    const int row = RowOfTask(info.TaskIndex);
    if (row < 0) return;
    const int64_t percent = ProgressPercent(info.CurrentDuration, info.TotalDuration);
    if (events.rowStatus) events.rowStatus(row, QString::number(percent) + QLatin1Char('%'));
    if (events.progress) {
        const TlvFilesRecord* record = RecordOfTask(info.TaskIndex);
        events.progress({row, info.TaskIndex, TaskCount(), percent, SecondsText(info.CurrentDuration),
                         SecondsText(info.TotalDuration), KilobytesText(info.CurrentSize),
                         TaskNumberText(info.TaskIndex, TaskCount()), ShortSourceName(record->SourceFile)});
    }
}

void ConversionRun::OnTerminate(const TTerminateInfo& info)
{
    if (info.TaskIndex < 0) {
        engine_.ClearTasks();
        if (events.runEnded) events.runEnded();
        return;
    }
    const int row = RowOfTask(info.TaskIndex);
    if (row < 0) return;
    if (!info.Finished) {
        if (events.taskEnded) events.taskEnded(row, false, info.ExceptionMsg, DestinationOfTask(info.TaskIndex));
        return;
    }
    if (events.rowStatus) events.rowStatus(row, QStringLiteral("100%"));
    if (events.taskEnded) events.taskEnded(row, true, info.ExceptionMsg, DestinationOfTask(info.TaskIndex));
    if (info.TaskIndex + 1 != TaskCount()) return;
    if (events.openFolderAfterRun && events.openFolderAfterRun())
        OpenFolderInFileManager(ConverterSettings(converterIniPath_).OutPutDir());
    if (events.shutDownAfterRun && events.shutDownAfterRun()) ShutDownComputer();
}

#pragma once

#include "media/MediaRecords.h"

#include <QPointer>
#include <QString>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class ConversionCompositor;
class Dialogs;
class QWidget;
class TFFmpegVCL;
struct TlvFilesRecord;

// One file of a run: its position in the list and its record.
struct RunRow {
    int listRow = 0;
    TlvFilesRecord* record = nullptr;
};

// What a run reports while it goes; the progress window and the batch program
// are two views of it. Every callback is optional and runs on the thread that
// owns the engine.
struct RunEvents {
    // Text for a row's "Progress" column: "37%", "100%", "Error".
    std::function<void(int listRow, const QString& text)> rowStatus;
    struct Progress {
        int listRow;
        int taskIndex;
        int taskCount;
        int64_t percent;
        QString currentTime, length, size, taskNumber, file;
    };
    std::function<void(const Progress&)> progress;
    std::function<void(const TPreviewInfo&)> preview;
    // A task ended; finished is false when it failed or was stopped.
    std::function<void(int listRow, bool finished, const QString& message, const QString& destination)> taskEnded;
    // A row that could not become a task.
    std::function<void(int listRow, const QString& message)> rowSkipped;
    std::function<void()> runEnded;
    // After-run choices, asked when the last task finished.
    std::function<bool()> openFolderAfterRun;
    std::function<bool()> shutDownAfterRun;
};

// Turns the checked rows into engine tasks with the selected profile, and the
// engine's events into row and progress reports.
class ConversionRun {
public:
    ConversionRun(TFFmpegVCL& engine, QString converterIniPath, QString formatIniPath, Dialogs& dialogs,
                  QWidget* parent = nullptr);
    ~ConversionRun();
    ConversionRun(const ConversionRun&) = delete;
    ConversionRun& operator=(const ConversionRun&) = delete;

    RunEvents events;

    // Prepares one task per usable row, in order. Rows that cannot be
    // converted are reported through rowSkipped and marked "Error". Returns
    // the number of tasks.
    int Prepare(const std::vector<RunRow>& checkedRows);
    // The list row of a task; -1 for an unknown task.
    int RowOfTask(int taskIndex) const;
    const TlvFilesRecord* RecordOfTask(int taskIndex) const;
    int TaskCount() const { return int(tasks_.size()); }
    QString DestinationOfTask(int taskIndex) const;

    // The batch program converts with a format and into a folder of its own
    // choice; the windows use the stored ones.
    void OverrideFormatCode(int code) { formatCode_ = code; }
    void OverrideOutputFolder(const QString& folder) { outputFolder_ = folder; }

    // "priority" 0..3 as the engine's thread priority; other values change nothing.
    static bool PriorityFromSetting(int setting, TThreadPriority& priority);

private:
    struct Task {
        RunRow row;
        QString destination;
    };
    void OnProgress(const TProgressInfo& info);
    void OnTerminate(const TTerminateInfo& info);
    bool PrepareRow(const RunRow& row, class DestinationNamer& namer, QString& error);

    TFFmpegVCL& engine_;
    // The engine may go first when both belong to the same window.
    QPointer<TFFmpegVCL> engineAlive_;
    QString converterIniPath_;
    QString formatIniPath_;
    Dialogs& dialogs_;
    QWidget* parent_;
    std::vector<Task> tasks_;
    std::optional<int> formatCode_;
    std::optional<QString> outputFolder_;
    // Draws effects and watermarks into the frames of tasks that need it.
    std::shared_ptr<ConversionCompositor> compositor_;
};

#pragma once

#include "media/MediaRecords.h"
#include "media/TaskControl.h"

#include <QString>

#include <functional>
#include <memory>
#include <string>

// What a running task reports to its owner. Every callback runs on one of the
// task's own threads; the owner forwards them where they belong.
struct TaskCallbacks {
    int taskIndex = 0;
    int progressIntervalMs = 500;
    bool wantPreview = false;
    std::function<void(const TProgressInfo&)> progress;
    std::function<void(std::shared_ptr<const Bitmap24>, int64_t pts)> preview;
    // Called for every decoded video frame when the task uses the frame hook;
    // may throw. Runs on the thread that called RunTask.
    std::function<void(THookInfo&)> hook;
    std::function<void(const std::string&)> log;
    // Run at the start of every thread the task creates (thread priority).
    std::function<void()> threadStart;
};

struct TaskResult {
    bool finished = false;  // the output file is complete and in place
    bool exception = false; // the task failed (false when it was stopped)
    std::string message;
    QString outputPath;     // where the file ended up
};

// Converts one input into one output file. Blocks until the task has ended;
// `control` pauses or stops it from another thread.
TaskResult RunTask(const TInputOptions& input, const TOutputOptions& output, TaskCallbacks& callbacks,
                   TaskControl& control);

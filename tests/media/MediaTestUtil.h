#pragma once

#include "media/TFFmpegVCL.h"

#include <QJsonObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

// ffprobe's first stream of a kind ("video", "audio"); empty when there is none.
QJsonObject FirstStream(const QJsonObject& probe, const QString& kind);
int StreamCountOf(const QJsonObject& probe, const QString& kind);
double FormatDuration(const QJsonObject& probe);

// One decoded picture of a file at `seconds`, as 8-bit gray (width x height bytes),
// decoded by the ffmpeg command line.
QByteArray GrayFrame(const QString& path, double seconds, int width, int height);
// Root mean square of a file's sound, mono 16-bit, decoded by the ffmpeg command line.
double SoundLevel(const QString& path);
// Mean of a rectangle of a gray picture.
double MeanOf(const QByteArray& gray, int width, int x, int y, int w, int h);
// Runs the ffmpeg command line with the given arguments; true on success.
bool Ffmpeg(const QStringList& arguments);

// Runs the event loop (sleeping, not spinning) until `done` or the timeout.
bool WaitUntil(const std::function<bool()>& done, int timeoutMs = 60000);

// Runs the component's tasks and pumps events until the end-of-run event; returns
// every terminate event in the order it arrived (the last has index -1).
std::vector<TTerminateInfo> RunAndWait(TFFmpegVCL& engine, int timeoutMs = 120000);

// Sets up one task converting `input` into `output` and runs it.
TTerminateInfo ConvertOne(const QString& input, const QString& output, const TOutputOptions& options,
                          const TInputOptions& inputOptions = {});

QStringList FilesIn(const QString& dir);

// Mean absolute difference of two gray pictures of the same size (255 when they differ in size).
double MeanAbsDiff(const QByteArray& a, const QByteArray& b);

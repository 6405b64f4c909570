#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringList>

class TestEnvironment;
struct TlvFilesRecord;

// Makes a video clip from a lavfi source with the ffmpeg command line; the
// extra arguments (codec, key frame interval) go before the output name.
// Empty on failure.
QString MakeLavfiClip(const QString& folder, const QString& name, const QString& source, const QStringList& extra);

// The luma plane of frame `index` of a video file, as ffmpeg decodes it:
// width x height bytes. Empty when the frame or its size is not there.
QByteArray LumaFrame(const QString& path, int index, int width, int height);
// Mean absolute difference per byte; -1 when the sizes differ.
double MeanDifference(const QByteArray& a, const QByteArray& b);
// A rectangle cut out of a luma plane.
QByteArray LumaRect(const QByteArray& plane, int planeWidth, int x, int y, int width, int height);

// Converts one record with the AVI format whose converter INI section takes
// the given keys, into a folder of the environment. Returns the output path,
// empty when the run failed.
QString ConvertWithAvi(TestEnvironment& env, TlvFilesRecord& record, const QMap<QString, QString>& keys);

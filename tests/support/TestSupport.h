#pragma once

#include <QJsonObject>
#include <QString>
#include <QStringList>

#include "support/QtPrinters.h"

// Folder of the clips that tests/fixtures/make_clips.sh generates.
QString ClipsDir();
// Full path of one generated clip, e.g. ClipPath("flv1_mp3.flv").
QString ClipPath(const QString& name);

// Runs a program and returns its standard output; exitCode receives its exit
// code (-1 when it could not run).
QByteArray RunProgram(const QString& program, const QStringList& arguments, int* exitCode = nullptr);

// ffprobe's view of a media file: {"format": {...}, "streams": [...]}. An empty
// object when ffprobe cannot read the file. This is the independent oracle for
// checking what the engine wrote.
QJsonObject FfprobeJson(const QString& path);

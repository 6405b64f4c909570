#pragma once

#include "media/Bitmap24.h"
#include "media/player/TFFPlayer.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include <cstdint>
#include <mutex>
#include <vector>

// Everything a player raised, in order, as seen on the GUI thread.
struct PlayerEvents {
    struct FileOpen {
        int64_t duration = -2;
        int width = -2;
        int height = -2;
    };
    std::vector<FileOpen> opens;
    std::vector<int64_t> positions;
    std::vector<TPlayState> states;
    // Screen size a handler hands back; <= 0 leaves the widget's size.
    int screenWidth = 0;
    int screenHeight = 0;

    void Attach(TFFPlayer& player);
    int Count(TPlayState state) const;
    int64_t LastPosition() const { return positions.empty() ? -1 : positions.back(); }
};

// Makes a clip with the ffmpeg command line in dir; empty on failure. args go
// between "-y" and the output name.
QString MakeClip(const QTemporaryDir& dir, const QString& name, const QStringList& args);

// Frame `index` (in decoding order of presentation) of a video file as
// ffmpeg decodes it: width x height BGR bytes, rows packed. The independent
// oracle for what the player shows.
QByteArray OracleFrame(const QString& path, int index, int width, int height);

// Presentation times of the video frames in display order, in microseconds
// from the file's start time, as ffprobe reads them.
std::vector<int64_t> FrameTimes(const QString& path);
// Index of the frame on screen at a position: the last one starting at or
// before it (the first one for positions before any).
int FrameAt(const std::vector<int64_t>& times, int64_t position);

// Mean absolute difference per byte between a picture and packed BGR bytes of
// the same size; a large value when the sizes differ.
double MeanDifference(const Bitmap24& picture, const QByteArray& bgr);

// Threads of this process now.
int ThreadCount();
// Their names, for failure messages.
QString ThreadNames();

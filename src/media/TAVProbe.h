#pragma once

#include "media/MediaRecords.h"

#include <QString>

#include <memory>
#include <string>

struct AVFormatContext;

// Reads the container and stream facts of one media file. Every failing call
// leaves a message in LastErrMsg(); queries on a probe without a file answer
// "file not loaded." and empty or -1 values.
class TAVProbe {
public:
    TAVProbe();
    ~TAVProbe();
    TAVProbe(const TAVProbe&) = delete;
    TAVProbe& operator=(const TAVProbe&) = delete;

    // formatName forces a demuxer; empty lets FFmpeg recognise the file.
    bool LoadFile(const QString& fileName, const std::string& formatName = {});
    void CloseFile();
    bool Loaded() const;

    QString ProbeFileName() const;
    TFileStreamInfo GetFileStreamInfo();
    // streamIndex -1 asks for the default stream of that kind.
    bool GetVideoStreamInfo(int streamIndex, TVideoStreamInfo& info);
    bool GetAudioStreamInfo(int streamIndex, TAudioStreamInfo& info);
    std::string FormatName();
    bool IsVideoStream(int streamIndex);
    bool IsAudioStream(int streamIndex);
    QString InfoReport();
    int DefaultVideoStream();
    int DefaultAudioStream();
    int StreamCount();
    int VideoStreamCount();
    int AudioStreamCount();

    QString LastErrMsg() const { return lastError_; }

private:
    bool CheckLoaded();
    bool LooksTruncated();

    AVFormatContext* ctx_ = nullptr;
    QString fileName_;
    QString lastError_;
};

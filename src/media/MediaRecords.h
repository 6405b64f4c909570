#pragma once

#include <QString>

#include <cstdint>
#include <limits>
#include <memory>
#include <string>

class Bitmap24;

// A 64-bit time that holds no value.
inline constexpr int64_t kNoTime = std::numeric_limits<int64_t>::min();

// Descriptive tags written into the output container.
struct TStreamInfo {
    double Timestamp = -1.0;
    int32_t Year = -1;
    int32_t Track = -1;
    std::string Title;
    std::string Author;
    std::string Copyright;
    std::string Comment;
    std::string Album;
    std::string Genre;
};

// What one task writes. Numbers at -1 (and empty strings) mean "engine default";
// ResetOutputOptions gives every field its documented initial value.
struct TOutputOptions {
    QString OutputFileName;
    std::string OutputFormat;
    int32_t PacketSize = -1;
    int32_t MuxRate = -1;
    float MuxDelay = -1.0f;
    float MuxPreload = -1.0f;
    std::string AudioCodec;
    std::string AudioPreset;
    bool AudioDisabled = false;
    int32_t Volume = -1;
    int32_t AudioChannels = -1;
    int32_t AudioSampleRate = -1;
    int32_t AudioBitRate = -1;
    int32_t AudioBitRateTolerance = -1;
    std::string AudioLanguage;
    int32_t AudioSync = 0;
    std::string AudioTag;
    std::string VideoCodec;
    std::string VideoPreset;
    bool VideoDisabled = false;
    std::string FrameRate;
    std::string FrameSize;
    std::string AspectRatio;
    int32_t CropTop = -1;
    int32_t CropBottom = -1;
    int32_t CropLeft = -1;
    int32_t CropRight = -1;
    int32_t GopSize = -1;
    int32_t VideoBitRate = -1;
    int32_t MaxRate = -1;
    int32_t MinRate = -1;
    int32_t BitRateTolerance = -1;
    int32_t BufferSize = -1;
    int32_t VideoSync = -1;
    std::string VideoTag;
    std::string VideoFilters;
    std::string VideoLanguage;
    std::string SubtitleCodec;
    std::string SubtitlePreset;
    bool SubtitlesDisabled = false;
    std::string SubtitleLanguage;
    bool InputSync = false;
    bool CopyTimestamps = false;
    int64_t StartOffset = kNoTime;
    int64_t RecordingTime = kNoTime;
    TStreamInfo Metadata;
    int32_t TargetType = 0;  // 0 none, 1 vcd, 2 svcd, 3 dvd
    int32_t TargetNorm = 0;  // 0 automatic, 1 pal, 2 ntsc
    int32_t DefaultNorm = 1; // 1 pal, anything else ntsc
    bool UseFrameHook = false;
    std::string ExtraOptions;
};

struct TInputOptions {
    QString InputFileName;
    std::string InputFormat;
    int64_t StartPosition = kNoTime;
    std::string ExtraOptions;
};

void ResetOutputOptions(TOutputOptions& options);
void ResetInputOptions(TInputOptions& options);

struct TRational {
    int Num = 0;
    int Den = 1;
    double Value() const { return Den ? double(Num) / Den : 0.0; }
};

struct TFileStreamInfo {
    QString FileName;
    std::string FormatName;
    int64_t Duration = -1; // microseconds, -1 unknown
    int64_t StartTime = 0;
    int64_t BitRate = 0;
    int StreamCount = 0;
};

struct TVideoStreamInfo {
    int StreamIndex = -1;
    std::string CodecName;
    std::string PixelFormat;
    int Width = 0;
    int Height = 0;
    int64_t BitRate = 0;
    TRational FrameRate;
    TRational SampleAspectRatio;
    TRational DisplayAspectRatio;
    int64_t Duration = -1;
};

struct TAudioStreamInfo {
    int StreamIndex = -1;
    std::string CodecName;
    std::string SampleFormat;
    int SampleRate = 0;
    int Channels = 0;
    std::string ChannelLayout;
    int64_t BitRate = 0;
    int64_t Duration = -1;
};

struct TProgressInfo {
    int32_t TaskIndex = -1;
    int64_t CurrentSize = 0;     // bytes written so far
    int64_t CurrentDuration = 0; // position reached in the output, microseconds
    int64_t TotalDuration = 0;   // expected length of the output, microseconds (0 when unknown)
};
using PProgressInfo = const TProgressInfo*;

struct TTerminateInfo {
    int32_t TaskIndex = -1; // -1: every task has ended
    bool Finished = false;
    bool Exception = false;
    QString ExceptionMsg;
};

struct TPreviewInfo {
    int32_t TaskIndex = -1;
    std::shared_ptr<const Bitmap24> Bitmap;
    int64_t PTS = 0;
};

struct THookInfo {
    int32_t TaskIndex = -1;
    Bitmap24* Bitmap = nullptr; // the frame, writable during the call
    int32_t FrameNumber = 0;
    int64_t PTS = 0;      // microseconds from the start of the converted range
    bool Update = true;   // copy the bitmap back into the frame after the call
    bool StopHook = false; // set to stop calling the hook for this task
};
using PHookInfo = THookInfo*;

enum TThreadPriority { tpIdle, tpLowest, tpLower, tpNormal, tpHigher, tpHighest, tpTimeCritical };

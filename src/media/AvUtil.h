#pragma once

// Small helpers around the FFmpeg C API shared by the engine's sources. Not part
// of the engine's public headers: nothing outside src/media includes FFmpeg.

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/avutil.h>
}

#include <QString>

#include <memory>
#include <string>

std::string AvErrorText(int errnum);
std::string Format(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
// File names reach FFmpeg as UTF-8.
std::string ToFfmpegPath(const QString& path);

struct AvFrameDeleter { void operator()(AVFrame* f) const { av_frame_free(&f); } };
struct AvPacketDeleter { void operator()(AVPacket* p) const { av_packet_free(&p); } };
struct AvCodecContextDeleter { void operator()(AVCodecContext* c) const { avcodec_free_context(&c); } };
struct AvInputDeleter { void operator()(AVFormatContext* c) const { avformat_close_input(&c); } };

using FramePtr = std::unique_ptr<AVFrame, AvFrameDeleter>;
using PacketPtr = std::unique_ptr<AVPacket, AvPacketDeleter>;
using CodecContextPtr = std::unique_ptr<AVCodecContext, AvCodecContextDeleter>;
using InputPtr = std::unique_ptr<AVFormatContext, AvInputDeleter>;

inline FramePtr MakeFrame() { return FramePtr(av_frame_alloc()); }
inline PacketPtr MakePacket() { return PacketPtr(av_packet_alloc()); }

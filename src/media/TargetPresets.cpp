#include "media/TargetPresets.h"

#include <cmath>

int ResolveTargetNorm(int targetNorm, int defaultNorm, double sourceFrameRate)
{
    if (targetNorm == 1 || targetNorm == 2) return targetNorm;
    if (sourceFrameRate > 0) {
        if (std::fabs(sourceFrameRate - 25.0) < 0.01 || std::fabs(sourceFrameRate - 50.0) < 0.01) return 1;
        for (double ntsc : {30000.0 / 1001, 24000.0 / 1001, 60000.0 / 1001})
            if (std::fabs(sourceFrameRate - ntsc) < 0.01) return 2;
    }
    return defaultNorm == 1 ? 1 : 2;
}

namespace {

void Fill(std::string& field, const char* preset)
{
    if (field.empty()) field = preset;
}

void Fill(int32_t& field, int32_t preset)
{
    if (field <= 0) field = preset;
}

void Fill(float& field, float preset)
{
    if (field <= 0) field = preset;
}

} // namespace

ResolvedTarget ApplyTargetPreset(const TOutputOptions& task, int norm)
{
    ResolvedTarget r;
    r.options = task;
    TOutputOptions& o = r.options;
    const bool pal = norm != 2;
    const char* rate = pal ? "25" : "30000/1001";
    switch (task.TargetType) {
    case 1: // vcd
        Fill(o.VideoCodec, "mpeg1video");
        Fill(o.AudioCodec, "mp2");
        Fill(o.OutputFormat, "vcd");
        r.finalFrameSize = pal ? "352x288" : "352x240";
        Fill(o.FrameRate, rate);
        Fill(o.GopSize, pal ? 15 : 18);
        Fill(o.VideoBitRate, 1150000);
        Fill(o.MaxRate, 1150000);
        Fill(o.MinRate, 1150000);
        Fill(o.BufferSize, 327680);
        Fill(o.AudioBitRate, 224000);
        Fill(o.AudioSampleRate, 44100);
        Fill(o.AudioChannels, 2);
        Fill(o.PacketSize, 2324);
        Fill(o.MuxRate, 1411200);
        Fill(o.MuxPreload, 0.44f);
        break;
    case 2: // svcd
        Fill(o.VideoCodec, "mpeg2video");
        Fill(o.AudioCodec, "mp2");
        Fill(o.OutputFormat, "svcd");
        r.finalFrameSize = pal ? "480x576" : "480x480";
        Fill(o.FrameRate, rate);
        r.pixelFormat = "yuv420p";
        Fill(o.GopSize, pal ? 15 : 18);
        Fill(o.VideoBitRate, 2040000);
        Fill(o.MaxRate, 2516000);
        Fill(o.BufferSize, 1835008);
        r.scanOffset = true;
        Fill(o.AudioBitRate, 224000);
        Fill(o.AudioSampleRate, 44100);
        Fill(o.PacketSize, 2324);
        break;
    case 3: // dvd
        Fill(o.VideoCodec, "mpeg2video");
        Fill(o.AudioCodec, "ac3");
        Fill(o.OutputFormat, "dvd");
        r.finalFrameSize = pal ? "720x576" : "720x480";
        Fill(o.FrameRate, rate);
        r.pixelFormat = "yuv420p";
        Fill(o.GopSize, pal ? 15 : 18);
        Fill(o.VideoBitRate, 6000000);
        Fill(o.MaxRate, 9000000);
        Fill(o.BufferSize, 1835008);
        Fill(o.PacketSize, 2048);
        Fill(o.MuxRate, 10080000);
        Fill(o.AudioBitRate, 448000);
        Fill(o.AudioSampleRate, 48000);
        break;
    default:
        break;
    }
    // The preset comes first and the task's own fields on top: a task that
    // sizes its picture itself keeps that size.
    if (!task.FrameSize.empty() || !task.VideoFilters.empty()) r.finalFrameSize.clear();
    return r;
}

DeviceSettings DeviceSettingsFor(const std::string& presetName)
{
    DeviceSettings d;
    if (presetName == "libx264-ipod") {
        // iPod class players decode Baseline 3.0 only, without B-frames or CABAC.
        d = {true, "baseline", "3.0", 10000000, 10000000, ""};
    } else if (presetName == "libx264-psp") {
        d = {true, "main", "3.0", 4000000, 4000000, "ref=3"};
    } else if (presetName == "libx264-ps3") {
        d = {true, "high", "4.1", 20000000, 20000000, ""};
    } else if (presetName == "libx264-mp4") {
        d = {true, "high", "", 0, 0, ""};
    }
    return d;
}

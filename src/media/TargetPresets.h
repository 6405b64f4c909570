#pragma once

#include "media/MediaRecords.h"

#include <string>

// 1 pal or 2 ntsc, from the task's norm, the source frame rate (0 when unknown)
// and the fallback norm.
int ResolveTargetNorm(int targetNorm, int defaultNorm, double sourceFrameRate);

// A task's output options with the vcd/svcd/dvd preset underneath: the preset
// fills what the task left unset, everything the task set wins. The preset's
// frame size is kept apart because it is the size of the finished picture
// (after the task's own filters), not the size the source is scaled to first.
struct ResolvedTarget {
    TOutputOptions options;
    std::string finalFrameSize;  // "WxH" or empty
    std::string pixelFormat;     // forced encoder input format or empty
    bool scanOffset = false;     // svcd scan offset user data
};
ResolvedTarget ApplyTargetPreset(const TOutputOptions& task, int norm);

// The libx264 settings behind a device preset name ("libx264-ipod", ...).
struct DeviceSettings {
    bool known = false;
    std::string profile;   // x264 profile name, empty = libx264 default
    std::string level;     // "3.0"
    int maxRate = 0;       // bit/s, 0 = none
    int bufferSize = 0;    // bits
    std::string x264Params;
};
DeviceSettings DeviceSettingsFor(const std::string& presetName);

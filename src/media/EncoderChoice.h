#pragma once

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

#include <string>

// Names of encoders that older FFmpeg builds carried, translated to the
// encoder this build has for the same codec ("libfaac" -> "aac").
std::string MapLegacyEncoderName(const std::string& name);

// The encoder for one output stream: the requested name (after mapping), or the
// container's default when the name is empty, unknown, or a codec the container
// cannot hold. `note` explains any replacement. nullptr when the container has
// no codec of that kind at all.
const AVCodec* ChooseEncoder(const std::string& requested, AVMediaType type, const AVOutputFormat* format,
                             std::string& note);

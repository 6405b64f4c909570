#include "media/EncoderChoice.h"

#include "media/AvUtil.h"

#include <map>

std::string MapLegacyEncoderName(const std::string& name)
{
    static const std::map<std::string, std::string> renamed = {
        {"libfaac", "aac"},
        {"libvo_aacenc", "aac"},
        {"libfdk_aac", "aac"},
        {"libflac", "flac"},
        {"vorbis", "libvorbis"},
        {"libamr_nb", "libopencore_amrnb"},
        {"libmp3lame", "libmp3lame"},
        {"mp3", "libmp3lame"},
        {"libxvid", "libxvid"},
        {"x264", "libx264"},
        {"h264", "libx264"},
    };
    const auto it = renamed.find(name);
    if (it == renamed.end()) return name;
    // Only take the new name when this build has it (a build with libfaac keeps it).
    if (avcodec_find_encoder_by_name(name.c_str()) && name != "vorbis") return name;
    return avcodec_find_encoder_by_name(it->second.c_str()) ? it->second : name;
}

namespace {

const AVCodec* ContainerDefault(AVMediaType type, const AVOutputFormat* format)
{
    AVCodecID id = AV_CODEC_ID_NONE;
    if (type == AVMEDIA_TYPE_VIDEO) id = format->video_codec;
    if (type == AVMEDIA_TYPE_AUDIO) id = format->audio_codec;
    if (id == AV_CODEC_ID_NONE) return nullptr;
    // The native MP3 encoder does not exist; FFmpeg then finds libmp3lame by id.
    return avcodec_find_encoder(id);
}

} // namespace

const AVCodec* ChooseEncoder(const std::string& requested, AVMediaType type, const AVOutputFormat* format,
                             std::string& note)
{
    note.clear();
    const AVCodec* fallback = ContainerDefault(type, format);
    if (requested.empty()) return fallback;

    const std::string name = MapLegacyEncoderName(requested);
    const AVCodec* codec = avcodec_find_encoder_by_name(name.c_str());
    const char* kind = type == AVMEDIA_TYPE_VIDEO ? "video" : "audio";
    if (!codec || codec->type != type) {
        note = Format("Unknown %s encoder '%s', using '%s' instead.", kind, requested.c_str(),
                      fallback ? fallback->name : "none");
        return fallback;
    }
    if (avformat_query_codec(format, codec->id, FF_COMPLIANCE_NORMAL) == 0) {
        note = Format("The %s container cannot hold %s encoder '%s', using '%s' instead.", format->name, kind,
                      requested.c_str(), fallback ? fallback->name : "none");
        return fallback;
    }
    return codec;
}

#include "media/TFFmpegLoader.h"

#include "media/AvUtil.h"

extern "C" {
#include <libavfilter/avfilter.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}

#include <mutex>

namespace {

std::mutex gMutex;
QString gLastError;

struct Library {
    const char* name;
    unsigned (*version)();
    unsigned builtMajor;
};

} // namespace

bool TFFmpegLoader::LoadLibraries(const QString& folder)
{
    (void)folder;
    const Library libraries[] = {
        {"avutil", avutil_version, LIBAVUTIL_VERSION_MAJOR},
        {"avcodec", avcodec_version, LIBAVCODEC_VERSION_MAJOR},
        {"avformat", avformat_version, LIBAVFORMAT_VERSION_MAJOR},
        {"avfilter", avfilter_version, LIBAVFILTER_VERSION_MAJOR},
        {"swscale", swscale_version, LIBSWSCALE_VERSION_MAJOR},
        {"swresample", swresample_version, LIBSWRESAMPLE_VERSION_MAJOR},
    };
    std::string error;
    for (const Library& lib : libraries) {
        const unsigned major = lib.version() >> 16;
        if (major != lib.builtMajor) {
            error = Format("Load library %s error: %s", Format("%s-%u", lib.name, major).c_str(),
                           Format("version %u found, %u needed", major, lib.builtMajor).c_str());
            break;
        }
    }
    if (error.empty()) {
        for (const char* muxer : {"mp4", "avi", "dvd", "vcd", "svcd", "flv", "mp3", "mpegts", "ipod", "3gp"}) {
            if (!av_guess_format(muxer, nullptr, nullptr)) {
                error = Format("Load library %s error: %s", Format("avformat-%u", avformat_version() >> 16).c_str(),
                               Format("muxer %s missing", muxer).c_str());
                break;
            }
        }
    }
    if (error.empty() && !avfilter_get_by_name("buffer"))
        error = Format("Load library %s error: %s", Format("avfilter-%u", avfilter_version() >> 16).c_str(),
                       "filter buffer missing");
    std::lock_guard lock(gMutex);
    gLastError = QString::fromStdString(error);
    return error.empty();
}

QString TFFmpegLoader::LastLoadError()
{
    std::lock_guard lock(gMutex);
    return gLastError;
}

// Runs one of the benchmark jobs through the engine:
//   varnel_convert_bench <job> <input> <output>
// with job one of: h264 (H.264 768 kbit/s + AAC 128 kbit/s MP4), h264-hook (the
// same with a hook that does nothing), mpeg4 (MPEG-4 + MP3 AVI), dvd (MPEG-2
// dvd/pal). Exit code 0 when the output was written.
#include "media/TFFmpegVCL.h"

#include <QCoreApplication>

#include <cstdio>
#include <cstring>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s h264|h264-hook|mpeg4|dvd <input> <output>\n", argv[0]);
        return 2;
    }
    const QString job = QString::fromLocal8Bit(argv[1]);
    TOutputOptions o;
    if (job == "h264" || job == "h264-hook") {
        o.VideoCodec = "libx264";
        o.VideoBitRate = 768000;
        o.AudioCodec = "aac";
        o.AudioBitRate = 128000;
        o.UseFrameHook = job == "h264-hook";
    } else if (job == "mpeg4") {
        o.VideoCodec = "mpeg4";
        o.AudioCodec = "libmp3lame";
    } else if (job == "dvd") {
        o.TargetType = 3;
        o.TargetNorm = 1;
    } else {
        std::fprintf(stderr, "unknown job %s\n", argv[1]);
        return 2;
    }
    TFFmpegVCL engine;
    const int task = engine.AddTask(QString::fromLocal8Bit(argv[2]), TInputOptions{});
    if (task < 0 || !engine.SetOutputFile(task, QString::fromLocal8Bit(argv[3]), o)) {
        std::fprintf(stderr, "%s\n", qPrintable(engine.LastErrMsg()));
        return 1;
    }
    if (o.UseFrameHook) engine.OnCustomHook = [](TFFmpegVCL*, PHookInfo) {};
    int rc = 1;
    engine.OnTerminate = [&](TFFmpegVCL*, const TTerminateInfo& info) {
        if (info.TaskIndex >= 0) {
            rc = info.Finished ? 0 : 1;
            if (!info.ExceptionMsg.isEmpty()) std::fprintf(stderr, "%s\n", qPrintable(info.ExceptionMsg));
        } else {
            app.quit();
        }
    };
    engine.StartTask(1);
    app.exec();
    return rc;
}

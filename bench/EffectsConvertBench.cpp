// One H.264 conversion through the engine, with or without the picture
// effects and two watermark items that the main window's run would draw:
//   varnel_effects_convert_bench plain|edited <input> <output>
// effects_compare.py times the two alternately.
#include "effects/EditsFile.h"
#include "effects/FrameCompositing.h"
#include "effects/WmGraphics.h"
#include "media/TFFmpegVCL.h"
#include "shell/TlvFilesRecord.h"

#include <QGuiApplication>

#include <cstdio>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 4 || (std::string(argv[1]) != "plain" && std::string(argv[1]) != "edited")) {
        std::fprintf(stderr, "usage: %s plain|edited <input> <output>\n", argv[0]);
        return 2;
    }
    TlvFilesRecord record;
    if (std::string(argv[1]) == "edited") {
        record.Brightness = 300;
        record.Contrast = 15;
        TWmRec title = NewWatermarkItem(TWmRec::kText, 1000);
        title.Text = QStringLiteral("Varnel sample");
        title.BackOpaque = false;
        title.TextLeft = 20, title.TextTop = 20;
        TWmRec box = NewWatermarkItem(TWmRec::kText, 1000);
        box.Text = QStringLiteral("on a box");
        box.TextLeft = 380, box.TextTop = 290;
        for (TWmRec* item : {&title, &box}) {
            const QSize extent = TextExtent(item->Text, item->Font);
            item->TextWidth = extent.width();
            item->TextHeight = extent.height();
        }
        record.WaterMarks = {title, box};
    }
    TOutputOptions o;
    ResetOutputOptions(o);
    o.VideoCodec = "libx264";
    o.VideoBitRate = 768000;
    o.AudioCodec = "aac";
    o.AudioBitRate = 128000;
    o.UseFrameHook = record.NeedsFrameHook();

    TFFmpegVCL engine;
    ConversionCompositor compositor([&record](int) { return &record; });
    engine.OnCustomHook = [&compositor](TFFmpegVCL* sender, PHookInfo info) { compositor.CCAVCCustomHook(sender, info); };
    TInputOptions input;
    ResetInputOptions(input);
    const int task = engine.AddTask(QString::fromLocal8Bit(argv[2]), input);
    if (task < 0 || !engine.SetOutputFile(task, QString::fromLocal8Bit(argv[3]), o)) {
        std::fprintf(stderr, "%s\n", qPrintable(engine.LastErrMsg()));
        return 1;
    }
    int rc = 1;
    engine.OnTerminate = [&](TFFmpegVCL*, const TTerminateInfo& info) {
        if (info.TaskIndex >= 0)
            rc = info.Finished ? 0 : 1;
        else
            app.quit();
    };
    engine.StartTask(1);
    app.exec();
    return rc;
}

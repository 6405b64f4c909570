// Time from confirming the open dialog with 100 files to seeing them all
// listed, and the longest time the window's event loop was kept from running
// meanwhile (how long the window would not answer input).
#include "platform/ScriptedDialogs.h"
#include "shell/SourceFileList.h"
#include "shell/TfrmMain.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

namespace {

QString MakeClip(const QTemporaryDir& dir)
{
    const QString path = dir.filePath("source.flv");
    QProcess::execute("ffmpeg", {"-v", "error", "-nostdin", "-y", "-f", "lavfi", "-i",
                                 "testsrc2=size=320x240:rate=25:duration=3", "-f", "lavfi", "-i",
                                 "sine=frequency=440:sample_rate=44100:duration=3", "-c:v", "flv1", "-c:a",
                                 "libmp3lame", "-shortest", path});
    return path;
}

void AddHundredFiles(benchmark::State& state)
{
    QTemporaryDir dir;
    qputenv("VARNEL_CONFIG_DIR", dir.filePath("config").toLocal8Bit());
    qputenv("HOME", dir.path().toLocal8Bit());
    const QString clip = MakeClip(dir);
    QStringList files;
    for (int i = 0; i < 100; ++i) {
        const QString copy = dir.filePath(QString("file%1.flv").arg(i));
        QFile::copy(clip, copy);
        files << copy;
    }
    ScriptedDialogs dialogs;
    SetAppDialogs(&dialogs);
    double worstStallMs = 0;
    for (auto _ : state) {
        TfrmMain window;
        window.show();
        QEventLoop loop;
        QObject::connect(&window, &TfrmMain::filesAdded, &loop, &QEventLoop::quit);
        QElapsedTimer sinceTick;
        QTimer ticker;
        ticker.setInterval(5);
        QObject::connect(&ticker, &QTimer::timeout, [&] {
            worstStallMs = std::max(worstStallMs, sinceTick.nsecsElapsed() / 1e6);
            sinceTick.restart();
        });
        dialogs.ScriptFiles(files);
        QElapsedTimer clock;
        clock.start();
        sinceTick.start();
        ticker.start();
        window.btnAddClick();
        loop.exec();
        state.SetIterationTime(clock.nsecsElapsed() / 1e9);
        if (window.Files().RowCount() != 100) state.SkipWithError("not every file was listed");
    }
    state.counters["worst_stall_ms"] = worstStallMs;
    SetAppDialogs(nullptr);
}
BENCHMARK(AddHundredFiles)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

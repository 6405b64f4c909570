// The preview player on a 640x360 25 fps clip with sound: time from
// OpenAndPlay to the first picture, CPU used while playing (percent of one
// core), and how far the pictures have drifted from the sound device's
// real-time clock after 60 s of playback. Run it with SDL_AUDIODRIVER=none:
// the player then paces the sound by the system clock itself, a sink that
// plays in exact real time; SDL's dummy driver runs slower than real time.
#include "media/player/TFFPlayer.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

#include <sys/resource.h>

namespace {

QString gClip;

double CpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

void OpenToFirstPicture(benchmark::State& state)
{
    QWidget screen;
    screen.resize(256, 183);
    screen.show();
    TFFPlayer player;
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        if (!player.OpenAndPlay(gClip, &screen) || player.CurrentPicture().Empty()) state.SkipWithError("no picture");
        state.SetIterationTime(clock.nsecsElapsed() / 1e9);
        player.ClosePlayback(true);
    }
}
BENCHMARK(OpenToFirstPicture)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

// One iteration: a minute of playback into a preview-sized widget.
void PlayOneMinute(benchmark::State& state)
{
    QWidget screen;
    screen.resize(256, 183);
    screen.show();
    for (auto _ : state) {
        TFFPlayer player;
        if (!player.OpenAndPlay(gClip, &screen)) {
            state.SkipWithError("cannot open");
            break;
        }
        const int64_t firstPts = player.CurrentPosition();
        QElapsedTimer wall;
        wall.start();
        // How far the picture on screen is from where a real-time sound
        // device has got to; its change over the minute is the drift.
        const auto offsetMs = [&] { return (player.CurrentPosition() - firstPts) / 1e3 - wall.nsecsElapsed() / 1e6; };
        const double cpuBefore = CpuSeconds();
        QTest::qWait(5000);
        const double offsetAt5 = offsetMs();
        QTest::qWait(55000);
        const double offsetAt60 = offsetMs();
        const double cpu = CpuSeconds() - cpuBefore;
        state.counters["cpu_percent_of_one_core"] = 100.0 * cpu / (wall.nsecsElapsed() / 1e9);
        state.counters["offset_5s_ms"] = offsetAt5;
        state.counters["offset_60s_ms"] = offsetAt60;
        state.counters["drift_ms"] = offsetAt60 - offsetAt5;
        player.ClosePlayback(true);
    }
}
BENCHMARK(PlayOneMinute)->Unit(benchmark::kSecond)->Iterations(1);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("SDL_AUDIODRIVER")) qputenv("SDL_AUDIODRIVER", "none");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    gClip = dir.filePath("clip.flv");
    QProcess::execute("ffmpeg", {"-v", "error", "-nostdin", "-y", "-f", "lavfi", "-i",
                                 "testsrc2=size=640x360:rate=25:duration=70", "-f", "lavfi", "-i",
                                 "sine=frequency=440:sample_rate=44100:duration=70", "-c:v", "libx264", "-g", "250",
                                 "-c:a", "aac", "-b:a", "128k", "-shortest", gClip});
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

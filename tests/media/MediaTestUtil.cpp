#include "MediaTestUtil.h"

#include "support/TestSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QTimer>

#include <cmath>
#include <cstring>

QJsonObject FirstStream(const QJsonObject& probe, const QString& kind)
{
    for (const auto& s : probe.value("streams").toArray())
        if (s.toObject().value("codec_type").toString() == kind) return s.toObject();
    return {};
}

int StreamCountOf(const QJsonObject& probe, const QString& kind)
{
    int n = 0;
    for (const auto& s : probe.value("streams").toArray())
        if (s.toObject().value("codec_type").toString() == kind) ++n;
    return n;
}

double FormatDuration(const QJsonObject& probe)
{
    return probe.value("format").toObject().value("duration").toString().toDouble();
}

bool Ffmpeg(const QStringList& arguments)
{
    int code = -1;
    RunProgram("ffmpeg", QStringList{"-hide_banner", "-loglevel", "error", "-nostdin", "-y"} + arguments, &code);
    return code == 0;
}

QByteArray GrayFrame(const QString& path, double seconds, int width, int height)
{
    int code = -1;
    const QByteArray out = RunProgram("ffmpeg", {"-v", "error", "-nostdin", "-i", path, "-ss", QString::number(seconds),
                                                 "-frames:v", "1", "-f", "rawvideo", "-pix_fmt", "gray", "-"},
                                      &code);
    if (code != 0 || out.size() != width * height) return {};
    return out;
}

double SoundLevel(const QString& path)
{
    int code = -1;
    const QByteArray out =
        RunProgram("ffmpeg", {"-v", "error", "-nostdin", "-i", path, "-ac", "1", "-f", "s16le", "-"}, &code);
    if (code != 0 || out.size() < 2) return -1;
    const size_t n = size_t(out.size()) / 2;
    double sum = 0;
    for (size_t i = 0; i < n; ++i) {
        int16_t s;
        std::memcpy(&s, out.constData() + 2 * i, 2);
        sum += double(s) * s;
    }
    return std::sqrt(sum / double(n));
}

double MeanOf(const QByteArray& gray, int width, int x, int y, int w, int h)
{
    double sum = 0;
    for (int r = y; r < y + h; ++r)
        for (int c = x; c < x + w; ++c) sum += uint8_t(gray[r * width + c]);
    return sum / (w * h);
}

bool WaitUntil(const std::function<bool()>& done, int timeoutMs)
{
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < timeoutMs) {
        // Sleeps in the event loop rather than spinning, so the engine's
        // threads get the processors.
        QEventLoop loop;
        QTimer::singleShot(5, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return done();
}

std::vector<TTerminateInfo> RunAndWait(TFFmpegVCL& engine, int timeoutMs)
{
    std::vector<TTerminateInfo> events;
    bool ended = false;
    auto previous = engine.OnTerminate;
    engine.OnTerminate = [&](TFFmpegVCL* sender, const TTerminateInfo& info) {
        if (previous) previous(sender, info);
        events.push_back(info);
        if (info.TaskIndex < 0) ended = true;
    };
    engine.StartTask(1);
    WaitUntil([&] { return ended; }, timeoutMs);
    if (!ended) engine.StopConversion(true);
    engine.OnTerminate = previous;
    return events;
}

TTerminateInfo ConvertOne(const QString& input, const QString& output, const TOutputOptions& options,
                          const TInputOptions& inputOptions)
{
    TFFmpegVCL engine;
    const int task = engine.AddTask(input, inputOptions);
    if (task < 0) return TTerminateInfo{-2, false, true, engine.LastErrMsg()};
    if (!engine.SetOutputFile(task, output, options)) return TTerminateInfo{-3, false, true, engine.LastErrMsg()};
    const auto events = RunAndWait(engine);
    if (events.size() != 2) return TTerminateInfo{-4, false, true, "unexpected events"};
    return events[0];
}

QStringList FilesIn(const QString& dir)
{
    return QDir(dir).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

double MeanAbsDiff(const QByteArray& a, const QByteArray& b)
{
    if (a.size() != b.size() || a.isEmpty()) return 255;
    double sum = 0;
    for (qsizetype i = 0; i < a.size(); ++i) sum += std::abs(int(uint8_t(a[i])) - int(uint8_t(b[i])));
    return sum / double(a.size());
}

#include "PlayerTestUtil.h"

#include "support/TestSupport.h"

#include <QDir>
#include <QJsonObject>

#include <algorithm>

#include <cmath>
#include <cstdlib>

void PlayerEvents::Attach(TFFPlayer& player)
{
    player.OnFileOpen = [this](int64_t duration, int width, int height, int& screenWidth, int& screenHeight) {
        opens.push_back({duration, width, height});
        if (this->screenWidth > 0) screenWidth = this->screenWidth;
        if (this->screenHeight > 0) screenHeight = this->screenHeight;
    };
    player.OnPosition = [this](int64_t pts) { positions.push_back(pts); };
    player.OnState = [this](TPlayState state) { states.push_back(state); };
}

int PlayerEvents::Count(TPlayState state) const
{
    int n = 0;
    for (TPlayState s : states) n += s == state;
    return n;
}

QString MakeClip(const QTemporaryDir& dir, const QString& name, const QStringList& args)
{
    const QString path = dir.filePath(name);
    int code = -1;
    RunProgram(QStringLiteral("ffmpeg"),
               QStringList{"-hide_banner", "-loglevel", "error", "-nostdin", "-y"} + args + QStringList{path}, &code);
    return code == 0 ? path : QString();
}

QByteArray OracleFrame(const QString& path, int index, int width, int height)
{
    int code = -1;
    const QByteArray raw = RunProgram(
        QStringLiteral("ffmpeg"),
        {"-hide_banner", "-loglevel", "error", "-nostdin", "-i", path, "-vf", QStringLiteral("select=eq(n\\,%1)").arg(index),
         "-frames:v", "1", "-f", "rawvideo", "-pix_fmt", "bgr24", "-"},
        &code);
    if (code != 0 || raw.size() != qsizetype(width) * height * 3) return {};
    return raw;
}

std::vector<int64_t> FrameTimes(const QString& path)
{
    const QJsonObject format = FfprobeJson(path)["format"].toObject();
    const double start = format["start_time"].toString().toDouble();
    int code = -1;
    const QByteArray out = RunProgram(QStringLiteral("ffprobe"),
                                      {"-v", "error", "-select_streams", "v", "-show_entries",
                                       "frame=best_effort_timestamp_time", "-of", "csv=p=0", path},
                                      &code);
    std::vector<int64_t> times;
    for (const QByteArray& line : out.split('\n')) {
        bool ok = false;
        const double t = line.split(',').front().trimmed().toDouble(&ok);
        if (ok) times.push_back(std::llround((t - start) * 1e6));
    }
    std::sort(times.begin(), times.end());
    return times;
}

int FrameAt(const std::vector<int64_t>& times, int64_t position)
{
    const auto it = std::upper_bound(times.begin(), times.end(), position);
    return it == times.begin() ? 0 : int(it - times.begin()) - 1;
}

double MeanDifference(const Bitmap24& picture, const QByteArray& bgr)
{
    const int w = picture.Width(), h = picture.Height();
    if (picture.Empty() || bgr.size() != qsizetype(w) * h * 3) return 1e9;
    double sum = 0;
    for (int y = 0; y < h; ++y) {
        const uint8_t* row = picture.ScanLine(y);
        const auto* ref = reinterpret_cast<const uint8_t*>(bgr.constData()) + qsizetype(y) * w * 3;
        for (int x = 0; x < w * 3; ++x) sum += std::abs(int(row[x]) - int(ref[x]));
    }
    return sum / (double(w) * h * 3);
}

int ThreadCount() { return int(QDir(QStringLiteral("/proc/self/task")).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size()); }

QString ThreadNames()
{
    QStringList names;
    const QDir tasks(QStringLiteral("/proc/self/task"));
    for (const QString& task : tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile comm(tasks.filePath(task + QStringLiteral("/comm")));
        names << (comm.open(QIODevice::ReadOnly) ? QString::fromUtf8(comm.readAll()).trimmed() : task);
    }
    return names.join(QLatin1Char(','));
}

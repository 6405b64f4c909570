#include "ToolsTestUtil.h"

#include "conversion/ConversionRun.h"
#include "media/TFFmpegVCL.h"
#include "platform/IniFile.h"
#include "platform/SystemFolders.h"
#include "shell/Settings.h"
#include "shell/TlvFilesRecord.h"
#include "support/TestEnvironment.h"
#include "support/TestSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>

#include <cstdlib>

QString MakeLavfiClip(const QString& folder, const QString& name, const QString& source, const QStringList& extra)
{
    const QString path = QDir(folder).filePath(name);
    int code = -1;
    RunProgram(QStringLiteral("ffmpeg"),
               QStringList{"-hide_banner", "-loglevel", "error", "-nostdin", "-y", "-f", "lavfi", "-i", source} + extra +
                   QStringList{path},
               &code);
    return code == 0 ? path : QString();
}

QByteArray LumaFrame(const QString& path, int index, int width, int height)
{
    int code = -1;
    // yuv420p is what the clips decode to; asking for it keeps the luma
    // plane exactly as decoded.
    const QByteArray raw = RunProgram(
        QStringLiteral("ffmpeg"),
        {"-hide_banner", "-loglevel", "error", "-nostdin", "-i", path, "-vf",
         QStringLiteral("select=eq(n\\,%1)").arg(index), "-frames:v", "1", "-f", "rawvideo", "-pix_fmt", "yuv420p", "-"},
        &code);
    const qsizetype luma = qsizetype(width) * height;
    if (code != 0 || raw.size() != luma + 2 * (qsizetype((width + 1) / 2) * ((height + 1) / 2))) return {};
    return raw.left(luma);
}

double MeanDifference(const QByteArray& a, const QByteArray& b)
{
    if (a.size() != b.size() || a.isEmpty()) return -1;
    int64_t total = 0;
    for (qsizetype i = 0; i < a.size(); ++i) total += std::abs(int(uint8_t(a[i])) - int(uint8_t(b[i])));
    return double(total) / double(a.size());
}

QByteArray LumaRect(const QByteArray& plane, int planeWidth, int x, int y, int width, int height)
{
    QByteArray out;
    out.reserve(qsizetype(width) * height);
    for (int row = y; row < y + height; ++row) out += plane.mid(qsizetype(row) * planeWidth + x, width);
    return out;
}

QString ConvertWithAvi(TestEnvironment& env, TlvFilesRecord& record, const QMap<QString, QString>& keys)
{
    constexpr int kAviCode = 104;
    const QString out = env.MakeFolder(QStringLiteral("out"));
    {
        ConverterSettings settings(env.converterIni());
        settings.SetOutPutDir(out);
        settings.SetFormat(kAviCode, QStringLiteral("AVI"));
        for (auto it = keys.begin(); it != keys.end(); ++it)
            settings.ini().WriteString(QStringLiteral("formatInfo%1").arg(kAviCode), it.key(), it.value());
    }
    TFFmpegVCL engine;
    ConversionRun run(engine, env.converterIni(), InstalledDataFolder() + QStringLiteral("/varnelformat.ini"),
                      env.dialogs);
    bool ended = false, finished = false;
    QString destination;
    run.events.taskEnded = [&](int, bool ok, const QString&, const QString& file) {
        finished = ok;
        destination = file;
    };
    run.events.runEnded = [&] { ended = true; };
    run.events.openFolderAfterRun = [] { return false; };
    run.events.shutDownAfterRun = [] { return false; };
    if (run.Prepare({{0, &record}}) != 1) return {};
    engine.StartTask(1);
    QElapsedTimer clock;
    clock.start();
    while (!ended && clock.elapsed() < 120000) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return ended && finished ? destination : QString();
}

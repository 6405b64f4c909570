#include "support/TestSupport.h"

#include "platform/ShellActions.h"

#include <QDir>
#include <QJsonDocument>
#include <QProcess>

#include <cstdlib>

namespace {

// Every test program links this file: make sure none of them can ever power
// the machine off, whatever it calls.
const bool kMachineStaysOn = [] {
    setenv("VARNEL_TESTING", "1", 1);
    SetShutdownAction([] {});
    return true;
}();

} // namespace

QString ClipsDir()
{
    const QByteArray dir = qgetenv("VARNEL_CLIPS_DIR");
    return dir.isEmpty() ? QStringLiteral(VARNEL_TEST_CLIPS_DIR) : QString::fromLocal8Bit(dir);
}

QString ClipPath(const QString& name) { return QDir(ClipsDir()).filePath(name); }

QByteArray RunProgram(const QString& program, const QStringList& arguments, int* exitCode)
{
    (void)kMachineStaysOn;
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(120000)) {
        process.kill();
        process.waitForFinished();
        if (exitCode) *exitCode = -1;
        return {};
    }
    if (exitCode) *exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    return process.readAllStandardOutput();
}

QJsonObject FfprobeJson(const QString& path)
{
    int code = 0;
    const QByteArray out = RunProgram(QStringLiteral("ffprobe"),
                                      {QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-print_format"),
                                       QStringLiteral("json"), QStringLiteral("-show_format"),
                                       QStringLiteral("-show_streams"), path},
                                      &code);
    if (code != 0) return {};
    return QJsonDocument::fromJson(out).object();
}

// varnel-cli: converts files with a stored profile, without windows.
//
//   varnel-cli [--config-dir DIR] [--format CODE] [--output-dir DIR]
//              [--trim-start SECONDS] [--trim-length SECONDS]
//              [--crop TOP,LEFT,BOTTOM,RIGHT] [--edits EDITS.ini] FILE...
//   varnel-cli --list-formats
//   varnel-cli --probe FILE
//
// --edits reads one file's edits (trim, zoom, crop, effects, watermark items)
// as the watermark window stores them; they apply to every FILE, and the
// trim and crop options given after it override its values.
//
// Exit status: 0 when every file converted, 1 when any failed, 2 for a usage error.
#include "ConsoleDialogs.h"

#include "conversion/ConversionRun.h"
#include "effects/EditsFile.h"
#include "media/TAVProbe.h"
#include "media/TFFmpegVCL.h"
#include "platform/SystemFolders.h"
#include "profiles/FormatCatalogue.h"
#include "shell/GlobalObject.h"
#include "shell/TextHelpers.h"
#include "shell/TlvFilesRecord.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QDir>
#include <QFileInfo>
#include <QStringList>

#include <array>
#include <cmath>
#include <cstdio>
#include <memory>
#include <optional>
#include <string_view>

namespace {

constexpr int kUsageError = 2;

int Usage(const QString& problem)
{
    if (!problem.isEmpty()) std::fprintf(stderr, "varnel-cli: %s\n", qPrintable(problem));
    std::fprintf(stderr,
                 "usage: varnel-cli [--config-dir DIR] [--format CODE] [--output-dir DIR]\n"
                 "                  [--trim-start SECONDS] [--trim-length SECONDS]\n"
                 "                  [--crop TOP,LEFT,BOTTOM,RIGHT] [--edits EDITS.ini] FILE...\n"
                 "       varnel-cli --list-formats\n"
                 "       varnel-cli --probe FILE\n");
    return kUsageError;
}

struct Arguments {
    QString configDir;
    std::optional<int> formatCode;
    QString outputDir;
    std::optional<int64_t> trimStart;
    std::optional<int64_t> trimLength;
    std::optional<std::array<int, 4>> crop; // top, left, bottom, right
    QString editsFile;
    bool listFormats = false;
    QString probeFile;
    QStringList files;
};

std::optional<int64_t> Microseconds(const QString& seconds)
{
    if (!IsNumberText(seconds)) return std::nullopt;
    const double value = seconds.trimmed().toDouble();
    if (value < 0) return std::nullopt;
    return int64_t(std::llround(value * 1000000.0));
}

// Empty result: the arguments are fine; otherwise the usage problem.
QString Parse(const QStringList& args, Arguments& out)
{
    for (qsizetype i = 1; i < args.size(); ++i) {
        const QString& a = args[i];
        const auto value = [&](QString& into) {
            if (i + 1 >= args.size()) return false;
            into = args[++i];
            return true;
        };
        QString v;
        if (a == "--list-formats") {
            out.listFormats = true;
        } else if (a == "--probe") {
            if (!value(out.probeFile)) return "--probe needs a file";
        } else if (a == "--config-dir") {
            if (!value(out.configDir)) return "--config-dir needs a folder";
        } else if (a == "--edits") {
            if (!value(out.editsFile)) return "--edits needs a file";
        } else if (a == "--output-dir") {
            if (!value(out.outputDir)) return "--output-dir needs a folder";
        } else if (a == "--format") {
            if (!value(v) || !IsIntegerText(v) || FormatText(v.trimmed().toInt()).isEmpty())
                return "--format needs a format code (see --list-formats)";
            out.formatCode = v.trimmed().toInt();
        } else if (a == "--trim-start" || a == "--trim-length") {
            std::optional<int64_t> us;
            if (!value(v) || !(us = Microseconds(v))) return a + " needs a number of seconds";
            (a == "--trim-start" ? out.trimStart : out.trimLength) = *us;
        } else if (a == "--crop") {
            const QStringList parts = value(v) ? v.split(',') : QStringList();
            if (parts.size() != 4) return "--crop needs TOP,LEFT,BOTTOM,RIGHT";
            std::array<int, 4> crop{};
            for (int k = 0; k < 4; ++k) {
                if (!IsIntegerText(parts[k]) || parts[k].trimmed().toInt() < 0)
                    return "--crop needs four whole numbers of pixels";
                crop[size_t(k)] = parts[k].trimmed().toInt();
            }
            out.crop = crop;
        } else if (a.startsWith("--")) {
            return "unknown option " + a;
        } else {
            out.files << a;
        }
    }
    if (!out.listFormats && out.probeFile.isEmpty() && out.files.isEmpty()) return "no files given";
    return {};
}

int ListFormats()
{
    for (int code : AllFormatCodes()) std::printf("%d\t%s\n", code, qPrintable(FormatText(code)));
    return 0;
}

int Probe(const QString& file)
{
    TAVProbe probe;
    if (!probe.LoadFile(file)) {
        std::fprintf(stderr, "varnel-cli: %s\n", qPrintable(probe.LastErrMsg()));
        return 1;
    }
    std::printf("%s\n", qPrintable(probe.InfoReport()));
    return 0;
}

} // namespace

// Text items are measured and drawn with fonts, which need a GUI
// application; without a display it runs on the offscreen platform.
bool NeedsFonts(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i)
        if (std::string_view(argv[i]) == "--edits") return true;
    return false;
}

std::unique_ptr<QCoreApplication> MakeApplication(int& argc, char** argv)
{
    if (!NeedsFonts(argc, argv)) return std::make_unique<QCoreApplication>(argc, argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    return std::make_unique<QGuiApplication>(argc, argv);
}

int64_t DurationSeconds(const QString& file)
{
    TAVProbe probe;
    if (!probe.LoadFile(file)) return 0;
    const int64_t duration = probe.GetFileStreamInfo().Duration;
    return duration > 0 ? duration / 1000000 : 0;
}

int main(int argc, char** argv)
{
    const auto application = MakeApplication(argc, argv);
    QCoreApplication& app = *application;
    QCoreApplication::setApplicationName(QStringLiteral("Varnel"));
    Arguments args;
    const QString problem = Parse(QCoreApplication::arguments(), args);
    if (!problem.isEmpty()) return Usage(problem);
    if (args.listFormats) return ListFormats();
    if (!args.probeFile.isEmpty()) return Probe(args.probeFile);
    if (!args.configDir.isEmpty()) qputenv("VARNEL_CONFIG_DIR", QFile::encodeName(args.configDir));

    TGlobalObject global;
    global.SetIniPathsFromFolder(SpecialFolderPath(kCsidlCommonAppData));
    ConsoleDialogs dialogs;
    TFFmpegVCL engine;
    if (!engine.LoadLibraries()) {
        std::fprintf(stderr, "varnel-cli: %s\n", qPrintable(engine.LastLoadError()));
        return 1;
    }
    if (!args.outputDir.isEmpty() && !QDir().mkpath(args.outputDir)) {
        std::fprintf(stderr, "varnel-cli: cannot create the output folder %s\n", qPrintable(args.outputDir));
        return 1;
    }

    std::vector<std::unique_ptr<TlvFilesRecord>> records;
    std::vector<RunRow> rows;
    for (const QString& file : args.files) {
        auto record = std::make_unique<TlvFilesRecord>();
        record->SourceFile = QFileInfo(file).absoluteFilePath();
        if (!args.editsFile.isEmpty()) {
            const QString refused = ReadEditsFile(args.editsFile, *record, int32_t(DurationSeconds(file)));
            if (!refused.isEmpty()) {
                std::fprintf(stderr, "varnel-cli: %s\n", qPrintable(refused));
                return kUsageError;
            }
        }
        if (args.trimStart) record->TrimStart = *args.trimStart;
        if (args.trimLength) record->TrimLength = *args.trimLength;
        if (args.crop) {
            const auto& crop = *args.crop;
            record->CropTop = crop[0], record->CropLeft = crop[1];
            record->CropBottom = crop[2], record->CropRight = crop[3];
        }
        rows.push_back({int(rows.size()), record.get()});
        records.push_back(std::move(record));
    }

    ConversionRun run(engine, global.ConverterIniPath(), global.FormatIniPath(), dialogs);
    if (args.formatCode) run.OverrideFormatCode(*args.formatCode);
    if (!args.outputDir.isEmpty()) run.OverrideOutputFolder(QFileInfo(args.outputDir).absoluteFilePath());
    int failures = 0;
    run.events.rowSkipped = [&](int row, const QString& message) {
        ++failures;
        std::fprintf(stderr, "varnel-cli: %s: %s\n", qPrintable(args.files[row]), qPrintable(message));
    };
    run.events.taskEnded = [&](int row, bool finished, const QString& message, const QString& destination) {
        if (finished) {
            std::printf("%s -> %s\n", qPrintable(args.files[row]), qPrintable(destination));
        } else {
            ++failures;
            std::fprintf(stderr, "varnel-cli: %s: %s\n", qPrintable(args.files[row]),
                         qPrintable(message.isEmpty() ? QStringLiteral("conversion failed") : message));
        }
        std::fflush(stdout);
    };
    run.events.runEnded = [&] { QCoreApplication::quit(); };

    if (run.Prepare(rows) == 0) return 1;
    engine.StartTask(1);
    app.exec();
    return failures == 0 ? 0 : 1;
}

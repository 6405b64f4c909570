// Runs of the main window's conversion with effects and watermark items,
// checked by decoding the output's pixels with the ffmpeg command line.
#include "conversion/ConversionRun.h"

#include "effects/FrameCompositing.h"
#include "effects/WmGraphics.h"
#include "media/TFFmpegVCL.h"
#include "platform/SystemFolders.h"
#include "shell/Settings.h"
#include "shell/TlvFilesRecord.h"
#include "support/TestEnvironment.h"
#include "support/TestSupport.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>

namespace {

constexpr int kWidth = 640, kHeight = 480; // the H.264 profile's default size: no scaling

// A mid-grey picture-only clip, made once per program.
QString GreyClip(const QTemporaryDir& dir, int seconds)
{
    const QString path = dir.filePath(QStringLiteral("grey%1.flv").arg(seconds));
    if (QFile::exists(path)) return path;
    int code = -1;
    RunProgram("ffmpeg", {"-v", "error", "-nostdin", "-y", "-f", "lavfi", "-i",
                          QStringLiteral("color=c=0x808080:size=%1x%2:rate=25:duration=%3").arg(kWidth).arg(kHeight).arg(seconds),
                          "-c:v", "flv1", "-q:v", "2", path},
               &code);
    EXPECT_EQ(code, 0);
    return path;
}

// The output's picture at a time, as 8-bit grey, decoded by ffmpeg.
QByteArray GreyFrameAt(const QString& path, double seconds)
{
    int code = -1;
    const QByteArray out = RunProgram("ffmpeg", {"-v", "error", "-nostdin", "-ss", QString::number(seconds), "-i", path,
                                                 "-frames:v", "1", "-f", "rawvideo", "-pix_fmt", "gray", "-"},
                                      &code);
    return code == 0 && out.size() == kWidth * kHeight ? out : QByteArray();
}

double MeanOf(const QByteArray& grey, QRect area)
{
    double sum = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) sum += uint8_t(grey[y * kWidth + x]);
    return sum / (area.width() * area.height());
}

TWmRec Box(QRect area, uint32_t color, int start, int end)
{
    // An opaque box whose text is a space: the box alone is drawn.
    TWmRec item;
    item.Kind = TWmRec::kText;
    item.Text = QStringLiteral(" ");
    item.Font = MakeItemFont(QStringLiteral("DejaVu Sans"), 12, 0);
    item.TextLeft = area.left();
    item.TextTop = area.top();
    item.TextWidth = area.width();
    item.TextHeight = area.height();
    item.TextAlpha = 255;
    item.BackOpaque = true;
    item.BackColor = color;
    item.StartTime = start;
    item.EndTime = end;
    return item;
}

class EffectsRun : public ::testing::Test {
protected:
    static void SetUpTestSuite() { clips = new QTemporaryDir; }
    static void TearDownTestSuite()
    {
        delete clips;
        clips = nullptr;
    }

    void SetUp() override
    {
        out = env.MakeFolder("out");
        ConverterSettings settings(env.converterIni());
        settings.SetOutPutDir(out);
        settings.SetFormat(103, "H.264/MPEG-4 AVC Video (*.mp4)");
        run = std::make_unique<ConversionRun>(engine, env.converterIni(), InstalledDataFolder() + "/varnelformat.ini",
                                              env.dialogs);
        // Count the frames that pass through the hook the run installed.
        ASSERT_TRUE(engine.OnCustomHook);
        auto installed = engine.OnCustomHook;
        engine.OnCustomHook = [this, installed](TFFmpegVCL* sender, PHookInfo info) {
            ++hookCalls;
            installed(sender, info);
        };
        run->events.taskEnded = [this](int, bool ok, const QString&, const QString& destination) {
            finished = ok;
            output = destination;
        };
        run->events.runEnded = [this] { runEnded = true; };
    }

    QString Convert(TlvFilesRecord& record)
    {
        if (run->Prepare({{0, &record}}) != 1) return {};
        engine.StartTask(1);
        QElapsedTimer clock;
        clock.start();
        while (!runEnded && clock.elapsed() < 120000) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        return runEnded && finished ? output : QString();
    }

    static QTemporaryDir* clips;
    TestEnvironment env;
    QString out;
    TFFmpegVCL engine;
    std::unique_ptr<ConversionRun> run;
    std::atomic<int> hookCalls{0};
    bool runEnded = false, finished = false;
    QString output;
};
QTemporaryDir* EffectsRun::clips = nullptr;

const QRect kBoxArea(100, 100, 120, 80);

TEST_F(EffectsRun, NeutralRecordRunsNoHook)
{
    TlvFilesRecord record;
    record.SourceFile = GreyClip(*clips, 2);
    const QString result = Convert(record);
    ASSERT_FALSE(result.isEmpty());
    EXPECT_EQ(hookCalls, 0);
    EXPECT_NEAR(MeanOf(GreyFrameAt(result, 1.0), QRect(0, 0, kWidth, kHeight)), 128, 4);
}

TEST_F(EffectsRun, EffectsReachEveryFrame)
{
    TlvFilesRecord record;
    record.SourceFile = GreyClip(*clips, 2);
    record.Contrast = -100; // every byte becomes 170
    const QString result = Convert(record);
    ASSERT_FALSE(result.isEmpty());
    EXPECT_GE(hookCalls, 45);
    for (double at : {0.0, 1.0, 1.9}) EXPECT_NEAR(MeanOf(GreyFrameAt(result, at), QRect(0, 0, kWidth, kHeight)), 170, 4) << at;
}

TEST_F(EffectsRun, ItemShowsDuringItsRangeOnly)
{
    TlvFilesRecord record;
    record.SourceFile = GreyClip(*clips, 8);
    record.WaterMarks.push_back(Box(kBoxArea, 0xFFFFFF, 0, 5));
    const QString result = Convert(record);
    ASSERT_FALSE(result.isEmpty());
    for (double at : {0.0, 2.5, 5.9}) EXPECT_GT(MeanOf(GreyFrameAt(result, at), kBoxArea.adjusted(8, 8, -8, -8)), 240) << at;
    const QByteArray later = GreyFrameAt(result, 6.5);
    EXPECT_NEAR(MeanOf(later, kBoxArea.adjusted(8, 8, -8, -8)), 128, 6) << "gone in second 6";
    EXPECT_NEAR(MeanOf(GreyFrameAt(result, 2.5), QRect(400, 300, 100, 100)), 128, 6) << "elsewhere untouched";
}

TEST_F(EffectsRun, ItemsAfterABlankFirstItemAreDrawn)
{
    TlvFilesRecord record;
    record.SourceFile = GreyClip(*clips, 2);
    TWmRec blank = Box(kBoxArea, 0x000000, 0, 10);
    blank.Text.clear();
    record.WaterMarks.push_back(blank);
    record.WaterMarks.push_back(Box(kBoxArea, 0xFFFFFF, 0, 10));
    const QString result = Convert(record);
    ASSERT_FALSE(result.isEmpty());
    EXPECT_GT(hookCalls, 0);
    EXPECT_GT(MeanOf(GreyFrameAt(result, 1.0), kBoxArea.adjusted(8, 8, -8, -8)), 240);
}

TEST_F(EffectsRun, TrimmedRunCountsItemTimesFromItsStart)
{
    TlvFilesRecord record;
    record.SourceFile = GreyClip(*clips, 40);
    record.TrimStart = 30'000'000;
    record.WaterMarks.push_back(Box(kBoxArea, 0xFFFFFF, 0, 5));
    const QString result = Convert(record);
    ASSERT_FALSE(result.isEmpty());
    const QRect inner = kBoxArea.adjusted(8, 8, -8, -8);
    EXPECT_GT(MeanOf(GreyFrameAt(result, 1.0), inner), 240) << "first seconds of the output";
    EXPECT_GT(MeanOf(GreyFrameAt(result, 5.5), inner), 240);
    EXPECT_NEAR(MeanOf(GreyFrameAt(result, 7.0), inner), 128, 6);
}

TEST_F(EffectsRun, LaterItemsLieOnTop)
{
    TlvFilesRecord record;
    record.SourceFile = GreyClip(*clips, 2);
    record.WaterMarks.push_back(Box(kBoxArea, 0xFFFFFF, 0, 10));
    record.WaterMarks.push_back(Box(kBoxArea.translated(60, 40), 0x000000, 0, 10));
    const QString result = Convert(record);
    ASSERT_FALSE(result.isEmpty());
    const QByteArray grey = GreyFrameAt(result, 1.0);
    EXPECT_GT(MeanOf(grey, QRect(108, 108, 40, 24)), 240) << "white alone";
    EXPECT_LT(MeanOf(grey, QRect(168, 148, 40, 24)), 12) << "black over white";
    EXPECT_LT(MeanOf(grey, QRect(236, 196, 30, 16)), 12) << "black alone";
}

TEST_F(EffectsRun, MissingPictureLeavesFramesAsDecoded)
{
    TlvFilesRecord record;
    record.SourceFile = GreyClip(*clips, 2);
    record.Contrast = -100;
    TWmRec missing;
    missing.Kind = TWmRec::kImage;
    missing.ImageFile = clips->filePath("missing.bmp");
    missing.EndTime = 10;
    record.WaterMarks.push_back(missing);
    QStringList log;
    engine.OnLog = [&log](TFFmpegVCL*, const QString& line) { log << line; };
    const QString result = Convert(record);
    ASSERT_FALSE(result.isEmpty()) << "the conversion still completes";
    EXPECT_NEAR(MeanOf(GreyFrameAt(result, 1.0), QRect(0, 0, kWidth, kHeight)), 128, 4);
    EXPECT_EQ(log.filter("Error occurs OnCustomHook: ").size(), 1) << log.join('\n').toStdString();
}

// Straight through the engine into a lossless file, so that every pixel the
// hook leaves alone can be compared exactly.
QString LosslessCopy(const QString& source, const QString& target, const TlvFilesRecord& record)
{
    TFFmpegVCL engine;
    ConversionCompositor compositor([&record](int) { return &record; });
    engine.OnCustomHook = [&compositor](TFFmpegVCL* sender, PHookInfo info) { compositor.CCAVCCustomHook(sender, info); };
    bool ended = false;
    engine.OnTerminate = [&ended](TFFmpegVCL*, const TTerminateInfo& info) { ended = ended || info.TaskIndex < 0; };
    TInputOptions input;
    ResetInputOptions(input);
    const int task = engine.AddTask(source, input);
    TOutputOptions options;
    ResetOutputOptions(options);
    options.VideoCodec = "ffv1";
    options.AudioDisabled = true;
    options.UseFrameHook = true;
    if (task < 0 || !engine.SetOutputFile(task, target, options)) return {};
    engine.StartTask(1);
    QElapsedTimer clock;
    clock.start();
    while (!ended && clock.elapsed() < 60000) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return ended ? target : QString();
}

QImage RgbFrameAt(const QString& path, double seconds, QSize size)
{
    int code = -1;
    const QByteArray out = RunProgram("ffmpeg", {"-v", "error", "-nostdin", "-ss", QString::number(seconds), "-i", path,
                                                 "-frames:v", "1", "-f", "rawvideo", "-pix_fmt", "rgb24", "-"},
                                      &code);
    if (code != 0 || out.size() != size.width() * size.height() * 3) return {};
    QImage image(size, QImage::Format_RGB888);
    for (int y = 0; y < size.height(); ++y)
        std::memcpy(image.scanLine(y), out.constData() + y * size.width() * 3, size_t(size.width()) * 3);
    return image;
}

TEST(EffectsEngine, TransparentTextBoxChangesOnlyGlyphPixels)
{
    QTemporaryDir dir;
    TlvFilesRecord plain; // the hook runs but draws nothing
    TlvFilesRecord marked;
    TWmRec item;
    item.Text = QStringLiteral("Watermark");
    item.Font = MakeItemFont(QStringLiteral("DejaVu Sans"), 18, kFontBold);
    item.FontColor = Qt::yellow;
    const QSize extent = TextExtent(item.Text, item.Font);
    item.TextWidth = extent.width();
    item.TextHeight = extent.height();
    item.TextLeft = 30;
    item.TextTop = 50;
    item.TextAlpha = 230;
    item.EndTime = 10;
    marked.WaterMarks.push_back(item);

    // A 4:4:4 source keeps a lossless copy 4:4:4, so colour is not shared
    // between neighbouring pixels.
    const QString clip = ClipPath("odd_321x241.flv");
    const QString a = LosslessCopy(clip, dir.filePath("plain.mkv"), plain);
    const QString b = LosslessCopy(clip, dir.filePath("marked.mkv"), marked);
    ASSERT_FALSE(a.isEmpty());
    ASSERT_FALSE(b.isEmpty());
    const QImage glyphs = RenderTextPicture(item);
    for (double at : {0.4, 1.6}) {
        const QImage before = RgbFrameAt(a, at, {321, 241});
        const QImage after = RgbFrameAt(b, at, {321, 241});
        ASSERT_FALSE(before.isNull());
        ASSERT_FALSE(after.isNull());
        int changed = 0, glyphPixels = 0;
        for (int y = 0; y < 241; ++y)
            for (int x = 0; x < 321; ++x) {
                const QPoint local(x - item.TextLeft, y - item.TextTop);
                const bool glyph = glyphs.rect().contains(local) && qAlpha(glyphs.pixel(local)) > 0;
                glyphPixels += glyph;
                if (before.pixel(x, y) != after.pixel(x, y)) {
                    ++changed;
                    ASSERT_TRUE(glyph) << "pixel " << x << "," << y << " changed outside the glyphs";
                }
            }
        EXPECT_GT(changed, glyphPixels / 2) << "the text shows at " << at;
    }
}

} // namespace

// The per-frame cost of picture effects and watermark drawing, one core:
//   ColorAdjustAndExposure/1920x1080: both effect passes on a full-HD frame;
//   ConversionHook/1280x720: the conversion hook with effects off and two text
//   items and one image item visible (overlays prepared by the first frame).
#include "effects/EditsFile.h"
#include "effects/FrameCompositing.h"
#include "effects/FrameEffects.h"
#include "effects/WmGraphics.h"
#include "shell/TlvFilesRecord.h"

#include <QApplication>
#include <QImage>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <random>

namespace {

Bitmap24 NoiseFrame(int width, int height)
{
    Bitmap24 frame(width, height);
    std::mt19937 random(5);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width * 3; ++x) frame.ScanLine(y)[x] = uint8_t(random());
    return frame;
}

void ColorAdjustAndExposure(benchmark::State& state)
{
    Bitmap24 frame = NoiseFrame(1920, 1080);
    for (auto _ : state) {
        ApplyColorAdjust(frame, 300, 20, 400);
        ApplyExposure(frame, 60.0f);
        benchmark::DoNotOptimize(frame.Bits());
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(ColorAdjustAndExposure)->Name("ColorAdjustAndExposure/1920x1080")->Unit(benchmark::kMillisecond);

void ColorAdjustAndExposureInOnePass(benchmark::State& state)
{
    Bitmap24 frame = NoiseFrame(1920, 1080);
    for (auto _ : state) {
        ApplyColorAdjustAndExposure(frame, 300, 20, 400, 60.0f);
        benchmark::DoNotOptimize(frame.Bits());
    }
}
BENCHMARK(ColorAdjustAndExposureInOnePass)->Name("ColorAdjustAndExposureInOnePass/1920x1080")->Unit(benchmark::kMillisecond);

void ColorAdjustOnly(benchmark::State& state)
{
    Bitmap24 frame = NoiseFrame(1920, 1080);
    for (auto _ : state) {
        ApplyColorAdjust(frame, 300, 20, 400);
        benchmark::DoNotOptimize(frame.Bits());
    }
}
BENCHMARK(ColorAdjustOnly)->Name("ColorAdjust/1920x1080")->Unit(benchmark::kMillisecond);

void ExposureOnly(benchmark::State& state)
{
    Bitmap24 frame = NoiseFrame(1920, 1080);
    for (auto _ : state) {
        ApplyExposure(frame, 60.0f);
        benchmark::DoNotOptimize(frame.Bits());
    }
}
BENCHMARK(ExposureOnly)->Name("Exposure/1920x1080")->Unit(benchmark::kMillisecond);

void ConversionHook(benchmark::State& state)
{
    QTemporaryDir dir;
    QImage logo(160, 90, QImage::Format_RGB888);
    logo.fill(QColor(30, 140, 220));
    const QString logoPath = dir.filePath("logo.bmp");
    logo.save(logoPath);

    TlvFilesRecord record;
    TWmRec title = NewWatermarkItem(TWmRec::kText, 100);
    title.Text = QStringLiteral("Varnel sample watermark");
    title.BackOpaque = false;
    TWmRec caption = NewWatermarkItem(TWmRec::kText, 100);
    caption.Text = QStringLiteral("\u00a9 2026 on a box");
    for (TWmRec* item : {&title, &caption}) {
        const QSize extent = TextExtent(item->Text, item->Font);
        item->TextWidth = extent.width();
        item->TextHeight = extent.height();
    }
    title.TextLeft = 40, title.TextTop = 40;
    caption.TextLeft = 700, caption.TextTop = 600;
    TWmRec image = NewWatermarkItem(TWmRec::kImage, 100);
    image.ImageFile = logoPath;
    image.ImageLeft = 1080, image.ImageTop = 20;
    record.WaterMarks = {title, caption, image};

    ConversionCompositor compositor([&record](int) { return &record; });
    Bitmap24 frame = NoiseFrame(1280, 720);
    int64_t pts = 0;
    for (auto _ : state) {
        THookInfo info;
        info.TaskIndex = 0;
        info.Bitmap = &frame;
        info.PTS = pts;
        pts = (pts + 40000) % 60'000'000; // every item stays visible
        compositor.CCAVCCustomHook(nullptr, &info);
        benchmark::DoNotOptimize(frame.Bits());
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(ConversionHook)->Name("ConversionHook/1280x720/2text+1image")->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv); // fonts for the text items
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

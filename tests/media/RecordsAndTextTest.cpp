#include "media/Bitmap24.h"
#include "media/EncoderChoice.h"
#include "media/FilterGraphs.h"
#include "media/MediaRecords.h"
#include "media/OptionText.h"
#include "media/OutputFiles.h"
#include "media/TargetPresets.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

TEST(Records, ResetGivesTheInitialValues)
{
    TOutputOptions o;
    o.OutputFormat = "avi";
    o.Volume = 256;
    o.CropTop = 4;
    o.RecordingTime = 5;
    o.TargetType = 3;
    o.DefaultNorm = 2;
    o.UseFrameHook = true;
    o.Metadata.Year = 2000;
    ResetOutputOptions(o);
    EXPECT_TRUE(o.OutputFileName.isEmpty());
    EXPECT_TRUE(o.OutputFormat.empty());
    for (int32_t v : {o.PacketSize, o.MuxRate, o.Volume, o.AudioChannels, o.AudioSampleRate, o.AudioBitRate,
                      o.AudioBitRateTolerance, o.CropTop, o.CropBottom, o.CropLeft, o.CropRight, o.GopSize,
                      o.VideoBitRate, o.MaxRate, o.MinRate, o.BitRateTolerance, o.BufferSize, o.VideoSync,
                      o.Metadata.Year, o.Metadata.Track})
        EXPECT_EQ(v, -1);
    EXPECT_EQ(o.MuxDelay, -1.0f);
    EXPECT_EQ(o.MuxPreload, -1.0f);
    EXPECT_EQ(o.Metadata.Timestamp, -1.0);
    EXPECT_EQ(o.AudioSync, 0);
    EXPECT_EQ(o.StartOffset, std::numeric_limits<int64_t>::min());
    EXPECT_EQ(o.RecordingTime, std::numeric_limits<int64_t>::min());
    EXPECT_EQ(o.TargetType, 0);
    EXPECT_EQ(o.TargetNorm, 0);
    EXPECT_EQ(o.DefaultNorm, 1);
    EXPECT_FALSE(o.UseFrameHook || o.AudioDisabled || o.VideoDisabled || o.SubtitlesDisabled || o.InputSync ||
                 o.CopyTimestamps);

    TInputOptions in;
    in.StartPosition = 0;
    in.ExtraOptions = "vn=1";
    ResetInputOptions(in);
    EXPECT_EQ(in.StartPosition, std::numeric_limits<int64_t>::min());
    EXPECT_TRUE(in.ExtraOptions.empty());
}

TEST(OptionText, SplitsLinesAndCrlfMarkers)
{
    struct Case {
        std::string text;
        OptionList expected;
    } cases[] = {
        {"vn=1", {{"vn", "1"}}},
        {"vn=1<CRLF>an=0", {{"vn", "1"}, {"an", "0"}}},
        {"a=1\r\nb=2\nc=3\r", {{"a", "1"}, {"b", "2"}, {"c", "3"}}},
        {"  g = 12 \n\n", {{"g", "12"}}},
        {"vn", {{"vn", "1"}}},
        {"x264-params=ref=3:bframes=0", {{"x264-params", "ref=3:bframes=0"}}},
        {"=5\n", {}},
        {"", {}},
    };
    for (const auto& c : cases) EXPECT_EQ(ParseOptionLines(c.text), c.expected) << c.text;
}

TEST(OutputFiles, NextNameFollowsTheDestinationRule)
{
    const std::pair<QString, QString> cases[] = {
        {"/o/clip_(new).mp4", "/o/clip_(new_1).mp4"},
        {"/o/clip_(new_1).mp4", "/o/clip_(new_2).mp4"},
        {"/o/clip_(new_9).mp4", "/o/clip_(new_10).mp4"},
        {"/o/clip.mp4", "/o/clip_(new).mp4"},
        {"/o/a.b.avi", "/o/a.b_(new).avi"},
        {"/o/noext", "/o/noext_(new)"},
    };
    for (const auto& [taken, next] : cases) EXPECT_EQ(NextDestinationName(taken), next) << taken.toStdString();
}

TEST(OutputFiles, MovingIntoPlaceNeverReplacesAFile)
{
    QTemporaryDir dir;
    const QString dest = dir.filePath("clip_(new).mp4");
    const QString taken1 = dir.filePath("clip_(new_1).mp4");
    for (const QString& p : {dest, taken1}) {
        QFile f(p);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("old");
    }
    QString error;
    const QString temp = CreateTemporaryOutput(dest, error);
    ASSERT_FALSE(temp.isEmpty()) << error.toStdString();
    {
        QFile f(temp);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("new");
    }
    QString final;
    ASSERT_TRUE(MoveIntoPlace(temp, dest, final, error)) << error.toStdString();
    EXPECT_EQ(final, dir.filePath("clip_(new_2).mp4"));
    EXPECT_FALSE(QFile::exists(temp));
    for (const QString& p : {dest, taken1}) {
        QFile f(p);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        EXPECT_EQ(f.readAll(), "old");
    }
}

TEST(OutputFiles, TemporaryFileInAMissingFolderIsAnError)
{
    QString error;
    EXPECT_TRUE(CreateTemporaryOutput("/nonexistent-folder/x/clip.mp4", error).isEmpty());
    EXPECT_FALSE(error.isEmpty());
    error.clear();
    EXPECT_TRUE(CreateTemporaryOutput("/proc/clip.mp4", error).isEmpty());
    EXPECT_FALSE(error.isEmpty());
}

TEST(FilterChain, OrderAndValues)
{
    struct Case {
        const char* name;
        VideoChainSpec spec;
        std::string expected;
    } cases[] = {
        {"nothing", {320, 240, 0, 0, 0, 0, "", "", "", "", "", ""}, "null"},
        {"crop fields first, exact",
         {320, 240, 10, 20, 30, 40, "", "", "", "", "", "yuv420p"},
         "crop=250:210:30:10:exact=1,format=yuv420p"},
        {"letterbox: scale, aspect, then the pad",
         {640, 360, -1, -1, -1, -1, "320x180", "320:180", "pad=320:240:0:30", "25/1", "", "yuv420p"},
         "fps=25/1,scale=320:180,setdar=16/9,pad=320:240:0:30,format=yuv420p"},
        {"target size after the task's filters",
         {640, 360, 0, 0, 0, 0, "", "", "hflip", "25/1", "720x576", "yuv420p"},
         "fps=25/1,hflip,scale=720:576,format=yuv420p"},
    };
    for (const auto& c : cases) {
        std::string error;
        EXPECT_EQ(BuildVideoChain(c.spec, error), c.expected) << c.name;
        EXPECT_TRUE(error.empty()) << c.name;
    }
    std::string error;
    EXPECT_TRUE(BuildVideoChain({320, 240, 120, 120, 0, 0, "", "", "", "", "", ""}, error).empty());
    EXPECT_FALSE(error.empty());
    error.clear();
    EXPECT_TRUE(BuildVideoChain({320, 240, 0, 0, 0, 0, "wide", "", "", "", "", ""}, error).empty());
    EXPECT_NE(error.find("wide"), std::string::npos);
}

TEST(FilterChain, BareCropNumbersAreXYWidthHeight)
{
    EXPECT_EQ(TranslateLegacyFilters("crop=10:20:620:440,scale=320:240,pad=320:240:0:0"),
              "crop=w=620:h=440:x=10:y=20,scale=320:240,pad=320:240:0:0");
    EXPECT_EQ(TranslateLegacyFilters("pad=320:240:0:30"), "pad=320:240:0:30");
    EXPECT_EQ(TranslateLegacyFilters("crop=w=100:h=50"), "crop=w=100:h=50");
    EXPECT_EQ(TranslateLegacyFilters("crop=iw/2:ih/2"), "crop=iw/2:ih/2");
    EXPECT_EQ(TranslateLegacyFilters(""), "");
}

TEST(FilterChain, AudioVolumeIsAFractionOf256)
{
    EXPECT_EQ(BuildAudioChain({128, 44100, "fltp", "stereo"}),
              "volume=0.500000,aresample=44100,aformat=sample_fmts=fltp:sample_rates=44100:channel_layouts=stereo");
    EXPECT_EQ(BuildAudioChain({256, 0, "", ""}), "anull");
    EXPECT_EQ(BuildAudioChain({-1, 0, "s16", ""}), "aformat=sample_fmts=s16");
}

TEST(FilterChain, ParsesRatesSizesAndAspects)
{
    AVRational r{};
    ASSERT_TRUE(ParseFrameRate("29.97", r));
    EXPECT_EQ(r.num, 30000);
    EXPECT_EQ(r.den, 1001);
    ASSERT_TRUE(ParseFrameRate("23.976", r));
    EXPECT_EQ(r.num, 24000);
    ASSERT_TRUE(ParseFrameRate("25", r));
    EXPECT_EQ(r.num / r.den, 25);
    EXPECT_FALSE(ParseFrameRate("fast", r));
    EXPECT_FALSE(ParseFrameRate("-5", r));
    int w = 0, h = 0;
    EXPECT_TRUE(ParseFrameSize("352x288", w, h));
    EXPECT_EQ(w * 1000 + h, 352288);
    EXPECT_FALSE(ParseFrameSize("352x", w, h));
    ASSERT_TRUE(ParseAspect("16:9", r));
    EXPECT_EQ(r.num * 100 + r.den, 1609);
    EXPECT_FALSE(ParseAspect("0:3", r));
}

namespace {
TOutputOptions WithTarget(int type)
{
    TOutputOptions o;
    o.TargetType = type;
    return o;
}
} // namespace

TEST(TargetPresets, PresetUnderneathTaskOnTop)
{
    TOutputOptions task;
    task.TargetType = 3;
    task.VideoBitRate = 4000000;
    const ResolvedTarget pal = ApplyTargetPreset(task, 1);
    EXPECT_EQ(pal.options.VideoCodec, "mpeg2video");
    EXPECT_EQ(pal.options.AudioCodec, "ac3");
    EXPECT_EQ(pal.options.OutputFormat, "dvd");
    EXPECT_EQ(pal.finalFrameSize, "720x576");
    EXPECT_EQ(pal.options.FrameRate, "25");
    EXPECT_EQ(pal.options.VideoBitRate, 4000000);
    EXPECT_EQ(pal.options.MaxRate, 9000000);
    EXPECT_EQ(pal.options.AudioSampleRate, 48000);
    EXPECT_EQ(pal.options.PacketSize, 2048);
    const ResolvedTarget ntsc = ApplyTargetPreset(WithTarget(1), 2);
    EXPECT_EQ(ntsc.finalFrameSize, "352x240");
    EXPECT_EQ(ntsc.options.FrameRate, "30000/1001");
    EXPECT_EQ(ntsc.options.OutputFormat, "vcd");
    EXPECT_EQ(ApplyTargetPreset(WithTarget(2), 1).finalFrameSize, "480x576");
    EXPECT_TRUE(ApplyTargetPreset(TOutputOptions{}, 1).finalFrameSize.empty());
}

TEST(TargetPresets, NormFromTheSourceRate)
{
    EXPECT_EQ(ResolveTargetNorm(2, 1, 25), 2);
    EXPECT_EQ(ResolveTargetNorm(0, 2, 25), 1);
    EXPECT_EQ(ResolveTargetNorm(0, 1, 29.97002997), 2);
    EXPECT_EQ(ResolveTargetNorm(0, 1, 23.976), 2);
    EXPECT_EQ(ResolveTargetNorm(0, 1, 15), 1);
    EXPECT_EQ(ResolveTargetNorm(0, 0, 15), 2);
    EXPECT_EQ(ResolveTargetNorm(0, 1, 0), 1);
}

TEST(EncoderNames, LegacyNamesMapToThisBuild)
{
    EXPECT_EQ(MapLegacyEncoderName("libfaac"), "aac");
    EXPECT_EQ(MapLegacyEncoderName("libflac"), "flac");
    EXPECT_EQ(MapLegacyEncoderName("vorbis"), "libvorbis");
    EXPECT_EQ(MapLegacyEncoderName("mpeg4"), "mpeg4");
    EXPECT_EQ(MapLegacyEncoderName("libmp3lame"), "libmp3lame");
}

TEST(EncoderNames, UnknownNameFallsBackToTheContainerDefault)
{
    const AVOutputFormat* mp4 = av_guess_format("mp4", nullptr, nullptr);
    ASSERT_NE(mp4, nullptr);
    std::string note;
    const AVCodec* c = ChooseEncoder("nosuchcodec", AVMEDIA_TYPE_AUDIO, mp4, note);
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->id, AV_CODEC_ID_AAC);
    EXPECT_NE(note.find("nosuchcodec"), std::string::npos);
    c = ChooseEncoder("libfaac", AVMEDIA_TYPE_AUDIO, mp4, note);
    ASSERT_NE(c, nullptr);
    EXPECT_STREQ(c->name, "aac");
    EXPECT_TRUE(note.empty());
    // A codec the container cannot hold is replaced, not attempted.
    const AVOutputFormat* flv = av_guess_format("flv", nullptr, nullptr);
    c = ChooseEncoder("mpeg2video", AVMEDIA_TYPE_VIDEO, flv, note);
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->id, AV_CODEC_ID_FLV1);
    EXPECT_FALSE(note.empty());
}

TEST(Bitmap, PixelsAreBgrRowsByStride)
{
    Bitmap24 b(5, 3);
    EXPECT_EQ(b.Stride(), 16);
    b.SetPixel(4, 2, 0x00112233); // 0x00BBGGRR
    const uint8_t* p = b.ScanLine(2) + 12;
    EXPECT_EQ(p[0], 0x11); // blue
    EXPECT_EQ(p[1], 0x22);
    EXPECT_EQ(p[2], 0x33); // red
    Bitmap24 copy = b;
    b.SetPixel(4, 2, 0);
    EXPECT_EQ(copy.Pixel(4, 2), 0x00112233u);
    EXPECT_EQ(b.Pixel(99, 99), 0u);
}

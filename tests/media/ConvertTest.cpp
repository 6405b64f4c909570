#include "MediaTestUtil.h"

#include "support/TestSupport.h"

#include <QFile>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class Convert : public ::testing::Test {
protected:
    QString Out(const QString& name) const { return dir.filePath(name); }

    // Converts and returns ffprobe's view of the result (empty on failure).
    QJsonObject Run(const QString& clip, const QString& outName, const TOutputOptions& o,
                    const TInputOptions& in = {})
    {
        last = ConvertOne(ClipPath(clip), Out(outName), o, in);
        EXPECT_TRUE(last.Finished) << last.ExceptionMsg.toStdString();
        EXPECT_FALSE(last.Exception) << last.ExceptionMsg.toStdString();
        return FfprobeJson(Out(outName));
    }

    QTemporaryDir dir;
    TTerminateInfo last;
};

// Source picture at `seconds` through an ffmpeg filter, for comparing with ours.
QByteArray SourceFrame(const QString& clip, double seconds, const QString& filter, int w, int h)
{
    int code = -1;
    const QByteArray out = RunProgram("ffmpeg", {"-v", "error", "-nostdin", "-i", ClipPath(clip), "-ss",
                                                 QString::number(seconds), "-frames:v", "1", "-vf", filter, "-f",
                                                 "rawvideo", "-pix_fmt", "gray", "-"},
                                      &code);
    return code == 0 && out.size() == w * h ? out : QByteArray();
}

} // namespace

TEST_F(Convert, IpodPresetGivesBaselineH264WithLetterbox)
{
    TOutputOptions o;
    o.OutputFormat = "ipod";
    o.VideoCodec = "libx264";
    o.VideoPreset = "libx264-ipod";
    o.VideoBitRate = 768000;
    o.FrameSize = "320x180";
    o.AspectRatio = "320:180";
    o.VideoFilters = "pad=320:240:0:30";
    o.FrameRate = "25";
    o.AudioCodec = "libfaac";
    o.AudioBitRate = 128000;
    o.AudioChannels = 2;
    o.AudioSampleRate = 44100;
    const QJsonObject probe = Run("h264_aac.flv", "clip.m4v", o);
    const QJsonObject v = FirstStream(probe, "video");
    EXPECT_EQ(v.value("codec_name").toString(), "h264");
    EXPECT_TRUE(v.value("profile").toString().contains("Baseline")) << v.value("profile").toString().toStdString();
    EXPECT_LE(v.value("level").toInt(), 30);
    EXPECT_EQ(v.value("pix_fmt").toString(), "yuv420p");
    EXPECT_EQ(v.value("width").toInt(), 320);
    EXPECT_EQ(v.value("height").toInt(), 240);
    EXPECT_EQ(v.value("sample_aspect_ratio").toString(), "1:1");
    EXPECT_EQ(FirstStream(probe, "audio").value("codec_name").toString(), "aac");
    EXPECT_NEAR(FormatDuration(probe), 3.0, 0.15);

    // Black bars above and below the picture, picture in between.
    const QByteArray gray = GrayFrame(Out("clip.m4v"), 1.0, 320, 240);
    ASSERT_FALSE(gray.isEmpty());
    EXPECT_LT(MeanOf(gray, 320, 0, 0, 320, 28), 20);
    EXPECT_LT(MeanOf(gray, 320, 0, 212, 320, 28), 20);
    EXPECT_GT(MeanOf(gray, 320, 0, 40, 320, 160), 40);
}

TEST_F(Convert, DiscTargetsFollowFfmpegPresets)
{
    struct Case {
        int type, norm;
        QString codec, rate, audio;
        int width, height, sampleRate;
    } cases[] = {
        {3, 1, "mpeg2video", "25/1", "ac3", 720, 576, 48000},
        {1, 2, "mpeg1video", "30000/1001", "mp2", 352, 240, 44100},
        {2, 1, "mpeg2video", "25/1", "mp2", 480, 576, 44100},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.type);
        TOutputOptions o;
        o.TargetType = c.type;
        o.TargetNorm = c.norm;
        const QString name = QString("disc%1.mpg").arg(c.type);
        const QJsonObject probe = Run("flv1_mp3.flv", name, o);
        EXPECT_TRUE(probe.value("format").toObject().value("format_name").toString().startsWith("mpeg"));
        const QJsonObject v = FirstStream(probe, "video");
        EXPECT_EQ(v.value("codec_name").toString(), c.codec);
        EXPECT_EQ(v.value("width").toInt(), c.width);
        EXPECT_EQ(v.value("height").toInt(), c.height);
        EXPECT_EQ(v.value("r_frame_rate").toString(), c.rate);
        const QJsonObject a = FirstStream(probe, "audio");
        EXPECT_EQ(a.value("codec_name").toString(), c.audio);
        EXPECT_EQ(a.value("sample_rate").toString().toInt(), c.sampleRate);
        EXPECT_NEAR(FormatDuration(probe), 3.0, 0.3);
    }
}

TEST_F(Convert, SoundOnlyWithVnHasNoVideoStream)
{
    TOutputOptions o;
    o.AudioCodec = "libmp3lame";
    o.AudioChannels = 1;
    o.AudioSampleRate = 22050;
    o.AudioBitRate = 64000;
    o.VideoDisabled = true;
    o.SubtitlesDisabled = true;
    TInputOptions in;
    in.ExtraOptions = "vn=1";
    const QJsonObject probe = Run("flv1_mp3.flv", "sound.mp3", o, in);
    EXPECT_EQ(StreamCountOf(probe, "video"), 0);
    const QJsonObject a = FirstStream(probe, "audio");
    EXPECT_EQ(a.value("codec_name").toString(), "mp3");
    EXPECT_EQ(a.value("sample_rate").toString().toInt(), 22050);
    EXPECT_EQ(a.value("channels").toInt(), 1);
    EXPECT_NEAR(FormatDuration(probe), 3.0, 0.15);
}

TEST_F(Convert, CropFieldsRemoveRowsAndColumnsOfTheSource)
{
    TOutputOptions o;
    o.VideoCodec = "mpeg4";
    o.VideoBitRate = 2000000;
    o.CropTop = 10;
    o.CropBottom = 20;
    o.CropLeft = 30;
    o.CropRight = 40;
    const QJsonObject probe = Run("flv1_mp3.flv", "crop.avi", o);
    const QJsonObject v = FirstStream(probe, "video");
    EXPECT_EQ(v.value("width").toInt(), 250);
    EXPECT_EQ(v.value("height").toInt(), 210);
    const QByteArray ours = GrayFrame(Out("crop.avi"), 1.0, 250, 210);
    const QByteArray theirs = SourceFrame("flv1_mp3.flv", 1.0, "crop=250:210:30:10", 250, 210);
    EXPECT_LT(MeanAbsDiff(ours, theirs), 6);
}

// The letterbox chain with a crop refers to the uncropped source; together with
// the crop fields it must still crop once.
TEST_F(Convert, CropFieldsAndLeadingCropFilterCropOnce)
{
    TOutputOptions o;
    o.VideoCodec = "mpeg4";
    o.VideoBitRate = 2000000;
    o.CropLeft = 10;
    o.CropTop = 20;
    o.CropRight = 10;
    o.CropBottom = 20;
    o.AspectRatio = "320:240";
    o.VideoFilters = "crop=10:20:300:200,scale=320:240,pad=320:240:0:0";
    Run("flv1_mp3.flv", "lbox.avi", o);
    const QByteArray ours = GrayFrame(Out("lbox.avi"), 1.0, 320, 240);
    const QByteArray theirs = SourceFrame("flv1_mp3.flv", 1.0, "crop=300:200:10:20,scale=320:240", 320, 240);
    EXPECT_LT(MeanAbsDiff(ours, theirs), 6);
}

TEST_F(Convert, VolumeIsOutOf256)
{
    TOutputOptions o;
    o.AudioCodec = "libmp3lame";
    o.VideoDisabled = true;
    o.Volume = 256;
    Run("flv1_mp3.flv", "full.mp3", o);
    o.Volume = 128;
    Run("flv1_mp3.flv", "half.mp3", o);
    const double full = SoundLevel(Out("full.mp3")), half = SoundLevel(Out("half.mp3"));
    ASSERT_GT(full, 1000);
    EXPECT_NEAR(half / full, 0.5, 0.03);
}

TEST_F(Convert, StartPositionIsFrameAccurateAndStartsAtZero)
{
    TOutputOptions o;
    o.VideoCodec = "mpeg4";
    o.VideoBitRate = 2000000;
    TInputOptions in;
    in.StartPosition = 1000000;
    const QJsonObject probe = Run("flv1_mp3.flv", "late.avi", o, in);
    EXPECT_NEAR(FormatDuration(probe), 2.0, 0.12);
    const QByteArray first = GrayFrame(Out("late.avi"), 0, 320, 240);
    // Closer to the source frame at 1 s than to its neighbours.
    const double at = MeanAbsDiff(first, SourceFrame("flv1_mp3.flv", 1.0, "null", 320, 240));
    EXPECT_LT(at, 6);
    EXPECT_LT(at, MeanAbsDiff(first, SourceFrame("flv1_mp3.flv", 0.96, "null", 320, 240)));
    EXPECT_LT(at, MeanAbsDiff(first, SourceFrame("flv1_mp3.flv", 1.04, "null", 320, 240)));
}

TEST_F(Convert, RecordingTimeLimitsTheOutput)
{
    TOutputOptions o;
    o.RecordingTime = 1500000;
    const QJsonObject probe = Run("flv1_mp3.flv", "short.mp4", o);
    EXPECT_NEAR(FormatDuration(probe), 1.5, 0.1);
    EXPECT_NEAR(FirstStream(probe, "video").value("nb_frames").toString().toInt(), 37, 1);
}

TEST_F(Convert, EncoderNamesMapOrFallBack)
{
    struct Case {
        const char* codec;
        QString file;
        QString expected;
        bool noted;
    } cases[] = {
        {"libfaac", "a.mp4", "aac", false},
        {"libflac", "b.mkv", "flac", false},
        {"vorbis", "c.ogg", "vorbis", false},
        {"nosuchcodec", "d.mp4", "aac", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.codec);
        TOutputOptions o;
        o.AudioCodec = c.codec;
        o.VideoDisabled = true;
        o.RecordingTime = 1000000;
        const QJsonObject probe = Run("flv1_mp3.flv", c.file, o);
        EXPECT_EQ(FirstStream(probe, "audio").value("codec_name").toString(), c.expected);
        EXPECT_EQ(last.ExceptionMsg.contains(c.codec), c.noted) << last.ExceptionMsg.toStdString();
    }
}

TEST_F(Convert, OddSourceSizeBecomesEvenForSubsampledEncoders)
{
    TOutputOptions o;
    o.VideoCodec = "mpeg4"; // takes 4:2:0 pictures only
    const QJsonObject probe = Run("odd_321x241.flv", "odd.mp4", o);
    const QJsonObject v = FirstStream(probe, "video");
    EXPECT_EQ(v.value("width").toInt(), 320);
    EXPECT_EQ(v.value("height").toInt(), 240);
}

TEST_F(Convert, SourceOfUnknownDurationConverts)
{
    const QString raw = Out("raw.h264");
    ASSERT_TRUE(Ffmpeg({"-f", "lavfi", "-i", "testsrc2=size=160x120:rate=25:duration=2", "-c:v", "libx264", "-f",
                        "h264", raw}));
    last = ConvertOne(raw, Out("raw.avi"), TOutputOptions{});
    ASSERT_TRUE(last.Finished) << last.ExceptionMsg.toStdString();
    const QJsonObject v = FirstStream(FfprobeJson(Out("raw.avi")), "video");
    EXPECT_EQ(v.value("width").toInt(), 160);
    EXPECT_NEAR(v.value("nb_frames").toString().toInt(), 50, 1);
}

TEST_F(Convert, ExistingFilesAreNeverOverwritten)
{
    const QString dest = Out("clip_(new).mp4");
    {
        QFile f(dest);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("precious");
    }
    TOutputOptions o;
    o.RecordingTime = 500000;
    last = ConvertOne(ClipPath("flv1_mp3.flv"), dest, o);
    ASSERT_TRUE(last.Finished) << last.ExceptionMsg.toStdString();
    QFile f(dest);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), "precious");
    EXPECT_EQ(FirstStream(FfprobeJson(Out("clip_(new_1).mp4")), "video").value("codec_name").toString(), "h264");
    EXPECT_EQ(FilesIn(dir.path()), QStringList({"clip_(new).mp4", "clip_(new_1).mp4"}));
}

TEST_F(Convert, UnwritableOrMissingFolderFailsTheTask)
{
    for (const QString& dest : {QString("/proc/out.mp4"), Out("missing/out.mp4")}) {
        SCOPED_TRACE(dest.toStdString());
        last = ConvertOne(ClipPath("flv1_mp3.flv"), dest, TOutputOptions{});
        EXPECT_EQ(last.TaskIndex, 0);
        EXPECT_FALSE(last.Finished);
        EXPECT_TRUE(last.Exception);
        EXPECT_FALSE(last.ExceptionMsg.isEmpty());
    }
    EXPECT_TRUE(FilesIn(dir.path()).isEmpty());
}

TEST(AddTask, BadSourcesAreRefusedWithAMessage)
{
    const std::pair<QString, QString> cases[] = {
        {"missing.flv", "No such file or directory"},
        {"empty.flv", "file is empty"},
        {"truncated.flv", "truncated"},
        {"text.flv", "Unknown input format"},
    };
    TFFmpegVCL engine;
    for (const auto& [name, words] : cases) {
        EXPECT_EQ(engine.AddTask(ClipPath(name), TInputOptions{}), -1) << name.toStdString();
        EXPECT_TRUE(engine.LastErrMsg().contains(words)) << engine.LastErrMsg().toStdString();
        EXPECT_TRUE(engine.LastErrMsg().contains(name)) << engine.LastErrMsg().toStdString();
    }
    EXPECT_EQ(engine.TaskCount(), 0);
    EXPECT_EQ(engine.AddTask(ClipPath("flv1_mp3.flv"), TInputOptions{}), 0);
    EXPECT_EQ(engine.InputProbe(0)->ProbeFileName(), ClipPath("flv1_mp3.flv"));
}

TEST(SetOutputFile, RefusesValuesTheEngineCannotUse)
{
    TFFmpegVCL engine;
    ASSERT_EQ(engine.AddTask(ClipPath("flv1_mp3.flv"), TInputOptions{}), 0);
    const auto with = [](auto change) {
        TOutputOptions o;
        change(o);
        return o;
    };
    const std::pair<TOutputOptions, QString> bad[] = {
        {with([](TOutputOptions& o) { o.FrameSize = "320x"; }), "Invalid frame size: 320x"},
        {with([](TOutputOptions& o) { o.FrameRate = "fast"; }), "Invalid frame rate: fast"},
        {with([](TOutputOptions& o) { o.OutputFormat = "nosuchmuxer"; }), "Unknown output format: nosuchmuxer"},
        {with([](TOutputOptions& o) { o.VideoFilters = "nosuchfilter=1"; }), "Invalid filter chain"},
    };
    for (const auto& [options, message] : bad) {
        EXPECT_FALSE(engine.SetOutputFile(0, "/tmp/x.mp4", options));
        EXPECT_TRUE(engine.LastErrMsg().startsWith(message)) << engine.LastErrMsg().toStdString();
    }
    EXPECT_FALSE(engine.SetOutputFile(0, "/tmp/x.unknownextension", TOutputOptions{}));
    EXPECT_FALSE(engine.SetOutputFile(3, "/tmp/x.mp4", TOutputOptions{}));
    EXPECT_TRUE(engine.SetOutputFile(0, "/tmp/x.mp4", TOutputOptions{}));
    EXPECT_FALSE(engine.SetOutputFile(0, "/tmp/y.mp4", TOutputOptions{}));
    EXPECT_EQ(engine.LastErrMsg(), "max output files 1 reached");
}

#include "MediaTestUtil.h"

#include "media/TAVProbe.h"
#include "support/TestSupport.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QTemporaryDir>

#include <cmath>
#include <gtest/gtest.h>

namespace {

double Fraction(const QString& text)
{
    const QStringList p = text.split('/');
    return p.size() == 2 && p[1].toDouble() != 0 ? p[0].toDouble() / p[1].toDouble() : 0;
}

} // namespace

// Every clip checked against ffprobe's reading of the same file.
TEST(Probe, StreamFactsAgreeWithFfprobe)
{
    for (const char* name : {"flv1_mp3.flv", "h264_aac.flv", "audio_only.flv", "video_only.flv", "odd_321x241.flv"}) {
        SCOPED_TRACE(name);
        const QString path = ClipPath(name);
        const QJsonObject oracle = FfprobeJson(path);
        ASSERT_FALSE(oracle.isEmpty());
        TAVProbe probe;
        ASSERT_TRUE(probe.LoadFile(path)) << probe.LastErrMsg().toStdString();
        EXPECT_EQ(probe.ProbeFileName(), path);
        EXPECT_EQ(probe.FormatName(), "flv");
        EXPECT_EQ(probe.StreamCount(), oracle.value("streams").toArray().size());
        EXPECT_EQ(probe.VideoStreamCount(), StreamCountOf(oracle, "video"));
        const TFileStreamInfo file = probe.GetFileStreamInfo();
        EXPECT_NEAR(file.Duration / 1e6, FormatDuration(oracle), 0.05);

        const QJsonObject v = FirstStream(oracle, "video");
        TVideoStreamInfo vi;
        EXPECT_EQ(probe.GetVideoStreamInfo(-1, vi), !v.isEmpty());
        if (!v.isEmpty()) {
            EXPECT_EQ(vi.StreamIndex, v.value("index").toInt());
            EXPECT_EQ(probe.DefaultVideoStream(), vi.StreamIndex);
            EXPECT_TRUE(probe.IsVideoStream(vi.StreamIndex));
            EXPECT_FALSE(probe.IsAudioStream(vi.StreamIndex));
            EXPECT_EQ(vi.Width, v.value("width").toInt());
            EXPECT_EQ(vi.Height, v.value("height").toInt());
            EXPECT_EQ(vi.CodecName, v.value("codec_name").toString().toStdString());
            EXPECT_NEAR(vi.FrameRate.Value(), Fraction(v.value("avg_frame_rate").toString()), 0.01);
        } else {
            EXPECT_EQ(probe.LastErrMsg(), "no video stream.");
            EXPECT_EQ(probe.DefaultVideoStream(), -1);
        }
        const QJsonObject a = FirstStream(oracle, "audio");
        TAudioStreamInfo ai;
        EXPECT_EQ(probe.GetAudioStreamInfo(-1, ai), !a.isEmpty());
        if (!a.isEmpty()) {
            EXPECT_EQ(ai.StreamIndex, a.value("index").toInt());
            EXPECT_EQ(ai.SampleRate, a.value("sample_rate").toString().toInt());
            EXPECT_EQ(ai.Channels, a.value("channels").toInt());
            EXPECT_EQ(ai.CodecName, a.value("codec_name").toString().toStdString());
        } else {
            EXPECT_EQ(probe.LastErrMsg(), "no audio stream.");
        }
    }
}

TEST(Probe, InfoReportLinesComeFromTheCodecDescription)
{
    TAVProbe probe;
    ASSERT_TRUE(probe.LoadFile(ClipPath("flv1_mp3.flv")));
    const QStringList lines = probe.InfoReport().split('\n');
    ASSERT_GE(lines.size(), 4);
    // The muxer wrote the sound first.
    EXPECT_EQ(lines[2], "Stream #0.0: Audio: mp3, 44100 Hz, stereo, fltp, 128 kb/s");
    EXPECT_TRUE(lines[3].startsWith("Stream #0.1: Video: flv1, yuv420p, 320x240")) << lines[3].toStdString();
    EXPECT_TRUE(lines[3].endsWith(", 25 fps")) << lines[3].toStdString();
}

TEST(Probe, BadStreamIndexesAreRefused)
{
    TAVProbe probe;
    ASSERT_TRUE(probe.LoadFile(ClipPath("flv1_mp3.flv")));
    TVideoStreamInfo vi;
    TAudioStreamInfo ai;
    EXPECT_FALSE(probe.GetVideoStreamInfo(0, vi)); // stream 0 is the sound
    EXPECT_EQ(probe.LastErrMsg(), "stream index #0 is invalid.");
    EXPECT_FALSE(probe.GetAudioStreamInfo(7, ai));
    EXPECT_EQ(probe.LastErrMsg(), "stream index #7 is invalid.");
    EXPECT_FALSE(probe.IsVideoStream(-3));
    EXPECT_FALSE(probe.IsAudioStream(1));
    EXPECT_FALSE(probe.IsAudioStream(2));
}

TEST(Probe, QueriesWithoutAFileSayFileNotLoaded)
{
    TAVProbe probe;
    TVideoStreamInfo vi;
    EXPECT_FALSE(probe.GetVideoStreamInfo(-1, vi));
    EXPECT_EQ(probe.LastErrMsg(), "file not loaded.");
    EXPECT_EQ(probe.GetFileStreamInfo().Duration, -1);
    EXPECT_EQ(probe.StreamCount(), -1);
    EXPECT_EQ(probe.DefaultAudioStream(), -1);
    EXPECT_TRUE(probe.FormatName().empty());
    EXPECT_TRUE(probe.InfoReport().isEmpty());
    EXPECT_EQ(probe.LastErrMsg(), "file not loaded.");

    ASSERT_TRUE(probe.LoadFile(ClipPath("flv1_mp3.flv")));
    probe.CloseFile();
    EXPECT_EQ(probe.StreamCount(), -1);
    EXPECT_EQ(probe.LastErrMsg(), "file not loaded.");
}

TEST(Probe, BadFilesFailWithAClearMessage)
{
    struct Case {
        QString path;
        QString message;
    } cases[] = {
        {ClipPath("missing.flv"), ClipPath("missing.flv") + ": No such file or directory"},
        {ClipPath("empty.flv"), ClipPath("empty.flv") + ": file is empty"},
        {ClipPath("text.flv"), "Unknown input format: " + ClipPath("text.flv")},
        {ClipPath("truncated.flv"), ClipPath("truncated.flv") + ": the file is truncated"},
        {ClipsDir(), ClipsDir() + ": "},
    };
    for (const auto& c : cases) {
        TAVProbe probe;
        EXPECT_FALSE(probe.LoadFile(c.path)) << c.path.toStdString();
        EXPECT_TRUE(probe.LastErrMsg().startsWith(c.message)) << probe.LastErrMsg().toStdString();
        EXPECT_EQ(probe.StreamCount(), -1);
    }
    TAVProbe probe;
    EXPECT_FALSE(probe.LoadFile(ClipPath("flv1_mp3.flv"), "nosuchformat"));
    EXPECT_EQ(probe.LastErrMsg(), "Unknown input format: nosuchformat");
    EXPECT_TRUE(probe.LoadFile(ClipPath("flv1_mp3.flv"), "flv"));
}

TEST(Probe, RawStreamHasNoKnownDuration)
{
    QTemporaryDir dir;
    const QString raw = dir.filePath("raw.h264");
    ASSERT_TRUE(Ffmpeg({"-f", "lavfi", "-i", "testsrc2=size=160x120:rate=25:duration=1", "-c:v", "libx264", "-f",
                        "h264", raw}));
    TAVProbe probe;
    ASSERT_TRUE(probe.LoadFile(raw)) << probe.LastErrMsg().toStdString();
    EXPECT_EQ(probe.GetFileStreamInfo().Duration, -1);
    EXPECT_EQ(probe.VideoStreamCount(), 1);
}

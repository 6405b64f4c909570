// Every format of the catalogue, with the profile a fresh installation gets,
// converts a generated clip into a file ffprobe recognises as that format.
#include "conversion/ConversionRun.h"

#include "media/TFFmpegVCL.h"
#include "platform/SystemFolders.h"
#include "profiles/FormatCatalogue.h"
#include "shell/TlvFilesRecord.h"
#include "support/TestEnvironment.h"
#include "support/TestSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QJsonArray>

#include <gtest/gtest.h>

namespace {

struct Expected {
    int code;
    const char* container; // a name in ffprobe's format_name list
    const char* video;     // nullptr: no video stream
    const char* audio;
    int width, height;
};

const Expected kFormats[] = {
    {0, "mpeg", "mpeg1video", "mp2", 352, 288},
    {1, "mpeg", "mpeg2video", "ac3", 720, 576},
    {100, "mpeg", "mpeg1video", "mp2", 320, 240},
    {101, "mpeg", "mpeg2video", "mp2", 640, 480},
    {102, "mp4", "mpeg4", "aac", 640, 480},
    {103, "mp4", "h264", "aac", 640, 480},
    {104, "avi", "mpeg4", "mp3", 640, 480},
    {105, "asf", "wmv2", "wmav2", 640, 480},
    {106, "avi", "mpeg4", "mp3", 640, 480},
    {107, "avi", "mpeg4", "mp3", 640, 480},
    {108, "dv", "dvvideo", "pcm_s16le", 720, 480},
    {109, "dv", "dvvideo", "pcm_s16le", 720, 576},
    {200, "mp3", nullptr, "mp3", 0, 0},
    {201, "aac", nullptr, "aac", 0, 0},
    {202, "mp4", nullptr, "aac", 0, 0},
    {203, "asf", nullptr, "wmav2", 0, 0},
    {204, "wav", nullptr, "pcm_s16le", 0, 0},
    {205, "ogg", nullptr, "vorbis", 0, 0},
    {206, "ac3", nullptr, "ac3", 0, 0},
};

QJsonObject StreamOf(const QJsonObject& probe, const QString& type)
{
    for (const QJsonValue& s : probe.value("streams").toArray())
        if (s.toObject().value("codec_type").toString() == type) return s.toObject();
    return {};
}

class AllFormats : public ::testing::TestWithParam<Expected> {};

TEST_P(AllFormats, DefaultProfileGivesAPlayableFile)
{
    const Expected& e = GetParam();
    TestEnvironment env;
    const QString out = env.MakeFolder("out");
    TFFmpegVCL engine;
    ConversionRun run(engine, env.converterIni(), InstalledDataFolder() + "/varnelformat.ini", env.dialogs);
    run.OverrideFormatCode(e.code);
    run.OverrideOutputFolder(out);
    bool ended = false, finished = false;
    QString message;
    run.events.taskEnded = [&](int, bool ok, const QString& text, const QString&) { finished = ok, message = text; };
    run.events.runEnded = [&] { ended = true; };

    TlvFilesRecord record;
    record.SourceFile = ClipPath("flv1_mp3.flv");
    ASSERT_EQ(run.Prepare({RunRow{0, &record}}), 1);
    engine.StartTask(1);
    QElapsedTimer clock;
    clock.start();
    while (!ended && clock.elapsed() < 120000) QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    ASSERT_TRUE(ended);
    ASSERT_TRUE(finished) << message.toStdString();
    EXPECT_TRUE(env.dialogs.calls().empty());

    const QString file = run.DestinationOfTask(0);
    EXPECT_EQ(QDir(out).entryList(QDir::Files), QStringList{QFileInfo(file).fileName()});
    const QJsonObject probe = FfprobeJson(file);
    const QStringList containers = probe.value("format").toObject().value("format_name").toString().split(',');
    EXPECT_TRUE(containers.contains(e.container)) << containers.join(',').toStdString();
    const QJsonObject video = StreamOf(probe, "video");
    if (e.video) {
        EXPECT_EQ(video.value("codec_name").toString(), e.video);
        EXPECT_EQ(video.value("width").toInt(), e.width);
        EXPECT_EQ(video.value("height").toInt(), e.height);
    } else {
        EXPECT_TRUE(video.isEmpty()) << "a sound file has no picture";
    }
    EXPECT_EQ(StreamOf(probe, "audio").value("codec_name").toString(), e.audio);
    EXPECT_GT(probe.value("format").toObject().value("duration").toString().toDouble(), 2.5);
}

INSTANTIATE_TEST_SUITE_P(Catalogue, AllFormats, ::testing::ValuesIn(kFormats),
                         [](const ::testing::TestParamInfo<Expected>& info) {
                             return "Format" + std::to_string(info.param.code);
                         });

TEST(AllFormatsCatalogue, TheTableCoversEveryFormat)
{
    std::vector<int> codes;
    for (const Expected& e : kFormats) codes.push_back(e.code);
    EXPECT_EQ(codes, AllFormatCodes());
}

} // namespace

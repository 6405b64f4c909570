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
#include <QFile>
#include <QJsonArray>

#include <gtest/gtest.h>

#include <map>

namespace {

// A run of the sound-only MP3 format (quick to encode) into a test folder,
// recording everything the run reports.
class RunFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        out = env.MakeFolder("out");
        ConverterSettings settings(env.converterIni());
        settings.SetOutPutDir(out);
        settings.SetFormat(200, "MP3 MPEG Layer-3 Audio (*.mp3)");
        run = std::make_unique<ConversionRun>(engine, env.converterIni(), InstalledDataFolder() + "/varnelformat.ini",
                                              env.dialogs);
        run->events.rowStatus = [this](int row, const QString& text) { status[row] = text; };
        run->events.progress = [this](const RunEvents::Progress& p) { progress.push_back(p); };
        run->events.taskEnded = [this](int row, bool ok, const QString&, const QString& destination) {
            ended.push_back({row, ok});
            destinations.push_back(destination);
        };
        run->events.rowSkipped = [this](int row, const QString& message) { skipped[row] = message; };
        run->events.runEnded = [this] { runEnded = true; };
        run->events.openFolderAfterRun = [this] { return openFolder; };
        run->events.shutDownAfterRun = [this] { return shutDown; };
    }

    TlvFilesRecord& Record(const QString& path)
    {
        records.push_back(std::make_unique<TlvFilesRecord>());
        records.back()->SourceFile = path;
        return *records.back();
    }

    void RunToEnd()
    {
        engine.StartTask(1);
        QElapsedTimer clock;
        clock.start();
        while (!runEnded && clock.elapsed() < 120000) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        ASSERT_TRUE(runEnded);
    }

    TestEnvironment env;
    QString out;
    TFFmpegVCL engine;
    std::unique_ptr<ConversionRun> run;
    std::vector<std::unique_ptr<TlvFilesRecord>> records;
    std::map<int, QString> status, skipped;
    std::vector<RunEvents::Progress> progress;
    std::vector<std::pair<int, bool>> ended;
    QStringList destinations;
    bool runEnded = false, openFolder = true, shutDown = false;
};

TEST_F(RunFixture, CheckedRowsBecomeTasksInListOrder)
{
    const QString clip = ClipPath("flv1_mp3.flv");
    // Rows 0 and 2 are checked; row 1 is not and never reaches the run.
    ASSERT_EQ(run->Prepare({{0, &Record(clip)}, {2, &Record(ClipPath("audio_only.flv"))}}), 2);
    EXPECT_EQ(run->RowOfTask(0), 0);
    EXPECT_EQ(run->RowOfTask(1), 2);
    RunToEnd();
    EXPECT_EQ(ended, (std::vector<std::pair<int, bool>>{{0, true}, {2, true}}));
    EXPECT_EQ(status[0], "100%");
    EXPECT_EQ(status[2], "100%");
    EXPECT_EQ(status.count(1), 0u);
    bool sawSecond = false;
    for (const auto& p : progress) {
        if (p.taskIndex == 1) {
            sawSecond = true;
            EXPECT_EQ(p.taskNumber, "[2/2]");
            EXPECT_EQ(p.listRow, 2);
        }
        EXPECT_GE(p.percent, 0);
        EXPECT_LE(p.percent, 100);
    }
    EXPECT_TRUE(sawSecond);
    EXPECT_EQ(env.openedFolders, QStringList{out});
    EXPECT_EQ(env.shutdowns, 0);
    for (const QString& file : destinations) EXPECT_TRUE(QFile::exists(file)) << file.toStdString();
}

TEST_F(RunFixture, ShutdownOnlyWhenAskedAndAfterTheLastTask)
{
    openFolder = false;
    shutDown = true;
    ASSERT_EQ(run->Prepare({{0, &Record(ClipPath("audio_only.flv"))}, {1, &Record(ClipPath("flv1_mp3.flv"))}}), 2);
    RunToEnd();
    EXPECT_EQ(env.shutdowns, 1);
    EXPECT_TRUE(env.openedFolders.isEmpty());
}

TEST_F(RunFixture, SameFileNamesGetTheirOwnDestinations)
{
    const QString other = env.MakeFolder("other") + "/flv1_mp3.flv";
    ASSERT_TRUE(QFile::copy(ClipPath("flv1_mp3.flv"), other));
    ASSERT_EQ(run->Prepare({{0, &Record(ClipPath("flv1_mp3.flv"))}, {1, &Record(other)}}), 2);
    EXPECT_EQ(run->DestinationOfTask(0), out + "/flv1_mp3_(new).mp3");
    EXPECT_EQ(run->DestinationOfTask(1), out + "/flv1_mp3_(new_1).mp3");
    RunToEnd();
    EXPECT_EQ(QDir(out).entryList(QDir::Files).size(), 2);
}

TEST_F(RunFixture, UnusableRowsAreMarkedAndTheRestRuns)
{
    const QString gone = env.root() + "/deleted.flv";
    ASSERT_TRUE(QFile::copy(ClipPath("flv1_mp3.flv"), gone));
    TlvFilesRecord& deleted = Record(gone);
    QFile::remove(gone);
    ASSERT_EQ(run->Prepare({{0, &deleted}, {1, &Record(ClipPath("text.flv"))}, {2, &Record(ClipPath("flv1_mp3.flv"))}}),
              1);
    EXPECT_EQ(status[0], "Error");
    EXPECT_EQ(status[1], "Error");
    EXPECT_FALSE(skipped[0].isEmpty());
    EXPECT_EQ(run->RowOfTask(0), 2);
    RunToEnd();
    EXPECT_EQ(status[2], "100%");
}

TEST_F(RunFixture, AVolumeThatIsNoNumberSkipsOnlyItsFile)
{
    IniFile(env.converterIni()).WriteString("formatInfo200", "paraVolume", "loud");
    IniFile(env.converterIni()).WriteString("formatInfo200", "paraAudioEncoder", "libmp3lame");
    ASSERT_EQ(run->Prepare({{0, &Record(ClipPath("flv1_mp3.flv"))}}), 0);
    EXPECT_EQ(status[0], "Error");
    ASSERT_EQ(env.dialogs.messages(), QStringList{"'loud' is not a valid integer value."});
    EXPECT_TRUE(env.dialogs.calls()[0].icon == MessageIcon::Error);
}

TEST_F(RunFixture, TrimStartAndLengthLimitTheOutput)
{
    TlvFilesRecord& record = Record(ClipPath("flv1_mp3.flv"));
    record.TrimStart = 1000000;
    record.TrimLength = 1500000;
    ASSERT_EQ(run->Prepare({{0, &record}}), 1);
    RunToEnd();
    const double seconds =
        FfprobeJson(run->DestinationOfTask(0)).value("format").toObject().value("duration").toString().toDouble();
    EXPECT_NEAR(seconds, 1.5, 0.1);
}

TEST_F(RunFixture, AFailedTaskIsNotMarkedDone)
{
    run->OverrideOutputFolder("/proc/varnel-out");
    ASSERT_EQ(run->Prepare({{0, &Record(ClipPath("flv1_mp3.flv"))}}), 1);
    RunToEnd();
    EXPECT_EQ(ended, (std::vector<std::pair<int, bool>>{{0, false}}));
    EXPECT_NE(status[0], "100%");
    EXPECT_TRUE(env.openedFolders.isEmpty());
}

TEST(ConversionRun, PriorityFromSettings)
{
    const struct {
        int setting;
        bool applies;
        TThreadPriority priority;
    } cases[] = {{0, true, tpIdle}, {1, true, tpNormal}, {2, true, tpLower}, {3, true, tpLowest}, {7, false, tpNormal},
                 {-1, false, tpNormal}};
    for (const auto& c : cases) {
        TThreadPriority p = tpNormal;
        EXPECT_EQ(ConversionRun::PriorityFromSetting(c.setting, p), c.applies) << c.setting;
        if (c.applies) {
            EXPECT_EQ(p, c.priority) << c.setting;
        }
    }
}

} // namespace

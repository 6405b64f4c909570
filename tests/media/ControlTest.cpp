#include "MediaTestUtil.h"

#include "media/Bitmap24.h"
#include "support/TestSupport.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QThread>

#include <atomic>
#include <chrono>
#include <gtest/gtest.h>
#include <sched.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <thread>
#include <unistd.h>

namespace {

void Pump(int ms)
{
    QElapsedTimer t;
    t.start();
    WaitUntil([&] { return t.elapsed() >= ms; }, ms + 1000);
}

double CpuSeconds()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_utime.tv_sec + u.ru_stime.tv_sec + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

class Engine : public ::testing::Test {
protected:
    // One task from flv1_mp3.flv (3 s, 320x240) into `name` in the temporary folder.
    void AddTask(const QString& name, TOutputOptions o = {}, TInputOptions in = {})
    {
        const int task = engine.AddTask(ClipPath("flv1_mp3.flv"), in);
        ASSERT_GE(task, 0) << engine.LastErrMsg().toStdString();
        if (o.VideoCodec.empty()) o.VideoCodec = "mpeg4";
        if (o.VideoBitRate < 0) o.VideoBitRate = 2000000;
        ASSERT_TRUE(engine.SetOutputFile(task, dir.filePath(name), o)) << engine.LastErrMsg().toStdString();
    }
    static TOutputOptions Hooked()
    {
        TOutputOptions o;
        o.UseFrameHook = true;
        return o;
    }

    QTemporaryDir dir;
    TFFmpegVCL engine;
};

} // namespace

TEST_F(Engine, HookSeesSourceFramesAndItsDrawingIsEncoded)
{
    TOutputOptions o = Hooked();
    o.FrameSize = "160x120";
    TInputOptions in;
    in.StartPosition = 1000000;
    AddTask("hook.avi", o, in);
    std::vector<int64_t> pts;
    std::atomic<bool> offMainThread{true}, sourceSize{true};
    const auto mainThread = std::this_thread::get_id();
    engine.OnCustomHook = [&](TFFmpegVCL*, PHookInfo info) {
        offMainThread = offMainThread && std::this_thread::get_id() != mainThread;
        sourceSize = sourceSize && info->Bitmap->Width() == 320 && info->Bitmap->Height() == 240;
        EXPECT_EQ(info->TaskIndex, 0);
        EXPECT_TRUE(info->Update);
        EXPECT_FALSE(info->StopHook);
        pts.push_back(info->PTS);
        info->Bitmap->FillRect(40, 40, 80, 80, 0x00FFFFFF);
    };
    const auto events = RunAndWait(engine);
    ASSERT_EQ(events.size(), 2u);
    ASSERT_TRUE(events[0].Finished) << events[0].ExceptionMsg.toStdString();
    EXPECT_TRUE(offMainThread);
    EXPECT_TRUE(sourceSize);
    ASSERT_NEAR(double(pts.size()), 50, 1);
    EXPECT_LT(pts.front(), 40000); // time counts from the start of the converted range
    EXPECT_TRUE(std::is_sorted(pts.begin(), pts.end()));
    EXPECT_NEAR(double(pts.back()), 1960000, 40000);

    const QByteArray gray = GrayFrame(dir.filePath("hook.avi"), 0.5, 160, 120);
    ASSERT_FALSE(gray.isEmpty());
    EXPECT_GT(MeanOf(gray, 160, 22, 22, 36, 36), 225);  // the square, halved with the picture
    EXPECT_LT(MeanOf(gray, 160, 80, 70, 60, 40), 200);  // the rest is the test pattern
}

TEST_F(Engine, HookFailuresAndDeclinedUpdatesLeaveTheFrameAsDecoded)
{
    for (const bool throws : {true, false}) {
        SCOPED_TRACE(throws);
        engine.ClearTasks();
        const QString name = throws ? "throws.avi" : "declines.avi";
        AddTask(name, Hooked());
        QStringList log;
        engine.OnLog = [&](TFFmpegVCL*, const QString& line) { log << line; };
        engine.OnCustomHook = [&](TFFmpegVCL*, PHookInfo info) {
            info->Bitmap->FillRect(0, 0, 320, 240, 0x00FFFFFF);
            if (throws) throw std::runtime_error("boom");
            info->Update = false;
        };
        const auto events = RunAndWait(engine);
        ASSERT_EQ(events.size(), 2u);
        EXPECT_TRUE(events[0].Finished) << events[0].ExceptionMsg.toStdString();
        const QByteArray gray = GrayFrame(dir.filePath(name), 1.0, 320, 240);
        ASSERT_FALSE(gray.isEmpty());
        EXPECT_LT(MeanOf(gray, 320, 0, 0, 320, 240), 200);
        if (throws) {
            ASSERT_FALSE(log.isEmpty());
            EXPECT_EQ(log.first(), "Error occurs OnCustomHook: boom");
        } else {
            EXPECT_TRUE(log.isEmpty());
        }
    }
}

TEST_F(Engine, StopFlagEndsHookCallsForTheTask)
{
    AddTask("once.avi", Hooked());
    int calls = 0;
    engine.OnCustomHook = [&](TFFmpegVCL*, PHookInfo info) {
        ++calls;
        info->StopHook = true;
    };
    const auto events = RunAndWait(engine);
    ASSERT_EQ(events.size(), 2u);
    EXPECT_TRUE(events[0].Finished) << events[0].ExceptionMsg.toStdString();
    EXPECT_EQ(calls, 1);
    EXPECT_NEAR(FirstStream(FfprobeJson(dir.filePath("once.avi")), "video").value("nb_frames").toString().toInt(), 75, 1);
}

TEST_F(Engine, HookRunsOnlyForTasksThatAskForIt)
{
    AddTask("plain.avi");
    int calls = 0;
    engine.OnCustomHook = [&](TFFmpegVCL*, PHookInfo) { ++calls; };
    const auto events = RunAndWait(engine);
    ASSERT_EQ(events.size(), 2u);
    EXPECT_TRUE(events[0].Finished);
    EXPECT_EQ(calls, 0);
}

TEST_F(Engine, EventsArriveOnTheOwnerThreadInOrder)
{
    AddTask("one.avi", Hooked());
    AddTask("two.avi", Hooked());
    engine.PreviewBitmap = true;
    engine.SetProgressInterval(10);
    EXPECT_EQ(engine.ProgressInterval(), 100);
    engine.OnCustomHook = [](TFFmpegVCL*, PHookInfo) { std::this_thread::sleep_for(std::chrono::milliseconds(6)); };
    const auto mainThread = std::this_thread::get_id();
    std::vector<TProgressInfo> progress;
    std::vector<TPreviewInfo> previews;
    bool allOnMain = true, clearedAtEnd = false;
    engine.OnProgress = [&](TFFmpegVCL*, PProgressInfo info) {
        allOnMain = allOnMain && std::this_thread::get_id() == mainThread;
        progress.push_back(*info);
    };
    engine.OnPreviewBitmap = [&](TFFmpegVCL*, const TPreviewInfo& info) {
        allOnMain = allOnMain && std::this_thread::get_id() == mainThread;
        previews.push_back(info);
    };
    engine.OnTerminate = [&](TFFmpegVCL* sender, const TTerminateInfo& info) {
        allOnMain = allOnMain && std::this_thread::get_id() == mainThread;
        if (info.TaskIndex < 0) {
            EXPECT_FALSE(sender->Working());
            sender->ClearTasks(); // the end-of-run handler may clear at once
            clearedAtEnd = true;
        }
    };
    const auto events = RunAndWait(engine);
    ASSERT_EQ(events.size(), 3u);
    EXPECT_EQ(events[0].TaskIndex, 0);
    EXPECT_EQ(events[1].TaskIndex, 1);
    EXPECT_EQ(events[2].TaskIndex, -1);
    EXPECT_TRUE(events[0].Finished && events[1].Finished);
    EXPECT_TRUE(clearedAtEnd);
    EXPECT_EQ(engine.TaskCount(), 0);
    EXPECT_TRUE(allOnMain);

    ASSERT_GE(progress.size(), 4u);
    EXPECT_EQ(progress.front().TaskIndex, 0);
    EXPECT_EQ(progress.back().TaskIndex, 1);
    for (const auto& p : progress) {
        EXPECT_NEAR(double(p.TotalDuration), 3.0e6, 0.1e6);
        EXPECT_LE(p.CurrentDuration, p.TotalDuration + 100000);
        EXPECT_GE(p.CurrentSize, 0);
    }
    ASSERT_FALSE(previews.empty());
    EXPECT_EQ(previews.front().Bitmap->Width(), 320);
    EXPECT_EQ(previews.front().Bitmap->Height(), 240);
}

TEST_F(Engine, OperationsAreRefusedWhileWorking)
{
    AddTask("busy.avi", Hooked());
    std::atomic<bool> release{false};
    engine.OnCustomHook = [&](TFFmpegVCL*, PHookInfo) {
        while (!release) std::this_thread::sleep_for(std::chrono::milliseconds(2));
    };
    engine.StartTask(1);
    const std::pair<std::function<void()>, std::string> calls[] = {
        {[&] { engine.AddTask(ClipPath("flv1_mp3.flv"), {}); }, "Cannot AddTask while working."},
        {[&] { engine.SetOutputFile(0, dir.filePath("x.avi"), {}); }, "Cannot SetOutputFile while working."},
        {[&] { engine.ClearTasks(); }, "Cannot ClearTasks while working."},
        {[&] { engine.RemoveTask(0); }, "Cannot RemoveTask while working."},
        {[&] { engine.StartTask(1); }, "Cannot StartTask while working."},
    };
    for (const auto& [call, message] : calls) {
        try {
            call();
            ADD_FAILURE() << "no exception for " << message;
        } catch (const FFmpegException& e) {
            EXPECT_EQ(e.what(), message);
        }
    }
    release = true;
    bool ended = false;
    engine.OnTerminate = [&](TFFmpegVCL*, const TTerminateInfo& info) { ended = ended || info.TaskIndex < 0; };
    EXPECT_TRUE(WaitUntil([&] { return ended; }));
    EXPECT_NO_THROW(engine.ClearTasks());
}

TEST_F(Engine, StopLeavesNoPartialFileSkipsTheRestAndTheNextRunWorks)
{
    AddTask("first.avi", Hooked());
    AddTask("second.avi", Hooked());
    std::atomic<int> calls{0};
    engine.OnCustomHook = [&](TFFmpegVCL*, PHookInfo) {
        ++calls;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    };
    bool stopped = false;
    engine.OnProgress = [&](TFFmpegVCL* sender, PProgressInfo) {
        if (stopped) return;
        stopped = true;
        sender->StopConversion(true);
        EXPECT_FALSE(sender->Working());
    };
    const auto events = RunAndWait(engine);
    ASSERT_TRUE(stopped);
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].TaskIndex, 0);
    EXPECT_FALSE(events[0].Finished);
    EXPECT_FALSE(events[0].Exception);
    EXPECT_EQ(events[1].TaskIndex, -1);
    EXPECT_LT(calls.load(), 75);
    EXPECT_TRUE(FilesIn(dir.path()).isEmpty()) << FilesIn(dir.path()).join(",").toStdString();

    engine.OnProgress = nullptr;
    engine.ClearTasks();
    AddTask("again.avi");
    const auto again = RunAndWait(engine);
    ASSERT_EQ(again.size(), 2u);
    EXPECT_TRUE(again[0].Finished) << again[0].ExceptionMsg.toStdString();
    EXPECT_EQ(FilesIn(dir.path()), QStringList{"again.avi"});
}

TEST_F(Engine, PauseHaltsWorkUntilResume)
{
    AddTask("paused.avi", Hooked());
    std::atomic<int> calls{0};
    engine.OnCustomHook = [&](TFFmpegVCL*, PHookInfo) {
        ++calls;
        std::this_thread::sleep_for(std::chrono::milliseconds(8));
    };
    bool paused = false, ended = false;
    int progressWhilePaused = 0;
    engine.OnProgress = [&](TFFmpegVCL* sender, PProgressInfo) {
        if (sender->Paused()) ++progressWhilePaused;
        if (!paused) {
            paused = true;
            sender->PauseConversion();
        }
    };
    engine.OnTerminate = [&](TFFmpegVCL*, const TTerminateInfo& info) { ended = ended || info.TaskIndex < 0; };
    engine.StartTask(1);
    ASSERT_TRUE(WaitUntil([&] { return paused; }));
    Pump(150); // let stages finish the frame in hand
    const int before = calls;
    progressWhilePaused = 0;
    const double cpu = CpuSeconds();
    Pump(600);
    EXPECT_EQ(calls.load(), before);
    EXPECT_EQ(progressWhilePaused, 0);
    EXPECT_LT(CpuSeconds() - cpu, 0.15); // asleep, not spinning
    EXPECT_TRUE(engine.Working());
    engine.ResumeConversion();
    ASSERT_TRUE(WaitUntil([&] { return ended; }));
    EXPECT_EQ(calls.load(), 75);
}

TEST_F(Engine, WorkerRunsAtTheChosenPriority)
{
    const std::pair<TThreadPriority, int> cases[] = {{tpLowest, 15}, {tpLower, 5}, {tpNormal, 0}};
    for (const auto& [priority, nice] : cases) {
        engine.ClearTasks();
        TOutputOptions o = Hooked();
        o.RecordingTime = 200000;
        AddTask(QString("p%1.avi").arg(nice), o);
        engine.ThreadPriority = priority;
        int seen = -100;
        engine.OnCustomHook = [&](TFFmpegVCL*, PHookInfo) {
            seen = getpriority(PRIO_PROCESS, id_t(syscall(SYS_gettid)));
        };
        RunAndWait(engine);
        EXPECT_EQ(seen, nice);
    }
    engine.ClearTasks();
    TOutputOptions o = Hooked();
    o.RecordingTime = 200000;
    AddTask("idle.avi", o);
    engine.ThreadPriority = tpIdle;
    int policy = -1;
    engine.OnCustomHook = [&](TFFmpegVCL*, PHookInfo) { policy = sched_getscheduler(0); };
    RunAndWait(engine);
    EXPECT_EQ(policy, SCHED_IDLE);
}

TEST(EngineLifetime, DestroyingARunningEngineStopsAndCleansUp)
{
    QTemporaryDir dir;
    std::atomic<int> calls{0};
    {
        TFFmpegVCL engine;
        ASSERT_EQ(engine.AddTask(ClipPath("flv1_mp3.flv"), {}), 0);
        TOutputOptions o;
        o.UseFrameHook = true;
        ASSERT_TRUE(engine.SetOutputFile(0, dir.filePath("gone.mp4"), o));
        engine.OnCustomHook = [&](TFFmpegVCL*, PHookInfo) {
            ++calls;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        };
        engine.StartTask(1);
        while (calls < 3) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    Pump(50); // queued events of the destroyed engine must not run
    EXPECT_LT(calls.load(), 75);
    EXPECT_TRUE(FilesIn(dir.path()).isEmpty());
}

TEST(Loader, LinkedLibrariesAreUsable)
{
    TFFmpegVCL engine;
    EXPECT_TRUE(engine.LoadLibraries("LibAV"));
    EXPECT_TRUE(engine.LastLoadError().isEmpty());
}

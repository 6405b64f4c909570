// Pause, resume and seeking, checked against the frames ffmpeg itself decodes.
#include "PlayerTestUtil.h"
#include "support/TestSupport.h"

#include <QTest>
#include <QWidget>

#include <map>

class ControlTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void pauseHoldsPositionAndResumeContinues();
    void seekShowsTheFrameAtTheTarget_data();
    void seekShowsTheFrameAtTheTarget();
    void seekWithoutWaitWhilePlaying();
    void rewindAtEndAsTheWindowsDo();

private:
    const std::vector<int64_t>& Times(const QString& path);
    const QByteArray& Oracle(const QString& path, int index);

    QTemporaryDir dir_;
    std::map<QString, std::vector<int64_t>> times_;
    std::map<std::pair<QString, int>, QByteArray> oracle_;
    QString longGop_;   // H.264 + AAC, key frames 2 s apart
    QString flv1_;      // FLV1 + MP3, key frames 1 s apart
    QString silentGop_; // H.264 without sound: the system clock
};

namespace {
constexpr int kW = 160, kH = 120;
constexpr int64_t kFrame = 40000;
} // namespace

const std::vector<int64_t>& ControlTest::Times(const QString& path)
{
    auto it = times_.find(path);
    if (it == times_.end()) it = times_.emplace(path, FrameTimes(path)).first;
    return it->second;
}

const QByteArray& ControlTest::Oracle(const QString& path, int index)
{
    auto it = oracle_.find({path, index});
    if (it == oracle_.end()) it = oracle_.emplace(std::make_pair(path, index), OracleFrame(path, index, kW, kH)).first;
    return it->second;
}

void ControlTest::initTestCase()
{
    QVERIFY(dir_.isValid());
    // testsrc prints the frame number, so neighbouring frames differ visibly.
    const QStringList video{"-f", "lavfi", "-i", "testsrc=size=160x120:rate=25:duration=4"};
    const QStringList audio{"-f", "lavfi", "-i", "sine=frequency=440:sample_rate=44100:duration=4"};
    longGop_ = MakeClip(dir_, "long_gop.flv",
                        video + audio + QStringList{"-c:v", "libx264", "-pix_fmt", "yuv420p", "-g", "50", "-bf", "2",
                                                    "-c:a", "aac", "-shortest"});
    flv1_ = MakeClip(dir_, "flv1.flv",
                     video + audio + QStringList{"-c:v", "flv1", "-q:v", "2", "-g", "25", "-c:a", "libmp3lame",
                                                 "-ar", "44100", "-shortest"});
    silentGop_ = MakeClip(dir_, "silent_gop.flv", video + QStringList{"-c:v", "libx264", "-pix_fmt", "yuv420p", "-g", "50"});
    QVERIFY(!longGop_.isEmpty() && !flv1_.isEmpty() && !silentGop_.isEmpty());
}

void ControlTest::pauseHoldsPositionAndResumeContinues()
{
    QWidget screen;
    screen.resize(kW, kH);
    TFFPlayer player;
    PlayerEvents events;
    events.Attach(player);
    QVERIFY(player.OpenAndPlay(flv1_, &screen));
    QTRY_VERIFY_WITH_TIMEOUT(events.LastPosition() >= 600000, 5000);

    player.PausePlayback();
    QVERIFY(player.IsPausedOrIdle());
    QCOMPARE(events.Count(psPause), 1);
    // A picture already due may still land; after that nothing moves.
    const int64_t atPause = player.CurrentPosition();
    QTest::qWait(100);
    const int64_t settled = player.CurrentPosition();
    QVERIFY(settled - atPause <= kFrame);
    const size_t positionsWhilePaused = events.positions.size();
    QTest::qWait(500);
    QCOMPARE(player.CurrentPosition(), settled);
    QCOMPARE(events.positions.size(), positionsWhilePaused);

    player.PausePlayback(); // already paused: nothing
    QCOMPARE(events.Count(psPause), 1);

    player.ResumePlayback();
    QVERIFY(!player.IsPausedOrIdle());
    QCOMPARE(events.Count(psResume), 1);
    player.ResumePlayback(); // already playing: nothing
    QCOMPARE(events.Count(psResume), 1);
    QTRY_VERIFY_WITH_TIMEOUT(events.positions.size() > positionsWhilePaused, 3000);
    // Playback goes on from where it stopped, not from the start or a jump ahead.
    const int64_t firstAfter = events.positions[positionsWhilePaused];
    QVERIFY2(firstAfter > settled && firstAfter < settled + 1500000, qPrintable(QString::number(firstAfter)));
    QTRY_VERIFY_WITH_TIMEOUT(events.Count(psEnd) == 1, 10000);
}

void ControlTest::seekShowsTheFrameAtTheTarget_data()
{
    QTest::addColumn<int>("clip");
    QTest::addColumn<int>("flags");
    QTest::addColumn<qint64>("target");
    for (int clip = 0; clip < 3; ++clip) {
        const char* name = clip == 0 ? "h264 gop 50" : clip == 1 ? "flv1 gop 25" : "h264 silent";
        for (int flags : {0, TFFPlayer::kSeekAnyFrame}) {
            auto row = [&](const char* what, qint64 target) {
                QTest::addRow("%s, flags %d, %s", name, flags, what) << clip << flags << target;
            };
            row("mid gop", 1530000);
            row("late in gop", 3970000);
            if (flags == 0) {
                row("start", 0);
                row("key frame", 2000000);
                row("past the end", 60000000);
                row("before the start", -5000000);
            }
        }
    }
}

void ControlTest::seekShowsTheFrameAtTheTarget()
{
    QFETCH(int, clip);
    QFETCH(int, flags);
    QFETCH(qint64, target);
    const QString path = clip == 0 ? longGop_ : clip == 1 ? flv1_ : silentGop_;
    const std::vector<int64_t>& times = Times(path);
    QCOMPARE(int(times.size()), 100);
    const int expectedFrame = FrameAt(times, target);

    QWidget screen;
    screen.resize(kW, kH);
    TFFPlayer player;
    PlayerEvents events;
    events.Attach(player);
    QVERIFY(player.OpenAndPlay(path, &screen));
    player.PausePlayback();
    player.SeekTo(flags, true, target);

    // Seeking while paused shows the picture and stays paused.
    QVERIFY(player.IsPausedOrIdle());
    const int64_t position = player.CurrentPosition();
    QCOMPARE(position, times[expectedFrame]);
    const Bitmap24 shown = player.CurrentPicture();
    const double here = MeanDifference(shown, Oracle(path, expectedFrame));
    QVERIFY2(here < 2.0, qPrintable(QString::number(here)));
    for (int neighbour : {expectedFrame - 1, expectedFrame + 1}) {
        if (neighbour < 0 || neighbour > 99) continue;
        const double there = MeanDifference(shown, Oracle(path, neighbour));
        QVERIFY2(there > here + 0.5, qPrintable(QString("frame %1: %2 vs %3").arg(neighbour).arg(there).arg(here)));
    }
    QVERIFY(events.positions.empty() || events.LastPosition() == position);
    if (target >= 60000000) {
        // At the end but paused: the file has not played out until resumed.
        QCOMPARE(events.Count(psEnd), 0);
        player.ResumePlayback();
        QTRY_VERIFY_WITH_TIMEOUT(events.Count(psEnd) == 1, 5000);
        QCOMPARE(player.CurrentPosition(), times.back());
    }
}

void ControlTest::seekWithoutWaitWhilePlaying()
{
    QWidget screen;
    screen.resize(kW, kH);
    TFFPlayer player;
    PlayerEvents events;
    events.Attach(player);
    QVERIFY(player.OpenAndPlay(longGop_, &screen));
    QTRY_VERIFY_WITH_TIMEOUT(events.LastPosition() >= 200000, 5000);
    QVERIFY(events.LastPosition() < 1500000);
    player.SeekTo(0, false, 3000000);
    // The call returns at once; the jump follows, then playback carries on.
    const std::vector<int64_t>& times = Times(longGop_);
    const int64_t landing = times[FrameAt(times, 3000000)];
    QTRY_VERIFY_WITH_TIMEOUT(events.LastPosition() >= landing, 5000);
    // Once there, it never falls back to where it was before the seek.
    const auto jump = std::find_if(events.positions.begin(), events.positions.end(),
                                   [&](int64_t p) { return p >= landing; });
    QVERIFY(std::all_of(jump, events.positions.end(), [&](int64_t p) { return p >= landing; }));
    QVERIFY(std::is_sorted(jump, events.positions.end()));
    QTRY_VERIFY_WITH_TIMEOUT(events.Count(psEnd) == 1, 5000);
}

void ControlTest::rewindAtEndAsTheWindowsDo()
{
    QWidget screen;
    screen.resize(kW, kH);
    TFFPlayer player;
    PlayerEvents events;
    events.Attach(player);
    std::vector<int64_t> positionAtEnd;
    player.OnState = [&](TPlayState state) {
        events.states.push_back(state);
        if (state == psEnd) {
            positionAtEnd.push_back(events.LastPosition());
            player.SeekTo(TFFPlayer::kSeekAnyFrame, false, 0);
            player.PausePlayback();
        }
    };
    QVERIFY(player.OpenAndPlay(longGop_, &screen));
    player.SeekTo(0, false, 3500000);
    QTRY_VERIFY_WITH_TIMEOUT(events.Count(psEnd) == 1, 10000);
    // Rewound, paused, showing the first picture.
    QTRY_COMPARE_WITH_TIMEOUT(player.CurrentPosition(), Times(longGop_).front(), 3000);
    QVERIFY(player.IsPausedOrIdle());
    QVERIFY(MeanDifference(player.CurrentPicture(), Oracle(longGop_, 0)) < 2.0);
    QCOMPARE(events.Count(psPause), 1);

    // Play again from the start to the end a second time.
    events.positions.clear();
    player.ResumePlayback();
    QTRY_VERIFY_WITH_TIMEOUT(!events.positions.empty(), 3000);
    QVERIFY(events.positions.front() < 1000000);
    player.SeekTo(0, false, 3500000);
    QTRY_VERIFY_WITH_TIMEOUT(events.Count(psEnd) == 2, 10000);
    // Both times the last picture was reached before the end was reported.
    QCOMPARE(positionAtEnd, std::vector<int64_t>(2, Times(longGop_).back()));
}

QTEST_MAIN(ControlTest)
#include "ControlTest.moc"

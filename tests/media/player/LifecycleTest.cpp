// Opening, closing and reopening in every state a user can reach quickly:
// no thread may outlive its playback and no sequence may hang or crash. Each
// case runs many times so a race has room to show (the thread sanitizer build
// runs this same program).
#include "PlayerTestUtil.h"
#include "support/TestSupport.h"

#include <QTest>
#include <QWidget>

namespace {

constexpr int kRounds = 50;

// Threads of the process with the player idle, once its first playback has
// started the threads that stay for the life of the process (audio driver).
int IdleThreads(QWidget& screen)
{
    TFFPlayer warmUp;
    warmUp.OpenAndPlay(ClipPath("flv1_mp3.flv"), &screen);
    warmUp.ClosePlayback(true);
    return ThreadCount();
}

} // namespace

class LifecycleTest : public QObject {
    Q_OBJECT
private slots:
    void closeInEveryStateLeavesNoThread_data();
    void closeInEveryStateLeavesNoThread();
    void openingASecondFileClosesTheFirst();
};

void LifecycleTest::closeInEveryStateLeavesNoThread_data()
{
    QTest::addColumn<QString>("state");
    QTest::newRow("right after open") << "open";
    QTest::newRow("paused") << "paused";
    QTest::newRow("seeking") << "seeking";
    QTest::newRow("playing") << "playing";
}

void LifecycleTest::closeInEveryStateLeavesNoThread()
{
    QFETCH(QString, state);
    QWidget screen;
    screen.resize(160, 120);
    screen.show();
    const int idle = IdleThreads(screen);
    for (int round = 0; round < kRounds; ++round) {
        TFFPlayer player;
        PlayerEvents events;
        events.Attach(player);
        QVERIFY(player.OpenAndPlay(ClipPath(round % 2 ? "h264_aac.flv" : "flv1_mp3.flv"), &screen));
        if (state == "paused") {
            player.PausePlayback();
            QVERIFY(player.IsPausedOrIdle());
        } else if (state == "seeking") {
            player.SeekTo(round % 2 ? TFFPlayer::kSeekAnyFrame : 0, false, 1500000 + round * 10000);
        } else if (state == "playing") {
            QTest::qWait(round % 5 * 7);
        }
        player.ClosePlayback(true);
        QVERIFY(player.IsPausedOrIdle());
        QCOMPARE(player.CurrentPosition(), int64_t(-1));
        QCOMPARE(ThreadCount(), idle);
        QCOMPARE(events.opens.size(), size_t(1));
    }
}

void LifecycleTest::openingASecondFileClosesTheFirst()
{
    QWidget screen;
    screen.resize(160, 120);
    screen.show();
    const int idle = IdleThreads(screen);
    TFFPlayer player;
    PlayerEvents events;
    events.Attach(player);
    for (int round = 0; round < kRounds; ++round) {
        const bool second = round % 2;
        QVERIFY(player.OpenAndPlay(ClipPath(second ? "video_only.flv" : "h264_aac.flv"), &screen));
        QCOMPARE(events.opens.back().width, second ? 320 : 640);
        QCOMPARE(player.CurrentPicture().Width(), second ? 320 : 640);
        QVERIFY(player.AVProbe()->ProbeFileName().endsWith(second ? "video_only.flv" : "h264_aac.flv"));
    }
    QCOMPARE(events.opens.size(), size_t(kRounds));
    // Positions of a closed file never arrive after the next one opened: the
    // last file plays on from its own start.
    QTRY_VERIFY(events.LastPosition() > 0);
    player.ClosePlayback(true);
    QCOMPARE(ThreadCount(), idle);
}

QTEST_MAIN(LifecycleTest)
#include "LifecycleTest.moc"

// Opening, closing and reopening in every state a user can reach quickly:
// no thread may outlive its playback and no sequence may hang or crash. Each
// case runs many times so a race has room to show (the thread sanitizer build
// runs this same program).
#include "PlayerTestUtil.h"
#include "support/TestSupport.h"

#include <QFile>
#include <QTest>
#include <QWidget>

namespace {

constexpr int kRounds = 50;

// Threads that carry the process's own name: the main thread, the player's
// and the decoders'. Qt and SDL name the threads they keep for the life of
// the process (and may start them at any moment), so those are not counted.
int UnnamedThreads()
{
    QFile self(QStringLiteral("/proc/self/comm"));
    const QString name = self.open(QIODevice::ReadOnly) ? QString::fromUtf8(self.readAll()).trimmed() : QString();
    return int(ThreadNames().split(QLatin1Char(',')).count(name));
}

// Unnamed threads with the player idle, after a first playback.
int IdleThreads(QWidget& screen)
{
    TFFPlayer warmUp;
    warmUp.OpenAndPlay(ClipPath("flv1_mp3.flv"), &screen);
    warmUp.ClosePlayback(true);
    return UnnamedThreads();
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
        // A joined thread can stay listed for a moment while the kernel
        // finishes its exit; one that was never joined stays for good.
        QTRY_VERIFY2_WITH_TIMEOUT(UnnamedThreads() == idle, qPrintable(ThreadNames()), 2000);
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
    // The count sees the playback's own threads while it plays.
    QVERIFY(UnnamedThreads() > idle);
    player.ClosePlayback(true);
    QTRY_VERIFY2_WITH_TIMEOUT(UnnamedThreads() == idle, qPrintable(ThreadNames()), 2000);
}

QTEST_MAIN(LifecycleTest)
#include "LifecycleTest.moc"

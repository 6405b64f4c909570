// Playing whole files: the order of events, what OnFileOpen reports against
// ffprobe, positions, the end of the file, and files that cannot be played.
#include "PlayerTestUtil.h"
#include "support/TestSupport.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QTest>
#include <QWidget>

#include <algorithm>

class PlaybackTest : public QObject {
    Q_OBJECT
private slots:
    void playsToEnd_data();
    void playsToEnd();
    void badFileFailsAndLeavesPlayerIdle_data();
    void badFileFailsAndLeavesPlayerIdle();
};

void PlaybackTest::playsToEnd_data()
{
    QTest::addColumn<QString>("clip");
    QTest::newRow("flv1+mp3") << "flv1_mp3.flv";
    QTest::newRow("h264+aac") << "h264_aac.flv";
    QTest::newRow("audio only") << "audio_only.flv";
    QTest::newRow("video only") << "video_only.flv";
    QTest::newRow("odd size") << "odd_321x241.flv";
}

void PlaybackTest::playsToEnd()
{
    QFETCH(QString, clip);
    const QString path = ClipPath(clip);
    const QJsonObject probe = FfprobeJson(path);
    QVERIFY2(!probe.isEmpty(), qPrintable(path));
    const int64_t expectedDuration = int64_t(probe["format"].toObject()["duration"].toString().toDouble() * 1e6);
    int expectedWidth = -1, expectedHeight = -1;
    for (const QJsonValue& s : probe["streams"].toArray()) {
        const QJsonObject stream = s.toObject();
        if (stream["codec_type"].toString() == "video") {
            expectedWidth = stream["width"].toInt();
            expectedHeight = stream["height"].toInt();
        }
    }

    QWidget screen;
    screen.resize(200, 150);
    screen.show();
    TFFPlayer player;
    PlayerEvents events;
    events.Attach(player);
    bool openRaisedInside = false;
    const auto record = player.OnFileOpen;
    player.OnFileOpen = [&](int64_t d, int w, int h, int& sw, int& sh) {
        // The widget's size arrives as the default screen size.
        QCOMPARE(sw, 200);
        QCOMPARE(sh, 150);
        openRaisedInside = true;
        record(d, w, h, sw, sh);
    };

    QVERIFY2(player.OpenAndPlay(path, &screen), qPrintable(player.LastErrMsg()));
    QVERIFY(openRaisedInside);
    QCOMPARE(int(events.opens.size()), 1);
    QVERIFY2(std::abs(events.opens[0].duration - expectedDuration) <= 50000,
             qPrintable(QString("%1 vs %2").arg(events.opens[0].duration).arg(expectedDuration)));
    QCOMPARE(events.opens[0].width, expectedWidth);
    QCOMPARE(events.opens[0].height, expectedHeight);
    QVERIFY(player.AVProbe()->Loaded());
    QCOMPARE(player.AVProbe()->VideoStreamCount(), expectedWidth > 0 ? 1 : 0);
    QVERIFY(!player.IsPausedOrIdle());
    QCOMPARE(events.states, std::vector<TPlayState>{psPlay});
    if (expectedWidth > 0) {
        // The first picture is current once the call returns.
        const Bitmap24 picture = player.CurrentPicture();
        QCOMPARE(picture.Width(), expectedWidth);
        QCOMPARE(picture.Height(), expectedHeight);
        QVERIFY(player.CurrentPosition() >= 0 && player.CurrentPosition() < 100000);
    } else {
        QVERIFY(player.CurrentPicture().Empty());
    }

    QTRY_VERIFY_WITH_TIMEOUT(events.Count(psEnd) == 1, 15000);
    QVERIFY(events.positions.size() >= 5);
    QVERIFY(std::is_sorted(events.positions.begin(), events.positions.end()));
    // The last position is the last picture (or the end of the sound).
    QVERIFY2(events.LastPosition() >= expectedDuration - 200000 && events.LastPosition() <= expectedDuration,
             qPrintable(QString::number(events.LastPosition())));
    QCOMPARE(events.states.back(), psEnd);

    // The file stays open at its end: nothing more happens by itself.
    const size_t positionsAtEnd = events.positions.size();
    QTest::qWait(300);
    QCOMPARE(events.positions.size(), positionsAtEnd);
    QCOMPARE(events.Count(psEnd), 1);

    player.ClosePlayback(true);
    QVERIFY(player.IsPausedOrIdle());
    QVERIFY(player.CurrentPicture().Empty());
    QCOMPARE(player.CurrentPosition(), int64_t(-1));
    QVERIFY(!player.AVProbe()->Loaded());
    QCOMPARE(events.states.back(), psStop);
}

void PlaybackTest::badFileFailsAndLeavesPlayerIdle_data()
{
    QTest::addColumn<QString>("clip");
    QTest::newRow("missing") << "no_such_file.flv";
    QTest::newRow("empty") << "empty.flv";
    QTest::newRow("truncated") << "truncated.flv";
    QTest::newRow("text") << "text.flv";
}

void PlaybackTest::badFileFailsAndLeavesPlayerIdle()
{
    QFETCH(QString, clip);
    QWidget screen;
    screen.resize(160, 120);
    TFFPlayer player;
    // Something playing first: a failed open still closes it.
    QVERIFY(player.OpenAndPlay(ClipPath("video_only.flv"), &screen));
    PlayerEvents events;
    events.Attach(player);

    QVERIFY(!player.OpenAndPlay(ClipPath(clip), &screen));
    QVERIFY(!player.LastErrMsg().isEmpty());
    QVERIFY(events.opens.empty());
    QCOMPARE(events.states, std::vector<TPlayState>{psStop}); // the earlier file closing
    QVERIFY(player.IsPausedOrIdle());
    QCOMPARE(player.CurrentPosition(), int64_t(-1));
    QVERIFY(player.CurrentPicture().Empty());
    QVERIFY(screen.findChildren<QWidget*>().isEmpty());

    // Operations on the idle player do nothing and raise nothing.
    player.PausePlayback();
    player.ResumePlayback();
    player.SeekTo(0, true, 1000000);
    QTest::qWait(150);
    QCOMPARE(events.states.size(), size_t(1));
    QVERIFY(events.positions.empty());
}

QTEST_MAIN(PlaybackTest)
#include "PlaybackTest.moc"

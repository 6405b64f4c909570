// OnHook: called on the decoding thread per picture; what it draws is what is
// shown (in CurrentPicture and on the widget); a throwing handler is logged and
// its picture shown as decoded; detaching stops the calls.
#include "PlayerTestUtil.h"
#include "support/TestSupport.h"

#include <QImage>
#include <QTest>
#include <QThread>
#include <QWidget>

#include <atomic>
#include <mutex>
#include <stdexcept>

namespace {

constexpr uint32_t kRed = 0x000000FF; // 0x00BBGGRR
constexpr int kFrames = 75;           // 3 s at 25 fps

struct HookLog {
    std::mutex mutex;
    std::vector<int64_t> pts;
    std::vector<QSize> sizes;
    bool offGuiThread = true;
    int Count()
    {
        std::lock_guard lock(mutex);
        return int(pts.size());
    }
};

std::mutex gMessagesMutex;
QStringList gMessages;

void CaptureMessage(QtMsgType, const QMessageLogContext&, const QString& message)
{
    std::lock_guard lock(gMessagesMutex);
    gMessages << message;
}

bool IsRed(uint32_t c) { return (c & 0xFF) > 200 && ((c >> 8) & 0xFF) < 60 && ((c >> 16) & 0xFF) < 60; }

} // namespace

class HookTest : public QObject {
    Q_OBJECT
private slots:
    void hookDrawingIsShown();
    void throwingHookIsLoggedAndPictureShownAsDecoded();
    void hookOffAndDetached();
};

void HookTest::hookDrawingIsShown()
{
    QWidget screen;
    screen.resize(200, 150);
    screen.show();
    TFFPlayer player;
    PlayerEvents events;
    events.screenWidth = 160; // the picture is scaled to this, centred in the widget
    events.screenHeight = 120;
    events.Attach(player);
    HookLog log;
    QThread* gui = QThread::currentThread();
    player.SetOnHook([&](Bitmap24& bitmap, int64_t pts) {
        std::lock_guard lock(log.mutex);
        log.pts.push_back(pts);
        log.sizes.push_back(QSize(bitmap.Width(), bitmap.Height()));
        if (QThread::currentThread() == gui) log.offGuiThread = false;
        bitmap.FillRect(10, 10, 40, 30, kRed);
    });
    player.SetHook(true);
    QVERIFY(player.OpenAndPlay(ClipPath("video_only.flv"), &screen));

    // The first picture, already current, carries the drawing.
    Bitmap24 picture = player.CurrentPicture();
    QVERIFY(IsRed(picture.Pixel(10, 10)) && IsRed(picture.Pixel(49, 39)));
    // Outside the rectangle it is the frame as ffmpeg decodes it.
    const QByteArray first = OracleFrame(ClipPath("video_only.flv"), 0, 320, 240);
    QCOMPARE(first.size(), 320 * 240 * 3);
    for (QPoint p : {QPoint(50, 40), QPoint(200, 200), QPoint(300, 20)}) {
        const auto* ref = reinterpret_cast<const uint8_t*>(first.constData()) + (p.y() * 320 + p.x()) * 3;
        const uint32_t c = picture.Pixel(p.x(), p.y());
        QVERIFY(std::abs(int(c >> 16 & 0xFF) - ref[0]) < 30 && std::abs(int(c >> 8 & 0xFF) - ref[1]) < 30 &&
                std::abs(int(c & 0xFF) - ref[2]) < 30);
    }

    QTRY_VERIFY_WITH_TIMEOUT(events.Count(psEnd) == 1, 10000);
    picture = player.CurrentPicture();
    QVERIFY(IsRed(picture.Pixel(20, 20)));

    // Painted at the handed-back size: 160 x 120 centred in 200 x 150, so the
    // rectangle appears halved at (20 + 5, 15 + 5) .. (20 + 25, 15 + 20).
    const QImage shown = screen.grab().toImage();
    QCOMPARE(shown.size(), QSize(200, 150));
    const QColor inside = shown.pixelColor(32, 25);
    QVERIFY2(inside.red() > 200 && inside.green() < 60 && inside.blue() < 60, qPrintable(inside.name()));
    const QColor beside = shown.pixelColor(60, 60);
    QVERIFY(!(beside.red() > 200 && beside.green() < 60 && beside.blue() < 60));

    std::lock_guard lock(log.mutex);
    QVERIFY(log.offGuiThread);
    // About once per picture: none twice, few (if any) skipped on a busy machine.
    QVERIFY2(log.pts.size() >= kFrames / 2 && log.pts.size() <= kFrames, qPrintable(QString::number(log.pts.size())));
    QCOMPARE(log.pts.front(), int64_t(0));
    QVERIFY(std::adjacent_find(log.pts.begin(), log.pts.end(), std::greater_equal<int64_t>()) == log.pts.end());
    QVERIFY(log.pts.back() <= 3000000);
    for (const QSize& size : log.sizes) QCOMPARE(size, QSize(320, 240));
}

void HookTest::throwingHookIsLoggedAndPictureShownAsDecoded()
{
    QTemporaryDir dir;
    // Still pictures of one colour: the frame as decoded is easy to know.
    const QString clip = MakeClip(dir, "green.flv",
                                  {"-f", "lavfi", "-i", "color=c=0x00ff00:size=64x48:rate=25:duration=1", "-c:v",
                                   "flv1", "-q:v", "2"});
    QVERIFY(!clip.isEmpty());
    {
        std::lock_guard lock(gMessagesMutex);
        gMessages.clear();
    }
    const QtMessageHandler previous = qInstallMessageHandler(CaptureMessage);
    TFFPlayer player;
    PlayerEvents events;
    events.Attach(player);
    std::atomic<int> calls{0};
    player.SetOnHook([&](Bitmap24& bitmap, int64_t) {
        ++calls;
        bitmap.FillRect(0, 0, 64, 48, kRed);
        throw std::runtime_error("boom");
    });
    player.SetHook(true);
    const bool opened = player.OpenAndPlay(clip, nullptr);
    const bool ended = QTest::qWaitFor([&] { return events.Count(psEnd) == 1; }, 10000);
    const Bitmap24 picture = player.CurrentPicture();
    player.ClosePlayback(true);
    qInstallMessageHandler(previous);

    QVERIFY(opened);
    QVERIFY(ended); // playback went on to the end
    QVERIFY(calls >= 10);
    QVERIFY(!picture.Empty());
    const uint32_t c = picture.Pixel(32, 24);
    QVERIFY2((c & 0xFF) < 40 && ((c >> 8) & 0xFF) > 200 && ((c >> 16) & 0xFF) < 40, qPrintable(QString::number(c, 16)));
    std::lock_guard lock(gMessagesMutex);
    QCOMPARE(int(gMessages.count(QStringLiteral("Error occurs OnHook: boom"))), calls.load());
}

void HookTest::hookOffAndDetached()
{
    TFFPlayer player;
    PlayerEvents events;
    events.Attach(player);
    std::atomic<int> calls{0};
    player.SetOnHook([&](Bitmap24&, int64_t) { ++calls; });
    QVERIFY(player.OpenAndPlay(ClipPath("flv1_mp3.flv"), nullptr));
    QTRY_VERIFY_WITH_TIMEOUT(events.LastPosition() >= 400000, 5000);
    QCOMPARE(calls.load(), 0); // Hook is off by default

    player.SetHook(true);
    QTRY_VERIFY_WITH_TIMEOUT(calls >= 3, 5000);
    player.SetOnHook(nullptr);
    const int atDetach = calls;
    const int64_t position = events.LastPosition();
    QTRY_VERIFY_WITH_TIMEOUT(events.LastPosition() >= position + 300000, 5000);
    QCOMPARE(calls.load(), atDetach);
}

QTEST_MAIN(HookTest)
#include "HookTest.moc"

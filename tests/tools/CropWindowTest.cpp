// The crop window on generated clips: the 640 x 480 example, the boxes'
// rules, tracker drags, reopening, files it cannot use, and a conversion of
// the cropped picture checked pixel by pixel against ffmpeg's decoding.
#include "ToolsTestUtil.h"

#include "shell/SourceFileList.h"
#include "shell/TfrmMain.h"
#include "shell/TlvFilesRecord.h"
#include "support/TestEnvironment.h"
#include "support/TestSupport.h"
#include "tools/MainWindowTrimCrop.h"
#include "tools/PositionBar.h"
#include "tools/RectTracker.h"
#include "tools/TfrmCrop.h"

#include <QAction>
#include <QMenu>
#include <QJsonArray>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QToolButton>
#include <QTreeWidget>
#include <QtTest>

#include <memory>

namespace {

struct CropFixture {
    explicit CropFixture(const QString& path, const QString& zoomMode = QStringLiteral("lbox"))
    {
        auto record = std::make_unique<TlvFilesRecord>();
        record->SourceFile = path;
        record->ZoomMode = zoomMode;
        files.AppendRow(std::move(record));
        files.SelectRow(0);
    }
    TlvFilesRecord& Record() { return *files.Record(0); }

    QTreeWidget view;
    SourceFileList files{&view};
};

CropMargins StoredMargins(const TlvFilesRecord& r) { return {r.MarginUp, r.MarginLeft, r.MarginDown, r.MarginRight}; }
SourceCrop StoredCrop(const TlvFilesRecord& r) { return {r.CropTop, r.CropBottom, r.CropLeft, r.CropRight}; }

// The boxes are stepped with their arrows, one step at a time.
void StepTo(QSpinBox* box, int value)
{
    while (box->value() < value) box->stepUp();
    while (box->value() > value) box->stepDown();
}

} // namespace

class CropWindowTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(folder.isValid());
        // Luma rises 5 a column and 3 a row, so every cut edge is recognisable.
        clip = MakeLavfiClip(folder.path(), QStringLiteral("pattern_640x480.flv"),
                             QStringLiteral("testsrc2=size=640x480:rate=20:duration=4,geq=lum='mod(X*5+Y*3+N*7\\,256)':cb=128:cr=128"),
                             {"-c:v", "flv1", "-q:v", "2"});
        QVERIFY(!clip.isEmpty());
    }

    void example640x480StoresEvenSourceMargins()
    {
        CropFixture list(clip);
        TfrmCrop window(nullptr, list.files);
        window.show();
        QCOMPARE(window.size(), QSize(615, 435));
        QCOMPARE(window.SourceWidth, 640);
        QCOMPARE(window.SourceHeight, 480);
        QCOMPARE(window.PreviewRectangle(), QRect(17, 1, 336, 251));
        QVERIFY(window.RectTracker->isVisible());
        QCOMPARE(window.RectTracker->geometry(), QRect(17, 1, 336, 251));
        QCOMPARE(window.lblSourceName->text(), clip.size() <= 50 ? clip : clip.left(44) + "...flv  ");
        QCOMPARE(window.lblLength->text(), QStringLiteral("4.000 Second"));
        QVERIFY(!window.imgbtnPlay->isEnabled());
        QVERIFY(window.imgbtnpause->isEnabled());

        StepTo(window.spedUp, 10);
        StepTo(window.spedDown, 20);
        StepTo(window.spedLeft, 30);
        StepTo(window.spedRight, 40);
        QCOMPARE(window.RectTracker->geometry(), QRect(47, 11, 266, 221));
        window.btnOk->click();
        QVERIFY(!window.isVisible());
        QCOMPARE(StoredMargins(list.Record()), (CropMargins{10, 30, 20, 40}));
        QCOMPARE(StoredCrop(list.Record()), (SourceCrop{18, 38, 56, 76}));
        QCOMPARE(list.Record().ZoomMode, QStringLiteral("lbox"));

        // A new window on the same row puts the rectangle back.
        TfrmCrop again(nullptr, list.files);
        again.show();
        QCOMPARE(again.RectTracker->geometry(), QRect(47, 11, 266, 221));
        QCOMPARE(again.Boxes(), (CropMargins{10, 30, 20, 40}));
        again.btnCancel->click();
    }

    void upStopsAtTheSmallestHeightAndDownStillWorks()
    {
        CropFixture list(clip);
        TfrmCrop window(nullptr, list.files);
        window.show();
        StepTo(window.spedDown, 121);
        StepTo(window.spedUp, 120);
        QCOMPARE(window.RectTracker->height(), 10);
        window.spedUp->stepUp();
        QCOMPARE(window.spedUp->value(), 120);
        QCOMPARE(window.RectTracker->geometry(), QRect(17, 121, 336, 10));
        window.spedDown->stepUp();
        QCOMPARE(window.spedDown->value(), 121);
        window.spedUp->stepDown();
        QCOMPARE(window.spedUp->value(), 119);
        QCOMPARE(window.RectTracker->geometry(), QRect(17, 120, 336, 11));
        // A page step would overshoot; the rectangle still keeps its minimum.
        window.spedLeft->stepBy(400);
        QCOMPARE(window.RectTracker->width(), 10);
        QCOMPARE(window.spedLeft->value(), 336 - 10);
        window.btnCancel->click();
    }

    void resetThenOkStoresZerosAndEmptyZoomComesBackFull()
    {
        CropFixture list(clip, QString());
        TlvFilesRecord& r = list.Record();
        r.MarginUp = 10, r.MarginLeft = 30, r.MarginDown = 20, r.MarginRight = 40;
        r.CropTop = 18, r.CropBottom = 38, r.CropLeft = 56, r.CropRight = 76;
        TfrmCrop window(nullptr, list.files);
        window.show();
        QCOMPARE(window.lstZoom->currentRow(), 0);
        window.btnReset->click();
        QCOMPARE(window.RectTracker->geometry(), window.PreviewRectangle());
        window.btnOk->click();
        QCOMPARE(StoredMargins(r), CropMargins{});
        QCOMPARE(StoredCrop(r), SourceCrop{});
        QCOMPARE(r.ZoomMode, QStringLiteral("full"));
    }

    void zoomModesTheListDoesNotKnowAreKept()
    {
        const std::pair<QString, QString> cases[] = {{"full", "full"}, {"lbox", "lbox"}, {"orig", "orig"},
                                                     {"cent", "cent"}, {"pan", "full"}};
        for (const auto& [before, after] : cases) {
            CropFixture list(clip, before);
            TfrmCrop window(nullptr, list.files);
            window.show();
            window.btnDefault->click();
            window.btnOk->click();
            QCOMPARE(list.Record().ZoomMode, after);
        }
    }

    void draggingTheTrackerUpdatesTheBoxes()
    {
        CropFixture list(clip);
        TfrmCrop window(nullptr, list.files);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        StepTo(window.spedUp, 10);
        StepTo(window.spedDown, 20);
        StepTo(window.spedLeft, 30);
        StepTo(window.spedRight, 40);
        TRectTracker* tracker = window.RectTracker;

        auto drag = [&](QPoint at, QPoint by) {
            QTest::mousePress(tracker, Qt::LeftButton, {}, at);
            const QPoint onParent = tracker->pos() + at + by;
            QTest::mouseMove(tracker, onParent - tracker->pos());
            QTest::mouseRelease(tracker, Qt::LeftButton, {}, onParent - tracker->pos());
        };
        // The right edge in by 16.
        drag(QPoint(tracker->width() - 3, tracker->height() / 2), QPoint(-16, 0));
        QCOMPARE(window.Boxes(), (CropMargins{10, 30, 20, 56}));
        // The whole rectangle down by 5 and left by 8.
        drag(QPoint(60, 60), QPoint(-8, 5));
        QCOMPARE(window.Boxes(), (CropMargins{15, 22, 15, 64}));
        // Pushed far past the top: the top stops at the preview's top.
        drag(QPoint(60, 60), QPoint(0, -60));
        QCOMPARE(window.Boxes(), (CropMargins{0, 22, 30, 64}));
        // Pushed past the left edge: it returns to the last left value.
        drag(QPoint(60, 60), QPoint(-40, 0));
        QCOMPARE(window.Boxes(), (CropMargins{0, 22, 30, 64}));
        // The left edge dragged past the preview does not move the right edge.
        drag(QPoint(1, tracker->height() / 2), QPoint(-40, 0));
        QCOMPARE(window.Boxes(), (CropMargins{0, 22, 30, 64}));
        // Pushed past the bottom right corner: it ends inside the preview again.
        drag(QPoint(60, 60), QPoint(200, 200));
        QVERIFY(window.PreviewRectangle().contains(tracker->geometry()));
        QCOMPARE(tracker->x(), 39); // back at the press's left
        const CropMargins last = window.Boxes();
        QVERIFY(last.Up >= 0 && last.Left >= 0 && last.Down >= 0 && last.Right >= 0);
        window.btnOk->click();
        QCOMPARE(StoredMargins(list.Record()), last);
    }

    void filesWithoutPicturesStoreZeros()
    {
        const QString cases[] = {ClipPath(QStringLiteral("audio_only.flv")), ClipPath(QStringLiteral("text.flv"))};
        for (const QString& path : cases) {
            CropFixture list(path);
            list.Record().MarginUp = 7;
            list.Record().CropTop = 12;
            TfrmCrop window(nullptr, list.files);
            window.show();
            QVERIFY(!window.RectTracker->isVisible());
            QVERIFY(!window.spedUp->isEnabled());
            QCOMPARE(window.Boxes(), CropMargins{});
            window.btnOk->click();
            QCOMPARE(StoredMargins(list.Record()), CropMargins{});
            QCOMPARE(StoredCrop(list.Record()), SourceCrop{});
        }
        CropFixture broken(ClipPath(QStringLiteral("text.flv")));
        TfrmCrop window(nullptr, broken.files);
        window.show();
        QVERIFY(!window.imgbtnPlay->isEnabled());
        QVERIFY(!window.imgbtnpause->isEnabled());
        window.btnCancel->click();
    }

    void hookedPicturesFillThePreviewAndPauseFreezesThem()
    {
        CropFixture list(clip);
        TfrmCrop window(nullptr, list.files);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QColor ground(166, 202, 240);
        // Bars beside the fitted picture keep the ground colour.
        QTRY_VERIFY(QColor(window.imgPreview->Canvas().pixel(185, 126)) != ground);
        QCOMPARE(QColor(window.imgPreview->Canvas().pixel(5, 126)), ground);
        QCOMPARE(QColor(window.imgPreview->Canvas().pixel(365, 126)), ground);
        window.imgbtnpause->click();
        QVERIFY(window.PreviewPaused());
        QTest::qWait(250);
        const QImage paused = window.imgPreview->Canvas().copy();
        QTest::qWait(400);
        QCOMPARE(window.imgPreview->Canvas(), paused);
        window.imgbtnPlay->click();
        QVERIFY(!window.PreviewPaused());
        QTRY_VERIFY(window.imgPreview->Canvas() != paused);

        const QString shot = qEnvironmentVariable("VARNEL_SCREENSHOT_DIR");
        StepTo(window.spedUp, 20);
        StepTo(window.spedLeft, 40);
        StepTo(window.spedRight, 30);
        StepTo(window.spedDown, 25);
        QTest::qWait(300);
        if (!shot.isEmpty()) window.grab().save(shot + QStringLiteral("/crop.png"));
        window.btnCancel->click();
        QCOMPARE(window.Timer->isActive(), false);
    }

    void theBarSeeksWhenReleased()
    {
        CropFixture list(clip);
        TfrmCrop window(nullptr, list.files);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.imgbtnpause->click();
        TPositionBar* bar = window.trcPreview;
        QCOMPARE(bar->maximum(), 376);
        const QPoint at(bar->width() * 3 / 4, bar->height() / 2);
        QTest::mousePress(bar, Qt::LeftButton, {}, at);
        QTest::mouseRelease(bar, Qt::LeftButton, {}, at);
        const int64_t target = int64_t(double(bar->value()) / 376 * 4000000);
        QTRY_VERIFY_WITH_TIMEOUT(std::abs(window.FFPlayer->CurrentPosition() - target) <= 50000, 5000);
        window.btnCancel->click();
    }

    void mainWindowEntriesMakeANewWindowEachTime()
    {
        TestEnvironment env;
        TfrmMain main;
        auto* tools = new MainWindowTrimCrop(main);
        auto record = std::make_unique<TlvFilesRecord>();
        record->SourceFile = clip;
        main.Files().AppendRow(std::move(record));
        main.Files().SelectRow(0);
        QPointer<TfrmCrop> previous;
        // The entries are enabled when their menus open on a list with a selected row.
        emit main.mnuEdit->aboutToShow();
        main.PopupFileMenu(QPoint(0, 0));
        main.popFiles->close();
        for (QAction* action : {main.actCrop, main.popCrop}) {
            bool seen = false;
            QTimer::singleShot(0, [&] {
                TfrmCrop* window = tools->CropWindow();
                seen = window && window->isVisible() && window->isModal() && window->SourceWidth == 640;
                if (window) window->btnOk->click();
            });
            action->trigger();
            QVERIFY(seen);
            QVERIFY(previous.isNull());
            previous = tools->CropWindow();
        }
    }

    void croppedConversionKeepsExactlyTheChosenSourcePixels()
    {
        CropFixture list(clip);
        TfrmCrop window(nullptr, list.files);
        window.show();
        StepTo(window.spedUp, 10);
        StepTo(window.spedDown, 20);
        StepTo(window.spedLeft, 30);
        StepTo(window.spedRight, 40);
        window.btnOk->click();
        const SourceCrop crop = StoredCrop(list.Record());
        QCOMPARE(crop, (SourceCrop{18, 38, 56, 76}));
        const int w = 640 - crop.Left - crop.Right, h = 480 - crop.Top - crop.Bottom;

        TestEnvironment env;
        const QString output = ConvertWithAvi(env, list.Record(),
                                              {{"paraVideoEncoder", "huffyuv"},
                                               {"paraVideoSize", QString("%1x%2").arg(w).arg(h)},
                                               {"paraFrameRate", "20"},
                                               {"parazoom", "full"},
                                               {"paraAudioEncoder", ""}});
        QVERIFY(!output.isEmpty());
        const QJsonObject stream = FfprobeJson(output)["streams"].toArray().at(0).toObject();
        QCOMPARE(stream["width"].toInt(), w);
        QCOMPARE(stream["height"].toInt(), h);

        const QByteArray source = LumaFrame(clip, 10, 640, 480);
        const QByteArray converted = LumaFrame(output, 10, w, h);
        QVERIFY(!source.isEmpty() && !converted.isEmpty());
        QCOMPARE(MeanDifference(converted, LumaRect(source, 640, crop.Left, crop.Top, w, h)), 0.0);
        // Each cut edge: the outermost kept rows and columns are the source's,
        // and one of them two pixels off would not be.
        struct Edge {
            const char* name;
            QRect inOutput;
        } edges[] = {{"left", QRect(0, 0, 1, h)},
                     {"right", QRect(w - 1, 0, 1, h)},
                     {"top", QRect(0, 0, w, 1)},
                     {"bottom", QRect(0, h - 1, w, 1)}};
        for (const Edge& edge : edges) {
            const QRect r = edge.inOutput;
            const QByteArray kept = LumaRect(converted, w, r.x(), r.y(), r.width(), r.height());
            const QByteArray exact = LumaRect(source, 640, crop.Left + r.x(), crop.Top + r.y(), r.width(), r.height());
            QVERIFY2(MeanDifference(kept, exact) == 0.0, edge.name);
            const bool across = r.width() == 1;
            const QByteArray shifted = LumaRect(source, 640, crop.Left + r.x() + (across ? 2 : 0),
                                                crop.Top + r.y() + (across ? 0 : 2), r.width(), r.height());
            QVERIFY2(MeanDifference(kept, shifted) > 3, edge.name);
        }
    }

private:
    QTemporaryDir folder;
    QString clip;
};

QTEST_MAIN(CropWindowTest)
#include "CropWindowTest.moc"

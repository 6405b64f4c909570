// The trim window on a generated clip whose frames all differ, and a
// conversion of the trimmed range checked against ffmpeg's own decoding.
#include "ToolsTestUtil.h"

#include "shell/SourceFileList.h"
#include "shell/TextHelpers.h"
#include "shell/TfrmMain.h"
#include "shell/TlvFilesRecord.h"
#include "support/TestEnvironment.h"
#include "support/TestSupport.h"
#include "tools/MainWindowTrimCrop.h"
#include "tools/PositionBar.h"
#include "tools/TfrmTrim.h"
#include "tools/TrimRange.h"

#include <QAction>
#include <QMenu>
#include <QJsonArray>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QTreeWidget>
#include <QtTest>

#include <memory>

namespace {

constexpr int64_t kSecond = 1000000;

// One list row for a file, selected.
struct TrimFixture {
    explicit TrimFixture(const QString& path)
    {
        auto record = std::make_unique<TlvFilesRecord>();
        record->SourceFile = path;
        record->DurationSeconds = 60;
        files.AppendRow(std::move(record));
        files.SetText(0, SourceFileList::kTrimmedLength, QStringLiteral("60"));
        files.SelectRow(0);
    }
    TlvFilesRecord& Record() { return *files.Record(0); }
    QString TrimmedText() { return files.Text(0, SourceFileList::kTrimmedLength); }

    QTreeWidget view;
    SourceFileList files{&view};
};

// Stops playback at a position and waits until that picture is on screen.
void PauseAt(TfrmTrim& window, int64_t position)
{
    window.imgbtnpause->click();
    window.FFPlayer->SeekTo(0, true, position);
}

} // namespace

class TrimWindowTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(folder.isValid());
        // 60 s at 20 frames a second (every time in whole milliseconds), key
        // frames every 15 s, so 10 s is far from the key frame before it.
        clip = MakeLavfiClip(folder.path(), QStringLiteral("a_source_clip_with_a_name_long_enough_for_captions.flv"),
                             QStringLiteral("testsrc2=size=320x240:rate=20:duration=60"),
                             {"-c:v", "flv1", "-q:v", "2", "-g", "300"});
        QVERIFY(!clip.isEmpty());
    }

    void setStartAndEndStoreTheRangeAndShowWholeSeconds()
    {
        TrimFixture list(clip);
        TfrmTrim window(nullptr, list.files);
        window.show();
        QVERIFY(window.FileDuration() >= 60 * kSecond - 50000);
        QCOMPARE(window.size(), QSize(598, 460));
        QCOMPARE(window.windowTitle(), "Trim   " + clip.left(50) + "...flv  ");
        QCOMPARE(window.lblLength->text(), "Duration:    " + FormatTimestamp(window.FileDuration()));
        QVERIFY(window.trcPreview->ThumbVisible());
        QCOMPARE(window.trcPreview->maximum(), 568);
        QVERIFY(!window.imgbtnPlay->isEnabled());
        QVERIFY(window.imgbtnpause->isEnabled());
        // A fresh row ranges over the whole file.
        QCOMPARE(window.RangeStart(), 0);
        QCOMPARE(window.RangeEnd(), window.FileDuration());

        PauseAt(window, 10 * kSecond);
        QCOMPARE(window.FFPlayer->CurrentPosition(), 10 * kSecond);
        window.btnSetStart->click();
        QCOMPARE(window.edtStart->text(), QStringLiteral("00:00:10.000"));
        PauseAt(window, 25500000);
        window.btnSetEnd->click();
        QCOMPARE(window.edtTrimLength->text(), QStringLiteral("00:00:25.500"));
        window.btnOk->click();
        QVERIFY(!window.isVisible());
        QCOMPARE(list.Record().TrimStart, 10 * kSecond);
        QCOMPARE(list.Record().TrimLength, 15500000);
        QCOMPARE(list.TrimmedText(), QStringLiteral("15"));

        // Shown again, the window starts from the stored range.
        window.show();
        QCOMPARE(window.RangeStart(), 10 * kSecond);
        QCOMPARE(window.RangeEnd(), 25500000);
        QCOMPARE(window.edtStart->text(), QStringLiteral("00:00:10.000"));
        QCOMPARE(window.edtTrimLength->text(), QStringLiteral("00:00:25.500"));
        QCOMPARE(window.trcPreview->SelStart(), BarPositionOf(10 * kSecond, window.FileDuration(), 568));
        QCOMPARE(window.trcPreview->SelEnd(), BarPositionOf(25500000, window.FileDuration(), 568));
        // Cancel keeps what was stored, whatever was marked meanwhile.
        PauseAt(window, 2 * kSecond);
        window.btnSetStart->click();
        window.btnCancel->click();
        QCOMPARE(list.Record().TrimStart, 10 * kSecond);
        QCOMPARE(list.Record().TrimLength, 15500000);
    }

    void resetThenOkStoresTheWholeFile()
    {
        TrimFixture list(clip);
        list.Record().TrimStart = 10 * kSecond;
        list.Record().TrimLength = 15500000;
        TfrmTrim window(nullptr, list.files);
        window.show();
        window.btnDefault->click();
        QCOMPARE(window.edtStart->text(), QStringLiteral("00:00:00"));
        QCOMPARE(window.trcPreview->SelEnd(), 568);
        window.btnOk->click();
        QCOMPARE(list.Record().TrimStart, 0);
        QCOMPARE(list.Record().TrimLength, 0);
        QCOMPARE(list.TrimmedText(), QString::number(window.FileDuration() / kSecond));
    }

    void endBeforeStartKeepsTheStartAndConvertsToTheEnd()
    {
        TrimFixture list(clip);
        TfrmTrim window(nullptr, list.files);
        window.show();
        PauseAt(window, 20 * kSecond);
        window.btnSetStart->click();
        PauseAt(window, 5 * kSecond);
        window.btnSetEnd->click();
        window.btnOk->click();
        QCOMPARE(list.Record().TrimStart, 20 * kSecond);
        QCOMPARE(list.Record().TrimLength, 0);
        QCOMPARE(list.TrimmedText(), QString::number(window.FileDuration() / kSecond));
    }

    void theEndOfTheFileRewindsAndKeepsTheRange()
    {
        TrimFixture list(clip);
        TfrmTrim window(nullptr, list.files);
        window.show();
        PauseAt(window, 3 * kSecond);
        window.btnSetStart->click();
        PauseAt(window, window.FileDuration() - 400000);
        window.btnSetEnd->click();
        const int64_t end = window.RangeEnd();
        QVERIFY(window.trcPreview->SelEnd() > 0);
        window.imgbtnPlayClick();
        QTRY_VERIFY_WITH_TIMEOUT(!window.trcPreview->isEnabled(), 10000);
        QVERIFY(window.imgbtnPlay->isEnabled());
        QVERIFY(!window.imgbtnpause->isEnabled());
        QCOMPARE(window.trcPreview->value(), 0);
        QCOMPARE(window.trcPreview->SelStart(), 0);
        QCOMPARE(window.trcPreview->SelEnd(), 0);
        // The rewind's own position report may already have replaced the text.
        QVERIFY2(window.lblPTS->text() == QStringLiteral("00:00:00") ||
                     window.lblPTS->text() == QStringLiteral("Time:    00:00:00.000"),
                 qPrintable(window.lblPTS->text()));
        QCOMPARE(window.lblLength->text(), QStringLiteral("00:00:00"));
        QTRY_VERIFY_WITH_TIMEOUT(window.FFPlayer->IsPausedOrIdle(), 5000);
        QCOMPARE(window.RangeStart(), 3 * kSecond);
        QCOMPARE(window.RangeEnd(), end);
        // Play starts again from the beginning with the bar back.
        window.imgbtnPlay->click();
        QVERIFY(window.trcPreview->isEnabled());
        QTRY_VERIFY_WITH_TIMEOUT(window.FFPlayer->CurrentPosition() >= 0 &&
                                     window.FFPlayer->CurrentPosition() < 2 * kSecond,
                                 5000);
        window.btnOk->click();
        QCOMPARE(list.Record().TrimStart, 3 * kSecond);
        QCOMPARE(list.Record().TrimLength, end - 3 * kSecond);
    }

    void thePositionBarSeeksWhenReleasedAndIgnoresPlaybackMeanwhile()
    {
        TrimFixture list(clip);
        TfrmTrim window(nullptr, list.files);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.imgbtnpause->click();
        TPositionBar* bar = window.trcPreview;
        const QPoint middle(bar->width() / 2, bar->height() / 2);
        QTest::mousePress(bar, Qt::LeftButton, {}, middle);
        QVERIFY(window.SeekPending());
        const int thumb = bar->value();
        QVERIFY(thumb > 250 && thumb < 320);
        window.FFPlayerPosition(1 * kSecond);
        QCOMPARE(bar->value(), thumb); // playback does not pull the thumb while the button is down
        QCOMPARE(window.lblPTS->text(), QStringLiteral("Time:    00:00:01.000"));
        QTest::mouseRelease(bar, Qt::LeftButton, {}, middle);
        QVERIFY(window.SeekPending());
        QTRY_VERIFY_WITH_TIMEOUT(!window.SeekPending(), 2000);
        const int64_t target = PositionOfBar(thumb, 568, window.FileDuration());
        QTRY_VERIFY_WITH_TIMEOUT(std::abs(window.FFPlayer->CurrentPosition() - target) <= 50000, 5000);
        // Keys move the thumb without seeking.
        const int64_t before = window.FFPlayer->CurrentPosition();
        QTest::keyClick(bar, Qt::Key_Right);
        QCOMPARE(bar->value(), thumb + 1);
        QTest::qWait(200);
        QCOMPARE(window.FFPlayer->CurrentPosition(), before);
        window.btnCancel->click();
    }

    void aFileThatCannotBeOpenedStoresNothingButZeros()
    {
        TrimFixture list(ClipPath(QStringLiteral("text.flv")));
        list.Record().TrimStart = 4 * kSecond;
        list.Record().TrimLength = 2 * kSecond;
        list.files.SetText(0, SourceFileList::kTrimmedLength, QStringLiteral("2"));
        TfrmTrim window(nullptr, list.files);
        window.show();
        QCOMPARE(window.FileDuration(), 0);
        QCOMPARE(window.windowTitle(), QStringLiteral("Trim"));
        QVERIFY(!window.imgbtnPlay->isEnabled());
        QVERIFY(!window.trcPreview->ThumbVisible());
        window.btnSetStart->click(); // nothing is shown: no position to take
        QCOMPARE(window.RangeStart(), 0);
        window.btnOk->click();
        QCOMPARE(list.Record().TrimStart, 0);
        QCOMPARE(list.Record().TrimLength, 0);
        QCOMPARE(list.TrimmedText(), QStringLiteral("2"));
    }

    void noSelectionTakesTheFirstRow()
    {
        TrimFixture list(clip);
        list.view.clearSelection();
        list.view.setCurrentItem(nullptr);
        QCOMPARE(list.files.SelectedRow(), -1);
        TfrmTrim window(nullptr, list.files);
        window.show();
        QCOMPARE(list.files.SelectedRow(), 0);
        QCOMPARE(window.Row(), 0);
        QVERIFY(window.FileDuration() > 0);
        window.btnCancel->click();
    }

    void trimmedConversionStartsAtTheChosenFrameAndLastsTheRange()
    {
        TestEnvironment env;
        TlvFilesRecord record;
        record.SourceFile = clip;
        record.TrimStart = 10 * kSecond;
        record.TrimLength = 15500000;
        const QString output = ConvertWithAvi(env, record,
                                              {{"paraVideoEncoder", "huffyuv"},
                                               {"paraVideoSize", "320x240"},
                                               {"paraFrameRate", "20"},
                                               {"parazoom", "full"},
                                               {"paraAudioEncoder", ""}});
        QVERIFY(!output.isEmpty());
        const QJsonObject probe = FfprobeJson(output);
        const double duration = probe["format"].toObject()["duration"].toString().toDouble();
        QVERIFY2(std::abs(duration - 15.5) <= 0.05 + 1e-6, qPrintable(QString::number(duration)));
        int code = -1;
        const int frames = RunProgram("ffprobe", {"-v", "error", "-count_frames", "-select_streams", "v:0",
                                                  "-show_entries", "stream=nb_read_frames", "-of", "csv=p=0", output},
                                      &code)
                               .trimmed()
                               .toInt();
        QVERIFY2(std::abs(frames - 310) <= 1, qPrintable(QString::number(frames)));

        // Frame 200 of the source is the one at 10 s.
        const QByteArray first = LumaFrame(output, 0, 320, 240);
        QVERIFY(!first.isEmpty());
        const double atStart = MeanDifference(first, LumaFrame(clip, 200, 320, 240));
        const double before = MeanDifference(first, LumaFrame(clip, 199, 320, 240));
        const double after = MeanDifference(first, LumaFrame(clip, 201, 320, 240));
        const double keyFrame = MeanDifference(first, LumaFrame(clip, 0, 320, 240));
        QVERIFY2(atStart >= 0 && atStart < 0.5, qPrintable(QString::number(atStart)));
        QVERIFY2(before > 2 && after > 2 && keyFrame > 2,
                 qPrintable(QString("%1 %2 %3").arg(before).arg(after).arg(keyFrame)));
        // The last frame is the source's last one before 25.5 s.
        const QByteArray last = LumaFrame(output, frames - 1, 320, 240);
        QVERIFY2(MeanDifference(last, LumaFrame(clip, 200 + frames - 1, 320, 240)) < 0.5, "last frame");
    }

    void mainWindowEntriesOpenTheWindowForTheSelectedRow()
    {
        TestEnvironment env;
        TfrmMain main;
        auto* tools = new MainWindowTrimCrop(main);
        auto record = std::make_unique<TlvFilesRecord>();
        record->SourceFile = clip;
        main.Files().AppendRow(std::move(record));
        main.Files().SelectRow(0);
        // The entries are enabled when their menus open on a list with a selected row.
        emit main.mnuEdit->aboutToShow();
        main.PopupFileMenu(QPoint(0, 0));
        main.popFiles->close();
        for (QAction* action : {main.actTrim, main.popTrim}) {
            bool seen = false;
            QTimer::singleShot(0, [&] {
                TfrmTrim* window = tools->TrimWindow();
                seen = window && window->isVisible() && window->FileDuration() > 0 && window->isModal();
                if (window) window->btnCancel->click();
            });
            action->trigger();
            QVERIFY(seen);
        }
        QPointer<TfrmTrim> first = tools->TrimWindow();
        QTimer::singleShot(0, [&] { tools->TrimWindow()->btnCancel->click(); });
        main.actTrim->trigger();
        QCOMPARE(tools->TrimWindow(), first.data()); // made once, reused
    }

    void screenshot()
    {
        TrimFixture list(clip);
        TfrmTrim window(nullptr, list.files);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        PauseAt(window, 12 * kSecond);
        window.btnSetStart->click();
        PauseAt(window, 30 * kSecond);
        window.btnSetEnd->click();
        QTest::qWait(300);
        const QString shot = qEnvironmentVariable("VARNEL_SCREENSHOT_DIR");
        if (!shot.isEmpty()) window.grab().save(shot + QStringLiteral("/trim.png"));
        // The picture is painted into the black panel.
        const QImage panel = window.imgPreview->grab().toImage();
        QVERIFY(QColor(panel.pixel(panel.width() / 2, panel.height() / 2)) != QColor(Qt::black));
        window.btnCancel->click();
    }

private:
    QTemporaryDir folder;
    QString clip;
};

QTEST_MAIN(TrimWindowTest)
#include "TrimWindowTest.moc"

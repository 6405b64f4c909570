// The main window's preview: the Play, Pause and Stop states, the end of a
// file, seeking, sound settings, snapshots and everything that stops it.
#include "media/player/TFFPlayer.h"
#include "platform/SystemFolders.h"
#include "platform/Themes.h"
#include "shell/Settings.h"
#include "shell/SourceFileList.h"
#include "shell/TfrmMain.h"
#include "support/TestEnvironment.h"
#include "support/TestSupport.h"
#include "tools/MainWindowPreview.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QSlider>
#include <QTemporaryDir>
#include <QToolButton>
#include <QTreeWidget>
#include <QtTest>

#include <functional>
#include <memory>

Q_DECLARE_METATYPE(std::function<void(TfrmMain&)>)

namespace {

struct Controls {
    bool play, pause, stop, snapshot, bar;
};

Controls Shown(const TfrmMain& window)
{
    return {window.imgbtnPlay->isEnabled(), window.imgbtnPAuse->isEnabled(), window.imgbtnStop->isEnabled(),
            window.imgbtnSnap->isEnabled(), window.trcPreview->isEnabled()};
}

QString Describe(const Controls& c)
{
    return QString("play %1 pause %2 stop %3 snap %4 bar %5")
        .arg(int(c.play))
        .arg(int(c.pause))
        .arg(int(c.stop))
        .arg(int(c.snapshot))
        .arg(int(c.bar));
}

constexpr Controls kStopped{true, false, false, false, false};
constexpr Controls kPlaying{false, true, true, true, true};
constexpr Controls kPaused{true, false, true, true, true};

// A main window with its preview attached the way the program does it.
struct Fixture {
    Fixture()
    {
        preview = new MainWindowPreview(window);
        window.show();
        player = preview->FFPlayer;
    }

    void AddRow(const QString& path)
    {
        auto record = std::make_unique<TlvFilesRecord>();
        record->SourceFile = path;
        record->DurationSeconds = 3;
        window.Files().AppendRow(std::move(record));
    }

    QString Playing() const { return player->IsPausedOrIdle() ? QString() : player->AVProbe()->ProbeFileName(); }

    TfrmMain window;
    MainWindowPreview* preview;
    TFFPlayer* player;
};

// A clip of unknown duration: Matroska written to a pipe cannot go back to
// note its length.
QString MakeClipWithoutDuration(const QTemporaryDir& dir)
{
    const QString path = dir.filePath("streamed.mkv");
    int code = -1;
    const QByteArray bytes =
        RunProgram("ffmpeg", {"-hide_banner", "-loglevel", "error", "-nostdin", "-f", "lavfi", "-i",
                              "testsrc2=size=320x240:rate=25:duration=4", "-c:v", "mpeg4", "-f", "matroska", "pipe:1"},
                   &code);
    QFile file(path);
    if (code != 0 || bytes.isEmpty() || !file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return QString();
    return path;
}

} // namespace

class PreviewTest : public QObject {
    Q_OBJECT

private slots:
    void playPauseStopStates()
    {
        TestEnvironment env;
        Fixture f;
        const QString first = ClipPath("flv1_mp3.flv");
        const QString second = ClipPath("h264_aac.flv");
        f.AddRow(first);
        f.AddRow(second);
        f.window.lvFiles->clearSelection();

        const struct {
            const char* step;
            std::function<void()> action;
            Controls controls;
            QString playing; // the file playing, empty when paused or idle
        } steps[] = {
            {"shown", [] {}, kStopped, ""},
            // No row selected: the first is selected and played.
            {"play", [&] { f.window.imgbtnPlay->click(); }, kPlaying, first},
            {"pause", [&] { f.window.imgbtnPAuse->click(); }, kPaused, ""},
            {"pause again", [&] { f.preview->imgbtnPAuseClick(); }, kPaused, ""},
            // Paused, Play resumes the paused file even with another row selected.
            {"resume", [&] { f.window.Files().SelectRow(1); f.window.imgbtnPlay->click(); }, kPlaying, first},
            // Playing, Play opens the selected row anew.
            {"play other", [&] { f.preview->imgbtnPlayClick(); }, kPlaying, second},
            {"stop", [&] { f.window.imgbtnStop->click(); }, kStopped, ""},
            {"play after stop", [&] { f.window.imgbtnPlay->click(); }, kPlaying, second},
            {"stop from pause", [&] { f.window.imgbtnPAuse->click(); f.window.imgbtnStop->click(); }, kStopped, ""},
        };
        for (const auto& s : steps) {
            s.action();
            QCOMPARE(Describe(Shown(f.window)), Describe(s.controls));
            QVERIFY2(f.Playing() == s.playing, s.step);
        }
        QCOMPARE(f.window.Files().SelectedRow(), 1);

        // After Stop the player is closed and the panel holds no picture.
        QVERIFY(f.player->CurrentPicture().Empty());
        QCOMPARE(f.window.pan1->findChildren<QWidget*>().size(), 0);
        QCOMPARE(f.window.lblTime->text(), QString("00:00:00"));
        QCOMPARE(f.window.lblPTS->text(), QString("00:00:00"));
        QCOMPARE(f.window.trcPreview->value(), 0);

        // A second Stop does nothing at all.
        f.window.lblTime->setText("untouched");
        f.preview->imgbtnStopClick();
        QCOMPARE(f.window.lblTime->text(), QString("untouched"));
        QCOMPARE(Describe(Shown(f.window)), Describe(kStopped));
    }

    void openingShowsDurationAndLogsTheProbe()
    {
        TestEnvironment env;
        Fixture f;
        f.AddRow(ClipPath("h264_aac.flv"));
        f.window.imgbtnPlay->click();
        QCOMPARE(f.window.lblPTS->text(), QString("0:00:03"));
        QCOMPARE(f.window.trcPreview->maximum(), f.window.trcPreview->width());
        QCOMPARE(f.window.trcPreview->maximum(), 213);
        QVERIFY(!f.window.trcPreview->property("thumbHidden").toBool());
        const QString log = f.window.mmoLog->toPlainText();
        QVERIFY2(log.contains("Video: h264"), qPrintable(log));
        QVERIFY2(log.contains(", frame size: 640x360"), qPrintable(log));
        QVERIFY(log.contains("duration: 3.0"));
        // The position runs as hours, minutes, seconds and milliseconds.
        const QRegularExpression running("^00:00:0[0-3]\\.\\d{3}$");
        QTRY_VERIFY2(running.match(f.window.lblTime->text()).hasMatch(), qPrintable(f.window.lblTime->text()));
    }

    void fileWithoutDurationHidesTheThumbAndSeeksToTheStart()
    {
        TestEnvironment env;
        QTemporaryDir dir;
        const QString clip = MakeClipWithoutDuration(dir);
        QVERIFY(!clip.isEmpty());
        Fixture f;
        f.AddRow(ClipPath("flv1_mp3.flv"));
        f.AddRow(clip);
        f.window.Files().SelectRow(1);
        f.window.imgbtnPlay->click();
        QCOMPARE(f.Playing(), clip);
        QCOMPARE(f.window.lblPTS->text(), QString("0:00:00"));
        QVERIFY(f.window.trcPreview->property("thumbHidden").toBool());
        const QImage hidden = f.window.trcPreview->grab().toImage();

        QTRY_VERIFY_WITH_TIMEOUT(f.player->CurrentPosition() > 1'000'000, 5000);
        f.window.trcPreview->setValue(150);
        QTest::mouseRelease(f.window.trcPreview, Qt::LeftButton, {}, QPoint(150, 10));
        QTRY_VERIFY(f.player->CurrentPosition() < 600'000);

        // The next file with a length shows the thumb again, and it can be seen.
        f.window.Files().SelectRow(0);
        f.preview->imgbtnPlayClick();
        QCOMPARE(f.Playing(), ClipPath("flv1_mp3.flv"));
        QVERIFY(!f.window.trcPreview->property("thumbHidden").toBool());
        QVERIFY(f.window.trcPreview->grab().toImage() != hidden);
    }

    void releaseOnTheBarSeeks()
    {
        TestEnvironment env;
        Fixture f;
        f.AddRow(ClipPath("flv1_mp3.flv"));
        f.window.imgbtnPlay->click();
        f.window.imgbtnPAuse->click();
        const int64_t duration = f.preview->PreviewDuration();
        QVERIFY(duration > 2'900'000);

        // Moving the thumb with the keyboard does not seek.
        const int64_t before = f.player->CurrentPosition();
        f.window.trcPreview->setFocus();
        QTest::keyClick(f.window.trcPreview, Qt::Key_End);
        QTest::qWait(300);
        QCOMPARE(f.player->CurrentPosition(), before);

        f.window.trcPreview->setValue(142);
        QTest::mouseRelease(f.window.trcPreview, Qt::LeftButton, {}, QPoint(142, 10));
        const int64_t target = int64_t(142.0 / 213.0 * double(duration));
        QTRY_VERIFY2(std::llabs(f.player->CurrentPosition() - target) <= 40'000,
                     qPrintable(QString::number(f.player->CurrentPosition())));
        // The right button does not seek.
        f.window.trcPreview->setValue(20);
        QTest::mouseRelease(f.window.trcPreview, Qt::RightButton, {}, QPoint(20, 10));
        QTest::qWait(300);
        QVERIFY(std::llabs(f.player->CurrentPosition() - target) <= 40'000);

        // A click beside the thumb puts it under the mouse and seeks there.
        QTest::mouseClick(f.window.trcPreview, Qt::LeftButton, {}, QPoint(53, 10));
        const int value = f.window.trcPreview->value();
        QVERIFY2(value >= 45 && value <= 60, qPrintable(QString::number(value)));
        const int64_t clicked = int64_t(double(value) / 213.0 * double(duration));
        QTRY_VERIFY2(std::llabs(f.player->CurrentPosition() - clicked) <= 40'000,
                     qPrintable(QString::number(f.player->CurrentPosition())));
    }

    void endOfFileRewindsToAPausedStart()
    {
        TestEnvironment env;
        Fixture f;
        const QString clip = ClipPath("flv1_mp3.flv");
        f.AddRow(clip);
        f.window.imgbtnPlay->click();
        f.window.trcPreview->setValue(180);
        QTest::mouseRelease(f.window.trcPreview, Qt::LeftButton, {}, QPoint(180, 10));
        QTRY_VERIFY_WITH_TIMEOUT(f.preview->PreviewStopped(), 8000);

        QCOMPARE(Describe(Shown(f.window)), Describe(kStopped));
        QCOMPARE(f.window.lblTime->text(), QString("00:00:00"));
        QCOMPARE(f.window.lblPTS->text(), QString("00:00:00"));
        QCOMPARE(f.window.trcPreview->value(), 0);
        QVERIFY(!f.preview->PreviewPaused());
        // Still open, paused on its first picture.
        QVERIFY(f.player->IsPausedOrIdle());
        QVERIFY(!f.player->CurrentPicture().Empty());
        QTRY_VERIFY(f.player->CurrentPosition() < 100'000);

        // Play opens the file anew rather than resuming.
        f.window.imgbtnPlay->click();
        QCOMPARE(f.Playing(), clip);
        QCOMPARE(Describe(Shown(f.window)), Describe(kPlaying));
        QTRY_VERIFY_WITH_TIMEOUT(f.preview->PreviewStopped(), 8000);
        // Stopping then takes the first picture off the panel.
        f.window.btnClearClick();
        QVERIFY(f.player->CurrentPicture().Empty());
        QCOMPARE(f.window.pan1->findChildren<QWidget*>().size(), 0);
    }

    void playOnAnEmptyListAddsFirst()
    {
        TestEnvironment env;
        Fixture f;
        // Cancelled: nothing plays, and the wish to play is kept.
        f.window.imgbtnPlay->click();
        QCOMPARE(env.dialogs.calls().size(), size_t(1));
        QCOMPARE(env.dialogs.calls()[0].kind, ScriptedDialogs::Kind::OpenFiles);
        QVERIFY(f.window.PlayAfterAdd);
        QCOMPARE(Describe(Shown(f.window)), Describe(kStopped));

        // The next confirmed add plays the first added row.
        QSignalSpy added(&f.window, &TfrmMain::filesAdded);
        env.dialogs.ScriptFiles({ClipPath("h264_aac.flv"), ClipPath("flv1_mp3.flv")});
        f.window.btnAddClick();
        QVERIFY(added.wait(20000));
        QCOMPARE(f.Playing(), ClipPath("h264_aac.flv"));
        QVERIFY(!f.window.PlayAfterAdd);
        QCOMPARE(Describe(Shown(f.window)), Describe(kPlaying));

        // Nothing usable picked: the list is still empty and the dialog comes again.
        f.window.btnClearClick();
        QCOMPARE(Describe(Shown(f.window)), Describe(kStopped));
        env.dialogs.ClearCalls();
        env.dialogs.ScriptFiles({ClipPath("text.flv")});
        f.window.imgbtnPlay->click();
        QVERIFY(added.wait(20000));
        QCOMPARE(env.dialogs.calls().size(), size_t(2));
        QVERIFY(f.window.PlayAfterAdd);
        QVERIFY(f.window.Files().IsEmpty());

        // The show step forgets the wish.
        f.window.hide();
        f.window.show();
        QVERIFY(!f.window.PlayAfterAdd);
    }

    void doubleClickPlaysTheRow()
    {
        TestEnvironment env;
        Fixture f;
        f.AddRow(ClipPath("flv1_mp3.flv"));
        f.AddRow(ClipPath("video_only.flv"));
        QVERIFY(QTest::qWaitForWindowExposed(&f.window));
        QTreeWidgetItem* item = f.window.lvFiles->topLevelItem(1);
        const QPoint at = f.window.lvFiles->visualItemRect(item).center();
        QTest::mouseClick(f.window.lvFiles->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(f.window.lvFiles->viewport(), Qt::LeftButton, {}, at);
        QCOMPARE(f.Playing(), ClipPath("video_only.flv"));
    }

    void everythingThatStopsThePreview_data()
    {
        QTest::addColumn<int>("rows");
        QTest::addColumn<std::function<void(TfrmMain&)>>("action");
        QTest::newRow("clear") << 2 << std::function<void(TfrmMain&)>([](TfrmMain& w) { w.btnClearClick(); });
        QTest::newRow("last row removed")
            << 1 << std::function<void(TfrmMain&)>([](TfrmMain& w) { w.btnRemoveClick(); });
        QTest::newRow("crop") << 1 << std::function<void(TfrmMain&)>([](TfrmMain& w) {
            emit w.mnuEdit->aboutToShow();
            w.actCrop->trigger();
        });
        QTest::newRow("trim") << 1 << std::function<void(TfrmMain&)>([](TfrmMain& w) {
            w.PopupFileMenu(QPoint(0, 0));
            w.popFiles->hide();
            w.popTrim->trigger();
        });
        QTest::newRow("skin change")
            << 1 << std::function<void(TfrmMain&)>([](TfrmMain& w) { w.actSkins[5]->trigger(); });
    }

    void everythingThatStopsThePreview()
    {
        QFETCH(int, rows);
        QFETCH(std::function<void(TfrmMain&)>, action);
        TestEnvironment env;
        Fixture f;
        for (int i = 0; i < rows; ++i) f.AddRow(ClipPath(i == 0 ? "flv1_mp3.flv" : "video_only.flv"));
        f.window.imgbtnPlay->click();
        QVERIFY(!f.Playing().isEmpty());
        action(f.window);
        QVERIFY(f.preview->PreviewStopped());
        QVERIFY(f.player->CurrentPicture().Empty());
        QCOMPARE(Describe(Shown(f.window)), Describe(kStopped));
        SetCurrentThemeIndex(0);
    }

    void removingARowThatIsNotTheLastKeepsPlaying()
    {
        TestEnvironment env;
        Fixture f;
        f.AddRow(ClipPath("flv1_mp3.flv"));
        f.AddRow(ClipPath("video_only.flv"));
        f.window.imgbtnPlay->click();
        f.window.btnRemoveClick();
        QCOMPARE(f.Playing(), ClipPath("flv1_mp3.flv"));
    }

    void soundFollowsTheStoredBarAndBox_data()
    {
        QTest::addColumn<QByteArray>("ini");
        QTest::addColumn<int>("volume");
        QTest::addColumn<bool>("mute");
        QTest::newRow("nothing stored") << QByteArray() << 0 << false;
        QTest::newRow("stored") << QByteArray("[settings]\nvolume=100\nmute=1\n") << 100 << true;
        QTest::newRow("out of range") << QByteArray("[settings]\nvolume=200\nmute=0\n") << 64 << false;
    }

    void soundFollowsTheStoredBarAndBox()
    {
        QFETCH(QByteArray, ini);
        QFETCH(int, volume);
        QFETCH(bool, mute);
        TestEnvironment env;
        env.WriteConverterIni(ini);
        Fixture f;
        QCOMPARE(f.window.trcVolume->value(), volume);
        QCOMPARE(f.player->AudioVolume(), volume);
        QCOMPARE(f.player->Mute(), mute);

        f.AddRow(ClipPath("flv1_mp3.flv"));
        f.window.imgbtnPlay->click();
        // A keyboard change is heard but not stored; a click on Mute is both.
        f.window.trcVolume->setValue(17);
        QCOMPARE(f.player->AudioVolume(), 17);
        QCOMPARE(ConverterSettings(env.converterIni()).Volume(), ini.isEmpty() ? 0 : volume);
        f.window.ckMute->click();
        QCOMPARE(f.player->Mute(), !mute);
        QCOMPARE(ConverterSettings(env.converterIni()).MuteValue(), mute ? 0 : 1);
    }

    void snapshotOfThePictureOnScreen()
    {
        TestEnvironment env;
        const QString folder = env.MakeFolder("shots");
        ConverterSettings settings(env.converterIni());
        settings.SetSnapOutPutDir(folder);
        Fixture f;
        f.AddRow(ClipPath("flv1_mp3.flv"));
        f.window.imgbtnPlay->click();
        f.window.imgbtnPAuse->click();
        QTest::qWait(200);
        const Bitmap24 onScreen = f.player->CurrentPicture();

        f.window.imgbtnSnap->click();
        QCOMPARE(QDir(folder).entryList(QDir::Files, QDir::Name),
                 (QStringList{"Snapshot_full.bmp", "Snapshot_full.jpg", "Snapshot_small.bmp", "Snapshot_small.jpg"}));
        QCOMPARE(env.openedFolders, QStringList{folder});
        const QImage full(folder + "/Snapshot_full.bmp");
        QCOMPARE(full.size(), QSize(320, 240));
        QCOMPARE(QImage(folder + "/Snapshot_small.bmp").size(), QSize(256, 183));
        QCOMPARE(QImage(folder + "/Snapshot_small.jpg").size(), QSize(256, 183));
        // Blue, green and red land where they were.
        for (const QPoint p : {QPoint(10, 10), QPoint(160, 120), QPoint(300, 220)}) {
            const uint32_t bgr = onScreen.Pixel(p.x(), p.y());
            QCOMPARE(full.pixelColor(p), QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF));
        }

        // Neither format chosen: no file, but the folder still opens.
        for (const QString& name : QDir(folder).entryList(QDir::Files)) QFile::remove(folder + "/" + name);
        settings.WriteInt(settings::kSnapBmp, 0);
        settings.WriteInt(settings::kSnapJpg, 0);
        f.window.imgbtnSnap->click();
        QVERIFY(QDir(folder).entryList(QDir::Files).isEmpty());
        QCOMPARE(env.openedFolders, (QStringList{folder, folder}));

        // A folder that cannot be made: the warning, then the default folder.
        settings.WriteInt(settings::kSnapBmp, 1);
        settings.SetSnapOutPutDir("/proc/varnel/shots");
        f.window.imgbtnSnap->click();
        QCOMPARE(env.dialogs.messages(),
                 QStringList{"Cannot create output directory:/proc/varnel/shots.It will create default directory " +
                             DefaultOutputFolder() + "!"});
        QVERIFY(QFileInfo::exists(DefaultOutputFolder() + "/Snapshot_full.bmp"));
        QCOMPARE(env.openedFolders.last(), DefaultOutputFolder());

        // A failed write opens nothing.
        QFile::remove(DefaultOutputFolder() + "/Snapshot_small.bmp");
        QVERIFY(QDir().mkpath(DefaultOutputFolder() + "/Snapshot_small.bmp"));
        f.window.imgbtnSnap->click();
        QCOMPARE(env.openedFolders.size(), 3);
        QVERIFY(env.dialogs.messages().last().startsWith("Cannot write the snapshot file "));
    }

    void aFileThatFailsToOpenEndsThePreview()
    {
        // Opening closes what played before; the controls follow, and the
        // reason goes to the log.
        TestEnvironment env;
        Fixture f;
        f.AddRow(ClipPath("flv1_mp3.flv"));
        f.AddRow("/nowhere/gone.flv");
        f.window.imgbtnPlay->click();
        f.window.Files().SelectRow(1);
        f.preview->imgbtnPlayClick();
        QCOMPARE(Describe(Shown(f.window)), Describe(kStopped));
        QVERIFY(f.player->IsPausedOrIdle());
        QVERIFY(!f.window.mmoLog->toPlainText().isEmpty());
    }
};

QTEST_MAIN(PreviewTest)
#include "PreviewTest.moc"

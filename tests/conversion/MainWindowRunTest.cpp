// Start on the main window: files added through the open dialog, checked rows
// converted one after another in the progress window, the after-run choices.
#include "conversion/MainWindowRun.h"
#include "conversion/TfrmProgress.h"
#include "media/TFFmpegVCL.h"
#include "shell/Settings.h"
#include "shell/SourceFileList.h"
#include "shell/TfrmMain.h"
#include "support/TestEnvironment.h"
#include "support/TestSupport.h"

#include <QCheckBox>
#include <QDir>
#include <QJsonArray>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QToolButton>
#include <QtTest>

#include <functional>
#include <memory>

namespace {

// A main window wired for Start, with the files of one Add listed.
struct Fixture {
    explicit Fixture(TestEnvironment& env, const QStringList& files) : env(env)
    {
        window.show();
        run = new MainWindowRun(window, env.dialogs);
        window.encoder->SetProgressInterval(100);
        QSignalSpy added(&window, &TfrmMain::filesAdded);
        env.dialogs.ScriptFiles(files);
        window.btnAddClick();
        added.wait(20000);
    }

    // Presses Start; watch runs every 20 ms while the progress window is up.
    void Start(const std::function<void()>& watch = {})
    {
        QTimer timer;
        timer.setInterval(20);
        QObject::connect(&timer, &QTimer::timeout, [&] {
            if (run->ProgressWindow() && run->ProgressWindow()->isVisible() && watch) watch();
        });
        timer.start();
        window.btnStartLarge->click();
    }

    QString Progress(int row) { return window.Files().Text(row, SourceFileList::kProgress); }

    TestEnvironment& env;
    TfrmMain window;
    MainWindowRun* run;
};

QStringList FilesIn(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files, QDir::Name);
}

QString MakeLongClip(const QTemporaryDir& dir, const QString& name, int seconds)
{
    const QString path = dir.filePath(name);
    int code = -1;
    RunProgram("ffmpeg", {"-hide_banner", "-loglevel", "error", "-nostdin", "-y", "-f", "lavfi", "-i",
                          QString("testsrc2=size=640x480:rate=25:duration=%1").arg(seconds), "-c:v", "flv1", "-q:v",
                          "3", path},
               &code);
    return code == 0 ? path : QString();
}

} // namespace

class MainWindowRunTest : public QObject {
    Q_OBJECT

private slots:
    void checkedRowsConvertInOrderAndAfterRunActionsFollowTheBoxes()
    {
        TestEnvironment env;
        const QString out = env.MakeFolder("out");
        env.WriteConverterIni(("[settings]\nOutPutDir=" + out + "\nFormatCode=102\n").toUtf8());
        Fixture f(env, {ClipPath("flv1_mp3.flv"), ClipPath("h264_aac.flv"), ClipPath("video_only.flv")});
        QCOMPARE(f.window.Files().RowCount(), 3);
        f.window.Files().SetChecked(1, false);

        QStringList labels;
        QStringList files;
        f.Start([&] {
            TfrmProgress* progress = f.run->ProgressWindow();
            if (!labels.contains(progress->lblProgress->text())) labels << progress->lblProgress->text();
            if (!files.contains(progress->lblOutput->text())) files << progress->lblOutput->text();
        });

        QCOMPARE(f.run->CheckedRows(), (std::vector<int>{0, 2}));
        QVERIFY2(labels.contains("[2/2]"), qPrintable(labels.join(',')));
        QVERIFY(!labels.contains("[3/3]") && !labels.contains("[2/3]"));
        QVERIFY(files.contains(ClipPath("video_only.flv")) || files.contains(ClipPath("video_only.flv").left(44) + "...flv"));
        QCOMPARE(f.Progress(0), QString("100%"));
        QCOMPARE(f.Progress(1), QString());
        QCOMPARE(f.Progress(2), QString("100%"));
        QVERIFY(!f.run->ProgressWindow()->isVisible());
        QCOMPARE(env.openedFolders, QStringList{out});
        QCOMPARE(env.shutdowns, 0);
        QVERIFY(f.window.btnAdd->isEnabled() && f.window.btnStart->isEnabled());
        QVERIFY(!f.window.btnStop->isEnabled() && !f.window.btnPause->isEnabled());

        const QStringList written = FilesIn(out);
        QCOMPARE(written, (QStringList{"flv1_mp3_(new).mp4", "video_only_(new).mp4"}));
        for (const QString& name : written) {
            const QJsonObject probe = FfprobeJson(out + "/" + name);
            QVERIFY2(probe["format"].toObject()["format_name"].toString().contains("mp4"), qPrintable(name));
            QVERIFY(probe["streams"].toArray().size() >= 1);
        }

        // A second run: "Open" is checked again even when cleared, "Shut down"
        // keeps its state, and the first run's files are left as they are.
        const QByteArray firstOutput = [&] {
            QFile file(out + "/flv1_mp3_(new).mp4");
            return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        }();
        f.run->ProgressWindow()->ckOpen->setChecked(false);
        f.run->ProgressWindow()->ckShutDown->setChecked(true);
        bool openChecked = false;
        f.Start([&] { openChecked = f.run->ProgressWindow()->ckOpen->isChecked(); });
        QVERIFY(openChecked);
        QCOMPARE(env.shutdowns, 1);
        QCOMPARE(env.openedFolders.size(), 2);
        QCOMPARE(FilesIn(out).size(), 4);
        QVERIFY(FilesIn(out).contains("flv1_mp3_(new_1).mp4"));
        QFile first(out + "/flv1_mp3_(new).mp4");
        QVERIFY(first.open(QIODevice::ReadOnly));
        QCOMPARE(first.readAll(), firstOutput);
    }

    void noCheckedRowOnlyWarns()
    {
        TestEnvironment env;
        Fixture f(env, {ClipPath("flv1_mp3.flv")});
        f.window.Files().UncheckAll();
        env.dialogs.ClearCalls();
        f.Start();
        QCOMPARE(env.dialogs.messages(), QStringList{"Please select a file by clicking the check box!"});
        QCOMPARE(env.dialogs.calls().front().caption, QString("Warning"));
        QVERIFY(f.run->ProgressWindow() == nullptr);
        QCOMPARE(f.Progress(0), QString());
    }

    void pauseResumeThenCancel()
    {
        TestEnvironment env;
        const QString out = env.MakeFolder("out");
        env.WriteConverterIni(("[settings]\nOutPutDir=" + out + "\nFormatCode=102\n").toUtf8());
        QTemporaryDir dir;
        const QString clip = MakeLongClip(dir, "long.flv", 120);
        QVERIFY(!clip.isEmpty());
        Fixture f(env, {clip});

        enum { kWaiting, kPaused, kResumed, kCancelled } step = kWaiting;
        bool pausedStates = false, resumedStates = false;
        QString percentAtCancel;
        QImage pictureSeen;
        f.Start([&] {
            TfrmProgress* progress = f.run->ProgressWindow();
            const QString percent = f.Progress(0);
            if (step == kWaiting && !percent.isEmpty() && !f.window.ConvPreviewBitmap.isNull()) {
                progress->btnPause->click();
                pausedStates = !progress->btnPause->isEnabled() && progress->btnResume->isEnabled() &&
                               !f.window.btnPause->isEnabled() && f.window.btnResume->isEnabled() &&
                               f.window.encoder->Paused();
                step = kPaused;
            } else if (step == kPaused) {
                progress->btnResume->click();
                resumedStates = progress->btnPause->isEnabled() && !progress->btnResume->isEnabled() &&
                                f.window.btnPause->isEnabled() && !f.window.btnResume->isEnabled() &&
                                !f.window.encoder->Paused();
                step = kResumed;
            } else if (step == kResumed) {
                progress->Timer1Timer();
                pictureSeen = progress->imgPreview->Canvas();
                percentAtCancel = percent;
                progress->btnCancel->click();
                step = kCancelled;
            }
        });
        QCOMPARE(int(step), int(kCancelled));
        QVERIFY(pausedStates);
        QVERIFY(resumedStates);
        QVERIFY(!f.run->ProgressWindow()->isVisible());
        QVERIFY(!f.window.encoder->Working());
        // The cancelled row keeps its last percentage; nothing runs after it.
        QVERIFY(f.Progress(0) != "100%");
        QVERIFY(f.Progress(0).endsWith('%'));
        QVERIFY(env.openedFolders.isEmpty());
        QTRY_VERIFY(f.window.btnStart->isEnabled());
        // The 640 x 480 picture is drawn 280 wide, centred, on the box colour.
        QCOMPARE(pictureSeen.size(), QSize(372, 210));
        QCOMPARE(pictureSeen.pixelColor(20, 105), QColor(0xA6, 0xCA, 0xF0));
        QCOMPARE(pictureSeen.pixelColor(351, 105), QColor(0xA6, 0xCA, 0xF0));
        QVERIFY(pictureSeen.pixelColor(186, 105) != QColor(0xA6, 0xCA, 0xF0));
    }

    void badSourcesAndFoldersAreReportedAndSkipped()
    {
        TestEnvironment env;
        QTemporaryDir dir;
        const QString doomed = dir.filePath("doomed.flv");
        QVERIFY(QFile::copy(ClipPath("flv1_mp3.flv"), doomed));
        // The output folder setting names a file: the run falls back to the
        // default folder, says so, and leaves the file alone.
        const QString notAFolder = dir.filePath("plain-file");
        {
            QFile file(notAFolder);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("keep me");
        }
        env.WriteConverterIni(("[settings]\nOutPutDir=" + env.MakeFolder("out") + "\nFormatCode=200\n").toUtf8());
        Fixture f(env, {doomed, ClipPath("audio_only.flv")});
        QCOMPARE(f.window.Files().RowCount(), 2);
        QVERIFY(QFile::remove(doomed));
        ConverterSettings(env.converterIni()).SetOutPutDir(notAFolder);
        env.dialogs.ClearCalls();
        f.Start();

        QCOMPARE(f.Progress(0), QString("Error"));
        QCOMPARE(f.Progress(1), QString("100%"));
        QVERIFY(!env.dialogs.messages().isEmpty());
        QVERIFY(env.dialogs.messages().front().startsWith("Cannot create output directory:" + notAFolder));
        QFile kept(notAFolder);
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QCOMPARE(kept.readAll(), QByteArray("keep me"));
        const QString fallback = ConverterSettings(env.converterIni()).OutPutDir();
        QVERIFY(fallback != notAFolder);
        QCOMPARE(FilesIn(fallback), QStringList{"audio_only_(new).mp3"});
        const QJsonArray streams = FfprobeJson(fallback + "/audio_only_(new).mp3")["streams"].toArray();
        QCOMPARE(streams.size(), 1);
        QCOMPARE(streams[0].toObject()["codec_type"].toString(), QString("audio"));
    }

    void corruptFormatIniDoesNotStopTheProgram()
    {
        TestEnvironment env;
        const QString out = env.MakeFolder("out");
        env.WriteConverterIni(("[settings]\nOutPutDir=" + out + "\nFormatCode=103\n").toUtf8());
        {
            QFile garbage(env.configDir() + "/varnelformat.ini");
            QVERIFY(garbage.open(QIODevice::WriteOnly));
            static const char kGarbage[] = "\x00\xff[formatInfo103\nVideoSize=\x01\x02\nFileExt=";
            garbage.write(kGarbage, sizeof kGarbage - 1);
        }
        Fixture f(env, {ClipPath("flv1_mp3.flv")});
        QCOMPARE(f.window.Files().RowCount(), 1);
        f.Start();
        const QString status = f.Progress(0);
        QVERIFY2(status == "100%" || status == "Error", qPrintable(status));
        QVERIFY(!f.window.encoder->Working());
        for (const QString& name : FilesIn(out)) QVERIFY(!FfprobeJson(out + "/" + name).isEmpty());
    }
};

QTEST_MAIN(MainWindowRunTest)
#include "MainWindowRunTest.moc"

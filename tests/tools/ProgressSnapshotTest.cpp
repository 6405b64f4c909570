// The progress window's snapshot button writes through the snapshot rules of
// the preview, and Start stops the preview first.
#include "conversion/MainWindowRun.h"
#include "conversion/TfrmProgress.h"
#include "shell/TfrmMain.h"
#include "support/TestEnvironment.h"
#include "support/TestSupport.h"
#include "tools/MainWindowPreview.h"
#include "tools/Snapshots.h"

#include <QDir>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

namespace {

QStringList FilesIn(const QString& folder) { return QDir(folder).entryList(QDir::Files, QDir::Name); }

QString MakeLongClip(const QTemporaryDir& dir)
{
    const QString path = dir.filePath("long.flv");
    int code = -1;
    RunProgram("ffmpeg", {"-hide_banner", "-loglevel", "error", "-nostdin", "-y", "-f", "lavfi", "-i",
                          "testsrc2=size=640x480:rate=25:duration=20", "-c:v", "flv1", "-q:v", "3", path},
               &code);
    return code == 0 ? path : QString();
}

} // namespace

class ProgressSnapshotTest : public QObject {
    Q_OBJECT

private slots:
    void snapshotsOfARunUseTheSnapshotRules()
    {
        TestEnvironment env;
        QTemporaryDir dir;
        const QString clip = MakeLongClip(dir);
        QVERIFY(!clip.isEmpty());
        const QString out = env.MakeFolder("out");
        const QString snaps = env.MakeFolder("snaps");
        env.WriteConverterIni(("[settings]\nOutPutDir=" + out + "\nSnapOutPutDir=" + snaps + "\nFormatCode=102\n")
                                  .toUtf8());

        TfrmMain window;
        auto* preview = new MainWindowPreview(window);
        auto* run = new MainWindowRun(window, env.dialogs);
        run->SaveSnapshots = [&window](const QImage& full, const QImage& small) {
            SaveSnapshots(full, small, &window);
        };
        window.show();
        QSignalSpy added(&window, &TfrmMain::filesAdded);
        env.dialogs.ScriptFiles({clip});
        window.btnAddClick();
        QVERIFY(added.wait(20000));
        window.imgbtnPlay->click();
        QVERIFY(!preview->PreviewStopped());
        // What an earlier run left behind is no picture of this one.
        window.ConvPreviewBitmap = QImage(64, 48, QImage::Format_RGB32);
        window.ConvPreviewBitmap.fill(Qt::red);

        bool before = false;
        QStringList writtenBefore{"not looked"};
        QTimer::singleShot(0, [&] {
            TfrmProgress* progress = run->ProgressWindow();
            before = progress && progress->isVisible();
            if (!before) return;
            progress->imgbtnSnap->click();
            writtenBefore = FilesIn(snaps);
        });
        QSize pictureSize;
        QTimer watch;
        watch.setInterval(20);
        QObject::connect(&watch, &QTimer::timeout, [&] {
            TfrmProgress* progress = run->ProgressWindow();
            if (!progress || !progress->isVisible() || !pictureSize.isEmpty()) return;
            // Once a picture has arrived and been drawn into the box.
            if (window.ConvPreviewBitmap.isNull() || progress->imgPreview->Canvas().pixelColor(186, 105) ==
                                                         QColor(0xA6, 0xCA, 0xF0))
                return;
            pictureSize = window.ConvPreviewBitmap.size();
            progress->imgbtnSnap->click();
            progress->btnCancel->click();
        });
        watch.start();
        window.btnStartLarge->click();

        QVERIFY(preview->PreviewStopped());
        QVERIFY(before);
        QVERIFY2(writtenBefore.isEmpty(), qPrintable(writtenBefore.join(',')));
        QVERIFY(!pictureSize.isEmpty());
        QCOMPARE(FilesIn(snaps),
                 (QStringList{"Snapshot_full.bmp", "Snapshot_full.jpg", "Snapshot_small.bmp", "Snapshot_small.jpg"}));
        QCOMPARE(QImage(snaps + "/Snapshot_full.bmp").size(), pictureSize);
        QCOMPARE(QImage(snaps + "/Snapshot_small.bmp").size(), QSize(372, 210));
        QCOMPARE(QImage(snaps + "/Snapshot_small.jpg").size(), QSize(372, 210));
        // Unlike the main window's snapshot, the folder is not opened.
        QVERIFY(!env.openedFolders.contains(snaps));
        QVERIFY(env.dialogs.messages().isEmpty());
    }
};

QTEST_MAIN(ProgressSnapshotTest)
#include "ProgressSnapshotTest.moc"

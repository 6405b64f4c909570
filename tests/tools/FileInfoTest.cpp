// The file information window against ffprobe's view of the same files.
#include "media/TFFmpegVCL.h"
#include "platform/Themes.h"
#include "shell/SourceFileList.h"
#include "shell/TfrmMain.h"
#include "support/TestEnvironment.h"
#include "support/TestSupport.h"
#include "tools/MainWindowTools.h"
#include "tools/TfrmFileInfo.h"

#include <QAction>
#include <QFile>
#include <QJsonArray>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <cmath>
#include <memory>

namespace {

struct Fixture {
    Fixture()
    {
        window.show();
        tools = new MainWindowTools(window);
        dialog = new TfrmFileInfo(&window, window.Files());
    }

    // Lists the file, selects it and shows the window for it.
    void ShowFor(const QString& path)
    {
        auto record = std::make_unique<TlvFilesRecord>();
        record->SourceFile = path;
        window.Files().SelectRow(window.Files().AppendRow(std::move(record)));
        dialog->hide();
        dialog->show();
    }

    QStringList Video() const
    {
        return {dialog->edtFormat->text(), dialog->edtResloution->text(), dialog->edtBitRate->text(),
                dialog->edtFrameRate->text(), dialog->edtTotalFrame->text()};
    }
    QStringList Audio() const
    {
        return {dialog->edtAudioForamt->text(), dialog->edtAudioBitRate->text(), dialog->edtSampleRate->text(),
                dialog->edtChannel->text()};
    }
    bool AllEmpty() const
    {
        return dialog->lblSourceName->text().isEmpty() && dialog->lblFileLength->text().isEmpty() &&
               (Video() + Audio()).join("").isEmpty();
    }

    TfrmMain window;
    MainWindowTools* tools;
    TfrmFileInfo* dialog;
};

QJsonObject Stream(const QJsonObject& probe, const QString& type)
{
    for (const QJsonValue& s : probe["streams"].toArray())
        if (s["codec_type"].toString() == type) return s.toObject();
    return {};
}

QString NumberOrEmpty(const QJsonValue& value)
{
    const qint64 n = value.toString().toLongLong();
    return n > 0 ? QString::number(n) : QString();
}

} // namespace

class FileInfoTest : public QObject {
    Q_OBJECT

private slots:
    void showsWhatFfprobeSees_data()
    {
        QTest::addColumn<QString>("clip");
        QTest::addColumn<QString>("frameRate");
        QTest::newRow("h264 aac") << "h264_aac.flv" << "25";
        QTest::newRow("flv1 mp3") << "flv1_mp3.flv" << "25";
        QTest::newRow("no sound") << "video_only.flv" << "25";
    }

    void showsWhatFfprobeSees()
    {
        QFETCH(QString, clip);
        QFETCH(QString, frameRate);
        TestEnvironment env;
        Fixture f;
        const QString path = ClipPath(clip);
        f.ShowFor(path);
        const QJsonObject probe = FfprobeJson(path);
        const QJsonObject video = Stream(probe, "video");
        const QJsonObject audio = Stream(probe, "audio");
        QVERIFY(!video.isEmpty());

        QCOMPARE(f.dialog->windowTitle(), QString("File infomation"));
        QCOMPARE(f.dialog->size(), QSize(420, 460));
        QVERIFY(f.dialog->lblSourceName->text().startsWith(path.left(40)));
        const double seconds = probe["format"]["duration"].toString().toDouble();
        const qint64 micro = std::llround(seconds * 1e6);
        QCOMPARE(f.dialog->lblFileLength->text(),
                 QString::asprintf("%lld.%03lld Second", micro / 1000000, micro % 1000000 / 1000));
        QCOMPARE(f.Video(), (QStringList{probe["format"]["format_name"].toString(),
                                         QString("%1x%2").arg(video["width"].toInt()).arg(video["height"].toInt()),
                                         NumberOrEmpty(video["bit_rate"]), frameRate,
                                         QString::number(std::llround(seconds * 25))}));
        if (audio.isEmpty()) {
            QCOMPARE(f.Audio(), (QStringList{"", "", "", ""}));
        } else {
            // The codec's name as the report writes it, with its profile after it.
            QCOMPARE(f.Audio()[0].section(' ', 0, 0), audio["codec_name"].toString());
            QCOMPARE(f.Audio().mid(1), (QStringList{NumberOrEmpty(audio["bit_rate"]),
                                             audio["sample_rate"].toString(),
                                             QString::number(audio["channels"].toInt())}));
        }
        f.dialog->btnOk->click();
        QVERIFY(!f.dialog->isVisible());
        QCOMPARE(f.dialog->CCAVC->TaskCount(), 0);
    }

    void nothingOfAnEarlierFileRemains_data()
    {
        QTest::addColumn<QString>("second");
        QTest::addColumn<bool>("video");
        QTest::addColumn<bool>("audio");
        QTest::newRow("sound only") << "audio_only.flv" << false << false;
        QTest::newRow("not a video") << "text.flv" << false << false;
        QTest::newRow("empty") << "empty.flv" << false << false;
        QTest::newRow("cut off") << "truncated.flv" << false << false;
        QTest::newRow("picture and sound") << "flv1_mp3.flv" << true << true;
        QTest::newRow("picture only") << "video_only.flv" << true << false;
        QTest::newRow("gone") << "missing.flv" << false << false;
    }

    void nothingOfAnEarlierFileRemains()
    {
        QFETCH(QString, second);
        QFETCH(bool, video);
        QFETCH(bool, audio);
        TestEnvironment env;
        Fixture f;
        f.ShowFor(ClipPath("h264_aac.flv"));
        const QStringList firstVideo = f.Video();
        const QStringList firstAudio = f.Audio();
        QVERIFY(!firstAudio.join("").isEmpty());

        f.ShowFor(second == "missing.flv" ? env.root() + "/missing.flv" : ClipPath(second));
        if (!video) {
            QVERIFY(f.AllEmpty());
            return;
        }
        QVERIFY(!f.dialog->lblSourceName->text().isEmpty());
        QVERIFY(f.Video()[1] != firstVideo[1]);
        if (!audio) QCOMPARE(f.Audio(), (QStringList{"", "", "", ""}));
        if (audio) QCOMPARE(f.Audio()[0], QString("mp3"));
    }

    void longNamesAreShortened_data()
    {
        QTest::addColumn<int>("length");
        QTest::addColumn<bool>("whole");
        QTest::newRow("45 characters") << 45 << true;
        QTest::newRow("46 characters") << 46 << false;
    }

    void longNamesAreShortened()
    {
        QFETCH(int, length);
        QFETCH(bool, whole);
        TestEnvironment env;
        QTemporaryDir dir("/tmp/fiXXXXXX");
        const QString folder = dir.path() + "/";
        const int nameLength = length - int(folder.size()) - 4;
        QVERIFY(nameLength > 0);
        const QString path = folder + QString(nameLength, 'n') + ".flv";
        QCOMPARE(path.size(), length);
        QVERIFY(QFile::copy(ClipPath("video_only.flv"), path));

        Fixture f;
        f.ShowFor(path);
        QCOMPARE(f.dialog->lblSourceName->text(), whole ? path : path.left(40) + "...flv  ");
        QVERIFY(!f.dialog->edtResloution->text().isEmpty());
    }

    void opensFromThePopUpForTheSelectedRowInTheTheme()
    {
        TestEnvironment env;
        Fixture f;
        f.window.actSkins[2]->trigger();
        for (const char* clip : {"flv1_mp3.flv", "h264_aac.flv"}) {
            auto record = std::make_unique<TlvFilesRecord>();
            record->SourceFile = ClipPath(clip);
            f.window.Files().AppendRow(std::move(record));
        }
        f.window.Files().SelectRow(1);
        f.window.PopupFileMenu(QPoint(0, 0));
        QVERIFY(f.window.popVideoInfo->isEnabled());
        f.window.popFiles->hide();

        QString resolution;
        QColor background;
        QTimer::singleShot(0, [&] {
            TfrmFileInfo* shown = f.tools->FileInfo();
            QVERIFY(shown && shown->isVisible());
            resolution = shown->edtResloution->text();
            background = shown->palette().color(QPalette::Window);
            shown->btnOk->click();
        });
        f.window.popVideoInfo->trigger();
        QCOMPARE(resolution, QString("640x360"));
        QCOMPARE(background, ThemeAt(2).window);
        SetCurrentThemeIndex(0);
    }
};

QTEST_MAIN(FileInfoTest)
#include "FileInfoTest.moc"

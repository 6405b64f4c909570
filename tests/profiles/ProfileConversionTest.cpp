// What the settings dialog stores is what gets converted: the batch program
// and Start on the main window both write the chosen format with the chosen
// values, as ffprobe reads them.
#include "ProfilesTestSupport.h"

#include "conversion/MainWindowRun.h"
#include "profiles/ParameterBoxes.h"
#include "profiles/TfrmSettings.h"
#include "shell/SourceFileList.h"
#include "support/TestSupport.h"

#include <QComboBox>
#include <QDir>
#include <QJsonArray>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

namespace {

QJsonObject StreamOf(const QJsonObject& probe, const QString& type)
{
    for (const QJsonValue& stream : probe["streams"].toArray())
        if (stream.toObject()["codec_type"].toString() == type) return stream.toObject();
    return {};
}

// Every value chosen in the dialog, read back from the file.
QString Mismatches(const QString& path)
{
    const QJsonObject probe = FfprobeJson(path);
    const QJsonObject video = StreamOf(probe, "video");
    const QJsonObject audio = StreamOf(probe, "audio");
    QStringList wrong;
    const auto expect = [&](const QString& what, const QString& got, const QString& want) {
        if (got != want) wrong << what + " " + got + " (expected " + want + ")";
    };
    expect("container", probe["format"].toObject()["format_name"].toString(), "avi");
    expect("video codec", video["codec_name"].toString(), "mpeg4");
    expect("width", QString::number(video["width"].toInt()), "480");
    expect("height", QString::number(video["height"].toInt()), "320");
    expect("frame rate", video["r_frame_rate"].toString(), "15/1");
    expect("audio codec", audio["codec_name"].toString(), "mp3");
    expect("sample rate", audio["sample_rate"].toString(), "22050");
    expect("channels", QString::number(audio["channels"].toInt()), "1");
    expect("audio bit rate", audio["bit_rate"].toString(), "64000");
    return wrong.join("; ");
}

void Choose(QComboBox* box, const QString& text)
{
    box->setCurrentIndex(box->findText(text));
}

QStringList FilesIn(const QString& folder) { return QDir(folder).entryList(QDir::Files); }

} // namespace

class ProfileConversionTest : public QObject {
    Q_OBJECT

private slots:
    void dialogChoicesReachTheBatchProgramAndStart()
    {
        TestEnvironment env;
        const QString startOut = env.MakeFolder("start");
        env.WriteConverterIni(("[settings]\nOutPutDir=" + startOut + "\n").toUtf8());
        ProfilesWindow w(env);
        new MainWindowRun(w.window, env.dialogs);

        QString chosen;
        QTimer::singleShot(0, [&] {
            TfrmSettings* d = w.profiles->SettingsDialog();
            if (!d) return;
            QListWidget* list = d->picker->lst1;
            QTest::mouseClick(d->imgbtn1, Qt::LeftButton);
            const QPoint glyph(8, list->visualItemRect(list->item(1)).center().y());
            QTest::mousePress(list->viewport(), Qt::LeftButton, {}, glyph);
            for (int i = 0; i < list->count(); ++i) {
                if (list->item(i)->text() != "AVI Video (*.avi)") continue;
                QTest::mousePress(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(i)).center());
            }
            chosen = d->CurrentFormatCode;
            ParameterBoxes& b = *d->boxes;
            Choose(b.cmbVideoSize, "480x320");
            Choose(b.cmbVideoEncoder, "mpeg-4");
            Choose(b.cmbFrameRate, "15");
            Choose(b.cmbAudioEncoder, "mp3");
            Choose(b.cmbSamplerate, "22050");
            Choose(b.cmbChannel, "mono 1 channel");
            Choose(b.cmbAudioBitRate, "64");
            d->btnOk->click();
        });
        w.window.btnFormatSettings->click();
        QCOMPARE(chosen, QString("104"));
        QCOMPARE(Stored(env, "settings", "FormatCode"), QString("104"));

        const QString cliOut = env.MakeFolder("cli");
        int exitCode = -1;
        const QByteArray printed = RunProgram(VARNEL_CLI_PATH,
                                              {"--config-dir", env.configDir(), "--output-dir", cliOut,
                                               ClipPath("flv1_mp3.flv")},
                                              &exitCode);
        QCOMPARE(exitCode, 0);
        QCOMPARE(FilesIn(cliOut).size(), 1);
        const QString cliFile = cliOut + "/" + FilesIn(cliOut).first();
        QVERIFY2(cliFile.endsWith(".avi"), qPrintable(cliFile));
        QCOMPARE(Mismatches(cliFile), QString());

        QSignalSpy added(&w.window, &TfrmMain::filesAdded);
        env.dialogs.ScriptFiles({ClipPath("flv1_mp3.flv")});
        w.window.btnAddClick();
        QVERIFY(added.wait(20000));
        QCOMPARE(w.window.Files().RowCount(), 1);
        w.window.btnStartLarge->click();
        QTRY_COMPARE_WITH_TIMEOUT(w.window.Files().Text(0, SourceFileList::kProgress), QString("100%"), 60000);
        QCOMPARE(FilesIn(startOut).size(), 1);
        const QString startFile = startOut + "/" + FilesIn(startOut).first();
        QVERIFY2(startFile.endsWith(".avi"), qPrintable(startFile));
        QCOMPARE(Mismatches(startFile), QString());
    }
};

QTEST_MAIN(ProfileConversionTest)
#include "ProfileConversionTest.moc"

// The settings dialog: showing the stored profile, its own picker, the checks
// that only warn, and what "&Ok", "&Default" and "&Cancel" store.
#include "ProfilesTestSupport.h"

#include "profiles/ParameterBoxes.h"
#include "profiles/ParameterPanel.h"
#include "profiles/TfrmSettings.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QtTest>

namespace {

const QByteArray kFormats = R"([formatInfo102]
VideoSize=320x240,640x480,as source
iVideoSize=1
VideoBitRate=512,768,as source
iVideoBitRate=1
FrameRate=25,29.97,15
iFrameRate=2
VideoEncoder=mpeg-4,h264
AudioEncoder=aac,gsm,FLAC
AudioBitRate=
SampleRate=44100,22050
iSampleRate=1
Channel=stereo 2 channels,mono 1 channel
Volume=100%,loud%,150%
iVolume=2
paraLevel=30

[formatInfo104]
VideoSize=320x240,480x320
VideoBitRate=768,1024
FrameRate=25
VideoEncoder=mpeg-4
AudioEncoder=mp3
AudioBitRate=128,64
SampleRate=44100
Channel=stereo 2 channels
Volume=100%
)";

// The dialog as the main window's buttons open it, shown without blocking.
TfrmSettings& ShowDialog(ProfilesWindow& w)
{
    TfrmSettings* dialog = w.profiles->EnsureSettingsDialog();
    dialog->show();
    return *dialog;
}

QPoint OnRow(QListWidget* list, int row, int x)
{
    return QPoint(x, list->visualItemRect(list->item(row)).center().y());
}

int RowOf(QListWidget* list, const QString& text)
{
    for (int i = 0; i < list->count(); ++i)
        if (list->item(i)->text() == text) return i;
    return -1;
}

void Press(QListWidget* list, int row, int x)
{
    QTest::mousePress(list->viewport(), Qt::LeftButton, {}, OnRow(list, row, x));
    QTest::mouseRelease(list->viewport(), Qt::LeftButton, {}, OnRow(list, row, x));
}

} // namespace

class SettingsDialogTest : public QObject {
    Q_OBJECT

private slots:
    void showsTheStoredProfileWithItsTypedValues()
    {
        TestEnvironment env;
        WriteFormatIni(env, kFormats);
        env.WriteConverterIni("[settings]\nFormatCode=102\nFormatName=MPEG-4 Video (*.mp4)\n[formatInfo102]\n"
                              "iVideoSize=-1\nparaVideoSize=650x480\niVideoBitRate=-1\niFrameRate=-1\n"
                              "paraFrameRate=29.97\niSampleRate=1\niChannel=1\niVolume=2\nparaZoom=lbox\n");
        ProfilesWindow w(env);
        TfrmSettings& d = ShowDialog(w);
        ParameterBoxes& b = *d.boxes;
        QCOMPARE(d.size(), QSize(475, 370));
        QCOMPARE(d.windowTitle(), QString("Settings"));
        QCOMPARE(d.edt1->text(), QString("MPEG-4 Video (*.mp4)"));
        QCOMPARE(d.CurrentFormatCode, QString("102"));
        QCOMPARE(b.cmbVideoSize->currentText(), QString("650x480"));
        QCOMPARE(b.cmbVideoBitRate->currentText(), QString("800"));
        QCOMPARE(b.cmbFrameRate->currentText(), QString("29.97"));
        QCOMPARE(b.cmbSamplerate->currentText(), QString("22050"));
        QCOMPARE(b.cmbChannel->currentText(), QString("mono 1 channel"));
        QCOMPARE(b.cmbVolume->currentText(), QString("150%"));
        QCOMPARE(b.cmbZoom->itemText(0), QString("Full screen"));
        QCOMPARE(b.cmbZoom->currentText(), QString("Letterbox"));
        // An audio bit rate list without items stays off although the group is on.
        QVERIFY(b.cmbAudioEncoder->isEnabled());
        QVERIFY(!b.cmbAudioBitRate->isEnabled());
        QVERIFY(w.profiles->panel->boxes->cmbAudioBitRate->isEnabled());
        QVERIFY(env.dialogs.calls().empty());
    }

    void pickerOpensDownwardsAndCancelStoresNothing()
    {
        TestEnvironment env;
        WriteFormatIni(env, kFormats);
        ProfilesWindow w(env);
        const QByteArray before = env.ReadConverterIni();
        TfrmSettings& d = ShowDialog(w);
        QListWidget* list = d.picker->lst1;
        QTest::mouseClick(d.imgbtn1, Qt::LeftButton);
        QVERIFY(list->isVisible());
        QCOMPARE(list->y(), d.edt1->y() + d.edt1->height() - 1);
        QCOMPARE(list->height(), 3 * 20 + 20);
        QCOMPARE(list->currentRow(), -1); // "iPod Video MPEG-4" is no catalogue text

        Press(list, 2, 8);
        QCOMPARE(list->count(), 10);
        QCOMPARE(list->height(), 10 * 20 + 20);
        Press(list, 1, 8);
        QCOMPARE(list->height(), 247);
        Press(list, RowOf(list, "WMA - Windows Meida Audio (*.wma)"), 60);
        QVERIFY(list->isHidden());
        QCOMPARE(d.edt1->text(), QString("WMA - Windows Meida Audio (*.wma)"));
        QCOMPARE(d.CurrentFormatCode, QString("203"));
        QCOMPARE(d.boxes->cmbVideoEncoder->count(), 0);
        QVERIFY(!d.boxes->cmbVideoSize->isEnabled());
        QCOMPARE(env.ReadConverterIni(), before);

        // Reopening points at the dialog's own choice.
        QTest::mouseClick(d.edt1, Qt::LeftButton);
        QCOMPARE(list->currentRow(), RowOf(list, "WMA - Windows Meida Audio (*.wma)"));
        QTest::mouseClick(d.btnDefault, Qt::LeftButton); // closes the list too
        QVERIFY(list->isHidden());
        d.btnCancel->click();
        QVERIFY(d.isHidden());
        QCOMPARE(env.ReadConverterIni(), before);
        QCOMPARE(w.window.edt1->text(), QString("Apple iPod Video MPEG-4 Movie (*.mp4)"));
        QCOMPARE(w.window.CurrentFormatCode, QString("1"));
    }

    void keyboardOpensTheListAndEnterChoosesWithoutClosingTheDialog()
    {
        TestEnvironment env;
        WriteFormatIni(env, kFormats);
        ProfilesWindow w(env);
        TfrmSettings& d = ShowDialog(w);
        QListWidget* list = d.picker->lst1;
        QTest::keyClick(d.edt1, Qt::Key_Return);
        QVERIFY(list->isVisible());
        QVERIFY(d.isVisible());
        list->setCurrentRow(0);
        QTest::keyClick(list, Qt::Key_Return); // a header: expands
        QCOMPARE(list->count(), 5);
        QTest::keyClick(list, Qt::Key_Down);
        QTest::keyClick(list, Qt::Key_Return);
        QVERIFY(list->isHidden());
        QVERIFY(d.isVisible());
        QCOMPARE(d.CurrentFormatCode, QString("0"));
        QCOMPARE(d.edt1->text(), QString("MPEG-1 Moive (*.mpg)"));
        QCOMPARE(Stored(env, "settings", "FormatCode"), QString("<missing>"));
        d.btnCancel->click();
    }

    void okStoresTypedSizeFormatAndGroupStateAndRebuildsTheMainList()
    {
        TestEnvironment env;
        WriteFormatIni(env, kFormats);
        ProfilesWindow w(env);
        TfrmSettings& d = ShowDialog(w);
        QListWidget* list = d.picker->lst1;
        QTest::mouseClick(d.imgbtn1, Qt::LeftButton);
        Press(list, 1, 8);
        Press(list, RowOf(list, "AVI Video (*.avi)"), 60);
        d.boxes->cmbVideoSize->setEditText("650x480");
        d.boxes->cmbVideoBitRate->setCurrentIndex(1);
        d.btnOk->click();
        QVERIFY(d.isHidden());
        QVERIFY(env.dialogs.calls().empty());

        const auto stored = [&](const char* key) { return Stored(env, "formatInfo104", key); };
        QCOMPARE(stored("Description"), QString("AVI Video (*.avi)"));
        QCOMPARE(stored("paraVideoSize"), QString("650x480"));
        QCOMPARE(stored("iVideoSize"), QString("-1"));
        QCOMPARE(stored("paraVideoBitRate"), QString("1024"));
        QCOMPARE(stored("iVideoBitRate"), QString("1"));
        QCOMPARE(stored("paraVideoEncoder"), QString("mpeg4"));
        QCOMPARE(stored("paraAudioEncoder"), QString("libmp3lame"));
        QCOMPARE(stored("paraChannel"), QString("2"));
        QCOMPARE(stored("paraVolume"), QString("256"));
        QCOMPARE(stored("paraZoom"), QString("full"));
        QCOMPARE(Stored(env, "settings", "FormatCode"), QString("104"));
        QCOMPARE(Stored(env, "settings", "FormatName"), QString("AVI Video (*.avi)"));
        QCOMPARE(Stored(env, "lstformat", "1"), QString("0"));
        QCOMPARE(Stored(env, "lstformat", "0"), QString("1"));

        // The main window follows: its list is rebuilt with group 1 open and
        // its panel holds the new format.
        QCOMPARE(w.window.edt1->text(), QString("AVI Video (*.avi)"));
        QCOMPARE(w.window.CurrentFormatCode, QString("104"));
        QCOMPARE(w.RowTexts().size(), 3 + 10);
        QCOMPARE(w.profiles->panel->boxes->cmbVideoSize->currentText(), QString("650x480"));

        // The next showing puts the typed size back.
        ShowDialog(w);
        QCOMPARE(d.boxes->cmbVideoSize->currentText(), QString("650x480"));
        QCOMPARE(d.boxes->cmbVideoBitRate->currentText(), QString("1024"));
        d.btnCancel->click();
    }

    void okMapsTheDialogsOwnNames_data()
    {
        QTest::addColumn<int>("encoder");
        QTest::addColumn<int>("zoom");
        QTest::addColumn<QString>("audioEncoder");
        QTest::addColumn<QString>("sampleRate");
        QTest::addColumn<QString>("channel");
        QTest::addColumn<QString>("zoomValue");
        QTest::newRow("gsm") << 1 << 0 << "libgsm" << "8000" << "1" << "full";
        QTest::newRow("FLAC") << 2 << 2 << "flac" << "44100" << "2" << "pan";
        QTest::newRow("aac") << 0 << 1 << "libfaac" << "44100" << "2" << "lbox";
    }

    void okMapsTheDialogsOwnNames()
    {
        QFETCH(int, encoder);
        QFETCH(int, zoom);
        QFETCH(QString, audioEncoder);
        QFETCH(QString, sampleRate);
        QFETCH(QString, channel);
        QFETCH(QString, zoomValue);
        TestEnvironment env;
        WriteFormatIni(env, kFormats);
        env.WriteConverterIni("[settings]\nFormatCode=102\nFormatName=MPEG-4 Video (*.mp4)\n");
        ProfilesWindow w(env);
        TfrmSettings& d = ShowDialog(w);
        d.boxes->cmbAudioEncoder->setCurrentIndex(encoder);
        d.boxes->cmbSamplerate->setCurrentIndex(0);
        d.boxes->cmbChannel->setCurrentIndex(0);
        d.boxes->cmbZoom->setCurrentIndex(zoom);
        d.btnOk->click();
        QCOMPARE(Stored(env, "formatInfo102", "paraAudioEncoder"), audioEncoder);
        QCOMPARE(Stored(env, "formatInfo102", "paraSampleRate"), sampleRate);
        QCOMPARE(Stored(env, "formatInfo102", "paraChannel"), channel);
        QCOMPARE(Stored(env, "formatInfo102", "iSampleRate"), QString("0"));
        QCOMPARE(Stored(env, "formatInfo102", "paraZoom"), zoomValue);
    }

    void okWithH264CopiesTuningAndAVolumeThatIsNoNumberIsLeftOut()
    {
        TestEnvironment env;
        WriteFormatIni(env, kFormats);
        env.WriteConverterIni("[settings]\nFormatCode=102\nFormatName=MPEG-4 Video (*.mp4)\n[formatInfo102]\n"
                              "iVolume=2\nparaVolume=384\n");
        ProfilesWindow w(env);
        TfrmSettings& d = ShowDialog(w);
        d.boxes->cmbVideoEncoder->setCurrentIndex(1);
        d.boxes->cmbVolume->setCurrentIndex(1);
        d.btnOk->click();
        QCOMPARE(env.dialogs.messages(), QStringList{"'loud' is not a valid integer value."});
        QCOMPARE(Stored(env, "formatInfo102", "iVolume"), QString("2"));
        QCOMPARE(Stored(env, "formatInfo102", "paraVolume"), QString("384"));
        QCOMPARE(Stored(env, "formatInfo102", "paraVideoEncoder"), QString("libx264"));
        QCOMPARE(Stored(env, "formatInfo102", "paraLevel"), QString("30"));
        QCOMPARE(Stored(env, "formatInfo102", "iVideoEncoder"), QString("1"));
        QCOMPARE(Stored(env, "settings", "FormatCode"), QString("102"));
        QVERIFY(d.isHidden());
    }

    void defaultSelectsTheFormatDefaultsAndStoresNothing()
    {
        TestEnvironment env;
        WriteFormatIni(env, kFormats);
        env.WriteConverterIni("[settings]\nFormatCode=102\nFormatName=MPEG-4 Video (*.mp4)\n[formatInfo102]\n"
                              "iVideoSize=0\niFrameRate=0\niVolume=0\nparaZoom=pan\n");
        ProfilesWindow w(env);
        const QByteArray before = env.ReadConverterIni();
        TfrmSettings& d = ShowDialog(w);
        d.btnDefault->click();
        ParameterBoxes& b = *d.boxes;
        QCOMPARE(b.cmbVideoSize->currentText(), QString("640x480"));
        QCOMPARE(b.cmbFrameRate->currentText(), QString("15"));
        QCOMPARE(b.cmbVideoBitRate->currentText(), QString("768"));
        QCOMPARE(b.cmbSamplerate->currentText(), QString("22050"));
        QCOMPARE(b.cmbVolume->currentText(), QString("150%"));
        QCOMPARE(b.cmbZoom->currentIndex(), 0);
        d.btnCancel->click();
        QCOMPARE(env.ReadConverterIni(), before);
    }

    void leavingATypedBoxWarnsWithoutStoringOrHoldingTheFocus()
    {
        TestEnvironment env;
        WriteFormatIni(env, kFormats);
        env.WriteConverterIni("[settings]\nFormatCode=102\nFormatName=MPEG-4 Video (*.mp4)\n");
        ProfilesWindow w(env);
        const QByteArray before = env.ReadConverterIni();
        TfrmSettings& d = ShowDialog(w);
        d.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&d));
        ParameterBoxes& b = *d.boxes;

        b.cmbVideoBitRate->setFocus();
        b.cmbVideoBitRate->setEditText("12k");
        QVERIFY(env.dialogs.calls().empty()); // no check while typing
        b.cmbFrameRate->setFocus();
        QCOMPARE(env.dialogs.messages(), QStringList{"Video BitRate is not a valid value!"});
        QCOMPARE(b.cmbVideoBitRate->currentText(), QString("768"));
        QVERIFY(b.cmbFrameRate->hasFocus());

        env.dialogs.ClearCalls();
        b.cmbVideoSize->setFocus();
        b.cmbVideoSize->setEditText("321x241");
        b.cmbVideoEncoder->setFocus();
        QCOMPARE(env.dialogs.messages(), QStringList{"Frame Size must be a multiple of 2.\nThe correct value:320x240"});
        QCOMPARE(env.dialogs.calls().front().caption, QString("Input Error!"));
        QCOMPARE(b.cmbVideoSize->currentText(), QString("320x240"));
        QVERIFY(b.cmbVideoEncoder->hasFocus());

        env.dialogs.ClearCalls();
        b.cmbSamplerate->setFocus();
        b.cmbSamplerate->setEditText("as source");
        b.cmbChannel->setFocus();
        QVERIFY(env.dialogs.calls().empty());
        QCOMPARE(env.ReadConverterIni(), before);
        d.btnCancel->click();
    }
};

QTEST_MAIN(SettingsDialogTest)
#include "SettingsDialogTest.moc"

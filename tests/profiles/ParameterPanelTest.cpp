// The main window's option groups: loading a format, the checks and key
// filters, and what each change stores in the converter INI.
#include "ProfilesTestSupport.h"

#include "profiles/ParameterBoxes.h"
#include "profiles/ParameterPanel.h"
#include "profiles/ProfileDefaults.h"
#include "shell/GlobalObject.h"

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

namespace {

// Format 102 with lists that show the rules: an unknown volume, a volume
// that is no number, the H.264 tuning keys; format 200 offers video sizes
// but no video encoder.
const QByteArray kFormats = R"([formatInfo102]
VideoSize=320x240,640x480,as source
iVideoSize=1
VideoBitRate=512,768,as source
iVideoBitRate=1
FrameRate=25,15
VideoEncoder=mpeg-4,h264,theora
AudioEncoder=aac,mp3
AudioBitRate=128,12.2
SampleRate=44100,22050
Channel=stereo 2 channels,mono 1 channel,quad
Volume=100%,225%,loud%,150%
iVolume=3
paraBitExact=TRUE
paraMaxBitrate=abc
paraBufferSize=0
paraLevel=30
paraQscale=
paraGop=250
paraCoder=0

[formatInfo200]
VideoSize=320x240,640x480
VideoBitRate=null
FrameRate=null
VideoEncoder=null
AudioEncoder=mp3
AudioBitRate=128
SampleRate=44100
Channel=stereo 2 channels
Volume=100%
)";

QStringList Texts(const QComboBox* box)
{
    QStringList texts;
    for (int i = 0; i < box->count(); ++i) texts << box->itemText(i);
    return texts;
}

} // namespace

class ParameterPanelTest : public QObject {
    Q_OBJECT

    ParameterBoxes& Boxes(ProfilesWindow& w) { return *w.profiles->panel->boxes; }

private slots:
    void loadsTheFormatsListsAndStoredValuesWithoutStoring()
    {
        TestEnvironment env;
        WriteFormatIni(env, kFormats);
        const QByteArray ini = "[settings]\nFormatCode=102\nFormatName=MPEG-4 Video (*.mp4)\n"
                               "[formatInfo102]\nparaVideoSize=650x480\nparaVideoBitRate=as source\niFrameRate=7\n"
                               "iChannel=1\niVolume=3\nparaZoom=center\n";
        env.WriteConverterIni(ini);
        ProfilesWindow w(env);
        ParameterBoxes& b = Boxes(w);
        QVERIFY(b.grpVideo->isHidden() && b.grpAudio->isHidden() && w.profiles->panel->btnDefault->isHidden());
        QCOMPARE(Texts(b.cmbVideoSize), (QStringList{"320x240", "640x480", "as source"}));
        QCOMPARE(b.cmbVideoSize->currentIndex(), -1);
        QCOMPARE(b.cmbVideoSize->currentText(), QString("650x480"));
        QCOMPARE(b.cmbVideoBitRate->currentIndex(), 2);
        QCOMPARE(b.cmbFrameRate->currentIndex(), -1);
        QCOMPARE(b.cmbVideoEncoder->currentIndex(), 0);
        QCOMPARE(b.cmbChannel->currentText(), QString("mono 1 channel"));
        QCOMPARE(b.cmbVolume->currentText(), QString("150%"));
        QCOMPARE(b.cmbSamplerate->currentText(), QString("44100"));
        QCOMPARE(b.cmbAudioBitRate->currentText(), QString("96"));
        QCOMPARE(Texts(b.cmbZoom), (QStringList{"Full Screen", "Letter Box", "Pan and Scan"}));
        QCOMPARE(b.cmbZoom->currentIndex(), -1);
        QCOMPARE(b.cmbVolume->maxVisibleItems(), 4);
        // Loading stored nothing.
        const IniFile conv(env.converterIni());
        QCOMPARE(conv.ReadSection("formatInfo102"),
                 (QStringList{"paraVideoSize", "paraVideoBitRate", "iFrameRate", "iChannel", "iVolume", "paraZoom"}));
        QCOMPARE(conv.ReadString("formatInfo102", "iVolume", ""), QString("3"));
    }

    void groupRuleGreysAGroupWithoutEncoder()
    {
        TestEnvironment env;
        WriteFormatIni(env, kFormats);
        env.WriteConverterIni("[settings]\nFormatCode=200\n");
        ProfilesWindow w(env);
        ParameterBoxes& b = Boxes(w);
        const QColor grey = QApplication::palette().color(QPalette::Disabled, QPalette::Text);
        QCOMPARE(b.cmbVideoSize->count(), 2);
        for (QComboBox* box : {b.cmbVideoSize, b.cmbVideoBitRate, b.cmbFrameRate, b.cmbVideoEncoder, b.cmbZoom}) {
            QVERIFY2(!box->isEnabled(), qPrintable(box->objectName()));
            QCOMPARE(box->palette().color(QPalette::Active, QPalette::Text), grey);
        }
        for (QComboBox* box : {b.cmbSamplerate, b.cmbAudioEncoder, b.cmbAudioBitRate, b.cmbChannel, b.cmbVolume}) {
            QVERIFY2(box->isEnabled(), qPrintable(box->objectName()));
            QCOMPARE(box->palette().color(QPalette::Active, QPalette::Text), QColor(Qt::black));
        }
    }

    void frameSizeCheckOnLeavingTheBox_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("storedSize");
        QTest::addColumn<QString>("storedIndex");
        const QString missing = "<missing>";
        const QString input = "Input Error!";
        const QString plain = QApplication::applicationDisplayName();
        QTest::newRow("odd width") << "321x240" << "Frame Size must be a multiple of 2.\nThe correct value:320x240"
                                   << input << "320x240" << "320x240" << "0";
        QTest::newRow("zero") << "0x0" << "Frame Size must be a multiple of 2.\nThe correct value:2x2" << input
                              << "2x2" << "2x2" << "0";
        QTest::newRow("two x") << "640x480x2" << "Frame Size is not a valid value!" << plain << "640x480" << missing
                               << missing;
        QTest::newRow("no x") << "640" << "Frame Size is not a valid value!" << plain << "640x480" << missing
                              << missing;
        QTest::newRow("as source") << "As Source" << "" << "" << "As Source" << missing << missing;
        QTest::newRow("item") << "640x480" << "" << "" << "640x480" << "640x480" << "1";
        QTest::newRow("typed even") << "650x480" << "" << "" << "650x480" << "650x480" << "0";
    }

    void frameSizeCheckOnLeavingTheBox()
    {
        QFETCH(QString, typed);
        QFETCH(QString, message);
        QFETCH(QString, caption);
        QFETCH(QString, shown);
        QFETCH(QString, storedSize);
        QFETCH(QString, storedIndex);
        TestEnvironment env;
        WriteFormatIni(env, kFormats);
        env.WriteConverterIni("[settings]\nFormatCode=102\n");
        ProfilesWindow w(env);
        QComboBox* box = Boxes(w).cmbVideoSize;
        box->setEditText(typed);
        w.profiles->panel->cmbVideoSizeExit();
        if (message.isEmpty()) {
            QVERIFY(env.dialogs.calls().empty());
        } else {
            QCOMPARE(env.dialogs.messages(), QStringList{message});
            QCOMPARE(env.dialogs.calls().front().caption, caption);
        }
        QCOMPARE(box->currentText(), shown);
        QCOMPARE(Stored(env, "formatInfo102", "paraVideoSize"), storedSize);
        QCOMPARE(Stored(env, "formatInfo102", "iVideoSize"), storedIndex);
    }

    void pickingAFrameSizeStoresItUnchecked()
    {
        TestEnvironment env;
        WriteFormatIni(env, kFormats);
        env.WriteConverterIni("[settings]\nFormatCode=102\n");
        ProfilesWindow w(env);
        QComboBox* box = Boxes(w).cmbVideoSize;
        box->setCurrentIndex(2);
        emit box->activated(2);
        QCOMPARE(Stored(env, "formatInfo102", "paraVideoSize"), QString("as source"));
        QCOMPARE(Stored(env, "formatInfo102", "iVideoSize"), QString("2"));
    }

    void rateBoxesCheckEveryChange()
    {
        TestEnvironment env;
        WriteFormatIni(env, kFormats);
        env.WriteConverterIni("[settings]\nFormatCode=102\n");
        ProfilesWindow w(env);
        ParameterBoxes& b = Boxes(w);

        b.cmbVideoBitRate->setEditText("12k");
        QCOMPARE(env.dialogs.messages(), QStringList{"Video BitRate is not a valid value!"});
        QCOMPARE(b.cmbVideoBitRate->currentText(), QString("768"));
        QCOMPARE(Stored(env, "formatInfo102", "paraVideoBitRate"), QString("<missing>"));

        b.cmbVideoBitRate->setEditText("900");
        QCOMPARE(Stored(env, "formatInfo102", "paraVideoBitRate"), QString("900"));
        QCOMPARE(Stored(env, "formatInfo102", "iVideoBitRate"), QString("-1"));
        b.cmbVideoBitRate->setCurrentIndex(2);
        QCOMPARE(Stored(env, "formatInfo102", "paraVideoBitRate"), QString("as source"));
        QCOMPARE(Stored(env, "formatInfo102", "iVideoBitRate"), QString("2"));

        env.dialogs.ClearCalls();
        b.cmbAudioBitRate->setCurrentIndex(1);
        QCOMPARE(Stored(env, "formatInfo102", "paraAudioBitRate"), QString("12.2"));
        QCOMPARE(Stored(env, "formatInfo102", "iAudioBitRate"), QString("1"));
        b.cmbSamplerate->setEditText("44.1");
        QCOMPARE(env.dialogs.messages(), QStringList{"Audio SampleRate is not a valid value!"});
        QCOMPARE(Stored(env, "formatInfo102", "paraSampleRate"), QString("<missing>"));
        b.cmbAudioBitRate->setEditText("as Source");
        QCOMPARE(env.dialogs.messages().last(), QString("Audio BitRate is not a valid value!"));
        QCOMPARE(Stored(env, "formatInfo102", "paraAudioBitRate"), QString("12.2"));
    }

    void keyFiltersDiscardWhatTheBoxesDoNotTake()
    {
        TestEnvironment env;
        WriteFormatIni(env, kFormats);
        env.WriteConverterIni("[settings]\nFormatCode=102\n");
        ProfilesWindow w(env);
        ParameterBoxes& b = Boxes(w);
        b.cmbVideoSize->lineEdit()->selectAll();
        QTest::keyClicks(b.cmbVideoSize->lineEdit(), "6a40x4x8X0");
        QCOMPARE(b.cmbVideoSize->currentText(), QString("640x480"));
        QVERIFY(env.dialogs.calls().empty());

        b.cmbVideoBitRate->lineEdit()->selectAll();
        QTest::keyClicks(b.cmbVideoBitRate->lineEdit(), "1k5.");
        QCOMPARE(b.cmbVideoBitRate->currentText(), QString("15"));
        QCOMPARE(env.dialogs.messages(), (QStringList{"Please enter numerical.", "Please enter numerical."}));
        QCOMPARE(Stored(env, "formatInfo102", "paraVideoBitRate"), QString("15"));
        QTest::keyClick(b.cmbVideoBitRate->lineEdit(), Qt::Key_Backspace);
        QCOMPARE(b.cmbVideoBitRate->currentText(), QString("1"));
    }

    void pickListsStoreTheirMappedValues()
    {
        TestEnvironment env;
        WriteFormatIni(env, kFormats);
        env.WriteConverterIni("[settings]\nFormatCode=102\n[formatInfo102]\nparaVolume=384\nparaChannel=2\n"
                              "paraBufferSize=777\nparaVideoEncoder=mpeg4\n");
        ProfilesWindow w(env);
        ParameterBoxes& b = Boxes(w);
        const auto stored = [&](const char* key) { return Stored(env, "formatInfo102", key); };

        b.cmbVolume->setCurrentIndex(1); // 225 %: no engine value
        QCOMPARE(stored("iVolume"), QString("1"));
        QCOMPARE(stored("paraVolume"), QString("384"));
        b.cmbVolume->setCurrentIndex(2); // no number: reported, nothing stored
        QCOMPARE(env.dialogs.messages(), QStringList{"'loud' is not a valid integer value."});
        QCOMPARE(stored("iVolume"), QString("1"));
        QCOMPARE(stored("paraVolume"), QString("384"));
        b.cmbVolume->setCurrentIndex(0);
        QCOMPARE(stored("paraVolume"), QString("256"));

        b.cmbChannel->setCurrentIndex(2); // no value for "quad"
        QCOMPARE(stored("iChannel"), QString("2"));
        QCOMPARE(stored("paraChannel"), QString("2"));
        b.cmbChannel->setCurrentIndex(1);
        QCOMPARE(stored("paraChannel"), QString("1"));

        b.cmbVideoEncoder->setCurrentIndex(1);
        QCOMPARE(stored("iVideoEncoder"), QString("1"));
        QCOMPARE(stored("paraVideoEncoder"), QString("libx264"));
        QCOMPARE(stored("paraBitExact"), QString("TRUE"));
        QCOMPARE(stored("paraMaxBitrate"), QString("<missing>"));
        QCOMPARE(stored("paraBufferSize"), QString("777"));
        QCOMPARE(stored("paraLevel"), QString("30"));
        QCOMPARE(stored("paraQscale"), QString("<missing>"));
        QCOMPARE(stored("paraGop"), QString("250"));
        QCOMPARE(stored("paraCoder"), QString("0"));
        b.cmbVideoEncoder->setCurrentIndex(2); // "theora": the old value stays
        QCOMPARE(stored("paraVideoEncoder"), QString("libx264"));

        b.cmbAudioEncoder->setCurrentIndex(1);
        QCOMPARE(stored("paraAudioEncoder"), QString("libmp3lame"));
        b.cmbFrameRate->setCurrentIndex(1);
        QCOMPARE(stored("iFrameRate"), QString("1"));
        QCOMPARE(stored("paraFrameRate"), QString("15"));
        b.cmbZoom->setCurrentIndex(2);
        QCOMPARE(stored("paraZoom"), QString("pan"));
    }

    void defaultStoresWhatTheFormatDefaultsAre()
    {
        TestEnvironment env;
        env.WriteConverterIni("[settings]\nFormatCode=104\n[formatInfo104]\nparaVideoSize=650x480\niVolume=0\n"
                              "paraZoom=pan\n");
        ProfilesWindow w(env);
        w.profiles->panel->btnDefault->click();
        QVERIFY(env.dialogs.calls().empty());

        // The same values as the profile defaults computed without windows.
        const QString expectedPath = env.MakeFolder("expected") + "/expected.ini";
        IniFile expected(expectedPath);
        StoreFormatDefaults(IniFile(GlobalObject()->FormatIniPath()), expected, 104);
        const QStringList keys = expected.ReadSection("formatInfo104");
        QCOMPARE(keys.size(), 19);
        for (const QString& key : keys)
            QCOMPARE(Stored(env, "formatInfo104", key), expected.ReadString("formatInfo104", key, "?"));
        QCOMPARE(Stored(env, "formatInfo104", "paraVideoSize"), QString("640x480"));
        ParameterBoxes& b = Boxes(w);
        QCOMPARE(b.cmbVideoSize->currentText(), QString("640x480"));
        QCOMPARE(b.cmbZoom->currentIndex(), 0);
    }
};

QTEST_MAIN(ParameterPanelTest)
#include "ParameterPanelTest.moc"

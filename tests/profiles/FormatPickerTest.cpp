// The format picker of the main window: the grouped drop list, choosing a
// format, closing, the keyboard, and the group state kept in the INI.
#include "ProfilesTestSupport.h"

#include "profiles/FormatCatalogue.h"
#include "profiles/ParameterBoxes.h"
#include "profiles/ParameterPanel.h"
#include "profiles/TfrmSettings.h"
#include "shell/Settings.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

namespace {

const QString kHeader0 = QStringLiteral("MPEG Video Formates");
const QString kHeader1 = QStringLiteral("General Video formates");
const QString kHeader2 = QStringLiteral("General Audio formates");

QStringList Formats(int group) { return Catalogue()[size_t(group)].formats; }

} // namespace

class FormatPickerTest : public QObject {
    Q_OBJECT

private slots:
    void freshInstallShowsThreeCollapsedHeadersAndTheDefaultName()
    {
        TestEnvironment env;
        ProfilesWindow w(env);
        QCOMPARE(w.window.edt1->text(), QString("Apple iPod Video MPEG-4 Movie (*.mp4)"));
        QCOMPARE(w.RowTexts(), (QStringList{kHeader0, kHeader1, kHeader2}));
        for (const TItemInfo& row : w.picker().RowInfos()) QVERIFY(row.IsGroup && row.Collapsed);
        QVERIFY(w.list()->isHidden());

        const QPoint pointerBefore = QCursor::pos();
        QTest::mouseClick(w.window.edt1, Qt::LeftButton);
        QVERIFY(w.list()->isVisible());
        QCOMPARE(w.list()->currentRow(), -1);
        QCOMPARE(QCursor::pos(), pointerBefore);
        // Three rows and a spare one, opening upwards onto the box.
        QCOMPARE(w.list()->height(), 80);
        QCOMPARE(w.list()->geometry().bottom() + 1, w.window.edt1->y());
        QCOMPARE(w.list()->x(), w.window.edt1->x());
        QCOMPARE(w.list()->geometry().right(), w.window.imgbtn1->geometry().right());
        // Nothing is stored by looking.
        QCOMPARE(Stored(env, "settings", "FormatCode"), QString("<missing>"));
    }

    void storedGroupStateIsBuiltExpanded()
    {
        TestEnvironment env;
        env.WriteConverterIni("[lstformat]\n1=0\n");
        ProfilesWindow w(env);
        QStringList expected{kHeader0, kHeader1};
        expected << Formats(1) << kHeader2;
        QCOMPARE(w.RowTexts(), expected);
        const TItemInfo first = w.picker().RowInfos()[2];
        QVERIFY(first.IsFormat && !first.IsGroup);
        QCOMPARE(first.Code, 100);
        QCOMPARE(first.Label, QString());
    }

    void glyphExpandsBelowItsHeaderEvenWithTheNextGroupOpen()
    {
        TestEnvironment env;
        env.WriteConverterIni("[lstformat]\n2=0\n");
        ProfilesWindow w(env);
        w.OpenList();
        // A press on the header's text does nothing.
        w.PressRow(1, 60);
        QCOMPARE(w.list()->count(), 3 + 7);
        w.PressRow(1, 8);
        QStringList expected{kHeader0, kHeader1};
        expected << Formats(1) << kHeader2 << Formats(2);
        QCOMPARE(w.RowTexts(), expected);
        const std::vector<TItemInfo> rows = w.picker().RowInfos();
        QVERIFY(!rows[1].Collapsed);
        QCOMPARE(rows[2 + 9].Code, 109);
        QCOMPARE(rows[2 + 9].Label, QString("Apple iPod"));
        // Clicking resized the list to its rows, up to 358 pixels.
        QCOMPARE(w.list()->height(), 358);
        QCOMPARE(w.list()->geometry().bottom() + 1, w.window.edt1->y());
        // The state reaches the INI only when it is saved.
        QCOMPARE(Stored(env, "lstformat", "1"), QString("<missing>"));
    }

    void collapsingTheFirstGroupRemovesOnlyItsRows()
    {
        TestEnvironment env;
        env.WriteConverterIni("[lstformat]\n0=0\n1=0\n");
        ProfilesWindow w(env);
        w.OpenList();
        w.PressRow(0, 8);
        QStringList expected{kHeader0, kHeader1};
        expected << Formats(1) << kHeader2;
        QCOMPARE(w.RowTexts(), expected);
        QVERIFY(w.picker().RowInfos()[0].Collapsed);
        QVERIFY(!w.picker().RowInfos()[1].Collapsed);
    }

    void doubleClickOnAHeaderTogglesIt()
    {
        TestEnvironment env;
        ProfilesWindow w(env);
        w.OpenList();
        QTest::mouseMove(w.list()->viewport(), w.OnRow(2, 80));
        QTest::mouseDClick(w.list()->viewport(), Qt::LeftButton, {}, w.OnRow(2, 80));
        QStringList expected{kHeader0, kHeader1, kHeader2};
        expected << Formats(2);
        QCOMPARE(w.RowTexts(), expected);
    }

    void hoverSelectsAndAnyButtonChoosesAndStoresAtOnce()
    {
        TestEnvironment env;
        env.WriteConverterIni("[lstformat]\n2=0\n");
        ProfilesWindow w(env);
        w.OpenList();
        const int mp3 = w.RowOf("MP3 MPEG Layer-3 Audio (*.mp3)");
        QTest::mouseMove(w.list()->viewport(), w.OnRow(mp3 + 1, 100));
        QCOMPARE(w.list()->currentRow(), mp3 + 1);

        QTest::mousePress(w.list()->viewport(), Qt::RightButton, {}, w.OnRow(mp3, 100));
        QVERIFY(w.list()->isHidden());
        QCOMPARE(Stored(env, "settings", "FormatName"), QString("MP3 MPEG Layer-3 Audio (*.mp3)"));
        QCOMPARE(Stored(env, "settings", "FormatCode"), QString("200"));
        QCOMPARE(w.window.edt1->text(), QString("MP3 MPEG Layer-3 Audio (*.mp3)"));
        QCOMPARE(w.window.CurrentFormatName, QString("MP3 MPEG Layer-3 Audio (*.mp3)"));
        QCOMPARE(w.window.CurrentFormatCode, QString("200"));
        // The panel now holds the audio format's lists.
        ParameterBoxes& boxes = *w.profiles->panel->boxes;
        QCOMPARE(boxes.cmbVideoEncoder->count(), 0);
        QCOMPARE(boxes.cmbAudioEncoder->itemText(0), QString("mp3"));
        QCOMPARE(boxes.cmbAudioBitRate->itemText(3), QString("320"));
    }

    void choosingTheSelectedFormatRewritesTheKeysWithoutReloading()
    {
        TestEnvironment env;
        env.WriteConverterIni("[settings]\nFormatName=MPEG-4 Video (*.mp4)\nFormatCode=102\n[lstformat]\n1=0\n");
        ProfilesWindow w(env);
        QCOMPARE(w.window.edt1->text(), QString("MPEG-4 Video (*.mp4)"));
        ParameterBoxes& boxes = *w.profiles->panel->boxes;
        QCOMPARE(boxes.cmbVideoEncoder->itemText(0), QString("mpeg-4"));
        boxes.cmbVideoSize->setEditText("998x998");
        // Something else changed the stored code meanwhile.
        IniFile(env.converterIni()).WriteString("settings", "FormatCode", "5");

        w.OpenList();
        w.PressRow(w.RowOf("MPEG-4 Video (*.mp4)"), 60);
        QCOMPARE(Stored(env, "settings", "FormatCode"), QString("102"));
        QCOMPARE(Stored(env, "settings", "FormatName"), QString("MPEG-4 Video (*.mp4)"));
        QCOMPARE(boxes.cmbVideoSize->currentText(), QString("998x998"));

        // Another format does reload.
        w.OpenList();
        w.PressRow(w.RowOf("H.264/MPEG-4 AVC Video (*.mp4)"), 60);
        QCOMPARE(boxes.cmbVideoEncoder->itemText(0), QString("h264"));
        QCOMPARE(boxes.cmbVideoSize->currentText(), QString("320x240"));
    }

    void opensAtTheStoredFormatAndPointsAtIt()
    {
        TestEnvironment env;
        env.WriteConverterIni("[settings]\nFormatName=AVI Video (*.avi)\nFormatCode=104\n[lstformat]\n1=0\n");
        ProfilesWindow w(env);
        // The stored name changes behind the window's back.
        IniFile(env.converterIni()).WriteString("settings", "FormatName", "Xvid Video (*.avi)");
        QTest::mouseClick(w.window.edt1, Qt::LeftButton);
        const int xvid = w.RowOf("Xvid Video (*.avi)");
        QCOMPARE(w.list()->currentRow(), xvid);
        QCOMPARE(w.window.edt1->text(), QString("AVI Video (*.avi)"));
        const QRect row = w.list()->visualItemRect(w.list()->item(xvid));
        QCOMPARE(QCursor::pos(), w.list()->viewport()->mapToGlobal(row.center()));
        QVERIFY(w.list()->hasFocus() || !QApplication::activeWindow());

        // The arrow button refreshes the box from the INI.
        QTest::mouseClick(w.window.imgbtn1, Qt::LeftButton);
        QVERIFY(w.list()->isHidden());
        QTest::mouseClick(w.window.imgbtn1, Qt::LeftButton);
        QVERIFY(w.list()->isVisible());
        QCOMPARE(w.window.edt1->text(), QString("Xvid Video (*.avi)"));
        QCOMPARE(w.list()->currentRow(), xvid);
    }

    void closesOnClicksElsewhereAndWhenTheProgramLosesTheFocus()
    {
        TestEnvironment env;
        ProfilesWindow w(env);
        w.OpenList();
        QTest::mouseClick(w.window.edDirectory, Qt::LeftButton);
        QVERIFY(w.list()->isHidden());

        w.OpenList();
        QTest::mouseClick(w.window.edt1, Qt::LeftButton); // its own toggle
        QVERIFY(w.list()->isHidden());

        w.OpenList();
        QTest::mouseClick(w.window.edDirectory, Qt::RightButton);
        QVERIFY(w.list()->isVisible());
        QEvent deactivate(QEvent::ApplicationDeactivate);
        QCoreApplication::sendEvent(qApp, &deactivate);
        QVERIFY(w.list()->isHidden());
    }

    void keyboardOpensMovesAndChooses()
    {
        TestEnvironment env;
        ProfilesWindow w(env);
        QTest::keyClick(w.window.edt1, Qt::Key_Down, Qt::AltModifier);
        QVERIFY(w.list()->isVisible());
        w.list()->setCurrentRow(0);
        QTest::keyClick(w.list(), Qt::Key_Right); // expands the header
        QCOMPARE(w.RowTexts().mid(0, 3), (QStringList{kHeader0, Formats(0)[0], Formats(0)[1]}));
        QTest::keyClick(w.list(), Qt::Key_Down);
        QTest::keyClick(w.list(), Qt::Key_Down);
        QTest::keyClick(w.list(), Qt::Key_Return);
        QVERIFY(w.list()->isHidden());
        QCOMPARE(Stored(env, "settings", "FormatCode"), QString("1"));
        QCOMPARE(Stored(env, "settings", "FormatName"), Formats(0)[1]);
        QCOMPARE(w.window.edt1->text(), Formats(0)[1]);

        QTest::keyClick(w.window.edt1, Qt::Key_F4);
        QVERIFY(w.list()->isVisible());
        QTest::keyClick(w.list(), Qt::Key_Escape);
        QVERIFY(w.list()->isHidden());
    }

    void exitAndSettingsButtonsSaveTheGroupState()
    {
        TestEnvironment env;
        auto w = std::make_unique<ProfilesWindow>(env);
        w->OpenList();
        w->PressRow(0, 8);
        bool dialogShown = false;
        QTimer::singleShot(0, [&] {
            TfrmSettings* dialog = w->profiles->SettingsDialog();
            dialogShown = dialog && dialog->isVisible();
            if (dialog) dialog->btnCancel->click();
        });
        w->window.btnFormatSettings->click();
        QVERIFY(dialogShown);
        QCOMPARE(Stored(env, "lstformat", "0"), QString("0"));
        QCOMPARE(Stored(env, "lstformat", "1"), QString("1"));
        QCOMPARE(Stored(env, "lstformat", "2"), QString("1"));

        w->OpenList();
        w->PressRow(w->RowOf(kHeader2), 8);
        env.dialogs.ScriptButton(QMessageBox::Yes);
        w->window.close();
        QCOMPARE(Stored(env, "lstformat", "2"), QString("0"));
        w.reset();

        ProfilesWindow again(env);
        QCOMPARE(again.RowTexts().size(), 3 + 2 + 7);
    }

    void rowsAreDrawnWithHeaderIconsAndNavyFormats()
    {
        TestEnvironment env;
        env.WriteConverterIni("[lstformat]\n0=0\n");
        ProfilesWindow w(env);
        w.OpenList();
        w.list()->setCurrentRow(1);
        const QImage image = w.list()->viewport()->grab().toImage();
        const auto count = [&](const QRect& rect, const QColor& colour) {
            int n = 0;
            for (int y = rect.top(); y <= rect.bottom(); ++y)
                for (int x = rect.left(); x <= rect.right(); ++x) n += image.pixelColor(x, y) == colour;
            return n;
        };
        const QRect header = w.list()->visualItemRect(w.list()->item(0));
        const QRect selected = w.list()->visualItemRect(w.list()->item(1));
        const QRect plain = w.list()->visualItemRect(w.list()->item(2));
        QVERIFY(count(selected, QColor(185, 204, 236)) > selected.width() * 4);
        QVERIFY(count(selected, QColor(122, 160, 218)) > selected.width());
        QVERIFY(count(plain, QColor(0, 0, 128)) > 20);
        QCOMPARE(count(plain, QColor(185, 204, 236)), 0);
        QVERIFY(count(plain, QColor(246, 247, 248)) > plain.width() * 10);
        // The glyph and the icon sit left of the header text, on the list colour.
        QVERIFY(count(QRect(header.left(), header.top(), 23, header.height()), QColor(246, 247, 248)) < 23 * 20);
        QVERIFY(count(QRect(header.left() + 23, header.top(), 20, header.height()), QColor(246, 247, 248)) < 20 * 20 - 40);
        QCOMPARE(w.list()->palette().color(QPalette::Base), QColor(246, 247, 248));
        QCOMPARE(w.window.edDirectory->palette().color(QPalette::Base), QColor(246, 247, 248));
    }
};

QTEST_MAIN(FormatPickerTest)
#include "FormatPickerTest.moc"

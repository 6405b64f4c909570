// The preferences dialog: what it shows, its rules, and what it stores.
#include "platform/SystemFolders.h"
#include "platform/Themes.h"
#include "shell/Settings.h"
#include "shell/TfrmMain.h"
#include "support/TestEnvironment.h"
#include "tools/MainWindowTools.h"
#include "tools/TfrmPreference.h"

#include <QAbstractButton>
#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QTimer>
#include <QtTest>

#include <memory>

namespace {

// The dialog as the menu opens it, shown without its modal loop so a test
// can drive it.
struct Fixture {
    Fixture()
    {
        window.show();
        tools = new MainWindowTools(window);
        dialog = new TfrmPreference(&window);
    }

    void Show() { dialog->show(); }

    QString Boxes() const
    {
        QString text;
        for (const QCheckBox* box : {dialog->ckFullSize, dialog->ckSmallSize, dialog->ckBmp, dialog->ckJpg})
            text += box->isChecked() ? 'x' : '-';
        return text;
    }

    TfrmMain window;
    MainWindowTools* tools;
    TfrmPreference* dialog;
};

} // namespace

class PreferenceTest : public QObject {
    Q_OBJECT

private slots:
    void opensFromTheToolsMenuInTheCurrentTheme()
    {
        TestEnvironment env;
        TfrmMain window;
        window.show();
        auto* tools = new MainWindowTools(window);
        QVERIFY(window.actPreference->isEnabled());
        QCOMPARE(window.actPreference->text(), QString("&Preference"));
        window.actSkins[4]->trigger();

        TfrmPreference* seen = nullptr;
        QTimer::singleShot(0, [&] {
            seen = tools->Preference();
            QVERIFY(seen && seen->isVisible() && seen->isModal());
            QCOMPARE(seen->windowTitle(), QString("Preference"));
            QCOMPARE(seen->size(), QSize(480, 390));
            QCOMPARE(seen->palette().color(QPalette::Window), ThemeAt(4).window);
            seen->btnCancel->click();
        });
        window.actPreference->trigger();
        QVERIFY(seen);
        QVERIFY(!seen->isVisible());
        // Kept and reused.
        QTimer::singleShot(0, [&] {
            QCOMPARE(tools->Preference(), seen);
            QCOMPARE(seen->palette().color(QPalette::Window), ThemeAt(4).window);
            seen->btnCancel->click();
        });
        window.actPreference->trigger();
        SetCurrentThemeIndex(0);
    }

    void showReadsTheStoredValues_data()
    {
        QTest::addColumn<QByteArray>("ini");
        QTest::addColumn<QString>("boxes"); // Full, Small, BMP, JPG
        QTest::addColumn<int>("quality");
        QTest::addColumn<int>("priority");
        QTest::newRow("nothing stored") << QByteArray() << "xxxx" << 30 << 1;
        QTest::newRow("stored") << QByteArray("snapFullSize=0\nsnapSmallSize=1\nsnapBmp=1\nsnapJpg=0\njpgCmp=75\n"
                                              "priority=3\n")
                                << "-xx-" << 75 << 3;
        QTest::newRow("quality 0 shows 1") << QByteArray("jpgCmp=0\n") << "xxxx" << 1 << 1;
        QTest::newRow("quality above 100") << QByteArray("jpgCmp=250\n") << "xxxx" << 100 << 1;
        QTest::newRow("other capitals") << QByteArray("Priority=0\nSNAPJPG=0\n") << "xxx-" << 30 << 0;
        QTest::newRow("priority outside") << QByteArray("priority=7\n") << "xxxx" << 30 << -1;
        QTest::newRow("flags other than 1") << QByteArray("snapFullSize=2\nsnapJpg=yes\n") << "-xxx" << 30 << 1;
        QTest::newRow("both of a pair off") << QByteArray("snapFullSize=0\nsnapSmallSize=0\nsnapBmp=0\nsnapJpg=0\n")
                                            << "x-x-" << 30 << 1;
    }

    void showReadsTheStoredValues()
    {
        QFETCH(QByteArray, ini);
        QFETCH(QString, boxes);
        QFETCH(int, quality);
        QFETCH(int, priority);
        TestEnvironment env;
        const QString folder = env.MakeFolder("snaps");
        env.WriteConverterIni("[settings]\nSnapOutPutDir=" + folder.toUtf8() + "\n" + ini);
        Fixture f;
        // What an earlier showing left in the boxes does not count.
        for (QCheckBox* box : {f.dialog->ckFullSize, f.dialog->ckSmallSize, f.dialog->ckBmp, f.dialog->ckJpg})
            box->setChecked(true);
        f.Show();
        QCOMPARE(f.Boxes(), boxes);
        QCOMPARE(f.dialog->spedCmp->value(), quality);
        QCOMPARE(f.dialog->trcCmp->value(), quality);
        QCOMPARE(f.dialog->spedCmp->isEnabled(), f.dialog->ckJpg->isChecked());
        QCOMPARE(f.dialog->trcCmp->isEnabled(), f.dialog->ckJpg->isChecked());
        QCOMPARE(f.dialog->PriorityIndex(), priority);
        QCOMPARE(f.dialog->edtSnapDirectory->text(), folder);
        QVERIFY(f.dialog->edtSnapDirectory->isReadOnly());
    }

    void aFolderThatCannotBeWrittenIsReplacedAtShow()
    {
        TestEnvironment env;
        env.WriteConverterIni("[settings]\nSnapOutPutDir=/proc/sys\n");
        Fixture f;
        f.Show();
        QCOMPARE(f.dialog->edtSnapDirectory->text(), env.home() + "/varnel");
        QCOMPARE(ConverterSettings(env.converterIni()).SnapOutPutDir(), env.home() + "/varnel");
    }

    void oneSizeAndOneFormatStayChecked_data()
    {
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("second");
        QTest::addColumn<QString>("boxes");
        // Indexes: 0 Full, 1 Small, 2 BMP, 3 JPG.
        QTest::newRow("full then small") << 0 << 1 << "-xxx";
        QTest::newRow("small then full") << 1 << 0 << "x-xx";
        QTest::newRow("bmp then jpg") << 2 << 3 << "xx-x";
        QTest::newRow("jpg then bmp") << 3 << 2 << "xxx-";
    }

    void oneSizeAndOneFormatStayChecked()
    {
        QFETCH(int, first);
        QFETCH(int, second);
        QFETCH(QString, boxes);
        TestEnvironment env;
        Fixture f;
        f.Show();
        QCheckBox* all[] = {f.dialog->ckFullSize, f.dialog->ckSmallSize, f.dialog->ckBmp, f.dialog->ckJpg};
        QTest::mouseClick(all[first], Qt::LeftButton, {}, QPoint(6, all[first]->height() / 2));
        QTest::mouseClick(all[second], Qt::LeftButton, {}, QPoint(6, all[second]->height() / 2));
        QCOMPARE(f.Boxes(), boxes);
        // The one left can be unchecked once its partner is back.
        all[first]->click();
        all[second]->click();
        QVERIFY(all[first]->isChecked());
        QVERIFY(!all[second]->isChecked());
    }

    void qualityControlsMoveTogetherAndFollowJpg()
    {
        TestEnvironment env;
        Fixture f;
        f.Show();
        f.dialog->spedCmp->setValue(42);
        QCOMPARE(f.dialog->trcCmp->value(), 42);
        f.dialog->trcCmp->setValue(87);
        QCOMPARE(f.dialog->spedCmp->value(), 87);
        f.dialog->spedCmp->stepUp();
        QCOMPARE(f.dialog->trcCmp->value(), 88);
        f.dialog->spedCmp->setValue(100);
        f.dialog->spedCmp->stepUp();
        QCOMPARE(f.dialog->spedCmp->value(), 100);
        QCOMPARE(f.dialog->trcCmp->tickInterval(), 10);

        // No typing: only the arrows change it.
        f.dialog->spedCmp->setFocus();
        f.dialog->spedCmp->findChild<QLineEdit*>()->selectAll();
        QTest::keyClicks(f.dialog->spedCmp, "5");
        QCOMPARE(f.dialog->spedCmp->value(), 100);
        QVERIFY(f.dialog->spedCmp->toolTip().startsWith(
            "Use Compression Quality to set the compression quality of the \r\nJPEG image"));
        QVERIFY(f.dialog->spedCmp->toolTip().endsWith(" the smaller the resulting file size, but at the expense of "
                                                      "picture quality."));

        f.dialog->ckJpg->click();
        QVERIFY(!f.dialog->spedCmp->isEnabled());
        QVERIFY(!f.dialog->trcCmp->isEnabled());
        f.dialog->ckJpg->click();
        QVERIFY(f.dialog->spedCmp->isEnabled());
        QVERIFY(f.dialog->trcCmp->isEnabled());
    }

    void okStoresEveryKey()
    {
        TestEnvironment env;
        env.WriteConverterIni("[settings]\njpgCmp=0\n");
        Fixture f;
        f.Show();
        QCOMPARE(f.dialog->spedCmp->value(), 1);
        f.dialog->ckSmallSize->click();
        f.dialog->ckBmp->click();
        f.dialog->priorityItems->button(3)->click();
        f.dialog->btnOk->click();
        QVERIFY(!f.dialog->isVisible());

        ConverterSettings settings(env.converterIni());
        QCOMPARE(settings.ReadInt("snapFullSize", -9), 1);
        QCOMPARE(settings.ReadInt("snapSmallSize", -9), 0);
        QCOMPARE(settings.ReadInt("snapBmp", -9), 0);
        QCOMPARE(settings.ReadInt("snapJpg", -9), 1);
        QCOMPARE(settings.ReadInt("jpgCmp", -9), 1);
        QCOMPARE(settings.ReadInt("priority", -9), 3);
        QCOMPARE(settings.SnapOutPutDir(), f.dialog->edtSnapDirectory->text());

        // No priority chosen writes -1; an empty folder box writes the default folder.
        env.WriteConverterIni("[settings]\npriority=9\n");
        f.Show();
        f.dialog->edtSnapDirectory->clear();
        f.dialog->btnOk->click();
        QCOMPARE(settings.ReadInt("priority", -9), -1);
        QCOMPARE(settings.SnapOutPutDir(), DefaultOutputFolder());
    }

    void defaultFillsTheControlsAndStoresNothingUntilOk()
    {
        TestEnvironment env;
        const QString folder = env.MakeFolder("snaps");
        const QByteArray stored = "[settings]\nSnapOutPutDir=" + folder.toUtf8() +
                                  "\nsnapFullSize=0\nsnapSmallSize=1\nsnapBmp=0\nsnapJpg=1\njpgCmp=64\npriority=0\n";
        env.WriteConverterIni(stored);
        Fixture f;
        f.Show();
        const QByteArray before = env.ReadConverterIni();
        QVERIFY(before.startsWith(stored));
        f.dialog->btnDefault->click();
        QCOMPARE(f.dialog->edtSnapDirectory->text(), DefaultOutputFolder());
        QCOMPARE(f.Boxes(), QString("x-x-"));
        QCOMPARE(f.dialog->spedCmp->value(), 20);
        QCOMPARE(f.dialog->trcCmp->value(), 20);
        QVERIFY(!f.dialog->spedCmp->isEnabled());
        QCOMPARE(f.dialog->PriorityIndex(), 1);
        f.dialog->btnCancel->click();
        QCOMPARE(env.ReadConverterIni(), before);

        f.Show();
        QCOMPARE(f.Boxes(), QString("-x-x"));
        f.dialog->btnDefault->click();
        f.dialog->btnOk->click();
        ConverterSettings settings(env.converterIni());
        QCOMPARE(settings.SnapOutPutDir(), DefaultOutputFolder());
        QCOMPARE(settings.JpgCmp(), 20);
        QCOMPARE(settings.Priority(), 1);
        QVERIFY(settings.SnapFullSize() && !settings.SnapSmallSize() && settings.SnapBmp() && !settings.SnapJpg());
    }

    void browseStoresAtOnce()
    {
        TestEnvironment env;
        const QString start = env.MakeFolder("snaps");
        const QString chosen = env.MakeFolder("chosen");
        env.WriteConverterIni("[settings]\nSnapOutPutDir=" + start.toUtf8() + "\n");
        ConverterSettings settings(env.converterIni());
        Fixture f;
        f.Show();

        env.dialogs.ScriptFolder("/");
        f.dialog->btnBrows->click();
        QCOMPARE(env.dialogs.messages(), QStringList{"The path / is not a valid directory."});
        QCOMPARE(f.dialog->edtSnapDirectory->text(), start);

        env.dialogs.ClearCalls();
        env.dialogs.ScriptFolder(start);
        f.dialog->btnBrows->click();
        QVERIFY(env.dialogs.messages().isEmpty());

        // Without write permission: the per-user folder, stored even though
        // the dialog is then cancelled.
        env.dialogs.ScriptFolder("/proc/sys");
        f.dialog->btnBrows->click();
        QCOMPARE(env.dialogs.messages().size(), 1);
        QVERIFY(env.dialogs.messages()[0].contains(" .You don't have permission to write to directory:/proc/sys"));
        QCOMPARE(f.dialog->edtSnapDirectory->text(), env.home() + "/varnel");
        f.dialog->btnCancel->click();
        QCOMPARE(settings.SnapOutPutDir(), env.home() + "/varnel");

        f.Show();
        env.dialogs.ScriptFolder(chosen);
        f.dialog->btnBrows->click();
        QCOMPARE(f.dialog->edtSnapDirectory->text(), chosen);
        QCOMPARE(settings.SnapOutPutDir(), chosen);
    }

    void openShowsTheStoredFolder()
    {
        TestEnvironment env;
        const QString shown = env.MakeFolder("shown");
        const QString stored = env.MakeFolder("stored");
        env.WriteConverterIni("[settings]\nSnapOutPutDir=" + shown.toUtf8() + "\n");
        Fixture f;
        f.Show();
        ConverterSettings(env.converterIni()).SetSnapOutPutDir(stored);
        f.dialog->btnOpen->click();
        QCOMPARE(env.openedFolders, QStringList{stored});
        f.dialog->edtSnapDirectory->setText("/a");
        f.dialog->btnOpen->click();
        QCOMPARE(env.openedFolders.size(), 1);
    }
};

QTEST_MAIN(PreferenceTest)
#include "PreferenceTest.moc"

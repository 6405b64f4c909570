#include "platform/SystemFolders.h"
#include "platform/Themes.h"
#include "shell/GlobalObject.h"
#include "shell/Settings.h"
#include "shell/TfrmAbout.h"
#include "shell/TfrmMain.h"
#include "support/TestEnvironment.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <QtTest>

#include <memory>

class MainWindowTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TfrmMain> ShowMainWindow()
    {
        auto window = std::make_unique<TfrmMain>();
        window->show();
        return window;
    }

private slots:
    void firstStartUsesDefaultsAndWritesBothFolders()
    {
        TestEnvironment env;
        auto window = ShowMainWindow();
        QCOMPARE(window->windowTitle(), QString("Varnel 1.100 "));
        QCOMPARE(window->size(), QSize(786, 480));
        QCOMPARE(CurrentThemeIndex(), 0);
        const QString perUser = env.home() + "/varnel";
        ConverterSettings settings(env.converterIni());
        QCOMPARE(settings.ReadText("OutPutDir", ""), perUser);
        QCOMPARE(settings.ReadText("SnapOutPutDir", ""), perUser);
        QCOMPARE(window->edDirectory->text(), perUser);
        QVERIFY(window->edDirectory->isReadOnly());
        QCOMPARE(window->CurrentFormatCode, QString("1"));
        QCOMPARE(window->CurrentFormatName, QString("iPod Video MPEG-4"));
        QCOMPARE(window->lvFiles->columnCount(), 5);
        QCOMPARE(window->lvFiles->headerItem()->text(2), QString("Trimmed Length"));
        QCOMPARE(window->lvFiles->columnWidth(3), 120);
        QVERIFY(window->imgbtnPlay->isEnabled());
        QVERIFY(!window->imgbtnPAuse->isEnabled() && !window->imgbtnStop->isEnabled() && !window->imgbtnSnap->isEnabled());
        QVERIFY(!window->trcPreview->isEnabled());
        QVERIFY(window->mmoLog->isHidden());
        QVERIFY(env.dialogs.calls().empty());
    }

    void writableFoldersAreKept()
    {
        TestEnvironment env;
        const QString out = env.MakeFolder("out");
        const QString snaps = env.MakeFolder("snaps");
        env.WriteConverterIni(("[settings]\nOutPutDir=" + out + "\nSnapOutPutDir=" + snaps + "\n").toUtf8());
        auto window = ShowMainWindow();
        QCOMPARE(window->edDirectory->text(), out);
        QCOMPARE(ConverterSettings(env.converterIni()).SnapOutPutDir(), snaps);
    }

    void startupSettings_data()
    {
        QTest::addColumn<QByteArray>("ini");
        QTest::addColumn<int>("theme");
        QTest::addColumn<int>("volume");
        QTest::addColumn<bool>("muted");
        QTest::newRow("none") << QByteArray() << 0 << 0 << false;
        QTest::newRow("green, loud") << QByteArray("skinIndex=5\nvolume=200\nmute=1\n") << 5 << 64 << true;
        QTest::newRow("skin 9, full volume") << QByteArray("skinIndex=9\nvolume=128\nmute=0\n") << 0 << 128 << false;
        QTest::newRow("mute 2 leaves the box") << QByteArray("skinIndex=6\nvolume=-3\nmute=2\n") << 6 << 64 << false;
        QTest::newRow("not numbers") << QByteArray("skinIndex=red\nvolume=x\nmute=yes\n") << 0 << 0 << false;
    }

    void startupSettings()
    {
        QFETCH(QByteArray, ini);
        QFETCH(int, theme);
        QFETCH(int, volume);
        QFETCH(bool, muted);
        TestEnvironment env;
        env.WriteConverterIni("[settings]\n" + ini);
        auto window = ShowMainWindow();
        QCOMPARE(CurrentThemeIndex(), theme);
        QCOMPARE(window->palette().color(QPalette::Window), ThemeAt(theme).window);
        QCOMPARE(window->trcVolume->maximum(), 128);
        QCOMPARE(window->trcVolume->value(), volume);
        QCOMPARE(window->ckMute->isChecked(), muted);
        window->mnuSkinPopup();
        for (int i = 0; i < kThemeCount; ++i) QCOMPARE(window->actSkins[size_t(i)]->isChecked(), i == theme);
    }

    void badSurroundingsStillStart()
    {
        // Binary garbage for an INI, a config folder nobody can write, and no HOME.
        TestEnvironment env;
        env.WriteConverterIni(QByteArray("\x00\xff\xfe[set\x01tings\nvolume=\xff\xff", 20));
        {
            auto window = ShowMainWindow();
            QCOMPARE(window->trcVolume->value(), 0);
            QCOMPARE(window->windowTitle(), QString("Varnel 1.100 "));
        }
        qputenv("VARNEL_CONFIG_DIR", "/proc/varnel-config");
        {
            auto window = ShowMainWindow();
            QCOMPARE(window->size(), QSize(786, 480));
            QVERIFY(!window->edDirectory->text().isEmpty());
        }
        qunsetenv("HOME");
        {
            auto window = ShowMainWindow();
            QVERIFY(window->isVisible());
        }
    }

    void browse()
    {
        TestEnvironment env;
        const QString chosen = env.MakeFolder("chosen");
        auto window = ShowMainWindow();
        const QString before = window->edDirectory->text();

        env.dialogs.ScriptFolder("/");
        window->btnBrowsClick();
        QCOMPARE(env.dialogs.messages(), QStringList{"The path / is not a valid directory."});
        QCOMPARE(window->edDirectory->text(), before);

        env.dialogs.ClearCalls();
        env.dialogs.ScriptFolder(before);
        window->btnBrowsClick();
        QVERIFY(env.dialogs.messages().isEmpty());

        env.dialogs.ScriptFolder(chosen);
        window->btnBrowsClick();
        QCOMPARE(window->edDirectory->text(), chosen);
        QCOMPARE(ConverterSettings(env.converterIni()).OutPutDir(), chosen);

        env.dialogs.ScriptFolder("/proc/sys");
        window->btnBrowsClick();
        QCOMPARE(env.dialogs.messages().size(), 1);
        QVERIFY(env.dialogs.messages()[0].contains(" .You don't have permission to write to directory:/proc/sys"));
        QCOMPARE(window->edDirectory->text(), env.home() + "/varnel");
        QCOMPARE(ConverterSettings(env.converterIni()).OutPutDir(), env.home() + "/varnel");

        window->btnOpenClick();
        QCOMPARE(env.openedFolders, QStringList{env.home() + "/varnel"});
    }

    void folderBoxChangesAreStored()
    {
        TestEnvironment env;
        auto window = ShowMainWindow();
        window->edDirectory->setText("/srv/out");
        QCOMPARE(ConverterSettings(env.converterIni()).OutPutDir(), QString("/srv/out"));
    }

    void volumeAndMuteAreStoredWhenTheUserChangesThem()
    {
        TestEnvironment env;
        auto window = ShowMainWindow();
        window->trcVolume->setValue(90);
        QCOMPARE(ConverterSettings(env.converterIni()).ReadText("volume", "none"), QString("none"));
        window->trcVolumeRelease();
        QCOMPARE(ConverterSettings(env.converterIni()).Volume(), 90);
        QTest::mouseClick(window->ckMute, Qt::LeftButton, {}, QPoint(8, window->ckMute->height() / 2));
        QCOMPARE(ConverterSettings(env.converterIni()).MuteValue(), 1);
    }

    void exitAsksFirst()
    {
        TestEnvironment env;
        auto window = ShowMainWindow();
        env.dialogs.ScriptButton(QMessageBox::No);
        QVERIFY(!window->close());
        QVERIFY(window->isVisible());
        QVERIFY(GlobalObject() != nullptr);
        QCOMPARE(int(env.dialogs.calls().size()), 1);
        const auto& ask = env.dialogs.calls()[0];
        QCOMPARE(ask.text, QString("Do you really want to exit?"));
        QCOMPARE(ask.caption, QString("Warning"));
        QVERIFY(ask.icon == MessageIcon::Question);
        QVERIFY(ask.buttons == (QMessageBox::Yes | QMessageBox::No));

        env.dialogs.ScriptButton(QMessageBox::Yes);
        QVERIFY(window->close());
        QVERIFY(!window->isVisible());
        QVERIFY(GlobalObject() == nullptr);
    }

    void skinMenu()
    {
        TestEnvironment env;
        {
            auto window = ShowMainWindow();
            window->mnuSkinPopup();
            QVERIFY(window->actSkins[0]->isChecked());
            window->actSkins[1]->trigger();
            QCOMPARE(CurrentThemeIndex(), 1);
            QVERIFY(window->isVisible());
            QCOMPARE(window->palette().color(QPalette::Window), ThemeAt(1).window);
            QCOMPARE(ConverterSettings(env.converterIni()).SkinIndex(), 1);
            // Choosing the checked entry again changes and writes nothing.
            ConverterSettings(env.converterIni()).SetSkinIndex(5);
            window->actSkins[1]->trigger();
            QVERIFY(window->actSkins[1]->isChecked());
            QCOMPARE(ConverterSettings(env.converterIni()).SkinIndex(), 5);
            QCOMPARE(CurrentThemeIndex(), 1);

            window->actSkins[4]->trigger();
            QCOMPARE(ConverterSettings(env.converterIni()).SkinIndex(), 4);
            for (int i = 0; i < kThemeCount; ++i) QCOMPARE(window->actSkins[size_t(i)]->isChecked(), i == 4);
            // The show step runs again: the settings are re-read.
            ConverterSettings(env.converterIni()).SetVolume(33);
            window->actSkins[2]->trigger();
            QCOMPARE(window->trcVolume->value(), 33);
        }
        // After a restart the last choice is in force.
        ConverterSettings(env.converterIni()).SetSkinIndex(4);
        auto restarted = ShowMainWindow();
        QCOMPARE(CurrentThemeIndex(), 4);
        restarted->mnuSkinPopup();
        QVERIFY(restarted->actSkins[4]->isChecked());
    }

    void helpPagesAndAboutBox()
    {
        TestEnvironment env;
        auto window = ShowMainWindow();
        window->actSkins[3]->trigger();
        window->mnuHelpClick();
        window->mnuWebSiteClick();
        window->mnuSupportClick();
        QCOMPARE(env.openedPages.size(), 3);
        QCOMPARE(env.openedPages[0], GlobalObject()->HelpUrl());
        QCOMPARE(env.openedPages[1], GlobalObject()->WebSiteUrl());

        QString shownName;
        QColor shownBackground;
        QTimer::singleShot(0, [&] {
            auto* about = window->findChild<TfrmAbout*>();
            QVERIFY(about && about->isVisible());
            shownName = about->lblAppNameVer->text();
            shownBackground = about->palette().color(QPalette::Window);
            QCOMPARE(about->size(), QSize(330, 177));
            QCOMPARE(about->windowTitle(), QString("About"));
            about->lblWebSite->linkActivated(GlobalObject()->WebSiteUrl());
            about->btnOk->click();
        });
        window->mnuAboutClick();
        QCOMPARE(shownName, QString("Varnel 1.100 "));
        QCOMPARE(shownBackground, ThemeAt(3).window);
        QCOMPARE(env.openedPages.size(), 4);
    }
};

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"

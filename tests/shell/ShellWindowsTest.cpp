#include "media/FFmpegException.h"
#include "shell/AppException.h"
#include "shell/ShellDialogs.h"
#include "shell/TfmDirectory.h"
#include "shell/TfrmCover.h"
#include "support/TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QTreeView>
#include <QtTest>

#include <functional>

namespace {

// An object whose event handler throws what the test asks for.
class Thrower : public QObject {
public:
    std::function<void()> action;
    bool event(QEvent* e) override
    {
        if (e->type() == QEvent::User) action();
        return QObject::event(e);
    }
};

} // namespace

class ShellWindowsTest : public QObject {
    Q_OBJECT

private slots:
    void exceptionsReachingTheEventLoopAreShown()
    {
        TestEnvironment env;
        QApplication::setApplicationDisplayName("Varnel");
        Thrower thrower;
        const struct {
            std::function<void()> raise;
            int messages;
            MessageIcon icon;
            QString text;
        } cases[] = {
            {[] { throw FFmpegException("Unknown input format: x"); }, 1, MessageIcon::Warning,
             "Unknown input format: x."},
            {[] { throw std::runtime_error("Out of memory!"); }, 1, MessageIcon::Error, "Out of memory!"},
            {[] { throw EAccessViolation("Access violation at address 0"); }, 0, MessageIcon::None, ""},
        };
        for (const auto& c : cases) {
            env.dialogs.ClearCalls();
            thrower.action = c.raise;
            QCoreApplication::postEvent(&thrower, new QEvent(QEvent::User));
            QCoreApplication::processEvents();
            QCOMPARE(int(env.dialogs.calls().size()), c.messages);
            if (c.messages) {
                QCOMPARE(env.dialogs.calls()[0].text, c.text);
                QCOMPARE(env.dialogs.calls()[0].caption, QString("Varnel"));
                QVERIFY(env.dialogs.calls()[0].icon == c.icon);
            }
        }
        // The program goes on: events still arrive.
        bool reached = false;
        thrower.action = [&] { reached = true; };
        QCoreApplication::postEvent(&thrower, new QEvent(QEvent::User));
        QCoreApplication::processEvents();
        QVERIFY(reached);
    }

    void coverShowsTheInstalledPictureAndClosesWhenTheMainWindowShows()
    {
        {
            TfrmCover builtIn;
            QVERIFY(!builtIn.HasLoadedPicture());
        }
        const QString path = TfrmCover::CoverPicturePath();
        QDir().mkpath(QFileInfo(path).path());
        QImage picture(200, 120, QImage::Format_RGB32);
        picture.fill(Qt::red);
        QVERIFY(picture.save(path, "JPG"));
        TfrmCover cover;
        QFile::remove(path);
        QDir().rmdir(QFileInfo(path).path());
        QVERIFY(cover.HasLoadedPicture());
        cover.show();
        QCOMPARE(cover.size(), QSize(200, 120));

        QWidget mainWindow;
        cover.WatchMainWindow(&mainWindow);
        cover.tmr1Timer();
        QVERIFY(cover.isVisible());
        mainWindow.show();
        QTRY_VERIFY_WITH_TIMEOUT(!cover.isVisible(), 3000);
    }

    void folderChooserReturnsTheSelectedFolderOnOk()
    {
        TestEnvironment env;
        const QString folder = env.MakeFolder("pick/me");
        TfmDirectory chooser(env.dialogs);
        chooser.SelectFolder(folder);
        QTRY_COMPARE(chooser.SelectedFolder(), folder);
        QVERIFY(chooser.okButton()->isEnabled());
        QTimer::singleShot(0, &chooser, [&] { chooser.btnOkClick(); });
        QCOMPARE(chooser.exec(), int(QDialog::Accepted));
        QCOMPARE(chooser.Path(), folder);

        QTimer::singleShot(0, &chooser, [&] { chooser.btnCancelClick(); });
        QCOMPARE(chooser.exec(), int(QDialog::Rejected));
        QVERIFY(chooser.Path().isEmpty());
        QVERIFY(env.dialogs.calls().empty());
    }

    void shellDialogsUseTheFolderChooser()
    {
        TestEnvironment env;
        const QString folder = env.MakeFolder("chosen");
        ShellDialogs dialogs;
        QTimer::singleShot(0, [&] {
            auto* chooser = qobject_cast<TfmDirectory*>(QApplication::activeModalWidget());
            QVERIFY(chooser);
            QTRY_COMPARE(chooser->SelectedFolder(), folder);
            chooser->btnOkClick();
        });
        QCOMPARE(dialogs.ChooseFolder(nullptr, QString(), folder), folder);
    }
};

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    VarnelApplication app(argc, argv);
    ShellWindowsTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "ShellWindowsTest.moc"

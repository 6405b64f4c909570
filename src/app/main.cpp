#include "conversion/MainWindowRun.h"
#include "effects/MainWindowWaterMark.h"
#include "platform/Dialogs.h"
#include "shell/AppException.h"
#include "shell/ShellDialogs.h"
#include "shell/TfrmCover.h"
#include "shell/TfrmMain.h"

int main(int argc, char** argv)
{
    VarnelApplication app(argc, argv);
    ShellDialogs dialogs;
    SetAppDialogs(&dialogs);

    TfrmCover cover;
    cover.show();
    cover.repaint();
    QApplication::processEvents();

    QApplication::setApplicationDisplayName(QStringLiteral("Varnel"));
    TfrmMain mainWindow;
    new MainWindowRun(mainWindow, AppDialogs());
    new MainWindowWaterMark(mainWindow, AppDialogs());
    cover.WatchMainWindow(&mainWindow);
    mainWindow.show();
    const int result = app.exec();
    SetAppDialogs(nullptr);
    return result;
}

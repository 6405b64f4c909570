#include "conversion/MainWindowRun.h"
#include "effects/MainWindowWaterMark.h"
#include "platform/Dialogs.h"
#include "profiles/MainWindowProfiles.h"
#include "shell/AppException.h"
#include "shell/ShellDialogs.h"
#include "shell/TfrmCover.h"
#include "shell/TfrmMain.h"
#include "tools/MainWindowTrimCrop.h"
#include "tools/MainWindowPreview.h"
#include "tools/MainWindowTools.h"
#include "tools/Snapshots.h"

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
    auto* run = new MainWindowRun(mainWindow, AppDialogs());
    run->SaveSnapshots = [&mainWindow](const QImage& full, const QImage& small) {
        SaveSnapshots(full, small, &mainWindow);
    };
    new MainWindowProfiles(mainWindow);
    new MainWindowPreview(mainWindow);
    new MainWindowTools(mainWindow);
    new MainWindowTrimCrop(mainWindow);
    new MainWindowWaterMark(mainWindow, AppDialogs());
    cover.WatchMainWindow(&mainWindow);
    mainWindow.show();
    const int result = app.exec();
    SetAppDialogs(nullptr);
    return result;
}

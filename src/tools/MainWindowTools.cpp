#include "tools/MainWindowTools.h"

#include "shell/SourceFileList.h"
#include "shell/TfrmMain.h"
#include "tools/TfrmFileInfo.h"
#include "tools/TfrmPreference.h"

#include <QAction>

MainWindowTools::MainWindowTools(TfrmMain& window) : QObject(&window), main_(window)
{
    connect(main_.actPreference, &QAction::triggered, this, &MainWindowTools::mnuPreferenceClick);
    connect(main_.popVideoInfo, &QAction::triggered, this, &MainWindowTools::popVideoInfoClick);
}

void MainWindowTools::mnuPreferenceClick()
{
    if (!preference_) preference_ = new TfrmPreference(&main_);
    preference_->exec();
}

void MainWindowTools::popVideoInfoClick()
{
    if (!main_.Files().HasRowsAndSelection()) return;
    if (!fileInfo_) fileInfo_ = new TfrmFileInfo(&main_, main_.Files());
    fileInfo_->exec();
}

#include "tools/MainWindowTrimCrop.h"

#include "shell/SourceFileList.h"
#include "shell/TfrmMain.h"
#include "tools/TfrmCrop.h"
#include "tools/TfrmTrim.h"

#include <QAction>

MainWindowTrimCrop::MainWindowTrimCrop(TfrmMain& window) : QObject(&window), main_(window)
{
    // Connected after the main window's own handlers, so its preview has
    // stopped by the time a tool opens the file.
    for (QAction* action : {main_.actTrim, main_.popTrim})
        connect(action, &QAction::triggered, this, &MainWindowTrimCrop::OpenTrim);
    for (QAction* action : {main_.actCrop, main_.popCrop})
        connect(action, &QAction::triggered, this, &MainWindowTrimCrop::OpenCrop);
}

void MainWindowTrimCrop::OpenTrim()
{
    if (main_.Files().IsEmpty()) return;
    if (!trim_) trim_ = new TfrmTrim(&main_, main_.Files());
    trim_->exec();
}

void MainWindowTrimCrop::OpenCrop()
{
    if (main_.Files().IsEmpty()) return;
    delete crop_;
    crop_ = new TfrmCrop(&main_, main_.Files());
    crop_->exec();
}

TfrmTrim* MainWindowTrimCrop::TrimWindow() const { return trim_; }

TfrmCrop* MainWindowTrimCrop::CropWindow() const { return crop_; }

#include "effects/MainWindowWaterMark.h"

#include "effects/TfrmWaterMark.h"
#include "shell/SourceFileList.h"
#include "shell/TfrmMain.h"

#include <QAction>

MainWindowWaterMark::MainWindowWaterMark(TfrmMain& window, Dialogs& dialogs)
    : QObject(&window), main_(window), dialogs_(dialogs)
{
    // The main window stops its preview on the same actions first.
    for (QAction* action : {main_.actVideoEffect, main_.popVideoEffect})
        connect(action, &QAction::triggered, this, &MainWindowWaterMark::WaterMark1Click);
}

TfrmWaterMark* MainWindowWaterMark::Window() const
{
    return window_;
}

void MainWindowWaterMark::WaterMark1Click()
{
    SourceFileList& files = main_.Files();
    if (files.IsEmpty()) return;
    main_.StopPreview();
    delete window_; // the window of the previous opening
    if (files.SelectedRow() < 0) files.SelectRow(0);
    TlvFilesRecord* record = files.Record(files.SelectedRow());
    if (!record) return;
    window_ = new TfrmWaterMark(&main_, *record, dialogs_);
    window_->setWindowModality(Qt::ApplicationModal);
    window_->show();
}

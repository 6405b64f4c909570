#include "conversion/MainWindowRun.h"

#include "conversion/ConversionRun.h"
#include "conversion/TfrmProgress.h"
#include "media/Bitmap24.h"
#include "media/TFFmpegVCL.h"
#include "platform/Dialogs.h"
#include "shell/GlobalObject.h"
#include "shell/SourceFileList.h"
#include "shell/TfrmMain.h"

#include <QCheckBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QToolButton>

namespace {

QImage ImageOfBitmap(const Bitmap24& bitmap)
{
    return QImage(bitmap.Bits(), bitmap.Width(), bitmap.Height(), bitmap.Stride(), QImage::Format_BGR888).copy();
}

} // namespace

MainWindowRun::MainWindowRun(TfrmMain& window, Dialogs& dialogs) : QObject(&window), main_(window), dialogs_(dialogs)
{
    connect(&main_, &TfrmMain::startRequested, this, &MainWindowRun::Start);
}

MainWindowRun::~MainWindowRun() = default;

void MainWindowRun::Start()
{
    if (main_.encoder->Working()) return;
    SourceFileList& files = main_.Files();
    if (files.CheckedCount() == 0) {
        dialogs_.Message(&main_, QStringLiteral("Please select a file by clicking the check box!"),
                         QStringLiteral("Warning"), MessageIcon::Warning);
        return;
    }
    main_.StopPreview();

    checkedRows_ = files.CheckedRows();
    std::vector<RunRow> rows;
    for (int row : checkedRows_) rows.push_back({row, files.Record(row)});

    const TGlobalObject* global = GlobalObject();
    if (!global) return;
    run_.reset(); // detaches the previous run from the engine first
    run_ = std::make_unique<ConversionRun>(*main_.encoder, global->ConverterIniPath(), global->FormatIniPath(),
                                           dialogs_, &main_);
    if (!progress_) {
        progress_ = new TfrmProgress(&main_, *main_.encoder, main_.ConvPreviewBitmap);
        progress_->mainPause = main_.btnPause;
        progress_->mainResume = main_.btnResume;
    }
    progress_->SaveSnapshots = SaveSnapshots;
    ConnectEvents();

    if (run_->Prepare(rows) == 0) {
        main_.encoder->ClearTasks();
        return;
    }
    for (QWidget* button : {static_cast<QWidget*>(main_.btnAdd), static_cast<QWidget*>(main_.btnRemove),
                            static_cast<QWidget*>(main_.btnClear), static_cast<QWidget*>(main_.btnStart)})
        button->setEnabled(false);
    main_.btnStop->setEnabled(true);
    // The last picture of an earlier run is not this run's.
    main_.ConvPreviewBitmap = QImage();
    progress_->Run();
}

void MainWindowRun::ConnectEvents()
{
    SourceFileList& files = main_.Files();
    RunEvents& events = run_->events;
    events.rowStatus = [&files](int row, const QString& text) { files.SetText(row, SourceFileList::kProgress, text); };
    events.progress = [this](const RunEvents::Progress& report) {
        progress_->progbarFile->setValue(int(std::clamp<int64_t>(report.percent, 0, 100)));
        progress_->lblTime->setText(report.currentTime);
        progress_->lblLength->setText(report.length);
        progress_->lblSize->setText(report.size);
        progress_->lblProgress->setText(report.taskNumber);
        progress_->lblOutput->setText(report.file);
    };
    events.preview = [this](const TPreviewInfo& info) {
        if (info.Bitmap && !info.Bitmap->Empty()) main_.ConvPreviewBitmap = ImageOfBitmap(*info.Bitmap);
    };
    events.taskEnded = [this](int, bool finished, const QString&, const QString&) {
        if (finished) progress_->progbarFile->setValue(100);
    };
    events.runEnded = [this] { RunEnded(); };
    events.openFolderAfterRun = [this] { return progress_->ckOpen->isChecked(); };
    events.shutDownAfterRun = [this] { return progress_->ckShutDown->isChecked(); };
}

void MainWindowRun::RunEnded()
{
    for (QWidget* button : {static_cast<QWidget*>(main_.btnAdd), static_cast<QWidget*>(main_.btnRemove),
                            static_cast<QWidget*>(main_.btnClear), static_cast<QWidget*>(main_.btnStart)})
        button->setEnabled(true);
    for (QPushButton* hidden : {main_.btnStop, main_.btnPause, main_.btnResume}) hidden->setEnabled(false);
    if (progress_->isVisible()) progress_->accept();
}

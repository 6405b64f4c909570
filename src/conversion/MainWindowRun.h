#pragma once

#include <QImage>
#include <QObject>

#include <functional>
#include <memory>
#include <vector>

class ConversionRun;
class Dialogs;
class TfrmMain;
class TfrmProgress;

// Start on the main window: the checked rows become a run shown in the
// progress window, and the run's reports land in the list and that window.
class MainWindowRun : public QObject {
public:
    MainWindowRun(TfrmMain& window, Dialogs& dialogs);
    ~MainWindowRun() override;

    void Start();
    // Created at the first Start and kept for the next ones.
    TfrmProgress* ProgressWindow() const { return progress_; }
    // The list positions of the rows of the last run, in task order.
    const std::vector<int>& CheckedRows() const { return checkedRows_; }
    // What the progress window's snapshot button writes with; set by whoever
    // owns the snapshot rules.
    std::function<void(const QImage& full, const QImage& small)> SaveSnapshots;

private:
    void ConnectEvents();
    void RunEnded();

    TfrmMain& main_;
    Dialogs& dialogs_;
    std::unique_ptr<ConversionRun> run_;
    TfrmProgress* progress_ = nullptr;
    std::vector<int> checkedRows_;
};

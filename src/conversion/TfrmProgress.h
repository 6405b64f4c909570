#pragma once

#include "shell/PictureBox.h"

#include <QDialog>
#include <QImage>

#include <functional>

class QCheckBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;
class QToolButton;
class TFFmpegVCL;

// Shown modally for a whole run: showing it starts the engine, closing it for
// any reason stops it.
class TfrmProgress : public QDialog {
    Q_OBJECT
public:
    // picture is read at every timer tick; it belongs to the main window.
    TfrmProgress(QWidget* mainWindow, TFFmpegVCL& engine, const QImage& picture);
    ~TfrmProgress() override;

    // Prepares the window for a run and shows it until the run is over.
    int Run();

    void btnPauseClick();
    void btnResumeClick();
    void btnCancelClick();
    void imgbtnSnapClick();
    void Timer1Timer();

    // The main window's hidden Pause and Resume buttons, kept in step.
    QPushButton* mainPause = nullptr;
    QPushButton* mainResume = nullptr;
    // Writes the full-size and the box-size snapshot.
    std::function<void(const QImage& full, const QImage& small)> SaveSnapshots;

    PictureBox* imgPreview;
    QLabel* lblTime;
    QLabel* lblLength;
    QLabel* lblSize;
    QLabel* lblProgress;
    QLabel* lblOutput;
    QProgressBar* progbarFile;
    QCheckBox* ckShutDown;
    QCheckBox* ckOpen;
    QPushButton* btnPause;
    QPushButton* btnResume;
    QPushButton* btnCancel;
    QToolButton* imgbtnSnap;
    QTimer* Timer1;

protected:
    void showEvent(QShowEvent* event) override;
    void done(int result) override;

private:
    void SetPauseButtons(bool paused);

    TFFmpegVCL& engine_;
    const QImage& picture_;
    bool starting_ = false;
};

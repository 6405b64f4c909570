#pragma once

#include "media/player/TFFPlayer.h"
#include "tools/PreviewRules.h"

#include <QObject>

#include <cstdint>

class TfrmMain;
class QPoint;
class QWidget;

// The main window's preview: plays the selected row of the file list into the
// grey panel, with pause, stop, seeking on the position bar, volume, mute and
// snapshots of the picture on screen. It shows the source as it is, without
// the row's trim, crop or effects.
class MainWindowPreview : public QObject {
    Q_OBJECT
public:
    explicit MainWindowPreview(TfrmMain& window);
    ~MainWindowPreview() override;

    void imgbtnPlayClick();
    void imgbtnPAuseClick();
    void imgbtnStopClick();
    void imgbtnSnapClick();
    // A release of the left mouse button over the position bar.
    void trcPreviewMouseUp();
    void trcVolumeChange(int position);
    void ckMuteChange(bool checked);

    void FFPlayerFileOpen(int64_t ADuration, int AFrameWidth, int AFrameHeight, int& AScreenWidth,
                          int& AScreenHeight);
    void FFPlayerPosition(int64_t APTS);
    void FFPlayerState(TPlayState AState);

    TFFPlayer* FFPlayer;

    bool PreviewStopped() const { return previewStopped_; }
    bool PreviewPaused() const { return previewPaused_; }
    int64_t PreviewDuration() const { return previewDuration_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Lets go of the main window: no filter, no hook, nothing playing.
    void Detach();
    void JumpToPress(const QPoint& at);
    void SetControls(PreviewState state);
    void ResetLabels();
    void FilesAdded();
    void ShowThumb(bool shown);

    TfrmMain& main_;
    QWidget* VideoPanel = nullptr;
    bool previewStopped_ = true;
    bool previewPaused_ = false;
    int64_t previewDuration_ = 0;
    // Set when a file has played to its end: it stays open, paused at its start.
    bool endedFileOpen_ = false;
    bool detached_ = false;
};

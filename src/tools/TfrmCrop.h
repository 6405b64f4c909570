#pragma once

#include "media/Bitmap24.h"
#include "media/player/TFFPlayer.h"
#include "shell/PictureBox.h"
#include "tools/CropGeometry.h"

#include <QDialog>
#include <QImage>

#include <atomic>
#include <cstdint>
#include <mutex>

class QFrame;
class QLabel;
class QListWidget;
class QPushButton;
class QSpinBox;
class QTabWidget;
class QTimer;
class QToolButton;
class SourceFileList;
class TPositionBar;
class TRectTracker;
class TCustomRectTracker;


// The crop window: plays the selected file into a hidden panel, shows the
// pictures it gets through the hook scaled into the preview, and lets the
// user frame the part to keep with a rectangle tracker or four margin boxes.
// Ok stores the margins in preview pixels and in even source pixels.
class TfrmCrop : public QDialog {
public:
    TfrmCrop(QWidget* parent, SourceFileList& files);
    ~TfrmCrop() override;

    static constexpr int kWidth = 615;
    static constexpr int kHeight = 435;
    static constexpr int kBarWidth = 376;

    void FormShow();
    void TimerTimer();
    void RectTrackerMouseDown();
    void RectTrackerMouseMove(int X, int Y);
    void spedChange(QSpinBox* box);
    void btnResetClick();
    void btnOkClick();
    void btnCancelClick();
    void imgbtnPlayClick();
    void imgbtnpauseClick();
    void trcPreviewChange();
    void FFPlayerFileOpen(int64_t ADuration, int AFrameWidth, int AFrameHeight, int& AScreenWidth,
                          int& AScreenHeight);
    void FFPlayerPosition(int64_t APTS);
    void FFPlayerState(TPlayState AState);
    void FFPlayerHook(Bitmap24& ABitmap, int64_t APTS);

    int Row() const { return row_; }
    // PicLeft, PicTop, PicWidth, PicHeight in the preview's coordinates.
    QRect PreviewRectangle() const { return {PicLeft, PicTop, PicWidth, PicHeight}; }
    CropMargins Boxes() const;
    int SourceWidth = 0;
    int SourceHeight = 0;
    bool PreviewStopped() const { return previewStopped_; }
    bool PreviewPaused() const { return previewPaused_; }

    TFFPlayer* FFPlayer;
    PictureBox* imgPreview;
    TRectTracker* RectTracker;
    QFrame* pan1;
    QLabel* lblSourceName;
    QLabel* lblPTS;
    QLabel* lblLength;
    TPositionBar* trcPreview;
    QToolButton* imgbtnPlay;
    QToolButton* imgbtnpause;
    QTabWidget* pgcCrop;
    QSpinBox* spedUp;
    QSpinBox* spedLeft;
    QSpinBox* spedDown;
    QSpinBox* spedRight;
    QPushButton* btnReset;
    QPushButton* btnDefault;
    QPushButton* btnOk;
    QPushButton* btnCancel;
    // Never shown; its selection decides the zoom mode Ok stores.
    QListWidget* lstZoom;
    QTimer* Timer;

protected:
    void showEvent(QShowEvent* event) override;
    void done(int result) override;

private:
    void SetBoxes(const CropMargins& margins);
    void PlaceTracker(const CropMargins& margins);
    void EnableCropping(bool enabled);
    void AttachPlayer();

    SourceFileList& files_;
    int row_ = -1;
    int PicLeft = 0, PicTop = 0, PicWidth = 0, PicHeight = 0;
    int AnchorTop = 0, AnchorLeft = 0;
    int LastUp = 0, LastDown = 0, LastLeft = 0, LastRight = 0;
    bool TrackerMoving = false;
    bool BarUpdating = false;
    int64_t FileDuration = 0;
    // Read by the hook on the player's decoding thread.
    std::atomic<bool> previewStopped_{true};
    std::atomic<bool> previewPaused_{true};
    std::mutex hookLock_;
    Bitmap24 HookPicture;
};

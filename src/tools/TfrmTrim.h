#pragma once

#include "media/player/TFFPlayer.h"

#include <QDialog>

#include <cstdint>

class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;
class SourceFileList;
class TPositionBar;

// The trim window: plays the selected file and lets the user mark the start
// and the end of the part to convert at the playing position. Ok writes the
// range into the row's record; nothing is stored otherwise.
class TfrmTrim : public QDialog {
public:
    TfrmTrim(QWidget* parent, SourceFileList& files);
    ~TfrmTrim() override;

    static constexpr int kWidth = 598;
    static constexpr int kHeight = 460;
    static constexpr int kBarWidth = 568;
    // How long position reports are kept off the thumb after a seek.
    static constexpr int kSeekSettleMs = 300;

    void FormShow();
    void btnSetStartClick();
    void btnSetEndClick();
    void btnDefaultClick();
    void btnOkClick();
    void btnCancelClick();
    void imgbtnPlayClick();
    void imgbtnpauseClick();
    void trcPreviewMouseDown();
    void trcPreviewMouseUp();
    void FFPlayerFileOpen(int64_t ADuration, int AFrameWidth, int AFrameHeight, int& AScreenWidth,
                          int& AScreenHeight);
    void FFPlayerPosition(int64_t APTS);
    void FFPlayerState(TPlayState AState);

    int64_t RangeStart() const { return rangeStart_; }
    int64_t RangeEnd() const { return rangeEnd_; }
    int64_t FileDuration() const { return fileDuration_; }
    bool SeekPending() const { return seekPending_; }
    // The row the window was shown for; -1 when none.
    int Row() const { return row_; }

    TFFPlayer* FFPlayer;
    QWidget* imgPreview;
    TPositionBar* trcPreview;
    QToolButton* imgbtnPlay;
    QToolButton* imgbtnpause;
    QLabel* lblPTS;
    QLabel* lblLength;
    QPushButton* btnSetStart;
    QLineEdit* edtStart;
    QPushButton* btnSetEnd;
    QLineEdit* edtTrimLength;
    QPushButton* btnDefault;
    QPushButton* btnOk;
    QPushButton* btnCancel;

protected:
    void showEvent(QShowEvent* event) override;
    void done(int result) override;

private:
    SourceFileList& files_;
    int row_ = -1;
    int64_t rangeStart_ = 0;
    int64_t rangeEnd_ = 0;
    int64_t fileDuration_ = 0;
    bool seekPending_ = false;
    // Counts seeks so that only the last one's settling clears SeekPending.
    int seekSerial_ = 0;
};

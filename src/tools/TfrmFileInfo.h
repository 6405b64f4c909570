#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class SourceFileList;
class TFFmpegVCL;

// What the probe reports about the selected source file: name, duration,
// container, picture size, bit and frame rates, and the sound's codec, bit
// rate, sample rate and channels.
class TfrmFileInfo : public QDialog {
    Q_OBJECT
public:
    // The window reads the selected row of files at every showing.
    TfrmFileInfo(QWidget* parent, SourceFileList& files);
    ~TfrmFileInfo() override;

    // Fills the window for the file of the selected row; nothing of an
    // earlier file remains.
    void FormShow();

    QLabel* lblSourceName;
    QLabel* lblFileLength;
    QLineEdit* edtFormat;
    QLineEdit* edtResloution;
    QLineEdit* edtBitRate;
    QLineEdit* edtFrameRate;
    QLineEdit* edtTotalFrame;
    QLineEdit* edtAudioForamt;
    QLineEdit* edtAudioBitRate;
    QLineEdit* edtSampleRate;
    QLineEdit* edtChannel;
    QPushButton* btnOk;
    // The window's own engine, used only to probe.
    TFFmpegVCL* CCAVC;

protected:
    void showEvent(QShowEvent* event) override;
    void done(int result) override;

private:
    void ClearFields();

    SourceFileList& files_;
};

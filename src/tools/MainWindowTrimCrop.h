#pragma once

#include <QObject>
#include <QPointer>

class TfrmCrop;
class TfrmMain;
class TfrmTrim;

// Trim and Crop on the main window: the Edit menu's and the file list
// pop-up's entries open the tool windows for the selected row, after the
// main window has stopped its preview.
class MainWindowTrimCrop : public QObject {
public:
    explicit MainWindowTrimCrop(TfrmMain& window);

    void OpenTrim();
    void OpenCrop();
    // The trim window is made at its first use and kept; the crop window is
    // made afresh every time and kept until the next one.
    TfrmTrim* TrimWindow() const;
    TfrmCrop* CropWindow() const;

private:
    TfrmMain& main_;
    QPointer<TfrmTrim> trim_;
    QPointer<TfrmCrop> crop_;
};

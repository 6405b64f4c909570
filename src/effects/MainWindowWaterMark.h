#pragma once

#include <QObject>
#include <QPointer>

class Dialogs;
class TfrmMain;
class TfrmWaterMark;

// "Video Effect & Water Mark" on the main window: opens a new watermark
// window on the selected row (the first row when none is selected).
class MainWindowWaterMark : public QObject {
public:
    MainWindowWaterMark(TfrmMain& window, Dialogs& dialogs);

    void WaterMark1Click();
    // The window of the last opening, while it exists.
    TfrmWaterMark* Window() const;

private:
    TfrmMain& main_;
    Dialogs& dialogs_;
    QPointer<TfrmWaterMark> window_;
};

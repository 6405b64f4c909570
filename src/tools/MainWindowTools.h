#pragma once

#include <QObject>

class TfrmFileInfo;
class TfrmMain;
class TfrmPreference;

// Tools > "&Preference" and the file list's "Video Infomation" on the main
// window. Both windows are created on first use and kept.
class MainWindowTools : public QObject {
    Q_OBJECT
public:
    explicit MainWindowTools(TfrmMain& window);

    void mnuPreferenceClick();
    void popVideoInfoClick();

    // Null until first used.
    TfrmPreference* Preference() const { return preference_; }
    TfrmFileInfo* FileInfo() const { return fileInfo_; }

private:
    TfrmMain& main_;
    TfrmPreference* preference_ = nullptr;
    TfrmFileInfo* fileInfo_ = nullptr;
};

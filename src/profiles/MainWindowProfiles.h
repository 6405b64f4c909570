#pragma once

#include <QObject>

class FormatPicker;
class ParameterPanel;
class TfrmMain;
class TfrmSettings;

// The output format on the main window: the format picker under the file
// list, the hidden option groups it keeps loaded, and the settings dialog
// behind the "Settings" buttons.
class MainWindowProfiles : public QObject {
    Q_OBJECT
public:
    explicit MainWindowProfiles(TfrmMain& window);

    FormatPicker* picker;
    ParameterPanel* panel;
    // Created at the first opening and kept for the next ones.
    TfrmSettings* SettingsDialog() const { return settings_; }
    TfrmSettings* EnsureSettingsDialog();

    // "Settings", "&Settings" and File > "Se&ttings": stores the list's
    // group state, then shows the dialog modally.
    void btnOptionsClick();
    void btnSettingsClick() { btnOptionsClick(); }

private:
    void SaveGroupState();

    TfrmMain& main_;
    TfrmSettings* settings_ = nullptr;
    bool built_ = false;
};

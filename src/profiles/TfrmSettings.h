#pragma once

#include <QDialog>
#include <QString>

#include <functional>

class FormatPicker;
class IniFile;
class ParameterBoxes;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;

// The settings dialog: a format picker of its own and the ten parameter
// boxes. The boxes only check what is typed; "&Ok" stores everything at once,
// "&Cancel" nothing.
class TfrmSettings : public QDialog {
    Q_OBJECT
public:
    explicit TfrmSettings(QWidget* parent = nullptr);

    QString CurrentFormatName;
    QString CurrentFormatCode;

    QLabel* lblOutputFormat;
    QLineEdit* edt1;
    QToolButton* imgbtn1;
    FormatPicker* picker;
    ParameterBoxes* boxes;
    QPushButton* btnDefault;
    QPushButton* btnOk;
    QPushButton* btnCancel;
    QComboBox* cbOutputFormat;

    // Run after "&Ok" has stored everything, before the dialog closes: the
    // main window rebuilds its format list.
    std::function<void()> onStored;

    void FormShow();
    void edt1Change();
    void cmbVideoSizeExit();
    void cmbVideoBitRateExit();
    void cmbSamplerateExit();
    void cmbAudioBitRateExit();
    void btnDefaultClick();
    void btnOkClick();
    void btnCancelClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void LoadLists();
    void SelectZoom(const IniFile& conv, const QString& section);
    void ApplyGroupRule();
    void RateExit(QComboBox* box, bool (*accepted)(const QString&), const QString& message);
    QString Section() const;

    bool showing_ = false;
};

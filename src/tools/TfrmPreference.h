#pragma once

#include <QDialog>

class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QSlider;
class QSpinBox;

// The snapshot folder, sizes, formats and JPEG quality, and the work
// priority of conversion runs.
class TfrmPreference : public QDialog {
    Q_OBJECT
public:
    explicit TfrmPreference(QWidget* parent);
    ~TfrmPreference() override;

    // Reads the stored values into the controls; runs at every showing.
    void FormShow();
    void btnBrowsClick();
    void btnOpenClick();
    void btnDefaultClick();
    void btnOkClick();

    QLineEdit* edtSnapDirectory;
    QPushButton* btnBrows;
    QPushButton* btnOpen;
    QCheckBox* ckSmallSize;
    QCheckBox* ckFullSize;
    QCheckBox* ckBmp;
    QCheckBox* ckJpg;
    QSpinBox* spedCmp;
    QSlider* trcCmp;
    QGroupBox* rdGrpPriority;
    // The four priority entries, "Idle", "Normal", "Lower", "Lowest", by index.
    QButtonGroup* priorityItems;
    QPushButton* btnDefault;
    QPushButton* btnOk;
    QPushButton* btnCancel;

    // The index of the chosen priority entry, -1 when none.
    int PriorityIndex() const;
    void SetPriorityIndex(int index);

protected:
    void showEvent(QShowEvent* event) override;

private:
    // Unchecking a box whose partner is unchecked too checks it again.
    void KeepOneChecked(QCheckBox* box, QCheckBox* partner);
};

#pragma once

#include <QDialog>

class QFileSystemModel;
class QLabel;
class QPushButton;
class QTreeView;
class Dialogs;

// The output folder chooser: a folder tree with "Ok" and "Cancel". A folder on
// read-only removable media (a CD or DVD) cannot be chosen.
class TfmDirectory : public QDialog {
    Q_OBJECT
public:
    explicit TfmDirectory(Dialogs& dialogs, QWidget* parent = nullptr);

    // The chosen folder after "Ok"; empty after "Cancel".
    const QString& Path() const { return path_; }
    // Selects the folder in the tree (and unfolds the tree down to it).
    void SelectFolder(const QString& folder);
    QString SelectedFolder() const;

    QTreeView* tree() const { return tvFolders; }
    QPushButton* okButton() const { return btnOk; }

    void btnOkClick();
    void btnCancelClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void UpdateOkButton();

    Dialogs& dialogs_;
    QString path_;
    QLabel* lblPrompt;
    QFileSystemModel* model_;
    QTreeView* tvFolders;
    QPushButton* btnOk;
    QPushButton* btnCancel;
};

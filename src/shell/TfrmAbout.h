#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

// The about box: product name and version, the rights notice and a link to
// the web site.
class TfrmAbout : public QDialog {
    Q_OBJECT
public:
    explicit TfrmAbout(QWidget* parent = nullptr);

    QLabel* lblAppNameVer;
    QLabel* lblRights1;
    QLabel* lblRights2;
    QLabel* lblWebSite;
    QPushButton* btnOk;

protected:
    void showEvent(QShowEvent* event) override;
};

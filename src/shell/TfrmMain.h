#pragma once

#include <QImage>
#include <QMainWindow>
#include <QPointer>

#include <array>

class QAction;
class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QSlider;
class QToolButton;
class QTreeWidget;
class ConverterSettings;
class TfrmAbout;

// The main window: toolbar, file list, preview, output format and folder.
class TfrmMain : public QMainWindow {
    Q_OBJECT
public:
    explicit TfrmMain(QWidget* parent = nullptr);
    ~TfrmMain() override;

    // Menu and toolbar handlers.
    void btnBrowsClick();
    void btnOpenClick();
    void edDirectoryChange();
    void mnuSkinPopup();
    void SkinItemClick(int index);
    void mnuHelpClick();
    void mnuWebSiteClick();
    void mnuSupportClick();
    void mnuAboutClick();
    void trcVolumeRelease();
    void ckMuteClick();

    // The format chosen last, as the show step read it.
    QString CurrentFormatCode;
    QString CurrentFormatName;
    // The latest converted picture, painted by the progress window.
    QImage ConvPreviewBitmap;
    bool ConvPreviewBitmapCreated = false;

    // Toolbar.
    QWidget* toolbarArea;
    QToolButton* btnAdd;
    QToolButton* btnRemove;
    QToolButton* btnClear;
    QToolButton* btnEdit;
    QToolButton* btnSettings;
    QToolButton* btnStart;
    QToolButton* btnExit;
    // Source list and preview.
    QTreeWidget* lvFiles;
    QFrame* pan1;
    QSlider* trcPreview;
    QLabel* lblTime;
    QLabel* lblPTS;
    QToolButton* imgbtnPlay;
    QToolButton* imgbtnPAuse;
    QToolButton* imgbtnStop;
    QToolButton* imgbtnSnap;
    QSlider* trcVolume;
    QCheckBox* ckMute;
    // Output format and folder.
    QLabel* lblOutputFormat;
    QLineEdit* edt1;
    QToolButton* imgbtn1;
    QPushButton* btnFormatSettings;
    QLabel* lblOutputDirectory;
    QLineEdit* edDirectory;
    QPushButton* btnBrows;
    QPushButton* btnOpen;
    QPushButton* btnStartLarge;
    // Kept hidden.
    QComboBox* cbOutputFormat;
    QPlainTextEdit* mmoLog;

    // Menus.
    QMenu* mnuFile;
    QMenu* mnuEdit;
    QMenu* mnuTools;
    QMenu* mnuSkin;
    QMenu* mnuHelp;
    QAction* actExit;
    std::array<QAction*, 7> actSkins{};

    // The skin entry checked now, -1 when none.
    int CheckedSkin() const { return checkedSkin_; }

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void FormCreate();
    void FormShow();
    void BuildMenus();
    void BuildToolbar(QWidget* central);
    void BuildFileListAndPreview(QWidget* central);
    void BuildOutputArea(QWidget* central);
    void SetListColumns();
    void CheckSkinEntry(int index);
    ConverterSettings Settings() const;

    int checkedSkin_ = -1;
    bool exitConfirmed_ = false;
    bool centred_ = false;
    QPointer<TfrmAbout> about_;
};

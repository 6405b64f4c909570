#pragma once

#include <QImage>
#include <QMainWindow>
#include <QPointer>

#include <array>
#include <deque>
#include <functional>
#include <memory>

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
class SourceFileList;
class SourceProber;
class TFFmpegVCL;
class TfrmAbout;

// The main window: toolbar, file list, preview, output format and folder.
class TfrmMain : public QMainWindow {
    Q_OBJECT
public:
    explicit TfrmMain(QWidget* parent = nullptr);
    ~TfrmMain() override;

    // Menu and toolbar handlers.
    void btnAddClick();
    void btnRemoveClick();
    void btnClearClick();
    void btnEditClick();
    void mnuCheckAllClick();
    void mnuUncheckAllClick();
    void mnuReverseCheckClick();
    void mnuCheckClick();
    void mnuUncheckClick();
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

    // Stops the preview player before a run, a tool or a clearing of the list.
    void StopPreview();
    // What StopPreview does; set by whoever runs the preview player.
    std::function<void()> OnStopPreview;
    // The pop-up menu of the file list at a point of the screen.
    void PopupFileMenu(const QPoint& globalPos);

    SourceFileList& Files() { return *files_; }
    // True while picked files are still being opened and listed.
    bool Adding() const { return !addBatches_.empty(); }
    // Set when Play was pressed on an empty list: the preview starts after the next add.
    bool PlayAfterAdd = false;

    // The main window's encoder: it opens added files and runs conversions.
    TFFmpegVCL* encoder;

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
    // Kept hidden; the progress window keeps them in step with its own.
    QPushButton* btnPause;
    QPushButton* btnResume;
    QPushButton* btnStop;
    QComboBox* cbOutputFormat;
    QPlainTextEdit* mmoLog;

    // Menus.
    QMenu* mnuFile;
    QMenu* mnuEdit;
    QMenu* mnuTools;
    QMenu* mnuSkin;
    QMenu* mnuHelp;
    QAction* actPreference;
    QAction* actAdd;
    QAction* actRemove;
    QAction* actClear;
    QAction* actStart;
    QAction* actExit;
    QAction* actCrop;
    QAction* actTrim;
    QAction* actVideoEffect;
    QAction* actCheckAll;
    QAction* actUncheckAll;
    QAction* actReverseCheck;
    QAction* actCheck;
    QAction* actUncheck;
    // The file list's pop-up menu.
    QMenu* popFiles;
    QAction* popAdd;
    QAction* popRemove;
    QAction* popClear;
    QAction* popStart;
    QAction* popCrop;
    QAction* popTrim;
    QAction* popVideoEffect;
    QAction* popVideoInfo;
    std::array<QAction*, 7> actSkins{};

    // The skin entry checked now, -1 when none.
    int CheckedSkin() const { return checkedSkin_; }

signals:
    // Any of the four Start commands.
    void startRequested();
    // The files of one Add have all been opened; those usable are listed.
    void filesAdded();
    // The show step has read the settings into the window.
    void formShown();
    // The user confirmed the exit; the settings can still be written.
    void exitConfirmed();
    // The window is about to go: what attached itself lets go of it now,
    // while its controls still exist.
    void destroying();

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
    void BuildPopupMenu();
    void UpdateEditMenu();
    void UpdatePopupMenu();
    void FileProbed(int selectionIndex, const QString& path, bool usable, qint64 durationUs);
    void AddBatchDone();
    void CheckSkinEntry(int index);
    // The toolbar and preview pictures in the colours of the current theme.
    void ApplyThemeIcons();
    ConverterSettings Settings() const;

    int checkedSkin_ = -1;
    bool exitConfirmed_ = false;
    bool centred_ = false;
    QPointer<TfrmAbout> about_;
    std::unique_ptr<SourceFileList> files_;
    SourceProber* prober_;
    // What each pending Add read when its files were picked.
    struct AddBatch {
        QString fileExt;
        QString zoomMode;
    };
    std::deque<AddBatch> addBatches_;
};

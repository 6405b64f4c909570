#include "shell/TfrmMain.h"

#include "media/TFFmpegLoader.h"
#include "media/TFFmpegVCL.h"
#include "media/player/TFFPlayer.h"
#include "platform/Dialogs.h"
#include "platform/IniFile.h"
#include "platform/ShellActions.h"
#include "platform/SystemFolders.h"
#include "platform/ThemeIcons.h"
#include "platform/Themes.h"
#include "platform/UserAndVersion.h"
#include "shell/GlobalObject.h"
#include "shell/DestinationNames.h"
#include "shell/FileListDelegate.h"
#include "shell/OutputFolder.h"
#include "shell/Settings.h"
#include "shell/SourceFileList.h"
#include "shell/SourceProber.h"
#include "shell/TfrmAbout.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFileInfo>
#include <QComboBox>
#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QSlider>
#include <QStyle>
#include <QToolButton>
#include <QTreeWidget>

namespace {

constexpr int kWindowWidth = 786;
constexpr int kWindowHeight = 480;

const QString kSourceFilter = QStringLiteral("Flash Video files (*.flv)|*.flv|All files|*");

// Where the media libraries would be looked for beside the program.
QString LibraryFolder() { return QCoreApplication::applicationDirPath() + QStringLiteral("/LibAV"); }

QToolButton* MakeToolButton(QWidget* parent, const QString& text)
{
    auto* button = new QToolButton(parent);
    button->setText(text);
    button->setIconSize(QSize(28, 28));
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setAutoRaise(true);
    return button;
}

QToolButton* MakePreviewButton(QWidget* parent, const QString& hint)
{
    auto* button = new QToolButton(parent);
    button->setToolTip(hint);
    button->setIconSize(QSize(18, 18));
    button->setAutoRaise(true);
    return button;
}

} // namespace

TfrmMain::TfrmMain(QWidget* parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("frmMain"));
    auto* central = new QWidget(this);
    setCentralWidget(central);
    encoder = new TFFmpegVCL(this);
    // The progress window shows what is being converted.
    encoder->PreviewBitmap = true;
    prober_ = new SourceProber(this);
    connect(prober_, &SourceProber::probed, this, &TfrmMain::FileProbed);
    connect(prober_, &SourceProber::batchDone, this, &TfrmMain::AddBatchDone);
    BuildMenus();
    BuildToolbar(central);
    BuildFileListAndPreview(central);
    BuildOutputArea(central);
    FormCreate();
}

TfrmMain::~TfrmMain()
{
    emit destroying();
    // The prober's thread must be gone before this window stops taking its results.
    delete prober_;
    if (!exitConfirmed_) {
        delete GlobalObject();
        SetGlobalObject(nullptr);
    }
}

ConverterSettings TfrmMain::Settings() const
{
    return ConverterSettings(GlobalObject() ? GlobalObject()->ConverterIniPath() : kConverterIniName);
}

void TfrmMain::BuildMenus()
{
    mnuFile = menuBar()->addMenu(QStringLiteral("&File"));
    actAdd = mnuFile->addAction(QStringLiteral("&Add"));
    actRemove = mnuFile->addAction(QStringLiteral("&Remove"));
    actClear = mnuFile->addAction(QStringLiteral("&Clear"));
    actStart = mnuFile->addAction(QStringLiteral("&Start"));
    connect(actAdd, &QAction::triggered, this, &TfrmMain::btnAddClick);
    connect(actRemove, &QAction::triggered, this, &TfrmMain::btnRemoveClick);
    connect(actClear, &QAction::triggered, this, &TfrmMain::btnClearClick);
    connect(actStart, &QAction::triggered, this, &TfrmMain::startRequested);
    mnuFile->addSeparator();
    QAction* settingsEntry = mnuFile->addAction(QStringLiteral("Se&ttings"));
    settingsEntry->setVisible(false);
    actExit = mnuFile->addAction(QStringLiteral("&Exit"));
    connect(actExit, &QAction::triggered, this, &QWidget::close);

    mnuEdit = menuBar()->addMenu(QStringLiteral("&Edit"));
    actCrop = mnuEdit->addAction(QStringLiteral("&Crop"));
    actTrim = mnuEdit->addAction(QStringLiteral("&Trim"));
    actVideoEffect = mnuEdit->addAction(QStringLiteral("&Video Effect && Water Mark"));
    actVideoEffect->setVisible(false);
    mnuEdit->addSeparator();
    actCheckAll = mnuEdit->addAction(QStringLiteral("&Check All"));
    actUncheckAll = mnuEdit->addAction(QStringLiteral("&Uncheck All"));
    actReverseCheck = mnuEdit->addAction(QStringLiteral("&Reverse Check"));
    mnuEdit->addSeparator();
    actCheck = mnuEdit->addAction(QStringLiteral("C&heck"));
    actUncheck = mnuEdit->addAction(QStringLiteral("U&ncheck"));
    for (QAction* tool : {actCrop, actTrim, actVideoEffect}) connect(tool, &QAction::triggered, this, &TfrmMain::StopPreview);
    connect(actCheckAll, &QAction::triggered, this, &TfrmMain::mnuCheckAllClick);
    connect(actUncheckAll, &QAction::triggered, this, &TfrmMain::mnuUncheckAllClick);
    connect(actReverseCheck, &QAction::triggered, this, &TfrmMain::mnuReverseCheckClick);
    connect(actCheck, &QAction::triggered, this, &TfrmMain::mnuCheckClick);
    connect(actUncheck, &QAction::triggered, this, &TfrmMain::mnuUncheckClick);
    connect(mnuEdit, &QMenu::aboutToShow, this, &TfrmMain::UpdateEditMenu);
    UpdateEditMenu();

    mnuTools = menuBar()->addMenu(QStringLiteral("&Tools"));
    actPreference = mnuTools->addAction(QStringLiteral("&Preference"));
    mnuSkin = mnuTools->addMenu(QStringLiteral("&Skin"));
    for (int i = 0; i < kThemeCount; ++i) {
        QAction* entry = mnuSkin->addAction(ThemeAt(i).menuText);
        entry->setCheckable(true);
        connect(entry, &QAction::triggered, this, [this, i] { SkinItemClick(i); });
        actSkins[size_t(i)] = entry;
    }
    connect(mnuSkin, &QMenu::aboutToShow, this, &TfrmMain::mnuSkinPopup);

    mnuHelp = menuBar()->addMenu(QStringLiteral("&Help"));
    connect(mnuHelp->addAction(QStringLiteral("&Help")), &QAction::triggered, this, &TfrmMain::mnuHelpClick);
    mnuHelp->addSeparator();
    connect(mnuHelp->addAction(QStringLiteral("&Web Site")), &QAction::triggered, this, &TfrmMain::mnuWebSiteClick);
    connect(mnuHelp->addAction(QStringLiteral("&Support and Contact")), &QAction::triggered, this,
            &TfrmMain::mnuSupportClick);
    connect(mnuHelp->addAction(QStringLiteral("&About")), &QAction::triggered, this, &TfrmMain::mnuAboutClick);
}

void TfrmMain::BuildToolbar(QWidget* central)
{
    toolbarArea = new QWidget(central);
    toolbarArea->setObjectName(QStringLiteral("toolbarArea"));
    toolbarArea->setAttribute(Qt::WA_StyledBackground);
    btnAdd = MakeToolButton(toolbarArea, QStringLiteral("&Add"));
    btnRemove = MakeToolButton(toolbarArea, QStringLiteral("&Remove"));
    btnClear = MakeToolButton(toolbarArea, QStringLiteral("&Clear"));
    btnEdit = MakeToolButton(toolbarArea, QStringLiteral("&Edit"));
    btnSettings = MakeToolButton(toolbarArea, QStringLiteral("&Settings"));
    btnStart = MakeToolButton(toolbarArea, QStringLiteral("&Start"));
    btnExit = MakeToolButton(toolbarArea, QStringLiteral("&Exit"));
    btnRemove->setEnabled(false);
    btnClear->setEnabled(false);
    btnStart->setEnabled(false);
    connect(btnExit, &QToolButton::clicked, this, &QWidget::close);
    connect(btnAdd, &QToolButton::clicked, this, &TfrmMain::btnAddClick);
    connect(btnRemove, &QToolButton::clicked, this, &TfrmMain::btnRemoveClick);
    connect(btnClear, &QToolButton::clicked, this, &TfrmMain::btnClearClick);
    connect(btnEdit, &QToolButton::clicked, this, &TfrmMain::btnEditClick);
    connect(btnStart, &QToolButton::clicked, this, &TfrmMain::startRequested);
}

void TfrmMain::BuildPopupMenu()
{
    popFiles = new QMenu(this);
    popAdd = popFiles->addAction(QStringLiteral("Add"));
    popRemove = popFiles->addAction(QStringLiteral("Remove"));
    popClear = popFiles->addAction(QStringLiteral("Clear"));
    popFiles->addSeparator();
    popCrop = popFiles->addAction(QStringLiteral("&Crop"));
    popTrim = popFiles->addAction(QStringLiteral("&Trim"));
    popVideoEffect = popFiles->addAction(QStringLiteral("&Video Effect && Water Mark"));
    popVideoEffect->setVisible(false);
    popVideoInfo = popFiles->addAction(QStringLiteral("Video Infomation"));
    popFiles->addSeparator();
    popStart = popFiles->addAction(QStringLiteral("Start"));
    connect(popAdd, &QAction::triggered, this, &TfrmMain::btnAddClick);
    connect(popRemove, &QAction::triggered, this, &TfrmMain::btnRemoveClick);
    connect(popClear, &QAction::triggered, this, &TfrmMain::btnClearClick);
    connect(popStart, &QAction::triggered, this, &TfrmMain::startRequested);
    for (QAction* tool : {popCrop, popTrim, popVideoEffect}) connect(tool, &QAction::triggered, this, &TfrmMain::StopPreview);
    UpdatePopupMenu();
}

void TfrmMain::BuildFileListAndPreview(QWidget* central)
{
    lvFiles = new QTreeWidget(central);
    lvFiles->setObjectName(QStringLiteral("lvFiles"));
    lvFiles->setGeometry(8, 62, 496, 300);
    lvFiles->setItemDelegate(new FileListDelegate(lvFiles));
    lvFiles->setContextMenuPolicy(Qt::CustomContextMenu);
    files_ = std::make_unique<SourceFileList>(lvFiles);
    BuildPopupMenu();
    connect(lvFiles, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { PopupFileMenu(lvFiles->viewport()->mapToGlobal(pos)); });

    // The player sits on a framed panel of its own beside the list.
    auto* previewFrame = new QFrame(central);
    previewFrame->setObjectName(QStringLiteral("previewFrame"));
    previewFrame->setGeometry(508, 62, 268, 300);

    pan1 = new QFrame(central);
    pan1->setObjectName(QStringLiteral("pan1"));
    pan1->setGeometry(514, 68, 256, 183);
    pan1->setFrameShape(QFrame::Box);
    pan1->setAutoFillBackground(true);
    QPalette grey = pan1->palette();
    grey.setColor(QPalette::Window, QColor(0x80, 0x80, 0x80));
    pan1->setPalette(grey);

    trcPreview = new QSlider(Qt::Horizontal, central);
    trcPreview->setObjectName(QStringLiteral("trcPreview"));
    trcPreview->setGeometry(514 + (256 - 213) / 2, 260, 213, 20);
    trcPreview->setTickPosition(QSlider::NoTicks);
    lblTime = new QLabel(QStringLiteral("00:00:00"), central);
    lblTime->setObjectName(QStringLiteral("lblTime"));
    lblTime->setGeometry(516, 284, 110, 18);
    lblPTS = new QLabel(QStringLiteral("00:00:00"), central);
    lblPTS->setObjectName(QStringLiteral("lblPTS"));
    lblPTS->setGeometry(658, 284, 110, 18);
    lblPTS->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    imgbtnPlay = MakePreviewButton(central, QStringLiteral("play"));
    imgbtnPAuse = MakePreviewButton(central, QStringLiteral("pause"));
    imgbtnStop = MakePreviewButton(central, QStringLiteral("stop"));
    imgbtnSnap = MakePreviewButton(central, QStringLiteral("capture image"));
    int x = 514;
    for (QToolButton* button : {imgbtnPlay, imgbtnPAuse, imgbtnStop, imgbtnSnap}) {
        button->setGeometry(x, 318, 30, 30);
        x += 32;
    }
    trcVolume = new QSlider(Qt::Horizontal, central);
    trcVolume->setGeometry(648, 323, 62, 20);
    trcVolume->setRange(0, 128);
    trcVolume->setToolTip(QStringLiteral("volume"));
    ckMute = new QCheckBox(QStringLiteral("Mute"), central);
    ckMute->setGeometry(716, 323, 56, 20);
    connect(trcVolume, &QSlider::sliderReleased, this, &TfrmMain::trcVolumeRelease);
    connect(ckMute, &QCheckBox::clicked, this, &TfrmMain::ckMuteClick);
}

void TfrmMain::BuildOutputArea(QWidget* central)
{
    lblOutputFormat = new QLabel(QStringLiteral("Output Format:"), central);
    lblOutputFormat->setGeometry(8, 374, 100, 20);
    edt1 = new QLineEdit(central);
    edt1->setObjectName(QStringLiteral("edt1"));
    edt1->setGeometry(112, 372, 310, 24);
    edt1->setReadOnly(true);
    imgbtn1 = new QToolButton(central);
    imgbtn1->setArrowType(Qt::UpArrow);
    imgbtn1->setGeometry(422, 372, 24, 24);
    btnFormatSettings = new QPushButton(QStringLiteral("Settings"), central);
    btnFormatSettings->setGeometry(472, 372, 80, 24);

    lblOutputDirectory = new QLabel(QStringLiteral("Output Directory:"), central);
    lblOutputDirectory->setGeometry(8, 406, 104, 20);
    edDirectory = new QLineEdit(central);
    edDirectory->setObjectName(QStringLiteral("edDirectory"));
    edDirectory->setGeometry(112, 404, 310, 24);
    edDirectory->setReadOnly(true);
    btnBrows = new QPushButton(QStringLiteral("Brows"), central);
    btnBrows->setGeometry(428, 404, 60, 24);
    btnOpen = new QPushButton(QStringLiteral("Open"), central);
    btnOpen->setGeometry(492, 404, 60, 24);
    connect(btnBrows, &QPushButton::clicked, this, &TfrmMain::btnBrowsClick);
    connect(btnOpen, &QPushButton::clicked, this, &TfrmMain::btnOpenClick);
    connect(edDirectory, &QLineEdit::textChanged, this, &TfrmMain::edDirectoryChange);

    btnStartLarge = new QPushButton(QStringLiteral("&Start"), central);
    btnStartLarge->setObjectName(QStringLiteral("btnStartLarge"));
    btnStartLarge->setGeometry(620, 372, 150, 56);
    QFont big = btnStartLarge->font();
    big.setPointSize(big.pointSize() + 4);
    big.setBold(true);
    btnStartLarge->setFont(big);

    btnPause = new QPushButton(QStringLiteral("Pause"), central);
    btnResume = new QPushButton(QStringLiteral("Resume"), central);
    btnStop = new QPushButton(QStringLiteral("Stop"), central);
    for (QPushButton* hidden : {btnPause, btnResume, btnStop}) {
        hidden->setEnabled(false);
        hidden->hide();
    }
    connect(btnStartLarge, &QPushButton::clicked, this, &TfrmMain::startRequested);

    cbOutputFormat = new QComboBox(central);
    cbOutputFormat->hide();
    connect(cbOutputFormat, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index >= 0) Settings().SetOutPutFormat(index);
    });
    mmoLog = new QPlainTextEdit(central);
    mmoLog->hide();
}

void TfrmMain::FormCreate()
{
    auto* global = new TGlobalObject;
    SetGlobalObject(global);
    global->SetIniPathsFromFolder(SpecialFolderPath(kCsidlCommonAppData));
    QApplication::setApplicationDisplayName(global->ProductName());

    const int skin = Settings().SkinIndex();
    SetCurrentThemeIndex(IsThemeIndex(skin) ? skin : 0);
    ApplyCurrentTheme(this);
    checkedSkin_ = CurrentThemeIndex();

    // Nothing is shown when the libraries are missing: what needs them fails on its own.
    if (!TFFPlayer::LibrariesLoaded() && !TFFPlayer::LoadLibraries(LibraryFolder()))
        mmoLog->appendPlainText(TFFmpegLoader::LastLoadError());
}

void TfrmMain::FormShow()
{
    setFixedSize(kWindowWidth, kWindowHeight);
    if (const QScreen* screen = QGuiApplication::primaryScreen(); screen && !centred_) {
        move(screen->availableGeometry().center() - QPoint(kWindowWidth / 2, kWindowHeight / 2));
        centred_ = true;
    }

    imgbtnPlay->setEnabled(true);
    imgbtnPAuse->setEnabled(false);
    imgbtnStop->setEnabled(false);
    imgbtnSnap->setEnabled(false);
    PlayAfterAdd = false;

    ApplyThemeIcons();

    const int buttonWidth = 64;
    toolbarArea->setGeometry(0, 4, kWindowWidth, 51);
    int x = 6;
    for (QToolButton* button : {btnAdd, btnRemove, btnClear, btnEdit, btnSettings, btnStart, btnExit}) {
        button->setGeometry(x, 0, buttonWidth, 51);
        x += buttonWidth + 2;
    }

    if (!ConvPreviewBitmapCreated) {
        ConvPreviewBitmap = QImage();
        ConvPreviewBitmapCreated = true;
    }
    trcPreview->setEnabled(false);

    ConverterSettings settings = Settings();
    cbOutputFormat->clear();
    cbOutputFormat->setCurrentIndex(settings.OutPutFormat());

    const QString outputFolder = CheckedFolderSetting(settings, settings::kOutPutDir);
    CheckedFolderSetting(settings, settings::kSnapOutPutDir);
    edDirectory->setText(outputFolder);

    CurrentFormatCode = settings.FormatCodeText();
    CurrentFormatName = settings.FormatName();
    edt1->setText(CurrentFormatName);

    trcVolume->setRange(0, 128);
    trcVolume->setValue(settings.Volume());
    const int mute = settings.MuteValue();
    if (mute == 1) ckMute->setChecked(true);
    else if (mute == 0) ckMute->setChecked(false);

    files_->ShowColumns();

    if (TGlobalObject* global = GlobalObject()) {
        global->SetVersionText(VersionFromResource());
        setWindowTitle(global->ProductName() + global->VersionText());
    }
    emit formShown();
}

void TfrmMain::ApplyThemeIcons()
{
    const Theme& theme = ThemeAt(CurrentThemeIndex());
    const std::pair<QToolButton*, ChromeGlyph> buttons[] = {
        {btnAdd, ChromeGlyph::Add},         {btnRemove, ChromeGlyph::Remove},  {btnClear, ChromeGlyph::Clear},
        {btnEdit, ChromeGlyph::Edit},       {btnSettings, ChromeGlyph::Settings}, {btnStart, ChromeGlyph::Start},
        {btnExit, ChromeGlyph::Exit},       {imgbtnPlay, ChromeGlyph::Play},   {imgbtnPAuse, ChromeGlyph::Pause},
        {imgbtnStop, ChromeGlyph::Stop},    {imgbtnSnap, ChromeGlyph::Snapshot},
    };
    for (const auto& [button, glyph] : buttons) button->setIcon(ThemeIcon(glyph, theme));
    setWindowIcon(ThemeIcon(ChromeGlyph::Program, theme));
}

void TfrmMain::showEvent(QShowEvent* event)
{
    if (!event->spontaneous()) FormShow();
    QMainWindow::showEvent(event);
}

void TfrmMain::closeEvent(QCloseEvent* event)
{
    if (!exitConfirmed_) {
        if (!AppDialogs().Question(this, QStringLiteral("Do you really want to exit?"), QStringLiteral("Warning"))) {
            event->ignore();
            return;
        }
        exitConfirmed_ = true;
        emit exitConfirmed();
        encoder->OnCustomHook = nullptr;
        encoder->OnProgress = nullptr;
        encoder->OnTerminate = nullptr;
        encoder->StopConversion(true);
        ConvPreviewBitmap = QImage();
        delete GlobalObject();
        SetGlobalObject(nullptr);
    }
    event->accept();
}

void TfrmMain::btnBrowsClick()
{
    const QString chosen = AppDialogs().ChooseFolder(this, QString(), QString());
    ConverterSettings settings = Settings();
    const QString shown = ApplyChosenOutputFolder(chosen, edDirectory->text(), settings, AppDialogs(), this);
    if (!shown.isNull()) edDirectory->setText(shown);
}

void TfrmMain::btnOpenClick()
{
    ConverterSettings settings = Settings();
    OpenOutputFolder(settings, edDirectory->text());
}

void TfrmMain::edDirectoryChange() { Settings().SetOutPutDir(edDirectory->text()); }

void TfrmMain::CheckSkinEntry(int index)
{
    for (int i = 0; i < kThemeCount; ++i) actSkins[size_t(i)]->setChecked(i == index);
    checkedSkin_ = index;
}

void TfrmMain::mnuSkinPopup()
{
    const int index = Settings().SkinIndex();
    if (IsThemeIndex(index)) CheckSkinEntry(index);
    else CheckSkinEntry(checkedSkin_);
}

void TfrmMain::SkinItemClick(int index)
{
    if (!IsThemeIndex(index)) return;
    if (index == checkedSkin_) {
        // The menu already ticks the entry on its own; keep it ticked.
        actSkins[size_t(index)]->setChecked(true);
        return;
    }
    hide();
    SetCurrentThemeIndex(index);
    ApplyCurrentTheme(this);
    CheckSkinEntry(index);
    show();
    Settings().SetSkinIndex(index);
}

void TfrmMain::mnuHelpClick()
{
    if (GlobalObject()) OpenWebPage(GlobalObject()->HelpUrl());
}

void TfrmMain::mnuWebSiteClick()
{
    if (GlobalObject()) OpenWebPage(GlobalObject()->WebSiteUrl());
}

void TfrmMain::mnuSupportClick()
{
    if (GlobalObject()) OpenWebPage(GlobalObject()->SupportUrl());
}

void TfrmMain::mnuAboutClick()
{
    if (!about_) about_ = new TfrmAbout(this);
    about_->exec();
}

void TfrmMain::trcVolumeRelease() { Settings().SetVolume(trcVolume->value()); }

void TfrmMain::ckMuteClick() { Settings().SetMute(ckMute->isChecked()); }

void TfrmMain::StopPreview()
{
    if (OnStopPreview) OnStopPreview();
}

void TfrmMain::btnAddClick()
{
    if (!encoder->LoadLibraries(LibraryFolder())) return;
    const QStringList picked = AppDialogs().OpenFiles(this, QStringLiteral("Open"), kSourceFilter, QString());
    if (picked.isEmpty()) return;
    encoder->ClearTasks();
    ConverterSettings settings = Settings();
    const QString section = FormatSectionName(settings.FormatCode());
    IniFile formatIni(GlobalObject() ? GlobalObject()->FormatIniPath() : kFormatIniName);
    addBatches_.push_back({formatIni.ReadString(section, QStringLiteral("FileExt"), QStringLiteral("mp4")),
                           settings.ini().ReadString(section, QStringLiteral("parazoom"), QStringLiteral("lbox"))});
    QStringList files;
    for (const QString& path : picked) files << (QFileInfo(path).isDir() ? QString() : path);
    prober_->Probe(files);
}

void TfrmMain::FileProbed(int selectionIndex, const QString& path, bool usable, qint64 durationUs)
{
    if (addBatches_.empty() || !usable || path.isEmpty() || files_->ContainsSource(path)) return;
    const AddBatch& batch = addBatches_.front();
    ConverterSettings settings = Settings();
    auto record = std::make_unique<TlvFilesRecord>();
    record->SelectionIndex = selectionIndex;
    record->SourceFile = path;
    record->DestFile = DestinationName(path, QStringLiteral("_ipod.") + batch.fileExt, settings, AppDialogs(), this);
    record->DurationSeconds = durationUs > 0 ? int32_t(durationUs / 1000000) : 0;
    record->ZoomMode = batch.zoomMode;
    btnStart->setEnabled(true);
    files_->AppendRow(std::move(record));
    btnClear->setEnabled(true);
    btnRemove->setEnabled(true);
    files_->SelectRow(0);
    lvFiles->viewport()->update();
}

void TfrmMain::AddBatchDone()
{
    if (!addBatches_.empty()) addBatches_.pop_front();
    emit filesAdded();
}

void TfrmMain::btnRemoveClick()
{
    if (!files_->RemoveSelected()) return;
    if (files_->IsEmpty()) StopPreview();
}

void TfrmMain::btnClearClick()
{
    if (files_->IsEmpty()) return;
    encoder->ClearTasks();
    files_->Clear();
    StopPreview();
}

void TfrmMain::btnEditClick() { PopupFileMenu(btnEdit->mapToGlobal(QPoint(0, btnEdit->height()))); }

void TfrmMain::PopupFileMenu(const QPoint& globalPos)
{
    UpdatePopupMenu();
    popFiles->popup(globalPos);
}

void TfrmMain::UpdateEditMenu()
{
    const bool usable = files_ && files_->HasRowsAndSelection();
    actVideoEffect->setVisible(true);
    for (QAction* action : {actCrop, actTrim, actVideoEffect, actCheckAll, actUncheckAll, actReverseCheck, actCheck,
                            actUncheck})
        action->setEnabled(usable);
}

void TfrmMain::UpdatePopupMenu()
{
    const bool usable = files_ && files_->HasRowsAndSelection();
    popVideoEffect->setVisible(true);
    for (QAction* action : {popCrop, popTrim, popVideoEffect, popVideoInfo, popRemove, popClear, popStart})
        action->setEnabled(usable);
    popAdd->setEnabled(true);
}

void TfrmMain::mnuCheckAllClick() { files_->CheckAll(); }
void TfrmMain::mnuUncheckAllClick() { files_->UncheckAll(); }
void TfrmMain::mnuReverseCheckClick() { files_->ReverseCheck(); }
void TfrmMain::mnuCheckClick() { files_->SetChecked(files_->SelectedRow(), true); }
void TfrmMain::mnuUncheckClick() { files_->SetChecked(files_->SelectedRow(), false); }

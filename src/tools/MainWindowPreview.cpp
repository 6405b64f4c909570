#include "tools/MainWindowPreview.h"

#include "media/TFFmpegLoader.h"
#include "platform/ShellActions.h"
#include "shell/SourceFileList.h"
#include "shell/TextHelpers.h"
#include "shell/TfrmMain.h"
#include "tools/Snapshots.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QSlider>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QToolButton>
#include <QTreeWidget>

#include <algorithm>
#include <cmath>

namespace {

const QString kZeroTime = QStringLiteral("00:00:00");

QImage ImageOfBitmap(const Bitmap24& bitmap)
{
    return QImage(bitmap.Bits(), bitmap.Width(), bitmap.Height(), bitmap.Stride(), QImage::Format_BGR888).copy();
}

} // namespace

MainWindowPreview::MainWindowPreview(TfrmMain& window) : QObject(&window), main_(window)
{
    FFPlayer = new TFFPlayer(this);
    FFPlayer->OnFileOpen = [this](int64_t duration, int width, int height, int& screenWidth, int& screenHeight) {
        FFPlayerFileOpen(duration, width, height, screenWidth, screenHeight);
    };
    FFPlayer->OnPosition = [this](int64_t pts) { FFPlayerPosition(pts); };
    FFPlayer->OnState = [this](TPlayState state) { FFPlayerState(state); };

    connect(main_.imgbtnPlay, &QToolButton::clicked, this, &MainWindowPreview::imgbtnPlayClick);
    connect(main_.imgbtnPAuse, &QToolButton::clicked, this, &MainWindowPreview::imgbtnPAuseClick);
    connect(main_.imgbtnStop, &QToolButton::clicked, this, &MainWindowPreview::imgbtnStopClick);
    connect(main_.imgbtnSnap, &QToolButton::clicked, this, &MainWindowPreview::imgbtnSnapClick);
    connect(main_.trcVolume, &QSlider::valueChanged, this, &MainWindowPreview::trcVolumeChange);
    connect(main_.ckMute, &QCheckBox::toggled, this, &MainWindowPreview::ckMuteChange);
    connect(main_.lvFiles, &QTreeWidget::itemDoubleClicked, this, [this] {
        if (main_.Files().SelectedRow() >= 0) imgbtnPlayClick();
    });
    connect(&main_, &TfrmMain::filesAdded, this, &MainWindowPreview::FilesAdded);
    connect(&main_, &TfrmMain::destroying, this, &MainWindowPreview::Detach);
    main_.trcPreview->installEventFilter(this);
    // Hiding the window (a skin change, closing) ends the preview: its show
    // step puts the controls back to stopped.
    main_.installEventFilter(this);
    main_.OnStopPreview = [this] { imgbtnStopClick(); };

    // The bar and the box show what was stored; the sound follows them from the start.
    FFPlayer->SetAudioVolume(main_.trcVolume->value());
    FFPlayer->SetMute(main_.ckMute->isChecked());
}

MainWindowPreview::~MainWindowPreview() { Detach(); }

void MainWindowPreview::Detach()
{
    if (detached_) return;
    detached_ = true;
    main_.removeEventFilter(this);
    main_.trcPreview->removeEventFilter(this);
    main_.OnStopPreview = nullptr;
    FFPlayer->OnFileOpen = nullptr;
    FFPlayer->OnPosition = nullptr;
    FFPlayer->OnState = nullptr;
    FFPlayer->ClosePlayback(true);
}

bool MainWindowPreview::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == main_.trcPreview && event->type() == QEvent::MouseButtonPress &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        JumpToPress(static_cast<QMouseEvent*>(event)->position().toPoint());
    } else if (watched == main_.trcPreview && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        // The slider takes the release first, so the thumb sits where it was let go.
        QMetaObject::invokeMethod(this, &MainWindowPreview::trcPreviewMouseUp, Qt::QueuedConnection);
    } else if (watched == &main_ && event->type() == QEvent::Hide && !event->spontaneous()) {
        imgbtnStopClick();
    }
    return QObject::eventFilter(watched, event);
}

void MainWindowPreview::JumpToPress(const QPoint& at)
{
    // A press beside the thumb moves the thumb there, as players do, rather
    // than a page at a time; the press then drags it from there.
    QSlider* bar = main_.trcPreview;
    QStyleOptionSlider option;
    option.initFrom(bar);
    option.orientation = bar->orientation();
    option.minimum = bar->minimum();
    option.maximum = bar->maximum();
    option.sliderPosition = bar->sliderPosition();
    option.sliderValue = bar->value();
    option.subControls = QStyle::SC_SliderGroove | QStyle::SC_SliderHandle;
    const QRect handle = bar->style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, bar);
    if (handle.contains(at)) return;
    const QRect groove = bar->style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderGroove, bar);
    const int span = groove.width() - handle.width();
    const int offset = at.x() - groove.x() - handle.width() / 2;
    bar->setValue(QStyle::sliderValueFromPosition(bar->minimum(), bar->maximum(), offset, std::max(span, 1)));
}

void MainWindowPreview::SetControls(PreviewState state)
{
    const PreviewControls controls = ControlsFor(state);
    main_.imgbtnPlay->setEnabled(controls.play);
    main_.imgbtnPAuse->setEnabled(controls.pause);
    main_.imgbtnStop->setEnabled(controls.stop);
    main_.imgbtnSnap->setEnabled(controls.snapshot);
    if (state == PreviewState::Stopped) {
        main_.trcPreview->setValue(0);
        main_.trcPreview->setEnabled(false);
    } else if (state == PreviewState::Playing) {
        main_.trcPreview->setEnabled(true);
    }
}

void MainWindowPreview::ResetLabels()
{
    main_.lblTime->setText(kZeroTime);
    main_.lblPTS->setText(kZeroTime);
}

void MainWindowPreview::ShowThumb(bool shown)
{
    QSlider* bar = main_.trcPreview;
    if (bar->property("thumbHidden").toBool() == !shown) return;
    bar->setProperty("thumbHidden", !shown);
    // Style sheet rules that test a property are looked at again only on a new polish.
    bar->style()->unpolish(bar);
    bar->style()->polish(bar);
    bar->update();
}

void MainWindowPreview::imgbtnPlayClick()
{
    if (previewPaused_) {
        previewPaused_ = false;
        previewStopped_ = false;
        SetControls(PreviewState::Playing);
        FFPlayer->ResumePlayback();
        return;
    }
    if (!TFFPlayer::LibrariesLoaded() &&
        !TFFPlayer::LoadLibraries(QCoreApplication::applicationDirPath() + QStringLiteral("/LibAV"))) {
        main_.mmoLog->appendPlainText(TFFmpegLoader::LastLoadError());
        return;
    }
    VideoPanel = main_.pan1;

    SourceFileList& files = main_.Files();
    if (files.IsEmpty()) {
        main_.PlayAfterAdd = true;
        // Files picked a moment ago are still being opened; they play once listed.
        if (!main_.Adding()) main_.btnAddClick();
        return;
    }
    if (files.SelectedRow() < 0) files.SelectRow(0);
    const int row = files.SelectedRow();
    if (row < 0) return;
    const TlvFilesRecord* record = files.Record(row);
    if (!record) return;

    if (FFPlayer->OpenAndPlay(record->SourceFile, VideoPanel)) {
        previewStopped_ = false;
        previewPaused_ = false;
        endedFileOpen_ = false;
        SetControls(PreviewState::Playing);
        return;
    }
    main_.mmoLog->appendPlainText(FFPlayer->LastErrMsg());
    // Opening closes what played before, so the controls cannot stay on a
    // file that is gone.
    if (!previewStopped_) {
        previewStopped_ = true;
        previewPaused_ = false;
        SetControls(PreviewState::Stopped);
        ResetLabels();
    }
    endedFileOpen_ = false;
}

void MainWindowPreview::imgbtnPAuseClick()
{
    if (previewPaused_) return;
    FFPlayer->PausePlayback();
    previewPaused_ = true;
    previewStopped_ = false;
    SetControls(PreviewState::Paused);
}

void MainWindowPreview::imgbtnStopClick()
{
    if (previewStopped_) {
        // A file that played to its end is still open at its first picture;
        // stopping now takes that picture off the panel too.
        if (endedFileOpen_) {
            endedFileOpen_ = false;
            FFPlayer->ClosePlayback(true);
            main_.pan1->update();
        }
        return;
    }
    FFPlayer->ClosePlayback(true);
    endedFileOpen_ = false;
    previewStopped_ = true;
    previewPaused_ = false;
    SetControls(PreviewState::Stopped);
    ResetLabels();
    main_.pan1->update();
}

void MainWindowPreview::imgbtnSnapClick()
{
    const Bitmap24 picture = FFPlayer->CurrentPicture();
    if (picture.Width() <= 0 || picture.Height() <= 0) return;
    const QImage full = ImageOfBitmap(picture);
    const QImage small = SmallSnapshot(full, main_.pan1->size());
    if (const std::optional<QString> folder = SaveSnapshots(full, small, &main_)) OpenFolderInFileManager(*folder);
}

void MainWindowPreview::trcPreviewMouseUp()
{
    if (previewStopped_ && !endedFileOpen_) return;
    const QSlider* bar = main_.trcPreview;
    FFPlayer->SeekTo(0, false, SeekTarget(bar->value(), bar->maximum(), previewDuration_));
}

void MainWindowPreview::trcVolumeChange(int position) { FFPlayer->SetAudioVolume(position); }

void MainWindowPreview::ckMuteChange(bool checked) { FFPlayer->SetMute(checked); }

void MainWindowPreview::FFPlayerFileOpen(int64_t ADuration, int AFrameWidth, int AFrameHeight, int& AScreenWidth,
                                         int& AScreenHeight)
{
    main_.mmoLog->appendPlainText(FFPlayer->AVProbe()->InfoReport());
    main_.mmoLog->appendPlainText(
        QString::asprintf("duration: %.2f, frame size: %dx%d", double(ADuration) / 1e6, AFrameWidth, AFrameHeight));
    QWidget* panel = VideoPanel ? VideoPanel : main_.pan1;
    AScreenWidth = panel->width();
    AScreenHeight = panel->height();

    previewDuration_ = ADuration;
    main_.lblPTS->setText(FormatClock(int32_t(std::llround(double(std::max<int64_t>(ADuration, 0)) / 1e6))));

    QSlider* bar = main_.trcPreview;
    bar->setMaximum(bar->width());
    bar->setSingleStep(1);
    bar->setTickInterval(1);
    ShowThumb(ADuration > 0);
    bar->setValue(0);
}

void MainWindowPreview::FFPlayerPosition(int64_t APTS)
{
    // The rewind at the end of a file reports its position too; stopped shows zero.
    if (previewStopped_) return;
    main_.lblTime->setText(FormatTimestamp(APTS));
}

void MainWindowPreview::FFPlayerState(TPlayState AState)
{
    if (AState != psEnd) return;
    main_.trcPreview->setValue(0);
    FFPlayer->SeekTo(TFFPlayer::kSeekAnyFrame, false, 0);
    FFPlayer->PausePlayback();
    previewPaused_ = false;
    previewStopped_ = true;
    endedFileOpen_ = true;
    SetControls(PreviewState::Stopped);
    ResetLabels();
}

void MainWindowPreview::FilesAdded()
{
    if (!main_.PlayAfterAdd) return;
    // Cleared first: a list still empty sets it again for the next pick.
    main_.PlayAfterAdd = false;
    imgbtnPlayClick();
}

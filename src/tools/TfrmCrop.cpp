#include "tools/TfrmCrop.h"

#include "platform/Themes.h"
#include "shell/PictureBox.h"
#include "shell/SourceFileList.h"
#include "shell/TextHelpers.h"
#include "tools/PositionBar.h"
#include "tools/RectTracker.h"

#include <QCoreApplication>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QShowEvent>
#include <QSpinBox>
#include <QStyle>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>

#include <cmath>

namespace {

const QColor kPreviewGround(166, 202, 240);

QImage ImageOf(const Bitmap24& bitmap)
{
    if (bitmap.Empty()) return {};
    return QImage(bitmap.Bits(), bitmap.Width(), bitmap.Height(), bitmap.Stride(), QImage::Format_BGR888).copy();
}

QToolButton* MakePlayerButton(QWidget* parent, QStyle::StandardPixmap icon, const QString& hint)
{
    auto* button = new QToolButton(parent);
    button->setIcon(parent->style()->standardIcon(icon));
    button->setIconSize(QSize(20, 20));
    button->setToolTip(hint);
    button->setAutoRaise(true);
    return button;
}

QPushButton* MakeButton(QWidget* parent, const QString& caption)
{
    auto* button = new QPushButton(caption, parent);
    button->setAutoDefault(false);
    return button;
}

// Its text is never typed into, so a step leaves it unselected.
class MarginBox : public QSpinBox {
public:
    using QSpinBox::QSpinBox;
    void stepBy(int steps) override
    {
        QSpinBox::stepBy(steps);
        lineEdit()->deselect();
    }
};

QSpinBox* MakeMarginBox(QWidget* parent)
{
    auto* box = new MarginBox(parent);
    box->setRange(0, 99999);
    box->setSingleStep(1);
    // The margins follow the rectangle; they are stepped, never typed.
    box->findChild<QLineEdit*>()->setReadOnly(true);
    box->setFixedWidth(70);
    return box;
}

int64_t RoundedSeconds(int64_t microseconds) { return (microseconds + 500000) / 1000000; }

} // namespace

TfrmCrop::TfrmCrop(QWidget* parent, SourceFileList& files) : QDialog(parent), files_(files)
{
    setObjectName(QStringLiteral("frmCrop"));
    setWindowTitle(QStringLiteral("Crop"));
    setModal(true);
    setFixedSize(kWidth, kHeight);

    // The player paints into this panel, which nobody sees; the window shows
    // the pictures it receives through the hook instead.
    pan1 = new QFrame(this);
    pan1->setGeometry(400, 40, 33, 41);
    pan1->hide();

    imgPreview = new PictureBox(this, kCropPreviewSize, kPreviewGround);
    imgPreview->setObjectName(QStringLiteral("imgPreview"));
    imgPreview->move(12, 12);
    RectTracker = new TRectTracker(imgPreview);
    RectTracker->hide();

    trcPreview = new TPositionBar(kBarWidth, 15, this);
    trcPreview->move(9, 272);
    imgbtnPlay = MakePlayerButton(this, QStyle::SP_MediaPlay, QStringLiteral("play"));
    imgbtnPlay->setGeometry(12, 302, 28, 28);
    imgbtnpause = MakePlayerButton(this, QStyle::SP_MediaPause, QStringLiteral("pause"));
    imgbtnpause->setGeometry(42, 302, 28, 28);

    const QStringList captions = {QStringLiteral("Source File:"), QStringLiteral("Time:"), QStringLiteral("Length:")};
    QLabel** values[] = {&lblSourceName, &lblPTS, &lblLength};
    int y = 342;
    for (int i = 0; i < 3; ++i) {
        auto* caption = new QLabel(captions[i], this);
        caption->setGeometry(12, y, 76, 18);
        *values[i] = new QLabel(this);
        (*values[i])->setGeometry(90, y, 290, 18);
        y += 24;
    }

    pgcCrop = new QTabWidget(this);
    pgcCrop->setGeometry(396, 12, 207, 318);
    auto* page = new QWidget;
    pgcCrop->addTab(page, QStringLiteral("Crop"));
    auto* group = new QGroupBox(QStringLiteral("Crop Size"), page);
    group->setGeometry(10, 12, 181, 220);
    auto* grid = new QGridLayout(group);
    grid->setContentsMargins(14, 22, 14, 12);
    grid->setVerticalSpacing(10);
    spedUp = MakeMarginBox(group);
    spedDown = MakeMarginBox(group);
    spedLeft = MakeMarginBox(group);
    spedRight = MakeMarginBox(group);
    int row = 0;
    for (auto [caption, box] : {std::pair{QStringLiteral("Up"), spedUp}, std::pair{QStringLiteral("Down"), spedDown},
                                std::pair{QStringLiteral("Left"), spedLeft}, std::pair{QStringLiteral("Right"), spedRight}}) {
        grid->addWidget(new QLabel(caption, group), row, 0);
        grid->addWidget(box, row, 1);
        ++row;
    }
    btnReset = MakeButton(group, QStringLiteral("Reset"));
    grid->addWidget(btnReset, row, 1);

    lstZoom = new QListWidget(this);
    lstZoom->addItems({QStringLiteral("Full screen"), QStringLiteral("Letterbox")});
    lstZoom->hide();

    btnDefault = MakeButton(this, QStringLiteral("&Default"));
    btnDefault->setGeometry(396, 396, 64, 26);
    btnOk = MakeButton(this, QStringLiteral("Ok"));
    btnOk->setGeometry(468, 396, 64, 26);
    btnCancel = MakeButton(this, QStringLiteral("Cancel"));
    btnCancel->setGeometry(539, 396, 64, 26);

    Timer = new QTimer(this);
    Timer->setInterval(100);
    connect(Timer, &QTimer::timeout, this, &TfrmCrop::TimerTimer);

    FFPlayer = new TFFPlayer(this);
    AttachPlayer();
    if (!TFFPlayer::LibrariesLoaded())
        TFFPlayer::LoadLibraries(QCoreApplication::applicationDirPath() + QStringLiteral("/LibAV"));

    RectTracker->OnMouseDown = [this](TCustomRectTracker*, Qt::MouseButton button, Qt::KeyboardModifiers, int, int) {
        if (button == Qt::LeftButton) RectTrackerMouseDown();
    };
    RectTracker->OnMouseMove = [this](TCustomRectTracker* tracker, Qt::KeyboardModifiers, int x, int y) {
        // Only a drag changes the rectangle; hovering leaves everything as it is.
        if (tracker->Mode() != TCustomRectTracker::dmNone) RectTrackerMouseMove(x, y);
    };
    for (QSpinBox* box : {spedUp, spedLeft, spedDown, spedRight})
        connect(box, &QSpinBox::valueChanged, this, [this, box] { spedChange(box); });
    connect(trcPreview, &QSlider::valueChanged, this, &TfrmCrop::trcPreviewChange);
    trcPreview->OnMouseUp = [this] { trcPreviewChange(); };
    connect(btnReset, &QPushButton::clicked, this, &TfrmCrop::btnResetClick);
    connect(btnDefault, &QPushButton::clicked, this, &TfrmCrop::btnResetClick);
    connect(btnOk, &QPushButton::clicked, this, &TfrmCrop::btnOkClick);
    connect(btnCancel, &QPushButton::clicked, this, &TfrmCrop::btnCancelClick);
    connect(imgbtnPlay, &QToolButton::clicked, this, &TfrmCrop::imgbtnPlayClick);
    connect(imgbtnpause, &QToolButton::clicked, this, &TfrmCrop::imgbtnpauseClick);
}

TfrmCrop::~TfrmCrop()
{
    FFPlayer->OnFileOpen = nullptr;
    FFPlayer->OnPosition = nullptr;
    FFPlayer->OnState = nullptr;
    FFPlayer->SetOnHook(nullptr);
    FFPlayer->ClosePlayback(true);
}

void TfrmCrop::AttachPlayer()
{
    FFPlayer->OnFileOpen = [this](int64_t duration, int w, int h, int& sw, int& sh) {
        FFPlayerFileOpen(duration, w, h, sw, sh);
    };
    FFPlayer->OnPosition = [this](int64_t pts) { FFPlayerPosition(pts); };
    FFPlayer->OnState = [this](TPlayState state) { FFPlayerState(state); };
    FFPlayer->SetOnHook([this](Bitmap24& bitmap, int64_t pts) { FFPlayerHook(bitmap, pts); });
    FFPlayer->SetHook(true);
}

void TfrmCrop::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous()) FormShow();
}

CropMargins TfrmCrop::Boxes() const
{
    return {spedUp->value(), spedLeft->value(), spedDown->value(), spedRight->value()};
}

void TfrmCrop::SetBoxes(const CropMargins& m)
{
    const bool moving = TrackerMoving;
    TrackerMoving = true; // programmatic values are not user steps
    spedUp->setValue(m.Up);
    spedLeft->setValue(m.Left);
    spedDown->setValue(m.Down);
    spedRight->setValue(m.Right);
    TrackerMoving = moving;
}

void TfrmCrop::PlaceTracker(const CropMargins& m)
{
    RectTracker->setGeometry(TrackerOf(m, PreviewRectangle()));
    LastUp = m.Up, LastDown = m.Down, LastLeft = m.Left, LastRight = m.Right;
    AnchorTop = RectTracker->y();
    AnchorLeft = RectTracker->x();
}

void TfrmCrop::EnableCropping(bool enabled)
{
    RectTracker->setVisible(enabled);
    RectTracker->setEnabled(enabled);
    for (QSpinBox* box : {spedUp, spedLeft, spedDown, spedRight}) box->setEnabled(enabled);
    btnReset->setEnabled(enabled);
    btnDefault->setEnabled(enabled);
}

void TfrmCrop::FormShow()
{
    setFixedSize(kWidth, kHeight);
    ApplyCurrentTheme(this);
    lblSourceName->clear();
    lblPTS->clear();
    lblLength->clear();
    previewStopped_ = true;
    previewPaused_ = true;
    imgbtnPlay->setEnabled(false);
    imgbtnpause->setEnabled(false);
    EnableCropping(false);

    row_ = files_.SelectedRow();
    if (row_ < 0 && !files_.IsEmpty()) {
        files_.SelectRow(0);
        row_ = files_.SelectedRow();
    }
    if (row_ < 0) return;
    const TlvFilesRecord* record = files_.Record(row_);
    const int zoom = ZoomIndexOf(record->ZoomMode);
    lstZoom->setCurrentRow(zoom);

    imgPreview->Clear();
    AttachPlayer();
    if (!FFPlayer->OpenAndPlay(record->SourceFile, pan1)) return;
    previewStopped_ = false;
    previewPaused_ = false;
    imgbtnPlay->setEnabled(false);
    imgbtnpause->setEnabled(true);

    TAVProbe* probe = FFPlayer->AVProbe();
    TVideoStreamInfo video;
    if (probe->VideoStreamCount() < 1 || !probe->GetVideoStreamInfo(probe->DefaultVideoStream(), video) ||
        video.Width <= 0 || video.Height <= 0) {
        SetBoxes({});
    } else {
        SourceWidth = video.Width;
        SourceHeight = video.Height;
        imgPreview->Draw(ImageOf(FFPlayer->CurrentPicture()));
        const QRect preview = PreviewRect(SourceWidth, SourceHeight, imgPreview->size());
        PicLeft = preview.left(), PicTop = preview.top(), PicWidth = preview.width(), PicHeight = preview.height();
        const CropMargins stored{record->MarginUp, record->MarginLeft, record->MarginDown, record->MarginRight};
        SetBoxes(stored);
        PlaceTracker(stored);
        EnableCropping(true);
    }
    lblSourceName->setText(CropSourceLabel(record->SourceFile));
    lblLength->setText(CropLengthText(probe->GetFileStreamInfo().Duration));
    RectTracker->update();
    Timer->start();
}

void TfrmCrop::FFPlayerFileOpen(int64_t ADuration, int, int, int&, int&)
{
    FileDuration = ADuration;
    lblLength->setText(FormatClock(int32_t(RoundedSeconds(ADuration))));
    lblPTS->setText(QStringLiteral("0.0"));
    BarUpdating = true;
    trcPreview->setMaximum(trcPreview->width());
    trcPreview->SetSelStart(0);
    trcPreview->SetSelEnd(0);
    trcPreview->SetThumbVisible(ADuration > 0);
    trcPreview->setValue(0);
    BarUpdating = false;
}

void TfrmCrop::FFPlayerPosition(int64_t APTS) { lblPTS->setText(FormatClock(int32_t(RoundedSeconds(APTS)))); }

void TfrmCrop::FFPlayerState(TPlayState AState)
{
    if (AState == psPause) {
        previewPaused_ = true;
        previewStopped_ = false;
        imgbtnPlay->setEnabled(true);
        imgbtnpause->setEnabled(false);
    } else if (AState == psEnd) {
        imgbtnPlay->setEnabled(true);
        imgbtnpause->setEnabled(false);
        previewStopped_ = true;
        FFPlayer->SeekTo(0, false, 0);
        FFPlayer->PausePlayback();
    }
}

void TfrmCrop::FFPlayerHook(Bitmap24& ABitmap, int64_t)
{
    if (previewStopped_ || previewPaused_) return;
    std::lock_guard<std::mutex> lock(hookLock_);
    HookPicture = ABitmap;
}

void TfrmCrop::TimerTimer()
{
    QImage picture;
    {
        std::lock_guard<std::mutex> lock(hookLock_);
        picture = ImageOf(HookPicture);
    }
    if (!picture.isNull()) imgPreview->Draw(picture);
}

void TfrmCrop::trcPreviewChange()
{
    if (BarUpdating || trcPreview->isSliderDown()) return;
    const int64_t target = FileDuration * trcPreview->value() / std::max(1, trcPreview->maximum());
    if (target > 0)
        FFPlayer->SeekTo(0, false, int64_t(double(trcPreview->value()) / trcPreview->maximum() * double(FileDuration)));
}

void TfrmCrop::imgbtnPlayClick()
{
    if (previewPaused_) {
        FFPlayer->ResumePlayback();
        previewPaused_ = false;
        previewStopped_ = false;
        imgbtnPlay->setEnabled(false);
        imgbtnpause->setEnabled(true);
    } else if (previewStopped_ && row_ >= 0 && row_ < files_.RowCount()) {
        const bool opened = FFPlayer->OpenAndPlay(files_.Record(row_)->SourceFile, pan1);
        if (opened) previewPaused_ = previewStopped_ = false;
        imgbtnPlay->setEnabled(false);
        imgbtnpause->setEnabled(opened);
    }
}

void TfrmCrop::imgbtnpauseClick()
{
    previewPaused_ = true;
    previewStopped_ = false;
    FFPlayer->PausePlayback();
    imgbtnPlay->setEnabled(true);
    imgbtnpause->setEnabled(false);
}

void TfrmCrop::RectTrackerMouseDown()
{
    AnchorTop = RectTracker->y();
    AnchorLeft = RectTracker->x();
}

void TfrmCrop::RectTrackerMouseMove(int X, int Y)
{
    TrackerMoving = true;
    TrackerStep step;
    step.bounds = RectTracker->geometry();
    step.mouse = QPoint(X, Y);
    step.preview = PreviewRectangle();
    step.lastBoxes = Boxes();
    step.anchor = QPoint(AnchorLeft, AnchorTop);
    const auto mode = RectTracker->Mode();
    step.leftEdgeDrag = mode == TCustomRectTracker::dmLeft || mode == TCustomRectTracker::dmTopLeft ||
                        mode == TCustomRectTracker::dmBottomLeft;
    step.topEdgeDrag = mode == TCustomRectTracker::dmTop || mode == TCustomRectTracker::dmTopLeft ||
                       mode == TCustomRectTracker::dmTopRight;
    const QRect clamped = ClampTracker(step);
    if (clamped != RectTracker->geometry()) RectTracker->setGeometry(clamped);

    CropMargins m = MarginsOf(RectTracker->geometry(), PreviewRectangle());
    m.Up = std::max(0, m.Up), m.Left = std::max(0, m.Left), m.Down = std::max(0, m.Down), m.Right = std::max(0, m.Right);
    SetBoxes(m);
    LastUp = m.Up, LastDown = m.Down, LastLeft = m.Left, LastRight = m.Right;
    TrackerMoving = false;
}

void TfrmCrop::spedChange(QSpinBox* box)
{
    if (TrackerMoving) return;
    const bool vertical = box == spedUp || box == spedDown;
    const int last = box == spedUp ? LastUp : box == spedDown ? LastDown : box == spedLeft ? LastLeft : LastRight;
    const int extent = vertical ? RectTracker->height() : RectTracker->width();
    if (extent <= TCustomRectTracker::kMinimumSize && box->value() >= last) {
        TrackerMoving = true;
        box->setValue(last);
        TrackerMoving = false;
        return;
    }
    CropMargins m = Boxes();
    m.Up = std::max(0, m.Up), m.Left = std::max(0, m.Left), m.Down = std::max(0, m.Down), m.Right = std::max(0, m.Right);
    // A larger step than one pixel must not take the rectangle below its
    // smallest size either: the changed box gives way.
    const int minimum = TCustomRectTracker::kMinimumSize;
    if (vertical && PicHeight - m.Up - m.Down < minimum)
        (box == spedUp ? m.Up : m.Down) = std::max(0, PicHeight - minimum - (box == spedUp ? m.Down : m.Up));
    if (!vertical && PicWidth - m.Left - m.Right < minimum)
        (box == spedLeft ? m.Left : m.Right) = std::max(0, PicWidth - minimum - (box == spedLeft ? m.Right : m.Left));
    SetBoxes(m);
    QRect r = RectTracker->geometry();
    if (vertical) {
        r.setRect(r.x(), PicTop + m.Up, r.width(), PicHeight - m.Down - m.Up);
        LastUp = m.Up, LastDown = m.Down;
        AnchorTop = PicTop + m.Up;
    } else {
        r.setRect(PicLeft + m.Left, r.y(), PicWidth - m.Right - m.Left, r.height());
        LastLeft = m.Left, LastRight = m.Right;
        AnchorLeft = PicLeft + m.Left;
    }
    RectTracker->setGeometry(r);
}

void TfrmCrop::btnResetClick()
{
    SetBoxes({});
    PlaceTracker({});
}

void TfrmCrop::btnOkClick()
{
    if (row_ >= 0 && row_ < files_.RowCount()) {
        TlvFilesRecord* record = files_.Record(row_);
        const CropMargins m = Boxes();
        record->MarginUp = m.Up;
        record->MarginLeft = m.Left;
        record->MarginDown = m.Down;
        record->MarginRight = m.Right;
        const SourceCrop crop = SourceCropOf(m, SourceWidth, SourceHeight, QSize(PicWidth, PicHeight));
        record->CropTop = crop.Top;
        record->CropBottom = crop.Bottom;
        record->CropLeft = crop.Left;
        record->CropRight = crop.Right;
        record->ZoomMode = ZoomModeOf(lstZoom->currentRow(), record->ZoomMode);
    }
    accept();
}

void TfrmCrop::btnCancelClick() { reject(); }

void TfrmCrop::done(int result)
{
    FFPlayer->ClosePlayback(true);
    FFPlayer->OnPosition = nullptr;
    FFPlayer->OnState = nullptr;
    FFPlayer->SetOnHook(nullptr);
    {
        std::lock_guard<std::mutex> lock(hookLock_);
        HookPicture = Bitmap24();
    }
    previewStopped_ = true;
    Timer->stop();
    QDialog::done(result);
}

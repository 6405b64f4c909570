#include "tools/TfrmTrim.h"

#include "platform/Themes.h"
#include "shell/SourceFileList.h"
#include "shell/TextHelpers.h"
#include "tools/PositionBar.h"
#include "tools/TrimRange.h"

#include <QCoreApplication>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QStyle>
#include <QTimer>
#include <QToolButton>

namespace {

QToolButton* MakePlayerButton(QWidget* parent, QStyle::StandardPixmap icon, const QString& hint)
{
    auto* button = new QToolButton(parent);
    button->setIcon(parent->style()->standardIcon(icon));
    button->setIconSize(QSize(20, 20));
    button->setToolTip(hint);
    button->setAutoRaise(true);
    return button;
}

QPushButton* MakeButton(QWidget* parent, const QString& caption, const QRect& place)
{
    auto* button = new QPushButton(caption, parent);
    button->setGeometry(place);
    button->setAutoDefault(false);
    return button;
}

QLineEdit* MakeTimeBox(QWidget* parent, const QRect& place)
{
    auto* box = new QLineEdit(parent);
    box->setReadOnly(true);
    box->setGeometry(place);
    return box;
}

} // namespace

TfrmTrim::TfrmTrim(QWidget* parent, SourceFileList& files) : QDialog(parent), files_(files)
{
    setObjectName(QStringLiteral("frmTrim"));
    setWindowTitle(QStringLiteral("Trim"));
    setModal(true);
    setFixedSize(kWidth, kHeight);

    imgPreview = new QWidget(this);
    imgPreview->setObjectName(QStringLiteral("imgPreview"));
    imgPreview->setGeometry(17, 12, 564, 275);
    imgPreview->setAutoFillBackground(true);
    QPalette black = imgPreview->palette();
    black.setColor(QPalette::Window, Qt::black);
    imgPreview->setPalette(black);

    trcPreview = new TPositionBar(kBarWidth, 25, this);
    trcPreview->move(15, 294);

    imgbtnPlay = MakePlayerButton(this, QStyle::SP_MediaPlay, QStringLiteral("play"));
    imgbtnPlay->setGeometry(17, 326, 28, 28);
    imgbtnpause = MakePlayerButton(this, QStyle::SP_MediaPause, QStringLiteral("pause"));
    imgbtnpause->setGeometry(47, 326, 28, 28);
    lblPTS = new QLabel(this);
    lblPTS->setGeometry(90, 331, 220, 18);
    lblLength = new QLabel(this);
    lblLength->setGeometry(360, 331, 221, 18);
    lblLength->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    auto* divider = new QFrame(this);
    divider->setFrameShape(QFrame::HLine);
    divider->setFrameShadow(QFrame::Sunken);
    divider->setGeometry(17, 364, 564, 2);

    btnSetStart = MakeButton(this, QStringLiteral("<- &Set Start"), QRect(17, 380, 96, 26));
    edtStart = MakeTimeBox(this, QRect(119, 381, 100, 24));
    edtTrimLength = MakeTimeBox(this, QRect(379, 381, 100, 24));
    btnSetEnd = MakeButton(this, QStringLiteral("Set &End ->"), QRect(485, 380, 96, 26));
    btnDefault = MakeButton(this, QStringLiteral("&Reset"), QRect(17, 422, 80, 26));
    btnOk = MakeButton(this, QStringLiteral("Ok"), QRect(415, 422, 80, 26));
    btnCancel = MakeButton(this, QStringLiteral("Cancel"), QRect(501, 422, 80, 26));
    auto* startCaption = new QLabel(QStringLiteral("Start"), this);
    startCaption->setGeometry(225, 384, 60, 18);
    auto* endCaption = new QLabel(QStringLiteral("End"), this);
    endCaption->setGeometry(290, 384, 83, 18);
    endCaption->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    FFPlayer = new TFFPlayer(this);
    FFPlayer->OnFileOpen = [this](int64_t duration, int w, int h, int& sw, int& sh) {
        FFPlayerFileOpen(duration, w, h, sw, sh);
    };
    FFPlayer->OnPosition = [this](int64_t pts) { FFPlayerPosition(pts); };
    FFPlayer->OnState = [this](TPlayState state) { FFPlayerState(state); };

    trcPreview->OnMouseDown = [this] { trcPreviewMouseDown(); };
    trcPreview->OnMouseUp = [this] { trcPreviewMouseUp(); };
    connect(btnSetStart, &QPushButton::clicked, this, &TfrmTrim::btnSetStartClick);
    connect(btnSetEnd, &QPushButton::clicked, this, &TfrmTrim::btnSetEndClick);
    connect(btnDefault, &QPushButton::clicked, this, &TfrmTrim::btnDefaultClick);
    connect(btnOk, &QPushButton::clicked, this, &TfrmTrim::btnOkClick);
    connect(btnCancel, &QPushButton::clicked, this, &TfrmTrim::btnCancelClick);
    connect(imgbtnPlay, &QToolButton::clicked, this, &TfrmTrim::imgbtnPlayClick);
    connect(imgbtnpause, &QToolButton::clicked, this, &TfrmTrim::imgbtnpauseClick);
}

TfrmTrim::~TfrmTrim()
{
    // The player's events call back into this window; none may arrive now.
    FFPlayer->OnFileOpen = nullptr;
    FFPlayer->OnPosition = nullptr;
    FFPlayer->OnState = nullptr;
    FFPlayer->ClosePlayback(true);
}

void TfrmTrim::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous()) FormShow();
}

void TfrmTrim::FormShow()
{
    setFixedSize(kWidth, kHeight);
    ApplyCurrentTheme(this);
    setWindowTitle(QStringLiteral("Trim"));
    lblPTS->clear();
    lblLength->clear();
    edtStart->clear();
    edtTrimLength->clear();
    rangeStart_ = rangeEnd_ = fileDuration_ = 0;
    seekPending_ = false;
    ++seekSerial_;
    trcPreview->SetSelStart(0);
    trcPreview->SetSelEnd(0);
    trcPreview->setValue(0);
    trcPreview->SetThumbVisible(false);
    trcPreview->setEnabled(true);
    imgbtnPlay->setEnabled(false);
    imgbtnpause->setEnabled(false);

    row_ = files_.SelectedRow();
    if (row_ < 0 && !files_.IsEmpty()) {
        files_.SelectRow(0);
        row_ = files_.SelectedRow();
    }
    if (row_ < 0) return;
    const TlvFilesRecord* record = files_.Record(row_);
    if (!TFFPlayer::LibrariesLoaded() &&
        !TFFPlayer::LoadLibraries(QCoreApplication::applicationDirPath() + QStringLiteral("/LibAV")))
        return;
    if (!FFPlayer->OpenAndPlay(record->SourceFile, imgPreview)) return;

    setWindowTitle(TrimCaption(record->SourceFile));
    if (record->TrimStart >= 0) rangeStart_ = record->TrimStart;
    rangeEnd_ = record->TrimLength > 0 ? record->TrimStart + record->TrimLength : fileDuration_;
    imgbtnPlay->setEnabled(false);
    imgbtnpause->setEnabled(true);
    edtStart->setText(FormatTimestamp(rangeStart_));
    edtTrimLength->setText(FormatTimestamp(rangeEnd_));
    trcPreview->SetSelStart(BarPositionOf(rangeStart_, fileDuration_, trcPreview->maximum()));
    trcPreview->SetSelEnd(BarPositionOf(rangeEnd_, fileDuration_, trcPreview->maximum()));
}

void TfrmTrim::FFPlayerFileOpen(int64_t ADuration, int, int, int& AScreenWidth, int& AScreenHeight)
{
    AScreenWidth = imgPreview->width();
    AScreenHeight = imgPreview->height();
    fileDuration_ = ADuration;
    rangeStart_ = rangeEnd_ = 0;
    edtStart->setText(QStringLiteral("0"));
    edtTrimLength->setText(QStringLiteral("0"));
    lblLength->setText(QStringLiteral("Duration:    ") + FormatTimestamp(ADuration));
    lblPTS->setText(QStringLiteral("0.0"));
    trcPreview->setMaximum(trcPreview->width());
    trcPreview->SetSelStart(0);
    trcPreview->SetSelEnd(0);
    trcPreview->SetThumbVisible(ADuration > 0);
    trcPreview->setValue(0);
}

void TfrmTrim::FFPlayerPosition(int64_t APTS)
{
    lblPTS->setText(QStringLiteral("Time:    ") + FormatTimestamp(APTS));
    if (seekPending_ || fileDuration_ <= 0) return;
    trcPreview->setValue(BarPositionOf(APTS, fileDuration_, trcPreview->maximum()));
}

void TfrmTrim::FFPlayerState(TPlayState AState)
{
    if (AState != psEnd) return;
    trcPreview->setValue(0);
    FFPlayer->SeekTo(TFFPlayer::kSeekAnyFrame, false, 0);
    FFPlayer->PausePlayback();
    imgbtnPlay->setEnabled(true);
    imgbtnpause->setEnabled(false);
    trcPreview->SetSelStart(0);
    trcPreview->SetSelEnd(0);
    trcPreview->setEnabled(false);
    lblPTS->setText(QStringLiteral("00:00:00"));
    lblLength->setText(QStringLiteral("00:00:00"));
}

void TfrmTrim::trcPreviewMouseDown()
{
    seekPending_ = true;
    ++seekSerial_;
}

void TfrmTrim::trcPreviewMouseUp()
{
    if (fileDuration_ > 0)
        FFPlayer->SeekTo(0, false, PositionOfBar(trcPreview->value(), trcPreview->maximum(), fileDuration_));
    // Reports of positions from before the seek would pull the thumb back;
    // the bar ignores them for a moment without holding up the window.
    const int serial = ++seekSerial_;
    QTimer::singleShot(kSeekSettleMs, this, [this, serial] {
        if (serial == seekSerial_) seekPending_ = false;
    });
}

void TfrmTrim::imgbtnPlayClick()
{
    FFPlayer->ResumePlayback();
    imgbtnPlay->setEnabled(false);
    imgbtnpause->setEnabled(true);
    trcPreview->setEnabled(true);
}

void TfrmTrim::imgbtnpauseClick()
{
    FFPlayer->PausePlayback();
    imgbtnpause->setEnabled(false);
    imgbtnPlay->setEnabled(true);
}

void TfrmTrim::btnSetStartClick()
{
    const int64_t position = FFPlayer->CurrentPosition();
    if (position <= 0) return;
    rangeStart_ = position;
    edtStart->setText(FormatTimestamp(position));
    trcPreview->SetSelStart(trcPreview->value());
}

void TfrmTrim::btnSetEndClick()
{
    const int64_t position = FFPlayer->CurrentPosition();
    if (position <= 0) return;
    rangeEnd_ = position;
    edtTrimLength->setText(FormatTimestamp(position));
    trcPreview->SetSelEnd(trcPreview->value());
}

void TfrmTrim::btnDefaultClick()
{
    rangeStart_ = 0;
    rangeEnd_ = fileDuration_;
    edtStart->setText(QStringLiteral("00:00:00"));
    edtTrimLength->setText(FormatTimestamp(fileDuration_));
    trcPreview->SetSelStart(0);
    trcPreview->SetSelEnd(trcPreview->maximum());
}

void TfrmTrim::btnOkClick()
{
    if (row_ >= 0 && row_ < files_.RowCount()) {
        const TrimChoice choice = ChooseTrim(rangeStart_, rangeEnd_, fileDuration_);
        TlvFilesRecord* record = files_.Record(row_);
        record->TrimStart = choice.TrimStart;
        record->TrimLength = choice.TrimLength;
        if (choice.TrimmedLengthText) files_.SetText(row_, SourceFileList::kTrimmedLength, *choice.TrimmedLengthText);
    }
    accept();
}

void TfrmTrim::btnCancelClick() { reject(); }

void TfrmTrim::done(int result)
{
    FFPlayer->ClosePlayback(false);
    QDialog::done(result);
}

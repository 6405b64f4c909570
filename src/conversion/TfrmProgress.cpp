#include "conversion/TfrmProgress.h"

#include "conversion/ProgressText.h"
#include "media/TFFmpegVCL.h"
#include "platform/Themes.h"
#include "shell/PictureBox.h"

#include <QCheckBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QShowEvent>
#include <QStyle>
#include <QTimer>
#include <QToolButton>

namespace {

constexpr int kWidth = 420;
constexpr int kHeight = 460;
constexpr int kBoxWidth = 372;
constexpr int kBoxHeight = 210;
const QColor kBoxColour(0xA6, 0xCA, 0xF0);

} // namespace

TfrmProgress::TfrmProgress(QWidget* mainWindow, TFFmpegVCL& engine, const QImage& picture)
    : QDialog(mainWindow), engine_(engine), picture_(picture)
{
    setObjectName(QStringLiteral("frmProgress"));
    setWindowTitle(QStringLiteral("Progress"));
    setModal(true);
    setFixedSize(kWidth, kHeight);

    imgPreview = new PictureBox(this, QSize(kBoxWidth, kBoxHeight), kBoxColour);
    imgPreview->move((kWidth - kBoxWidth) / 2, 16);

    const QStringList captions = {QStringLiteral("Current Time:"), QStringLiteral("Length:"),
                                  QStringLiteral("File Size:"), QStringLiteral("Progress:"), QStringLiteral("File:")};
    QLabel** values[] = {&lblTime, &lblLength, &lblSize, &lblProgress, &lblOutput};
    int y = 240;
    for (int i = 0; i < captions.size(); ++i) {
        auto* caption = new QLabel(captions[i], this);
        caption->setGeometry(24, y, 84, 18);
        *values[i] = new QLabel(this);
        (*values[i])->setGeometry(112, y, i == 4 ? 283 : 200, 18);
        y += 22;
    }
    lblOutput->setFixedWidth(283);

    progbarFile = new QProgressBar(this);
    progbarFile->setGeometry(24, 352, kBoxWidth, 20);
    progbarFile->setRange(0, 100);
    progbarFile->setTextVisible(true);

    ckShutDown = new QCheckBox(QStringLiteral("Shut down computer after conversion"), this);
    ckShutDown->setGeometry(24, 378, 300, 18);
    ckOpen = new QCheckBox(QStringLiteral("Open the output folder after conversion"), this);
    ckOpen->setGeometry(24, 398, 300, 18);

    imgbtnSnap = new QToolButton(this);
    imgbtnSnap->setIcon(style()->standardIcon(QStyle::SP_DialogSaveButton));
    imgbtnSnap->setToolTip(QStringLiteral("Save snapshot picture"));
    imgbtnSnap->setAutoRaise(true);
    imgbtnSnap->setGeometry(24, 424, 28, 28);
    btnPause = new QPushButton(QStringLiteral("Pause"), this);
    btnResume = new QPushButton(QStringLiteral("Resume"), this);
    btnCancel = new QPushButton(QStringLiteral("Cancel"), this);
    int x = kWidth - 24 - 3 * 80 - 2 * 6;
    for (QPushButton* button : {btnPause, btnResume, btnCancel}) {
        button->setGeometry(x, 426, 80, 24);
        button->setAutoDefault(false);
        x += 86;
    }

    Timer1 = new QTimer(this);
    Timer1->setInterval(100);
    connect(Timer1, &QTimer::timeout, this, &TfrmProgress::Timer1Timer);
    connect(btnPause, &QPushButton::clicked, this, &TfrmProgress::btnPauseClick);
    connect(btnResume, &QPushButton::clicked, this, &TfrmProgress::btnResumeClick);
    connect(btnCancel, &QPushButton::clicked, this, &TfrmProgress::btnCancelClick);
    connect(imgbtnSnap, &QToolButton::clicked, this, &TfrmProgress::imgbtnSnapClick);
}

TfrmProgress::~TfrmProgress() = default;

int TfrmProgress::Run()
{
    ApplyCurrentTheme(this);
    for (QLabel* value : {lblTime, lblLength, lblSize, lblProgress, lblOutput}) value->clear();
    ckOpen->setChecked(true);
    SetPauseButtons(false);
    imgPreview->Clear();
    progbarFile->setRange(0, 100);
    progbarFile->setValue(0);
    if (parentWidget()) move(parentWidget()->geometry().center() - rect().center());
    starting_ = true;
    return exec();
}

void TfrmProgress::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!starting_) return;
    starting_ = false;
    Timer1->start();
    // The run starts once the window is up and its loop is taking events.
    QTimer::singleShot(0, this, [this] {
        if (isVisible()) engine_.StartTask(1);
    });
}

void TfrmProgress::done(int result)
{
    engine_.StopConversion(true);
    Timer1->stop();
    QDialog::done(result);
}

void TfrmProgress::SetPauseButtons(bool paused)
{
    btnPause->setEnabled(!paused);
    btnResume->setEnabled(paused);
    if (mainPause) mainPause->setEnabled(!paused);
    if (mainResume) mainResume->setEnabled(paused);
}

void TfrmProgress::btnPauseClick()
{
    engine_.PauseConversion();
    SetPauseButtons(true);
}

void TfrmProgress::btnResumeClick()
{
    engine_.ResumeConversion();
    SetPauseButtons(false);
}

void TfrmProgress::btnCancelClick() { reject(); }

void TfrmProgress::imgbtnSnapClick()
{
    // Before the first picture of the run there is nothing worth writing.
    if (picture_.isNull() || !SaveSnapshots) return;
    SaveSnapshots(picture_.copy(), imgPreview->Canvas().copy());
}

void TfrmProgress::Timer1Timer()
{
    if (picture_.width() > 0 && picture_.height() > 0) imgPreview->Draw(picture_);
}

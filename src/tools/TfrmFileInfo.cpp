#include "tools/TfrmFileInfo.h"

#include "media/MediaRecords.h"
#include "media/TAVProbe.h"
#include "media/TFFmpegVCL.h"
#include "platform/Themes.h"
#include "shell/SourceFileList.h"
#include "tools/FileInfoText.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>

#include <initializer_list>

namespace {

QLineEdit* AddField(QWidget* parent, const QString& caption, int y)
{
    auto* label = new QLabel(caption, parent);
    label->setGeometry(16, y + 3, 100, 18);
    auto* box = new QLineEdit(parent);
    box->setGeometry(120, y, 250, 24);
    box->setReadOnly(true);
    return box;
}

// A figure the probe does not know (0 or less) shows as an empty box.
QString Number(int64_t value) { return value > 0 ? QString::number(value) : QString(); }

} // namespace

TfrmFileInfo::TfrmFileInfo(QWidget* parent, SourceFileList& files) : QDialog(parent), files_(files)
{
    setObjectName(QStringLiteral("frmFileInfo"));
    setWindowTitle(QStringLiteral("File infomation"));
    CCAVC = new TFFmpegVCL(this);

    auto* nameCaption = new QLabel(QStringLiteral("File Name:"), this);
    nameCaption->setGeometry(16, 16, 100, 18);
    lblSourceName = new QLabel(this);
    lblSourceName->setGeometry(120, 16, 270, 18);
    auto* lengthCaption = new QLabel(QStringLiteral("Duration:"), this);
    lengthCaption->setGeometry(16, 42, 100, 18);
    lblFileLength = new QLabel(this);
    lblFileLength->setGeometry(120, 42, 270, 18);

    auto* video = new QGroupBox(QStringLiteral("Video "), this);
    video->setGeometry(12, 72, 396, 176);
    edtFormat = AddField(video, QStringLiteral("Format:"), 22);
    edtResloution = AddField(video, QStringLiteral("Resloution:"), 52);
    edtBitRate = AddField(video, QStringLiteral("Bit Rate:"), 82);
    edtFrameRate = AddField(video, QStringLiteral("Frame Rate:"), 112);
    edtTotalFrame = AddField(video, QStringLiteral("Total Frame:"), 142);

    auto* audio = new QGroupBox(QStringLiteral("Audio"), this);
    audio->setGeometry(12, 258, 396, 146);
    edtAudioForamt = AddField(audio, QStringLiteral("Format:"), 22);
    edtAudioBitRate = AddField(audio, QStringLiteral("Bit Rate:"), 52);
    edtSampleRate = AddField(audio, QStringLiteral("Sample Rate:"), 82);
    edtChannel = AddField(audio, QStringLiteral("Channel:"), 112);

    btnOk = new QPushButton(QStringLiteral("&Ok"), this);
    btnOk->setGeometry(320, 418, 88, 28);
    btnOk->setDefault(true);
    connect(btnOk, &QPushButton::clicked, this, &QDialog::accept);
}

TfrmFileInfo::~TfrmFileInfo() = default;

void TfrmFileInfo::showEvent(QShowEvent* event)
{
    if (!event->spontaneous()) FormShow();
    QDialog::showEvent(event);
}

void TfrmFileInfo::done(int result)
{
    CCAVC->ClearTasks();
    QDialog::done(result);
}

void TfrmFileInfo::ClearFields()
{
    lblSourceName->clear();
    lblFileLength->clear();
    for (QLineEdit* box : {edtFormat, edtResloution, edtBitRate, edtFrameRate, edtTotalFrame, edtAudioForamt,
                           edtAudioBitRate, edtSampleRate, edtChannel})
        box->clear();
}

void TfrmFileInfo::FormShow()
{
    setFixedSize(420, 460);
    ApplyCurrentTheme(this);
    ClearFields();
    if (files_.IsEmpty()) return;
    const TlvFilesRecord* record = files_.Record(files_.SelectedRow());
    if (!record) return;

    CCAVC->ClearTasks();
    TInputOptions options;
    ResetInputOptions(options);
    options.InputFileName = record->SourceFile;
    const int task = CCAVC->AddTask(record->SourceFile, options);
    TAVProbe& engineProbe = *CCAVC->EngineProbe();
    if (!engineProbe.LoadFile(record->SourceFile) || task < 0) return;
    TAVProbe* inputProbe = CCAVC->InputProbe(task, 0);
    if (!inputProbe || engineProbe.VideoStreamCount() <= 0) return;

    lblSourceName->setText(ShortenedSourceName(record->SourceFile));
    lblSourceName->setToolTip(record->SourceFile);
    const int64_t duration = engineProbe.GetFileStreamInfo().Duration;
    lblFileLength->setText(MillisecondSecondsText(duration));
    edtFormat->setText(QString::fromStdString(engineProbe.FormatName()));

    const int videoStream = engineProbe.DefaultVideoStream();
    TVideoStreamInfo videoInfo;
    if (engineProbe.IsVideoStream(videoStream) && inputProbe->GetVideoStreamInfo(videoStream, videoInfo)) {
        edtResloution->setText(QString::number(videoInfo.Width) + QStringLiteral("x") +
                               QString::number(videoInfo.Height));
        edtBitRate->setText(Number(videoInfo.BitRate));
        edtFrameRate->setText(FrameRateText(videoInfo.FrameRate));
        const int64_t frames = TotalFrames(duration, videoInfo.FrameRate);
        edtTotalFrame->setText(frames >= 0 ? QString::number(frames) : QString());
    }

    const int audioStream = engineProbe.DefaultAudioStream();
    TAudioStreamInfo audioInfo;
    if (!engineProbe.IsAudioStream(audioStream) || !inputProbe->GetAudioStreamInfo(audioStream, audioInfo)) return;
    edtAudioBitRate->setText(Number(audioInfo.BitRate));
    edtSampleRate->setText(Number(audioInfo.SampleRate));
    edtChannel->setText(Number(audioInfo.Channels));
    edtAudioForamt->setText(AudioCodecText(engineProbe.InfoReport()));
}

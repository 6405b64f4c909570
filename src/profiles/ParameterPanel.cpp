#include "profiles/ParameterPanel.h"

#include "platform/Dialogs.h"
#include "platform/IniFile.h"
#include "profiles/FormatCatalogue.h"
#include "profiles/ParameterBoxes.h"
#include "profiles/ProfileValues.h"
#include "shell/AppException.h"
#include "shell/GlobalObject.h"

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QPushButton>

#include <stdexcept>

namespace {

// Sets a box without its change handlers storing anything.
class QuietScope {
public:
    explicit QuietScope(bool& flag) : flag_(flag), before_(flag) { flag_ = true; }
    ~QuietScope() { flag_ = before_; }

private:
    bool& flag_;
    bool before_;
};

void PlainMessage(QWidget* parent, const QString& text)
{
    AppDialogs().Message(parent, text, QApplication::applicationDisplayName(), MessageIcon::None);
}

} // namespace

ParameterPanel::ParameterPanel(QWidget* parent, std::function<QString()> currentCode)
    : QObject(parent), currentCode_(std::move(currentCode))
{
    boxes = new ParameterBoxes(parent, QPoint(8, 62), QPoint(236, 62), kZoomItems);
    btnDefault = new QPushButton(QStringLiteral("Default"), parent);
    btnDefault->setObjectName(QStringLiteral("btnDefault"));
    btnDefault->setGeometry(8, 330, 80, 24);
    // Nothing on the main window shows these: the settings dialog edits the
    // same values. They are kept loaded so they always hold the format's lists.
    for (QWidget* hidden : {static_cast<QWidget*>(boxes->grpVideo), static_cast<QWidget*>(boxes->grpAudio),
                            static_cast<QWidget*>(btnDefault)})
        hidden->hide();

    boxes->onExit = [this](QComboBox* box) {
        if (box == boxes->cmbVideoSize) cmbVideoSizeExit();
    };
    connect(boxes->cmbVideoSize, &QComboBox::activated, this, &ParameterPanel::cmbVideoSizeSelect);
    connect(boxes->cmbVideoBitRate, &QComboBox::currentTextChanged, this, &ParameterPanel::cmbVideoBitRateChange);
    connect(boxes->cmbSamplerate, &QComboBox::currentTextChanged, this, &ParameterPanel::cmbSamplerateChange);
    connect(boxes->cmbAudioBitRate, &QComboBox::currentTextChanged, this, &ParameterPanel::cmbAudioBitRateChange);
    connect(boxes->cmbFrameRate, &QComboBox::currentIndexChanged, this, &ParameterPanel::cmbFrameRateChange);
    connect(boxes->cmbVideoEncoder, &QComboBox::currentIndexChanged, this, &ParameterPanel::cmbVideoEncoderChange);
    connect(boxes->cmbAudioEncoder, &QComboBox::currentIndexChanged, this, &ParameterPanel::cmbAudioEncoderChange);
    connect(boxes->cmbChannel, &QComboBox::currentIndexChanged, this, &ParameterPanel::cmbChannelChange);
    connect(boxes->cmbVolume, &QComboBox::currentIndexChanged, this, &ParameterPanel::cmbVolumeChange);
    connect(boxes->cmbZoom, &QComboBox::currentIndexChanged, this, &ParameterPanel::cmbZoomChange);
    connect(btnDefault, &QPushButton::clicked, this, &ParameterPanel::btnDefaultClick);
}

QString ParameterPanel::ConverterIniPath() const
{
    return GlobalObject() ? GlobalObject()->ConverterIniPath() : QString();
}

QString ParameterPanel::FormatIniPath() const { return GlobalObject() ? GlobalObject()->FormatIniPath() : QString(); }

QString ParameterPanel::Section() const { return FormatSection(currentCode_()); }

void ParameterPanel::Write(const QString& key, const QString& value)
{
    if (const QString path = ConverterIniPath(); !path.isEmpty()) IniFile(path).WriteString(Section(), key, value);
}

void ParameterPanel::WriteIndex(const QString& key, int index) { Write(key, QString::number(index)); }

void ParameterPanel::edt1Change()
{
    if (ConverterIniPath().isEmpty()) return;
    QuietScope quiet(quiet_);
    const QString section = Section();
    const IniFile formatIni(FormatIniPath());
    const IniFile conv(ConverterIniPath());
    ParameterBoxes& b = *boxes;
    b.LoadLists(formatIni, section);

    const QString zoom = conv.ReadString(section, QStringLiteral("paraZoom"), QStringLiteral("full"));
    if (zoom != QLatin1String("null") && !zoom.isEmpty()) {
        b.cmbZoom->clear();
        b.cmbZoom->addItems(kZoomItems);
        if (const int index = ZoomIndex(zoom); index >= 0) SelectIndex(b.cmbZoom, index);
    } else {
        SetBoxUsable(b.cmbZoom, false);
    }

    SelectItemOrText(b.cmbVideoSize, conv.ReadString(section, QStringLiteral("paraVideoSize"), QStringLiteral("320x240")));
    SelectItemOrText(b.cmbVideoBitRate, conv.ReadString(section, QStringLiteral("paraVideoBitRate"), QStringLiteral("768")));
    SelectItemOrText(b.cmbSamplerate, conv.ReadString(section, QStringLiteral("paraSampleRate"), QStringLiteral("44100")));
    SelectItemOrText(b.cmbAudioBitRate, conv.ReadString(section, QStringLiteral("paraAudioBitRate"), QStringLiteral("96")));
    SelectIndex(b.cmbFrameRate, conv.ReadInteger(section, QStringLiteral("iFrameRate"), 0));
    SelectIndex(b.cmbVideoEncoder, conv.ReadInteger(section, QStringLiteral("iVideoEncoder"), 0));
    SelectIndex(b.cmbChannel, conv.ReadInteger(section, QStringLiteral("iChannel"), 0));
    SelectIndex(b.cmbVolume, conv.ReadInteger(section, QStringLiteral("iVolume"), 0));
    SelectIndex(b.cmbAudioEncoder, conv.ReadInteger(section, QStringLiteral("iAudioEncoder"), 0));
    b.FitDropDownCounts();
    b.ApplyGroupRule();
}

void ParameterPanel::cmbVideoSizeExit()
{
    QComboBox* box = boxes->cmbVideoSize;
    const QString text = box->currentText();
    const int index = qMax(0, box->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive));
    const FrameSizeCheck check = CheckFrameSize(text);
    switch (check.result) {
    case FrameSizeCheck::NotChecked:
        return;
    case FrameSizeCheck::Invalid: {
        PlainMessage(box->window(), QStringLiteral("Frame Size is not a valid value!"));
        QuietScope quiet(quiet_);
        SelectSecondItem(box);
        box->setFocus();
        return;
    }
    case FrameSizeCheck::Corrected:
        AppDialogs().Message(box->window(), FrameSizeCorrectionText(check.size), QStringLiteral("Input Error!"),
                             MessageIcon::Warning);
        {
            QuietScope quiet(quiet_);
            box->setEditText(check.size);
        }
        box->setFocus();
        break;
    case FrameSizeCheck::Valid:
        break;
    }
    WriteIndex(QStringLiteral("iVideoSize"), index);
    Write(QStringLiteral("paraVideoSize"), box->currentText());
}

void ParameterPanel::cmbVideoSizeSelect(int index)
{
    if (quiet_) return;
    WriteIndex(QStringLiteral("iVideoSize"), index);
    Write(QStringLiteral("paraVideoSize"), boxes->cmbVideoSize->currentText());
}

void ParameterPanel::RateChange(QComboBox* box, bool (*accepted)(const QString&), const QString& message,
                                const QString& indexKey, const QString& paraKey)
{
    if (quiet_) return;
    const QString text = box->currentText();
    if (accepted(text)) {
        WriteIndex(indexKey, ItemIndex(box));
        Write(paraKey, text);
        return;
    }
    PlainMessage(box->window(), message);
    QuietScope quiet(quiet_);
    SelectSecondItem(box);
    box->setFocus();
}

void ParameterPanel::cmbVideoBitRateChange()
{
    RateChange(boxes->cmbVideoBitRate, VideoBitRateAccepted, QStringLiteral("Video BitRate is not a valid value!"),
               QStringLiteral("iVideoBitRate"), QStringLiteral("paraVideoBitRate"));
}

void ParameterPanel::cmbSamplerateChange()
{
    RateChange(boxes->cmbSamplerate, SampleRateAccepted, QStringLiteral("Audio SampleRate is not a valid value!"),
               QStringLiteral("iSampleRate"), QStringLiteral("paraSampleRate"));
}

void ParameterPanel::cmbAudioBitRateChange()
{
    RateChange(boxes->cmbAudioBitRate, AudioBitRateAccepted, QStringLiteral("Audio BitRate is not a valid value!"),
               QStringLiteral("iAudioBitRate"), QStringLiteral("paraAudioBitRate"));
}

void ParameterPanel::cmbFrameRateChange()
{
    if (quiet_) return;
    WriteIndex(QStringLiteral("iFrameRate"), boxes->cmbFrameRate->currentIndex());
    Write(QStringLiteral("paraFrameRate"), boxes->cmbFrameRate->currentText());
}

void ParameterPanel::cmbVideoEncoderChange()
{
    if (quiet_) return;
    QComboBox* box = boxes->cmbVideoEncoder;
    WriteIndex(QStringLiteral("iVideoEncoder"), box->currentIndex());
    const std::optional<QString> value = VideoEncoderValue(box->currentText());
    if (!value) return;
    Write(QStringLiteral("paraVideoEncoder"), *value);
    if (box->currentText().toLower() != QLatin1String("h264")) return;
    const IniFile formatIni(FormatIniPath());
    for (const QString& key : kH264Keys) {
        const QString tuning = formatIni.ReadString(Section(), key, QString());
        if (H264KeyAccepted(key, tuning)) Write(key, tuning);
    }
}

void ParameterPanel::cmbAudioEncoderChange()
{
    if (quiet_) return;
    QComboBox* box = boxes->cmbAudioEncoder;
    WriteIndex(QStringLiteral("iAudioEncoder"), box->currentIndex());
    if (const std::optional<QString> value = AudioEncoderValue(box->currentText()))
        Write(QStringLiteral("paraAudioEncoder"), *value);
}

void ParameterPanel::cmbChannelChange()
{
    if (quiet_) return;
    QComboBox* box = boxes->cmbChannel;
    WriteIndex(QStringLiteral("iChannel"), box->currentIndex());
    if (const std::optional<QString> value = ChannelValue(box->currentText()))
        Write(QStringLiteral("paraChannel"), *value);
}

void ParameterPanel::cmbVolumeChange()
{
    if (quiet_) return;
    QComboBox* box = boxes->cmbVolume;
    // A volume item that is no number is reported and stores nothing, so
    // the index and the value of the box never disagree.
    std::optional<QString> value;
    try {
        value = VolumeValue(box->currentText());
    } catch (const std::invalid_argument& error) {
        ShowAppException(error);
        return;
    }
    WriteIndex(QStringLiteral("iVolume"), box->currentIndex());
    if (value) Write(QStringLiteral("paraVolume"), *value);
}

void ParameterPanel::cmbZoomChange()
{
    if (quiet_) return;
    const QString value = ZoomValue(boxes->cmbZoom->currentIndex());
    if (!value.isEmpty()) Write(QStringLiteral("paraZoom"), value);
}

void ParameterPanel::btnDefaultClick()
{
    if (ConverterIniPath().isEmpty()) return;
    const QString section = Section();
    const IniFile formatIni(FormatIniPath());
    const auto defaultIndex = [&](const char* key) { return formatIni.ReadInteger(section, QLatin1String(key), 0); };
    ParameterBoxes& b = *boxes;
    {
        QuietScope quiet(quiet_);
        b.LoadList(formatIni, section, QStringLiteral("VideoSize"));
        b.LoadList(formatIni, section, QStringLiteral("VideoBitRate"));
        SelectIndex(b.cmbVideoSize, defaultIndex("iVideoSize"));
        SelectIndex(b.cmbVideoBitRate, defaultIndex("iVideoBitRate"));
        SelectIndex(b.cmbFrameRate, defaultIndex("iFrameRate"));
        SelectIndex(b.cmbVideoEncoder, defaultIndex("iVideoEncoder"));
        SelectIndex(b.cmbZoom, 0);
        b.LoadList(formatIni, section, QStringLiteral("AudioBitRate"));
        b.LoadList(formatIni, section, QStringLiteral("SampleRate"));
        SelectIndex(b.cmbAudioBitRate, defaultIndex("iAudioBitRate"));
        SelectIndex(b.cmbSamplerate, defaultIndex("iSampleRate"));
        SelectIndex(b.cmbChannel, defaultIndex("iChannel"));
        SelectIndex(b.cmbVolume, defaultIndex("iVolume"));
        SelectIndex(b.cmbAudioEncoder, defaultIndex("iAudioEncoder"));
    }
    cmbVideoEncoderChange();
    cmbVideoSizeExit();
    cmbFrameRateChange();
    cmbVideoBitRateChange();
    cmbZoomChange();
    cmbAudioEncoderChange();
    cmbAudioBitRateChange();
    cmbSamplerateChange();
    cmbChannelChange();
    cmbVolumeChange();
}

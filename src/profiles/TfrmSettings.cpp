#include "profiles/TfrmSettings.h"

#include "platform/Dialogs.h"
#include "platform/IniFile.h"
#include "platform/Themes.h"
#include "profiles/FormatCatalogue.h"
#include "profiles/FormatPicker.h"
#include "profiles/ParameterBoxes.h"
#include "profiles/ParameterItemDelegate.h"
#include "profiles/ProfileValues.h"
#include "shell/AppException.h"
#include "shell/GlobalObject.h"
#include "shell/Settings.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QToolButton>

#include <stdexcept>

namespace {

constexpr int kWidth = 475;
constexpr int kHeight = 370;

QString ConverterIniPath() { return GlobalObject() ? GlobalObject()->ConverterIniPath() : kConverterIniName; }
QString FormatIniPath() { return GlobalObject() ? GlobalObject()->FormatIniPath() : kFormatIniName; }

void PlainMessage(QWidget* parent, const QString& text)
{
    AppDialogs().Message(parent, text, QApplication::applicationDisplayName(), MessageIcon::None);
}

} // namespace

TfrmSettings::TfrmSettings(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmSettings"));
    setWindowTitle(QStringLiteral("Settings"));
    setFixedSize(kWidth, kHeight);

    lblOutputFormat = new QLabel(QStringLiteral("Output Format:"), this);
    lblOutputFormat->setGeometry(14, 16, 96, 20);
    edt1 = new QLineEdit(this);
    edt1->setObjectName(QStringLiteral("edt1"));
    edt1->setReadOnly(true);
    edt1->setGeometry(112, 14, 325, 24);
    lblOutputFormat->setBuddy(edt1);
    imgbtn1 = new QToolButton(this);
    imgbtn1->setObjectName(QStringLiteral("imgbtn1"));
    imgbtn1->setArrowType(Qt::DownArrow);
    imgbtn1->setGeometry(437, 14, 24, 24);

    boxes = new ParameterBoxes(this, QPoint(14, 50), QPoint(241, 50), kDialogZoomItems);
    btnDefault = new QPushButton(QStringLiteral("&Default"), this);
    btnDefault->setGeometry(14, 328, 84, 28);
    btnOk = new QPushButton(QStringLiteral("&Ok"), this);
    btnOk->setGeometry(283, 328, 84, 28);
    btnOk->setDefault(true);
    btnCancel = new QPushButton(QStringLiteral("&Cancel"), this);
    btnCancel->setGeometry(377, 328, 84, 28);
    cbOutputFormat = new QComboBox(this);
    cbOutputFormat->setItemDelegate(new ParameterItemDelegate(cbOutputFormat));
    cbOutputFormat->hide();

    // Created last so that it lies over the boxes it opens onto.
    picker = new FormatPicker(FormatPicker::Kind::Dialog, edt1, imgbtn1, CurrentFormatName, CurrentFormatCode, this);
    setTabOrder(edt1, imgbtn1);
    setTabOrder(imgbtn1, boxes->cmbVideoSize);

    connect(edt1, &QLineEdit::textChanged, this, &TfrmSettings::edt1Change);
    boxes->onExit = [this](QComboBox* box) {
        if (box == boxes->cmbVideoSize) cmbVideoSizeExit();
        else if (box == boxes->cmbVideoBitRate) cmbVideoBitRateExit();
        else if (box == boxes->cmbSamplerate) cmbSamplerateExit();
        else if (box == boxes->cmbAudioBitRate) cmbAudioBitRateExit();
    };
    connect(btnDefault, &QPushButton::clicked, this, &TfrmSettings::btnDefaultClick);
    connect(btnOk, &QPushButton::clicked, this, &TfrmSettings::btnOkClick);
    connect(btnCancel, &QPushButton::clicked, this, &TfrmSettings::btnCancelClick);
}

void TfrmSettings::showEvent(QShowEvent* event)
{
    if (!event->spontaneous()) FormShow();
    QDialog::showEvent(event);
}

QString TfrmSettings::Section() const { return FormatSection(CurrentFormatCode); }

void TfrmSettings::FormShow()
{
    showing_ = true;
    setFixedSize(kWidth, kHeight);
    ApplyCurrentTheme(this);
    picker->BuildFormatList();

    const ConverterSettings settings(ConverterIniPath());
    CurrentFormatCode = settings.ReadText(settings::kFormatCode, QStringLiteral("1"));
    CurrentFormatName = settings.ReadText(settings::kFormatName, settings::kDefaultFormatName);

    LoadLists();
    const QString section = Section();
    const IniFile conv(ConverterIniPath());
    const struct {
        QComboBox* box;
        const char* indexKey;
        const char* paraKey;
        const char* paraDefault;
    } typed[] = {{boxes->cmbVideoSize, "iVideoSize", "paraVideoSize", "320x240"},
                 {boxes->cmbVideoBitRate, "iVideoBitRate", "paraVideoBitRate", "800"},
                 {boxes->cmbFrameRate, "iFrameRate", "paraFrameRate", "25"},
                 {boxes->cmbSamplerate, "iSampleRate", "paraSampleRate", "44100"},
                 {boxes->cmbAudioBitRate, "iAudioBitRate", "paraAudioBitRate", "96"}};
    for (const auto& t : typed) {
        const int index = conv.ReadInteger(section, QLatin1String(t.indexKey), 0);
        if (index >= 0) {
            SelectIndex(t.box, index);
        } else {
            const QString text = conv.ReadString(section, QLatin1String(t.paraKey), QLatin1String(t.paraDefault));
            // The frame rate box offers its list only: a stored rate that is
            // no item is shown as its item when there is one.
            if (t.box->isEditable()) SelectItemOrText(t.box, text);
            else SelectIndex(t.box, t.box->findText(text));
        }
    }
    for (const auto& [box, key] : {std::pair{boxes->cmbVideoEncoder, "iVideoEncoder"}, std::pair{boxes->cmbChannel, "iChannel"},
                                   std::pair{boxes->cmbVolume, "iVolume"}, std::pair{boxes->cmbAudioEncoder, "iAudioEncoder"}})
        SelectIndex(box, conv.ReadInteger(section, QLatin1String(key), 0));
    SelectZoom(conv, section);
    boxes->FitDropDownCounts();
    ApplyGroupRule();
    showing_ = false;
}

void TfrmSettings::LoadLists() { boxes->LoadLists(IniFile(FormatIniPath()), Section()); }

void TfrmSettings::SelectZoom(const IniFile& conv, const QString& section)
{
    const int index = ZoomIndex(conv.ReadString(section, QStringLiteral("paraZoom"), QStringLiteral("full")));
    if (index >= 0) SelectIndex(boxes->cmbZoom, index);
}

void TfrmSettings::ApplyGroupRule()
{
    boxes->ApplyGroupRule();
    if (boxes->cmbAudioBitRate->count() == 0) SetBoxUsable(boxes->cmbAudioBitRate, false);
}

void TfrmSettings::edt1Change()
{
    if (showing_) return; // the showing loads everything itself
    LoadLists();
    const QString section = Section();
    const IniFile conv(ConverterIniPath());
    for (const auto& [box, key] :
         {std::pair{boxes->cmbVideoSize, "iVideoSize"}, std::pair{boxes->cmbVideoBitRate, "iVideoBitRate"},
          std::pair{boxes->cmbFrameRate, "iFrameRate"}, std::pair{boxes->cmbSamplerate, "iSampleRate"},
          std::pair{boxes->cmbAudioBitRate, "iAudioBitRate"}, std::pair{boxes->cmbVideoEncoder, "iVideoEncoder"},
          std::pair{boxes->cmbChannel, "iChannel"}, std::pair{boxes->cmbVolume, "iVolume"},
          std::pair{boxes->cmbAudioEncoder, "iAudioEncoder"}})
        SelectIndex(box, conv.ReadInteger(section, QLatin1String(key), 0));
    SelectZoom(conv, section);
    boxes->FitDropDownCounts();
    ApplyGroupRule();
}

void TfrmSettings::cmbVideoSizeExit()
{
    QComboBox* box = boxes->cmbVideoSize;
    const FrameSizeCheck check = CheckFrameSize(box->currentText());
    if (check.result == FrameSizeCheck::Invalid) {
        PlainMessage(this, QStringLiteral("Frame Size is not a valid value!"));
        SelectSecondItem(box);
    } else if (check.result == FrameSizeCheck::Corrected) {
        AppDialogs().Message(this, FrameSizeCorrectionText(check.size), QStringLiteral("Input Error!"),
                             MessageIcon::Warning);
        box->setEditText(check.size);
    }
}

void TfrmSettings::RateExit(QComboBox* box, bool (*accepted)(const QString&), const QString& message)
{
    if (accepted(box->currentText())) return;
    PlainMessage(this, message);
    SelectSecondItem(box);
}

void TfrmSettings::cmbVideoBitRateExit()
{
    RateExit(boxes->cmbVideoBitRate, VideoBitRateAccepted, QStringLiteral("Video BitRate is not a valid value!"));
}

void TfrmSettings::cmbSamplerateExit()
{
    RateExit(boxes->cmbSamplerate, SampleRateAccepted, QStringLiteral("Audio SampleRate is not a valid value!"));
}

void TfrmSettings::cmbAudioBitRateExit()
{
    RateExit(boxes->cmbAudioBitRate, AudioBitRateAccepted, QStringLiteral("Audio BitRate is not a valid value!"));
}

void TfrmSettings::btnDefaultClick()
{
    const IniFile formatIni(FormatIniPath());
    const QString section = Section();
    const auto select = [&](QComboBox* box, const char* key) {
        SelectIndex(box, formatIni.ReadInteger(section, QLatin1String(key), 0));
    };
    select(boxes->cmbVideoSize, "iVideoSize");
    select(boxes->cmbFrameRate, "iFrameRate");
    select(boxes->cmbVideoBitRate, "iVideoBitRate");
    select(boxes->cmbVideoEncoder, "iVideoEncoder");
    SelectIndex(boxes->cmbZoom, 0);
    select(boxes->cmbAudioBitRate, "iAudioBitRate");
    select(boxes->cmbChannel, "iChannel");
    select(boxes->cmbVolume, "iVolume");
    select(boxes->cmbSamplerate, "iSampleRate");
    select(boxes->cmbAudioEncoder, "iAudioEncoder");
}

void TfrmSettings::btnOkClick()
{
    IniFile conv(ConverterIniPath());
    const QString section = Section();
    const auto write = [&](const QString& key, const QString& value) { conv.WriteString(section, key, value); };
    const auto writeIndex = [&](const QString& key, const QComboBox* box) {
        conv.WriteInteger(section, key, ItemIndex(box));
    };
    // A volume item that is no number is reported before anything is stored,
    // and its box is left out, so the stored profile stays whole.
    std::optional<QString> volume;
    bool volumeUsable = true;
    try {
        volume = VolumeValue(boxes->cmbVolume->currentText());
    } catch (const std::invalid_argument& error) {
        ShowAppException(error);
        volumeUsable = false;
    }

    write(QStringLiteral("Description"), CurrentFormatName);
    writeIndex(QStringLiteral("iVideoSize"), boxes->cmbVideoSize);
    writeIndex(QStringLiteral("iVideoBitRate"), boxes->cmbVideoBitRate);
    writeIndex(QStringLiteral("iVideoEncoder"), boxes->cmbVideoEncoder);
    writeIndex(QStringLiteral("iFrameRate"), boxes->cmbFrameRate);
    writeIndex(QStringLiteral("iSampleRate"), boxes->cmbSamplerate);
    writeIndex(QStringLiteral("iAudioBitRate"), boxes->cmbAudioBitRate);
    writeIndex(QStringLiteral("iChannel"), boxes->cmbChannel);
    if (volumeUsable) writeIndex(QStringLiteral("iVolume"), boxes->cmbVolume);
    writeIndex(QStringLiteral("iAudioEncoder"), boxes->cmbAudioEncoder);

    write(QStringLiteral("paraVideoSize"), boxes->cmbVideoSize->currentText());
    write(QStringLiteral("paraVideoBitRate"), boxes->cmbVideoBitRate->currentText());
    write(QStringLiteral("paraFrameRate"), boxes->cmbFrameRate->currentText());
    if (const QString zoom = ZoomValue(boxes->cmbZoom->currentIndex()); !zoom.isEmpty())
        write(QStringLiteral("paraZoom"), zoom);

    const QString videoEncoder = boxes->cmbVideoEncoder->currentText();
    if (const std::optional<QString> value = VideoEncoderValue(videoEncoder)) {
        write(QStringLiteral("paraVideoEncoder"), *value);
        if (videoEncoder.toLower() == QLatin1String("h264")) {
            const IniFile formatIni(FormatIniPath());
            for (const QString& key : kH264Keys) {
                const QString tuning = formatIni.ReadString(section, key, QString());
                if (H264KeyAccepted(key, tuning)) write(key, tuning);
            }
        }
    }

    write(QStringLiteral("paraSampleRate"), boxes->cmbSamplerate->currentText());
    write(QStringLiteral("paraAudioBitRate"), boxes->cmbAudioBitRate->currentText());
    if (const std::optional<QString> channel = ChannelValue(boxes->cmbChannel->currentText()))
        write(QStringLiteral("paraChannel"), *channel);
    if (volume) write(QStringLiteral("paraVolume"), *volume);

    const QString audioEncoder = boxes->cmbAudioEncoder->currentText();
    if (const std::optional<QString> value = DialogAudioEncoderValue(audioEncoder)) {
        write(QStringLiteral("paraAudioEncoder"), *value);
        if (AudioEncoderForcesGsmRates(audioEncoder)) {
            write(QStringLiteral("paraSampleRate"), QStringLiteral("8000"));
            write(QStringLiteral("paraChannel"), QStringLiteral("1"));
        }
    }

    picker->SaveGroupState(conv);
    ConverterSettings settings(ConverterIniPath());
    settings.WriteText(settings::kFormatName, CurrentFormatName);
    settings.WriteText(settings::kFormatCode, CurrentFormatCode);
    if (onStored) onStored();
    accept();
}

void TfrmSettings::btnCancelClick() { reject(); }

#include "profiles/ParameterBoxes.h"

#include "platform/Dialogs.h"
#include "platform/IniFile.h"
#include "profiles/ParameterItemDelegate.h"
#include "profiles/ProfileValues.h"

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

namespace {

constexpr int kGroupWidth = 220;
constexpr int kGroupHeight = 262;
constexpr int kRowHeight = 46;

// The character a key press types, '\b' for backspace; a null character for
// keys that type nothing (arrows, shortcuts), which the filters let through.
QChar TypedCharacter(const QKeyEvent* event)
{
    if (event->key() == Qt::Key_Backspace) return QLatin1Char('\b');
    const QString text = event->text();
    if (text.size() != 1 || !text[0].isPrint()) return {};
    if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return {};
    return text[0];
}

// Discards the keys a typed box does not take.
class KeyFilter : public QObject {
public:
    enum Kind { FrameSize, Numeric };
    KeyFilter(QComboBox* box, Kind kind) : QObject(box), box_(box), kind_(kind) {}

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress) return QObject::eventFilter(watched, event);
        const QChar key = TypedCharacter(static_cast<QKeyEvent*>(event));
        if (key.isNull()) return false;
        if (kind_ == FrameSize) {
            if (FrameSizeKeyAccepted(box_->currentText(), key)) return false;
            QApplication::beep();
            return true;
        }
        if (NumericKeyAccepted(key)) return false;
        AppDialogs().Message(box_->window(), QStringLiteral("Please enter numerical."),
                             QApplication::applicationDisplayName(), MessageIcon::None);
        QApplication::beep();
        return true;
    }

private:
    QComboBox* box_;
    Kind kind_;
};

bool Contains(const QWidget* outer, const QWidget* inner)
{
    // Walks past window borders too: a box's own drop-down is a window of its own.
    for (const QWidget* w = inner; w; w = w->parentWidget())
        if (w == outer) return true;
    return false;
}

} // namespace

ParameterBoxes::ParameterBoxes(QWidget* parent, QPoint videoAt, QPoint audioAt, const QStringList& zoomItems)
    : QObject(parent)
{
    grpVideo = new QGroupBox(QStringLiteral("Video Options"), parent);
    grpVideo->setObjectName(QStringLiteral("grpVideo"));
    grpVideo->setGeometry(QRect(videoAt, QSize(kGroupWidth, kGroupHeight)));
    grpAudio = new QGroupBox(QStringLiteral("Audio Options"), parent);
    grpAudio->setObjectName(QStringLiteral("grpAudio"));
    grpAudio->setGeometry(QRect(audioAt, QSize(kGroupWidth, kGroupHeight)));

    cmbVideoSize = MakeBox(grpVideo, 0, QStringLiteral("cmbVideoSize"), QStringLiteral("Frame Size:"), true);
    cmbVideoEncoder = MakeBox(grpVideo, 1, QStringLiteral("cmbVideoEncoder"), QStringLiteral("Encoder:"), false);
    cmbVideoBitRate = MakeBox(grpVideo, 2, QStringLiteral("cmbVideoBitRate"), QStringLiteral("BitRate (Kbps):"), true);
    cmbFrameRate = MakeBox(grpVideo, 3, QStringLiteral("cmbFrameRate"), QStringLiteral("FrameRate (Fps):"), false);
    cmbZoom = MakeBox(grpVideo, 4, QStringLiteral("cmbZoom"), QStringLiteral("Zoom:"), false);
    cmbSamplerate = MakeBox(grpAudio, 0, QStringLiteral("cmbSamplerate"), QStringLiteral("SampleRate (Hz):"), true);
    cmbAudioEncoder = MakeBox(grpAudio, 1, QStringLiteral("cmbAudioEncoder"), QStringLiteral("Encoder:"), false);
    cmbAudioBitRate = MakeBox(grpAudio, 2, QStringLiteral("cmbAudioBitRate"), QStringLiteral("BitRate (Kbps):"), true);
    cmbChannel = MakeBox(grpAudio, 3, QStringLiteral("cmbChannel"), QStringLiteral("Channel:"), false);
    cmbVolume = MakeBox(grpAudio, 4, QStringLiteral("cmbVolume"), QStringLiteral("Volume:"), false);
    cmbZoom->addItems(zoomItems);

    cmbVideoSize->lineEdit()->installEventFilter(new KeyFilter(cmbVideoSize, KeyFilter::FrameSize));
    for (QComboBox* box : {cmbVideoBitRate, cmbSamplerate, cmbAudioBitRate})
        box->lineEdit()->installEventFilter(new KeyFilter(box, KeyFilter::Numeric));
    connect(qApp, &QApplication::focusChanged, this, &ParameterBoxes::FocusChanged);
}

QComboBox* ParameterBoxes::MakeBox(QGroupBox* group, int row, const QString& name, const QString& label, bool editable)
{
    // Each caption sits above its box, which takes the group's width: the
    // longer items ("stereo 2 channels") then show whole.
    auto* caption = new QLabel(label, group);
    caption->setGeometry(12, 20 + row * kRowHeight, kGroupWidth - 24, 18);
    auto* box = new QComboBox(group);
    box->setObjectName(name);
    box->setGeometry(12, 20 + row * kRowHeight + 18, kGroupWidth - 24, 24);
    caption->setBuddy(box);
    if (editable) {
        box->setEditable(true);
        box->setInsertPolicy(QComboBox::NoInsert);
        // Completion would type for the user and get round the key filters.
        box->setCompleter(nullptr);
    } else {
        box->setItemDelegate(new ParameterItemDelegate(box));
    }
    return box;
}

QComboBox* ParameterBoxes::BoxOfList(const QString& key) const
{
    const struct {
        const char* key;
        QComboBox* box;
    } lists[] = {{"VideoSize", cmbVideoSize},       {"VideoBitRate", cmbVideoBitRate}, {"FrameRate", cmbFrameRate},
                 {"VideoEncoder", cmbVideoEncoder}, {"AudioBitRate", cmbAudioBitRate}, {"SampleRate", cmbSamplerate},
                 {"AudioEncoder", cmbAudioEncoder}, {"Channel", cmbChannel},         {"Volume", cmbVolume}};
    for (const auto& list : lists)
        if (key == QLatin1String(list.key)) return list.box;
    return nullptr;
}

void ParameterBoxes::LoadList(const IniFile& formatIni, const QString& section, const QString& key)
{
    QComboBox* box = BoxOfList(key);
    if (!box) return;
    box->clear();
    const ParameterList list = LoadParameterList(key, formatIni.ReadString(section, key, QStringLiteral("null")));
    box->addItems(list.items);
    SetBoxUsable(box, list.enabled);
}

void ParameterBoxes::LoadLists(const IniFile& formatIni, const QString& section)
{
    for (const char* key : {"VideoSize", "VideoBitRate", "FrameRate", "VideoEncoder", "AudioBitRate", "SampleRate",
                            "AudioEncoder", "Channel", "Volume"})
        LoadList(formatIni, section, QLatin1String(key));
}

void ParameterBoxes::FitDropDownCounts()
{
    for (QComboBox* box : {cmbVideoSize, cmbVideoEncoder, cmbVideoBitRate, cmbFrameRate, cmbZoom, cmbSamplerate,
                           cmbAudioEncoder, cmbAudioBitRate, cmbChannel, cmbVolume})
        box->setMaxVisibleItems(qMax(1, box->count()));
}

void ParameterBoxes::ApplyGroupRule()
{
    const bool video = cmbVideoEncoder->count() > 0;
    for (QComboBox* box : {cmbVideoSize, cmbVideoBitRate, cmbFrameRate, cmbVideoEncoder, cmbZoom})
        SetBoxUsable(box, video);
    const bool audio = cmbAudioEncoder->count() > 0;
    for (QComboBox* box : {cmbSamplerate, cmbChannel, cmbVolume, cmbAudioEncoder, cmbAudioBitRate})
        SetBoxUsable(box, audio);
}

void ParameterBoxes::FocusChanged(QWidget* old, QWidget* now)
{
    // Only a move to another control of the program counts as leaving: losing
    // the focus to another application or to the box's own drop-down does not.
    if (!onExit || !old || !now) return;
    for (QComboBox* box : {cmbVideoSize, cmbVideoBitRate, cmbSamplerate, cmbAudioBitRate})
        if (Contains(box, old) && !Contains(box, now)) onExit(box);
}

void SelectItemOrText(QComboBox* box, const QString& value)
{
    const int index = box->findText(value, Qt::MatchExactly | Qt::MatchCaseSensitive);
    box->setCurrentIndex(index);
    if (index < 0 && box->isEditable()) box->setEditText(value);
}

void SelectIndex(QComboBox* box, int index)
{
    box->setCurrentIndex(index >= 0 && index < box->count() ? index : -1);
}

int ItemIndex(const QComboBox* box)
{
    if (!box->isEditable()) return box->currentIndex();
    return box->findText(box->currentText(), Qt::MatchExactly | Qt::MatchCaseSensitive);
}

void SetBoxUsable(QComboBox* box, bool usable)
{
    box->setEnabled(usable);
    QPalette palette = box->palette();
    const QColor text = usable ? QColor(Qt::black) : QApplication::palette().color(QPalette::Disabled, QPalette::Text);
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        palette.setColor(group, QPalette::Text, text);
        palette.setColor(group, QPalette::ButtonText, text);
    }
    box->setPalette(palette);
}

void SelectSecondItem(QComboBox* box)
{
    if (box->count() > 1) box->setCurrentIndex(1);
}

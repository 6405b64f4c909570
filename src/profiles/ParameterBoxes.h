#pragma once

#include <QObject>
#include <QPoint>
#include <QString>
#include <QStringList>

#include <functional>

class IniFile;
class QComboBox;
class QGroupBox;
class QWidget;

// The two option groups with their ten boxes, as both the main window's
// panel and the settings dialog carry them. The groups only hold controls and
// the loading rules the two share; what is stored, and when, belongs to the
// window.
class ParameterBoxes : public QObject {
    Q_OBJECT
public:
    // Builds "Video Options" and "Audio Options" in parent, each 220 x 262,
    // at the given positions. zoomItems are the designed texts of the zoom box.
    ParameterBoxes(QWidget* parent, QPoint videoAt, QPoint audioAt, const QStringList& zoomItems);

    QGroupBox* grpVideo;
    QGroupBox* grpAudio;
    QComboBox* cmbVideoSize;
    QComboBox* cmbVideoEncoder;
    QComboBox* cmbVideoBitRate;
    QComboBox* cmbFrameRate;
    QComboBox* cmbZoom;
    QComboBox* cmbSamplerate;
    QComboBox* cmbAudioEncoder;
    QComboBox* cmbAudioBitRate;
    QComboBox* cmbChannel;
    QComboBox* cmbVolume;

    // Clears the nine listed boxes and fills them from the format INI section,
    // each enabled or not by its list.
    void LoadLists(const IniFile& formatIni, const QString& section);
    // Reloads one list (key "VideoSize", ...).
    void LoadList(const IniFile& formatIni, const QString& section, const QString& key);
    // Each box's drop-down shows all of its items.
    void FitDropDownCounts();
    // A group is usable only when its encoder box offers something; an
    // unusable group is disabled and greyed as a whole.
    void ApplyGroupRule();

    // Leaving a typed box (frame size, video bit rate, sample rate, audio bit
    // rate) runs this with the box; moving the focus inside the box does not.
    std::function<void(QComboBox*)> onExit;

private:
    void FocusChanged(QWidget* old, QWidget* now);
    QComboBox* MakeBox(QGroupBox* group, int row, const QString& name, const QString& label, bool editable);
    QComboBox* BoxOfList(const QString& key) const;
};

// The boxes' own small rules.
// Selects the value's item when the box has one, otherwise shows it as typed text.
void SelectItemOrText(QComboBox* box, const QString& value);
// Selects the item; an index outside the list selects nothing.
void SelectIndex(QComboBox* box, int index);
// The selected item's index; -1 when the text was typed and is no item.
int ItemIndex(const QComboBox* box);
// Black text on an enabled box, the grey-text colour on a disabled one.
void SetBoxUsable(QComboBox* box, bool usable);
// Selects item 1 of a refused box when it has more than one item.
void SelectSecondItem(QComboBox* box);

#pragma once

#include <QObject>
#include <QString>

#include <functional>

class IniFile;
class ParameterBoxes;
class QComboBox;
class QPushButton;
class QWidget;

// The main window's option groups: they show the selected format's lists and
// the stored choices, check what is typed, and store every change at once
// into the format's section of the converter INI.
class ParameterPanel : public QObject {
    Q_OBJECT
public:
    // currentCode gives the window's selected format code.
    ParameterPanel(QWidget* parent, std::function<QString()> currentCode);

    ParameterBoxes* boxes;
    QPushButton* btnDefault;

    // Loads the lists and the stored values of the selected format.
    void edt1Change();
    void cmbVideoSizeExit();
    void cmbVideoSizeSelect(int index);
    void cmbVideoBitRateChange();
    void cmbSamplerateChange();
    void cmbAudioBitRateChange();
    void cmbFrameRateChange();
    void cmbVideoEncoderChange();
    void cmbAudioEncoderChange();
    void cmbChannelChange();
    void cmbVolumeChange();
    void cmbZoomChange();
    void btnDefaultClick();

private:
    void RateChange(QComboBox* box, bool (*accepted)(const QString&), const QString& message, const QString& indexKey,
                    const QString& paraKey);
    void Write(const QString& key, const QString& value);
    void WriteIndex(const QString& key, int index);
    QString Section() const;
    QString ConverterIniPath() const;
    QString FormatIniPath() const;

    std::function<QString()> currentCode_;
    // While the panel sets its own boxes, their change handlers store nothing.
    bool quiet_ = false;
};

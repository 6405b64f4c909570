#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// A parameter list of the format INI: items separated by ",", split without
// trimming (",," gives an empty item, a trailing "," an empty last item).
QStringList SplitListValue(const QString& value);

// The list rule: the exact text "null" offers no values and disables the
// control; for the six keys other than the three video size and rate lists,
// an empty text does the same.
struct ParameterList {
    QStringList items;
    bool enabled = true;
};
ParameterList LoadParameterList(const QString& key, const QString& value);

// Display names of encoders, channels, volumes and zoom modes, turned into
// what the profile stores for the option builder. No value: nothing is stored.
std::optional<QString> VideoEncoderValue(const QString& displayName);
std::optional<QString> AudioEncoderValue(const QString& displayName);
// The settings dialog's own audio encoder names, a wider table than the panel's.
std::optional<QString> DialogAudioEncoderValue(const QString& displayName);
// "gsm" only takes 8000 Hz mono: the dialog stores these with it.
bool AudioEncoderForcesGsmRates(const QString& displayName);
std::optional<QString> ChannelValue(const QString& displayName);
// A volume item such as "150%": the engine volume, 256 = unchanged.
// Throws std::invalid_argument when the text before the unit is not an integer.
std::optional<QString> VolumeValue(const QString& item);
QString ZoomValue(int index); // 0 "full", 1 "lbox", 2 "pan", 3 "center"
// The zoom index of a stored "paraZoom": 0 to 3, or -1 for any other text.
int ZoomIndex(const QString& value);
// The panel's zoom texts; the dialog keeps texts of its own.
inline const QStringList kZoomItems{QStringLiteral("Full Screen"), QStringLiteral("Letter Box"),
                                    QStringLiteral("Pan and Scan")};

// The H.264 tuning keys copied from the format INI when "h264" is chosen.
inline const QStringList kH264Keys{QStringLiteral("paraBitExact"), QStringLiteral("paraMaxBitrate"),
                                   QStringLiteral("paraBufferSize"), QStringLiteral("paraLevel"),
                                   QStringLiteral("paraQscale"), QStringLiteral("paraGop"),
                                   QStringLiteral("paraCoder")};
// Whether an H.264 tuning value may be copied.
bool H264KeyAccepted(const QString& key, const QString& value);

// The frame size check: nullopt for a text that is no size; otherwise the
// size to store, made even (at least 2) when it was not.
struct FrameSizeCheck {
    enum Result { NotChecked, Invalid, Valid, Corrected } result;
    QString size; // the size to store (Valid, Corrected)
};
FrameSizeCheck CheckFrameSize(const QString& text);

// The message the rate boxes show for a refused value.
bool VideoBitRateAccepted(const QString& text);
bool SampleRateAccepted(const QString& text);
bool AudioBitRateAccepted(const QString& text);

inline const QStringList kDialogZoomItems{QStringLiteral("Full screen"), QStringLiteral("Letterbox"),
                                          QStringLiteral("Pan and Scan")};

// Key filters of the typed boxes. A key is the one character typed; backspace
// is passed as '\b'. The frame size box checks the key against every
// character already in the box: after an "x" only digits and backspace, after
// anything else digits, backspace and "x".
bool FrameSizeKeyAccepted(const QString& boxText, QChar key);
// The rate boxes take digits and backspace only.
bool NumericKeyAccepted(QChar key);

// "Frame Size must be a multiple of 2." with the corrected size on a new line.
QString FrameSizeCorrectionText(const QString& correctedSize);

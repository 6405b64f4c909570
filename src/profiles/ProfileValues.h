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
std::optional<QString> ChannelValue(const QString& displayName);
// A volume item such as "150%": the engine volume, 256 = unchanged.
// Throws std::invalid_argument when the text before the unit is not an integer.
std::optional<QString> VolumeValue(const QString& item);
QString ZoomValue(int index); // 0 "full", 1 "lbox", 2 "pan"
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

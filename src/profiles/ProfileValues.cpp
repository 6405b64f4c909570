#include "profiles/ProfileValues.h"

#include "shell/TextHelpers.h"

#include <QHash>

#include <stdexcept>

QStringList SplitListValue(const QString& value) { return value.split(QLatin1Char(',')); }

ParameterList LoadParameterList(const QString& key, const QString& value)
{
    static const QStringList emptyStaysEnabled{QStringLiteral("VideoSize"), QStringLiteral("VideoBitRate"),
                                               QStringLiteral("FrameRate")};
    if (value == QLatin1String("null")) return {{}, false};
    if (value.isEmpty()) return {{}, emptyStaysEnabled.contains(key, Qt::CaseInsensitive)};
    return {SplitListValue(value), true};
}

std::optional<QString> VideoEncoderValue(const QString& displayName)
{
    static const QHash<QString, QString> table{
        {"mpeg-4", "mpeg4"},       {"3gp", "3gp"},           {"3g2", "3g2"},         {"xvid", "libxvid"},
        {"mov", "mov"},            {"wmv1", "wmv1"},         {"wmv2", "wmv2"},       {"wmv3", "wmv3"},
        {"flv", "flv"},            {"swf", "swf"},           {"msmpeg4", "msmpeg4"}, {"msmpeg4v1", "msmpeg4v1"},
        {"msmpeg4v2", "msmpeg4v2"}, {"mpeg1video", "mpeg1video"}, {"mpeg2video", "mpeg2video"},
        {"h263", "h263"},          {"h263p", "h263p"},       {"rawvideo", "rawvideo"}, {"rv10", "rv10"},
        {"rv20", "rv20"},          {"dvvideo", "dvvideo"},   {"huffyuv", "huffyuv"}, {"ljpeg", "ljpeg"},
        {"mjpeg", "mjpeg"},        {"svq1", "svq1"},         {"zlib", "zlib"},       {"h264", "libx264"},
    };
    const auto found = table.constFind(displayName.toLower());
    if (found == table.constEnd()) return std::nullopt;
    return *found;
}

std::optional<QString> AudioEncoderValue(const QString& displayName)
{
    static const QHash<QString, QString> table{
        {"mp3", "libmp3lame"},         {"ogg", "vorbis"},       {"mp2", "mp2"},
        {"aac", "libfaac"},            {"ac-3", "ac3"},         {"flac", "libflac"},
        {"amr_nb", "libopencore_amrnb"}, {"pcm_s16", "pcm_s16le"}, {"pcm_u16", "pcm_u16le"},
        {"pcm_alaw", "pcm_alaw"},      {"pcm_mulaw ", "pcm_mulaw"}, {"adpcm_ms", "adpcm_ms"},
        {"adpcm_ima_wav", "adpcm_ima_wav"}, {"wma1", "wmav1"}, {"wma2", "wmav2"},
    };
    const auto found = table.constFind(displayName.toLower());
    if (found == table.constEnd()) return std::nullopt;
    return *found;
}

std::optional<QString> DialogAudioEncoderValue(const QString& displayName)
{
    static const QHash<QString, QString> table{
        {"mp3", "libmp3lame"},          {"ogg", "vorbis"},
        {"mp2", "mp2"},                 {"aac", "libfaac"},
        {"ac-3", "ac3"},                {"flac", "flac"},
        {"alac", "alac"},               {"libamr_nb", "libopencore_amrnb"},
        {"adpcm_swf", "adpcm_swf"},     {"adpcm_yamaha", "adpcm_yamaha"},
        {"pcm-8bit", "pcm_s8"},         {"pcm-16bit", "pcm_s16be"},
        {"pcm-24bit", "pcm_s24be"},     {"pcm-32bit", "pcm_s32be"},
        {"pcm-32bit float", "pcm_f32be"}, {"pcm-64bit float", "pcm_f64be"},
        {"ccitt a-law(8-bit)", "pcm_alaw"}, {"ccitt mu-law(8-bit)", "pcm_mulaw"},
        {"ima adpcm(4-bit)", "adpcm_ima_qt"}, {"gsm", "libgsm"},
        {"pcm_s16", "pcm_s16le"},       {"pcm_u16", "pcm_u16le"},
        {"pcm_alaw", "pcm_alaw"},       {"pcm_mulaw ", "pcm_mulaw"},
        {"adpcm_ms", "adpcm_ms"},       {"adpcm_ima_wav", "adpcm_ima_wav"},
        {"wma1", "wmav1"},              {"wma2", "wmav2"},
    };
    const auto found = table.constFind(displayName.toLower());
    if (found == table.constEnd()) return std::nullopt;
    return *found;
}

bool AudioEncoderForcesGsmRates(const QString& displayName) { return displayName.toLower() == QLatin1String("gsm"); }

std::optional<QString> ChannelValue(const QString& displayName)
{
    if (displayName == QLatin1String("as source")) return QStringLiteral("as source");
    if (displayName == QLatin1String("mono 1 channel")) return QStringLiteral("1");
    if (displayName == QLatin1String("stereo 2 channels")) return QStringLiteral("2");
    return std::nullopt;
}

std::optional<QString> VolumeValue(const QString& item)
{
    const QString number = item.left(item.size() - 1);
    if (!IsIntegerText(number))
        throw std::invalid_argument(("'" + number + "' is not a valid integer value").toStdString());
    const int percent = number.trimmed().toInt();
    static const int known[] = {25, 50, 75, 100, 125, 150, 175, 200, 250, 300, 350, 400};
    for (int p : known)
        if (p == percent) return QString::number(p * 256 / 100);
    return std::nullopt;
}

QString ZoomValue(int index)
{
    switch (index) {
    case 0: return QStringLiteral("full");
    case 1: return QStringLiteral("lbox");
    case 2: return QStringLiteral("pan");
    case 3: return QStringLiteral("center");
    default: return {};
    }
}

int ZoomIndex(const QString& value)
{
    for (int i = 0; i < 4; ++i)
        if (value == ZoomValue(i)) return i;
    return -1;
}

bool H264KeyAccepted(const QString& key, const QString& value)
{
    if (value.isEmpty()) return false;
    if (key.compare(QLatin1String("paraBitExact"), Qt::CaseInsensitive) == 0)
        return value.toLower() == QLatin1String("true");
    if (!IsIntegerText(value)) return false;
    const int number = value.trimmed().toInt();
    if (key.compare(QLatin1String("paraCoder"), Qt::CaseInsensitive) == 0) return number >= 0;
    return number > 0;
}

FrameSizeCheck CheckFrameSize(const QString& text)
{
    if (text.toLower().contains(QLatin1String("as source"))) return {FrameSizeCheck::NotChecked, {}};
    const qsizetype x = text.lastIndexOf(QLatin1Char('x'));
    if (x < 0) return {FrameSizeCheck::Invalid, {}};
    const QString widthText = text.left(x);
    const QString heightText = text.mid(x + 1);
    if (!IsIntegerText(widthText) || !IsIntegerText(heightText)) return {FrameSizeCheck::Invalid, {}};
    const int w = widthText.trimmed().toInt();
    const int h = heightText.trimmed().toInt();
    if (w % 2 == 0 && h % 2 == 0 && w != 0 && h != 0) return {FrameSizeCheck::Valid, text};
    const auto even = [](int v) {
        const int e = v / 2 * 2;
        return e == 0 ? 2 : e;
    };
    return {FrameSizeCheck::Corrected, QStringLiteral("%1x%2").arg(even(w)).arg(even(h))};
}

bool VideoBitRateAccepted(const QString& text) { return text == QLatin1String("as source") || IsIntegerText(text); }
bool SampleRateAccepted(const QString& text) { return text == QLatin1String("as source") || IsIntegerText(text); }
bool AudioBitRateAccepted(const QString& text)
{
    return text == QLatin1String("as source") || IsIntegerText(text) || IsNumberText(text);
}

bool FrameSizeKeyAccepted(const QString& boxText, QChar key)
{
    const bool digitOrBackspace = key == QLatin1Char('\b') || (key >= QLatin1Char('0') && key <= QLatin1Char('9'));
    for (QChar c : boxText) {
        const bool passes = c == QLatin1Char('x') ? digitOrBackspace : digitOrBackspace || key == QLatin1Char('x');
        if (!passes) return false;
    }
    return true;
}

bool NumericKeyAccepted(QChar key)
{
    return key == QLatin1Char('\b') || (key >= QLatin1Char('0') && key <= QLatin1Char('9'));
}

QString FrameSizeCorrectionText(const QString& correctedSize)
{
    return QStringLiteral("Frame Size must be a multiple of 2.\nThe correct value:") + correctedSize;
}

#include "profiles/ProfileDefaults.h"

#include "platform/IniFile.h"
#include "profiles/FormatCatalogue.h"
#include "profiles/ProfileValues.h"

#include <optional>
#include <stdexcept>

namespace {

struct Pick {
    int index;
    QString text;
};

std::optional<Pick> DefaultItem(const IniFile& formatIni, const QString& section, const QString& listKey)
{
    const ParameterList list = LoadParameterList(listKey, formatIni.ReadString(section, listKey, QStringLiteral("null")));
    if (!list.enabled || list.items.isEmpty()) return std::nullopt;
    const int index = formatIni.ReadInteger(section, QLatin1Char('i') + listKey, 0);
    if (index < 0 || index >= list.items.size()) return std::nullopt;
    return Pick{index, list.items[index]};
}

} // namespace

void StoreFormatDefaults(const IniFile& formatIni, IniFile& conv, int formatCode)
{
    const QString section = FormatSection(formatCode);
    const auto write = [&](const QString& key, const QString& value) { conv.WriteString(section, key, value); };
    const auto writeIndex = [&](const QString& key, int index) { conv.WriteInteger(section, key, index); };

    if (const auto pick = DefaultItem(formatIni, section, QStringLiteral("VideoEncoder"))) {
        writeIndex(QStringLiteral("iVideoEncoder"), pick->index);
        if (const auto value = VideoEncoderValue(pick->text)) write(QStringLiteral("paraVideoEncoder"), *value);
        if (pick->text.toLower() == QLatin1String("h264")) {
            for (const QString& key : kH264Keys) {
                const QString value = formatIni.ReadString(section, key, QString());
                if (H264KeyAccepted(key, value)) write(key, value);
            }
        }
    }
    if (const auto pick = DefaultItem(formatIni, section, QStringLiteral("VideoSize"))) {
        const FrameSizeCheck check = CheckFrameSize(pick->text);
        if (check.result == FrameSizeCheck::Valid || check.result == FrameSizeCheck::Corrected) {
            writeIndex(QStringLiteral("iVideoSize"), pick->index);
            write(QStringLiteral("paraVideoSize"), check.size);
        }
    }
    if (const auto pick = DefaultItem(formatIni, section, QStringLiteral("FrameRate"))) {
        writeIndex(QStringLiteral("iFrameRate"), pick->index);
        write(QStringLiteral("paraFrameRate"), pick->text);
    }
    if (const auto pick = DefaultItem(formatIni, section, QStringLiteral("VideoBitRate")); pick && VideoBitRateAccepted(pick->text)) {
        writeIndex(QStringLiteral("iVideoBitRate"), pick->index);
        write(QStringLiteral("paraVideoBitRate"), pick->text);
    }
    write(QStringLiteral("paraZoom"), ZoomValue(0));
    if (const auto pick = DefaultItem(formatIni, section, QStringLiteral("AudioEncoder"))) {
        writeIndex(QStringLiteral("iAudioEncoder"), pick->index);
        if (const auto value = AudioEncoderValue(pick->text)) write(QStringLiteral("paraAudioEncoder"), *value);
    }
    if (const auto pick = DefaultItem(formatIni, section, QStringLiteral("AudioBitRate")); pick && AudioBitRateAccepted(pick->text)) {
        writeIndex(QStringLiteral("iAudioBitRate"), pick->index);
        write(QStringLiteral("paraAudioBitRate"), pick->text);
    }
    if (const auto pick = DefaultItem(formatIni, section, QStringLiteral("SampleRate")); pick && SampleRateAccepted(pick->text)) {
        writeIndex(QStringLiteral("iSampleRate"), pick->index);
        write(QStringLiteral("paraSampleRate"), pick->text);
    }
    if (const auto pick = DefaultItem(formatIni, section, QStringLiteral("Channel"))) {
        writeIndex(QStringLiteral("iChannel"), pick->index);
        if (const auto value = ChannelValue(pick->text)) write(QStringLiteral("paraChannel"), *value);
    }
    if (const auto pick = DefaultItem(formatIni, section, QStringLiteral("Volume"))) {
        // A volume item that is no number stores nothing at all for the box.
        try {
            const std::optional<QString> value = VolumeValue(pick->text);
            writeIndex(QStringLiteral("iVolume"), pick->index);
            if (value) write(QStringLiteral("paraVolume"), *value);
        } catch (const std::invalid_argument&) {
        }
    }
}

#include "shell/Settings.h"

#include "platform/SystemFolders.h"

using namespace settings;

QString ConverterSettings::ReadText(const QString& key, const QString& defaultValue) const
{
    return ini_.ReadString(kSection, key, defaultValue);
}

int ConverterSettings::ReadInt(const QString& key, int defaultValue) const
{
    return ini_.ReadInteger(kSection, key, defaultValue);
}

void ConverterSettings::WriteText(const QString& key, const QString& value) { ini_.WriteString(kSection, key, value); }
void ConverterSettings::WriteInt(const QString& key, int value) { ini_.WriteInteger(kSection, key, value); }

QString ConverterSettings::OutPutDir() const { return ReadText(kOutPutDir, DefaultOutputFolder()); }
QString ConverterSettings::SnapOutPutDir() const { return ReadText(kSnapOutPutDir, DefaultOutputFolder()); }
int ConverterSettings::SkinIndex() const { return ReadInt(kSkinIndex, 0); }
int ConverterSettings::OutPutFormat() const { return ReadInt(kOutPutFormat, 0); }
QString ConverterSettings::FormatCodeText() const { return ReadText(kFormatCode, QStringLiteral("1")); }
int ConverterSettings::FormatCode() const { return ReadInt(kFormatCode, 1); }
QString ConverterSettings::FormatName() const { return ReadText(kFormatName, kDefaultFormatName); }

int ConverterSettings::Volume() const
{
    const int volume = ReadInt(kVolume, 0);
    return volume < 0 || volume > 128 ? 64 : volume;
}

int ConverterSettings::MuteValue() const { return ReadInt(kMute, 0); }
int ConverterSettings::Priority() const { return ReadInt(kPriority, 1); }
bool ConverterSettings::SnapFullSize() const { return Flag(kSnapFullSize); }
bool ConverterSettings::SnapSmallSize() const { return Flag(kSnapSmallSize); }
bool ConverterSettings::SnapBmp() const { return Flag(kSnapBmp); }
bool ConverterSettings::SnapJpg() const { return Flag(kSnapJpg); }
int ConverterSettings::JpgCmp() const { return ReadInt(kJpgCmp, 30); }

void ConverterSettings::SetOutPutDir(const QString& folder) { WriteText(kOutPutDir, folder); }
void ConverterSettings::SetSnapOutPutDir(const QString& folder) { WriteText(kSnapOutPutDir, folder); }
void ConverterSettings::SetSkinIndex(int index) { WriteInt(kSkinIndex, index); }
void ConverterSettings::SetOutPutFormat(int index) { WriteInt(kOutPutFormat, index); }

void ConverterSettings::SetFormat(int code, const QString& name)
{
    WriteText(kFormatName, name);
    WriteInt(kFormatCode, code);
}

void ConverterSettings::SetVolume(int volume) { WriteInt(kVolume, volume); }
void ConverterSettings::SetMute(bool mute) { WriteInt(kMute, mute ? 1 : 0); }

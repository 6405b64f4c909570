#pragma once

#include "platform/IniFile.h"

#include <QString>

// The keys of the "settings" section of the converter INI with the defaults
// their readers use. Every read and write goes to the file at once.
namespace settings {

inline const QString kSection = QStringLiteral("settings");

inline const QString kOutPutDir = QStringLiteral("OutPutDir");
inline const QString kSnapOutPutDir = QStringLiteral("SnapOutPutDir");
inline const QString kSkinIndex = QStringLiteral("skinIndex");
inline const QString kOutPutFormat = QStringLiteral("OutPutFormat");
inline const QString kFormatCode = QStringLiteral("FormatCode");
inline const QString kFormatName = QStringLiteral("FormatName");
inline const QString kVolume = QStringLiteral("volume");
inline const QString kMute = QStringLiteral("mute");
inline const QString kPriority = QStringLiteral("priority");
inline const QString kSnapFullSize = QStringLiteral("snapFullSize");
inline const QString kSnapSmallSize = QStringLiteral("snapSmallSize");
inline const QString kSnapBmp = QStringLiteral("snapBmp");
inline const QString kSnapJpg = QStringLiteral("snapJpg");
inline const QString kJpgCmp = QStringLiteral("jpgCmp");

// "FormatName" as the main window and the settings dialog default it.
inline const QString kDefaultFormatName = QStringLiteral("iPod Video MPEG-4");
// "FormatName" as the format picker and the format lists default it.
inline const QString kDefaultFormatEntry = QStringLiteral("Apple iPod Video MPEG-4 Movie (*.mp4)");

} // namespace settings

// "formatInfo" + code: the section of a format in both INI files.
inline QString FormatSectionName(int code) { return QStringLiteral("formatInfo") + QString::number(code); }

// Typed access to the "settings" section of the converter INI.
class ConverterSettings {
public:
    explicit ConverterSettings(const QString& iniPath) : ini_(iniPath) {}

    IniFile& ini() { return ini_; }

    QString OutPutDir() const;       // default: the default output folder
    QString SnapOutPutDir() const;   // same default
    int SkinIndex() const;           // default 0, used as read
    int OutPutFormat() const;        // default 0
    QString FormatCodeText() const;  // default "1"
    int FormatCode() const;          // default 1
    QString FormatName() const;      // default "iPod Video MPEG-4"
    int Volume() const;              // default 0; outside 0..128 gives 64
    int MuteValue() const;           // default 0; callers act on 0 and 1 only
    int Priority() const;            // default 1, used as read
    bool SnapFullSize() const;       // the flags count as on only when exactly 1
    bool SnapSmallSize() const;
    bool SnapBmp() const;
    bool SnapJpg() const;
    int JpgCmp() const;              // default 30

    void SetOutPutDir(const QString& folder);
    void SetSnapOutPutDir(const QString& folder);
    void SetSkinIndex(int index);
    void SetOutPutFormat(int index);
    void SetFormat(int code, const QString& name);
    void SetVolume(int volume);
    void SetMute(bool mute);

    QString ReadText(const QString& key, const QString& defaultValue) const;
    int ReadInt(const QString& key, int defaultValue) const;
    void WriteText(const QString& key, const QString& value);
    void WriteInt(const QString& key, int value);

private:
    bool Flag(const QString& key) const { return ReadInt(key, 1) == 1; }
    IniFile ini_;
};

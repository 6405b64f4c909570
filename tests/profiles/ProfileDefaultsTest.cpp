#include "profiles/ProfileDefaults.h"

#include "platform/IniFile.h"
#include "platform/SystemFolders.h"
#include "profiles/FormatCatalogue.h"
#include "support/TestEnvironment.h"

#include <QFile>

#include <gtest/gtest.h>

namespace {

QString InstalledFormatIni() { return InstalledDataFolder() + "/varnelformat.ini"; }

TEST(StoreFormatDefaults, EveryInstalledFormatGetsAUsableProfile)
{
    TestEnvironment env;
    const IniFile formats(InstalledFormatIni());
    IniFile conv(env.converterIni());
    for (int code : AllFormatCodes()) {
        StoreFormatDefaults(formats, conv, code);
        const QString section = FormatSection(code);
        SCOPED_TRACE(section.toStdString());
        const bool isSound = code >= 200;
        EXPECT_FALSE(formats.ReadString(section, "FileExt", "").isEmpty());
        EXPECT_EQ(conv.ReadString(section, "paraVideoEncoder", "").isEmpty(), isSound);
        EXPECT_FALSE(conv.ReadString(section, "paraAudioEncoder", "").isEmpty());
        EXPECT_EQ(conv.ReadString(section, "paraVolume", ""), "256");
        EXPECT_EQ(conv.ReadString(section, "paraChannel", ""), "2");
        EXPECT_EQ(conv.ReadString(section, "paraZoom", ""), "full");
        if (!isSound) {
            const QString size = conv.ReadString(section, "paraVideoSize", "");
            EXPECT_TRUE(size.contains('x')) << size.toStdString();
            EXPECT_FALSE(conv.ReadString(section, "paraFrameRate", "").isEmpty());
        }
    }
    EXPECT_EQ(conv.ReadString("formatInfo103", "paraVideoEncoder", ""), "libx264");
    EXPECT_EQ(conv.ReadString("formatInfo103", "paraLevel", ""), "30");
    EXPECT_EQ(conv.ReadString("formatInfo103", "paraCoder", ""), "0");
    EXPECT_FALSE(conv.ValueExists("formatInfo103", "paraQscale"));
    EXPECT_EQ(conv.ReadString("formatInfo205", "paraAudioEncoder", ""), "vorbis");
    EXPECT_EQ(conv.ReadString("formatInfo108", "paraVideoSize", ""), "720x480");
}

TEST(StoreFormatDefaults, OddUnusableAndMissingDefaultsAsTheDefaultButtonStoresThem)
{
    TestEnvironment env;
    const QString formatPath = env.root() + "/formats.ini";
    QFile file(formatPath);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[formatInfo102]\n"
               "VideoSize=as source,321x241\niVideoSize=1\n"
               "VideoBitRate=12k,768\niVideoBitRate=0\n"
               "VideoEncoder=h264\n"
               "paraBitExact=TRUE\nparaGop=abc\nparaMaxBitrate=0\n"
               "AudioEncoder=unknown\n"
               "Volume=loud%,100%\n"
               "Channel=mono 1 channel\niChannel=5\n");
    file.close();
    IniFile conv(env.converterIni());
    StoreFormatDefaults(IniFile(formatPath), conv, 102);
    const QString s = "formatInfo102";
    EXPECT_EQ(conv.ReadString(s, "paraVideoSize", ""), "320x240");
    EXPECT_EQ(conv.ReadString(s, "iVideoSize", ""), "1");
    EXPECT_FALSE(conv.ValueExists(s, "paraVideoBitRate"));
    EXPECT_FALSE(conv.ValueExists(s, "iVideoBitRate"));
    EXPECT_EQ(conv.ReadString(s, "paraBitExact", ""), "TRUE");
    EXPECT_FALSE(conv.ValueExists(s, "paraGop"));
    EXPECT_FALSE(conv.ValueExists(s, "paraMaxBitrate"));
    EXPECT_EQ(conv.ReadString(s, "iAudioEncoder", ""), "0");
    EXPECT_FALSE(conv.ValueExists(s, "paraAudioEncoder"));
    EXPECT_FALSE(conv.ValueExists(s, "iVolume"));
    EXPECT_FALSE(conv.ValueExists(s, "paraVolume"));
    EXPECT_FALSE(conv.ValueExists(s, "iChannel"));
    EXPECT_FALSE(conv.ValueExists(s, "paraFrameRate"));
}

} // namespace

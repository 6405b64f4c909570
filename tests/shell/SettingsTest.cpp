#include "shell/Settings.h"

#include "platform/SystemFolders.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

namespace {

TEST(ConverterSettings, DefaultsWithoutAFile)
{
    TestEnvironment env;
    ConverterSettings s(env.converterIni());
    EXPECT_EQ(s.OutPutDir(), DefaultOutputFolder());
    EXPECT_EQ(s.SnapOutPutDir(), DefaultOutputFolder());
    EXPECT_EQ(s.SkinIndex(), 0);
    EXPECT_EQ(s.OutPutFormat(), 0);
    EXPECT_EQ(s.FormatCodeText(), "1");
    EXPECT_EQ(s.FormatCode(), 1);
    EXPECT_EQ(s.FormatName(), "iPod Video MPEG-4");
    EXPECT_EQ(s.Volume(), 0);
    EXPECT_EQ(s.MuteValue(), 0);
    EXPECT_EQ(s.Priority(), 1);
    EXPECT_TRUE(s.SnapFullSize() && s.SnapSmallSize() && s.SnapBmp() && s.SnapJpg());
    EXPECT_EQ(s.JpgCmp(), 30);
}

TEST(ConverterSettings, VolumeOutsideItsRangeShowsAs64)
{
    const struct {
        const char* stored;
        int shown;
    } cases[] = {{"0", 0}, {"128", 128}, {"77", 77}, {"200", 64}, {"129", 64}, {"-1", 64}, {"loud", 0}};
    TestEnvironment env;
    for (const auto& c : cases) {
        env.WriteConverterIni(QByteArray("[settings]\nvolume=") + c.stored + "\n");
        EXPECT_EQ(ConverterSettings(env.converterIni()).Volume(), c.shown) << c.stored;
    }
}

TEST(ConverterSettings, FlagsCountOnlyWhenExactlyOne)
{
    TestEnvironment env;
    env.WriteConverterIni("[settings]\nsnapBmp=2\nsnapJpg=0\nsnapFullSize=1\nsnapSmallSize=x\n");
    ConverterSettings s(env.converterIni());
    EXPECT_FALSE(s.SnapBmp());
    EXPECT_FALSE(s.SnapJpg());
    EXPECT_TRUE(s.SnapFullSize());
    EXPECT_TRUE(s.SnapSmallSize());  // not an integer: the default 1
}

TEST(ConverterSettings, KeysSpelledWithOtherCapitalsAreTheSame)
{
    TestEnvironment env;
    ConverterSettings s(env.converterIni());
    s.WriteText("snapOutPutDir", "/pictures");
    s.WriteInt("Priority", 3);
    EXPECT_EQ(s.SnapOutPutDir(), "/pictures");
    EXPECT_EQ(s.Priority(), 3);
}

TEST(ConverterSettings, WritesDecimalTextAndTheFormatPair)
{
    TestEnvironment env;
    ConverterSettings s(env.converterIni());
    s.SetMute(true);
    s.SetVolume(100);
    s.SetFormat(203, "MP3 Audio (*.mp3)");
    const QByteArray text = env.ReadConverterIni();
    EXPECT_TRUE(text.contains("mute=1\n"));
    EXPECT_TRUE(text.contains("volume=100\n"));
    EXPECT_TRUE(text.contains("FormatName=MP3 Audio (*.mp3)\n"));
    EXPECT_TRUE(text.contains("FormatCode=203\n"));
    s.SetMute(false);
    EXPECT_EQ(s.MuteValue(), 0);
}

} // namespace

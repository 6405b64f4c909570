#include "profiles/ProfileValues.h"

#include "support/QtPrinters.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

TEST(SplitListValue, SplitsAtEveryCommaWithoutTrimming)
{
    EXPECT_EQ(SplitListValue("320x240,640x480,"), (QStringList{"320x240", "640x480", ""}));
    EXPECT_EQ(SplitListValue("a,,b"), (QStringList{"a", "", "b"}));
    EXPECT_EQ(SplitListValue(" a , b"), (QStringList{" a ", " b"}));
    EXPECT_EQ(SplitListValue("one"), QStringList{"one"});
}

TEST(LoadParameterList, NullAndEmptyValues)
{
    const struct {
        const char* key;
        const char* value;
        int items;
        bool enabled;
    } cases[] = {
        {"VideoSize", "null", 0, false},   {"VideoSize", "", 0, true},      {"VideoBitRate", "", 0, true},
        {"FrameRate", "", 0, true},        {"AudioBitRate", "", 0, false},  {"Channel", "", 0, false},
        {"AudioEncoder", "null", 0, false}, {"Volume", "Null", 1, true},    {"SampleRate", "44100,48000", 2, true},
    };
    for (const auto& c : cases) {
        const ParameterList list = LoadParameterList(c.key, c.value);
        EXPECT_EQ(list.items.size(), c.items) << c.key << "=" << c.value;
        EXPECT_EQ(list.enabled, c.enabled) << c.key << "=" << c.value;
    }
}

TEST(ProfileNames, EncoderChannelVolumeAndZoomTables)
{
    EXPECT_EQ(VideoEncoderValue("MPEG-4"), "mpeg4");
    EXPECT_EQ(VideoEncoderValue("xvid"), "libxvid");
    EXPECT_EQ(VideoEncoderValue("h264"), "libx264");
    EXPECT_EQ(VideoEncoderValue("wmv3"), "wmv3");
    EXPECT_FALSE(VideoEncoderValue("theora"));
    EXPECT_EQ(AudioEncoderValue("MP3"), "libmp3lame");
    EXPECT_EQ(AudioEncoderValue("aac"), "libfaac");
    EXPECT_EQ(AudioEncoderValue("ogg"), "vorbis");
    EXPECT_EQ(AudioEncoderValue("pcm_mulaw "), "pcm_mulaw");
    EXPECT_FALSE(AudioEncoderValue("pcm_mulaw"));
    EXPECT_EQ(AudioEncoderValue("wma2"), "wmav2");
    EXPECT_EQ(ChannelValue("mono 1 channel"), "1");
    EXPECT_EQ(ChannelValue("stereo 2 channels"), "2");
    EXPECT_EQ(ChannelValue("as source"), "as source");
    EXPECT_FALSE(ChannelValue("Stereo 2 channels"));
    const struct {
        const char* item;
        const char* value; // nullptr: nothing stored
    } volumes[] = {{"25%", "64"},  {"100%", "256"}, {"150%", "384"}, {"400%", "1024"},
                   {"225%", nullptr}, {"0%", nullptr}, {"-50%", nullptr}};
    for (const auto& v : volumes) {
        const auto value = VolumeValue(v.item);
        if (v.value) EXPECT_EQ(value, QString(v.value)) << v.item;
        else EXPECT_FALSE(value) << v.item;
    }
    EXPECT_THROW(VolumeValue("loud%"), std::invalid_argument);
    EXPECT_EQ(ZoomValue(0), "full");
    EXPECT_EQ(ZoomValue(1), "lbox");
    EXPECT_EQ(ZoomValue(2), "pan");
}

TEST(CheckFrameSize, EvenSizesPassOddOnesAreCorrected)
{
    const struct {
        const char* text;
        FrameSizeCheck::Result result;
        const char* size;
    } cases[] = {
        {"320x240", FrameSizeCheck::Valid, "320x240"},   {"321x240", FrameSizeCheck::Corrected, "320x240"},
        {"0x0", FrameSizeCheck::Corrected, "2x2"},       {"1x3", FrameSizeCheck::Corrected, "2x2"},
        {"640x480x2", FrameSizeCheck::Invalid, ""},      {"640", FrameSizeCheck::Invalid, ""},
        {"axb", FrameSizeCheck::Invalid, ""},            {"As Source", FrameSizeCheck::NotChecked, ""},
    };
    for (const auto& c : cases) {
        const FrameSizeCheck check = CheckFrameSize(c.text);
        EXPECT_EQ(check.result, c.result) << c.text;
        EXPECT_EQ(check.size, c.size) << c.text;
    }
}

TEST(RateChecks, AcceptIntegersDecimalsAndAsSource)
{
    EXPECT_TRUE(VideoBitRateAccepted("768"));
    EXPECT_TRUE(VideoBitRateAccepted("as source"));
    EXPECT_FALSE(VideoBitRateAccepted("12k"));
    EXPECT_FALSE(VideoBitRateAccepted("As source"));
    EXPECT_TRUE(AudioBitRateAccepted("12.2"));
    EXPECT_FALSE(SampleRateAccepted("44.1"));
    EXPECT_TRUE(H264KeyAccepted("paraBitExact", "TRUE"));
    EXPECT_FALSE(H264KeyAccepted("paraBitExact", "yes"));
    EXPECT_TRUE(H264KeyAccepted("paraCoder", "0"));
    EXPECT_FALSE(H264KeyAccepted("paraGop", "0"));
    EXPECT_FALSE(H264KeyAccepted("paraLevel", "3.0"));
}

} // namespace

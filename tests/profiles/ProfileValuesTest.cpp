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
    EXPECT_EQ(ZoomValue(3), "center");
    EXPECT_EQ(ZoomValue(-1), "");
    for (int i = 0; i < 4; ++i) EXPECT_EQ(ZoomIndex(ZoomValue(i)), i);
    EXPECT_EQ(ZoomIndex("Full"), -1);
    EXPECT_EQ(ZoomIndex(""), -1);
}

TEST(ProfileNames, DialogAudioEncoderTableIsWiderThanThePanels)
{
    const struct {
        const char* name;
        const char* dialog; // nullptr: no value
        const char* panel;
    } cases[] = {
        {"FLAC", "flac", "libflac"},
        {"libamr_nb", "libopencore_amrnb", nullptr},
        {"amr_nb", nullptr, "libopencore_amrnb"},
        {"gsm", "libgsm", nullptr},
        {"alac", "alac", nullptr},
        {"pcm-24bit", "pcm_s24be", nullptr},
        {"pcm-64bit float", "pcm_f64be", nullptr},
        {"CCITT mu-law(8-bit)", "pcm_mulaw", nullptr},
        {"ima adpcm(4-bit)", "adpcm_ima_qt", nullptr},
        {"pcm_mulaw ", "pcm_mulaw", "pcm_mulaw"},
        {"pcm_mulaw", nullptr, nullptr},
        {"mp3", "libmp3lame", "libmp3lame"},
        {"wma1", "wmav1", "wmav1"},
        {"speex", nullptr, nullptr},
    };
    for (const auto& c : cases) {
        const auto dialog = DialogAudioEncoderValue(c.name);
        const auto panel = AudioEncoderValue(c.name);
        if (c.dialog) EXPECT_EQ(dialog, QString(c.dialog)) << c.name;
        else EXPECT_FALSE(dialog) << c.name;
        if (c.panel) EXPECT_EQ(panel, QString(c.panel)) << c.name;
        else EXPECT_FALSE(panel) << c.name;
    }
    EXPECT_TRUE(AudioEncoderForcesGsmRates("GSM"));
    EXPECT_FALSE(AudioEncoderForcesGsmRates("gsm "));
}

TEST(KeyFilters, FrameSizeBoxTakesOneXBetweenDigits)
{
    const struct {
        const char* text;
        char key;
        bool accepted;
    } cases[] = {
        {"", 'a', true},        {"", 'x', true},         {"640", 'x', true},  {"640", '5', true},
        {"640", 'a', false},    {"640x", 'x', false},    {"640x48", '0', true}, {"640x", '\b', true},
        {"640", 'X', false},    {"as source", '1', true}, {"640x480", ' ', false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FrameSizeKeyAccepted(c.text, QLatin1Char(c.key)), c.accepted) << c.text << " + " << c.key;
    for (char key : {'0', '9', '\b'}) EXPECT_TRUE(NumericKeyAccepted(QLatin1Char(key))) << key;
    for (char key : {'.', '-', 'k', ' '}) EXPECT_FALSE(NumericKeyAccepted(QLatin1Char(key))) << key;
    EXPECT_EQ(FrameSizeCorrectionText("320x240"), "Frame Size must be a multiple of 2.\nThe correct value:320x240");
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

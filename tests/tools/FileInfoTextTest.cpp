#include "tools/FileInfoText.h"

#include "support/QtPrinters.h"

#include <gtest/gtest.h>

namespace {

TEST(FileInfoText, NamesUpTo45CharactersAreShownWhole)
{
    const QString path45 = "/" + QString(40, 'a') + ".flv";
    ASSERT_EQ(path45.size(), 45);
    EXPECT_EQ(ShortenedSourceName(path45), path45);

    const QString path46 = "/" + QString(41, 'b') + ".flv";
    ASSERT_EQ(path46.size(), 46);
    EXPECT_EQ(ShortenedSourceName(path46), "/" + QString(39, 'b') + "...flv  ");

    EXPECT_EQ(ShortenedSourceName("/" + QString(50, 'c')), "/" + QString(39, 'c') + "..  ");
    EXPECT_EQ(ShortenedSourceName(""), "");
}

TEST(FileInfoText, SecondsText)
{
    const struct {
        int64_t microseconds;
        const char* text;
    } cases[] = {
        {83'456'789, "83.456 Second"}, {0, "0.000 Second"},   {999, "0.000 Second"},
        {1'000, "0.001 Second"},       {3'050'000, "3.050 Second"}, {-1, ""},
    };
    for (const auto& c : cases) EXPECT_EQ(MillisecondSecondsText(c.microseconds), c.text) << c.microseconds;
}

TEST(FileInfoText, FrameRateAsDecimalFramesPerSecond)
{
    const struct {
        int num, den;
        const char* text;
    } cases[] = {
        {30000, 1001, "29.97"}, {25, 1, "25"}, {24000, 1001, "23.98"}, {50, 2, "25"},
        {299, 10, "29.9"},      {0, 1, ""},    {25, 0, ""},            {-25, 1, ""},
    };
    for (const auto& c : cases) EXPECT_EQ(FrameRateText({c.num, c.den}), c.text) << c.num << "/" << c.den;
}

TEST(FileInfoText, TotalFramesIsDurationTimesRateRounded)
{
    EXPECT_EQ(TotalFrames(3'000'000, {25, 1}), 75);
    EXPECT_EQ(TotalFrames(10'010'000, {30000, 1001}), 300);
    EXPECT_EQ(TotalFrames(3'019'000, {25, 1}), 75);  // 75.475
    EXPECT_EQ(TotalFrames(3'021'000, {25, 1}), 76);  // 75.525
    EXPECT_EQ(TotalFrames(0, {25, 1}), 0);
    EXPECT_EQ(TotalFrames(-1, {25, 1}), -1);
    EXPECT_EQ(TotalFrames(3'000'000, {0, 1}), -1);
}

TEST(FileInfoText, AudioCodecIsCutFromTheReport)
{
    const struct {
        const char* report;
        const char* codec;
    } cases[] = {
        {"Input #0, flv\n  Stream #0.0: Video: flv1, yuv420p, 320x240\n"
         "  Stream #0.1: Audio: mp3, 44100 Hz, stereo, s16, 128 kb/s\n",
         "mp3"},
        {"Stream #0.1: Audio: aac (LC), 44100 Hz, stereo, fltp, 128 kb/s", "aac (LC)"},
        // Only the first sound stream counts.
        {"Stream #0.1: Audio: mp3, 44100 Hz\nStream #0.2: Audio: aac, 48000 Hz\n", "mp3"},
        {"Stream #0.0: Video: flv1, yuv420p\n", ""},
        // A comma on a later line does not belong to the sound line.
        {"Stream #0.1: Audio: pcm\nStream #0.2: Video: h264, yuv420p\n", ""},
        {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(AudioCodecText(c.report), c.codec) << c.report;
}

} // namespace

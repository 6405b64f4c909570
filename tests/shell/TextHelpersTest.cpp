#include "shell/AppException.h"
#include "shell/TextHelpers.h"

#include "support/QtPrinters.h"

#include <gtest/gtest.h>

namespace {

TEST(FormatTimestamp, HoursMinutesSecondsMilliseconds)
{
    const struct {
        int64_t us;
        const char* text;
    } cases[] = {
        {0, "00:00:00.000"},
        {3723456789LL, "01:02:03.456"},
        {90000000000LL, "25:00:00.000"},
        {999, "00:00:00.000"},
        {1000, "00:00:00.001"},
        {59999999, "00:00:59.999"},
        {360000000000LL, "100:00:00.000"},
    };
    for (const auto& c : cases) EXPECT_EQ(FormatTimestamp(c.us), c.text) << c.us;
}

TEST(FormatClock, UnpaddedHoursAndTwoDigitMinutesAndSeconds)
{
    const struct {
        int32_t seconds;
        const char* text;
    } cases[] = {{-5, "0:00:00"}, {0, "0:00:00"}, {59, "0:00:59"}, {3725, "1:02:05"}, {90000, "25:00:00"}};
    for (const auto& c : cases) EXPECT_EQ(FormatClock(c.seconds), c.text) << c.seconds;
}

TEST(IsIntegerText, WholeTextMustBeAnInteger)
{
    for (const char* yes : {"0", "42", "-7", "+3", "  12", "2147483647", "-2147483648"})
        EXPECT_TRUE(IsIntegerText(yes)) << yes;
    for (const char* no : {"", " ", "1.5", "12 ", "abc", "1e3", "2147483648", "--1", "0x10"})
        EXPECT_FALSE(IsIntegerText(no)) << no;
}

TEST(IsNumberText, DecimalNumbersWithAPoint)
{
    for (const char* yes : {"0", "1.5", "-0.25", ".5", "3.", "29.97", " 7", "1e3"}) EXPECT_TRUE(IsNumberText(yes)) << yes;
    for (const char* no : {"", ".", "1,5", "abc", "1.2.3", "5 fps", "-"}) EXPECT_FALSE(IsNumberText(no)) << no;
}

TEST(ExceptionDisplayText, AddsAFullStopAfterCharactersSortingAfterThePoint)
{
    const struct {
        const char* message;
        const char* shown;
    } cases[] = {
        {"", ""},
        {"Disk full", "Disk full."},
        {"Error 42", "Error 42."},
        {"Really?", "Really?."},
        {"Done.", "Done."},
        {"Stop!", "Stop!"},
        {"(see log)", "(see log)"},
        {"a-", "a-"},
    };
    for (const auto& c : cases) EXPECT_EQ(ExceptionDisplayText(c.message), c.shown) << c.message;
}

} // namespace

#include "tools/TrimRange.h"

#include <gtest/gtest.h>

namespace {

constexpr int64_t kSecond = 1000000;

struct TrimCase {
    const char* name;
    int64_t start, end, duration;
    int64_t storedStart, storedLength;
    const char* text; // nullptr: the row's text is left alone
};

void PrintTo(const TrimCase& c, std::ostream* os) { *os << c.name; }

class ChooseTrimTest : public ::testing::TestWithParam<TrimCase> {};

TEST_P(ChooseTrimTest, StoresStartLengthAndText)
{
    const TrimCase& c = GetParam();
    const TrimChoice choice = ChooseTrim(c.start, c.end, c.duration);
    EXPECT_EQ(choice.TrimStart, c.storedStart);
    EXPECT_EQ(choice.TrimLength, c.storedLength);
    if (c.text) {
        ASSERT_TRUE(choice.TrimmedLengthText.has_value());
        EXPECT_EQ(choice.TrimmedLengthText->toStdString(), c.text);
    } else {
        EXPECT_FALSE(choice.TrimmedLengthText.has_value());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ChooseTrimTest,
    ::testing::Values(
        TrimCase{"TenToTwentyFiveAndAHalf", 10 * kSecond, 25500000, 60 * kSecond, 10 * kSecond, 15500000, "15"},
        // Within a millisecond of the end counts as the whole file.
        TrimCase{"StartToNearEnd", 0, 60 * kSecond + 39500, 60 * kSecond + 40000, 0, 0, "60"},
        TrimCase{"WholeFile", 0, 60 * kSecond, 60 * kSecond, 0, 0, "60"},
        TrimCase{"ShorterThanAMillisecond", 5 * kSecond, 5 * kSecond + 999, 60 * kSecond, 5 * kSecond, 0, "0"},
        TrimCase{"ExactlyOneMillisecond", 5 * kSecond, 5 * kSecond + 1000, 60 * kSecond, 5 * kSecond, 1000, "0"},
        // An end before the start: the whole length is shown, the start kept.
        TrimCase{"EndBeforeStart", 20 * kSecond, 10 * kSecond, 60 * kSecond, 20 * kSecond, 0, "60"},
        TrimCase{"EndBeyondDuration", 10 * kSecond, 61 * kSecond, 60 * kSecond, 10 * kSecond, 0, "60"},
        TrimCase{"ResetRange", 0, 60 * kSecond, 60 * kSecond, 0, 0, "60"},
        TrimCase{"NothingOpen", 0, 0, 0, 0, 0, nullptr},
        TrimCase{"UnknownDurationWithRange", 10 * kSecond, 20 * kSecond, 0, 0, 0, nullptr},
        TrimCase{"TailOfTheFile", 50 * kSecond, 60 * kSecond, 60 * kSecond, 50 * kSecond, 10 * kSecond, "10"}),
    [](const ::testing::TestParamInfo<TrimCase>& info) { return std::string(info.param.name); });

TEST(TrimBar, PositionsAndThumbsConvertBothWays)
{
    EXPECT_EQ(BarPositionOf(30 * kSecond, 60 * kSecond, 568), 284);
    EXPECT_EQ(BarPositionOf(59999999, 60 * kSecond, 568), 567); // truncates
    EXPECT_EQ(BarPositionOf(10 * kSecond, 0, 568), 0);
    EXPECT_EQ(PositionOfBar(284, 568, 60 * kSecond), 30 * kSecond);
    EXPECT_EQ(PositionOfBar(568, 568, 60 * kSecond), 60 * kSecond);
    EXPECT_EQ(PositionOfBar(1, 568, 60 * kSecond), 105633);
    EXPECT_EQ(PositionOfBar(10, 0, 60 * kSecond), 0);
}

TEST(TrimCaption, LongPathsAreShortenedAroundTheExtension)
{
    const QString fifty = QString(50, 'a');
    EXPECT_EQ(TrimCaption("/v/clip.flv"), "/v/clip.flv");
    EXPECT_EQ(TrimCaption(fifty), fifty);
    const QString longPath = "/videos/" + QString(60, 'b') + ".flv";
    EXPECT_EQ(TrimCaption(longPath), "Trim   " + longPath.left(50) + "...flv  ");
}

} // namespace

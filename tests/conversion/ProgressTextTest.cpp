#include "conversion/ProgressText.h"
#include "shell/PictureBox.h"

#include "support/QtPrinters.h"

#include <gtest/gtest.h>

namespace {

TEST(ProgressText, PercentLabelsAndNames)
{
    EXPECT_EQ(ProgressPercent(1500000, 3000000), 50);
    EXPECT_EQ(ProgressPercent(2999999, 3000000), 99);
    EXPECT_EQ(ProgressPercent(5, 0), 0);
    EXPECT_EQ(ProgressPercent(5, -1), 0);
    EXPECT_EQ(SecondsText(12999999), "12 Second");
    EXPECT_EQ(KilobytesText(345678), "345 kb");
    EXPECT_EQ(TaskNumberText(1, 2), "[2/2]");
    const QString fifty = "/videos/" + QString(38, 'a') + ".flv";
    ASSERT_EQ(fifty.size(), 50);
    EXPECT_EQ(ShortSourceName(fifty), fifty);
    const QString sixty = "/videos/" + QString(48, 'b') + ".flv";
    ASSERT_EQ(sixty.size(), 60);
    EXPECT_EQ(ShortSourceName(sixty), sixty.left(44) + "...flv");
}

TEST(FitPicture, LargestCentredRectangleOfThePictureShape)
{
    const QRect box(0, 0, 372, 210);
    EXPECT_EQ(FitPicture(640, 480, box), QRect(46, 0, 280, 210));
    EXPECT_EQ(FitPicture(720, 200, box), QRect(0, 53, 372, 104));
    EXPECT_EQ(FitPicture(372, 210, box), box);
    EXPECT_EQ(FitPicture(0, 0, box), box);
}

} // namespace

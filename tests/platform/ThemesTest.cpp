#include "platform/Themes.h"

#include "support/QtPrinters.h"

#include <gtest/gtest.h>

namespace {

TEST(Themes, SevenEntriesWithTheirListTints)
{
    const struct {
        const char* menuText;
        QRgb tint;
    } expected[kThemeCount] = {
        {"Default", 0xE2E6F6}, {"Gray", 0xECECEC},  {"Orange", 0xF8F2E0},     {"Purple", 0xF6E6F1},
        {"Red", 0xF7E1E1},     {"Green", 0xE2F7E1}, {"Light blue", 0xE1F0F7},
    };
    for (int i = 0; i < kThemeCount; ++i) {
        EXPECT_EQ(ThemeAt(i).menuText, expected[i].menuText);
        EXPECT_EQ(ThemeAt(i).oddRowTint.rgb() & 0xFFFFFF, expected[i].tint) << i;
    }
}

TEST(Themes, IndexesOutsideTheRangeGiveTheDefault)
{
    for (int index : {-1, 7, 9, 1000}) {
        EXPECT_FALSE(IsThemeIndex(index));
        EXPECT_EQ(ThemeAt(index).menuText, "Default");
    }
    SetCurrentThemeIndex(4);
    SetCurrentThemeIndex(9);
    EXPECT_EQ(CurrentThemeIndex(), 4);
    SetCurrentThemeIndex(0);
}

TEST(Themes, PalettesDifferAndUseTheTintForAlternateRows)
{
    for (int i = 0; i < kThemeCount; ++i) {
        const QPalette palette = ThemePalette(ThemeAt(i));
        EXPECT_EQ(palette.color(QPalette::AlternateBase), ThemeAt(i).oddRowTint);
        for (int j = i + 1; j < kThemeCount; ++j)
            EXPECT_NE(palette.color(QPalette::Window), ThemePalette(ThemeAt(j)).color(QPalette::Window));
    }
}

} // namespace

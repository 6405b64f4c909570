#include "profiles/FormatCatalogue.h"

#include "platform/IniFile.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

namespace {

TEST(Catalogue, NineteenFormatsWithTheirCodesAndSections)
{
    const std::vector<int> codes = AllFormatCodes();
    EXPECT_EQ(codes, (std::vector<int>{0, 1, 100, 101, 102, 103, 104, 105, 106, 107, 108, 109, 200, 201, 202, 203,
                                       204, 205, 206}));
    EXPECT_EQ(FormatText(1), "MPEG-2 Moive (*.mpg)");
    EXPECT_EQ(FormatText(103), "H.264/MPEG-4 AVC Video (*.mp4)");
    EXPECT_EQ(FormatText(206), "AC-3 Audio Codec (*.ac3)");
    EXPECT_EQ(FormatText(2), "");
    EXPECT_EQ(FormatText(110), "");
    EXPECT_EQ(FormatText(300), "");
    EXPECT_EQ(FormatCodeOf("WMA - Windows Meida Audio (*.wma)"), 203);
    EXPECT_EQ(FormatCodeOf("Apple iPod Video MPEG-4 Movie (*.mp4)"), -1);
    EXPECT_EQ(FormatSection(0), "formatInfo0");
    EXPECT_EQ(FormatSection(103), "formatInfo103");
    EXPECT_EQ(FormatSection(QString("206")), "formatInfo206");
}

TEST(Catalogue, FreshInstallationShowsThreeCollapsedHeaders)
{
    TestEnvironment env;
    FormatNameTable table;
    const auto rows = BuildFormatRows(IniFile(env.converterIni()), table);
    ASSERT_EQ(rows.size(), 3u);
    const char* headers[] = {"MPEG Video Formates", "General Video formates", "General Audio formates"};
    for (int g = 0; g < 3; ++g) {
        EXPECT_EQ(rows[size_t(g)].text, headers[g]);
        EXPECT_TRUE(rows[size_t(g)].info.IsGroup);
        EXPECT_FALSE(rows[size_t(g)].info.IsFormat);
        EXPECT_TRUE(rows[size_t(g)].info.Collapsed);
        EXPECT_EQ(rows[size_t(g)].info.Code, g);
    }
    EXPECT_EQ(table.At(1, 9), "DV - PAL -Digital Video Format (*.dv)");
    EXPECT_EQ(table.At(1, 10), "");
    EXPECT_EQ(table.At(2, 6), "AC-3 Audio Codec (*.ac3)");
}

TEST(Catalogue, ExpandedGroupListsItsFormatsBelowItsHeader)
{
    TestEnvironment env;
    IniFile ini(env.converterIni());
    ini.WriteString("lstformat", "1", "0");
    FormatNameTable table;
    const auto rows = BuildFormatRows(ini, table);
    ASSERT_EQ(rows.size(), 13u);
    EXPECT_TRUE(rows[1].info.IsGroup);
    EXPECT_FALSE(rows[1].info.Collapsed);
    for (int i = 0; i < 10; ++i) {
        const CatalogueRow& row = rows[size_t(2 + i)];
        EXPECT_TRUE(row.info.IsFormat);
        EXPECT_EQ(row.info.Code, 100 + i);
        EXPECT_EQ(row.text, FormatText(100 + i));
        EXPECT_TRUE(row.info.Label.isEmpty());
    }
    EXPECT_TRUE(rows[12].info.IsGroup);
    EXPECT_EQ(rows[12].info.Code, 2);
}

TEST(Catalogue, GroupStateIsSavedPerHeaderAndReadBack)
{
    TestEnvironment env;
    IniFile ini(env.converterIni());
    TItemInfo g0, g2, format;
    g0.IsGroup = true, g0.Code = 0, g0.Collapsed = true;
    g2.IsGroup = true, g2.Code = 2, g2.Collapsed = false;
    format.IsFormat = true, format.Code = 201;
    SaveFormatGroupState(ini, {g0, format, g2});
    EXPECT_EQ(ini.ReadSection("lstformat"), (QStringList{"0", "2"}));
    EXPECT_EQ(ini.ReadString("lstformat", "0", ""), "1");
    EXPECT_EQ(ini.ReadString("lstformat", "2", ""), "0");
    FormatNameTable table;
    EXPECT_EQ(BuildFormatRows(ini, table).size(), 3u + 7u);
}

} // namespace

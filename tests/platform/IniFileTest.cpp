#include "platform/IniFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "support/QtPrinters.h"

#include <gtest/gtest.h>

#include <random>

namespace {

class IniFileTest : public ::testing::Test {
protected:
    QString Path() const { return dir.filePath(QStringLiteral("test.ini")); }
    void WriteRaw(const QByteArray& bytes) const
    {
        QFile file(Path());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    QByteArray ReadRaw() const
    {
        QFile file(Path());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    QTemporaryDir dir;
};

TEST_F(IniFileTest, MissingFileGivesDefaultsAndFirstWriteCreatesIt)
{
    IniFile ini(Path());
    EXPECT_EQ(ini.ReadString("settings", "OutPutDir", "fallback"), "fallback");
    EXPECT_EQ(ini.ReadInteger("settings", "volume", 7), 7);
    EXPECT_FALSE(QFileInfo::exists(Path()));
    EXPECT_TRUE(ini.WriteInteger("settings", "volume", 100));
    EXPECT_EQ(ReadRaw(), QByteArray("[settings]\nvolume=100\n"));
}

TEST_F(IniFileTest, FirstWriteCreatesTheMissingFolder)
{
    const QString path = dir.filePath("new/folder/test.ini");
    IniFile ini(path);
    EXPECT_TRUE(ini.WriteString("settings", "skinIndex", "2"));
    EXPECT_EQ(IniFile(path).ReadInteger("settings", "skinIndex", 0), 2);
}

TEST_F(IniFileTest, NamesMatchWithoutRegardToCase)
{
    IniFile ini(Path());
    ini.WriteString("Settings", "snapOutPutDir", "/a");
    EXPECT_EQ(ini.ReadString("SETTINGS", "SnapOutPutDir", ""), "/a");
    ini.WriteString("settings", "SNAPOUTPUTDIR", "/b");
    EXPECT_EQ(ini.ReadString("settings", "snapoutputdir", ""), "/b");
    EXPECT_EQ(ini.ReadSection("settings").size(), 1);
}

TEST_F(IniFileTest, IntegerReadsFallBackOnAnythingButAWholeNumber)
{
    const struct {
        const char* stored;
        int expected;
    } cases[] = {
        {"42", 42},   {"-3", -3},      {" 12 ", 12},     {"+5", 5},        {"", 9},
        {"abc", 9},   {"12abc", 9},    {"1.5", 9},       {"0x10", 9},      {"99999999999", 9},
        {"2147483647", 2147483647},
    };
    IniFile ini(Path());
    for (const auto& c : cases) {
        ini.WriteString("s", "k", c.stored);
        EXPECT_EQ(ini.ReadInteger("s", "k", 9), c.expected) << c.stored;
    }
}

TEST_F(IniFileTest, ReadsWindowsFilesWithBomCrlfCommentsAndBlankLines)
{
    WriteRaw("\xEF\xBB\xBF; written on Windows\r\n\r\n[settings]\r\nOutPutDir=c:\\varnel\r\n"
             "# another comment\r\n\r\nvolume=64\r\n[formatInfo1]\r\nFileExt=mp4\r\n");
    IniFile ini(Path());
    EXPECT_EQ(ini.ReadString("settings", "OutPutDir", ""), "c:\\varnel");
    EXPECT_EQ(ini.ReadInteger("settings", "volume", 0), 64);
    EXPECT_EQ(ini.ReadString("formatinfo1", "fileext", ""), "mp4");
}

TEST_F(IniFileTest, WritingKeepsCommentsOtherSectionsAndOrder)
{
    WriteRaw("; keep me\n[a]\nx=1\ny=2\n[b]\nz=3\n");
    IniFile ini(Path());
    ini.WriteString("a", "x", "10");
    const QByteArray text = ReadRaw();
    EXPECT_TRUE(text.contains("; keep me"));
    EXPECT_LT(text.indexOf("x=10"), text.indexOf("y=2"));
    EXPECT_LT(text.indexOf("y=2"), text.indexOf("z=3"));
    EXPECT_EQ(ini.ReadSection("a"), (QStringList{"x", "y"}));
}

TEST_F(IniFileTest, GarbageReadsAsMissingKeysWithoutCrashing)
{
    std::mt19937 random(1234);
    for (int round = 0; round < 50; ++round) {
        QByteArray garbage(int(random() % 4096), '\0');
        for (char& c : garbage) c = char(random() % 256);
        WriteRaw(garbage);
        IniFile ini(Path());
        EXPECT_EQ(ini.ReadInteger("settings", "volume", -77), -77);
        EXPECT_EQ(ini.ReadString("settings", "OutPutDir", "d"), "d");
    }
    // Garbage around a valid section does not hide its keys.
    WriteRaw(QByteArray("\x01\x02\xff\xfe\x00junk\n[settings]\nvolume=5\n\x00\x7f", 30));
    EXPECT_EQ(IniFile(Path()).ReadInteger("settings", "volume", 0), 5);
}

TEST_F(IniFileTest, NothingIsCachedBetweenCalls)
{
    IniFile ini(Path());
    ini.WriteInteger("s", "k", 1);
    WriteRaw("[s]\nk=2\n");
    EXPECT_EQ(ini.ReadInteger("s", "k", 0), 2);
    IniFile other(Path());
    other.WriteInteger("s", "k", 3);
    EXPECT_EQ(ini.ReadInteger("s", "k", 0), 3);
}

TEST_F(IniFileTest, WritesLeaveNoTemporaryFilesBehind)
{
    IniFile ini(Path());
    for (int i = 0; i < 5; ++i) ini.WriteInteger("s", QString("k%1").arg(i), i);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"test.ini"});
}

TEST_F(IniFileTest, FailedWriteIsReportedAndLeavesNothing)
{
    // Nobody, not even root, can create files under /proc.
    IniFile ini("/proc/varnel-test/test.ini");
    EXPECT_FALSE(ini.WriteString("s", "k", "v"));
    EXPECT_EQ(ini.ReadString("s", "k", "default"), "default");
}

TEST_F(IniFileTest, LineBreaksInValuesCannotInjectKeys)
{
    IniFile ini(Path());
    ini.WriteString("s", "name", "a\nvolume=128");
    EXPECT_FALSE(ini.ValueExists("s", "volume"));
    EXPECT_EQ(ini.ReadString("s", "name", ""), "a volume=128");
}

TEST_F(IniFileTest, DeleteKeyAndEraseSection)
{
    IniFile ini(Path());
    ini.WriteString("a", "x", "1");
    ini.WriteString("a", "y", "2");
    ini.WriteString("b", "z", "3");
    ini.DeleteKey("A", "X");
    EXPECT_FALSE(ini.ValueExists("a", "x"));
    EXPECT_TRUE(ini.ValueExists("a", "y"));
    ini.EraseSection("B");
    EXPECT_FALSE(ini.SectionExists("b"));
    EXPECT_TRUE(ini.SectionExists("a"));
}

} // namespace

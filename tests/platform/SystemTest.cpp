#include "platform/Dialogs.h"
#include "platform/ShellActions.h"
#include "platform/SystemFolders.h"
#include "platform/UserAndVersion.h"

#include <QDir>
#include <QTemporaryDir>

#include "support/QtPrinters.h"

#include <gtest/gtest.h>

namespace {

TEST(CanWriteTo, TrueForAWritableFolderAndLeavesNothingBehind)
{
    QTemporaryDir dir;
    EXPECT_TRUE(CanWriteTo(dir.path()));
    EXPECT_TRUE(CanWriteTo(dir.path() + "/"));
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden).isEmpty());
}

TEST(CanWriteTo, FalseForMissingUnwritableOrNonFolders)
{
    QTemporaryDir dir;
    const QString missing = dir.path() + "/missing";
    EXPECT_FALSE(CanWriteTo(missing));
    EXPECT_FALSE(QDir(missing).exists());
    EXPECT_FALSE(CanWriteTo(""));
    EXPECT_FALSE(CanWriteTo("/proc"));  // refused even to root
    QFile file(dir.path() + "/plain");
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    EXPECT_FALSE(CanWriteTo(file.fileName()));
}

TEST(SpecialFolderPath, ConfigFolderFollowsTheOverrideAndEndsInASeparator)
{
    const QByteArray saved = qgetenv("VARNEL_CONFIG_DIR");
    qputenv("VARNEL_CONFIG_DIR", "/tmp/varnel-config");
    EXPECT_EQ(SpecialFolderPath(kCsidlCommonAppData), "/tmp/varnel-config/");
    qputenv("VARNEL_CONFIG_DIR", "");
    const QString usual = SpecialFolderPath(kCsidlCommonAppData);
    EXPECT_TRUE(usual.endsWith("/varnel/")) << usual.toStdString();
    EXPECT_EQ(SpecialFolderPath(9999), "");
    qputenv("VARNEL_CONFIG_DIR", saved);
}

TEST(Folders, FallbacksLiveUnderHome)
{
    const QByteArray saved = qgetenv("HOME");
    qputenv("HOME", "/tmp/varnel-home");
    EXPECT_EQ(PerUserOutputFolder(), "/tmp/varnel-home/varnel");
    EXPECT_TRUE(DefaultOutputFolder().endsWith("/varnel"));
    qputenv("HOME", saved);
}

TEST(VersionText, JoinsTheLastThreeNumbersWithoutSeparators)
{
    EXPECT_EQ(VersionText(3, 6, 0, 0), " 3.600 ");
    EXPECT_EQ(VersionText(1, 10, 2, 15), " 1.10215 ");
    EXPECT_EQ(VersionFromResource(), " 1.100 ");
}

TEST(RightChars, LastCharactersOrAll)
{
    const struct {
        const char* text;
        quint16 count;
        const char* expected;
    } cases[] = {{"abcdef", 3, "def"}, {"abc", 3, "abc"}, {"ab", 5, "ab"}, {"abc", 0, ""}, {"", 2, ""}};
    for (const auto& c : cases) EXPECT_EQ(RightChars(c.text, c.count), c.expected) << c.text;
}

TEST(CurrentUserName, NamesTheRunningUser)
{
    EXPECT_FALSE(CurrentUserName().trimmed().isEmpty());
}

TEST(ShellActions, GoThroughTheInstalledFunctions)
{
    QStringList opened;
    int shutdowns = 0;
    SetFolderOpener([&](const QString& f) { opened << "folder:" + f; });
    SetWebPageOpener([&](const QString& u) { opened << "page:" + u; });
    SetShutdownAction([&] { ++shutdowns; });
    OpenFolderInFileManager("/x");
    OpenWebPage("https://example.org/");
    ShutDownComputer();
    EXPECT_EQ(opened, (QStringList{"folder:/x", "page:https://example.org/"}));
    EXPECT_EQ(shutdowns, 1);
    SetFolderOpener(nullptr);
    SetWebPageOpener(nullptr);
    SetShutdownAction([] {});
}

TEST(QtNameFilter, TurnsPipeFiltersIntoQtFilters)
{
    EXPECT_EQ(QtNameFilter("Flash Video files (*.flv)|*.flv"), "Flash Video files (*.flv)");
    EXPECT_EQ(QtNameFilter("Flash Video files (*.flv)|*.flv|All files|*"),
              "Flash Video files (*.flv);;All files (*)");
    EXPECT_EQ(QtNameFilter("Pictures|*.bmp;*.jpg"), "Pictures (*.bmp *.jpg)");
}

} // namespace

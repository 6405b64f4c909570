#include "shell/OutputFolder.h"

#include "platform/SystemFolders.h"
#include "platform/UserAndVersion.h"
#include "shell/Settings.h"
#include "support/TestEnvironment.h"

#include <QFile>

#include <gtest/gtest.h>

namespace {

TEST(ApplyChosenOutputFolder, FollowsTheBrowseRules)
{
    TestEnvironment env;
    const QString writable = env.MakeFolder("out");
    const QString shown = env.MakeFolder("shown");
    const QString notValid = "The path %1 is not a valid directory.";
    const QString noPermission = "You login as " + CurrentUserName().trimmed() +
                                 " .You don't have permission to write to directory:%1";
    const struct {
        QString chosen;
        QString expectedShown;   // null: nothing changes
        QString expectedStored;  // null: "OutPutDir" not written
        QString expectedMessage; // empty: no message
    } cases[] = {
        {"", QString(), QString(), ""},
        {shown, QString(), QString(), ""},
        {"/", QString(), QString(), notValid.arg("/")},
        {"/ab", QString(), QString(), notValid.arg("/ab")},
        {writable, writable, writable, ""},
        {"/proc/sys", PerUserOutputFolder(), PerUserOutputFolder(), noPermission.arg("/proc/sys")},
        {env.root() + "/missing", PerUserOutputFolder(), PerUserOutputFolder(),
         noPermission.arg(env.root() + "/missing")},
    };
    for (const auto& c : cases) {
        QFile::remove(env.converterIni());
        env.dialogs.ClearCalls();
        TestEnvironment& each = env;
        ConverterSettings settings(each.converterIni());
        const QString result = ApplyChosenOutputFolder(c.chosen, shown, settings, each.dialogs, nullptr);
        EXPECT_EQ(result, c.expectedShown) << c.chosen.toStdString();
        EXPECT_EQ(result.isNull(), c.expectedShown.isNull()) << c.chosen.toStdString();
        if (c.expectedStored.isNull()) EXPECT_TRUE(each.ReadConverterIni().isEmpty()) << c.chosen.toStdString();
        else EXPECT_EQ(settings.OutPutDir(), c.expectedStored);
        const QStringList messages = each.dialogs.messages();
        if (c.expectedMessage.isEmpty()) EXPECT_TRUE(messages.isEmpty()) << c.chosen.toStdString();
        else EXPECT_EQ(messages, QStringList{c.expectedMessage});
    }
}

TEST(CheckedFolderSetting, ReplacesUnwritableFoldersByThePerUserFolder)
{
    TestEnvironment env;
    const QString good = env.MakeFolder("good");
    env.WriteConverterIni(("[settings]\nOutPutDir=" + good + "\nSnapOutPutDir=/proc/sys\n").toUtf8());
    ConverterSettings settings(env.converterIni());
    EXPECT_EQ(CheckedFolderSetting(settings, settings::kOutPutDir), good);
    EXPECT_EQ(CheckedFolderSetting(settings, settings::kSnapOutPutDir), PerUserOutputFolder());
    EXPECT_EQ(settings.SnapOutPutDir(), PerUserOutputFolder());
    EXPECT_EQ(settings.OutPutDir(), good);
}

TEST(OpenOutputFolder, OpensTheStoredFolderWhenTheBoxShowsAPath)
{
    TestEnvironment env;
    ConverterSettings settings(env.converterIni());
    settings.SetOutPutDir("/srv/videos");
    OpenOutputFolder(settings, "/s");
    EXPECT_TRUE(env.openedFolders.isEmpty());
    OpenOutputFolder(settings, "/srv/videos");
    EXPECT_EQ(env.openedFolders, QStringList{"/srv/videos"});
}

} // namespace

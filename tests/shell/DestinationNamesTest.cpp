#include "shell/DestinationNames.h"

#include "platform/SystemFolders.h"
#include "shell/Settings.h"
#include "support/TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

namespace {

void Touch(const QString& path)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
}

TEST(DestinationName, SkipsNamesOfExistingFiles)
{
    const struct {
        QStringList existing;
        const char* expected;
    } cases[] = {
        {{}, "clip_(new).mp4"},
        {{"clip_(new).mp4"}, "clip_(new_1).mp4"},
        {{"clip_(new).mp4", "clip_(new_1).mp4"}, "clip_(new_2).mp4"},
        {{"clip_(new_1).mp4"}, "clip_(new).mp4"},
        {{"clip_(new).avi"}, "clip_(new).mp4"},
    };
    for (const auto& c : cases) {
        TestEnvironment env;
        const QString out = env.MakeFolder("out");
        for (const QString& name : c.existing) Touch(out + "/" + name);
        ConverterSettings settings(env.converterIni());
        settings.SetOutPutDir(out);
        EXPECT_EQ(DestinationName("/videos/clip.flv", ".mp4", settings, env.dialogs), out + "/" + c.expected)
            << c.expected;
        EXPECT_TRUE(env.dialogs.calls().empty());
    }
}

TEST(DestinationName, FolderEndingInASeparatorGetsNoSecondOne)
{
    TestEnvironment env;
    const QString out = env.MakeFolder("out");
    ConverterSettings settings(env.converterIni());
    settings.SetOutPutDir(out + "/");
    EXPECT_EQ(DestinationName("/v/clip.flv", "_ipod.mp4", settings, env.dialogs), out + "/clip_(new)_ipod.mp4");
}

TEST(DestinationName, KeepsAllButTheLastExtension)
{
    TestEnvironment env;
    const QString out = env.MakeFolder("out");
    ConverterSettings settings(env.converterIni());
    settings.SetOutPutDir(out);
    EXPECT_EQ(DestinationName("/v/my.holiday.flv", ".avi", settings, env.dialogs), out + "/my.holiday_(new).avi");
    EXPECT_EQ(DestinationName("/v/noext", ".avi", settings, env.dialogs), out + "/noext_(new).avi");
}

TEST(DestinationName, CreatesAMissingFolderWithItsParents)
{
    TestEnvironment env;
    const QString out = env.root() + "/a/b/c";
    ConverterSettings settings(env.converterIni());
    settings.SetOutPutDir(out);
    EXPECT_EQ(DestinationName("/v/clip.flv", ".mp4", settings, env.dialogs), out + "/clip_(new).mp4");
    EXPECT_TRUE(QFileInfo(out).isDir());
    EXPECT_TRUE(env.dialogs.calls().empty());
}

TEST(DestinationName, UncreatableFolderFallsBackToTheDefaultWithAMessage)
{
    TestEnvironment env;
    ConverterSettings settings(env.converterIni());
    settings.SetOutPutDir("/proc/cannot/exist");
    const QString name = DestinationName("/v/clip.flv", ".mp4", settings, env.dialogs);
    const QString fallback = DefaultOutputFolder();
    EXPECT_EQ(name, fallback + "/clip_(new).mp4");
    EXPECT_TRUE(fallback.startsWith(env.home()));
    EXPECT_TRUE(QFileInfo(fallback).isDir());
    EXPECT_EQ(settings.OutPutDir(), fallback);
    ASSERT_EQ(env.dialogs.calls().size(), 1u);
    EXPECT_EQ(env.dialogs.calls()[0].caption, "Warning");
    EXPECT_EQ(env.dialogs.calls()[0].text, "Cannot create output directory:/proc/cannot/exist"
                                           ".It will create default directory " + fallback + "!");
}

TEST(DestinationNamer, NeverHandsOutTheSameNameTwiceInOneRun)
{
    TestEnvironment env;
    const QString out = env.MakeFolder("out");
    Touch(out + "/clip_(new).mp4");
    ConverterSettings settings(env.converterIni());
    settings.SetOutPutDir(out);
    DestinationNamer namer;
    const QString first = namer.Name("/a/clip.flv", ".mp4", settings, env.dialogs);
    const QString second = namer.Name("/b/clip.flv", ".mp4", settings, env.dialogs);
    const QString third = namer.Name("/c/clip.FLV", ".mp4", settings, env.dialogs);
    EXPECT_EQ(first, out + "/clip_(new_1).mp4");
    EXPECT_EQ(second, out + "/clip_(new_2).mp4");
    EXPECT_EQ(third, out + "/clip_(new_3).mp4");
    // Names are only reserved, never created.
    EXPECT_FALSE(QFileInfo::exists(first));
}

} // namespace

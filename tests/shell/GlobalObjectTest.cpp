#include "shell/GlobalObject.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "support/QtPrinters.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

TEST(TGlobalObject, StartsWithTheProductStrings)
{
    TGlobalObject global;
    EXPECT_EQ(global.ProductName(), "Varnel");
    EXPECT_EQ(global.VersionText(), " ver 1.10 ");
    EXPECT_EQ(global.ConverterIniPath(), "varnelconverter.ini");
    EXPECT_EQ(global.FormatIniPath(), "varnelformat.ini");
    EXPECT_FALSE(global.HelpUrl().isEmpty());
    EXPECT_FALSE(global.WebSiteUrl().isEmpty());
}

TEST(TGlobalObject, SettersRejectValuesByTheirRule)
{
    using Setter = void (TGlobalObject::*)(const QString&);
    using Getter = const QString& (TGlobalObject::*)() const;
    const struct {
        const char* name;
        Setter set;
        Getter get;
        int shortestAccepted;
    } fields[] = {
        {"HelpUrl", &TGlobalObject::SetHelpUrl, &TGlobalObject::HelpUrl, 1},
        {"ConverterIniPath", &TGlobalObject::SetConverterIniPath, &TGlobalObject::ConverterIniPath, 4},
        {"FormatIniPath", &TGlobalObject::SetFormatIniPath, &TGlobalObject::FormatIniPath, 4},
        {"ProductName", &TGlobalObject::SetProductName, &TGlobalObject::ProductName, 1},
        {"VersionText", &TGlobalObject::SetVersionText, &TGlobalObject::VersionText, 1},
        {"WebSiteUrl", &TGlobalObject::SetWebSiteUrl, &TGlobalObject::WebSiteUrl, 1},
    };
    for (const auto& field : fields) {
        TGlobalObject global;
        const QString before = (global.*field.get)();
        for (int length = 0; length < field.shortestAccepted; ++length) {
            (global.*field.set)(QString(length, QLatin1Char('x')));
            EXPECT_EQ((global.*field.get)(), before) << field.name << " took length " << length;
        }
        const QString accepted(field.shortestAccepted, QLatin1Char('y'));
        (global.*field.set)(accepted);
        EXPECT_EQ((global.*field.get)(), accepted) << field.name;
    }
}

TEST(TGlobalObject, IniPathsFromTheConfigFolder)
{
    QTemporaryDir dir;
    const QString folder = dir.path() + "/";
    TGlobalObject global;
    global.SetIniPathsFromFolder(folder);
    EXPECT_EQ(global.ConverterIniPath(), folder + "varnelconverter.ini");
    // Without a copy of its own the installed format lists are used ...
    EXPECT_TRUE(global.FormatIniPath().endsWith("/varnelformat.ini"));
    EXPECT_TRUE(QFileInfo::exists(global.FormatIniPath())) << global.FormatIniPath().toStdString();
    // ... and a copy in the settings folder takes their place.
    QFile copy(folder + "varnelformat.ini");
    ASSERT_TRUE(copy.open(QIODevice::WriteOnly));
    copy.close();
    global.SetIniPathsFromFolder(folder);
    EXPECT_EQ(global.FormatIniPath(), folder + "varnelformat.ini");

    TGlobalObject bare;
    bare.SetIniPathsFromFolder("");
    EXPECT_EQ(bare.ConverterIniPath(), "varnelconverter.ini");
}

} // namespace

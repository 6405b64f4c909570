#include "support/TestEnvironment.h"

#include "platform/Dialogs.h"
#include "platform/ShellActions.h"

#include <QDir>
#include <QFile>

TestEnvironment::TestEnvironment()
    : savedHome_(qgetenv("HOME")), savedConfig_(qgetenv("VARNEL_CONFIG_DIR")),
      savedXdgConfig_(qgetenv("XDG_CONFIG_HOME"))
{
    QDir().mkpath(home());
    QDir().mkpath(configDir());
    qputenv("HOME", home().toLocal8Bit());
    qputenv("VARNEL_CONFIG_DIR", configDir().toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", (home() + QStringLiteral("/.config")).toLocal8Bit());
    SetAppDialogs(&dialogs);
    SetFolderOpener([this](const QString& folder) { openedFolders << folder; });
    SetWebPageOpener([this](const QString& url) { openedPages << url; });
    SetShutdownAction([this] { ++shutdowns; });
}

TestEnvironment::~TestEnvironment()
{
    SetAppDialogs(nullptr);
    SetFolderOpener(nullptr);
    SetWebPageOpener(nullptr);
    SetShutdownAction([] {});
    qputenv("HOME", savedHome_);
    qputenv("VARNEL_CONFIG_DIR", savedConfig_);
    if (savedXdgConfig_.isEmpty()) qunsetenv("XDG_CONFIG_HOME");
    else qputenv("XDG_CONFIG_HOME", savedXdgConfig_);
}

QString TestEnvironment::MakeFolder(const QString& name) const
{
    const QString path = dir_.path() + QLatin1Char('/') + name;
    QDir().mkpath(path);
    return path;
}

void TestEnvironment::WriteConverterIni(const QByteArray& text) const
{
    QFile file(converterIni());
    if (file.open(QIODevice::WriteOnly)) file.write(text);
}

QByteArray TestEnvironment::ReadConverterIni() const
{
    QFile file(converterIni());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

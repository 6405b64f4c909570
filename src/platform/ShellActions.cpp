#include "platform/ShellActions.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDesktopServices>
#include <QUrl>

namespace {

std::function<void(const QString&)>& FolderOpener()
{
    static std::function<void(const QString&)> opener;
    return opener;
}

std::function<void(const QString&)>& WebPageOpener()
{
    static std::function<void(const QString&)> opener;
    return opener;
}

std::function<void()>& ShutdownAction()
{
    static std::function<void()> action;
    return action;
}

void PowerOffThroughLogind()
{
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.login1"), QStringLiteral("/org/freedesktop/login1"),
        QStringLiteral("org.freedesktop.login1.Manager"), QStringLiteral("PowerOff"));
    call << false; // not interactive: no authentication prompt
    QDBusConnection::systemBus().call(call, QDBus::NoBlock);
}

} // namespace

void OpenFolderInFileManager(const QString& folder)
{
    if (FolderOpener()) return FolderOpener()(folder);
    QDesktopServices::openUrl(QUrl::fromLocalFile(folder));
}

void OpenWebPage(const QString& url)
{
    if (WebPageOpener()) return WebPageOpener()(url);
    QDesktopServices::openUrl(QUrl(url));
}

void ShutDownComputer()
{
    if (ShutdownAction()) return ShutdownAction()();
    // Test runs set VARNEL_TESTING: whatever goes wrong there, the machine stays on.
    if (!qEnvironmentVariableIsEmpty("VARNEL_TESTING")) return;
    PowerOffThroughLogind();
}

void SetFolderOpener(std::function<void(const QString&)> opener) { FolderOpener() = std::move(opener); }
void SetWebPageOpener(std::function<void(const QString&)> opener) { WebPageOpener() = std::move(opener); }
void SetShutdownAction(std::function<void()> action) { ShutdownAction() = std::move(action); }

#pragma once

#include <QString>

#include <functional>

// Opens a folder in the desktop's file manager. The result is not checked.
void OpenFolderInFileManager(const QString& folder);
// Opens a web address in the default browser. The result is not checked.
void OpenWebPage(const QString& url);
// Asks the system to power off.
void ShutDownComputer();

// What the three actions above really do. Tests replace them so that nothing
// opens a window outside the program and nothing ever powers the machine off;
// passing an empty function restores the real action.
void SetFolderOpener(std::function<void(const QString&)> opener);
void SetWebPageOpener(std::function<void(const QString&)> opener);
void SetShutdownAction(std::function<void()> action);

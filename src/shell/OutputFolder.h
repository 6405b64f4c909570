#pragma once

#include <QString>

class ConverterSettings;
class Dialogs;
class QWidget;

// What Browse does with the folder the user picked, given the folder the box
// shows now. Returns the folder to show, or a null string when nothing
// changes (nothing picked, the same folder, or a root that is no folder).
QString ApplyChosenOutputFolder(const QString& chosen, const QString& shown, ConverterSettings& settings,
                                Dialogs& dialogs, QWidget* parent);
// The same rules for the folder stored under another key (the snapshot folder).
QString ApplyChosenFolder(const QString& chosen, const QString& shown, ConverterSettings& settings,
                          const QString& key, Dialogs& dialogs, QWidget* parent);

// A path of at most 3 characters names a root ("/", "/a"), never an output folder.
bool IsRootPath(const QString& path);

// The check the main window makes for the output and snapshot folders at every
// showing: a folder that cannot be written is replaced by the per-user folder,
// which is stored. Returns the folder in use.
QString CheckedFolderSetting(ConverterSettings& settings, const QString& key);

// Opens the output folder in the file manager when the box shows a path.
void OpenOutputFolder(ConverterSettings& settings, const QString& shown);

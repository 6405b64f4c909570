#pragma once

#include <QString>

// Shell folder ids the program asks for.
enum ShellFolderId {
    kCsidlPersonal = 5,        // the user's documents
    kCsidlCommonAppData = 35,  // where both INI files live
};

// The folder's path with a trailing "/"; empty when there is none. The common
// application-data folder is the per-user config folder, overridden by the
// environment variable VARNEL_CONFIG_DIR.
QString SpecialFolderPath(int shellFolderId);

// True only when a uniquely named temporary file with the prefix "DA" could be
// created in the folder and removed again. A missing folder gives false.
bool CanWriteTo(const QString& folder);

// The folder converted files go to when the user chose none:
// the videos folder + "/varnel".
QString DefaultOutputFolder();

// The per-user fallback for a folder that cannot be written: $HOME/varnel.
QString PerUserOutputFolder();

// True when the folder lies on read-only removable media (a CD or DVD).
bool IsOnReadOnlyMedia(const QString& folder);

// The folder holding varnelformat.ini as installed: beside the program in
// ../share/varnel, else data/ of the source tree for an uninstalled build.
QString InstalledDataFolder();

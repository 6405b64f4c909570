#pragma once

#include <QString>

// Output files are written under a hidden temporary name in the destination's
// folder and only take their real name once complete, so a failed or stopped
// task never leaves a half file under a real name, and an existing file is never
// replaced.

// Creates an empty, exclusively owned temporary file beside `destination`.
// Returns its path, or an empty string with `error` set.
QString CreateTemporaryOutput(const QString& destination, QString& error);

// The next name after `taken` by the destination naming rule: "clip_(new).mp4"
// gives "clip_(new_1).mp4", "clip_(new_1).mp4" gives "clip_(new_2).mp4", any
// other "name.ext" gives "name_(new).ext".
QString NextDestinationName(const QString& taken);

// Gives the finished temporary file its destination name, or the first free
// name after it when that name exists by now. Never replaces a file.
bool MoveIntoPlace(const QString& temporary, const QString& destination, QString& finalPath, QString& error);

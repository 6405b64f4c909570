#pragma once

#include <QString>

// The FFmpeg libraries are linked into the program; "loading" them checks that
// the libraries found at run time are the ones the engine was built against
// and that they carry the formats the program writes.
class TFFmpegLoader {
public:
    // The folder is where separately shipped libraries would live; the linked
    // build does not read it.
    static bool LoadLibraries(const QString& folder = {});
    static QString LastLoadError();
};

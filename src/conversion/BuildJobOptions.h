#pragma once

#include "media/MediaRecords.h"

#include <QString>

#include <cstdint>
#include <stdexcept>

class Dialogs;
class IniFile;
class QWidget;
class TAVProbe;
struct TlvFilesRecord;

// What the option builder needs to know of the source's first video stream.
struct SourceVideoFacts {
    int videoStreamCount = 0;
    int width = 0;
    int height = 0;
    int64_t bitRate = 0; // bit/s
};
SourceVideoFacts VideoFactsOf(TAVProbe& probe);

// A profile value the builder cannot use, such as a volume that is no number.
class ProfileValueError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Where the builder reads the profile from and whom it asks.
struct ProfileSources {
    IniFile& formatIni;
    IniFile& converterIni;
    Dialogs& dialogs;
    QWidget* parent = nullptr;
};

// Fills the output options (container, target preset, codecs, rates, frame
// size, aspect, crop, filters) and the input's extra options of one file from
// the profile of formatCode and the row's zoom mode and crop. A format that
// has no profile yet gets its defaults stored first. Throws ProfileValueError
// for a stored value that cannot be used.
void BuildJobOptions(const TlvFilesRecord& row, int formatCode, TOutputOptions& output,
                     const SourceVideoFacts& probe, TInputOptions& input, const ProfileSources& sources);

// The pads of the letterbox rule for a Ws x Hs source in a W x H frame.
struct Pads {
    int top = 0, bottom = 0, left = 0, right = 0;
};
Pads LetterboxPads(int sourceWidth, int sourceHeight, int width, int height);

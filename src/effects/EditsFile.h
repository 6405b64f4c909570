#pragma once

#include <QString>

#include <cstdint>

struct TlvFilesRecord;
struct TWmRec;

// One source file's edits as an INI file: section "file" with the trim, zoom,
// crop and effect values, then "watermark0", "watermark1", ... with the items
// in list order. Colours are 0x00BBGGRR in decimal, the font style is the
// 1/2/4/8 set, times are microseconds ("file") or whole seconds (items).

// The item a user adds before changing anything: the editor's defaults.
// endSeconds is the last second of the file it is shown on.
TWmRec NewWatermarkItem(int kind, int32_t endSeconds);
// The first family of the installed fonts, as the editor's font box lists them.
QString DefaultFontFamily();

// Reads the edits into record. Missing keys take the values of a newly added
// file or item (a new item's time range ends at endSeconds); a text item
// without a width or height is measured in its font. Returns an empty string,
// or the reason the file was refused (naming the section and key); on
// refusal the record is unchanged.
QString ReadEditsFile(const QString& path, TlvFilesRecord& record, int32_t endSeconds);
// Writes every value of the record's edits; false when the file cannot be written.
bool WriteEditsFile(const QString& path, const TlvFilesRecord& record);

#pragma once

class IniFile;

// Stores a format's default choices as its profile in the converter INI, as
// the panel's "Default" button does: the default index of each list in the
// format INI, its item mapped to the value the option builder reads. Lists
// the format does not offer store nothing.
void StoreFormatDefaults(const IniFile& formatIni, IniFile& converterIni, int formatCode);

#pragma once

#include <QString>
#include <QStringList>

#include <array>
#include <vector>

class IniFile;

// The fixed catalogue of output formats: three groups, nineteen formats. A
// format's code is group * 100 + its position in the group.
struct CatalogueGroup {
    int number;
    QString header;
    QStringList formats; // position order
};

const std::vector<CatalogueGroup>& Catalogue();
constexpr int kGroupCount = 3;

// "formatInfo" + code: the section of a format in both INI files.
QString FormatSection(int code);
QString FormatSection(const QString& code);
// The catalogue text of a format code; empty when there is no such format.
QString FormatText(int code);
// The code of a catalogue text; -1 when no format has that text.
int FormatCodeOf(const QString& text);
// Every format code in catalogue order.
std::vector<int> AllFormatCodes();

// Texts of the formats by group and position; an empty slot has no format.
class FormatNameTable {
public:
    static constexpr int kSize = 51;
    void Clear();
    void FillGroup(int group);
    const QString& At(int group, int position) const { return slots_[size_t(group)][size_t(position)]; }

private:
    std::array<std::array<QString, kSize>, kSize> slots_;
};

// One row of a catalogue list: a group header or a format.
struct TItemInfo {
    bool IsFormat = false;
    bool IsGroup = false;
    QString Label;
    bool Collapsed = false;
    int Code = 0; // headers: the group number; formats: the format code
};

struct CatalogueRow {
    QString text;
    TItemInfo info;
};

// The rows of a catalogue list: each header, followed by its formats when
// its group is not collapsed ("lstformat" of the converter INI, missing keys
// meaning collapsed). Fills the name table on the way.
std::vector<CatalogueRow> BuildFormatRows(const IniFile& converterIni, FormatNameTable& table);
// The rows of one group's formats, to insert below its header on expanding.
std::vector<CatalogueRow> GroupFormatRows(int group);
// Writes "lstformat" group = "1" or "0" for each header row.
void SaveFormatGroupState(IniFile& converterIni, const std::vector<TItemInfo>& rows);

inline const QString kGroupStateSection = QStringLiteral("lstformat");

#include "profiles/FormatCatalogue.h"

#include "platform/IniFile.h"
#include "shell/Settings.h"

const std::vector<CatalogueGroup>& Catalogue()
{
    static const std::vector<CatalogueGroup> groups{
        {0,
         QStringLiteral("MPEG Video Formates"),
         {QStringLiteral("MPEG-1 Moive (*.mpg)"), QStringLiteral("MPEG-2 Moive (*.mpg)")}},
        {1,
         QStringLiteral("General Video formates"),
         {QStringLiteral("MPEG-1 Video (*.mpg)"), QStringLiteral("MPEG-2 Video (*.mpg)"),
          QStringLiteral("MPEG-4 Video (*.mp4)"), QStringLiteral("H.264/MPEG-4 AVC Video (*.mp4)"),
          QStringLiteral("AVI Video (*.avi)"), QStringLiteral("WMV Video (*.wmv)"), QStringLiteral("Divx Video (*.avi)"),
          QStringLiteral("Xvid Video (*.avi)"), QStringLiteral("DV - NTSC -Digital Video Format (*.dv)"),
          QStringLiteral("DV - PAL -Digital Video Format (*.dv)")}},
        {2,
         QStringLiteral("General Audio formates"),
         {QStringLiteral("MP3 MPEG Layer-3 Audio (*.mp3)"), QStringLiteral("AAC Advenced Audio Codec (*.aac)"),
          QStringLiteral("M4A MPEG-4 Audio (*.m4a)"), QStringLiteral("WMA - Windows Meida Audio (*.wma)"),
          QStringLiteral("WAV - Waveform Audio (*.wav)"), QStringLiteral("OGG Vorbis Audio Codec (*.ogg)"),
          QStringLiteral("AC-3 Audio Codec (*.ac3)")}},
    };
    return groups;
}

QString FormatSection(int code) { return FormatSectionName(code); }
QString FormatSection(const QString& code) { return QStringLiteral("formatInfo") + code; }

QString FormatText(int code)
{
    if (code < 0) return {};
    const int group = code / 100;
    const int position = code % 100;
    if (group >= int(Catalogue().size())) return {};
    const QStringList& formats = Catalogue()[size_t(group)].formats;
    return position < formats.size() ? formats[position] : QString();
}

int FormatCodeOf(const QString& text)
{
    for (const CatalogueGroup& group : Catalogue())
        for (qsizetype i = 0; i < group.formats.size(); ++i)
            if (group.formats[i] == text) return group.number * 100 + int(i);
    return -1;
}

std::vector<int> AllFormatCodes()
{
    std::vector<int> codes;
    for (const CatalogueGroup& group : Catalogue())
        for (qsizetype i = 0; i < group.formats.size(); ++i) codes.push_back(group.number * 100 + int(i));
    return codes;
}

void FormatNameTable::Clear()
{
    for (auto& row : slots_)
        for (QString& slot : row) slot.clear();
}

void FormatNameTable::FillGroup(int group)
{
    const QStringList& formats = Catalogue()[size_t(group)].formats;
    for (qsizetype i = 0; i < formats.size() && i < kSize; ++i) slots_[size_t(group)][size_t(i)] = formats[i];
}

std::vector<CatalogueRow> GroupFormatRows(int group)
{
    std::vector<CatalogueRow> rows;
    const QStringList& formats = Catalogue()[size_t(group)].formats;
    for (qsizetype i = 0; i < formats.size(); ++i) {
        TItemInfo info;
        info.IsFormat = true;
        info.Code = group * 100 + int(i);
        rows.push_back({formats[i], info});
    }
    return rows;
}

std::vector<CatalogueRow> BuildFormatRows(const IniFile& converterIni, FormatNameTable& table)
{
    table.Clear();
    std::vector<CatalogueRow> rows;
    for (const CatalogueGroup& group : Catalogue()) {
        TItemInfo header;
        header.IsGroup = true;
        header.Code = group.number;
        header.Collapsed = converterIni.ReadBool(kGroupStateSection, QString::number(group.number), true);
        rows.push_back({group.header, header});
        table.FillGroup(group.number);
        if (!header.Collapsed)
            for (CatalogueRow& row : GroupFormatRows(group.number)) rows.push_back(std::move(row));
    }
    return rows;
}

void SaveFormatGroupState(IniFile& converterIni, const std::vector<TItemInfo>& rows)
{
    for (const TItemInfo& row : rows)
        if (row.IsGroup) converterIni.WriteBool(kGroupStateSection, QString::number(row.Code), row.Collapsed);
}

#include "effects/EditsFile.h"

#include "effects/TWmRec.h"
#include "effects/WmGraphics.h"
#include "platform/IniFile.h"
#include "shell/TlvFilesRecord.h"

#include <QFileInfo>
#include <QFontDatabase>

#include <limits>
#include <optional>

namespace {

constexpr int32_t kMaxColor = 0xFFFFFF;
constexpr int64_t kMaxInt = std::numeric_limits<int32_t>::max();
constexpr int64_t kMinInt = std::numeric_limits<int32_t>::min();

// Reads typed values of one section, remembering the first refusal.
class SectionReader {
public:
    SectionReader(const IniFile& ini, QString section, QString& problem)
        : ini_(ini), section_(std::move(section)), problem_(problem)
    {
    }

    template <typename T>
    void Integer(const char* key, T& into, int64_t low, int64_t high)
    {
        const QString text = Text(key);
        if (text.isNull() || !problem_.isEmpty()) return;
        bool ok = false;
        const qlonglong value = text.trimmed().toLongLong(&ok);
        if (!ok) {
            Refuse(key, QStringLiteral("\"%1\" is not a whole number").arg(text));
        } else if (value < low || value > high) {
            Refuse(key, QStringLiteral("%1 is out of range %2..%3").arg(value).arg(low).arg(high));
        } else {
            into = T(value);
        }
    }

    void Boolean(const char* key, bool& into)
    {
        int value = into ? 1 : 0;
        Integer(key, value, 0, 1);
        into = value != 0;
    }

    void String(const char* key, QString& into)
    {
        const QString text = Text(key);
        if (!text.isNull()) into = text;
    }

    void Choice(const char* key, QString& into, const QStringList& allowed)
    {
        const QString text = Text(key);
        if (text.isNull() || !problem_.isEmpty()) return;
        if (!allowed.contains(text.trimmed()))
            Refuse(key, QStringLiteral("\"%1\" is not one of %2").arg(text, allowed.join(QStringLiteral(", "))));
        else
            into = text.trimmed();
    }

    bool Has(const char* key) const { return ini_.ValueExists(section_, QLatin1String(key)); }

private:
    QString Text(const char* key) const
    {
        if (!Has(key)) return {};
        const QString value = ini_.ReadString(section_, QLatin1String(key), QString());
        return value.isNull() ? QStringLiteral("") : value;
    }

    void Refuse(const char* key, const QString& why)
    {
        if (problem_.isEmpty()) problem_ = QStringLiteral("[%1] %2: %3").arg(section_, QLatin1String(key), why);
    }

    const IniFile& ini_;
    QString section_;
    QString& problem_;
};

QString WatermarkSection(size_t index)
{
    return QStringLiteral("watermark%1").arg(index);
}

} // namespace

QString DefaultFontFamily()
{
    const QStringList families = QFontDatabase::families();
    return families.isEmpty() ? QStringLiteral("Sans Serif") : families.front();
}

TWmRec NewWatermarkItem(int kind, int32_t endSeconds)
{
    TWmRec item;
    item.Kind = kind;
    item.Font = MakeItemFont(DefaultFontFamily(), 26, 0);
    item.FontColor = QColor(0, 0, 255); // blue
    item.BackColor = 0x008000;          // green
    item.BackOpaque = true;
    item.TextAlpha = 125;
    item.ImageAlpha = 125;
    item.StartTime = 0;
    item.EndTime = endSeconds;
    return item;
}

QString ReadEditsFile(const QString& path, TlvFilesRecord& record, int32_t endSeconds)
{
    if (!QFileInfo(path).isFile()) return QStringLiteral("%1: no such file").arg(path);
    const IniFile ini(path);
    QString problem;
    TlvFilesRecord edited = record;

    SectionReader file(ini, QStringLiteral("file"), problem);
    file.Integer("TrimStart", edited.TrimStart, 0, std::numeric_limits<int64_t>::max());
    file.Integer("TrimLength", edited.TrimLength, 0, std::numeric_limits<int64_t>::max());
    file.Choice("ZoomMode", edited.ZoomMode,
                {QStringLiteral("lbox"), QStringLiteral("pan"), QStringLiteral("full"), QStringLiteral("center")});
    file.Integer("CropTop", edited.CropTop, 0, kMaxInt);
    file.Integer("CropLeft", edited.CropLeft, 0, kMaxInt);
    file.Integer("CropBottom", edited.CropBottom, 0, kMaxInt);
    file.Integer("CropRight", edited.CropRight, 0, kMaxInt);
    file.Integer("Brightness", edited.Brightness, 0, 512);
    file.Integer("Contrast", edited.Contrast, -100, 100);
    file.Integer("Saturation", edited.Saturation, 0, 512);
    file.Integer("Exposure", edited.Exposure, -255, 512);

    edited.WaterMarks.clear();
    for (size_t i = 0; problem.isEmpty() && ini.SectionExists(WatermarkSection(i)); ++i) {
        SectionReader items(ini, WatermarkSection(i), problem);
        int kind = TWmRec::kText;
        items.Integer("Kind", kind, 0, 1);
        TWmRec item = NewWatermarkItem(kind, endSeconds);
        items.String("Text", item.Text);
        items.Integer("TextLeft", item.TextLeft, kMinInt, kMaxInt);
        items.Integer("TextTop", item.TextTop, kMinInt, kMaxInt);
        items.Integer("TextWidth", item.TextWidth, 0, kMaxInt);
        items.Integer("TextHeight", item.TextHeight, 0, kMaxInt);
        items.Integer("TextAlpha", item.TextAlpha, 0, 255);
        items.Integer("BackColor", item.BackColor, 0, kMaxColor);
        items.Boolean("BackOpaque", item.BackOpaque);
        items.String("ImageFile", item.ImageFile);
        items.Integer("ImageLeft", item.ImageLeft, kMinInt, kMaxInt);
        items.Integer("ImageTop", item.ImageTop, kMinInt, kMaxInt);
        items.Integer("ImageWidth", item.ImageWidth, 0, kMaxInt);
        items.Integer("ImageHeight", item.ImageHeight, 0, kMaxInt);
        items.Integer("ImageAlpha", item.ImageAlpha, 0, 255);
        items.Integer("StartTime", item.StartTime, 0, kMaxInt);
        items.Integer("EndTime", item.EndTime, 0, kMaxInt);
        QString family = item.Font.family();
        int size = item.Font.pointSize();
        int style = FontStyleOf(item.Font);
        uint32_t color = ColorToBgrValue(item.FontColor);
        items.String("FontName", family);
        items.Integer("FontSize", size, 1, 1000);
        items.Integer("FontStyle", style, 0, 15);
        items.Integer("FontColor", color, 0, kMaxColor);
        item.Font = MakeItemFont(family, size, style);
        item.FontColor = ColorFromBgrValue(color);
        if (item.Kind == TWmRec::kText && (item.TextWidth == 0 || item.TextHeight == 0) && !item.Text.isEmpty()) {
            const QSize extent = TextExtent(item.Text, item.Font);
            if (item.TextWidth == 0) item.TextWidth = extent.width();
            if (item.TextHeight == 0) item.TextHeight = extent.height();
        }
        edited.WaterMarks.push_back(item);
    }
    if (!problem.isEmpty()) return QStringLiteral("%1: %2").arg(path, problem);
    record = std::move(edited);
    return {};
}

bool WriteEditsFile(const QString& path, const TlvFilesRecord& record)
{
    IniFile ini(path);
    bool ok = true;
    const auto put = [&](const QString& section, const char* key, const QString& value) {
        ok = ini.WriteString(section, QLatin1String(key), value) && ok;
    };
    const auto number = [&](const QString& section, const char* key, qint64 value) {
        put(section, key, QString::number(value));
    };
    const QString file = QStringLiteral("file");
    number(file, "TrimStart", record.TrimStart);
    number(file, "TrimLength", record.TrimLength);
    put(file, "ZoomMode", record.ZoomMode);
    number(file, "CropTop", record.CropTop);
    number(file, "CropLeft", record.CropLeft);
    number(file, "CropBottom", record.CropBottom);
    number(file, "CropRight", record.CropRight);
    number(file, "Brightness", record.Brightness);
    number(file, "Contrast", record.Contrast);
    number(file, "Saturation", record.Saturation);
    number(file, "Exposure", record.Exposure);
    // Sections beyond the list would be read back as items.
    for (size_t i = record.WaterMarks.size(); ini.SectionExists(WatermarkSection(i)); ++i)
        ok = ini.EraseSection(WatermarkSection(i)) && ok;
    for (size_t i = 0; i < record.WaterMarks.size(); ++i) {
        const TWmRec& item = record.WaterMarks[i];
        const QString section = WatermarkSection(i);
        number(section, "Kind", item.Kind);
        put(section, "Text", item.Text);
        number(section, "TextLeft", item.TextLeft);
        number(section, "TextTop", item.TextTop);
        number(section, "TextWidth", item.TextWidth);
        number(section, "TextHeight", item.TextHeight);
        number(section, "TextAlpha", item.TextAlpha);
        number(section, "BackColor", item.BackColor);
        number(section, "BackOpaque", item.BackOpaque ? 1 : 0);
        put(section, "ImageFile", item.ImageFile);
        number(section, "ImageLeft", item.ImageLeft);
        number(section, "ImageTop", item.ImageTop);
        number(section, "ImageWidth", item.ImageWidth);
        number(section, "ImageHeight", item.ImageHeight);
        number(section, "ImageAlpha", item.ImageAlpha);
        number(section, "StartTime", item.StartTime);
        number(section, "EndTime", item.EndTime);
        put(section, "FontName", item.Font.family());
        number(section, "FontSize", item.Font.pointSize());
        number(section, "FontStyle", FontStyleOf(item.Font));
        number(section, "FontColor", ColorToBgrValue(item.FontColor));
    }
    return ok;
}

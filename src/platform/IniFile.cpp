#include "platform/IniFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#define SI_CONVERT_ICU
#include <SimpleIni.h>

#include <limits>
#include <string>

namespace {

// SimpleIni keeps comments and key order when a file is rewritten; keys and
// sections compare case-insensitively with CSimpleIniA.
struct LoadedIni {
    CSimpleIniA ini{false, false, false};
    bool fileExisted = false;
};

std::string Utf8(const QString& s) { return s.toUtf8().toStdString(); }

void Load(const QString& path, LoadedIni& loaded)
{
    loaded.ini.SetSpaces(false);
    loaded.ini.SetUnicode(false);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return;
    loaded.fileExisted = true;
    QByteArray bytes = file.readAll();
    file.close();
    if (bytes.startsWith("\xEF\xBB\xBF")) bytes.remove(0, 3);
    // Embedded NULs would end the parser's view of the text early; binary
    // garbage reads as missing keys instead.
    bytes.replace('\0', '\n');
    if (loaded.ini.LoadData(bytes.constData(), size_t(bytes.size())) < 0) loaded.ini.Reset();
}

bool Save(const QString& path, LoadedIni& loaded)
{
    std::string text;
    if (loaded.ini.Save(text, false) < 0) return false;
    // The settings folder does not exist before the program's first write.
    const QString folder = QFileInfo(path).absolutePath();
    if (!QFileInfo(folder).isDir() && !QDir().mkpath(folder)) return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return false;
    if (file.write(text.data(), qint64(text.size())) != qint64(text.size())) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

} // namespace

IniFile::IniFile(QString path) : path_(std::move(path)) {}

QString IniFile::ReadString(const QString& section, const QString& key, const QString& defaultValue) const
{
    LoadedIni loaded;
    Load(path_, loaded);
    const char* value = loaded.ini.GetValue(Utf8(section).c_str(), Utf8(key).c_str(), nullptr);
    if (!value) return defaultValue;
    return QString::fromUtf8(value);
}

bool ParseIniInteger(const QString& text, int& value)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty()) return false;
    bool ok = false;
    const qlonglong parsed = trimmed.toLongLong(&ok, 10);
    if (!ok || parsed < std::numeric_limits<int>::min() || parsed > std::numeric_limits<int>::max()) return false;
    value = int(parsed);
    return true;
}

int IniFile::ReadInteger(const QString& section, const QString& key, int defaultValue) const
{
    int value = 0;
    if (!ParseIniInteger(ReadString(section, key, QString()), value)) return defaultValue;
    return value;
}

bool IniFile::ReadBool(const QString& section, const QString& key, bool defaultValue) const
{
    return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

bool IniFile::ValueExists(const QString& section, const QString& key) const
{
    LoadedIni loaded;
    Load(path_, loaded);
    return loaded.ini.GetValue(Utf8(section).c_str(), Utf8(key).c_str(), nullptr) != nullptr;
}

bool IniFile::SectionExists(const QString& section) const
{
    LoadedIni loaded;
    Load(path_, loaded);
    return loaded.ini.GetSection(Utf8(section).c_str()) != nullptr;
}

QStringList IniFile::ReadSection(const QString& section) const
{
    LoadedIni loaded;
    Load(path_, loaded);
    CSimpleIniA::TNamesDepend keys;
    loaded.ini.GetAllKeys(Utf8(section).c_str(), keys);
    keys.sort(CSimpleIniA::Entry::LoadOrder());
    QStringList names;
    for (const auto& entry : keys) names << QString::fromUtf8(entry.pItem);
    return names;
}

bool IniFile::WriteString(const QString& section, const QString& key, const QString& value)
{
    LoadedIni loaded;
    Load(path_, loaded);
    // A line break inside a value would split it into a second key on reading.
    QString flat = value;
    flat.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    if (loaded.ini.SetValue(Utf8(section).c_str(), Utf8(key).c_str(), Utf8(flat).c_str()) < 0) return false;
    return Save(path_, loaded);
}

bool IniFile::WriteInteger(const QString& section, const QString& key, int value)
{
    return WriteString(section, key, QString::number(value));
}

bool IniFile::WriteBool(const QString& section, const QString& key, bool value)
{
    return WriteInteger(section, key, value ? 1 : 0);
}

bool IniFile::DeleteKey(const QString& section, const QString& key)
{
    LoadedIni loaded;
    Load(path_, loaded);
    if (!loaded.fileExisted) return true;
    if (!loaded.ini.Delete(Utf8(section).c_str(), Utf8(key).c_str())) return true;
    return Save(path_, loaded);
}

bool IniFile::EraseSection(const QString& section)
{
    LoadedIni loaded;
    Load(path_, loaded);
    if (!loaded.fileExisted) return true;
    if (!loaded.ini.Delete(Utf8(section).c_str(), nullptr)) return true;
    return Save(path_, loaded);
}

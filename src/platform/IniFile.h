#pragma once

#include <QString>
#include <QStringList>

// A Windows-style INI file. Section and key names match without regard to
// case; values are text. Every call opens the file, reads or writes it, and
// closes it again, so the last writer wins and every reader sees the file as it
// is now. A write replaces the file atomically (temporary file in the same
// folder, then rename): a crash or a full disk never leaves a truncated file.
// The first write creates the file and its folder. A failed write is ignored
// and reported only through the return value.
class IniFile {
public:
    explicit IniFile(QString path);

    const QString& path() const { return path_; }

    QString ReadString(const QString& section, const QString& key, const QString& defaultValue) const;
    // The default when the key is missing or its text is not a whole integer.
    int ReadInteger(const QString& section, const QString& key, int defaultValue) const;
    bool ReadBool(const QString& section, const QString& key, bool defaultValue) const;
    bool ValueExists(const QString& section, const QString& key) const;
    bool SectionExists(const QString& section) const;
    // Key names of a section in file order; empty when the section is missing.
    QStringList ReadSection(const QString& section) const;

    bool WriteString(const QString& section, const QString& key, const QString& value);
    bool WriteInteger(const QString& section, const QString& key, int value);
    bool WriteBool(const QString& section, const QString& key, bool value);
    bool DeleteKey(const QString& section, const QString& key);
    bool EraseSection(const QString& section);

private:
    QString path_;
};

// Integer text as an INI reader accepts it: optional blanks, an optional sign,
// decimal digits, optional trailing blanks, and nothing else.
bool ParseIniInteger(const QString& text, int& value);

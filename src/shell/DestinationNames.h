#pragma once

#include <QSet>
#include <QString>

class ConverterSettings;
class Dialogs;
class QWidget;

// The output folder as destination naming uses it: "OutPutDir" when it exists
// or can be created (with its missing parents); otherwise the default output
// folder, after telling the user, created and stored in "OutPutDir".
QString UsableOutputFolder(ConverterSettings& settings, Dialogs& dialogs, QWidget* parent);

// Names destination files so that no existing file is overwritten:
// folder/clip_(new).mp4, then clip_(new_1).mp4, clip_(new_2).mp4, ...
// A namer also remembers every name it handed out, so two sources with the
// same file name in one run never get the same destination.
class DestinationNamer {
public:
    // Source path and suffix (".mp4", "_ipod.mp4") to a full destination path.
    QString Name(const QString& sourcePath, const QString& suffix, ConverterSettings& settings, Dialogs& dialogs,
                 QWidget* parent = nullptr);
    // The same, in a folder already known to be usable.
    QString NameInFolder(const QString& sourcePath, const QString& suffix, QString folder);
    // True when the name is taken on disk or was handed out by this namer.
    bool IsTaken(const QString& path) const;

private:
    QSet<QString> handedOut_;
};

// One-off destination name, checked only against files that exist now.
QString DestinationName(const QString& sourcePath, const QString& suffix, ConverterSettings& settings,
                        Dialogs& dialogs, QWidget* parent = nullptr);

#include "shell/OutputFolder.h"

#include "platform/Dialogs.h"
#include "platform/ShellActions.h"
#include "platform/SystemFolders.h"
#include "platform/UserAndVersion.h"
#include "shell/Settings.h"

bool IsRootPath(const QString& path) { return path.size() <= 3; }

QString ApplyChosenOutputFolder(const QString& chosen, const QString& shown, ConverterSettings& settings,
                                Dialogs& dialogs, QWidget* parent)
{
    return ApplyChosenFolder(chosen, shown, settings, settings::kOutPutDir, dialogs, parent);
}

QString ApplyChosenFolder(const QString& chosen, const QString& shown, ConverterSettings& settings,
                          const QString& key, Dialogs& dialogs, QWidget* parent)
{
    if (chosen.isEmpty() || chosen == shown) return {};
    if (IsRootPath(chosen)) {
        dialogs.Message(parent, QStringLiteral("The path ") + chosen + QStringLiteral(" is not a valid directory."),
                        QStringLiteral("Warning"), MessageIcon::Warning);
        return {};
    }
    if (CanWriteTo(chosen)) {
        settings.WriteText(key, chosen);
        return chosen;
    }
    dialogs.Message(parent,
                    QStringLiteral("You login as ") + CurrentUserName().trimmed() +
                        QStringLiteral(" .You don't have permission to write to directory:") + chosen,
                    QStringLiteral("Warning"), MessageIcon::Warning);
    const QString fallback = PerUserOutputFolder();
    settings.WriteText(key, fallback);
    return fallback;
}

QString CheckedFolderSetting(ConverterSettings& settings, const QString& key)
{
    QString folder = settings.ReadText(key, DefaultOutputFolder());
    if (!CanWriteTo(folder)) {
        folder = PerUserOutputFolder();
        settings.WriteText(key, folder);
    }
    return folder;
}

void OpenOutputFolder(ConverterSettings& settings, const QString& shown)
{
    const QString folder = settings.OutPutDir();
    if (shown.size() > 2) OpenFolderInFileManager(folder);
}

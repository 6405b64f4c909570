#include "platform/Dialogs.h"

#include <QFileDialog>

namespace {

Dialogs*& CurrentDialogs()
{
    static Dialogs* current = nullptr;
    return current;
}

QMessageBox::Icon ToQtIcon(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Information: return QMessageBox::Information;
    case MessageIcon::Warning: return QMessageBox::Warning;
    case MessageIcon::Error: return QMessageBox::Critical;
    case MessageIcon::Question: return QMessageBox::Question;
    case MessageIcon::None: break;
    }
    return QMessageBox::NoIcon;
}

} // namespace

void Dialogs::Message(QWidget* parent, const QString& text, const QString& caption, MessageIcon icon)
{
    Ask(parent, text, caption, icon, QMessageBox::Ok, QMessageBox::Ok);
}

bool Dialogs::Question(QWidget* parent, const QString& text, const QString& caption)
{
    return Ask(parent, text, caption, MessageIcon::Question, QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes) ==
           QMessageBox::Yes;
}

Dialogs& AppDialogs()
{
    if (!CurrentDialogs()) {
        static QtDialogs onScreen;
        CurrentDialogs() = &onScreen;
    }
    return *CurrentDialogs();
}

void SetAppDialogs(Dialogs* dialogs) { CurrentDialogs() = dialogs; }

QString QtNameFilter(const QString& windowsFilter)
{
    const QStringList parts = windowsFilter.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        const QString& description = parts[i];
        // Descriptions usually show their patterns already: "Flash Video files (*.flv)".
        filters << (description.contains(QLatin1Char('(')) ? description.left(description.indexOf(QLatin1Char('('))).trimmed()
                                                          : description) +
                       QStringLiteral(" (") + patterns + QLatin1Char(')');
    }
    return filters.join(QStringLiteral(";;"));
}

QMessageBox::StandardButton QtDialogs::Ask(QWidget* parent, const QString& text, const QString& caption,
                                           MessageIcon icon, QMessageBox::StandardButtons buttons,
                                           QMessageBox::StandardButton defaultButton)
{
    QMessageBox box(ToQtIcon(icon), caption, text, buttons, parent);
    box.setDefaultButton(defaultButton);
    return QMessageBox::StandardButton(box.exec());
}

QStringList QtDialogs::OpenFiles(QWidget* parent, const QString& caption, const QString& filter,
                                 const QString& folder)
{
    return QFileDialog::getOpenFileNames(parent, caption, folder, QtNameFilter(filter));
}

QString QtDialogs::OpenFile(QWidget* parent, const QString& caption, const QString& filter, const QString& folder)
{
    return QFileDialog::getOpenFileName(parent, caption, folder, QtNameFilter(filter));
}

QString QtDialogs::ChooseFolder(QWidget* parent, const QString& caption, const QString& startFolder)
{
    return QFileDialog::getExistingDirectory(parent, caption, startFolder);
}

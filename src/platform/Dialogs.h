#pragma once

#include <QMessageBox>
#include <QString>
#include <QStringList>

class QWidget;

enum class MessageIcon { None, Information, Warning, Error, Question };

// Every modal message box and file or folder dialog goes through this
// interface, so windows can be driven by tests without anything blocking.
class Dialogs {
public:
    virtual ~Dialogs() = default;

    // A message box with the given buttons; returns the button pressed.
    virtual QMessageBox::StandardButton Ask(QWidget* parent, const QString& text, const QString& caption,
                                            MessageIcon icon, QMessageBox::StandardButtons buttons,
                                            QMessageBox::StandardButton defaultButton) = 0;
    // Files picked in an open dialog; empty when cancelled. The filter is in
    // the "Description|*.ext|Other|*" form.
    virtual QStringList OpenFiles(QWidget* parent, const QString& caption, const QString& filter,
                                  const QString& folder) = 0;
    virtual QString OpenFile(QWidget* parent, const QString& caption, const QString& filter,
                             const QString& folder) = 0;
    // A folder picked in a folder chooser; empty when cancelled.
    virtual QString ChooseFolder(QWidget* parent, const QString& caption, const QString& startFolder) = 0;

    // A message with an OK button.
    void Message(QWidget* parent, const QString& text, const QString& caption, MessageIcon icon);
    // Yes / No; true for Yes.
    bool Question(QWidget* parent, const QString& text, const QString& caption);
};

// The dialogs of the running program; tests install scripted ones.
Dialogs& AppDialogs();
void SetAppDialogs(Dialogs* dialogs);

// "Flash Video files (*.flv)|*.flv|All files|*" as a Qt name filter list.
QString QtNameFilter(const QString& windowsFilter);

// Real dialogs on screen.
class QtDialogs : public Dialogs {
public:
    QMessageBox::StandardButton Ask(QWidget* parent, const QString& text, const QString& caption, MessageIcon icon,
                                    QMessageBox::StandardButtons buttons,
                                    QMessageBox::StandardButton defaultButton) override;
    QStringList OpenFiles(QWidget* parent, const QString& caption, const QString& filter,
                          const QString& folder) override;
    QString OpenFile(QWidget* parent, const QString& caption, const QString& filter, const QString& folder) override;
    QString ChooseFolder(QWidget* parent, const QString& caption, const QString& startFolder) override;
};

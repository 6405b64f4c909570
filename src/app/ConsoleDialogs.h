#pragma once

#include "platform/Dialogs.h"

// Dialogs for the batch program: messages go to the error stream as
// warnings, questions are answered Yes, file and folder dialogs are cancelled.
class ConsoleDialogs : public Dialogs {
public:
    QMessageBox::StandardButton Ask(QWidget*, const QString& text, const QString& caption, MessageIcon icon,
                                    QMessageBox::StandardButtons buttons, QMessageBox::StandardButton) override;
    QStringList OpenFiles(QWidget*, const QString&, const QString&, const QString&) override { return {}; }
    QString OpenFile(QWidget*, const QString&, const QString&, const QString&) override { return {}; }
    QString ChooseFolder(QWidget*, const QString&, const QString&) override { return {}; }
};

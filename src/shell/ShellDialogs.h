#pragma once

#include "platform/Dialogs.h"

#include <QPointer>

class TfmDirectory;

// The program's own dialogs: the platform's message boxes and file dialogs,
// with the themed folder chooser for folders.
class ShellDialogs : public QtDialogs {
public:
    ~ShellDialogs() override;
    QString ChooseFolder(QWidget* parent, const QString& caption, const QString& startFolder) override;

private:
    QPointer<TfmDirectory> chooser_; // created on first use, then reused
};

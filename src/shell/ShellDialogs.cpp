#include "shell/ShellDialogs.h"

#include "shell/TfmDirectory.h"

ShellDialogs::~ShellDialogs() { delete chooser_.data(); }

QString ShellDialogs::ChooseFolder(QWidget* parent, const QString& caption, const QString& startFolder)
{
    if (!chooser_) chooser_ = new TfmDirectory(*this, parent);
    if (!caption.isEmpty()) chooser_->setWindowTitle(caption);
    if (!startFolder.isEmpty()) chooser_->SelectFolder(startFolder);
    chooser_->exec();
    return chooser_->Path();
}

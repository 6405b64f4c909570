#include "platform/ScriptedDialogs.h"

QStringList ScriptedDialogs::messages() const
{
    QStringList texts;
    for (const Call& call : calls_)
        if (call.kind == Kind::Ask) texts << call.text;
    return texts;
}

QMessageBox::StandardButton ScriptedDialogs::Ask(QWidget*, const QString& text, const QString& caption,
                                                 MessageIcon icon, QMessageBox::StandardButtons buttons,
                                                 QMessageBox::StandardButton defaultButton)
{
    calls_.push_back({Kind::Ask, caption, text, icon, buttons});
    if (buttons_.empty()) return defaultButton;
    const QMessageBox::StandardButton answer = buttons_.front();
    buttons_.pop_front();
    return answer;
}

QStringList ScriptedDialogs::OpenFiles(QWidget*, const QString& caption, const QString& filter, const QString&)
{
    calls_.push_back({Kind::OpenFiles, caption, filter, MessageIcon::None, {}});
    if (files_.empty()) return {};
    QStringList answer = files_.front();
    files_.pop_front();
    return answer;
}

QString ScriptedDialogs::OpenFile(QWidget*, const QString& caption, const QString& filter, const QString&)
{
    calls_.push_back({Kind::OpenFile, caption, filter, MessageIcon::None, {}});
    if (files_.empty() || files_.front().isEmpty()) {
        if (!files_.empty()) files_.pop_front();
        return {};
    }
    QString answer = files_.front().front();
    files_.pop_front();
    return answer;
}

QString ScriptedDialogs::ChooseFolder(QWidget*, const QString& caption, const QString& startFolder)
{
    calls_.push_back({Kind::ChooseFolder, caption, startFolder, MessageIcon::None, {}});
    if (folders_.empty()) return {};
    QString answer = folders_.front();
    folders_.pop_front();
    return answer;
}

#pragma once

#include "platform/Dialogs.h"

#include <deque>
#include <vector>

// Dialogs that answer from a script and record what they were asked, for
// tests. An unscripted question is answered with its default button (a
// message box with OK answers OK); an unscripted file or folder dialog is
// cancelled.
class ScriptedDialogs : public Dialogs {
public:
    enum class Kind { Ask, OpenFiles, OpenFile, ChooseFolder };
    struct Call {
        Kind kind;
        QString caption;
        QString text;  // message text, or the filter of a file dialog, or the start folder
        MessageIcon icon = MessageIcon::None;
        QMessageBox::StandardButtons buttons;
    };

    void ScriptButton(QMessageBox::StandardButton button) { buttons_.push_back(button); }
    void ScriptFiles(QStringList files) { files_.push_back(std::move(files)); }
    void ScriptFolder(QString folder) { folders_.push_back(std::move(folder)); }

    const std::vector<Call>& calls() const { return calls_; }
    // The message texts shown so far, in order.
    QStringList messages() const;
    void ClearCalls() { calls_.clear(); }

    QMessageBox::StandardButton Ask(QWidget* parent, const QString& text, const QString& caption, MessageIcon icon,
                                    QMessageBox::StandardButtons buttons,
                                    QMessageBox::StandardButton defaultButton) override;
    QStringList OpenFiles(QWidget* parent, const QString& caption, const QString& filter,
                          const QString& folder) override;
    QString OpenFile(QWidget* parent, const QString& caption, const QString& filter, const QString& folder) override;
    QString ChooseFolder(QWidget* parent, const QString& caption, const QString& startFolder) override;

private:
    std::vector<Call> calls_;
    std::deque<QMessageBox::StandardButton> buttons_;
    std::deque<QStringList> files_;
    std::deque<QString> folders_;
};

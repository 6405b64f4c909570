#include "shell/AppException.h"

#include "media/FFmpegException.h"
#include "platform/Dialogs.h"

QString ExceptionDisplayText(const QString& message)
{
    QString text = message;
    if (!text.isEmpty() && text.back() > QLatin1Char('.')) text += QLatin1Char('.');
    return text;
}

void ShowAppException(const QString& message, bool isEngineError)
{
    AppDialogs().Message(nullptr, ExceptionDisplayText(message), QApplication::applicationDisplayName(),
                         isEngineError ? MessageIcon::Warning : MessageIcon::Error);
}

void ShowAppException(const std::exception& error)
{
    if (dynamic_cast<const EAccessViolation*>(&error)) return;
    ShowAppException(QString::fromUtf8(error.what()), dynamic_cast<const FFmpegException*>(&error) != nullptr);
}

VarnelApplication::VarnelApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool VarnelApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        ShowAppException(error);
    } catch (...) {
        ShowAppException(QStringLiteral("Unknown error"), false);
    }
    return false;
}

#include "ConsoleDialogs.h"

#include <cstdio>

QMessageBox::StandardButton ConsoleDialogs::Ask(QWidget*, const QString& text, const QString& caption,
                                                MessageIcon icon, QMessageBox::StandardButtons buttons,
                                                QMessageBox::StandardButton)
{
    const char* kind = icon == MessageIcon::Error ? "error" : "warning";
    std::fprintf(stderr, "%s: %s%s%s\n", kind, caption.isEmpty() ? "" : qPrintable(caption),
                 caption.isEmpty() ? "" : ": ", qPrintable(text));
    if (buttons & QMessageBox::Yes) return QMessageBox::Yes;
    return QMessageBox::Ok;
}

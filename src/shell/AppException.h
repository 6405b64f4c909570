#pragma once

#include <QApplication>
#include <QString>

#include <exception>
#include <stdexcept>

// A fault the program swallows without telling the user (a stray access to
// freed state while a window closes, for instance).
class EAccessViolation : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The text a message box shows for an exception message: a full stop is
// added when the last character sorts after ".".
QString ExceptionDisplayText(const QString& message);

// Shows an exception that reached the event loop: engine errors with the
// warning icon, access violations not at all, anything else with the error
// icon. The program goes on running.
void ShowAppException(const std::exception& error);
void ShowAppException(const QString& message, bool isEngineError);

// The application object: every exception escaping an event handler is
// handed to ShowAppException instead of ending the program.
class VarnelApplication : public QApplication {
public:
    VarnelApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

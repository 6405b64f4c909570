#pragma once

#include "platform/ScriptedDialogs.h"
#include "support/QtPrinters.h"

#include <QStringList>
#include <QTemporaryDir>

// Gives a test its own home, config and videos folders in a temporary
// folder, scripted dialogs, and recorders in place of the folder and web page
// openers. Everything is put back when it goes.
class TestEnvironment {
public:
    TestEnvironment();
    ~TestEnvironment();
    TestEnvironment(const TestEnvironment&) = delete;
    TestEnvironment& operator=(const TestEnvironment&) = delete;

    QString root() const { return dir_.path(); }
    QString home() const { return dir_.path() + QStringLiteral("/home"); }
    QString configDir() const { return dir_.path() + QStringLiteral("/config"); }
    QString converterIni() const { return configDir() + QStringLiteral("/varnelconverter.ini"); }
    // A new folder inside the test's temporary folder.
    QString MakeFolder(const QString& name) const;
    // Writes the converter INI with the given text.
    void WriteConverterIni(const QByteArray& text) const;
    QByteArray ReadConverterIni() const;

    ScriptedDialogs dialogs;
    QStringList openedFolders;
    QStringList openedPages;
    int shutdowns = 0;

private:
    QTemporaryDir dir_;
    QByteArray savedHome_, savedConfig_, savedXdgConfig_;
};

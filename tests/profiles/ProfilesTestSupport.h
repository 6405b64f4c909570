#pragma once

#include "platform/IniFile.h"
#include "profiles/FormatPicker.h"
#include "profiles/MainWindowProfiles.h"
#include "shell/TfrmMain.h"
#include "support/TestEnvironment.h"

#include <QFile>
#include <QLineEdit>
#include <QToolButton>
#include <QListWidget>
#include <QStringList>
#include <QtTest>

// A format INI of the test's own, read instead of the installed one: it must
// be written before the main window is created.
inline void WriteFormatIni(const TestEnvironment& env, const QByteArray& text)
{
    QFile file(env.configDir() + QStringLiteral("/varnelformat.ini"));
    if (file.open(QIODevice::WriteOnly)) file.write(text);
}

// A key of the converter INI, "<missing>" when it is not there.
inline QString Stored(const TestEnvironment& env, const QString& section, const QString& key)
{
    return IniFile(env.converterIni()).ReadString(section, key, QStringLiteral("<missing>"));
}

// The main window with the output format attached, shown.
struct ProfilesWindow {
    explicit ProfilesWindow(TestEnvironment& env) : env(env)
    {
        profiles = new MainWindowProfiles(window);
        window.show();
    }

    FormatPicker& picker() { return *profiles->picker; }
    FormatListBox* list() { return profiles->picker->lst1; }

    QStringList RowTexts()
    {
        QStringList texts;
        for (int i = 0; i < list()->count(); ++i) texts << list()->item(i)->text();
        return texts;
    }
    int RowOf(const QString& text)
    {
        return int(RowTexts().indexOf(text));
    }
    // A point on a row: x from the list's left edge, the row's vertical middle.
    QPoint OnRow(int row, int x)
    {
        return QPoint(x, list()->visualItemRect(list()->item(row)).center().y());
    }
    void PressRow(int row, int x, Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mouseMove(list()->viewport(), OnRow(row, x));
        QTest::mousePress(list()->viewport(), button, {}, OnRow(row, x));
        QTest::mouseRelease(list()->viewport(), button, {}, OnRow(row, x));
    }
    void OpenList()
    {
        if (!list()->isVisible()) QTest::mouseClick(window.imgbtn1, Qt::LeftButton);
    }

    TestEnvironment& env;
    TfrmMain window;
    MainWindowProfiles* profiles;
};

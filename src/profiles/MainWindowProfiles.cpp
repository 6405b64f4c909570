#include "profiles/MainWindowProfiles.h"

#include "platform/IniFile.h"
#include "profiles/FormatPicker.h"
#include "profiles/ParameterItemDelegate.h"
#include "profiles/ParameterPanel.h"
#include "profiles/TfrmSettings.h"
#include "shell/GlobalObject.h"
#include "shell/TfrmMain.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QToolButton>

MainWindowProfiles::MainWindowProfiles(TfrmMain& window) : QObject(&window), main_(window)
{
    QWidget* area = window.edt1->parentWidget();
    panel = new ParameterPanel(area, [this] { return main_.CurrentFormatCode; });
    picker = new FormatPicker(FormatPicker::Kind::MainWindow, window.edt1, window.imgbtn1, window.CurrentFormatName,
                              window.CurrentFormatCode, this);
    picker->alsoPainted.push_back(window.edDirectory);
    window.cbOutputFormat->setItemDelegate(new ParameterItemDelegate(window.cbOutputFormat));

    connect(window.edt1, &QLineEdit::textChanged, panel, &ParameterPanel::edt1Change);
    connect(window.btnFormatSettings, &QPushButton::clicked, this, &MainWindowProfiles::btnOptionsClick);
    connect(window.btnSettings, &QToolButton::clicked, this, &MainWindowProfiles::btnSettingsClick);
    for (QAction* entry : window.mnuFile->actions())
        if (entry->text() == QLatin1String("Se&ttings"))
            connect(entry, &QAction::triggered, this, &MainWindowProfiles::btnOptionsClick);

    // The list is built once, when the window is first shown.
    const auto build = [this] {
        if (built_) return;
        built_ = true;
        picker->BuildFormatList();
    };
    connect(&window, &TfrmMain::formShown, this, build);
    if (window.isVisible()) build();
    connect(&window, &TfrmMain::exitConfirmed, this, &MainWindowProfiles::SaveGroupState);
}

void MainWindowProfiles::SaveGroupState()
{
    if (!GlobalObject()) return;
    IniFile conv(GlobalObject()->ConverterIniPath());
    picker->SaveGroupState(conv);
}

TfrmSettings* MainWindowProfiles::EnsureSettingsDialog()
{
    if (!settings_) {
        settings_ = new TfrmSettings(&main_);
        settings_->onStored = [this] {
            // The window takes the dialog's format as its own before the list
            // puts the name into the box, so the panel loads that format.
            main_.CurrentFormatName = settings_->CurrentFormatName;
            main_.CurrentFormatCode = settings_->CurrentFormatCode;
            picker->BuildFormatList();
            // The same name in the box fires no change, yet the values are new.
            panel->edt1Change();
        };
    }
    return settings_;
}

void MainWindowProfiles::btnOptionsClick()
{
    SaveGroupState();
    EnsureSettingsDialog()->exec();
}

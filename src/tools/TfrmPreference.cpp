#include "tools/TfrmPreference.h"

#include "platform/Dialogs.h"
#include "platform/ShellActions.h"
#include "platform/SystemFolders.h"
#include "platform/Themes.h"
#include "shell/GlobalObject.h"
#include "shell/OutputFolder.h"
#include "shell/Settings.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QSlider>
#include <QSpinBox>

#include <utility>

namespace {

const QString kQualityHint = QStringLiteral(
    "Use Compression Quality to set the compression quality of the \r\n"
    "JPEG image when writing out a snapshot jpeg image. Higher compression \r\n"
    "results in a poorer picture quality, but a smaller file size. \r\n"
    "\r\n"
    " The higher the Compression Quality value (up to a maximum of 100), \r\n"
    "the better the image quality, but the larger the file size. \r\n"
    "The lower the Compression Quality value (to a minimum of 1),\r\n"
    " the smaller the resulting file size, but at the expense of picture quality.");

ConverterSettings Settings()
{
    return ConverterSettings(GlobalObject() ? GlobalObject()->ConverterIniPath() : kConverterIniName);
}

QLabel* Caption(QWidget* parent, const QString& text, int x, int y, int width)
{
    auto* label = new QLabel(text, parent);
    label->setGeometry(x, y, width, 20);
    return label;
}

} // namespace

TfrmPreference::TfrmPreference(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmPreference"));
    setWindowTitle(QStringLiteral("Preference"));

    auto* snapshot = new QGroupBox(QStringLiteral("Snapshot"), this);
    snapshot->setGeometry(10, 8, 460, 236);
    Caption(snapshot, QStringLiteral("Snapshot folder:"), 14, 24, 200);
    edtSnapDirectory = new QLineEdit(snapshot);
    edtSnapDirectory->setGeometry(14, 46, 282, 24);
    edtSnapDirectory->setReadOnly(true);
    btnBrows = new QPushButton(QStringLiteral("&Brows"), snapshot);
    btnBrows->setGeometry(304, 46, 68, 24);
    btnOpen = new QPushButton(QStringLiteral("&Open"), snapshot);
    btnOpen->setGeometry(378, 46, 68, 24);

    Caption(snapshot, QStringLiteral("Snapshot size:"), 14, 84, 150);
    ckSmallSize = new QCheckBox(QStringLiteral("Small Size"), snapshot);
    ckSmallSize->setGeometry(170, 84, 110, 20);
    ckFullSize = new QCheckBox(QStringLiteral("Full Size"), snapshot);
    ckFullSize->setGeometry(290, 84, 110, 20);
    Caption(snapshot, QStringLiteral("Snapshot format:"), 14, 114, 150);
    ckBmp = new QCheckBox(QStringLiteral("BMP"), snapshot);
    ckBmp->setGeometry(170, 114, 110, 20);
    ckJpg = new QCheckBox(QStringLiteral("JPG"), snapshot);
    ckJpg->setGeometry(290, 114, 110, 20);

    Caption(snapshot, QStringLiteral("Jpg Compression Quality:"), 14, 150, 160);
    spedCmp = new QSpinBox(snapshot);
    spedCmp->setGeometry(170, 148, 60, 24);
    spedCmp->setRange(1, 100);
    spedCmp->setSingleStep(1);
    // The arrows are the only way to change it.
    spedCmp->findChild<QLineEdit*>()->setReadOnly(true);
    spedCmp->setToolTip(kQualityHint);
    trcCmp = new QSlider(Qt::Horizontal, snapshot);
    trcCmp->setGeometry(240, 148, 206, 26);
    trcCmp->setRange(1, 100);
    trcCmp->setTickPosition(QSlider::TicksBelow);
    trcCmp->setTickInterval(10);
    trcCmp->setPageStep(10);
    auto* note = Caption(snapshot, QStringLiteral("(The higher the value, the better the image quality.)"), 14, 196,
                         432);
    note->setEnabled(false);

    rdGrpPriority = new QGroupBox(QStringLiteral("Work priority"), this);
    rdGrpPriority->setGeometry(10, 256, 460, 64);
    priorityItems = new QButtonGroup(this);
    const QStringList entries{QStringLiteral("Idle"), QStringLiteral("Normal"), QStringLiteral("Lower"),
                              QStringLiteral("Lowest")};
    for (int i = 0; i < entries.size(); ++i) {
        auto* item = new QRadioButton(entries[i], rdGrpPriority);
        item->setGeometry(14 + i * 110, 28, 100, 22);
        priorityItems->addButton(item, i);
    }

    btnDefault = new QPushButton(QStringLiteral("&Default"), this);
    btnDefault->setGeometry(10, 344, 88, 28);
    btnOk = new QPushButton(QStringLiteral("&Ok"), this);
    btnOk->setGeometry(288, 344, 88, 28);
    btnOk->setDefault(true);
    btnCancel = new QPushButton(QStringLiteral("&Cancel"), this);
    btnCancel->setGeometry(382, 344, 88, 28);

    connect(btnBrows, &QPushButton::clicked, this, &TfrmPreference::btnBrowsClick);
    connect(btnOpen, &QPushButton::clicked, this, &TfrmPreference::btnOpenClick);
    connect(btnDefault, &QPushButton::clicked, this, &TfrmPreference::btnDefaultClick);
    connect(btnOk, &QPushButton::clicked, this, &TfrmPreference::btnOkClick);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    KeepOneChecked(ckFullSize, ckSmallSize);
    KeepOneChecked(ckSmallSize, ckFullSize);
    KeepOneChecked(ckBmp, ckJpg);
    KeepOneChecked(ckJpg, ckBmp);
    connect(ckJpg, &QCheckBox::toggled, this, [this](bool checked) {
        spedCmp->setEnabled(checked);
        trcCmp->setEnabled(checked);
    });
    connect(spedCmp, &QSpinBox::valueChanged, trcCmp, &QSlider::setValue);
    connect(trcCmp, &QSlider::valueChanged, spedCmp, &QSpinBox::setValue);
}

TfrmPreference::~TfrmPreference() = default;

void TfrmPreference::KeepOneChecked(QCheckBox* box, QCheckBox* partner)
{
    connect(box, &QCheckBox::toggled, this, [box, partner](bool checked) {
        if (!checked && !partner->isChecked()) box->setChecked(true);
    });
}

int TfrmPreference::PriorityIndex() const { return priorityItems->checkedId(); }

void TfrmPreference::SetPriorityIndex(int index)
{
    if (QAbstractButton* item = priorityItems->button(index)) {
        item->setChecked(true);
        return;
    }
    // An index outside the list leaves no entry chosen.
    priorityItems->setExclusive(false);
    for (QAbstractButton* item : priorityItems->buttons()) item->setChecked(false);
    priorityItems->setExclusive(true);
}

void TfrmPreference::showEvent(QShowEvent* event)
{
    if (!event->spontaneous()) FormShow();
    QDialog::showEvent(event);
}

void TfrmPreference::FormShow()
{
    setFixedSize(480, 390);
    spedCmp->setRange(1, 100);
    trcCmp->setRange(1, 100);
    ApplyCurrentTheme(this);

    ConverterSettings settings = Settings();
    edtSnapDirectory->setText(CheckedFolderSetting(settings, settings::kSnapOutPutDir));
    // Each box shows what is stored. Should both of a pair be stored off, the
    // first of the pair is shown checked: one of them is always written.
    const std::pair<QCheckBox*, bool> stored[] = {{ckFullSize, settings.SnapFullSize()},
                                                  {ckSmallSize, settings.SnapSmallSize()},
                                                  {ckBmp, settings.SnapBmp()},
                                                  {ckJpg, settings.SnapJpg()}};
    for (auto [box, on] : stored) {
        const QSignalBlocker quiet(box);
        box->setChecked(on);
    }
    for (auto [first, second] : {std::pair{ckFullSize, ckSmallSize}, std::pair{ckBmp, ckJpg}}) {
        if (first->isChecked() || second->isChecked()) continue;
        const QSignalBlocker quiet(first);
        first->setChecked(true);
    }
    const bool jpg = ckJpg->isChecked();
    spedCmp->setEnabled(jpg);
    trcCmp->setEnabled(jpg);
    spedCmp->setValue(settings.JpgCmp());
    trcCmp->setValue(spedCmp->value());
    SetPriorityIndex(settings.ReadInt(QStringLiteral("Priority"), 1));
}

void TfrmPreference::btnBrowsClick()
{
    const QString chosen =
        AppDialogs().ChooseFolder(this, QStringLiteral("Please select an output directory:"), edtSnapDirectory->text());
    ConverterSettings settings = Settings();
    const QString shown =
        ApplyChosenFolder(chosen, edtSnapDirectory->text(), settings, settings::kSnapOutPutDir, AppDialogs(), this);
    if (!shown.isNull()) edtSnapDirectory->setText(shown);
}

void TfrmPreference::btnOpenClick()
{
    const QString folder = Settings().SnapOutPutDir();
    if (edtSnapDirectory->text().size() > 2) OpenFolderInFileManager(folder);
}

void TfrmPreference::btnDefaultClick()
{
    edtSnapDirectory->setText(DefaultOutputFolder());
    // Each partner is checked before the other is cleared.
    ckBmp->setChecked(true);
    ckJpg->setChecked(false);
    ckFullSize->setChecked(true);
    ckSmallSize->setChecked(false);
    SetPriorityIndex(1);
    spedCmp->setValue(20);
    trcCmp->setValue(20);
}

void TfrmPreference::btnOkClick()
{
    ConverterSettings settings = Settings();
    const QString folder = edtSnapDirectory->text();
    settings.WriteText(QStringLiteral("snapOutPutDir"), folder.isEmpty() ? DefaultOutputFolder() : folder);
    settings.WriteInt(settings::kSnapFullSize, ckFullSize->isChecked() ? 1 : 0);
    settings.WriteInt(settings::kSnapSmallSize, ckSmallSize->isChecked() ? 1 : 0);
    settings.WriteInt(settings::kSnapBmp, ckBmp->isChecked() ? 1 : 0);
    settings.WriteInt(settings::kSnapJpg, ckJpg->isChecked() ? 1 : 0);
    if (spedCmp->value() > 0) settings.WriteInt(settings::kJpgCmp, spedCmp->value());
    settings.WriteInt(settings::kPriority, PriorityIndex());
    accept();
}

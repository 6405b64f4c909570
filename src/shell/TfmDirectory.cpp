#include "shell/TfmDirectory.h"

#include "platform/Dialogs.h"
#include "platform/SystemFolders.h"
#include "platform/Themes.h"

#include <QApplication>
#include <QDir>
#include <QFileSystemModel>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeView>
#include <QVBoxLayout>

TfmDirectory::TfmDirectory(Dialogs& dialogs, QWidget* parent) : QDialog(parent), dialogs_(dialogs)
{
    setWindowTitle(QApplication::applicationDisplayName());
    setModal(true);
    resize(360, 420);

    lblPrompt = new QLabel(QStringLiteral("Please select an output directory:"), this);
    model_ = new QFileSystemModel(this);
    model_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
    model_->setRootPath(QStringLiteral("/"));
    tvFolders = new QTreeView(this);
    tvFolders->setModel(model_);
    for (int column = 1; column < model_->columnCount(); ++column) tvFolders->hideColumn(column);
    tvFolders->header()->hide();
    tvFolders->setRootIndex(model_->index(QStringLiteral("/")).parent());

    btnOk = new QPushButton(QStringLiteral("Ok"), this);
    btnCancel = new QPushButton(QStringLiteral("Cancel"), this);
    btnOk->setDefault(true);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnOk);
    buttons->addWidget(btnCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblPrompt);
    layout->addWidget(tvFolders, 1);
    layout->addLayout(buttons);

    connect(btnOk, &QPushButton::clicked, this, &TfmDirectory::btnOkClick);
    connect(btnCancel, &QPushButton::clicked, this, &TfmDirectory::btnCancelClick);
    connect(tvFolders->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this] { UpdateOkButton(); });
    connect(tvFolders, &QTreeView::doubleClicked, this, [this] { tvFolders->expand(tvFolders->currentIndex()); });

    SelectFolder(QDir::homePath());
}

void TfmDirectory::SelectFolder(const QString& folder)
{
    const QModelIndex index = model_->index(folder);
    if (!index.isValid()) return;
    tvFolders->setCurrentIndex(index);
    tvFolders->scrollTo(index);
    tvFolders->expand(index);
    UpdateOkButton();
}

QString TfmDirectory::SelectedFolder() const
{
    const QModelIndex index = tvFolders->currentIndex();
    return index.isValid() ? model_->filePath(index) : QString();
}

void TfmDirectory::UpdateOkButton() { btnOk->setEnabled(tvFolders->currentIndex().isValid()); }

void TfmDirectory::btnOkClick()
{
    path_ = SelectedFolder();
    if (path_.isEmpty()) return;
    if (IsOnReadOnlyMedia(path_)) {
        dialogs_.Message(this, QStringLiteral("Output folder cannot be located in CD-ROM.Please select another folder."),
                         QApplication::applicationDisplayName(), MessageIcon::Information);
        path_.clear();
        return;
    }
    accept();
}

void TfmDirectory::btnCancelClick()
{
    path_.clear();
    reject();
}

void TfmDirectory::showEvent(QShowEvent* event)
{
    ApplyCurrentTheme(this);
    path_.clear();
    QDialog::showEvent(event);
}

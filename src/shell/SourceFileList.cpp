#include "shell/SourceFileList.h"

#include <QHeaderView>
#include <QTreeWidget>

SourceFileList::SourceFileList(QTreeWidget* view) : view_(view)
{
    view_->setRootIsDecorated(false);
    view_->setSelectionMode(QAbstractItemView::SingleSelection);
    view_->setSelectionBehavior(QAbstractItemView::SelectRows);
    view_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view_->setUniformRowHeights(true);
    view_->header()->setSectionsClickable(false);
    view_->header()->setSectionsMovable(false);
}

SourceFileList::~SourceFileList() = default;

bool SourceFileList::ContainsSource(const QString& path) const
{
    for (int row = 0; row < RowCount(); ++row)
        if (Caption(row) == path) return true;
    return false;
}

int SourceFileList::AppendRow(std::unique_ptr<TlvFilesRecord> record)
{
    const bool first = IsEmpty();
    auto* item = new QTreeWidgetItem;
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
    item->setText(kSource, record->SourceFile);
    item->setToolTip(kSource, record->SourceFile);
    const QString length = QString::number(record->DurationSeconds);
    item->setText(kLength, length);
    item->setText(kTrimmedLength, length);
    const qsizetype slash = record->DestFile.lastIndexOf(QLatin1Char('/'));
    item->setText(kDestination, record->DestFile.mid(slash + 1));
    item->setText(kProgress, QString());
    item->setCheckState(kSource, Qt::Checked);
    records_.push_back(std::move(record));
    view_->addTopLevelItem(item);
    if (first) ShowColumns();
    return RowCount() - 1;
}

TlvFilesRecord* SourceFileList::Record(int row) const
{
    return row >= 0 && row < RowCount() ? records_[size_t(row)].get() : nullptr;
}

QString SourceFileList::Caption(int row) const { return Text(row, kSource); }

QString SourceFileList::Text(int row, Column column) const
{
    const QTreeWidgetItem* item = view_->topLevelItem(row);
    return item ? item->text(column) : QString();
}

void SourceFileList::SetText(int row, Column column, const QString& text)
{
    if (QTreeWidgetItem* item = view_->topLevelItem(row)) item->setText(column, text);
}

bool SourceFileList::IsChecked(int row) const
{
    const QTreeWidgetItem* item = view_->topLevelItem(row);
    return item && item->checkState(kSource) == Qt::Checked;
}

void SourceFileList::SetChecked(int row, bool checked)
{
    if (QTreeWidgetItem* item = view_->topLevelItem(row))
        item->setCheckState(kSource, checked ? Qt::Checked : Qt::Unchecked);
}

int SourceFileList::CheckedCount() const { return int(CheckedRows().size()); }

std::vector<int> SourceFileList::CheckedRows() const
{
    std::vector<int> rows;
    for (int row = 0; row < RowCount(); ++row)
        if (IsChecked(row)) rows.push_back(row);
    return rows;
}

void SourceFileList::CheckAll()
{
    for (int row = 0; row < RowCount(); ++row) SetChecked(row, true);
}

void SourceFileList::UncheckAll()
{
    for (int row = 0; row < RowCount(); ++row) SetChecked(row, false);
}

void SourceFileList::ReverseCheck()
{
    for (int row = 0; row < RowCount(); ++row) SetChecked(row, !IsChecked(row));
}

int SourceFileList::SelectedRow() const
{
    const QList<QTreeWidgetItem*> selected = view_->selectedItems();
    return selected.isEmpty() ? -1 : view_->indexOfTopLevelItem(selected.front());
}

void SourceFileList::SelectRow(int row)
{
    QTreeWidgetItem* item = view_->topLevelItem(row);
    if (!item) return;
    view_->setCurrentItem(item);
    item->setSelected(true);
}

bool SourceFileList::RemoveSelected()
{
    const int row = SelectedRow();
    if (row < 0) return false;
    delete view_->takeTopLevelItem(row);
    records_.erase(records_.begin() + row);
    if (IsEmpty()) {
        HideColumns();
    } else {
        SelectRow(row < RowCount() ? row : RowCount() - 1);
    }
    view_->viewport()->update();
    return true;
}

void SourceFileList::Clear()
{
    if (IsEmpty()) return;
    view_->clear();
    records_.clear();
    HideColumns();
}

void SourceFileList::ShowColumns()
{
    view_->setColumnCount(kColumnCount);
    view_->setHeaderLabels({QStringLiteral("Source"), QStringLiteral("Length"), QStringLiteral("Trimmed Length"),
                            QStringLiteral("Destination File"), QStringLiteral("Progress")});
    const int widths[kColumnCount] = {140, 65, 90, 120, 60};
    for (int i = 0; i < kColumnCount; ++i) view_->setColumnWidth(i, widths[i]);
    view_->setHeaderHidden(false);
}

void SourceFileList::HideColumns()
{
    view_->setHeaderHidden(true);
    view_->setColumnCount(1);
    view_->setColumnWidth(0, view_->viewport()->width());
}

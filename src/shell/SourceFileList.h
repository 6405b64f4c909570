#pragma once

#include "shell/TlvFilesRecord.h"

#include <QString>

#include <memory>
#include <vector>

class QTreeWidget;

// The rows of the source file list and the record behind each. A row is
// known by its position; records follow their rows through removals.
class SourceFileList {
public:
    enum Column { kSource, kLength, kTrimmedLength, kDestination, kProgress, kColumnCount };

    explicit SourceFileList(QTreeWidget* view);
    ~SourceFileList();
    SourceFileList(const SourceFileList&) = delete;
    SourceFileList& operator=(const SourceFileList&) = delete;

    QTreeWidget* View() const { return view_; }
    int RowCount() const { return int(records_.size()); }
    bool IsEmpty() const { return records_.empty(); }
    // Exact, case-sensitive comparison with every row's caption.
    bool ContainsSource(const QString& path) const;

    // Appends a checked row for the record; the first row brings the columns
    // back. Returns the row's position.
    int AppendRow(std::unique_ptr<TlvFilesRecord> record);
    TlvFilesRecord* Record(int row) const;
    QString Caption(int row) const;
    QString Text(int row, Column column) const;
    void SetText(int row, Column column, const QString& text);

    bool IsChecked(int row) const;
    void SetChecked(int row, bool checked);
    int CheckedCount() const;
    std::vector<int> CheckedRows() const;
    void CheckAll();
    void UncheckAll();
    void ReverseCheck();

    // -1 when no row is selected.
    int SelectedRow() const;
    void SelectRow(int row);
    bool HasRowsAndSelection() const { return !IsEmpty() && SelectedRow() >= 0; }

    // Removes the selected row and selects the row now at its place, or the
    // new last row. Returns false when nothing was selected.
    bool RemoveSelected();
    void Clear();

    // The five columns of a list with rows, and the plain look of an empty one.
    void ShowColumns();
    void HideColumns();

private:
    QTreeWidget* view_;
    std::vector<std::unique_ptr<TlvFilesRecord>> records_;
};

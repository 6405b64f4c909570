#pragma once

#include <QColor>
#include <QStyledItemDelegate>

// Colours of a file list row: even rows white, odd rows the theme's tint, the
// selected row a blue that is stronger while the list has the focus.
QColor FileRowFill(int row, bool selected, bool listHasFocus, int themeIndex);
QColor FileRowFrame(bool listHasFocus);

// Draws the file list's rows in the program's own look: tinted stripes, a
// square check box with a tick, texts cut with an ellipsis, a framed
// selection. Clicking the square or pressing Space toggles the check.
class FileListDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

    // The check square of a row whose bounds (already narrowed) start at left.
    static QRect CheckSquare(const QRect& rowBounds);

protected:
    bool editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                     const QModelIndex& index) override;
};

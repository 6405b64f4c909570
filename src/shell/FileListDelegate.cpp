#include "shell/FileListDelegate.h"

#include "platform/Themes.h"

#include <QAbstractItemView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace {

constexpr int kCaptionLeft = 18; // the caption starts right of the check square

bool ListHasFocus(const QStyleOptionViewItem& option)
{
    return option.widget && option.widget->hasFocus();
}

// The row's bounds as seen from one cell, narrowed by a pixel at both ends.
QRect RowBounds(const QStyleOptionViewItem& option, const QModelIndex& index)
{
    QRect bounds = option.rect;
    const auto* view = qobject_cast<const QAbstractItemView*>(option.widget);
    if (view) {
        const QModelIndex first = index.siblingAtColumn(0);
        const QModelIndex last = index.siblingAtColumn(index.model()->columnCount(index.parent()) - 1);
        bounds.setLeft(view->visualRect(first).left());
        bounds.setRight(view->visualRect(last).right());
    }
    return bounds.adjusted(1, 0, -1, 0);
}

} // namespace

QColor FileRowFill(int row, bool selected, bool listHasFocus, int themeIndex)
{
    if (selected) return listHasFocus ? QColor(0xB9, 0xCC, 0xEC) : QColor(0xE5, 0xEC, 0xF8);
    if (row % 2 == 0) return Qt::white;
    return IsThemeIndex(themeIndex) ? ThemeAt(themeIndex).oddRowTint : QColor(0xEB, 0xEB, 0xEB);
}

QColor FileRowFrame(bool listHasFocus) { return listHasFocus ? QColor(0x7A, 0xA0, 0xDA) : QColor(0x98, 0xB5, 0xE2); }

QRect FileListDelegate::CheckSquare(const QRect& rowBounds)
{
    return QRect(QPoint(rowBounds.left() + 2, rowBounds.top() + 2), QPoint(rowBounds.left() + 14, rowBounds.bottom() - 2));
}

void FileListDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const bool selected = option.state & QStyle::State_Selected;
    const bool focus = ListHasFocus(option);
    const QRect row = RowBounds(option, index);
    const QRect cell = option.rect.intersected(row);

    painter->save();
    painter->fillRect(cell, FileRowFill(index.row(), selected, focus, CurrentThemeIndex()));
    painter->setClipRect(cell);

    QRect textArea = option.rect;
    if (index.column() == 0) {
        const QRect square = CheckSquare(row);
        painter->setPen(QPen(Qt::black, 2));
        painter->drawRect(square);
        if (index.data(Qt::CheckStateRole).toInt() == Qt::Checked) {
            const QPoint tick[] = {{row.left() + 4, row.top() + 6}, {row.left() + 6, row.top() + 11},
                                   {row.left() + 11, row.top() + 5}};
            painter->drawPolyline(tick, 3);
        }
        painter->setPen(QPen(Qt::black, 1));
        textArea.setLeft(row.left() + kCaptionLeft);
        textArea.adjust(3, 0, -3, 0);
    } else {
        textArea.adjust(3, 0, -3, 0);
    }

    const QString text = index.data(Qt::DisplayRole).toString();
    const Qt::Alignment horizontal =
        Qt::Alignment(index.data(Qt::TextAlignmentRole).toInt()) & Qt::AlignHorizontal_Mask;
    painter->setFont(option.font);
    // Every row colour is light, whatever the theme.
    painter->setPen(Qt::black);
    painter->drawText(textArea, int(horizontal ? horizontal : Qt::AlignLeft) | Qt::AlignVCenter | Qt::TextSingleLine,
                      option.fontMetrics.elidedText(text, Qt::ElideRight, textArea.width()));

    if (selected) {
        painter->setPen(QPen(FileRowFrame(focus), 1));
        painter->drawLine(cell.topLeft(), cell.topRight());
        painter->drawLine(cell.bottomLeft(), cell.bottomRight());
        if (cell.left() == row.left()) painter->drawLine(cell.topLeft(), cell.bottomLeft());
        if (cell.right() == row.right()) painter->drawLine(cell.topRight(), cell.bottomRight());
    }
    painter->restore();
}

QSize FileListDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    size.setHeight(std::max(size.height(), 18));
    return size;
}

bool FileListDelegate::editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                                   const QModelIndex& index)
{
    if (!(index.flags() & Qt::ItemIsUserCheckable)) return false;
    const QModelIndex first = index.siblingAtColumn(0);
    bool toggle = false;
    if (event->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        toggle = mouse->button() == Qt::LeftButton &&
                 CheckSquare(RowBounds(option, index)).adjusted(-1, -1, 1, 1).contains(mouse->position().toPoint());
    } else if (event->type() == QEvent::MouseButtonDblClick) {
        // Keeps a quick double click on the square from also playing the row.
        const auto* mouse = static_cast<QMouseEvent*>(event);
        return CheckSquare(RowBounds(option, index)).adjusted(-1, -1, 1, 1).contains(mouse->position().toPoint());
    } else if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        toggle = key == Qt::Key_Space || key == Qt::Key_Select;
    }
    if (!toggle) return false;
    const bool checked = first.data(Qt::CheckStateRole).toInt() == Qt::Checked;
    return model->setData(first, checked ? Qt::Unchecked : Qt::Checked, Qt::CheckStateRole);
}

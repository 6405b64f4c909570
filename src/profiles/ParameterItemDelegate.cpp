#include "profiles/ParameterItemDelegate.h"

#include <QPainter>

void ParameterItemDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                  const QModelIndex& index) const
{
    painter->save();
    const QRect rect = option.rect;
    const bool focused = option.state & (QStyle::State_Selected | QStyle::State_HasFocus);
    if (focused) {
        painter->fillRect(rect.adjusted(2, 2, -2, -2), QColor(kFocusedItemFill));
        painter->setPen(QColor(kFocusedItemFrame));
        painter->setBrush(Qt::NoBrush);
        painter->drawRect(rect.adjusted(1, 1, -2, -2));
    } else {
        painter->fillRect(rect, Qt::white);
    }
    if (index.isValid() && index.row() >= 0) {
        const QRect textRect = rect.adjusted(3, 0, -3, 0);
        const QString text = index.data(Qt::DisplayRole).toString();
        painter->setFont(option.font);
        painter->setPen(Qt::black);
        painter->drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                          option.fontMetrics.elidedText(text, Qt::ElideRight, textRect.width()));
    }
    painter->restore();
}

QSize ParameterItemDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    size.setHeight(qMax(size.height(), option.fontMetrics.height() + 6));
    return size;
}

#pragma once

#include <QStyledItemDelegate>

// How the owner-drawn parameter boxes draw an item: the item under the
// keyboard or mouse in a light blue frame, others on white, the text cut
// with an ellipsis when it does not fit.
class ParameterItemDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};

// The focused-item colours, shared with the format list.
inline constexpr QRgb kFocusedItemFill = 0xB9CCEC;  // RGB(185, 204, 236)
inline constexpr QRgb kFocusedItemFrame = 0x7AA0DA; // RGB(122, 160, 218)

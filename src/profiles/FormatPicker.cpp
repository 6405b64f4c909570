#include "profiles/FormatPicker.h"

#include "platform/IniFile.h"
#include "profiles/CatalogueIcons.h"
#include "profiles/ParameterItemDelegate.h"
#include "shell/GlobalObject.h"
#include "shell/Settings.h"

#include <QApplication>
#include <QCursor>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QToolButton>

namespace {

const QColor kListColour(246, 247, 248);
const QColor kFormatText(0, 0, 128);
constexpr int kGlyphWidth = 20;

// Draws the rows: the selected one in a light blue frame, headers in bold
// with their glyph and icon, formats indented in navy.
class FormatRowDelegate : public QStyledItemDelegate {
public:
    explicit FormatRowDelegate(FormatListBox* list) : QStyledItemDelegate(list), list_(list) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const FormatListItem* row = list_->Row(index.row());
        if (!row) return;
        painter->save();
        const QRect rect = option.rect;
        if (option.state & QStyle::State_Selected) {
            painter->fillRect(rect.adjusted(2, 2, -2, -2), QColor(kFocusedItemFill));
            painter->setPen(QColor(kFocusedItemFrame));
            painter->drawRect(rect.adjusted(1, 1, -2, -2));
        } else {
            painter->fillRect(rect, kListColour);
        }
        const QRect area = rect.adjusted(3, 0, -3, 0);
        QFont font = option.font;
        const QRect textRect(area.left(), area.top() + 2, area.width(), area.height() - 2);
        if (row->info.IsGroup) {
            const QPixmap& glyph = ExpandGlyph(row->info.Collapsed ? 0 : 1);
            painter->drawPixmap(area.left() + 1, area.top() + (area.height() - glyph.height()) / 2, glyph);
            const QPixmap& icon = GroupIcon(row->info.Code);
            painter->drawPixmap(area.left() + 20, area.top() + (area.height() - icon.height()) / 2, icon);
            font.setBold(true);
            painter->setFont(font);
            painter->setPen(Qt::black);
            painter->drawText(textRect.adjusted(45, 0, 0, 0), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                              row->text());
        } else {
            painter->setFont(font);
            painter->setPen(kFormatText);
            painter->drawText(textRect.adjusted(25, 0, 0, 0), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                              row->text());
        }
        painter->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override
    {
        return QSize(100, FormatPicker::kRowHeight);
    }

private:
    FormatListBox* list_;
};

bool Contains(const QWidget* outer, const QObject* inner)
{
    for (const QObject* o = inner; o; o = o->parent())
        if (o == outer) return true;
    return false;
}

void PaintListColour(QWidget* widget)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Base, kListColour);
    widget->setPalette(palette);
    // The theme's style sheet draws the boxes' backgrounds; a rule of the
    // box's own goes before it.
    widget->setStyleSheet(QStringLiteral("background-color: rgb(246, 247, 248);"));
}

} // namespace

FormatListBox::FormatListBox(FormatPicker& picker, QWidget* parent) : QListWidget(parent), picker_(picker)
{
    setObjectName(QStringLiteral("lst1"));
    setItemDelegate(new FormatRowDelegate(this));
    setUniformItemSizes(true);
    setMouseTracking(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFrameShape(QFrame::Box);
    PaintListColour(this);
}

void FormatListBox::mousePressEvent(QMouseEvent* event)
{
    picker_.lst1MouseDown(event->button(), event->position().toPoint());
    event->accept();
}

void FormatListBox::mouseMoveEvent(QMouseEvent* event)
{
    picker_.lst1MouseMove(event->position().toPoint());
    event->accept();
}

void FormatListBox::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && isVisible()) picker_.lst1Click();
    event->accept();
}

void FormatListBox::mouseDoubleClickEvent(QMouseEvent* event)
{
    // The second press of a double click is a press as well.
    picker_.lst1DblClick();
    if (isVisible()) picker_.lst1MouseDown(event->button(), event->position().toPoint());
    event->accept();
}

void FormatListBox::keyPressEvent(QKeyEvent* event)
{
    const FormatListItem* row = Row(currentRow());
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (row && row->info.IsFormat) picker_.ChooseRow(currentRow());
        else if (row && row->info.IsGroup) picker_.ToggleGroup(currentRow());
        return;
    case Qt::Key_Escape:
        picker_.CloseList();
        return;
    case Qt::Key_Left:
    case Qt::Key_Right:
        if (row && row->info.IsGroup && row->info.Collapsed == (event->key() == Qt::Key_Right))
            picker_.ToggleGroup(currentRow());
        return;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        picker_.CloseList();
        return;
    default:
        QListWidget::keyPressEvent(event);
    }
}

void FormatListBox::contextMenuEvent(QContextMenuEvent* event) { event->accept(); }

FormatPicker::FormatPicker(Kind kind, QLineEdit* edt1, QToolButton* imgbtn1, QString& currentName,
                           QString& currentCode, QObject* parent)
    : QObject(parent), kind_(kind), edt1_(edt1), imgbtn1_(imgbtn1), currentName_(currentName),
      currentCode_(currentCode)
{
    lst1 = new FormatListBox(*this, edt1->parentWidget());
    lst1->hide();
    // The box's text sits away from its frame.
    edt1->setTextMargins(4, 2, 0, 0);
    connect(imgbtn1, &QToolButton::clicked, this, &FormatPicker::imgbtn1Click);
    // Watches every event of the program: clicks elsewhere close the list, and
    // the box's own clicks and keys open it.
    qApp->installEventFilter(this);
    SizeList();
}

QString FormatPicker::ConverterIniPath() const
{
    return GlobalObject() ? GlobalObject()->ConverterIniPath() : QString();
}

QString FormatPicker::StoredFormatName() const
{
    const QString path = ConverterIniPath();
    if (path.isEmpty()) return settings::kDefaultFormatEntry;
    return IniFile(path).ReadString(settings::kSection, settings::kFormatName, settings::kDefaultFormatEntry);
}

void FormatPicker::BuildFormatList()
{
    lst1->hide();
    lst1->clear();
    const QString path = ConverterIniPath();
    const IniFile ini(path);
    for (CatalogueRow& row : BuildFormatRows(ini, table_)) lst1->addItem(new FormatListItem(row.text, row.info));
    if (kind_ == Kind::MainWindow) SizeListAfterBuild();
    edt1_->setText(StoredFormatName());
    SelectRowOfText(edt1_->text());
    PaintListColour(lst1);
    PaintListColour(edt1_);
    for (QWidget* widget : alsoPainted) PaintListColour(widget);
}

std::vector<TItemInfo> FormatPicker::RowInfos() const
{
    std::vector<TItemInfo> rows;
    for (int i = 0; i < lst1->count(); ++i) rows.push_back(lst1->Row(i)->info);
    return rows;
}

void FormatPicker::SaveGroupState(IniFile& converterIni) const { SaveFormatGroupState(converterIni, RowInfos()); }

void FormatPicker::SelectRowOfText(const QString& text)
{
    const QString wanted = text.trimmed();
    for (int i = 0; i < lst1->count(); ++i) {
        if (lst1->item(i)->text() == wanted) {
            lst1->setCurrentRow(i);
            return;
        }
    }
    lst1->setCurrentRow(-1);
    lst1->clearSelection();
}

void FormatPicker::SizeList()
{
    const int rows = lst1->count();
    int height = rows * kRowHeight + kRowHeight;
    int top;
    if (kind_ == Kind::MainWindow) {
        if (rows * kRowHeight > 358) height = 358;
        top = edt1_->y() - height;
    } else {
        if (rows * kRowHeight > 247) height = 247;
        top = edt1_->y() + edt1_->height() - 1;
    }
    const int width = imgbtn1_->geometry().right() + 1 - edt1_->x();
    lst1->setGeometry(edt1_->x(), top, width, height);
}

void FormatPicker::SizeListAfterBuild()
{
    const int rows = lst1->count();
    const int height = rows * kRowHeight > 362 ? 362 : (rows + 1) * kRowHeight;
    const int width = imgbtn1_->geometry().right() + 1 - edt1_->x();
    lst1->setGeometry(edt1_->x(), edt1_->y() + 2 - height, width, height);
}

bool FormatPicker::OpenOrClose()
{
    if (lst1->isVisible()) {
        lst1->hide();
        return true;
    }
    return false;
}

void FormatPicker::edt1Click()
{
    if (OpenOrClose()) return;
    SelectRowOfText(kind_ == Kind::MainWindow ? StoredFormatName() : currentName_);
    lst1->show();
    lst1->raise();
    lst1->setFocus();
    SizeList();
    if (kind_ == Kind::MainWindow && lst1->currentItem()) {
        const QRect row = lst1->visualItemRect(lst1->currentItem());
        QCursor::setPos(lst1->viewport()->mapToGlobal(row.center()));
    }
}

void FormatPicker::edt1DblClick()
{
    if (OpenOrClose()) return;
    if (kind_ == Kind::MainWindow) {
        edt1_->setText(StoredFormatName());
        SelectRowOfText(edt1_->text());
    } else {
        SelectRowOfText(currentName_);
    }
    lst1->show();
    lst1->raise();
    lst1->setFocus();
}

void FormatPicker::imgbtn1Click()
{
    if (OpenOrClose()) return;
    if (kind_ == Kind::MainWindow) {
        edt1_->setText(StoredFormatName());
        SelectRowOfText(edt1_->text());
    } else {
        SelectRowOfText(currentName_);
    }
    lst1->show();
    lst1->raise();
    lst1->setFocus();
    SizeList();
}

void FormatPicker::lst1MouseMove(const QPoint& pos)
{
    if (const QListWidgetItem* row = lst1->itemAt(pos)) lst1->setCurrentRow(lst1->row(row));
}

void FormatPicker::lst1MouseDown(Qt::MouseButton, const QPoint& pos)
{
    const QListWidgetItem* item = lst1->itemAt(pos);
    if (!item) return;
    const int row = lst1->row(item);
    const TItemInfo& info = lst1->Row(row)->info;
    if (info.IsGroup) {
        if (pos.x() < kGlyphWidth) ToggleGroup(row);
    } else if (info.IsFormat) {
        ChooseRow(row);
    }
}

void FormatPicker::lst1DblClick()
{
    const int row = lst1->currentRow();
    if (const FormatListItem* item = lst1->Row(row); item && item->info.IsGroup) ToggleGroup(row);
}

void FormatPicker::lst1Click() { SizeList(); }

void FormatPicker::ApplicationEvents1Deactivate() { lst1->hide(); }

void FormatPicker::CloseList()
{
    lst1->hide();
    edt1_->setFocus();
}

void FormatPicker::ToggleGroup(int headerRow)
{
    FormatListItem* header = lst1->Row(headerRow);
    if (!header || !header->info.IsGroup) return;
    const int group = header->info.Code;
    if (header->info.Collapsed) {
        for (int position = 0; position < 50; ++position) {
            const QString& text = table_.At(group, position);
            if (text.isEmpty()) continue;
            TItemInfo info;
            info.IsFormat = true;
            info.Label = QStringLiteral("Apple iPod");
            info.Code = group * 100 + position;
            lst1->insertItem(headerRow + position + 1, new FormatListItem(text, info));
        }
        header->info.Collapsed = false;
    } else {
        while (headerRow + 1 < lst1->count() && !lst1->Row(headerRow + 1)->info.IsGroup)
            delete lst1->takeItem(headerRow + 1);
        header->info.Collapsed = true;
    }
    lst1->setCurrentRow(headerRow);
    lst1->viewport()->update();
}

void FormatPicker::ChooseRow(int row)
{
    const FormatListItem* item = lst1->Row(row);
    if (!item || !item->info.IsFormat) return;
    const QString text = item->text();
    const QString code = QString::number(item->info.Code);
    if (kind_ == Kind::MainWindow && !ConverterIniPath().isEmpty())
        ConverterSettings(ConverterIniPath()).SetFormat(item->info.Code, text);
    currentName_ = text;
    currentCode_ = code;
    lst1->hide();
    edt1_->setText(text);
    emit formatChosen();
}

bool FormatPicker::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        if (watched == edt1_) break;
        // A press anywhere but on the picker's own controls closes the list.
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton && lst1->isVisible() && watched->isWidgetType() &&
            !Contains(lst1, watched) && !Contains(imgbtn1_, watched) && !Contains(edt1_, watched))
            lst1->hide();
        break;
    }
    case QEvent::ApplicationDeactivate:
        if (watched == qApp) ApplicationEvents1Deactivate();
        break;
    default:
        break;
    }
    if (watched != edt1_) return QObject::eventFilter(watched, event);

    switch (event->type()) {
    case QEvent::MouseButtonRelease: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() != Qt::LeftButton) break;
        if (releaseEndsDoubleClick_) {
            releaseEndsDoubleClick_ = false;
            break;
        }
        if (edt1_->rect().contains(mouse->position().toPoint())) edt1Click();
        break;
    }
    case QEvent::MouseButtonDblClick:
        if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
            releaseEndsDoubleClick_ = true;
            edt1DblClick();
        }
        break;
    case QEvent::KeyPress: {
        // The keyboard opens the list as the arrow button does.
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool opens = key->key() == Qt::Key_F4 || key->key() == Qt::Key_Space || key->key() == Qt::Key_Return ||
                           key->key() == Qt::Key_Enter ||
                           (key->key() == Qt::Key_Down && !(key->modifiers() & Qt::ControlModifier)) ||
                           (key->key() == Qt::Key_Up && kind_ == Kind::MainWindow);
        if (opens && !lst1->isVisible()) {
            imgbtn1Click();
            return true;
        }
        break;
    }
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

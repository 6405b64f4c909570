#pragma once

#include "profiles/FormatCatalogue.h"

#include <QListWidget>
#include <QObject>

#include <vector>

class IniFile;
class QLineEdit;
class QToolButton;
class FormatPicker;

// One row of the format list, owning its row information.
class FormatListItem : public QListWidgetItem {
public:
    FormatListItem(const QString& text, const TItemInfo& info) : QListWidgetItem(text), info(info) {}
    TItemInfo info;
};

// The owner-drawn drop list of the catalogue: rows 20 pixels high, group
// headers with an expand glyph, the row under the pointer selected.
class FormatListBox : public QListWidget {
public:
    FormatListBox(FormatPicker& picker, QWidget* parent);
    FormatListItem* Row(int row) const { return static_cast<FormatListItem*>(item(row)); }

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    FormatPicker& picker_;
};

// The format picker: a read-only box with the selected format, an arrow
// button, and the grouped drop list. On the main window the list opens
// upwards and a choice is stored at once; in the settings dialog it opens
// downwards and a choice only changes the dialog.
class FormatPicker : public QObject {
    Q_OBJECT
public:
    enum class Kind { MainWindow, Dialog };
    static constexpr int kRowHeight = 20;

    // The picker works on the window's own selection strings.
    FormatPicker(Kind kind, QLineEdit* edt1, QToolButton* imgbtn1, QString& currentName, QString& currentCode,
                 QObject* parent);

    FormatListBox* lst1;
    FormatNameTable& NameTable() { return table_; }
    // Boxes painted in the list's colour when the list is built.
    std::vector<QWidget*> alsoPainted;

    // Rebuilds the rows from the catalogue and the stored group state, puts
    // the stored format name into the box and selects its row.
    void BuildFormatList();
    std::vector<TItemInfo> RowInfos() const;
    // Stores which groups are collapsed.
    void SaveGroupState(IniFile& converterIni) const;

    void edt1Click();
    void edt1DblClick();
    void imgbtn1Click();
    void lst1MouseMove(const QPoint& pos);
    void lst1MouseDown(Qt::MouseButton button, const QPoint& pos);
    void lst1DblClick();
    void lst1Click();
    void ApplicationEvents1Deactivate();

    // Expands a collapsed group below its header row, or collapses it.
    void ToggleGroup(int headerRow);
    // Takes the format of a row as the window's format.
    void ChooseRow(int row);
    // Closes the list and gives the focus back to the box.
    void CloseList();

signals:
    // A format row was chosen (also when it was the selected format already).
    void formatChosen();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool OpenOrClose(); // true when the list was open and is now closed
    void SelectRowOfText(const QString& text);
    void SizeList();
    void SizeListAfterBuild();
    QString StoredFormatName() const;
    QString ConverterIniPath() const;

    Kind kind_;
    QLineEdit* edt1_;
    QToolButton* imgbtn1_;
    QString& currentName_;
    QString& currentCode_;
    FormatNameTable table_;
    bool releaseEndsDoubleClick_ = false;
};

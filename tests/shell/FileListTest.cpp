#include "platform/Themes.h"
#include "shell/FileListDelegate.h"
#include "shell/SourceFileList.h"
#include "shell/TfrmMain.h"
#include "support/TestEnvironment.h"
#include "support/TestSupport.h"

#include <QAction>
#include <QFile>
#include <QHeaderView>
#include <QMenu>
#include <QSignalSpy>
#include <QToolButton>
#include <QTreeWidget>
#include <QtTest>

#include <memory>

namespace {

std::unique_ptr<TlvFilesRecord> Record(const QString& path, int seconds = 3)
{
    auto record = std::make_unique<TlvFilesRecord>();
    record->SourceFile = path;
    record->DestFile = "/out/" + QFileInfo(path).completeBaseName() + "_(new)_ipod.mp4";
    record->DurationSeconds = seconds;
    return record;
}

QStringList Captions(const SourceFileList& files)
{
    QStringList captions;
    for (int row = 0; row < files.RowCount(); ++row) captions << files.Caption(row);
    return captions;
}

QString CheckPattern(const SourceFileList& files)
{
    QString pattern;
    for (int row = 0; row < files.RowCount(); ++row) pattern += files.IsChecked(row) ? 'x' : '-';
    return pattern;
}

} // namespace

class FileListTest : public QObject {
    Q_OBJECT

private:
    // Adds files through the scripted open dialog and waits until they are listed.
    static void Add(TfrmMain& window, TestEnvironment& env, const QStringList& paths)
    {
        QSignalSpy added(&window, &TfrmMain::filesAdded);
        env.dialogs.ScriptFiles(paths);
        window.btnAddClick();
        QVERIFY(added.wait(20000));
    }

private slots:
    void rowsColumnsAndRecords()
    {
        QTreeWidget view;
        SourceFileList files(&view);
        files.HideColumns();
        QVERIFY(view.isHeaderHidden());
        QCOMPARE(files.AppendRow(Record("/v/a.flv", 12)), 0);
        QVERIFY(!view.isHeaderHidden());
        QCOMPARE(view.columnCount(), 5);
        QCOMPARE(view.headerItem()->text(3), QString("Destination File"));
        QCOMPARE(view.columnWidth(0), 140);
        QCOMPARE(view.columnWidth(4), 60);
        QCOMPARE(files.Text(0, SourceFileList::kLength), QString("12"));
        QCOMPARE(files.Text(0, SourceFileList::kTrimmedLength), QString("12"));
        QCOMPARE(files.Text(0, SourceFileList::kDestination), QString("a_(new)_ipod.mp4"));
        QCOMPARE(files.Text(0, SourceFileList::kProgress), QString());
        QVERIFY(files.IsChecked(0));
        QVERIFY(files.ContainsSource("/v/a.flv"));
        QVERIFY(!files.ContainsSource("/v/A.flv"));
        QCOMPARE(files.Record(0)->SourceFile, QString("/v/a.flv"));
        QVERIFY(files.Record(1) == nullptr);
    }

    void removeSelectsTheRowAtTheSamePlace_data()
    {
        QTest::addColumn<int>("selected");
        QTest::addColumn<QStringList>("left");
        QTest::addColumn<int>("selectedAfter");
        QTest::newRow("last") << 2 << QStringList{"/a", "/b"} << 1;
        QTest::newRow("middle") << 1 << QStringList{"/a", "/c"} << 1;
        QTest::newRow("first") << 0 << QStringList{"/b", "/c"} << 0;
        QTest::newRow("none") << -1 << QStringList{"/a", "/b", "/c"} << -1;
    }

    void removeSelectsTheRowAtTheSamePlace()
    {
        QFETCH(int, selected);
        QFETCH(QStringList, left);
        QFETCH(int, selectedAfter);
        QTreeWidget view;
        SourceFileList files(&view);
        for (const char* path : {"/a", "/b", "/c"}) files.AppendRow(Record(path));
        view.clearSelection();
        files.SelectRow(selected);
        QCOMPARE(files.RemoveSelected(), selected >= 0);
        QCOMPARE(Captions(files), left);
        // Records move with their rows.
        for (int row = 0; row < files.RowCount(); ++row) QCOMPARE(files.Record(row)->SourceFile, left[row]);
        QCOMPARE(files.SelectedRow(), selectedAfter);
    }

    void lastRowGoneOrClearedLeavesAPlainList()
    {
        QTreeWidget view;
        SourceFileList files(&view);
        files.AppendRow(Record("/a"));
        files.SelectRow(0);
        QVERIFY(files.RemoveSelected());
        QVERIFY(files.IsEmpty());
        QVERIFY(view.isHeaderHidden());
        QCOMPARE(view.columnCount(), 1);
        QVERIFY(!files.RemoveSelected());

        files.AppendRow(Record("/a"));
        files.AppendRow(Record("/b"));
        files.Clear();
        QCOMPARE(view.topLevelItemCount(), 0);
        QVERIFY(files.Record(0) == nullptr);
        QVERIFY(view.isHeaderHidden());
    }

    void checkCommands()
    {
        QTreeWidget view;
        SourceFileList files(&view);
        for (const char* path : {"/a", "/b", "/c"}) files.AppendRow(Record(path));
        QCOMPARE(CheckPattern(files), QString("xxx"));
        files.SetChecked(1, false);
        files.ReverseCheck();
        QCOMPARE(CheckPattern(files), QString("-x-"));
        QCOMPARE(files.CheckedRows(), std::vector<int>{1});
        files.CheckAll();
        QCOMPARE(CheckPattern(files), QString("xxx"));
        files.UncheckAll();
        QCOMPARE(files.CheckedCount(), 0);
    }

    void rowColours_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<bool>("selected");
        QTest::addColumn<bool>("focus");
        QTest::addColumn<int>("theme");
        QTest::addColumn<QColor>("fill");
        QTest::newRow("even") << 2 << false << false << 3 << QColor(Qt::white);
        QTest::newRow("odd default") << 1 << false << true << 0 << QColor(0xE2, 0xE6, 0xF6);
        QTest::newRow("odd gray") << 3 << false << false << 1 << QColor(0xEC, 0xEC, 0xEC);
        QTest::newRow("odd orange") << 1 << false << false << 2 << QColor(0xF8, 0xF2, 0xE0);
        QTest::newRow("odd purple") << 1 << false << false << 3 << QColor(0xF6, 0xE6, 0xF1);
        QTest::newRow("odd red") << 1 << false << false << 4 << QColor(0xF7, 0xE1, 0xE1);
        QTest::newRow("odd green") << 1 << false << false << 5 << QColor(0xE2, 0xF7, 0xE1);
        QTest::newRow("odd light blue") << 1 << false << false << 6 << QColor(0xE1, 0xF0, 0xF7);
        QTest::newRow("odd, other theme") << 1 << false << false << 9 << QColor(0xEB, 0xEB, 0xEB);
        QTest::newRow("selected, focus") << 1 << true << true << 2 << QColor(0xB9, 0xCC, 0xEC);
        QTest::newRow("selected, no focus") << 0 << true << false << 2 << QColor(0xE5, 0xEC, 0xF8);
    }

    void rowColours()
    {
        QFETCH(int, row);
        QFETCH(bool, selected);
        QFETCH(bool, focus);
        QFETCH(int, theme);
        QFETCH(QColor, fill);
        QCOMPARE(FileRowFill(row, selected, focus, theme), fill);
    }

    void drawnRowsShowStripesSelectionAndChecks()
    {
        TestEnvironment env;
        SetCurrentThemeIndex(2);
        QTreeWidget view;
        view.resize(496, 200);
        SourceFileList files(&view);
        view.setItemDelegate(new FileListDelegate(&view));
        for (const char* path : {"/a.flv", "/b.flv", "/c.flv"}) files.AppendRow(Record(path));
        files.SetChecked(1, false);
        files.SelectRow(2);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        const QImage shot = view.viewport()->grab().toImage();
        SetCurrentThemeIndex(0);

        const auto rowRect = [&](int row) { return view.visualItemRect(view.topLevelItem(row)); };
        const QRect r1 = rowRect(1);
        // x 200 lies right of the short "Length" text.
        QCOMPARE(shot.pixelColor(200, r1.center().y()), QColor(0xF8, 0xF2, 0xE0));
        QCOMPARE(shot.pixelColor(200, rowRect(0).center().y()), QColor(Qt::white));
        const QColor selectedFill = shot.pixelColor(200, rowRect(2).center().y());
        QVERIFY(selectedFill == QColor(0xE5, 0xEC, 0xF8) || selectedFill == QColor(0xB9, 0xCC, 0xEC));
        // The selected row is framed.
        const QColor frame = shot.pixelColor(200, rowRect(2).top());
        QVERIFY(frame == QColor(0x98, 0xB5, 0xE2) || frame == QColor(0x7A, 0xA0, 0xDA));
        // The tick of a checked row crosses the middle of its square; an
        // unchecked square is empty inside.
        const auto tickPoint = [&](int row) {
            const QRect r = rowRect(row);
            return QPoint(r.left() + 1 + 6, r.top() + 10);
        };
        QVERIFY(shot.pixelColor(tickPoint(0)).lightness() < 80);
        QVERIFY(shot.pixelColor(tickPoint(1)).lightness() > 200);
    }

    void addListsUsableFilesOnceInPickedOrder()
    {
        TestEnvironment env;
        TfrmMain window;
        window.show();
        QTemporaryDir dir;
        const QString copy = dir.filePath("Flv1_mp3.flv");
        QVERIFY(QFile::copy(ClipPath("flv1_mp3.flv"), copy));
        Add(window, env,
            {ClipPath("flv1_mp3.flv"), dir.path(), ClipPath("empty.flv"), ClipPath("text.flv"),
             ClipPath("audio_only.flv"), ClipPath("flv1_mp3.flv")});
        QCOMPARE(env.dialogs.calls().front().text, QString("Flash Video files (*.flv)|*.flv|All files|*"));
        SourceFileList& files = window.Files();
        QCOMPARE(Captions(files), (QStringList{ClipPath("flv1_mp3.flv"), ClipPath("audio_only.flv")}));
        QCOMPARE(files.Text(0, SourceFileList::kLength), QString("3"));
        QCOMPARE(files.Text(1, SourceFileList::kDestination), QString("audio_only_(new)_ipod.mpg"));
        QCOMPARE(files.Record(1)->SelectionIndex, 4);
        QCOMPARE(files.Record(0)->ZoomMode, QString("lbox"));
        QCOMPARE(files.SelectedRow(), 0);
        QVERIFY(window.btnStart->isEnabled() && window.btnRemove->isEnabled() && window.btnClear->isEnabled());

        // The same path again adds nothing; one that differs in letter case is another file.
        Add(window, env, {ClipPath("flv1_mp3.flv"), copy});
        QCOMPARE(files.RowCount(), 3);
        QCOMPARE(files.Caption(2), copy);

        // Cancelling the dialog changes nothing.
        env.dialogs.ScriptFiles({});
        window.btnAddClick();
        QVERIFY(!window.Adding());
        QCOMPARE(files.RowCount(), 3);

        window.btnClearClick();
        QVERIFY(files.IsEmpty());
    }

    void menusFollowRowsAndSelection()
    {
        TestEnvironment env;
        TfrmMain window;
        window.show();
        const auto edit = [&] {
            return QList<QAction*>{window.actCrop, window.actTrim, window.actVideoEffect, window.actCheckAll,
                                   window.actUncheckAll, window.actReverseCheck, window.actCheck, window.actUncheck};
        };
        const auto popup = [&] {
            return QList<QAction*>{window.popCrop, window.popTrim, window.popVideoEffect, window.popVideoInfo,
                                   window.popRemove, window.popClear, window.popStart};
        };
        emit window.mnuEdit->aboutToShow();
        window.PopupFileMenu(QPoint(10, 10));
        window.popFiles->hide();
        for (QAction* action : edit() + popup()) QVERIFY2(!action->isEnabled(), qPrintable(action->text()));
        QVERIFY(window.popAdd->isEnabled());
        QVERIFY(window.actVideoEffect->isVisible() && window.popVideoEffect->isVisible());

        Add(window, env, {ClipPath("flv1_mp3.flv"), ClipPath("video_only.flv")});
        emit window.mnuEdit->aboutToShow();
        window.PopupFileMenu(QPoint(10, 10));
        window.popFiles->hide();
        for (QAction* action : edit() + popup()) QVERIFY2(action->isEnabled(), qPrintable(action->text()));

        window.lvFiles->clearSelection();
        emit window.mnuEdit->aboutToShow();
        for (QAction* action : edit()) QVERIFY(!action->isEnabled());

        window.Files().SelectRow(1);
        emit window.mnuEdit->aboutToShow();
        window.actUncheck->trigger();
        QVERIFY(window.Files().IsChecked(0) && !window.Files().IsChecked(1));
        window.actReverseCheck->trigger();
        QVERIFY(!window.Files().IsChecked(0) && window.Files().IsChecked(1));
        window.actRemove->trigger();
        QCOMPARE(window.Files().RowCount(), 1);
        QCOMPARE(window.Files().SelectedRow(), 0);
    }
};

QTEST_MAIN(FileListTest)
#include "FileListTest.moc"

// The result list of the duplicate/file-hog window: marking by button, key,
// double click and menu, the bookkeeping on the status line, "Clean?" and
// the hand-over to the deletion panel, the Safe Harbor bold, the menu.
#include "dupresults_fixture.h"

#include "browse/browsehook.h"
#include "core/helpers.h"
#include "core/safeharbor.h"

#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QFile>
#include <QMenu>
#include <QTest>

using finders::TfrmDup;
using namespace duptest;

namespace {

// Registers a Safe Harbor for one scope; the program's empty one is back on
// every way out, so an ASSERT cannot leave a dangling registration behind.
struct ProgramHarborScope {
    explicit ProgramHarborScope(core::SafeHarbor& harbor) { core::setProgramSafeHarbor(&harbor); }
    ~ProgramHarborScope() { core::setProgramSafeHarbor(nullptr); }
    ProgramHarborScope(const ProgramHarborScope&) = delete;
    ProgramHarborScope& operator=(const ProgramHarborScope&) = delete;
};

}  // namespace

TEST_F(DupResultsTest, MarkSortByNameUnmarkLeavesNothingMarked)
{
    makeHogs();
    TfrmDup w(nullptr, false);
    hogSearch(w);
    ASSERT_EQ(paths(w), QStringList({"C:\\h\\d.txt", "C:\\h\\c.txt", "C:\\h\\b.txt", "C:\\h\\a.txt"}));
    w.MarkThisFile(rowOf(w, "C:\\h\\c.txt"));
    EXPECT_EQ(w.marks().count(), 1);
    EXPECT_EQ(w.statusText(), "1 files 30 bytes");
    EXPECT_TRUE(button(w, "btDelete")->isEnabled());

    item(w, "miSortName")->trigger();
    ASSERT_EQ(paths(w), QStringList({"C:\\h\\a.txt", "C:\\h\\b.txt", "C:\\h\\c.txt", "C:\\h\\d.txt"}));
    EXPECT_TRUE(w.results().marked(3)) << "the mark moved with its row";
    w.MarkThisFile(3);
    EXPECT_EQ(w.results().markedCount(), 0);
    EXPECT_EQ(w.marks().count(), 0);
    EXPECT_TRUE(w.marks().list().isEmpty());
    EXPECT_EQ(w.statusText(), "0 files 0 bytes");
    EXPECT_FALSE(button(w, "btDelete")->isEnabled());
}

TEST_F(DupResultsTest, UnmarkingAVanishedFileTakesBackItsMark)
{
    makeHogs();
    TfrmDup w(nullptr, false);
    hogSearch(w);
    const int row = rowOf(w, "C:\\h\\b.txt");
    w.MarkThisFile(row);
    ASSERT_TRUE(QFile::remove(drives.posix(QString("C:\\h\\b.txt"))));
    w.MarkThisFile(row);
    EXPECT_FALSE(w.results().marked(row));
    EXPECT_TRUE(w.marks().list().isEmpty());
    EXPECT_EQ(w.marks().count(), 0);
    EXPECT_EQ(w.statusText(), "0 files 0 bytes");
}

TEST_F(DupResultsTest, MarkButtonDeleteKeyAndDoubleClick)
{
    makeHogs();
    TfrmDup w(nullptr, false);
    hogSearch(w);
    auto* grid = gridOf(w);
    grid->setCurrentRow(1);
    click(w, "btMark");
    EXPECT_TRUE(w.results().marked(1));
    EXPECT_EQ(grid->currentRow(), 2) << "moves one row down";
    EXPECT_EQ(w.statusText(), "1 files 40 bytes");

    // The Delete key acts as "&Mark" on the grid.
    QTest::keyClick(grid, Qt::Key_Delete);
    EXPECT_TRUE(w.results().marked(2));
    EXPECT_EQ(grid->currentRow(), 3);

    // On the last row the mark toggles and the row stays.
    grid->setCurrentRow(4);
    click(w, "btMark");
    EXPECT_TRUE(w.results().marked(4));
    EXPECT_EQ(grid->currentRow(), 4);

    // A double click toggles without moving.
    emit grid->rowDoubleClicked(1);
    EXPECT_FALSE(w.results().marked(1));
    EXPECT_EQ(w.marks().list(), QStringList({"C:\\h\\c.txt", "C:\\h\\a.txt"}));
    EXPECT_EQ(w.statusText(), "2 files 40 bytes");
    EXPECT_TRUE(button(w, "btDelete")->isEnabled());
}

TEST_F(DupResultsTest, TheSameRowMarkedTwiceLeavesNothingMarked)
{
    makeHogs();
    TfrmDup w(nullptr, false);
    hogSearch(w);
    w.MarkThisFile(2);
    w.MarkThisFile(2);
    EXPECT_EQ(w.results().markedCount(), 0);
    EXPECT_EQ(w.marks().count(), 0);
    EXPECT_TRUE(w.marks().list().isEmpty());
    EXPECT_FALSE(button(w, "btDelete")->isEnabled());
    // Row 0 and rows beyond the results are no data rows.
    w.MarkThisFile(0);
    w.MarkThisFile(5);
    EXPECT_EQ(w.results().markedCount(), 0);
}

TEST_F(DupResultsTest, MarkAllAndUnmarkAll)
{
    makeHogs();
    TfrmDup w(nullptr, false);
    hogSearch(w);
    w.MarkThisFile(1);
    item(w, "miMarkAll")->trigger();
    EXPECT_EQ(w.results().markedCount(), 4);
    EXPECT_EQ(w.marks().count(), 4);
    EXPECT_EQ(w.marks().bytes(), 100.0);
    EXPECT_EQ(w.marks().list().size(), 4);
    EXPECT_EQ(w.statusText(), "4 files 100 bytes");
    EXPECT_TRUE(button(w, "btDelete")->isEnabled());

    item(w, "miUnmarkAll")->trigger();
    EXPECT_EQ(w.results().markedCount(), 0);
    EXPECT_TRUE(w.marks().list().isEmpty());
    EXPECT_EQ(w.statusText(), "0 files 0 bytes");
    EXPECT_FALSE(button(w, "btDelete")->isEnabled());
}

TEST_F(DupResultsTest, ASecondSearchStartsWithNoMarks)
{
    makeHogs();
    TfrmDup w(nullptr, false);
    hogSearch(w);
    w.MarkThisFile(1);
    w.MarkThisFile(3);
    click(w, "btScan");
    EXPECT_EQ(rows(w), 4);
    EXPECT_EQ(w.results().markedCount(), 0);
    EXPECT_EQ(w.marks().count(), 0);
    EXPECT_EQ(w.marks().bytes(), 0.0);
    EXPECT_TRUE(w.marks().list().isEmpty());
    EXPECT_FALSE(button(w, "btDelete")->isEnabled());
    EXPECT_EQ(w.statusText(), "4 file hogs found");
}

TEST_F(DupResultsTest, CleanHandsTheMarkedFilesOverAndCancelKeepsEverything)
{
    makeDups();
    TfrmDup w;
    dupSearch(w);
    ASSERT_EQ(rows(w), 2);
    w.MarkThisFile(2);
    w.MarkThisFile(1);
    QList<TfrmDup::CleanRequest> seen;
    w.setCleanPanel([&](QWidget* owner, const TfrmDup::CleanRequest& r) {
        EXPECT_EQ(owner, &w);
        seen << r;
        return int(QDialog::Rejected);
    });
    const QStringList marked = w.marks().list();
    // Both copies of the one group are marked: asked first.
    prompter.queue(core::Answer::Yes);
    click(w, "btDelete");
    ASSERT_EQ(seen.size(), 1);
    EXPECT_EQ(seen[0].files, marked);
    EXPECT_EQ(seen[0].files.size(), 2);
    EXPECT_EQ(seen[0].potentialSavings, 10.0);
    EXPECT_EQ(seen[0].archiveTag, "Duplicates");
    // Cancel: the window stays with its rows and marks.
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(rows(w), 2);
    EXPECT_EQ(w.results().markedCount(), 2);
    EXPECT_EQ(w.marks().list(), marked);
    EXPECT_TRUE(button(w, "btDelete")->isEnabled());
}

// Groups of two and three files with one modification time: the two new
// mark commands keep the first copy of each; "Clean?" asks before it hands
// over every copy of a group, No being the default, and No keeps everything.
TEST_F(DupResultsTest, MarkAllButOneAndTheAllCopiesQuestion)
{
    const QDateTime when(QDate(2020, 5, 17), QTime(10, 30, 0));
    for (const char* rel : {"x/two.txt", "y/two.txt", "p/three.txt", "q/three.txt", "r/three.txt"}) {
        QFile f(drives.writeFile('C', rel, "12345"));
        ASSERT_TRUE(f.open(QIODevice::ReadWrite) && f.setFileTime(when, QFileDevice::FileModificationTime));
    }
    TfrmDup w;
    dupSearch(w);
    ASSERT_EQ(shades(w), "AAABB");
    int panels = 0;
    w.setCleanPanel([&](QWidget*, const TfrmDup::CleanRequest& r) { return ++panels, int(QDialog::Rejected); });
    auto markedRows = [&w] {
        QList<int> out;
        for (int r = 1; r <= rows(w); ++r)
            if (w.results().marked(r))
                out << r;
        return out;
    };

    for (const char* command : {"miMarkButOldest", "miMarkButNewest"}) {
        SCOPED_TRACE(command);
        item(w, command)->trigger();
        EXPECT_EQ(markedRows(), QList<int>({2, 3, 5}));
        EXPECT_EQ(w.statusText(), "3 files 15 bytes");
        click(w, "btDelete");
        EXPECT_TRUE(prompter.texts(Kind::Confirm).isEmpty()) << "a copy of each group is left";
    }
    EXPECT_EQ(panels, 2);

    item(w, "miMarkAll")->trigger();
    w.MarkThisFile(4);
    const QStringList marked = w.marks().list();
    click(w, "btDelete");
    ASSERT_EQ(prompter.records().size(), 1);
    EXPECT_EQ(prompter.records()[0].text,
              "All copies of 1 groups of duplicates are marked. No copy of them will be left. Continue?");
    EXPECT_EQ(prompter.records()[0].defaultButton, core::Answer::No);
    EXPECT_EQ(panels, 2) << "No hands nothing over";
    EXPECT_EQ(w.marks().list(), marked);
    EXPECT_TRUE(w.isVisible());

    w.MarkThisFile(4);
    prompter.queue(core::Answer::Yes);
    click(w, "btDelete");
    EXPECT_EQ(prompter.texts(Kind::Confirm).last(),
              "All copies of 2 groups of duplicates are marked. No copy of them will be left. Continue?");
    EXPECT_EQ(panels, 3);
}

// The window's grid with files of 12,000,000 bytes, one of them in a
// folder of 300 characters: sizes, dates and times show whole, the folder
// is elided with its whole path as the tooltip, and the grid still fits the
// window's width.
TEST_F(DupResultsTest, BigSizesShowWholeAndLongFoldersElide)
{
    QString folder;  // 297 characters after "C:\"
    for (int k = 0; folder.size() < 297; ++k)
        folder += QString("%1folder-%2-of-a-deep-tree").arg(k ? "\\" : "").arg(k);
    folder.truncate(297);
    ASSERT_FALSE(folder.endsWith('\\'));
    for (const QString& rel : {folder + "\\big.bin", QString("b\\big.bin"), QString("c\\big.bin")}) {
        QFile f(drives.writeFile('C', QString(rel).replace('\\', '/'), ""));
        ASSERT_TRUE(f.resize(12000000));
    }
    drives.writeFile('C', "d/note.txt", "12345");
    drives.writeFile('C', "e/note.txt", "12345");
    TfrmDup w;
    w.resize(780, 540);
    dupSearch(w);
    ASSERT_EQ(shades(w), "AAABB");
    item(w, "miMarkButOldest")->trigger();
    QApplication::processEvents();

    comp::ResultGridView* view = gridOf(w);
    const int longRow = rowOf(w, "C:\\" + folder + "\\big.bin");
    ASSERT_GT(longRow, 0);
    ASSERT_EQ(w.results().cell(longRow, finders::dcFolder).size(), 300);
    for (int r = 1; r <= rows(w); ++r) {
        for (int c : {finders::dcSize, finders::dcModified, finders::dcTime, finders::dcAccess})
            EXPECT_EQ(view->shownText(r, c), w.results().cell(r, c)) << r << "," << c;
        EXPECT_EQ(w.results().cell(r, finders::dcSize), core::FormatGrouped(r <= 3 ? 12000000 : 5));
    }
    EXPECT_TRUE(view->shownText(longRow, finders::dcFolder).contains(QChar(0x2026)));
    EXPECT_EQ(view->cellToolTip(longRow, finders::dcFolder), "C:\\" + folder);
    int total = 0;
    for (int width : view->columnWidths())
        total += width;
    EXPECT_LE(total, view->viewport()->width());
    snapshot(w, "dup-big-files");
}

TEST_F(DupResultsTest, CleanClosesTheWindowAfterAnOperation)
{
    makeHogs();
    TfrmDup w(nullptr, false);
    hogSearch(w);
    w.MarkThisFile(1);
    int calls = 0;
    w.setCleanPanel([&](QWidget*, const TfrmDup::CleanRequest& r) {
        ++calls;
        EXPECT_EQ(r.archiveTag, "Duplicates") << "the same tag in file-hog mode";
        return int(QDialog::Accepted);
    });
    click(w, "btDelete");
    EXPECT_EQ(calls, 1);
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(w.result(), int(QDialog::Accepted));
}

TEST_F(DupResultsTest, CleanWithNothingThatExistsOpensNoPanel)
{
    makeHogs();
    TfrmDup w(nullptr, false);
    hogSearch(w);
    for (const char* name : {"a", "b", "c", "d"})
        ASSERT_TRUE(QFile::remove(drives.posix(QString("C:\\h\\%1.txt").arg(name))));
    item(w, "miMarkAll")->trigger();
    EXPECT_EQ(w.marks().count(), 0);
    EXPECT_EQ(w.results().markedCount(), 4);
    ASSERT_TRUE(button(w, "btDelete")->isEnabled()) << "enabled after Mark all";
    int calls = 0;
    w.setCleanPanel([&](QWidget*, const TfrmDup::CleanRequest&) { return ++calls, int(QDialog::Accepted); });
    click(w, "btDelete");
    EXPECT_EQ(calls, 0);
    EXPECT_TRUE(w.isVisible());
}

TEST_F(DupResultsTest, TheRealPanelClosedWithoutAnOperationKeepsTheWindow)
{
    makeHogs();
    TfrmDup w(nullptr, false);
    hogSearch(w);
    w.MarkThisFile(1);
    bool panelShown = false;
    finders_test::whenModal<QDialog>([&](QDialog& panel) {
        panelShown = panel.inherits("del::TfrmReallyDelete");
        panel.reject();
    });
    click(w, "btDelete");
    EXPECT_TRUE(panelShown);
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(w.results().markedCount(), 1);
    EXPECT_TRUE(QFile::exists(drives.posix(QString("C:\\h\\d.txt")))) << "nothing removed";
}

TEST_F(DupResultsTest, SafeHarborCellsAreBold)
{
    core::SafeHarbor harbor;
    harbor.SetProtectedExtensions({"*.exe"});
    harbor.ProtectedFolders = {"C:\\PROT\\"};
    const ProgramHarborScope registered(harbor);
    drives.writeFile('C', "prot/same.txt", "12345");
    drives.writeFile('C', "free/same.txt", "12345");
    drives.writeFile('C', "free/tool.exe", "1234567");

    {
        SCOPED_TRACE("duplicates: the folder, tested as a folder");
        TfrmDup w;
        dupSearch(w);
        const int prot = rowOf(w, "C:\\prot\\same.txt");
        const int free = rowOf(w, "C:\\free\\same.txt");
        ASSERT_GT(prot, 0);
        ASSERT_GT(free, 0);
        EXPECT_TRUE(w.cellLook(prot, finders::dcFolder).bold);
        EXPECT_FALSE(w.cellLook(prot, finders::dcFilename).bold);
        EXPECT_FALSE(w.cellLook(free, finders::dcFolder).bold);
        item(w, "miHighlight")->trigger();
        EXPECT_FALSE(item(w, "miHighlight")->isChecked());
        EXPECT_FALSE(w.cellLook(prot, finders::dcFolder).bold);
    }
    {
        SCOPED_TRACE("file hogs: the file, tested as a file");
        TfrmDup w(nullptr, false);
        hogSearch(w);
        EXPECT_TRUE(item(w, "miHighlight")->isChecked());
        EXPECT_TRUE(w.cellLook(rowOf(w, "C:\\free\\tool.exe"), finders::hcFileName).bold);
        EXPECT_TRUE(w.cellLook(rowOf(w, "C:\\prot\\same.txt"), finders::hcFileName).bold);
        EXPECT_FALSE(w.cellLook(rowOf(w, "C:\\free\\same.txt"), finders::hcFileName).bold);
        EXPECT_FALSE(w.cellLook(rowOf(w, "C:\\free\\tool.exe"), finders::hcSize).bold);
    }
}

TEST_F(DupResultsTest, TheMenuInItsOrder)
{
    for (bool dup : {true, false}) {
        SCOPED_TRACE(dup ? "duplicates" : "file hogs");
        TfrmDup w(nullptr, dup);
        auto* menu = w.findChild<QMenu*>("PopupMenu1");
        ASSERT_NE(menu, nullptr);
        QStringList texts;
        for (QAction* a : menu->actions())
            texts << (a->isSeparator() ? QString("-") : a->text());
        EXPECT_EQ(texts, QStringList({"Details", "Highlight folders on Safe Harbor list", "-",
                                      "Add a folder to the list of drives", "-", "Sort", "Mark", "Resize", "-",
                                      "Open", "View", "-", "Print", "Clipboard", "Web page"}));
        EXPECT_EQ(item(w, "miSort")->isVisible(), !dup);
        QStringList sorts;
        for (QAction* a : item(w, "miSort")->menu()->actions())
            sorts << a->text();
        EXPECT_EQ(sorts, QStringList({"&Size", "&Date", "&Access Date", "&Name", "&Type"}));
        EXPECT_TRUE(item(w, "miSortSize")->isChecked());
        QStringList marks;
        for (QAction* a : item(w, "miMark")->menu()->actions())
            if (a->isVisible())
                marks << a->text();
        EXPECT_EQ(marks, dup ? QStringList({"Mark all", "Mark all but the oldest in each group",
                                            "Mark all but the newest in each group", "Unmark all"})
                             : QStringList({"Mark all", "Unmark all"}));
        EXPECT_EQ(item(w, "miMarkAll")->text(), "Mark all");
        EXPECT_EQ(item(w, "miUnmarkAll")->text(), "Unmark all");
        EXPECT_EQ(item(w, "miShrink")->text(), "Shrink top panel");
        EXPECT_EQ(item(w, "miRestore")->text(), "Restore top panel");
        EXPECT_FALSE(item(w, "miRestore")->isEnabled());
        EXPECT_EQ(item(w, "miClipNames")->text(), "Filenames only");
        EXPECT_EQ(item(w, "miClipGrid")->text(), "Entire grid separated by tabs");
        EXPECT_TRUE(item(w, "miHighlight")->isCheckable());
        EXPECT_TRUE(item(w, "miHighlight")->isChecked());
        // The details window is there; the viewer waits until the program
        // has one.
        EXPECT_TRUE(item(w, "miDetails")->isEnabled());
        EXPECT_FALSE(item(w, "miView")->isEnabled());
    }
}

TEST_F(DupResultsTest, ARightClickOnTheDriveListOpensTheWindowsMenu)
{
    TfrmDup w(nullptr, false);
    w.show();
    auto* list = find<comp::DriveCheckList>(w, "pckDrive");
    auto* menu = w.findChild<QMenu*>("PopupMenu1");
    ASSERT_NE(menu, nullptr);
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5), list->viewport()->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(list->viewport(), &event);
    const bool windowMenu = menu->isVisible();
    const bool listMenu = list->menu()->isVisible();
    QWidget* popup = QApplication::activePopupWidget();
    menu->close();
    list->menu()->close();
    EXPECT_TRUE(windowMenu);
    EXPECT_EQ(popup, menu);
    EXPECT_FALSE(listMenu);
}

TEST_F(DupResultsTest, BrowseOpensTheBrowserOnTheRowsFolderAndFile)
{
    makeDups();
    QList<browse::BrowseRequest> asked;
    for (const bool withBrowser : {false, true}) {
        SCOPED_TRACE(withBrowser);
        if (withBrowser)
            browse::setBrowseHook([&](QWidget*, const browse::BrowseRequest& r) { asked << r; });
        TfrmDup w;
        find<QComboBox>(w, "cbWildCard")->setEditText("*.txt");
        dupSearch(w);
        for (const char* name : {"btBrowse", "btDetails", "btCompare"}) {
            EXPECT_TRUE(button(w, name)->isVisible()) << name;
            EXPECT_EQ(button(w, name)->isEnabled(), withBrowser || QLatin1String(name) != "btBrowse") << name;
        }
        gridOf(w)->setCurrentRow(rowOf(w, "C:\\y\\same.txt"));
        w.btBrowseClick();
    }
    browse::setBrowseHook({});
    ASSERT_EQ(asked.size(), 1);
    EXPECT_EQ(asked[0].folder, "C:\\y");
    EXPECT_EQ(asked[0].file, "same.txt");
    EXPECT_EQ(asked[0].pattern, "*.txt");
}

TEST_F(DupResultsTest, OpenOnAVanishedFileDoesNothing)
{
    makeHogs();
    TfrmDup w(nullptr, false);
    hogSearch(w);
    gridOf(w)->setCurrentRow(1);
    ASSERT_TRUE(QFile::remove(drives.posix(QString("C:\\h\\d.txt"))));
    prompter.clear();
    item(w, "miOpen")->trigger();
    EXPECT_TRUE(prompter.records().isEmpty());
}

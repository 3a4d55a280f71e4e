// The result list's outputs and views: clipboard, print title and the
// printed listing, the web page, the file-hog sorts by menu and by title
// click, and the shrinking top panel.
#include "dupresults_fixture.h"

#include "reports/listings.h"

#include <QClipboard>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLayout>
#include <QMenu>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>

using finders::TfrmDup;
using namespace duptest;

namespace {

// Presses the left button on a column title and releases it at the same
// point, or moved by some pixels (a drag).
void clickTitle(comp::ResultGridView* grid, int column, int moveBy = 0)
{
    QHeaderView* header = grid->horizontalHeader();
    const QPoint at(header->sectionViewportPosition(column) + header->sectionSize(column) / 2, header->height() / 2);
    QTest::mousePress(header->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseRelease(header->viewport(), Qt::LeftButton, {}, at + QPoint(moveBy, 0));
}

QStringList fileLines(const QString& posix)
{
    QFile f(posix);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(f.readAll()).split("\r\n");
}

}  // namespace

TEST_F(DupResultsTest, ClipboardTexts)
{
    makeDups();
    TfrmDup w;
    dupSearch(w);
    ASSERT_EQ(rows(w), 2);
    item(w, "miClipNames")->trigger();
    const QString names = QGuiApplication::clipboard()->text();
    EXPECT_EQ(names, "C:\\x\\same.txt\r\nC:\\y\\same.txt\r\n");
    EXPECT_FALSE(names.contains("Filename")) << "never the title row";

    item(w, "miClipGrid")->trigger();
    const QStringList lines = QGuiApplication::clipboard()->text().split("\r\n");
    ASSERT_EQ(lines.size(), 4);  // titles, two rows, and the end of the last line
    EXPECT_EQ(lines[0], "Filename\tSize\tModified\tTime\tAccess\tFolder\tType");
    EXPECT_TRUE(lines[1].startsWith("same.txt\t5\t"));
    EXPECT_TRUE(lines[1].contains("\tC:\\x\t"));
    EXPECT_EQ(lines[3], "");
}

TEST_F(DupResultsTest, PrintTitleOfTheCriteria)
{
    TfrmDup w;
    w.show();
    auto* list = find<comp::DriveCheckList>(w, "pckDrive");
    for (int r = 0; r < list->count(); ++r)
        list->setTicked(r, list->item(r)->text().startsWith("C") || list->item(r)->text().startsWith("D"));
    setSize(w, "rbBetween", 10, 20, true);
    EXPECT_EQ(w.printTitle(), "Duplicates in between 10 KB and 20 KB matching *.* on drive(s) C D ");
    setSize(w, "rbSmaller", 5, 20, false);
    EXPECT_TRUE(w.printTitle().startsWith("Duplicates smaller or equal to 5 bytes matching *.*"));

    TfrmDup hogs(nullptr, false);
    hogs.show();
    EXPECT_EQ(hogs.printTitle(), "File Hogs larger or equal to 250 KB matching *.* on drive(s) C ");
}

TEST_F(DupResultsTest, PrintCancelledPrintsNothing)
{
    makeHogs();
    TfrmDup w(nullptr, false);
    hogSearch(w);
    prompter.clear();
    item(w, "miPrint")->trigger();  // the print dialog answers Cancel
    EXPECT_EQ(prompter.texts(Kind::Print).size(), 1);
    EXPECT_TRUE(prompter.texts(Kind::Error).isEmpty());
}

TEST_F(DupResultsTest, PrintedListingThroughPdf)
{
    if (QStandardPaths::findExecutable("pdftotext").isEmpty())
        GTEST_SKIP() << "pdftotext is not installed";
    makeHogs();
    TfrmDup w(nullptr, false);
    hogSearch(w);
    core::PrintTarget target;
    target.pdfFile = "D:\\hogs.pdf";
    prompter.queue(target);
    item(w, "miPrint")->trigger();
    EXPECT_TRUE(prompter.texts(Kind::Error).isEmpty());
    const QString pdf = drives.posix(QString("D:\\hogs.pdf"));
    ASSERT_TRUE(QFileInfo::exists(pdf));

    QProcess p;
    p.start("pdftotext", {"-layout", pdf, "-"});
    ASSERT_TRUE(p.waitForFinished(30000));
    const QStringList lines = QString::fromUtf8(p.readAllStandardOutput()).split('\n');
    ASSERT_GE(lines.size(), 6);
    EXPECT_EQ(lines[0].trimmed(), "File Hogs larger or equal to 0 bytes matching *.* on drive(s) C");
    EXPECT_TRUE(lines[1].trimmed().startsWith("Printed : "));
    // The rows in grid order, the titles first, each cut to its column's
    // width in pixels / 6.
    QStringList rowsPrinted;
    for (const QString& l : lines)
        if (l.contains("FileName") || l.contains("C:\\h\\"))
            rowsPrinted << l;
    ASSERT_EQ(rowsPrinted.size(), 5);
    EXPECT_TRUE(rowsPrinted[0].trimmed().startsWith("Size"));
    EXPECT_TRUE(rowsPrinted[1].contains("C:\\h\\d.txt"));
    EXPECT_TRUE(rowsPrinted[4].contains("C:\\h\\a.txt"));
    const qsizetype nameAt = rowsPrinted[0].indexOf("FileName");
    for (int i = 1; i < 5; ++i)
        EXPECT_EQ(rowsPrinted[i].indexOf("C:\\h\\"), nameAt) << i;
    const QList<int> widths = gridOf(w)->columnWidths();
    EXPECT_EQ(reports::GridListingRows(w.results(), widths).at(0).size(),
              [&] {
                  int n = 0;
                  for (int px : widths)
                      n += px / 6 + 1;
                  return n;
              }());
}

TEST_F(DupResultsTest, WebPageOfFileHogs)
{
    drives.writeFile('C', "h/Tom & <Jerry>.txt", "1234");
    TfrmDup w(nullptr, false);
    hogSearch(w);
    ASSERT_EQ(rows(w), 1);
    prompter.queue(QString("D:\\hogs.htm"));
    item(w, "miWebPage")->trigger();
    const QStringList saves = prompter.texts(Kind::Save);
    ASSERT_EQ(saves.size(), 1);
    EXPECT_TRUE(prompter.texts(Kind::Error).isEmpty());
    const QStringList lines = fileLines(drives.posix(QString("D:\\hogs.htm")));
    ASSERT_EQ(lines.size(), 19) << "18 lines, each ended by CR LF";
    EXPECT_EQ(lines[0], "<table border=1>");
    EXPECT_EQ(lines[2], "<td nowrap BGCOLOR=\"#C0C0C0\"><B>Size</B></td>");
    EXPECT_EQ(lines[6], "<td nowrap BGCOLOR=\"#C0C0C0\"><B>FileName</B></td>");
    EXPECT_EQ(lines[9], "<tr>");
    EXPECT_EQ(lines[10], "<td nowrap>4</td>");
    EXPECT_EQ(lines[14], "<td nowrap>C:\\h\\Tom & &lt;Jerry&gt;.txt</td>");
    EXPECT_EQ(lines[16], "</tr>");
    EXPECT_EQ(lines[17], "</table><p>");
    EXPECT_EQ(lines[18], "");
    EXPECT_FALSE(w.webPageFlag());
}

TEST_F(DupResultsTest, WebPageOfDuplicatesCarriesNoShading)
{
    makeDups();
    drives.writeFile('C', "x/other.txt", "1");
    drives.writeFile('C', "y/other.txt", "1");
    TfrmDup w;
    dupSearch(w);
    ASSERT_EQ(rows(w), 4);
    ASSERT_EQ(shades(w), "AABB");
    auto* grid = gridOf(w);
    ASSERT_TRUE(grid->shadingEnabled());
    prompter.queue(QString("C:\\dups.htm"));
    item(w, "miWebPage")->trigger();
    const QStringList lines = fileLines(drives.posix(QString("C:\\dups.htm")));
    ASSERT_EQ(lines.size(), 2 + 7 + 1 + 4 * 9 + 1 + 1);
    int grounds = 0;
    for (const QString& l : lines)
        grounds += l.contains("BGCOLOR") ? 1 : 0;
    EXPECT_EQ(grounds, 7) << "only the title cells";
    EXPECT_TRUE(grid->shadingEnabled()) << "the shading is back after saving";
    EXPECT_FALSE(w.webPageFlag());
}

TEST_F(DupResultsTest, WebPageCancelledWritesNothing)
{
    makeHogs();
    TfrmDup w(nullptr, false);
    hogSearch(w);
    prompter.clear();
    item(w, "miWebPage")->trigger();
    ASSERT_EQ(prompter.records().size(), 1);
    EXPECT_EQ(prompter.records()[0].kind, Kind::Save);
    EXPECT_EQ(prompter.records()[0].caption, "Save file listing as web page");
    EXPECT_EQ(prompter.records()[0].text, "save.htm");
    EXPECT_FALSE(QFileInfo::exists(drives.posix(QString("C:\\save.htm"))));
}

TEST_F(DupResultsTest, SortsByMenuFlipAndCheckTheirItem)
{
    makeHogs();
    TfrmDup w(nullptr, false);
    hogSearch(w);
    EXPECT_EQ(column(w, 0), QStringList({"40", "30", "20", "10"}));
    item(w, "miSortSize")->trigger();
    EXPECT_EQ(column(w, 0), QStringList({"10", "20", "30", "40"})) << "the search sort flipped the direction";
    item(w, "miSortName")->trigger();
    EXPECT_TRUE(item(w, "miSortName")->isChecked());
    EXPECT_FALSE(item(w, "miSortSize")->isChecked());
    EXPECT_EQ(column(w, 0), QStringList({"10", "20", "30", "40"}));
    item(w, "miSortName")->trigger();
    EXPECT_EQ(column(w, 0), QStringList({"40", "30", "20", "10"}));
}

TEST_F(DupResultsTest, SortItemsKeepExactlyOneTick)
{
    // The items are checkable, so Qt toggles one before the window hears of
    // it; the tick must end on the item of the last sort that ran.
    auto ticked = [](TfrmDup& w) {
        QStringList names;
        for (const char* name : {"miSortSize", "miSortDate", "miSortAccess", "miSortName", "miSortType"})
            if (item(w, name)->isChecked())
                names << name;
        return names;
    };
    {
        SCOPED_TRACE("an empty file-hog grid");
        TfrmDup w(nullptr, false);
        w.show();
        ASSERT_EQ(rows(w), 0);
        item(w, "miSortName")->trigger();
        EXPECT_EQ(ticked(w), QStringList{"miSortName"});
        item(w, "miSortName")->trigger();  // Qt unticks it first
        EXPECT_EQ(ticked(w), QStringList{"miSortName"});
    }
    {
        SCOPED_TRACE("a sort asked for while a search runs does not run");
        makeHogs();
        TfrmDup w(nullptr, false);
        QStringList duringSearch;
        w.eventPump().observer = [&] {
            if (!duringSearch.isEmpty() || !w.searching())
                return;
            item(w, "miSortDate")->trigger();
            duringSearch = ticked(w);
        };
        hogSearch(w);
        EXPECT_EQ(duringSearch, QStringList{"miSortSize"});
        EXPECT_EQ(ticked(w), QStringList{"miSortSize"});
        EXPECT_EQ(column(w, 0), QStringList({"40", "30", "20", "10"}));
    }
    {
        SCOPED_TRACE("duplicate groups are never sorted");
        TfrmDup w;
        w.show();
        item(w, "miSortType")->trigger();
        EXPECT_EQ(ticked(w), QStringList{"miSortSize"});
    }
}

TEST_F(DupResultsTest, TitleClicksSortOnlyWhenPressAndReleaseMeet)
{
    makeHogs();
    TfrmDup w(nullptr, false);
    hogSearch(w);
    auto* grid = gridOf(w);
    const QStringList bySizeDown = {"40", "30", "20", "10"};
    ASSERT_EQ(column(w, 0), bySizeDown);

    clickTitle(grid, finders::hcFileName, 7);  // a drag: nothing
    EXPECT_EQ(column(w, 0), bySizeDown);
    EXPECT_TRUE(item(w, "miSortSize")->isChecked());

    clickTitle(grid, finders::hcTime);  // "Time" has no sort
    EXPECT_EQ(column(w, 0), bySizeDown);
    EXPECT_TRUE(item(w, "miSortSize")->isChecked());

    clickTitle(grid, finders::hcFileName);
    EXPECT_EQ(column(w, 0), QStringList({"10", "20", "30", "40"}));
    EXPECT_TRUE(item(w, "miSortName")->isChecked());
    EXPECT_FALSE(item(w, "miSortSize")->isChecked());
    clickTitle(grid, finders::hcFileName);
    EXPECT_EQ(column(w, 0), bySizeDown);
    clickTitle(grid, finders::hcSize);
    EXPECT_EQ(column(w, 0), QStringList({"10", "20", "30", "40"}));
}

TEST_F(DupResultsTest, TitleClicksDoNothingInDuplicateMode)
{
    makeDups();
    drives.writeFile('C', "x/other.txt", "1");
    drives.writeFile('C', "y/other.txt", "1");
    TfrmDup w;
    dupSearch(w);
    const QStringList before = paths(w);
    for (int c = 0; c < 7; ++c)
        clickTitle(gridOf(w), c);
    EXPECT_EQ(paths(w), before);
    EXPECT_EQ(shades(w), "AABB");
}

TEST_F(DupResultsTest, ShrinkAndRestoreTheTopPanel)
{
    TfrmDup w(nullptr, false);
    w.resize(800, 600);
    w.show();
    auto* panel = find<QWidget>(w, "Panel1");
    auto* grid = gridOf(w);
    QApplication::processEvents();
    const int first = panel->height();
    ASSERT_GT(first, 0);

    item(w, "miShrink")->trigger();
    w.layout()->activate();
    EXPECT_EQ(panel->height(), 0);
    EXPECT_EQ(grid->y(), 0) << "the grid fills the window";
    EXPECT_FALSE(item(w, "miShrink")->isEnabled());
    EXPECT_TRUE(item(w, "miRestore")->isEnabled());

    w.resize(1000, 900);
    QApplication::processEvents();
    item(w, "miRestore")->trigger();
    w.layout()->activate();
    EXPECT_EQ(panel->height(), first);
    EXPECT_TRUE(item(w, "miShrink")->isEnabled());
    EXPECT_FALSE(item(w, "miRestore")->isEnabled());
}

// The rows of a result grid: cells and paths, marks and shades, growth by
// 50 rows while a search adds rows, row removal, and what a million rows cost.
#include "components/resultgrid.h"
#include "components/resultgridmodel.h"

#include <QCoreApplication>
#include <QFile>
#include <QSignalSpy>
#include <gtest/gtest.h>

#include <unistd.h>

using comp::ResultGrid;

namespace {

TEST(ResultGridTest, CellsPathsAndTitles)
{
    ResultGrid g(3, 3);
    g.setTitles({"Name", "Size", "Folder"});
    g.setRow(1, {"a.txt", "1,024", "C:\\DOS"}, "C:\\DOS\\a.txt");
    EXPECT_EQ(g.cell(0, 1), QStringLiteral("Size"));
    EXPECT_EQ(g.titles(), (QStringList{"Name", "Size", "Folder"}));
    EXPECT_EQ(g.rowCells(1), (QStringList{"a.txt", "1,024", "C:\\DOS"}));
    EXPECT_EQ(g.path(1), QStringLiteral("C:\\DOS\\a.txt"));
    EXPECT_EQ(g.rowCells(2), (QStringList{"", "", ""}));

    // A cell changes alone; the path stays what the file system said.
    g.setCell(1, 0, QStringLiteral("A.TXT"));
    EXPECT_EQ(g.cell(1, 0), QStringLiteral("A.TXT"));
    EXPECT_EQ(g.cell(1, 2), QStringLiteral("C:\\DOS"));
    EXPECT_EQ(g.path(1), QStringLiteral("C:\\DOS\\a.txt"));
    g.setPath(1, QStringLiteral("C:\\x"));
    EXPECT_EQ(g.cell(1, 0), QStringLiteral("A.TXT"));

    // Outside the grid: empty reads, ignored writes.
    g.setCell(1, 3, QStringLiteral("no"));
    g.setCell(9, 0, QStringLiteral("no"));
    EXPECT_TRUE(g.cell(1, 3).isEmpty());
    EXPECT_TRUE(g.cell(9, 0).isEmpty());
    EXPECT_TRUE(g.cell(-1, 0).isEmpty());
}

TEST(ResultGridTest, PathsTheCellsSpellOut)
{
    // A path equal to a cell, or a folder cell and a name cell joined, is
    // kept as a reference to them; it reads back the same and does not
    // follow later changes of those cells.
    ResultGrid g(4, 6);
    g.setRow(1, {"1,024", "C:\\DOS\\a.txt", "x"}, "C:\\DOS\\a.txt");
    g.setRow(2, {"a.txt", "5", "C:\\DOS", "t"}, "C:\\DOS\\a.txt");
    g.setRow(3, {"a.txt", "5", "C:\\", "t"}, "C:\\a.txt");
    g.setRow(4, {"a.txt", "5", "C:\\DOSX", "t"}, "C:\\DOS\\a.txt");  // nothing to share
    g.setRow(5, {"a.txt", "5", "C:\\DOS", ""}, "C:\\DOS/a.txt");
    EXPECT_EQ(g.path(1), QStringLiteral("C:\\DOS\\a.txt"));
    EXPECT_EQ(g.path(2), QStringLiteral("C:\\DOS\\a.txt"));
    EXPECT_EQ(g.path(3), QStringLiteral("C:\\a.txt"));
    EXPECT_EQ(g.path(4), QStringLiteral("C:\\DOS\\a.txt"));
    EXPECT_EQ(g.path(5), QStringLiteral("C:\\DOS/a.txt"));
    EXPECT_EQ(g.rowCells(2), (QStringList{"a.txt", "5", "C:\\DOS", "t"}));
    // Only what is stored counts as text: the shared paths cost nothing.
    // Cells 18 + 13 + 10 + 14 + 12 characters; rows 4 and 5 keep their paths.
    EXPECT_EQ(g.textBytes(), (18 + 13 + 10 + 14 + 12 + 12 + 12) * sizeof(QChar));

    g.setCell(1, 1, QStringLiteral("renamed"));
    g.setCell(2, 0, QStringLiteral("A.TXT"));
    g.setCell(3, 2, QStringLiteral("D:\\"));
    EXPECT_EQ(g.path(1), QStringLiteral("C:\\DOS\\a.txt"));
    EXPECT_EQ(g.path(2), QStringLiteral("C:\\DOS\\a.txt"));
    EXPECT_EQ(g.path(3), QStringLiteral("C:\\a.txt"));
    EXPECT_EQ(g.cell(2, 0), QStringLiteral("A.TXT"));

    // A new path, fewer columns, moved rows: still the same texts.
    g.setPath(2, QStringLiteral("C:\\DOS\\A.TXT"));
    EXPECT_EQ(g.path(2), QStringLiteral("C:\\DOS\\A.TXT"));
    g.setRow(4, {"a.txt", "5", "C:\\DOS", "t"}, "C:\\DOS\\a.txt");
    g.permuteRows(1, {4, 1, 2, 3});
    EXPECT_EQ(g.path(1), QStringLiteral("C:\\DOS\\a.txt"));
    EXPECT_EQ(g.path(2), QStringLiteral("C:\\DOS\\a.txt"));
    g.setColCount(2);
    EXPECT_EQ(g.path(1), QStringLiteral("C:\\DOS\\a.txt"));
    EXPECT_EQ(g.rowCells(1), (QStringList{"a.txt", "5"}));
    EXPECT_EQ(g.path(3), QStringLiteral("C:\\DOS\\A.TXT"));
    EXPECT_EQ(g.path(4), QStringLiteral("C:\\a.txt"));
    g.clearRow(1);
    EXPECT_TRUE(g.path(1).isEmpty());
}

// A folder hog's name cell spells the drive letter in lower case; its path
// is that cell with the letter in upper case and is not kept a second time.
// Anything else that differs keeps the path whole.
TEST(ResultGridTest, APathThatOnlyUpperCasesTheCellsDriveLetter)
{
    struct Case {
        const char* cell;
        const char* path;
        bool byFolder;
        bool shared;
    };
    const Case cases[] = {
        {"c:\\Tmp\\Long Name", "C:\\Tmp\\Long Name", false, true},
        {"c:\\Tmp\\Long Name", "C:\\Tmp\\Long Name", true, true},
        {"c:\\", "C:\\", true, true},
        {"c:\\tmp", "C:\\Tmp", false, false},   // more than the first letter
        {"d:\\Tmp", "C:\\Tmp", false, false},   // another letter
        {"C:\\Tmp", "c:\\Tmp", false, false},   // the other way round
        {"\u00e9:\\Tmp", "\u00c9:\\Tmp", false, false},  // only A to Z
        {"1:\\Tmp", "1:\\Tmp", false, true},    // equal: the plain reference
    };
    for (const Case& c : cases) {
        const QString cell = QString::fromUtf8(c.cell);
        const QString path = QString::fromUtf8(c.path);
        ResultGrid withPath(2, 2), without(2, 2);
        for (ResultGrid* g : {&withPath, &without})
            g->setColumnStore(1, c.byFolder ? ResultGrid::ByFolder : ResultGrid::Inline);
        withPath.setRow(1, {"5", cell}, path);
        without.setRow(1, {"5", cell}, QString());
        EXPECT_EQ(withPath.path(1), path) << c.cell;
        EXPECT_EQ(withPath.cell(1, 1), cell) << c.cell;
        EXPECT_EQ(withPath.textBytes() == without.textBytes(), c.shared) << c.cell;
        // A changed cell leaves the path as it was.
        withPath.setCell(1, 1, QStringLiteral("x:\\other"));
        EXPECT_EQ(withPath.path(1), path) << c.cell;
    }
}

TEST(ResultGridTest, LongAndOddCells)
{
    ResultGrid g(3, 2);
    const QString longText(70000, QChar(u'x'));
    const QString odd = QStringLiteral("tab\there\nand \u20ac");
    g.setRow(1, {longText, QString(), odd}, longText + QStringLiteral("!"));
    EXPECT_EQ(g.cell(1, 0), longText);
    EXPECT_TRUE(g.cell(1, 1).isEmpty());
    EXPECT_EQ(g.cell(1, 2), odd);
    EXPECT_EQ(g.path(1), longText + QStringLiteral("!"));
    g.setCell(1, 1, QStringLiteral("mid"));
    EXPECT_EQ(g.rowCells(1), (QStringList{longText, "mid", odd}));
}

TEST(ResultGridTest, ColumnCountChanges)
{
    ResultGrid g(3, 2);
    g.setRow(1, {"a", "b", "c"}, "p");
    g.setColCount(2);
    EXPECT_EQ(g.rowCells(1), (QStringList{"a", "b"}));
    g.setColCount(4);
    // A dropped column does not come back.
    EXPECT_EQ(g.rowCells(1), (QStringList{"a", "b", "", ""}));
    EXPECT_EQ(g.path(1), QStringLiteral("p"));
}

TEST(ResultGridTest, GrowsByFiftyWhileAdding)
{
    ResultGrid g;
    g.reset({"Size", "Name"});
    EXPECT_EQ(g.rowCount(), 2);
    EXPECT_EQ(g.colCount(), 2);
    EXPECT_EQ(g.rowsUsed(), 0);

    EXPECT_EQ(g.addRow({"1", "a"}, "pa"), 1);
    EXPECT_EQ(g.rowCount(), 2);  // row 1 was there already
    EXPECT_EQ(g.addRow({"2", "b"}, "pb"), 2);
    EXPECT_EQ(g.rowCount(), 52);
    for (int k = 3; k <= 51; ++k)
        g.addRow({QString::number(k), "x"});
    EXPECT_EQ(g.rowCount(), 52);
    g.addRow({"52", "y"});
    EXPECT_EQ(g.rowCount(), 102);
    EXPECT_EQ(g.rowsUsed(), 52);
    g.fitRowCount();
    EXPECT_EQ(g.rowCount(), 53);
    EXPECT_EQ(g.cell(52, 0), QStringLiteral("52"));
    EXPECT_EQ(g.path(2), QStringLiteral("pb"));

    // A new search starts from titles and one empty row.
    g.setMarked(3, true);
    g.reset({"Size", "Name", "Type"});
    EXPECT_EQ(g.rowCount(), 2);
    EXPECT_EQ(g.rowsUsed(), 0);
    EXPECT_EQ(g.markedCount(), 0);
    EXPECT_TRUE(g.cell(1, 0).isEmpty());
    g.fitRowCount();
    EXPECT_EQ(g.rowCount(), 2);
}

TEST(ResultGridTest, MarksShadesTagsAndRemoval)
{
    ResultGrid g(1, 5);
    for (int r = 1; r < 5; ++r) {
        g.setRow(r, {QString::number(r)}, QStringLiteral("p%1").arg(r));
        g.setShade(r, r % 2 ? ResultGrid::ShadeA : ResultGrid::ShadeB);
        g.setTag(r, quint64(r) * 100);
    }
    g.setMarked(3, true);
    g.setMarked(4, true);
    EXPECT_EQ(g.markedCount(), 2);
    g.removeRow(2);
    EXPECT_EQ(g.rowCount(), 4);
    EXPECT_EQ(g.cell(2, 0), QStringLiteral("3"));
    EXPECT_TRUE(g.marked(2));
    EXPECT_EQ(g.shade(2), ResultGrid::ShadeA);
    EXPECT_EQ(g.tag(2), 300u);
    EXPECT_EQ(g.path(3), QStringLiteral("p4"));
    g.removeRow(0);  // the titles stay
    EXPECT_EQ(g.rowCount(), 4);
    g.clearMarks();
    EXPECT_EQ(g.markedCount(), 0);
    g.clearRow(3);
    EXPECT_TRUE(g.cell(3, 0).isEmpty());
    EXPECT_TRUE(g.path(3).isEmpty());
    EXPECT_EQ(g.shade(3), ResultGrid::NoShade);
}

TEST(ResultGridTest, PermuteRows)
{
    ResultGrid g(1, 5);
    for (int r = 1; r < 5; ++r) {
        g.setRow(r, {QString::number(r)}, QString());
        g.setMarked(r, r == 2);
    }
    g.permuteRows(2, {4, 2, 3});
    EXPECT_EQ(g.rowCells(1).first(), QStringLiteral("1"));
    EXPECT_EQ(g.cell(2, 0), QStringLiteral("4"));
    EXPECT_EQ(g.cell(3, 0), QStringLiteral("2"));
    EXPECT_TRUE(g.marked(3));
    EXPECT_THROW(g.permuteRows(2, {2, 2, 3}), std::invalid_argument);
    EXPECT_THROW(g.permuteRows(3, {3, 4, 5}), std::out_of_range);
    EXPECT_EQ(g.cell(2, 0), QStringLiteral("4"));
}

TEST(ResultGridTest, CopyLeavesHooksBehind)
{
    int calls = 0;
    ResultGrid g(1, 2);
    g.setChangeHook([&] { ++calls; });
    ResultGrid copy = g;
    copy.setCell(1, 0, QStringLiteral("x"));
    EXPECT_EQ(calls, 0);
    g.setCell(1, 0, QStringLiteral("y"));
    EXPECT_EQ(calls, 1);
}

long residentBytes()
{
    QFile f(QStringLiteral("/proc/self/statm"));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    const QList<QByteArray> parts = f.readAll().split(' ');
    return parts.size() > 1 ? parts[1].toLong() * sysconf(_SC_PAGESIZE) : -1;
}

TEST(ResultGridTest, AMillionRowsStayCompact)
{
    const int n = 1000000;
    const long before = residentBytes();
    {
        ResultGrid g;
        g.reset({"Size", "Modified", "Time", "Access", "FileName", "Type"});
        for (int k = 0; k < n; ++k) {
            const QString path = QStringLiteral("C:\\home\\ann\\photos\\2004\\img%1.jpg").arg(k);
            g.addRow({QStringLiteral("1,234,567"), QStringLiteral("24/12/2004"), QStringLiteral("10:11:12"),
                      QStringLiteral("01/02/2005"), path, QStringLiteral("JPEG image")},
                     path);
        }
        g.fitRowCount();
        ASSERT_EQ(g.rowCount(), n + 1);

        // Row overhead beyond the characters themselves.
        const double perRow = double(g.memoryBytes() - g.textBytes()) / n;
        RecordProperty("overhead_bytes_per_row", int(perRow));
        EXPECT_LT(perRow, 200.0);

        // What the process really holds, characters included (about 120
        // of them per row here, two bytes each).
        const long after = residentBytes();
        if (before > 0 && after > 0) {
            const double total = double(after - before) / n;
            RecordProperty("resident_bytes_per_row", int(total));
            EXPECT_LT(total, 1000.0);
        }
        EXPECT_EQ(g.cell(n, 4), QStringLiteral("C:\\home\\ann\\photos\\2004\\img%1.jpg").arg(n - 1));
    }
}

// The model adapter shows grid row k + 1 as its row k and passes changes on
// once per event turn.
TEST(ResultGridModelTest, FollowsTheGrid)
{
    ResultGrid g;
    g.reset({"Size", "Name"});
    comp::ResultGridModel model(&g);
    EXPECT_EQ(model.rowCount(), 1);
    EXPECT_EQ(model.columnCount(), 2);
    EXPECT_EQ(model.headerData(1, Qt::Horizontal).toString(), QStringLiteral("Name"));

    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
    for (int k = 0; k < 120; ++k)
        g.addRow({QString::number(k), QStringLiteral("n%1").arg(k)}, QStringLiteral("p%1").arg(k));
    EXPECT_EQ(model.rowCount(), 1);  // not yet: the views hear of it once
    QCoreApplication::processEvents();
    EXPECT_EQ(inserted.count(), 1);
    EXPECT_EQ(model.rowCount(), g.rowCount() - 1);
    EXPECT_EQ(model.data(model.index(0, 1)).toString(), QStringLiteral("n0"));
    EXPECT_EQ(model.data(model.index(0, 0), comp::ResultGridModel::PathRole).toString(), QStringLiteral("p0"));

    QSignalSpy removed(&model, &QAbstractItemModel::rowsRemoved);
    g.fitRowCount();
    model.sync();
    EXPECT_EQ(removed.count(), 1);
    EXPECT_EQ(model.rowCount(), 120);

    QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
    g.reset({"A", "B", "C"});
    model.sync();
    EXPECT_EQ(reset.count(), 1);
    EXPECT_EQ(model.columnCount(), 3);
    EXPECT_EQ(model.rowCount(), 1);
}

TEST(ResultGridModelTest, OutlivesItsGrid)
{
    auto* g = new ResultGrid(2, 3);
    comp::ResultGridModel model(g);
    EXPECT_EQ(model.rowCount(), 2);
    delete g;
    EXPECT_EQ(model.grid(), nullptr);
    EXPECT_EQ(model.rowCount(), 0);
    model.sync();
}

// However a column keeps its cells, they read back exactly, paths made of
// them too, through rewrites, moves, copies and the grid's compaction.
TEST(ResultGridTest, EveryCellStoreReadsBackTheSame)
{
    const QString texts[] = {"C:\\dir\\sub\\name.txt", "name only", "\\lead", "C:\\\\double", "C:\\trail\\",
                             "", "C:\\dir\\other.txt", QString(40000, u'w') + "\\long"};
    for (auto how : {ResultGrid::Inline, ResultGrid::Shared, ResultGrid::ByFolder}) {
        ResultGrid g;
        g.reset({"Size", "Path", "Name"});
        g.setColumnStore(1, how);
        g.setColumnStore(2, how);
        for (int round = 0; round < 40; ++round)
            for (const QString& t : texts) {
                const QString name = t.mid(t.lastIndexOf(u'\\') + 1);
                g.addRow({QString::number(round), t, name}, t);
            }
        g.fitRowCount();
        // Many rewrites leave old data behind, which the grid drops again.
        for (int r = 1; r < g.rowCount(); r += 2)
            g.setCell(r, 0, QStringLiteral("rewritten %1").arg(r));
        std::vector<int> order;
        for (int r = g.rowCount() - 1; r >= 1; --r)
            order.push_back(r);
        g.permuteRows(1, order);
        const ResultGrid copy = g;
        const int n = int(std::size(texts));
        for (const ResultGrid* grid : {static_cast<const ResultGrid*>(&g), &copy}) {
            for (int r = 1; r < grid->rowCount(); ++r) {
                const int original = grid->rowCount() - r;  // the row it was written as
                const QString& t = texts[(original - 1) % n];
                EXPECT_EQ(grid->cellView(r, 1), t) << int(how) << " row " << r;
                EXPECT_EQ(grid->path(r), t) << int(how) << " row " << r;
                EXPECT_EQ(grid->cell(r, 2), t.mid(t.lastIndexOf(u'\\') + 1));
                const QString first = original % 2 ? QStringLiteral("rewritten %1").arg(original)
                                                   : QString::number((original - 1) / n);
                EXPECT_EQ(grid->cell(r, 0), first);
                QString joined = QStringLiteral("kept");
                grid->appendJoinedCells(r, u'\t', joined);
                EXPECT_EQ(joined, "kept" + first + '\t' + t + '\t' + t.mid(t.lastIndexOf(u'\\') + 1));
            }
        }
        // Two cells of a folder column read together stay apart.
        EXPECT_NE(g.cellView(1, 1), g.cellView(2, 1));
    }
}

}  // namespace

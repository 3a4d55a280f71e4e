// The mark book and the print titles on their own: marks follow their rows,
// count and bytes follow only files that exist, the marked list compares
// paths with their case; the titles of the criteria.
#include "finders/markbook.h"
#include "finders/printtitle.h"

#include "support/localescope.h"
#include "support/tempdrives.h"

#include <QFile>
#include <gtest/gtest.h>

using finders::MarkBook;

namespace {

class MarkBookTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        grid.setTitles({"Size", "FileName"});
        add("C:\\m\\a.txt", 10);
        add("C:\\m\\B.txt", 20);
        add("C:\\m\\b.txt", 30);
    }
    void add(const QString& path, int size)
    {
        drives.writeFile('C', path.mid(3).replace('\\', '/'), QByteArray(size, 'x'));
        grid.addRow({QString::number(size), path}, path);
    }

    testing_support::TempDrives drives{"C"};
    comp::ResultGrid grid{2, 2};
    MarkBook book;
};

}  // namespace

TEST_F(MarkBookTest, MarkAndUnmarkKeepTheBooks)
{
    EXPECT_TRUE(book.toggle(grid, 1));
    EXPECT_TRUE(book.toggle(grid, 3));
    EXPECT_TRUE(grid.marked(1));
    EXPECT_FALSE(grid.marked(2));
    EXPECT_EQ(book.count(), 2);
    EXPECT_EQ(book.bytes(), 40.0);
    EXPECT_EQ(book.list(), QStringList({"C:\\m\\a.txt", "C:\\m\\b.txt"}));
    EXPECT_EQ(book.statusText(), "2 files 40 bytes");

    // Unmarking takes out exactly that path, not its twin in another case.
    EXPECT_TRUE(book.toggle(grid, 2));
    EXPECT_TRUE(book.toggle(grid, 3));
    EXPECT_EQ(book.list(), QStringList({"C:\\m\\a.txt", "C:\\m\\B.txt"}));
    EXPECT_EQ(book.count(), 2);
    EXPECT_EQ(book.bytes(), 30.0);
}

TEST_F(MarkBookTest, MarkingTheSameRowTwiceLeavesNothing)
{
    book.toggle(grid, 2);
    book.toggle(grid, 2);
    EXPECT_EQ(grid.markedCount(), 0);
    EXPECT_EQ(book.count(), 0);
    EXPECT_EQ(book.bytes(), 0.0);
    EXPECT_TRUE(book.list().isEmpty());
}

TEST_F(MarkBookTest, RowsOutsideTheResultsAreLeftAlone)
{
    grid.setRowCount(6);  // rows 4 and 5 exist but the search wrote none
    for (int row : {-1, 0, 4, 5, 99})
        EXPECT_FALSE(book.toggle(grid, row)) << row;
    EXPECT_EQ(grid.markedCount(), 0);
    EXPECT_TRUE(book.list().isEmpty());
    EXPECT_EQ(book.statusText(), "0 files 0 bytes");
}

TEST_F(MarkBookTest, VanishedFileChangesTheListButNotTheCounts)
{
    book.toggle(grid, 1);
    ASSERT_TRUE(QFile::remove(drives.posix(QString("C:\\m\\a.txt"))));
    book.toggle(grid, 1);  // unmark the vanished file
    EXPECT_FALSE(grid.marked(1));
    EXPECT_TRUE(book.list().isEmpty());
    EXPECT_EQ(book.count(), 1);
    EXPECT_EQ(book.bytes(), 10.0);
    book.toggle(grid, 1);  // and mark it again
    EXPECT_EQ(book.list(), QStringList{"C:\\m\\a.txt"});
    EXPECT_EQ(book.count(), 1);
}

TEST_F(MarkBookTest, AFolderAtTheRowsPathCountsAsNoFile)
{
    ASSERT_TRUE(QFile::remove(drives.posix(QString("C:\\m\\a.txt"))));
    drives.makeFolder('C', "m/a.txt");
    book.toggle(grid, 1);
    EXPECT_TRUE(grid.marked(1));
    EXPECT_EQ(book.count(), 0);
    EXPECT_EQ(book.list(), QStringList{"C:\\m\\a.txt"});
}

TEST_F(MarkBookTest, MarkAllStartsAfreshAndClearEmptiesEverything)
{
    book.toggle(grid, 2);
    book.markAll(grid);
    EXPECT_EQ(grid.markedCount(), 3);
    EXPECT_EQ(book.count(), 3);
    EXPECT_EQ(book.bytes(), 60.0);
    EXPECT_EQ(book.list().size(), 3);

    book.clear(grid);
    EXPECT_EQ(grid.markedCount(), 0);
    EXPECT_EQ(book.count(), 0);
    EXPECT_EQ(book.bytes(), 0.0);
    EXPECT_TRUE(book.list().isEmpty());
}

TEST_F(MarkBookTest, LargeByteCountsAreGrouped)
{
    testing_support::LocaleScope english(QLocale(QLocale::English, QLocale::UnitedStates));
    MarkBook big;
    comp::ResultGrid g(2, 2);
    g.addRow({"x", "C:\\m\\a.txt"}, "C:\\m\\a.txt");
    QFile f(drives.posix(QString("C:\\m\\a.txt")));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    ASSERT_TRUE(f.resize(1234567));
    f.close();
    big.toggle(g, 1);
    EXPECT_EQ(big.statusText(), "1 files 1,234,567 bytes");
}

TEST(DupPrintTitleTest, TitlesOfTheCriteria)
{
    struct Case {
        bool dup;
        finders::SizeRelation relation;
        int n1, n2;
        bool kb;
        QString wildcard;
        QStringList roots;
        QString title;
    };
    using R = finders::SizeRelation;
    const Case cases[] = {
        {true, R::Between, 10, 20, true, "*.*", {"C: Drive_c", "D: Drive_d"},
         "Duplicates in between 10 KB and 20 KB matching *.* on drive(s) C D "},
        {false, R::SmallerOrEqual, 5, 0, false, "*.txt", {"C: Drive_c"},
         "File Hogs smaller or equal to 5 bytes matching *.txt on drive(s) C "},
        {false, R::LargerOrEqual, 250, 250, true, "*.*", {"C:\\Users\\ann"},
         "File Hogs larger or equal to 250 KB matching *.* on drive(s) C "},
        {true, R::LargerOrEqual, 0, 0, false, "*.*", {},
         "Duplicates larger or equal to 0 bytes matching *.* on drive(s) "},
    };
    for (const Case& c : cases) {
        finders::DupCriteria criteria;
        criteria.duplicateMode = c.dup;
        criteria.relation = c.relation;
        criteria.num1 = c.n1;
        criteria.num2 = c.n2;
        criteria.unitKB = c.kb;
        criteria.wildcard = c.wildcard;
        criteria.roots = c.roots;
        EXPECT_EQ(finders::DupPrintTitle(criteria), c.title);
    }
    EXPECT_EQ(finders::SizeRuleText(R::SmallerOrEqual, 5, 9, false), "smaller or equal to 5 bytes");
}

// The mark book and the print titles on their own: marks follow their rows,
// count and bytes follow files that exist when marked and unmarking takes
// back what the mark added, the marked list compares paths with their case;
// the titles of the criteria.
#include "finders/markbook.h"
#include "finders/printtitle.h"

#include "core/helpers.h"
#include "support/localescope.h"
#include "support/tempdrives.h"

#include <QFile>
#include <functional>
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

TEST_F(MarkBookTest, UnmarkingTakesBackWhatMarkingAdded)
{
    // What happens to row 1's file between its mark and its unmark.
    struct Case {
        const char* name;
        bool presentWhenMarked;
        std::function<void(const QString& posix)> meanwhile;
        int countMarked;
        double bytesMarked;
    };
    const auto removeIt = [](const QString& f) { ASSERT_TRUE(QFile::remove(f)); };
    const auto growIt = [](const QString& f) {
        QFile file(f);
        ASSERT_TRUE(file.open(QIODevice::Append));
        file.write(QByteArray(500, 'y'));
    };
    const auto makeIt = [](const QString& f) {
        QFile file(f);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(70, 'y'));
    };
    const Case cases[] = {
        {"vanished", true, removeIt, 2, 90.0},
        {"grew", true, growIt, 2, 90.0},
        {"appeared", false, makeIt, 1, 20.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString posix = drives.posix(QString("C:\\m\\a.txt"));
        QFile::remove(posix);
        if (c.presentWhenMarked)
            makeIt(posix);
        MarkBook b;
        grid.clearMarks();
        b.toggle(grid, 1);
        b.toggle(grid, 2);
        EXPECT_EQ(b.count(), c.countMarked);
        EXPECT_EQ(b.bytes(), c.bytesMarked);
        c.meanwhile(posix);
        b.toggle(grid, 1);
        EXPECT_FALSE(grid.marked(1));
        EXPECT_EQ(b.list(), QStringList{"C:\\m\\B.txt"});
        EXPECT_EQ(b.count(), 1);
        EXPECT_EQ(b.bytes(), 20.0);
    }
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

// Groups of two and three (shades A, B), every file present: all but one
// copy of each group marked, the copy kept chosen by time, the first in grid
// order among equal times; then how many groups are marked whole.
TEST(MarkGroupsTest, AllButOneCopyOfEachGroup)
{
    testing_support::TempDrives drives{"C"};
    comp::ResultGrid grid(1, 2);
    grid.setTitles({"Filename"});
    const char shades[] = "AABBB";
    for (int k = 0; k < 5; ++k) {
        const QString path = QString("C:\\g\\%1.txt").arg(k + 1);
        drives.writeFile('C', QString("g/%1.txt").arg(k + 1), "12345");
        grid.setShade(grid.addRow({path}, path), quint8(shades[k]));
    }
    ASSERT_EQ(finders::ShadeGroups(grid), (std::vector<finders::RowGroup>{{1, 2}, {3, 5}}));

    using finders::KeepCopy;
    struct Case {
        std::vector<qint64> times;  // rows 1 to 5
        KeepCopy keep;
        std::vector<int> marked;
    };
    const Case cases[] = {
        {{7, 7, 7, 7, 7}, KeepCopy::Oldest, {2, 4, 5}},
        {{7, 7, 7, 7, 7}, KeepCopy::Newest, {2, 4, 5}},
        {{9, 3, 8, 3, 3}, KeepCopy::Oldest, {1, 3, 5}},
        {{9, 3, 8, 3, 3}, KeepCopy::Newest, {2, 4, 5}},
        {{3, 9, 3, 8, 8}, KeepCopy::Newest, {1, 3, 5}},
        {{3, 9, 5, 1, 8}, KeepCopy::Oldest, {2, 3, 5}},
    };
    for (const Case& c : cases) {
        MarkBook book;
        book.toggle(grid, 1);  // whatever was marked before goes
        book.markAllButOne(grid, c.keep, [&](int row) { return c.times[size_t(row - 1)]; });
        std::vector<int> marked;
        for (int r = 1; r <= 5; ++r)
            if (grid.marked(r))
                marked.push_back(r);
        EXPECT_EQ(marked, c.marked);
        EXPECT_EQ(book.count(), 3);
        EXPECT_EQ(book.list().size(), 3);
        EXPECT_EQ(finders::FullyMarkedGroups(grid), 0);
    }

    MarkBook book;
    book.markAll(grid);
    EXPECT_EQ(finders::FullyMarkedGroups(grid), 2);
    book.toggle(grid, 4);
    EXPECT_EQ(finders::FullyMarkedGroups(grid), 1);
    EXPECT_EQ(finders::AllCopiesQuestion(1),
              "All copies of 1 groups of duplicates are marked. No copy of them will be left. Continue?");
}

// The keys of the shown modification times order them as the times, in
// every locale the program is tested in; a missing time is the oldest.
TEST(MarkGroupsTest, ModifiedKeysOrderTheShownTimes)
{
    const QDateTime times[] = {QDateTime(QDate(1999, 12, 31), QTime(23, 59, 58)),
                               QDateTime(QDate(2000, 1, 1), QTime(0, 0, 0)),
                               QDateTime(QDate(2000, 1, 1), QTime(13, 0, 0)),
                               QDateTime(QDate(2024, 2, 29), QTime(9, 5, 2))};
    for (const QLocale& locale : {QLocale(QLocale::English, QLocale::UnitedStates), QLocale(QLocale::French),
                                  QLocale(QLocale::German, QLocale::Germany), QLocale(QLocale::Hindi, QLocale::India)}) {
        SCOPED_TRACE(locale.name().toStdString());
        testing_support::LocaleScope scope(locale);
        finders::ModifiedKeyReader reader;
        qint64 previous = reader.key(u"", u"");
        for (const QDateTime& t : times) {
            const core::PackedDosDateTime dos = core::DateTimeToDos(t);
            const QString date = core::DosDateText(dos), time = core::DosTimeText(dos);
            const qint64 key = reader.key(date, time);
            EXPECT_GT(key, previous) << date.toStdString() << " " << time.toStdString();
            EXPECT_EQ(reader.key(date, time), key);
            previous = key;
        }
    }
}

// The deletion log: rows, the rule for adding one, and grdelete.txt.
#include "delete/deletionlog.h"
#include "delete/undeletable.h"
#include "support/tempdrives.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using del::DeletionLog;

namespace {

const QString kHeaderFile = "7,%1\n"
                            "cw 0,127\ncw 1,49\ncw 2,93\ncw 3,49\ncw 4,95\ncw 5,53\ncw 6,90\n"
                            "0,0,Date/Time\n1,0,# Deleted\n2,0,Size Deleted\n3,0,# Recycled\n"
                            "4,0,Size Recycled\n5,0,# Zipped\n6,0,Size Zipped\n";

QString readAll(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return "<unreadable>";
    return QString::fromLocal8Bit(f.readAll());
}

void writeAll(const QString& path, const QByteArray& data)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(data);
}

class DeletionLogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        log.setClock([this] { return now; });
    }
    void at(const QString& when) { now = QDateTime::fromString(when, "yyyy-MM-dd hh:mm"); }

    testing_support::TempDrives drives{"C"};
    QString file = drives.root() + "/grdelete.txt";
    DeletionLog log{file};
    QDateTime now = QDateTime(QDate(2026, 12, 9), QTime(10, 5));
};

TEST_F(DeletionLogTest, FreshLogHasHeaderAndTwoEmptyRows)
{
    ASSERT_EQ(log.rowCount(), 3);
    EXPECT_EQ(log.cell(0, 0), "Date/Time");
    EXPECT_EQ(log.cell(6, 0), "Size Zipped");
    EXPECT_EQ(log.columnWidth(0), 127);
    EXPECT_EQ(log.columnWidth(4), 95);
    for (int c = 0; c < 7; ++c) {
        EXPECT_TRUE(log.cell(c, 1).isEmpty());
        EXPECT_TRUE(log.cell(c, 2).isEmpty());
    }
    EXPECT_EQ(log.usedRows(), 0);
}

TEST_F(DeletionLogTest, ThreeEntriesFillFromTopThenInsertAtRowOne)
{
    at("2026-12-01 08:00");
    ASSERT_TRUE(log.addToDeleteGrid(1, 100, 0, 0, 0, 0));
    at("2026-12-02 09:30");
    ASSERT_TRUE(log.addToDeleteGrid(0, 0, 2, 200, 0, 0));
    EXPECT_EQ(log.rowCount(), 3);
    EXPECT_EQ(log.cell(0, 1), "2026-12-01 08:00");
    EXPECT_EQ(log.cell(0, 2), "2026-12-02 09:30");

    at("2026-12-03 23:59");
    ASSERT_TRUE(log.addToDeleteGrid(0, 0, 0, 0, 3, 300));
    ASSERT_EQ(log.rowCount(), 4);
    EXPECT_EQ(log.cell(0, 1), "2026-12-03 23:59");
    EXPECT_EQ(log.cell(5, 1), "3");
    EXPECT_EQ(log.cell(6, 1), "300");
    EXPECT_EQ(log.cell(0, 2), "2026-12-01 08:00");
    EXPECT_EQ(log.cell(2, 2), "100");
    EXPECT_EQ(log.cell(0, 3), "2026-12-02 09:30");
    EXPECT_EQ(log.cell(4, 3), "200");

    // Each addition is saved at once; the file reads back to the same rows.
    DeletionLog again(file);
    ASSERT_TRUE(again.load());
    ASSERT_EQ(again.rowCount(), 4);
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 7; ++c)
            EXPECT_EQ(again.cell(c, r), log.cell(c, r)) << c << "," << r;
}

TEST_F(DeletionLogTest, FileHoldsEveryNonEmptyCellRowByRow)
{
    ASSERT_TRUE(log.addToDeleteGrid(2, 1500, 0, 0, 0, 0));
    EXPECT_EQ(readAll(file), kHeaderFile.arg(3) +
                                 "0,1,2026-12-09 10:05\n1,1,2\n2,1,1500\n3,1,0\n4,1,0\n5,1,0\n6,1,0\n");
}

TEST_F(DeletionLogTest, NumbersArePlainWithoutGroupingOrPoint)
{
    EXPECT_EQ(DeletionLog::plainNumber(0), "0");
    EXPECT_EQ(DeletionLog::plainNumber(1500), "1500");
    EXPECT_EQ(DeletionLog::plainNumber(5000000000.0), "5000000000");
    EXPECT_EQ(DeletionLog::plainNumber(1e17), "100000000000000000");
    EXPECT_EQ(DeletionLog::plainNumber(2.6), "3");
}

TEST_F(DeletionLogTest, ClearOfFiveRowsLeavesOneEmptyRowAndOnlyTheHeaderInTheFile)
{
    for (int i = 0; i < 5; ++i)
        ASSERT_TRUE(log.addToDeleteGrid(i, i * 10, 0, 0, 0, 0));
    ASSERT_EQ(log.rowCount(), 6);
    ASSERT_EQ(log.usedRows(), 5);

    ASSERT_TRUE(log.clear());
    EXPECT_EQ(log.rowCount(), 2);
    for (int c = 0; c < 7; ++c)
        EXPECT_TRUE(log.cell(c, 1).isEmpty());
    EXPECT_EQ(readAll(file), kHeaderFile.arg(2));

    // After a clear the next entry fills the one empty row.
    ASSERT_TRUE(log.addToDeleteGrid(1, 1, 0, 0, 0, 0));
    EXPECT_EQ(log.rowCount(), 2);
    EXPECT_EQ(log.cell(1, 1), "1");
}

TEST_F(DeletionLogTest, MissingFileKeepsTheFreshLog)
{
    ASSERT_FALSE(QFile::exists(file));
    EXPECT_TRUE(log.load());
    EXPECT_EQ(log.rowCount(), 3);
}

TEST_F(DeletionLogTest, CarriageReturnsAndLineFeedsTravelAsTabAndBackspace)
{
    ASSERT_TRUE(log.fromText("7,2\n0,1,a\tb\bc\n"));
    EXPECT_EQ(log.cell(0, 1), "a\rb\nc");
    EXPECT_TRUE(log.toText().endsWith("0,1,a\tb\bc\n"));
}

TEST_F(DeletionLogTest, ReadsWindowsLineEndsAndCommasInTexts)
{
    ASSERT_TRUE(log.fromText("7,3\r\ncw 0,150\r\n0,2,2026-01-01 00:00\r\n1,2,4\r\n6,1,a,b\r\n"));
    EXPECT_EQ(log.columnWidth(0), 150);
    EXPECT_EQ(log.cell(0, 2), "2026-01-01 00:00");
    EXPECT_EQ(log.cell(1, 2), "4");
    EXPECT_EQ(log.cell(6, 1), "a,b");
    EXPECT_EQ(log.cell(0, 0), "Date/Time");
}

TEST_F(DeletionLogTest, TextThatIsNotALogIsRefused)
{
    const char* bad[] = {"", "hello", "5,3\n", "7\n", "7,1\n", "7,-4\n", "7,999999999\n", "x,3\n"};
    for (const char* text : bad) {
        DeletionLog l;
        EXPECT_FALSE(l.fromText(QString::fromLatin1(text))) << text;
        EXPECT_EQ(l.rowCount(), 3) << text;
    }
}

TEST_F(DeletionLogTest, CellsOutsideTheTableAreIgnored)
{
    ASSERT_TRUE(log.fromText("7,2\n7,1,x\n0,2,y\n-1,1,z\n1,1\ncw 9,4\ncw 1,-3\n2,1,ok\n"));
    EXPECT_EQ(log.rowCount(), 2);
    EXPECT_EQ(log.cell(2, 1), "ok");
    EXPECT_EQ(log.columnWidth(1), 49);
}

TEST_F(DeletionLogTest, AFileThatIsNotALogIsLeftAsItWas)
{
    writeAll(file, "not a log\n");
    EXPECT_FALSE(log.load());
    EXPECT_FALSE(log.lastError().isEmpty());
    EXPECT_EQ(log.rowCount(), 3);
}

TEST_F(DeletionLogTest, AnUnwritableLogKeepsItsRowsAndSaysSo)
{
    log.setFile(drives.root() + "/no such folder/grdelete.txt");
    EXPECT_FALSE(log.addToDeleteGrid(4, 400, 0, 0, 0, 0));
    EXPECT_FALSE(log.lastError().isEmpty());
    EXPECT_EQ(log.cell(1, 1), "4");
    EXPECT_EQ(log.usedRows(), 1);
}

TEST_F(DeletionLogTest, AFailedSaveLeavesTheOldFileWhole)
{
    ASSERT_TRUE(log.addToDeleteGrid(1, 10, 0, 0, 0, 0));
    const QString before = readAll(file);
    if (!delete_test::makeUndeletable(file))
        GTEST_SKIP() << "cannot make a file that is not replaced here";
    const bool saved = log.addToDeleteGrid(2, 20, 0, 0, 0, 0);
    delete_test::undoUndeletable(file);
    EXPECT_FALSE(saved);
    EXPECT_EQ(readAll(file), before);
    EXPECT_EQ(log.usedRows(), 2);  // the new row is kept in memory
    // No temporary file is left behind.
    EXPECT_EQ(QDir(drives.root()).entryList({"grdelete*"}, QDir::Files), QStringList{"grdelete.txt"});
}

TEST_F(DeletionLogTest, ADamagedFileIsKeptBesideBeforeTheFirstSave)
{
    writeAll(file, "damaged\n0,1,old row\n");
    ASSERT_FALSE(log.load());
    EXPECT_TRUE(log.damaged());
    EXPECT_EQ(log.damagedFileKeptAs(), file + ".bad");
    EXPECT_EQ(readAll(file), "damaged\n0,1,old row\n");  // loading alone moves nothing

    ASSERT_TRUE(log.addToDeleteGrid(3, 30, 0, 0, 0, 0)) << qPrintable(log.lastError());
    EXPECT_FALSE(log.damaged());
    EXPECT_EQ(readAll(file + ".bad"), "damaged\n0,1,old row\n");
    DeletionLog again(file);
    ASSERT_TRUE(again.load());
    EXPECT_EQ(again.cell(0, 1), "2026-12-09 10:05");
    EXPECT_EQ(again.cell(1, 1), "3");

    // Later saves replace the new log only.
    ASSERT_TRUE(log.addToDeleteGrid(4, 40, 0, 0, 0, 0));
    EXPECT_EQ(QDir(drives.root()).entryList({"grdelete*"}, QDir::Files),
              QStringList({"grdelete.txt", "grdelete.txt.bad"}));
    EXPECT_EQ(readAll(file + ".bad"), "damaged\n0,1,old row\n");
}

TEST_F(DeletionLogTest, ADamagedFileTakesTheFirstFreeName)
{
    writeAll(file + ".bad", "first");
    writeAll(file + ".bad1", "second");
    writeAll(file, "7,x\n");
    ASSERT_FALSE(log.load());
    EXPECT_EQ(log.damagedFileKeptAs(), file + ".bad2");
    // A name taken between load and save is skipped as well.
    writeAll(file + ".bad2", "third");
    ASSERT_TRUE(log.addToDeleteGrid(1, 1, 0, 0, 0, 0));
    EXPECT_EQ(log.damagedFileKeptAs(), file + ".bad3");
    EXPECT_EQ(readAll(file + ".bad"), "first");
    EXPECT_EQ(readAll(file + ".bad1"), "second");
    EXPECT_EQ(readAll(file + ".bad2"), "third");
    EXPECT_EQ(readAll(file + ".bad3"), "7,x\n");
    EXPECT_TRUE(readAll(file).startsWith("7,3\n"));
}

TEST_F(DeletionLogTest, AGoodLoadClearsTheDamage)
{
    writeAll(file, "junk");
    ASSERT_FALSE(log.load());
    writeAll(file, kHeaderFile.arg(3).toLocal8Bit());
    ASSERT_TRUE(log.load());
    EXPECT_FALSE(log.damaged());
    EXPECT_TRUE(log.damagedFileKeptAs().isEmpty());
    ASSERT_TRUE(log.addToDeleteGrid(1, 1, 0, 0, 0, 0));
    EXPECT_FALSE(QFile::exists(file + ".bad"));
}

TEST_F(DeletionLogTest, WhenTheDamagedFileCannotBeSetAsideNothingIsWritten)
{
    writeAll(file, "damaged\n");
    ASSERT_FALSE(log.load());
    if (!delete_test::makeUndeletable(file))
        GTEST_SKIP() << "cannot make a file that is not renamed here";
    const bool saved = log.addToDeleteGrid(2, 20, 0, 0, 0, 0);
    const QString text = readAll(file);
    delete_test::undoUndeletable(file);
    EXPECT_FALSE(saved);
    EXPECT_TRUE(log.lastError().contains("could not be kept as")) << qPrintable(log.lastError());
    EXPECT_EQ(text, "damaged\n");
    EXPECT_TRUE(log.damaged());  // the next save tries again
    EXPECT_EQ(log.usedRows(), 1);
}

TEST(ProgramLogTest, IsTheRegisteredLogElseOneInMemory)
{
    DeletionLog mine;
    del::setProgramLog(&mine);
    EXPECT_EQ(&del::programLog(), &mine);
    del::setProgramLog(nullptr);
    EXPECT_NE(&del::programLog(), &mine);
    EXPECT_TRUE(del::programLog().file().isEmpty());
}

}  // namespace

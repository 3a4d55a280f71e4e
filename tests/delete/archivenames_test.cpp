#include "delete/archivenames.h"

#include <QLocale>
#include <gtest/gtest.h>

using namespace del;

namespace {

class ArchiveNamesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        saved_ = QLocale();
        QLocale::setDefault(QLocale::c());
    }
    void TearDown() override { QLocale::setDefault(saved_); }
    QLocale saved_;
};

const QDateTime kSep6 = QDateTime(QDate(1999, 9, 6), QTime(5, 33, 59));

TEST_F(ArchiveNamesTest, NameFromFolderLetterTagAndMinute)
{
    struct Row {
        QString folder, tag;
        QChar letter;
        QString expected;
    };
    const QList<Row> rows = {
        {"C:\\ARCH", "Duplicates", 'C', "C:\\ARCH\\Drive-C-Duplicates06Sep990533.zip"},
        {"C:\\ARCH\\", "Duplicates", 'c', "C:\\ARCH\\Drive-C-Duplicates06Sep990533.zip"},
        {"D:\\", "FolderClean", 'e', "D:\\Drive-E-FolderClean06Sep990533.zip"},
        {"C:\\ARCH", "", 'C', "C:\\ARCH\\Drive-C-06Sep990533.zip"},
        {"", "TempClean", 'D', "c:\\Drive-D-TempClean06Sep990533.zip"},
    };
    for (const Row& r : rows)
        EXPECT_EQ(ArchiveNameFor(r.folder, r.tag, r.letter, kSep6), r.expected) << qPrintable(r.expected);
}

TEST_F(ArchiveNamesTest, TimeTextPadsAndUsesTwentyFourHours)
{
    EXPECT_EQ(ArchiveTimeText(QDateTime(QDate(2001, 12, 31), QTime(23, 5))), "31Dec012305");
    EXPECT_EQ(ArchiveTimeText(QDateTime(QDate(2010, 1, 2), QTime(0, 0))), "02Jan100000");
}

TEST_F(ArchiveNamesTest, StoredNamesDropTheDriveAndUseSlashes)
{
    struct Row {
        QString path, stored;
    };
    const QList<Row> rows = {
        {"C:\\DOS\\OLD.TXT", "DOS/OLD.TXT"},
        {"c:\\a long name\\b c.txt", "a long name/b c.txt"},
        {"D:\\top.txt", "top.txt"},
        {"D:top.txt", "top.txt"},
        {"relative\\x", ""},
        {"", ""},
    };
    for (const Row& r : rows)
        EXPECT_EQ(StoredEntryName(r.path), r.stored) << qPrintable(r.path);
    EXPECT_EQ(ArchiveLetterOf("d:\\x"), QChar('D'));
}

}  // namespace

#include "core/settings.h"
#include "delete/archivenames.h"
#include "delete/zipsettings.h"
#include "platform/environment.h"
#include "support/tempdrives.h"

#include <QFile>
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
    };
    for (const Row& r : rows)
        EXPECT_EQ(ArchiveNameFor(r.folder, r.tag, r.letter, kSep6), r.expected) << qPrintable(r.expected);
}

TEST_F(ArchiveNamesTest, AnEmptyArchiveFolderIsTheDefaultOneNotTheDriveRoot)
{
    testing_support::TempDrives drives("C");
    qputenv("HOME", QFile::encodeName(drives.posix(u'C') + "/home/ann"));  // put back by drives
    const QString home = plat::homeDrivePath();
    ASSERT_EQ(home, "C:\\home\\ann");
    struct Row {
        std::optional<QString> stored;  // "ZipFile" / "Path"; absent first
        QString folder;
    };
    const QList<Row> rows = {
        {std::nullopt, home},
        {"", home},
        {"  ", home},
        {"C:\\zips", "C:\\zips"},
    };
    QString observed;
    setZipFolderObserver([&](const QString& f) { observed = f; });
    for (const Row& r : rows) {
        if (r.stored)
            core::SettingsStore::writeString("ZipFile", "Path", *r.stored);
        EXPECT_EQ(readZipFolderSetting(), r.folder) << qPrintable(r.stored.value_or("<absent>"));
        writeZipSettings(r.stored.value_or(QString()), "");
        EXPECT_EQ(observed, r.folder) << qPrintable(r.stored.value_or("<absent>"));
    }
    setZipFolderObserver({});
    EXPECT_EQ(ArchiveNameFor("", "TempClean", 'D', kSep6), home + "\\Drive-D-TempClean06Sep990533.zip");
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

// The remove batch: the Safe Harbor split, deleting and trashing one file
// after another, and what gets counted.
#include "core/safeharbor.h"
#include "core/settings.h"
#include "delete/deletionlog.h"
#include "delete/removebatch.h"
#include "delete/undeletable.h"
#include "support/tempdrives.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using namespace del;

namespace {

class RemoveBatchTest : public ::testing::Test {
protected:
    // A file of size bytes at C:\data\<name>; answers its drive path.
    QString file(const QString& name, int size)
    {
        posix_[name] = drives.writeFile('C', "data/" + name, QByteArray(size, 'x'));
        return "C:\\data\\" + name;
    }
    QString posix(const QString& name) const { return posix_.value(name); }
    bool exists(const QString& name) const { return QFileInfo::exists(posix(name)); }

    testing_support::TempDrives drives{"C"};
    DeletionLog log{drives.root() + "/grdelete.txt"};
    QMap<QString, QString> posix_;
};

TEST(UniqueSortedPathsTest, CleansSortsKeepsCaseAndDropsRepeats)
{
    const QStringList in = {"C:\\b.txt", "C:\\A.TXT", "C:\\a.txt", "", "C:\\x\\..\\b.txt", "  ", "C:\\A.TXT",
                            "C:\\.\\d\\\\c.txt"};
    EXPECT_EQ(uniqueSortedPaths(in), QStringList({"C:\\A.TXT", "C:\\a.txt", "C:\\b.txt", "C:\\d\\c.txt"}));
}

TEST(SplitTest, ProtectedFilesGoToTheHarborListInOrder)
{
    core::SafeHarbor harbor;
    harbor.GetSearchPath({QStringList{"C:\\KEEP"}, "C:\\BIN", {}});
    // Other spellings of protected files are tested, and handed on, cleaned.
    const QStringList files = {"C:\\BIN\\ls",          "C:\\free\\a.txt", "C:\\KEEP\\b.txt",
                               "C:\\free\\..\\KEEP\\c", "C:\\KEEP\\\\d",   "C:\\.\\BIN\\e",
                               "C:\\free\\c.txt"};
    QList<int> steps;
    const HarborSplit split = splitBySafeHarbor(files, harbor, [&](int done) { steps << done; });
    EXPECT_EQ(split.protectedFiles,
              QStringList({"C:\\BIN\\ls", "C:\\KEEP\\b.txt", "C:\\KEEP\\c", "C:\\KEEP\\d", "C:\\BIN\\e"}));
    EXPECT_EQ(split.toDelete, QStringList({"C:\\free\\a.txt", "C:\\free\\c.txt"}));
    EXPECT_EQ(steps, QList<int>({0, 1, 2, 3, 4, 5, 6}));
}

TEST_F(RemoveBatchTest, DeletesEveryFileAndCountsTheirSizes)
{
    const QStringList files = {file("a", 100), file("b", 250)};
    QStringList seen;
    const BatchResult r = removeFiles(files, RemoveMode::Delete,
                                      {[&](int i, const QString& p) { seen << QString::number(i) + p; }, {}});
    EXPECT_EQ(seen, QStringList({"0C:\\data\\a", "1C:\\data\\b"}));
    EXPECT_EQ(r.removedFiles, 2);
    EXPECT_EQ(r.removedBytes, 350);
    EXPECT_FALSE(exists("a"));
    EXPECT_FALSE(exists("b"));
    EXPECT_TRUE(r.failedPaths().isEmpty());
}

TEST_F(RemoveBatchTest, AFileThatCannotBeDeletedIsReportedAndNotCounted)
{
    const QStringList files = {file("a", 100), file("b", 200), file("c", 400)};
    if (!delete_test::makeUndeletable(posix("b")))
        GTEST_SKIP() << "cannot make an undeletable file here";
    QStringList failed;
    const BatchResult r = removeFiles(files, RemoveMode::Delete, {{}, [&](const QString& p) { failed << p; }});
    delete_test::undoUndeletable(posix("b"));
    EXPECT_EQ(failed, QStringList({"C:\\data\\b"}));
    EXPECT_EQ(r.failedPaths(), QStringList({"C:\\data\\b"}));
    ASSERT_EQ(r.outcomes.size(), 3);  // deleting goes on after a failure
    EXPECT_EQ(r.removedFiles, 2);
    EXPECT_EQ(r.removedBytes, 500);
    EXPECT_TRUE(exists("b"));

    ASSERT_TRUE(recordBatch(r, log));
    EXPECT_EQ(core::SettingsStore::readString("Trovik", "Ndelete"), "2");
    EXPECT_EQ(core::SettingsStore::readString("Trovik", "SizeDelete"), "500");
    EXPECT_EQ(log.cell(1, 1), "2");
    EXPECT_EQ(log.cell(2, 1), "500");
}

TEST_F(RemoveBatchTest, VanishedFilesAndFoldersAreRefused)
{
    drives.makeFolder('C', "data/folder");
    const QStringList files = {"C:\\data\\gone", "C:\\data\\folder", "Q:\\no drive"};
    const BatchResult r = removeFiles(files, RemoveMode::Delete);
    EXPECT_EQ(r.removedFiles, 0);
    EXPECT_EQ(r.failedPaths(), files);
    EXPECT_TRUE(QFileInfo(drives.root() + "/drive_c/data/folder").isDir());
}

TEST_F(RemoveBatchTest, OnlyARegularFileInTheCleanSpellingIsRemoved)
{
    const QString target = drives.writeFile('C', "keep/target.txt", "precious");
    drives.makeFolder('C', "data");
    ASSERT_TRUE(QFile::link(target, drives.posix(QChar('C')) + "/data/link"));
    file("other", 5);
    for (RemoveMode mode : {RemoveMode::Delete, RemoveMode::Trash}) {
        for (const QString& path : QStringList{"C:\\data\\link", "C:\\data\\\\other", "C:\\keep\\..\\data\\other"}) {
            const BatchResult r = removeFiles({path}, mode);
            EXPECT_EQ(r.removedFiles, 0) << path.toStdString();
            EXPECT_EQ(r.failedPaths(), QStringList{path});
        }
    }
    EXPECT_TRUE(QFileInfo(drives.posix(QChar('C')) + "/data/link").isSymLink());
    EXPECT_TRUE(QFile::exists(target));
    EXPECT_TRUE(exists("other"));
}

TEST_F(RemoveBatchTest, RecycleBatchWithActualCounts)
{
    const QStringList files = {file("a", 500), file("b", 700), file("c", 300)};
    const BatchResult r = removeFiles(files, RemoveMode::Trash);
    EXPECT_EQ(r.removedFiles, 3);
    EXPECT_EQ(r.removedBytes, 1500);
    EXPECT_FALSE(exists("a") || exists("b") || exists("c"));

    ASSERT_TRUE(recordBatch(r, log));
    EXPECT_EQ(core::SettingsStore::readString("Trovik", "NWaste"), "3");
    EXPECT_EQ(core::SettingsStore::readString("Trovik", "SizeWaste"), "1500");
    EXPECT_EQ(core::SettingsStore::readString("Trovik", "Ndelete"), "0");
    EXPECT_EQ(core::SettingsStore::readString("Trovik", "SizeDelete"), "0");
    EXPECT_EQ(log.cell(1, 1), "0");
    EXPECT_EQ(log.cell(2, 1), "0");
    EXPECT_EQ(log.cell(3, 1), "3");
    EXPECT_EQ(log.cell(4, 1), "1500");
}

TEST_F(RemoveBatchTest, TheTrashStopsAtTheFirstRefusal)
{
    const QStringList files = {file("a", 10), "C:\\data\\gone", file("c", 30), file("d", 40)};
    QStringList failed;
    const BatchResult r = removeFiles(files, RemoveMode::Trash, {{}, [&](const QString& p) { failed << p; }});
    EXPECT_EQ(failed, QStringList({"C:\\data\\gone"}));
    EXPECT_EQ(r.removedFiles, 1);
    EXPECT_EQ(r.removedBytes, 10);
    EXPECT_EQ(r.notTried, QStringList({"C:\\data\\c", "C:\\data\\d"}));
    EXPECT_TRUE(exists("c"));
    EXPECT_TRUE(exists("d"));

    ASSERT_TRUE(recordBatch(r, log));
    EXPECT_EQ(core::SettingsStore::readString("Trovik", "NWaste"), "1");
    EXPECT_EQ(core::SettingsStore::readString("Trovik", "SizeWaste"), "10");
}

TEST_F(RemoveBatchTest, ALongPathIsNeverCutShort)
{
    // Far beyond 255 characters: removed whole, or refused as a whole.
    QString rel = "data";
    for (int i = 0; i < 6; ++i)
        rel += "/" + QString(60, QChar('a' + i));
    drives.writeFile('C', rel + "/long.txt", "12345");
    const QString path = "C:\\" + QString(rel).replace('/', '\\') + "\\long.txt";
    ASSERT_GT(path.size(), 255);
    const BatchResult r = removeFiles({path}, RemoveMode::Trash);
    EXPECT_EQ(r.removedFiles, 1);
    EXPECT_FALSE(QFile::exists(drives.posix(path)));
}

TEST_F(RemoveBatchTest, NothingRecordedForABatchThatDidNotRun)
{
    EXPECT_TRUE(recordBatch(BatchResult{}, log));
    EXPECT_EQ(log.usedRows(), 0);
    EXPECT_EQ(core::SettingsStore::readString("Trovik", "Ndelete", "<absent>"), "<absent>");
}

}  // namespace

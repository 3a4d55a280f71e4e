// The restore engine: which files are archives, where their files belong,
// and extraction that puts files back, leaves existing files alone and never
// writes outside the chosen folder.
#include "delete/restore.h"

#include "core/helpers.h"
#include "delete/restore_testutil.h"
#include "platform/fileops.h"
#include "platform/fileops_p.h"
#include "support/tempdrives.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

#include <unistd.h>

using namespace restore_test;
using comp::ZipExtractResult;

namespace {

// Bytes that do not compress, so that an entry's size in the archive is known.
QByteArray Noise(int size)
{
    QByteArray b;
    quint32 x = 12345;
    for (int i = 0; i < size; ++i) {
        x = x * 1103515245u + 12345u;
        b.append(char(x >> 23));
    }
    return b;
}

class RestoreTest : public ::testing::Test {
protected:
    testing_support::TempDrives drives{"CD"};

    // Three files on C, zipped into C:\zips\<name> and then deleted.
    QMap<QString, QByteArray> zipAway(const QString& name)
    {
        const QMap<QString, QByteArray> files{{"DOS/OLD.TXT", "old text\n"},
                                              {"DOS/SUB/Long name.dat", Noise(70000)},
                                              {"ROOT.TXT", ""}};
        QStringList sources;
        for (auto it = files.begin(); it != files.end(); ++it) {
            drives.writeFile('C', it.key(), it.value());
            sources << "C:\\" + QString(it.key()).replace('/', '\\');
        }
        drives.makeFolder('C', "zips");
        EXPECT_TRUE(WriteArchive("C:\\zips\\" + name, sources, "the comment"));
        for (const QString& s : sources)
            EXPECT_TRUE(plat::deleteFile(s));
        return files;
    }

    QString c(const QString& rel) const { return drives.posix('C') + "/" + rel; }
};

TEST_F(RestoreTest, ArchivesAreFilesNamedDriveStarZipInAnyCase)
{
    for (const char* name : {"Drive-C-Dup06Sep990533.zip", "drive-d-x.ZIP", "DRIVEx.Zip", "other.zip",
                             "Drive-C.zip.bak", "MyDrive-C.zip"})
        drives.writeFile('C', QString("zips/") + name);
    drives.makeFolder('C', "zips/Drive-F-folder.zip");
    ASSERT_EQ(::symlink(qPrintable(c("zips/other.zip")), qPrintable(c("zips/Drive-L-link.zip"))), 0);
    EXPECT_EQ(del::ArchiveFilesIn("C:\\zips"),
              (QStringList{"Drive-C-Dup06Sep990533.zip", "drive-d-x.ZIP", "DRIVEx.Zip"}));
    EXPECT_TRUE(del::ArchiveFilesIn("C:\\nowhere").isEmpty());
}

TEST(RestoreNames, ArchiveRootComesFromTheFileName)
{
    const struct {
        const char* path;
        const char* root;
    } table[] = {
        {"C:\\zips\\Drive-C-TempClean06Sep990533.zip", "C:\\"},
        {"E:\\Drive-D-06Sep990533.zip", "D:\\"},
        {"C:\\zips\\drive-e-x.zip", "E:\\"},
        {"C:\\Drive-Q\\backup.zip", "\\"},       // a folder name says nothing
        {"C:\\Drive-Q\\Drive-D-x.zip", "D:\\"},
        {"C:\\zips\\DriveBackup.zip", "\\"},
        {"C:\\zips\\Drive-.zip", "\\"},
        {"C:\\zips\\Drive-1-x.zip", "\\"},
        {"Drive-F-x.zip", "F:\\"},
    };
    for (const auto& row : table)
        EXPECT_EQ(del::ArchiveRootFor(row.path), row.root) << row.path;
}

TEST(RestoreNames, OnlyTheRootOfTheArchiveDriveIsTheOriginalPlace)
{
    const struct {
        const char* chosen;
        const char* root;
        bool original;
    } table[] = {
        {"C:\\", "C:\\", true},  {"c:\\", "C:\\", true},        {"C:", "C:\\", true},
        {"D:\\", "C:\\", false}, {"C:\\RESTORE", "C:\\", false}, {"C:\\A", "C:\\", false},
        {"C:\\", "\\", false},   {"", "C:\\", false},
    };
    for (const auto& row : table)
        EXPECT_EQ(del::IsOriginalRoot(row.chosen, row.root), row.original) << row.chosen << " " << row.root;
}

TEST(RestoreNames, MessageTexts)
{
    EXPECT_EQ(del::ExtractFailureText("DOS/OLD.TXT", "Drive-C-x.zip"), "Cannot extract DOS/OLD.TXT from Drive-C-x.zip");
    EXPECT_EQ(del::MoveFailureText("a.txt", "b.zip"), "Cannot move a.txt to b.zip");
    EXPECT_EQ(del::DuplicateWarningText(true, "a.txt"),
              "Cannot add a.txt. Would create a duplicate name. Ignore future warnings?");
    EXPECT_EQ(del::DuplicateWarningText(false, "a.txt"),
              "Cannot move a.txt. Would create a duplicate name. Ignore future warnings?");
    EXPECT_TRUE(del::ExistingTargetsText(1, "C:\\").startsWith("1 file was not restored"));
    EXPECT_TRUE(del::ExistingTargetsText(1234, "C:\\").contains("files were not restored"));
    del::RestoreOutcome o;
    o.files = 3;
    o.extracted = 3;
    EXPECT_EQ(o.summaryText(), "Files were unzipped");
    o.extracted = 1;
    EXPECT_EQ(o.summaryText(), "Files were unzipped: 1 of 3 files.");
    o.extracted = 0;
    EXPECT_EQ(o.summaryText(), "No files were unzipped.");
}

TEST_F(RestoreTest, RestoringIntoTheDriveRootPutsEveryFileBack)
{
    const auto files = zipAway("Drive-C-TempClean06Sep990533.zip");
    del::LoadedArchive a;
    ASSERT_TRUE(a.load("C:\\zips", "Drive-C-TempClean06Sep990533.zip"));
    EXPECT_EQ(a.path(), "C:\\zips\\Drive-C-TempClean06Sep990533.zip");
    EXPECT_EQ(a.entryCount(), 3);
    EXPECT_EQ(a.comment(), "the comment");
    QList<int> progress;
    const del::RestoreOutcome o = a.extractAll("C:\\", {}, [&](int pc) { progress << pc; });
    EXPECT_EQ(o.files, 3);
    EXPECT_EQ(o.extracted, 3);
    EXPECT_TRUE(o.failures.empty());
    EXPECT_TRUE(o.complete());
    EXPECT_EQ(a.BaseFolder, "C:\\");
    ASSERT_FALSE(progress.isEmpty());
    EXPECT_EQ(progress.last(), 100);
    for (auto it = files.begin(); it != files.end(); ++it)
        EXPECT_EQ(ReadBytes(c(it.key())), it.value()) << qPrintable(it.key());
}

TEST_F(RestoreTest, ExistingTargetsAreKeptAndCounted)
{
    zipAway("Drive-C-x.zip");
    drives.writeFile('C', "DOS/OLD.TXT", "newer contents");
    drives.writeFile('C', "ROOT.TXT", "kept");
    del::LoadedArchive a;
    ASSERT_TRUE(a.load("C:\\zips", "Drive-C-x.zip"));
    const del::RestoreOutcome o = a.extractAll("C:\\", {}, {});
    EXPECT_EQ(o.extracted, 1);
    EXPECT_EQ(o.existing, 2);
    EXPECT_EQ(o.existingEntries, (QStringList{"DOS/OLD.TXT", "ROOT.TXT"}));
    EXPECT_TRUE(o.failures.empty());
    EXPECT_FALSE(o.complete());
    EXPECT_EQ(ReadBytes(c("DOS/OLD.TXT")), "newer contents");
    EXPECT_EQ(ReadBytes(c("ROOT.TXT")), "kept");
    // No temporary file is left beside the kept ones.
    EXPECT_EQ(QDir(c("DOS")).entryList(QDir::Files | QDir::Hidden), QStringList{"OLD.TXT"});
}

TEST_F(RestoreTest, AFileThatIsNoArchiveKeepsTheLoadedOne)
{
    zipAway("Drive-C-x.zip");
    drives.writeFile('C', "zips/Drive-X.zip", "this is not a zip file at all");
    drives.writeFile('C', "zips/Drive-E.zip", "");
    del::LoadedArchive a;
    EXPECT_FALSE(a.load("C:\\zips", "Drive-X.zip"));
    EXPECT_FALSE(a.isLoaded());
    ASSERT_TRUE(a.load("C:\\zips", "Drive-C-x.zip"));
    for (const char* bad : {"Drive-X.zip", "Drive-E.zip", "Drive-missing.zip"}) {
        EXPECT_FALSE(a.load("C:\\zips", bad)) << bad;
        EXPECT_EQ(a.name(), "Drive-C-x.zip");
        EXPECT_EQ(a.entryCount(), 3);
    }
    EXPECT_EQ(ReadBytes(c("zips/Drive-X.zip")), "this is not a zip file at all");
}

namespace {
quint64 g_freeKilobytes = 0;
int FakeStatvfs(const char* path, struct statvfs* out)
{
    const int rc = ::statvfs(path, out);
    out->f_frsize = 1024;
    out->f_bavail = g_freeKilobytes;
    return rc;
}
}  // namespace

TEST_F(RestoreTest, NothingIsRestoredWhenTheFilesDoNotFit)
{
    zipAway("Drive-C-x.zip");  // 70,009 bytes of files
    drives.writeFile('C', "r2/DOS/SUB/Long name.dat", "there already");
    struct Row {
        const char* folder;
        quint64 freeKilobytes;
        quint64 needed;  // 0: restored
        int extracted;
    };
    const QList<Row> rows = {
        {"r1", 40, 70009, 0},
        {"r2", 40, 0, 2},  // the big file exists: the other two need 9 bytes
        {"r3", 1 << 20, 0, 3},
    };
    plat::detail::setStatvfsForTest(&FakeStatvfs);
    for (const Row& r : rows) {
        SCOPED_TRACE(r.folder);
        g_freeKilobytes = r.freeKilobytes;
        drives.makeFolder('C', r.folder);
        del::LoadedArchive a;
        ASSERT_TRUE(a.load("C:\\zips", "Drive-C-x.zip"));
        const del::RestoreOutcome o = a.extractAll(QString("C:\\") + r.folder, {}, {});
        EXPECT_EQ(o.extracted, r.extracted);
        if (r.needed == 0) {
            EXPECT_TRUE(o.refusal.isEmpty());
            continue;
        }
        EXPECT_EQ(o.refusal, "Not enough space to unzip C:\\zips\\Drive-C-x.zip : " + core::FormatGrouped(qint64(r.needed))
                                 + " bytes needed, " + core::FormatGrouped(qint64(r.freeKilobytes * 1024)) + " free.");
        EXPECT_FALSE(o.complete());
        EXPECT_TRUE(a.BaseFolder.isEmpty());
        EXPECT_TRUE(QDir(c(r.folder)).isEmpty());
    }
    plat::detail::setStatvfsForTest(nullptr);
}

TEST_F(RestoreTest, HostileNamesRestoreNothingOutsideTheFolder)
{
    drives.makeFolder('C', "dest");
    drives.makeFolder('C', "outside");
    // A link inside the destination that leads out of it.
    ASSERT_EQ(::symlink(qPrintable(c("outside")), qPrintable(c("dest/away"))), 0);
    const QList<RawEntry> entries{
        {"../evil.txt", "x"},
        {"../../evil2.txt", "x"},
        {"/abs.txt", "x"},
        {"C:/drive.txt", "x"},
        {"C:\\win.txt", "x"},
        {"a\\..\\..\\back.txt", "x"},
        {"a/../../dots.txt", "x"},
        {"./here.txt", "x"},
        {"away/through-link.txt", "x"},
        {"ln", "../outside", 0120777},
        {"dev", "", 0020644},
        {"good/ok.txt", "fine"},
    };
    ASSERT_TRUE(WriteBytes(c("zips.zip"), RawZip(entries)));
    const auto before = TreeOf(drives.posix('C'));

    del::LoadedArchive a;
    ASSERT_TRUE(a.load("C:\\", "zips.zip"));
    ASSERT_EQ(a.entryCount(), entries.size());
    const del::RestoreOutcome o = a.extractAll("C:\\dest", {}, {});
    EXPECT_EQ(o.extracted, 1);
    ASSERT_EQ(int(o.failures.size()), int(entries.size()) - 1);
    for (const del::RestoreFailure& f : o.failures) {
        EXPECT_TRUE(f.result == ZipExtractResult::BadName || f.result == ZipExtractResult::Unsupported)
            << qPrintable(f.entry);
        EXPECT_FALSE(f.codecText.isEmpty());
    }
    auto after = TreeOf(drives.posix('C'));
    EXPECT_EQ(after.take("dest/good"), "<dir>");
    EXPECT_EQ(after.take("dest/good/ok.txt"), "fine");
    EXPECT_EQ(after, before);
    EXPECT_FALSE(QFile::exists("/abs.txt"));
}

TEST_F(RestoreTest, ATruncatedArchiveRestoresItsCompleteEntriesOnly)
{
    zipAway("Drive-C-x.zip");
    QByteArray bytes = ReadBytes(c("zips/Drive-C-x.zip"));
    // Cut inside the large second entry: the first stays whole.
    bytes.truncate(bytes.size() / 2);
    ASSERT_TRUE(WriteBytes(c("zips/Drive-C-cut.zip"), bytes));
    drives.makeFolder('C', "dest");
    const auto before = TreeOf(drives.posix('C'));
    del::LoadedArchive a;
    ASSERT_TRUE(a.load("C:\\zips", "Drive-C-cut.zip"));
    const del::RestoreOutcome o = a.extractAll("C:\\dest", {}, {});
    EXPECT_GE(o.extracted, 1);
    auto after = TreeOf(drives.posix('C'));
    for (auto it = after.begin(); it != after.end();) {
        if (it.key().startsWith("dest/")) {
            if (it.value() != "<dir>") {
                EXPECT_TRUE(it.key() == "dest/DOS/OLD.TXT" && it.value() == "old text\n") << qPrintable(it.key());
            }
            it = after.erase(it);
        } else {
            ++it;
        }
    }
    EXPECT_EQ(after, before);
}

TEST_F(RestoreTest, AnArchiveMadeByZipRestoresWithIdenticalContents)
{
    if (!HaveZip())
        GTEST_SKIP() << "zip is not installed";
    QByteArray binary;
    for (quint32 i = 0; i < 300000; ++i)
        binary.append(char((i * 2654435761u) >> 24));
    const QMap<QString, QByteArray> files{{"src/tree/deep/binary.bin", binary},
                                          {"src/tree/Long name with blanks.txt", QByteArray(5000, 'a')},
                                          {"src/empty.txt", ""},
                                          {"src/Ünïcode näme.txt", "utf"}};
    for (auto it = files.begin(); it != files.end(); ++it)
        drives.writeFile('D', it.key(), it.value());
    drives.makeFolder('D', "src/empty folder");
    ASSERT_TRUE(RunZip(drives.posix('D'), {"-r", "-q", "Drive-D-zip.zip", "src"}));
    drives.makeFolder('C', "dest");

    del::LoadedArchive a;
    ASSERT_TRUE(a.load("D:\\", "Drive-D-zip.zip"));
    const del::RestoreOutcome o = a.extractAll("C:\\dest", {}, {});
    EXPECT_TRUE(o.failures.empty());
    EXPECT_EQ(o.extracted, 4);
    auto restored = TreeOf(c("dest"));
    auto original = TreeOf(drives.posix('D') + "/src");
    QMap<QString, QByteArray> expected;
    for (auto it = original.begin(); it != original.end(); ++it)
        expected["src/" + it.key()] = it.value();
    expected["src"] = "<dir>";
    EXPECT_EQ(restored, expected);
}

TEST_F(RestoreTest, WrongPasswordIsReportedAndTheRightOneRestores)
{
    if (!HaveZip())
        GTEST_SKIP() << "zip is not installed";
    drives.writeFile('D', "secret/plan.txt", "the plan");
    ASSERT_TRUE(RunZip(drives.posix('D'), {"-q", "-P", "s3cret", "Drive-D-pw.zip", "secret/plan.txt"}));
    drives.makeFolder('C', "dest");
    del::LoadedArchive a;
    ASSERT_TRUE(a.load("D:\\", "Drive-D-pw.zip"));
    QStringList asked;
    auto wrong = [&](const QString& entry) -> std::optional<QByteArray> {
        asked << entry;
        if (asked.size() == 1)
            return QByteArray("guess");
        return std::nullopt;  // the user cancels the second question
    };
    const del::RestoreOutcome bad = a.extractAll("C:\\dest", wrong, {});
    // Asked again after the wrong one, unless its check byte passed by
    // chance (1 in 256); then the CRC catches it.
    ASSERT_FALSE(asked.isEmpty());
    EXPECT_EQ(asked.count("secret/plan.txt"), asked.size());
    ASSERT_EQ(bad.failures.size(), 1u);
    EXPECT_EQ(bad.failures[0].result, ZipExtractResult::BadPassword);
    EXPECT_FALSE(QFile::exists(c("dest/secret/plan.txt")));
    EXPECT_EQ(QDir(c("dest/secret")).entryList(QDir::Files | QDir::Hidden), QStringList{}) << "no temporary left";

    const del::RestoreOutcome good =
        a.extractAll("C:\\dest", [](const QString&) { return std::optional<QByteArray>("s3cret"); }, {});
    EXPECT_TRUE(good.complete());
    EXPECT_EQ(ReadBytes(c("dest/secret/plan.txt")), "the plan");
}

TEST_F(RestoreTest, ANewSubFolderIsMadeInsideTheChosenFolderOnly)
{
    drives.makeFolder('C', "dest");
    QString error;
    EXPECT_EQ(del::CreateSubFolder("C:\\dest", "New one", &error), "C:\\dest\\New one");
    EXPECT_TRUE(QFileInfo(c("dest/New one")).isDir());
    EXPECT_EQ(del::CreateSubFolder("C:\\dest", "a\\b\\c", &error), "C:\\dest\\a\\b\\c");
    EXPECT_TRUE(QFileInfo(c("dest/a/b/c")).isDir());
    EXPECT_EQ(del::CreateSubFolder("C:\\dest", "New one", &error), "C:\\dest\\New one") << "exists: fine";

    drives.makeFolder('C', "outside");
    ASSERT_EQ(::symlink(qPrintable(c("outside")), qPrintable(c("dest/away"))), 0);
    const auto before = TreeOf(drives.posix('C'));
    for (const char* bad : {"..", "..\\x", "a\\..\\..\\x", "C:\\x", "\\x", "a/b", ".", "away\\x", ""}) {
        error.clear();
        EXPECT_TRUE(del::CreateSubFolder("C:\\dest", bad, &error).isEmpty()) << bad;
        EXPECT_FALSE(error.isEmpty()) << bad;
    }
    EXPECT_TRUE(del::CreateSubFolder("C:\\gone", "x", &error).isEmpty());
    EXPECT_EQ(TreeOf(drives.posix('C')), before);
}

}  // namespace

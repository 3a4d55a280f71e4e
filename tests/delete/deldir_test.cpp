// Folder deletion engine on temporary drives: delete, trash and zip, the
// attribute questions, stopping, the Safe Harbor question, what is reported
// and what is counted.
#include "delete/folderdeletion.h"

#include "components/zip/zipreader.h"
#include "core/safeharbor.h"
#include "core/scriptedprompter.h"
#include "core/helpers.h"
#include "core/settings.h"
#include "delete/deletionlog.h"
#include "platform/environment.h"
#include "support/tempdrives.h"

#include <QDir>
#include <QFile>
#include <QLocale>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace del;
using core::Answer;
using Kind = core::ScriptedPrompter::Kind;
using Outcome = FolderDeletionResult::Outcome;
using testing_support::TempDrives;

namespace {

QByteArray raw(const QString& posix)
{
    return QFile::encodeName(posix);
}

bool present(const QString& posix)
{
    struct stat st;
    return ::lstat(raw(posix).constData(), &st) == 0;
}

int filesBelow(const QString& posix)
{
    int n = 0;
    QDir dir(posix);
    for (const QFileInfo& fi : dir.entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System))
        n += fi.isDir() && !fi.isSymLink() ? filesBelow(fi.filePath()) : 1;
    return n;
}

class FolderDeletionTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        core::setPrompter(&prompter);
        QLocale::setDefault(QLocale::c());
    }
    void TearDown() override { core::setPrompter(nullptr); }

    QString c(const QString& rel) const { return drives.posix(u'C') + "/" + rel; }

    // Ten files of 100 bytes in C:\tree, three of them one folder down.
    void makeTree()
    {
        for (int i = 0; i < 7; ++i)
            drives.writeFile('C', QStringLiteral("tree/f%1.txt").arg(i), QByteArray(100, 'a' + i));
        for (int i = 7; i < 10; ++i)
            drives.writeFile('C', QStringLiteral("tree/sub/f%1.txt").arg(i), QByteArray(100, 'a' + i));
    }

    FolderDeletionResult run(FolderDeletion& op)
    {
        op.setSafeHarbor(harbor);
        op.setLog(log);
        return op.StartTheDeletionProcess();
    }
    FolderDeletionResult run(const QString& folder, FolderMode mode)
    {
        FolderDeletion op(folder);
        op.setMode(mode);
        return run(op);
    }

    TempDrives drives{"CD"};
    core::ScriptedPrompter prompter;
    core::SafeHarbor harbor;
    DeletionLog log;
};

}  // namespace

TEST_F(FolderDeletionTest, AnEmptyFolderGoesSilently)
{
    drives.makeFolder('C', "empty");
    const auto r = run("C:\\empty", FolderMode::Delete);
    EXPECT_EQ(r.outcome, Outcome::RemovedEmpty);
    EXPECT_FALSE(present(c("empty")));
    EXPECT_TRUE(prompter.records().isEmpty());
    EXPECT_EQ(log.usedRows(), 0);
    EXPECT_EQ(core::CumulativeTotals::load().nDelete, -1);
}

TEST_F(FolderDeletionTest, DeletesATreeAndReportsIt)
{
    makeTree();
    const auto r = run("C:\\tree", FolderMode::Delete);
    EXPECT_EQ(r.outcome, Outcome::Walked);
    EXPECT_EQ(r.removed, 10);
    EXPECT_TRUE(r.folderRemoved);
    EXPECT_FALSE(present(c("tree")));
    EXPECT_EQ(prompter.texts(Kind::Info), QStringList{"Deleted 10 files for a savings of 1,000 bytes."});
    EXPECT_TRUE(prompter.texts(Kind::Error).isEmpty());
    const auto totals = core::CumulativeTotals::load();
    EXPECT_EQ(totals.nDelete, 10);
    EXPECT_EQ(totals.sizeDelete, 1000);
    EXPECT_EQ(log.usedRows(), 1);
    EXPECT_EQ(log.cell(1, 1), "10");
    EXPECT_EQ(log.cell(2, 1), "1000");
}

TEST_F(FolderDeletionTest, OneReadOnlyFileAnsweredYes)
{
    makeTree();
    ASSERT_EQ(::chmod(raw(c("tree/sub/f8.txt")), 0444), 0);
    prompter.queue(Answer::Yes);
    const auto r = run("C:\\tree", FolderMode::Delete);
    EXPECT_EQ(prompter.texts(Kind::Confirm),
              QStringList{"C:\\tree\\sub\\f8.txt is read-only, Delete this file and continue deleting the "
                          "remaining files? "});
    EXPECT_EQ(r.removed, 10);
    EXPECT_FALSE(present(c("tree")));
    EXPECT_EQ(prompter.texts(Kind::Info), QStringList{"Deleted 10 files for a savings of 1,000 bytes."});
}

TEST_F(FolderDeletionTest, OneReadOnlyFileAnsweredNoStopsWithTheNote)
{
    makeTree();
    ASSERT_EQ(::chmod(raw(c("tree/sub/f8.txt")), 0444), 0);
    prompter.queue(Answer::No);
    const auto r = run("C:\\tree", FolderMode::Delete);
    EXPECT_TRUE(r.stopped);
    EXPECT_TRUE(present(c("tree/sub/f8.txt")));
    // The files handled before the question stay deleted, and only they count.
    const int left = filesBelow(c("tree"));
    EXPECT_EQ(r.removed, 10 - left);
    EXPECT_GE(left, 1);
    const auto totals = core::CumulativeTotals::load();
    if (r.removed > 0) {
        EXPECT_EQ(prompter.texts(Kind::Info),
                  QStringList{QStringLiteral("Deleted %1 files for a savings of %2 bytes. (Note: Deletion "
                                             "operation canceled ... not all files deleted)")
                                  .arg(r.removed)
                                  .arg(r.removed * 100)});
        EXPECT_EQ(totals.nDelete, r.removed);
    } else {
        EXPECT_TRUE(prompter.texts(Kind::Info).isEmpty());
    }
    EXPECT_TRUE(present(c("tree")));
}

TEST_F(FolderDeletionTest, ReadOnlyAndHiddenAnsweredYesTwice)
{
    const QString f = drives.writeFile('C', "tree/.secret", "12345");
    ASSERT_EQ(::chmod(raw(f), 0444), 0);
    prompter.queue(Answer::Yes);
    prompter.queue(Answer::Yes);
    const auto r = run("C:\\tree", FolderMode::Delete);
    EXPECT_EQ(prompter.texts(Kind::Confirm),
              (QStringList{"C:\\tree\\.secret is read-only, Delete this file and continue deleting the remaining "
                           "files? ",
                           "C:\\tree\\.secret is hidden, Delete this file and continue deleting the remaining "
                           "files? "}));
    EXPECT_EQ(r.removed, 1);
    EXPECT_FALSE(present(c("tree")));
}

TEST_F(FolderDeletionTest, CancelOnTheSecondQuestionKeepsTheFile)
{
    const QString f = drives.writeFile('C', "tree/.secret", "12345");
    ASSERT_EQ(::chmod(raw(f), 0444), 0);
    prompter.queue(Answer::Yes);
    prompter.queue(Answer::Cancel);
    const auto r = run("C:\\tree", FolderMode::Delete);
    EXPECT_TRUE(r.stopped);
    EXPECT_EQ(r.removed, 0);
    EXPECT_TRUE(present(f));
    EXPECT_TRUE(prompter.texts(Kind::Info).isEmpty());
    EXPECT_EQ(log.usedRows(), 0);
}

TEST_F(FolderDeletionTest, ADeviceIsASystemFile)
{
    drives.makeFolder('C', "tree");
    ASSERT_EQ(::mkfifo(raw(c("tree/pipe")), 0644), 0);
    prompter.queue(Answer::Yes);
    const auto r = run("C:\\tree", FolderMode::Delete);
    EXPECT_EQ(prompter.texts(Kind::Confirm),
              QStringList{"C:\\tree\\pipe is a system file, Delete this file and continue deleting the "
                          "remaining files? "});
    EXPECT_EQ(r.removed, 1);
    EXPECT_FALSE(present(c("tree")));
}

TEST_F(FolderDeletionTest, TrashedFilesCountAsRecycled)
{
    makeTree();
    const auto r = run("C:\\tree", FolderMode::Recycle);
    EXPECT_EQ(r.removed, 10);
    EXPECT_FALSE(present(c("tree")));
    EXPECT_TRUE(present(drives.root() + "/home/.local/share/Trash/files/f0.txt"));
    const auto totals = core::CumulativeTotals::load();
    EXPECT_EQ(totals.nWaste, 10);
    EXPECT_EQ(totals.sizeWaste, 1000);
    EXPECT_EQ(totals.nDelete, 0);
    EXPECT_EQ(totals.sizeDelete, 0);
    EXPECT_EQ(log.cell(1, 1), "0");
    EXPECT_EQ(log.cell(3, 1), "10");
    EXPECT_EQ(log.cell(4, 1), "1000");
}

TEST_F(FolderDeletionTest, FilesThatStayAreReportedAndNotCounted)
{
    makeTree();
    if (!testing_support::immutableSupported(c("tree")))
        GTEST_SKIP() << "no immutable files here";
    ASSERT_TRUE(testing_support::setImmutable(c("tree/sub/f9.txt"), true));
    const auto r = run("C:\\tree", FolderMode::Delete);
    testing_support::setImmutable(c("tree/sub/f9.txt"), false);
    EXPECT_EQ(r.handled, 10);
    EXPECT_EQ(r.removed, 9);
    EXPECT_EQ(prompter.texts(Kind::Error), QStringList{"Couldn't delete file - C:\\tree\\sub\\f9.txt"});
    EXPECT_EQ(prompter.texts(Kind::Info), QStringList{"Deleted 9 files for a savings of 900 bytes."});
    EXPECT_EQ(core::CumulativeTotals::load().nDelete, 9);
    EXPECT_EQ(log.cell(2, 1), "900");
    EXPECT_FALSE(r.folderRemoved);
    EXPECT_TRUE(present(c("tree/sub/f9.txt")));
}

TEST_F(FolderDeletionTest, FilesTheTrashRefusesAreReported)
{
    makeTree();
    if (!testing_support::immutableSupported(c("tree")))
        GTEST_SKIP() << "no immutable files here";
    ASSERT_TRUE(testing_support::setImmutable(c("tree/f3.txt"), true));
    const auto r = run("C:\\tree", FolderMode::Recycle);
    testing_support::setImmutable(c("tree/f3.txt"), false);
    EXPECT_EQ(r.removed, 9);
    EXPECT_EQ(prompter.texts(Kind::Error), QStringList{"Couldn't send file to the recycle bin - C:\\tree\\f3.txt"});
    EXPECT_EQ(core::CumulativeTotals::load().nWaste, 9);
    EXPECT_TRUE(present(c("tree/f3.txt")));
}

TEST_F(FolderDeletionTest, ManyFailuresMakeOneBoxWithACount)
{
    for (int i = 0; i < 20; ++i)
        drives.writeFile('C', QStringLiteral("tree/f%1").arg(i));
    if (!testing_support::immutableSupported(c("tree")))
        GTEST_SKIP() << "no immutable files here";
    for (int i = 0; i < 20; ++i)
        ASSERT_TRUE(testing_support::setImmutable(c(QStringLiteral("tree/f%1").arg(i)), true));
    const auto r = run("C:\\tree", FolderMode::Delete);
    for (int i = 0; i < 20; ++i)
        testing_support::setImmutable(c(QStringLiteral("tree/f%1").arg(i)), false);
    EXPECT_EQ(r.removed, 0);
    ASSERT_EQ(prompter.texts(Kind::Error).size(), 1);
    EXPECT_TRUE(prompter.texts(Kind::Error).first().endsWith("... and 5 more."));
    EXPECT_TRUE(prompter.texts(Kind::Info).isEmpty());
    EXPECT_EQ(log.usedRows(), 0);
    EXPECT_EQ(core::CumulativeTotals::load().nDelete, -1);
}

TEST_F(FolderDeletionTest, LinksInsideGoAsLinks)
{
    const QString target = drives.writeFile('D', "keep/precious.txt", "keep");
    drives.writeFile('C', "tree/a.txt");
    ASSERT_EQ(::symlink(raw(target), raw(c("tree/filelink"))), 0);
    ASSERT_EQ(::symlink(raw(drives.posix(u'D') + "/keep"), raw(c("tree/folderlink"))), 0);
    const auto r = run("C:\\tree", FolderMode::Delete);
    EXPECT_EQ(r.removed, 3);
    EXPECT_FALSE(present(c("tree")));
    EXPECT_TRUE(present(target));
}

TEST_F(FolderDeletionTest, AFolderThatIsALinkIsRefused)
{
    const QString target = drives.writeFile('C', "real/keep.txt");
    ASSERT_EQ(::symlink(raw(c("real")), raw(c("alias"))), 0);
    const auto r = run("C:\\alias", FolderMode::Delete);
    EXPECT_EQ(r.outcome, Outcome::Refused);
    EXPECT_EQ(prompter.texts(Kind::Error),
              QStringList{"Couldn't clean the folder C:\\alias - it is a symbolic link or lies behind one."});
    EXPECT_TRUE(present(target));
    EXPECT_TRUE(present(c("alias")));
}

TEST_F(FolderDeletionTest, MissingFolderAndDriveRootAreRefused)
{
    drives.writeFile('C', "keep.txt");
    for (const QString folder : {"C:\\gone", "C:\\", "C:"}) {
        prompter.clear();
        const auto r = run(folder, FolderMode::Delete);
        EXPECT_EQ(r.outcome, Outcome::Refused) << folder.toStdString();
        EXPECT_EQ(prompter.texts(Kind::Error).size(), 1);
    }
    EXPECT_TRUE(present(c("keep.txt")));
}

TEST_F(FolderDeletionTest, AnotherFileSystemBelowIsLeftAndReported)
{
    drives.writeFile('C', "tree/a.txt");
    const QString mnt = drives.makeFolder('C', "tree/mnt");
    if (::mount("none", raw(mnt).constData(), "tmpfs", 0, nullptr) != 0)
        GTEST_SKIP() << "mounting is not allowed here";
    struct Unmount {
        QByteArray at;
        ~Unmount() { ::umount2(at.constData(), MNT_DETACH); }
    } unmount{raw(mnt)};
    QFile(mnt + "/inside.txt").open(QIODevice::WriteOnly);
    const auto r = run("C:\\tree", FolderMode::Delete);
    EXPECT_EQ(r.removed, 1);
    EXPECT_TRUE(present(mnt + "/inside.txt"));
    ASSERT_EQ(prompter.texts(Kind::Error).size(), 1);
    EXPECT_TRUE(prompter.texts(Kind::Error).first().startsWith("Couldn't open folder - C:\\tree\\mnt ("));
}

TEST_F(FolderDeletionTest, AStopRequestEndsTheWalkWithTheNote)
{
    makeTree();
    FolderDeletion op("C:\\tree");
    op.setMode(FolderMode::Delete);
    QStringList seen;
    op.setHooks({{}, [&](qint64 count, const QString& path) {
                     seen << path;
                     if (count == 3)
                         op.requestStop();
                 },
                 {}, {}, {}});
    const auto r = run(op);
    EXPECT_TRUE(r.stopped);
    EXPECT_EQ(r.handled, 3);
    // The third file was announced, but the stop came before it was touched.
    EXPECT_EQ(r.removed, 2);
    EXPECT_EQ(seen.size(), 3);
    EXPECT_EQ(filesBelow(c("tree")), 8);
    EXPECT_EQ(prompter.texts(Kind::Info),
              QStringList{"Deleted 2 files for a savings of 200 bytes. (Note: Deletion operation canceled ... not "
                          "all files deleted)"});
    EXPECT_FALSE(op.running());
}

TEST_F(FolderDeletionTest, PumpRunsBeforeEveryEntry)
{
    makeTree();
    FolderDeletion op("C:\\tree");
    int pumps = 0;
    bool runningInside = false;
    op.setHooks({[&] {
                     ++pumps;
                     runningInside = op.running();
                 },
                 {}, {}, {}, {}});
    run(op);
    EXPECT_GE(pumps, 11);  // ten files and a folder
    EXPECT_TRUE(runningInside);
}

TEST_F(FolderDeletionTest, SafeHarborQuestionForTheFolderOrOneBelow)
{
    struct Case {
        const char* protectedFolder;
        bool asked;
        const char* folder = "C:\\tree";
    };
    const Case cases[] = {
        {"C:\\TREE\\", true},           // the folder itself
        {"C:\\TREE\\SUB\\", true},      // a folder below it
        {"C:\\TREE\\SUB\\*.*", true},   // a subtree rule below it
        {"C:\\TREEHOUSE\\", false},     // a name that only starts alike
        {"C:\\OTHER\\", false},
        {"C:\\TREE\\", true, "C:\\\\tree\\"},        // other spellings of the folder
        {"C:\\TREE\\SUB\\", true, "C:\\x\\..\\.\\tree"},
    };
    for (const Case& k : cases) {
        makeTree();
        prompter.clear();
        core::SafeHarborSources sources;
        sources.folderLines = QStringList{k.protectedFolder};
        harbor.GetSearchPath(sources);
        prompter.queue(Answer::No);
        const auto r = run(k.folder, FolderMode::Delete);
        const QStringList asked = prompter.texts(Kind::Confirm);
        if (k.asked) {
            EXPECT_EQ(asked,
                      QStringList{"Warning: the folder or a sub-folder of the one to delete is marked NOT to be "
                                  "deleted because it is referenced in the registry.  You may not want to delete "
                                  "it at this time.  Really delete?"})
                << k.protectedFolder;
            EXPECT_EQ(r.outcome, Outcome::Declined);
            EXPECT_EQ(filesBelow(c("tree")), 10);
        } else {
            EXPECT_TRUE(asked.isEmpty()) << k.protectedFolder;
            EXPECT_FALSE(present(c("tree")));
        }
    }
}

TEST_F(FolderDeletionTest, SafeHarborQuestionAnsweredYesGoesAhead)
{
    makeTree();
    core::SafeHarborSources sources;
    sources.searchPath = "C:\\tree\\sub";
    sources.folderLines = QStringList{};
    harbor.GetSearchPath(sources);
    prompter.queue(Answer::Yes);
    const auto r = run("C:\\tree", FolderMode::Delete);
    EXPECT_TRUE(prompter.texts(Kind::Confirm).first().contains("because it is in the search path."));
    EXPECT_EQ(r.removed, 10);
}

TEST(FolderArchiveNameTest, KeepsTheLetterAsThePathWritesIt)
{
    QLocale::setDefault(QLocale::c());
    const QDateTime t(QDate(1999, 9, 6), QTime(5, 33));
    EXPECT_EQ(FolderArchiveName("D:\\zips", "c:\\data\\old", t), "D:\\zips\\Drive-c-FolderClean06Sep990533.zip");
    EXPECT_EQ(FolderArchiveName("D:\\zips", "C:\\data\\old", t), "D:\\zips\\Drive-C-FolderClean06Sep990533.zip");
    EXPECT_EQ(FolderArchiveName("", "C:\\data", t),
              core::JoinPath(plat::homeDrivePath(), "Drive-C-FolderClean06Sep990533.zip"));  // the default folder
}

class FolderZipTest : public FolderDeletionTest {
protected:
    FolderDeletionResult zip(const QString& folder, bool deleteAfter)
    {
        FolderDeletion op(folder);
        op.setMode(FolderMode::Zip);
        op.setDeleteAfterZip(deleteAfter);
        op.setZipTarget({"D:\\zips", "my comment", time});
        return run(op);
    }
    QString archive(const QString& letter = "C") const
    {
        return drives.posix(u'D') + "/zips/Drive-" + letter + "-FolderClean06Sep990533.zip";
    }
    void SetUp() override
    {
        FolderDeletionTest::SetUp();
        drives.makeFolder('D', "zips");
    }
    const QDateTime time{QDate(1999, 9, 6), QTime(5, 33)};
};

TEST_F(FolderZipTest, ZipWithoutDeletingLeavesEverything)
{
    drives.writeFile('C', "data/old/a.txt", "alpha");
    drives.writeFile('C', "data/old/deep/b.txt", "beta");
    const QString ro = drives.writeFile('C', "data/old/ro.txt", "read only");
    ASSERT_EQ(::chmod(raw(ro), 0444), 0);
    const auto r = zip("c:\\data\\old", false);
    EXPECT_TRUE(prompter.texts(Kind::Confirm).isEmpty());  // nothing is deleted: nothing to ask
    EXPECT_EQ(r.zipped, 3);
    EXPECT_EQ(r.removed, 0);
    EXPECT_EQ(filesBelow(c("data/old")), 3);
    EXPECT_EQ(prompter.texts(Kind::Info), QStringList{"Zipped up 3 files"});
    comp::ZipReader reader;
    ASSERT_TRUE(reader.openPosix(raw(archive("c")))) << reader.errorText().toStdString();
    QStringList names;
    for (const auto& e : reader.entries())
        names << e.name;
    names.sort();
    EXPECT_EQ(names, (QStringList{"data/old/a.txt", "data/old/deep/b.txt", "data/old/ro.txt"}));
    EXPECT_EQ(reader.comment(), "my comment");
    const auto totals = core::CumulativeTotals::load();
    EXPECT_EQ(totals.nZip, 3);
    EXPECT_EQ(totals.sizeZip, 5 + 4 + 9);
    EXPECT_EQ(log.cell(5, 1), "3");
}

TEST_F(FolderZipTest, ZipAndDeleteStoresEveryFileThenRemovesTheTree)
{
    makeTree();
    const auto r = zip("C:\\tree", true);
    EXPECT_EQ(r.zipped, 10);
    EXPECT_EQ(r.removed, 10);
    EXPECT_FALSE(present(c("tree")));
    EXPECT_EQ(prompter.texts(Kind::Info), QStringList{"Zipped up 10 files"});
    comp::ZipReader reader;
    ASSERT_TRUE(reader.openPosix(raw(archive())));
    ASSERT_EQ(reader.entries().size(), 10u);
    for (int i = 0; i < 10; ++i) {
        QByteArray data;
        ASSERT_EQ(reader.readEntry(i, &data), comp::ZipExtractResult::Extracted);
        const QString name = reader.entries()[size_t(i)].name;
        const int k = name.mid(name.lastIndexOf('f') + 1, 1).toInt();
        EXPECT_EQ(data, QByteArray(100, char('a' + k))) << name.toStdString();
    }
    EXPECT_EQ(core::CumulativeTotals::load().nZip, 10);
}

TEST_F(FolderZipTest, AnEntryAlreadyInTheArchiveKeepsItsFile)
{
    drives.writeFile('C', "tree/a.txt", "first");
    zip("C:\\tree", false);
    prompter.clear();
    const auto r = zip("C:\\tree", true);  // same minute: the same archive
    EXPECT_EQ(r.zipped, 0);
    EXPECT_EQ(prompter.texts(Kind::Error), QStringList{"Couldn't zip up file - C:\\tree\\a.txt"});
    EXPECT_TRUE(present(c("tree/a.txt")));
    EXPECT_TRUE(prompter.texts(Kind::Info).isEmpty());
}

TEST_F(FolderZipTest, LinksAreNotZippedAndStay)
{
    drives.writeFile('C', "tree/a.txt", "first");
    ASSERT_EQ(::symlink("a.txt", raw(c("tree/link"))), 0);
    const auto r = zip("C:\\tree", true);
    EXPECT_EQ(r.zipped, 1);
    EXPECT_EQ(prompter.texts(Kind::Error), QStringList{"Couldn't zip up file - C:\\tree\\link"});
    EXPECT_TRUE(present(c("tree/link")));
    EXPECT_FALSE(present(c("tree/a.txt")));
}

TEST_F(FolderZipTest, AnArchiveFolderInsideTheFolderIsRefused)
{
    makeTree();
    drives.makeFolder('C', "tree/zips");
    FolderDeletion op("C:\\tree");
    op.setMode(FolderMode::Zip);
    op.setZipTarget({"C:\\tree\\zips", QString(), time});
    const auto r = run(op);
    EXPECT_EQ(r.outcome, Outcome::Refused);
    EXPECT_EQ(prompter.texts(Kind::Error).size(), 1);
    EXPECT_EQ(filesBelow(c("tree")), 10);
    EXPECT_TRUE(QDir(c("tree/zips")).isEmpty());
}

TEST_F(FolderZipTest, AnArchiveThatIsNotAZipStopsEverything)
{
    makeTree();
    QFile bad(archive());
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write("this is not a zip file at all");
    bad.close();
    const auto r = zip("C:\\tree", true);
    EXPECT_EQ(r.removed, 0);
    EXPECT_EQ(filesBelow(c("tree")), 10);
    EXPECT_EQ(prompter.texts(Kind::Error).size(), 1);
    QFile again(archive());
    ASSERT_TRUE(again.open(QIODevice::ReadOnly));
    EXPECT_EQ(again.readAll(), "this is not a zip file at all");
}

TEST_F(FolderZipTest, AnEmptyTreeWritesNoArchive)
{
    drives.makeFolder('C', "tree/empty");
    const auto r = zip("C:\\tree", false);
    EXPECT_EQ(r.zipped, 0);
    EXPECT_FALSE(present(archive()));
    EXPECT_TRUE(prompter.records().isEmpty());
    EXPECT_TRUE(present(c("tree/empty")));
}

TEST_F(FolderZipTest, StoppingWhileZippingKeepsTheRest)
{
    makeTree();
    FolderDeletion op("C:\\tree");
    op.setMode(FolderMode::Zip);
    op.setZipTarget({"D:\\zips", QString(), time});
    op.setHooks({{}, [&](qint64 count, const QString&) {
                     if (count == 4)
                         op.requestStop();
                 },
                 {}, {}, {}});
    const auto r = run(op);
    EXPECT_TRUE(r.stopped);
    // The fourth file was announced but not touched; three are stored and gone.
    EXPECT_EQ(r.zipped, 3);
    EXPECT_EQ(filesBelow(c("tree")), 7);
    EXPECT_EQ(prompter.texts(Kind::Info),
              QStringList{"Zipped up 3 files (Note: Zip operation canceled ... not all files zipped)"});
}

TEST_F(FolderZipTest, ZipAndDeleteAsksBeforeAReadOnlyFile)
{
    const QString ro = drives.writeFile('C', "tree/ro.txt", "read only");
    drives.writeFile('C', "tree/a.txt", "alpha");
    ASSERT_EQ(::chmod(raw(ro), 0444), 0);
    prompter.queue(Answer::No);
    const auto r = zip("C:\\tree", true);
    EXPECT_EQ(prompter.texts(Kind::Confirm),
              QStringList{"C:\\tree\\ro.txt is read-only, Delete this file and continue deleting the remaining "
                          "files? "});
    EXPECT_TRUE(r.stopped);
    EXPECT_TRUE(present(ro));
    EXPECT_TRUE(present(c("tree")));
}

TEST_F(FolderDeletionTest, ADeepTreeGoesCompletely)
{
    QString rel = "tree";
    for (int i = 0; i < 200; ++i)
        rel += "/d";
    drives.writeFile('C', rel + "/bottom.txt", "deep");
    drives.writeFile('C', "tree/top.txt", "top");
    const auto r = run("C:\\tree", FolderMode::Delete);
    EXPECT_EQ(r.removed, 2);
    EXPECT_TRUE(r.failures.isEmpty());
    EXPECT_FALSE(present(c("tree")));
}

TEST_F(FolderZipTest, CommitsFollowThePolicyNotTheFolders)
{
    // Three hundred folders of one file each: one commit per folder would
    // cost three hundred syncs and directory rewrites.
    constexpr int kFolders = 300;
    for (int i = 0; i < kFolders; ++i)
        drives.writeFile('C', QStringLiteral("tree/d%1/f.txt").arg(i), QByteArray::number(i));
    FolderDeletion op("C:\\tree");
    op.setMode(FolderMode::Zip);
    op.setDeleteAfterZip(true);
    op.setZipTarget({"D:\\zips", QString(), time});
    op.setCommitPolicy(comp::CommitPolicy(100000, 3600 * 1000));  // only what the walk itself needs
    int commits = 0;
    FolderDeletionHooks hooks;
    hooks.committed = [&] { ++commits; };
    op.setHooks(hooks);
    const auto r = run(op);
    EXPECT_EQ(r.zipped, kFolders);
    EXPECT_EQ(r.removed, kFolders);
    EXPECT_TRUE(r.failures.isEmpty()) << qPrintable(r.failures.join('\n'));
    EXPECT_GE(commits, 1);
    EXPECT_LE(commits, kFolders / 50) << "commits must not follow the folders";
    EXPECT_FALSE(present(c("tree")));
    comp::ZipReader reader;
    ASSERT_TRUE(reader.openPosix(raw(archive())));
    EXPECT_EQ(reader.entries().size(), size_t(kFolders));
}

TEST_F(FolderZipTest, NestedFoldersGoDeepestFirstAfterTheirCommits)
{
    // A chain of folders, a file in each, committed every few files: every
    // folder waits for the commit of the files below it.
    QString rel = "tree";
    for (int i = 0; i < 40; ++i) {
        rel += QStringLiteral("/d%1").arg(i);
        drives.writeFile('C', rel + "/f.txt", QByteArray(i + 1, 'z'));
        drives.makeFolder('C', rel + "/empty");
    }
    FolderDeletion op("C:\\tree");
    op.setMode(FolderMode::Zip);
    op.setZipTarget({"D:\\zips", QString(), time});
    op.setCommitPolicy(comp::CommitPolicy(3, 0));
    int commits = 0;
    FolderDeletionHooks hooks;
    hooks.committed = [&] { ++commits; };
    op.setHooks(hooks);
    const auto r = run(op);
    EXPECT_EQ(r.removed, 40);
    EXPECT_TRUE(r.failures.isEmpty()) << qPrintable(r.failures.join('\n'));
    EXPECT_GE(commits, 1);
    EXPECT_FALSE(present(c("tree")));
}

TEST_F(FolderZipTest, AFileKeptByItsCommitKeepsItsFolders)
{
    // A file whose commit fails to make it durable (here: changed after it
    // was read) stays, and so do the folders on its way.
    drives.writeFile('C', "tree/a/b/keep.txt", "original");
    drives.writeFile('C', "tree/c/gone.txt", "gone");
    FolderDeletion op("C:\\tree");
    op.setMode(FolderMode::Zip);
    op.setZipTarget({"D:\\zips", QString(), time});
    op.setCommitPolicy(comp::CommitPolicy(100000, 3600 * 1000));
    FolderDeletionHooks hooks;
    bool changed = false;
    bool current = false;
    bool read = false;
    hooks.fileHandled = [&](qint64, const QString& path) { current = path.endsWith("keep.txt"); };
    hooks.zipProgress = [&](int percent) { read = read || (current && percent == 100); };
    hooks.pump = [&] {
        // Once keep.txt has been read, it is written to.
        if (!changed && read) {
            QFile f(c("tree/a/b/keep.txt"));
            if (f.open(QIODevice::Append)) {
                f.write(" and more");
                changed = true;
            }
        }
    };
    op.setHooks(hooks);
    const auto r = run(op);
    ASSERT_TRUE(changed);
    EXPECT_TRUE(present(c("tree/a/b/keep.txt")));
    EXPECT_FALSE(present(c("tree/c")));
    EXPECT_EQ(r.removed, 1);
    EXPECT_FALSE(r.folderRemoved);
}

TEST_F(FolderZipTest, AFolderSwappedBeforeTheReadKeepsTheListedFile)
{
    // Between the walk's check and the read, the folder is moved away and
    // another one with a file of the same name, size and time put in its
    // place: the file read would not be the file listed.
    const QString listed = drives.writeFile('C', "tree/f.txt", "listed!");
    struct stat st;
    ASSERT_EQ(::stat(raw(listed), &st), 0);
    FolderDeletion op("C:\\tree");
    op.setMode(FolderMode::Zip);
    op.setZipTarget({"D:\\zips", QString(), time});
    FolderDeletionHooks hooks;
    hooks.beforeZipAdd = [&](const QString& path) {
        if (path != "C:\\tree\\f.txt" || present(c("moved")))
            return;
        ASSERT_EQ(::rename(raw(c("tree")), raw(c("moved"))), 0);
        const QString decoy = drives.writeFile('C', "tree/f.txt", "decoy!!");
        const struct timespec times[2] = {st.st_atim, st.st_mtim};
        ASSERT_EQ(::utimensat(AT_FDCWD, raw(decoy).constData(), times, 0), 0);
    };
    op.setHooks(hooks);
    const auto r = run(op);
    ASSERT_TRUE(present(c("moved")));
    EXPECT_EQ(r.removed, 0);
    EXPECT_TRUE(present(c("moved/f.txt"))) << "the listed file was deleted for another one's contents";
    QFile decoy(c("tree/f.txt"));
    ASSERT_TRUE(decoy.open(QIODevice::ReadOnly));
    EXPECT_EQ(decoy.readAll(), "decoy!!");
    EXPECT_EQ(prompter.texts(Kind::Error), QStringList{"Couldn't zip up file - C:\\tree\\f.txt"});
}

TEST_F(FolderZipTest, LinksAndSystemEntriesAreRefusedBeforeAnyQuestion)
{
    drives.writeFile('C', "tree/a.txt", "alpha");
    ASSERT_EQ(::mkfifo(raw(c("tree/pipe")), 0644), 0);
    ASSERT_EQ(::symlink("a.txt", raw(c("tree/.hidden-link"))), 0);
    const auto r = zip("C:\\tree", true);
    EXPECT_TRUE(prompter.texts(Kind::Confirm).isEmpty()) << qPrintable(prompter.texts(Kind::Confirm).join('\n'));
    EXPECT_FALSE(r.stopped);
    EXPECT_EQ(r.removed, 1);
    EXPECT_TRUE(present(c("tree/pipe")));
    EXPECT_TRUE(present(c("tree/.hidden-link")));
    QStringList errors = prompter.texts(Kind::Error);
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].contains("Couldn't zip up file - C:\\tree\\pipe"));
    EXPECT_TRUE(errors[0].contains("Couldn't zip up file - C:\\tree\\.hidden-link"));
}

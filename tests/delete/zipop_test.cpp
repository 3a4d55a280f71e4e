// The zip operation: one archive per drive with one time text, adding to an
// archive of the same minute, names already stored, archives that cannot be
// read, the archive itself on the list, abort between and within files, and
// totals that count only what was zipped and deleted.
#include "components/zip/zipreader.h"
#include "core/settings.h"
#include "delete/archivebatch.h"
#include "delete/deletionlog.h"
#include "delete/undeletable.h"
#include "delete/zipoperation.h"
#include "platform/drives.h"
#include "platform/durablefile.h"
#include "zipop_fixture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <algorithm>
#include <gtest/gtest.h>

namespace {

using del::ZipOperationResult;
using del::ZipOperationSettings;

const QDateTime kStart(QDate(1999, 9, 6), QTime(5, 33, 10));

class ZipOpTest : public zipop_test::ZipSourcesTest {
protected:
    ZipOperationSettings settings(const QString& tag = "Duplicates") const
    {
        ZipOperationSettings s;
        s.zipFolder = "C:\\zips";
        s.tag = tag;
        s.comment = "old files";
        s.start = kStart;
        return s;
    }

    ZipOperationResult run(const QStringList& files, const ZipOperationSettings& s, const bool* abort = nullptr,
                           del::ZipOperationCallbacks cb = {})
    {
        if (!cb.error)
            cb.error = [this](const QString& m) { errors << m; };
        return del::zipThenDelete(files, s, abort, cb);
    }

    // Entry name -> contents of an archive (drive path).
    QMap<QString, QByteArray> entries(const QString& archive, QString* comment = nullptr) const
    {
        QMap<QString, QByteArray> out;
        comp::ZipReader r;
        if (!r.open(archive))
            return out;
        if (comment)
            *comment = r.comment();
        for (int i = 0; i < int(r.entries().size()); ++i) {
            QByteArray data;
            if (r.readEntry(i, &data) == comp::ZipExtractResult::Extracted)
                out.insert(r.entries()[i].name, data);
        }
        return out;
    }

    // unzip -t of Debian's unzip, when it is installed.
    void expectUnzipTestPasses(const QString& archive) const
    {
        const QString unzip = QStandardPaths::findExecutable("unzip");
        if (unzip.isEmpty())
            return;
        QProcess p;
        p.start(unzip, {"-t", drives.posix(archive)});
        ASSERT_TRUE(p.waitForFinished(30000));
        EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardOutput().toStdString();
    }

};

TEST_F(ZipOpTest, TwoDrivesGiveTwoArchivesWithOneTimeText)
{
    const QString a = file('C', "DOS/OLD.TXT", QByteArray(5000, 'a'));
    const QString b = file('C', "long folder name/Ünïcode file.text", "bee");
    const QString d = file('D', "data/d.bin", QByteArray::fromHex("00ff10ee"));
    const ZipOperationResult r = run({a, b, d}, settings());

    const QString archiveC = "C:\\zips\\Drive-C-Duplicates06Sep990533.zip";
    const QString archiveD = "C:\\zips\\Drive-D-Duplicates06Sep990533.zip";
    EXPECT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
    EXPECT_TRUE(r.ran);
    EXPECT_EQ(r.archives, QStringList({archiveC, archiveD}));
    QString comment;
    const auto c = entries(archiveC, &comment);
    EXPECT_EQ(c.keys(), QStringList({"DOS/OLD.TXT", "long folder name/Ünïcode file.text"}));
    EXPECT_EQ(c.value("DOS/OLD.TXT"), QByteArray(5000, 'a'));
    EXPECT_EQ(comment, "old files");
    EXPECT_EQ(entries(archiveD), (QMap<QString, QByteArray>{{"data/d.bin", QByteArray::fromHex("00ff10ee")}}));
    EXPECT_FALSE(exists(a));
    EXPECT_FALSE(exists(b));
    EXPECT_FALSE(exists(d));
    EXPECT_EQ(r.zippedFiles, 3);
    EXPECT_EQ(r.zippedBytes, 5000 + 3 + 4);
    expectUnzipTestPasses(archiveC);
    expectUnzipTestPasses(archiveD);
}

TEST_F(ZipOpTest, SameMinuteAddsToTheSameArchive)
{
    const QString first = file('C', "w/first.txt", "one");
    run({first}, settings());
    const QString second = file('C', "w/second.txt", "two");
    ZipOperationSettings later = settings();
    later.start = kStart.addSecs(40);  // 05:33:50, the same minute
    const ZipOperationResult r = run({second}, later);

    EXPECT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
    EXPECT_EQ(r.archives, QStringList({"C:\\zips\\Drive-C-Duplicates06Sep990533.zip"}));
    EXPECT_EQ(entries(r.archives.first()),
              (QMap<QString, QByteArray>{{"w/first.txt", "one"}, {"w/second.txt", "two"}}));
    EXPECT_EQ(QDir(drives.posix(QString("C:\\zips"))).entryList(QDir::Files).size(), 1);
    expectUnzipTestPasses(r.archives.first());
}

TEST_F(ZipOpTest, ArchiveNamesFollowTagAndFolder)
{
    struct Case {
        const char* tag;
        const char* folder;
        const char* archive;
    } cases[] = {
        {"", "C:\\zips", "C:\\zips\\Drive-C-06Sep990533.zip"},               // the folder browser: no tag
        {"FileDates", "C:\\zips\\", "C:\\zips\\Drive-C-FileDates06Sep990533.zip"},
        // No folder: the default archive folder, the home folder (here off
        // the drives, so the root of C:).
        {"TempClean", "", "C:\\Drive-C-TempClean06Sep990533.zip"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.tag);
        const QString f = file('C', "x/" + QString(c.tag) + ".txt", c.tag);
        ZipOperationSettings s = settings(c.tag);
        s.zipFolder = c.folder;
        const ZipOperationResult r = run({f}, s);
        EXPECT_EQ(r.archives, QStringList({c.archive}));
        EXPECT_EQ(r.zippedFiles, 1);
        EXPECT_TRUE(exists(c.archive));
        EXPECT_FALSE(exists(f));
    }
    EXPECT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
}

TEST_F(ZipOpTest, AnEntryThatExistsIsKeptAndReported)
{
    const QString f = file('C', "w/a.txt", "first contents");
    run({f}, settings());
    file('C', "w/a.txt", "second contents");
    const QString other = file('C', "w/b.txt", "b");
    const ZipOperationResult r = run({f, other}, settings());

    EXPECT_EQ(errors, QStringList({"Couldn't zip up file - C:\\w\\a.txt"}));
    EXPECT_EQ(read(f), "second contents");  // never stored, so never deleted
    EXPECT_FALSE(exists(other));
    EXPECT_EQ(entries(r.archives.first()),
              (QMap<QString, QByteArray>{{"w/a.txt", "first contents"}, {"w/b.txt", "b"}}));
    EXPECT_EQ(r.zippedFiles, 1);
    EXPECT_EQ(r.zippedBytes, 1);
    EXPECT_EQ(r.notZipped, QStringList({f}));
}

TEST_F(ZipOpTest, AnArchiveThatCannotBeReadStopsBeforeAnythingIsTouched)
{
    const QByteArray notAZip = "this is not a zip archive, and it must stay exactly like this";
    drives.writeFile('C', "zips/Drive-D-Duplicates06Sep990533.zip", notAZip);
    const QString c = file('C', "w/c.txt", "c");
    const QString d = file('D', "w/d.txt", "d");
    const ZipOperationResult r = run({c, d}, settings());

    EXPECT_FALSE(r.ran);
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors.first().startsWith("Couldn't open the archive C:\\zips\\Drive-D-Duplicates06Sep990533.zip"))
        << errors.first().toStdString();
    // The files of the other drive wait as well: nothing is deleted.
    EXPECT_EQ(read(c), "c");
    EXPECT_EQ(read(d), "d");
    EXPECT_EQ(read("C:\\zips\\Drive-D-Duplicates06Sep990533.zip"), notAZip);
    EXPECT_FALSE(exists("C:\\zips\\Drive-C-Duplicates06Sep990533.zip"));
    EXPECT_EQ(r.zippedFiles, 0);
    EXPECT_EQ(r.notTried, QStringList({c, d}));
}

TEST_F(ZipOpTest, TheArchivesOfTheOperationAreNeverStored)
{
    // The archive of drive C (an earlier run of the same minute) and the one
    // of drive D, which also lives on C, are both on the list.
    run({file('C', "w/old.txt", "old")}, settings());
    run({file('D', "w/oldd.txt", "old d")}, settings());
    const QString archiveC = "C:\\zips\\Drive-C-Duplicates06Sep990533.zip";
    const QString archiveD = "C:\\zips\\Drive-D-Duplicates06Sep990533.zip";
    const QString d = file('D', "w/d.txt", "d");
    errors.clear();
    const ZipOperationResult r = run({archiveC, archiveD, d}, settings());

    EXPECT_EQ(errors, QStringList({"Couldn't zip up file - " + archiveC, "Couldn't zip up file - " + archiveD}));
    EXPECT_EQ(entries(archiveC).keys(), QStringList({"w/old.txt"}));
    EXPECT_EQ(entries(archiveD).keys(), QStringList({"w/d.txt", "w/oldd.txt"}));
    EXPECT_EQ(r.zippedFiles, 1);
    expectUnzipTestPasses(archiveC);
    expectUnzipTestPasses(archiveD);
}

TEST_F(ZipOpTest, FilesThatCannotBeStoredOrDeletedStay)
{
    const QString missing = "C:\\w\\gone.txt";
    const QString noDrive = "relative\\name.txt";
    const QString kept = file('C', "locked/kept.txt", "kept");
    const QString fine = file('C', "w/fine.txt", "fine!");
    const bool undeletable = delete_test::makeUndeletable(drives.posix(kept));
    const ZipOperationResult r = run({missing, noDrive, kept, fine}, settings());
    delete_test::undoUndeletable(drives.posix(kept));

    QStringList expected = {"Couldn't zip up file - " + missing, "Couldn't zip up file - " + noDrive};
    if (undeletable)
        expected << "Couldn't delete file - " + kept;
    EXPECT_EQ(errors, expected);
    EXPECT_EQ(r.notZipped, QStringList({missing, noDrive}));
    EXPECT_EQ(read(kept), undeletable ? QByteArray("kept") : QByteArray("<missing>"));
    EXPECT_FALSE(exists(fine));
    // Only what was zipped and deleted counts.
    EXPECT_EQ(r.zippedFiles, undeletable ? 1 : 2);
    EXPECT_EQ(r.zippedBytes, undeletable ? 5 : 9);
    EXPECT_EQ(r.notDeleted, undeletable ? QStringList({kept}) : QStringList());
    // Stored all the same: it can be restored should it be deleted later.
    EXPECT_EQ(entries(r.archives.first()).value("locked/kept.txt"), "kept");
}

TEST_F(ZipOpTest, AFileChangedAfterItWasReadIsNotDeleted)
{
    const QString a = file('C', "w/a.txt", "as read");
    const QString b = file('C', "w/b.txt", "b");
    del::ZipOperationCallbacks cb;
    cb.fileStarted = [&](int index, const QString&) {
        if (index == 1)  // a is stored but not yet committed
            drives.writeFile('C', "w/a.txt", "written to meanwhile");
    };
    // One commit at the end takes both files, however slow the machine.
    ZipOperationSettings s = settings();
    s.commitIntervalMs = 3600 * 1000;
    const ZipOperationResult r = run({a, b}, s, nullptr, cb);
    // What the archive holds is not what the file holds now: not zipped up.
    EXPECT_EQ(errors, QStringList({"Couldn't zip up file - " + a}));
    EXPECT_EQ(r.notZipped, QStringList({a}));
    EXPECT_EQ(read(a), "written to meanwhile");
    EXPECT_FALSE(exists(b));
    EXPECT_EQ(r.zippedFiles, 1);
}

TEST_F(ZipOpTest, OnlyADurableUnchangedSourceIsDeleted)
{
    const QString f = file('C', "w/f.txt", "contents");
    plat::FileStamp stamp;
    ASSERT_TRUE(plat::stampOfRegularFile(*plat::toPosix(f), &stamp));
    comp::ZipCommitted c;
    c.sourcePath = f;
    c.sourceSize = stamp.size;
    c.sourceMtimeNs = stamp.mtimeNs;
    c.sourceDevice = stamp.device;
    c.sourceInode = stamp.inode;

    c.durable = false;
    EXPECT_FALSE(del::deleteIfUnchanged(c));
    c.durable = true;
    c.sourceSize = stamp.size + 1;  // grown since it was read
    EXPECT_FALSE(del::deleteIfUnchanged(c));
    c.sourceSize = stamp.size;
    c.sourceMtimeNs = stamp.mtimeNs - 1;  // written to since
    EXPECT_FALSE(del::deleteIfUnchanged(c));
    EXPECT_EQ(read(f), "contents");
    c.sourceMtimeNs = stamp.mtimeNs;
    EXPECT_TRUE(del::deleteIfUnchanged(c));
    EXPECT_FALSE(exists(f));
    EXPECT_FALSE(del::deleteIfUnchanged(c));  // gone
}

TEST_F(ZipOpTest, AbortBetweenFilesKeepsTheRest)
{
    QStringList files;
    for (int i = 0; i < 5; ++i)
        files << file('C', QString("w/%1.txt").arg(i), QByteArray(100 + i, 'x'));
    bool abort = false;
    del::ZipOperationCallbacks cb;
    QList<int> started;
    cb.fileStarted = [&](int index, const QString&) {
        started << index;
        if (index == 1)
            abort = true;  // the user confirmed Cancel while file 1 began
    };
    const ZipOperationResult r = run(files, settings(), &abort, cb);

    EXPECT_TRUE(r.aborted);
    EXPECT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
    EXPECT_EQ(started, QList<int>({0, 1}));
    EXPECT_FALSE(exists(files[0]));
    for (int i = 1; i < 5; ++i)
        EXPECT_TRUE(exists(files[i])) << i;
    EXPECT_EQ(r.zippedFiles, 1);
    EXPECT_EQ(r.zippedBytes, 100);
    EXPECT_EQ(r.notTried, files.mid(1));
    EXPECT_EQ(entries(r.archives.first()).keys(), QStringList({"w/0.txt"}));
}

TEST_F(ZipOpTest, AbortWithinAFileAbandonsIt)
{
    const QString small = file('C', "w/small.txt", "s");
    QByteArray big(4 << 20, 0);
    for (int i = 0; i < big.size(); ++i)
        big[i] = char((unsigned(i) * 7919u) >> 3);  // wraps, without overflow
    const QString large = file('C', "w/large.bin", big);
    bool abort = false;
    del::ZipOperationCallbacks cb;
    QList<int> percents;
    cb.fileProgress = [&](int percent) {
        percents << percent;
        if (percent > 0 && percent < 100)
            abort = true;
    };
    const ZipOperationResult r = run({large, small}, settings(), &abort, cb);
    ASSERT_TRUE(r.aborted);
    EXPECT_TRUE(std::any_of(percents.begin(), percents.end(), [](int p) { return p > 0 && p < 100; }));
    // Abandoned on request: neither file is reported, both wait untried.
    EXPECT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
    EXPECT_EQ(r.notTried, QStringList({large, small}));
    EXPECT_TRUE(r.notZipped.isEmpty());
    EXPECT_EQ(read(large), big);
    EXPECT_EQ(read(small), "s");
    EXPECT_EQ(r.zippedFiles, 0);
    EXPECT_TRUE(entries(r.archives.first()).isEmpty());
}

TEST_F(ZipOpTest, KeepingTheFilesCountsThemAsZipped)
{
    const QString f = file('C', "w/keep.txt", "keep me");
    ZipOperationSettings s = settings();
    s.deleteAfterZip = false;
    const ZipOperationResult r = run({f}, s);
    EXPECT_EQ(read(f), "keep me");
    EXPECT_EQ(r.zippedFiles, 1);
    EXPECT_EQ(entries(r.archives.first()).value("w/keep.txt"), "keep me");
}

TEST_F(ZipOpTest, ALinkIsNeitherStoredNorFollowed)
{
    const QString target = file('C', "w/target.txt", "target");
    const QString link = "C:\\w\\link.txt";
    ASSERT_TRUE(QFile::link(drives.posix(target), drives.posix(link)));
    const ZipOperationResult r = run({link}, settings());
    EXPECT_EQ(errors, QStringList({"Couldn't zip up file - " + link}));
    EXPECT_TRUE(QFileInfo(drives.posix(link)).isSymLink());
    EXPECT_EQ(read(target), "target");
    EXPECT_EQ(r.zippedFiles, 0);
}

TEST_F(ZipOpTest, TheRecordCountsOnlyWhatWasZippedAndDeleted)
{
    del::DeletionLog log(drives.root() + "/grdelete.txt");
    const QString a = file('C', "w/a.txt", QByteArray(300, 'a'));
    const QString missing = "C:\\w\\missing.txt";
    const ZipOperationResult r = run({a, missing}, settings());
    ASSERT_TRUE(del::recordZipOperation(r, log));
    EXPECT_EQ(core::SettingsStore::readString("Trovik", "NZip"), "1");
    EXPECT_EQ(core::SettingsStore::readString("Trovik", "SizeZip"), "300");
    EXPECT_EQ(log.cell(5, 1), "1");
    EXPECT_EQ(log.cell(6, 1), "300");
    EXPECT_EQ(log.cell(1, 1), "0");

    // An operation that never ran records nothing.
    ZipOperationResult none;
    ASSERT_TRUE(del::recordZipOperation(none, log));
    EXPECT_EQ(log.usedRows(), 1);
}

}  // namespace

// The zip operation's guards: an archive of the run reached under another
// path, a source replaced by a look-alike before its deletion, an archive
// that cannot be made, archives left untouched when a later one fails to
// open, and an archive another operation is writing.
#include "components/zip/zipreader.h"
#include "delete/archivebatch.h"
#include "delete/zipoperation.h"
#include "platform/drives.h"
#include "platform/durablefile.h"
#include "zipop_fixture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstdio>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

using del::ZipOperationResult;
using del::ZipOperationSettings;

const QDateTime kStart(QDate(2003, 3, 14), QTime(15, 9, 26));
const QString kArchiveC = "C:\\zips\\Drive-C-Guard14Mar031509.zip";
const QString kArchiveD = "C:\\zips\\Drive-D-Guard14Mar031509.zip";

class ZipGuardTest : public zipop_test::ZipSourcesTest {
protected:
    QStringList entryNames(const QString& archive) const
    {
        comp::ZipReader r;
        QStringList out;
        if (r.open(archive))
            for (const auto& e : r.entries())
                out << e.name;
        out.sort();
        return out;
    }

    ZipOperationSettings settings(const QString& folder = "C:\\zips") const
    {
        ZipOperationSettings s;
        s.zipFolder = folder;
        s.tag = "Guard";
        s.comment = "guarded";
        s.start = kStart;
        return s;
    }
    ZipOperationResult run(const QStringList& files, const ZipOperationSettings& s, del::ZipOperationCallbacks cb = {})
    {
        cb.error = [this](const QString& m) { errors << m; };
        return del::zipThenDelete(files, s, nullptr, cb);
    }

};

// The archive folder is given through a link, so the archives of the run
// are also listed under their real path.
class LinkedFolderTest : public ZipGuardTest {
protected:
    void SetUp() override
    {
        ZipGuardTest::SetUp();
        ASSERT_TRUE(QFile::link(drives.posix(QString("C:\\zips")), drives.posix(QString("C:\\ziplink"))));
    }
    const QString linkedD = "C:\\ziplink\\Drive-D-Guard14Mar031509.zip";
};

TEST_F(LinkedFolderTest, AnArchiveOfAnEarlierRunIsNeverStoredInAnother)
{
    run({file('D', "w/old.txt", "old d")}, settings("C:\\ziplink"));
    ASSERT_TRUE(exists(kArchiveD));
    errors.clear();
    const QString d = file('D', "w/new.txt", "new d");
    const QString c = file('C', "w/c.txt", "c");
    // kArchiveD is a file of drive C: it would go into drive C's archive.
    const ZipOperationResult r = run({d, kArchiveD, c}, settings("C:\\ziplink"));

    EXPECT_EQ(errors, QStringList({"Couldn't zip up file - " + kArchiveD}));
    EXPECT_EQ(r.notZipped, QStringList({kArchiveD}));
    EXPECT_EQ(entryNames(kArchiveD), QStringList({"w/new.txt", "w/old.txt"}));
    EXPECT_EQ(entryNames(kArchiveC), QStringList({"w/c.txt"}));
    EXPECT_FALSE(exists(d));
    EXPECT_FALSE(exists(c));
    EXPECT_EQ(r.zippedFiles, 2);
}

TEST_F(LinkedFolderTest, AnArchiveMadeByThisRunIsNeverStoredInAnother)
{
    const QString d = file('D', "w/d.txt", "d");
    const QString c = file('C', "w/c.txt", "c");
    const ZipOperationResult r = run({d, kArchiveD, c}, settings("C:\\ziplink"));

    EXPECT_EQ(errors, QStringList({"Couldn't zip up file - " + kArchiveD}));
    EXPECT_EQ(entryNames(linkedD), QStringList({"w/d.txt"}));
    EXPECT_EQ(entryNames(kArchiveC), QStringList({"w/c.txt"}));
    EXPECT_EQ(r.zippedFiles, 2);
}

TEST_F(ZipGuardTest, AHardLinkToAnArchiveIsNeverStored)
{
    run({file('D', "w/old.txt", "old d")}, settings());
    const QString alias = "C:\\w\\alias.zip";
    QDir().mkpath(drives.posix(QString("C:\\w")));
    ASSERT_EQ(::link(QFile::encodeName(drives.posix(kArchiveD)).constData(),
                     QFile::encodeName(drives.posix(alias)).constData()),
              0);
    errors.clear();
    const ZipOperationResult r = run({file('D', "w/d.txt", "d"), alias}, settings());
    EXPECT_EQ(errors, QStringList({"Couldn't zip up file - " + alias}));
    EXPECT_TRUE(exists(alias));
    EXPECT_TRUE(entryNames(kArchiveC).isEmpty());
    EXPECT_EQ(entryNames(kArchiveD), QStringList({"w/d.txt", "w/old.txt"}));
}

// Same size, same time, another file: renamed over the source after the
// writer read it, as "cp -p" and a rename would leave it.
TEST_F(ZipGuardTest, ASourceReplacedByALookAlikeIsKept)
{
    const QString a = file('C', "w/a.txt", "original");
    const QString b = file('C', "w/b.txt", "b");
    const QDateTime when(QDate(2001, 2, 3), QTime(4, 5, 6));
    const auto setTime = [&](const QString& posix) {
        QFile f(posix);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        ASSERT_TRUE(f.setFileTime(when, QFileDevice::FileModificationTime));
    };
    setTime(drives.posix(a));
    del::ZipOperationCallbacks cb;
    cb.fileStarted = [&](int index, const QString&) {
        if (index != 1)  // a is stored, not yet committed
            return;
        const QString twin = drives.writeFile('C', "w/twin.tmp", "replaced");
        setTime(twin);
        ASSERT_EQ(::rename(QFile::encodeName(twin).constData(), QFile::encodeName(drives.posix(a)).constData()), 0);
    };
    ZipOperationSettings s = settings();
    s.commitIntervalMs = 3600 * 1000;  // one commit at the end
    const ZipOperationResult r = run({a, b}, s, cb);

    EXPECT_EQ(read(a), "replaced");
    EXPECT_FALSE(r.zipped.contains(a));
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors.first() == "Couldn't delete file - " + a || errors.first() == "Couldn't zip up file - " + a)
        << errors.first().toStdString();
    EXPECT_FALSE(exists(b));
    EXPECT_EQ(r.zippedFiles, 1);
}

TEST_F(ZipGuardTest, DeletesOnlyTheFileThatWasRead)
{
    const QString f = file('C', "w/f.txt", "contents");
    plat::FileStamp stamp;
    ASSERT_TRUE(plat::stampOfRegularFile(*plat::toPosix(f), &stamp));
    comp::ZipCommitted c;
    c.sourcePath = f;
    c.durable = true;
    c.sourceSize = stamp.size;
    c.sourceMtimeNs = stamp.mtimeNs;
    c.sourceDevice = stamp.device;
    c.sourceInode = stamp.inode + 1;  // another file was read
    EXPECT_FALSE(del::deleteIfUnchanged(c));
    c.sourceInode = stamp.inode;
    c.sourceDevice = stamp.device + 1;
    EXPECT_FALSE(del::deleteIfUnchanged(c));
    EXPECT_EQ(read(f), "contents");
    c.sourceDevice = stamp.device;
    EXPECT_TRUE(del::deleteIfUnchanged(c));
    EXPECT_FALSE(exists(f));
}

TEST_F(ZipGuardTest, AnArchiveThatCannotBeMadeStopsTheRunWithOneError)
{
    QStringList files;
    for (int i = 0; i < 4; ++i)
        files << file(i % 2 ? 'D' : 'C', QString("w/%1.txt").arg(i), "data");
    const ZipOperationResult r = run(files, settings("C:\\no such folder"));

    ASSERT_EQ(errors.size(), 1) << errors.join('\n').toStdString();
    EXPECT_TRUE(errors.first().startsWith("Couldn't write the archive C:\\no such folder\\Drive-C-Guard14Mar031509.zip - "))
        << errors.first().toStdString();
    EXPECT_GT(errors.first().size(), QString("Couldn't write the archive C:\\no such folder\\Drive-C-Guard14Mar031509.zip - ").size());
    EXPECT_TRUE(r.ran);
    EXPECT_TRUE(r.stopped);
    EXPECT_EQ(r.notTried, files);
    EXPECT_EQ(r.zippedFiles, 0);
    for (const QString& f : files)
        EXPECT_EQ(read(f), "data") << f.toStdString();
}

TEST_F(ZipGuardTest, AReadOnlyArchiveFolderStopsTheRunWithOneError)
{
    const QString folder = drives.makeFolder('C', "locked");
    if (!testing_support::immutableSupported(folder))
        GTEST_SKIP() << "chattr +i is not available here";
    const QString a = file('C', "w/a.txt", "a");
    const QString b = file('C', "w/b.txt", "b");
    ASSERT_TRUE(testing_support::setImmutable(folder, true));
    const ZipOperationResult r = run({a, b}, settings("C:\\locked"));
    testing_support::setImmutable(folder, false);

    ASSERT_EQ(errors.size(), 1) << errors.join('\n').toStdString();
    EXPECT_TRUE(errors.first().startsWith("Couldn't write the archive C:\\locked\\")) << errors.first().toStdString();
    EXPECT_TRUE(r.stopped);
    EXPECT_EQ(r.notTried, QStringList({a, b}));
    EXPECT_EQ(read(a), "a");
    EXPECT_EQ(read(b), "b");
    EXPECT_TRUE(QDir(folder).isEmpty());
}

TEST_F(ZipGuardTest, AnArchiveOpenedBeforeAFailingOneIsLeftByteForByte)
{
    run({file('C', "w/earlier.txt", "earlier")}, settings());
    const QByteArray before = read(kArchiveC);
    ASSERT_FALSE(before.isEmpty());
    drives.writeFile('C', "zips/Drive-D-Guard14Mar031509.zip", "not an archive");
    errors.clear();
    const QString c = file('C', "w/c.txt", "c");
    const QString d = file('D', "w/d.txt", "d");
    ZipOperationSettings s = settings();
    s.comment = "another comment";  // would be written, were the archive touched
    const ZipOperationResult r = run({c, d}, s);

    EXPECT_FALSE(r.ran);
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors.first().startsWith("Couldn't open the archive " + kArchiveD));
    EXPECT_EQ(read(kArchiveC), before);
    EXPECT_EQ(read(c), "c");
    EXPECT_EQ(read(d), "d");
}

TEST_F(ZipGuardTest, AnArchiveInUseByAnotherOperationIsLeftAlone)
{
    const QString first = file('C', "w/first.txt", "first");
    const QString second = file('C', "w/second.txt", "second");
    const QString other = file('C', "w/other.txt", "other");
    ZipOperationResult inner;
    QStringList innerErrors;
    del::ZipOperationCallbacks cb;
    cb.fileStarted = [&](int index, const QString&) {
        if (index != 1)
            return;
        // A second operation started from the window's event processing
        // while this one holds the archive (it exists since the first file).
        del::ZipOperationCallbacks innerCb;
        innerCb.error = [&](const QString& m) { innerErrors << m; };
        inner = del::zipThenDelete({other}, settings(), nullptr, innerCb);
    };
    ZipOperationSettings s = settings();
    s.commitIntervalMs = 3600 * 1000;
    const ZipOperationResult outer = run({first, second}, s, cb);

    EXPECT_FALSE(inner.ran);
    ASSERT_EQ(innerErrors.size(), 1);
    EXPECT_TRUE(innerErrors.first().contains("is in use by another operation.")) << innerErrors.first().toStdString();
    EXPECT_EQ(inner.zippedFiles, 0);
    EXPECT_EQ(read(other), "other");
    // The first operation went on undisturbed.
    EXPECT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
    EXPECT_EQ(outer.zippedFiles, 2);
    EXPECT_EQ(entryNames(kArchiveC), QStringList({"w/first.txt", "w/second.txt"}));
}

}  // namespace

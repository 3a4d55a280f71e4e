// One writer per archive at a time (two would both append at the same
// central directory offset and the later would overwrite the earlier's
// entries), and the identity of what was read, so a caller deletes only
// the file that was stored and never one of its own open archives.
#include "components/zip/zipreader.h"
#include "components/zip/zipwriter.h"
#include "platform/durablefile.h"
#include "support/tempdrives.h"
#include "zip_testutil.h"

#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace comp;
using namespace ziptest;

namespace {

class ZipLockTest : public ::testing::Test {
protected:
    QTemporaryDir tmp;
    QString src(const QString& rel) const { return tmp.path() + "/src/" + rel; }
    QString archive() const { return tmp.path() + "/a.zip"; }
    QString inUse() const
    {
        return QStringLiteral("The archive %1 is in use by another operation.").arg(archive());
    }

    // An archive holding one committed entry per name.
    void makeArchive(const QStringList& names)
    {
        ZipWriter w;
        ASSERT_TRUE(w.openPosix(posix(archive()))) << w.errorText().toStdString();
        for (const QString& n : names) {
            writeAll(src(n), textBytes(500) + n.toUtf8());
            ASSERT_EQ(w.addFilePosix(posix(src(n)), n), ZipAddResult::Added);
        }
        ASSERT_TRUE(w.close().ok);
    }

    QStringList entryNames()
    {
        ZipReader r;
        EXPECT_TRUE(r.openPosix(posix(archive()))) << r.errorText().toStdString();
        QStringList names;
        for (const auto& e : r.entries())
            names << e.name;
        return names;
    }
};

// Runs the helper that keeps an archive open; waits for its first line.
struct Holder {
    QProcess p;
    QByteArray firstLine;
    bool start(const QStringList& args)
    {
        p.start(QStringLiteral(ZIP_CRASH_CHILD), QStringList{"--hold"} + args);
        if (!p.waitForStarted())
            return false;
        while (!p.canReadLine() && p.waitForReadyRead(30000)) {
        }
        firstLine = p.readLine().trimmed();
        return true;
    }
    int release()
    {
        if (p.state() == QProcess::Running)
            p.write("go\n");
        p.closeWriteChannel();
        if (!p.waitForFinished(30000))
            return -1;
        return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    }
    ~Holder()
    {
        if (p.state() != QProcess::NotRunning) {
            p.kill();
            p.waitForFinished();
        }
    }
};

}  // namespace

TEST_F(ZipLockTest, SecondWriterIsRefusedUntilTheFirstCloses)
{
    makeArchive({"one.txt"});
    const QByteArray before = readAll(archive());
    ZipWriter first;
    ASSERT_TRUE(first.openPosix(posix(archive())));
    ZipWriter second;
    EXPECT_FALSE(second.openPosix(posix(archive())));
    EXPECT_EQ(second.errorText(), inUse());
    EXPECT_FALSE(second.isOpen());
    writeAll(src("two.txt"), "two");
    EXPECT_EQ(second.addFilePosix(posix(src("two.txt")), "two.txt"), ZipAddResult::WriteFailed);
    EXPECT_EQ(readAll(archive()), before);  // the refused writer wrote nothing

    ASSERT_EQ(first.addFilePosix(posix(src("two.txt")), "two.txt"), ZipAddResult::Added);
    ASSERT_TRUE(first.close().ok);
    ASSERT_TRUE(second.openPosix(posix(archive()))) << second.errorText().toStdString();
    EXPECT_TRUE(second.contains("two.txt"));  // read after the first writer's commit
    writeAll(src("three.txt"), "three");
    ASSERT_EQ(second.addFilePosix(posix(src("three.txt")), "three.txt"), ZipAddResult::Added);
    ASSERT_TRUE(second.close().ok);
    EXPECT_EQ(entryNames(), (QStringList{"one.txt", "two.txt", "three.txt"}));
}

TEST_F(ZipLockTest, ReopeningTheSameWriterReleasesItsOwnLock)
{
    makeArchive({"one.txt"});
    ZipWriter w;
    ASSERT_TRUE(w.openPosix(posix(archive())));
    ASSERT_TRUE(w.openPosix(posix(archive()))) << w.errorText().toStdString();
    ZipWriter other;
    EXPECT_FALSE(other.openPosix(posix(archive())));
    w.close();
    EXPECT_TRUE(other.openPosix(posix(archive()))) << other.errorText().toStdString();
}

TEST_F(ZipLockTest, ANewArchiveIsLockedOnceCreated)
{
    writeAll(src("one.txt"), "one");
    ZipWriter first;
    ASSERT_TRUE(first.openPosix(posix(archive())));
    ASSERT_EQ(first.addFilePosix(posix(src("one.txt")), "one.txt"), ZipAddResult::Added);
    ZipWriter second;
    EXPECT_FALSE(second.openPosix(posix(archive())));
    EXPECT_EQ(second.errorText(), inUse());
    ASSERT_TRUE(first.close().ok);
    EXPECT_EQ(entryNames(), QStringList{"one.txt"});
}

// Both found no archive at open; the one that adds second finds it made by
// the other and must not write into it without having read its directory.
TEST_F(ZipLockTest, TwoWritersCreatingTheSameArchive)
{
    writeAll(src("one.txt"), "one");
    writeAll(src("two.txt"), "two");
    ZipWriter first;
    ZipWriter second;
    ASSERT_TRUE(first.openPosix(posix(archive())));
    ASSERT_TRUE(second.openPosix(posix(archive())));
    ASSERT_EQ(first.addFilePosix(posix(src("one.txt")), "one.txt"), ZipAddResult::Added);
    EXPECT_EQ(second.addFilePosix(posix(src("two.txt")), "two.txt"), ZipAddResult::WriteFailed);
    EXPECT_EQ(second.lastAddError(), inUse());
    // It stays refused; its commit has nothing to report as durable.
    EXPECT_EQ(second.addFilePosix(posix(src("two.txt")), "two.txt"), ZipAddResult::WriteFailed);
    const ZipCommitResult sc = second.close();
    EXPECT_TRUE(sc.entries.empty());
    ASSERT_TRUE(first.close().ok);
    EXPECT_EQ(entryNames(), QStringList{"one.txt"});
}

TEST_F(ZipLockTest, AnotherProcessHoldingTheArchive)
{
    makeArchive({"one.txt"});
    const QByteArray before = readAll(archive());
    {
        Holder h;
        ASSERT_TRUE(h.start({archive()}));
        ASSERT_EQ(h.firstLine, "locked");
        ZipWriter w;
        EXPECT_FALSE(w.openPosix(posix(archive())));
        EXPECT_EQ(w.errorText(), inUse());
        EXPECT_EQ(h.release(), 0);
        EXPECT_EQ(readAll(archive()), before);
        EXPECT_TRUE(w.openPosix(posix(archive()))) << w.errorText().toStdString();
    }
    {
        // The other way round: this process holds it, the child is refused.
        ZipWriter w;
        ASSERT_TRUE(w.openPosix(posix(archive())));
        Holder h;
        ASSERT_TRUE(h.start({archive()}));
        EXPECT_EQ(h.firstLine, inUse().toLocal8Bit());
        EXPECT_EQ(h.release(), 2);
    }
}

TEST_F(ZipLockTest, AnotherProcessCreatedTheArchive)
{
    writeAll(src("held.txt"), "held by the child");
    writeAll(src("mine.txt"), "mine");
    ZipWriter w;
    ASSERT_TRUE(w.openPosix(posix(archive())));  // not there yet
    Holder h;
    ASSERT_TRUE(h.start({archive(), src("held.txt")}));
    ASSERT_EQ(h.firstLine, "locked");
    EXPECT_EQ(w.addFilePosix(posix(src("mine.txt")), "mine.txt"), ZipAddResult::WriteFailed);
    EXPECT_EQ(w.lastAddError(), inUse());
    EXPECT_EQ(h.release(), 0);
    w.close();
    EXPECT_EQ(entryNames(), QStringList{"held.txt"});
}

TEST(ZipLockDrivePaths, TheMessageNamesTheArchiveAsTheCallerDid)
{
    testing_support::TempDrives drives("C");
    drives.writeFile('C', "DOS/OLD.TXT", "old contents");
    drives.makeFolder('C', "ARCH");
    const QString path = QStringLiteral("C:\\ARCH\\Drive-C-x.zip");
    ZipWriter first;
    ASSERT_TRUE(first.open(path));
    ASSERT_EQ(first.addFile("C:\\DOS\\OLD.TXT", "DOS/OLD.TXT"), ZipAddResult::Added);
    ZipWriter second;
    EXPECT_FALSE(second.open(path));
    EXPECT_EQ(second.errorText(), "The archive C:\\ARCH\\Drive-C-x.zip is in use by another operation.");
}

TEST(DurableFileLock, ExclusiveBetweenDescriptorsOfOneProcess)
{
    QTemporaryDir tmp;
    const QByteArray path = posix(tmp.path() + "/f");
    writeAll(tmp.path() + "/f", "x");
    plat::DurableFile a;
    plat::DurableFile b;
    ASSERT_TRUE(a.open(path, plat::DurableFile::Mode::Update));
    ASSERT_TRUE(b.open(path, plat::DurableFile::Mode::Update));
    EXPECT_EQ(a.lockExclusive(), plat::DurableFile::LockResult::Locked);
    EXPECT_EQ(b.lockExclusive(), plat::DurableFile::LockResult::Busy);
    EXPECT_FALSE(b.errorText().isEmpty());
    a.close();
    EXPECT_EQ(b.lockExclusive(), plat::DurableFile::LockResult::Locked);
    plat::DurableFile closed;
    EXPECT_EQ(closed.lockExclusive(), plat::DurableFile::LockResult::Failed);
}

// ------------------------------------------------------------------ identity

TEST_F(ZipLockTest, CommittedEntriesCarryTheIdentityOfWhatWasRead)
{
    const QStringList names = {"a.txt", "sub/b.bin", "empty"};
    writeAll(src("a.txt"), textBytes(10'000));
    writeAll(src("sub/b.bin"), randomBytes(5 * 1024 * 1024));  // the streamed path
    writeAll(src("empty"), QByteArray());
    ZipWriter w;
    ASSERT_TRUE(w.openPosix(posix(archive())));
    for (const QString& n : names)
        ASSERT_EQ(w.addFilePosix(posix(src(n)), n), ZipAddResult::Added);
    const ZipCommitResult c = w.commit();
    ASSERT_TRUE(c.ok);
    ASSERT_EQ(c.entries.size(), size_t(names.size()));
    for (const ZipCommitted& e : c.entries) {
        SCOPED_TRACE(e.entryName.toStdString());
        struct stat st {};
        ASSERT_EQ(::stat(posix(src(e.entryName)).constData(), &st), 0);
        EXPECT_TRUE(e.durable);
        EXPECT_EQ(e.sourceDevice, quint64(st.st_dev));
        EXPECT_EQ(e.sourceInode, quint64(st.st_ino));
        EXPECT_EQ(e.sourceSize, qint64(st.st_size));
        EXPECT_EQ(e.sourceMtimeNs, qint64(st.st_mtim.tv_sec) * 1'000'000'000LL + st.st_mtim.tv_nsec);
    }
    EXPECT_NE(c.entries[0].sourceInode, c.entries[1].sourceInode);
}

// A file put in the source's place after the commit has another inode: the
// identity lets the caller see that it is not the file that was stored.
TEST_F(ZipLockTest, AReplacedSourceHasAnotherIdentity)
{
    writeAll(src("a.txt"), "original");
    ZipWriter w;
    ASSERT_TRUE(w.openPosix(posix(archive())));
    ASSERT_EQ(w.addFilePosix(posix(src("a.txt")), "a.txt"), ZipAddResult::Added);
    const ZipCommitResult c = w.commit();
    ASSERT_EQ(c.entries.size(), 1u);
    ASSERT_TRUE(c.entries[0].durable);
    // Kept open so the new file cannot reuse the inode.
    QFile keep(tmp.path() + "/keep");
    ASSERT_TRUE(QFile::rename(src("a.txt"), keep.fileName()));
    ASSERT_TRUE(keep.open(QIODevice::ReadOnly));
    writeAll(src("a.txt"), "original");
    struct stat st {};
    ASSERT_EQ(::stat(posix(src("a.txt")).constData(), &st), 0);
    EXPECT_FALSE(c.entries[0].sourceDevice == quint64(st.st_dev) && c.entries[0].sourceInode == quint64(st.st_ino));
}

TEST_F(ZipLockTest, ArchiveIdentity)
{
    quint64 dev = 7;
    quint64 ino = 7;
    ZipWriter w;
    EXPECT_FALSE(w.archiveIdentity(dev, ino));  // nothing open
    ASSERT_TRUE(w.openPosix(posix(archive())));
    EXPECT_FALSE(w.archiveIdentity(dev, ino));  // not created yet
    writeAll(src("a.txt"), "a");
    ASSERT_EQ(w.addFilePosix(posix(src("a.txt")), "a.txt"), ZipAddResult::Added);
    ASSERT_TRUE(w.archiveIdentity(dev, ino));
    struct stat st {};
    ASSERT_EQ(::stat(posix(archive()).constData(), &st), 0);
    EXPECT_EQ(dev, quint64(st.st_dev));
    EXPECT_EQ(ino, quint64(st.st_ino));
    w.close();
    EXPECT_FALSE(w.archiveIdentity(dev, ino));

    // An existing archive: known right after open.
    ZipWriter again;
    ASSERT_TRUE(again.openPosix(posix(archive())));
    quint64 dev2 = 0;
    quint64 ino2 = 0;
    ASSERT_TRUE(again.archiveIdentity(dev2, ino2));
    EXPECT_EQ(dev2, quint64(st.st_dev));
    EXPECT_EQ(ino2, quint64(st.st_ino));
    // A refused open has no identity.
    ZipWriter refused;
    EXPECT_FALSE(refused.openPosix(posix(archive())));
    EXPECT_FALSE(refused.archiveIdentity(dev2, ino2));
}

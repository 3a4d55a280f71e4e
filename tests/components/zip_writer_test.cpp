// The zip writer: round trips, adding to an existing archive, the per-file
// results (name exists, unreadable, changed, aborted, the archive itself),
// commits and ZIP64 records.
#include "components/zip/zipreader.h"
#include "components/zip/zipwriter.h"
#include "zip_testutil.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace comp;
using namespace ziptest;

namespace {

class ZipWriterTest : public ::testing::Test {
protected:
    QTemporaryDir tmp;
    QString src(const QString& rel) const { return tmp.path() + "/src/" + rel; }
    QString archive() const { return tmp.path() + "/a.zip"; }
    QString out() const { return tmp.path() + "/out"; }

    // Adds files and commits; every file must end durable.
    void addAll(ZipWriter& w, const QStringList& rels)
    {
        for (const QString& r : rels)
            ASSERT_EQ(w.addFilePosix(posix(src(r)), r), ZipAddResult::Added) << r.toStdString();
        const ZipCommitResult c = w.commit();
        ASSERT_TRUE(c.ok) << c.errorText.toStdString();
        ASSERT_EQ(c.entries.size(), size_t(rels.size()));
        for (const ZipCommitted& e : c.entries)
            EXPECT_TRUE(e.durable) << e.entryName.toStdString() << ": " << e.errorText.toStdString();
    }

    const ZipEntryInfo* find(const ZipReader& r, const QString& name)
    {
        for (const ZipEntryInfo& e : r.entries())
            if (e.name == name)
                return &e;
        return nullptr;
    }
};

struct RoundTripCase {
    const char* label;
    QString name;
    QByteArray data;
    quint16 method;
};

}  // namespace

TEST_F(ZipWriterTest, RoundTripsEveryKindOfFile)
{
    const std::vector<RoundTripCase> cases = {
        {"empty", "empty.txt", QByteArray(), 0},
        {"tiny, deflate no help", "tiny.txt", "hello", 0},
        {"incompressible", "noise.bin", randomBytes(100'000), 0},
        {"compressible", "text.txt", textBytes(300'000), 8},
        {"utf-8 name", QString::fromUtf8("Über/naïve 文件.txt"), textBytes(1000), 8},
        {"nested folders", "a/b/c/d/deep.txt", textBytes(5000), 8},
        {"large streamed, compressible", "big/text.log", textBytes(6 * 1024 * 1024 + 123), 8},
        {"large streamed, incompressible", "big/noise.dat", randomBytes(5 * 1024 * 1024, 11), 0},
    };
    QStringList rels;
    for (const auto& c : cases) {
        writeAll(src(c.name), c.data);
        rels << c.name;
    }
    // A known mtime, to see it come back on extraction.
    const QString stamped = src("text.txt");
    {
        struct timespec ts[2] = {{0, UTIME_OMIT}, {1'300'000'000, 0}};
        ASSERT_EQ(::utimensat(AT_FDCWD, posix(stamped).constData(), ts, 0), 0);
    }
    {
        ZipWriter w;
        ASSERT_TRUE(w.openPosix(posix(archive()))) << w.errorText().toStdString();
        addAll(w, rels);
        EXPECT_EQ(w.entryCount(), int(cases.size()));
    }
    ZipReader r;
    ASSERT_TRUE(r.openPosix(posix(archive()))) << r.errorText().toStdString();
    EXPECT_FALSE(r.recovered());
    ASSERT_EQ(r.entries().size(), cases.size());
    QDir().mkpath(out());
    const auto reps = r.extractAllPosix(posix(out()));
    ASSERT_EQ(reps.size(), cases.size());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        const ZipEntryInfo* e = find(r, c.name);
        ASSERT_NE(e, nullptr);
        EXPECT_EQ(e->method, c.method);
        EXPECT_EQ(e->uncompressedSize, quint64(c.data.size()));
        EXPECT_EQ(e->crc, zipfmt::crc32Of(c.data));
        EXPECT_FALSE(e->encrypted);
        if (c.method == 8)
            EXPECT_LT(e->compressedSize, e->uncompressedSize);
        else
            EXPECT_EQ(e->compressedSize, e->uncompressedSize);
        EXPECT_EQ(readAll(out() + "/" + c.name), c.data);
    }
    for (const auto& rep : reps)
        EXPECT_EQ(rep.result, ZipExtractResult::Extracted) << rep.entryName.toStdString();
    EXPECT_EQ(QFileInfo(out() + "/text.txt").lastModified().toSecsSinceEpoch(), 1'300'000'000);
}

TEST_F(ZipWriterTest, CommentIsWrittenAndKeptOnUpdate)
{
    writeAll(src("one.txt"), "1");
    writeAll(src("two.txt"), "2");
    {
        ZipWriter w;
        ASSERT_TRUE(w.openPosix(posix(archive())));
        w.setComment(QString::fromUtf8("Duplicates of 6 Sep – ünïcode"));
        addAll(w, {"one.txt"});
    }
    {
        ZipWriter w;  // reopened without a new comment: the old one stays
        ASSERT_TRUE(w.openPosix(posix(archive())));
        addAll(w, {"two.txt"});
    }
    ZipReader r;
    ASSERT_TRUE(r.openPosix(posix(archive())));
    EXPECT_EQ(r.comment(), QString::fromUtf8("Duplicates of 6 Sep – ünïcode"));
    EXPECT_EQ(r.entries().size(), 2u);
    {
        ZipWriter w;  // a shorter comment: no stale bytes after the end record
        ASSERT_TRUE(w.openPosix(posix(archive())));
        w.setComment("x");
        EXPECT_TRUE(w.close().ok);
    }
    ASSERT_TRUE(r.openPosix(posix(archive())));
    EXPECT_EQ(r.comment(), "x");
    EXPECT_FALSE(r.recovered());
}

TEST_F(ZipWriterTest, AddingKeepsEarlierEntriesByteForByte)
{
    for (int i = 0; i < 5; ++i)
        writeAll(src(QString("f%1.txt").arg(i)), textBytes(2000 + i * 100));
    {
        ZipWriter w;
        ASSERT_TRUE(w.openPosix(posix(archive())));
        addAll(w, {"f0.txt", "f1.txt", "f2.txt"});
    }
    ZipReader r;
    ASSERT_TRUE(r.openPosix(posix(archive())));
    std::vector<quint64> offsets;
    for (const auto& e : r.entries())
        offsets.push_back(e.localHeaderOffset);
    // Everything before the central directory is entry data.
    const QByteArray first = readAll(archive());
    const quint32 cdOffset = zipfmt::get32(first.constData() + first.size() - 22 + 16);
    {
        ZipWriter w;
        ASSERT_TRUE(w.openPosix(posix(archive())));
        addAll(w, {"f3.txt", "f4.txt"});
    }
    const QByteArray second = readAll(archive());
    EXPECT_EQ(second.left(cdOffset), first.left(cdOffset));
    ASSERT_TRUE(r.openPosix(posix(archive())));
    ASSERT_EQ(r.entries().size(), 5u);
    for (size_t i = 0; i < offsets.size(); ++i)
        EXPECT_EQ(r.entries()[i].localHeaderOffset, offsets[i]);
    // New entries start where the old central directory was.
    EXPECT_EQ(r.entries()[3].localHeaderOffset, cdOffset);
}

TEST_F(ZipWriterTest, ExistingNameIsReportedAndNothingWritten)
{
    writeAll(src("dup.txt"), "first");
    writeAll(src("other/dup.txt"), "second");
    ZipWriter w;
    ASSERT_TRUE(w.openPosix(posix(archive())));
    addAll(w, {"dup.txt"});
    const qint64 size = QFileInfo(archive()).size();
    EXPECT_EQ(w.addFilePosix(posix(src("other/dup.txt")), "dup.txt"), ZipAddResult::NameExists);
    EXPECT_EQ(w.pendingCount(), 0);
    EXPECT_TRUE(w.commit().entries.empty());
    EXPECT_EQ(QFileInfo(archive()).size(), size);
    w.close();
    // Also across sessions.
    ZipWriter w2;
    ASSERT_TRUE(w2.openPosix(posix(archive())));
    EXPECT_TRUE(w2.contains("dup.txt"));
    EXPECT_EQ(w2.addFilePosix(posix(src("other/dup.txt")), "dup.txt"), ZipAddResult::NameExists);
    EXPECT_FALSE(w2.lastAddError().isEmpty());
}

TEST_F(ZipWriterTest, UnreadableSourcesAreRefused)
{
    QDir().mkpath(src("folder"));
    writeAll(src("target.txt"), "t");
    ASSERT_EQ(::symlink(posix(src("target.txt")).constData(), posix(src("link.txt")).constData()), 0);
    ASSERT_EQ(::mkfifo(posix(src("fifo")).constData(), 0644), 0);
    struct Case { const char* label; QString path; };
    const std::vector<Case> cases = {
        {"missing", src("missing.txt")},
        {"folder", src("folder")},
        {"symbolic link", src("link.txt")},
        {"fifo", src("fifo")},
    };
    ZipWriter w;
    ASSERT_TRUE(w.openPosix(posix(archive())));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(w.addFilePosix(posix(c.path), c.label), ZipAddResult::ReadFailed);
        EXPECT_FALSE(w.lastAddError().isEmpty());
    }
    EXPECT_EQ(w.pendingCount(), 0);
    w.close();
    EXPECT_FALSE(QFileInfo::exists(archive()));  // nothing added: no empty archive left
    if (::geteuid() != 0) {
        writeAll(src("secret.txt"), "s");
        ::chmod(posix(src("secret.txt")).constData(), 0);
        ZipWriter w2;
        ASSERT_TRUE(w2.openPosix(posix(archive())));
        EXPECT_EQ(w2.addFilePosix(posix(src("secret.txt")), "secret.txt"), ZipAddResult::ReadFailed);
    }
}

TEST_F(ZipWriterTest, SourceChangedWhileReadIsDropped)
{
    struct Case { const char* label; QByteArray data; };
    const std::vector<Case> cases = {
        {"small, read in memory", textBytes(10'000)},
        {"large, streamed", textBytes(6 * 1024 * 1024)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        QFile::remove(archive());
        writeAll(src("grows.txt"), c.data);
        writeAll(src("ok.txt"), "fine");
        ZipWriter w;
        ASSERT_TRUE(w.openPosix(posix(archive())));
        ASSERT_EQ(w.addFilePosix(posix(src("ok.txt")), "ok.txt"), ZipAddResult::Added);
        bool touched = false;
        const auto progress = [&](int) {
            if (touched)
                return;
            touched = true;
            QFile f(src("grows.txt"));
            ASSERT_TRUE(f.open(QIODevice::Append));
            f.write("more");
        };
        EXPECT_EQ(w.addFilePosix(posix(src("grows.txt")), "grows.txt", progress), ZipAddResult::SourceChanged);
        EXPECT_FALSE(w.contains("grows.txt"));
        const ZipCommitResult cr = w.commit();
        ASSERT_EQ(cr.entries.size(), 1u);
        EXPECT_TRUE(cr.entries[0].durable);
        w.close();
        ZipReader r;
        ASSERT_TRUE(r.openPosix(posix(archive())));
        ASSERT_EQ(r.entries().size(), 1u);
        EXPECT_EQ(r.entries()[0].name, "ok.txt");
        EXPECT_FALSE(r.recovered());
    }
}

TEST_F(ZipWriterTest, ChangeBetweenAddAndCommitIsNotDurable)
{
    writeAll(src("a.txt"), "original");
    ZipWriter w;
    ASSERT_TRUE(w.openPosix(posix(archive())));
    ASSERT_EQ(w.addFilePosix(posix(src("a.txt")), "a.txt"), ZipAddResult::Added);
    writeAll(src("a.txt"), "rewritten, longer");
    const ZipCommitResult cr = w.commit();
    ASSERT_TRUE(cr.ok);
    ASSERT_EQ(cr.entries.size(), 1u);
    EXPECT_FALSE(cr.entries[0].durable);
    EXPECT_FALSE(cr.entries[0].errorText.isEmpty());
}

TEST_F(ZipWriterTest, AbortLeavesNoEntry)
{
    writeAll(src("keep.txt"), "k");
    writeAll(src("huge.dat"), textBytes(8 * 1024 * 1024));
    ZipWriter w;
    ASSERT_TRUE(w.openPosix(posix(archive())));
    ASSERT_EQ(w.addFilePosix(posix(src("keep.txt")), "keep.txt"), ZipAddResult::Added);
    bool abortFlag = false;
    int calls = 0;
    const auto progress = [&](int pc) {
        ++calls;
        if (pc > 0)
            abortFlag = true;  // the user cancels while the file is compressed
    };
    EXPECT_EQ(w.addFilePosix(posix(src("huge.dat")), "huge.dat", progress, &abortFlag), ZipAddResult::Aborted);
    EXPECT_GE(calls, 2);
    EXPECT_FALSE(w.contains("huge.dat"));
    // A set flag stops the next file before it is read.
    EXPECT_EQ(w.addFilePosix(posix(src("keep.txt")), "again.txt", {}, &abortFlag), ZipAddResult::Aborted);
    const ZipCommitResult cr = w.commit();
    ASSERT_EQ(cr.entries.size(), 1u);
    w.close();
    ZipReader r;
    ASSERT_TRUE(r.openPosix(posix(archive())));
    EXPECT_FALSE(r.recovered());
    ASSERT_EQ(r.entries().size(), 1u);
    // The partial data of the aborted file was cut off again.
    EXPECT_LT(QFileInfo(archive()).size(), 1000);
}

TEST_F(ZipWriterTest, TheArchiveIsNeverAddedToItself)
{
    writeAll(src("a.txt"), "a");
    ZipWriter w;
    ASSERT_TRUE(w.openPosix(posix(archive())));
    addAll(w, {"a.txt"});
    EXPECT_EQ(w.addFilePosix(posix(archive()), "a.zip"), ZipAddResult::IsArchive);
    // Also through a second name of the same file.
    ASSERT_EQ(::link(posix(archive()).constData(), posix(tmp.path() + "/hard.zip").constData()), 0);
    EXPECT_EQ(w.addFilePosix(posix(tmp.path() + "/hard.zip"), "hard.zip"), ZipAddResult::IsArchive);
}

TEST_F(ZipWriterTest, Zip64RecordsWhenForced)
{
    ZipWriter::setZip64ThresholdForTesting(100, 3);
    struct Restore { ~Restore() { ZipWriter::setZip64ThresholdForTesting(0xFFFFFFFFu, 0xFFFF); } } restore;
    QStringList rels;
    for (int i = 0; i < 6; ++i) {
        const QString rel = QString("z/%1.txt").arg(i);
        writeAll(src(rel), i % 2 ? textBytes(50 + i * 400) : randomBytes(50 + i * 400, quint32(i)));
        rels << rel;
    }
    {
        ZipWriter w;
        ASSERT_TRUE(w.openPosix(posix(archive())));
        w.setComment("zip64");
        addAll(w, rels.mid(0, 3));
    }
    {
        ZipWriter w;  // reopen a ZIP64 archive and add to it
        ASSERT_TRUE(w.openPosix(posix(archive())));
        EXPECT_FALSE(w.recovered());
        addAll(w, rels.mid(3));
    }
    const QByteArray bytes = readAll(archive());
    EXPECT_TRUE(bytes.contains(QByteArray("PK\x06\x06", 4)));
    EXPECT_TRUE(bytes.contains(QByteArray("PK\x06\x07", 4)));
    ZipReader r;
    ASSERT_TRUE(r.openPosix(posix(archive())));
    EXPECT_FALSE(r.recovered());
    EXPECT_EQ(r.comment(), "zip64");
    ASSERT_EQ(r.entries().size(), 6u);
    QDir().mkpath(out());
    for (const auto& rep : r.extractAllPosix(posix(out())))
        EXPECT_EQ(rep.result, ZipExtractResult::Extracted);
    for (const QString& rel : rels)
        EXPECT_EQ(readAll(out() + "/" + rel), readAll(src(rel)));
    if (haveTool("unzip")) {
        QByteArray log;
        EXPECT_EQ(run("unzip", {"-t", archive()}, {}, &log), 0) << log.toStdString();
    }
}

TEST_F(ZipWriterTest, NamesThatCouldNotBeRestoredAreRefused)
{
    writeAll(src("a.txt"), "a");
    ZipWriter w;
    ASSERT_TRUE(w.openPosix(posix(archive())));
    for (const char* name : {"", "/abs.txt", "../up.txt", "a/../../up.txt", "./a.txt", "C:a.txt", "C:/a.txt",
                             "a\\b.txt", "a//b.txt", "folder/"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(w.addFilePosix(posix(src("a.txt")), QString::fromUtf8(name)), ZipAddResult::BadName);
    }
    EXPECT_EQ(w.pendingCount(), 0);
    // A colon inside a name is an ordinary character here.
    EXPECT_EQ(w.addFilePosix(posix(src("a.txt")), "DOS/a:b.txt"), ZipAddResult::Added);
}

TEST_F(ZipWriterTest, FailedCommitLeavesTheLastGoodArchive)
{
    writeAll(src("one.txt"), textBytes(3000));
    writeAll(src("two.txt"), textBytes(4000));
    writeAll(src("three.bin"), randomBytes(5000));
    ZipWriter w;
    ASSERT_TRUE(w.openPosix(posix(archive())));
    addAll(w, {"one.txt", "two.txt"});
    const QByteArray good = readAll(archive());
    ASSERT_EQ(w.addFilePosix(posix(src("three.bin")), "three.bin"), ZipAddResult::Added);
    // The disk fills up: no write may go beyond the file as it is now.
    struct rlimit old;
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit lim = old;
    lim.rlim_cur = rlim_t(QFileInfo(archive()).size() + 10);
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &lim), 0);
    const ZipCommitResult cr = w.commit();
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_FALSE(cr.ok);
    ASSERT_EQ(cr.entries.size(), 1u);
    EXPECT_FALSE(cr.entries[0].durable);
    EXPECT_FALSE(w.contains("three.bin"));
    EXPECT_EQ(readAll(archive()), good);  // the archive as the last commit left it
    // And it goes on once there is room again.
    ASSERT_EQ(w.addFilePosix(posix(src("three.bin")), "three.bin"), ZipAddResult::Added);
    EXPECT_TRUE(w.commit().entries.at(0).durable);
    w.close();
    ZipReader r;
    ASSERT_TRUE(r.openPosix(posix(archive())));
    EXPECT_FALSE(r.recovered());
    EXPECT_EQ(r.entries().size(), 3u);
}

TEST(ZipCommitPolicy, CommitsAfterEnoughFiles)
{
    CommitPolicy p(3, 1'000'000);
    EXPECT_FALSE(p.due(0));
    EXPECT_FALSE(p.due(1));
    EXPECT_FALSE(p.due(2));
    EXPECT_TRUE(p.due(3));
    p.committed();
    EXPECT_FALSE(p.due(1));
}

TEST(ZipCommitPolicy, CommitsAfterTheInterval)
{
    CommitPolicy p(1'000'000, 0);
    EXPECT_FALSE(p.due(0));  // nothing pending: nothing to commit
    EXPECT_TRUE(p.due(1));
}

// Archives cut short by a crash: every complete entry is still listed and
// extracts; the writer continues after the last good entry; a file that is
// not an archive is never changed.
#include "components/zip/zipreader.h"
#include "components/zip/zipwriter.h"
#include "zip_testutil.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace comp;
using namespace ziptest;

namespace {

class ZipRecoveryTest : public ::testing::Test {
protected:
    QTemporaryDir tmp;
    QString src(const QString& rel) const { return tmp.path() + "/src/" + rel; }
    QString archive() const { return tmp.path() + "/a.zip"; }

    // The image of an archive whose writer died: committed holds the
    // committed names, all the names added; committedEnd = end of the
    // committed entries.
    QByteArray crashImage(QStringList* committed, QStringList* all, qint64* committedEnd)
    {
        for (int i = 0; i < 6; ++i) {
            const QString rel = QString("dir%1/file%2.txt").arg(i % 2).arg(i);
            writeAll(src(rel), i % 3 == 0 ? randomBytes(3000 + i, quint32(i)) : textBytes(5000 + 100 * i));
            *all << rel;
        }
        ZipWriter w;
        EXPECT_TRUE(w.openPosix(posix(archive())));
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(w.addFilePosix(posix(src(all->at(i))), all->at(i)), ZipAddResult::Added);
        EXPECT_TRUE(w.commit().ok);
        *committed = all->mid(0, 3);
        const QByteArray afterCommit = readAll(archive());
        *committedEnd = zipfmt::get32(afterCommit.constData() + afterCommit.size() - 22 + 16);
        for (int i = 3; i < 6; ++i)
            EXPECT_EQ(w.addFilePosix(posix(src(all->at(i))), all->at(i)), ZipAddResult::Added);
        // The process "dies" here: what is on disk now is what survives.
        const QByteArray image = readAll(archive());
        w.commit();
        return image;
    }

    QStringList names(const ZipReader& r)
    {
        QStringList out;
        for (const auto& e : r.entries())
            out << e.name;
        return out;
    }
};

}  // namespace

TEST_F(ZipRecoveryTest, CommittedEntriesSurviveAnyCut)
{
    QStringList committed, all;
    qint64 committedEnd = 0;
    const QByteArray image = crashImage(&committed, &all, &committedEnd);
    ASSERT_GT(image.size(), committedEnd + 100);
    const std::vector<qint64> cuts = {
        image.size(), image.size() - 1, image.size() - 50, (image.size() + committedEnd) / 2,
        committedEnd + 31, committedEnd + 1, committedEnd,
    };
    for (qint64 cut : cuts) {
        SCOPED_TRACE(cut);
        const QString path = tmp.path() + QString("/cut%1.zip").arg(cut);
        writeAll(path, image.left(cut));
        ZipReader r;
        ASSERT_TRUE(r.openPosix(posix(path))) << r.errorText().toStdString();
        EXPECT_TRUE(r.recovered());
        const QStringList listed = names(r);
        for (const QString& n : committed)
            EXPECT_TRUE(listed.contains(n)) << n.toStdString();
        // Only complete entries, each with its right contents.
        for (size_t i = 0; i < r.entries().size(); ++i) {
            QByteArray data;
            EXPECT_EQ(r.readEntry(int(i), &data), ZipExtractResult::Extracted);
            EXPECT_EQ(data, readAll(src(r.entries()[i].name)));
        }
        if (cut == image.size()) {
            EXPECT_EQ(listed.size(), all.size());
        }
    }
}

TEST_F(ZipRecoveryTest, CutCentralDirectoryIsRecovered)
{
    QStringList committed, all;
    qint64 committedEnd = 0;
    crashImage(&committed, &all, &committedEnd);
    const QByteArray full = readAll(archive());  // committed, all six entries
    for (qint64 back : {1, 10, 22, 60}) {
        SCOPED_TRACE(back);
        const QString path = tmp.path() + QString("/cd%1.zip").arg(back);
        writeAll(path, full.left(full.size() - back));
        ZipReader r;
        ASSERT_TRUE(r.openPosix(posix(path)));
        EXPECT_TRUE(r.recovered());
        EXPECT_EQ(names(r), all);
    }
}

TEST_F(ZipRecoveryTest, WriterContinuesAfterTheLastGoodEntry)
{
    QStringList committed, all;
    qint64 committedEnd = 0;
    const QByteArray image = crashImage(&committed, &all, &committedEnd);
    const qint64 cut = (image.size() + committedEnd) / 2;  // inside an added entry
    writeAll(archive(), image.left(cut));
    writeAll(src("later.txt"), "added after the crash");
    {
        ZipWriter w;
        ASSERT_TRUE(w.openPosix(posix(archive()))) << w.errorText().toStdString();
        EXPECT_TRUE(w.recovered());
        for (const QString& n : committed)
            EXPECT_TRUE(w.contains(n));
        ASSERT_EQ(w.addFilePosix(posix(src("later.txt")), "later.txt"), ZipAddResult::Added);
        const ZipCommitResult cr = w.commit();
        ASSERT_EQ(cr.entries.size(), 1u);
        EXPECT_TRUE(cr.entries[0].durable);
    }
    ZipReader r;
    ASSERT_TRUE(r.openPosix(posix(archive())));
    EXPECT_FALSE(r.recovered());  // repaired: a whole central directory again
    const QStringList listed = names(r);
    EXPECT_TRUE(listed.contains("later.txt"));
    for (const QString& n : committed)
        EXPECT_TRUE(listed.contains(n));
    if (haveTool("unzip")) {
        QByteArray log;
        EXPECT_EQ(run("unzip", {"-t", archive()}, {}, &log), 0) << log.toStdString();
    }
}

TEST_F(ZipRecoveryTest, NonArchivesAreNeverChanged)
{
    struct Case { const char* label; QByteArray bytes; };
    const std::vector<Case> cases = {
        {"text", "This is a letter, not an archive.\n"},
        {"binary", randomBytes(100'000, 3)},
        {"local header signature, then garbage", QByteArray("PK\x03\x04", 4) + randomBytes(500, 4)},
        {"end record only, pointing nowhere", QByteArray("PK\x05\x06\0\0\0\0\x01\0\x01\0\x50\0\0\0\x99\0\0\0\0\0", 22)},
    };
    writeAll(src("a.txt"), "a");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        writeAll(archive(), c.bytes);
        {
            ZipWriter w;
            EXPECT_FALSE(w.openPosix(posix(archive())));
            EXPECT_FALSE(w.errorText().isEmpty());
            EXPECT_EQ(w.addFilePosix(posix(src("a.txt")), "a.txt"), ZipAddResult::WriteFailed);
            w.commit();
        }
        EXPECT_EQ(readAll(archive()), c.bytes);
        ZipReader r;
        EXPECT_FALSE(r.openPosix(posix(archive())));
    }
}

TEST_F(ZipRecoveryTest, EmptyOrUnfinishedFirstEntryIsOurs)
{
    writeAll(src("a.txt"), "a");
    struct Case { const char* label; QByteArray bytes; };
    const std::vector<Case> cases = {
        {"empty file", QByteArray()},
        {"first entry being written", QByteArray("pending")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        QByteArray bytes = c.bytes;
        if (!bytes.isEmpty()) {
            bytes = QByteArray(30, '\0');
            zipfmt::set32(bytes, 0, zipfmt::kPendingSig);
        }
        writeAll(archive(), bytes);
        {
            ZipWriter w;
            ASSERT_TRUE(w.openPosix(posix(archive()))) << w.errorText().toStdString();
            ASSERT_EQ(w.addFilePosix(posix(src("a.txt")), "a.txt"), ZipAddResult::Added);
            EXPECT_TRUE(w.commit().entries.at(0).durable);
        }
        ZipReader r;
        ASSERT_TRUE(r.openPosix(posix(archive())));
        EXPECT_FALSE(r.recovered());
        EXPECT_EQ(r.entries().size(), 1u);
    }
}

TEST_F(ZipRecoveryTest, ArchiveInsideAnUnfinishedEntryIsNotListed)
{
    // The writer dies while it stores a zip file as it is: on disk are the
    // finished entries, then a header still marked unfinished and part of
    // the inner archive, whose entries must not pass for the outer's.
    writeAll(src("first.txt"), "first");
    writeAll(src("x.txt"), "inner x");
    writeAll(src("y.txt"), "inner y");
    const QString inner = tmp.path() + "/inner.zip";
    {
        ZipWriter w;
        ASSERT_TRUE(w.openPosix(posix(inner)));
        ASSERT_EQ(w.addFilePosix(posix(src("x.txt")), "x.txt"), ZipAddResult::Added);
        ASSERT_EQ(w.addFilePosix(posix(src("y.txt")), "y.txt"), ZipAddResult::Added);
        ASSERT_TRUE(w.close().ok);
    }
    {
        ZipWriter w;
        ASSERT_TRUE(w.openPosix(posix(archive())));
        ASSERT_EQ(w.addFilePosix(posix(src("first.txt")), "first.txt"), ZipAddResult::Added);
        ASSERT_TRUE(w.close().ok);
    }
    const QByteArray committed = readAll(archive());
    const quint32 cdOffset = zipfmt::get32(committed.constData() + committed.size() - 22 + 16);
    zipfmt::NewEntry unfinished;
    unfinished.rawName = "inner.zip";
    const QByteArray innerBytes = readAll(inner);
    const QByteArray image = committed.left(cdOffset) + zipfmt::localHeader(unfinished, zipfmt::kPendingSig)
                             + innerBytes.left(innerBytes.size() - 30);
    writeAll(archive(), image);
    ZipReader r;
    ASSERT_TRUE(r.openPosix(posix(archive())));
    EXPECT_TRUE(r.recovered());
    EXPECT_EQ(names(r), QStringList({"first.txt"}));
}

TEST_F(ZipRecoveryTest, DamageTheScanCannotFollowIsNotWrittenOver)
{
    // Archives without their central directory with an entry the scan
    // cannot read: the reader lists what it can, the writer touches nothing,
    // unless the damaged entry is the writer's own cut-off last one.
    struct Case {
        const char* label;
        const char* damaged;
        bool foreignFlags;
        QStringList listed;
        bool writable;
    };
    const std::vector<Case> cases = {
        {"damage in the middle", "two", false, {"one.txt", "three.txt"}, false},
        {"damaged last entry of another writer", "three", true, {"one.txt", "two.txt"}, false},
        {"cut-off last entry of ours", "three", false, {"one.txt", "two.txt"}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        QByteArray zip = buildArchive({{"one.txt", "one data"}, {"two.txt", "two data"}, {"three.txt", "three data"}});
        zip = zip.left(zip.indexOf(QByteArray("PK\x01\x02", 4)));
        const qsizetype data = zip.indexOf(QByteArray(c.damaged) + " data");
        zip[data + 1] = 'X';
        if (c.foreignFlags) {
            const qsizetype header = zip.lastIndexOf(QByteArray("PK\x03\x04", 4), data);
            zip[header + 6] = 0;  // no UTF-8 flag: not a header this writer makes
            zip[header + 7] = 0;
        }
        writeAll(archive(), zip);
        ZipReader r;
        ASSERT_TRUE(r.openPosix(posix(archive())));
        EXPECT_TRUE(r.recovered());
        EXPECT_EQ(names(r), c.listed);
        ZipWriter w;
        EXPECT_EQ(w.openPosix(posix(archive())), c.writable) << w.errorText().toStdString();
        w.close();
        if (!c.writable) {
            EXPECT_EQ(readAll(archive()), zip);
        }
    }
}

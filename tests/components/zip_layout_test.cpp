// Bytes that are not entries of the archive must never be listed as its
// entries nor written over: what a failed add leaves behind, zip files
// stored inside the archive, central directories that do not account for
// the bytes before them.
#include "components/zip/zipreader.h"
#include "components/zip/zipwriter.h"
#include "zip_testutil.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>

using namespace comp;
using namespace ziptest;

namespace {

// Names of a stored document: restored into a drive's root they would
// make folders and files the user never had.
const QStringList kInnerNames = {"[Content_Types].xml", "word/document.xml", "media/big.bin"};

QByteArray innerZip(qsizetype bigSize)
{
    return buildArchive({{"[Content_Types].xml", randomBytes(700, 11)},
                         {"word/document.xml", randomBytes(3000, 12)},
                         {"media/big.bin", randomBytes(bigSize, 13)}});
}

quint32 cdOffsetOf(const QByteArray& zip)
{
    return zipfmt::get32(zip.constData() + zip.size() - 22 + 16);
}

class ZipLayoutTest : public ::testing::Test {
protected:
    QTemporaryDir tmp;
    QString src(const QString& rel) const { return tmp.path() + "/src/" + rel; }
    QString archive() const { return tmp.path() + "/a.zip"; }

    QStringList names(const QString& path)
    {
        ZipReader r;
        EXPECT_TRUE(r.openPosix(posix(path))) << r.errorText().toStdString();
        QStringList out;
        for (const auto& e : r.entries())
            out << e.name;
        return out;
    }

    // A committed archive of first.txt and second.txt, made by the writer.
    QByteArray committedArchive()
    {
        writeAll(src("first.txt"), "first file");
        writeAll(src("second.txt"), textBytes(3000));
        ZipWriter w;
        EXPECT_TRUE(w.openPosix(posix(archive())));
        EXPECT_EQ(w.addFilePosix(posix(src("first.txt")), "first.txt"), ZipAddResult::Added);
        EXPECT_EQ(w.addFilePosix(posix(src("second.txt")), "second.txt"), ZipAddResult::Added);
        EXPECT_TRUE(w.close().ok);
        return readAll(archive());
    }
};

enum class Failure { ChangedAfterRead, AbortedWhileStreamed, WriteFailsWhileStreamed };

struct FailedAddCase {
    const char* label;
    Failure failure;
    qsizetype bigSize;  // of the stored zip's largest entry: over 4 MB streams
    ZipAddResult expected;
};

}  // namespace

TEST_F(ZipLayoutTest, FailedAddLeavesNoBytesForTheScanToFind)
{
    const std::vector<FailedAddCase> cases = {
        {"source changed after it was read whole", Failure::ChangedAfterRead, 20'000, ZipAddResult::SourceChanged},
        {"aborted while streamed", Failure::AbortedWhileStreamed, 5 * 1024 * 1024, ZipAddResult::Aborted},
        {"disk full while streamed", Failure::WriteFailsWhileStreamed, 5 * 1024 * 1024, ZipAddResult::WriteFailed},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        QFile::remove(archive());
        const QByteArray committed = committedArchive();
        const quint32 cdOffset = cdOffsetOf(committed);
        writeAll(src("report.docx"), innerZip(c.bigSize));
        writeAll(src("b.txt"), "short");

        ZipWriter w;
        ASSERT_TRUE(w.openPosix(posix(archive())));
        bool abort = false;
        bool touched = false;
        auto progress = [&](int percent) {
            if (c.failure == Failure::ChangedAfterRead && percent == 100 && !touched) {
                // Read whole, not yet checked: a new time stamp makes it a changed file.
                touched = true;
                QFile f(src("report.docx"));
                ASSERT_TRUE(f.open(QIODevice::ReadWrite));
                f.setFileTime(QDateTime(QDate(2001, 2, 3), QTime(4, 5, 6)), QFileDevice::FileModificationTime);
            }
            if (c.failure == Failure::AbortedWhileStreamed && percent >= 60)
                abort = true;
        };
        struct rlimit old {};
        auto oldHandler = SIG_DFL;
        if (c.failure == Failure::WriteFailsWhileStreamed) {
            ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
            oldHandler = std::signal(SIGXFSZ, SIG_IGN);
            struct rlimit lim = old;
            lim.rlim_cur = rlim_t(cdOffset + 2 * 1024 * 1024);
            ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &lim), 0);
        }
        const ZipAddResult r = w.addFilePosix(posix(src("report.docx")), "report.docx", progress, &abort);
        if (c.failure == Failure::WriteFailsWhileStreamed) {
            ::setrlimit(RLIMIT_FSIZE, &old);
            std::signal(SIGXFSZ, oldHandler);
        }
        ASSERT_EQ(r, c.expected) << w.lastAddError().toStdString();
        EXPECT_FALSE(w.contains("report.docx"));
        EXPECT_EQ(QFileInfo(archive()).size(), qint64(cdOffset));  // nothing of it is left

        // A shorter entry where the failed one began, then the process dies.
        ASSERT_EQ(w.addFilePosix(posix(src("b.txt")), "b.txt"), ZipAddResult::Added);
        const QString crashed = tmp.path() + "/crashed.zip";
        writeAll(crashed, readAll(archive()));
        w.close();
        EXPECT_EQ(names(crashed), QStringList({"first.txt", "second.txt", "b.txt"}));
        {
            // And the writer that recovers it commits no stranger's entry either.
            ZipWriter again;
            ASSERT_TRUE(again.openPosix(posix(crashed)));
            for (const QString& n : kInnerNames)
                EXPECT_FALSE(again.contains(n)) << n.toStdString();
            EXPECT_EQ(again.entryCount(), 3);
        }
        EXPECT_EQ(names(archive()), QStringList({"first.txt", "second.txt", "b.txt"}));
    }
}

TEST_F(ZipLayoutTest, RecoveryDoesNotLookInsideWhatFollowsTheLastEntry)
{
    // Entries of ours, no central directory, then bytes that are no entry
    // (left by a writer of old, or an entry's data cut short) holding a
    // whole zip file: its entries are not the archive's.
    const QByteArray ours = buildArchive({{"one.txt", "one data"}, {"two.txt", "two data"}});
    const QByteArray entries = ours.left(cdOffsetOf(ours));
    struct Case {
        const char* label;
        QByteArray after;
    };
    const std::vector<Case> cases = {
        {"stray bytes, then a zip", QByteArray("\x17\x2a stray", 8) + innerZip(2000)},
        {"the tail of a local header, then a zip", zipfmt::localHeader({}).mid(10) + innerZip(2000)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        writeAll(archive(), entries + c.after);
        EXPECT_EQ(names(archive()), QStringList({"one.txt", "two.txt"}));
        writeAll(src("three.txt"), "three");
        {
            ZipWriter w;
            ASSERT_TRUE(w.openPosix(posix(archive()))) << w.errorText().toStdString();
            EXPECT_EQ(w.entryCount(), 2);
            ASSERT_EQ(w.addFilePosix(posix(src("three.txt")), "three.txt"), ZipAddResult::Added);
            EXPECT_TRUE(w.close().entries.at(0).durable);
        }
        EXPECT_EQ(names(archive()), QStringList({"one.txt", "two.txt", "three.txt"}));
    }
}

TEST_F(ZipLayoutTest, ArchiveWhoseDirectoryDoesNotCoverItsEntriesIsNotWrittenTo)
{
    // Central directories that pass a look at the end records alone, but
    // whose last entry really reaches past the directory offset: adding
    // there would overwrite stored data.
    using namespace zipfmt;
    QByteArray base = buildArchive({{"one.txt", "one data"}, {"two.txt", "two data"}});
    const quint32 cdOffset = cdOffsetOf(base);
    const qsizetype twoLocal = base.indexOf(QByteArray("PK\x03\x04", 4), 1);
    const qsizetype twoCentral = base.lastIndexOf(QByteArray("PK\x01\x02", 4));
    struct Case {
        const char* label;
        std::function<void(QByteArray&)> craft;
    };
    const std::vector<Case> cases = {
        {"size that counts from the local header",
         [&](QByteArray& z) {
             // Header and data of two.txt, as if they were all data: the
             // size fits before the directory only without the header.
             const quint32 size = quint32(cdOffset - twoLocal);
             set32(z, int(twoLocal) + 18, size);
             set32(z, int(twoLocal) + 22, size);
             set32(z, int(twoCentral) + 20, size);
             set32(z, int(twoCentral) + 24, size);
         }},
        {"data descriptor where the directory starts",
         [&](QByteArray& z) {
             z[twoLocal + 6] = char(z[twoLocal + 6] | kFlagDescriptor);
             z[twoCentral + 8] = char(z[twoCentral + 8] | kFlagDescriptor);
         }},
    };
    writeAll(src("new.txt"), "new");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        QByteArray zip = base;
        c.craft(zip);
        writeAll(archive(), zip);
        ZipWriter w;
        EXPECT_FALSE(w.openPosix(posix(archive())));
        EXPECT_FALSE(w.errorText().isEmpty());
        EXPECT_EQ(w.addFilePosix(posix(src("new.txt")), "new.txt"), ZipAddResult::WriteFailed);
        w.close();
        EXPECT_EQ(readAll(archive()), zip);
    }
    // The archive as made is fine to add to.
    writeAll(archive(), base);
    ZipWriter w;
    ASSERT_TRUE(w.openPosix(posix(archive()))) << w.errorText().toStdString();
    ASSERT_EQ(w.addFilePosix(posix(src("new.txt")), "new.txt"), ZipAddResult::Added);
    EXPECT_TRUE(w.close().entries.at(0).durable);
    EXPECT_EQ(names(archive()), QStringList({"one.txt", "two.txt", "new.txt"}));
}

TEST_F(ZipLayoutTest, EndRecordInsideAnUnfinishedEntryIsNotTrusted)
{
    // The writer died while storing a file whose last bytes are a central
    // directory and end record made to fit the place the file lands in: the
    // archive's own entries must stay listed, the file's must not be, and
    // the writer must continue after the committed entries.
    using namespace zipfmt;
    const QByteArray committed = committedArchive();
    const quint32 cdOffset = cdOffsetOf(committed);
    const QByteArray committedCentral = committed.mid(cdOffset, committed.size() - 22 - cdOffset);
    NewEntry pending;
    pending.rawName = "payload.bin";
    const QByteArray pendingHeader = localHeader(pending, kPendingSig);
    const quint64 craftedAt = cdOffset + quint64(pendingHeader.size());

    // The crafted file: a local header of its own, its data, then a
    // directory listing it (and, in one case, the committed entries too).
    auto crafted = [&](bool listCommitted, bool withLocalHeader) {
        const QByteArray data = "planted";
        NewEntry e;
        e.rawName = "evil.txt";
        e.crc = crc32Of(data);
        e.compressedSize = e.uncompressedSize = quint64(data.size());
        e.localOffset = craftedAt;
        QByteArray body = withLocalHeader ? localHeader(e) + data : QByteArray(40, 'x');
        QByteArray central = (listCommitted ? committedCentral : QByteArray()) + centralRecord(e, 0xFFFFFFFFu);
        const quint64 count = listCommitted ? 3 : 1;
        const quint64 at = craftedAt + quint64(body.size());
        return body + central + endRecords(count, quint64(central.size()), at, {}, 0xFFFFFFFFu, 0xFFFF);
    };
    struct Case {
        const char* label;
        bool listCommitted;
        bool withLocalHeader;
    };
    const std::vector<Case> cases = {
        {"lists only its own entry", false, true},
        {"lists the committed entries too", true, true},
        {"lists an entry without a local header", false, false},
    };
    writeAll(src("later.txt"), "added after the crash");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        const QByteArray image = committed.left(cdOffset) + pendingHeader + crafted(c.listCommitted, c.withLocalHeader);
        writeAll(archive(), image);
        EXPECT_EQ(names(archive()), QStringList({"first.txt", "second.txt"}));
        {
            ZipWriter w;
            ASSERT_TRUE(w.openPosix(posix(archive()))) << w.errorText().toStdString();
            EXPECT_FALSE(w.contains("evil.txt"));
            ASSERT_EQ(w.addFilePosix(posix(src("later.txt")), "later.txt"), ZipAddResult::Added);
            EXPECT_TRUE(w.close().entries.at(0).durable);
        }
        EXPECT_EQ(names(archive()), QStringList({"first.txt", "second.txt", "later.txt"}));
        ZipReader r;
        ASSERT_TRUE(r.openPosix(posix(archive())));
        EXPECT_FALSE(r.recovered());
        QByteArray data;
        ASSERT_EQ(r.readEntry(1, &data), ZipExtractResult::Extracted);
        EXPECT_EQ(data, textBytes(3000));
    }
}

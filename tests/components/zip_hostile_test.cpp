// Archives built to cost: entries that overlap (a few kilobytes that unpack
// to gigabytes) are refused, and recovering an archive without its end
// records reads each byte a bounded number of times, whatever it holds.
#include "components/zip/zipreader.h"
#include "components/zip/zipscan.h"
#include "zip_testutil.h"

#include <gtest/gtest.h>

using namespace comp;
using namespace comp::zipfmt;
using namespace ziptest;

namespace {

// Counts what the codec reads.
class CountingSource : public MemorySource {
public:
    using MemorySource::MemorySource;
    bool readAt(quint64 offset, char* buffer, qint64 len) override
    {
        ++calls;
        const bool ok = MemorySource::readAt(offset, buffer, len);
        if (ok)
            bytes += quint64(len);
        return ok;
    }
    quint64 calls = 0;
    quint64 bytes = 0;
};

// The central directory and end record cut off: all a writer leaves when
// it dies before its first commit.
QByteArray withoutDirectory(const QByteArray& zip)
{
    const quint32 cd = get32(zip.constData() + zip.size() - kEndSize + 16);
    return zip.left(cd);
}

// Entries of about 250 bytes up to size bytes, by a writer that is not ours
// (no UTF-8 flag), so that recovery has to search for each header.
QByteArray foreignStored(qsizetype size, int* count)
{
    QByteArray out;
    for (*count = 0; out.size() < size; ++*count) {
        NewEntry e;
        e.rawName = "dir/file" + QByteArray::number(*count) + ".txt";
        e.flags = 0;
        const QByteArray data = randomBytes(200, quint32(*count));
        e.crc = crc32Of(data);
        e.compressedSize = e.uncompressedSize = quint64(data.size());
        e.dosDateTime = dosDateTime(1'000'000'000);
        out += localHeader(e) + data;
    }
    return out;
}

// Deflated entries whose sizes follow the data (flag 8), as streaming
// writers make them: only the deflate stream tells where each one ends.
QByteArray foreignStreamed(qsizetype size, int* count)
{
    QByteArray out;
    for (*count = 0; out.size() < size; ++*count) {
        const QByteArray data = textBytes(300 + *count % 50) + QByteArray::number(*count);
        const QByteArray packed = rawDeflate(data);
        NewEntry e;
        e.rawName = "s/" + QByteArray::number(*count);
        e.flags = kFlagDescriptor;
        e.method = kDeflated;
        e.dosDateTime = dosDateTime(1'000'000'000);
        out += localHeader(e) + packed;
        put32(out, kDescriptorSig);
        put32(out, crc32Of(data));
        put32(out, quint32(packed.size()));
        put32(out, quint32(data.size()));
    }
    return out;
}

// A local header every 31 bytes, each claiming a stored entry that reaches
// exactly to the end of the file with a wrong CRC (optionally behind a name
// and an extra field of 64 KB each): every candidate costs what it claims.
QByteArray fakeHeaders(qsizetype size, bool longNames)
{
    const quint64 total = quint64(size / 31) * 31;
    QByteArray out;
    while (quint64(out.size()) < total) {
        const quint64 dataOffset = quint64(out.size()) + 30 + (longNames ? 2 * 0xFFFF : 1);
        const quint32 claimed = dataOffset < total ? quint32(total - dataOffset) : 0;
        put32(out, kLocalSig);
        put16(out, 20);
        put16(out, 0);
        put16(out, kStored);
        put32(out, 0);
        put32(out, 0xDEADBEEF);
        put32(out, claimed);
        put32(out, claimed);
        put16(out, longNames ? 0xFFFF : 1);
        put16(out, longNames ? 0xFFFF : 0);
        out += 'n';
    }
    return out;
}

}  // namespace

TEST(ZipHostile, OverlappingEntriesAreRefused)
{
    const QByteArray bomb = overlapBomb(40, 64 * 1024);
    ASSERT_LT(bomb.size(), 8 * 1024);

    // The same local header listed twice under its own name.
    QByteArray twice = buildArchive({{"a.txt", "data"}});
    {
        const qsizetype cd = qsizetype(get32(twice.constData() + twice.size() - kEndSize + 16));
        const QByteArray record = twice.mid(cd, twice.size() - kEndSize - cd);
        QByteArray rebuilt = twice.left(cd) + record + record;
        rebuilt += endRecords(2, quint64(record.size()) * 2, quint64(cd), {}, 0xFFFFFFFFu, 0xFFFF);
        twice = rebuilt;
    }
    // A stored entry that claims the next header's bytes as its data, and
    // so runs into the central directory.
    QByteArray intoDirectory = buildArchive({{"b.txt", "0123456789"}});
    {
        const qsizetype cd = qsizetype(get32(intoDirectory.constData() + intoDirectory.size() - kEndSize + 16));
        NewEntry e;
        e.rawName = "b.txt";
        e.compressedSize = e.uncompressedSize = quint64(cd);  // header bytes counted as data
        e.dosDateTime = dosDateTime(1'000'000'000);
        e.unixMtime = 1'000'000'000;
        QByteArray rebuilt = intoDirectory.left(cd);
        const QByteArray record = centralRecord(e, 0xFFFFFFFFu);
        rebuilt += record;
        rebuilt += endRecords(1, quint64(record.size()), quint64(cd), {}, 0xFFFFFFFFu, 0xFFFF);
        intoDirectory = rebuilt;
    }

    struct Case {
        const char* label;
        QByteArray zip;
        const char* reason;  // empty: a sound archive that opens
    };
    const std::vector<Case> cases = {
        {"entries quoting the ones after them", bomb, "its entries overlap"},
        {"one header listed twice", twice, "its entries overlap"},
        {"data running into the central directory", intoDirectory, "an entry's data reaches into its central directory"},
        {"a sound archive", buildArchive({{"a.txt", "aaa"}, {"b.txt", "bbb"}}), ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        ZipReader r;
        const bool opened = r.openMemory(c.zip);
        EXPECT_EQ(opened, QByteArray(c.reason).isEmpty());
        EXPECT_EQ(r.refused(), !opened);
        if (!opened) {
            EXPECT_TRUE(r.errorText().startsWith(c.reason)) << r.errorText().toStdString();
            EXPECT_TRUE(r.entries().empty());
        }
    }
}

TEST(ZipHostile, RecoveryWithoutEndRecordsReadsLinearly)
{
    constexpr qsizetype kSize = 2 * 1024 * 1024;
    int ours = 0, stored = 0, streamed = 0;
    std::vector<RawEntry> entries;
    for (qsizetype total = 0; total < kSize; total += 280, ++ours)
        entries.push_back({"o/" + QByteArray::number(ours), randomBytes(250, quint32(ours))});
    struct Case {
        const char* label;
        QByteArray bytes;
        int entries;
        bool overflow;  // the walk gave up on candidates that cost too much
    };
    const std::vector<Case> cases = {
        {"entries of our own writer", withoutDirectory(buildArchive(entries)), ours, false},
        {"stored entries of another writer", foreignStored(kSize, &stored), stored, false},
        {"deflated entries with sizes after the data", foreignStreamed(kSize, &streamed), streamed, false},
        {"headers claiming the rest of the file", fakeHeaders(kSize, false), 0, true},
        {"headers with 64 KB names", fakeHeaders(kSize, true), 0, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        ASSERT_GE(c.bytes.size(), kSize - 31);
        CountingSource src(c.bytes);
        Directory dir;
        scanLocalHeaders(src, &dir);
        EXPECT_EQ(int(dir.entries.size()), c.entries);
        EXPECT_EQ(dir.unparsedOverflow, c.overflow);
        // Linear: each byte read a few times at most, in large reads rather
        // than several small ones per entry.
        const quint64 size = quint64(c.bytes.size());
        EXPECT_LE(src.bytes, 4 * size + 8 * 1024 * 1024) << src.bytes;
        EXPECT_LE(src.calls, 200u) << src.calls;
    }
}

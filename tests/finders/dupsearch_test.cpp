#include "finders/blockcrc.h"
#include "finders/dupsearch.h"
#include "platform/filetypes.h"
#include "support/tempdrives.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

using namespace finders;

namespace {

class DupSearchTest : public ::testing::Test {
protected:
    void SetUp() override { plat::setFileTypes(&types_); }
    void TearDown() override { plat::setFileTypes(nullptr); }

    DupCriteria Bytes(int mode, SizeRelation rel = SizeRelation::LargerOrEqual, int n1 = 0, int n2 = 0)
    {
        DupCriteria c;
        c.matchMode = mode;
        c.relation = rel;
        c.num1 = n1;
        c.num2 = n2;
        c.unitKB = false;
        c.roots = {"C:"};
        return c;
    }
    std::vector<ResultRow> Run(const DupCriteria& c)
    {
        DupSearch s(c);
        s.scan();
        return s.rows();
    }
    QStringList Names(const std::vector<ResultRow>& rows, int column = dcFilename)
    {
        QStringList out;
        for (const ResultRow& r : rows)
            out << r.cells[column];
        return out;
    }
    QString Shades(const std::vector<ResultRow>& rows)
    {
        QString out;
        for (const ResultRow& r : rows)
            out += QChar(r.shade);
        return out;
    }

    testing_support::TempDrives drives_{"C"};
    plat::FakeFileTypes types_{{{".doc", "Word document"}}};
};

TEST_F(DupSearchTest, SizeRuleLimits)
{
    struct Row {
        const char* name;
        SizeRelation rel;
        int n1, n2;
        bool kb;
        quint64 size;
        bool passes;
    };
    const QList<Row> rows = {
        {"larger, at the limit", SizeRelation::LargerOrEqual, 250, 0, true, 256000, true},
        {"larger, one below", SizeRelation::LargerOrEqual, 250, 0, true, 255999, false},
        {"smaller, at the limit", SizeRelation::SmallerOrEqual, 250, 0, true, 256000, true},
        {"smaller, one above", SizeRelation::SmallerOrEqual, 250, 0, true, 256001, false},
        {"between 0 and 0, empty", SizeRelation::Between, 0, 0, false, 0, true},
        {"between 0 and 0, one byte", SizeRelation::Between, 0, 0, false, 1, false},
        {"between, upper end", SizeRelation::Between, 1, 2, true, 2048, true},
        {"huge file", SizeRelation::LargerOrEqual, 10000, 0, true, 5000000000ULL, true},
    };
    for (const Row& r : rows) {
        DupCriteria c;
        c.relation = r.rel;
        c.num1 = r.n1;
        c.num2 = r.n2;
        c.unitKB = r.kb;
        EXPECT_EQ(PassesSizeTest(r.size, r.rel, LowerLimit(c), UpperLimit(c)), r.passes) << r.name;
    }
}

TEST_F(DupSearchTest, NameAndSizeGroupIgnoresCase)
{
    drives_.writeFile('C', "one/report.doc", "12345");
    drives_.writeFile('C', "two/REPORT.DOC", "abcde");
    drives_.writeFile('C', "three/Report.doc", "zzzzz");
    drives_.writeFile('C', "four/report.doc", "different size");
    drives_.writeFile('C', "alone.txt", "12345");
    const auto rows = Run(Bytes(mmFilenameSize));
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(Shades(rows), "AAA");
    for (const ResultRow& r : rows) {
        EXPECT_EQ(r.cells[dcFilename].toLower(), "report.doc");
        EXPECT_EQ(r.cells[dcSize], "5");
        EXPECT_EQ(r.cells[dcType], "Word document");
        EXPECT_TRUE(QFile::exists(drives_.posix(r.path))) << qPrintable(r.path);
    }
}

TEST_F(DupSearchTest, KeyFieldsJoinWithoutSeparator)
{
    drives_.writeFile('C', "x/a1", "12345");
    drives_.writeFile('C', "y/a", "123456789012345");
    const auto rows = Run(Bytes(mmFilenameSize));
    EXPECT_EQ(Names(rows), QStringList({"a", "a1"}));
    EXPECT_EQ(Shades(rows), "AB");  // one group, but the row shades compare name and size
}

TEST_F(DupSearchTest, SinglesAreDroppedAndGroupsAlternateShades)
{
    drives_.writeFile('C', "a/same.txt", "1");
    drives_.writeFile('C', "b/same.txt", "2");
    drives_.writeFile('C', "a/other.txt", "123");
    drives_.writeFile('C', "b/other.txt", "456");
    drives_.writeFile('C', "c/single.txt", "9");
    const auto rows = Run(Bytes(mmFilenameSize));
    EXPECT_EQ(Names(rows), QStringList({"other.txt", "other.txt", "same.txt", "same.txt"}));
    EXPECT_EQ(Shades(rows), "AABB");
    drives_.writeFile('C', "c/extra.txt", "77");
    EXPECT_TRUE(Run(Bytes(mmFilenameSize, SizeRelation::Between, 2, 2)).empty());
}

TEST_F(DupSearchTest, HiddenFilesAndFoldersAreNeverListed)
{
    drives_.writeFile('C', "a/dup.txt", "1");
    drives_.writeFile('C', "b/.dup.txt", "1");
    drives_.writeFile('C', ".hidden/dup.txt", "1");
    drives_.writeFile('C', "b/.dup.txt2", "1");
    EXPECT_TRUE(Run(Bytes(mmFilename)).empty());
    drives_.writeFile('C', "c/dup.txt", "1");
    EXPECT_EQ(Run(Bytes(mmFilename)).size(), 2u);
}

TEST_F(DupSearchTest, FileReachedTwiceIsListedOnce)
{
    const QString a = drives_.writeFile('C', "data/file.bin", "abc");
    drives_.makeFolder('C', "other");
    ASSERT_EQ(::link(QFile::encodeName(a).constData(),
                     QFile::encodeName(drives_.posix('C') + "/other/file.bin").constData()), 0);
    DupCriteria c = Bytes(mmSize);
    EXPECT_TRUE(Run(c).empty()) << "a hard link is the same file";
    c.roots = {"C:\\data", "C:"};
    drives_.writeFile('C', "elsewhere/copy.bin", "xyz");
    const auto rows = Run(c);
    EXPECT_EQ(rows.size(), 2u) << "nested roots walk each folder once";
}

TEST_F(DupSearchTest, FileHogsKeepTheirCaseAndComeInReverseLineOrder)
{
    drives_.writeFile('C', "Big/First.BIN", QByteArray(300, 'x'));
    drives_.writeFile('C', "Big/Second.BIN", QByteArray(200, 'x'));
    drives_.writeFile('C', "small.txt", QByteArray(2, 'x'));
    DupCriteria c = Bytes(mmFilename, SizeRelation::LargerOrEqual, 100);
    c.duplicateMode = false;
    const auto rows = Run(c);
    ASSERT_EQ(rows.size(), 2u);
    // Lines sort as text ("200..." before "300..."); hogs take them backwards.
    EXPECT_EQ(rows[0].cells[hcFileName], "C:\\Big\\First.BIN");
    EXPECT_EQ(rows[1].cells[hcFileName], "C:\\Big\\Second.BIN");
    EXPECT_EQ(rows[1].path, "C:\\Big\\Second.BIN");
    EXPECT_EQ(rows[0].cells[hcSize], "300");
}

TEST_F(DupSearchTest, AbortDuringTheWalkKeepsWhatWasFound)
{
    for (int i = 0; i < 5; ++i) {
        drives_.writeFile('C', QString("d%1/a.txt").arg(i), "1");
        drives_.writeFile('C', QString("d%1/b.txt").arg(i), "1");
    }
    DupSearch s(Bytes(mmFilename));
    int pumps = 0;
    s.pump = [&] {
        if (++pumps == 2)
            s.abortFlag = true;
    };
    s.scan();
    EXPECT_TRUE(s.abortFlag);
    EXPECT_LT(s.lineCount(), 10);
    EXPECT_GT(s.lineCount(), 0);
}

TEST_F(DupSearchTest, CrcEliminationKeepsConfirmedCopies)
{
    drives_.writeFile('C', "a/f.txt", "same");
    drives_.writeFile('C', "b/f.txt", "same");
    drives_.writeFile('C', "c/f.txt", "diff");
    drives_.writeFile('C', "a/g.txt", "1234567");
    drives_.writeFile('C', "b/g.txt", "7654321");
    DupSearch s(Bytes(mmFilenameSize));
    s.scan();
    ASSERT_EQ(s.rows().size(), 5u);
    ASSERT_TRUE(s.computeCrcValues(true, TryBlockCrcSum));
    ASSERT_EQ(s.rows().size(), 2u);
    for (const ResultRow& r : s.rows()) {
        EXPECT_EQ(r.cells[dcFilename], "f.txt");
        EXPECT_EQ(r.cells[dcType], CrcText(BlockCrcSumOf("same", 4)));
    }
    EXPECT_EQ(Shades(s.rows()), "AA");
}

TEST_F(DupSearchTest, UnreadableFilesShowZeroButNeverMatch)
{
    drives_.writeFile('C', "a/f.txt", "same");
    drives_.writeFile('C', "b/f.txt", "same");
    drives_.writeFile('C', "c/f.txt", "same");
    DupSearch s(Bytes(mmFilenameSize));
    s.scan();
    auto crc = [](const QString& path) -> std::optional<quint32> {
        if (path.startsWith("C:\\a") || path.startsWith("C:\\b"))
            return std::nullopt;
        return 7;
    };
    ASSERT_TRUE(s.computeCrcValues(false, crc));
    EXPECT_EQ(Names(s.rows(), dcType), QStringList({"0", "0", "7"}));
    ASSERT_TRUE(s.computeCrcValues(true, crc));
    EXPECT_TRUE(s.rows().empty());
}

TEST_F(DupSearchTest, AbortedCrcPassRemovesNothing)
{
    drives_.writeFile('C', "a/f.txt", "same");
    drives_.writeFile('C', "b/f.txt", "diff");
    DupSearch s(Bytes(mmFilenameSize));
    s.scan();
    s.pump = [&] { s.abortFlag = true; };
    EXPECT_FALSE(s.computeCrcValues(true, TryBlockCrcSum));
    EXPECT_EQ(s.rows().size(), 2u);
    EXPECT_EQ(Names(s.rows(), dcType), QStringList({"", ""}));
}

TEST_F(DupSearchTest, BlockCrcSum)
{
    const QByteArray big(2049, 'q');
    const quint32 expected = quint32(crc32(0, reinterpret_cast<const Bytef*>(big.constData()), 2048))
        + quint32(crc32(0, reinterpret_cast<const Bytef*>(big.constData() + 2048), 1));
    const QByteArray huge(3 * 1024 * 1024 + 17, 'r');
    quint32 hugeSum = 0;
    for (qsizetype at = 0; at < huge.size(); at += 2048)
        hugeSum += quint32(crc32(0, reinterpret_cast<const Bytef*>(huge.constData() + at),
                                 uInt(std::min<qsizetype>(2048, huge.size() - at))));
    struct Row {
        QString name;
        QByteArray contents;
        QString text;
    };
    const QList<Row> rows = {
        {"abc.txt", "abc", "352441C2"},
        {"empty.txt", "", "0"},
        {"big.bin", big, CrcText(expected)},
        {"huge.bin", huge, CrcText(hugeSum)},
    };
    for (const Row& r : rows) {
        drives_.writeFile('C', r.name, r.contents);
        EXPECT_EQ(CrcText(BlockCrcSum("C:\\" + r.name)), r.text) << qPrintable(r.name);
    }
    EXPECT_EQ(BlockCrcSum("C:\\missing.txt"), 0u);
    EXPECT_FALSE(TryBlockCrcSum("C:\\missing.txt"));
}

TEST_F(DupSearchTest, BlockCrcSumIsTheSameEveryWay)
{
    // Every way the processor offers gives zlib's CRC-32 of each 2048-byte
    // slice, summed: random bytes, at odd addresses, with short last slices.
    QByteArray data(3 * 2048 * 16 + 100, Qt::Uninitialized);
    quint32 seed = 12345;
    for (char& c : data) {
        seed = seed * 1103515245u + 12345u;
        c = char(seed >> 23);
    }
    const QStringList variants = BlockCrcVariants();
    ASSERT_TRUE(variants.contains("zlib"));
    for (const qint64 size : {0, 1, 15, 64, 2047, 2048, 2049, 4096, 6000, 65536, 98404}) {
        for (const qint64 offset : {0, 1, 7}) {
            const char* p = data.constData() + offset;
            quint32 expected = 0;
            for (qint64 at = 0; at < size; at += 2048)
                expected += quint32(crc32(0, reinterpret_cast<const Bytef*>(p + at), uInt(std::min<qint64>(2048, size - at))));
            EXPECT_EQ(BlockCrcSumOf(p, size), expected) << size << " at " << offset;
            for (const QString& v : variants)
                EXPECT_EQ(BlockCrcSumOfVariant(v, p, size), expected) << qPrintable(v) << " " << size << " at " << offset;
        }
    }
    // All ones and all zeros, where a slip in the folding shows first.
    for (const char fill : {'\0', '\xff'}) {
        const QByteArray same(2048 * 3, fill);
        const quint32 one = quint32(crc32(0, reinterpret_cast<const Bytef*>(same.constData()), 2048));
        for (const QString& v : variants)
            EXPECT_EQ(BlockCrcSumOfVariant(v, same.constData(), same.size()), 3 * one) << qPrintable(v);
    }
}

// The engine's rows as a checksum pass sees them.
class Rows : public CrcRows {
public:
    explicit Rows(std::vector<ResultRow>& rows) : rows_(rows) {}
    int count() const override { return int(rows_.size()); }
    QString path(int row) const override { return rows_[size_t(row)].path; }
    QString sizeText(int row) const override { return rows_[size_t(row)].cells[dcSize]; }
    void setCrcText(int row, const QString& text) override { rows_[size_t(row)].cells[dcType] = text; }
    void keepRows(const std::vector<bool>& keep) override
    {
        std::vector<ResultRow> kept;
        for (size_t c = 0; c < rows_.size(); ++c)
            if (keep[c])
                kept.push_back(rows_[c]);
        rows_ = kept;
    }
    void setShade(int row, char shade) override { rows_[size_t(row)].shade = shade; }

private:
    std::vector<ResultRow>& rows_;
};

// Reading in disk order, with or without the first 4 KiB pass, keeps and
// shows what reading each file by its path does: same rows, same checksums,
// same shades; an unreadable file shows 0 and matches nothing.
TEST_F(DupSearchTest, DiskOrderPassMatchesThePlainOne)
{
    const QByteArray big(10000, 'b');
    QByteArray tail = big;
    tail[9000] = 'x';  // the same first 4 KiB, other contents
    QByteArray head = big;
    head[10] = 'y';    // other first 4 KiB
    const struct {
        const char* path;
        QByteArray contents;
    } files[] = {
        {"a/big", big},   {"b/big", big},  {"c/big", tail}, {"d/big", head}, {"a/small", "same"},
        {"b/small", "same"}, {"c/small", "diff"}, {"d/gone", "gone"}, {"e/gone", "gone"},
    };
    QString gone;
    for (const auto& f : files)
        gone = drives_.writeFile('C', f.path, f.contents);
    gone.chop(6);
    gone += "d/gone";
    for (bool eliminate : {false, true}) {
        DupSearch s(Bytes(mmSize));
        s.scan();
        ASSERT_EQ(s.rows().size(), std::size(files));
        // A file that is a FIFO by the time it is read cannot be read.
        const QByteArray fifo = QFile::encodeName(gone);
        ASSERT_EQ(::unlink(fifo.constData()), 0);
        ASSERT_EQ(::mkfifo(fifo.constData(), 0644), 0);
        std::vector<ResultRow> plain = s.rows(), ordered = s.rows();
        Rows plainRows(plain), orderedRows(ordered);
        ASSERT_TRUE(s.computeCrcValues(plainRows, eliminate, TryBlockCrcSum));
        ASSERT_TRUE(s.computeCrcValues(orderedRows, eliminate));
        ASSERT_EQ(ordered.size(), eliminate ? 4u : std::size(files)) << eliminate;
        ASSERT_EQ(plain.size(), ordered.size());
        for (size_t k = 0; k < plain.size(); ++k) {
            EXPECT_EQ(ordered[k].path, plain[k].path);
            EXPECT_EQ(ordered[k].cells, plain[k].cells);
            EXPECT_EQ(ordered[k].shade, plain[k].shade);
        }
        ::unlink(fifo.constData());
        drives_.writeFile('C', "d/gone", "gone");
    }
}

}  // namespace

#include "finders/blockcrc.h"
#include "support/tempdrives.h"

#include <QProcess>
#include <gtest/gtest.h>

namespace {

struct ScanResult {
    int status;
    QStringList out;
    QString err;
};

ScanResult Scan(const QStringList& args)
{
    QProcess p;
    p.start(TROVIK_SCAN, args);
    p.waitForFinished(60000);
    QStringList lines = QString::fromUtf8(p.readAllStandardOutput()).split('\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return {p.exitCode(), lines, QString::fromUtf8(p.readAllStandardError())};
}

TEST(DupsCliTest, GroupsWithShadesAndChecksums)
{
    testing_support::TempDrives drives("C");
    drives.writeFile('C', "a/f.txt", "same");
    drives.writeFile('C', "b/f.txt", "same");
    drives.writeFile('C', "c/f.txt", "diff");
    drives.writeFile('C', "a/g.txt", "1234567");
    drives.writeFile('C', "b/g.txt", "7654321");
    const ScanResult plain = Scan({"dups", "--larger", "0", "--unit", "bytes", "C:"});
    ASSERT_EQ(plain.status, 0) << qPrintable(plain.err);
    ASSERT_EQ(plain.out.size(), 6);
    EXPECT_EQ(plain.out[0], "Shade\tFilename\tSize\tModified\tTime\tAccess\tFolder\tType");
    EXPECT_TRUE(plain.out[1].startsWith("A\tf.txt\t4\t"));
    EXPECT_TRUE(plain.out[4].startsWith("B\tg.txt\t7\t"));

    const ScanResult crc = Scan({"dups", "--match", "1", "--crc", "--eliminate", "--larger", "0", "--unit", "bytes",
                                 drives.posix('C')});
    ASSERT_EQ(crc.status, 0) << qPrintable(crc.err);
    ASSERT_EQ(crc.out.size(), 3);
    EXPECT_TRUE(crc.out[0].endsWith("\tCRC Values"));
    const QString sum = finders::CrcText(finders::BlockCrcSumOf("same", 4));
    EXPECT_TRUE(crc.out[1].endsWith("\t" + sum)) << qPrintable(crc.out[1]);
    EXPECT_TRUE(crc.out[2].endsWith("\t" + sum));
}

TEST(DupsCliTest, HogsLargestFirst)
{
    testing_support::TempDrives drives("C");
    drives.writeFile('C', "Big/a.bin", QByteArray(9000, 'x'));
    drives.writeFile('C', "Big/b.bin", QByteArray(12000, 'x'));
    drives.writeFile('C', "c.bin", QByteArray(10500, 'x'));
    const ScanResult r = Scan({"hogs", "--larger", "1", "C:"});
    ASSERT_EQ(r.status, 0) << qPrintable(r.err);
    ASSERT_EQ(r.out.size(), 4);
    EXPECT_EQ(r.out[0], "Size\tModified\tTime\tAccess\tFileName\tType");
    EXPECT_TRUE(r.out[1].startsWith("12,000\t")) << qPrintable(r.out[1]);
    EXPECT_TRUE(r.out[1].contains("\tC:\\Big\\b.bin\t"));
    EXPECT_TRUE(r.out[2].startsWith("10,500\t"));
    EXPECT_TRUE(r.out[3].startsWith("9,000\t"));
}

TEST(DupsCliTest, MessagesAndUsage)
{
    testing_support::TempDrives drives("C");
    drives.writeFile('C', "one.txt", "1");
    struct Row {
        QStringList args;
        int status;
        QString err;
    };
    const QList<Row> rows = {
        {{"dups", "C:"}, 1, "No files found."},
        {{"dups", "--between", "5", "4", "C:"}, 1, "The second number must be larger or equal than the first number"},
        {{"dups", "--larger", "10001", "C:"}, 2, ""},
        {{"dups", "--eliminate", "C:"}, 2, ""},
        {{"dups", "--match", "7", "C:"}, 2, ""},
        {{"dups", "--unit", "MB", "C:"}, 2, ""},
        {{"dups"}, 2, ""},
        {{"hogs", "--crc", "C:"}, 2, ""},
    };
    for (const Row& r : rows) {
        const ScanResult s = Scan(r.args);
        EXPECT_EQ(s.status, r.status) << qPrintable(r.args.join(' '));
        if (!r.err.isEmpty()) {
            EXPECT_TRUE(s.err.contains(r.err)) << qPrintable(s.err);
        }
    }
}

TEST(DupsCliTest, CrcOfFiles)
{
    testing_support::TempDrives drives("C");
    drives.writeFile('C', "abc.txt", "abc");
    const ScanResult r = Scan({"crc", "C:\\abc.txt", drives.posix('C') + "/abc.txt"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, QStringList({"352441C2\tC:\\abc.txt", "352441C2\tC:\\abc.txt"}));
    EXPECT_EQ(Scan({"crc", "C:\\missing"}).status, 1);
}

}  // namespace

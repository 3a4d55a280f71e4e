// trovik-scan details and compare: the window's lines on standard output.
#include "../browse/pebuilder.h"
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

}  // namespace

TEST(DetailsCliTest, DetailsAndCompare)
{
    testing_support::TempDrives drives("C");
    petest::VersionSpec v;
    v.strings = petest::SampleStrings();
    drives.writeFile('C', "bin/tool.dll", petest::PeImage({true, petest::VersionBlockBytes(v)}));
    drives.writeFile('C', "a/f.txt", "abc");
    drives.writeFile('C', "b/f.txt", "abc");

    const ScanResult d = Scan({"details", "C:\\bin\\tool.dll", drives.posix('C') + "/a/f.txt", "C:\\gone"});
    EXPECT_EQ(d.status, 1);
    EXPECT_TRUE(d.err.contains("File not found: C:\\gone"));
    ASSERT_EQ(d.out.size(), 23 + 1 + 12);
    EXPECT_EQ(d.out[0], "Name of file : \tC:\\bin\\tool.dll");
    EXPECT_EQ(d.out[12], "Company: \tHalvane Test Works");
    EXPECT_EQ(d.out[16], "Copyright: \t\t(C) 2024 Halvane");
    EXPECT_EQ(d.out[23], "");
    EXPECT_EQ(d.out[24], "Name of file : \tC:\\a\\f.txt");

    const ScanResult c = Scan({"compare", "--crc", "C:\\a\\f.txt", "C:\\b\\f.txt"});
    ASSERT_EQ(c.status, 0) << qPrintable(c.err);
    EXPECT_TRUE(c.out.contains("Folder:\tC:\\b"));
    EXPECT_TRUE(c.out.contains("CRC Value:\t352441C2 file contents are identical"));
    EXPECT_EQ(c.out.mid(c.out.size() - 3, 2), QStringList({"[compared]", "Size:\tSame size"}));
    EXPECT_EQ(Scan({"compare", "C:\\a\\f.txt"}).status, 2);
}

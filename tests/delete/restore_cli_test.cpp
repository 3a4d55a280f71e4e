// trovik-scan restore from outside: a round trip through our own archive,
// failures named per entry with exit status 1, usage errors with 2.
#include "delete/restore_testutil.h"
#include "platform/fileops.h"
#include "support/tempdrives.h"

#include <QProcess>
#include <gtest/gtest.h>

using namespace restore_test;

namespace {

struct ScanResult {
    int status;
    QStringList out;
    QStringList err;
};

QStringList Lines(const QByteArray& bytes)
{
    QStringList lines = QString::fromUtf8(bytes).split('\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

ScanResult Scan(const QStringList& args)
{
    QProcess p;
    p.start(TROVIK_SCAN, args);
    p.waitForFinished(60000);
    return {p.exitCode(), Lines(p.readAllStandardOutput()), Lines(p.readAllStandardError())};
}

class RestoreCliTest : public ::testing::Test {
protected:
    testing_support::TempDrives drives{"CD"};
    QString c(const QString& rel) const { return drives.posix('C') + "/" + rel; }
};

TEST_F(RestoreCliTest, RoundTripPutsTheFilesBack)
{
    drives.writeFile('C', "work/a.txt", "alpha");
    drives.writeFile('C', "work/deep/b.bin", QByteArray(100000, 'b'));
    drives.makeFolder('D', "zips");
    ASSERT_TRUE(WriteArchive("D:\\zips\\Drive-C-t.zip", {"C:\\work\\a.txt", "C:\\work\\deep\\b.bin"}));
    ASSERT_TRUE(plat::deleteFile("C:\\work\\a.txt"));
    ASSERT_TRUE(plat::deleteFile("C:\\work\\deep\\b.bin"));

    const ScanResult r = Scan({"restore", "D:\\zips\\Drive-C-t.zip", drives.posix('C')});
    EXPECT_EQ(r.status, 0) << qPrintable(r.err.join('\n'));
    EXPECT_TRUE(r.err.isEmpty());
    EXPECT_EQ(r.out, QStringList{"2 of 2 files restored into C:\\"});
    EXPECT_EQ(ReadBytes(c("work/a.txt")), "alpha");
    EXPECT_EQ(ReadBytes(c("work/deep/b.bin")), QByteArray(100000, 'b'));

    // Again: both exist now, are kept and named.
    drives.writeFile('C', "work/a.txt", "changed");
    const ScanResult again = Scan({"restore", drives.posix('D') + "/zips/Drive-C-t.zip", "C:\\"});
    EXPECT_EQ(again.status, 1);
    EXPECT_EQ(again.err.size(), 2);
    EXPECT_TRUE(again.err.value(0).startsWith("Cannot extract work/a.txt from Drive-C-t.zip: "));
    EXPECT_EQ(again.out, QStringList{"0 of 2 files restored into C:\\"});
    EXPECT_EQ(ReadBytes(c("work/a.txt")), "changed");
}

TEST_F(RestoreCliTest, HostileEntriesAreNamedAndNothingLeavesTheFolder)
{
    drives.makeFolder('C', "dest");
    ASSERT_TRUE(WriteBytes(c("bad.zip"), RawZip({{"../up.txt", "x"}, {"ok.txt", "y"}})));
    const ScanResult r = Scan({"restore", "C:\\bad.zip", "C:\\dest"});
    EXPECT_EQ(r.status, 1);
    ASSERT_EQ(r.err.size(), 1);
    EXPECT_TRUE(r.err[0].startsWith("Cannot extract ../up.txt from bad.zip: "));
    EXPECT_EQ(r.out, QStringList{"1 of 2 files restored into C:\\dest"});
    EXPECT_FALSE(QFile::exists(c("up.txt")));
    EXPECT_EQ(ReadBytes(c("dest/ok.txt")), "y");
}

TEST_F(RestoreCliTest, PasswordOption)
{
    if (!HaveZip())
        GTEST_SKIP() << "zip is not installed";
    drives.writeFile('D', "p.txt", "private");
    ASSERT_TRUE(RunZip(drives.posix('D'), {"-q", "-P", "pw", "Drive-D-p.zip", "p.txt"}));
    drives.makeFolder('C', "dest");
    const ScanResult none = Scan({"restore", "D:\\Drive-D-p.zip", "C:\\dest"});
    EXPECT_EQ(none.status, 1);
    const ScanResult wrong = Scan({"restore", "--password", "nope", "D:\\Drive-D-p.zip", "C:\\dest"});
    EXPECT_EQ(wrong.status, 1);
    EXPECT_EQ(wrong.err.size(), 1);
    EXPECT_FALSE(QFile::exists(c("dest/p.txt")));
    const ScanResult right = Scan({"restore", "--password", "pw", "D:\\Drive-D-p.zip", "C:\\dest"});
    EXPECT_EQ(right.status, 0) << qPrintable(right.err.join('\n'));
    EXPECT_EQ(ReadBytes(c("dest/p.txt")), "private");
}

TEST_F(RestoreCliTest, BadArgumentsAndFiles)
{
    drives.writeFile('C', "Drive-X.zip", "not a zip");
    const struct {
        QStringList args;
        int status;
    } table[] = {
        {{"restore"}, 2},
        {{"restore", "C:\\Drive-X.zip"}, 2},
        {{"restore", "C:\\Drive-X.zip", "C:\\", "C:\\"}, 2},
        {{"restore", "--password"}, 2},
        {{"restore", "--bogus", "C:\\Drive-X.zip", "C:\\"}, 2},
        {{"restore", "C:\\Drive-X.zip", "C:\\"}, 1},
        {{"restore", "C:\\missing.zip", "C:\\"}, 1},
        {{"restore", "C:\\Drive-X.zip", "C:\\no\\such\\folder"}, 1},
        {{"restore", "relative.zip", "C:\\"}, 1},
    };
    for (const auto& row : table) {
        const ScanResult r = Scan(row.args);
        EXPECT_EQ(r.status, row.status) << qPrintable(row.args.join(' '));
        EXPECT_FALSE(r.err.isEmpty()) << qPrintable(row.args.join(' '));
    }
    EXPECT_EQ(ReadBytes(c("Drive-X.zip")), "not a zip");
}

}  // namespace

#include "support/tempdrives.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>

namespace {

struct ScanResult {
    int status;
    QString out;
    QString err;
};

ScanResult Scan(const QStringList& args)
{
    QProcess p;
    p.start(TROVIK_SCAN, args);
    p.waitForFinished(60000);
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
}

TEST(HarborCliTest, ReportsReasonPerPath)
{
    testing_support::TempDrives drives("CD");
    drives.makeFolder('C', "data/old");
    QFile f(drives.programHome() + "/folders.txt");
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("C:\\data\r\n");
    f.close();
    const ScanResult r = Scan({"harbor", "C:\\data\\a.txt", drives.posix('C') + "/data/old/b.txt", "D:\\x.txt"});
    EXPECT_EQ(r.status, 0) << qPrintable(r.err);
    EXPECT_EQ(r.out, "3\treferenced in the registry\tC:\\data\\a.txt\n"
                     "0\t\tC:\\data\\old\\b.txt\n"
                     "0\t\tD:\\x.txt\n");
    const ScanResult folder = Scan({"harbor", "--folder", "C:\\data"});
    EXPECT_EQ(folder.out, "3\treferenced in the registry\tC:\\data\n");
}

TEST(HarborCliTest, UsageErrors)
{
    testing_support::TempDrives drives("C");
    EXPECT_EQ(Scan({}).status, 2);
    EXPECT_EQ(Scan({"harbor"}).status, 2);
    EXPECT_EQ(Scan({"harbor", "--bogus", "C:\\x"}).status, 2);
    EXPECT_EQ(Scan({"nosuch"}).status, 2);
    const ScanResult help = Scan({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_TRUE(help.out.contains("trovik-scan harbor --build"));
    const ScanResult bad = Scan({"harbor", "relative/path"});
    EXPECT_EQ(bad.status, 1);
    EXPECT_FALSE(bad.err.isEmpty());
}

TEST(HarborCliTest, BuildWritesFoldersFile)
{
    testing_support::TempDrives drives("C");
    // A user desktop entry whose program lies on the temporary drive.
    const QString tool = drives.writeFile('C', "apps/tool/run.sh", "#!/bin/sh\n");
    QDir().mkpath(drives.root() + "/home/.local/share/applications");
    QFile desktop(drives.root() + "/home/.local/share/applications/tool.desktop");
    ASSERT_TRUE(desktop.open(QIODevice::WriteOnly));
    desktop.write(("[Desktop Entry]\nName=Tool\nExec=" + tool + " %U\n").toUtf8());
    desktop.close();
    const ScanResult r = Scan({"harbor", "--build"});
    EXPECT_EQ(r.status, 0) << qPrintable(r.err);
    EXPECT_TRUE(r.out.startsWith("1 folders in ")) << qPrintable(r.out);
    QFile written(drives.programHome() + "/folders.txt");
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(written.readAll(), QByteArray("C:\\apps\\tool\n"));
    EXPECT_EQ(Scan({"harbor", "C:\\apps\\tool\\run.sh"}).out.left(2), "3\t");
}

}  // namespace

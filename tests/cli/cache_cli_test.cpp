// trovik-scan cache: the folder list, "Initialize" and the files to clear.
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

}  // namespace

TEST(CacheCli, ListInitializeAndClear)
{
    testing_support::TempDrives drives("C");
    const QString home = drives.makeFolder('C', "home/ann");
    qputenv("HOME", QFile::encodeName(home));
    qputenv("XDG_CACHE_HOME", QFile::encodeName(home + "/.cache"));
    const QString entries = "C:\\home\\ann\\.cache\\mozilla\\firefox\\p\\cache2\\entries";
    const QString chromium = "C:\\home\\ann\\.cache\\chromium\\Default\\Cache\\Cache_Data";
    drives.writeFile('C', "home/ann/.cache/mozilla/firefox/p/cache2/entries/0A1B", "12345");
    drives.makeFolder('C', "home/ann/.cache/chromium/Default/Cache/Cache_Data");

    // The list as first shown; nothing is stored by looking.
    const ScanResult list = Scan({"cache", "--list"});
    EXPECT_EQ(list.status, 0) << qPrintable(list.err);
    EXPECT_EQ(list.out, entries + "\n" + chromium + "\n");
    EXPECT_FALSE(QFile::exists(drives.configHome() + "/Halvane/Trovik-3.0.ini"));

    const ScanResult clear = Scan({"cache", "--days", "0"});
    EXPECT_EQ(clear.status, 0) << qPrintable(clear.err);
    EXPECT_EQ(clear.out, "Size\tFile\n5\t" + entries + "\\0A1B\n");
    const QString emptyFolder = drives.posix('C') + "/home/ann/.cache/chromium/Default/Cache/Cache_Data";
    const ScanResult folder = Scan({"cache", "--folder", emptyFolder});
    EXPECT_EQ(folder.status, 1);
    EXPECT_EQ(folder.err, "No files found to clear\n");

    // "Initialize" stores the list; a second one adds nothing.
    EXPECT_EQ(Scan({"cache", "--init"}).out, list.out);
    QDir(home + "/.cache/chromium").removeRecursively();
    EXPECT_EQ(Scan({"cache", "--list"}).out, list.out);
    EXPECT_EQ(Scan({"cache", "--init"}).out, list.out);
}

TEST(CacheCli, UsageErrors)
{
    testing_support::TempDrives drives("C");
    const QStringList bad[] = {
        {"cache", "--days", "101"}, {"cache", "--days", "-1"}, {"cache", "--days", "x"},
        {"cache", "--days"},        {"cache", "--folder", "rel"}, {"cache", "--list", "--days", "1"},
        {"cache", "--list", "--init"}, {"cache", "C:\\x"},
    };
    for (const QStringList& args : bad)
        EXPECT_EQ(Scan(args).status, 2) << qPrintable(args.join(' '));
}

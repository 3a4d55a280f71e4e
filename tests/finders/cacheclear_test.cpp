// The cache clean-up engine: which files of the listed folders are old
// enough, and where the list of folders comes from.
#include "core/settings.h"
#include "finders/cacheclear.h"
#include "support/tempdrives.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>

#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace finders;

namespace {

// Local noon of the day `days` before today (negative: after), in seconds.
qint64 NoonDaysAgo(int days)
{
    return QDateTime(QDate::currentDate().addDays(-days), QTime(12, 0)).toSecsSinceEpoch();
}

void SetTimes(const QString& posix, qint64 atime, qint64 mtime)
{
    const timespec times[2] = {{time_t(atime), 0}, {time_t(mtime), 0}};
    const QByteArray raw = QFile::encodeName(posix);
    ASSERT_EQ(::utimensat(AT_FDCWD, raw.constData(), times, AT_SYMLINK_NOFOLLOW), 0) << raw.constData();
}

QStringList Names(const QStringList& paths)
{
    QStringList out;
    for (const QString& p : paths)
        out << p.section('\\', -1);
    out.sort();
    return out;
}

}  // namespace

TEST(CacheClear, AgesTable)
{
    testing_support::TempDrives drives("C");
    struct Row {
        const char* name;
        qint64 atime, mtime;
        int days;
        bool found;
    };
    const qint64 epoch1970 = 3600 * 24 * 3;
    const qint64 year2150 = QDateTime(QDate(2150, 6, 1), QTime(12, 0)).toSecsSinceEpoch();
    const Row rows[] = {
        {"today0", NoonDaysAgo(0), NoonDaysAgo(0), 0, true},
        {"today1", NoonDaysAgo(0), NoonDaysAgo(0), 1, false},
        {"tenAt10", NoonDaysAgo(10), NoonDaysAgo(20), 10, true},
        {"tenAt11", NoonDaysAgo(10), NoonDaysAgo(20), 11, false},
        // A write after the last read counts as an access.
        {"writtenLater", NoonDaysAgo(30), NoonDaysAgo(2), 10, false},
        {"readLater", NoonDaysAgo(2), NoonDaysAgo(30), 10, false},
        // An access after today is younger than any limit above 0.
        {"future3", NoonDaysAgo(-5), NoonDaysAgo(-5), 3, false},
        {"future0", NoonDaysAgo(-5), NoonDaysAgo(-5), 0, true},
        {"far2150", year2150, year2150, 1, false},
        // Times a DOS date cannot hold are counted by their real day.
        {"old1970", epoch1970, epoch1970, 100, true},
    };
    for (const Row& r : rows) {
        const QString dir = QStringLiteral("c_%1").arg(r.name);
        SetTimes(drives.writeFile('C', dir + "/" + r.name, "12345"), r.atime, r.mtime);
        const CacheFiles got = FindCacheFiles({"C:\\" + dir}, r.days, FileHeld(), QDate::currentDate());
        EXPECT_EQ(got.paths.size(), r.found ? 1 : 0) << r.name;
        EXPECT_EQ(got.totalBytes, r.found ? 5.0 : 0.0) << r.name;
    }
}

TEST(CacheClear, OnlyTheListedFoldersOwnRegularFilesOnce)
{
    testing_support::TempDrives drives("C");
    drives.writeFile('C', "cache/a", "aaaa");
    drives.writeFile('C', "cache/.hidden", "hh");
    drives.writeFile('C', "cache/sub/deeper", "dddddd");
    drives.writeFile('C', "other/b", "bbb");
    const QString cache = drives.posix('C') + "/cache";
    ASSERT_EQ(::mkfifo(QFile::encodeName(cache + "/fifo").constData(), 0600), 0);
    ASSERT_TRUE(QFile::link(drives.posix('C') + "/other/b", cache + "/link"));
    drives.writeFile('C', "elsewhere/e", "e");
    ASSERT_TRUE(QFile::link(drives.posix('C') + "/elsewhere", drives.posix('C') + "/linked"));
    const QStringList folders = {
        "C:\\cache", "", "cache", "/cache", "C:cache",
        "C:\\cache\\", "C:\\missing", "C:\\linked", "C:\\other",
    };
    const CacheFiles got = FindCacheFiles(folders, 0, FileHeld(), QDate::currentDate());
    EXPECT_EQ(Names(got.paths), QStringList({".hidden", "a", "b"}));
    EXPECT_EQ(got.totalBytes, 9.0);
    EXPECT_TRUE(got.paths.contains("C:\\cache\\a"));

    // A file some process holds stays where it is.
    const CacheFiles held = FindCacheFiles({"C:\\cache"}, 0,
                                           [](const plat::FindData& f) { return f.name == "a"; },
                                           QDate::currentDate());
    EXPECT_EQ(held.paths, QStringList{"C:\\cache\\.hidden"});

    // Without a hook, the files the running processes hold are read once.
    QProcess child;
    child.setStandardInputFile(cache + "/a");
    child.start(QStandardPaths::findExecutable("sleep"), {"60"});
    ASSERT_TRUE(child.waitForStarted());
    EXPECT_EQ(FindCacheFiles({"C:\\cache"}, 0).paths, QStringList{"C:\\cache\\.hidden"});
    child.kill();
    child.waitForFinished();
    EXPECT_EQ(FindCacheFiles({"C:\\cache"}, 0).paths.size(), 2);
}

TEST(CacheClear, FirstUseAndInitializeFromTheBrowsersFolders)
{
    testing_support::TempDrives drives("C");
    const QString home = drives.makeFolder('C', "home/ann");
    qputenv("HOME", QFile::encodeName(home));
    qunsetenv("XDG_CACHE_HOME");
    const QStringList made = {
        ".cache/mozilla/firefox/zz.default/cache2/entries",
        ".cache/mozilla/firefox/ab.work/cache2/entries",
        ".cache/mozilla/firefox/nocache.prof",
        ".cache/chromium/Profile 1/Cache/Cache_Data",
        ".cache/chromium/Default/Cache",
        ".cache/vivaldi/Default/Cache/Cache_Data",
        ".var/app/org.mozilla.firefox/cache/mozilla/firefox/p.default/cache2/entries",
        ".var/app/com.brave.Browser/cache/BraveSoftware/Brave-Browser/Default/Cache/Cache_Data",
        "snap/chromium/common/.cache/chromium/Default/Cache/Cache_Data",
        "elsewhere/cache2/entries",
    };
    for (const QString& m : made)
        ASSERT_TRUE(QDir().mkpath(home + "/" + m));
    // A profile reached only through a link is not a cache folder.
    ASSERT_TRUE(QFile::link(home + "/elsewhere", home + "/.cache/mozilla/firefox/linked"));
    const QString h = "C:\\home\\ann\\";
    const QStringList expected = {
        h + ".cache\\mozilla\\firefox\\ab.work\\cache2\\entries",
        h + ".cache\\mozilla\\firefox\\zz.default\\cache2\\entries",
        h + ".cache\\chromium\\Default\\Cache",
        h + ".cache\\chromium\\Profile 1\\Cache\\Cache_Data",
        h + ".cache\\vivaldi\\Default\\Cache\\Cache_Data",
        h + ".var\\app\\com.brave.Browser\\cache\\BraveSoftware\\Brave-Browser\\Default\\Cache\\Cache_Data",
        h + ".var\\app\\org.mozilla.firefox\\cache\\mozilla\\firefox\\p.default\\cache2\\entries",
        h + "snap\\chromium\\common\\.cache\\chromium\\Default\\Cache\\Cache_Data",
    };
    // Nothing stored: the browsers' folders; stored, the stored list, also
    // when it is empty.
    EXPECT_EQ(LoadCacheFolders(), expected);
    SaveCacheFolders({});
    EXPECT_EQ(LoadCacheFolders(), QStringList());

    // "&Initialize" adds what is missing, a folder listed in other case
    // counting as listed, and nothing the second time.
    QStringList list = {"C:\\mine", expected[2].toUpper()};
    EXPECT_EQ(AddBrowserCacheFolders(list), expected.size() - 1);
    EXPECT_EQ(list.mid(2), QStringList(expected.mid(0, 2)) + expected.mid(3));
    EXPECT_EQ(AddBrowserCacheFolders(list), 0);
    EXPECT_EQ(list.size(), expected.size() + 1);
    SaveCacheFolders(list);
    EXPECT_EQ(LoadCacheFolders(), list);
}

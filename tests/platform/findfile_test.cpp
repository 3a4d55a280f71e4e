// Folder enumeration on temporary drives.
#include "platform/drives.h"
#include "platform/findfile.h"
#include "support/tempdrives.h"
#include "util.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace plat;
using platform_test::collect;
using testing_support::TempDrives;

namespace {

QByteArray raw(const QString& posix)
{
    return QFile::encodeName(posix);
}

QStringList names(const QMap<QString, FindData>& m)
{
    return m.keys();
}

}  // namespace

TEST(FileTime, Conversion)
{
    EXPECT_EQ(unixToFileTime(0, 0), 116444736000000000ULL);
    EXPECT_EQ(unixToFileTime(1, 500), 116444736010000005ULL);
    EXPECT_EQ(unixToFileTime(-11644473600LL, 0), 0ULL);
    EXPECT_EQ(unixToFileTime(-11644473601LL, 0), 0ULL);  // before 1601
}

TEST(FolderEnum, MaskSelectsSpecialEntries)
{
    TempDrives t;
    t.writeFile('C', "dir/a.txt", "aaa");
    t.writeFile('C', "dir/b.dat", "");
    t.writeFile('C', "dir/.hidden", "h");
    t.makeFolder('C', "dir/sub");
    t.makeFolder('C', "dir/.hsub");

    EXPECT_EQ(names(collect("C:\\dir\\*", 0)), QStringList({"a.txt", "b.dat"}));
    EXPECT_EQ(names(collect("C:\\dir\\*", faDirectory)), QStringList({".", "..", "a.txt", "b.dat", "sub"}));
    EXPECT_EQ(names(collect("C:\\dir\\*", faHidden)), QStringList({".hidden", "a.txt", "b.dat"}));
    EXPECT_EQ(names(collect("C:\\dir\\*", faReadOnly | faArchive)), QStringList({"a.txt", "b.dat"}));

    const auto all = collect("C:\\dir\\*.*", faAnyFile);
    EXPECT_EQ(names(all), QStringList({".", "..", ".hidden", ".hsub", "a.txt", "b.dat", "sub"}));
    EXPECT_EQ(all["a.txt"].attributes, 0u);
    EXPECT_EQ(all["a.txt"].size(), 3u);
    EXPECT_EQ(all[".hidden"].attributes, faHidden);
    EXPECT_EQ(all["sub"].attributes, faDirectory);
    EXPECT_EQ(all["sub"].size(), 0u);
    EXPECT_EQ(all[".hsub"].attributes, faDirectory | faHidden);
    // Dot entries carry the directory bit and nothing else.
    EXPECT_EQ(all["."].attributes, faDirectory);
    EXPECT_EQ(all[".."].attributes, faDirectory);
}

TEST(FolderEnum, NoDotEntriesAtDriveRoot)
{
    TempDrives t;
    t.writeFile('C', "top.txt");
    t.makeFolder('C', "folder");
    EXPECT_EQ(names(collect("C:\\*", faAnyFile)), QStringList({"folder", "top.txt"}));
    // Also when the root is named without its backslash before the pattern.
    EXPECT_EQ(names(collect("c:\\*.*", faAnyFile)), QStringList({"folder", "top.txt"}));
}

TEST(FolderEnum, ReadOnlyFromOwnerWriteBit)
{
    TempDrives t;
    const QString p = t.writeFile('C', "d/ro.txt");
    ASSERT_EQ(::chmod(raw(p).constData(), 0444), 0);
    t.writeFile('C', "d/rw.txt");
    const auto all = collect("C:\\d\\*", faAnyFile);
    EXPECT_EQ(all["ro.txt"].attributes, faReadOnly);
    EXPECT_EQ(all["rw.txt"].attributes, 0u);
}

TEST(FolderEnum, LinksAreReturnedOnlyOnRequestAndNeverFollowed)
{
    TempDrives t;
    const QString dir = t.makeFolder('C', "d");
    t.writeFile('C', "d/target.txt", "12345");
    t.writeFile('C', "d/sub/inner.txt");
    ASSERT_EQ(::symlink("target.txt", raw(dir + "/lfile").constData()), 0);
    ASSERT_EQ(::symlink("sub", raw(dir + "/ldir").constData()), 0);
    ASSERT_EQ(::symlink("nowhere", raw(dir + "/ldangling").constData()), 0);

    EXPECT_EQ(names(collect("C:\\d\\*", faAnyFile)), QStringList({".", "..", "sub", "target.txt"}));

    const auto withLinks = collect("C:\\d\\*", faAnyFile | faReparse);
    EXPECT_EQ(names(withLinks), QStringList({".", "..", "ldangling", "ldir", "lfile", "sub", "target.txt"}));
    for (const char* link : {"lfile", "ldir", "ldangling"}) {
        EXPECT_EQ(withLinks[link].attributes, faReparse) << link;  // no directory bit on ldir
        EXPECT_EQ(withLinks[link].size(), 0u) << link;              // not the target's size
    }
    // A link's own attributes, not its target's.
    FindData fd;
    ASSERT_TRUE(statPath("C:\\d\\ldir", fd));
    EXPECT_EQ(fd.attributes, faReparse);
    EXPECT_EQ(fd.name, "ldir");

    // A link to a folder is not entered.
    int error = 0;
    EXPECT_TRUE(collect("C:\\d\\ldir\\*", faAnyFile | faReparse, &error).isEmpty());
    EXPECT_EQ(error, ENOTDIR);
}

TEST(FolderEnum, SpecialFilesCarrySystem)
{
    TempDrives t;
    const QString dir = t.makeFolder('C', "d");
    ASSERT_EQ(::mkfifo(raw(dir + "/pipe").constData(), 0644), 0);
    t.writeFile('C', "d/file");
    const auto all = collect("C:\\d\\*", faAnyFile);
    ASSERT_TRUE(all.contains("pipe"));
    EXPECT_EQ(all["pipe"].attributes, faSystem);
    EXPECT_EQ(all["pipe"].size(), 0u);
    EXPECT_FALSE(collect("C:\\d\\*", faAnyFile & ~faSystem).contains("pipe"));
}

TEST(FolderEnum, UnrepresentableNamesAreLeftOut)
{
    TempDrives t;
    const QByteArray dir = raw(t.makeFolder('C', "d"));
    ASSERT_TRUE(platform_test::touchRaw(dir + "/back\\slash"));
    ASSERT_TRUE(platform_test::touchRaw(dir + "/bad\xff" "name"));
    ASSERT_TRUE(platform_test::touchRaw(dir + "/ctl\x01"));
    ASSERT_TRUE(platform_test::touchRaw(dir + "/caf\xc3\xa9.txt"));
    ASSERT_TRUE(platform_test::touchRaw(dir + "/ok.txt"));
    EXPECT_EQ(names(collect("C:\\d\\*", 0)), QStringList({QString::fromUtf8("caf\u00e9.txt"), "ok.txt"}));
    // Also with a pattern (names are then compared one by one).
    EXPECT_EQ(names(collect("C:\\d\\*a*", 0)), QStringList({QString::fromUtf8("caf\u00e9.txt")}));
}

TEST(FolderEnum, WildcardPatterns)
{
    TempDrives t;
    for (const char* n : {"a.txt", "B.TXT", "ab.txt", "readme", "c.txt.bak", "x.Txt"})
        t.writeFile('C', QString("d/") + n);
    t.makeFolder('C', "d/dir.txt");
    const struct {
        const char* pattern;
        QStringList expected;
    } cases[] = {
        {"*.txt", {"B.TXT", "a.txt", "ab.txt", "x.Txt"}},
        {"?.TXT", {"B.TXT", "a.txt", "x.Txt"}},
        {"a*", {"a.txt", "ab.txt"}},
        {"readme.*", {"readme"}},
        {"*.", {"readme"}},
        {"README", {"readme"}},
        {"*.bak", {"c.txt.bak"}},
        {"nothing*", {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(names(collect(QString("C:\\d\\") + c.pattern, 0)), c.expected) << c.pattern;
    EXPECT_EQ(names(collect("C:\\d\\*.txt", faDirectory)),
              QStringList({"B.TXT", "a.txt", "ab.txt", "dir.txt", "x.Txt"}));
}

TEST(FolderEnum, FailuresSetLastError)
{
    TempDrives t;
    t.writeFile('C', "file.txt");
    t.makeFolder('C', "empty");
    int error = 0;
    collect("C:\\missing\\*", faAnyFile, &error);
    EXPECT_EQ(error, ENOENT);
    collect("C:\\file.txt\\*", faAnyFile, &error);
    EXPECT_EQ(error, ENOTDIR);
    collect("Q:\\*", faAnyFile, &error);
    EXPECT_EQ(error, ENOENT);
    collect("C:\\empty\\*.txt", faAnyFile, &error);  // nothing matches
    EXPECT_EQ(error, ENOENT);
    collect("C:\\empty\\", faAnyFile, &error);      // no name pattern
    EXPECT_EQ(error, ENOENT);
    collect("C:\\empty\\*", 0, &error);             // only dot entries, masked out
    EXPECT_EQ(error, ENOENT);
    EXPECT_EQ(names(collect("C:\\empty\\*", faDirectory, &error)), QStringList({".", ".."}));
    EXPECT_EQ(error, 0);
}

TEST(FolderEnum, UnreadableFolderIsRefused)
{
    TempDrives t;
    const QString dir = t.makeFolder('C', "locked");
    t.writeFile('C', "locked/inside.txt");
    ASSERT_EQ(::chmod(raw(dir).constData(), 0), 0);
    int error = 0;
    {
        platform_test::NoDacOverride asUser;
        if (!asUser.ok()) {
            ::chmod(raw(dir).constData(), 0755);
            GTEST_SKIP() << "cannot give up the capability that reads any folder";
        }
        plat::FolderEnum e;
        FindData fd;
        EXPECT_FALSE(e.findFirst("C:\\locked\\*", faAnyFile, fd));
        error = e.lastError();
    }
    ::chmod(raw(dir).constData(), 0755);
    EXPECT_EQ(error, EACCES);
}

TEST(FolderEnum, TimesAndSizes)
{
    TempDrives t;
    const QString file = t.writeFile('C', "d/timed.bin", QByteArray(1234, 'x'));
    const struct timespec times[2] = {{1000000000, 123456789}, {1500000000, 987654321}};
    ASSERT_EQ(::utimensat(AT_FDCWD, raw(file).constData(), times, AT_SYMLINK_NOFOLLOW), 0);

    // A sparse file larger than 2 GiB, and one above 4 GiB for the high word.
    const QString big = t.posix(u'C') + "/d/big.bin";
    const QString huge = t.posix(u'C') + "/d/huge.bin";
    ASSERT_TRUE(platform_test::makeSparse(raw(big), 3000000000LL));
    ASSERT_TRUE(platform_test::makeSparse(raw(huge), 5000000000LL));

    const QString read = t.writeFile('C', "d/read.bin");
    const struct timespec readTimes[2] = {{1600000000, 0}, {1500000000, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, raw(read).constData(), readTimes, AT_SYMLINK_NOFOLLOW), 0);

    const auto all = collect("C:\\d\\*", 0);
    EXPECT_EQ(all["read.bin"].lastAccessTime, (1600000000ULL + 11644473600ULL) * 10000000ULL) << "read after the write";
    const FindData& fd = all["timed.bin"];
    EXPECT_EQ(fd.size(), 1234u);
    // Read before it was last written: the write is the last access.
    EXPECT_EQ(fd.lastAccessTime, (1500000000ULL + 11644473600ULL) * 10000000ULL + 9876543ULL);
    EXPECT_EQ(fd.lastWriteTime, (1500000000ULL + 11644473600ULL) * 10000000ULL + 9876543ULL);
    struct statx st;
    ASSERT_EQ(statx(AT_FDCWD, raw(file).constData(), AT_SYMLINK_NOFOLLOW, STATX_BTIME, &st), 0);
    if (st.stx_mask & STATX_BTIME)
        EXPECT_EQ(fd.creationTime, unixToFileTime(st.stx_btime.tv_sec, st.stx_btime.tv_nsec));
    else
        EXPECT_EQ(fd.creationTime, 0u);

    EXPECT_EQ(all["big.bin"].size(), 3000000000ULL);
    EXPECT_EQ(all["big.bin"].sizeHigh, 0u);
    EXPECT_EQ(all["big.bin"].sizeLow, 3000000000u);
    EXPECT_EQ(all["huge.bin"].size(), 5000000000ULL);
    EXPECT_EQ(all["huge.bin"].sizeHigh, 1u);

    FindData one;
    ASSERT_TRUE(statPath("C:\\d\\big.bin", one));
    EXPECT_EQ(one.size(), 3000000000ULL);
    EXPECT_EQ(one.name, "big.bin");
    EXPECT_FALSE(statPath("C:\\d\\gone.bin", one));
}

TEST(FolderEnum, OtherFileSystemIsNotEntered)
{
    // Needs a mount inside a folder; /dev usually holds one (shm or pts).
    struct stat devSt, childSt;
    QByteArray child;
    for (const char* c : {"shm", "pts", "mqueue"}) {
        if (::stat("/dev", &devSt) == 0 && ::stat((QByteArray("/dev/") + c).constData(), &childSt) == 0
            && devSt.st_dev != childSt.st_dev && S_ISDIR(childSt.st_mode)) {
            child = c;
            break;
        }
    }
    if (child.isEmpty())
        GTEST_SKIP() << "no mount point below /dev to test with";
    TempDrives t;
    qputenv("TROVIK_DRIVES", "C=" + QFile::encodeName(t.posix(u'C')) + ";M=/dev");
    plat::reloadDrives();
    FolderEnum e;
    FindData fd;
    EXPECT_FALSE(e.findFirst("M:\\" + QString::fromLatin1(child) + "\\*", faAnyFile, fd));
    EXPECT_EQ(e.lastError(), EXDEV);
    // The mount point itself is still listed in its parent.
    EXPECT_TRUE(collect("M:\\*", faAnyFile).contains(QString::fromLatin1(child)));
}

TEST(FolderEnum, FolderThatIsALinkIsRefused)
{
    TempDrives t;
    const QString real = t.makeFolder('C', "real");
    t.writeFile('C', "real/x");
    ASSERT_EQ(::symlink(raw(real).constData(), raw(t.posix(u'C') + "/alias").constData()), 0);
    int error = 0;
    EXPECT_TRUE(collect("C:\\alias\\*", faAnyFile | faReparse, &error).isEmpty());
    EXPECT_EQ(error, ENOTDIR);
}

TEST(FolderEnum, FindNextAfterEndAndReuse)
{
    TempDrives t;
    t.writeFile('C', "a/1");
    t.writeFile('C', "b/2");
    FolderEnum e;
    FindData fd;
    ASSERT_TRUE(e.findFirst("C:\\a\\*", 0, fd));
    EXPECT_EQ(fd.name, "1");
    EXPECT_FALSE(e.findNext(fd));
    EXPECT_FALSE(e.findNext(fd));
    // The same object serves another folder.
    ASSERT_TRUE(e.findFirst("C:\\b\\*", 0, fd));
    EXPECT_EQ(fd.name, "2");
    e.close();
    EXPECT_FALSE(e.findNext(fd));
}

TEST(FolderEnum, NamesHandedOutStayIntact)
{
    // The enumeration reuses its name buffer; a copy taken by the caller
    // must not change under it.
    TempDrives t;
    t.writeFile('C', "d/first-name-is-long");
    t.writeFile('C', "d/x");
    FolderEnum e;
    FindData fd;
    QStringList kept;
    ASSERT_TRUE(e.findFirst("C:\\d\\*", 0, fd));
    do
        kept << fd.name;
    while (e.findNext(fd));
    kept.sort();
    EXPECT_EQ(kept, QStringList({"first-name-is-long", "x"}));
}

TEST(FolderEnum, EntriesThatVanishAreSkipped)
{
    // The first findFirst reads the whole (small) folder; files removed
    // after that are still in the read buffer but are gone when stated.
    TempDrives t;
    for (const char* n : {"a", "b", "c", "d", "e"})
        t.writeFile('C', QString("d/") + n);
    FolderEnum e;
    FindData fd;
    ASSERT_TRUE(e.findFirst("C:\\d\\*", 0, fd));
    const QString first = fd.name;
    for (const char* n : {"a", "b", "c", "d", "e"}) {
        if (first != QLatin1String(n))
            QFile::remove(t.posix(u'C') + "/d/" + n);
    }
    EXPECT_FALSE(e.findNext(fd));
}

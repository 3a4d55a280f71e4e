// Folders reached one after another through kept ancestor handles: each
// handle is the folder its path names, the refusals are those of opening
// from the drive root, and the handles kept stay bounded.
#include "platform/folderchain.h"
#include "support/mounted.h"
#include "support/tempdrives.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

#include <optional>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace plat;
using testing_support::Mounted;
using testing_support::TempDrives;

namespace {

QByteArray raw(const QString& posix)
{
    return QFile::encodeName(posix);
}

bool sameFolder(int fd, const QString& posix)
{
    struct stat a, b;
    return fd >= 0 && ::fstat(fd, &a) == 0 && ::lstat(raw(posix).constData(), &b) == 0 && a.st_dev == b.st_dev
           && a.st_ino == b.st_ino;
}

int openDescriptors()
{
    return int(QDir("/proc/self/fd").entryList(QDir::NoDotAndDotDot | QDir::System).size());
}

}  // namespace

TEST(FolderChain, EachPathGivesItsFolderOrTheRefusalOfOpeningFromTheRoot)
{
    TempDrives t("CD");
    for (const char* f : {"a/b/c/x", "a/b/d/x", "a/e/x", "f/x"})
        t.writeFile('C', f);
    t.writeFile('D', "a/b/x");
    t.makeFolder('C', "mnt");
    ASSERT_EQ(::symlink("a", raw(t.posix(u'C') + "/lnk").constData()), 0);
    Mounted bound(t.posix(u'C') + "/f", t.posix(u'C') + "/mnt", nullptr, MS_BIND);
    struct Row {
        QString path;
        TreeError error;  // None: the handle is the folder's
    };
    // In this order, each row after the first shares ancestors with the
    // folders opened before it.
    const Row rows[] = {
        {"C:\\a\\b\\c", TreeError::None},
        {"C:\\a\\b\\c", TreeError::None},
        {"C:\\a\\b\\d", TreeError::None},
        {"c:\\A\\b", TreeError::NotFound},
        {"C:\\a\\e", TreeError::None},
        {"C:\\a\\b", TreeError::None},
        {"C:\\lnk\\b", TreeError::IsLink},
        {"C:\\a\\e\\x", TreeError::NotFolder},
        {"C:\\a\\..\\f", TreeError::BadPath},
        {"C:\\a\\\\b", TreeError::BadPath},
        {"Q:\\a", TreeError::BadPath},
        {"D:\\a\\b", TreeError::None},
        {"C:\\", TreeError::None},
        {"C:\\f", TreeError::None},
        {"C:\\mnt", bound.ok() ? TreeError::OtherFileSystem : TreeError::None},
        {"C:\\a\\b\\c", TreeError::None},
    };
    FolderChain chain;
    for (const Row& r : rows) {
        TreeError error = TreeError::Failed;
        const int fd = chain.open(r.path, error);
        EXPECT_EQ(error, r.error) << qPrintable(r.path);
        if (r.error == TreeError::None)
            EXPECT_TRUE(sameFolder(fd, t.posix(r.path))) << qPrintable(r.path);
        else
            EXPECT_EQ(fd, -1) << qPrintable(r.path);
    }
}

TEST(FolderChain, KeepsFewHandlesAndTheFoldersItOpened)
{
    TempDrives t("C");
    for (int k = 0; k < 300; ++k)
        t.writeFile('C', QStringLiteral("top/f%1/deep/x").arg(k));
    const int before = openDescriptors();
    FolderChain chain;
    TreeError error;
    for (int round = 0; round < 2; ++round)
        for (int k = 0; k < 300; ++k) {
            const QString path = QStringLiteral("C:\\top\\f%1\\deep").arg(k);
            ASSERT_TRUE(sameFolder(chain.open(path, error), t.posix(path))) << qPrintable(path);
        }
    EXPECT_LE(openDescriptors() - before, 130);
    // A kept folder moved away is still the folder reached: the handle, not
    // the text, names it.
    const int fd = chain.open("C:\\top\\f299\\deep", error);
    ASSERT_TRUE(QDir().rename(t.posix(u'C') + "/top/f299", t.posix(u'C') + "/top/moved"));
    t.makeFolder('C', "top/f299/deep");
    EXPECT_EQ(chain.open("C:\\top\\f299\\deep", error), fd);
    EXPECT_TRUE(sameFolder(fd, t.posix(u'C') + "/top/moved/deep"));
}

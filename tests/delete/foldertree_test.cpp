// The handle-based tree walk under folder deletion: links are never
// followed, entries swapped after they were listed are left alone, and no
// other file system or mount is entered.
#include "platform/fileops_p.h"
#include "platform/foldertree.h"
#include "support/tempdrives.h"

#include <QDir>
#include <QFile>
#include <QSet>

#include <gtest/gtest.h>

#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace plat;
using testing_support::TempDrives;

namespace {

QByteArray raw(const QString& posix)
{
    return QFile::encodeName(posix);
}

bool present(const QString& posix)
{
    struct stat st;
    return ::lstat(raw(posix).constData(), &st) == 0;
}

QSet<QString> namesOf(TreeFolder& folder)
{
    QSet<QString> names;
    TreeEntry e;
    while (folder.next(e))
        names << e.name;
    return names;
}

bool findEntry(TreeFolder& folder, const QString& name, TreeEntry& out)
{
    while (folder.next(out))
        if (out.name == name)
            return true;
    return false;
}

// A file system mounted for one test, unmounted whatever happens.
class Mounted {
public:
    Mounted(const QString& source, const QString& target, const char* type, unsigned long flags)
        : target_(raw(target))
    {
        ok_ = ::mount(raw(source).constData(), target_.constData(), type, flags, nullptr) == 0;
    }
    ~Mounted()
    {
        if (ok_)
            ::umount2(target_.constData(), MNT_DETACH);
    }
    bool ok() const { return ok_; }

private:
    QByteArray target_;
    bool ok_ = false;
};

}  // namespace

TEST(FolderTree, OpensAFolderAndListsEverythingButTheDots)
{
    TempDrives t("C");
    t.writeFile('C', "top/a.txt");
    t.writeFile('C', "top/.hidden");
    t.makeFolder('C', "top/sub");
    ASSERT_EQ(::symlink("/etc/passwd", raw(t.posix(u'C') + "/top/link")), 0);
    TreeError error;
    auto top = TreeFolder::open("C:\\top\\", error);
    ASSERT_TRUE(top) << treeErrorText(error).toStdString();
    EXPECT_EQ(top->path(), "C:\\top");
    EXPECT_EQ(namesOf(*top), (QSet<QString>{"a.txt", ".hidden", "sub", "link"}));
}

TEST(FolderTree, EntriesCarryPathsAndAttributes)
{
    TempDrives t("C");
    t.writeFile('C', "top/.h", "12345");
    ASSERT_EQ(::symlink("nowhere", raw(t.posix(u'C') + "/top/l")), 0);
    TreeError error;
    auto top = TreeFolder::open("C:\\top", error);
    ASSERT_TRUE(top);
    TreeEntry e;
    ASSERT_TRUE(top->lookup(".h", e));
    EXPECT_EQ(e.path, "C:\\top\\.h");
    EXPECT_EQ(e.data.size(), 5u);
    EXPECT_TRUE(e.data.attributes & faHidden);
    ASSERT_TRUE(top->lookup("l", e));
    EXPECT_TRUE(e.isLink());
    EXPECT_FALSE(e.isFolder());
}

struct OpenRefusal {
    const char* name;
    const char* drivePath;
    TreeError expected;
};

class FolderTreeOpen : public ::testing::TestWithParam<OpenRefusal> {};

TEST_P(FolderTreeOpen, RefusesWhatItMustNotEnter)
{
    TempDrives t("C");
    t.writeFile('C', "real/keep.txt");
    t.writeFile('C', "file.txt");
    ASSERT_EQ(::symlink(raw(t.posix(u'C') + "/real"), raw(t.posix(u'C') + "/alias")), 0);
    TreeError error = TreeError::None;
    EXPECT_FALSE(TreeFolder::open(GetParam().drivePath, error));
    EXPECT_EQ(error, GetParam().expected);
    EXPECT_FALSE(treeErrorText(error).isEmpty());
    EXPECT_TRUE(present(t.posix(u'C') + "/real/keep.txt"));
}

INSTANTIATE_TEST_SUITE_P(Cases, FolderTreeOpen,
                         ::testing::Values(OpenRefusal{"LinkItself", "C:\\alias", TreeError::IsLink},
                                           OpenRefusal{"LinkOnTheWay", "C:\\alias\\sub", TreeError::IsLink},
                                           OpenRefusal{"Missing", "C:\\nothere", TreeError::NotFound},
                                           OpenRefusal{"AFile", "C:\\file.txt", TreeError::NotFolder},
                                           OpenRefusal{"DotDot", "C:\\real\\..\\real", TreeError::BadPath},
                                           OpenRefusal{"Dot", "C:\\.\\real", TreeError::BadPath},
                                           OpenRefusal{"DoubledSeparator", "C:\\\\real", TreeError::BadPath},
                                           OpenRefusal{"NoDrive", "Q:\\real", TreeError::BadPath},
                                           OpenRefusal{"Relative", "C:real", TreeError::BadPath},
                                           OpenRefusal{"Empty", "", TreeError::BadPath}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(FolderTree, RemovesALinkAsALinkNeverItsTarget)
{
    TempDrives t("CD");
    const QString target = t.writeFile('D', "precious.txt", "keep");
    t.makeFolder('C', "top");
    ASSERT_EQ(::symlink(raw(target), raw(t.posix(u'C') + "/top/link")), 0);
    TreeError error;
    auto top = TreeFolder::open("C:\\top", error);
    ASSERT_TRUE(top);
    TreeEntry e;
    ASSERT_TRUE(top->lookup("link", e));
    EXPECT_TRUE(top->removeEntry(e));
    EXPECT_FALSE(present(t.posix(u'C') + "/top/link"));
    EXPECT_TRUE(present(target));
}

TEST(FolderTree, AFileSwappedAfterListingIsNotRemoved)
{
    TempDrives t("C");
    const QString file = t.writeFile('C', "top/a.txt", "old");
    TreeError error;
    auto top = TreeFolder::open("C:\\top", error);
    ASSERT_TRUE(top);
    TreeEntry e;
    ASSERT_TRUE(top->lookup("a.txt", e));
    // Moved away rather than removed, so that the new file cannot get its inode.
    ASSERT_TRUE(QFile::rename(file, t.posix(u'C') + "/kept.txt"));
    t.writeFile('C', "top/a.txt", "someone else's");
    EXPECT_FALSE(top->stillSame(e));
    EXPECT_FALSE(top->removeEntry(e));
    EXPECT_FALSE(top->trashEntry(e));
    EXPECT_TRUE(present(file));
}

TEST(FolderTree, AFolderSwappedForALinkIsNotEntered)
{
    TempDrives t("CD");
    t.makeFolder('C', "top/sub");
    const QString elsewhere = t.writeFile('D', "elsewhere/precious.txt");
    TreeError error;
    auto top = TreeFolder::open("C:\\top", error);
    ASSERT_TRUE(top);
    TreeEntry sub;
    ASSERT_TRUE(findEntry(*top, "sub", sub));
    ASSERT_TRUE(sub.isFolder());
    // Between listing and entering, the folder becomes a link elsewhere.
    ASSERT_EQ(::rmdir(raw(t.posix(u'C') + "/top/sub")), 0);
    ASSERT_EQ(::symlink(raw(t.posix(u'D') + "/elsewhere"), raw(t.posix(u'C') + "/top/sub")), 0);
    EXPECT_FALSE(top->openSub(sub, error));
    EXPECT_EQ(error, TreeError::IsLink);
    EXPECT_FALSE(top->removeSubfolder(sub));
    EXPECT_TRUE(present(elsewhere));
}

TEST(FolderTree, AFolderSwappedForAnotherFolderIsNotEntered)
{
    TempDrives t("C");
    t.makeFolder('C', "top/sub");
    t.writeFile('C', "other/x.txt");
    TreeError error;
    auto top = TreeFolder::open("C:\\top", error);
    ASSERT_TRUE(top);
    TreeEntry sub;
    ASSERT_TRUE(top->lookup("sub", sub));
    ASSERT_EQ(::rmdir(raw(t.posix(u'C') + "/top/sub")), 0);
    ASSERT_EQ(::rename(raw(t.posix(u'C') + "/other"), raw(t.posix(u'C') + "/top/sub")), 0);
    EXPECT_FALSE(top->openSub(sub, error));
}

TEST(FolderTree, WalkStaysOnItsFolderAfterTheFolderIsMoved)
{
    // The open handle keeps working on the folder that was opened, even
    // when its path now leads somewhere else.
    TempDrives t("C");
    t.writeFile('C', "top/a.txt");
    TreeError error;
    auto top = TreeFolder::open("C:\\top", error);
    ASSERT_TRUE(top);
    ASSERT_EQ(::rename(raw(t.posix(u'C') + "/top"), raw(t.posix(u'C') + "/moved")), 0);
    t.writeFile('C', "top/a.txt", "new file at the old path");
    TreeEntry e;
    ASSERT_TRUE(top->lookup("a.txt", e));
    EXPECT_TRUE(top->removeEntry(e));
    EXPECT_FALSE(present(t.posix(u'C') + "/moved/a.txt"));
    EXPECT_TRUE(present(t.posix(u'C') + "/top/a.txt"));
    // The path no longer leads to the listed entry: path-based services refuse.
    t.writeFile('C', "moved/b.txt");
    ASSERT_TRUE(top->lookup("b.txt", e));
    EXPECT_FALSE(top->pathLeadsTo(e));
}

TEST(FolderTree, RemovesOnlyEmptySubfolders)
{
    TempDrives t("C");
    t.writeFile('C', "top/full/x");
    t.makeFolder('C', "top/empty");
    TreeError error;
    auto top = TreeFolder::open("C:\\top", error);
    ASSERT_TRUE(top);
    TreeEntry full, empty;
    ASSERT_TRUE(top->lookup("full", full));
    ASSERT_TRUE(top->lookup("empty", empty));
    EXPECT_FALSE(top->removeSubfolder(full));
    EXPECT_TRUE(top->removeSubfolder(empty));
    EXPECT_FALSE(top->removeEntry(full));  // a folder is never unlinked as a file
    EXPECT_TRUE(present(t.posix(u'C') + "/top/full/x"));
}

TEST(FolderTree, ClearsReadOnlyOfAFileButNotOfALinkTarget)
{
    TempDrives t("C");
    const QString ro = t.writeFile('C', "top/ro.txt");
    const QString target = t.writeFile('C', "target.txt");
    ASSERT_EQ(::chmod(raw(ro), 0444), 0);
    ASSERT_EQ(::chmod(raw(target), 0444), 0);
    ASSERT_EQ(::symlink(raw(target), raw(t.posix(u'C') + "/top/link")), 0);
    TreeError error;
    auto top = TreeFolder::open("C:\\top", error);
    ASSERT_TRUE(top);
    TreeEntry e;
    ASSERT_TRUE(top->lookup("ro.txt", e));
    EXPECT_TRUE(e.data.attributes & faReadOnly);
    EXPECT_TRUE(top->clearReadOnly(e));
    struct stat st;
    ASSERT_EQ(::stat(raw(ro), &st), 0);
    EXPECT_TRUE(st.st_mode & S_IWUSR);
    ASSERT_TRUE(top->lookup("link", e));
    EXPECT_FALSE(top->clearReadOnly(e));
    ASSERT_EQ(::stat(raw(target), &st), 0);
    EXPECT_FALSE(st.st_mode & S_IWUSR);
}

TEST(FolderTree, RemovesAZippedFileOnlyWhenUnchanged)
{
    TempDrives t("C");
    const QString file = t.writeFile('C', "top/a.txt", "12345");
    TreeError error;
    auto top = TreeFolder::open("C:\\top", error);
    ASSERT_TRUE(top);
    TreeEntry e;
    ASSERT_TRUE(top->lookup("a.txt", e));
    struct stat st;
    ASSERT_EQ(::stat(raw(file), &st), 0);
    const qint64 mtime = qint64(st.st_mtim.tv_sec) * 1'000'000'000LL + st.st_mtim.tv_nsec;
    const FileIdentity read = identityOf(e);
    EXPECT_FALSE(top->removeEntryIfUnchanged(e, read, 4, mtime));
    EXPECT_FALSE(top->removeEntryIfUnchanged(e, read, 5, mtime + 1));
    EXPECT_TRUE(present(file));
    EXPECT_TRUE(top->removeEntryIfUnchanged(e, read, 5, mtime));
    EXPECT_FALSE(present(file));
}

TEST(FolderTree, AZippedFileIsKeptWhenAnotherFileWasRead)
{
    // The listed file is still in place and unchanged, but the contents
    // that were stored came from another file (of the same size and time).
    TempDrives t("C");
    const QString file = t.writeFile('C', "top/a.txt", "12345");
    TreeError error;
    auto top = TreeFolder::open("C:\\top", error);
    ASSERT_TRUE(top);
    TreeEntry e;
    ASSERT_TRUE(top->lookup("a.txt", e));
    struct stat st;
    ASSERT_EQ(::stat(raw(file), &st), 0);
    const qint64 mtime = qint64(st.st_mtim.tv_sec) * 1'000'000'000LL + st.st_mtim.tv_nsec;
    const FileIdentity other{identityOf(e).device, identityOf(e).inode + 1};
    EXPECT_FALSE(top->removeEntryIfUnchanged(e, other, 5, mtime));
    EXPECT_FALSE(top->removeEntryIfUnchanged(e, FileIdentity{}, 5, mtime));
    EXPECT_TRUE(present(file));
}

TEST(FolderTree, PathIdentityFollowsTheNameNotTheHandle)
{
    TempDrives t("C");
    t.writeFile('C', "top/a.txt", "12345");
    TreeError error;
    auto top = TreeFolder::open("C:\\top", error);
    ASSERT_TRUE(top);
    TreeEntry e;
    ASSERT_TRUE(top->lookup("a.txt", e));
    FileIdentity byPath;
    ASSERT_TRUE(top->pathIdentity(e, byPath));
    EXPECT_EQ(byPath, identityOf(e));
    // The folder on the way is swapped: the path now denotes another file.
    ASSERT_EQ(::rename(raw(t.posix(u'C') + "/top"), raw(t.posix(u'C') + "/moved")), 0);
    t.writeFile('C', "top/a.txt", "54321");
    ASSERT_TRUE(top->pathIdentity(e, byPath));
    EXPECT_NE(byPath, identityOf(e));
    EXPECT_FALSE(top->pathLeadsTo(e));
    EXPECT_FALSE(top->trashEntry(e));
    EXPECT_TRUE(present(t.posix(u'C') + "/top/a.txt"));
    EXPECT_TRUE(present(t.posix(u'C') + "/moved/a.txt"));
}

TEST(FolderTree, TrashingChecksTheIdentityOfWhatIsMoved)
{
    TempDrives t("C");
    const QString file = t.writeFile('C', "top/a.txt", "mine");
    t.writeFile('C', "top/b.txt", "not mine");
    TreeError error;
    auto top = TreeFolder::open("C:\\top", error);
    ASSERT_TRUE(top);
    TreeEntry a, b;
    ASSERT_TRUE(top->lookup("a.txt", a));
    ASSERT_TRUE(top->lookup("b.txt", b));
    // The name is a.txt's, the identity asked for b.txt's.
    EXPECT_FALSE(detail::trashAt(top->fd(), "a.txt", identityOf(b), a.path));
    EXPECT_TRUE(present(file));
    EXPECT_TRUE(QDir(t.root() + "/home/.local/share/Trash/info").isEmpty());
    EXPECT_TRUE(detail::trashAt(top->fd(), "a.txt", identityOf(a), a.path));
    EXPECT_FALSE(present(file));
}

TEST(FolderTree, TrashesAListedFile)
{
    TempDrives t("C");
    t.writeFile('C', "top/a.txt");
    TreeError error;
    auto top = TreeFolder::open("C:\\top", error);
    ASSERT_TRUE(top);
    TreeEntry e;
    ASSERT_TRUE(top->lookup("a.txt", e));
    EXPECT_TRUE(top->trashEntry(e));
    EXPECT_FALSE(present(t.posix(u'C') + "/top/a.txt"));
    EXPECT_TRUE(present(t.root() + "/home/.local/share/Trash/files/a.txt"));
}

TEST(FolderTree, SkipsNamesThatCannotBeDrivePaths)
{
    TempDrives t("C");
    t.makeFolder('C', "top");
    ASSERT_TRUE(QFile(t.posix(u'C') + "/top/back\\slash").open(QIODevice::WriteOnly));
    t.writeFile('C', "top/fine");
    TreeError error;
    auto top = TreeFolder::open("C:\\top", error);
    ASSERT_TRUE(top);
    EXPECT_EQ(namesOf(*top), QSet<QString>{"fine"});
    EXPECT_EQ(top->skippedNames(), 1);
}

TEST(FolderTree, DoesNotEnterAnotherFileSystem)
{
    TempDrives t("C");
    const QString mnt = t.makeFolder('C', "top/mnt");
    Mounted m("none", mnt, "tmpfs", 0);
    if (!m.ok())
        GTEST_SKIP() << "mounting is not allowed here";
    ASSERT_TRUE(QFile(mnt + "/inside.txt").open(QIODevice::WriteOnly));
    TreeError error;
    auto top = TreeFolder::open("C:\\top", error);
    ASSERT_TRUE(top);
    TreeEntry e;
    ASSERT_TRUE(top->lookup("mnt", e));
    EXPECT_FALSE(top->openSub(e, error));
    EXPECT_EQ(error, TreeError::OtherFileSystem);
    EXPECT_FALSE(TreeFolder::open("C:\\top\\mnt", error));
    EXPECT_EQ(error, TreeError::OtherFileSystem);
}

TEST(FolderTree, DoesNotEnterABindMountOfTheSameFileSystem)
{
    TempDrives t("C");
    const QString src = t.writeFile('C', "elsewhere/keep.txt");
    const QString mnt = t.makeFolder('C', "top/bound");
    Mounted m(t.posix(u'C') + "/elsewhere", mnt, nullptr, MS_BIND);
    if (!m.ok())
        GTEST_SKIP() << "mounting is not allowed here";
    TreeError error;
    auto top = TreeFolder::open("C:\\top", error);
    ASSERT_TRUE(top);
    TreeEntry e;
    ASSERT_TRUE(top->lookup("bound", e));
    EXPECT_FALSE(top->openSub(e, error));
    EXPECT_EQ(error, TreeError::OtherFileSystem);
}

TEST(FolderTree, TellsWhetherAPathLiesInsideAFolder)
{
    TempDrives t("C");
    t.makeFolder('C', "data/old/zips");
    t.makeFolder('C', "zips");
    ASSERT_EQ(::symlink(raw(t.posix(u'C') + "/data/old/zips"), raw(t.posix(u'C') + "/via")), 0);
    EXPECT_TRUE(liesInside("C:\\data\\old\\zips\\a.zip", "C:\\data\\old"));
    EXPECT_TRUE(liesInside("C:\\data\\old\\a.zip", "C:\\data\\old"));
    EXPECT_TRUE(liesInside("C:\\via\\a.zip", "C:\\data\\old"));
    EXPECT_FALSE(liesInside("C:\\zips\\a.zip", "C:\\data\\old"));
    EXPECT_FALSE(liesInside("C:\\data\\older.zip", "C:\\data\\old"));
}

// Deleting, attributes, existence and the current folder.
#include "platform/fileops.h"
#include "platform/findfile.h"
#include "support/tempdrives.h"

#include <QFile>
#include <QFileInfo>
#include "util.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

using namespace plat;
using testing_support::TempDrives;

namespace {

QByteArray raw(const QString& posix)
{
    return QFile::encodeName(posix);
}

mode_t modeOf(const QString& posix)
{
    struct stat st {};
    ::lstat(raw(posix).constData(), &st);
    return st.st_mode;
}

bool present(const QString& posix)
{
    struct stat st;
    return ::lstat(raw(posix).constData(), &st) == 0;
}

}  // namespace

TEST(FileOps, DeleteFileRemovesLinkNotTarget)
{
    TempDrives t;
    const QString target = t.writeFile('C', "d/target.txt", "keep me");
    const QString link = t.posix(u'C') + "/d/link";
    ASSERT_EQ(::symlink("target.txt", raw(link).constData()), 0);
    EXPECT_TRUE(deleteFile("C:\\d\\link"));
    EXPECT_FALSE(present(link));
    EXPECT_TRUE(present(target));

    // A link to a folder is removed as a link too.
    t.makeFolder('C', "d/sub");
    ASSERT_EQ(::symlink("sub", raw(t.posix(u'C') + "/d/dirlink").constData()), 0);
    EXPECT_TRUE(deleteFile("C:\\d\\dirlink"));
    EXPECT_TRUE(folderExists("C:\\d\\sub"));

    EXPECT_TRUE(deleteFile("C:\\d\\target.txt"));
    EXPECT_FALSE(present(target));
}

TEST(FileOps, DeleteFileRefusesFoldersAndMissing)
{
    TempDrives t;
    t.makeFolder('C', "d/sub");
    EXPECT_FALSE(deleteFile("C:\\d\\sub"));
    EXPECT_TRUE(folderExists("C:\\d\\sub"));
    EXPECT_FALSE(deleteFile("C:\\d\\missing"));
    EXPECT_FALSE(deleteFile("C:\\"));
    EXPECT_FALSE(deleteFile("Q:\\x"));
}

TEST(FileOps, DeleteFileRefusedInImmutableFolder)
{
    TempDrives t;
    const QString dir = t.makeFolder('C', "locked");
    t.writeFile('C', "locked/f.txt");
    if (!testing_support::immutableSupported(dir))
        GTEST_SKIP() << "chattr +i does not work here";
    ASSERT_TRUE(testing_support::setImmutable(dir, true));
    EXPECT_FALSE(deleteFile("C:\\locked\\f.txt"));
    testing_support::setImmutable(dir, false);
    EXPECT_TRUE(fileExists("C:\\locked\\f.txt"));
}

TEST(FileOps, ChangesRefuseALinkOnTheWayAndOtherSpellings)
{
    TempDrives t;
    const QString file = t.writeFile('C', "d/f.txt", "keep");
    ::chmod(raw(file).constData(), 0644);
    t.makeFolder('C', "d/empty");
    ASSERT_EQ(::symlink("d", raw(t.posix(u'C') + "/alias").constData()), 0);
    const struct {
        const char* op;
        bool (*run)(const QString& path);
        const char* leaf;
    } ops[] = {
        {"deleteFile", [](const QString& p) { return deleteFile(p); }, "f.txt"},
        {"removeFolder", [](const QString& p) { return removeFolder(p); }, "empty"},
        {"setFileAttributes", [](const QString& p) { return setFileAttributes(p, faReadOnly); }, "f.txt"},
        {"moveToTrash", [](const QString& p) { return moveToTrash(p); }, "f.txt"},
    };
    for (const auto& o : ops)
        for (const QString& folder : QStringList{"C:\\alias\\", "C:\\d\\\\", "C:\\alias\\..\\d\\"})
            EXPECT_FALSE(o.run(folder + o.leaf)) << o.op << " " << folder.toStdString();
    EXPECT_EQ(modeOf(file) & 0777, 0644u);
    EXPECT_TRUE(folderExists("C:\\d\\empty"));
}

TEST(FileOps, RemoveFolder)
{
    TempDrives t;
    t.makeFolder('C', "empty");
    t.writeFile('C', "full/x");
    const QString real = t.makeFolder('C', "real");
    ASSERT_EQ(::symlink("real", raw(t.posix(u'C') + "/alias").constData()), 0);
    t.writeFile('C', "file");

    EXPECT_FALSE(removeFolder("C:\\alias"));  // a link to a folder is not a folder
    EXPECT_TRUE(present(t.posix(u'C') + "/alias"));
    EXPECT_FALSE(removeFolder("C:\\full"));
    EXPECT_FALSE(removeFolder("C:\\file"));
    EXPECT_FALSE(removeFolder("C:\\"));
    EXPECT_TRUE(removeFolder("C:\\empty"));
    EXPECT_FALSE(folderExists("C:\\empty"));
    EXPECT_TRUE(folderExists("C:\\real"));
}

TEST(FileOps, AttributesOfEachKind)
{
    TempDrives t;
    const QString base = t.posix(u'C');
    t.writeFile('C', "plain");
    t.writeFile('C', ".hidden");
    t.makeFolder('C', "dir");
    ASSERT_EQ(::mkfifo(raw(base + "/fifo").constData(), 0644), 0);
    ASSERT_EQ(::symlink("dir", raw(base + "/link").constData()), 0);
    const QString ro = t.writeFile('C', "ro");
    ::chmod(raw(ro).constData(), 0444);

    const struct {
        const char* path;
        quint32 attributes;
    } cases[] = {
        {"C:\\plain", 0},
        {"C:\\.hidden", faHidden},
        {"C:\\dir", faDirectory},
        {"C:\\fifo", faSystem},
        {"C:\\link", faReparse},
        {"C:\\ro", faReadOnly},
        {"C:\\", faDirectory},
        {"C:\\missing", faInvalid},
        {"Q:\\x", faInvalid},
    };
    for (const auto& c : cases)
        EXPECT_EQ(fileAttributes(c.path), c.attributes) << c.path;
}

TEST(FileOps, ReadOnlyRoundTrip)
{
    TempDrives t;
    const QString f = t.writeFile('C', "f.txt");
    ::chmod(raw(f).constData(), 0664);
    ASSERT_TRUE(setFileAttributes("C:\\f.txt", faReadOnly | faArchive));
    EXPECT_EQ(modeOf(f) & 0777, 0464u);  // only the owner's write bit went
    EXPECT_EQ(fileAttributes("C:\\f.txt"), faReadOnly);
    ASSERT_TRUE(setFileAttributes("C:\\f.txt", 0));
    EXPECT_EQ(modeOf(f) & 0777, 0664u);
    EXPECT_EQ(fileAttributes("C:\\f.txt"), 0u);

    // Hidden and system cannot be set or cleared here.
    const QString h = t.writeFile('C', ".h");
    ASSERT_TRUE(setFileAttributes("C:\\.h", 0));
    EXPECT_EQ(fileAttributes("C:\\.h"), faHidden);
    ASSERT_TRUE(setFileAttributes("C:\\f.txt", faHidden | faSystem));
    EXPECT_EQ(fileAttributes("C:\\f.txt"), 0u);

    EXPECT_FALSE(setFileAttributes("C:\\missing", 0));
}

TEST(FileOps, SetAttributesLeavesLinkTargetAlone)
{
    TempDrives t;
    const QString target = t.writeFile('C', "target");
    ::chmod(raw(target).constData(), 0644);
    ASSERT_EQ(::symlink("target", raw(t.posix(u'C') + "/link").constData()), 0);
    EXPECT_TRUE(setFileAttributes("C:\\link", faReadOnly));
    EXPECT_EQ(modeOf(target) & 0777, 0644u);
}

TEST(FileOps, ExistenceDoesNotFollowLinks)
{
    TempDrives t;
    t.writeFile('C', "file");
    t.makeFolder('C', "dir");
    ASSERT_EQ(::symlink("file", raw(t.posix(u'C') + "/lfile").constData()), 0);
    ASSERT_EQ(::symlink("dir", raw(t.posix(u'C') + "/ldir").constData()), 0);
    EXPECT_TRUE(fileExists("C:\\file"));
    EXPECT_TRUE(fileExists("c:\\FILE") == false);  // the file system is case-sensitive
    EXPECT_FALSE(fileExists("C:\\dir"));
    EXPECT_FALSE(fileExists("C:\\lfile"));
    EXPECT_TRUE(folderExists("C:\\dir"));
    EXPECT_TRUE(folderExists("C:\\"));
    EXPECT_TRUE(folderExists("D:"));
    EXPECT_FALSE(folderExists("C:\\ldir"));
    EXPECT_FALSE(folderExists("C:\\file"));
    EXPECT_FALSE(folderExists("Q:\\"));
}

TEST(FileOps, CurrentFolder)
{
    TempDrives t;
    t.makeFolder('C', "work");
    setCurrentFolder("c:\\work\\");
    EXPECT_EQ(currentFolder(), "C:\\work");
    setCurrentFolder("D:");
    EXPECT_EQ(currentFolder(), "D:\\");
    EXPECT_THROW(setCurrentFolder("C:\\nope"), IoError);
    EXPECT_EQ(currentFolder(), "D:\\");
    t.writeFile('C', "afile");
    EXPECT_THROW(setCurrentFolder("C:\\afile"), IoError);
    EXPECT_THROW(setCurrentFolder("Q:\\"), IoError);
}

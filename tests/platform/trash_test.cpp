// Moving to the trash on temporary drives; TempDrives points XDG_DATA_HOME
// and HOME into its own folder, so the user's trash is never touched.
#include "platform/fileops.h"
#include "platform/fileops_p.h"
#include "support/tempdrives.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
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

bool present(const QString& posix)
{
    struct stat st;
    return ::lstat(raw(posix).constData(), &st) == 0;
}

dev_t deviceOf(const QString& posix)
{
    struct stat st {};
    ::lstat(raw(posix).constData(), &st);
    return st.st_dev;
}

// Runs the test body in another current folder and returns to the old one.
class InFolder {
public:
    explicit InFolder(const QString& folder) : old_(QDir::currentPath()) { QDir::setCurrent(folder); }
    ~InFolder() { QDir::setCurrent(old_); }
private:
    QString old_;
};

}  // namespace

TEST(Trash, FileLandsInHomeTrash)
{
    TempDrives t;
    t.writeFile('C', "d/old.txt", "bye");
    const QString trash = t.root() + "/home/.local/share/Trash";
    ASSERT_TRUE(moveToTrash("C:\\d\\old.txt"));
    EXPECT_FALSE(present(t.posix(u'C') + "/d/old.txt"));
    EXPECT_TRUE(present(trash + "/files/old.txt"));
    EXPECT_TRUE(present(trash + "/info/old.txt.trashinfo"));
}

TEST(Trash, FolderLandsInHomeTrash)
{
    TempDrives t;
    t.writeFile('C', "d/sub/inner.txt");
    ASSERT_TRUE(moveToTrash("C:\\d\\sub"));
    EXPECT_FALSE(present(t.posix(u'C') + "/d/sub"));
    EXPECT_TRUE(present(t.root() + "/home/.local/share/Trash/files/sub/inner.txt"));
}

TEST(Trash, MissingDataFolderDoesNotSendItToCurrentFolder)
{
    TempDrives t;
    t.writeFile('C', "d/old.txt", "bye");
    ASSERT_TRUE(QDir(t.root() + "/home/.local").removeRecursively());
    const QString cwd = t.root() + "/cwd";
    QDir().mkpath(cwd);
    bool ok = false;
    {
        InFolder in(cwd);
        ok = moveToTrash("C:\\d\\old.txt");
    }
    EXPECT_TRUE(ok);
    EXPECT_FALSE(present(t.posix(u'C') + "/d/old.txt"));
    EXPECT_TRUE(present(t.root() + "/home/.local/share/Trash/files/old.txt"));
    EXPECT_TRUE(QDir(cwd).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot));
}

TEST(Trash, LinkIsTrashedNotItsTarget)
{
    TempDrives t;
    const QString target = t.writeFile('C', "d/target.txt", "stay");
    ASSERT_EQ(::symlink("target.txt", raw(t.posix(u'C') + "/d/link").constData()), 0);
    ASSERT_TRUE(moveToTrash("C:\\d\\link"));
    EXPECT_FALSE(present(t.posix(u'C') + "/d/link"));
    EXPECT_TRUE(present(target));
    struct stat st;
    ASSERT_EQ(::lstat(raw(t.root() + "/home/.local/share/Trash/files/link").constData(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
}

TEST(Trash, RefusesMissingAndRoots)
{
    TempDrives t;
    EXPECT_FALSE(moveToTrash("C:\\missing"));
    EXPECT_FALSE(moveToTrash("C:\\"));
    EXPECT_FALSE(moveToTrash("Q:\\x"));
}

TEST(Trash, RecognisesTrashLocations)
{
    TempDrives t;
    const QString home = t.root() + "/home/.local/share/Trash";
    QDir().mkpath(home + "/files");
    QDir().mkpath(home + "/info");
    auto touch = [](const QString& path) { QFile(path).open(QIODevice::WriteOnly); };
    touch(home + "/files/a");
    touch(home + "/info/a.trashinfo");
    // The place a broken trash call used to write to: files/ in the current folder.
    const QString stray = t.root() + "/cwd";
    QDir().mkpath(stray + "/files");
    QDir().mkpath(stray + "/info");
    touch(stray + "/files/b");
    touch(stray + "/info/b.trashinfo");
    // A per-user trash folder that is not at the top of its mount.
    const QString fakeTop = t.root() + "/notamount/.Trash-" + QString::number(::getuid());
    QDir().mkpath(fakeTop + "/files");
    QDir().mkpath(fakeTop + "/info");
    touch(fakeTop + "/files/c");
    touch(fakeTop + "/info/c.trashinfo");

    const dev_t dev = deviceOf(t.root());
    const struct {
        QString path;
        bool ok;
    } cases[] = {
        {home + "/files/a", true},
        {home + "/files/missing-info", false},
        {stray + "/files/b", false},
        {fakeTop + "/files/c", false},
        {"files/b", false},  // relative
        {home + "/info/a.trashinfo", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(detail::isTrashLocation(raw(c.path), dev), c.ok) << c.path.toStdString();
}

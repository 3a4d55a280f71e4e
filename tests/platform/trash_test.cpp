// The trash on temporary drives; TempDrives points XDG_DATA_HOME and HOME
// into its own folder, so the user's trash is never touched. The per-mount
// trashes are reached through a stand-in top folder, and on a real mount
// where the test may mount one.
#include "platform/drives.h"
#include "platform/fileops.h"
#include "platform/fileops_p.h"
#include "support/tempdrives.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include "util.h"

#include <gtest/gtest.h>

#include <climits>
#include <ctime>
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

QByteArray readAll(const QString& posix)
{
    QFile f(posix);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

QStringList entries(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

// The Path line of a record, as the desktop decodes it.
QByteArray recordedPath(const QString& info)
{
    const QByteArray text = readAll(info);
    const qsizetype at = text.indexOf("\nPath=");
    return at < 0 ? QByteArray() : QByteArray::fromPercentEncoding(text.mid(at + 6, text.indexOf('\n', at + 1) - at - 6));
}

class TrashTest : public ::testing::Test {
protected:
    QString home() const { return t.root() + "/home/.local/share/Trash"; }
    QString c(const QString& rel) const { return t.posix(u'C') + "/" + rel; }
    TempDrives t{"C"};
};

}  // namespace

TEST_F(TrashTest, ItemsLandInTheHomeTrashWithTheirRecords)
{
    // A fresh account: not even the data folder exists yet.
    ASSERT_TRUE(QDir(t.root() + "/home/.local").removeRecursively());
    t.writeFile('C', "d/old.txt", "bye");
    t.writeFile('C', "d/sub/inner.txt");
    const QString target = t.writeFile('C', "d/target.txt", "stay");
    ASSERT_EQ(::symlink("target.txt", raw(c("d/link")).constData()), 0);
    for (const QString name : {"old.txt", "sub", "link"}) {
        ASSERT_TRUE(moveToTrash("C:\\d\\" + name)) << name.toStdString();
        EXPECT_FALSE(present(c("d/" + name)));
        EXPECT_EQ(recordedPath(home() + "/info/" + name + ".trashinfo"), raw(c("d/" + name)));
    }
    EXPECT_EQ(readAll(home() + "/files/old.txt"), "bye");
    EXPECT_TRUE(present(home() + "/files/sub/inner.txt"));
    EXPECT_TRUE(QFileInfo(home() + "/files/link").isSymLink());
    EXPECT_EQ(readAll(target), "stay");
}

TEST_F(TrashTest, TheRecordIsPercentEncodedWithTheLocalDate)
{
    const time_t when = 1'000'000'000;
    struct tm tm {};
    localtime_r(&when, &tm);
    char date[32];
    std::strftime(date, sizeof date, "%Y-%m-%dT%H:%M:%S", &tm);
    // Only the unreserved characters and "/" stay as they are.
    const struct {
        QByteArray path;
        QByteArray encoded;
    } paths[] = {
        {"/plain/a-b_c.~d", "/plain/a-b_c.~d"},
        {"/f d/%#&+=,'()$;:@[]*?\xc3\xa9", "/f%20d/%25%23%26%2B%3D%2C%27%28%29%24%3B%3A%40%5B%5D%2A%3F%C3%A9"},
        {"rel/x y", "rel/x%20y"},
    };
    for (const auto& p : paths)
        EXPECT_EQ(detail::trashInfoText(p.path, when),
                  "[Trash Info]\nPath=" + p.encoded + "\nDeletionDate=" + QByteArray(date) + "\n");
}

TEST_F(TrashTest, NameClashesTakeTheNextFreeName)
{
    // An item without a record of its own still holds its name.
    QDir().mkpath(home() + "/files");
    QDir().mkpath(home() + "/info");
    QFile(home() + "/files/a.2.txt").open(QIODevice::WriteOnly);
    for (const char* content : {"first", "second", "third"}) {
        t.writeFile('C', "d/a.txt", content);
        ASSERT_TRUE(moveToTrash("C:\\d\\a.txt")) << content;
    }
    EXPECT_EQ(readAll(home() + "/files/a.txt") + readAll(home() + "/files/a.3.txt") + readAll(home() + "/files/a.4.txt"),
              "firstsecondthird");
    EXPECT_EQ(entries(home() + "/info"), QStringList({"a.3.txt.trashinfo", "a.4.txt.trashinfo", "a.txt.trashinfo"}));

    EXPECT_EQ(detail::trashNameCandidate("a.tar.gz", 2), "a.tar.2.gz");
    EXPECT_EQ(detail::trashNameCandidate(".bashrc", 3), ".bashrc.3");
    // A name too long for its record's suffix is cut, never inside a character.
    for (int n : {1, 10000}) {
        const QByteArray cut = detail::trashNameCandidate(QByteArray(240, 'n') + "\xc3\xa9\xc3\xa9.txt", n);
        EXPECT_LE(cut.size() + 10, NAME_MAX) << n;
        EXPECT_TRUE(cut.endsWith(".txt") && !QString::fromUtf8(cut).contains(QChar::ReplacementCharacter)) << n;
    }
}

TEST_F(TrashTest, NoRecordIsLeftWhenTheItemCannotMove)
{
    const QString stuck = t.writeFile('C', "d/stuck.txt", "stuck");
    if (!testing_support::immutableSupported(c("d")) || !testing_support::setImmutable(stuck, true))
        GTEST_SKIP() << "no immutable files here";
    const bool moved = moveToTrash("C:\\d\\stuck.txt");
    testing_support::setImmutable(stuck, false);
    EXPECT_FALSE(moved);
    EXPECT_EQ(readAll(stuck), "stuck");
    EXPECT_TRUE(entries(home() + "/info").isEmpty());
    EXPECT_TRUE(entries(home() + "/files").isEmpty());
}

TEST_F(TrashTest, RefusesMissingRootsLinkedFoldersAndOtherSpellings)
{
    t.writeFile('C', "d/a.txt", "a");
    ASSERT_EQ(::symlink(raw(c("d")).constData(), raw(c("alias")).constData()), 0);
    for (const char* path : {"C:\\missing", "C:\\", "Q:\\x", "C:\\alias\\a.txt", "C:\\d\\\\a.txt", "C:\\x\\..\\d\\a.txt"})
        EXPECT_FALSE(moveToTrash(path)) << path;
    EXPECT_EQ(readAll(c("d/a.txt")), "a");
    EXPECT_TRUE(entries(home() + "/info").isEmpty());
}

TEST_F(TrashTest, PerMountTrashes)
{
    const QString uid = QString::number(::getuid());
    const QString top = c("top");
    const QString outside = c("elsewhere");
    // How the top looks before the item goes, and where the item must land.
    const struct {
        const char* name;
        mode_t sharedMode;     // of top/.Trash; 0: none
        bool sharedIsLink;     // top/.Trash is a link to a sticky folder outside
        bool ownIsLink;        // top/.Trash-uid is a link to outside
        QString trash;         // empty: refused
    } cases[] = {
        {"nothing yet", 0, false, false, top + "/.Trash-" + uid},
        {"sticky .Trash", 01777, false, false, top + "/.Trash/" + uid},
        {".Trash not sticky", 0777, false, false, top + "/.Trash-" + uid},
        {".Trash a link", 0, true, false, top + "/.Trash-" + uid},
        {".Trash-uid a link", 0, false, true, QString()},
    };
    detail::setTrashTopForTest(raw(top));
    for (const auto& k : cases) {
        SCOPED_TRACE(k.name);
        QDir(top).removeRecursively();
        QDir(outside).removeRecursively();
        QDir().mkpath(outside);
        t.writeFile('C', "top/d/f.txt", "item");
        if (k.sharedMode) {
            QDir().mkpath(top + "/.Trash");
            ::chmod(raw(top + "/.Trash").constData(), k.sharedMode);
        }
        ::chmod(raw(outside).constData(), 01777);
        if (k.sharedIsLink)
            ::symlink(raw(outside).constData(), raw(top + "/.Trash").constData());
        if (k.ownIsLink)
            ::symlink(raw(outside).constData(), raw(top + "/.Trash-" + uid).constData());
        EXPECT_EQ(moveToTrash("C:\\top\\d\\f.txt"), !k.trash.isEmpty());
        EXPECT_EQ(present(c("top/d/f.txt")), k.trash.isEmpty());
        EXPECT_TRUE(entries(outside).isEmpty());
        if (k.trash.isEmpty())
            continue;
        EXPECT_EQ(readAll(k.trash + "/files/f.txt"), "item");
        EXPECT_EQ(recordedPath(k.trash + "/info/f.txt.trashinfo"), "d/f.txt");  // relative to the top
        struct stat st {};
        EXPECT_EQ(::lstat(raw(k.trash).constData(), &st) == 0 ? st.st_mode & 07777 : 0u, 0700u);
    }
    detail::setTrashTopForTest({});
    EXPECT_TRUE(entries(home()).isEmpty());
}

TEST_F(TrashTest, AnItemOnAnotherMountGoesToThatMountsTrash)
{
    const QString mnt = t.makeFolder('C', "mnt");
    if (::mount("none", raw(mnt).constData(), "tmpfs", 0, nullptr) != 0)
        GTEST_SKIP() << "mounting is not allowed here";
    struct Unmount {
        QByteArray at;
        ~Unmount() { ::umount2(at.constData(), MNT_DETACH); }
    } unmount{raw(mnt)};
    ASSERT_TRUE(QDir().mkpath(mnt + "/docs"));
    ASSERT_TRUE(QFile(mnt + "/docs/m.txt").open(QIODevice::WriteOnly));
    qputenv("TROVIK_DRIVES", "C=" + raw(t.posix(u'C')) + ";D=" + raw(mnt));
    reloadDrives();
    ASSERT_TRUE(moveToTrash("D:\\docs\\m.txt"));
    const QString trash = mnt + "/.Trash-" + QString::number(::getuid());
    EXPECT_TRUE(present(trash + "/files/m.txt"));
    EXPECT_EQ(recordedPath(trash + "/info/m.txt.trashinfo"), "docs/m.txt");
    EXPECT_TRUE(entries(home()).isEmpty());
}

TEST_F(TrashTest, TheDesktopLibraryAndWeShareOneTrash)
{
    const QString gio = QStandardPaths::findExecutable("gio");
    if (gio.isEmpty())
        GTEST_SKIP() << "the gio tool is not installed";
    const QString name = "a b%#&+=,~'(!)\u00e9$;:@[]*?.txt";
    const QString theirs = t.writeFile('C', "f d/" + name, "theirs");
    QProcess p;
    p.start(gio, {"trash", theirs});
    ASSERT_TRUE(p.waitForFinished(30000));
    ASSERT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    t.writeFile('C', "f d/" + name, "ours");
    ASSERT_TRUE(moveToTrash("C:\\f d\\" + name));
    // Their item keeps its name; ours takes the next, recorded the same way.
    const QString second = "a b%#&+=,~'(!)\u00e9$;:@[]*?.2.txt";
    EXPECT_EQ(readAll(home() + "/files/" + name), "theirs");
    EXPECT_EQ(readAll(home() + "/files/" + second), "ours");
    EXPECT_EQ(readAll(home() + "/info/" + second + ".trashinfo").split('\n').mid(0, 2),
              readAll(home() + "/info/" + name + ".trashinfo").split('\n').mid(0, 2));
}

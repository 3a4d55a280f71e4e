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
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include "util.h"

#include <gtest/gtest.h>

#include <climits>
#include <ctime>
#include <functional>
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
    if (at < 0)
        return {};
    const qsizetype end = text.indexOf('\n', at + 1);
    return QByteArray::fromPercentEncoding(text.mid(at + 6, end - at - 6));
}

// Runs the test body in another current folder and returns to the old one.
class InFolder {
public:
    explicit InFolder(const QString& folder) : old_(QDir::currentPath()) { QDir::setCurrent(folder); }
    ~InFolder() { QDir::setCurrent(old_); }
private:
    QString old_;
};

// Every item of a test goes to the per-mount trashes of one folder.
class TopScope {
public:
    explicit TopScope(const QString& top) { detail::setTrashTopForTest(raw(top)); }
    ~TopScope() { detail::setTrashTopForTest({}); }
};

class TrashTest : public ::testing::Test {
protected:
    QString home() const { return t.root() + "/home/.local/share/Trash"; }
    QString c(const QString& rel) const { return t.posix(u'C') + "/" + rel; }
    TempDrives t{"C"};
};

}  // namespace

TEST_F(TrashTest, ItemsLandInTheHomeTrashWithTheirRecords)
{
    t.writeFile('C', "d/old.txt", "bye");
    t.writeFile('C', "d/sub/inner.txt");
    const QString target = t.writeFile('C', "d/target.txt", "stay");
    ASSERT_EQ(::symlink("target.txt", raw(c("d/link")).constData()), 0);
    for (const char* name : {"old.txt", "sub", "link"}) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(moveToTrash(QStringLiteral("C:\\d\\") + name));
        EXPECT_FALSE(present(c(QStringLiteral("d/") + name)));
        EXPECT_TRUE(present(home() + "/files/" + name));
        EXPECT_EQ(recordedPath(home() + "/info/" + name + ".trashinfo"), raw(c(QStringLiteral("d/") + name)));
    }
    EXPECT_EQ(readAll(home() + "/files/old.txt"), "bye");
    EXPECT_TRUE(present(home() + "/files/sub/inner.txt"));
    EXPECT_TRUE(QFileInfo(home() + "/files/link").isSymLink());
    EXPECT_EQ(readAll(target), "stay");
}

TEST_F(TrashTest, TheRecordIsWhatTheDesktopReads)
{
    // Percent-encoded bytes, only the unreserved characters and "/" as they are.
    const struct {
        QByteArray path;
        QByteArray encoded;
    } paths[] = {
        {"/plain/a.txt", "/plain/a.txt"},
        {"/f d/a b%#&+=,~'(!)$;:@[]*?.txt", "/f%20d/a%20b%25%23%26%2B%3D%2C~%27%28%21%29%24%3B%3A%40%5B%5D%2A%3F.txt"},
        {"/caf\xc3\xa9/-_.~", "/caf%C3%A9/-_.~"},
        {"rel/x y", "rel/x%20y"},
    };
    const time_t when = 1'000'000'000;
    struct tm tm {};
    localtime_r(&when, &tm);
    char date[32];
    std::strftime(date, sizeof date, "%Y-%m-%dT%H:%M:%S", &tm);
    for (const auto& p : paths)
        EXPECT_EQ(detail::trashInfoText(p.path, when),
                  "[Trash Info]\nPath=" + p.encoded + "\nDeletionDate=" + QByteArray(date) + "\n");

    t.writeFile('C', "d/now.txt");
    ASSERT_TRUE(moveToTrash("C:\\d\\now.txt"));
    const QByteArray text = readAll(home() + "/info/now.txt.trashinfo");
    EXPECT_TRUE(QRegularExpression("^\\[Trash Info\\]\nPath=/\\S+/d/now.txt\nDeletionDate=\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d\n$")
                    .match(QString::fromUtf8(text))
                    .hasMatch())
        << text.toStdString();
    EXPECT_EQ(entries(home()), QStringList({"files", "info"}));
}

TEST_F(TrashTest, NameClashesTakeTheNextFreeName)
{
    // An item with no record of its own still holds its name.
    QDir().mkpath(home() + "/files");
    QDir().mkpath(home() + "/info");
    QFile(home() + "/files/a.2.txt").open(QIODevice::WriteOnly);
    for (const char* content : {"first", "second", "third"}) {
        t.writeFile('C', "d/a.txt", content);
        ASSERT_TRUE(moveToTrash("C:\\d\\a.txt")) << content;
    }
    EXPECT_EQ(entries(home() + "/files"), QStringList({"a.2.txt", "a.3.txt", "a.4.txt", "a.txt"}));
    EXPECT_EQ(readAll(home() + "/files/a.txt"), "first");
    EXPECT_EQ(readAll(home() + "/files/a.3.txt"), "second");
    EXPECT_EQ(readAll(home() + "/files/a.4.txt"), "third");
    EXPECT_EQ(readAll(home() + "/files/a.2.txt"), "");
    EXPECT_EQ(entries(home() + "/info"), QStringList({"a.3.txt.trashinfo", "a.4.txt.trashinfo", "a.txt.trashinfo"}));

    // Names too long for their record's suffix are cut, never inside a character.
    const QByteArray longName = QByteArray(240, 'n') + "\xc3\xa9\xc3\xa9.txt";
    EXPECT_EQ(detail::trashNameCandidate("plain", 1), "plain");
    EXPECT_EQ(detail::trashNameCandidate("a.tar.gz", 2), "a.tar.2.gz");
    EXPECT_EQ(detail::trashNameCandidate(".bashrc", 3), ".bashrc.3");
    for (int n : {1, 2, 10000}) {
        const QByteArray cut = detail::trashNameCandidate(longName, n);
        EXPECT_LE(cut.size() + 10, NAME_MAX) << n;
        EXPECT_TRUE(cut.endsWith(".txt")) << n;
        EXPECT_FALSE(QString::fromUtf8(cut).contains(QChar::ReplacementCharacter)) << n;
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

TEST_F(TrashTest, MissingDataFolderDoesNotSendItToCurrentFolder)
{
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
    EXPECT_FALSE(present(c("d/old.txt")));
    EXPECT_TRUE(present(home() + "/files/old.txt"));
    EXPECT_TRUE(entries(cwd).isEmpty());
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
    const QByteArray uid = QByteArray::number(qulonglong(::getuid()));
    const QString top = t.makeFolder('C', "top");
    const QString outside = t.makeFolder('C', "elsewhere");
    // What the top holds before the item goes, and where it must land.
    const struct {
        const char* name;
        std::function<void()> prepare;
        QString trash;  // empty: refused
    } cases[] = {
        {"no trash yet: .Trash-uid is made", [] {}, top + "/.Trash-" + uid},
        {"a sticky .Trash", [&] { QDir().mkpath(top + "/.Trash"); ::chmod(raw(top + "/.Trash").constData(), 01777); },
         top + "/.Trash/" + uid},
        {".Trash without the sticky bit is not used",
         [&] { QDir().mkpath(top + "/.Trash"); ::chmod(raw(top + "/.Trash").constData(), 0777); },
         top + "/.Trash-" + uid},
        {".Trash as a link is not followed",
         [&] {
             QDir().mkpath(outside + "/shared");
             ::chmod(raw(outside + "/shared").constData(), 01777);
             ::symlink(raw(outside + "/shared").constData(), raw(top + "/.Trash").constData());
         },
         top + "/.Trash-" + uid},
        {".Trash-uid as a link is refused",
         [&] { ::symlink(raw(outside).constData(), raw(top + "/.Trash-" + uid).constData()); }, QString()},
    };
    TopScope scope(top);
    for (const auto& k : cases) {
        SCOPED_TRACE(k.name);
        ASSERT_TRUE(QDir(top).removeRecursively());
        ASSERT_TRUE(QDir(outside).removeRecursively());
        QDir().mkpath(top);
        QDir().mkpath(outside);
        k.prepare();
        t.writeFile('C', "top/d/f.txt", "item");
        const bool moved = moveToTrash("C:\\top\\d\\f.txt");
        EXPECT_EQ(moved, !k.trash.isEmpty());
        EXPECT_EQ(present(c("top/d/f.txt")), k.trash.isEmpty());
        EXPECT_TRUE(entries(outside).size() <= 1 && entries(outside + "/shared").isEmpty());
        if (k.trash.isEmpty())
            continue;
        EXPECT_EQ(readAll(k.trash + "/files/f.txt"), "item");
        EXPECT_EQ(recordedPath(k.trash + "/info/f.txt.trashinfo"), "d/f.txt");  // relative to the top
        struct stat st {};
        ::lstat(raw(k.trash).constData(), &st);
        EXPECT_EQ(st.st_mode & 0777, 0700u);
    }
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
    QDir().mkpath(mnt + "/docs");
    QFile f(mnt + "/docs/m.txt");
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("on the mount");
    f.close();
    qputenv("TROVIK_DRIVES", ("C=" + raw(t.posix(u'C')) + ";D=" + raw(mnt)));
    reloadDrives();
    ASSERT_TRUE(moveToTrash("D:\\docs\\m.txt"));
    const QString trash = mnt + "/.Trash-" + QString::number(::getuid());
    EXPECT_EQ(readAll(trash + "/files/m.txt"), "on the mount");
    EXPECT_EQ(recordedPath(trash + "/info/m.txt.trashinfo"), "docs/m.txt");
    EXPECT_TRUE(entries(home()).isEmpty());
}

TEST_F(TrashTest, TheDesktopLibraryAndWeShareOneTrash)
{
    const QString gio = QStandardPaths::findExecutable("gio");
    if (gio.isEmpty())
        GTEST_SKIP() << "the gio tool is not installed";
    const QString name = "a b%#&+=,~'(!)\u00e9$;:@[]*?.txt";
    const QString first = t.writeFile('C', "f d/" + name, "theirs");
    QProcess p;
    p.start(gio, {"trash", first});
    ASSERT_TRUE(p.waitForFinished(30000));
    ASSERT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    t.writeFile('C', "f d/" + name, "ours");
    ASSERT_TRUE(moveToTrash("C:\\f d\\" + name));
    // Their item keeps its name; ours takes the next one, recorded the same way.
    const QString second = "a b%#&+=,~'(!)\u00e9$;:@[]*?.2.txt";
    EXPECT_EQ(readAll(home() + "/files/" + name), "theirs");
    EXPECT_EQ(readAll(home() + "/files/" + second), "ours");
    const QString theirs = home() + "/info/" + name + ".trashinfo";
    const QString ours = home() + "/info/" + second + ".trashinfo";
    EXPECT_EQ(recordedPath(ours), raw(first));
    EXPECT_EQ(readAll(ours).split('\n').mid(0, 2), readAll(theirs).split('\n').mid(0, 2));
}

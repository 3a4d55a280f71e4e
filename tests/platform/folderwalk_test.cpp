// The handle-based walk of a folder tree: what it lists with which options,
// the order of its calls, paths at the length limit, a bounded number of
// open folders, and roots and sub-folders it refuses.
#include "platform/folderwalk.h"
#include "support/tempdrives.h"
#include "util.h"

#include <QDir>
#include <QFile>
#include <QSet>
#include <gtest/gtest.h>

#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace plat;
using testing_support::TempDrives;

namespace {

QByteArray raw(const QString& posix)
{
    return QFile::encodeName(posix);
}

// Records what a walk tells, and the most descriptors open at any folder.
struct Recorder : WalkVisitor {
    QStringList events;              // "+path" when read, "-path" when left
    QMap<QString, QSet<QString>> names;  // listed names per folder
    QStringList leftOutPaths;
    int mostOpen = 0;

    static int openDescriptors() { return int(QDir("/proc/self/fd").entryList(QDir::NoDotAndDotDot | QDir::System).size()); }
    void enterFolder(const WalkFolder& f) override
    {
        events << "+" + f.path();
        for (const FindData& e : f.entries())
            names[f.path()] << e.name;
        mostOpen = std::max(mostOpen, openDescriptors());
    }
    void leaveFolder(const WalkFolder& f) override { events << "-" + f.path(); }
    void leftOut(const QString& path) override { leftOutPaths << path; }
};

Recorder walk(const QString& root, const WalkOptions& options = {})
{
    Recorder r;
    TreeError error;
    auto folder = WalkFolder::openRoot(root, options, error);
    EXPECT_TRUE(folder) << qPrintable(root) << " " << qPrintable(treeErrorText(error));
    if (folder) {
        WalkContext context;
        walkTree(*folder, context, r);
    }
    return r;
}

}  // namespace

TEST(FolderWalk, OptionsDecideWhatIsListedAndEachFolderIsReadOnce)
{
    TempDrives t("C");
    t.writeFile('C', "top/a.txt");
    t.writeFile('C', "top/.h.txt");
    t.writeFile('C', "top/b/c.txt");
    t.writeFile('C', "top/.hid/d.txt");
    ASSERT_EQ(::mkfifo(raw(t.posix(u'C') + "/top/fifo").constData(), 0644), 0);
    ASSERT_EQ(::symlink("b", raw(t.posix(u'C') + "/top/lnk").constData()), 0);
    struct Row {
        const char* what;
        WalkOptions options;
        QSet<QString> top;
        QStringList events;
    };
    const QStringList plain = {"+C:\\top", "+C:\\top\\b", "-C:\\top\\b", "-C:\\top"};
    const Row rows[] = {
        {"default", {}, {"a.txt", "b"}, plain},
        {"system", {false, true}, {"a.txt", "b", "fifo"}, plain},
        {"hidden", {true, false}, {"a.txt", ".h.txt", "b", ".hid"}, {}},
    };
    for (const Row& r : rows) {
        const quint64 readsBefore = folderReads();
        const Recorder rec = walk("C:\\top", r.options);
        EXPECT_EQ(rec.names.value("C:\\top"), r.top) << r.what;
        if (!r.events.isEmpty()) {
            EXPECT_EQ(rec.events, r.events) << r.what;
        }
        // Each folder entered is read exactly once.
        EXPECT_EQ(folderReads() - readsBefore, quint64(rec.events.size() / 2)) << r.what;
    }
    // With hidden entries, the hidden folder is walked too, before its parent is left.
    const QStringList hiddenEvents = walk("C:\\top", {true, false}).events;
    EXPECT_EQ(hiddenEvents.size(), 6);
    EXPECT_LT(hiddenEvents.indexOf("-C:\\top\\.hid"), hiddenEvents.indexOf("-C:\\top"));
}

TEST(FolderWalk, PathsLongerThanTheLimitAreLeftOutAndNamedOnce)
{
    TempDrives t("C");
    const QString deep = t.makeFolder('C', "deep");
    // Folders of 200-character names, down to a few hundred bytes below the
    // limit; made relative to open handles, as the whole path is too long
    // for the system's path calls.
    int fd = ::open(raw(deep).constData(), O_RDONLY | O_DIRECTORY);
    ASSERT_GE(fd, 0);
    qsizetype length = raw(deep).size();
    QString drivePath = "C:\\deep";
    const QByteArray part(200, 'p');
    while (length + 1 + part.size() < kMaxWalkPath - 50) {
        ASSERT_EQ(::mkdirat(fd, part.constData(), 0755), 0);
        const int sub = ::openat(fd, part.constData(), O_RDONLY | O_DIRECTORY);
        ::close(fd);
        fd = sub;
        ASSERT_GE(fd, 0);
        length += 1 + part.size();
        drivePath += "\\" + QString::fromLatin1(part);
    }
    const qsizetype fits = kMaxWalkPath - length - 1;  // a name this long ends exactly at the limit
    const QByteArray atLimit(fits, 'f');
    const QByteArray overFile(fits + 1, 'g');
    const QByteArray overFolder(fits + 1, 'h');
    for (const QByteArray& name : {atLimit, overFile}) {
        const int f = ::openat(fd, name.constData(), O_CREAT | O_WRONLY, 0644);
        ASSERT_GE(f, 0);
        ::close(f);
    }
    ASSERT_EQ(::mkdirat(fd, overFolder.constData(), 0755), 0);
    const int inner = ::openat(fd, overFolder.constData(), O_RDONLY | O_DIRECTORY);
    ASSERT_GE(inner, 0);
    ::close(::openat(inner, "x", O_CREAT | O_WRONLY, 0644));
    ::close(inner);
    ::close(fd);

    const Recorder rec = walk("C:\\deep");
    EXPECT_EQ(rec.names.value(drivePath), QSet<QString>{QString::fromLatin1(atLimit)});
    // Each named once, the folder's contents not at all.
    QStringList named = rec.leftOutPaths;
    named.sort();
    EXPECT_EQ(named, QStringList({drivePath + "\\" + QString::fromLatin1(overFile),
                                  drivePath + "\\" + QString::fromLatin1(overFolder)}));

    // Path-based removal gives up on such a tree; rm walks it by handles.
    ASSERT_EQ(std::system(("rm -rf '" + raw(deep) + "'").constData()), 0);
}

TEST(FolderWalk, DeepTreesKeepFewFoldersOpen)
{
    TempDrives t("C");
    QString rel = "chain";
    for (int i = 0; i < 25; ++i) {
        t.writeFile('C', rel + QString("/f%1").arg(i));
        rel += "/d";
    }
    WalkOptions options;
    options.openFolders = 3;
    const int before = Recorder::openDescriptors();
    const Recorder rec = walk("C:\\chain", options);
    int files = 0;
    for (const QSet<QString>& n : rec.names)
        for (const QString& name : n)
            files += name.startsWith('f');
    EXPECT_EQ(files, 25);
    EXPECT_EQ(rec.events.size(), 2 * 25);  // every folder read and left
    // The three held folders, the one being read, and one being opened.
    EXPECT_LE(rec.mostOpen - before, options.openFolders + 2);
}

TEST(FolderWalk, RootsThatCannotBeWalkedAreRefused)
{
    TempDrives t("C");
    t.writeFile('C', "data/sub/file.txt");
    const QString noEntry = t.makeFolder('C', "noentry");
    ASSERT_EQ(::chmod(raw(noEntry).constData(), 0600), 0);
    ASSERT_EQ(::symlink("data", raw(t.posix(u'C') + "/lnk").constData()), 0);
    struct Row {
        QString root;
        TreeError error;
    };
    const Row rows[] = {
        {"C:\\lnk", TreeError::IsLink},
        {"C:\\lnk\\sub", TreeError::IsLink},
        {"C:\\data\\sub\\file.txt", TreeError::NotFolder},
        {"C:\\missing", TreeError::NotFound},
        {"C:\\data\\..\\data", TreeError::BadPath},
        {"C:\\noentry", TreeError::Denied},
    };
    platform_test::NoDacOverride asUser;
    if (!asUser.ok())
        GTEST_SKIP() << "cannot give up the capability that reads any folder";
    for (const Row& r : rows) {
        TreeError error = TreeError::None;
        EXPECT_FALSE(WalkFolder::openRoot(r.root, {}, error)) << qPrintable(r.root);
        EXPECT_EQ(error, r.error) << qPrintable(r.root);
    }
    TreeError error;
    const auto ok = WalkFolder::openRoot("c:\\data\\\\sub\\", {}, error);
    ASSERT_TRUE(ok);
    EXPECT_EQ(ok->path(), "C:\\data\\sub");
}

TEST(FolderWalk, SubFolderChangedAfterItWasListedIsNotOpened)
{
    struct Row {
        const char* what;
        bool link;
    };
    for (const Row r : {Row{"another folder in its place", false}, Row{"a link in its place", true}}) {
        TempDrives t("C");
        t.writeFile('C', "top/sub/mine.txt");
        t.writeFile('C', "elsewhere/theirs.txt");
        TreeError error;
        auto top = WalkFolder::openRoot("C:\\top", {}, error);
        ASSERT_TRUE(top);
        top->read();
        ASSERT_EQ(top->entries().size(), 1u);
        const QString sub = t.posix(u'C') + "/top/sub";
        ASSERT_TRUE(QDir().rename(sub, t.posix(u'C') + "/moved"));
        if (r.link)
            ASSERT_EQ(::symlink(raw(t.posix(u'C') + "/elsewhere").constData(), raw(sub).constData()), 0);
        else
            ASSERT_TRUE(QDir().rename(t.posix(u'C') + "/elsewhere", sub));
        EXPECT_FALSE(top->openSub(top->entries()[0])) << r.what;
    }
}

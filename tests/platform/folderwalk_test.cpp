// The handle-based walk of a folder tree: what it lists with which options,
// the order of its calls, a bounded number of open folders, and the roots
// and sub-folders it refuses. Paths at the length limit are tested with the
// duplicate search, which names them.
#include "platform/folderwalk.h"
#include "support/mounted.h"
#include "support/tempdrives.h"
#include "util.h"

#include <QDir>
#include <QFile>
#include <QSet>
#include <gtest/gtest.h>

#include <optional>

#include <fcntl.h>
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

// Records what a walk tells, and the most descriptors open at any folder.
struct Recorder : WalkVisitor {
    QStringList events;                  // "+path" when read, "-path" when left
    QMap<QString, QSet<QString>> names;  // listed names per folder
    int mostOpen = 0;

    static int openDescriptors()
    {
        return int(QDir("/proc/self/fd").entryList(QDir::NoDotAndDotDot | QDir::System).size());
    }
    void enterFolder(const WalkFolder& f) override
    {
        events << "+" + f.path();
        for (const FindData& e : f.entries())
            names[f.path()] << e.name;
        mostOpen = std::max(mostOpen, openDescriptors());
    }
    void leaveFolder(const WalkFolder& f) override { events << "-" + f.path(); }
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
        {"folder names only", {false, true, false}, {"", "b"}, plain},  // the same entries, files unnamed
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

// A folder is read in batches; whatever the count, around a full batch and
// over several, every entry is listed once (names of 200 bytes: about 146
// to a batch).
TEST(FolderWalk, FoldersOfAnySizeAreListedWhole)
{
    TempDrives t("C");
    for (int count : {0, 1, 145, 146, 147, 148, 1000}) {
        const QString folder = QString("n%1").arg(count);
        QSet<QString> made;
        ASSERT_TRUE(QDir().mkpath(t.posix(u'C') + "/" + folder));
        for (int i = 0; i < count; ++i) {
            const QString name = QString("%1").arg(i, 6, 10, QChar('0')) + QString(194, QChar('x'));
            QFile f(t.posix(u'C') + "/" + folder + "/" + name);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            made << name;
        }
        const Recorder rec = walk("C:\\" + folder);
        EXPECT_EQ(rec.names.value("C:\\" + folder), made) << count;
        EXPECT_EQ(rec.events.size(), 2) << count;
    }
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
    // The opening from the drive root is folder deletion's, tested there;
    // the walk adds that the folder must be one that can be entered.
    const Row rows[] = {
        {"C:\\lnk\\sub", TreeError::IsLink},
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

// A sub-folder is checked to be the one listed, on the root's mount and
// enterable, either when it is opened or by its first read; either way it
// is not entered and nothing in it is listed.
TEST(FolderWalk, SubFolderChangedAfterItWasListedIsNotEntered)
{
    enum class Change { OtherFolder, Link, BindMount, Unsearchable, UnsearchableEmpty };
    struct Row {
        const char* what;
        Change change;
    };
    const Row rows[] = {
        {"another folder in its place", Change::OtherFolder},
        {"a link in its place", Change::Link},
        {"another folder bound onto it", Change::BindMount},
        {"no longer searchable", Change::Unsearchable},
        {"empty and no longer searchable", Change::UnsearchableEmpty},
    };
    for (const Row& r : rows) {
        TempDrives t("C");
        t.writeFile('C', "top/sub/mine.txt");
        t.writeFile('C', "elsewhere/theirs.txt");
        const QString sub = t.posix(u'C') + "/top/sub";
        const QString elsewhere = t.posix(u'C') + "/elsewhere";
        if (r.change == Change::UnsearchableEmpty) {
            ASSERT_TRUE(QFile::remove(sub + "/mine.txt"));
        }
        TreeError error;
        auto top = WalkFolder::openRoot("C:\\top", {}, error);
        ASSERT_TRUE(top);
        top->read();
        ASSERT_EQ(top->entries().size(), 1u);
        std::optional<testing_support::Mounted> bound;
        std::optional<platform_test::NoDacOverride> asUser;
        switch (r.change) {
        case Change::OtherFolder:
        case Change::Link:
            ASSERT_TRUE(QDir().rename(sub, t.posix(u'C') + "/moved"));
            if (r.change == Change::Link) {
                ASSERT_EQ(::symlink(raw(elsewhere).constData(), raw(sub).constData()), 0);
            } else {
                ASSERT_TRUE(QDir().rename(elsewhere, sub));
            }
            break;
        case Change::BindMount:
            bound.emplace(elsewhere, sub, nullptr, MS_BIND);
            if (!bound->ok())
                continue;  // not allowed to mount here
            break;
        case Change::Unsearchable:
        case Change::UnsearchableEmpty:
            ASSERT_EQ(::chmod(raw(sub).constData(), 0444), 0);
            asUser.emplace();
            if (!asUser->ok())
                continue;
            break;
        }
        if (auto opened = top->openSub(top->entries()[0])) {
            opened->read();
            EXPECT_FALSE(opened->entered()) << r.what;
            EXPECT_TRUE(opened->entries().empty()) << r.what;
        }
    }
}

// What the duplicate and file-hog walk may reach: only the tree below its
// roots, whatever is linked, mounted or swapped in while it runs.
#include "core/scriptedprompter.h"
#include "finders/dupsearch.h"
#include "platform/drives.h"
#include "platform/folderwalk.h"
#include "support/capabilities.h"
#include "support/linkswapper.h"
#include "support/mounted.h"
#include "support/tempdrives.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace finders;
using testing_support::Mounted;
using testing_support::TempDrives;

namespace {

QByteArray raw(const QString& posix)
{
    return QFile::encodeName(posix);
}

// Every file the file-hog search lists below the roots, by path.
QStringList listed(const QStringList& roots)
{
    DupCriteria c;
    c.duplicateMode = false;
    c.num1 = 0;
    c.unitKB = false;
    c.roots = roots;
    DupSearch s(c);
    s.scan();
    QStringList paths;
    for (const ResultRow& r : s.rows())
        paths << r.path;
    return paths;
}

qsizetype countOf(const QStringList& paths, const QString& name)
{
    qsizetype n = 0;
    for (const QString& p : paths)
        n += p.endsWith(u'\\' + name);
    return n;
}

}  // namespace

TEST(DupWalk, NothingOutsideTheTreeIsListed)
{
    struct Row {
        const char* what;
        bool mounts;
    };
    const Row rows[] = {{"a link to a folder outside", false},
                        {"a bind mount of a folder outside", true},
                        {"another file system", true}};
    int skipped = 0;
    for (const Row& r : rows) {
        TempDrives t("C");
        t.writeFile('C', "top/own/own.txt");
        t.writeFile('C', "outside/sub/outside.txt");
        const QString outside = t.posix(u'C') + "/outside";
        const QString in = t.posix(u'C') + "/top/in";
        std::unique_ptr<Mounted> m;
        if (!r.mounts) {
            ASSERT_EQ(::symlink(raw(outside).constData(), raw(in).constData()), 0);
        } else {
            t.makeFolder('C', "top/in");
            const bool bind = QByteArray(r.what).contains("bind");
            m = std::make_unique<Mounted>(bind ? outside : QString("none"), in, bind ? nullptr : "tmpfs",
                                          bind ? MS_BIND : 0);
            if (!m->ok()) {
                ++skipped;
                continue;
            }
            if (!bind)
                t.writeFile('C', "top/in/sub/outside.txt");
        }
        const QStringList paths = listed({"C:\\top"});
        EXPECT_EQ(countOf(paths, "outside.txt"), 0) << r.what;
        EXPECT_EQ(countOf(paths, "own.txt"), 1) << r.what;
    }
    if (skipped)
        GTEST_SKIP() << "mounting is not allowed here";
}

TEST(DupWalk, FolderSwappedForALinkWhileWalkedIsNotFollowed)
{
    // top/victim holds many folders; outside holds folders of the same
    // names. A thread keeps exchanging victim with a link to outside, so a
    // walk that opens folders by their path text sooner or later reads
    // outside/sN instead of top/victim/sN.
    TempDrives t("C");
    for (int i = 0; i < 30; ++i) {
        t.writeFile('C', QString("top/victim/s%1/inside.txt").arg(i));
        t.writeFile('C', QString("outside/s%1/outside.txt").arg(i));
    }
    const QByteArray victim = raw(t.posix(u'C') + "/top/victim");
    const QByteArray link = raw(t.posix(u'C') + "/top/link");
    ASSERT_EQ(::symlink(raw(t.posix(u'C') + "/outside").constData(), link.constData()), 0);
    if (!testing_support::LinkSwapper::supported(victim, link))
        GTEST_SKIP() << "the file system cannot exchange two names";
    qsizetype outsideListed = 0;
    qsizetype insideListed = 0;
    {
        testing_support::LinkSwapper swapper(victim, link);
        for (int run = 0; run < 60; ++run) {
            const QStringList paths = listed({"C:\\top"});
            outsideListed += countOf(paths, "outside.txt");
            insideListed += countOf(paths, "inside.txt");
        }
        EXPECT_GT(swapper.stop(), 0);
    }
    EXPECT_EQ(outsideListed, 0);
    EXPECT_GT(insideListed, 0);
}

TEST(DupWalk, RootThatCannotBeEnteredIsReported)
{
    // A folder without read or search permission, for the owner too.
    TempDrives t("C");
    const QString locked = t.makeFolder('C', "locked");
    t.writeFile('C', "locked/inside.txt");
    t.writeFile('C', "open/free.txt");
    core::ScriptedPrompter prompter;
    core::setPrompter(&prompter);
    for (const mode_t mode : {0000, 0600, 0100}) {
        prompter.clear();
        ASSERT_EQ(::chmod(raw(locked).constData(), mode), 0);
        QStringList paths;
        {
            testing_support::NoDacOverride asUser;
            if (!asUser.ok()) {
                ::chmod(raw(locked).constData(), 0755);
                core::setPrompter(nullptr);
                GTEST_SKIP() << "cannot give up the capability that reads any folder";
            }
            paths = listed({"C:\\locked", "C:\\open"});
        }
        ::chmod(raw(locked).constData(), 0755);
        EXPECT_EQ(prompter.texts(core::ScriptedPrompter::Kind::Error), QStringList({"Can't open drive C:\\locked"}))
            << "mode " << mode;
        EXPECT_EQ(paths, QStringList({"C:\\open\\free.txt"})) << "mode " << mode;
    }
    core::setPrompter(nullptr);
}

TEST(DupWalk, FileBeyondThePathLimitIsLeftOutAndNamedOnce)
{
    // A drive mounted deep down: its root can still be opened by path, but
    // a long name in it makes a path the system's path calls refuse.
    TempDrives t("C");
    QString deep = t.root() + "/deep";
    while (deep.size() + 201 < 3900)
        deep += "/" + QString(200, 'p');
    if (deep.size() < 3899)
        deep += "/" + QString(3900 - deep.size() - 1, 'q');  // names below stay under 255 bytes
    ASSERT_TRUE(QDir().mkpath(deep));
    const QString atLimit(plat::kMaxWalkPath - deep.size() - 1, 'a');  // ends exactly at the limit
    const QString beyond = atLimit + 'b';
    const int fd = ::open(raw(deep).constData(), O_RDONLY | O_DIRECTORY);
    ASSERT_GE(fd, 0);
    for (const QString& name : {atLimit, beyond})
        ::close(::openat(fd, raw(name).constData(), O_CREAT | O_WRONLY, 0644));
    qputenv("TROVIK_DRIVES", "C=" + raw(t.posix(u'C')) + ";D=" + raw(deep));
    plat::reloadDrives();

    DupCriteria c;
    c.duplicateMode = false;
    c.num1 = 0;
    c.roots = {"D:"};
    DupSearch s(c);
    QStringList notes;
    s.note = [&](const QString& text) { notes << text; };
    s.scan();
    ASSERT_EQ(s.rows().size(), 1u);
    EXPECT_EQ(s.rows()[0].path, "D:\\" + atLimit);
    EXPECT_EQ(notes, QStringList{"Path too long, left out: D:\\" + beyond});
    // Path-based removal cannot reach that file; remove it through its folder.
    ::unlinkat(fd, raw(beyond).constData(), 0);
    ::close(fd);
}

// The finders' walk: which files it hands over under its options, in what
// order, and how one or several walk contexts treat nested roots.
#include "core/scriptedprompter.h"
#include "finders/filewalk.h"
#include "support/tempdrives.h"

#include <gtest/gtest.h>

using finders::FileWalk;
using finders::FileWalkOptions;

namespace {

// The files a walk hands over, as drive paths, sorted.
QStringList handed(const FileWalkOptions& options, const QStringList& roots)
{
    FileWalk walk(options);
    QStringList out;
    walk.file = [&](const plat::WalkFolder& folder, const plat::FindData& f, bool) {
        out << folder.path() + "\\" + f.name;
    };
    walk.run(roots);
    out.sort();
    return out;
}

}  // namespace

TEST(FileWalk, OptionsChooseTheFilesTable)
{
    testing_support::TempDrives drives("C");
    drives.writeFile('C', "t/a.TMP");
    drives.writeFile('C', "t/.hidden.tmp");
    drives.writeFile('C', "t/sub/b.txt");
    drives.writeFile('C', "t/.cache/c.tmp");
    struct Row {
        bool hiddenFiles, hiddenFolders;
        const char* wildcard;
        QStringList files;
    };
    const Row rows[] = {
        {false, false, "*.*", {"C:\\t\\a.TMP", "C:\\t\\sub\\b.txt"}},
        {true, false, "*.tmp", {"C:\\t\\.hidden.tmp", "C:\\t\\a.TMP"}},
        {false, true, "*.tmp", {"C:\\t\\.cache\\c.tmp", "C:\\t\\a.TMP"}},
        {true, true, "*", {"C:\\t\\.cache\\c.tmp", "C:\\t\\.hidden.tmp", "C:\\t\\a.TMP", "C:\\t\\sub\\b.txt"}},
    };
    for (const Row& r : rows) {
        FileWalkOptions o;
        o.hiddenFiles = r.hiddenFiles;
        o.hiddenFolders = r.hiddenFolders;
        o.wildcard = r.wildcard;
        EXPECT_EQ(handed(o, {"C:\\t"}), r.files) << r.wildcard << r.hiddenFiles << r.hiddenFolders;
    }
}

TEST(FileWalk, SubFoldersComeFirstAndNestedRootsFollowTheContext)
{
    testing_support::TempDrives drives("C");
    core::ScriptedPrompter prompter;
    core::setPrompter(&prompter);
    drives.writeFile('C', "t/top.txt");
    drives.writeFile('C', "t/in/deep.txt");
    FileWalk walk;
    QStringList order;
    walk.file = [&](const plat::WalkFolder&, const plat::FindData& f, bool first) {
        EXPECT_TRUE(first);
        order << f.name;
    };
    walk.run({"C:\\t", "C:\\t\\in"});
    EXPECT_EQ(order, QStringList({"deep.txt", "top.txt"})) << "a folder shared by two roots is walked once";

    FileWalkOptions own;
    own.contextPerRoot = true;
    EXPECT_EQ(handed(own, {"C:\\t", "C:\\t\\in", "C:\\gone"}).size(), 3) << "each root walks its own tree";
    EXPECT_EQ(prompter.texts(core::ScriptedPrompter::Kind::Error), QStringList{"Can't open drive C:\\gone"});
    core::setPrompter(nullptr);
}

TEST(FileWalk, AbortStopsBetweenFiles)
{
    testing_support::TempDrives drives("C");
    for (int i = 0; i < 5; ++i)
        drives.writeFile('C', QString("t/f%1.txt").arg(i));
    FileWalk walk;
    int files = 0, pumps = 0;
    walk.pump = [&] { ++pumps; };
    walk.aborted = [&] { return files == 2; };
    walk.file = [&](const plat::WalkFolder&, const plat::FindData&, bool) { ++files; };
    walk.run({"C:\\t"});
    EXPECT_EQ(files, 2);
    EXPECT_EQ(pumps, 1) << "before each file but the first";
}

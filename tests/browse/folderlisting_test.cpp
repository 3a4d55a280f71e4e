// The folder browser's engine on a temporary drive: what one read of a
// folder lists, the grid it fills, the tree's lines, the parent by the
// path's text and the refusals of "Delete &Folder".
#include "browse/folderlisting.h"

#include "core/helpers.h"
#include "support/localescope.h"
#include "support/tempdrives.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

using namespace browse;

namespace {

QStringList names(const std::vector<plat::FindData>& files)
{
    QStringList out;
    for (const plat::FindData& f : files)
        out << f.name;
    out.sort();
    return out;
}

}  // namespace

TEST(FolderListingTest, OneReadListsWhatThePatternsLetThrough)
{
    testing_support::TempDrives drives("C");
    drives.writeFile('C', "d/a.txt", QByteArray(1000, 'a'));
    drives.writeFile('C', "d/B.doc", QByteArray(2500, 'b'));
    drives.writeFile('C', "d/README");
    drives.writeFile('C', "d/.hidden.txt");
    drives.makeFolder('C', "d/Sub");
    drives.makeFolder('C', "d/another");
    drives.makeFolder('C', "d/.git");
    const QString d = drives.posix(u'C') + "/d";
    ASSERT_EQ(symlink((d + "/a.txt").toUtf8().constData(), (d + "/link.txt").toUtf8().constData()), 0);
    ASSERT_EQ(symlink((d + "/Sub").toUtf8().constData(), (d + "/linkdir").toUtf8().constData()), 0);
    ASSERT_EQ(mkfifo((d + "/pipe.txt").toUtf8().constData(), 0600), 0);

    const struct {
        const char* pattern;
        QStringList files;
    } cases[] = {
        {"*.*", {"B.doc", "README", "a.txt"}},
        {"", {"B.doc", "README", "a.txt"}},
        {"*.TXT;*.doc", {"B.doc", "a.txt"}},
        {" *.txt ; ", {"a.txt"}},
        {"*.zip", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pattern);
        const FolderContents got = ReadFolder("C:\\d", SplitPatterns(c.pattern));
        EXPECT_TRUE(got.readable);
        EXPECT_EQ(names(got.files), c.files);
        EXPECT_EQ(got.folders, QStringList({"another", "Sub"}));
    }
    EXPECT_FALSE(ReadFolder("C:\\gone", {"*.*"}).readable);
}

TEST(FolderListingTest, GridRowsCarryTheWholeRealPath)
{
    testing_support::LocaleScope locale(QLocale::c());
    testing_support::TempDrives drives("C");
    // A folder path far beyond 255 characters, in mixed case.
    QString rel = "Deep";
    while (rel.size() < 300)
        rel += "/Folder" + QString::number(rel.size());
    drives.writeFile('C', rel + "/Big.Txt", QByteArray(2500, 'x'));
    drives.writeFile('C', rel + "/small.txt", QByteArray(1000, 'x'));
    drives.makeFolder('C', "empty");
    const QString folder = "C:\\" + QString(rel).replace('/', '\\');

    comp::ResultGrid grid;
    GridTotals totals;
    ASSERT_TRUE(ListFolderAsShown(grid, folder, "*.*", totals));
    EXPECT_EQ(totals.files, 2);
    EXPECT_EQ(totals.bytes, 3500.0);
    EXPECT_EQ(grid.titles(), BrowseTitles());
    ASSERT_EQ(grid.rowCount(), 3);
    // Name order from A to Z, whatever the read order.
    EXPECT_EQ(grid.cell(1, bcName), "Big.Txt");
    EXPECT_EQ(grid.cell(2, bcName), "small.txt");
    EXPECT_EQ(grid.cell(1, bcSize), core::FormatGroupedF(2500));
    EXPECT_EQ(grid.cell(1, bcType), core::FileTypeName(".txt"));
    EXPECT_EQ(grid.path(1), folder + "\\Big.Txt");
    EXPECT_GT(grid.path(1).size(), 300);

    ASSERT_TRUE(ListFolderAsShown(grid, "C:\\empty", "*.*", totals));
    EXPECT_EQ(totals.files, 0);
    EXPECT_EQ(totals.bytes, 0.0);
    EXPECT_EQ(grid.rowCount(), 2);
    EXPECT_EQ(grid.rowsUsed(), 0);
    EXPECT_EQ(grid.rowCells(1).join(""), "");
}

TEST(FolderListingTest, TreeLinesFromTheRootDown)
{
    const std::vector<TreeLine> lines = FolderTreeLines("C:\\Data\\Mixed Case", {"x", "Y"});
    const std::vector<std::tuple<QString, QString, int, bool>> want = {
        {"C:\\", "C:\\", 0, true},
        {"Data", "C:\\Data", 1, true},
        {"Mixed Case", "C:\\Data\\Mixed Case", 2, true},
        {"x", "C:\\Data\\Mixed Case\\x", 3, false},
        {"Y", "C:\\Data\\Mixed Case\\Y", 3, false},
    };
    ASSERT_EQ(lines.size(), want.size());
    for (size_t i = 0; i < want.size(); ++i)
        EXPECT_EQ(std::make_tuple(lines[i].text, lines[i].path, lines[i].depth, lines[i].open), want[i]) << i;
    EXPECT_EQ(FolderTreeLines("D:\\", {"a"}).back().path, "D:\\a");
}

TEST(FolderListingTest, ParentByThePathsText)
{
    const struct {
        const char* path;
        const char* parent;
    } cases[] = {
        {"C:\\A\\b c", "C:\\A"}, {"C:\\A", "C:\\"}, {"C:\\A\\", "C:\\"}, {"C:\\", ""}, {"C:", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ParentFolder(c.path), c.parent) << c.path;
}

TEST(FolderListingTest, DeleteFolderRefusals)
{
    testing_support::TempDrives drives("CD");
    const QString root =
        "Cannot delete the root folder! To delete a folder including all files and sub-folders double click on the "
        "desired folder shown in the left panel.";
    const QString windows = "You cannot delete the Windows folder using Trovik 99";
    const QStringList trees = {"C:\\usr", "C:\\var\\lib"};
    const struct {
        const char* folder;
        QString message;
    } cases[] = {
        {"C:\\", root},
        {"d:\\", root},
        {"C:\\Windows", windows},
        {"D:\\WIN95", windows},
        {"C:\\usr", windows},
        {"C:\\var", windows},  // holds a system tree
        {"C:\\WINDOWS\\SYSTEM", ""},
        {"C:\\usr\\local\\src", ""},
        {"C:\\Win98Stuff", ""},
        {"C:\\Data", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DeleteFolderRefusal(c.folder, trees), c.message) << c.folder;
}

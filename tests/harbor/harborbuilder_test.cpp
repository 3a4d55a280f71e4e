#include "harbor/harborbuilder.h"
#include "platform/keytree.h"
#include "core/safeharbor.h"

#include <QSet>
#include <gtest/gtest.h>

using namespace harbor;

namespace {

TEST(HarborBuilderTest, AcceptanceRule)
{
    struct Row {
        QString value;
        bool accepted;
    };
    const QList<Row> rows = {
        {"C:\\Program Files\\Acme\\acme.exe,1", true},
        {"C:\\A;C:\\B", false},
        {"%SystemRoot%\\x.dll", false},
        {"C:\\", false},
        {"C:\\x", true},
        {"C:x\\abc", false},
        {"C:\\a:b", false},
        {"\\\\server\\share", false},
        {"", false},
    };
    for (const Row& r : rows)
        EXPECT_EQ(AcceptRegistryValue(r.value), r.accepted) << qPrintable(r.value);
}

TEST(HarborBuilderTest, FolderPartAndCanonicalForm)
{
    EXPECT_EQ(CanonicalFolderPath(FolderPartOf("C:\\Program Files\\Acme\\acme.exe,1")), "C:\\Program Files\\Acme");
    EXPECT_EQ(CanonicalFolderPath(FolderPartOf("C:\\Program Files\\Acme")), "C:\\Program Files");
    EXPECT_EQ(CanonicalFolderPath(FolderPartOf("C:\\usr\\share\\doc\\pkg\\")), "C:\\usr\\share\\doc\\pkg");
    EXPECT_EQ(CanonicalFolderPath(FolderPartOf("C:\\boot.ini")), "C:\\");
}

struct FakeWorld {
    QSet<QString> folders;
    plat::MemoryKeyTree machine;
    plat::MemoryKeyTree user;
};

void Wire(HarborBuilder& b, const FakeWorld& w)
{
    b.folderExists = [&w](const QString& f) { return w.folders.contains(f); };
    b.onRemovableDrive = [](const QString& f) { return f.startsWith('A') || f.startsWith('B') || f.startsWith('E'); };
}

TEST(HarborBuilderTest, ScanAddsExistingFoldersOnce)
{
    FakeWorld w;
    w.folders = {"C:\\Program Files\\Acme", "C:\\Program Files", "C:\\Tools", "A:\\Setup", "E:\\Stick"};
    w.machine.add("\\SOFTWARE\\Acme", {"C:\\Program Files\\Acme\\acme.exe,1", "C:\\A;C:\\B", "%SystemRoot%\\x.dll"});
    w.machine.add("\\SOFTWARE\\Acme\\Sub", {"C:\\PROGRAM FILES\\ACME\\other.dll", "C:\\Program Files\\Acme"});
    w.machine.add("\\SOFTWARE\\Gone", {"C:\\Nowhere\\x.exe", "A:\\Setup\\s.exe", "E:\\Stick\\p.exe"});
    w.machine.add("\\SOFTWARE\\Tools", {"C:\\Tools\\"});
    QStringList list;
    int added = 0;
    HarborBuilder b(list);
    Wire(b, w);
    b.onAdded = [&added] { ++added; };
    b.findpaths(w.machine, "\\SOFTWARE");
    EXPECT_EQ(list, QStringList({"C:\\Program Files\\Acme", "C:\\Program Files", "C:\\Tools"}));
    EXPECT_EQ(added, 3);
    EXPECT_EQ(b.ScanDepth, 0);
}

TEST(HarborBuilderTest, DepthIsBoundedAt25Levels)
{
    FakeWorld w;
    QString key = "\\SOFTWARE";
    for (int level = 2; level <= 30; ++level) {
        key += QString("\\K%1").arg(level);
        const QString folder = QString("C:\\L%1").arg(level);
        w.folders.insert(folder);
        w.machine.add(key, {folder + "\\f.txt"});
    }
    QStringList list;
    HarborBuilder b(list);
    Wire(b, w);
    b.findpaths(w.machine, "\\SOFTWARE");
    // The start key is level 1 and at most 25 levels are entered; the scan
    // entered last reads the values of its sub-keys, at level 26.
    EXPECT_EQ(list.size(), 25);
    EXPECT_TRUE(list.contains("C:\\L26"));
    EXPECT_FALSE(list.contains("C:\\L27"));
}

TEST(HarborBuilderTest, BuildKeepsRulesAndDropsFoldersBelowThem)
{
    FakeWorld w;
    w.folders = {"C:\\PROGRAM FILES\\Acme", "C:\\Data", "C:\\Users\\ann"};
    w.machine.add("\\SOFTWARE\\Acme", {"C:\\PROGRAM FILES\\Acme\\a.exe", "C:\\Data\\d.db"});
    w.user.add("\\SOFTWARE\\Applications\\x.desktop", {"C:\\Users\\ann\\x"});
    QStringList list = {"C:\\PROGRAM FILES\\*.*", "C:\\Old"};
    HarborBuilder b(list);
    Wire(b, w);
    b.build(w.machine, w.user);
    EXPECT_EQ(list, QStringList({"C:\\Data", "C:\\PROGRAM FILES\\*.*", "C:\\Users\\ann"}));
}

}  // namespace

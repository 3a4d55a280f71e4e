// The editors' list operations: one entry as folder or subtree rule, the
// explanation texts, deleting rows, and the protected extension list.
#include "core/settings.h"
#include "core/typelist.h"
#include "harbor/extensionlist.h"
#include "harbor/foldereditor.h"
#include "platform/filetypes.h"
#include "support/tempdrives.h"

#include <gtest/gtest.h>

using namespace harbor;

namespace {

TEST(FolderEditorTest, SplitAndJoinEntries)
{
    struct Row {
        QString entry;
        QString text;
        bool subtree;
    };
    const QList<Row> rows = {
        {"C:\\DATA\\*.*", "C:\\DATA\\", true},
        {"C:\\DATA*.*", "C:\\DATA", true},
        {"C:\\DATA\\", "C:\\DATA\\", false},
        {"C:\\DATA", "C:\\DATA", false},
        {"", "", false},
    };
    for (const Row& r : rows) {
        const EntryEdit e = SplitEntry(r.entry);
        EXPECT_EQ(e.text, r.text) << qPrintable(r.entry);
        EXPECT_EQ(e.subtree, r.subtree) << qPrintable(r.entry);
        EXPECT_EQ(JoinEntry(e), r.entry) << qPrintable(r.entry);
    }
    // The pattern goes right after the text, as typed.
    EXPECT_EQ(JoinEntry({"C:\\DATA", true}), "C:\\DATA*.*");
    EXPECT_EQ(JoinEntry({"C:\\DATA\\", false}), "C:\\DATA\\");
}

TEST(FolderEditorTest, ExplanationTexts)
{
    struct Row {
        QString folder;
        bool subtree;
        QString text;
    };
    const QList<Row> rows = {
        {"C:\\DATA\\", true, "All files and sub-folders below \"C:\\DATA\\\" will NOT be deleted."},
        {"", true, "All files and sub-folders below the one you select will NOT be deleted."},
        {"C:\\DATA\\", false, "Only files in this folder \"C:\\DATA\\\" will NOT be deleted."},
        {"", false, ""},
    };
    for (const Row& r : rows)
        EXPECT_EQ(EditFolderExplanation(r.folder, r.subtree), r.text) << qPrintable(r.folder) << r.subtree;
}

TEST(FolderEditorTest, PlainEditReplacesInPlace)
{
    QStringList list = {"C:\\B\\", "C:\\DATA\\*.*", "C:\\A\\"};
    EXPECT_EQ(ApplyEntryEdit(list, 1, {"C:\\DATA\\", false}), 1);
    EXPECT_EQ(list, QStringList({"C:\\B\\", "C:\\DATA\\", "C:\\A\\"}));
}

TEST(FolderEditorTest, NewRuleSwallowsTheFoldersBelowIt)
{
    QStringList list = {"C:\\ZED\\", "C:\\DATA", "C:\\DATABASE\\OLD", "C:\\DATA\\X\\", "C:\\A\\"};
    const int row = ApplyEntryEdit(list, 1, {"C:\\DATA", true});
    EXPECT_EQ(list, QStringList({"C:\\A\\", "C:\\DATA*.*", "C:\\ZED\\"}));
    EXPECT_EQ(row, 1);
}

TEST(FolderEditorTest, RemoveRowsInAnyOrder)
{
    QStringList list = {"a", "b", "c", "d", "e"};
    RemoveRows(list, {3, 0, 3, 9, -1});
    EXPECT_EQ(list, QStringList({"b", "c", "e"}));
    RemoveRows(list, {});
    EXPECT_EQ(list.size(), 3);
}

TEST(FolderEditorTest, Texts)
{
    EXPECT_EQ(FolderCountText(0), "0 folders");
    EXPECT_EQ(FolderCountText(1234), "1234 folders");
    EXPECT_EQ(DeleteExtensionsQuestion(3), "Really delete 3 extensions?");
    EXPECT_EQ(BuildQuestion(),
              "Trovik will now scan the registry for references to folders.  Those folders ending with *.* will not "
              "be discarded during the scan.  It may take a few minutes.  Continue? ");
}

class ExtensionListTest : public ::testing::Test {
protected:
    void SetUp() override { plat::setFileTypes(&types); }
    void TearDown() override { plat::setFileTypes(nullptr); }
    testing_support::TempDrives drives;
    plat::FakeFileTypes types{{{".sys", "System file"}, {".drv", "Device driver"}, {".bak", "Backup"}}};
};

TEST_F(ExtensionListTest, NeverSavedShowsDefaultsButStoresNothing)
{
    ExtensionListEditor e;
    e.load();
    EXPECT_EQ(e.lines(), QStringList({"*.drv\tDevice driver", "*.sys\tSystem file"}));
    EXPECT_FALSE(core::SettingsStore::readList("NoDelExt").has_value());
    e.save();
    EXPECT_EQ(core::SettingsStore::readList("NoDelExt"), QStringList({"*.drv", "*.sys"}));
}

TEST_F(ExtensionListTest, AddKeepsTheListSortedAndUnique)
{
    core::SettingsStore::writeList("NoDelExt", {"*.sys"});
    ExtensionListEditor e;
    e.load();
    comp::ExtensionChoice c;
    c.chosenPattern = "*.bak";
    c.chosenTypeName = "Backup";
    EXPECT_TRUE(e.add(c));
    EXPECT_FALSE(e.add(c));
    comp::ExtensionChoice several;
    several.severalChosen = true;
    several.selectedLines = {"*.SYS\tSystem file", "KEEP.ME\t", "*.abc\tABC"};
    EXPECT_TRUE(e.add(several));
    EXPECT_EQ(e.lines(), QStringList({"*.abc\tABC", "*.bak\tBackup", "*.sys\tSystem file", "KEEP.ME\t"}));
    e.remove({0, 3});
    EXPECT_EQ(e.lines(), QStringList({"*.bak\tBackup", "*.sys\tSystem file"}));
    EXPECT_TRUE(e.addDefaults());
    EXPECT_FALSE(e.addDefaults());
    EXPECT_EQ(e.lines().size(), 3);
    e.clear();
    e.save();
    EXPECT_EQ(core::SettingsStore::readList("NoDelExt"), QStringList());
    e.load();
    EXPECT_TRUE(e.lines().isEmpty()) << "an empty list that was saved gives no defaults";
}

}  // namespace

namespace {

TEST(SortedGrowthTest, MergesWhatWasAppendedSinceTheLastUpdate)
{
    QStringList list = {"C:\\M\\*.*", "C:\\B\\*.*"};
    harbor::SortedGrowth g;
    g.start(list);
    EXPECT_EQ(g.sorted(), QStringList({"C:\\B\\*.*", "C:\\M\\*.*"}));
    list << "c:\\z" << "C:\\a" << "C:\\N";
    EXPECT_EQ(g.update(list), QStringList({"C:\\a", "C:\\B\\*.*", "C:\\M\\*.*", "C:\\N", "c:\\z"}));
    EXPECT_EQ(g.update(list).size(), 5) << "nothing new, nothing merged twice";
    list << "C:\\C";
    EXPECT_EQ(g.update(list), QStringList({"C:\\a", "C:\\B\\*.*", "C:\\C", "C:\\M\\*.*", "C:\\N", "c:\\z"}));
}

}  // namespace

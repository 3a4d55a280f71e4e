// The sort commands of the result windows: direction flags for the program
// run, the flip rules, the row-count checks, the statistics totals row.
#include "reports/sortcommand.h"

#include "sorttestutil.h"

#include <gtest/gtest.h>

using namespace reports;
using namespace sorttest;

namespace {

class SortCommandTest : public ::testing::Test {
protected:
    LocaleScope locale{QLocale(QLocale::English, QLocale::UnitedStates)};
    void SetUp() override { ResetSortDirections(); }
    void TearDown() override { ResetSortDirections(); }

    // A file-hog style grid: Size, Modified, Time, Access, FileName, Type.
    static comp::ResultGrid hogGrid()
    {
        comp::ResultGrid g(6, 4);
        g.setTitles({"Size", "Modified", "Time", "Access", "FileName", "Type"});
        g.setRow(1, {"1,000", "", "", "", "C:\\b.txt", "Text"}, "C:\\b.txt");
        g.setRow(2, {"20", "", "", "", "C:\\c.txt", "Text"}, "C:\\c.txt");
        g.setRow(3, {"300", "", "", "", "C:\\a.txt", "Text"}, "C:\\a.txt");
        return g;
    }
};

TEST_F(SortCommandTest, StartDirections)
{
    struct Want {
        const char* window;
        const char* caption;
        int column;
        SortKind kind;
        bool descending;
    };
    const Want wants[] = {
        {"TfrmDup", "&Size", 0, SortKind::Number, true},
        {"TfrmDup", "&Name", 4, SortKind::Text, false},
        {"TfrmMods", "&Size", 4, SortKind::Number, false},
        {"TfrmMods", "&Creation Date", 2, SortKind::Date, true},
        {"TfrmDirHog", "Sort by # Sub-f&olders", 3, SortKind::Number, true},
        {"TfrmClean", "&Access date", 3, SortKind::Date, true},
        {"TfrmBrowse", "Name", 4, SortKind::Text, false},
        {"TfrmStatistics", "Sort by &Average File Size", 4, SortKind::Number, true},
    };
    for (const Want& w : wants) {
        SCOPED_TRACE(w.caption);
        const SortCommand* c = FindSortCommand(QString::fromLatin1(w.window), QString::fromLatin1(w.caption));
        ASSERT_NE(c, nullptr);
        EXPECT_EQ(c->column, w.column);
        EXPECT_EQ(c->kind, w.kind);
        EXPECT_EQ(SortDescending(*c), w.descending);
    }
    EXPECT_EQ(FindSortCommand(u"TfrmDup", u"&Time"), nullptr);
    EXPECT_EQ(SortCommands().size(), 32u);
}

TEST_F(SortCommandTest, TitleClicks)
{
    EXPECT_EQ(SortCommandForColumn(u"TfrmDup", 4)->caption, QStringLiteral("&Name"));
    EXPECT_EQ(SortCommandForColumn(u"TfrmDup", 2), nullptr);  // Time
    EXPECT_EQ(SortCommandForColumn(u"TfrmDirHog", 1), nullptr);  // % Used
    EXPECT_EQ(SortCommandForColumn(u"TfrmBrowse", 0)->caption, QStringLiteral("Modified &Date"));
    for (int c = 0; c < 7; ++c)
        EXPECT_EQ(SortCommandForColumn(u"TfrmMods", c)->column, c);
    EXPECT_EQ(SortCommandForColumn(u"TfrmStatistics", 0), nullptr);  // menu only
}

TEST_F(SortCommandTest, SecondSortReverses)
{
    comp::ResultGrid g = hogGrid();
    const SortCommand& size = *FindSortCommand(u"TfrmDup", u"&Size");
    int calls = 0;
    ASSERT_TRUE(RunSortCommand(g, size, FlipRule::AfterSort, [&] { ++calls; }));
    EXPECT_EQ(columnOf(g), (QStringList{"1,000", "300", "20"}));
    EXPECT_FALSE(SortDescending(size));
    ASSERT_TRUE(RunSortCommand(g, size));
    EXPECT_EQ(columnOf(g), (QStringList{"20", "300", "1,000"}));
    EXPECT_TRUE(SortDescending(size));
    EXPECT_EQ(calls, 1);

    // The flag outlives the window: a new grid (a reopened window) sorts on
    // from where the last one left off.
    ASSERT_TRUE(RunSortCommand(g, size));
    comp::ResultGrid reopened = hogGrid();
    ASSERT_TRUE(RunSortCommand(reopened, size));
    EXPECT_EQ(columnOf(reopened), (QStringList{"20", "300", "1,000"}));

    // Other commands have flags of their own.
    const SortCommand& name = *FindSortCommand(u"TfrmDup", u"&Name");
    ASSERT_TRUE(RunSortCommand(g, name));
    EXPECT_EQ(columnOf(g, 4), (QStringList{"C:\\a.txt", "C:\\b.txt", "C:\\c.txt"}));
    EXPECT_TRUE(SortDescending(name));
    EXPECT_TRUE(SortDescending(size));
}

TEST_F(SortCommandTest, FileHogSearchSetsSizeDescendingFirst)
{
    comp::ResultGrid g = hogGrid();
    const SortCommand& size = *FindSortCommand(u"TfrmDup", u"&Size");
    SetSortDescending(size, false);
    SetSortDescending(size, true);
    RunSortCommand(g, size);
    EXPECT_EQ(columnOf(g), (QStringList{"1,000", "300", "20"}));
    EXPECT_FALSE(SortDescending(size));
}

TEST_F(SortCommandTest, BrowserFlipsFirstForUserCommandsOnly)
{
    comp::ResultGrid g(6, 4);
    g.setRow(1, {"", "", "", "", "b", ""}, "b");
    g.setRow(2, {"", "", "", "", "c", ""}, "c");
    g.setRow(3, {"", "", "", "", "a", ""}, "a");
    const SortCommand& name = *FindSortCommand(u"TfrmBrowse", u"Name");
    // Loading a folder re-sorts by the ticked command as the flag says.
    RunSortCommand(g, name, FlipRule::Keep);
    EXPECT_EQ(columnOf(g, 4), (QStringList{"a", "b", "c"}));
    EXPECT_FALSE(SortDescending(name));
    // The user asking for Name then shows Z to A.
    RunSortCommand(g, name, FlipRule::BeforeSort);
    EXPECT_EQ(columnOf(g, 4), (QStringList{"c", "b", "a"}));
    EXPECT_TRUE(SortDescending(name));
    RunSortCommand(g, name, FlipRule::Keep);
    EXPECT_EQ(columnOf(g, 4), (QStringList{"c", "b", "a"}));
}

TEST_F(SortCommandTest, TooFewRowsDoesNothing)
{
    comp::ResultGrid g(6, 1);
    const SortCommand& size = *FindSortCommand(u"TfrmDup", u"&Size");
    bool called = false;
    EXPECT_FALSE(RunSortCommand(g, size, FlipRule::AfterSort, [&] { called = true; }));
    EXPECT_FALSE(called);
    EXPECT_TRUE(SortDescending(size));
    g.setRowCount(2);
    EXPECT_TRUE(RunSortCommand(g, size));
}

TEST_F(SortCommandTest, StatisticsKeepTotalsAndDirection)
{
    comp::ResultGrid g(5, 5);
    g.setTitles({"Extension", "Type", "Size", "Files", "Average"});
    g.setRow(1, {".b", "B", "10", "1", "10"}, {});
    g.setRow(2, {".c", "C", "3,000", "2", "1,500"}, {});
    g.setRow(3, {".a", "A", "200", "4", "50"}, {});
    g.setRow(4, {"Total", "", "3,210", "7", "458"}, {});
    const SortCommand& size = *FindSortCommand(u"TfrmStatistics", u"Sort by &Size");
    const SortCommand& ext = *FindSortCommand(u"TfrmStatistics", u"Sort by &Extension");
    for (int k = 0; k < 2; ++k) {
        ASSERT_TRUE(RunSortCommand(g, size));
        EXPECT_EQ(columnOf(g, 2), (QStringList{"3,000", "200", "10", "3,210"}));
        ASSERT_TRUE(RunSortCommand(g, ext));
        EXPECT_EQ(columnOf(g, 0), (QStringList{".a", ".b", ".c", "Total"}));
    }
    // One extension row between titles and totals: nothing to sort.
    comp::ResultGrid small(5, 3);
    EXPECT_FALSE(RunSortCommand(small, size));
}

}  // namespace

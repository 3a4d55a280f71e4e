// The three grid sorts on small grids whose outcome is known by hand.
#include "reports/sortgrid.h"

#include "core/helpers.h"
#include "sorttestutil.h"

#include <QDate>
#include <gtest/gtest.h>

#include <stdexcept>

using namespace reports;
using namespace sorttest;

namespace {

class SortGridTest : public ::testing::Test {
protected:
    LocaleScope locale{QLocale(QLocale::English, QLocale::UnitedStates)};
    void SetUp() override { core::SetShortDateFormat(QStringLiteral("dd/MM/yyyy")); }
    void TearDown() override { core::SetShortDateFormat(QString()); }
};

struct Case {
    const char* name;
    SortKind kind;
    bool descending;
    QStringList input;
    QStringList expected;
};

TEST_F(SortGridTest, KnownOrders)
{
    const Case cases[] = {
        // Equal keys keep their order in blocks of at most 5 rows.
        {"text b a A ascending", SortKind::Text, false, {"b", "a", "A"}, {"a", "A", "b"}},
        {"text b a A descending", SortKind::Text, true, {"b", "a", "A"}, {"b", "a", "A"}},
        {"text prefix first", SortKind::Text, false, {"abc", "ab", "a", ""}, {"", "a", "ab", "abc"}},
        // Only a to z change case; the bytes then compare unsigned, so
        // letters beyond ASCII come after every ASCII character.
        {"text bytes", SortKind::Text, false, {"\u00e9", "z", "_", "Z"}, {"z", "Z", "_", "\u00e9"}},
        {"text underscore after capitals", SortKind::Text, false, {"_x", "ax"}, {"ax", "_x"}},
        {"thousands separators", SortKind::Number, false, {"1,234", "999"}, {"999", "1,234"}},
        {"units ignored", SortKind::Number, true, {"2 KB", "1,234 KB", "10 KB"}, {"1,234 KB", "10 KB", "2 KB"}},
        {"minus sign ignored", SortKind::Number, false, {"-7", "5", "8"}, {"5", "-7", "8"}},
        {"empty is zero", SortKind::Number, false, {"3", "", "0.5"}, {"", "0.5", "3"}},
        {"no number is zero", SortKind::Number, false, {"2", "n/a", "1.2.3", "."}, {"1.2.3", ".", "n/a", "2"}},
        {"decimals", SortKind::Number, false, {"1.5", "1.25", "1"}, {"1", "1.25", "1.5"}},
        {"empty dates first", SortKind::Date, false, {"02/01/2003", "", "01/01/2003", ""},
         {"", "", "01/01/2003", "02/01/2003"}},
        {"dates descending", SortKind::Date, true, {"01/01/2003", "31/12/2004", "", "15/06/2003"},
         {"31/12/2004", "15/06/2003", "01/01/2003", ""}},
        {"no date is 1900", SortKind::Date, false, {"01/01/1901", "junk", "31/12/1899"},
         {"31/12/1899", "junk", "01/01/1901"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        comp::ResultGrid g = columnGrid(c.input);
        SortGrid(g, 1, g.rowCount() - 1, c.descending, 0, c.kind);
        EXPECT_EQ(columnOf(g), c.expected);
    }
}

TEST_F(SortGridTest, NumberKeys)
{
    EXPECT_EQ(NumberSortKey(u"1,234 KB"), 1234.0L);
    EXPECT_EQ(NumberSortKey(u"-7"), 7.0L);
    EXPECT_EQ(NumberSortKey(u""), 0.0L);
    EXPECT_EQ(NumberSortKey(u"1.2.3"), 0.0L);
    EXPECT_EQ(NumberSortKey(u"12.5%"), 12.5L);
    // A user whose decimal point is a comma: the point groups, the comma
    // separates the fraction.
    EXPECT_EQ(NumberSortKey(u"1.234,5", QChar(u',')), 1234.5L);
    LocaleScope german(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(NumberSortKey(u"1.234,5"), 1234.5L);
}

TEST_F(SortGridTest, TextAndDateKeys)
{
    EXPECT_EQ(TextSortKey(u"abc\u00e9z"), QByteArray("ABC\xc3\xa9Z"));
    EXPECT_EQ(DateSortKey(u""), QDate(1900, 1, 1).toJulianDay());
    EXPECT_EQ(DateSortKey(u"24/12/1999"), QDate(1999, 12, 24).toJulianDay());
    EXPECT_EQ(DateSortKey(u"12/24/1999"), QDate(1900, 1, 1).toJulianDay());
}

TEST_F(SortGridTest, TotalsRowStays)
{
    // The statistics grid sorts rows 1 to row count - 2.
    comp::ResultGrid g = columnGrid({"5", "900", "70", "975"});
    SortGridByNumber(g, 1, g.rowCount() - 2, true, 0);
    EXPECT_EQ(columnOf(g), (QStringList{"900", "70", "5", "975"}));
    EXPECT_EQ(g.cell(0, 0), QStringLiteral("T0"));
}

TEST_F(SortGridTest, RowsOutsideTheBlockAreNotMoved)
{
    comp::ResultGrid g = columnGrid({"z", "y", "x", "w", "v", "u", "t"});
    SortGridByText(g, 2, 5, false, 0);
    EXPECT_EQ(columnOf(g), (QStringList{"z", "v", "w", "x", "y", "u", "t"}));
}

TEST_F(SortGridTest, WholeRowsTravel)
{
    comp::ResultGrid g = columnGrid({"30", "10", "20"}, 3, 1);
    g.setMarked(1, true);
    g.setShade(1, comp::ResultGrid::ShadeA);
    g.setShade(2, comp::ResultGrid::ShadeB);
    SortGridByNumber(g, 1, 3, false, 1);
    EXPECT_EQ(columnOf(g, 1), (QStringList{"10", "20", "30"}));
    EXPECT_EQ(tagsOf(g), (std::vector<int>{2, 3, 1}));
    EXPECT_EQ(g.path(3), QStringLiteral("P1"));
    EXPECT_EQ(g.cell(3, 0), QStringLiteral("c0r1"));
    EXPECT_EQ(g.cell(3, 2), QStringLiteral("c2r1"));
    EXPECT_TRUE(g.marked(3));
    EXPECT_FALSE(g.marked(1));
    EXPECT_EQ(g.shade(3), comp::ResultGrid::ShadeA);
    EXPECT_EQ(g.shade(1), comp::ResultGrid::ShadeB);
    EXPECT_EQ(g.shade(2), comp::ResultGrid::NoShade);

    // Mark a row, sort by another column, unmark the row where it now
    // stands: no mark is left.
    SortGridByText(g, 1, 3, true, 2);
    int at = 0;
    for (int r = 1; r < g.rowCount(); ++r)
        if (g.path(r) == QStringLiteral("P1"))
            at = r;
    ASSERT_TRUE(g.marked(at));
    g.setMarked(at, false);
    EXPECT_EQ(g.markedCount(), 0);
}

TEST_F(SortGridTest, OneRowBlockUnchanged)
{
    comp::ResultGrid g = columnGrid({"b", "a"});
    const comp::ResultGrid before = g;
    SortGridByText(g, 1, 1, false, 0);
    SortGridByNumber(g, 2, 2, true, 0);
    SortGridByDate(g, 1, 0, false, 0);  // an empty block
    EXPECT_EQ(columnOf(g), columnOf(before));
    EXPECT_EQ(tagsOf(g), tagsOf(before));
}

TEST_F(SortGridTest, BlockOutsideTheGridIsRefused)
{
    comp::ResultGrid g = columnGrid({"b", "a"});
    EXPECT_THROW(SortGridByText(g, 1, 3, false, 0), std::out_of_range);
    EXPECT_THROW(SortGridByText(g, -1, 2, false, 0), std::out_of_range);
    EXPECT_EQ(columnOf(g), (QStringList{"b", "a"}));
}

TEST_F(SortGridTest, ColumnOutsideTheGridReadsEmpty)
{
    comp::ResultGrid g = columnGrid({"b", "a", "c"});
    SortGridByText(g, 1, 3, false, 7);
    EXPECT_EQ(columnOf(g), (QStringList{"b", "a", "c"}));
}

// The order a search computes from the size numbers is the order the
// number sort gives the grid holding them, ties and sorted runs included.
TEST_F(SortGridTest, KeyOrderIsTheGridOrder)
{
    const std::vector<std::vector<int>> cases = {
        {5, 4, 3, 2, 1},          {5, 5, 4, 4, 4, 3, 1, 1}, {1, 2, 3, 4, 5},
        {3, 1, 3, 1, 3, 1, 2, 2}, {7},                      {2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2},
    };
    for (const std::vector<int>& keys : cases) {
        for (bool descending : {false, true}) {
            comp::ResultGrid g(1, int(keys.size()) + 1);
            std::vector<long double> numbers;
            for (size_t k = 0; k < keys.size(); ++k) {
                g.setCell(int(k) + 1, 0, QString::number(keys[k] * 1000));
                numbers.push_back(NumberSortKey(g.cellView(int(k) + 1, 0), QChar(u'.')));
            }
            std::vector<int> fromKeys = NumberKeyOrder(numbers, descending);
            for (int& k : fromKeys)
                k += 1;
            EXPECT_EQ(fromKeys, SortOrder(g, 1, int(keys.size()), descending, 0, SortKind::Number))
                << keys.size() << " " << descending;
        }
    }
}

}  // namespace

// The pages' tables and chart values made from totals.
#include "platform/filetypes.h"
#include "stats/statpages.h"
#include "support/localescope.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace stats;

namespace {

QStringList Column(const StatGrid& g, int column)
{
    QStringList out;
    for (int r = 0; r < g.rowCount(); ++r)
        out << g.rowTexts(r, false).value(column);
    return out;
}

}  // namespace

TEST(StatPages, TypeRowsSortButTheTotalsRowStaysLast)
{
    ExtensionTotals t;
    t.insertType(u".txt", false, 300);
    t.insertType(u".txt", false, 300);  // .TXT: 2 files, 600 bytes, average 300
    t.insertType(u".bin", false, 5000000000ULL);
    t.insertType(u".doc", true, 0);     // no file: average 0
    StatGrid g = TypesGrid(t);
    ASSERT_EQ(g.rowCount(), 4);
    EXPECT_EQ(g.rowTexts(3, false), QStringList({"", "Totals", "5000000600", "3", ""}));
    EXPECT_EQ(g.rowTexts(1, false).value(tcAverage), "0");
    struct Row {
        int column;
        QStringList order;
    };
    const Row rows[] = {{tcSize, {".BIN", ".TXT", ".DOC", ""}},
                        {tcFiles, {".TXT", ".BIN", ".DOC", ""}},
                        {tcAverage, {".BIN", ".TXT", ".DOC", ""}},
                        {tcExtension, {".BIN", ".DOC", ".TXT", ""}}};
    for (const Row& r : rows) {
        SortTypeRows(g, r.column);
        EXPECT_EQ(Column(g, tcExtension), r.order) << r.column;
        EXPECT_EQ(g.rows.back()[tcType].text, "Totals");
    }

    // One extension row: nothing moves.
    ExtensionTotals one;
    one.insertType(u".a", false, 1);
    StatGrid single = TypesGrid(one);
    SortTypeRows(single, tcFiles);
    EXPECT_EQ(Column(single, tcType).last(), "Totals");
}

TEST(StatPages, TypePieTakesTheTwelveLargestAboveZero)
{
    ExtensionTotals t;
    for (int i = 1; i <= 30; ++i)
        t.insertType(QString(".e%1").arg(i, 2, 10, QChar('0')), false, quint64(i) * 1000);
    t.insertType(u".zz", true, 0);
    const std::vector<ChartBar> slices = TypePieSlices(t, TypePieMode::BySize);
    ASSERT_EQ(slices.size(), 12u);
    EXPECT_EQ(slices.front().value, 30000.0);
    EXPECT_EQ(slices.back().value, 19000.0);
    EXPECT_EQ(slices.front().colour, 1);
    EXPECT_EQ(slices.back().colour, 12);
    double shares = 0;
    for (const ChartBar& s : slices)
        shares += s.share;
    EXPECT_NEAR(shares, 100.0, 1e-9);

    ExtensionTotals few;
    few.insertType(u".a", false, 10);
    few.insertType(u".b", true, 0);
    EXPECT_EQ(TypePieSlices(few, TypePieMode::ByAverage).size(), 1u);  // a 0 value adds no slice
}

TEST(StatPages, ListingRowOrders)
{
    StatTotals t;
    const StatGrid sizes = SizesGrid(t);
    EXPECT_EQ(Column(sizes, 0).first(), "Over 16MB");
    EXPECT_EQ(Column(sizes, 0).last(), "0 - 16K");
    for (DateKind k : {DateKind::Access, DateKind::Created, DateKind::Modified}) {
        const StatGrid g = DateGrid(t, k);
        EXPECT_EQ(g.rowCount(), 10);
        EXPECT_EQ(Column(g, 0).first(), "Over 4 years");
        EXPECT_EQ(Column(g, 0).last(), "Not recorded");
    }
    EXPECT_EQ(CombinedGrid(t).titles.size(), 7);
    EXPECT_EQ(Column(AttributeGrid(t), 0), QStringList({"Hidden", "Read-only", "System", "Archive"}));
    const StatGrid time = TimeGrid(t);
    EXPECT_EQ(time.rowCount(), 48);
    EXPECT_EQ(Column(time, 0).at(47), "23:30");
}

TEST(StatPages, EmptyTotalsGiveZeroSharesNeverNaN)
{
    StatTotals t;
    std::vector<std::vector<ChartBar>> charts = {SizeBars(t, true), SizeBars(t, false), AttributeBars(t, true),
                                                 AttributeBars(t, false), OverhangBars(MakeOverhangPage(t))};
    for (DateKind k : {DateKind::Access, DateKind::Created, DateKind::Modified})
        charts.push_back(DateBars(t, k, true));
    for (const auto& bars : charts) {
        EXPECT_FALSE(bars.empty());
        for (const ChartBar& b : bars) {
            EXPECT_EQ(b.value, 0.0) << qPrintable(b.label);
            EXPECT_EQ(b.share, 0.0) << qPrintable(b.label);
            EXPECT_EQ(PercentMark(b.share, 1), "0 %");
        }
    }
    EXPECT_EQ(AttributeGrid(t).rowTexts(0, false), QStringList({"Hidden", "0.00", "0", "0.00", "0"}));
    EXPECT_FALSE(MakeOverhangPage(t).enabled);
    EXPECT_FALSE(AccessTimeShown(t));
    EXPECT_EQ(PercentMark(std::nan(""), 2), "0 %");
}

TEST(StatPages, AttributeSharesAreOfTheFilesFound)
{
    StatTotals t;
    t.filesFound = 1000;
    t.sizeBytes[1] = 400000;
    t.attrCount[atHidden] = 1;
    t.attrBytes[atHidden] = 4000;
    t.attrCount[atReadOnly] = 500;
    t.attrBytes[atReadOnly] = 200000;
    EXPECT_EQ(AttributeGrid(t).rowTexts(0, false), QStringList({"Hidden", "0.10", "1", "1.00", "4000"}));
    EXPECT_EQ(AttributeGrid(t).rowTexts(1, false), QStringList({"Read-only", "50.00", "500", "50.00", "200000"}));
    const std::vector<ChartBar> bars = AttributeBars(t, false);
    ASSERT_EQ(bars.size(), 4u);
    EXPECT_EQ(bars[0].label, "Archive");
    EXPECT_EQ(bars[3].label, "Hidden");
    EXPECT_DOUBLE_EQ(bars[3].value, 0.1);
}

TEST(StatPages, OverhangSummaryArrowAndUnit)
{
    struct Row {
        quint64 total;
        quint64 cluster;
        int arrow;
        QString totalText;
        QString actualText;
    };
    const Row rows[] = {
        {1048575, 4096, 0, "1,024 KB", "Actual space used 1,028 KB"},
        {1048576, 4096, 0, "1 MB", "Actual space used 1 MB"},
        {1048576, 65536, 4, "1 MB", "Actual space used 1 MB"},
        {1048576, 2048, -1, "1 MB", ""},
        {1048576, 0, -1, "1 MB", ""},
    };
    for (const Row& r : rows) {
        StatTotals t;
        t.sizeBytes[7] = r.total;
        t.filesFound = 1234;
        t.clusterSize = r.cluster;
        t.overhang = {4096, 8192, 16384, 32768, 65536};
        const OverhangPage p = MakeOverhangPage(t);
        EXPECT_TRUE(p.enabled);
        EXPECT_EQ(p.arrowRow, r.arrow) << r.cluster;
        EXPECT_EQ(p.totalText, r.totalText) << r.total;
        EXPECT_EQ(p.actualText, r.actualText) << r.cluster;
        EXPECT_EQ(p.filesText, "Number of files scanned: 1,234");
        EXPECT_NEAR(p.percent[0], 100.0 * 4096 / (double(r.total) + 4096), 1e-9);
        const StatGrid g = OverhangGrid(p);
        EXPECT_EQ(Column(g, 0), QStringList({"4K", "8K", "16K", "32K", "64K", "Cluster size", "Total file sizes",
                                             "Actual space used"}));
        EXPECT_EQ(g.rowTexts(7, false).value(1), r.arrow >= 0 ? QString::number(r.total + (4096u << r.arrow)) : "");
    }
}

TEST(StatPages, GroupingFollowsTheLocaleButValuesDoNot)
{
    testing_support::LocaleScope german(QLocale(QLocale::German, QLocale::Germany));
    ExtensionTotals t;
    t.insertType(u".big", false, 5000000000ULL);
    t.insertType(u".sml", false, 1234);
    const StatGrid g = TypesGrid(t);
    EXPECT_EQ(g.rowTexts(0, true).value(tcSize), "5.000.000.000");
    EXPECT_EQ(g.rowTexts(0, false).value(tcSize), "5000000000");
    const std::vector<ChartBar> slices = TypePieSlices(t, TypePieMode::BySize);
    ASSERT_EQ(slices.size(), 2u);
    EXPECT_EQ(slices[0].value, 5e9);
    EXPECT_EQ(slices[1].value, 1234.0);
    EXPECT_EQ(PercentMark(12.345, 1), "12,3 %");
}

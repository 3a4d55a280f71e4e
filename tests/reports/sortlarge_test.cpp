// Large grids: a few hundred thousand rows sort, and an input made so that
// every partition splits off a single row, which a recursive sort would
// follow a row's depth deep, still completes. No timings here: sortbench
// measures speed.
#include "reports/sortgrid.h"

#include "core/helpers.h"
#include "sorttestutil.h"

#include <QRandomGenerator>
#include <gtest/gtest.h>

using namespace reports;
using namespace sorttest;

namespace {

class SortLargeTest : public ::testing::Test {
protected:
    LocaleScope locale{QLocale(QLocale::English, QLocale::UnitedStates)};
    void SetUp() override { core::SetShortDateFormat(QStringLiteral("dd/MM/yyyy")); }
    void TearDown() override { core::SetShortDateFormat(QString()); }
};

TEST_F(SortLargeTest, TwoHundredThousandRows)
{
    const int n = 200000;
    QRandomGenerator rng(7);
    comp::ResultGrid g(3, n + 1);
    for (int r = 1; r <= n; ++r) {
        g.setRow(r,
                 {core::FormatGrouped(rng.bounded(1000000)),
                  QLocale().toString(QDate(1995, 1, 1).addDays(rng.bounded(9000)), core::ShortDateFormat()),
                  QStringLiteral("C:\\data\\folder%1\\file%2.txt").arg(rng.bounded(500)).arg(rng.bounded(100000))},
                 QString());
        g.setTag(r, quint64(r));
    }
    for (bool descending : {false, true}) {
        SortGridByText(g, 1, n, descending, 2);
        for (int r = 1; r < n; ++r) {
            const QByteArray a = TextSortKey(g.cellView(r, 2)), b = TextSortKey(g.cellView(r + 1, 2));
            ASSERT_TRUE(descending ? a >= b : a <= b) << r;
        }
        SortGridByNumber(g, 1, n, descending, 0);
        for (int r = 1; r < n; ++r) {
            const long double a = NumberSortKey(g.cellView(r, 0)), b = NumberSortKey(g.cellView(r + 1, 0));
            ASSERT_TRUE(descending ? a >= b : a <= b) << r;
        }
        SortGridByDate(g, 1, n, descending, 1);
        for (int r = 1; r < n; ++r) {
            const qint64 a = DateSortKey(g.cellView(r, 1)), b = DateSortKey(g.cellView(r + 1, 1));
            ASSERT_TRUE(descending ? a >= b : a <= b) << r;
        }
    }
    // Every row is still there once.
    std::vector<bool> seen(size_t(n) + 1);
    for (int r = 1; r <= n; ++r) {
        ASSERT_FALSE(seen[g.tag(r)]);
        seen[g.tag(r)] = true;
    }
}

// Values that make every partition's middle row the block's largest, so the
// block before the split is one row shorter each time: built by running the
// partition on unnamed values and naming each pivot, when it is taken, the
// largest value still free. The other values are only ever compared with
// pivots, so naming them last, below all pivots, keeps every answer true.
std::vector<int> deepInput(int n)
{
    std::vector<int> slot(static_cast<size_t>(n)), value(static_cast<size_t>(n), -1);
    for (int k = 0; k < n; ++k)
        slot[size_t(k)] = k;
    int next = n - 1;
    auto key = [&](int s) { return value[size_t(s)]; };  // unnamed = -1, below all
    int lo = 0, hi = n - 1;
    while (lo < hi) {
        const int pivot = slot[size_t((lo + hi) / 2)];
        value[size_t(pivot)] = next--;
        int i = lo, j = hi;
        while (i <= j) {
            while (key(slot[size_t(i)]) < key(pivot))
                ++i;
            while (key(pivot) < key(slot[size_t(j)]))
                --j;
            if (i <= j) {
                std::swap(slot[size_t(i)], slot[size_t(j)]);
                ++i;
                --j;
            }
        }
        hi = j;  // the long block comes first; i..hi is one row
    }
    for (int& v : value)
        if (v < 0)
            v = next--;
    return value;
}

TEST_F(SortLargeTest, DeepPartitionsComplete)
{
    const int n = 20000;
    const std::vector<int> values = deepInput(n);
    QStringList cells;
    for (int v : values)
        cells << QString::number(v);
    comp::ResultGrid g = columnGrid(cells);
    SortGridByNumber(g, 1, n, false, 0);
    for (int r = 1; r <= n; ++r)
        ASSERT_EQ(g.cell(r, 0), QString::number(r - 1)) << r;
}

}  // namespace

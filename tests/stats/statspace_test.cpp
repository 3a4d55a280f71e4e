// The Space page on drives whose statvfs answers are made up.
#include "platform/fileops_p.h"
#include "stats/statspace.h"
#include "support/tempdrives.h"

#include <QFile>
#include <QMap>
#include <gtest/gtest.h>

using namespace stats;
using testing_support::TempDrives;

namespace {

constexpr quint64 kMiB = 1048576;

struct Space {
    quint64 total;
    quint64 free;
};
// By mount point.
QMap<QByteArray, Space> g_spaces;

int FakeStatvfs(const char* path, struct statvfs* out)
{
    *out = {};
    const Space s = g_spaces.value(QByteArray(path), Space{0, 0});
    out->f_frsize = 1024;
    out->f_blocks = s.total / 1024;
    out->f_bavail = s.free / 1024;
    return 0;
}

class SpaceTest : public ::testing::Test {
protected:
    void SetUp() override { plat::detail::setStatvfsForTest(&FakeStatvfs); }
    void TearDown() override
    {
        plat::detail::setStatvfsForTest(nullptr);
        g_spaces.clear();
    }
    // Gives the drives of letters C, D, ... these spaces; returns the entries.
    QStringList setDrives(const TempDrives& drives, const QList<Space>& spaces)
    {
        QStringList entries;
        for (int i = 0; i < spaces.size(); ++i) {
            const QChar letter(u'C' + i);
            g_spaces[QFile::encodeName(drives.posix(letter))] = spaces[i];
            entries << QString(letter.toLower()) + ": Label";
        }
        return entries;
    }
};

}  // namespace

TEST_F(SpaceTest, BarsCaptionsAndTotal)
{
    TempDrives drives("CDEF");
    struct Row {
        const char* what;
        QList<Space> spaces;
        bool showTotal;
        SpaceUnit unit;
        QStringList bars;  // label free/used in the unit, rounded
        QString total, free, used;
        bool low;
    };
    const Row rows[] = {
        {"2 GB with 500 MB free", {{2048 * kMiB, 500 * kMiB}}, true, SpaceUnit::MB, {"c 500/1548"}, "2,048", "500",
         "1,548", false},
        {"8 MB and 2 GB in one unit", {{8 * kMiB, 4 * kMiB}, {2048 * kMiB, 1024 * kMiB}}, true, SpaceUnit::MB,
         {"c 4/4", "d 1024/1024", "Total 1028/1028"}, "2,056", "1,028", "1,028", false},
        {"8 MB alone in KB", {{8 * kMiB, kMiB}}, true, SpaceUnit::KB, {"c 1024/7168"}, "8,192", "1,024", "7,168",
         false},
        {"a full first drive still gets its total", {{100 * kMiB, 0}, {100 * kMiB, 50 * kMiB}}, true, SpaceUnit::MB,
         {"c 0/100", "d 50/50", "Total 50/150"}, "200", "50", "150", false},
        {"no total asked for", {{100 * kMiB, 0}, {100 * kMiB, 50 * kMiB}}, false, SpaceUnit::MB,
         {"c 0/100", "d 50/50"}, "200", "50", "150", false},
        {"free above total", {{100 * kMiB, 200 * kMiB}}, true, SpaceUnit::MB, {"c 100/0"}, "100", "100", "0", false},
        {"under 10 % free is low", {{1000 * kMiB, 99 * kMiB}}, true, SpaceUnit::MB, {"c 99/901"}, "1,000", "99",
         "901", true},
    };
    for (const Row& r : rows) {
        const SpacePage p = doDiskSize(setDrives(drives, r.spaces), r.showTotal);
        QStringList bars;
        for (const SpaceBar& b : p.bars)
            bars << QStringLiteral("%1 %2/%3").arg(b.label).arg(qRound64(b.free)).arg(qRound64(b.used));
        EXPECT_TRUE(p.hasData) << r.what;
        EXPECT_EQ(p.unit, r.unit) << r.what;
        EXPECT_EQ(bars, r.bars) << r.what;
        EXPECT_EQ(p.totalText(), r.total) << r.what;
        EXPECT_EQ(p.freeText(), r.free) << r.what;
        EXPECT_EQ(p.usedText(), r.used) << r.what;
        EXPECT_EQ(p.lowSpace, r.low) << r.what;
        EXPECT_GE(p.used, 0.0) << r.what;
        g_spaces.clear();
    }
}

TEST_F(SpaceTest, NoCapacityShowsNothing)
{
    TempDrives drives("C");
    const QStringList entries = setDrives(drives, {{0, 0}});
    const SpacePage p = doDiskSize(entries, true);
    EXPECT_FALSE(p.hasData);
    EXPECT_EQ(p.drivesShown, 1);
    const SpacePies pies = doPieCharts(entries);
    EXPECT_TRUE(pies.drives.empty());
    EXPECT_FALSE(pies.total.has_value());
    EXPECT_FALSE(doDiskSize({"q: gone"}, true).hasData);  // not ready: not shown
}

TEST_F(SpaceTest, PiesOfElevenDrivesAndTheirTotal)
{
    TempDrives drives("CDEFGHIJKLMN");
    QList<Space> spaces;
    for (int i = 0; i < 12; ++i)
        spaces << Space{1000 * kMiB, quint64(i + 1) * 10 * kMiB};
    const QStringList entries = setDrives(drives, spaces);
    const SpacePies pies = doPieCharts(entries);
    ASSERT_EQ(pies.drives.size(), 11u);
    EXPECT_EQ(pies.drives[0].title, "C:\\  1.0% free");
    EXPECT_EQ(pies.drives[0].freeBytes, 10 * kMiB);
    EXPECT_EQ(pies.drives[0].usedBytes, 990 * kMiB);
    ASSERT_TRUE(pies.total.has_value());
    EXPECT_EQ(pies.total->freeBytes, 660 * kMiB);  // 10 + 20 + ... + 110, the twelfth left out
    EXPECT_EQ(pies.total->title, "TOTAL 6.0% free");
}

TEST(SpaceText, FreePercentKeepsOneDecimal)
{
    EXPECT_EQ(FreePercentText(37528, 100000), "37.5");
    EXPECT_EQ(FreePercentText(100, 100), "100.0");
    EXPECT_EQ(FreePercentText(5, 0), "0.0");
}

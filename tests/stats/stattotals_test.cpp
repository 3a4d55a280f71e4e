// The rules by which one file lands in the tallies: size class, age bucket,
// half-hour slot, overhang, extension row, and local calendar days.
#include "stats/localclock_p.h"
#include "stats/stattotals.h"
#include "zonescope.h"

#include <QDateTime>
#include <QTimeZone>
#include <gtest/gtest.h>


using namespace stats;

namespace {

plat::FileTime FileTimeOfUtc(const QString& isoUtc)
{
    const QDateTime t = QDateTime::fromString(isoUtc, Qt::ISODate);
    return plat::unixToFileTime(t.toSecsSinceEpoch(), 0);
}

}  // namespace

TEST(StatRules, SizeClassesHaveInclusiveUpperBounds)
{
    const std::pair<quint64, int> rows[] = {
        {0, 1},        {16384, 1},    {16385, 2},     {32768, 2},     {32769, 3},
        {1048576, 7},  {1048577, 8},  {16777216, 11}, {16777217, 12}, {5368709120ULL, 12}};
    for (const auto& [size, expected] : rows)
        EXPECT_EQ(SizeClassOf(size), expected) << size;
    EXPECT_EQ(SizeClassLabel(1), "0 - 16K");
    EXPECT_EQ(SizeClassLabel(12), "Over 16MB");
}

TEST(StatRules, AgeBucketsByCalendarDays)
{
    const QDate today(2024, 6, 15);
    const std::pair<qint64, int> rows[] = {
        {0, 1},    {7, 1},    {8, 2},    {30, 2},   {31, 3},   {60, 3},    {61, 4},    {120, 4},   {121, 5},
        {365, 5},  {366, 6},  {730, 6},  {731, 7},  {1095, 7}, {1096, 8},  {1460, 8},  {1461, 9},
        {-8, 2} /* 8 days ahead counts as 8 days old */};
    for (const auto& [days, bucket] : rows) {
        LocalStamp s;
        s.recorded = true;
        s.date = today.addDays(-days);
        EXPECT_EQ(AgeBucketOf(s, today), bucket) << days;
    }
    EXPECT_EQ(AgeBucketOf(LocalStamp{}, today), 0);
    EXPECT_EQ(AgeBucketLabel(0), "Not recorded");
    EXPECT_EQ(AgeBucketLabel(9), "Over 4 years");
}

TEST(StatRules, HalfHourSlotsLeaveOutOnlyMidnightExactly)
{
    const std::pair<int, int> rows[] = {{0, -1},         {1, 0},         {15 * 60, 0},
                                        {30 * 60, 1},    {29 * 60 + 59, 0}, {23 * 3600 + 59 * 60, 47}};
    for (const auto& [second, slot] : rows) {
        LocalStamp s;
        s.recorded = true;
        s.date = QDate(2024, 1, 1);
        s.secondOfDay = second;
        EXPECT_EQ(DropIntoHourSlot(s), slot) << second;
    }
    EXPECT_EQ(DropIntoHourSlot(LocalStamp{}), -1);
    EXPECT_EQ(HourSlotLabel(0), "00:00");
    EXPECT_EQ(HourSlotLabel(47), "23:30");
}

TEST(StatRules, OverhangPerClusterSize)
{
    struct Row {
        quint64 size;
        std::array<quint64, kOverhangSizes> wasted;
    };
    const Row rows[] = {{5000, {3192, 3192, 11384, 27768, 60536}},
                        {8192, {0, 0, 8192, 24576, 57344}},
                        {0, {0, 0, 0, 0, 0}},
                        {65537, {4095, 8191, 16383, 32767, 65535}}};
    for (const Row& r : rows)
        for (int i = 0; i < kOverhangSizes; ++i)
            EXPECT_EQ(OverhangOf(r.size, kOverhangClusters[size_t(i)]), r.wasted[size_t(i)])
                << r.size << " on " << OverhangLabel(i).toStdString();
}

TEST(StatRules, ExtensionRowsInOrderWithoutRegardToCase)
{
    ExtensionTotals t;
    t.insertType(u".doc", false, 10);
    t.insertType(u".DOC", false, 5);
    t.insertType(u".Txt", false, 1);
    t.insertType(u"", false, 7);            // no extension: a row of its own
    t.insertType(u".backup", false, 99);    // longer than 5: no row
    t.insertType(u".xls", true, 0);         // registered, no file
    t.insertType(u".txt", true, 0);         // already there: unchanged
    ASSERT_EQ(t.size(), 4);
    const std::tuple<QString, quint64, quint64> rows[] = {
        {"", 1, 7}, {".DOC", 2, 15}, {".TXT", 1, 1}, {".XLS", 0, 0}};
    for (int i = 0; i < 4; ++i) {
        const ExtensionRow& r = t.rows()[size_t(i)];
        EXPECT_EQ(r.extension, std::get<0>(rows[i]));
        EXPECT_EQ(r.count, std::get<1>(rows[i])) << i;
        EXPECT_EQ(r.bytes, std::get<2>(rows[i])) << i;
    }
    EXPECT_NE(t.find(u".dOc"), nullptr);
    EXPECT_EQ(t.find(u".backup"), nullptr);
}

TEST(StatRules, LocalDaysAndTimesAcrossSummerTime)
{
    stats_test::ZoneScope zone("Europe/Berlin");
    struct Row {
        const char* utc;
        QDate date;
        int slot;
    };
    const Row rows[] = {
        {"2024-03-30T22:59:00Z", QDate(2024, 3, 30), 47},  // 23:59 CET, the day before the change
        {"2024-03-30T23:01:00Z", QDate(2024, 3, 31), 0},   // 00:01 CET
        {"2024-03-31T01:30:00Z", QDate(2024, 3, 31), 7},   // 03:30 CEST, after the clocks went forward
        {"2024-10-27T00:45:00Z", QDate(2024, 10, 27), 5},  // 02:45 CEST
        {"2024-10-27T01:45:00Z", QDate(2024, 10, 27), 5},  // 02:45 CET, the hour again
        {"2024-10-27T23:00:00Z", QDate(2024, 10, 28), -1}, // 00:00:00 CET exactly
        {"1975-06-01T12:00:00Z", QDate(1980, 1, 1), 26},   // 13:00 CET before 1980: 1 January 1980
    };
    LocalClock clock;
    for (const Row& r : rows) {
        const plat::FileTime t = FileTimeOfUtc(QString::fromLatin1(r.utc));
        for (const LocalStamp& s : {clock.stamp(t), StampOf(t)}) {
            EXPECT_TRUE(s.recorded) << r.utc;
            EXPECT_EQ(s.date, r.date) << r.utc;
            EXPECT_EQ(DropIntoHourSlot(s), r.slot) << r.utc;
        }
    }
    // Yesterday 23:59 seen at 00:01 today is one calendar day old.
    const LocalStamp late = clock.stamp(FileTimeOfUtc("2024-03-30T22:59:00Z"));
    EXPECT_EQ(late.date.daysTo(QDate(2024, 3, 31)), 1);
    EXPECT_FALSE(clock.stamp(0).recorded);
}

// The running totals of removals and their updates.
#include "core/settings.h"
#include "delete/deletetotals.h"
#include "delete/deletionlog.h"
#include "support/tempdrives.h"

#include <gtest/gtest.h>

using core::SettingsStore;

namespace {

QString stored(const char* name)
{
    return SettingsStore::readString("Trovik", name, "<absent>");
}

class TotalsTest : public ::testing::Test {
protected:
    testing_support::TempDrives drives{"C"};
    del::DeletionLog log{drives.root() + "/grdelete.txt"};
    const QString today = QString::number(core::todayDayNumber());
};

TEST_F(TotalsTest, ResetWritesMinusOneIntoAllEight)
{
    SettingsStore::writeInt("Trovik", "Ndelete", 12);
    SettingsStore::writeInt("Trovik", "ZipDate", 40000);
    ASSERT_TRUE(log.addToDeleteGrid(1, 1, 0, 0, 0, 0));
    del::ResetTotals();
    for (const char* name : {"Ndelete", "SizeDelete", "NWaste", "SizeWaste", "DelDate", "NZip", "SizeZip", "ZipDate"})
        EXPECT_EQ(stored(name), "-1") << name;
    EXPECT_EQ(log.usedRows(), 1);  // the log is not touched
}

TEST_F(TotalsTest, ResetThenDeleteThenZipSetTheirOwnDates)
{
    del::ResetTotals();
    ASSERT_TRUE(del::UpdateDeleteTotals(log, 2, 0, 300, 0));
    EXPECT_EQ(stored("Ndelete"), "2");
    EXPECT_EQ(stored("SizeDelete"), "300");
    EXPECT_EQ(stored("NWaste"), "0");
    EXPECT_EQ(stored("SizeWaste"), "0");
    EXPECT_EQ(stored("DelDate"), today);
    EXPECT_EQ(stored("NZip"), "-1");
    EXPECT_EQ(stored("ZipDate"), "-1");

    ASSERT_TRUE(del::UpdateZipTotals(log, 4, 1000));
    EXPECT_EQ(stored("NZip"), "4");
    EXPECT_EQ(stored("SizeZip"), "1000");
    EXPECT_EQ(stored("ZipDate"), today);
    EXPECT_EQ(stored("Ndelete"), "2");

    // The log has one row for each.
    EXPECT_EQ(log.usedRows(), 2);
    EXPECT_EQ(log.cell(1, 1), "2");
    EXPECT_EQ(log.cell(5, 2), "4");
    EXPECT_EQ(log.cell(6, 2), "1000");
}

TEST_F(TotalsTest, AnExistingDateIsKeptAndAmountsAccumulate)
{
    SettingsStore::writeInt("Trovik", "Ndelete", 5);
    SettingsStore::writeInt("Trovik", "SizeDelete", 5000);
    SettingsStore::writeInt("Trovik", "DelDate", 40000);
    SettingsStore::writeInt("Trovik", "NZip", 0);
    SettingsStore::writeInt("Trovik", "ZipDate", 41000);
    ASSERT_TRUE(del::UpdateDeleteTotals(log, 2, 1, 300, 7));
    EXPECT_EQ(stored("Ndelete"), "7");
    EXPECT_EQ(stored("SizeDelete"), "5300");
    EXPECT_EQ(stored("NWaste"), "1");
    EXPECT_EQ(stored("SizeWaste"), "7");
    EXPECT_EQ(stored("DelDate"), "40000");
    ASSERT_TRUE(del::UpdateZipTotals(log, 3, 30));
    EXPECT_EQ(stored("NZip"), "3");
    EXPECT_EQ(stored("ZipDate"), "41000");
}

TEST_F(TotalsTest, TotalsBeyondTwoGigabytesKeepCounting)
{
    SettingsStore::writeInt("Trovik", "SizeDelete", 2147483000LL);
    ASSERT_TRUE(del::UpdateDeleteTotals(log, 1, 0, 1000000, 0));
    EXPECT_EQ(stored("SizeDelete"), "2148483000");
    ASSERT_TRUE(del::UpdateDeleteTotals(log, 1, 0, 1, 0));
    EXPECT_EQ(stored("SizeDelete"), "2148483001");
}

TEST_F(TotalsTest, RecycleBatchExample)
{
    // Fresh settings: every total reads -1.
    ASSERT_TRUE(del::UpdateDeleteTotals(log, 0, 3, 0, 1500));
    EXPECT_EQ(stored("NWaste"), "3");
    EXPECT_EQ(stored("SizeWaste"), "1500");
    EXPECT_EQ(stored("Ndelete"), "0");
    EXPECT_EQ(stored("SizeDelete"), "0");
    const QStringList row = {log.cell(1, 1), log.cell(2, 1), log.cell(3, 1), log.cell(4, 1),
                             log.cell(5, 1), log.cell(6, 1)};
    EXPECT_EQ(row, QStringList({"0", "0", "3", "1500", "0", "0"}));
}

TEST_F(TotalsTest, EachUpdateWritesOnlyItsOwnKeys)
{
    // Texts no update could parse: each survives the other kind of batch.
    SettingsStore::writeString("Trovik", "SizeZip", "12 MB");
    SettingsStore::writeString("Trovik", "NZip", "lots");
    SettingsStore::writeString("Trovik", "Ndelete", "0x");
    ASSERT_TRUE(del::UpdateDeleteTotals(log, 2, 0, 20, 0));
    EXPECT_EQ(stored("SizeZip"), "12 MB");
    EXPECT_EQ(stored("NZip"), "lots");
    EXPECT_EQ(stored("ZipDate"), "<absent>");
    EXPECT_EQ(stored("Ndelete"), "2");  // its own key: counted from nothing

    SettingsStore::writeString("Trovik", "Ndelete", "0x");
    ASSERT_TRUE(del::UpdateZipTotals(log, 1, 5));
    EXPECT_EQ(stored("Ndelete"), "0x");
    EXPECT_EQ(stored("SizeDelete"), "20");
    EXPECT_EQ(stored("NWaste"), "0");
    EXPECT_EQ(stored("NZip"), "1");
    EXPECT_EQ(stored("SizeZip"), "5");
    EXPECT_EQ(stored("ZipDate"), today);
}

TEST_F(TotalsTest, TotalsAreWrittenEvenWhenTheLogCannotBeSaved)
{
    log.setFile(drives.root() + "/missing/grdelete.txt");
    EXPECT_FALSE(del::UpdateDeleteTotals(log, 1, 0, 10, 0));
    EXPECT_EQ(stored("Ndelete"), "1");
    EXPECT_EQ(log.usedRows(), 1);
}

}  // namespace

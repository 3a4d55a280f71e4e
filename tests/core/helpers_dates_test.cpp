#include "core/helpers.h"

#include <QLocale>
#include <gtest/gtest.h>

using namespace core;

namespace {

PackedDosDateTime dos(int y, int mo, int d, int h = 0, int mi = 0, int s = 0)
{
    return (PackedDosDateTime(y - 1980) << 25) | (PackedDosDateTime(mo) << 21) | (PackedDosDateTime(d) << 16)
        | (PackedDosDateTime(h) << 11) | (PackedDosDateTime(mi) << 5) | PackedDosDateTime(s / 2);
}

// Raw field packing, to build values that do not decode.
PackedDosDateTime rawDos(unsigned y, unsigned mo, unsigned d, unsigned h, unsigned mi, unsigned s2)
{
    return (y << 25) | (mo << 21) | (d << 16) | (h << 11) | (mi << 5) | s2;
}

class DateTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        savedLocale_ = QLocale();
        savedFormat_ = ShortDateFormat();
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        SetShortDateFormat("yyyy-MM-dd");
    }
    void TearDown() override
    {
        QLocale::setDefault(savedLocale_);
        SetShortDateFormat(savedFormat_);
    }

private:
    QLocale savedLocale_;
    QString savedFormat_;
};

TEST(WidenDateFormatTest, Rows)
{
    struct Row {
        const char* in;
        const char* out;
    };
    const Row rows[] = {
        {"d-MMM-yy", "d-MM-yyyy"},
        {"dd-MMM-yy", "dd-MM-yyyy"},
        {"M/d/yy", "M/d/yyyy"},
        {"dd.MM.yy", "dd.MM.yyyy"},
        {"d/M/yy", "d/M/yyyy"},
        {"dd/MM/yyyy", "dd/MM/yyyy"},
        {"yyyy-MM-dd", "yyyy-MM-dd"},
        {"MMMM d, yyyy", "MMM d, yyyy"},
        {"d MMM yyyy", "d MM yyyy"},
        {"yy/MM/dd", "yyyy/MM/dd"},
        {"yyyy/yy", "yyyy/yy"},
        {"mmm yy", "mmm yyyy"},
        {"", ""},
    };
    for (const Row& row : rows)
        EXPECT_EQ(WidenDateFormat(row.in), row.out) << row.in;
}

TEST_F(DateTest, ShortDateFormatIsProgramWide)
{
    EXPECT_EQ(ShortDateFormat(), "yyyy-MM-dd");
    SetShortDateFormat("dd.MM.yyyy");
    EXPECT_EQ(ShortDateFormat(), "dd.MM.yyyy");
    EXPECT_EQ(SafeDateToStr(QDate(2003, 4, 5)), "05.04.2003");
    // Unset, it is the locale's short format, widened.
    SetShortDateFormat(QString());
    EXPECT_EQ(ShortDateFormat(), "M/d/yyyy");
    EXPECT_EQ(SafeDateToStr(QDate(2003, 4, 5)), "4/5/2003");
}

TEST_F(DateTest, SafeDateToStrFallsBackTo1980)
{
    EXPECT_EQ(SafeDateToStr(QDate(2003, 4, 5)), "2003-04-05");
    EXPECT_EQ(SafeDateToStr(QDate()), "1980-01-01");
}

TEST_F(DateTest, LongTimeFormatHasNoZone)
{
    EXPECT_EQ(LongTimeFormat(), "h:mm:ss AP");
    QLocale::setDefault(QLocale::c());
    EXPECT_EQ(LongTimeFormat(), "HH:mm:ss");
}

TEST(DosDateTimeTest, Decoding)
{
    EXPECT_EQ(DosToDateTime(dos(2003, 4, 5, 13, 45, 30)), QDateTime(QDate(2003, 4, 5), QTime(13, 45, 30)));
    EXPECT_EQ(DosToDateTime(dos(2107, 12, 31, 23, 59, 58)), QDateTime(QDate(2107, 12, 31), QTime(23, 59, 58)));
    EXPECT_EQ(DosToDateTime(dos(1980, 1, 1)), QDateTime(QDate(1980, 1, 1), QTime(0, 0)));
    const QDateTime fallback(QDate(1980, 1, 1), QTime(0, 0));
    const PackedDosDateTime bad[] = {
        0,
        rawDos(23, 13, 5, 10, 0, 0),   // month 13
        rawDos(23, 0, 5, 10, 0, 0),    // month 0
        rawDos(23, 4, 0, 10, 0, 0),    // day 0
        rawDos(23, 4, 31, 10, 0, 0),   // 31 April
        rawDos(23, 2, 29, 10, 0, 0),   // 29 February 2003
        rawDos(23, 4, 5, 24, 0, 0),    // hour 24
        rawDos(23, 4, 5, 10, 60, 0),   // minute 60
        rawDos(23, 4, 5, 10, 0, 30),   // 60 seconds
        0xFFFFFFFFu,
    };
    for (PackedDosDateTime t : bad)
        EXPECT_EQ(DosToDateTime(t), fallback) << std::hex << t;
    // 29 February of a leap year decodes.
    EXPECT_EQ(DosToDateTime(rawDos(24, 2, 29, 0, 0, 0)).date(), QDate(2004, 2, 29));
}

TEST(DosDateTimeTest, Encoding)
{
    EXPECT_EQ(DateTimeToDos(QDateTime(QDate(2003, 4, 5), QTime(13, 45, 30))), dos(2003, 4, 5, 13, 45, 30));
    EXPECT_EQ(DateTimeToDos(QDateTime(QDate(2003, 4, 5), QTime(13, 45, 31))), dos(2003, 4, 5, 13, 45, 30));
    EXPECT_EQ(DateTimeToDos(QDateTime(QDate(1980, 1, 1), QTime(0, 0))), dos(1980, 1, 1));
    EXPECT_EQ(DateTimeToDos(QDateTime(QDate(2107, 12, 31), QTime(23, 59, 59))), dos(2107, 12, 31, 23, 59, 58));
    EXPECT_EQ(DateTimeToDos(QDateTime(QDate(1979, 12, 31), QTime(23, 59, 59))), 0u);
    EXPECT_EQ(DateTimeToDos(QDateTime(QDate(2108, 1, 1), QTime(0, 0))), 0u);
    EXPECT_EQ(DateTimeToDos(QDateTime()), 0u);
    const PackedDosDateTime t = dos(2019, 11, 30, 7, 8, 10);
    EXPECT_EQ(DateTimeToDos(DosToDateTime(t)), t);
}

TEST_F(DateTest, DosDateAndTimeTexts)
{
    const PackedDosDateTime t = dos(2003, 4, 5, 13, 45, 30);
    const PackedDosDateTime morning = dos(1999, 12, 31, 9, 5, 0);
    const PackedDosDateTime bad = rawDos(23, 13, 5, 10, 0, 0);
    const PackedDosDateTime badTime = rawDos(23, 4, 5, 25, 0, 0);

    EXPECT_EQ(DosDateText(0), "");
    EXPECT_EQ(DosDateText(t), "2003-04-05");
    EXPECT_EQ(DosDateText(bad), "1980-01-01");
    EXPECT_EQ(DosDateText(badTime), "1980-01-01");

    EXPECT_EQ(DosTimeText(0), "");
    EXPECT_EQ(DosTimeText(t), "1:45:30 PM");
    EXPECT_EQ(DosTimeText(morning), "9:05:00 AM");
    EXPECT_EQ(DosTimeText(bad), "12:00:00 PM");
    QLocale::setDefault(QLocale::c());
    EXPECT_EQ(DosTimeText(t), "13:45:30");
    EXPECT_EQ(DosTimeText(bad), "12:00:00");

    EXPECT_EQ(DosTimeHHMM(0), "1200");
    EXPECT_EQ(DosTimeHHMM(t), "1345");
    EXPECT_EQ(DosTimeHHMM(morning), "0905");
    EXPECT_EQ(DosTimeHHMM(dos(2000, 1, 1, 0, 0, 0)), "0000");
    EXPECT_EQ(DosTimeHHMM(bad), "1200");
    EXPECT_EQ(DosTimeHHMM(badTime), "1200");

    EXPECT_EQ(DosDateYYYYMMDD(t), "20030405");
    EXPECT_EQ(DosDateYYYYMMDD(morning), "19991231");
    EXPECT_EQ(DosDateYYYYMMDD(0), "19800101");
    EXPECT_EQ(DosDateYYYYMMDD(bad), "19800101");
}

TEST(AgeInDaysTest, Rows)
{
    const QDate today(2003, 4, 16);
    EXPECT_EQ(AgeInDays(0, today), -1);
    EXPECT_EQ(AgeInDays(0), -1);
    EXPECT_EQ(AgeInDays(dos(2003, 4, 16, 23, 59, 58), today), 0);
    EXPECT_EQ(AgeInDays(dos(2003, 4, 15, 23, 59, 58), today), 1);
    EXPECT_EQ(AgeInDays(dos(2003, 4, 6), today), 10);
    EXPECT_EQ(AgeInDays(dos(2003, 4, 26), today), 10);  // future dates count too
    EXPECT_EQ(AgeInDays(dos(2002, 4, 16), today), 365);
    // An undecodable value counts as 1 January 1980.
    EXPECT_EQ(AgeInDays(rawDos(23, 13, 5, 0, 0, 0), QDate(1980, 1, 11)), 10);
    const QDate now = QDate::currentDate();
    const PackedDosDateTime t = dos(now.year(), now.month(), now.day(), 12, 0, 0);
    EXPECT_EQ(AgeInDays(t), 0);
}

struct RelRow {
    QDate d;
    QDate ref;
    const char* expected;
};

TEST(RelativeDateTextTest, Rows)
{
    const QDate wed(2003, 4, 16);
    const QDate sun(2003, 4, 20);
    ASSERT_EQ(wed.dayOfWeek(), 3);  // Wednesday
    ASSERT_EQ(sun.dayOfWeek(), 7);  // Sunday

    const RelRow rows[] = {
        {wed, wed, "Today"},
        {wed.addDays(-1), wed, "Yesterday"},
        {wed.addDays(1), wed, "Tomorrow"},
        // Future, within and after the reference's week (weeks start on Sunday).
        {wed.addDays(2), wed, "This week"},
        {wed.addDays(3), wed, "This week"},   // Saturday
        {wed.addDays(4), wed, "Next week"},   // Sunday
        {wed.addDays(10), wed, "Next week"},  // the Saturday after
        {wed.addDays(11), wed, "2 wks"},
        {wed.addDays(45), wed, "6 wks"},      // one calendar month later
        {sun.addDays(6), sun, "This week"},
        {sun.addDays(7), sun, "Next week"},
        {sun.addDays(14), sun, "2 wks"},
        {QDate(2003, 6, 30), wed, "11 wks"},  // two calendar months later
        {QDate(2003, 7, 16), wed, "3 mons"},
        {QDate(2003, 8, 1), wed, "4 mons"},
        {QDate(2004, 5, 16), wed, "13 mons"},
        {QDate(2005, 12, 1), wed, "32 mons"},  // two calendar years later
        {QDate(2006, 1, 10), wed, "2 yrs 9 mons"},
        {QDate(2007, 5, 16), wed, "4 yrs 1 mon"},
        {QDate(2007, 7, 16), wed, "4 yrs 3 mons"},
        {QDate(2008, 4, 20), wed, "5 yrs"},
        // Past.
        {wed.addDays(-2), wed, "This week"},  // Monday
        {wed.addDays(-3), wed, "This week"},  // Sunday
        {wed.addDays(-4), wed, "Last week"},  // Saturday
        {wed.addDays(-10), wed, "Last week"},
        {wed.addDays(-11), wed, "2 wks ago"},
        {QDate(2003, 2, 20), wed, "8 wks ago"},
        {QDate(2003, 1, 10), wed, "3 mons ago"},
        {wed.addDays(-400), wed, "13 mons ago"},
        {QDate(2001, 1, 10), wed, "27 mons ago"},
        {QDate(2000, 3, 10), wed, "3 yrs 1 mon ago"},
        {QDate(1999, 3, 10), wed, "4 yrs 1 mon ago"},
        {QDate(1999, 1, 10), wed, "4 yrs 3 mons ago"},
        {QDate(1998, 4, 10), wed, "5 yrs ago"},
        {QDate(1998, 5, 1), wed, "4 yrs 11 mons ago"},
    };
    for (const RelRow& row : rows) {
        EXPECT_EQ(RelativeDateText(QDateTime(row.d, QTime(10, 0)), QDateTime(row.ref, QTime(10, 0))), row.expected)
            << row.d.toString(Qt::ISODate).toStdString() << " against " << row.ref.toString(Qt::ISODate).toStdString();
    }
    ASSERT_EQ(wed.addDays(-400), QDate(2002, 3, 12));
}

TEST(RelativeDateTextTest, OnlyTheDaysCount)
{
    const QDate wed(2003, 4, 16);
    EXPECT_EQ(RelativeDateText(QDateTime(wed, QTime(23, 59)), QDateTime(wed, QTime(0, 1))), "Today");
    EXPECT_EQ(RelativeDateText(QDateTime(wed.addDays(-1), QTime(23, 59)), QDateTime(wed, QTime(0, 1))), "Yesterday");
    EXPECT_EQ(RelativeDateText(QDateTime(wed.addDays(1), QTime(0, 1)), QDateTime(wed, QTime(23, 59))), "Tomorrow");
}

TEST(RelativeDateTextTest, NoDateGivesEmptyText)
{
    EXPECT_EQ(RelativeDateText(QDateTime(), QDateTime::currentDateTime()), "");
}

TEST(RelativeDateTextTest, AgeTextIsRelativeToNow)
{
    const QDateTime now = QDateTime::currentDateTime();
    EXPECT_EQ(AgeText(now), "Today");
    EXPECT_EQ(AgeText(now.addDays(-1)), "Yesterday");
    EXPECT_EQ(AgeText(now.addDays(-3000)), RelativeDateText(now.addDays(-3000), QDateTime::currentDateTime()));
}

}  // namespace

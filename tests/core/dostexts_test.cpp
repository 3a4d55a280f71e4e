#include "core/dostexts.h"

#include <QLocale>
#include <gtest/gtest.h>

#include <ctime>

using namespace core;

namespace {

PackedDosDateTime Pack(unsigned y, unsigned mo, unsigned d, unsigned h, unsigned mi, unsigned s2)
{
    return (y << 25) | (mo << 21) | (d << 16) | (h << 11) | (mi << 5) | s2;
}

// Every time of a day, a day in every three from 1980 to 2107 and values
// that do not decode give the texts DosTimeText and DosDateText give, in
// locales and date formats whose fields the maker writes itself and in some
// it leaves to the locale.
TEST(DosTextsTest, SameTextsAsTheLocale)
{
    const QLocale savedLocale;
    const QString savedFormat = ShortDateFormat();
    struct Case {
        const char* locale;
        const char* dateFormat;  // "" for the locale's own
        bool ownDates, ownTimes;
    } cases[] = {
        {"C", "", true, true},
        {"en_US", "", true, true},
        {"de_DE", "", true, true},
        {"fr_FR", "d/M/yy", true, true},
        {"ja_JP", "yyyy-MM-dd", true, true},
        {"en_US", "ddd d MMM yyyy", false, true},
        {"ar_EG", "dd.MM.yyyy", false, false},  // digits of its own
        {"pt_PT", "'dia' d", false, true},
    };
    for (const Case& c : cases) {
        QLocale::setDefault(QLocale(QString::fromLatin1(c.locale)));
        SetShortDateFormat(QString::fromLatin1(c.dateFormat));
        const DosTexts texts;
        EXPECT_EQ(texts.ownDates(), c.ownDates) << c.locale << " " << c.dateFormat;
        EXPECT_EQ(texts.ownTimes(), c.ownTimes) << c.locale;
        int differ = 0;
        for (unsigned hms = 0; hms < 24 * 60 * 30; ++hms) {
            const PackedDosDateTime t = Pack(44, 6, 15, hms / 1800, hms / 30 % 60, hms % 30);
            differ += texts.time(t) != DosTimeText(t);
        }
        for (int day = 0; day < 46700; day += 3) {
            const QDate d = QDate(1980, 1, 1).addDays(day);
            const PackedDosDateTime t = Pack(d.year() - 1980, d.month(), d.day(), 23, 59, 29);
            differ += texts.date(t) != DosDateText(t);
        }
        for (PackedDosDateTime t : {PackedDosDateTime(0), Pack(3, 0, 1, 1, 1, 1), Pack(3, 2, 30, 1, 1, 1),
                                    Pack(3, 2, 3, 24, 1, 1), Pack(3, 2, 3, 1, 60, 1), Pack(3, 2, 3, 1, 1, 30)})
            differ += (texts.time(t) != DosTimeText(t)) + (texts.date(t) != DosDateText(t));
        EXPECT_EQ(differ, 0) << c.locale << " " << c.dateFormat;
    }
    QLocale::setDefault(savedLocale);
    SetShortDateFormat(savedFormat);
}

}  // namespace

namespace {

plat::FileTime FileTimeOf(qint64 unixSeconds)
{
    return plat::unixToFileTime(unixSeconds, 0);
}

// The clock gives FileTimeToLocalDos's values in zones with and without
// summer time (one with a half-hour shift), around their changes, over the
// whole DOS range and beyond it, and in a zone with leap seconds.
TEST(DosTextsTest, ClockAgreesWithTheSystem)
{
    const QByteArray savedTz = qgetenv("TZ");
    const bool hadTz = qEnvironmentVariableIsSet("TZ");
    for (const char* zone : {"UTC", "Europe/Berlin", "America/New_York", "Australia/Lord_Howe", "right/UTC"}) {
        qputenv("TZ", zone);
        tzset();
        LocalDosClock clock;
        int differ = 0, checked = 0;
        auto check = [&](qint64 s) {
            ++checked;
            differ += clock(FileTimeOf(s)) != FileTimeToLocalDos(FileTimeOf(s));
        };
        for (qint64 s = 250000000; s < 4400000000LL; s += 15013)  // 1977 to 2109
            check(s);
        // Every minute of the days around changes of 2021 (the southern
        // zone changes in April and October).
        for (qint64 start : {1616889600LL, 1636243200LL, 1617494400LL, 1633219200LL})
            for (qint64 s = start - 86400; s < start + 2 * 86400; s += 60)
                check(s);
        check(0);
        // Before 1970, and a day far beyond the clock's table.
        for (qint64 s : {-1LL, -9000000000LL, 253402300799LL})
            check(s);
        EXPECT_GT(checked, 250000);
        EXPECT_EQ(differ, 0) << zone;
        EXPECT_EQ(clock(0), 0u);
    }
    if (hadTz)
        qputenv("TZ", savedTz);
    else
        qunsetenv("TZ");
    tzset();
}

}  // namespace

#pragma once
// DosDateText and DosTimeText for a whole listing. The formats and the
// locale are read once; where a format holds only number fields (day,
// month, year, hour, minute, second, AM/PM) the texts are put together here,
// which costs a small part of what the locale's formatter does. The texts
// are the same: a format is only taken over when the locale's own texts of
// a set of probe values came out identical, else every text is the
// locale's.

#include "core/helpers.h"

#include <QLocale>
#include <QString>
#include <cstdlib>
#include <limits>
#include <memory>
#include <vector>

namespace core {

class DosTexts {
public:
    DosTexts();

    QString date(PackedDosDateTime t) const;  // as DosDateText
    QString time(PackedDosDateTime t) const;  // as DosTimeText

    // Whether the texts are put together here (for tests).
    bool ownDates() const { return !dateFields_.empty() || dateFormat_.isEmpty(); }
    bool ownTimes() const { return !timeFields_.empty() || timeFormat_.isEmpty(); }

    struct Field {
        char kind = 0;  // 0: literal; else the format letter
        int width = 0;  // letters in the run
        QString literal;
    };

private:
    QString dateText(int year, int month, int day) const;
    QString timeText(int hour, int minute, int second) const;

    QLocale locale_;
    QString dateFormat_;
    QString timeFormat_;
    std::vector<Field> dateFields_;  // empty: the locale formats
    std::vector<Field> timeFields_;
    bool twelveHours_ = false;
    QString am_, pm_;
};

// FileTimeToLocalDos for a whole listing. File times cluster on days, and
// within a day the local time is the time plus one offset, unless the zone
// changes its offset that day: such days, and every time when the zone's
// local time is not the time plus its offset (leap seconds), are asked of
// the system each time.
class LocalDosClock {
public:
    PackedDosDateTime operator()(plat::FileTime t);

private:
    // All zero bits is a place no day has taken yet, so the table is taken
    // from the system as zero pages and only the pages of days that occur
    // are ever touched.
    struct Day {
        qint32 dayPlusOne;  // days since 1970, plus one; 0: empty
        qint32 offset;      // seconds east of UTC; kNoOffset: ask each time
    };
    static constexpr qint32 kNoOffset = std::numeric_limits<qint32>::min();
    // By day since 1970: 1970 to 2149 without two days sharing a place.
    static constexpr size_t kDays = size_t(1) << 16;
    struct FreeDays {
        void operator()(Day* days) const { std::free(days); }
    };
    std::unique_ptr<Day, FreeDays> days_;
    bool ask_ = false;  // the offset rule does not hold here
};

}  // namespace core

#include "stats/localclock_p.h"

#include <ctime>
#include <limits>

namespace stats {

namespace {

// Seconds from 1601-01-01 to 1970-01-01.
constexpr qint64 kEpochDelta = 11644473600LL;
constexpr qint64 kDay = 86400;
// Julian day of 1970-01-01.
constexpr qint64 kUnixJulianDay = 2440588;
// Days kept in the offset table: 1970 to the end of the DOS years.
constexpr qint64 kTableDays = 50000;
constexpr qint32 kUnknown = std::numeric_limits<qint32>::min();
constexpr qint32 kChanging = std::numeric_limits<qint32>::min() + 1;
// The last second the dates can show (9999-12-31 23:59:59 UTC), and the
// first (the start of 1601).
constexpr qint64 kLastSecond = 253402300799LL;

qint64 floorDiv(qint64 a, qint64 b)
{
    const qint64 q = a / b;
    return (a % b != 0 && ((a < 0) != (b < 0))) ? q - 1 : q;
}

}  // namespace

qint32 UtcOffsetAt(qint64 unixSeconds)
{
    const std::time_t t = std::time_t(unixSeconds);
    std::tm local{};
    if (qint64(t) != unixSeconds || !localtime_r(&t, &local))
        return 0;
    return qint32(local.tm_gmtoff);
}

LocalStamp StampOfLocalSeconds(qint64 localSeconds)
{
    static const QDate first(1980, 1, 1);
    LocalStamp s;
    s.recorded = true;
    const qint64 day = floorDiv(localSeconds, kDay);
    s.secondOfDay = int(localSeconds - day * kDay);
    s.date = QDate::fromJulianDay(kUnixJulianDay + day);
    if (!s.date.isValid() || s.date < first)
        s.date = first;
    return s;
}

LocalStamp StampOf(plat::FileTime t)
{
    if (t == 0)
        return {};
    qint64 seconds = qint64(t / 10000000ULL) - kEpochDelta;
    if (seconds > kLastSecond)
        seconds = kLastSecond;
    return StampOfLocalSeconds(seconds + UtcOffsetAt(seconds));
}

qint32 LocalClock::offsetAt(qint64 unixSeconds)
{
    const qint64 day = floorDiv(unixSeconds, kDay);
    if (day < 0 || day >= kTableDays)
        return UtcOffsetAt(unixSeconds);
    if (dayOffsets_.empty())
        dayOffsets_.assign(size_t(kTableDays), kUnknown);
    qint32& slot = dayOffsets_[size_t(day)];
    if (slot == kUnknown) {
        // Zones change their offset at most once a day: the same offset at
        // the day's first and last second holds for the whole day.
        const qint32 first = UtcOffsetAt(day * kDay);
        const qint32 last = UtcOffsetAt(day * kDay + kDay - 1);
        slot = first == last ? first : kChanging;
    }
    return slot == kChanging ? UtcOffsetAt(unixSeconds) : slot;
}

LocalStamp LocalClock::stamp(plat::FileTime t)
{
    if (t == 0)
        return {};
    qint64 seconds = qint64(t / 10000000ULL) - kEpochDelta;
    if (seconds > kLastSecond)
        seconds = kLastSecond;
    return StampOfLocalSeconds(seconds + offsetAt(seconds));
}

}  // namespace stats

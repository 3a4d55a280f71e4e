#pragma once
// File times to local calendar days and times of day, fast enough for every
// file of a drive: the zone's offset is looked up once per day and kept,
// except on the days the offset changes, which are looked up per time.

#include "platform/findfile.h"
#include "stats/stattotals.h"

#include <QtGlobal>

#include <vector>

namespace stats {

class LocalClock {
public:
    // The zone is the one in force when the clock is made; a clock is made
    // for each collection.
    LocalStamp stamp(plat::FileTime t);

private:
    qint32 offsetAt(qint64 unixSeconds);
    std::vector<qint32> dayOffsets_;  // by UTC day since 1970; see localclock.cpp
};

// The zone's offset from UTC in seconds at a moment (0 where unknown).
qint32 UtcOffsetAt(qint64 unixSeconds);
// A local time (seconds since 1970 in local reckoning) as a stamp; dates
// before 1980 count as 1 January 1980.
LocalStamp StampOfLocalSeconds(qint64 localSeconds);

}  // namespace stats

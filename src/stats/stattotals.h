#pragma once
// What a statistics collection adds up: the totals of every file found by
// size class, by the age and the half-hour of each of its three times, by
// attribute, by cluster overhang, and by extension. No widgets here; the
// window and trovik-scan show the same totals.
//
// Counts and byte totals are unsigned 64-bit integers, so a type of many
// gigabytes or a drive of millions of files neither wraps nor loses units.

#include "platform/findfile.h"

#include <QDate>
#include <QString>
#include <QStringView>
#include <QtGlobal>

#include <array>
#include <vector>

namespace stats {

// Size classes are numbered 1 to 12 ("0 - 16K" .. "Over 16MB"); upper
// bounds are inclusive, so 16,384 bytes is class 1.
constexpr int kSizeClasses = 12;
int SizeClassOf(quint64 size);
QString SizeClassLabel(int sizeClass);  // 1..12

// Age buckets 0 ("Not recorded") to 9 ("Over 4 years") by whole days.
constexpr int kAgeBuckets = 10;
int ageToIndex(qint64 days);  // days below 0: not recorded
QString AgeBucketLabel(int bucket);

// Half-hours of the day: slot 0 is 00:00 to 00:29, slot 47 23:30 to 23:59.
constexpr int kHourSlots = 48;
QString HourSlotLabel(int slot);  // "00:00" .. "23:30"

// The cluster sizes whose overhang is tallied, in this order.
constexpr int kOverhangSizes = 5;
constexpr std::array<quint64, kOverhangSizes> kOverhangClusters = {4096, 8192, 16384, 32768, 65536};
QString OverhangLabel(int index);  // "4K", "8K", "16K", "32K", "64K"
// The bytes a file of this size leaves unused in its last cluster.
quint64 OverhangOf(quint64 size, quint64 cluster);

// File attributes, in the order the attribute tallies keep them.
enum Attribute { atReadOnly = 0, atHidden = 1, atSystem = 2, atArchive = 3 };
constexpr int kAttributes = 4;

// The tallies of one of a file's three times.
struct DateTally {
    std::array<quint64, kAgeBuckets> ageCount{};
    std::array<quint64, kAgeBuckets> ageBytes{};
    std::array<quint64, kHourSlots> hourCount{};
};

struct StatTotals {
    quint64 filesProcessed = 0;  // every file met by the walk
    quint64 filesFound = 0;      // files that passed the type filter; only they count below
    // Indexed by class number: [1] .. [12]; [0] stays 0.
    std::array<quint64, kSizeClasses + 1> sizeCount{};
    std::array<quint64, kSizeClasses + 1> sizeBytes{};
    DateTally access;
    DateTally created;
    DateTally modified;
    // Indexed by Attribute.
    std::array<quint64, kAttributes> attrCount{};
    std::array<quint64, kAttributes> attrBytes{};
    // Indexed like kOverhangClusters.
    std::array<quint64, kOverhangSizes> overhang{};
    // The cluster size of the drive of the entry being scanned; 0 when the
    // drive is not ready. Kept by clear().
    quint64 clusterSize = 0;

    // The bytes of the files found (the sum of the size classes).
    quint64 foundBytes() const;
    // Everything back to zero but the cluster size.
    void clear();
};

// One row of the extension table.
struct ExtensionRow {
    QString extension;  // upper case with its dot; empty for files without one
    quint64 count = 0;
    quint64 bytes = 0;
};

// The extensions met, in ascending order without regard to case, looked up
// by binary search.
class ExtensionTotals {
public:
    // Counts a file of an extension (with its dot, any case). An extension
    // longer than 5 characters, dot included, gets no row. registerOnly adds
    // a row with no file when there is none and leaves an existing row alone.
    void insertType(QStringView extension, bool registerOnly, quint64 bytes);
    const ExtensionRow* find(QStringView extension) const;
    const std::vector<ExtensionRow>& rows() const { return rows_; }
    int size() const { return int(rows_.size()); }
    void clear() { rows_.clear(); }

private:
    std::vector<ExtensionRow> rows_;
};

// A file time as the statistics see it: its local calendar day and time of
// day. Local time follows the zone's rules at that moment, across changes
// to and from summer time.
struct LocalStamp {
    bool recorded = false;  // false: the file system keeps no such time
    QDate date;
    int secondOfDay = 0;
};
// A time before 1980 counts as 1 January 1980 (keeping its time of day).
LocalStamp StampOf(plat::FileTime t);

// The age bucket of a time for a given day: its calendar days from today,
// either way (a date n days ahead counts as n days old).
int AgeBucketOf(const LocalStamp& stamp, const QDate& today);
// The half-hour slot of a time, or -1 when it is not recorded or exactly
// 00:00:00 (a time that only stands in for a missing one).
int DropIntoHourSlot(const LocalStamp& stamp);

}  // namespace stats

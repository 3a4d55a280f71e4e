#include "stats/stattotals.h"

#include <algorithm>

namespace stats {

int SizeClassOf(quint64 size)
{
    quint64 bound = 16384;
    int sizeClass = 1;
    while (size > bound && sizeClass < kSizeClasses) {
        bound *= 2;
        ++sizeClass;
    }
    return sizeClass;
}

QString SizeClassLabel(int sizeClass)
{
    static const char* const labels[kSizeClasses] = {
        "0 - 16K",   "16K - 32K", "32K - 64K", "64K - 128K", "128K - 256K", "256K - 512K",
        "512K - 1MB", "1MB - 2MB", "2MB - 4MB", "4MB - 8MB", "8MB - 16MB",  "Over 16MB"};
    if (sizeClass < 1 || sizeClass > kSizeClasses)
        return QString();
    return QString::fromLatin1(labels[sizeClass - 1]);
}

int ageToIndex(qint64 days)
{
    static const qint64 upper[] = {7, 30, 60, 120, 365, 730, 1095, 1460};
    if (days < 0)
        return 0;
    int bucket = 1;
    for (qint64 u : upper) {
        if (days <= u)
            return bucket;
        ++bucket;
    }
    return bucket;  // 9, "Over 4 years"
}

QString AgeBucketLabel(int bucket)
{
    static const char* const labels[kAgeBuckets] = {
        "Not recorded",   "<= 7 days",   "8 - 30 days", "31 - 60 days", "61 - 120 days",
        "121 - 365 days", "1 - 2 years", "2 - 3 years", "3 - 4 years",  "Over 4 years"};
    if (bucket < 0 || bucket >= kAgeBuckets)
        return QString();
    return QString::fromLatin1(labels[bucket]);
}

QString HourSlotLabel(int slot)
{
    if (slot < 0 || slot >= kHourSlots)
        return QString();
    return QStringLiteral("%1:%2").arg(slot / 2, 2, 10, QLatin1Char('0')).arg(slot % 2 ? 30 : 0, 2, 10, QLatin1Char('0'));
}

QString OverhangLabel(int index)
{
    if (index < 0 || index >= kOverhangSizes)
        return QString();
    return QString::number(kOverhangClusters[size_t(index)] / 1024) + QLatin1Char('K');
}

quint64 OverhangOf(quint64 size, quint64 cluster)
{
    if (cluster == 0)
        return 0;
    const quint64 rest = size % cluster;
    return rest ? cluster - rest : 0;
}

quint64 StatTotals::foundBytes() const
{
    quint64 sum = 0;
    for (quint64 b : sizeBytes)
        sum += b;
    return sum;
}

void StatTotals::clear()
{
    const quint64 cluster = clusterSize;
    *this = StatTotals();
    clusterSize = cluster;
}

namespace {

bool lessNoCase(const ExtensionRow& row, QStringView ext)
{
    return QStringView(row.extension).compare(ext, Qt::CaseInsensitive) < 0;
}

}  // namespace

const ExtensionRow* ExtensionTotals::find(QStringView extension) const
{
    const auto it = std::lower_bound(rows_.begin(), rows_.end(), extension, lessNoCase);
    if (it == rows_.end() || QStringView(it->extension).compare(extension, Qt::CaseInsensitive) != 0)
        return nullptr;
    return &*it;
}

void ExtensionTotals::insertType(QStringView extension, bool registerOnly, quint64 bytes)
{
    if (extension.size() > 5)
        return;
    const auto it = std::lower_bound(rows_.begin(), rows_.end(), extension, lessNoCase);
    if (it != rows_.end() && QStringView(it->extension).compare(extension, Qt::CaseInsensitive) == 0) {
        if (!registerOnly) {
            ++it->count;
            it->bytes += bytes;
        }
        return;
    }
    ExtensionRow row;
    row.extension = extension.toString().toUpper();
    row.count = registerOnly ? 0 : 1;
    row.bytes = bytes;
    rows_.insert(it, std::move(row));
}

int AgeBucketOf(const LocalStamp& stamp, const QDate& today)
{
    if (!stamp.recorded)
        return ageToIndex(-1);
    const qint64 days = today.toJulianDay() - stamp.date.toJulianDay();
    return ageToIndex(days < 0 ? -days : days);
}

int DropIntoHourSlot(const LocalStamp& stamp)
{
    if (!stamp.recorded || stamp.secondOfDay == 0)
        return -1;
    return stamp.secondOfDay / 1800;
}

}  // namespace stats

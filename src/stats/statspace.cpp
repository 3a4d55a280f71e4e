#include "stats/statspace.h"

#include "core/helpers.h"
#include "platform/drives.h"
#include "platform/fileops.h"

#include <QLocale>

#include <algorithm>
#include <cmath>

namespace stats {

namespace {

struct DriveSpace {
    QString label;
    quint64 freeBytes = 0;
    quint64 totalBytes = 0;
};

// The space of an entry's drive, free never above the total; empty when the
// drive is not ready.
std::optional<DriveSpace> SpaceOf(const QString& entry)
{
    if (entry.isEmpty() || !entry[0].isLetter())
        return std::nullopt;
    std::optional<plat::DiskSpace> space;
    try {
        space = plat::diskSpace(plat::driveRoot(entry[0].toUpper()));
    } catch (...) {
        space.reset();
    }
    if (!space)
        return std::nullopt;
    DriveSpace d;
    d.label = entry.left(1);
    d.totalBytes = space->totalBytes;
    d.freeBytes = std::min(space->freeBytes, space->totalBytes);
    return d;
}

QString Rounded(double x)
{
    return core::FormatGrouped(qint64(std::llround(x)));
}

}  // namespace

QString SpacePage::unitText() const
{
    return unit == SpaceUnit::KB ? QStringLiteral("KB") : QStringLiteral("MB");
}

QString SpacePage::unitCaption() const
{
    return unitText() + QLatin1Char(' ');
}

QString SpacePage::valueFormat() const
{
    return QStringLiteral("#,##0 ") + unitText();
}

QString SpacePage::totalText() const
{
    return core::FormatGroupedF(std::floor(total));
}

QString SpacePage::freeText() const
{
    return Rounded(free);
}

QString SpacePage::usedText() const
{
    return Rounded(used);
}

SpacePage doDiskSize(const QStringList& tickedEntries, bool showTotal)
{
    SpacePage p;
    std::vector<DriveSpace> shown;
    quint64 freeSum = 0, totalSum = 0;
    for (const QString& entry : tickedEntries) {
        const auto d = SpaceOf(entry);
        if (!d)
            continue;
        shown.push_back(*d);
        freeSum += d->freeBytes;
        totalSum += d->totalBytes;
    }
    p.drivesShown = int(shown.size());
    // One unit for the whole page, by the total of the drives shown: bars
    // of KB and MB side by side on one axis would mislead.
    p.unit = double(totalSum) / 1024.0 >= 10000.0 ? SpaceUnit::MB : SpaceUnit::KB;
    const double divisor = p.unit == SpaceUnit::KB ? 1024.0 : 1048576.0;
    for (const DriveSpace& d : shown)
        p.bars.push_back({d.label, double(d.freeBytes) / divisor, double(d.totalBytes - d.freeBytes) / divisor});
    if (showTotal && p.drivesShown >= 2)
        p.bars.push_back({QStringLiteral("Total"), double(freeSum) / divisor, double(totalSum - freeSum) / divisor});
    p.hasData = totalSum > 0;
    p.total = double(totalSum) / divisor;
    p.free = double(freeSum) / divisor;
    p.used = double(totalSum - freeSum) / divisor;
    p.lowSpace = p.hasData && double(freeSum) < 0.1 * double(totalSum);
    return p;
}

QString FreePercentText(quint64 freeBytes, quint64 totalBytes)
{
    if (totalBytes == 0)
        return QStringLiteral("0.0");
    const double percent = 100.0 * double(std::min(freeBytes, totalBytes)) / double(totalBytes);
    QString text = QLocale().toString(percent, 'f', 2);
    text.chop(1);
    return text;
}

SpacePies doPieCharts(const QStringList& entries)
{
    SpacePies pies;
    quint64 freeSum = 0, totalSum = 0;
    for (const QString& entry : entries) {
        if (int(pies.drives.size()) >= kMaxDrivePies)
            break;
        const auto d = SpaceOf(entry);
        // A drive of no capacity has no share to show.
        if (!d || d->totalBytes == 0)
            continue;
        SpacePie pie;
        pie.title = plat::driveRoot(entry[0].toUpper()) + QStringLiteral("  ")
            + FreePercentText(d->freeBytes, d->totalBytes) + QStringLiteral("% free");
        pie.usedBytes = d->totalBytes - d->freeBytes;
        pie.freeBytes = d->freeBytes;
        pies.drives.push_back(pie);
        freeSum += d->freeBytes;
        totalSum += d->totalBytes;
    }
    if (totalSum > 0) {
        SpacePie total;
        total.title = QStringLiteral("TOTAL ") + FreePercentText(freeSum, totalSum) + QStringLiteral("% free");
        total.usedBytes = totalSum - freeSum;
        total.freeBytes = freeSum;
        pies.total = total;
    }
    return pies;
}

}  // namespace stats

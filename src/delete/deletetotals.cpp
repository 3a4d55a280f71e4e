#include "delete/deletetotals.h"

#include "core/settings.h"
#include "delete/deletionlog.h"

#include <cmath>

namespace del {

namespace {

// A stored amount counts only when it is above 0; -1 means nothing counted.
qint64 added(qint64 stored, double amount)
{
    const qint64 base = stored > 0 ? stored : 0;
    const double a = std::isfinite(amount) && amount > 0 ? std::round(amount) : 0;
    return base + qint64(a);
}

void writeTotal(const char* key, qint64 value)
{
    core::SettingsStore::writeInt(QStringLiteral("Trovik"), QString::fromLatin1(key), value);
}

}  // namespace

bool UpdateDeleteTotals(DeletionLog& log, qint64 deletedFiles, qint64 recycledFiles, double deletedBytes,
                        double recycledBytes)
{
    const bool logged = log.addToDeleteGrid(deletedFiles, deletedBytes, recycledFiles, recycledBytes, 0, 0);
    // Only the delete batch's own keys are written: the zip totals stay
    // byte for byte as they are, whatever they hold.
    const core::CumulativeTotals t = core::CumulativeTotals::load();
    writeTotal("Ndelete", added(t.nDelete, double(deletedFiles)));
    writeTotal("SizeDelete", added(t.sizeDelete, deletedBytes));
    writeTotal("NWaste", added(t.nWaste, double(recycledFiles)));
    writeTotal("SizeWaste", added(t.sizeWaste, recycledBytes));
    if (t.delDate == -1)
        writeTotal("DelDate", core::todayDayNumber());
    return logged;
}

bool UpdateZipTotals(DeletionLog& log, qint64 zippedFiles, double zippedBytes)
{
    const bool logged = log.addToDeleteGrid(0, 0, 0, 0, zippedFiles, zippedBytes);
    const core::CumulativeTotals t = core::CumulativeTotals::load();
    writeTotal("NZip", added(t.nZip, double(zippedFiles)));
    writeTotal("SizeZip", added(t.sizeZip, zippedBytes));
    if (t.zipDate == -1)
        writeTotal("ZipDate", core::todayDayNumber());
    return logged;
}

void ResetTotals()
{
    core::CumulativeTotals t;  // every value -1
    t.save();
}

}  // namespace del

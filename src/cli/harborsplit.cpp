#include "cli/harborsplit.h"

#include "cli/cliargs.h"
#include "core/safeharbor.h"
#include "delete/removebatch.h"

namespace cli {

QStringList FilesToRemove(const QStringList& arguments, int& status)
{
    QStringList paths;
    for (const QString& f : arguments) {
        const auto drivePath = DrivePathArgument(f);
        if (!drivePath) {
            Err("Not a drive path or an absolute path on a drive: " + f);
            status = kMessage;
            continue;
        }
        paths << *drivePath;
    }
    return del::uniqueSortedPaths(paths);
}

bool RemoveProtectedFiles(QStringList& paths, bool& anyProtected)
{
    core::SafeHarbor harbor;
    // The main window's load order: extensions first, then the folder lists.
    harbor.ReadSafeHarborExtensions();
    harbor.GetSearchPath();
    // Without folders.txt the harbor protects too little to trust; the
    // program's finders refuse in the same way.
    if (harbor.SafeHarborMissing) {
        Err(core::SafeHarborMissingMessage());
        return false;
    }
    const del::HarborSplit split = del::splitBySafeHarbor(paths, harbor);
    for (const QString& p : split.protectedFiles) {
        const int reason = harbor.IsInSafeHarbor(p, true);
        Err("Safe Harbor, not removed (" + core::SafeHarborReasonText(reason) + "): " + p);
        anyProtected = true;
    }
    paths = split.toDelete;
    return true;
}

void ReportNoFilesToRemove()
{
    Err("There are no files on the deletion panel.  In order to perform this operation you need to move "
        "files from the NON-DELETE list to the deletion panel.");
}

}  // namespace cli

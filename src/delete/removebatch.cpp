#include "delete/removebatch.h"

#include "core/safeharbor.h"
#include "delete/deletetotals.h"
#include "delete/deletionlog.h"
#include "platform/cleanpath.h"
#include "platform/foldertree.h"

#include <algorithm>

namespace del {

bool pathLess(const QString& a, const QString& b)
{
    const int c = QString::compare(a, b, Qt::CaseInsensitive);
    return c != 0 ? c < 0 : a < b;
}

QStringList uniqueSortedPaths(const QStringList& paths)
{
    QStringList out;
    out.reserve(paths.size());
    // One spelling per file, the one the Safe Harbor tests and the removal
    // acts on: "C:\free\..\prot\p.txt" is "C:\prot\p.txt".
    for (const QString& p : paths)
        if (!p.trimmed().isEmpty())
            out.append(plat::cleanDrivePath(p));
    // Exact comparison: on this file system two names that differ only in
    // case are two files.
    std::sort(out.begin(), out.end(), pathLess);
    out.erase(std::unique(out.begin(), out.end()), out.end());
    return out;
}

HarborSplit splitBySafeHarbor(const QStringList& paths, core::SafeHarbor& harbor,
                              const std::function<void(int done)>& step)
{
    HarborSplit split;
    for (int i = 0; i < paths.size(); ++i) {
        if (step)
            step(i);
        // Tested, and handed on, in the spelling the removal acts on.
        const QString path = plat::cleanDrivePath(paths[i]);
        if (harbor.IsInSafeHarbor(path, true) != core::shNone)
            split.protectedFiles.append(path);
        else
            split.toDelete.append(path);
    }
    return split;
}

QStringList BatchResult::failedPaths() const
{
    QStringList out;
    for (const FileOutcome& o : outcomes)
        if (!o.removed)
            out.append(o.path);
    return out;
}

BatchResult removeFiles(const QStringList& files, RemoveMode mode, const BatchCallbacks& callbacks)
{
    BatchResult result;
    result.ran = true;
    result.mode = mode;
    // Consecutive files of one folder share its handle.
    plat::ParentFolderCache folders;
    for (int i = 0; i < files.size(); ++i) {
        const QString& path = files[i];
        if (callbacks.progress)
            callbacks.progress(i, path);
        FileOutcome outcome;
        outcome.path = path;
        // The file that was found, or nothing: its folder opened from the
        // drive root with no link or other mount on the way, the path in the
        // spelling the Safe Harbor tested, and a regular file at its end.
        // It leaves that folder by name (unlinkat, or renameat into the trash).
        plat::TreeEntry e;
        plat::TreeError error = plat::TreeError::None;
        const plat::TreeFolder* folder = folders.openParent(path, e, error);
        const quint32 notRegular = plat::faDirectory | plat::faReparse | plat::faSystem;
        if (folder && !(e.data.attributes & notRegular)) {
            // The size before removal is what the removal frees.
            outcome.bytes = double(e.data.size());
            outcome.removed = mode == RemoveMode::Delete ? folder->removeEntry(e) : folder->trashEntry(e);
        }
        result.outcomes.append(outcome);
        if (outcome.removed) {
            ++result.removedFiles;
            result.removedBytes += outcome.bytes;
            continue;
        }
        if (callbacks.failed)
            callbacks.failed(path);
        if (mode == RemoveMode::Trash) {
            result.notTried = files.mid(i + 1);
            break;
        }
    }
    return result;
}

bool recordBatch(const BatchResult& result, DeletionLog& log)
{
    if (!result.ran)
        return true;
    if (result.mode == RemoveMode::Delete)
        return UpdateDeleteTotals(log, result.removedFiles, 0, result.removedBytes, 0);
    else
        return UpdateDeleteTotals(log, 0, result.removedFiles, 0, result.removedBytes);
}

}  // namespace del

#include "delete/removebatch.h"

#include "core/safeharbor.h"
#include "delete/deletetotals.h"
#include "delete/deletionlog.h"
#include "platform/fileops.h"
#include "platform/findfile.h"

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
    for (const QString& p : paths)
        if (!p.trimmed().isEmpty())
            out.append(p);
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
        if (harbor.IsInSafeHarbor(paths[i], true) != core::shNone)
            split.protectedFiles.append(paths[i]);
        else
            split.toDelete.append(paths[i]);
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
    for (int i = 0; i < files.size(); ++i) {
        const QString& path = files[i];
        if (callbacks.progress)
            callbacks.progress(i, path);
        FileOutcome outcome;
        outcome.path = path;
        // The size before removal is what the removal frees; a path that is
        // not a regular file (gone, a folder) is refused below anyway.
        plat::FindData data;
        const bool found = plat::statPath(path, data);
        if (found)
            outcome.bytes = double(data.size());
        const bool isFolder = found && (data.attributes & plat::faDirectory);
        if (found && !isFolder)
            outcome.removed = mode == RemoveMode::Delete ? plat::deleteFile(path) : plat::moveToTrash(path);
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

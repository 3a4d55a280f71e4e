#pragma once
// The remove batch that the deletion panel and trovik-scan share: the Safe
// Harbor split of a hand-over, and deleting or trashing a list of files one
// by one with a result per file. No widgets.

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

namespace core {
class SafeHarbor;
}

namespace del {

class DeletionLog;

enum class RemoveMode { Delete, Trash };

// The order of the panel's lists: by text ignoring case, then exactly, so
// that names differing only in case stand together in a fixed order.
bool pathLess(const QString& a, const QString& b);

// The hand-over cleaned: every path in the one spelling of cleanDrivePath
// (".", ".." and doubled backslashes gone), sorted, each exact path once
// (case kept, so "C:\A.TXT" and "C:\a.txt" are two files), blank entries
// dropped.
QStringList uniqueSortedPaths(const QStringList& paths);

struct HarborSplit {
    QStringList toDelete;     // list order kept
    QStringList protectedFiles;  // list order kept
};
// Tests every path, in its cleaned spelling, as a file against the harbor;
// both lists hold the cleaned spellings. step(done) is called once
// per path before it is tested (done = paths tested so far); the deletion
// panel lets queued window messages run there.
HarborSplit splitBySafeHarbor(const QStringList& paths, core::SafeHarbor& harbor,
                              const std::function<void(int done)>& step = {});

struct FileOutcome {
    QString path;
    bool removed = false;
    double bytes = 0;  // size just before removal; 0 when it could not be read
};

struct BatchResult {
    bool ran = false;
    RemoveMode mode = RemoveMode::Delete;
    QList<FileOutcome> outcomes;  // one per file tried, in list order
    QStringList notTried;         // left in place after the trash stopped
    int removedFiles = 0;
    double removedBytes = 0;      // sizes of the files actually removed
    QStringList failedPaths() const;
};

struct BatchCallbacks {
    // Before each file: its index in the list and its path.
    std::function<void(int index, const QString& path)> progress;
    // A file that could not be removed. Deleting goes on with the next
    // file; the trash stops the batch (the rest stay where they are).
    std::function<void(const QString& path)> failed;
};

// Removes the files in list order: deletes them or moves them to the trash,
// which must confirm the move. Only a regular file is removed, reached from
// its drive root with no link and no other mount on its path, and named in
// the cleaned spelling (anything else is refused like a file that cannot be
// deleted). Counts only what actually left its place.
BatchResult removeFiles(const QStringList& files, RemoveMode mode, const BatchCallbacks& callbacks = {});

// Records a batch in the totals and the deletion log, with the counts and
// sizes of the files actually removed. False when the log row could not be
// saved (log.lastError() says why); the totals are written in any case.
bool recordBatch(const BatchResult& result, DeletionLog& log);

}  // namespace del

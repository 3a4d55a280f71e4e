#pragma once
// The running totals of everything removed (section "Trovik" of the
// settings store) and their updates, each of which also adds a row to the
// deletion log. The totals have no state in memory: every update reads and
// writes the store.

#include <QtGlobal>

namespace del {

class DeletionLog;

// One delete or trash batch. The totals are written in any case; the answer
// is false when the log row could not be saved (log.lastError() says why).
bool UpdateDeleteTotals(DeletionLog& log, qint64 deletedFiles, qint64 recycledFiles, double deletedBytes,
                        double recycledBytes);
// One zip batch; the same answer.
bool UpdateZipTotals(DeletionLog& log, qint64 zippedFiles, double zippedBytes);
// All eight totals back to -1 (nothing counted yet). The log is not touched.
void ResetTotals();

}  // namespace del

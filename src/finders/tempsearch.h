#pragma once
// The quick clean's search: every file below the ticked roots whose
// extension is that of a selected temporary-file entry, one row each, in
// the order of the walk (sub-folders before their parent's files). Hidden
// files are listed, hidden folders are not walked; only the user's own
// regular files are taken, and none that a running process holds open or
// mapped, as deleting it would pull it from under that process.

#include "components/resultgrid.h"
#include "core/helpers.h"

#include <QSet>
#include <QString>
#include <QStringList>
#include <functional>

namespace finders {

extern const char* const kTempAbortedMessage;
extern const char* const kNoExtensionMessage;

enum TempColumn { tcSize = 0, tcModified, tcTime, tcAccess, tcFileName, tcType };
QStringList TempTitles();

struct TempCriteria {
    QStringList entries;  // the selected type entries
    QStringList roots;    // drive-list entries, in list order
};

class TempSearch {
public:
    explicit TempSearch(TempCriteria criteria);

    // The window's hooks: the folder being read, pending events (after each
    // entry but a folder's first), a path left out for its length.
    std::function<void(const QString&)> status;
    std::function<void()> pump;
    std::function<void(const QString&)> note;
    // Set by "&Abort"; tested between entries.
    bool abortFlag = false;

    // Resets grid to the titles and adds a row per file found; a grid of
    // more than one row then gets its exact size.
    void scan(comp::ResultGrid& grid);
    // Files that matched but were left out because a process holds them.
    qsizetype heldCount() const { return held_; }

    const TempCriteria& criteria() const { return criteria_; }

private:

    TempCriteria criteria_;
    QSet<QString> extensions_;
    core::FileTypeNames typeNames_;
    qsizetype held_ = 0;
};

// The window's "&Size" sort on a filled grid: by the direction of its flag,
// which then flips. True when it sorted (a grid of at least 2 rows).
bool SortTempBySize(comp::ResultGrid& grid);

}  // namespace finders

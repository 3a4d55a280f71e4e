#pragma once
// The sort commands of the result windows, shared so that each window only
// says which command the user gave. A command sorts one column, read as
// text, number or date, in the direction of its own flag. The flags live as
// long as the program: closing and reopening a window keeps them, and each
// sort flips its flag, so the next use of the same command reverses the
// order.

#include "reports/sortgrid.h"

#include <QString>
#include <QStringView>

#include <functional>
#include <vector>

namespace reports {

struct SortCommand {
    QString window;   // the window class: "TfrmDup", "TfrmMods", ...
    QString caption;  // its menu item, "&Size"
    int column = 0;
    SortKind kind = SortKind::Text;
    bool startDescending = false;  // the flag when the program starts
    bool fixedDirection = false;   // always the start direction, never flipped
    bool titleClick = true;        // a click on the column title gives it
    int minRows = 2;               // with fewer grid rows it does nothing
    int keepLast = 0;              // rows at the end that never move (totals)
};

// The commands of the duplicate/file-hog (file-hog mode), files-by-date,
// folder-hogs, quick-clean and folder-browser windows and the statistics
// file-type grid.
const std::vector<SortCommand>& SortCommands();
// Null when the window has no such command.
const SortCommand* FindSortCommand(QStringView window, QStringView caption);
// The command of a click on a column title; null for a column without one.
const SortCommand* SortCommandForColumn(QStringView window, int column);

// The command's direction flag (true: descending), for this program run.
bool SortDescending(const SortCommand& command);
void SetSortDescending(const SortCommand& command, bool descending);
// Every flag back to its start value, as at program start.
void ResetSortDirections();

enum class FlipRule {
    AfterSort,   // sort by the flag, then flip it (the result windows)
    BeforeSort,  // flip, then sort (a folder browser command the user gave)
    Keep,        // sort by the flag as it is (the browser's re-sort)
};

// Runs a command on rows 1 to row count - 1 (less the kept rows): nothing
// when the grid has fewer rows than the command needs; otherwise calls
// beforeSort (where the window shows the hourglass and unticks its menu),
// sorts and flips the flag as the rule says. True when it sorted.
bool RunSortCommand(comp::ResultGrid& grid, const SortCommand& command, FlipRule rule = FlipRule::AfterSort,
                    const std::function<void()>& beforeSort = {});
// The same for a number command with the rows' keys given (see
// NumberKeyOfRow); another command sorts as above.
bool RunSortCommand(comp::ResultGrid& grid, const SortCommand& command, const NumberKeyOfRow& numberKey);

}  // namespace reports

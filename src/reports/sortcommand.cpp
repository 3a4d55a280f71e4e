#include "reports/sortcommand.h"

#include <QHash>

namespace reports {

namespace {

SortCommand cmd(const char* window, const char* caption, int column, SortKind kind, bool descending)
{
    SortCommand c;
    c.window = QString::fromLatin1(window);
    c.caption = QString::fromLatin1(caption);
    c.column = column;
    c.kind = kind;
    c.startDescending = descending;
    return c;
}

// The statistics file-type grid: fixed directions, its totals row stays
// last, and it needs two extension rows besides titles and totals.
SortCommand statsCmd(const char* caption, int column, SortKind kind, bool descending)
{
    SortCommand c = cmd("TfrmStatistics", caption, column, kind, descending);
    c.fixedDirection = true;
    c.titleClick = false;
    c.minRows = 4;
    c.keepLast = 1;
    return c;
}

std::vector<SortCommand> makeCommands()
{
    constexpr bool asc = false, desc = true;
    constexpr SortKind text = SortKind::Text, number = SortKind::Number, date = SortKind::Date;
    return {
        cmd("TfrmDup", "&Size", 0, number, desc),
        cmd("TfrmDup", "&Date", 1, date, desc),
        cmd("TfrmDup", "&Access Date", 3, date, desc),
        cmd("TfrmDup", "&Name", 4, text, asc),
        cmd("TfrmDup", "&Type", 5, text, asc),

        cmd("TfrmMods", "&Name", 0, text, asc),
        cmd("TfrmMods", "Access &Date", 1, date, desc),
        cmd("TfrmMods", "&Creation Date", 2, date, desc),
        cmd("TfrmMods", "&Modification Date", 3, date, desc),
        cmd("TfrmMods", "&Size", 4, number, asc),
        cmd("TfrmMods", "&Folder", 5, text, asc),
        cmd("TfrmMods", "&Type", 6, text, asc),

        cmd("TfrmDirHog", "Sort by &Size", 0, number, desc),
        cmd("TfrmDirHog", "Sort by # &Files", 2, number, desc),
        cmd("TfrmDirHog", "Sort by # Sub-f&olders", 3, number, desc),
        cmd("TfrmDirHog", "Sort by &Access Date", 4, date, desc),
        cmd("TfrmDirHog", "Sort by &Name", 5, text, asc),

        cmd("TfrmClean", "&Size", 0, number, desc),
        cmd("TfrmClean", "&Date", 1, date, desc),
        cmd("TfrmClean", "&Access date", 3, date, desc),
        cmd("TfrmClean", "&Name", 4, text, asc),
        cmd("TfrmClean", "&Type", 5, text, asc),

        cmd("TfrmBrowse", "Modified &Date", 0, date, desc),
        cmd("TfrmBrowse", "&Access Date", 2, date, desc),
        cmd("TfrmBrowse", "&Size", 3, number, desc),
        cmd("TfrmBrowse", "Name", 4, text, asc),
        cmd("TfrmBrowse", "&Type", 5, text, asc),

        statsCmd("Sort by &Extension", 0, text, asc),
        statsCmd("Sort by &Type", 1, text, asc),
        statsCmd("Sort by &Size", 2, number, desc),
        statsCmd("Sort by &Number of files", 3, number, desc),
        statsCmd("Sort by &Average File Size", 4, number, desc),
    };
}

QString flagKey(const SortCommand& c)
{
    return c.window + QChar(u'\x1f') + c.caption;
}

// A flag is kept once set; until then it has its start value.
QHash<QString, bool>& flags()
{
    static QHash<QString, bool> f;
    return f;
}

}  // namespace

const std::vector<SortCommand>& SortCommands()
{
    static const std::vector<SortCommand> commands = makeCommands();
    return commands;
}

const SortCommand* FindSortCommand(QStringView window, QStringView caption)
{
    for (const SortCommand& c : SortCommands())
        if (c.window == window && c.caption == caption)
            return &c;
    return nullptr;
}

const SortCommand* SortCommandForColumn(QStringView window, int column)
{
    for (const SortCommand& c : SortCommands())
        if (c.window == window && c.titleClick && c.column == column)
            return &c;
    return nullptr;
}

bool SortDescending(const SortCommand& command)
{
    return flags().value(flagKey(command), command.startDescending);
}

void SetSortDescending(const SortCommand& command, bool descending)
{
    flags().insert(flagKey(command), descending);
}

void ResetSortDirections()
{
    flags().clear();
}

namespace {

bool RunSort(comp::ResultGrid& grid, const SortCommand& command, FlipRule rule,
             const std::function<void()>& beforeSort, const NumberKeyOfRow& numberKey)
{
    if (grid.rowCount() < command.minRows)
        return false;
    if (beforeSort)
        beforeSort();
    const bool flips = !command.fixedDirection;
    if (flips && rule == FlipRule::BeforeSort)
        SetSortDescending(command, !SortDescending(command));
    const bool descending = flips ? SortDescending(command) : command.startDescending;
    const int last = grid.rowCount() - 1 - command.keepLast;
    if (numberKey && command.kind == SortKind::Number)
        SortGridByNumberKeys(grid, 1, last, descending, numberKey);
    else
        SortGrid(grid, 1, last, descending, command.column, command.kind);
    if (flips && rule == FlipRule::AfterSort)
        SetSortDescending(command, !descending);
    return true;
}

}  // namespace

bool RunSortCommand(comp::ResultGrid& grid, const SortCommand& command, FlipRule rule,
                    const std::function<void()>& beforeSort)
{
    return RunSort(grid, command, rule, beforeSort, {});
}

bool RunSortCommand(comp::ResultGrid& grid, const SortCommand& command, const NumberKeyOfRow& numberKey)
{
    return RunSort(grid, command, FlipRule::AfterSort, {}, numberKey);
}

}  // namespace reports

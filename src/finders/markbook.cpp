#include "finders/markbook.h"

#include "core/helpers.h"
#include "platform/findfile.h"

namespace finders {

namespace {

// The file's present size; false when no file (a folder counts as none)
// stands at the path any more.
bool existingFileSize(const QString& path, double& size)
{
    plat::FindData found;
    if (path.isEmpty() || !plat::statPath(path, found) || (found.attributes & plat::faDirectory))
        return false;
    size = core::FindDataSize(found);
    return true;
}

}  // namespace

bool MarkBook::toggle(comp::ResultGrid& grid, int row)
{
    if (row < 1 || row > grid.rowsUsed() || row >= grid.rowCount())
        return false;
    const QString path = grid.path(row);
    const bool unmarking = grid.marked(row);
    grid.setMarked(row, !unmarking);
    double size = 0;
    if (existingFileSize(path, size)) {
        count_ += unmarking ? -1 : 1;
        bytes_ += unmarking ? -size : size;
    }
    if (unmarking)
        list_.removeOne(path);
    else
        list_.append(path);
    return true;
}

void MarkBook::clear(comp::ResultGrid& grid)
{
    clear();
    grid.clearMarks();
}

void MarkBook::clear()
{
    count_ = 0;
    bytes_ = 0;
    list_.clear();
}

void MarkBook::markAll(comp::ResultGrid& grid)
{
    clear(grid);
    for (int r = 1; r < grid.rowCount(); ++r)
        toggle(grid, r);
}

QString MarkBook::statusText() const
{
    return QStringLiteral("%1 files %2 bytes").arg(count_).arg(core::FormatGroupedF(bytes_));
}

}  // namespace finders

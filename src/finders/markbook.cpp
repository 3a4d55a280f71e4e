#include "finders/markbook.h"

#include "core/helpers.h"
#include "platform/findfile.h"
#include "reports/sortgrid.h"

#include <QLocale>
#include <QTime>

#include <algorithm>

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

void MarkBook::markAllButOne(comp::ResultGrid& grid, KeepCopy keep, const std::function<qint64(int row)>& modified)
{
    clear(grid);
    for (const RowGroup& g : ShadeGroups(grid)) {
        int kept = g.first;
        qint64 keptTime = modified(g.first);
        for (int r = g.first + 1; r <= g.last; ++r) {
            const qint64 t = modified(r);
            if (keep == KeepCopy::Oldest ? t < keptTime : t > keptTime) {
                kept = r;
                keptTime = t;
            }
        }
        for (int r = g.first; r <= g.last; ++r)
            if (r != kept)
                toggle(grid, r);
    }
}

namespace {

int lastDataRow(const comp::ResultGrid& grid)
{
    return std::min(grid.rowsUsed(), grid.rowCount() - 1);
}

// Calls f(first, last) for each run of rows with one shade.
template <class F>
void forEachGroup(const comp::ResultGrid& grid, F&& f)
{
    const int last = lastDataRow(grid);
    int r = 1;
    while (r <= last) {
        const quint8 shade = grid.shade(r);
        int end = r;
        while (end < last && grid.shade(end + 1) == shade)
            ++end;
        if (shade != comp::ResultGrid::NoShade)
            f(r, end);
        r = end + 1;
    }
}

}  // namespace

std::vector<RowGroup> ShadeGroups(const comp::ResultGrid& grid)
{
    std::vector<RowGroup> groups;
    forEachGroup(grid, [&groups](int first, int last) { groups.push_back({first, last}); });
    return groups;
}

int FullyMarkedGroups(const comp::ResultGrid& grid)
{
    int n = 0;
    forEachGroup(grid, [&](int first, int last) {
        for (int r = first; r <= last; ++r)
            if (!grid.marked(r))
                return;
        ++n;
    });
    return n;
}

QString AllCopiesQuestion(int groups)
{
    return QStringLiteral("All copies of %1 groups of duplicates are marked. No copy of them will be left. Continue?")
        .arg(core::FormatGrouped(groups));
}

qint64 ModifiedKeyReader::key(QStringView date, QStringView time)
{
    if (dateFormat_.isNull()) {
        dateFormat_ = core::ShortDateFormat();
        timeFormat_ = core::LongTimeFormat();
    }
    const QString dateText = date.toString();
    auto day = days_.constFind(dateText);
    if (day == days_.constEnd())
        day = days_.insert(dateText, reports::DateSortKey(date, dateFormat_));
    const QString timeText = time.toString();
    auto second = seconds_.constFind(timeText);
    if (second == seconds_.constEnd()) {
        const QTime t = QLocale().toTime(timeText, timeFormat_);
        second = seconds_.insert(timeText, t.isValid() ? t.msecsSinceStartOfDay() / 1000 : 0);
    }
    // Day keys are Julian day numbers.
    return *day * 86400 + *second;
}

QString MarkBook::statusText() const
{
    return QStringLiteral("%1 files %2 bytes").arg(count_).arg(core::FormatGroupedF(bytes_));
}

}  // namespace finders

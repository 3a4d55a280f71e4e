#include "finders/markbook.h"

#include "core/helpers.h"
#include "platform/findfile.h"
#include "reports/sortgrid.h"

#include <QLocale>

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
    if (unmarking) {
        // What the mark added, not what the file holds now: it may have
        // grown, shrunk or gone meanwhile.
        const qsizetype at = list_.indexOf(path);
        if (at >= 0) {
            if (added_[at] >= 0) {
                --count_;
                bytes_ -= added_[at];
            }
            list_.removeAt(at);
            added_.removeAt(at);
        }
        return true;
    }
    double size = 0;
    const bool counted = existingFileSize(path, size);
    if (counted) {
        ++count_;
        bytes_ += size;
    }
    list_.append(path);
    added_.append(counted ? size : -1);
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
    added_.clear();
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

ModifiedKeyReader::ModifiedKeyReader() : dateFormat_(core::ShortDateFormat())
{
    const QString format = core::LongTimeFormat();
    bool quoted = false;
    for (QChar c : format) {
        if (c == u'\'') {
            quoted = !quoted;
            continue;
        }
        if (quoted)
            continue;
        const QChar field = c.toLower();
        if ((field == u'h' || field == u'm' || field == u's') && !fieldOrder_.endsWith(field))
            fieldOrder_ += field;
        if (c == u'a' || c == u'A')
            twelveHours_ = true;
    }
    am_ = QLocale().amText();
    pm_ = QLocale().pmText();
}

int ModifiedKeyReader::seconds(QStringView time) const
{
    int h = 0, m = 0, s = 0, field = 0, value = -1;
    auto take = [&] {
        if (value >= 0 && field < fieldOrder_.size()) {
            const QChar f = fieldOrder_[field++];
            (f == u'h' ? h : f == u'm' ? m : s) = value;
        }
        value = -1;
    };
    for (QChar c : time) {
        const int digit = c.digitValue();
        if (digit >= 0 && value < 100000)
            value = std::max(value, 0) * 10 + digit;
        else
            take();
    }
    take();
    if (twelveHours_) {
        if (!pm_.isEmpty() && time.contains(pm_, Qt::CaseInsensitive) && h < 12)
            h += 12;
        else if (!am_.isEmpty() && time.contains(am_, Qt::CaseInsensitive) && h == 12)
            h = 0;
    }
    if (field == 0 || h > 23 || m > 59 || s > 59)
        return 0;
    return (h * 60 + m) * 60 + s;
}

qint64 ModifiedKeyReader::key(QStringView date, QStringView time)
{
    const QString dateText = date.toString();
    auto day = days_.constFind(dateText);
    if (day == days_.constEnd())
        day = days_.insert(dateText, reports::DateSortKey(date, dateFormat_));
    const QString timeText = time.toString();
    auto second = seconds_.constFind(timeText);
    if (second == seconds_.constEnd())
        second = seconds_.insert(timeText, seconds(time));
    // Day keys are Julian day numbers.
    return *day * 86400 + *second;
}

QString MarkBook::statusText() const
{
    return QStringLiteral("%1 files %2 bytes").arg(count_).arg(core::FormatGroupedF(bytes_));
}

}  // namespace finders

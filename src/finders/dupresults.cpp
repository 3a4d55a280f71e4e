#include "finders/dupresults.h"

#include "finders/blockcrc.h"
#include "reports/sortcommand.h"

#include <algorithm>
#include <climits>

namespace finders {

const char* const kSecondNumberMessage = "The second number must be larger or equal than the first number";
const char* const kNoFilesMessage = "No files found.";
const char* const kCrcTitle = "CRC Values";

DupResults::DupResults(const DupCriteria& criteria) : search_(criteria)
{
    grid_.reset(criteria.duplicateMode ? DupTitles() : HogTitles());
}

namespace {

// The checksum pass works on the grid's rows in place: no second copy of
// the results is kept.
class GridCrcRows : public CrcRows {
public:
    GridCrcRows(comp::ResultGrid& grid, const std::vector<std::pair<quint64, quint64>>& files)
        : grid_(grid), files_(files)
    {
    }
    std::pair<quint64, quint64> fileId(int row) const override
    {
        return size_t(row) < files_.size() ? files_[size_t(row)] : std::pair<quint64, quint64>{0, 0};
    }
    int count() const override { return grid_.rowsUsed(); }
    QString path(int row) const override { return grid_.path(row + 1); }
    QString sizeText(int row) const override { return grid_.cell(row + 1, dcSize); }
    void setCrcText(int row, const QString& text) override { grid_.setCell(row + 1, dcType, text); }
    void keepRows(const std::vector<bool>& keep) override
    {
        // The kept rows move up in their order; the grid then ends after
        // them, as a grid filled with only them would (never below 2 rows).
        const int n = grid_.rowsUsed();
        std::vector<int> order;
        order.reserve(size_t(n));
        for (int r = 0; r < n; ++r)
            if (keep[size_t(r)])
                order.push_back(r + 1);
        const int kept = int(order.size());
        for (int r = 0; r < n; ++r)
            if (!keep[size_t(r)])
                order.push_back(r + 1);
        grid_.permuteRows(1, order);
        grid_.setRowCount(std::max(kept + 1, 2));
        grid_.setRowsUsed(kept);
        if (kept == 0)
            grid_.clearRow(1);
    }
    void setShade(int row, char shade) override { grid_.setShade(row + 1, quint8(shade)); }

private:
    comp::ResultGrid& grid_;
    const std::vector<std::pair<quint64, quint64>>& files_;
};

// Dates, folders and type names repeat from file to file: the grid keeps
// each distinct text once. A file hog's path keeps its folder once. (Times
// and sizes are mostly distinct: a shared copy would cost more than it
// saves.)
void KeepRepeatedTextsOnce(comp::ResultGrid& grid, bool duplicateMode)
{
    using G = comp::ResultGrid;
    if (duplicateMode) {
        for (int c : {dcModified, dcAccess, dcFolder, dcType})
            grid.setColumnStore(c, G::Shared);
        for (int c : {dcFilename, dcSize, dcTime})
            grid.setColumnStore(c, G::Inline);
    } else {
        for (int c : {hcModified, hcAccess, hcType})
            grid.setColumnStore(c, G::Shared);
        for (int c : {hcSize, hcTime})
            grid.setColumnStore(c, G::Inline);
        grid.setColumnStore(hcFileName, G::ByFolder);
    }
}

}  // namespace

void DupResults::search(bool computeCrc, bool eliminate)
{
    search_.status = status;
    search_.pump = pump;
    search_.note = note;
    // The rows go straight into the grid.
    grid_.reset(search_.criteria().duplicateMode ? DupTitles() : HogTitles());
    KeepRepeatedTextsOnce(grid_, search_.criteria().duplicateMode);
    // The hog rows come in the order of the "&Size" sort when that sort is
    // the number sort of the size column that moves every row.
    const reports::SortCommand* bySize = reports::FindSortCommand(u"TfrmDup", u"&Size");
    search_.hogsBySize = bySize && bySize->kind == reports::SortKind::Number && bySize->column == hcSize
                         && bySize->keepLast == 0 && !bySize->fixedDirection;
    // The files' ids as listed, by row, for the order of the checksum reads.
    std::vector<std::pair<quint64, quint64>> files;
    if (computeCrc)
        search_.rowFile = [&files](quint64 device, quint64 inode) { files.push_back({device, inode}); };
    else
        search_.rowFile = {};
    search_.scan(
        [this](std::span<const QStringView> cells, QStringView path, char shade) {
            const int row = grid_.addRowViews(cells, path);
            grid_.setShade(row, quint8(shade));
        },
        [this](qsizetype rows) { grid_.reserveRows(int(std::min<qsizetype>(rows, INT_MAX - 1)) + 1); });
    if (grid_.rowsUsed() > 1)
        grid_.fitRowCount();
    search_.rowFile = {};
    search_.abortFlag = false;
    if (computeCrc && grid_.rowsUsed() > 0) {
        crcPhase_ = true;
        grid_.setCell(0, dcType, QString::fromLatin1(kCrcTitle));
        // Checksums seldom repeat: each row keeps its own.
        grid_.setColumnStore(dcType, comp::ResultGrid::Inline);
        GridCrcRows rows(grid_, files);
        search_.computeCrcValues(rows, eliminate);
        crcPhase_ = false;
    }
    if (!search_.criteria().duplicateMode) {
        // File hogs end largest first: the window's "&Size" sort with its
        // direction set to descending. The sort flips the direction, so the
        // user's next "&Size" sort puts the smallest first. The rows came
        // in the order that sort gives, so only the flag is left to set.
        const reports::SortCommand* bySize = reports::FindSortCommand(u"TfrmDup", u"&Size");
        reports::SetSortDescending(*bySize, true);
        if (search_.hogsBySize && grid_.rowCount() >= bySize->minRows)
            reports::SetSortDescending(*bySize, false);
        else
            reports::RunSortCommand(grid_, *bySize);
    }
}

QStringList DupResults::gridLines() const
{
    QStringList lines;
    writeGridLines([&lines](QStringView line) { lines << line.toString(); });
    return lines;
}

int DupResults::gridLineCount() const
{
    return 1 + std::max(0, std::min(grid_.rowsUsed(), grid_.rowCount() - 1));
}

void DupResults::gridLine(int line, QString& out) const
{
    const bool dup = search_.criteria().duplicateMode;
    out.resize(0);
    if (dup) {
        if (line == 0)
            out += QLatin1String("Shade");
        else
            out += QChar(grid_.shade(line));
    }
    if (dup)
        out += u'\t';
    grid_.appendJoinedCells(line, u'\t', out);
}

void DupResults::writeGridLines(const std::function<void(QStringView)>& write) const
{
    QString line;
    for (int r = 0, n = gridLineCount(); r < n; ++r) {
        gridLine(r, line);
        write(line);
    }
}

}  // namespace finders

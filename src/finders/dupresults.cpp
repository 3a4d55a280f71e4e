#include "finders/dupresults.h"

#include "finders/blockcrc.h"
#include "reports/sortgrid.h"

namespace finders {

const char* const kSecondNumberMessage = "The second number must be larger or equal than the first number";
const char* const kNoFilesMessage = "No files found.";
const char* const kCrcTitle = "CRC Values";

DupResults::DupResults(const DupCriteria& criteria) : search_(criteria)
{
    grid_.reset(criteria.duplicateMode ? DupTitles() : HogTitles());
}

void DupResults::fillGrid()
{
    const bool dup = search_.criteria().duplicateMode;
    grid_.reset(dup ? DupTitles() : HogTitles());
    for (ResultRow& r : search_.rows()) {
        const int row = grid_.addRow(r.cells, r.path);
        grid_.setShade(row, quint8(r.shade));
    }
    if (grid_.rowsUsed() > 1)
        grid_.fitRowCount();
}

void DupResults::search(bool computeCrc, bool eliminate)
{
    search_.status = status;
    search_.pump = pump;
    search_.scan();
    // The rows move into the grid; the engine keeps only what the checksum
    // pass needs.
    fillGrid();
    search_.abortFlag = false;
    if (!computeCrc)
        search_.rows() = {};  // the grid holds everything from here on
    if (computeCrc && !search_.rows().empty()) {
        crcPhase_ = true;
        grid_.setCell(0, dcType, QString::fromLatin1(kCrcTitle));
        search_.computeCrcValues(eliminate, TryBlockCrcSum);
        crcPhase_ = false;
        fillGrid();
        grid_.setCell(0, dcType, QString::fromLatin1(kCrcTitle));
    }
    if (!search_.criteria().duplicateMode && grid_.rowsUsed() > 0)
        reports::SortGridByNumber(grid_, 1, grid_.rowCount() - 1, true, hcSize);
}

QStringList DupResults::gridLines() const
{
    const bool dup = search_.criteria().duplicateMode;
    QStringList lines;
    lines << (dup ? QStringLiteral("Shade\t") : QString()) + grid_.titles().join('\t');
    for (int r = 1; r <= grid_.rowsUsed() && r < grid_.rowCount(); ++r) {
        const QString cells = grid_.rowCells(r).join('\t');
        lines << (dup ? QString(QChar(grid_.shade(r))) + '\t' + cells : cells);
    }
    return lines;
}

}  // namespace finders

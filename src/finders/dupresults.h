#pragma once
// A duplicate or file-hog search from start to result grid, shared by the
// window and the command line: the walk, the rows in the grid, the optional
// checksum pass and, for file hogs, the order by size.

#include "components/resultgrid.h"
#include "finders/dupsearch.h"

#include <QString>
#include <QStringList>
#include <QStringView>
#include <functional>

namespace finders {

extern const char* const kSecondNumberMessage;
extern const char* const kNoFilesMessage;
extern const char* const kCrcTitle;

class DupResults {
public:
    explicit DupResults(const DupCriteria& criteria);

    std::function<void(const QString&)> status;
    std::function<void()> pump;
    std::function<void(const QString&)> note;  // see DupSearch::note

    // The search proper: walk, group or order, fill the grid; then the
    // checksum pass when asked for; file hogs end sorted largest first by
    // the "&Size" sort command, whose direction flag then says ascending.
    void search(bool computeCrc, bool eliminate);
    void abort() { search_.abortFlag = true; }
    bool aborting() const { return search_.abortFlag; }
    bool inCrcPhase() const { return crcPhase_; }

    const DupCriteria& criteria() const { return search_.criteria(); }
    comp::ResultGrid& grid() { return grid_; }
    const comp::ResultGrid& grid() const { return grid_; }
    // Titles first, then one line per data row, cells joined by tabs; in
    // duplicate mode each row starts with its shade.
    QStringList gridLines() const;
    // The same a line at a time, without holding them all: the number of
    // lines, line n into out (its buffer reused), or each line in turn.
    int gridLineCount() const;
    void gridLine(int line, QString& out) const;
    void writeGridLines(const std::function<void(QStringView)>& write) const;

private:
    DupSearch search_;
    comp::ResultGrid grid_;
    bool crcPhase_ = false;
};

}  // namespace finders

#pragma once
// The duplicate and file-hog search: walks the roots, lists every file that
// passes the size test as one line, and turns the sorted lines into result
// rows: groups of duplicates, or the largest files. An optional pass
// computes the checksum of every row and can drop unconfirmed duplicates.

#include "core/helpers.h"
#include "platform/findfile.h"

#include <QSet>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <utility>
#include <vector>

namespace finders {

// The note for a file or folder the walk leaves out, followed by its path.
constexpr char kPathTooLongNote[] = "Path too long, left out: ";

enum class SizeRelation { LargerOrEqual, SmallerOrEqual, Between };

// Matching modes of the duplicate search, by their index in the mode box.
enum MatchMode {
    mmFilename = 0,
    mmFilenameSize = 1,
    mmFilenameSizeDateTime = 2,
    mmSize = 3,
    mmSizeDateTime = 4,
    mmSizeType = 5,
    mmTypeDateTime = 6,
};
QStringList MatchModeCaptions();
bool MatchModeOffersCrc(int mode);

struct DupCriteria {
    bool duplicateMode = true;   // false: file hogs
    int matchMode = mmFilenameSize;
    SizeRelation relation = SizeRelation::LargerOrEqual;
    int num1 = 250;
    int num2 = 250;
    bool unitKB = true;
    QString wildcard = QStringLiteral("*.*");
    QStringList roots;           // drive-list entries
};

// The size limits in bytes: each number times 1024 with the unit "KB".
qint64 LowerLimit(const DupCriteria& c);
qint64 UpperLimit(const DupCriteria& c);
bool PassesSizeTest(quint64 size, SizeRelation relation, qint64 lower, qint64 upper);

// Columns of the result rows.
enum DupColumn { dcFilename = 0, dcSize, dcModified, dcTime, dcAccess, dcFolder, dcType };
enum HogColumn { hcSize = 0, hcModified, hcTime, hcAccess, hcFileName, hcType };
QStringList DupTitles();
QStringList HogTitles();
constexpr char kShadeA = 'A';
constexpr char kShadeB = 'B';

struct ResultRow {
    QStringList cells;
    QString path;    // the file's real path, as the walk found it
    char shade = 0;  // duplicate mode: kShadeA or kShadeB
};

// Where a search puts its rows, in order: the cells in column order
// (DupColumn or HogColumn), the real path and the shade (0 for file hogs).
// The views are valid only during the call.
using RowSink = std::function<void(std::span<const QStringView> cells, QStringView path, char shade)>;

// The rows a checksum pass works on: the engine's own or a result grid's.
class CrcRows {
public:
    virtual ~CrcRows() = default;
    virtual int count() const = 0;
    virtual QString path(int row) const = 0;
    virtual QString sizeText(int row) const = 0;
    virtual void setCrcText(int row, const QString& text) = 0;
    // Drops every row whose flag is false; the others keep their order.
    virtual void keepRows(const std::vector<bool>& keep) = 0;
    virtual void setShade(int row, char shade) = 0;
    // The file's device and inode as listed, for the order of the reads;
    // 0, 0 when not known.
    virtual std::pair<quint64, quint64> fileId(int row) const { return {0, 0}; }
};

class DupSearch {
public:
    explicit DupSearch(DupCriteria criteria);

    // Hooks of the window: the status line, pending events (called after
    // each entry; the window runs them at most every 20 ms), and the error
    // box for a root that cannot be entered.
    std::function<void(const QString&)> status;
    std::function<void()> pump;
    // A note the user must see once: a file left out because its path is
    // longer than the system allows (kPathTooLongNote + path). Goes to the
    // status hook when unset.
    std::function<void(const QString&)> note;

    // Set by the window's Abort; tested between entries.
    bool abortFlag = false;
    // File hogs come out in the order that the grid's number sort of the
    // size column, descending, gives the reverse line order (the sort then
    // has nothing left to do); otherwise in reverse line order.
    bool hogsBySize = false;

    // Walks the roots and builds the rows (groups or hogs). File hogs come
    // out in reverse line order; the window then sorts them by size.
    void scan();
    // The same, handing each row to sink instead of keeping it in rows();
    // expect, when given, first hears how many rows will come.
    void scan(const RowSink& sink, const std::function<void(qsizetype)>& expect = {});
    // The checksum pass over the rows; false when it was aborted. With
    // eliminate, rows whose checksum is unique within their run of equal
    // sizes are dropped, and the shades are set again. crc gives nothing for
    // a file it could not read: such a row shows 0 but matches no other row.
    using CrcFunction = std::function<std::optional<quint32>(const QString&)>;
    bool computeCrcValues(bool eliminate, const CrcFunction& crc);
    // The same over other rows (duplicate mode's columns).
    bool computeCrcValues(CrcRows& rows, bool eliminate, const CrcFunction& crc);
    // The same with the files read in disk order (BlockCrcBatch). With
    // eliminate, a first pass over the first 4 KiB of each file drops the
    // files whose first 4 KiB no other file of their size run shares: their
    // contents differ from every other file's, so only a checksum that
    // happened to be equal for different contents would have kept them.
    bool computeCrcValues(CrcRows& rows, bool eliminate);

    // Called after each duplicate row is handed to the sink: the file's
    // device and inode as the walk listed them.
    std::function<void(quint64 device, quint64 inode)> rowFile;

    const DupCriteria& criteria() const { return criteria_; }
    std::vector<ResultRow>& rows() { return rows_; }
    const std::vector<ResultRow>& rows() const { return rows_; }
    qsizetype lineCount() const { return lineCount_; }

    // The line of a found file in the window's field order, and its key.
    QString lineFor(const plat::FindData& f, const QString& folder);
    QString keyOf(const QString& line) const;

    DupSearch(const DupSearch&) = delete;
    DupSearch& operator=(const DupSearch&) = delete;
    ~DupSearch();

private:
    // The listed files are kept as compact records rather than as lines:
    // texts that many files share (dates, times, folders, types) once each,
    // names in one character store, sizes as numbers. Sorting and grouping
    // work on them exactly as on the lines they stand for; see dupsearch.cpp.
    struct Listing;

    void addLine(const plat::FindData& f, quint32 folder);
    void finish(const RowSink& sink, const std::function<void(qsizetype)>& expect);
    // Drops unconfirmed rows (with eliminate) and sets the shades; values
    // and unreadable are by row.
    void settleCrcRows(CrcRows& rows, bool eliminate, std::vector<quint32>& values,
                       const std::vector<bool>& unreadable);

    DupCriteria criteria_;
    qint64 lower_ = 0;
    qint64 upper_ = 0;
    std::unique_ptr<Listing> listing_;
    qsizetype lineCount_ = 0;
    std::vector<ResultRow> rows_;
    core::FileTypeNames typeNames_;
    QSet<std::pair<quint64, quint64>> linkedFiles_;  // files with more than one link
};

}  // namespace finders

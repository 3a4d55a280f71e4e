#pragma once
// The rows of a result window: text cells, the real path of the file or
// folder a row stands for, the row's mark, its group shade and one object of
// the window's own. Row 0 holds the column titles and data rows start at 1,
// so windows keep the row numbers their logic is written in. A row moves as
// a whole: whatever reorders or deletes rows takes all of it along.
//
// No widgets here: the finder engines fill a grid, ResultGridView shows it.
//
// A million rows must stay cheap: a row is a few bytes of state and a
// reference to its path and cells, which lie back to back behind their
// lengths in large chunks of the grid's own (no allocation per row). Texts
// that repeat from row to row (dates, types, folders) can be kept once per
// distinct value; see setColumnStore.

#include <QString>
#include <QStringList>
#include <QStringView>
#include <QtGlobal>

#include <algorithm>
#include <array>
#include <functional>
#include <memory>
#include <span>
#include <vector>

namespace comp {

class ResultGrid {
public:
    enum Shade : quint8 { NoShade = 0, ShadeA = 'A', ShadeB = 'B' };
    // Rows are added in steps of this many while a search fills the grid.
    static constexpr int kGrowBy = 50;

    explicit ResultGrid(int columns = 1, int rows = 2);
    // A copy takes the rows, not the hooks of the view that shows the original.
    ResultGrid(const ResultGrid& other);
    ResultGrid& operator=(const ResultGrid& other);
    ~ResultGrid();

    // Row count includes row 0; it never goes below 1. New rows are empty;
    // dropped rows are gone with their marks and paths.
    int rowCount() const { return int(rows_.size()); }
    void setRowCount(int rows);
    // Room for this many rows in all, so that growing to them (in steps of
    // kGrowBy) moves none of them.
    void reserveRows(int rows) { rows_.reserve(size_t(std::max(rows, 0)) + kGrowBy); }
    int colCount() const { return cols_; }
    void setColCount(int columns);

    // How a column keeps its cells. Inline: in the row. Shared: each
    // distinct text once, the rows refer to it (for texts that repeat).
    // ByFolder: a path's folder (up to its last backslash) shared, its name
    // in the row; a cell without a backslash is kept inline. Cells written
    // later follow the new way; the texts read back the same in every way.
    enum CellStore : quint8 { Inline = 0, Shared, ByFolder };
    void setColumnStore(int column, CellStore how);
    CellStore columnStore(int column) const;

    // Out-of-range cells read as empty; writes to them are ignored.
    QString cell(int row, int column) const { return cellView(row, column).toString(); }
    // Valid until the grid changes; a cell of a ByFolder column is put
    // together in one of kJoinedViews buffers taken in turn, so its view
    // lasts only until that many more such cells were read.
    static constexpr int kJoinedViews = 8;
    QStringView cellView(int row, int column) const;
    // Appends the row's cells to out, separator between them: what joining
    // each cellView would give, with the row read once.
    void appendJoinedCells(int row, QChar separator, QString& out) const;
    void setCell(int row, int column, const QString& text);
    QStringList rowCells(int row) const;
    // Cells beyond the column count are dropped, missing ones are empty.
    void setRowCells(int row, const QStringList& cells);
    void setRow(int row, const QStringList& cells, const QString& path);

    QStringList titles() const { return rowCells(0); }
    void setTitles(const QStringList& titles) { setRowCells(0, titles); }

    // The path the file system reported, exactly as set: a later change of
    // a cell never changes it. (A path that the cells spell out is stored
    // as a reference to them.)
    QString path(int row) const;
    void setPath(int row, const QString& path);

    bool marked(int row) const { return valid(row) && rows_[size_t(row)].mark; }
    void setMarked(int row, bool on);
    int markedCount() const;
    void clearMarks();

    quint8 shade(int row) const { return valid(row) ? rows_[size_t(row)].shade : quint8(NoShade); }
    void setShade(int row, quint8 shade);

    // The window's own object for a row (an index, a size, a flag set).
    quint64 tag(int row) const { return valid(row) ? rows_[size_t(row)].tag : 0; }
    void setTag(int row, quint64 tag);

    // Empties a row: cells, path, mark, shade and tag.
    void clearRow(int row);
    // A fresh result list: these titles and column count, row count 2
    // (titles and one empty row), rows used 0, nothing marked.
    void reset(const QStringList& titles);

    // Rows written by the search. addRow writes row rowsUsed() + 1, first
    // growing the grid by kGrowBy rows when that row lies outside it, and
    // returns the row number. fitRowCount gives the grid its exact size
    // afterwards (one row per result, never fewer than 2 rows).
    int rowsUsed() const { return rowsUsed_; }
    void setRowsUsed(int n) { rowsUsed_ = n; }
    int addRow(const QStringList& cells, const QString& path = QString());
    // The same from views of the texts, which are copied.
    int addRowViews(std::span<const QStringView> cells, QStringView path = {});
    void fitRowCount();

    // Deletes one data row; the rows below move up. Rows used is the
    // window's count of rows written and is left alone.
    void removeRow(int row);
    // Row first + k receives the former row order[k], for every k; order
    // must be a permutation of first .. first + order.size() - 1.
    void permuteRows(int first, const std::vector<int>& order);

    // Called after every change, so that a view can catch up later.
    void setChangeHook(std::function<void()> hook) { changed_ = std::move(hook); }
    // Called when the grid is destroyed, so that a view stops reading it.
    void setGoneHook(std::function<void()> hook) { gone_ = std::move(hook); }

    // Bytes held by the grid, strings included, and the part of it that is
    // the strings' characters; for memory checks.
    size_t memoryBytes() const;
    size_t textBytes() const;

    // The chunks and the shared texts (defined where the grid is).
    struct Store;

private:
    struct Row {
        quint64 tag = 0;
        quint32 data = 0;  // where the store keeps the path and cells; 0: none
        bool mark = false;
        quint8 shade = NoShade;
    };

    bool valid(int row) const { return row >= 0 && row < rowCount(); }
    QStringView entryView(int row, int entry) const;
    void setEntry(int row, int entry, QStringView text);
    void setData(int row, const void* entries);
    void dropData(Row& r);
    void copyFrom(const ResultGrid& other);
    void compactIfWasteful();
    void notify()
    {
        if (changed_)
            changed_();
    }

    std::vector<Row> rows_;
    std::unique_ptr<Store> store_;
    std::vector<CellStore> columnStores_;
    mutable std::array<QString, kJoinedViews> joined_;
    mutable int nextJoined_ = 0;
    int cols_ = 1;
    int rowsUsed_ = 0;
    std::function<void()> changed_;
    std::function<void()> gone_;
};

}  // namespace comp

#include "components/resultgrid.h"

#include <QVarLengthArray>

#include <algorithm>
#include <stdexcept>

namespace comp {

namespace {

// A row's data string: the number of entries, each entry's length, then the
// entries' characters back to back. Entry 0 is the path, entry c + 1 the
// cell of column c. Counts and lengths below 0x8000 take one character,
// larger ones two. Trailing empty entries are not stored, so an empty row is
// a null string.

using Views = QVarLengthArray<QStringView, 16>;

void putNumber(QChar*& out, qsizetype n)
{
    if (n < 0x8000) {
        *out++ = QChar(char16_t(n));
    } else {
        *out++ = QChar(char16_t(0x8000 | (n >> 16)));
        *out++ = QChar(char16_t(n & 0xFFFF));
    }
}

qsizetype numberSize(qsizetype n)
{
    return n < 0x8000 ? 1 : 2;
}

qsizetype takeNumber(const QChar*& p)
{
    const char16_t c = p++->unicode();
    if (c < 0x8000)
        return c;
    return (qsizetype(c & 0x7FFF) << 16) | p++->unicode();
}

void decode(const QString& data, Views& out)
{
    out.clear();
    if (data.isEmpty())
        return;
    const QChar* p = data.constData();
    const qsizetype count = takeNumber(p);
    QVarLengthArray<qsizetype, 16> lengths;
    for (qsizetype i = 0; i < count; ++i)
        lengths.append(takeNumber(p));
    for (qsizetype len : lengths) {
        out.append(QStringView(p, len));
        p += len;
    }
}

QString encode(const Views& entries)
{
    qsizetype count = entries.size();
    while (count > 0 && entries[count - 1].isEmpty())
        --count;
    if (count == 0)
        return QString();
    qsizetype total = numberSize(count);
    for (qsizetype i = 0; i < count; ++i)
        total += numberSize(entries[i].size()) + entries[i].size();
    QString data(total, Qt::Uninitialized);
    QChar* out = data.data();
    putNumber(out, count);
    for (qsizetype i = 0; i < count; ++i)
        putNumber(out, entries[i].size());
    for (qsizetype i = 0; i < count; ++i) {
        std::copy_n(entries[i].data(), entries[i].size(), out);
        out += entries[i].size();
    }
    return data;
}

}  // namespace

ResultGrid::ResultGrid(int columns, int rows)
    : rows_(size_t(std::max(rows, 1))), cols_(std::max(columns, 0))
{
}

ResultGrid::ResultGrid(const ResultGrid& other)
    : rows_(other.rows_), cols_(other.cols_), rowsUsed_(other.rowsUsed_)
{
}

ResultGrid& ResultGrid::operator=(const ResultGrid& other)
{
    if (this != &other) {
        rows_ = other.rows_;
        cols_ = other.cols_;
        rowsUsed_ = other.rowsUsed_;
        notify();
    }
    return *this;
}

ResultGrid::~ResultGrid()
{
    if (gone_)
        gone_();
}

void ResultGrid::setRowCount(int rows)
{
    rows_.resize(size_t(std::max(rows, 1)));
    notify();
}

void ResultGrid::setColCount(int columns)
{
    columns = std::max(columns, 0);
    if (columns < cols_) {
        // Dropped columns must not come back when the grid widens again.
        Views v;
        for (Row& r : rows_) {
            decode(r.data, v);
            if (v.size() > columns + 1) {
                v.resize(columns + 1);
                r.data = encode(v);
            }
        }
    }
    cols_ = columns;
    notify();
}

QStringView ResultGrid::entryView(int row, int entry) const
{
    if (!valid(row))
        return {};
    const QString& data = rows_[size_t(row)].data;
    if (data.isEmpty())
        return {};
    const QChar* p = data.constData();
    const qsizetype count = takeNumber(p);
    if (entry >= count)
        return {};
    qsizetype start = 0, len = 0;
    for (qsizetype i = 0; i < count; ++i) {
        const qsizetype n = takeNumber(p);
        if (i < entry)
            start += n;
        else if (i == entry)
            len = n;
    }
    return QStringView(p + start, len);
}

QStringView ResultGrid::cellView(int row, int column) const
{
    if (column < 0 || column >= cols_)
        return {};
    return entryView(row, column + 1);
}

void ResultGrid::setEntry(int row, int entry, QStringView text)
{
    Row& r = rows_[size_t(row)];
    Views v;
    decode(r.data, v);
    // QVarLengthArray::resize leaves new views uninitialised; append them.
    while (v.size() <= entry)
        v.append(QStringView());
    // The new text may be part of the old data; encode before replacing it.
    const QString copy = text.toString();
    v[entry] = copy;
    r.data = encode(v);
    notify();
}

void ResultGrid::setCell(int row, int column, const QString& text)
{
    if (valid(row) && column >= 0 && column < cols_)
        setEntry(row, column + 1, text);
}

QStringList ResultGrid::rowCells(int row) const
{
    QStringList cells;
    cells.reserve(cols_);
    for (int c = 0; c < cols_; ++c)
        cells.append(cellView(row, c).toString());
    return cells;
}

void ResultGrid::setRow(int row, const QStringList& cells, const QString& path)
{
    if (!valid(row))
        return;
    Views v;
    v.append(path);
    for (int c = 0; c < cols_; ++c)
        v.append(c < cells.size() ? QStringView(cells[c]) : QStringView());
    rows_[size_t(row)].data = encode(v);
    notify();
}

void ResultGrid::setRowCells(int row, const QStringList& cells)
{
    if (valid(row))
        setRow(row, cells, path(row));
}

void ResultGrid::setPath(int row, const QString& path)
{
    if (valid(row))
        setEntry(row, 0, path);
}

void ResultGrid::setMarked(int row, bool on)
{
    if (valid(row) && rows_[size_t(row)].mark != on) {
        rows_[size_t(row)].mark = on;
        notify();
    }
}

int ResultGrid::markedCount() const
{
    return int(std::count_if(rows_.begin(), rows_.end(), [](const Row& r) { return r.mark; }));
}

void ResultGrid::clearMarks()
{
    for (Row& r : rows_)
        r.mark = false;
    notify();
}

void ResultGrid::setShade(int row, quint8 shade)
{
    if (valid(row)) {
        rows_[size_t(row)].shade = shade;
        notify();
    }
}

void ResultGrid::setTag(int row, quint64 tag)
{
    if (valid(row))
        rows_[size_t(row)].tag = tag;
}

void ResultGrid::clearRow(int row)
{
    if (valid(row)) {
        rows_[size_t(row)] = Row();
        notify();
    }
}

void ResultGrid::reset(const QStringList& titles)
{
    rows_.clear();
    rows_.resize(2);
    rowsUsed_ = 0;
    cols_ = int(titles.size());
    setTitles(titles);
}

int ResultGrid::addRow(const QStringList& cells, const QString& path)
{
    const int r = rowsUsed_ + 1;
    if (r >= rowCount())
        rows_.resize(rows_.size() + kGrowBy);
    rowsUsed_ = r;
    setRow(r, cells, path);
    return r;
}

void ResultGrid::fitRowCount()
{
    setRowCount(std::max(rowsUsed_ + 1, 2));
}

void ResultGrid::removeRow(int row)
{
    if (row < 1 || row >= rowCount())
        return;
    rows_.erase(rows_.begin() + row);
    notify();
}

void ResultGrid::permuteRows(int first, const std::vector<int>& order)
{
    const size_t n = order.size();
    if (n == 0)
        return;
    if (first < 0 || size_t(first) + n > rows_.size())
        throw std::out_of_range("permuteRows: block outside the grid");
    std::vector<bool> seen(n, false);
    for (int from : order) {
        const long k = long(from) - first;
        if (k < 0 || size_t(k) >= n || seen[size_t(k)])
            throw std::invalid_argument("permuteRows: not a permutation");
        seen[size_t(k)] = true;
    }
    std::vector<Row> old(std::make_move_iterator(rows_.begin() + first),
                         std::make_move_iterator(rows_.begin() + first + long(n)));
    for (size_t k = 0; k < n; ++k)
        rows_[size_t(first) + k] = std::move(old[size_t(order[k] - first)]);
    notify();
}

size_t ResultGrid::memoryBytes() const
{
    // A heap string costs its header, its characters and the allocator's
    // own bookkeeping (about 16 bytes on glibc).
    size_t bytes = sizeof(*this) + rows_.capacity() * sizeof(Row);
    for (const Row& r : rows_)
        if (!r.data.isNull())
            bytes += 16 + 16 + size_t(r.data.capacity()) * sizeof(QChar);
    return bytes;
}

size_t ResultGrid::textBytes() const
{
    size_t bytes = 0;
    Views v;
    for (const Row& r : rows_) {
        decode(r.data, v);
        for (QStringView s : v)
            bytes += size_t(s.size()) * sizeof(QChar);
    }
    return bytes;
}

}  // namespace comp

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
//
// A path that the row's cells already spell out is not stored again: the
// path is one of the cells (a file hog's file name), or a folder cell and a
// name cell joined as a path joins them (a duplicate's folder and file name).
// The count is then written in two characters with bit 0x4000 of the first
// set (a plain count never reaches 2^30), then one character says which
// entries make the path (low byte the cell or folder, high byte the name, 0
// when the path is the first alone), and entry 0 has neither length nor
// characters. Whatever changes a row encodes it again, so a path follows no
// later change of a cell.

using Views = QVarLengthArray<QStringView, 16>;

constexpr char16_t kTwoChars = 0x8000;
constexpr char16_t kSharedPath = 0x4000;

void putNumber(QChar*& out, qsizetype n)
{
    if (n < 0x8000) {
        *out++ = QChar(char16_t(n));
    } else {
        *out++ = QChar(char16_t(kTwoChars | (n >> 16)));
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

// The start of a row's data: its entry count and, for a path made of cells,
// which cells; p is left at the first length.
struct Header {
    qsizetype count = 0;
    char16_t recipe = 0;  // 0: the path is stored
    qsizetype firstStored() const { return recipe ? 1 : 0; }
};

Header takeHeader(const QChar*& p)
{
    Header h;
    const char16_t c = p->unicode();
    if ((c & (kTwoChars | kSharedPath)) == (kTwoChars | kSharedPath)) {
        h.count = (qsizetype(c & 0x3FFF) << 16) | p[1].unicode();
        h.recipe = p[2].unicode();
        p += 3;
    } else {
        h.count = takeNumber(p);
    }
    return h;
}

// folder and name joined with one backslash, as paths are joined.
void joinPath(QStringView folder, QStringView name, QString& out)
{
    out.resize(0);
    out += folder;
    if (!folder.isEmpty() && !folder.endsWith(u'\\'))
        out += u'\\';
    out += name;
}

// The entries that spell out the path (entries[0]), or 0.
char16_t recipeFor(const Views& entries, qsizetype count)
{
    const QStringView path = entries[0];
    if (path.isEmpty() || count > 256)
        return 0;
    for (qsizetype a = 1; a < count; ++a)
        if (entries[a] == path)
            return char16_t(a);
    for (qsizetype a = 1; a < count; ++a) {
        const QStringView folder = entries[a];
        if (folder.isEmpty() || folder.size() >= path.size() || !path.startsWith(folder))
            continue;
        qsizetype at = folder.size();
        if (!folder.endsWith(u'\\')) {
            if (path[at] != u'\\')
                continue;
            ++at;
        }
        const QStringView name = path.mid(at);
        for (qsizetype b = 1; b < count; ++b)
            if (entries[b] == name)
                return char16_t(a | (b << 8));
    }
    return 0;
}

// The entries of a row; a path made of cells is built in pathBuffer.
void decode(const QString& data, Views& out, QString& pathBuffer)
{
    out.clear();
    if (data.isEmpty())
        return;
    const QChar* p = data.constData();
    const Header h = takeHeader(p);
    QVarLengthArray<qsizetype, 16> lengths;
    for (qsizetype i = h.firstStored(); i < h.count; ++i)
        lengths.append(takeNumber(p));
    if (h.recipe)
        out.append(QStringView());
    for (qsizetype len : lengths) {
        out.append(QStringView(p, len));
        p += len;
    }
    if (h.recipe) {
        const qsizetype a = h.recipe & 0xFF;
        const qsizetype b = h.recipe >> 8;
        if (b == 0)
            pathBuffer = out[a].toString();
        else
            joinPath(out[a], out[b], pathBuffer);
        out[0] = pathBuffer;
    }
}

QString encode(const Views& entries)
{
    qsizetype count = entries.size();
    while (count > 0 && entries[count - 1].isEmpty())
        --count;
    if (count == 0)
        return QString();
    const char16_t recipe = recipeFor(entries, count);
    const qsizetype first = recipe ? 1 : 0;
    qsizetype total = recipe ? 3 : numberSize(count);
    for (qsizetype i = first; i < count; ++i)
        total += numberSize(entries[i].size()) + entries[i].size();
    QString data(total, Qt::Uninitialized);
    QChar* out = data.data();
    if (recipe) {
        *out++ = QChar(char16_t(kTwoChars | kSharedPath | (count >> 16)));
        *out++ = QChar(char16_t(count & 0xFFFF));
        *out++ = QChar(recipe);
    } else {
        putNumber(out, count);
    }
    for (qsizetype i = first; i < count; ++i)
        putNumber(out, entries[i].size());
    for (qsizetype i = first; i < count; ++i) {
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
        QString path;
        for (Row& r : rows_) {
            decode(r.data, v, path);
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
    const Header h = takeHeader(p);
    if (entry >= h.count || entry < h.firstStored())
        return {};  // a path made of cells has no view of its own: see path()
    qsizetype start = 0, len = 0;
    for (qsizetype i = h.firstStored(); i < h.count; ++i) {
        const qsizetype n = takeNumber(p);
        if (i < entry)
            start += n;
        else if (i == entry)
            len = n;
    }
    return QStringView(p + start, len);
}

QString ResultGrid::path(int row) const
{
    if (!valid(row))
        return QString();
    const QString& data = rows_[size_t(row)].data;
    if (data.isEmpty())
        return QString();
    const QChar* p = data.constData();
    if (takeHeader(p).recipe == 0)
        return entryView(row, 0).toString();
    Views v;
    QString path;
    decode(data, v, path);
    return path;
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
    QString path;
    decode(r.data, v, path);
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

int ResultGrid::addRowViews(std::span<const QStringView> cells, QStringView path)
{
    const int r = rowsUsed_ + 1;
    if (r >= rowCount())
        rows_.resize(rows_.size() + kGrowBy);
    rowsUsed_ = r;
    Views v;
    v.append(path);
    for (int c = 0; c < cols_; ++c)
        v.append(size_t(c) < cells.size() ? cells[size_t(c)] : QStringView());
    rows_[size_t(r)].data = encode(v);
    notify();
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
    // The characters stored: a path made of cells is no extra text.
    size_t bytes = 0;
    for (const Row& r : rows_) {
        if (r.data.isEmpty())
            continue;
        const QChar* p = r.data.constData();
        const Header h = takeHeader(p);
        for (qsizetype i = h.firstStored(); i < h.count; ++i)
            bytes += size_t(takeNumber(p)) * sizeof(QChar);
    }
    return bytes;
}

}  // namespace comp

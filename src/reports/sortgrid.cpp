#include "reports/sortgrid.h"

#include "core/helpers.h"

#include <QDate>
#include <QLocale>

#include <charconv>
#include <cstring>
#include <stdexcept>
#include <string>
#include <string_view>
#include <unordered_map>

namespace reports {

namespace {

// ---------------------------------------------------------------------------
// Keys

// UTF-16 to UTF-8 with a to z upper-cased, appended to out. A lone
// surrogate becomes U+FFFD, as Qt's own conversion makes it.
void appendTextKey(std::string& out, QStringView cell)
{
    const qsizetype n = cell.size();
    const char16_t* s = cell.utf16();
    for (qsizetype i = 0; i < n; ++i) {
        char32_t c = s[i];
        if (c < 0x80) {
            out.push_back(char(c >= 'a' && c <= 'z' ? c - 32 : c));
            continue;
        }
        if (c >= 0xD800 && c <= 0xDFFF) {
            if (c <= 0xDBFF && i + 1 < n && s[i + 1] >= 0xDC00 && s[i + 1] <= 0xDFFF) {
                c = 0x10000 + ((c - 0xD800) << 10) + (s[i + 1] - 0xDC00);
                ++i;
            } else {
                c = 0xFFFD;
            }
        }
        if (c < 0x800) {
            out.push_back(char(0xC0 | (c >> 6)));
        } else if (c < 0x10000) {
            out.push_back(char(0xE0 | (c >> 12)));
            out.push_back(char(0x80 | ((c >> 6) & 0x3F)));
        } else {
            out.push_back(char(0xF0 | (c >> 18)));
            out.push_back(char(0x80 | ((c >> 12) & 0x3F)));
            out.push_back(char(0x80 | ((c >> 6) & 0x3F)));
        }
        out.push_back(char(0x80 | (c & 0x3F)));
    }
}

// buf is scratch space, handed in so that a million keys reuse one buffer.
long double numberKey(QStringView cell, char16_t point, std::string& buf)
{
    buf.clear();
    for (QChar ch : cell) {
        const char16_t c = ch.unicode();
        if (c >= '0' && c <= '9')
            buf.push_back(char(c));
        else if (c == point)
            buf.push_back('.');
    }
    const char* e = buf.data() + buf.size();
    long double x = 0;
    const auto [ptr, ec] = std::from_chars(buf.data(), e, x, std::chars_format::fixed);
    // The whole text must read as one number: "1.2.3" or "." is none.
    if (ec != std::errc() || ptr != e)
        return 0;
    return x;
}

qint64 dateKey(QStringView cell, const QLocale& locale, const QString& format)
{
    static const qint64 fallback = QDate(1900, 1, 1).toJulianDay();
    if (cell.isEmpty())
        return fallback;
    const QDate d = locale.toDate(cell.toString(), format);
    return d.isValid() ? d.toJulianDay() : fallback;
}

std::u16string_view u16(QStringView v)
{
    return std::u16string_view(v.utf16(), size_t(v.size()));
}

// ---------------------------------------------------------------------------
// The procedure, on positions 0 .. n-1 of an index array whose entries name
// keys. before(a, b): key a comes strictly before key b in the requested
// direction. Working on positions relative to the block's first row gives
// the same middle rows, since (first + last) div 2 - first = (last - first)
// div 2.

template <class Before>
void bubble(std::vector<int>& idx, int lo, int hi, Before before)
{
    bool swapped = true;
    while (swapped) {
        swapped = false;
        for (int r = lo; r < hi; ++r) {
            if (before(idx[size_t(r + 1)], idx[size_t(r)])) {
                std::swap(idx[size_t(r)], idx[size_t(r + 1)]);
                swapped = true;
            }
        }
    }
}

template <class Before>
void partition(std::vector<int>& idx, int lo, int hi, int& i, int& j, Before before)
{
    const int pivot = idx[size_t((lo + hi) / 2)];
    i = lo;
    j = hi;
    while (i <= j) {
        // The bounds tests never decide anything with a proper order (the
        // pivot's own key stops both scans); they only guard the memory.
        while (i <= hi && before(idx[size_t(i)], pivot))
            ++i;
        while (j >= lo && before(pivot, idx[size_t(j)]))
            --j;
        if (i <= j) {
            std::swap(idx[size_t(i)], idx[size_t(j)]);
            ++i;
            --j;
        }
    }
}

// Whether each key comes strictly before the next: then the procedure,
// whatever its steps, can only give the order the keys already have.
template <class Before>
bool strictlyInOrder(const std::vector<int>& idx, Before before)
{
    for (size_t k = 1; k < idx.size(); ++k)
        if (!before(idx[k - 1], idx[k]))
            return false;
    return true;
}

// Sorts the whole array. The block lo..j is sorted completely before the
// block i..hi, as a recursion would do it; the explicit stack only keeps a
// long or adversarial run from exhausting the call stack.
template <class Before>
void runProcedure(std::vector<int>& idx, bool bubbleSmallBlocks, Before before)
{
    if (strictlyInOrder(idx, before))
        return;
    struct Block {
        int lo, hi;
    };
    std::vector<Block> pending;
    pending.push_back({0, int(idx.size()) - 1});
    while (!pending.empty()) {
        const Block b = pending.back();
        pending.pop_back();
        if (bubbleSmallBlocks && b.hi - b.lo < 5) {
            bubble(idx, b.lo, b.hi, before);
            continue;
        }
        if (b.lo >= b.hi)
            continue;
        int i = 0, j = 0;
        partition(idx, b.lo, b.hi, i, j, before);
        pending.push_back({i, b.hi});
        pending.push_back({b.lo, j});
    }
}

template <class Key>
auto beforeOf(const std::vector<Key>& keys, bool descending)
{
    return [&keys, descending](int a, int b) {
        return descending ? keys[size_t(a)] > keys[size_t(b)] : keys[size_t(a)] < keys[size_t(b)];
    };
}

std::vector<int> textOrder(const comp::ResultGrid& grid, int first, int n, bool descending, int column)
{
    // All keys in one buffer: a million rows would otherwise be a million
    // small allocations.
    std::string pool;
    std::vector<size_t> start(static_cast<size_t>(n) + 1);
    for (int k = 0; k < n; ++k) {
        start[size_t(k)] = pool.size();
        appendTextKey(pool, grid.cellView(first + k, column));
    }
    start[size_t(n)] = pool.size();
    const char* base = pool.data();
    auto compare = [&](int a, int b) {
        const size_t la = start[size_t(a) + 1] - start[size_t(a)];
        const size_t lb = start[size_t(b) + 1] - start[size_t(b)];
        const int c = std::memcmp(base + start[size_t(a)], base + start[size_t(b)], std::min(la, lb));
        return c != 0 ? c : (la < lb ? -1 : la > lb ? 1 : 0);
    };
    std::vector<int> idx(static_cast<size_t>(n));
    for (int k = 0; k < n; ++k)
        idx[size_t(k)] = k;
    if (descending)
        runProcedure(idx, true, [&](int a, int b) { return compare(a, b) > 0; });
    else
        runProcedure(idx, true, [&](int a, int b) { return compare(a, b) < 0; });
    return idx;
}

std::vector<int> numberOrder(const comp::ResultGrid& grid, int first, int n, bool descending, int column)
{
    const QString point = QLocale().decimalPoint();
    const char16_t p = point.isEmpty() ? u'.' : point.at(0).unicode();
    std::vector<long double> keys(static_cast<size_t>(n));
    std::string buf;
    for (int k = 0; k < n; ++k)
        keys[size_t(k)] = numberKey(grid.cellView(first + k, column), p, buf);
    return NumberKeyOrder(keys, descending);
}

std::vector<int> dateOrder(const comp::ResultGrid& grid, int first, int n, bool descending, int column)
{
    const QLocale locale;
    const QString format = core::ShortDateFormat();
    // A listing has far fewer distinct dates than rows, and reading a date
    // is the slow part; the views point into the grid, which holds still.
    std::unordered_map<std::u16string_view, qint64> seen;
    std::vector<qint64> keys(static_cast<size_t>(n));
    for (int k = 0; k < n; ++k) {
        const QStringView cell = grid.cellView(first + k, column);
        auto [it, fresh] = seen.try_emplace(u16(cell), 0);
        if (fresh)
            it->second = dateKey(cell, locale, format);
        keys[size_t(k)] = it->second;
    }
    std::vector<int> idx(static_cast<size_t>(n));
    for (int k = 0; k < n; ++k)
        idx[size_t(k)] = k;
    runProcedure(idx, false, beforeOf(keys, descending));
    return idx;
}

}  // namespace

// ---------------------------------------------------------------------------

QByteArray TextSortKey(QStringView cell)
{
    std::string s;
    appendTextKey(s, cell);
    return QByteArray(s.data(), qsizetype(s.size()));
}

long double NumberSortKey(QStringView cell, QChar decimalPoint)
{
    std::string buf;
    return numberKey(cell, decimalPoint.unicode(), buf);
}

long double NumberSortKey(QStringView cell)
{
    const QString point = QLocale().decimalPoint();
    return NumberSortKey(cell, point.isEmpty() ? QChar(u'.') : point.at(0));
}

qint64 DateSortKey(QStringView cell, const QString& format)
{
    return dateKey(cell, QLocale(), format);
}

qint64 DateSortKey(QStringView cell)
{
    return DateSortKey(cell, core::ShortDateFormat());
}

std::vector<int> SortOrder(const comp::ResultGrid& grid, int first, int last, bool descending, int column,
                           SortKind kind)
{
    if (first > last)
        return {};
    if (first < 0 || last >= grid.rowCount())
        throw std::out_of_range("Range check error");
    const int n = last - first + 1;
    std::vector<int> idx;
    switch (kind) {
    case SortKind::Text:
        idx = textOrder(grid, first, n, descending, column);
        break;
    case SortKind::Number:
        idx = numberOrder(grid, first, n, descending, column);
        break;
    case SortKind::Date:
        idx = dateOrder(grid, first, n, descending, column);
        break;
    }
    for (int& k : idx)
        k += first;
    return idx;
}

bool GroupedDigitsReadAsValue(QStringView separator, QChar decimalPoint)
{
    for (QChar c : separator)
        if ((c >= u'0' && c <= u'9') || c == decimalPoint)
            return false;
    return true;
}

void SortGridByNumberKeys(comp::ResultGrid& grid, int first, int last, bool descending, const NumberKeyOfRow& key)
{
    if (first > last)
        return;
    if (first < 0 || last >= grid.rowCount())
        throw std::out_of_range("Range check error");
    std::vector<long double> keys(size_t(last - first + 1));
    for (size_t k = 0; k < keys.size(); ++k)
        keys[k] = key(first + int(k));
    std::vector<int> order = NumberKeyOrder(keys, descending);
    bool moves = false;
    for (size_t k = 0; k < order.size(); ++k) {
        order[k] += first;
        moves = moves || order[k] != first + int(k);
    }
    if (moves)
        grid.permuteRows(first, order);
}

std::vector<int> NumberKeyOrder(const std::vector<long double>& keys, bool descending)
{
    std::vector<int> idx(keys.size());
    for (size_t k = 0; k < idx.size(); ++k)
        idx[k] = int(k);
    runProcedure(idx, false, beforeOf(keys, descending));
    return idx;
}

void SortGrid(comp::ResultGrid& grid, int first, int last, bool descending, int column, SortKind kind)
{
    const std::vector<int> order = SortOrder(grid, first, last, descending, column, kind);
    // Rows that stay where they are need not move.
    bool moves = false;
    for (size_t k = 0; k < order.size() && !moves; ++k)
        moves = order[k] != first + int(k);
    if (moves)
        grid.permuteRows(first, order);
}

void SortGridByText(comp::ResultGrid& grid, int first, int last, bool descending, int column)
{
    SortGrid(grid, first, last, descending, column, SortKind::Text);
}

void SortGridByNumber(comp::ResultGrid& grid, int first, int last, bool descending, int column)
{
    SortGrid(grid, first, last, descending, column, SortKind::Number);
}

void SortGridByDate(comp::ResultGrid& grid, int first, int last, bool descending, int column)
{
    SortGrid(grid, first, last, descending, column, SortKind::Date);
}

}  // namespace reports

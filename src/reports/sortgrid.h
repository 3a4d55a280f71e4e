#pragma once
// Sorting a block of rows of a result grid by one column, read as text, as a
// number or as a date. Every result window sorts through here, and the order
// in which rows with equal keys come out is part of what the user sees, so
// the procedure is fixed: a quicksort that partitions around the key of the
// middle row, and for text, bubble passes over blocks of at most 5 rows.
//
// Keys are pure functions of the cell text, so each row's key is computed
// once and the procedure runs on an index array; the rows, with their
// marks, shades, paths and tags, then move once into the order found.

#include "components/resultgrid.h"

#include <QByteArray>
#include <QChar>
#include <QString>
#include <QStringView>
#include <QtGlobal>

#include <functional>
#include <vector>

namespace reports {

enum class SortKind { Text, Number, Date };

// Rows first to last end up in ascending (or descending) order of the
// column's keys; every other row stays as it was. A block of one row or
// none changes nothing. A block that reaches outside the grid throws
// std::out_of_range before any row moves. A column outside the grid reads
// as empty cells.
void SortGridByText(comp::ResultGrid& grid, int first, int last, bool descending, int column);
void SortGridByNumber(comp::ResultGrid& grid, int first, int last, bool descending, int column);
void SortGridByDate(comp::ResultGrid& grid, int first, int last, bool descending, int column);
void SortGrid(comp::ResultGrid& grid, int first, int last, bool descending, int column, SortKind kind);
// The key of a row's cell, from where the caller keeps it, when reading the
// text back would cost more; it must be what NumberSortKey gives the cell.
using NumberKeyOfRow = std::function<long double(int row)>;
// The number sort with such keys.
void SortGridByNumberKeys(comp::ResultGrid& grid, int first, int last, bool descending, const NumberKeyOfRow& key);

// The order a sort would give, without moving anything: element k is the
// row that the sort puts at row first + k.
std::vector<int> SortOrder(const comp::ResultGrid& grid, int first, int last, bool descending, int column,
                           SortKind kind);

// Text key: the cell's UTF-8 bytes with a to z made upper case; keys compare
// byte by byte as unsigned values, a key that begins another comes first.
QByteArray TextSortKey(QStringView cell);
// Number key: only the digits 0 to 9 and the decimal point kept, then read
// as a number; 0 when that fails (an empty cell, say). So "1,234 KB" is
// 1234 and "-7" is 7.
long double NumberSortKey(QStringView cell, QChar decimalPoint);
long double NumberSortKey(QStringView cell);  // with the user's decimal point
// Date key: the cell read in the program's short date format, as a Julian
// day number; 1 January 1900 when the cell is empty or no date.
qint64 DateSortKey(QStringView cell, const QString& format);
qint64 DateSortKey(QStringView cell);  // with the program's short date format

// Whether NumberSortKey reads a whole number written in digits 0 to 9,
// grouped with this separator, as the number itself: true unless the
// separator holds a digit or the decimal point.
bool GroupedDigitsReadAsValue(QStringView separator, QChar decimalPoint);

// The order the number sort gives rows with these keys (key k being the key
// of the block's row k): element k is the key that goes to place k. For a
// search that writes its rows in sorted order straight away.
std::vector<int> NumberKeyOrder(const std::vector<long double>& keys, bool descending);

}  // namespace reports

#pragma once
// The marks of a result window and their bookkeeping, shared by the windows
// that let the user mark files for the deletion panel. The mark itself
// travels with its grid row; the book keeps the marked list (the rows' real
// paths in the order they were marked, compared with their case), the
// marked count and the marked bytes. A mark counts a file that exists when
// it is marked, looked up by the row's real path, with the size it has then;
// unmarking takes back exactly what the mark added, whatever has become of
// the file since.
//
// Duplicate groups are runs of data rows with one shade; the book can mark
// all but one copy of each, and tell how many groups are marked whole.

#include "components/resultgrid.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <QtGlobal>

#include <functional>
#include <vector>

namespace finders {

// A group of duplicates: grid rows first to last, all of one shade. Rows
// without a shade belong to no group.
struct RowGroup {
    int first = 0;
    int last = 0;
    bool operator==(const RowGroup&) const = default;
};
// The groups among the rows the search wrote, in grid order.
std::vector<RowGroup> ShadeGroups(const comp::ResultGrid& grid);
// How many groups have every row marked: handing those over would leave no
// copy of them.
int FullyMarkedGroups(const comp::ResultGrid& grid);
// The question asked before such a hand-over.
QString AllCopiesQuestion(int groups);

// Modification times as the grid shows them (a date cell and a time cell),
// as keys that order them: seconds on the Julian day count. A date that cannot
// be read counts as that day, a time that cannot be read as midnight, as the
// date sort has it. Texts already read are remembered, so a million rows
// cost a few thousand parses.
class ModifiedKeyReader {
public:
    ModifiedKeyReader();
    qint64 key(QStringView date, QStringView time);

private:
    // A time text read by its digits, in the order the time format puts
    // hours, minutes and seconds, and the locale's PM text: a general
    // parser costs tens of microseconds a time, too much for a million.
    int seconds(QStringView time) const;

    QHash<QString, qint64> days_;
    QHash<QString, int> seconds_;
    QString dateFormat_;
    QString fieldOrder_;  // "hms" for "h:mm:ss AP"
    bool twelveHours_ = false;
    QString am_, pm_;
};

enum class KeepCopy { Oldest, Newest };

class MarkBook {
public:
    // Toggles the mark of a data row. Rows 0 and below, and rows beyond
    // those the search wrote, are left alone (false).
    bool toggle(comp::ResultGrid& grid, int row);
    // Nothing marked: count and bytes 0, empty list, every row unmarked.
    void clear(comp::ResultGrid& grid);
    // Only the book, for a grid that was replaced.
    void clear();
    // Clears, then toggles every row from 1 to the last.
    void markAll(comp::ResultGrid& grid);
    // Clears, then marks every row of every group but one: the oldest or the
    // newest by modified(row), the first in grid order among equals. Rows
    // outside groups stay unmarked.
    void markAllButOne(comp::ResultGrid& grid, KeepCopy keep, const std::function<qint64(int row)>& modified);

    qint32 count() const { return count_; }
    double bytes() const { return bytes_; }
    const QStringList& list() const { return list_; }
    // "%d files %s bytes", the bytes grouped.
    QString statusText() const;

private:
    qint32 count_ = 0;
    double bytes_ = 0;
    QStringList list_;
    // Beside each entry of list_: the bytes its mark added, or -1 when the
    // mark counted nothing (no file stood at the path).
    QList<double> added_;
};

}  // namespace finders

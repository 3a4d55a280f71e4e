#pragma once
// The marks of a result window and their bookkeeping, shared by the windows
// that let the user mark files for the deletion panel. The mark itself
// travels with its grid row; the book keeps the marked list (the rows' real
// paths in the order they were marked, compared with their case), the
// marked count and the marked bytes. Count and bytes follow only the files
// that exist when they are marked or unmarked, looked up by the row's real
// path.

#include "components/resultgrid.h"

#include <QString>
#include <QStringList>
#include <QtGlobal>

namespace finders {

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

    qint32 count() const { return count_; }
    double bytes() const { return bytes_; }
    const QStringList& list() const { return list_; }
    // "%d files %s bytes", the bytes grouped.
    QString statusText() const;

private:
    qint32 count_ = 0;
    double bytes_ = 0;
    QStringList list_;
};

}  // namespace finders

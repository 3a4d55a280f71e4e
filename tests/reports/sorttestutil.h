#pragma once
// Grids for the sort tests: one column of values under a title, each row
// carrying its first row number as path ("P<n>") and tag, so a test can
// tell where every row went.

#include "components/resultgrid.h"

#include <QLocale>
#include <QString>
#include <QStringList>

#include <vector>

namespace sorttest {

inline comp::ResultGrid columnGrid(const QStringList& values, int columns = 1, int column = 0)
{
    comp::ResultGrid g(columns, int(values.size()) + 1);
    QStringList titles;
    for (int c = 0; c < columns; ++c)
        titles << QStringLiteral("T%1").arg(c);
    g.setTitles(titles);
    for (int r = 1; r <= values.size(); ++r) {
        QStringList cells;
        for (int c = 0; c < columns; ++c)
            cells << (c == column ? values[r - 1] : QStringLiteral("c%1r%2").arg(c).arg(r));
        g.setRow(r, cells, QStringLiteral("P%1").arg(r));
        g.setTag(r, quint64(r));
    }
    return g;
}

inline QStringList columnOf(const comp::ResultGrid& g, int column = 0)
{
    QStringList out;
    for (int r = 1; r < g.rowCount(); ++r)
        out << g.cell(r, column);
    return out;
}

inline std::vector<int> tagsOf(const comp::ResultGrid& g)
{
    std::vector<int> out;
    for (int r = 1; r < g.rowCount(); ++r)
        out.push_back(int(g.tag(r)));
    return out;
}

// A fixed locale for number keys: "." decimal point, "," groups.
class LocaleScope {
public:
    explicit LocaleScope(const QLocale& l) : saved_(QLocale()) { QLocale::setDefault(l); }
    ~LocaleScope() { QLocale::setDefault(saved_); }

private:
    QLocale saved_;
};

}  // namespace sorttest

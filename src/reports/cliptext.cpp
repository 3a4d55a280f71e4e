#include "reports/cliptext.h"

namespace reports {

namespace {

void appendLine(QString& out, const QString& line)
{
    if (line.isEmpty())
        return;
    out += line;
    out += QLatin1String("\r\n");
}

}  // namespace

QString FileNamesText(const comp::ResultGrid& grid)
{
    QString out;
    for (int r = 1; r < grid.rowCount(); ++r)
        appendLine(out, grid.path(r));
    return out;
}

QString TabbedGridText(const comp::ResultGrid& grid)
{
    QString out;
    for (int r = 0; r < grid.rowCount(); ++r)
        appendLine(out, grid.rowCells(r).join(u'\t'));
    return out;
}

}  // namespace reports

#pragma once
// A grid saved as comma-separated text: one line per row, the title row
// first. A cell holding a comma, a quote or a line break is put in quotes,
// its quotes doubled, so that any spreadsheet reads the cells back as they
// were.

#include "components/resultgrid.h"

#include <QString>
#include <QStringList>

namespace reports {

QString CsvCell(const QString& text);
// Every row of the grid, titles first, without line ends.
QStringList GridCsvLines(const comp::ResultGrid& grid);
// Writes the lines to drivePath (each ended by CR LF), replacing the file
// only when all of it was written. False with the reason in error otherwise;
// the caller reports it.
bool SaveGridAsCsv(const comp::ResultGrid& grid, const QString& drivePath, QString* error = nullptr);

}  // namespace reports

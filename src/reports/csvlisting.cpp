#include "reports/csvlisting.h"

#include "platform/drives.h"

#include <QFile>
#include <QSaveFile>

namespace reports {

QString CsvCell(const QString& text)
{
    static const QString special = QStringLiteral(",\"\r\n");
    bool quote = false;
    for (QChar c : text)
        if (special.contains(c)) {
            quote = true;
            break;
        }
    if (!quote)
        return text;
    QString quoted = text;
    quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

QStringList GridCsvLines(const comp::ResultGrid& grid)
{
    QStringList lines;
    for (int r = 0; r < grid.rowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < grid.colCount(); ++c)
            cells << CsvCell(grid.cell(r, c));
        lines << cells.join(QLatin1Char(','));
    }
    return lines;
}

bool SaveGridAsCsv(const comp::ResultGrid& grid, const QString& drivePath, QString* error)
{
    const auto posix = plat::toPosix(drivePath);
    if (!posix) {
        if (error)
            *error = QStringLiteral("The path is not on any drive.");
        return false;
    }
    QSaveFile file(QFile::decodeName(*posix));
    if (file.open(QIODevice::WriteOnly)) {
        for (const QString& line : GridCsvLines(grid))
            if (file.write(line.toUtf8() + "\r\n") < 0)
                break;
        if (file.error() == QFileDevice::NoError && file.commit())
            return true;
    }
    if (error)
        *error = file.errorString();
    file.cancelWriting();
    return false;
}

}  // namespace reports

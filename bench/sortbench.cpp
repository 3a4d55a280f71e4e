// Times the grid sorts on a million file-hog style rows: by name (text),
// by size (number) and by date, each ascending from a shuffled grid and
// then descending from the sorted one. Prints seconds.
//
//   sortbench [rows]
#include "core/helpers.h"
#include "reports/sortgrid.h"

#include <QCoreApplication>
#include <QDate>
#include <QElapsedTimer>
#include <QLocale>
#include <QRandomGenerator>

#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int n = argc > 1 ? std::max(1, atoi(argv[1])) : 1000000;

    QElapsedTimer fill;
    fill.start();
    QRandomGenerator rng(2024);
    const QString format = core::ShortDateFormat();
    comp::ResultGrid grid;
    grid.reset({"Size", "Modified", "Time", "Access", "FileName", "Type"});
    for (int k = 0; k < n; ++k) {
        const QString path = QStringLiteral("C:\\home\\user\\folder%1\\file%2.dat")
                                 .arg(rng.bounded(2000))
                                 .arg(rng.bounded(1000000));
        const QDate d = QDate(1998, 1, 1).addDays(rng.bounded(9000));
        grid.addRow({core::FormatGrouped(rng.bounded(100000000)), QLocale().toString(d, format),
                     QStringLiteral("12:00:00"), QLocale().toString(d, format), path, QStringLiteral("Data file")},
                    path);
    }
    grid.fitRowCount();
    std::printf("rows %d, filled in %.2f s\n", n, fill.elapsed() / 1000.0);

    struct Run {
        const char* name;
        reports::SortKind kind;
        int column;
    };
    const Run runs[] = {{"text (FileName)", reports::SortKind::Text, 4},
                        {"number (Size)", reports::SortKind::Number, 0},
                        {"date (Modified)", reports::SortKind::Date, 1}};
    for (const Run& run : runs) {
        for (bool descending : {false, true}) {
            QElapsedTimer t;
            t.start();
            reports::SortGrid(grid, 1, grid.rowCount() - 1, descending, run.column, run.kind);
            std::printf("%-16s %-10s %.3f s\n", run.name, descending ? "descending" : "ascending",
                        t.nsecsElapsed() / 1e9);
        }
        // Back to a shuffled order, so every kind starts alike.
        reports::SortGrid(grid, 1, grid.rowCount() - 1, false, 4, reports::SortKind::Text);
    }
    return 0;
}

// Times what a result grid costs beyond its rows on a million file-hog
// style rows: the view measuring its size, date and time columns (all rows
// at once, and in steps as a search adds them), and marking all but the
// oldest copy of each group of two. Prints seconds. Run it offscreen:
//
//   QT_QPA_PLATFORM=offscreen gridfitbench [rows]
#include "components/resultgridview.h"
#include "core/helpers.h"
#include "finders/markbook.h"

#include <QApplication>
#include <QDate>
#include <QElapsedTimer>
#include <QLocale>
#include <QRandomGenerator>

#include <cstdio>

namespace {

void fill(comp::ResultGrid& grid, int n, int step, comp::ResultGridView* view)
{
    QRandomGenerator rng(2024);
    const QString format = core::ShortDateFormat();
    grid.reset({"Size", "Modified", "Time", "Access", "FileName", "Type"});
    for (int k = 0; k < n; ++k) {
        const QString path = QStringLiteral("C:\\home\\user\\folder%1\\file%2.dat").arg(k / 2).arg(k % 2);
        const QDate d = QDate(1998, 1, 1).addDays(rng.bounded(9000));
        const int row = grid.addRow({core::FormatGrouped(rng.bounded(Q_INT64_C(1000000000000))),
                                     QLocale().toString(d, format),
                                     QLocale().toString(QTime(0, 0).addSecs(rng.bounded(86400)), core::LongTimeFormat()),
                                     QLocale().toString(d, format), path, QStringLiteral("Data file")},
                                    path);
        grid.setShade(row, (k / 2) % 2 ? comp::ResultGrid::ShadeB : comp::ResultGrid::ShadeA);
        if (view && (k + 1) % step == 0)
            view->sync();
    }
    grid.fitRowCount();
}

}  // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const int n = argc > 1 ? std::max(1, atoi(argv[1])) : 1000000;
    using Kind = comp::ResultGridView::ColumnKind;
    auto configure = [](comp::ResultGridView& view) {
        view.setColumnKind(0, Kind::Number);
        view.setColumnKind(1, Kind::Date);
        view.setColumnKind(2, Kind::Time);
        view.setColumnKind(3, Kind::Date);
    };

    comp::ResultGrid grid;
    QElapsedTimer t;
    t.start();
    fill(grid, n, n, nullptr);
    std::printf("rows %d, filled in %.2f s\n", n, t.elapsed() / 1000.0);

    comp::ResultGridView whole;
    configure(whole);
    t.restart();
    whole.setGrid(&grid);
    std::printf("measured all rows at once in %.2f s (size column %d px)\n", t.elapsed() / 1000.0,
                whole.neededWidth(0));

    comp::ResultGrid grown;
    comp::ResultGridView steps;
    configure(steps);
    steps.setGrid(&grown);
    t.restart();
    fill(grown, n, 10000, &steps);
    steps.sync();
    const double withView = t.elapsed() / 1000.0;
    std::printf("filled with the view catching up every 10,000 rows in %.2f s\n", withView);

    finders::MarkBook book;
    finders::ModifiedKeyReader reader;
    t.restart();
    book.markAllButOne(grid, finders::KeepCopy::Oldest,
                       [&](int row) { return reader.key(grid.cellView(row, 1), grid.cellView(row, 2)); });
    std::printf("marked all but the oldest of %d groups in %.2f s (%d marked)\n", n / 2, t.elapsed() / 1000.0,
                grid.markedCount());

    // The parts of that: reading the times, and "Mark all" (one look-up of
    // the file per row) for comparison.
    finders::ModifiedKeyReader fresh;
    qint64 sum = 0;
    t.restart();
    for (int r = 1; r <= n; ++r)
        sum += fresh.key(grid.cellView(r, 1), grid.cellView(r, 2)) & 1;
    std::printf("read %d modification times in %.2f s (%lld)\n", n, t.elapsed() / 1000.0, (long long)sum);
    t.restart();
    book.markAll(grid);
    std::printf("marked all %d rows in %.2f s\n", grid.markedCount(), t.elapsed() / 1000.0);
    return 0;
}

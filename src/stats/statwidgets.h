#pragma once
// Small pieces the statistics pages share: the read-only listing grids, the
// chart/listing radio buttons, the little information buttons, the palette
// and the chart bars made from the pages' contents.

#include "components/barchart.h"
#include "components/resultgrid.h"
#include "stats/statpages.h"

#include <QColor>
#include <QRadioButton>
#include <QString>

#include <vector>

class QToolButton;

namespace comp {
class ResultGridView;
}

namespace stats {

// The chart colour of a palette index (1..12), or of an 0xRRGGBB value.
QColor PaletteColor(int index);
QColor RgbColor(quint32 rgb);

// A listing grid: one header row, no cell can be selected, the first column
// left-aligned and the others right-aligned.
comp::ResultGridView* MakeListingGrid(QWidget* parent, const QString& name);
// Puts a page's table into a grid: the titles, then each row's cells with
// digit groups. Each grid row's tag is its row in the table.
void FillGrid(comp::ResultGrid& grid, const StatGrid& table);

QRadioButton* MakeRadio(QWidget* parent, const QString& name, const QString& caption, int x, int y, int w = 190);
// The small "?" button that shows a page's note.
QToolButton* MakeInfoButton(QWidget* parent, const QString& name, int x, int y);

// Per-class bars with their shares as marks ("##0.# %"), each in its
// palette colour.
QList<comp::BarChart::ClassBar> ClassBars(const std::vector<ChartBar>& bars, int markDecimals = 1);
// The same bars, all in one colour, marked with their values as percent.
QList<comp::BarChart::ClassBar> PercentBars(const std::vector<ChartBar>& bars, const QColor& color,
                                            int markDecimals, bool groupedMarks);

}  // namespace stats

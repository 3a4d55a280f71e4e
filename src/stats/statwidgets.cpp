#include "stats/statwidgets.h"

#include "components/chartmarks.h"
#include "components/resultgridview.h"

#include <QToolButton>

namespace stats {

QColor RgbColor(quint32 rgb)
{
    return QColor(int((rgb >> 16) & 0xFF), int((rgb >> 8) & 0xFF), int(rgb & 0xFF));
}

QColor PaletteColor(int index)
{
    return RgbColor(PaletteColour(index));
}

comp::ResultGridView* MakeListingGrid(QWidget* parent, const QString& name)
{
    auto* grid = new comp::ResultGridView(parent);
    grid->setObjectName(name);
    // Nothing to select in a listing: no cell is ever highlighted.
    grid->setSelectionMode(QAbstractItemView::NoSelection);
    grid->setFocusPolicy(Qt::NoFocus);
    grid->setShadingEnabled(false);
    // The labels on the left, the numbers on the right; neither is ever
    // shown cut (the widest listing has seven columns).
    grid->setColumnKind(0, comp::ResultGridView::ColumnKind::Date);
    for (int c = 1; c < 7; ++c) {
        grid->setRightAligned(c, true);
        grid->setColumnKind(c, comp::ResultGridView::ColumnKind::Number);
    }
    return grid;
}

void FillGrid(comp::ResultGrid& grid, const StatGrid& table)
{
    const int columns = int(table.titles.size());
    grid.reset(table.titles);
    grid.setColCount(columns);
    grid.setRowCount(table.rowCount() + 1);
    for (int r = 0; r < table.rowCount(); ++r) {
        grid.setRowCells(r + 1, table.rowTexts(r, true));
        grid.setTag(r + 1, quint64(r));
    }
    grid.setRowsUsed(table.rowCount());
    if (grid.rowCount() < 2)
        grid.setRowCount(2);
}

QRadioButton* MakeRadio(QWidget* parent, const QString& name, const QString& caption, int x, int y, int w)
{
    auto* b = new QRadioButton(caption, parent);
    b->setObjectName(name);
    b->setGeometry(x, y, w, 22);
    return b;
}

QToolButton* MakeInfoButton(QWidget* parent, const QString& name, int x, int y)
{
    auto* b = new QToolButton(parent);
    b->setObjectName(name);
    b->setText(QStringLiteral("?"));
    QFont f = b->font();
    f.setBold(true);
    b->setFont(f);
    b->setGeometry(x, y, 24, 24);
    return b;
}

QList<comp::BarChart::ClassBar> ClassBars(const std::vector<ChartBar>& bars, int markDecimals)
{
    QList<comp::BarChart::ClassBar> out;
    for (const ChartBar& b : bars)
        out.append({b.label, b.value, PaletteColor(b.colour), comp::PercentMark(b.share, markDecimals)});
    return out;
}

QList<comp::BarChart::ClassBar> PercentBars(const std::vector<ChartBar>& bars, const QColor& color,
                                            int markDecimals, bool groupedMarks)
{
    QList<comp::BarChart::ClassBar> out;
    for (const ChartBar& b : bars)
        out.append({b.label, b.value, color, comp::PercentMark(b.value, markDecimals, groupedMarks)});
    return out;
}

}  // namespace stats

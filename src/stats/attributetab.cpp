#include "stats/attributetab.h"

#include "components/barchart.h"
#include "components/resultgridview.h"
#include "stats/statpages.h"
#include "stats/statwidgets.h"

#include <QHeaderView>
#include <QLabel>

namespace stats {

AttributeTab::AttributeTab(QWidget* parent) : QWidget(parent), table_(5, 5)
{
    FillGrid(table_, AttributeGrid(StatTotals()));
    gridAttr = MakeListingGrid(this, QStringLiteral("gridAttr"));
    gridAttr->setGrid(&table_);
    for (int c = 1; c < 5; ++c) {
        gridAttr->setRightAligned(c, true);
        gridAttr->setColumnKind(c, comp::ResultGridView::ColumnKind::Number);
    }
    gridAttr->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    gridAttr->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    const auto makeChart = [this](const char* name, const QString& title) {
        auto* c = new comp::BarChart(Qt::Horizontal, comp::BarChart::Layout::Stacked, this);
        c->setObjectName(QLatin1String(name));
        c->setTitle(title);
        c->setLegendVisible(false);
        c->setValueUnit(QStringLiteral("%"));
        return c;
    };
    Chart2 = makeChart("Chart2", QStringLiteral("% of total # files"));
    Chart3 = makeChart("Chart3", QStringLiteral("% of total size"));

    lblAttrNote = new QLabel(
        QStringLiteral("Note it is possible that some files may have more than one attribute set.  For example many "
                       "system files are also hidden."),
        this);
    lblAttrNote->setObjectName(QStringLiteral("lblAttrNote"));
    lblAttrNote->setWordWrap(true);
}

void AttributeTab::resizeEvent(QResizeEvent* e)
{
    QWidget::resizeEvent(e);
    const int rows = gridAttr->verticalHeader()->defaultSectionSize() * 4;
    const int header = gridAttr->horizontalHeader()->sizeHint().height();
    gridAttr->setGeometry(8, 8, width() - 16, header + rows + 4);
    // Every column within the page's width: no sideways scrolling.
    const int number = (gridAttr->width() - 2 * gridAttr->frameWidth() - 150) / 4;
    gridAttr->setColumnWidths({150, number, number, number, number});
    const int w = (width() - 24) / 2;
    const int top = gridAttr->geometry().bottom() + 8;
    const int h = height() - top - 48;
    Chart2->setGeometry(8, top, w, h);
    Chart3->setGeometry(16 + w, top, w, h);
    lblAttrNote->setGeometry(8, height() - 40, width() - 16, 34);
}

void AttributeTab::doFileAttrs(const StatTotals& totals)
{
    const StatGrid grid = AttributeGrid(totals);
    QStringList titles = grid.titles;
    FillGrid(table_, grid);
    // Shares are shown as shares.
    for (int r = 0; r < grid.rowCount(); ++r)
        for (int c = 0; c < int(grid.rows[size_t(r)].size()); ++c)
            if (grid.rows[size_t(r)][size_t(c)].kind == CellKind::Percent)
                table_.setCell(r + 1, c, table_.cell(r + 1, c) + QStringLiteral(" %"));
    gridAttr->fitColumns();
    // A chart without data is cleared, never left with earlier bars.
    const auto fill = [&](comp::BarChart* chart, bool bySize, const QColor& color) {
        const std::vector<ChartBar> bars = AttributeBars(totals, bySize);
        const bool any = (bySize ? totals.foundBytes() : totals.filesFound) > 0;
        if (any)
            chart->setClassBars(PercentBars(bars, color, 2, true));
        else
            chart->clear();
    };
    fill(Chart2, false, QColor(255, 0, 0));
    fill(Chart3, true, QColor(0, 0, 255));
}

}  // namespace stats

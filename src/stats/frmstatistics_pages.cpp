// TfrmStatistics: the refreshes of the result pages and printing.
#include "stats/frmstatistics.h"

#include "components/backgrounds.h"
#include "components/barchart.h"
#include "components/linechart.h"
#include "components/piechart.h"
#include "components/printpicture.h"
#include "components/resultgridview.h"
#include "core/helpers.h"
#include "core/prompter.h"
#include "reports/listings.h"
#include "stats/attributetab.h"
#include "stats/charttab.h"
#include "stats/deletedtab.h"
#include "stats/overhangtab.h"
#include "stats/statwidgets.h"
#include "stats/timetab.h"
#include "stats/typestab.h"

#include <QTabWidget>

namespace stats {

void TfrmStatistics::refreshPages()
{
    if (collector_.overhangEnabled())
        doOverHang();
    doFileTypes();
    doFileSizes();
    doFileAttrs();
    fillGridDates(DateKind::Access);
    fillGridDates(DateKind::Created);
    fillGridDates(DateKind::Modified);
    fillCombinedGridDates();
    doFileTimes();
    doFileAges();
    SortbyExtensionClick();
}

void TfrmStatistics::doOverHang()
{
    if (!overhangTab->doOverHang(collector_.totals()))
        setOverhangEnabled(false);
}

void TfrmStatistics::doFileTypes()
{
    typesTab->doFileTypes(collector_.types());
}

void TfrmStatistics::SortbyExtensionClick()
{
    typesTab->SortbyExtensionClick();
}

void TfrmStatistics::doFileSizes()
{
    FillGrid(sizesTab->table(), SizesGrid(collector_.totals()));
    sizesTab->grid->fitColumns();
    rgSizesClick();
}

void TfrmStatistics::rgSizesClick()
{
    sizesTab->showChosen();
    if (sizesTab->listing())
        return;
    const bool bySize = sizesTab->bySize();
    sizesTab->chart->setTitle(SizeChartTitle(bySize));
    sizesTab->chart->setValueUnit(bySize ? QStringLiteral("MB") : QString());
    sizesTab->chart->setClassBars(ClassBars(SizeBars(collector_.totals(), bySize)));
}

void TfrmStatistics::doFileAttrs()
{
    attributeTab->doFileAttrs(collector_.totals());
}

ChartTab* TfrmStatistics::dateTab(DateKind kind) const
{
    switch (kind) {
    case DateKind::Access:
        return accessTab;
    case DateKind::Created:
        return createTab;
    case DateKind::Modified:
        break;
    }
    return modifyTab;
}

void TfrmStatistics::fillGridDates(DateKind kind)
{
    ChartTab* tab = dateTab(kind);
    FillGrid(tab->table(), DateGrid(collector_.totals(), kind));
    tab->grid->fitColumns();
}

void TfrmStatistics::fillCombinedGridDates()
{
    FillGrid(combineTab->table(), CombinedGrid(collector_.totals()));
    combineTab->grid->fitColumns();
}

void TfrmStatistics::doFileTimes()
{
    timeTab->doFileTimes(collector_.totals());
}

void TfrmStatistics::doFileAges()
{
    const StatTotals& totals = collector_.totals();
    for (DateKind kind : {DateKind::Access, DateKind::Created, DateKind::Modified}) {
        ChartTab* tab = dateTab(kind);
        tab->showChosen();
        tab->chart->setTitle(DateChartTitle(kind, tab->bySize()));
        tab->chart->setValueUnit(tab->bySize() ? QStringLiteral("MB") : QString());
        tab->chart->setClassBars(ClassBars(DateBars(totals, kind, tab->bySize())));
    }
    // The three dates side by side per age, each in its one colour.
    combineTab->showChosen();
    const bool bySize = combineTab->bySize();
    QStringList buckets;
    QList<comp::BarChart::Set> sets;
    for (DateKind kind : {DateKind::Access, DateKind::Created, DateKind::Modified}) {
        comp::BarChart::Set set{CombinedSeriesName(kind), RgbColor(CombinedSeriesColour(kind)), {}};
        buckets.clear();
        for (const ChartBar& bar : DateBars(totals, kind, bySize)) {
            buckets << bar.label;
            set.values << bar.value;
        }
        sets << set;
    }
    combineTab->chart->setValueUnit(bySize ? QStringLiteral("MB") : QString());
    combineTab->chart->setBars(buckets, sets);
}

void TfrmStatistics::rgAccessClick(ChartTab* page)
{
    page->showChosen();
    if (!page->listing())
        doFileAges();
}

// ---- Printing -----------------------------------------------------------

bool TfrmStatistics::chartShown(int page, comp::ChartPanel*& chart) const
{
    chart = nullptr;
    switch (page) {
    case pgTypes:
        if (typesTab->pieShown())
            chart = typesTab->chartPie;
        return true;
    case pgSizes:
    case pgAccess:
    case pgCreated:
    case pgModified:
    case pgCombined: {
        ChartTab* tab = page == pgSizes      ? sizesTab
                        : page == pgAccess   ? accessTab
                        : page == pgCreated  ? createTab
                        : page == pgModified ? modifyTab
                                             : combineTab;
        if (!tab->listing())
            chart = tab->chart;
        return true;
    }
    case pgTime:
        chart = timeTab->Chart4;
        return true;
    default:
        return false;
    }
}

void TfrmStatistics::btPrintClick()
{
    const int page = OvcNotebook1->currentIndex();
    if (page > pgDeleted && pnlNotYet->isVisible())
        return;
    comp::ChartPanel* chart = nullptr;
    chartShown(page, chart);
    if (chart) {
        printChart(chart);
        return;
    }
    if (page == pgTypes) {
        const auto target = core::prompter().choosePrinter(QStringLiteral("Print"));
        if (!target)
            return;
        typesTab->setPrintTitle(QStringLiteral("File types for drive ") + collector_.currentEntry());
        reports::PrintGridListing(typesTab->typeGrid(), typesTab->gridTypes->columnWidths(),
                                  typesTab->printTitle(), *target);
        return;
    }
    printWindow();
}

void TfrmStatistics::printChart(comp::ChartPanel* chart)
{
    const auto target = core::prompter().choosePrinter(QStringLiteral("Print chart"));
    if (!target)
        return;
    if (!comp::PrintPicture(chart->picture(), *target, QStringLiteral("Trovik statistics chart")))
        core::ErrorBox(QString::fromLatin1(reports::kPrintErrorMessage));
}

void TfrmStatistics::printWindow()
{
    const auto target = core::prompter().choosePrinter(QStringLiteral("Print"));
    if (!target)
        return;
    // The window is printed on white, with black text whatever the theme,
    // then takes its own colours again.
    const QPalette saved = palette();
    QPalette white = saved;
    white.setColor(QPalette::Window, Qt::white);
    white.setColor(QPalette::WindowText, Qt::black);
    white.setColor(QPalette::Text, Qt::black);
    setPalette(white);
    const QPixmap picture = grab();
    setPalette(saved);
    if (!comp::PrintPicture(picture, *target, QStringLiteral("Trovik statistics")))
        core::ErrorBox(QString::fromLatin1(reports::kPrintErrorMessage));
}

}  // namespace stats

#include "stats/typestab.h"

#include "components/chartmarks.h"
#include "components/piechart.h"
#include "components/resultgridview.h"
#include "components/slotguard.h"
#include "reports/sortcommand.h"
#include "stats/statwidgets.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QGroupBox>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QResizeEvent>
#include <QScrollBar>

namespace stats {

namespace {

using comp::guarded;

const char* const kSortCaptions[5] = {"Sort by &Extension", "Sort by &Type", "Sort by &Size",
                                      "Sort by &Number of files", "Sort by &Average File Size"};
const char* const kSortNames[5] = {"SortbyExtension", "SortbyType", "SortbySize", "SortbyNumberoffiles",
                                   "SortbyAverageFileSize"};
constexpr int kSideWidth = 200;

}  // namespace

TypesTab::TypesTab(QWidget* parent) : QWidget(parent), grid_(5, 2)
{
    rgTypes = new QGroupBox(this);
    rgTypes->setObjectName(QStringLiteral("rgTypes"));
    rgTypes->setGeometry(8, 4, kSideWidth - 16, 136);
    const char* const captions[4] = {"Listing", "Pie by Size", "Pie by # Files", "Pie by Average Size"};
    const char* const names[4] = {"rbTypesListing", "rbTypesPieSize", "rbTypesPieFiles", "rbTypesPieAverage"};
    auto* group = new QButtonGroup(this);
    for (int i = 0; i < 4; ++i) {
        rbTypes[i] = MakeRadio(rgTypes, QLatin1String(names[i]), QLatin1String(captions[i]), 10, 12 + 30 * i, 160);
        group->addButton(rbTypes[i], i);
    }
    rbTypes[PieBySize]->setChecked(true);
    connect(group, &QButtonGroup::idClicked, this, guarded([this] { rgTypesClick(); }));

    mnuSort = new QMenu(this);
    mnuSort->setObjectName(QStringLiteral("mnuSort"));
    for (int i = 0; i < 5; ++i) {
        sortItems[i] = mnuSort->addAction(QLatin1String(kSortCaptions[i]));
        sortItems[i]->setObjectName(QLatin1String(kSortNames[i]));
        sortItems[i]->setCheckable(true);
        connect(sortItems[i], &QAction::triggered, this, guarded([this, i] { sortBy(i); }));
    }
    btSort = new QPushButton(QStringLiteral("&Sort"), this);
    btSort->setObjectName(QStringLiteral("btSort"));
    btSort->setGeometry(8, 150, 100, 28);
    btSort->setMenu(mnuSort);

    ScrollBar2 = new QScrollBar(Qt::Horizontal, this);
    ScrollBar2->setObjectName(QStringLiteral("ScrollBar2"));
    ScrollBar2->setRange(0, 360);
    ScrollBar2->setGeometry(8, 150, kSideWidth - 16, 18);
    ScrollBar2->setToolTip(QStringLiteral("Rotate the pie"));

    gridTypes = MakeListingGrid(this, QStringLiteral("gridTypes"));
    gridTypes->setGrid(&grid_);
    gridTypes->setSelectionMode(QAbstractItemView::SingleSelection);
    gridTypes->setSelectionBehavior(QAbstractItemView::SelectRows);
    for (int c = 2; c <= 4; ++c) {
        gridTypes->setRightAligned(c, true);
        gridTypes->setColumnKind(c, comp::ResultGridView::ColumnKind::Number);
    }
    gridTypes->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(gridTypes, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { mnuSort->popup(gridTypes->viewport()->mapToGlobal(at)); });

    chartPie = new comp::PieChart(this);
    chartPie->setObjectName(QStringLiteral("chartPie"));
    chartPie->setToolTip(QStringLiteral("Click on pie to toggle animation"));
    connect(chartPie, &comp::ChartPanel::clicked, this, [this] { emit pieClicked(); });
    connect(ScrollBar2, &QScrollBar::valueChanged, this, [this](int v) { chartPie->setRotation(v); });

    writeTitles();
    blank();
    setMode(PieBySize);
}

void TypesTab::resizeEvent(QResizeEvent* e)
{
    QWidget::resizeEvent(e);
    const QRect area(kSideWidth, 4, width() - kSideWidth - 4, height() - 8);
    gridTypes->setGeometry(area);
    chartPie->setGeometry(area);
    gridTypes->setColumnWidths({80, 219, 120, 75, 82});
}

TypesTab::Mode TypesTab::mode() const
{
    for (int i = 0; i < 4; ++i)
        if (rbTypes[i]->isChecked())
            return Mode(i);
    return PieBySize;
}

void TypesTab::setMode(Mode mode)
{
    rbTypes[mode]->setChecked(true);
    rgTypesClick();
}

void TypesTab::writeTitles()
{
    grid_.setTitles({QStringLiteral("Extension"), QStringLiteral("Type"), QStringLiteral("Size"),
                     QStringLiteral("# Files"), QStringLiteral("Avg File Size")});
}

void TypesTab::blank()
{
    for (int r = 1; r < grid_.rowCount(); ++r)
        grid_.clearRow(r);
    table_ = StatGrid();
    types_.clear();
}

void TypesTab::doFileTypes(const ExtensionTotals& types)
{
    types_ = types;
    table_ = TypesGrid(types_);
    const QStringList titles = grid_.titles();
    FillGrid(grid_, table_);
    grid_.setTitles(titles);
    gridTypes->setColumnWidths({80, 219, 120, 75, 82});
    rgTypesClick();
}

void TypesTab::rgTypesClick()
{
    const Mode m = mode();
    gridTypes->setVisible(m == Listing);
    btSort->setVisible(m == Listing);
    chartPie->setVisible(m != Listing);
    ScrollBar2->setVisible(m != Listing);
    if (m == Listing) {
        emit animationWanted(false);
        doTotals();
        return;
    }
    emit animationWanted(true);
    sortBy(m == PieBySize ? 2 : m == PieByFiles ? 3 : 4);
    fillPie();
}

void TypesTab::fillPie()
{
    const Mode m = mode();
    const TypePieMode pieMode = m == PieByFiles ? TypePieMode::ByFiles
                                : m == PieByAverage ? TypePieMode::ByAverage
                                                    : TypePieMode::BySize;
    QList<comp::PieInput> inputs;
    for (const ChartBar& slice : TypePieSlices(types_, pieMode))
        inputs.append({slice.label, slice.value, PaletteColor(slice.colour)});
    chartPie->setSlices(comp::PlanPie(inputs));
}

void TypesTab::doTotals()
{
    const int last = grid_.rowCount() - 1;
    if (table_.rowCount() == 0 || last < 1)
        return;
    grid_.setRowCells(last, table_.rowTexts(table_.rowCount() - 1, true));
    grid_.setTag(last, quint64(table_.rowCount() - 1));
}

void TypesTab::applyTicks()
{
    for (int i = 0; i < 5; ++i)
        sortItems[i]->setChecked(i == sortTick_);
}

void TypesTab::sortBy(int column)
{
    const reports::SortCommand* command =
        reports::FindSortCommand(u"TfrmStatistics", QString::fromLatin1(kSortCaptions[column]));
    if (!command || grid_.rowCount() < command->minRows) {
        applyTicks();  // a click on an item does not tick it by itself
        return;
    }
    // The keys come from the collected numbers: plain digits, whatever the
    // grid shows and however the locale groups them.
    comp::ResultGrid keys(grid_.colCount(), grid_.rowCount());
    for (int r = 1; r < grid_.rowCount(); ++r) {
        const int row = int(grid_.tag(r));
        if (row >= 0 && row < table_.rowCount())
            keys.setRowCells(r, table_.rowTexts(row, false));
        keys.setTag(r, quint64(r));
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool sorted = reports::RunSortCommand(keys, *command, reports::FlipRule::AfterSort, [this] {
        sortTick_ = -1;
        applyTicks();
    });
    if (!sorted) {
        QApplication::restoreOverrideCursor();
        applyTicks();
        return;
    }
    const int last = grid_.rowCount() - 1 - command->keepLast;
    std::vector<int> order;
    for (int r = 1; r <= last; ++r)
        order.push_back(int(keys.tag(r)));
    grid_.permuteRows(1, order);
    sortTick_ = column;
    applyTicks();
    QApplication::restoreOverrideCursor();
}

void TypesTab::spin(int degrees)
{
    chartPie->rotateBy(degrees);
    ScrollBar2->blockSignals(true);
    ScrollBar2->setValue(chartPie->rotation());
    ScrollBar2->blockSignals(false);
}

}  // namespace stats

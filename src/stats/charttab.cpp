#include "stats/charttab.h"

#include "components/resultgridview.h"
#include "stats/statwidgets.h"

#include <QButtonGroup>
#include <QRadioButton>
#include <QResizeEvent>
#include <QToolButton>

namespace stats {

namespace {
constexpr int kSideWidth = 200;
}

ChartTab::ChartTab(const QString& prefix, const QString& chartName, const QString& gridName,
                     const QString& infoName, comp::BarChart::Layout layout, QWidget* parent)
    : QWidget(parent), table_(3, 2)
{
    rbBySize = MakeRadio(this, prefix + QStringLiteral("BySize"), QStringLiteral("Chart by Size (in MB)"), 8, 12);
    rbByCount = MakeRadio(this, prefix + QStringLiteral("ByCount"), QStringLiteral("Chart by Number of Files"), 8, 38);
    rbListing = MakeRadio(this, prefix + QStringLiteral("Listing"), QStringLiteral("Listing"), 8, 64);
    rbBySize->setChecked(true);
    auto* group = new QButtonGroup(this);
    for (QRadioButton* b : {rbBySize, rbByCount, rbListing})
        group->addButton(b);
    connect(group, &QButtonGroup::buttonClicked, this, [this] { emit modeChosen(); });

    chart = new comp::BarChart(Qt::Horizontal, layout, this);
    chart->setObjectName(chartName);
    grid = MakeListingGrid(this, gridName);
    grid->setGrid(&table_);
    grid->hide();
    if (!infoName.isEmpty())
        info = MakeInfoButton(this, infoName, 8, 100);
}

bool ChartTab::bySize() const
{
    return rbBySize->isChecked();
}

bool ChartTab::listing() const
{
    return rbListing->isChecked();
}

void ChartTab::showChosen()
{
    placeGrid();
    grid->setVisible(listing());
    chart->setVisible(!listing());
}

void ChartTab::resizeEvent(QResizeEvent* e)
{
    QWidget::resizeEvent(e);
    const QRect area(kSideWidth, 4, width() - kSideWidth - 4, height() - 8);
    chart->setGeometry(area);
    placeGrid();
}

void ChartTab::placeGrid()
{
    // Three columns fit beside the buttons; a wider listing takes the
    // page's whole width below them, so that no column hides off the side.
    if (table_.colCount() > 3)
        grid->setGeometry(8, 136, width() - 12, height() - 140);
    else
        grid->setGeometry(kSideWidth, 4, width() - kSideWidth - 4, height() - 8);
}

}  // namespace stats

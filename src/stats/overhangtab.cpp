#include "stats/overhangtab.h"

#include "components/barchart.h"
#include "components/chartmarks.h"
#include "components/look.h"
#include "components/resultgridview.h"
#include "stats/statwidgets.h"
#include "stats/stattexts.h"

#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QTextEdit>

namespace stats {

namespace {

const QStringList kTitles = {QStringLiteral("FAT Partion size"), QStringLiteral("FAT 32 Size"),
                             QStringLiteral("Cluster size"), QStringLiteral("Percent wasted"),
                             QStringLiteral("Wasted space")};
const QStringList kPartition = {QStringLiteral("255 MB"), QStringLiteral("256 MB - 511 MB"),
                                QStringLiteral("512 MB - 1023 MB"), QStringLiteral("1 GB - 2 GB"),
                                QStringLiteral("2 GB - 4 GB")};
const QStringList kFat32 = {QStringLiteral("Less than 8GB"), QStringLiteral("Less than 16GB"),
                            QStringLiteral("Less than 32GB"), QStringLiteral("32GB or more"), QString()};
constexpr int kColumnPercent = 3;
constexpr int kColumnWasted = 4;

const QString kNote = QStringLiteral(
    "This page is an illustration of the amount of disk space wasted due to 'cluster overhang.'  This is the "
    "smallest amount of space a file will actually use.   The arrow points to your actual cluster size, the "
    "other numbers are hypothetical.\n\n"
    "Due to the design of both Windows 95/DOS the hard disk is divided into clusters.  Files are stored in "
    "clusters. A file of one byte will take an entire cluster and a file that's one byte larger than a cluster "
    "will take two clusters.  The larger the partition, the more overhang or waste is involved.\n\n"
    "Solutions are to either repartition your hard disk or use disk compression.  Later versions of Win95/98 "
    "come with FAT32 which uses 4K cluster sizes for drives up to 8GB in size and 8K clusters for up to 16GB.");

QPixmap arrowPicture()
{
    QPixmap pm(30, 18);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath path;
    path.moveTo(1, 5);
    path.lineTo(17, 5);
    path.lineTo(17, 1);
    path.lineTo(29, 9);
    path.lineTo(17, 17);
    path.lineTo(17, 13);
    path.lineTo(1, 13);
    path.closeSubpath();
    p.fillPath(path, QColor(220, 0, 0));
    p.setPen(QPen(QColor(90, 0, 0), 1));
    p.drawPath(path);
    return pm;
}

QLabel* makeLabel(QWidget* parent, const char* name, const QRect& geometry)
{
    auto* l = new QLabel(parent);
    l->setObjectName(QLatin1String(name));
    l->setGeometry(geometry);
    return l;
}

}  // namespace

OverhangTab::OverhangTab(QWidget* parent) : QWidget(parent), table_(5, 6)
{
    lblOverhangTitle = makeLabel(this, "lblOverhangTitle", QRect(44, 6, 540, 22));
    lblOverhangTitle->setText(QStringLiteral("Cluster overhang for FAT and FAT32 drives"));
    QFont bold = lblOverhangTitle->font();
    bold.setBold(true);
    bold.setPixelSize(14);
    lblOverhangTitle->setFont(bold);

    table_.setTitles(kTitles);
    for (int r = 0; r < 5; ++r)
        table_.setRowCells(r + 1, {kPartition[r], kFat32[r], OverhangLabel(r), QString(), QString()});
    table_.setRowsUsed(5);
    gridOverhang = MakeListingGrid(this, QStringLiteral("gridOverhang"));
    gridOverhang->setGrid(&table_);
    // The three fixed text columns read from the left.
    for (int c = 0; c < 3; ++c) {
        gridOverhang->setRightAligned(c, false);
        gridOverhang->setColumnKind(c, comp::ResultGridView::ColumnKind::Text);
    }
    gridOverhang->setRightAligned(kColumnPercent, true);
    gridOverhang->setRightAligned(kColumnWasted, true);
    gridOverhang->setColumnKind(kColumnWasted, comp::ResultGridView::ColumnKind::Number);
    gridOverhang->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    gridOverhang->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    imgArrow = makeLabel(this, "imgArrow", QRect(8, 0, 32, 18));
    imgArrow->setPixmap(arrowPicture());
    imgArrow->hide();

    chartOverhang = new comp::BarChart(Qt::Horizontal, comp::BarChart::Layout::Stacked, this);
    chartOverhang->setObjectName(QStringLiteral("chartOverhang"));
    chartOverhang->setTitle(QStringLiteral("Percent wasted"));
    chartOverhang->setLegendVisible(false);
    chartOverhang->setValueUnit(QStringLiteral("%"));

    pnlOverhang = new QFrame(this);
    pnlOverhang->setObjectName(QStringLiteral("pnlOverhang"));
    pnlOverhang->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    lblTotalSizes = makeLabel(pnlOverhang, "lblTotalSizes", QRect(10, 8, 340, 20));
    lblFilesScanned = makeLabel(pnlOverhang, "lblFilesScanned", QRect(10, 34, 340, 20));
    lblActualSpace = makeLabel(pnlOverhang, "lblActualSpace", QRect(10, 60, 340, 20));
    pnlOverhang->hide();

    pnlCluster = new QFrame(this);
    pnlCluster->setObjectName(QStringLiteral("pnlCluster"));
    pnlCluster->setFrameStyle(QFrame::Panel | QFrame::Raised);
    pnlCluster->setAutoFillBackground(true);
    QPalette pp;
    pp.setColor(QPalette::Window, QColor(255, 255, 200));
    comp::setClassicPalette(pnlCluster, pp);
    auto* clusterText = new QLabel(kClusterNotApplicable, pnlCluster);
    clusterText->setObjectName(QStringLiteral("lblCluster"));
    clusterText->setWordWrap(true);
    clusterText->setAlignment(Qt::AlignCenter);
    QFont warn = clusterText->font();
    warn.setBold(true);
    clusterText->setFont(warn);
    clusterText->setGeometry(8, 4, 354, 44);
    pnlCluster->hide();

    memOverhang = new QTextEdit(this);
    memOverhang->setObjectName(QStringLiteral("memOverhang"));
    memOverhang->setReadOnly(true);
    memOverhang->setPlainText(kNote);
}

void OverhangTab::resizeEvent(QResizeEvent* e)
{
    QWidget::resizeEvent(e);
    const int rowHeight = gridOverhang->verticalHeader()->defaultSectionSize();
    const int headerHeight = gridOverhang->horizontalHeader()->sizeHint().height();
    gridOverhang->setGeometry(44, 32, 580, headerHeight + 5 * rowHeight + 4);
    gridOverhang->setColumnWidths({130, 120, 80, 110, 130});
    const int below = gridOverhang->geometry().bottom() + 10;
    chartOverhang->setGeometry(8, below, 400, 190);
    pnlOverhang->setGeometry(420, below + 6, 360, 88);
    pnlCluster->setGeometry(420, below + 106, 370, 52);
    memOverhang->setGeometry(8, below + 198, width() - 16, height() - below - 204);
    drawClusterArrow();
}

bool OverhangTab::doOverHang(const StatTotals& totals)
{
    const stats::OverhangPage page = MakeOverhangPage(totals);
    if (!page.enabled)
        return false;
    filled_ = true;
    for (int r = 0; r < kOverhangSizes; ++r) {
        table_.setCell(r + 1, kColumnPercent, comp::PercentMark(page.percent[size_t(r)], 0, true));
        table_.setCell(r + 1, kColumnWasted, CellText(StatCell::Number(page.wasted[size_t(r)]), true));
    }
    gridOverhang->fitColumns();
    arrowRow_ = page.arrowRow;
    drawClusterArrow();

    lblTotalSizes->setText(kTotalFileSizesCaption + QLatin1Char(' ') + page.totalText);
    lblFilesScanned->setText(page.filesText);
    lblActualSpace->setText(page.actualText);
    lblActualSpace->setVisible(arrowShown());
    pnlOverhang->show();

    chartOverhang->setClassBars(PercentBars(OverhangBars(page), QColor(255, 0, 0), 0, true));
    return true;
}

bool OverhangTab::arrowShown() const
{
    return arrowRow_ >= 0;
}

void OverhangTab::drawClusterArrow()
{
    imgArrow->hide();
    if (filled_ && arrowRow_ >= 0) {
        const int y = gridOverhang->y() + gridOverhang->horizontalHeader()->height() +
                      gridOverhang->rowViewportPosition(arrowRow_) + gridOverhang->frameWidth();
        const int rowHeight = gridOverhang->rowHeight(arrowRow_);
        imgArrow->move(8, y + (rowHeight - imgArrow->height()) / 2);
        imgArrow->show();
    }
    pnlCluster->setVisible(filled_ && !imgArrow->isVisibleTo(this));
}

}  // namespace stats

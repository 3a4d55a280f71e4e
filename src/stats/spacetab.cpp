#include "stats/spacetab.h"

#include "components/barchart.h"
#include "components/chartmarks.h"
#include "components/drivechecklist.h"
#include "components/piechart.h"
#include "components/slotguard.h"
#include "finders/filldrivelist.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QChart>
#include <QGraphicsLayout>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QScrollBar>
#include <QTimer>

namespace stats {

namespace {

using comp::guarded;

const QColor kFreeColour(255, 0, 255);  // fuchsia
const QColor kUsedColour(0, 0, 255);    // blue
constexpr int kSide = 240;

QLabel* makeLabel(QWidget* parent, const char* name, const QString& text, const QRect& geometry,
                  Qt::Alignment align = Qt::AlignLeft)
{
    auto* l = new QLabel(text, parent);
    l->setObjectName(QLatin1String(name));
    l->setGeometry(geometry);
    l->setAlignment(align | Qt::AlignVCenter);
    return l;
}

QFrame* makeSwatch(QWidget* parent, const char* name, const QColor& colour, const QRect& geometry)
{
    auto* f = new QFrame(parent);
    f->setObjectName(QLatin1String(name));
    f->setFrameStyle(QFrame::Box | QFrame::Plain);
    f->setAutoFillBackground(true);
    QPalette p = f->palette();
    p.setColor(QPalette::Window, colour);
    f->setPalette(p);
    f->setGeometry(geometry);
    return f;
}

// Step and limit of the bars' growth by the number of bars.
void growthFor(int drives, int& step, int& limit)
{
    if (drives <= 2) {
        step = 6;
        limit = 60;
    } else if (drives <= 4) {
        step = 3;
        limit = 30;
    } else if (drives <= 6) {
        step = 2;
        limit = 20;
    } else {
        step = 2;
        limit = 10;
    }
}

}  // namespace

SpaceTab::SpaceTab(QWidget* parent) : QWidget(parent)
{
    cbDrive = finders::MakeDriveCombo(this, finders::DriveListOwner::StatisticsSpace);
    Panel4 = new QFrame(this);
    Panel4->setObjectName(QStringLiteral("Panel4"));
    Panel4->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    pckStatDrive = new comp::DriveCheckList(Panel4);
    pckStatDrive->setObjectName(QStringLiteral("pckStatDrive"));
    connect(pckStatDrive, &QListWidget::itemSelectionChanged, this, guarded([this] {
                if (!filling_)
                    doDiskSize();  // pckStatDrive0Click
            }));

    rgSpace = new QGroupBox(this);
    rgSpace->setObjectName(QStringLiteral("rgSpace"));
    rbBar = new QRadioButton(QStringLiteral("Bar - totals"), rgSpace);
    rbBar->setObjectName(QStringLiteral("rbBar"));
    rbBar->setGeometry(10, 8, 200, 22);
    rbPie = new QRadioButton(QStringLiteral("Pie - percent"), rgSpace);
    rbPie->setObjectName(QStringLiteral("rbPie"));
    rbPie->setGeometry(10, 34, 200, 22);
    rbBar->setChecked(true);
    auto* group = new QButtonGroup(this);
    group->addButton(rbBar);
    group->addButton(rbPie);
    connect(group, &QButtonGroup::buttonClicked, this, guarded([this] { rgSpaceClick(); }));

    cbTotal = new QCheckBox(QStringLiteral("Show Cumulative Total"), this);
    cbTotal->setObjectName(QStringLiteral("cbTotal"));
    cbTotal->setChecked(true);
    connect(cbTotal, &QCheckBox::clicked, this, guarded([this] { doDiskSize(); }));  // cbTotalClick

    buildCaptions();

    chartSpaceBar = new comp::BarChart(Qt::Vertical, comp::BarChart::Layout::Stacked, this);
    chartSpaceBar->setObjectName(QStringLiteral("chartSpaceBar"));
    chartSpaceBar->setLegendVisible(false);

    buildPies();

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(kTimerMs);
    connect(Timer1, &QTimer::timeout, this, guarded([this] { Timer1Timer(); }));
    Timer2 = new QTimer(this);
    Timer2->setObjectName(QStringLiteral("Timer2"));
    Timer2->setInterval(kTimerMs);
    connect(Timer2, &QTimer::timeout, this, guarded([this] { Timer2Timer(); }));
}

void SpaceTab::buildCaptions()
{
    const int y = 350;
    lblCapTotal = makeLabel(this, "lblCapTotal", QStringLiteral("Total Capacity:"), QRect(30, y, 100, 22));
    lblCapFree = makeLabel(this, "lblCapFree", QStringLiteral("Free Space:"), QRect(30, y + 26, 100, 22));
    lblCapUsed = makeLabel(this, "lblCapUsed", QStringLiteral("Used Space:"), QRect(30, y + 52, 100, 22));
    shpFree = makeSwatch(this, "shpFree", kFreeColour, QRect(10, y + 31, 14, 14));
    shpUsed = makeSwatch(this, "shpUsed", kUsedColour, QRect(10, y + 57, 14, 14));
    lblTotal = makeLabel(this, "lblTotal", QString(), QRect(128, y, 76, 22), Qt::AlignRight);
    lblFree = makeLabel(this, "lblFree", QString(), QRect(128, y + 26, 76, 22), Qt::AlignRight);
    lblUsed = makeLabel(this, "lblUsed", QString(), QRect(128, y + 52, 76, 22), Qt::AlignRight);
    lblTot = makeLabel(this, "lblTot", QString(), QRect(208, y, 30, 22));
    lblPct = makeLabel(this, "lblPct", QString(), QRect(208, y + 26, 30, 22));
    lblPct2 = makeLabel(this, "lblPct2", QString(), QRect(208, y + 52, 30, 22));
    for (QLabel* l : {lblTotal, lblFree, lblUsed}) {
        QFont f = l->font();
        f.setBold(true);
        l->setFont(f);
    }
}

void SpaceTab::buildPies()
{
    pnlPie = new QFrame(this);
    pnlPie->setObjectName(QStringLiteral("pnlPie"));
    pnlPie->hide();
    const auto makePie = [this](const QString& name) {
        auto* pie = new comp::PieChart(pnlPie);
        pie->setObjectName(name);
        pie->setLegendVisible(false);
        pie->setMarksVisible(false);
        pie->setToolTip(QStringLiteral("Click on pie to toggle animation"));
        QFont f = pie->chart()->titleFont();
        f.setPixelSize(11);
        pie->chart()->setTitleFont(f);
        // Small pies: all their room for the pie and its title.
        pie->chart()->setMargins(QMargins(0, 0, 0, 0));
        pie->chart()->layout()->setContentsMargins(0, 0, 0, 0);
        pie->hide();
        connect(pie, &comp::ChartPanel::clicked, this, guarded([this] { pie1Click(); }));
        return pie;
    };
    for (int i = 0; i < 11; ++i)
        pies[i] = makePie(QStringLiteral("pie%1").arg(i + 1));
    pieTotal = makePie(QStringLiteral("pieTotal"));
    makeSwatch(pnlPie, "shpPieFree", kFreeColour, QRect(8, 0, 14, 14));
    makeLabel(pnlPie, "lblPieFree", QStringLiteral("Free"), QRect(26, 0, 60, 16));
    makeSwatch(pnlPie, "shpPieUsed", kUsedColour, QRect(90, 0, 14, 14));
    makeLabel(pnlPie, "lblPieUsed", QStringLiteral("Used"), QRect(108, 0, 60, 16));
    ScrollBar1 = new QScrollBar(Qt::Horizontal, pnlPie);
    ScrollBar1->setObjectName(QStringLiteral("ScrollBar1"));
    ScrollBar1->setRange(0, 360);
    ScrollBar1->hide();
    connect(ScrollBar1, &QScrollBar::valueChanged, this, guarded([this] { ScrollBar1Change(); }));
}

void SpaceTab::resizeEvent(QResizeEvent* e)
{
    QWidget::resizeEvent(e);
    Panel4->setGeometry(8, 8, kSide - 8, 236);
    pckStatDrive->setGeometry(2, 2, Panel4->width() - 4, Panel4->height() - 4);
    rgSpace->setGeometry(8, 252, kSide - 8, 64);
    cbTotal->setGeometry(12, 322, kSide - 12, 22);
    const QRect area(kSide + 8, 4, width() - kSide - 12, height() - 8);
    chartSpaceBar->setGeometry(area);
    pnlPie->setGeometry(area);
    // Twelve pies in four columns of three rows, the legend and the
    // scroll bar below them.
    const int legend = 22;
    const int w = area.width() / 4;
    const int h = (area.height() - legend - 20) / 3;
    for (int i = 0; i < 12; ++i) {
        comp::PieChart* pie = i < 11 ? pies[i] : pieTotal;
        pie->setGeometry((i % 4) * w, (i / 4) * h, w, h);
    }
    const int bottom = 3 * h + 4;
    for (QWidget* c : pnlPie->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
        if (c->objectName().startsWith(QLatin1String("shpPie")) || c->objectName().startsWith(QLatin1String("lblPie")))
            c->move(c->x(), bottom + (c->objectName().startsWith(QLatin1String("shp")) ? 1 : 0));
    ScrollBar1->setGeometry(180, bottom, area.width() - 188, 16);
}

bool SpaceTab::showing() const
{
    return pageShowing ? pageShowing() : isVisible();
}

void SpaceTab::fillDrives()
{
    filling_ = true;
    finders::FillDriveList(*pckStatDrive, *cbDrive, false);
    filling_ = false;
    emptyLabels();
}

void SpaceTab::emptyLabels()
{
    for (QLabel* l : {lblTotal, lblFree, lblUsed, lblTot, lblPct, lblPct2})
        l->clear();
}

void SpaceTab::setCaptionsVisible(bool on)
{
    for (QWidget* w : std::initializer_list<QWidget*>{lblCapTotal, lblCapFree, lblCapUsed, shpFree, shpUsed})
        w->setVisible(on);
}

void SpaceTab::doDiskSize()
{
    if (refreshing_)
        return;  // a click during a refresh
    refreshing_ = true;
    struct Done {
        bool& flag;
        ~Done() { flag = false; }
    } done{refreshing_};

    emptyLabels();
    page_ = stats::doDiskSize(pckStatDrive->tickedEntries(), cbTotal->isChecked());
    drivesShown_ = page_.drivesShown;

    QStringList categories;
    comp::BarChart::Set free{QStringLiteral("Series4"), kFreeColour, {}};
    comp::BarChart::Set used{QStringLiteral("Series5"), kUsedColour, {}};
    QList<comp::BarChart::BarMark> marks;
    const QString unit = page_.unitText();
    for (const SpaceBar& bar : page_.bars) {
        const int k = int(categories.size());
        categories << bar.label;
        used.values << bar.used;
        free.values << bar.free;
        marks << comp::BarChart::BarMark{k, 0, comp::UnitMark(bar.used, unit)}
              << comp::BarChart::BarMark{k, 1, comp::UnitMark(bar.free, unit)};
    }
    chartSpaceBar->setValueUnit(unit);
    // Used space below, free space on top.
    chartSpaceBar->setBars(categories, {used, free}, marks);

    chartSpaceBar->setVisible(page_.hasData && rbBar->isChecked());
    setCaptionsVisible(page_.hasData);
    if (page_.hasData) {
        lblTot->setText(unit);
        lblPct->setText(page_.unitCaption());
        lblPct2->setText(page_.unitCaption());
        lblTotal->setText(page_.totalText());
        lblFree->setText(page_.freeText());
        lblUsed->setText(page_.usedText());
        // Low free space shows in red; otherwise the labels take the
        // palette's text colour, which may be light on a dark theme.
        QPalette low;
        low.setColor(QPalette::WindowText, QColor(255, 0, 0));
        for (QLabel* l : {lblFree, lblPct})
            l->setPalette(page_.lowSpace ? low : QPalette());
    }
    rgSpaceClick();
}

void SpaceTab::rgSpaceClick()
{
    if (rbPie->isChecked()) {
        Panel4->hide();
        doPieCharts();
        cbTotal->hide();
        chartSpaceBar->hide();
        Timer1->start();
        pnlPie->show();
        return;
    }
    if (drivesShown_ <= 0)
        return;  // nothing to draw: the pies stay
    Panel4->show();
    pnlPie->hide();
    cbTotal->show();
    chartSpaceBar->setVisible(page_.hasData);
    depth_ = 1;
    showBarWidth();
    Timer2->start();
}

void SpaceTab::doPieCharts()
{
    QStringList entries;
    for (int i = 0; i < pckStatDrive->count(); ++i)
        entries << pckStatDrive->item(i)->text();
    const SpacePies result = stats::doPieCharts(entries);
    const auto fill = [](comp::PieChart* pie, const SpacePie& data) {
        pie->setTitle(data.title);
        QList<comp::PieSlicePlan> slices;
        slices.append({QStringLiteral(" "), double(data.usedBytes), kUsedColour, QString(), false, false});
        slices.append({QStringLiteral(" "), double(data.freeBytes), kFreeColour, QString(), false, false});
        pie->setSlices(slices);
        pie->show();
    };
    for (int i = 0; i < 11; ++i) {
        if (i < int(result.drives.size()))
            fill(pies[i], result.drives[size_t(i)]);
        else
            pies[i]->hide();
    }
    if (result.total)
        fill(pieTotal, *result.total);
    else
        pieTotal->hide();
}

void SpaceTab::Timer1Timer()
{
    if (ticking_)
        return;
    ticking_ = true;
    struct Done {
        bool& flag;
        ~Done() { flag = false; }
    } done{ticking_};

    if (rbPie->isChecked() && showing()) {
        for (comp::PieChart* pie : pies)
            if (pie->isVisibleTo(pnlPie) && pckStatDrive->count() < 6)
                pie->rotateBy(4);
        if (pieTotal->isVisibleTo(pnlPie))
            pieTotal->rotateBy(2);
        ScrollBar1->hide();
        ScrollBar1->blockSignals(true);
        ScrollBar1->setValue(pies[0]->rotation());
        ScrollBar1->blockSignals(false);
    } else {
        ScrollBar1->show();
    }
    if (otherPieTick)
        otherPieTick();
}

void SpaceTab::Timer2Timer()
{
    int step = 0, limit = 0;
    growthFor(drivesShown_, step, limit);
    if (showing() && depth_ < limit) {
        depth_ = std::min(limit, depth_ + step);
        showBarWidth();
    } else {
        Timer2->stop();
    }
}

void SpaceTab::showBarWidth()
{
    // The original grows the bars' depth; here they grow in width.
    chartSpaceBar->setBarWidth(0.2 + depth_ / 100.0);
}

void SpaceTab::pie1Click()
{
    if (Timer1->isActive())
        Timer1->stop();
    else
        Timer1->start();
}

void SpaceTab::ScrollBar1Change()
{
    for (comp::PieChart* pie : pies)
        if (pie->isVisibleTo(pnlPie))
            pie->setRotation(ScrollBar1->value());
    if (pieTotal->isVisibleTo(pnlPie))
        pieTotal->setRotation(ScrollBar1->value());
}

}  // namespace stats

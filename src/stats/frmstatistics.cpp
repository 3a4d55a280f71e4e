#include "stats/frmstatistics.h"

#include "components/backgrounds.h"
#include "components/drivechecklist.h"
#include "components/frmstatlist.h"
#include "components/look.h"
#include "components/slotguard.h"
#include "finders/frmwhichdrive.h"
#include "stats/attributetab.h"
#include "stats/charttab.h"
#include "stats/deletedtab.h"
#include "stats/overhangtab.h"
#include "stats/spacetab.h"
#include "stats/stattexts.h"
#include "stats/timetab.h"
#include "stats/typestab.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QShowEvent>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>

#include <memory>

namespace stats {

namespace {

using comp::guarded;

TfrmStatistics* theWindow = nullptr;

constexpr int kWidth = 800;
constexpr int kHeight = 600;
constexpr int kPagesHeight = 522;

// The not-yet panel's tiled background: a quiet blue weave.
QPixmap notYetTile()
{
    QPixmap tile(24, 24);
    tile.fill(QColor(206, 214, 238));
    QPainter p(&tile);
    p.setPen(QColor(186, 196, 228));
    for (int i = 0; i < 24; i += 6) {
        p.drawLine(i, 0, i + 23, 23);
        p.drawLine(i - 24, 0, i - 1, 23);
    }
    p.setPen(QColor(226, 232, 248));
    p.drawLine(0, 12, 23, 12);
    return tile;
}

}  // namespace

TfrmStatistics::TfrmStatistics(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmStatistics"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setFixedSize(kWidth, kHeight);
    setModal(false);
    buildPages();
    buildButtons();
    buildNotYet();
    connectCollector();
    FormCreate();
    if (const QScreen* s = QGuiApplication::primaryScreen())
        move(s->availableGeometry().center() - QPoint(kWidth / 2, kHeight / 2));
    theWindow = this;
}

TfrmStatistics::~TfrmStatistics()
{
    collector_.abort();
    if (theWindow == this)
        theWindow = nullptr;
}

TfrmStatistics* TfrmStatistics::instance()
{
    return theWindow;
}

void TfrmStatistics::buildPages()
{
    OvcNotebook1 = new QTabWidget(this);
    OvcNotebook1->setObjectName(QStringLiteral("OvcNotebook1"));
    OvcNotebook1->setGeometry(4, 4, kWidth - 8, kPagesHeight);
    // The active tab's caption is drawn in red.
    comp::setClassicStyleSheet(OvcNotebook1->tabBar(), QStringLiteral("QTabBar::tab:selected { color: red; }"));
    OvcNotebook1->setUsesScrollButtons(false);

    spaceTab = new SpaceTab;
    deletedTab = new DeletedTab;
    typesTab = new TypesTab;
    sizesTab = new ChartTab(QStringLiteral("rbSizes"), QStringLiteral("Chart1"), QStringLiteral("gridSizes"), QString(),
                            comp::BarChart::Layout::Stacked);
    overhangTab = new OverhangTab;
    accessTab = new ChartTab(QStringLiteral("rbAccess"), QStringLiteral("chartAccess"), QStringLiteral("gridAccess"),
                             QStringLiteral("SpeedButton1"), comp::BarChart::Layout::Stacked);
    createTab = new ChartTab(QStringLiteral("rbCreate"), QStringLiteral("chartCreate"), QStringLiteral("gridCreate"),
                             QStringLiteral("SpeedButton2"), comp::BarChart::Layout::Stacked);
    modifyTab = new ChartTab(QStringLiteral("rbModify"), QStringLiteral("chartModify"), QStringLiteral("gridModify"),
                             QStringLiteral("SpeedButton3"), comp::BarChart::Layout::Stacked);
    combineTab = new ChartTab(QStringLiteral("rbCombine"), QStringLiteral("chartCombine"),
                              QStringLiteral("gridCombine"), QStringLiteral("SpeedButton4"),
                              comp::BarChart::Layout::SideBySide);
    attributeTab = new AttributeTab;
    timeTab = new TimeTab;
    const struct {
        QWidget* page;
        const char* name;
        const char* caption;
    } pages[] = {
        {spaceTab, "tsSpace", "Space"},         {deletedTab, "tsDeleted", "Deleted"},
        {typesTab, "tsTypes", "Types"},         {sizesTab, "tsSizes", "Sizes"},
        {overhangTab, "tsOverhang", "Overhang"}, {accessTab, "tsAccess", "Access"},
        {createTab, "tsCreated", "Created"},    {modifyTab, "tsModified", "Modified"},
        {combineTab, "tsCombined", "Combined"}, {attributeTab, "tsAttribute", "Attribute"},
        {timeTab, "tsTime", "Time"},
    };
    for (const auto& p : pages) {
        p.page->setObjectName(QLatin1String(p.name));
        OvcNotebook1->addTab(p.page, QLatin1String(p.caption));
    }
    combineTab->chart->setTitle(QStringLiteral("Combination Access/Created/Modified Chart"));
    spaceTab->pageShowing = [this] { return isVisible() && OvcNotebook1->currentIndex() == pgSpace; };
    spaceTab->otherPieTick = [this] {
        if (isVisible() && OvcNotebook1->currentIndex() == pgTypes && typesTab->pieShown())
            typesTab->spin(4);
    };

    connect(OvcNotebook1, &QTabWidget::currentChanged, this,
            [this](int page) { comp::guardSlot([&] { OvcNotebook1PageChanged(page); }); });
    connect(typesTab, &TypesTab::animationWanted, this, [this](bool on) {
        if (on)
            spaceTab->Timer1->start();
        else
            spaceTab->Timer1->stop();
    });
    connect(typesTab, &TypesTab::pieClicked, this, guarded([this] { spaceTab->pie1Click(); }));
    connect(sizesTab, &ChartTab::modeChosen, this, guarded([this] { rgSizesClick(); }));
    for (ChartTab* t : {accessTab, createTab, modifyTab, combineTab})
        connect(t, &ChartTab::modeChosen, this, guarded([this, t] { rgAccessClick(t); }));

    const auto note = [](const QString& text) { return guarded([text] { core::InfoBox(text); }); };
    connect(accessTab->info, &QToolButton::clicked, this,
            note(QStringLiteral("Note: prior versions of Windows and DOS did not store the file access date.  Files "
                                "never recorded as being accessed are probably old files that were converted to "
                                "Windows 95/98.")));
    connect(createTab->info, &QToolButton::clicked, this,
            note(QStringLiteral("Files never recorded as being created are probably old files that were converted to "
                                "Windows 95/98.  Note: prior versions of Windows and DOS did not store the file "
                                "creation date independent of the last file modification or file write date.")));
    connect(modifyTab->info, &QToolButton::clicked, this,
            note(QStringLiteral("Note: prior versions of Windows and DOS treated the file creation date "
                                "synonomously  with the last file modification date.  Therefore all files have a "
                                "file modification date.")));
    connect(combineTab->info, &QToolButton::clicked, this,
            note(QStringLiteral("This chart combines the Accessed, Created and Modified charts")));
    connect(timeTab->SpeedButton5, &QToolButton::clicked, this,
            note(QStringLiteral("Note: Sometimes software vendors use the file modified time to indicate the version "
                                "number of a product. For example, a file with the time of 02:10 am would represent "
                                "version 2.1 of a certain product.  Note that files with a time of 12:00:00 am are "
                                "excluded from this graph.")));
}

void TfrmStatistics::buildButtons()
{
    const int y = kPagesHeight + 12;
    const auto make = [this, y](const char* name, const QString& caption, const QString& hint, int x) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(QLatin1String(name));
        b->setToolTip(hint);
        b->setGeometry(x, y, 150, 30);
        return b;
    };
    btOK = make("btOK", QStringLiteral("&Collect statistics"), QStringLiteral("Start collecting statistics"), 160);
    btPrint = make("btPrint", QStringLiteral("&Print page"), QStringLiteral("Print this page only"), 325);
    btCancel = make("btCancel", QStringLiteral("Close"), QStringLiteral("Cancel operation or close window"), 490);
    btOK->setDefault(true);
    btOK->setAutoDefault(true);
    connect(btOK, &QPushButton::clicked, this, guarded([this] { btOKClick(); }));
    connect(btPrint, &QPushButton::clicked, this, guarded([this] { btPrintClick(); }));
    connect(btCancel, &QPushButton::clicked, this, guarded([this] { btCancelClick(); }));

    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(false);
    StatusBar1->setGeometry(0, kHeight - 24, kWidth, 24);
}

void TfrmStatistics::buildNotYet()
{
    pnlNotYet = new comp::TileBackground(this);
    pnlNotYet->setObjectName(QStringLiteral("pnlNotYet"));
    pnlNotYet->setTile(notYetTile());
    // Over the page area, just below the tab row.
    const int tabs = OvcNotebook1->tabBar()->sizeHint().height();
    pnlNotYet->setGeometry(OvcNotebook1->x(), OvcNotebook1->y() + tabs, OvcNotebook1->width(),
                           OvcNotebook1->height() - tabs);
    lblNotYet = new QLabel(kNotYetText, pnlNotYet);
    lblNotYet->setObjectName(QStringLiteral("lblNotYet"));
    QFont f = lblNotYet->font();
    f.setPixelSize(26);
    f.setBold(true);
    lblNotYet->setFont(f);
    lblNotYet->setAlignment(Qt::AlignCenter);
    lblNotYet->setWordWrap(true);
    QPalette p;
    p.setColor(QPalette::WindowText, QColor(0, 0, 128));
    comp::setClassicPalette(lblNotYet, p);
    lblNotYet->setGeometry(40, 120, pnlNotYet->width() - 80, 120);
    btAbort = new QPushButton(QStringLiteral("Abort"), pnlNotYet);
    btAbort->setObjectName(QStringLiteral("btAbort"));
    btAbort->setGeometry((pnlNotYet->width() - 120) / 2, 270, 120, 32);
    btAbort->hide();
    connect(btAbort, &QPushButton::clicked, this, guarded([this] { btAbortClick(); }));
}

void TfrmStatistics::connectCollector()
{
    collector_.status = [this](const QString& text) { StatusBar1->showMessage(text); };
    collector_.caption = [this](const QString& text) { setWindowTitle(text); };
    collector_.cleared = [this] {
        typesTab->blank();
        setOverhangEnabled(collector_.overhangEnabled());
    };
    collector_.beginEntry = [this] { beginEntry(); };
    collector_.endEntry = [this] { endEntry(); };
    collector_.refreshPages = [this] { refreshPages(); };
    collector_.pump = [this] { pump_.pump(); };
}

void TfrmStatistics::FormCreate()
{
    setWindowTitle(kNotCollectedCaption);
    OvcNotebook1->setCurrentIndex(pgSpace);
    pnlNotYet->hide();
    btAbort->hide();
    spaceTab->fillDrives();
    deletedTab->attachLog();
}

void TfrmStatistics::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    if (!e->spontaneous())
        comp::guardSlot([this] { FormShow(); });
}

void TfrmStatistics::FormShow()
{
    typesTab->writeTitles();
    spaceTab->doDiskSize();
    OvcNotebook1PageChanged(OvcNotebook1->currentIndex());
    deletedTab->showCumulativeTab();
}

void TfrmStatistics::OvcNotebook1PageChanged(int page)
{
    if (page == pgDeleted) {
        deletedTab->showFilesDeleted();
        pnlNotYet->hide();
    } else if (page == pgSpace) {
        spaceTab->doDiskSize();
        pnlNotYet->hide();
    } else {
        showNotYetFor(page);
    }
}

void TfrmStatistics::showNotYetFor(int page)
{
    const bool cover = page > pgDeleted && !collector_.collected();
    pnlNotYet->setVisible(cover);
    if (cover)
        pnlNotYet->raise();
}

void TfrmStatistics::setOverhangEnabled(bool on)
{
    if (!on && OvcNotebook1->currentIndex() == pgOverhang)
        OvcNotebook1->setCurrentIndex(pgTypes);
    OvcNotebook1->setTabEnabled(pgOverhang, on);
}

void TfrmStatistics::disenable(bool enabled)
{
    QList<QWidget*> controls = {btPrint, btOK, combineTab->rbBySize, combineTab->rbByCount, spaceTab->rbPie,
                                spaceTab->rbBar, spaceTab->pckStatDrive, deletedTab->Button1, typesTab->rgTypes};
    for (ChartTab* t : {sizesTab, accessTab, createTab, modifyTab})
        controls << t->rbBySize << t->rbByCount << t->rbListing;
    for (QWidget* w : controls)
        w->setEnabled(enabled);
}

void TfrmStatistics::btOKClick()
{
    if (collector_.collecting())
        return;
    finders::ScanScope scope;
    {
        const std::unique_ptr<finders::TfrmWhichDrive> which(new finders::TfrmWhichDrive(this));
        which->EditTypeList = [](QWidget* owner, const QString& section) { comp::EditStatFileList(owner, section); };
        if (which->exec() != QDialog::Accepted)
            return;
        scope = which->scope();
    }
    runCollection(scope);
}

void TfrmStatistics::runCollection(const finders::ScanScope& scope)
{
    if (scope.roots.isEmpty() || collector_.collecting())
        return;
    collector_.setScope(scope);
    collector_.collect();
    btAbort->hide();
    if (collector_.collected()) {
        pnlNotYet->hide();
    } else {
        lblNotYet->setText(kNotYetText);
        showNotYetFor(OvcNotebook1->currentIndex());
    }
}

void TfrmStatistics::beginEntry()
{
    lblNotYet->setText(kCollectingText);
    btAbort->show();
    StatusBar1->clearMessage();
    disenable(false);
    QApplication::setOverrideCursor(Qt::BusyCursor);
    // The spinning pies rest while the walk runs.
    timer1WasActive_ = spaceTab->Timer1->isActive();
    spaceTab->Timer1->stop();
    pump_.start();
}

void TfrmStatistics::endEntry()
{
    if (timer1WasActive_)
        spaceTab->Timer1->start();
    QApplication::restoreOverrideCursor();
    disenable(true);
}

void TfrmStatistics::btAbortClick()
{
    if (collector_.collecting())
        collector_.abort();
}

void TfrmStatistics::abortCollection()
{
    collector_.abort();
}

void TfrmStatistics::btCancelClick()
{
    if (collector_.collecting()) {
        collector_.abort();
        return;
    }
    done(QDialog::Rejected);
}

void TfrmStatistics::reject()
{
    // Esc and the close box: an abort while collecting, else Close.
    comp::guardSlot([this] { btCancelClick(); });
}

}  // namespace stats

// TfrmDup: its controls, where they stand, and the widths that follow the
// window's size.
#include "finders/frmdup.h"

#include "browse/viewhook.h"
#include "components/drivechecklist.h"
#include "components/panelshrinker.h"
#include "components/resultgridview.h"
#include "components/slotguard.h"
#include "finders/filldrivelist.h"

#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>

namespace finders {

namespace {

// Column widths at 96 dots per inch; the last column takes what is left of
// the client width less the others and 25 pixels of border and scroll bar.
const QList<int> kDupWidths = {93, 58, 64, 70, 70, 184};
const QList<int> kHogWidths = {64, 64, 64, 64, 296};
constexpr int kDupRest = 564;
constexpr int kHogRest = 577;

constexpr int kButtonGap = 3;

template <class W>
W* named(W* w, const char* name)
{
    w->setObjectName(QLatin1String(name));
    return w;
}

QSpinBox* makeNumber(QWidget* parent, const char* name)
{
    auto* n = named(new QSpinBox(parent), name);
    n->setRange(0, 10000);
    n->setValue(250);
    n->setAlignment(Qt::AlignRight);
    return n;
}

}  // namespace

void TfrmDup::buildTopPanel()
{
    Panel1 = named(new QFrame(this), "Panel1");
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    auto* panel = new QVBoxLayout(Panel1);
    panel->setContentsMargins(0, 6, 0, 4);
    panel->setSpacing(6);

    // Margins count from inside the panel's frame; the drive list keeps 8
    // pixels and "&Start" 3 pixels from the window's edges.
    const int frame = Panel1->frameWidth();
    auto* top = new QHBoxLayout;
    top->setContentsMargins(8 - frame, 0, 8 - frame, 0);
    auto* criteria = new QGridLayout;
    criteria->setHorizontalSpacing(10);
    criteria->setVerticalSpacing(4);
    buildCriteria(criteria);
    top->addLayout(criteria);
    top->addStretch(1);

    pckDrive = named(new comp::DriveCheckList(Panel1), "pckDrive");
    pckDrive->setFixedWidth(200 * logicalDpiX() / 96);
    pckDrive->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Ignored);
    // A right click on the drive list opens the window's own menu (which
    // holds "Add a folder to the list of drives"), not the list's.
    pckDrive->setContextMenuPolicy(Qt::CustomContextMenu);
    disconnect(pckDrive, &QWidget::customContextMenuRequested, nullptr, nullptr);
    connect(pckDrive, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
        comp::guardSlot([&] { PopupMenu1->popup(pckDrive->viewport()->mapToGlobal(pos)); });
    });
    top->addWidget(pckDrive);
    panel->addLayout(top);

    auto* buttons = new QHBoxLayout;
    buttons->setContentsMargins(kButtonGap - frame, 0, kButtonGap - frame, 0);
    buttons->setSpacing(kButtonGap);
    buildButtons(buttons);
    panel->addLayout(buttons);

    // Not shown: the window's drive list from which pckDrive is filled.
    cbDrive = MakeDriveCombo(this, DriveListOwner::Dup);
}

void TfrmDup::buildCriteria(QGridLayout* criteria)
{
    rbLarger = named(new QRadioButton(QStringLiteral("Larger or equal to"), Panel1), "rbLarger");
    rbSmaller = named(new QRadioButton(QStringLiteral("Smaller or equal to"), Panel1), "rbSmaller");
    rbBetween = named(new QRadioButton(QStringLiteral("In between"), Panel1), "rbBetween");
    rbLarger->setChecked(true);
    criteria->addWidget(rbLarger, 0, 0);
    criteria->addWidget(rbSmaller, 1, 0);
    criteria->addWidget(rbBetween, 2, 0);

    // The size: first number, "and" second number (only "In between"), unit.
    auto* size = new QHBoxLayout;
    size->setSpacing(6);
    num1 = makeNumber(Panel1, "num1");
    lblAnd = named(new QLabel(QStringLiteral("and"), Panel1), "lblAnd");
    num2 = makeNumber(Panel1, "num2");
    cbKB1 = named(new QComboBox(Panel1), "cbKB1");
    cbKB1->addItems({QStringLiteral("bytes"), QStringLiteral("KB")});
    cbKB1->setCurrentIndex(1);
    size->addWidget(num1);
    size->addWidget(lblAnd);
    size->addWidget(num2);
    size->addWidget(cbKB1);
    size->addStretch(1);
    criteria->addLayout(size, 0, 1);

    // The wildcard, with the type it stands for beside it.
    auto* matching = new QHBoxLayout;
    matching->setSpacing(6);
    lblMatching = named(new QLabel(QStringLiteral("Matching"), Panel1), "lblMatching");
    cbWildCard = named(new QComboBox(Panel1), "cbWildCard");
    cbWildCard->setEditable(true);
    cbWildCard->setInsertPolicy(QComboBox::NoInsert);
    cbWildCard->setEditText(QStringLiteral("*.*"));
    cbWildCard->setMinimumWidth(110 * logicalDpiX() / 96);
    lblMatching->setBuddy(cbWildCard);
    lblWild = named(new QLabel(Panel1), "lblWild");
    // A long type name is cut, never allowed to widen the window.
    lblWild->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    lblWild->setMinimumWidth(150 * logicalDpiX() / 96);
    matching->addWidget(lblMatching);
    matching->addWidget(cbWildCard);
    matching->addWidget(lblWild, 1);
    criteria->addLayout(matching, 1, 1);

    lblDup = named(new QLabel(QStringLiteral("Duplicates matching on : "), Panel1), "lblDup");
    cbDup = named(new QComboBox(Panel1), "cbDup");
    cbDup->addItems(MatchModeCaptions());
    lblDup->setBuddy(cbDup);
    criteria->addWidget(lblDup, 3, 0);
    criteria->addWidget(cbDup, 3, 1, Qt::AlignLeft);
}

void TfrmDup::buildButtons(QHBoxLayout* row)
{
    struct ButtonPlace {
        QPushButton** button;
        const char* name;
        const char* caption;
        const char* hint;
    };
    // In this order, 3 pixels apart; "&Abort" and "&Mark" share a place, as
    // only one of them is ever shown.
    const ButtonPlace places[] = {
        {&btScan, "btScan", "&Start", ""},
        {&btClose, "btClose", "Close", "Close window"},
        {&btAbort, "btAbort", "&Abort", ""},
        {&btMark, "btMark", "&Mark", "Mark file for deletion (double click on grid also works)"},
        {&btDelete, "btDelete", "Clean?", "Clean up marked files"},
        {&btOptions, "btOptions", "Options", "Right click on grid for same options"},
        {&btBrowse, "btBrowse", "&Browse", "Browse this file and folder"},
        {&btDetails, "btDetails", "&Details", "View more file details"},
        {&btCompare, "btCompare", "P&airs", "Compare file pairs"},
    };
    int width = 75 * logicalDpiX() / 96;
    for (const ButtonPlace& s : places) {
        auto* b = named(new QPushButton(QString::fromLatin1(s.caption), Panel1), s.name);
        b->setAutoDefault(false);
        b->setToolTip(QString::fromLatin1(s.hint));
        *s.button = b;
        width = std::max(width, b->sizeHint().width());
    }
    QFont bold = btCompare->font();
    bold.setBold(true);
    btCompare->setFont(bold);
    width = std::max(width, btCompare->sizeHint().width());
    for (const ButtonPlace& s : places) {
        (*s.button)->setFixedWidth(width);
        row->addWidget(*s.button);
    }
    row->addStretch(1);
    btScan->setDefault(true);
}

void TfrmDup::buildResults()
{
    grid = named(new comp::ResultGridView(this), "grid");
    grid->setToolTip(QStringLiteral("Double click to mark for deletion, right click for options"));
    lblStatus = named(new QLabel(this), "lblStatus");
    lblStatus->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    lblStatus->setMargin(1);
    // The walk shows every folder here; a long path must not widen the window.
    lblStatus->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);

    auto* main = new QVBoxLayout(this);
    main->setContentsMargins(0, 0, 0, 0);
    main->setSpacing(0);
    main->addWidget(Panel1);
    main->addWidget(grid, 1);
    main->addWidget(lblStatus);
}

QAction* TfrmDup::addItem(QMenu* menu, const char* name, const char* caption, void (TfrmDup::*slot)())
{
    QAction* a = menu->addAction(QString::fromLatin1(caption));
    a->setObjectName(QLatin1String(name));
    if (slot)
        connect(a, &QAction::triggered, this, [this, slot] { comp::guardSlot([&] { (this->*slot)(); }); });
    return a;
}

void TfrmDup::buildMenu()
{
    PopupMenu1 = named(new QMenu(this), "PopupMenu1");
    miDetails = addItem(PopupMenu1, "miDetails", "Details", &TfrmDup::btDetailsClick);
    miHighlight = addItem(PopupMenu1, "miHighlight", "Highlight folders on Safe Harbor list", &TfrmDup::HighlightClick);
    miHighlight->setCheckable(true);
    miHighlight->setChecked(true);
    PopupMenu1->addSeparator();
    miAddFolder = addItem(PopupMenu1, "miAddFolder", "Add a folder to the list of drives", &TfrmDup::AddFolderClick);
    PopupMenu1->addSeparator();

    QMenu* sort = named(new QMenu(QStringLiteral("Sort"), PopupMenu1), "mnSort");
    miSort = PopupMenu1->addMenu(sort);
    miSort->setObjectName(QStringLiteral("miSort"));
    const std::pair<QAction**, const char*> sorts[] = {{&miSortSize, "miSortSize"},
                                                       {&miSortDate, "miSortDate"},
                                                       {&miSortAccess, "miSortAccess"},
                                                       {&miSortName, "miSortName"},
                                                       {&miSortType, "miSortType"}};
    const char* captions[] = {"&Size", "&Date", "&Access Date", "&Name", "&Type"};
    for (int i = 0; i < 5; ++i) {
        QAction* a = addItem(sort, sorts[i].second, captions[i], nullptr);
        a->setCheckable(true);
        connect(a, &QAction::triggered, this, [this, a] { comp::guardSlot([&] { SortClick(a); }); });
        *sorts[i].first = a;
    }
    miSortSize->setChecked(true);
    // Duplicate groups are never re-sorted.
    miSort->setVisible(!duplicateMode_);

    QMenu* mark = named(new QMenu(QStringLiteral("Mark"), PopupMenu1), "mnMark");
    miMark = PopupMenu1->addMenu(mark);
    miMark->setObjectName(QStringLiteral("miMark"));
    miMarkAll = addItem(mark, "miMarkAll", "Mark all", &TfrmDup::MarkAllClick);
    miMarkButOldest = addItem(mark, "miMarkButOldest", "Mark all but the oldest in each group",
                              &TfrmDup::MarkButOldestClick);
    miMarkButNewest = addItem(mark, "miMarkButNewest", "Mark all but the newest in each group",
                              &TfrmDup::MarkButNewestClick);
    // File hogs come in no groups.
    miMarkButOldest->setVisible(duplicateMode_);
    miMarkButNewest->setVisible(duplicateMode_);
    miUnmarkAll = addItem(mark, "miUnmarkAll", "Unmark all", &TfrmDup::UnmarkAllClick);

    QMenu* resize = named(new QMenu(QStringLiteral("Resize"), PopupMenu1), "mnResize");
    miResize = PopupMenu1->addMenu(resize);
    miResize->setObjectName(QStringLiteral("miResize"));
    miShrink = addItem(resize, "miShrink", "Shrink top panel", nullptr);
    miRestore = addItem(resize, "miRestore", "Restore top panel", nullptr);
    shrinker_ = new comp::PanelShrinker(Panel1, this);
    shrinker_->setActions(miShrink, miRestore);
    PopupMenu1->addSeparator();

    miOpen = addItem(PopupMenu1, "miOpen", "Open", &TfrmDup::OpenClick);
    miView = addItem(PopupMenu1, "miView", "View", &TfrmDup::ViewClick);
    // Only where the program has a file viewer.
    miView->setEnabled(browse::canViewFiles());
    PopupMenu1->addSeparator();
    miPrint = addItem(PopupMenu1, "miPrint", "Print", &TfrmDup::PrintClick);

    QMenu* clip = named(new QMenu(QStringLiteral("Clipboard"), PopupMenu1), "mnClipboard");
    miClipboard = PopupMenu1->addMenu(clip);
    miClipboard->setObjectName(QStringLiteral("miClipboard"));
    miClipNames = addItem(clip, "miClipNames", "Filenames only", &TfrmDup::ClipNamesClick);
    miClipGrid = addItem(clip, "miClipGrid", "Entire grid separated by tabs", &TfrmDup::ClipGridClick);
    miWebPage = addItem(PopupMenu1, "miWebPage", "Web page", &TfrmDup::WebPageClick);
}

void TfrmDup::setColumnWidths()
{
    const QList<int>& bases = duplicateMode_ ? kDupWidths : kHogWidths;
    const int rest = duplicateMode_ ? kDupRest : kHogRest;
    const int dpi = logicalDpiX();
    QList<int> widths;
    int baseSum = 0;
    for (int base : bases) {
        widths << base * dpi / 96;
        baseSum += base;
    }
    // The widths above are the smallest: a size, date or time column whose
    // cells need more is wider, and the last column gives that up.
    grid->setColumnWidths(widths);
    int taken = 0;
    for (int c = 0; c < widths.size(); ++c)
        taken += grid->columnWidth(c);
    widths << std::max(40, grid->width() - taken - (rest - baseSum) * dpi / 96);
    grid->setColumnWidths(widths);
}

void TfrmDup::setSmallestSize()
{
    // Wide enough for the whole row of buttons, high enough for the top
    // panel and a grid of the same height.
    int buttons = kButtonGap;
    for (QPushButton* b : {btScan, btClose, btMark, btDelete, btOptions, btBrowse, btDetails, btCompare})
        buttons += b->minimumWidth() + kButtonGap;
    int width = std::max(buttons, layout()->minimumSize().width());
    if (const QScreen* s = screen())
        width = std::min(width, s->availableGeometry().width() - 10);
    setMinimumSize(width, 2 * Panel1->sizeHint().height());
}

}  // namespace finders

// TfrmClean: its controls, where they stand, its result list and the widths
// that follow the window's size.
#include "finders/frmclean.h"

#include "components/drivechecklist.h"
#include "components/picklist.h"
#include "components/windowsizing.h"
#include "finders/buttonrow.h"
#include "finders/filldrivelist.h"
#include "finders/resultlist.h"
#include "finders/searchstate.h"
#include "finders/tempsearch.h"

#include <QAction>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace finders {

namespace {

// Size, Modified, Time, Access and FileName at 96 dots per inch; Type takes
// the rest of the client width less 577 pixels, the others and 25 of border.
const QList<int> kWidths = {64, 64, 64, 64, 296};
constexpr int kLastColumnBorder = 25;
constexpr int kButtonGap = 3;

template <class W>
W* named(W* w, const char* name)
{
    w->setObjectName(QLatin1String(name));
    return w;
}

}  // namespace

void TfrmClean::buildTopPanel()
{
    Panel1 = named(new QFrame(this), "Panel1");
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    auto* panel = new QVBoxLayout(Panel1);
    panel->setContentsMargins(0, 6, 0, 4);
    panel->setSpacing(6);
    const int frame = Panel1->frameWidth();
    const int dpi = logicalDpiX();

    auto* top = new QHBoxLayout;
    top->setContentsMargins(8 - frame, 0, 8 - frame, 0);
    auto* types = new QVBoxLayout;
    types->setSpacing(3);
    lblTypes = named(new QLabel(QStringLiteral("Temporary file types to search and clean."), Panel1), "lblTypes");
    PickList1 = named(new comp::PickList(Panel1), "PickList1");
    PickList1->setSortedLines(true);
    PickList1->setTabStop(60 * dpi / 96);
    PickList1->setToolTip(QStringLiteral("File extensions/types of temporary files"));
    PickList1->setFixedSize(300 * dpi / 96, 110 * dpi / 96);
    lblTypes->setBuddy(PickList1);
    types->addWidget(lblTypes);
    types->addWidget(PickList1);
    top->addLayout(types);

    btEdit = named(new QPushButton(QStringLiteral("Add/Delete"), Panel1), "btEdit");
    btEdit->setToolTip(QStringLiteral("Add, delete temporary file extensions"));
    btEdit->setAutoDefault(false);
    top->addWidget(btEdit, 0, Qt::AlignBottom);
    top->addStretch(1);

    pckDrive = named(new comp::DriveCheckList(Panel1), "pckDrive");
    pckDrive->setFixedWidth(200 * dpi / 96);
    pckDrive->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Ignored);
    top->addWidget(pckDrive);
    panel->addLayout(top);

    auto* buttons = new QHBoxLayout;
    buttons->setContentsMargins(kButtonGap - frame, 0, kButtonGap - frame, 0);
    buttons->setSpacing(kButtonGap);
    buildButtons(buttons);
    panel->addLayout(buttons);

    cbDrive = MakeDriveCombo(this, DriveListOwner::Clean);
}

void TfrmClean::buildButtons(QHBoxLayout* row)
{
    // "&Abort" and "&Mark" share a place: only one of them is ever shown.
    const ButtonPlace places[] = {
        {&btScan, "btScan", "&Start", "Start scanning for temporary files"},
        {&btClose, "btClose", "Close", "Close window"},
        {&btAbort, "btAbort", "&Abort", "Abort scan"},
        {&btMark, "btMark", "&Mark", "Mark file for deletion (double click on grid also works)"},
        {&btDelete, "btDelete", "Clean?", "Clean up marked files"},
        {&btOptions, "btOptions", "Options", "Right click on grid for same options"},
        {&btBrowse, "btBrowse", "&Browse", "Browse this file and folder"},
        {&btDetails, "btDetails", "&Details", "View more file details"},
    };
    AddButtonRow(Panel1, row, places);
    btScan->setDefault(true);
}

void TfrmClean::buildResults()
{
    grid = named(new comp::ResultGridView(this), "grid");
    grid->setToolTip(QStringLiteral("Double click to mark for deletion"));
    lblStatus = StackPanelGridStatus(this, Panel1, grid);
}

void TfrmClean::buildResultList()
{
    ResultListSetup setup;
    setup.sortWindow = QStringLiteral("TfrmClean");
    setup.sortItemNames = {"miSortSize", "miSortDate", "miSortAccess", "miSortName", "miSortType"};
    setup.defaultSort = QStringLiteral("&Size");
    setup.addFolderCaption = QStringLiteral("Add a folder to the list of drives");
    setup.harborColumn = tcFileName;
    setup.harborTestsFile = true;
    setup.archiveTag = QStringLiteral("TempClean");
    list_ = new ResultList(this, grid, Panel1, setup);
    list_->busy = [this] { return searching(); };
    list_->afterAddFolder = [this] { AddFolderClick(); };
    list_->setButtons(btMark, btDelete, btOptions, btDetails);
    list_->addMenuSource(pckDrive);
    list_->marks().status = [this](const QString& text) { setStatus(text); };
    list_->listing().printTitle = [this] { return printTitle(); };
    PopupMenu1 = list_->menu();
    // This window's captions for two of the shared items.
    list_->items().open->setText(QStringLiteral("Run"));
    list_->items().unmarkAll->setText(QStringLiteral("Unmark All"));
    miSortSize = list_->sort().item(QStringLiteral("&Size"));
    // The folder browser comes with a later part of the program.
    btBrowse->setEnabled(false);

    search_->setAbortButton(btAbort);
    search_->setHidden({btMark, btDelete, btOptions, btBrowse, btDetails});
    // The types too: a search reads its criteria once.
    search_->setLocked({btScan, btClose, pckDrive, PickList1, btEdit});
    search_->setBusyWidget(grid);
    search_->onLeave = [this] { leaveSearching(); };
}

const MarkBook& TfrmClean::marks() const
{
    return list_->marks().book();
}

comp::PanelShrinker& TfrmClean::shrinker() const
{
    return list_->shrinker();
}

void TfrmClean::setCleanPanel(CleanPanel panel)
{
    list_->marks().setCleanPanel(std::move(panel));
}

void TfrmClean::setColumnWidths()
{
    comp::FillLastColumn(*grid, kWidths, kLastColumnBorder, logicalDpiX());
}

void TfrmClean::setSmallestSize()
{
    comp::SetSmallestSize(*this, *Panel1, {btScan, btClose, btMark, btDelete, btOptions, btBrowse, btDetails},
                          kButtonGap);
}

}  // namespace finders

#include "finders/frmdirhog.h"

#include "browse/browsehook.h"
#include "components/drivechecklist.h"
#include "components/panelshrinker.h"
#include "components/slotguard.h"
#include "components/windowsizing.h"
#include "core/helpers.h"
#include "core/safeharbor.h"
#include "delete/frmdeldirectory.h"
#include "finders/buttonrow.h"
#include "finders/dupresults.h"
#include "finders/filldrivelist.h"
#include "finders/frmaddnewfolder.h"
#include "finders/listingcommands.h"
#include "finders/printtitle.h"
#include "finders/searchstate.h"
#include "finders/sortmenu.h"
#include "platform/findfile.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QVBoxLayout>

#include <algorithm>

namespace finders {

const char* const kDirHogAbortedMessage = "LIST INCOMPLETE ... ABORTED BY USER";

namespace {

using comp::guarded;

constexpr int kButtonGap = 3;
// Size, % Used, # Files, # Sub-folders, Latest File Access at 96 dots per
// inch; Name takes the rest less 25 pixels.
const QList<int> kWidths = {80, 40, 40, 70, 90};
constexpr int kNameBorder = 25;
constexpr int kNameColumn = 5;

template <class W>
W* named(W* w, const char* name)
{
    w->setObjectName(QLatin1String(name));
    return w;
}

}  // namespace

TfrmDirHog::TfrmDirHog(QWidget* owner) : QDialog(owner), search_(std::make_unique<DirHogSearch>())
{
    setObjectName(QStringLiteral("frmDirHog"));
    setWindowTitle(QStringLiteral("Folder Hogs"));
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    setSizeGripEnabled(true);
    state_ = new SearchState(this);

    buildTopPanel();
    grid = named(new comp::ResultGridView(this), "grid");
    grid->setGrid(&search_->grid());
    grid->verticalHeader()->setDefaultSectionSize(18 * logicalDpiY() / 96);
    using Kind = comp::ResultGridView::ColumnKind;
    for (int c = 0; c < 4; ++c) {
        grid->setRightAligned(c, true);
        grid->setColumnKind(c, Kind::Number);
    }
    grid->setColumnKind(4, Kind::Date);
    grid->setCellLookHook([this](int row, int column, comp::ResultGridView::CellLook& look) {
        look.bold = cellLook(row, column).bold;
    });
    lblStatus = StackPanelGridStatus(this, Panel1, grid);
    buildMenu();

    state_->setAbortButton(btAbort);
    state_->setLocked({btTop, btAll, btClose});
    state_->setHidden({btOptions, btBrowse, btDelete});
    state_->setBusyWidget(grid);
    for (QPushButton* b : {btAbort, btOptions, btBrowse, btDelete})
        b->hide();
    // The folder browser is reached through a hook; without one the
    // button stays off.
    btBrowse->setEnabled(browse::canBrowse());

    connect(grid, &comp::ResultGridView::columnsFitted, this, guarded([this] { setColumnWidths(); }));
    connect(grid, &QAbstractItemView::clicked, this, [this](const QModelIndex& i) { lastClick_ = i.row() + 1; });
    connect(grid, &comp::ResultGridView::titleClicked, this, [this](int) { lastClick_ = 0; });
    connect(grid, &comp::ResultGridView::rowDoubleClicked, this, [this](int row) {
        comp::guardSlot([&] {
            lastClick_ = row;
            btDeleteClick();
        });
    });
    connect(btTop, &QPushButton::clicked, this, guarded([this] { btTopClick(); }));
    connect(btAll, &QPushButton::clicked, this, guarded([this] { btAllClick(); }));
    connect(btAbort, &QPushButton::clicked, this, guarded([this] { btAbortClick(); }));
    connect(btDelete, &QPushButton::clicked, this, guarded([this] { btDeleteClick(); }));
    connect(btBrowse, &QPushButton::clicked, this, guarded([this] { btBrowseClick(); }));
    connect(btClose, &QPushButton::clicked, this, guarded([this] { reject(); }));
    connect(btOptions, &QPushButton::clicked, this,
            guarded([this] { PopupMenu1->popup(btOptions->mapToGlobal(QPoint(0, btOptions->height()))); }));
    connect(pckDrive, &QListWidget::itemSelectionChanged, this, guarded([this] { pckDriveClick(); }));

    FillDriveList(*pckDrive, *cbDrive, true);
    ClearGrid();
    resize(760 * logicalDpiX() / 96, 520 * logicalDpiY() / 96);
}

// The rows tell the view when they go.
TfrmDirHog::~TfrmDirHog() = default;

void TfrmDirHog::buildTopPanel()
{
    Panel1 = named(new QFrame(this), "Panel1");
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    auto* panel = new QHBoxLayout(Panel1);
    const int frame = Panel1->frameWidth();
    panel->setContentsMargins(kButtonGap - frame, 6, 10 - frame, 6);

    auto* left = new QVBoxLayout;
    left->setSpacing(6);
    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(kButtonGap);
    buildButtons(buttons);
    left->addLayout(buttons);
    auto* legend = new QGridLayout;
    legend->setHorizontalSpacing(6);
    lblMain = named(new QLabel(QStringLiteral("Main -"), Panel1), "lblMain");
    lblMainText = named(
        new QLabel(QStringLiteral("only main folders are displayed (those folders directly under the main folder)"),
                   Panel1),
        "lblMainText");
    lblAll = named(new QLabel(QStringLiteral("All -"), Panel1), "lblAll");
    lblAllText = named(
        new QLabel(QStringLiteral("all folders including sub-folders are individually displayed"), Panel1),
        "lblAllText");
    QFont bold = lblMain->font();
    bold.setBold(true);
    lblMain->setFont(bold);
    lblAll->setFont(bold);
    legend->addWidget(lblMain, 0, 0);
    legend->addWidget(lblMainText, 0, 1);
    legend->addWidget(lblAll, 1, 0);
    legend->addWidget(lblAllText, 1, 1);
    legend->setColumnStretch(1, 1);
    left->addLayout(legend);
    left->addStretch(1);
    panel->addLayout(left, 1);

    pckDrive = named(new comp::DriveCheckList(Panel1), "pckDrive");
    pckDrive->setFixedWidth(200 * logicalDpiX() / 96);
    pckDrive->setFixedHeight(90 * logicalDpiY() / 96);
    panel->addWidget(pckDrive);
    cbDrive = MakeDriveCombo(this, DriveListOwner::DirHog);
}

void TfrmDirHog::buildButtons(QHBoxLayout* row)
{
    // "&Abort" and "Clean?" share a place: only one of them is ever shown.
    const ButtonPlace places[] = {
        {&btTop, "btTop", "&Main folders", "Only topmost folders. Does not display sub-folders."},
        {&btAll, "btAll", "&All Folders", "ALL folders including sub-folders are displayed"},
        {&btClose, "btClose", "Close", "Close window"},
        {&btAbort, "btAbort", "&Abort", "Abort scan"},
        {&btDelete, "btDelete", "Clean?", "Clean the folder"},
        {&btOptions, "btOptions", "Options", "Right click on grid for same options"},
        {&btBrowse, "btBrowse", "&Browse", "Browse the files and folder"},
    };
    AddButtonRow(Panel1, row, places);
    btClose->setShortcut(QKeySequence(Qt::Key_Escape));
}

void TfrmDirHog::buildMenu()
{
    PopupMenu1 = named(new QMenu(this), "PopupMenu1");
    auto add = [this](QMenu* menu, const char* name, const QString& caption) {
        return named(menu->addAction(caption), name);
    };
    miHighlight = add(PopupMenu1, "miHighlight", QStringLiteral("Highlight folders on Safe Harbor list"));
    miHighlight->setCheckable(true);
    miHighlight->setChecked(true);
    connect(miHighlight, &QAction::triggered, this, [this] { grid->viewport()->update(); });
    miAddFolder = add(PopupMenu1, "miAddFolder", QStringLiteral("Add a folder to the list of drives"));
    connect(miAddFolder, &QAction::triggered, this, guarded([this] { AddFolderClick(); }));
    PopupMenu1->addSeparator();

    sort_ = new SortMenu(QStringLiteral("TfrmDirHog"), grid, PopupMenu1,
                         {"miSortSize", "miSortFiles", "miSortSubFolders", "miSortAccess", "miSortName"}, this);
    sort_->allowed = [this] { return !searching(); };
    miSortSize = sort_->item(QStringLiteral("Sort by &Size"));
    miSortFiles = sort_->item(QStringLiteral("Sort by # &Files"));
    miSortSubFolders = sort_->item(QStringLiteral("Sort by # Sub-f&olders"));
    miSortAccess = sort_->item(QStringLiteral("Sort by &Access Date"));
    miSortName = sort_->item(QStringLiteral("Sort by &Name"));
    PopupMenu1->addSeparator();

    shrinker_ = new comp::PanelShrinker(Panel1, this);
    miShrink = add(PopupMenu1, "miShrink", QStringLiteral("Shrink top panel"));
    miRestore = add(PopupMenu1, "miRestore", QStringLiteral("Restore top panel"));
    shrinker_->setActions(miShrink, miRestore);
    PopupMenu1->addSeparator();

    listing_ = new ListingCommands(grid, this);
    listing_->printTitle = [this] { return printTitle(); };
    miPrint = add(PopupMenu1, "miPrint", QStringLiteral("Print"));
    connect(miPrint, &QAction::triggered, this, guarded([this] { listing_->print(); }));
    auto* clip = named(new QMenu(QStringLiteral("Clipboard"), PopupMenu1), "mnClipboard");
    miClipboard = named(PopupMenu1->addMenu(clip), "miClipboard");
    miClipNames = add(clip, "miClipNames", QStringLiteral("Folder names "));
    connect(miClipNames, &QAction::triggered, this, guarded([this] { copyFolderNames(); }));
    miClipGrid = add(clip, "miClipGrid", QStringLiteral("Entire grid separated by tabs"));
    connect(miClipGrid, &QAction::triggered, this, guarded([this] { listing_->copyGrid(); }));
    miWebPage = add(PopupMenu1, "miWebPage", QStringLiteral("Web page"));
    connect(miWebPage, &QAction::triggered, this, guarded([this] { listing_->saveWebPage(); }));

    for (QWidget* source : {static_cast<QWidget*>(grid), static_cast<QWidget*>(pckDrive)}) {
        source->setContextMenuPolicy(Qt::CustomContextMenu);
        QWidget* at = source == grid ? grid->viewport() : source;
        connect(source, &QWidget::customContextMenuRequested, this, [this, at](const QPoint& pos) {
            comp::guardSlot([&] { PopupMenu1->popup(at->mapToGlobal(pos)); });
        });
    }
}

bool TfrmDirHog::searching() const
{
    return state_->searching();
}

EventPump& TfrmDirHog::eventPump()
{
    return state_->pump();
}

QString TfrmDirHog::statusText() const
{
    return lblStatus->text();
}

QString TfrmDirHog::printTitle() const
{
    return QStringLiteral("Folder hogs on drive(s) ") + DriveListText(pckDrive->tickedEntries());
}

comp::ResultGridView::CellLook TfrmDirHog::cellLook(int row, int column) const
{
    comp::ResultGridView::CellLook look;
    const comp::ResultGrid& rows = search_->grid();
    if (miHighlight && miHighlight->isChecked() && row >= 1 && column == kNameColumn
        && !rows.cellView(row, column).isEmpty() && !rows.path(row).isEmpty())
        look.bold = core::programSafeHarbor().IsInSafeHarbor(rows.path(row), false) != core::shNone;
    return look;
}

void TfrmDirHog::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    if (!e->spontaneous())
        comp::guardSlot([&] { FormShow(); });
}

void TfrmDirHog::FormShow()
{
    ClearGrid();
    for (QPushButton* b : {btOptions, btBrowse, btDelete, btAbort})
        b->hide();
    setStatus(QString());
    pckDriveClick();
    btTop->setFocus();
    comp::SetSmallestSize(*this, *Panel1, {btTop, btAll, btClose, btDelete, btOptions, btBrowse}, kButtonGap);
    shrinker_->remember();
    if (const QScreen* screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
}

void TfrmDirHog::resizeEvent(QResizeEvent* e)
{
    QDialog::resizeEvent(e);
    setColumnWidths();
}

void TfrmDirHog::setColumnWidths()
{
    comp::FillLastColumn(*grid, kWidths, kNameBorder, logicalDpiX());
}

void TfrmDirHog::pckDriveClick()
{
    const bool any = !searching() && pckDrive->tickedCount() > 0;
    btTop->setEnabled(any);
    btAll->setEnabled(any);
}

void TfrmDirHog::AddFolderClick()
{
    comp::runModal<TfrmAddNewFolder>(this);
    FillDriveList(*pckDrive, *cbDrive, true);
    pckDriveClick();
}

void TfrmDirHog::ClearGrid()
{
    search_->clear();
    grid->sync();
    sort_->tick(miSortSize);
    lastClick_ = -1;
    setColumnWidths();
}

void TfrmDirHog::setStatus(const QString& text)
{
    lblStatus->setText(text);
}

void TfrmDirHog::btTopClick()
{
    scan(DirHogMode::MainFolders);
}

void TfrmDirHog::btAllClick()
{
    scan(DirHogMode::AllFolders);
}

void TfrmDirHog::scan(DirHogMode mode)
{
    if (searching() || pckDrive->tickedCount() == 0)
        return;
    HintsOff hintsOff(state_->hints());
    ClearGrid();
    {
        SearchState::Running running(*state_);
        search_->status = [this](const QString& text) { setStatus(text); };
        search_->pump = [this] { state_->pump().pump(); };
        search_->warning = [](const QString& text) { core::WarningBox(text); };
        search_->search(pckDrive->tickedEntries(), mode);
        search_->status = nullptr;
        search_->pump = nullptr;
        search_->warning = nullptr;
    }
    grid->sync();
    setColumnWidths();
    setStatus(QStringLiteral("Folders : ") + QString::number(search_->folderCount()));
    pckDriveClick();
    if (search_->noResult()) {
        core::InfoBox(QString::fromLatin1(kNoFilesMessage));
    } else {
        for (QPushButton* b : {btOptions, btBrowse, btDelete})
            b->show();
    }
    // The search sorted largest first; the next "Sort by &Size" is ascending.
    sort_->tick(miSortSize);
}

void TfrmDirHog::btAbortClick()
{
    if (!searching())
        return;
    search_->abort();
    btAbort->hide();
    core::WarningBox(QString::fromLatin1(kDirHogAbortedMessage));
}

void TfrmDirHog::btBrowseClick()
{
    if (searching())
        return;
    comp::ResultGrid& rows = search_->grid();
    const int row = grid->currentRow();
    if (row < 1 || row > rows.rowsUsed() || row >= rows.rowCount() || rows.cellView(row, 0).isEmpty())
        return;
    const QString size = rows.cell(row, 0);
    if (size == QLatin1String("DELETED") || size == QLatin1String("RECYCLED"))
        return;
    // The row's real path, never the Name cell's text.
    browse::BrowseRequest request;
    request.folder = rows.path(row);
    browse::browseFolder(this, request);
}

void TfrmDirHog::btDeleteClick()
{
    if (searching())
        return;
    comp::ResultGrid& rows = search_->grid();
    const int row = grid->currentRow();
    auto isData = [&](int r) { return r >= 1 && r <= rows.rowsUsed() && r < rows.rowCount(); };
    if (!isData(lastClick_) || !isData(row) || rows.cellView(row, 0).isEmpty())
        return;
    const QString size = rows.cell(row, 0);
    if (size == QLatin1String("DELETED") || size == QLatin1String("RECYCLED") || !search_->stillMeasured(row)) {
        core::ErrorBox(QString::fromLatin1(kDirHogFolderGoneMessage));
        return;
    }
    const QString folder = rows.path(row);
    const QString refusal = DirHogRefusalMessage(folder);
    if (!refusal.isEmpty()) {
        core::ErrorBox(refusal);
        return;
    }
    bool recycled = false;
    bool acted = false;
    {
        const std::unique_ptr<del::TfrmDelDirectory> window(new del::TfrmDelDirectory(this));
        window->setFolder(folder);
        const int result = window->exec();
        recycled = window->RecycleChosen;
        const del::FolderDeletionResult& r = window->lastResult();
        acted = result != QDialog::Rejected || r.handled > 0 || r.folderRemoved;
    }
    plat::FindData now;
    if (!plat::statPath(folder, now)) {
        rows.setCell(row, 0, recycled ? QStringLiteral("RECYCLED") : QStringLiteral("DELETED"));
    } else if (acted) {
        // Zipped without deleting, files left in place, or stopped: the row
        // shows what the folder holds now.
        search_->measureAgain(row);
    }
    grid->sync();
}

void TfrmDirHog::copyFolderNames()
{
    const comp::ResultGrid& rows = search_->grid();
    QString text;
    for (int r = 1; r < rows.rowCount(); ++r)
        text += rows.cell(r, kNameColumn) + QStringLiteral("\r\n");
    QGuiApplication::clipboard()->setText(text);
}

}  // namespace finders

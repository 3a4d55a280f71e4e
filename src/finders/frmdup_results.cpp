// TfrmDup: its result list, the shared one configured for the window's two
// modes, and what only duplicates have: marking all but one copy of each
// group, the guard that keeps a copy of every group, the group shading the
// web page leaves out, and the pairs.
#include "finders/frmdup.h"

#include "components/drivechecklist.h"
#include "components/panelshrinker.h"
#include "components/slotguard.h"
#include "core/helpers.h"
#include "core/prompter.h"
#include "finders/frmdupcompare.h"
#include "finders/printtitle.h"
#include "finders/resultlist.h"
#include "finders/searchstate.h"

#include <QAction>
#include <QMenu>
#include <QPushButton>

namespace finders {

void TfrmDup::buildResultList()
{
    ResultListSetup setup;
    setup.sortWindow = QStringLiteral("TfrmDup");
    setup.sortItemNames = {"miSortSize", "miSortDate", "miSortAccess", "miSortName", "miSortType"};
    setup.defaultSort = QStringLiteral("&Size");
    setup.addFolderCaption = QStringLiteral("Add a folder to the list of drives");
    // The Safe Harbor column: the folder in duplicate mode, the file itself
    // in file-hog mode.
    setup.harborColumn = duplicateMode_ ? int(dcFolder) : int(hcFileName);
    setup.harborTestsFile = !duplicateMode_;
    setup.archiveTag = QStringLiteral("Duplicates");
    list_ = new ResultList(this, grid, Panel1, setup);
    list_->busy = [this] { return searching(); };
    // Duplicate groups keep their order; file hogs sort by menu and title.
    list_->sortable = [this] { return !duplicateMode_; };
    list_->afterAddFolder = [this] { AddFolderClick(); };
    list_->cleanGuard = [this] { return allCopiesGuard(); };
    list_->setButtons(btMark, btDelete, btOptions, btDetails);
    list_->addMenuSource(pckDrive);
    list_->marks().status = [this](const QString& text) { setStatus(text); };
    list_->listing().printTitle = [this] { return printTitle(); };
    list_->listing().webPageMode = [this](bool on) { webPageMode(on); };
    // The window's cell colours: the group shading, which the web-page mode
    // switches off, so the page carries no group colours.
    list_->listing().webCellRule = [this](int row, int, reports::WebCellLook& look) {
        if (duplicateMode_ && !webPageFlag() && row > 0 && grid->shadingEnabled())
            look.background = grid->shadeColor(results().shade(row));
    };

    const ResultMenuItems& m = list_->items();
    PopupMenu1 = list_->menu();
    miDetails = m.details;
    miHighlight = m.highlight;
    miAddFolder = m.addFolder;
    miSort = m.sort;
    miMark = m.mark;
    miMarkAll = m.markAll;
    miUnmarkAll = m.unmarkAll;
    miResize = m.resize;
    miShrink = m.shrink;
    miRestore = m.restore;
    miOpen = m.open;
    miView = m.view;
    miPrint = m.print;
    miClipboard = m.clipboard;
    miClipNames = m.clipNames;
    miClipGrid = m.clipGrid;
    miWebPage = m.webPage;
    const SortMenu& sort = list_->sort();
    miSortSize = sort.item(QStringLiteral("&Size"));
    miSortDate = sort.item(QStringLiteral("&Date"));
    miSortAccess = sort.item(QStringLiteral("&Access Date"));
    miSortName = sort.item(QStringLiteral("&Name"));
    miSortType = sort.item(QStringLiteral("&Type"));
    // Duplicate groups are never re-sorted.
    miSort->setVisible(!duplicateMode_);

    // Between "Mark all" and "Unmark all"; file hogs come in no groups.
    auto addMarkItem = [&](const char* name, const char* caption, KeepCopy keep) {
        auto* a = new QAction(QString::fromLatin1(caption), m.markMenu);
        a->setObjectName(QLatin1String(name));
        a->setVisible(duplicateMode_);
        m.markMenu->insertAction(m.unmarkAll, a);
        connect(a, &QAction::triggered, this, [this, keep] { comp::guardSlot([&] { markAllButOne(keep); }); });
        return a;
    };
    miMarkButOldest = addMarkItem("miMarkButOldest", "Mark all but the oldest in each group", KeepCopy::Oldest);
    miMarkButNewest = addMarkItem("miMarkButNewest", "Mark all but the newest in each group", KeepCopy::Newest);

    connect(btCompare, &QPushButton::clicked, this, comp::guarded([this] { btCompareClick(); }));
    // The folder browser comes with a later part of the program; until then
    // "&Browse" stays in its place, disabled.
    btBrowse->setEnabled(false);

    search_->setAbortButton(btAbort);
    search_->setHidden({btMark, btDelete, btOptions, btBrowse, btDetails, btCompare});
    search_->setLocked(criteriaControls());
    search_->setBusyWidget(grid);
    search_->onLeave = [this] { leaveSearching(); };
}

const MarkBook& TfrmDup::marks() const
{
    return list_->marks().book();
}

bool TfrmDup::webPageFlag() const
{
    return list_->listing().webPageFlag();
}

comp::PanelShrinker& TfrmDup::shrinker() const
{
    return list_->shrinker();
}

void TfrmDup::setCleanPanel(CleanPanel panel)
{
    list_->marks().setCleanPanel(std::move(panel));
}

void TfrmDup::MarkThisFile(int row)
{
    list_->marks().toggle(row);
}

comp::ResultGridView::CellLook TfrmDup::cellLook(int row, int column) const
{
    comp::ResultGridView::CellLook look;
    list_->harborLook(row, column, look);
    return look;
}

void TfrmDup::markAllButOne(KeepCopy keep)
{
    if (!duplicateMode_)
        return;
    ModifiedKeyReader reader;
    const comp::ResultGrid& rows = results();
    list_->marks().markAllButOne(keep, [&](int row) {
        return reader.key(rows.cellView(row, dcModified), rows.cellView(row, dcTime));
    });
}

bool TfrmDup::allCopiesGuard()
{
    if (!duplicateMode_)
        return true;
    const int whole = FullyMarkedGroups(results());
    if (whole == 0)
        return true;
    // Nothing is lost by a stray Enter: No is the default.
    return core::prompter().confirmWithDefault(core::ConfirmKind::YesNo, AllCopiesQuestion(whole), core::Answer::No)
           == core::Answer::Yes;
}

void TfrmDup::webPageMode(bool on)
{
    grid->setShadingEnabled(!on && duplicateMode_);
}

void TfrmDup::btCompareClick()
{
    if (searching() || !duplicateMode_)
        return;
    if (TfrmDupCompare* pairs = programPairWindow())
        pairs->ShowFor(this);
}

QString TfrmDup::printTitle() const
{
    return DupPrintTitle(criteria());
}

}  // namespace finders

// TfrmDup: what the user does with the rows of a search. Marks and their
// bookkeeping, the hand-over to the deletion panel, the grid's menu,
// clipboard, print, web page and the file-hog sorts.
#include "finders/frmdup.h"

#include "components/panelshrinker.h"
#include "components/slotguard.h"
#include "core/helpers.h"
#include "core/prompter.h"
#include "browse/frmdetails.h"
#include "browse/viewhook.h"
#include "core/safeharbor.h"
#include "finders/frmdupcompare.h"
#include "finders/printtitle.h"
#include "platform/desktop.h"
#include "platform/fileops.h"
#include "reports/cliptext.h"
#include "reports/listings.h"
#include "reports/sortcommand.h"

#include <QAction>
#include <QClipboard>
#include <QCursor>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QPushButton>

namespace finders {

namespace {

const QString kSortWindow = QStringLiteral("TfrmDup");

// The hourglass while rows are marked or sorted, put back on every way out.
struct WaitCursor {
    WaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QGuiApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

// The folder of a drive path: "C:\A\b.txt" -> "C:\A", "C:\b.txt" -> "C:\".
QString folderOf(const QString& path)
{
    const qsizetype slash = path.lastIndexOf(u'\\');
    if (slash < 0)
        return QString();
    return path.left(slash == 2 ? 3 : slash);
}

}  // namespace

void TfrmDup::connectResults()
{
    grid->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(grid, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
        comp::guardSlot([&] { PopupMenu1->popup(grid->viewport()->mapToGlobal(pos)); });
    });
    connect(grid, &comp::ResultGridView::rowDoubleClicked, this,
            [this](int row) { comp::guardSlot([&] { gridDblClick(row); }); });
    connect(grid, &comp::ResultGridView::titleClicked, this,
            [this](int column) { comp::guardSlot([&] { gridTitleClick(column); }); });
    // The Delete key acts when it is released.
    grid->installEventFilter(this);
    grid->setCellLookHook(
        [this](int row, int column, comp::ResultGridView::CellLook& look) { harborLook(row, column, look); });

    auto slot = [this](void (TfrmDup::*f)()) { return [this, f] { comp::guardSlot([&] { (this->*f)(); }); }; };
    connect(btMark, &QPushButton::clicked, this, slot(&TfrmDup::btMarkClick));
    connect(btDelete, &QPushButton::clicked, this, slot(&TfrmDup::btDeleteClick));
    connect(btOptions, &QPushButton::clicked, this, slot(&TfrmDup::btOptionsClick));
    connect(btDetails, &QPushButton::clicked, this, slot(&TfrmDup::btDetailsClick));
    connect(btCompare, &QPushButton::clicked, this, slot(&TfrmDup::btCompareClick));
    // The folder browser comes with a later part of the program; until then
    // "&Browse" stays in its place, disabled.
    btBrowse->setEnabled(false);
}

bool TfrmDup::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == grid && event->type() == QEvent::KeyRelease
        && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete) {
        comp::guardSlot([&] { btMarkClick(); });
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

bool TfrmDup::isDataRow(int row) const
{
    return row >= 1 && row <= results().rowsUsed() && row < results().rowCount();
}

void TfrmDup::deleteOneFile(int row)
{
    if (marks_.toggle(results(), row))
        setStatus(marks_.statusText());
}

void TfrmDup::clearAllMarks()
{
    marks_.clear(results());
}

void TfrmDup::followMarkedCount()
{
    btDelete->setEnabled(marks_.count() > 0);
}

void TfrmDup::MarkThisFile(int row)
{
    if (searching_)
        return;
    deleteOneFile(row);
    followMarkedCount();
}

void TfrmDup::btMarkClick()
{
    if (searching_)
        return;
    const int row = grid->currentRow();
    if (isDataRow(row)) {
        deleteOneFile(row);
        if (row < results().rowCount() - 1)
            grid->setCurrentRow(row + 1);
    }
    followMarkedCount();
}

void TfrmDup::gridDblClick(int row)
{
    if (searching_)
        return;
    if (isDataRow(row))
        deleteOneFile(row);
    followMarkedCount();
}

void TfrmDup::MarkAllClick()
{
    if (searching_)
        return;
    {
        WaitCursor wait;
        marks_.markAll(results());
    }
    setStatus(marks_.statusText());
    // Enabled even when none of the listed files exists any more; "Clean?"
    // then hands nothing over (btDeleteClick).
    btDelete->setEnabled(true);
}

void TfrmDup::markAllButOne(KeepCopy keep)
{
    if (searching_ || !duplicateMode_)
        return;
    {
        WaitCursor wait;
        ModifiedKeyReader reader;
        const comp::ResultGrid& rows = results();
        marks_.markAllButOne(results(), keep, [&](int row) {
            return reader.key(rows.cellView(row, dcModified), rows.cellView(row, dcTime));
        });
    }
    setStatus(marks_.statusText());
    followMarkedCount();
}

void TfrmDup::MarkButOldestClick()
{
    markAllButOne(KeepCopy::Oldest);
}

void TfrmDup::MarkButNewestClick()
{
    markAllButOne(KeepCopy::Newest);
}

void TfrmDup::UnmarkAllClick()
{
    if (searching_)
        return;
    clearAllMarks();
    btDelete->setEnabled(false);
    setStatus(marks_.statusText());
}

void TfrmDup::btDeleteClick()
{
    // Nothing that exists is marked (possible after "Mark all" when every
    // listed file is gone): no panel, and the window stays as it is.
    if (searching_ || marks_.count() <= 0)
        return;
    if (!allCopiesGuard())
        return;
    CleanRequest request;
    request.files = marks_.list();
    request.potentialSavings = marks_.bytes();
    request.archiveTag = QStringLiteral("Duplicates");
    const int result = cleanPanel_ ? cleanPanel_(this, request) : runDeletionPanel(this, request);
    // Closed without an operation: rows and marks stay for another try.
    if (result == QDialog::Rejected)
        return;
    // The files are gone or moved; the rows are not brought up to date
    // because the window closes.
    done(QDialog::Accepted);
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

void TfrmDup::btOptionsClick()
{
    PopupMenu1->popup(btOptions->mapToGlobal(QPoint(0, btOptions->height())));
}

void TfrmDup::HighlightClick()
{
    grid->viewport()->update();
}

void TfrmDup::harborLook(int row, int column, comp::ResultGridView::CellLook& look) const
{
    // The Safe Harbor column: the folder in duplicate mode, the file itself
    // in file-hog mode, tested by the row's real path.
    if (!miHighlight || !miHighlight->isChecked() || row < 1)
        return;
    const int harborColumn = duplicateMode_ ? int(dcFolder) : int(hcFileName);
    if (column != harborColumn || results().cellView(row, column).isEmpty())
        return;
    const QString path = results().path(row);
    if (path.isEmpty())
        return;
    const QString tested = duplicateMode_ ? folderOf(path) : path;
    if (!tested.isEmpty() && core::programSafeHarbor().IsInSafeHarbor(tested, !duplicateMode_) != core::shNone)
        look.bold = true;
}

void TfrmDup::OpenClick()
{
    const int row = grid->currentRow();
    if (!isDataRow(row))
        return;
    const QString path = results().path(row);
    if (!plat::fileExists(path))
        return;
    if (!plat::openWithDesktop(path))
        core::ErrorBox(QStringLiteral("Couldn't open ") + path);
}

void TfrmDup::ViewClick()
{
    const int row = grid->currentRow();
    if (isDataRow(row) && plat::fileExists(results().path(row)))
        browse::viewFile(this, results().path(row));
}

void TfrmDup::btDetailsClick()
{
    const int row = grid->currentRow();
    if (!isDataRow(row) || !plat::fileExists(results().path(row)))
        return;
    comp::runModal<browse::TfrmDetails>(this, [&](browse::TfrmDetails& w) { w.FileToShow = results().path(row); });
}

void TfrmDup::btCompareClick()
{
    if (searching_ || !duplicateMode_)
        return;
    if (TfrmDupCompare* pairs = programPairWindow())
        pairs->ShowFor(this);
}

QString TfrmDup::printTitle() const
{
    return DupPrintTitle(criteria());
}

void TfrmDup::PrintClick()
{
    const QString title = printTitle();
    const auto target = core::prompter().choosePrinter(QStringLiteral("Print"));
    if (!target)
        return;
    reports::PrintGridListing(results(), grid->columnWidths(), title, *target);
}

void TfrmDup::ClipNamesClick()
{
    QGuiApplication::clipboard()->setText(reports::FileNamesText(results()));
}

void TfrmDup::ClipGridClick()
{
    QGuiApplication::clipboard()->setText(reports::TabbedGridText(results()));
}

void TfrmDup::WebPageClick()
{
    // The flag holds for the dialog and the writing, and is cleared on every
    // way out; while it is set the grid shows no group shading.
    struct Flag {
        TfrmDup& w;
        explicit Flag(TfrmDup& window) : w(window)
        {
            w.webPage_ = true;
            w.grid->setShadingEnabled(false);
        }
        ~Flag()
        {
            w.webPage_ = false;
            w.grid->setShadingEnabled(w.duplicateMode_);
        }
    } flag(*this);
    const auto file = core::prompter().saveFile(reports::WebPageSaveRequest());
    if (!file)
        return;
    // The window's cell colours: the group shading, which the flag switches
    // off, so the page carries no group colours.
    const reports::WebCellRule rule = [this](int row, int, reports::WebCellLook& look) {
        if (duplicateMode_ && !webPage_ && row > 0 && grid->shadingEnabled())
            look.background = grid->shadeColor(results().shade(row));
    };
    reports::SaveGridAsWebPage(results(), *file, rule);
}

void TfrmDup::checkSortItem(QAction* item)
{
    for (QAction* a : {miSortSize, miSortDate, miSortAccess, miSortName, miSortType})
        a->setChecked(a == item);
}

void TfrmDup::SortClick(QAction* item)
{
    // Qt has toggled the checkable item before this runs; on every way out
    // the tick goes back to the item of the last sort that ran, so a sort
    // that did not run (too few rows, a search running) leaves one tick.
    struct Retick {
        TfrmDup& w;
        ~Retick() { w.checkSortItem(w.sortedBy_); }
    } retick{*this};
    if (searching_ || duplicateMode_ || !item)
        return;
    const reports::SortCommand* command = reports::FindSortCommand(kSortWindow, item->text());
    if (!command)
        return;
    std::unique_ptr<WaitCursor> wait;
    const bool sorted = reports::RunSortCommand(results(), *command, reports::FlipRule::AfterSort, [&] {
        wait = std::make_unique<WaitCursor>();
        checkSortItem(nullptr);
    });
    if (sorted)
        sortedBy_ = item;
    grid->sync();
}

void TfrmDup::gridTitleClick(int column)
{
    // Duplicate groups keep their order; in file-hog mode a title sorts as
    // its menu item does ("Time" has none).
    if (duplicateMode_)
        return;
    const reports::SortCommand* command = reports::SortCommandForColumn(kSortWindow, column);
    if (!command)
        return;
    for (QAction* a : {miSortSize, miSortDate, miSortAccess, miSortName, miSortType})
        if (a->text() == command->caption)
            SortClick(a);
}

}  // namespace finders

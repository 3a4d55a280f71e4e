#include "finders/resultmarks.h"

#include "components/resultgridview.h"
#include "components/slotguard.h"
#include "components/waitcursor.h"
#include "delete/frmreallydelete.h"

#include <QDialog>
#include <QKeyEvent>
#include <QPushButton>

namespace finders {

int RunDeletionPanel(QWidget* owner, const CleanRequest& request)
{
    return comp::runModal<del::TfrmReallyDelete>(owner, [&](del::TfrmReallyDelete& panel) {
        panel.setFiles(request.files);
        panel.PotentialSavings = request.potentialSavings;
        panel.ArchiveTag = request.archiveTag;
    });
}

ResultMarks::ResultMarks(comp::ResultGridView* grid, QObject* parent) : QObject(parent), grid_(grid)
{
    connect(grid, &comp::ResultGridView::rowDoubleClicked, this,
            [this](int row) { comp::guardSlot([&] { doubleClick(row); }); });
    // The Delete key acts when it is released.
    grid->installEventFilter(this);
}

void ResultMarks::setButtons(QPushButton* mark, QPushButton* clean)
{
    clean_ = clean;
    if (mark)
        connect(mark, &QPushButton::clicked, this, [this] { comp::guardSlot([&] { markCurrent(); }); });
}

bool ResultMarks::eventFilter(QObject* watched, QEvent* event)
{
    // The event type first: while the grid is being destroyed it still sends
    // events here, and comparing with the QPointer then casts an object that
    // is no longer a grid.
    if (event->type() == QEvent::KeyRelease && watched == grid_
        && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete) {
        comp::guardSlot([&] { markCurrent(); });
        return true;
    }
    return QObject::eventFilter(watched, event);
}

bool ResultMarks::isDataRow(int row) const
{
    const comp::ResultGrid& rows = grid_->grid();
    return row >= 1 && row <= rows.rowsUsed() && row < rows.rowCount();
}

void ResultMarks::showTotals()
{
    if (status)
        status(book_.statusText());
}

void ResultMarks::toggleRow(int row)
{
    if (book_.toggle(grid_->grid(), row))
        showTotals();
}

void ResultMarks::followCount()
{
    if (clean_)
        clean_->setEnabled(book_.count() > 0);
}

void ResultMarks::toggle(int row)
{
    if (isBusy())
        return;
    toggleRow(row);
    followCount();
}

void ResultMarks::markCurrent()
{
    if (isBusy())
        return;
    const int row = grid_->currentRow();
    if (isDataRow(row)) {
        toggleRow(row);
        if (row < grid_->grid().rowCount() - 1)
            grid_->setCurrentRow(row + 1);
    }
    followCount();
}

void ResultMarks::doubleClick(int row)
{
    if (isBusy())
        return;
    if (isDataRow(row))
        toggleRow(row);
    followCount();
}

void ResultMarks::markAll()
{
    if (isBusy())
        return;
    {
        comp::WaitCursor wait;
        book_.markAll(grid_->grid());
    }
    showTotals();
    // Enabled even when none of the listed files exists any more; "Clean?"
    // then hands nothing over.
    if (clean_)
        clean_->setEnabled(true);
}

void ResultMarks::markAllButOne(KeepCopy keep, const std::function<qint64(int row)>& modified)
{
    if (isBusy())
        return;
    {
        comp::WaitCursor wait;
        book_.markAllButOne(grid_->grid(), keep, modified);
    }
    showTotals();
    followCount();
}

void ResultMarks::unmarkAll()
{
    if (isBusy())
        return;
    book_.clear(grid_->grid());
    if (clean_)
        clean_->setEnabled(false);
    showTotals();
}

void ResultMarks::reset()
{
    book_.clear();
    if (clean_)
        clean_->setEnabled(false);
}

void ResultMarks::clean(QDialog* window, const QString& archiveTag, const std::function<bool()>& guard)
{
    // Nothing that exists is marked (possible after "Mark all" when every
    // listed file is gone): no panel, and the window stays as it is.
    if (isBusy() || book_.count() <= 0)
        return;
    if (guard && !guard())
        return;
    CleanRequest request;
    request.files = book_.list();
    request.potentialSavings = book_.bytes();
    request.archiveTag = archiveTag;
    const int result = panel_ ? panel_(window, request) : RunDeletionPanel(window, request);
    // Closed without an operation: rows and marks stay for another try.
    if (result == QDialog::Rejected)
        return;
    // The files are gone or moved; the rows are not brought up to date
    // because the window closes.
    window->done(QDialog::Accepted);
}

}  // namespace finders

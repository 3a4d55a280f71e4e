#include "finders/frmclean.h"

#include "components/drivechecklist.h"
#include "components/panelshrinker.h"
#include "components/picklist.h"
#include "components/slotguard.h"
#include "components/windowplacement.h"
#include "core/helpers.h"
#include "core/prompter.h"
#include "finders/dupresults.h"
#include "finders/filldrivelist.h"
#include "finders/frmtempfiles.h"
#include "finders/printtitle.h"
#include "finders/resultlist.h"
#include "finders/searchstate.h"
#include "finders/templists.h"
#include "finders/tempsearch.h"

#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>

namespace finders {

namespace {

using comp::guarded;

comp::PlacementKey placementKey()
{
    return {core::PlacementStore::Key::Shared, comp::executableSection(), QStringLiteral("frmMods")};
}

}  // namespace

TfrmClean::TfrmClean(QWidget* owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("frmClean"));
    setWindowTitle(QStringLiteral("Find and delete temporary files"));
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    setSizeGripEnabled(true);
    search_ = new SearchState(this);

    buildTopPanel();
    buildResults();
    buildResultList();

    grid->setGrid(&results_);
    grid->setMarkColumn(tcFileName);
    grid->setRightAligned(tcSize, true);
    using Kind = comp::ResultGridView::ColumnKind;
    grid->setColumnKind(tcSize, Kind::Number);
    grid->setColumnKind(tcModified, Kind::Date);
    grid->setColumnKind(tcTime, Kind::Time);
    grid->setColumnKind(tcAccess, Kind::Date);
    connect(grid, &comp::ResultGridView::columnsFitted, this, guarded([this] { setColumnWidths(); }));
    ClearGrid();

    FillDriveList(*pckDrive, *cbDrive, true);
    resize(780 * logicalDpiX() / 96, 540 * logicalDpiY() / 96);

    connect(btScan, &QPushButton::clicked, this, guarded([this] { btScanClick(); }));
    connect(btAbort, &QPushButton::clicked, this, guarded([this] { btAbortClick(); }));
    connect(btClose, &QPushButton::clicked, this, guarded([this] { reject(); }));
    connect(btEdit, &QPushButton::clicked, this, guarded([this] { btEditClick(); }));
    connect(pckDrive, &QListWidget::itemSelectionChanged, this, guarded([this] { pckDriveClick(); }));
}

TfrmClean::~TfrmClean()
{
    comp::savePlacement(*this, placementKey());
}

bool TfrmClean::searching() const
{
    return search_->searching();
}

EventPump& TfrmClean::eventPump()
{
    return search_->pump();
}

QString TfrmClean::statusText() const
{
    return lblStatus->text();
}

QString TfrmClean::printTitle() const
{
    QStringList ticked = pckDrive->tickedEntries();
    for (QString& entry : ticked)
        entry = entry.left(1).toUpper();
    return QStringLiteral("Temporary files on drive(s) ") + DriveListText(ticked);
}

void TfrmClean::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    if (!e->spontaneous())
        comp::guardSlot([&] { FormShow(); });
}

void TfrmClean::resizeEvent(QResizeEvent* e)
{
    QDialog::resizeEvent(e);
    setColumnWidths();
}

void TfrmClean::FormShow()
{
    readTypes(true);
    ClearGrid();
    for (QPushButton* b : {btOptions, btBrowse, btDetails, btAbort, btMark, btDelete})
        b->hide();
    setStatus(QString());
    btClose->setEnabled(true);
    pckDriveClick();
    btScan->setFocus();
    setSmallestSize();
    comp::restorePlacement(*this, placementKey());
    list_->shrinker().remember();
}

void TfrmClean::readTypes(bool selectAll)
{
    PickList1->setLines(ReadTempList(CleanDefaultPatterns()));
    if (selectAll)
        PickList1->selectAll();
}

void TfrmClean::pckDriveClick()
{
    btScan->setEnabled(!searching() && pckDrive->tickedCount() > 0);
}

void TfrmClean::AddFolderClick()
{
    FillDriveList(*pckDrive, *cbDrive, true);
    pckDriveClick();
}

void TfrmClean::btEditClick()
{
    if (searching())
        return;
    comp::runModal<TfrmTempFiles>(this);
    readTypes(false);
}

void TfrmClean::ClearGrid()
{
    results_.reset(TempTitles());
    grid->sync();
    setColumnWidths();
    list_->newResults();
}

void TfrmClean::btScanClick()
{
    if (searching())
        return;
    // The criteria are read once, before anything changes.
    TempCriteria criteria{PickList1->selectedLines(), pckDrive->tickedEntries()};
    if (criteria.entries.isEmpty()) {
        core::ErrorBox(QString::fromLatin1(kNoExtensionMessage));
        return;
    }
    {
        HintsOff hintsOff(search_->hints());
        ClearGrid();
        TempSearch search(criteria);
        search.status = [this](const QString& text) { setStatus(text); };
        search.pump = [this] { search_->pump().pump(); };
        {
            SearchState::Running state(*search_);
            running_ = &search;
            try {
                search.scan(results_);
            } catch (...) {
                running_ = nullptr;
                throw;
            }
            running_ = nullptr;
        }
        grid->sync();
        setColumnWidths();
        showOutcome();
    }
    // Largest first on the first search of a run; the flag flips each time.
    list_->sort().sortBy(miSortSize);
}

void TfrmClean::leaveSearching()
{
    const bool found = results_.rowsUsed() > 0;
    btMark->setVisible(found);
    btDelete->setVisible(found);
    pckDriveClick();
}

void TfrmClean::showOutcome()
{
    if (results_.rowsUsed() == 0) {
        core::InfoBox(QString::fromLatin1(kNoFilesMessage));
        return;
    }
    btOptions->show();
    btBrowse->show();
    btDetails->show();
    setStatus(core::FormatGrouped(results_.rowsUsed()) + QStringLiteral(" tempfiles found"));
}

void TfrmClean::btAbortClick()
{
    if (!running_)
        return;
    running_->abortFlag = true;
    btAbort->hide();
    core::WarningBox(QString::fromLatin1(kTempAbortedMessage));
}

void TfrmClean::setStatus(const QString& text)
{
    lblStatus->setText(text);
}

}  // namespace finders

#include "finders/frmdup.h"

#include "components/drivechecklist.h"
#include "components/panelshrinker.h"
#include "components/resultgridview.h"
#include "components/slotguard.h"
#include "components/windowplacement.h"
#include "components/windowsizing.h"
#include "core/helpers.h"
#include "core/prompter.h"
#include "finders/filldrivelist.h"
#include "finders/frmdupcompare.h"
#include "finders/hintswitch.h"
#include "finders/resultlist.h"
#include "finders/searchstate.h"
#include "finders/wildcardtext.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QSpinBox>

namespace finders {

const char* const kCrcQuestion =
    "Compute CRC for the list of duplicates?  This results in a precise duplicate match since it is comparing "
    "the contents of the files.  However, it is much slower to compute.";
const char* const kEliminateQuestion =
    "Eliminate those duplicates that do not have the same CRC values?  This results in a smaller list.";
const char* const kListAbortedMessage = "List incomplete ... aborted by user";
const char* const kCrcAbortedMessage = "CRC values incomplete ... aborted by user";

namespace {

using comp::guarded;

comp::PlacementKey placementKey(bool duplicateMode)
{
    return {core::PlacementStore::Key::Shared,
            duplicateMode ? QStringLiteral("frmDups") : QStringLiteral("frmMods"), QStringLiteral("frmMods")};
}

}  // namespace

TfrmDup::TfrmDup(QWidget* owner, bool duplicateMode) : QDialog(owner), duplicateMode_(duplicateMode)
{
    setObjectName(QStringLiteral("frmDup"));
    setWindowTitle(duplicateMode ? QStringLiteral("Find and delete duplicate files")
                                 : QStringLiteral("Find and delete file hogs"));
    // A result list wants room: the window can be maximized, and its
    // placement remembers that.
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    setSizeGripEnabled(true);
    search_ = new SearchState(this);

    buildTopPanel();
    buildResults();
    buildResultList();
    lblDup->setVisible(duplicateMode_);
    cbDup->setVisible(duplicateMode_);
    cbDup->setCurrentIndex(mmFilenameSize);
    btScan->setToolTip(duplicateMode_ ? QStringLiteral("Duplicates on file name only")
                                      : QStringLiteral("Start scanning for file hogs"));
    for (QPushButton* b : {btAbort, btMark, btDelete, btOptions, btBrowse, btDetails, btCompare})
        b->hide();
    lblAnd->hide();
    num2->hide();

    // The grid: the size is right-aligned; duplicate groups are shaded.
    grid->setShadingEnabled(duplicateMode_);
    grid->setMarkColumn(duplicateMode_ ? int(dcFilename) : int(hcFileName));
    grid->setRightAligned(duplicateMode_ ? int(dcSize) : int(hcSize), true);
    using Kind = comp::ResultGridView::ColumnKind;
    grid->setColumnKind(duplicateMode_ ? int(dcSize) : int(hcSize), Kind::Number);
    grid->setColumnKind(duplicateMode_ ? int(dcModified) : int(hcModified), Kind::Date);
    grid->setColumnKind(duplicateMode_ ? int(dcAccess) : int(hcAccess), Kind::Date);
    grid->setColumnKind(duplicateMode_ ? int(dcTime) : int(hcTime), Kind::Time);
    // The last column takes what the others leave: when they widen, it
    // narrows.
    connect(grid, &comp::ResultGridView::columnsFitted, this, guarded([this] { setColumnWidths(); }));
    ClearGrid(criteria());

    FillDriveList(*pckDrive, *cbDrive, true);
    resize(780 * logicalDpiX() / 96, 540 * logicalDpiY() / 96);

    connect(btScan, &QPushButton::clicked, this, guarded([this] { btScanClick(); }));
    connect(btAbort, &QPushButton::clicked, this, guarded([this] { btAbortClick(); }));
    connect(btClose, &QPushButton::clicked, this, guarded([this] { reject(); }));
    connect(pckDrive, &QListWidget::itemSelectionChanged, this, guarded([this] { pckDriveClick(); }));
    // A pick from the list sets the edit text too, so one signal covers both.
    connect(cbWildCard, &QComboBox::editTextChanged, this, guarded([this] { cbWildCardChange(); }));
    connect(rbBetween, &QRadioButton::toggled, this, guarded([this] { rbSizeClick(); }));
    cbWildCardChange();
}

TfrmDup::~TfrmDup()
{
    // The pair window is the program's: it leaves before this window goes.
    if (TfrmDupCompare* pairs = programPairWindow())
        pairs->handBack(this);
    comp::savePlacement(*this, placementKey(duplicateMode_));
}

bool TfrmDup::searching() const
{
    return search_->searching();
}

EventPump& TfrmDup::eventPump()
{
    return search_->pump();
}

HintSwitch& TfrmDup::hints()
{
    return search_->hints();
}

DupCriteria TfrmDup::criteria() const
{
    DupCriteria c;
    c.duplicateMode = duplicateMode_;
    c.matchMode = duplicateMode_ ? cbDup->currentIndex() : mmFilenameSize;
    c.relation = rbBetween->isChecked()   ? SizeRelation::Between
                 : rbSmaller->isChecked() ? SizeRelation::SmallerOrEqual
                                          : SizeRelation::LargerOrEqual;
    c.num1 = num1->value();
    c.num2 = num2->value();
    c.unitKB = cbKB1->currentIndex() == 1;
    c.wildcard = cbWildCard->currentText();
    c.roots = pckDrive->tickedEntries();
    return c;
}

comp::ResultGrid& TfrmDup::results() const
{
    return results_->grid();
}

QString TfrmDup::statusText() const
{
    return lblStatus->text();
}

void TfrmDup::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    if (!e->spontaneous())
        comp::guardSlot([&] { FormShow(); });
}

void TfrmDup::FormShow()
{
    cbKB1->setCurrentIndex(1);
    num1->setValue(250);
    num2->setValue(250);
    ClearGrid(criteria());
    for (QPushButton* b : {btOptions, btBrowse, btDetails, btCompare, btAbort, btMark, btDelete})
        b->hide();
    setStatus(QString());
    btClose->setEnabled(true);
    pckDriveClick();
    btScan->setFocus();

    const QString typed = cbWildCard->currentText();
    cbWildCard->clear();  // also empties the edit text, hence the copy
    cbWildCard->addItems(WildcardChoices());
    cbWildCard->setEditText(typed);
    rbSizeClick();

    setSmallestSize();
    comp::restorePlacement(*this, placementKey(duplicateMode_));
    // The height "Restore top panel" gives back.
    list_->shrinker().remember();
}

void TfrmDup::resizeEvent(QResizeEvent* e)
{
    QDialog::resizeEvent(e);
    // The layout has placed the grid by now; the widths follow its width.
    setColumnWidths();
}

void TfrmDup::pckDriveClick()
{
    btScan->setEnabled(!searching() && pckDrive->tickedCount() > 0);
}

void TfrmDup::cbWildCardChange()
{
    lblWild->setText(WildcardLabel(cbWildCard->currentText()));
}

void TfrmDup::rbSizeClick()
{
    const bool between = rbBetween->isChecked();
    lblAnd->setVisible(between);
    num2->setVisible(between);
}

void TfrmDup::AddFolderClick()
{
    FillDriveList(*pckDrive, *cbDrive, true);
    pckDriveClick();
}

void TfrmDup::ClearGrid(const DupCriteria& criteria)
{
    // A fresh result list with the titles of the mode. The view lets go of
    // the old rows before they go.
    auto fresh = std::make_unique<DupResults>(criteria);
    grid->setGrid(&fresh->grid());
    results_ = std::move(fresh);
    setColumnWidths();
    // Every mark went with the old rows: nothing is left to clean. A search
    // lists the file hogs largest first.
    list_->newResults();
}

void TfrmDup::btScanClick()
{
    if (searching())
        return;
    if (rbBetween->isChecked() && num2->value() < num1->value()) {
        core::ErrorBox(QString::fromLatin1(kSecondNumberMessage));
        return;
    }
    bool computeCrc = false;
    bool eliminate = false;
    if (duplicateMode_ && MatchModeOffersCrc(cbDup->currentIndex())) {
        // Only an explicit No declines.
        computeCrc = core::prompter().confirm(core::ConfirmKind::YesNo, QString::fromLatin1(kCrcQuestion))
                     != core::Answer::No;
        if (computeCrc)
            eliminate = core::prompter().confirm(core::ConfirmKind::YesNo, QString::fromLatin1(kEliminateQuestion))
                        != core::Answer::No;
    }
    HintsOff hintsOff(search_->hints());
    // The pairs shown belong to the rows about to go.
    if (TfrmDupCompare* pairs = programPairWindow())
        pairs->handBack(this);
    ClearGrid(criteria());
    scan(computeCrc, eliminate);
}

void TfrmDup::scan(bool computeCrc, bool eliminate)
{
    {
        SearchState::Running state(*search_);
        results_->status = [this](const QString& text) {
            setStatus(text);
            // "&Abort" hid itself if the walk was aborted; the checksum pass
            // can be aborted on its own.
            if (results_->inCrcPhase() && !results_->aborting())
                btAbort->show();
        };
        results_->pump = [this] { search_->pump().pump(); };
        results_->search(computeCrc, eliminate);
        results_->status = nullptr;
        results_->pump = nullptr;
    }
    grid->sync();
    setColumnWidths();
    showOutcome();
}

QWidgetList TfrmDup::criteriaControls() const
{
    return {btScan, btClose, pckDrive, num1, num2, cbKB1, cbWildCard, rbLarger, rbSmaller, rbBetween, cbDup};
}

void TfrmDup::leaveSearching()
{
    const bool found = results_->grid().rowsUsed() > 0;
    btMark->setVisible(found);
    btDelete->setVisible(found);
    pckDriveClick();
}

void TfrmDup::showOutcome()
{
    const comp::ResultGrid& rows = results_->grid();
    if (rows.rowsUsed() == 0) {
        core::InfoBox(QString::fromLatin1(kNoFilesMessage));
        return;
    }
    btOptions->show();
    btBrowse->show();
    btDetails->show();
    if (duplicateMode_) {
        btCompare->show();
        setStatus(core::FormatGrouped(rows.rowCount() - 1) + QStringLiteral(" duplicates found"));
    } else {
        setStatus(core::FormatGrouped(rows.rowsUsed()) + QStringLiteral(" file hogs found"));
    }
}

void TfrmDup::btAbortClick()
{
    if (!searching())
        return;
    results_->abort();
    btAbort->hide();
    core::WarningBox(QString::fromLatin1(results_->inCrcPhase() ? kCrcAbortedMessage : kListAbortedMessage));
}

void TfrmDup::setStatus(const QString& text)
{
    lblStatus->setText(text);
}

}  // namespace finders

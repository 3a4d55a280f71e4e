// TfrmMods: criteria, the search and the searching state.
#include "finders/frmmods.h"

#include "components/drivechecklist.h"
#include "components/panelshrinker.h"
#include "components/slotguard.h"
#include "components/windowplacement.h"
#include "core/helpers.h"
#include "core/prompter.h"
#include "core/settings.h"
#include "finders/dupresults.h"
#include "finders/filldrivelist.h"
#include "finders/hintswitch.h"
#include "finders/resultlist.h"
#include "finders/searchstate.h"
#include "finders/wildcardtext.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDate>
#include <QDateEdit>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>

namespace finders {

const char* const kModsAbortedMessage = "LIST INCOMPLETE ... ABORTED BY USER";

namespace {

using comp::guarded;

comp::PlacementKey placementKey()
{
    return {core::PlacementStore::Key::FilesByDate, comp::executableSection(), QStringLiteral("frmMods")};
}

}  // namespace

TfrmMods::TfrmMods(QWidget* owner) : QDialog(owner), rows_(std::make_unique<comp::ResultGrid>(7))
{
    setObjectName(QStringLiteral("frmMods"));
    setWindowTitle(QStringLiteral("Files in a range of dates"));
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    setSizeGripEnabled(true);
    search_ = new SearchState(this);

    buildTopPanel();
    buildResults();
    buildResultList();
    for (QPushButton* b : {btAbort, btMark, btDelete, btOptions, btBrowse, btDetails})
        b->hide();

    grid->setMarkColumn(mcFilename);
    grid->setRightAligned(mcSize, true);
    using Kind = comp::ResultGridView::ColumnKind;
    grid->setColumnKind(mcSize, Kind::Number);
    for (int c : {mcAccessed, mcCreated, mcModified})
        grid->setColumnKind(c, Kind::Date);
    connect(grid, &comp::ResultGridView::columnsFitted, this, guarded([this] { setColumnWidths(); }));
    ClearGrid();

    FillDriveList(*pckDrive, *cbDrive, true);
    resize(780 * logicalDpiX() / 96, 540 * logicalDpiY() / 96);

    connect(btOK, &QPushButton::clicked, this, guarded([this] { btOKClick(); }));
    connect(btAbort, &QPushButton::clicked, this, guarded([this] { btAbortClick(); }));
    connect(btClose, &QPushButton::clicked, this, guarded([this] { reject(); }));
    connect(pckDrive, &QListWidget::itemSelectionChanged, this, guarded([this] { pckDriveClick(); }));
    connect(cbWildCard, &QComboBox::editTextChanged, this, guarded([this] { cbWildCardChange(); }));
    connect(whenGroup, &QButtonGroup::idClicked, this, guarded([this] { rgWhenClick(); }));
    connect(dtStart, &QDateEdit::dateChanged, this, guarded([this] { startChanged(); }));
    connect(dtEnd, &QDateEdit::dateChanged, this, guarded([this] { endChanged(); }));
    cbWildCardChange();
    rgWhenClick();
}

TfrmMods::~TfrmMods()
{
    comp::savePlacement(*this, placementKey());
}

bool TfrmMods::searching() const
{
    return search_->searching();
}

EventPump& TfrmMods::eventPump()
{
    return search_->pump();
}

DateCriteria TfrmMods::criteria() const
{
    DateCriteria c;
    c.kind = whatGroup->checkedId();
    c.relation = whenGroup->checkedId();
    c.start = dtStart->date();
    c.end = dtEnd->date();
    c.wildcard = cbWildCard->currentText();
    c.roots = pckDrive->tickedEntries();
    return c;
}

QString TfrmMods::statusText() const
{
    return lblStatus->text();
}

const MarkBook& TfrmMods::marks() const
{
    return list_->marks().book();
}

QString TfrmMods::printTitle() const
{
    return ModsPrintTitle(whatGroup->checkedId(), whenGroup->checkedId(), dtStart->text(), dtEnd->text());
}

void TfrmMods::setCleanPanel(CleanPanel panel)
{
    list_->marks().setCleanPanel(std::move(panel));
}

void TfrmMods::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    if (!e->spontaneous())
        comp::guardSlot([&] { FormShow(); });
}

void TfrmMods::FormShow()
{
    for (QPushButton* b : {btOptions, btBrowse, btDetails, btMark, btDelete, btAbort})
        b->hide();
    setStatus(QString());
    const QDate today = QDate::currentDate();
    dtStart->setDate(today);
    dtEnd->setDate(today);
    btOK->setEnabled(true);
    btClose->setEnabled(true);
    pckDriveClick();
    btOK->setFocus();
    ClearGrid();

    const QString typed = cbWildCard->currentText();
    cbWildCard->clear();  // also empties the edit text, hence the copy
    cbWildCard->addItems(WildcardChoices());
    cbWildCard->setEditText(typed);

    setSmallestSize();
    comp::restorePlacement(*this, placementKey());
    list_->shrinker().remember();
}

void TfrmMods::resizeEvent(QResizeEvent* e)
{
    QDialog::resizeEvent(e);
    setColumnWidths();
}

void TfrmMods::pckDriveClick()
{
    btOK->setEnabled(!searching() && pckDrive->tickedCount() > 0);
}

void TfrmMods::cbWildCardChange()
{
    lblWild->setText(WildcardLabel(cbWildCard->currentText()));
}

void TfrmMods::rgWhenClick()
{
    const bool between = whenGroup->checkedId() == drBetween;
    lblAnd->setVisible(between);
    dtEnd->setVisible(between);
}

void TfrmMods::startChanged()
{
    if (dtStart->date() > dtEnd->date())
        dtEnd->setDate(dtStart->date());
}

void TfrmMods::endChanged()
{
    if (dtEnd->date() < dtStart->date())
        dtStart->setDate(dtEnd->date());
}

void TfrmMods::AddFolderClick()
{
    FillDriveList(*pckDrive, *cbDrive, true);
    pckDriveClick();
}

void TfrmMods::ClearGrid()
{
    // The view lets go of the old rows before they go.
    auto fresh = std::make_unique<comp::ResultGrid>(7);
    fresh->reset(ModsTitles());
    grid->setGrid(fresh.get());
    rows_ = std::move(fresh);
    setColumnWidths();
    // No marks, "Clean?" disabled, "&Name" ticked.
    list_->newResults();
}

void TfrmMods::btOKClick()
{
    if (searching())
        return;
    // The criteria are read once: the controls are locked while the walk
    // runs, and nothing reads them again.
    DateSearch search(criteria());
    HintsOff hintsOff(search_->hints());
    ClearGrid();
    {
        SearchState::Running state(*search_);
        running_ = &search;
        search.status = [this](const QString& text) { setStatus(text); };
        search.pump = [this] { search_->pump().pump(); };
        const int found = search.search(*rows_);
        running_ = nullptr;
        setStatus(QStringLiteral("Found : ") + QString::number(found));
    }
    grid->sync();
    setColumnWidths();
    if (rows_->rowsUsed() == 0) {
        core::InfoBox(QString::fromLatin1(kNoFilesMessage));
        return;
    }
    for (QPushButton* b : {btOptions, btBrowse, btDetails, btMark, btDelete})
        b->show();
}

void TfrmMods::btAbortClick()
{
    if (!searching() || !running_)
        return;
    running_->abortFlag = true;
    btAbort->hide();
    core::InfoBox(QString::fromLatin1(kModsAbortedMessage));
}

QWidgetList TfrmMods::criteriaControls() const
{
    return {btOK, btClose, pckDrive, dtStart, dtEnd, rgWhat, rgWhen, cbWildCard};
}

void TfrmMods::leaveSearching()
{
    pckDriveClick();
}

void TfrmMods::setStatus(const QString& text)
{
    lblStatus->setText(text);
}

}  // namespace finders

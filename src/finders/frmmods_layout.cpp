// TfrmMods: its controls, where they stand, its result list and the widths
// that follow the window's size.
#include "finders/frmmods.h"

#include "components/drivechecklist.h"
#include "components/panelshrinker.h"
#include "components/resultgridview.h"
#include "components/slotguard.h"
#include "components/windowsizing.h"
#include "core/helpers.h"
#include "finders/buttonrow.h"
#include "finders/filldrivelist.h"
#include "finders/resultlist.h"
#include "finders/searchstate.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDateEdit>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <algorithm>

namespace finders {

namespace {

// Filename, the three dates, Size and Folder at 96 dots per inch; Type takes
// what is left less 25 pixels of border and scroll bar.
const QList<int> kModsWidths = {110, 68, 68, 68, 65, 189};
constexpr int kLastColumnBorder = 25;
constexpr int kButtonGap = 3;

template <class W>
W* named(W* w, const char* name)
{
    w->setObjectName(QLatin1String(name));
    return w;
}

// A titled group of radio buttons in one row, identified by their index.
QGroupBox* radioGroup(QWidget* parent, const char* name, const QString& title, const QStringList& items,
                      QButtonGroup*& group)
{
    auto* box = named(new QGroupBox(title, parent), name);
    auto* row = new QHBoxLayout(box);
    row->setContentsMargins(6, 2, 6, 2);
    group = new QButtonGroup(box);
    for (int i = 0; i < items.size(); ++i) {
        auto* b = new QRadioButton(items[i], box);
        b->setObjectName(QLatin1String(name) + QString::number(i));
        group->addButton(b, i);
        row->addWidget(b);
    }
    return box;
}

QDateEdit* dateField(QWidget* parent, const char* name)
{
    auto* d = named(new QDateEdit(parent), name);
    d->setCalendarPopup(true);
    d->setDisplayFormat(core::ShortDateFormat());
    d->setDate(QDate::currentDate());
    return d;
}

}  // namespace

void TfrmMods::buildTopPanel()
{
    Panel1 = named(new QFrame(this), "Panel1");
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    auto* panel = new QVBoxLayout(Panel1);
    panel->setContentsMargins(0, 6, 0, 4);
    panel->setSpacing(6);
    const int frame = Panel1->frameWidth();

    auto* top = new QHBoxLayout;
    top->setContentsMargins(8 - frame, 0, 10 - frame, 0);
    auto* criteria = new QVBoxLayout;
    criteria->setSpacing(4);
    rgWhat = radioGroup(Panel1, "rgWhat", QStringLiteral("Search for files that were"),
                        {QStringLiteral("Last accessed"), QStringLiteral("Created"), QStringLiteral("Last modified")},
                        whatGroup);
    whatGroup->button(tkAccessed)->setChecked(true);
    rgWhen = radioGroup(Panel1, "rgWhen", QString(),
                        {QStringLiteral("On or Before"), QStringLiteral("In between"), QStringLiteral("On or After")},
                        whenGroup);
    whenGroup->button(drBetween)->setChecked(true);
    criteria->addWidget(rgWhat);
    criteria->addWidget(rgWhen);

    auto* dates = new QHBoxLayout;
    dates->setSpacing(6);
    dtStart = dateField(Panel1, "dtStart");
    lblAnd = named(new QLabel(QStringLiteral("and"), Panel1), "lblAnd");
    dtEnd = dateField(Panel1, "dtEnd");
    dates->addWidget(dtStart);
    dates->addWidget(lblAnd);
    dates->addWidget(dtEnd);
    dates->addStretch(1);
    criteria->addLayout(dates);

    auto* matching = new QHBoxLayout;
    matching->setSpacing(6);
    lblWildCard = named(new QLabel(QStringLiteral("Wildcard match"), Panel1), "lblWildCard");
    cbWildCard = named(new QComboBox(Panel1), "cbWildCard");
    cbWildCard->setEditable(true);
    cbWildCard->setInsertPolicy(QComboBox::NoInsert);
    cbWildCard->setEditText(QStringLiteral("*.*"));
    cbWildCard->setToolTip(QStringLiteral("Wildcard pattern for matching file types"));
    cbWildCard->setMinimumWidth(110 * logicalDpiX() / 96);
    lblWildCard->setBuddy(cbWildCard);
    lblWild = named(new QLabel(QStringLiteral("All files"), Panel1), "lblWild");
    lblWild->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    lblWild->setMinimumWidth(150 * logicalDpiX() / 96);
    matching->addWidget(lblWildCard);
    matching->addWidget(cbWildCard);
    matching->addWidget(lblWild, 1);
    criteria->addLayout(matching);
    top->addLayout(criteria);
    top->addStretch(1);

    pckDrive = named(new comp::DriveCheckList(Panel1), "pckDrive");
    pckDrive->setFixedWidth(200 * logicalDpiX() / 96);
    pckDrive->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Ignored);
    top->addWidget(pckDrive);
    panel->addLayout(top);

    auto* buttons = new QHBoxLayout;
    buttons->setContentsMargins(kButtonGap - frame, 0, kButtonGap - frame, 0);
    buttons->setSpacing(kButtonGap);
    buildButtons(buttons);
    panel->addLayout(buttons);

    // Not shown: the window's drive list from which pckDrive is filled.
    cbDrive = MakeDriveCombo(this, DriveListOwner::Mods);
}

void TfrmMods::buildButtons(QHBoxLayout* row)
{
    // "&Abort" stands where "&Mark" is; only one of them is ever shown.
    const ButtonPlace places[] = {
        {&btOK, "btOK", "&Start", "Start scanning for files"},
        {&btClose, "btClose", "Close", "Close window"},
        {&btAbort, "btAbort", "&Abort", ""},
        {&btMark, "btMark", "&Mark", "Mark files for deletion"},
        {&btDelete, "btDelete", "Clean?", "Clean up marked files"},
        {&btOptions, "btOptions", "Options", "Right click on grid for same options"},
        {&btDetails, "btDetails", "&Details", "View more file details"},
        {&btBrowse, "btBrowse", "&Browse", "Browse through files"},
    };
    AddButtonRow(Panel1, row, places);
    btOK->setDefault(true);
}

void TfrmMods::buildResults()
{
    grid = named(new comp::ResultGridView(this), "grid");
    grid->setToolTip(QStringLiteral("Double click to mark for deletion, right click for options"));
    lblStatus = StackPanelGridStatus(this, Panel1, grid);
}

void TfrmMods::buildResultList()
{
    ResultListSetup setup;
    setup.sortWindow = QStringLiteral("TfrmMods");
    setup.sortItemNames = {"miSortName",   "miSortAccess", "miSortCreation", "miSortModified",
                           "miSortSize",   "miSortFolder", "miSortType"};
    setup.defaultSort = QStringLiteral("&Name");
    setup.addFolderCaption = QStringLiteral("Add a folder to list of drives");
    setup.harborColumn = mcFolder;
    setup.harborTestsFile = false;
    setup.archiveTag = QStringLiteral("FileDates");
    list_ = new ResultList(this, grid, Panel1, setup);
    list_->busy = [this] { return searching(); };
    list_->afterAddFolder = [this] { AddFolderClick(); };
    list_->setButtons(btMark, btDelete, btOptions, btDetails);
    list_->addMenuSource(pckDrive);
    list_->marks().status = [this](const QString& text) { setStatus(text); };
    list_->listing().printTitle = [this] { return printTitle(); };
    PopupMenu1 = list_->menu();
    // The folder browser comes with a later part of the program; until then
    // "&Browse" stays in its place, disabled.
    btBrowse->setEnabled(false);

    search_->setAbortButton(btAbort);
    search_->setHidden({btMark, btDelete, btOptions, btBrowse, btDetails});
    search_->setLocked(criteriaControls());
    search_->setBusyWidget(grid);
    search_->onLeave = [this] { leaveSearching(); };
}

void TfrmMods::setColumnWidths()
{
    comp::FillLastColumn(*grid, kModsWidths, kLastColumnBorder, logicalDpiX());
}

void TfrmMods::setSmallestSize()
{
    comp::SetSmallestSize(*this, *Panel1, {btOK, btClose, btMark, btDelete, btOptions, btDetails, btBrowse},
                          kButtonGap);
}

}  // namespace finders

// TfrmDup: its controls, where they stand, and the widths that follow the
// window's size.
#include "finders/frmdup.h"

#include "components/drivechecklist.h"
#include "components/resultgridview.h"
#include "components/slotguard.h"
#include "components/windowsizing.h"
#include "finders/buttonrow.h"
#include "finders/filldrivelist.h"

#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>

namespace finders {

namespace {

// Column widths at 96 dots per inch; the last column takes what is left of
// the client width less the others and 25 pixels of border and scroll bar.
const QList<int> kDupWidths = {93, 58, 64, 70, 70, 184};
const QList<int> kHogWidths = {64, 64, 64, 64, 296};
constexpr int kLastColumnBorder = 25;

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
        {&btCompare, "btCompare", "P&airs", "Compare file pairs", true},
    };
    AddButtonRow(Panel1, row, places);
    btScan->setDefault(true);
}

void TfrmDup::buildResults()
{
    grid = named(new comp::ResultGridView(this), "grid");
    grid->setToolTip(QStringLiteral("Double click to mark for deletion, right click for options"));
    lblStatus = StackPanelGridStatus(this, Panel1, grid);
}

void TfrmDup::setColumnWidths()
{
    comp::FillLastColumn(*grid, duplicateMode_ ? kDupWidths : kHogWidths, kLastColumnBorder, logicalDpiX());
}

void TfrmDup::setSmallestSize()
{
    // Wide enough for the whole row of buttons, high enough for the top
    // panel and a grid of the same height.
    comp::SetSmallestSize(*this, *Panel1, {btScan, btClose, btMark, btDelete, btOptions, btBrowse, btDetails, btCompare},
                          kButtonGap);
}

}  // namespace finders

#include "finders/frmwhichdrive.h"

#include "components/drivechecklist.h"
#include "components/shadowlabel.h"
#include "components/slotguard.h"
#include "finders/filldrivelist.h"
#include "finders/frmaddnewfolder.h"
#include "components/statfilelists.h"

#include <QAction>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>

namespace finders {

namespace {

// The three pages lie on top of each other; the window is one page plus a
// pixel of border on each side.
constexpr int kPageWidth = 360;
constexpr int kPageHeight = 300;
constexpr int kButtonY = 262;

using comp::guarded;

QFrame* makePage(QWidget* parent, const char* name)
{
    auto* p = new QFrame(parent);
    p->setObjectName(QLatin1String(name));
    p->setFrameShape(QFrame::Panel);
    p->setFrameShadow(QFrame::Raised);
    p->setGeometry(1, 1, kPageWidth, kPageHeight);
    return p;
}

comp::ShadowLabel* makeTitle(QFrame* page, const char* name, const QString& text)
{
    auto* l = new comp::ShadowLabel(text, page);
    l->setObjectName(QLatin1String(name));
    QFont f = l->font();
    f.setPixelSize(18);
    f.setBold(true);
    l->setFont(f);
    l->setTextColor(QColor(0, 0, 128));
    l->setGeometry(8, 6, kPageWidth - 16, 30);
    return l;
}

QPushButton* makeButton(QFrame* page, const char* name, const QString& caption, int x, int w = 88)
{
    auto* b = new QPushButton(caption, page);
    b->setObjectName(QLatin1String(name));
    b->setGeometry(x, kButtonY, w, 28);
    return b;
}

}  // namespace

TfrmWhichDrive::TfrmWhichDrive(QWidget* owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("frmWhichDrive"));
    setWindowTitle(QStringLiteral("Which drives and file types?"));
    setFixedSize(kPageWidth + 2, kPageHeight + 2);
    cbDrive = MakeDriveCombo(this, DriveListOwner::WhichDrive);
    buildDrivePage();
    buildModePage();
    buildTypePage();
    showPage(1);
}

void TfrmWhichDrive::buildDrivePage()
{
    pnlDrives = makePage(this, "pnlDrives");
    lblTitle1 = makeTitle(pnlDrives, "lblTitle1", QStringLiteral("Which drives/folders?"));
    pckDrive = new comp::DriveCheckList(pnlDrives);
    pckDrive->setObjectName(QStringLiteral("pckDrive"));
    pckDrive->setGeometry(8, 42, kPageWidth - 16, 210);
    pckDrive->menu()->addSeparator();
    QAction* addFolder = pckDrive->menu()->addAction(QStringLiteral("Add a folder to the list of drives"));
    addFolder->setObjectName(QStringLiteral("AddFolder1"));
    btCancel = makeButton(pnlDrives, "btCancel", QStringLiteral("Cancel"), 168);
    btNext1 = makeButton(pnlDrives, "btNext1", QStringLiteral("&Next >>"), 264);

    connect(pckDrive, &QListWidget::itemSelectionChanged, this, guarded([this] { pckDriveClick(); }));
    connect(addFolder, &QAction::triggered, this, guarded([this] { AddFolderClick(); }));
    connect(btCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(btNext1, &QPushButton::clicked, this, guarded([this] { showPage(2); }));
}

void TfrmWhichDrive::buildModePage()
{
    pnlFileTypes = makePage(this, "pnlFileTypes");
    lblTitle2 = makeTitle(pnlFileTypes, "lblTitle2", QStringLiteral("Which file types?"));
    rbAll = new QRadioButton(QStringLiteral("&All files"), pnlFileTypes);
    rbAll->setObjectName(QStringLiteral("rbAll"));
    rbAll->setGeometry(24, 64, 312, 24);
    rbAll->setChecked(true);
    rbInclude = new QRadioButton(QStringLiteral("&Selected file types only"), pnlFileTypes);
    rbInclude->setObjectName(QStringLiteral("rbInclude"));
    rbInclude->setGeometry(24, 98, 312, 24);
    rbExclude = new QRadioButton(QStringLiteral("All files &except selected file types"), pnlFileTypes);
    rbExclude->setObjectName(QStringLiteral("rbExclude"));
    rbExclude->setGeometry(24, 132, 312, 24);
    btPrev2 = makeButton(pnlFileTypes, "btPrev2", QStringLiteral("<< &Previous"), 168);
    btNext2 = makeButton(pnlFileTypes, "btNext2", QStringLiteral("&Next >>"), 264);

    connect(btPrev2, &QPushButton::clicked, this, guarded([this] { showPage(1); }));
    connect(btNext2, &QPushButton::clicked, this, guarded([this] { btNext2Click(); }));
}

void TfrmWhichDrive::buildTypePage()
{
    pnlTypeList = makePage(this, "pnlTypeList");
    lblTitle3 = makeTitle(pnlTypeList, "lblTitle3", QString());
    PickList1 = new comp::PickList(pnlTypeList);
    PickList1->setObjectName(QStringLiteral("PickList1"));
    PickList1->setToolTip(QStringLiteral("Right click to select/deselect all"));
    PickList1->setTabStop(70);
    PickList1->setGeometry(8, 42, kPageWidth - 16, 190);
    lblOf = new QLabel(pnlTypeList);
    lblOf->setObjectName(QStringLiteral("lblOf"));
    lblOf->setGeometry(8, 236, 120, 20);
    btAddDelete = makeButton(pnlTypeList, "btAddDelete", QStringLiteral("&Add/Delete"), 8, 96);
    btAddDelete->setToolTip(QStringLiteral("Add, delete file types"));
    btPrev3 = makeButton(pnlTypeList, "btPrev3", QStringLiteral("<< &Previous"), 168);
    btOK = makeButton(pnlTypeList, "btOK", QStringLiteral("OK"), 264);

    connect(PickList1, &QListWidget::itemSelectionChanged, this, guarded([this] { PickList1Click(); }));
    connect(btAddDelete, &QPushButton::clicked, this, guarded([this] { btAddDeleteClick(); }));
    connect(btPrev3, &QPushButton::clicked, this, guarded([this] { showPage(2); }));
    connect(btOK, &QPushButton::clicked, this, &QDialog::accept);
}

QStringList TfrmWhichDrive::roots() const
{
    return pckDrive->tickedEntries();
}

TypeMode TfrmWhichDrive::typeMode() const
{
    if (rbInclude->isChecked())
        return TypeMode::Include;
    if (rbExclude->isChecked())
        return TypeMode::Exclude;
    return TypeMode::AllFiles;
}

QStringList TfrmWhichDrive::typeEntries() const
{
    return typeMode() == TypeMode::AllFiles ? QStringList() : PickList1->selectedLines();
}

ScanScope TfrmWhichDrive::scope() const
{
    ScanScope s;
    s.roots = roots();
    s.typeMode = typeMode();
    s.typeEntries = typeEntries();
    return s;
}

void TfrmWhichDrive::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    if (!e->spontaneous())
        comp::guardSlot([&] { FormShow(); });
}

void TfrmWhichDrive::FormShow()
{
    FillDriveList(*pckDrive, *cbDrive, true);
    readTypeList();
    showPage(1);
    rbAll->setChecked(true);
    btAddDelete->setEnabled(bool(EditTypeList));
    pckDriveClick();
}

void TfrmWhichDrive::showPage(int page)
{
    page_ = page;
    pnlDrives->setVisible(page == 1);
    pnlFileTypes->setVisible(page == 2);
    pnlTypeList->setVisible(page == 3);
    QPushButton* def = page == 1 ? btNext1 : page == 2 ? btNext2 : btOK;
    def->setDefault(true);
}

QString TfrmWhichDrive::modeSection() const
{
    return rbInclude->isChecked() ? comp::kIncludeSection : comp::kExcludeSection;
}

void TfrmWhichDrive::readTypeList()
{
    PickList1->setLines(comp::ReadStatFiles(modeSection()));
    PickList1Click();
    btOK->setEnabled(false);
}

void TfrmWhichDrive::pckDriveClick()
{
    btNext1->setEnabled(pckDrive->tickedCount() > 0);
    btOK->setEnabled(pckDrive->tickedCount() > 0 && PickList1->selectedCount() > 0);
}

void TfrmWhichDrive::PickList1Click()
{
    lblOf->setText(QString::number(PickList1->selectedCount()) + QLatin1Char('/') + QString::number(PickList1->count()));
    btOK->setEnabled(pckDrive->tickedCount() > 0 && PickList1->selectedCount() > 0);
}

void TfrmWhichDrive::AddFolderClick()
{
    comp::runModal<TfrmAddNewFolder>(this);
    FillDriveList(*pckDrive, *cbDrive, true);
    pckDriveClick();
}

void TfrmWhichDrive::btNext2Click()
{
    if (rbAll->isChecked()) {
        accept();
        return;
    }
    lblTitle3->setText(rbInclude->isChecked() ? QStringLiteral("Selected file types only")
                                              : QStringLiteral("All file types except ..."));
    readTypeList();
    showPage(3);
}

void TfrmWhichDrive::btAddDeleteClick()
{
    if (EditTypeList)
        EditTypeList(this, modeSection());
    // Whatever the editor's result, the list shows what is stored now.
    readTypeList();
}

}  // namespace finders

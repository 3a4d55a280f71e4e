#include "finders/frmaddnewfolder.h"

#include "components/picklist.h"
#include "components/shadowlabel.h"
#include "components/slotguard.h"
#include "core/helpers.h"
#include "core/prompter.h"
#include "finders/drivelist.h"

#include <QPushButton>
#include <QShowEvent>

namespace finders {

TfrmAddNewFolder::TfrmAddNewFolder(QWidget* owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("frmAddNewFolder"));
    setWindowTitle(QStringLiteral("Add new folders"));
    setFixedSize(420, 300);

    auto* title = new comp::ShadowLabel(QStringLiteral("Add new folders to drives"), this);
    title->setObjectName(QStringLiteral("lblTitle"));
    QFont f = title->font();
    f.setPixelSize(18);
    f.setBold(true);
    title->setFont(f);
    title->setTextColor(QColor(0, 0, 128));
    title->setGeometry(12, 8, 396, 30);

    ListBox1 = new comp::PickList(this);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    ListBox1->setSortedLines(true);
    ListBox1->setContextMenuPolicy(Qt::NoContextMenu);  // this list has no menu
    ListBox1->setGeometry(12, 44, 300, 244);

    btAdd = new QPushButton(QStringLiteral("Add"), this);
    btAdd->setObjectName(QStringLiteral("btAdd"));
    btAdd->setGeometry(324, 44, 84, 28);
    btDel = new QPushButton(QStringLiteral("Del"), this);
    btDel->setObjectName(QStringLiteral("btDel"));
    btDel->setGeometry(324, 80, 84, 28);
    btClose = new QPushButton(QStringLiteral("Close"), this);
    btClose->setObjectName(QStringLiteral("btClose"));
    btClose->setGeometry(324, 260, 84, 28);

    connect(btAdd, &QPushButton::clicked, this, [this] { comp::guardSlot([&] { btAddClick(); }); });
    connect(btDel, &QPushButton::clicked, this, [this] { comp::guardSlot([&] { btDelClick(); }); });
    connect(btClose, &QPushButton::clicked, this, [this] { comp::guardSlot([&] { btCloseClick(); }); });
}

void TfrmAddNewFolder::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    if (!e->spontaneous())
        comp::guardSlot([&] { FormShow(); });
}

void TfrmAddNewFolder::FormShow()
{
    ListBox1->setLines(AddedFolders());
}

void TfrmAddNewFolder::btAddClick()
{
    // The picker starts at the list of drives (no initial folder).
    const std::optional<QString> folder =
        core::prompter().pickFolder(QStringLiteral("Add a selected folder to search"), QString());
    if (!folder || folder->isEmpty())
        return;
    if (ListBox1->lines().contains(*folder, Qt::CaseInsensitive))
        return;
    ListBox1->addLine(*folder);
}

void TfrmAddNewFolder::btDelClick()
{
    const int n = ListBox1->selectedCount();
    if (n == 0) {
        core::ErrorBox(QStringLiteral("To delete one or more folder(s), first highlight the selected folders then click delete."));
        return;
    }
    if (n > 1
        && core::prompter().confirm(core::ConfirmKind::YesNoCancel,
                                    QStringLiteral("Really delete ") + QString::number(n) + QStringLiteral(" folders?"))
               != core::Answer::Yes)
        return;
    ListBox1->removeSelectedLines();
}

void TfrmAddNewFolder::btCloseClick()
{
    WriteAddedFolders(ListBox1->lines());
    accept();
}

}  // namespace finders

#include "components/frmstatlist.h"

#include "components/picklist.h"
#include "components/shadowlabel.h"
#include "components/slotguard.h"
#include "core/prompter.h"
#include "components/frmselectextension.h"
#include "components/statfilelists.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <memory>

namespace comp {

namespace {

QPushButton* makeButton(QWidget* parent, const char* name, const QString& caption, const QString& hint, int y)
{
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QLatin1String(name));
    b->setToolTip(hint);
    b->setGeometry(300, y, 96, 28);
    return b;
}

}  // namespace

TfrmStatList::TfrmStatList(QWidget* owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("frmStatList"));
    setWindowTitle(QStringLiteral("File types"));
    setFixedSize(408, 352);

    auto* title = new comp::ShadowLabel(QStringLiteral("File Types"), this);
    title->setObjectName(QStringLiteral("lblTitle"));
    QFont f = title->font();
    f.setPixelSize(20);
    f.setBold(true);
    title->setFont(f);
    title->setTextColor(QColor(0, 0, 128));
    title->setGeometry(12, 6, 200, 32);

    lblCount = new QLabel(this);
    lblCount->setObjectName(QStringLiteral("lblCount"));
    lblCount->setGeometry(190, 14, 100, 20);
    lblCount->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    PickList1 = new comp::PickList(this);
    PickList1->setObjectName(QStringLiteral("PickList1"));
    PickList1->setSortedLines(true);
    PickList1->setContextMenuPolicy(Qt::NoContextMenu);  // the buttons do the work here
    PickList1->setTabStop(70);
    PickList1->setToolTip(QStringLiteral("List of temporary file extensions and types"));
    PickList1->setGeometry(12, 42, 278, 256);

    btAdd = makeButton(this, "btAdd", QStringLiteral("&Add"), QStringLiteral("Add a file extension to this list"), 42);
    btDelete = makeButton(this, "btDelete", QStringLiteral("&Delete"), QStringLiteral("Delete a file extension"), 78);
    btClear = makeButton(this, "btClear", QStringLiteral("&Clear all"), QStringLiteral("Clear all extensions"), 114);
    btClose = makeButton(this, "btClose", QStringLiteral("Close"), QStringLiteral("Close window"), 270);

    auto* note = new QLabel(QStringLiteral("Hint: Drag mouse or use ctrl-click to select multiple file types."), this);
    note->setObjectName(QStringLiteral("lblHint"));
    note->setWordWrap(true);
    note->setGeometry(12, 304, 384, 36);

    connect(btAdd, &QPushButton::clicked, this, [this] { comp::guardSlot([&] { btAddClick(); }); });
    connect(btDelete, &QPushButton::clicked, this, [this] { comp::guardSlot([&] { btDeleteClick(); }); });
    connect(btClear, &QPushButton::clicked, this, [this] { comp::guardSlot([&] { btClearClick(); }); });
    connect(btClose, &QPushButton::clicked, this, [this] { comp::guardSlot([&] { btCloseClick(); }); });
}

void TfrmStatList::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    if (!e->spontaneous())
        comp::guardSlot([&] { FormShow(); });
}

void TfrmStatList::keyPressEvent(QKeyEvent* e)
{
    // Esc is "Close" here and stores the list; only the close box leaves
    // without storing (it ends in reject()).
    if (e->key() == Qt::Key_Escape && e->modifiers() == Qt::NoModifier) {
        comp::guardSlot([&] { btCloseClick(); });
        return;
    }
    QDialog::keyPressEvent(e);
}

void TfrmStatList::FormShow()
{
    PickList1->setLines(ReadStatFiles(Section));
    showCount();
}

void TfrmStatList::btAddClick()
{
    std::unique_ptr<TfrmSelectExtension> picker(new TfrmSelectExtension(this));
    if (picker->exec() == QDialog::Accepted) {
        QStringList lines = PickList1->lines();
        const qsizetype before = lines.size();
        AddChosenExtensions(lines, picker->choice());
        for (qsizetype i = before; i < lines.size(); ++i)
            PickList1->addLine(lines[i]);
    }
    showCount();
}

void TfrmStatList::btDeleteClick()
{
    const int n = PickList1->selectedCount();
    if (n > 1
        && core::prompter().confirm(core::ConfirmKind::YesNoCancel,
                                    QStringLiteral("Really delete ") + QString::number(n) + QStringLiteral(" extensions?"))
               != core::Answer::Yes)
        return;
    PickList1->removeSelectedLines();
    showCount();
}

void TfrmStatList::btClearClick()
{
    if (core::prompter().confirm(core::ConfirmKind::YesNoCancel, QStringLiteral("Really clear out all extensions?"))
        != core::Answer::Yes)
        return;
    PickList1->clear();
    showCount();
}

void TfrmStatList::btCloseClick()
{
    WriteStatFilesToDisk(PickList1->lines(), Section);
    accept();
}

void TfrmStatList::showCount()
{
    lblCount->setText(QString::number(PickList1->count()) + QStringLiteral(" available"));
}

void EditStatFileList(QWidget* owner, const QString& section)
{
    std::unique_ptr<TfrmStatList> editor(new TfrmStatList(owner));
    editor->Section = section;
    editor->exec();
}

}  // namespace comp

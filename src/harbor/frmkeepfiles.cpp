#include "harbor/frmkeepfiles.h"

#include "components/slotguard.h"
#include "core/prompter.h"
#include "components/frmselectextension.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace harbor {

namespace {

TfrmKeepFiles::ExtensionPicker& picker()
{
    static TfrmKeepFiles::ExtensionPicker p;
    return p;
}

std::optional<comp::ExtensionChoice> runExtensionPicker(QWidget* owner)
{
    if (picker())
        return picker()(owner);
    std::unique_ptr<comp::TfrmSelectExtension> w(new comp::TfrmSelectExtension(owner));
    if (w->exec() != QDialog::Accepted)
        return std::nullopt;
    return w->choice();
}

}  // namespace

void TfrmKeepFiles::setExtensionPicker(ExtensionPicker p)
{
    picker() = std::move(p);
}

TfrmKeepFiles::TfrmKeepFiles(QWidget* owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("frmKeepFiles"));
    setWindowTitle(QStringLiteral("Safe Harbor file extensions"));
    setModal(true);

    auto* lblTitle = new QLabel(QStringLiteral("Safe Harbor File Extensions"), this);
    lblTitle->setObjectName(QStringLiteral("lblTitle"));
    QFont titleFont = lblTitle->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.4);
    lblTitle->setFont(titleFont);

    PickList1 = new QListWidget(this);
    PickList1->setObjectName(QStringLiteral("PickList1"));
    PickList1->setSelectionMode(QAbstractItemView::ExtendedSelection);
    PickList1->setToolTip(QStringLiteral("List of temporary file extensions and types"));
    PickList1->setMinimumSize(360, 220);

    auto makeButton = [this](const char* name, const QString& caption, const QString& hint) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(QLatin1String(name));
        b->setToolTip(hint);
        b->setAutoDefault(false);
        return b;
    };
    QPushButton* btAdd = makeButton("btAdd", QStringLiteral("&Add"), QStringLiteral("Add a file extension to this list"));
    QPushButton* btDel = makeButton("btDel", QStringLiteral("&Delete"), QStringLiteral("Delete a file extension"));
    QPushButton* btClear = makeButton("btClear", QStringLiteral("&Clear all"), QStringLiteral("Clear all extensions"));
    QPushButton* btDefaults = makeButton("btDefaults", QStringLiteral("D&efaults"),
                                         QStringLiteral("Inserts some default temporary file extensions"));
    QPushButton* btClose = makeButton("btClose", QStringLiteral("Close"), QStringLiteral("Close window"));

    auto* lblNote = new QLabel(QStringLiteral("Files with these extensions will not be deleted.   To select multiple "
                                              "file extensions, press Shift or Ctrl while pressing the down arrow or "
                                              "clicking the mouse."),
                               this);
    lblNote->setObjectName(QStringLiteral("lblNote"));
    lblNote->setWordWrap(true);

    auto* buttons = new QVBoxLayout;
    for (QPushButton* b : {btAdd, btDel, btClear, btDefaults})
        buttons->addWidget(b);
    buttons->addStretch(1);
    buttons->addWidget(btClose);
    auto* middle = new QHBoxLayout;
    middle->addWidget(PickList1, 1);
    middle->addLayout(buttons);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblTitle);
    layout->addLayout(middle, 1);
    layout->addWidget(lblNote);

    connect(btAdd, &QPushButton::clicked, this, [this] { comp::guardSlot([this] { btAddClick(); }); });
    connect(btDel, &QPushButton::clicked, this, [this] { comp::guardSlot([this] { btDelClick(); }); });
    connect(btClear, &QPushButton::clicked, this, [this] { comp::guardSlot([this] { btClearClick(); }); });
    connect(btDefaults, &QPushButton::clicked, this, [this] { comp::guardSlot([this] { btDefaultsClick(); }); });
    // Esc and the close box reject; every way out stores the list (done()).
    connect(btClose, &QPushButton::clicked, this, &QDialog::reject);
}

void TfrmKeepFiles::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    if (e->spontaneous())
        return;
    comp::guardSlot([this] {
        list_.load();
        open_ = true;
        refill();
    });
}

void TfrmKeepFiles::refill()
{
    PickList1->clear();
    PickList1->addItems(list_.lines());
}

QList<int> TfrmKeepFiles::selectedRows() const
{
    QList<int> rows;
    for (const QModelIndex& i : PickList1->selectionModel()->selectedRows())
        rows << i.row();
    return rows;
}

void TfrmKeepFiles::btAddClick()
{
    const std::optional<comp::ExtensionChoice> choice = runExtensionPicker(this);
    if (choice && list_.add(*choice))
        refill();
}

void TfrmKeepFiles::btDelClick()
{
    const QList<int> rows = selectedRows();
    if (rows.size() > 1
        && core::prompter().confirm(core::ConfirmKind::YesNoCancel, DeleteExtensionsQuestion(int(rows.size())))
               != core::Answer::Yes)
        return;
    if (rows.isEmpty())
        return;
    list_.remove(rows);
    refill();
}

void TfrmKeepFiles::btClearClick()
{
    if (core::prompter().confirm(core::ConfirmKind::YesNoCancel, ClearExtensionsQuestion()) != core::Answer::Yes)
        return;
    list_.clear();
    refill();
}

void TfrmKeepFiles::btDefaultsClick()
{
    if (list_.addDefaults())
        refill();
}

void TfrmKeepFiles::done(int result)
{
    if (open_) {
        open_ = false;
        comp::guardSlot([this] { list_.save(); });
    }
    QDialog::done(result);
}

}  // namespace harbor

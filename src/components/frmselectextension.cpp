#include "components/frmselectextension.h"

#include "components/slotguard.h"
#include "core/helpers.h"
#include "core/typelist.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QShowEvent>

namespace comp {

TfrmSelectExtension::TfrmSelectExtension(QWidget* owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("frmSelectExtension"));
    setWindowTitle(QStringLiteral("Select a file extension"));
    setFixedSize(384, 376);

    auto* prompt = new QLabel(QStringLiteral("Type in a new file extension or select one or many from the list below:"), this);
    prompt->setObjectName(QStringLiteral("Label1"));
    prompt->setWordWrap(true);
    prompt->setGeometry(12, 8, 360, 34);

    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setGeometry(12, 46, 160, 24);

    lBox = new QListWidget(this);
    lBox->setObjectName(QStringLiteral("lBox"));
    lBox->setSelectionMode(QAbstractItemView::ExtendedSelection);
    lBox->setToolTip(QStringLiteral("Double click to select, Ctrl-click to select more than one"));
    lBox->setGeometry(12, 78, 360, 220);

    auto* hint = new QLabel(QStringLiteral("Hint: Drag mouse or use ctrl-click to select multiple file extensions."), this);
    hint->setObjectName(QStringLiteral("Label2"));
    hint->setWordWrap(true);
    hint->setGeometry(12, 302, 360, 32);

    btOK = new QPushButton(QStringLiteral("OK"), this);
    btOK->setObjectName(QStringLiteral("btOK"));
    btOK->setGeometry(204, 340, 80, 28);
    btOK->setDefault(true);
    btCancel = new QPushButton(QStringLiteral("Cancel"), this);
    btCancel->setObjectName(QStringLiteral("btCancel"));
    btCancel->setGeometry(292, 340, 80, 28);

    connect(lBox, &QListWidget::itemClicked, this, [this](QListWidgetItem* it) { comp::guardSlot([&] { lBoxClick(it); }); });
    connect(lBox, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem* it) { comp::guardSlot([&] { lBoxDblClick(it); }); });
    connect(btOK, &QPushButton::clicked, this, [this] { comp::guardSlot([&] { btOKClick(); }); });
    connect(btCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TfrmSelectExtension::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    if (!e->spontaneous())
        comp::guardSlot([&] { FormShow(); });
}

void TfrmSelectExtension::FormShow()
{
    core::ListRegisteredExtensions(patterns_, false);
    lBox->clear();
    for (const QString& pattern : std::as_const(patterns_))
        lBox->addItem(core::TypeEntry(pattern));
    Edit1->setText(patterns_.value(0));
}

void TfrmSelectExtension::lBoxClick(QListWidgetItem* item)
{
    const int row = lBox->row(item);
    if (row >= 0 && row < patterns_.size())
        Edit1->setText(patterns_[row]);
}

void TfrmSelectExtension::lBoxDblClick(QListWidgetItem* item)
{
    // The double click stands for "this line alone, then OK"; it closes the
    // window only when the line gave a usable pattern.
    lBox->clearSelection();
    item->setSelected(true);
    lBoxClick(item);
    if (takeChoice())
        accept();
}

void TfrmSelectExtension::btOKClick()
{
    takeChoice();
    accept();
}

bool TfrmSelectExtension::takeChoice()
{
    QStringList selected;
    for (int i = 0; i < lBox->count(); ++i)
        if (lBox->item(i)->isSelected())
            selected << lBox->item(i)->text();
    choice_ = MakeExtensionChoice(selected, Edit1->text());
    return choice_.severalChosen || !choice_.chosenPattern.isEmpty();
}

}  // namespace comp

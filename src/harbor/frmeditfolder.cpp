#include "harbor/frmeditfolder.h"

#include "components/slotguard.h"
#include "core/prompter.h"
#include "harbor/foldereditor.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace harbor {

TfrmEditFolder::TfrmEditFolder(QWidget* owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("frmEditFolder"));
    setWindowTitle(QStringLiteral("Edit Folder"));
    setModal(true);

    auto* lblFolder = new QLabel(QStringLiteral("Folder"), this);
    lblFolder->setObjectName(QStringLiteral("lblFolder"));
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setMinimumWidth(360);
    lblFolder->setBuddy(Edit1);
    btBrowse = new QPushButton(QStringLiteral("Browse"), this);
    btBrowse->setObjectName(QStringLiteral("btBrowse"));
    btBrowse->setAutoDefault(false);

    cbAll = new QCheckBox(QStringLiteral("Protect sub-folders - all sub-folders should NOT be deleted"), this);
    cbAll->setObjectName(QStringLiteral("cbAll"));
    lblExample = new QLabel(this);
    lblExample->setObjectName(QStringLiteral("lblExample"));
    lblExample->setTextFormat(Qt::PlainText);
    lblExample->setWordWrap(true);
    lblExample->setMinimumHeight(lblExample->fontMetrics().lineSpacing() * 3);
    lblExample->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    btOK = new QPushButton(QStringLiteral("OK"), this);
    btOK->setObjectName(QStringLiteral("btOK"));
    btOK->setDefault(true);
    btCancel = new QPushButton(QStringLiteral("Cancel"), this);
    btCancel->setObjectName(QStringLiteral("btCancel"));
    btCancel->setAutoDefault(false);

    auto* top = new QHBoxLayout;
    top->addWidget(lblFolder);
    top->addWidget(Edit1, 1);
    top->addWidget(btBrowse);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btOK);
    buttons->addWidget(btCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(cbAll);
    layout->addWidget(lblExample);
    layout->addLayout(buttons);

    connect(btBrowse, &QPushButton::clicked, this, [this] { comp::guardSlot([this] { btBrowseClick(); }); });
    // A click, not a change of state: the preset of the caller is explained
    // by the show handler.
    connect(cbAll, &QCheckBox::clicked, this, [this] { comp::guardSlot([this] { cbAllClick(); }); });
    connect(btOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(btCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TfrmEditFolder::setEntryText(const QString& text, bool subtree)
{
    Edit1->setText(text);
    cbAll->setChecked(subtree);
}

QString TfrmEditFolder::folderText() const
{
    return Edit1->text();
}

bool TfrmEditFolder::protectSubfolders() const
{
    return cbAll->isChecked();
}

void TfrmEditFolder::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    if (!e->spontaneous())
        comp::guardSlot([this] { updateExample(); });
}

void TfrmEditFolder::btBrowseClick()
{
    if (const auto chosen = core::prompter().pickFolder(FolderPickerCaption(), Edit1->text()))
        Edit1->setText(*chosen);
}

void TfrmEditFolder::cbAllClick()
{
    updateExample();
}

void TfrmEditFolder::updateExample()
{
    lblExample->setText(EditFolderExplanation(Edit1->text(), cbAll->isChecked()));
}

}  // namespace harbor

#include "delete/frmgetfoldername.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace del {

TfrmGetFolderName::TfrmGetFolderName(QWidget* owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("frmGetFolderName"));
    setWindowTitle(QStringLiteral("New folder name"));
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    btOK = new QPushButton(QStringLiteral("OK"), this);
    btOK->setObjectName(QStringLiteral("btOK"));
    btOK->setDefault(true);
    btCancel = new QPushButton(QStringLiteral("Cancel"), this);
    btCancel->setObjectName(QStringLiteral("btCancel"));

    auto* column = new QVBoxLayout(this);
    column->addWidget(Edit1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btOK);
    buttons->addWidget(btCancel);
    column->addLayout(buttons);
    resize(320, column->sizeHint().height());

    connect(btOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(btCancel, &QPushButton::clicked, this, &QDialog::reject);
}

}  // namespace del

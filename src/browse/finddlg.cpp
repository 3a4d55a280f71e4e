#include "browse/finddlg.h"

#include "components/namedbutton.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace browse {

QPointer<TFindDlg> FindDlg;

TFindDlg::TFindDlg(QWidget* owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("FindDlg"));
    setWindowTitle(QStringLiteral("Find"));
    setModal(true);

    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    auto* textLabel = new QLabel(QStringLiteral("&Search Text"), this);
    textLabel->setBuddy(Edit1);

    auto* options = new QGroupBox(QStringLiteral("Search &Options"), this);
    rbForward = new QRadioButton(QStringLiteral("Search &Forward"), options);
    rbForward->setObjectName(QStringLiteral("rbForward"));
    rbForward->setChecked(true);
    rbBackward = new QRadioButton(QStringLiteral("Search &Backward"), options);
    rbBackward->setObjectName(QStringLiteral("rbBackward"));
    cbMatchCase = new QCheckBox(QStringLiteral("&Match Case"), options);
    cbMatchCase->setObjectName(QStringLiteral("cbMatchCase"));
    cbGlobal = new QCheckBox(QStringLiteral("&Global Search"), options);
    cbGlobal->setObjectName(QStringLiteral("cbGlobal"));
    auto* grid = new QHBoxLayout(options);
    auto* directions = new QVBoxLayout;
    directions->addWidget(rbForward);
    directions->addWidget(rbBackward);
    auto* checks = new QVBoxLayout;
    checks->addWidget(cbMatchCase);
    checks->addWidget(cbGlobal);
    grid->addLayout(directions);
    grid->addLayout(checks);

    btOK = comp::namedButton("OK", "", this, "btOK");
    btOK->setDefault(true);
    btCancel = comp::namedButton("Cancel", "", this, "btCancel");
    connect(btOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(btCancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btOK);
    buttons->addWidget(btCancel);
    auto* column = new QVBoxLayout(this);
    column->addWidget(textLabel);
    column->addWidget(Edit1);
    column->addWidget(options);
    column->addLayout(buttons);
    setFixedSize(sizeHint().expandedTo(QSize(360, 0)));
}

QString TFindDlg::searchText() const
{
    return Edit1->text();
}

bool TFindDlg::backward() const
{
    return rbBackward->isChecked();
}

bool TFindDlg::matchCase() const
{
    return cbMatchCase->isChecked();
}

bool TFindDlg::global() const
{
    return cbGlobal->isChecked();
}

bool TFindDlg::ask(QWidget* over)
{
    QWidget* const owner = parentWidget();
    const Qt::WindowFlags flags = windowFlags();
    setParent(over, flags);
    Edit1->selectAll();
    Edit1->setFocus();
    const int result = exec();
    setParent(owner, flags);
    return result == QDialog::Accepted;
}

}  // namespace browse

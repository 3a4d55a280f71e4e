#include "finders/frmwildcard.h"

#include "components/slotguard.h"
#include "finders/wildcardtext.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>

namespace finders {

TfrmWildCard::TfrmWildCard(QWidget* owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("frmWildCard"));
    setWindowTitle(QStringLiteral("Wildcard pattern"));
    setFixedSize(300, 128);

    cbWildCard = new QComboBox(this);
    cbWildCard->setObjectName(QStringLiteral("cbWildCard"));
    cbWildCard->setEditable(true);
    cbWildCard->setInsertPolicy(QComboBox::NoInsert);
    cbWildCard->setGeometry(12, 12, 140, 26);

    lblWild = new QLabel(this);
    lblWild->setObjectName(QStringLiteral("lblWild"));
    lblWild->setGeometry(12, 46, 276, 20);
    lblType = new QLabel(this);
    lblType->setObjectName(QStringLiteral("lblType"));
    lblType->setGeometry(12, 66, 276, 20);

    btOK = new QPushButton(QStringLiteral("OK"), this);
    btOK->setObjectName(QStringLiteral("btOK"));
    btOK->setGeometry(120, 92, 80, 28);
    btOK->setDefault(true);
    btCancel = new QPushButton(QStringLiteral("Cancel"), this);
    btCancel->setObjectName(QStringLiteral("btCancel"));
    btCancel->setGeometry(208, 92, 80, 28);

    // A pick from the list sets the edit text too, so one signal covers
    // typing and picking.
    connect(cbWildCard, &QComboBox::editTextChanged, this, [this] { comp::guardSlot([&] { cbWildCardChange(); }); });
    connect(btOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(btCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TfrmWildCard::setPattern(const QString& pattern)
{
    cbWildCard->setEditText(pattern);
}

QString TfrmWildCard::pattern() const
{
    return cbWildCard->currentText();
}

void TfrmWildCard::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    if (!e->spontaneous())
        comp::guardSlot([&] { FormShow(); });
}

void TfrmWildCard::FormShow()
{
    const QString typed = cbWildCard->currentText();
    cbWildCard->clear();  // also empties the edit text, hence the copy
    cbWildCard->addItems(WildcardChoices());
    cbWildCard->setEditText(typed);
    cbWildCardChange();
}

void TfrmWildCard::cbWildCardChange()
{
    const QString text = cbWildCard->currentText();
    lblWild->setText(WildcardAllText(text));
    lblType->setText(WildcardTypeText(text));
}

}  // namespace finders

#include "delete/frmpassword.h"

#include "components/slotguard.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <memory>

namespace del {

TfrmPassword::TfrmPassword(QWidget* owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("frmPassword"));
    setWindowTitle(QStringLiteral("Enter Password"));

    lblEntry = new QLabel(this);
    lblEntry->setObjectName(QStringLiteral("lblEntry"));
    lblEntry->setWordWrap(true);
    edPassword = new QLineEdit(this);
    edPassword->setObjectName(QStringLiteral("edPassword"));
    edPassword->setEchoMode(QLineEdit::Password);
    edConfirm = new QLineEdit(this);
    edConfirm->setObjectName(QStringLiteral("edConfirm"));
    edConfirm->setEchoMode(QLineEdit::Password);
    btOK = new QPushButton(QStringLiteral("OK"), this);
    btOK->setObjectName(QStringLiteral("btOK"));
    btOK->setDefault(true);
    btCancel = new QPushButton(QStringLiteral("Cancel"), this);
    btCancel->setObjectName(QStringLiteral("btCancel"));

    auto* grid = new QGridLayout(this);
    grid->addWidget(lblEntry, 0, 0, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("Password:"), this), 1, 0);
    grid->addWidget(edPassword, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("Confirm password:"), this), 2, 0);
    grid->addWidget(edConfirm, 2, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btOK);
    buttons->addWidget(btCancel);
    grid->addLayout(buttons, 3, 0, 1, 2);

    connect(edPassword, &QLineEdit::textChanged, this, [this] { comp::guardSlot([&] { fieldsChanged(); }); });
    connect(edConfirm, &QLineEdit::textChanged, this, [this] { comp::guardSlot([&] { fieldsChanged(); }); });
    connect(btOK, &QPushButton::clicked, this, [this] {
        comp::guardSlot([&] {
            if (btOK->isEnabled())
                accept();
        });
    });
    connect(btCancel, &QPushButton::clicked, this, &QDialog::reject);
    fieldsChanged();
}

void TfrmPassword::setEntryName(const QString& entry)
{
    lblEntry->setText(entry);
}

QString TfrmPassword::password() const
{
    return edPassword->text();
}

void TfrmPassword::fieldsChanged()
{
    btOK->setEnabled(edPassword->text() == edConfirm->text());
}

std::optional<QByteArray> TfrmPassword::ask(QWidget* owner, const QString& entry)
{
    std::unique_ptr<TfrmPassword> dialog(new TfrmPassword(owner));
    dialog->setEntryName(entry);
    if (dialog->exec() != QDialog::Accepted)
        return std::nullopt;
    // Passwords are typed as text; the archive tools of this system take
    // them as UTF-8 bytes.
    return dialog->password().toUtf8();
}

}  // namespace del

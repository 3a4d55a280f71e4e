#include "delete/frmzipoptions.h"

#include "components/shadowlabel.h"
#include "components/slotguard.h"
#include "core/prompter.h"
#include "delete/zipsettings.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QToolButton>
#include <QVBoxLayout>

namespace del {

namespace {

QLabel* label(const char* text, QWidget* parent, const char* name)
{
    auto* l = new QLabel(QString::fromLatin1(text), parent);
    l->setObjectName(QString::fromLatin1(name));
    l->setWordWrap(true);
    return l;
}

}  // namespace

TfrmZipOptions::TfrmZipOptions(QWidget* owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("frmZipOptions"));
    setWindowTitle(QStringLiteral("Archive Zip File Options"));
    setModal(true);
    auto* top = new QVBoxLayout(this);

    lblTitle = new comp::ShadowLabel(QStringLiteral("Archive Zip File options"), this);
    lblTitle->setObjectName(QStringLiteral("lblTitle"));
    QFont f = lblTitle->font();
    f.setPixelSize(18);
    f.setBold(true);
    lblTitle->setFont(f);
    top->addWidget(lblTitle);

    top->addWidget(label("Store Zip Archive Files in this folder:", this, "lblFolder"));
    auto* folderRow = new QHBoxLayout;
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setReadOnly(true);
    Edit1->setToolTip(QStringLiteral("Click on the button on the right to change"));
    Edit1->setMinimumWidth(320);
    SpeedButton1 = new QToolButton(this);
    SpeedButton1->setObjectName(QStringLiteral("SpeedButton1"));
    SpeedButton1->setText(QStringLiteral("..."));
    folderRow->addWidget(Edit1, 1);
    folderRow->addWidget(SpeedButton1);
    top->addLayout(folderRow);
    top->addWidget(label("Note: the zip folder can be on the network on a different machine!", this, "lblNetwork"));

    top->addWidget(label("Comment to be inserted into Archive Zip file:", this, "lblComment"));
    Edit2 = new QLineEdit(this);
    Edit2->setObjectName(QStringLiteral("Edit2"));
    Edit2->setMaxLength(kMaxCommentLength);
    top->addWidget(Edit2);
    top->addWidget(label("Note: Comments make it much easier to identify archive zip files later.", this,
                         "lblCommentNote"));

    auto* buttons = new QHBoxLayout;
    btOK = new QPushButton(QStringLiteral("OK"), this);
    btOK->setObjectName(QStringLiteral("btOK"));
    btOK->setDefault(true);
    btCancel = new QPushButton(QStringLiteral("Cancel"), this);
    btCancel->setObjectName(QStringLiteral("btCancel"));
    buttons->addStretch(1);
    buttons->addWidget(btOK);
    buttons->addWidget(btCancel);
    top->addLayout(buttons);

    connect(SpeedButton1, &QToolButton::clicked, this, [this] { comp::guardSlot([this] { SpeedButton1Click(); }); });
    connect(btOK, &QPushButton::clicked, this, [this] { comp::guardSlot([this] { accept(); }); });
    // Esc comes through reject() as well.
    connect(btCancel, &QPushButton::clicked, this, [this] { comp::guardSlot([this] { reject(); }); });
}

void TfrmZipOptions::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    if (e->spontaneous())
        return;
    comp::guardSlot([this] {
        readSettings();
        Edit2->setFocus();
    });
}

void TfrmZipOptions::readSettings()
{
    ZipFolder = readZipFolderSetting();
    ZipComment = readZipCommentSetting().left(kMaxCommentLength);
    Edit1->setText(ZipFolder);
    Edit2->setText(ZipComment);
    loaded_ = true;
}

void TfrmZipOptions::writeSettings()
{
    ZipFolder = Edit1->text();
    ZipComment = Edit2->text();
    writeZipSettings(ZipFolder, ZipComment);
}

void TfrmZipOptions::SpeedButton1Click()
{
    const std::optional<QString> folder =
        core::prompter().pickFolder(QStringLiteral("Location of archive zip files"), Edit1->text());
    if (folder && !folder->isEmpty())
        Edit1->setText(*folder);
}

void TfrmZipOptions::done(int result)
{
    // Whichever way it closes, what it shows is stored.
    if (loaded_)
        comp::guardSlot([this] { writeSettings(); });
    QDialog::done(result);
}

}  // namespace del

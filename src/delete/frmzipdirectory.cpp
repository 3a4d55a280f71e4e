#include "delete/frmzipdirectory.h"

#include "components/slotguard.h"
#include "core/helpers.h"
#include "core/prompter.h"
#include "delete/folderlistbox.h"
#include "delete/frmgetfoldername.h"
#include "delete/restore.h"
#include "platform/drives.h"
#include "platform/fileops.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

#include <memory>

namespace del {

namespace {

QLabel* label(const QString& text, QWidget* parent, const char* name = nullptr)
{
    auto* l = new QLabel(text, parent);
    if (name)
        l->setObjectName(QString::fromLatin1(name));
    l->setWordWrap(true);
    return l;
}

}  // namespace

TfrmZipDirectory::TfrmZipDirectory(QWidget* owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("frmZipDirectory"));
    setWindowTitle(QStringLiteral("Destination folder"));

    DriveComboBox1 = new DriveComboBox(this);
    DriveComboBox1->setObjectName(QStringLiteral("DriveComboBox1"));
    DLB = new FolderListBox(this);
    DLB->setObjectName(QStringLiteral("DLB"));
    lblZipName = label(QString(), this, "lblZipName");
    DirLabel = label(QString(), this, "DirLabel");
    btOK = new QPushButton(QStringLiteral("OK"), this);
    btOK->setObjectName(QStringLiteral("btOK"));
    btOK->setDefault(true);
    btCancel = new QPushButton(QStringLiteral("Cancel"), this);
    btCancel->setObjectName(QStringLiteral("btCancel"));
    btNewFolder = new QPushButton(QStringLiteral("&Create sub-folder..."), this);
    btNewFolder->setObjectName(QStringLiteral("btNewFolder"));

    auto* left = new QVBoxLayout;
    left->addWidget(DriveComboBox1);
    left->addWidget(DLB, 1);
    left->addWidget(btNewFolder);

    auto* right = new QVBoxLayout;
    right->addWidget(label(QStringLiteral("All files within the selected archive zip file "), this));
    right->addWidget(lblZipName);
    right->addWidget(label(QStringLiteral("Will be restored into the following folder:"), this));
    right->addWidget(DirLabel);
    right->addWidget(label(QStringLiteral("All files contained in the selected zip file will be extracted into the "
                                          "folder that you pick on the left. "),
                           this));
    right->addWidget(label(QStringLiteral("It is recommended that you select the ROOT folder of the drive that "
                                          "matches the name of the archive to restore the files into their original "
                                          "places."),
                           this));
    right->addStretch();
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btOK);
    buttons->addWidget(btCancel);
    right->addLayout(buttons);

    auto* row = new QHBoxLayout(this);
    row->addLayout(left, 1);
    row->addLayout(right, 1);
    resize(560, 340);

    connect(DLB, &FolderListBox::directoryChanged, this,
            [this](const QString& f) { comp::guardSlot([&] { DLBChange(f); }); });
    connect(DriveComboBox1, &DriveComboBox::driveChosen, this,
            [this](const QString& r) { comp::guardSlot([&] { DriveChange(r); }); });
    connect(btOK, &QPushButton::clicked, this, [this] { comp::guardSlot([&] { btOKClick(); }); });
    connect(btCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(btNewFolder, &QPushButton::clicked, this, [this] { comp::guardSlot([&] { btNewFolderClick(); }); });
}

void TfrmZipDirectory::setArchivePath(const QString& path)
{
    lblZipName->setText(path);
}

QString TfrmZipDirectory::chosenFolder() const
{
    return DLB->directory();
}

void TfrmZipDirectory::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    if (e->spontaneous())
        return;
    // A drive that is not there cannot receive the files: the error is
    // shown and the dialog closes as cancelled.
    if (!comp::guardSlot([&] { FormShow(); }))
        QMetaObject::invokeMethod(this, &QDialog::reject, Qt::QueuedConnection);
}

void TfrmZipDirectory::FormShow()
{
    StartFolder = plat::currentFolder();
    ArchiveRoot = ArchiveRootFor(lblZipName->text());
    // "\" is the root of the current drive.
    const QString root = ArchiveRoot == QLatin1String("\\") && !StartFolder.isEmpty()
                             ? plat::driveRoot(StartFolder.at(0).toUpper())
                             : ArchiveRoot;
    plat::setCurrentFolder(root);
    DLB->setDirectory(plat::currentFolder());
}

void TfrmZipDirectory::DLBChange(const QString& folder)
{
    DirLabel->setText(folder);
    DriveComboBox1->showDriveOf(folder);
    plat::setCurrentFolder(folder);
}

void TfrmZipDirectory::DriveChange(const QString& root)
{
    try {
        DLB->setDirectory(root);
    } catch (...) {
        DriveComboBox1->showDriveOf(DLB->directory());
        throw;
    }
}

void TfrmZipDirectory::btOKClick()
{
    if (DLB->directory().isEmpty())
        return;
    if (!IsOriginalRoot(DLB->directory(), ArchiveRoot)
        && core::prompter().confirm(core::ConfirmKind::YesNo,
                                    QStringLiteral("You are not restoring into the original root folder.  The files "
                                                   "will not be restored to their original locations. Is this OK?"))
               != core::Answer::Yes)
        return;
    accept();
}

void TfrmZipDirectory::btNewFolderClick()
{
    std::unique_ptr<TfrmGetFolderName> ask(new TfrmGetFolderName(this));
    ask->setWindowTitle(QStringLiteral("Create Sub-folder"));
    ask->Edit1->clear();
    if (ask->exec() != QDialog::Accepted)
        return;
    const QString name = ask->Edit1->text();
    ask.reset();
    if (core::IsBlankText(name))
        return;
    QString error;
    if (CreateSubFolder(DLB->directory(), name, &error).isEmpty()) {
        core::ErrorBox(error);
        return;
    }
    DLB->refresh();
}

void TfrmZipDirectory::done(int result)
{
    if (!StartFolder.isEmpty()) {
        try {
            plat::setCurrentFolder(StartFolder);
        } catch (const std::exception&) {
            // The folder went away meanwhile; the current folder stays.
        }
    }
    QDialog::done(result);
}

}  // namespace del

#include "delete/frmdeldirectory.h"

#include "components/namedbutton.h"
#include "components/slotguard.h"
#include "core/helpers.h"
#include "core/prompter.h"
#include "core/safeharbor.h"
#include "delete/frmreallydelete.h"
#include "delete/zipoptionsstep.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QElapsedTimer>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace del {

namespace {

constexpr int kPumpIntervalMs = 20;

using comp::guarded;

QLabel* note(const char* text, QWidget* parent, const char* name)
{
    auto* l = new QLabel(QString::fromLatin1(text), parent);
    l->setObjectName(QString::fromLatin1(name));
    l->setWordWrap(true);
    return l;
}

qint64 monotonicMs()
{
    static QElapsedTimer clock;
    if (!clock.isValid())
        clock.start();
    return clock.elapsed();
}

struct WaitCursor {
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
};

}  // namespace

TfrmDelDirectory::TfrmDelDirectory(QWidget* owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("frmDelDirectory"));
    setWindowTitle(QStringLiteral("Clean directory, sub-directories and all files"));
    buildControls();
    // The zip options window says where the archive goes; tests answer it here.
    askZipOptions = [this] { return showZipOptions(this); };

    connect(btDelete, &QPushButton::clicked, this, guarded([this] { btDeleteClick(); }));
    connect(btRecycle, &QPushButton::clicked, this, guarded([this] { btRecycleClick(); }));
    connect(btZip, &QPushButton::clicked, this, guarded([this] { btZipClick(); }));
    connect(BitBtn3, &QPushButton::clicked, this, guarded([this] { BitBtn3Click(); }));
}

TfrmDelDirectory::~TfrmDelDirectory() = default;

void TfrmDelDirectory::setFolder(const QString& path)
{
    folder_ = path;
    lblDirectory->setText(path);
}

void TfrmDelDirectory::buildControls()
{
    lblTop = new QLabel(QStringLiteral("Folder to clean: "), this);
    lblTop->setObjectName(QStringLiteral("lblTop"));
    lblTop->setWordWrap(true);
    lblDirectory = new QLabel(this);
    lblDirectory->setObjectName(QStringLiteral("lblDirectory"));
    lblDirectory->setAlignment(Qt::AlignCenter);
    lblDirectory->setWordWrap(true);
    // The path is shown as text, never read back as markup.
    lblDirectory->setTextFormat(Qt::PlainText);

    btDelete = comp::namedButton("&Delete folder", "Delete the files shown above.  Cannot be undeleted.", this, "btDelete");
    btRecycle = comp::namedButton("&Send files to recycle bin",
                       "Send to recycle bin.  Recycle bin can be emptied later.  Files can be recovered.", this,
                       "btRecycle");
    btZip = comp::namedButton("&Zip up folder", "Compress files into a ZIP file", this, "btZip");
    cbDelete = new QCheckBox(QStringLiteral("Delete files after zipping them up"), this);
    cbDelete->setObjectName(QStringLiteral("cbDelete"));
    cbDelete->setChecked(true);
    BitBtn3 = comp::namedButton("Cancel", "Cancel. Do not delete.", this, "BitBtn3");

    auto* grid = new QGridLayout;
    grid->addWidget(btDelete, 0, 0);
    grid->addWidget(note("All files and sub-folders are deleted.  Files cannot be recovered.  Hard disk space "
                         "immediately freed up.",
                         this, "lblDeleteNote"),
                    0, 1);
    grid->addWidget(btRecycle, 1, 0);
    grid->addWidget(note("All files sent to the Windows 95/98 recycle bin which can be emptied later. Files may be "
                         "recovered.  Hard disk space is not freed up until recycle bin is emptied..",
                         this, "lblRecycleNote"),
                    1, 1);
    auto* zipBox = new QVBoxLayout;
    zipBox->addWidget(btZip);
    zipBox->addWidget(cbDelete);
    grid->addLayout(zipBox, 2, 0);
    grid->addWidget(note("All files and sub-folders are zipped up (compressed).  Files can be recovered using the "
                         "UnZip option on the main menu or by using an appropriate UNZIP utility such as ZipMagic, "
                         "Winzip or Pkzip.",
                         this, "lblZipNote"),
                    2, 1);
    grid->addWidget(BitBtn3, 3, 0);
    grid->addWidget(note("Cancel operation.", this, "lblCancelNote"), 3, 1);
    grid->setColumnStretch(1, 1);

    // The status bar: the running count, the current file, and the progress
    // within the file being zipped.
    pnlCount = new QLabel(QStringLiteral("Count"), this);
    pnlCount->setObjectName(QStringLiteral("pnlCount"));
    pnlCount->setMinimumWidth(80);
    pnlCount->setFrameShape(QFrame::StyledPanel);
    pnlName = new QLabel(QStringLiteral("Filename"), this);
    pnlName->setObjectName(QStringLiteral("pnlName"));
    pnlName->setTextFormat(Qt::PlainText);
    pnlName->setFrameShape(QFrame::StyledPanel);
    pnlName->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    Gauge1 = new QProgressBar(this);
    Gauge1->setObjectName(QStringLiteral("Gauge1"));
    Gauge1->setRange(0, 100);
    Gauge1->setMaximumWidth(120);
    Gauge1->hide();
    auto* status = new QHBoxLayout;
    status->addWidget(pnlCount);
    status->addWidget(pnlName, 1);
    status->addWidget(Gauge1);

    auto* main = new QVBoxLayout(this);
    main->addWidget(lblTop);
    main->addWidget(lblDirectory);
    main->addLayout(grid);
    main->addLayout(status);
    resize(560 * logicalDpiX() / 96, 320 * logicalDpiY() / 96);
}

void TfrmDelDirectory::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    if (!e->spontaneous())
        comp::guardSlot([&] { FormShow(); });
}

void TfrmDelDirectory::FormShow()
{
    RecycleChosen = false;
    running_ = false;
    cancelRequested_ = false;
    // The label is for the eye; the operation keeps the path it had now.
    folder_ = lblDirectory->text();
    const QString& folder = folder_;
    // Floppy drives have no trash.
    const QString upper = folder.toUpper();
    btRecycle->setEnabled(!(upper.startsWith(u'A') || upper.startsWith(u'B')));
    lblTop->setText(QStringLiteral("Folder to clean: "));
    lblTop->setStyleSheet(QString());
    if (const int reason = core::programSafeHarbor().IsInSafeHarbor(folder, false)) {
        lblTop->setText(QStringLiteral("This folder should not be deleted since it is ")
                        + core::SafeHarborReasonText(reason));
        lblTop->setStyleSheet(QStringLiteral("color: red;"));
    }
}

void TfrmDelDirectory::btDeleteClick()
{
    if (running_)
        return;
    RecycleChosen = false;
    ZipChosen = false;
    const bool ran = StartTheDeletionProcess(FolderMode::Delete);
    pnlCount->setText(QStringLiteral("Count"));
    pnlName->setText(QStringLiteral("Filename"));
    finish(ran);
}

void TfrmDelDirectory::btRecycleClick()
{
    if (running_)
        return;
    if (core::prompter().confirm(core::ConfirmKind::YesNo, QString::fromLatin1(kTrashQuestion)) != core::Answer::Yes) {
        RecycleChosen = false;
        ZipChosen = false;
        return;
    }
    RecycleChosen = true;
    ZipChosen = false;
    const bool ran = StartTheDeletionProcess(FolderMode::Recycle);
    // Declined or refused: nothing went to the trash.
    if (!ran)
        RecycleChosen = false;
    finish(ran);
}

void TfrmDelDirectory::btZipClick()
{
    if (running_)
        return;
    ZipChosen = true;
    RecycleChosen = false;
    const std::optional<FolderZipTarget> target = askZipOptions ? askZipOptions() : std::nullopt;
    if (!target) {
        ZipChosen = false;
        return;  // cancelled: nothing is created, the window stays open
    }
    FolderDeletion op(folder_);
    op.setZipTarget(*target);
    op.setDeleteAfterZip(cbDelete->isChecked());
    operation_ = &op;
    const bool ran = StartTheDeletionProcess(FolderMode::Zip);
    if (!ran)
        ZipChosen = false;
    finish(ran);
}

bool TfrmDelDirectory::StartTheDeletionProcess(FolderMode mode)
{
    // A zip operation arrives with its settings made; the others start here.
    std::optional<FolderDeletion> own;
    if (!operation_) {
        own.emplace(folder_);
        operation_ = &*own;
    }
    FolderDeletion& op = *operation_;
    op.setMode(mode);
    op.setHooks({[this] { pump(); },
                 [this](qint64 count, const QString& path) {
                     pnlCount->setText(QString::number(count));
                     pnlName->setText(path);
                 },
                 [this](int percent) {
                     Gauge1->setValue(percent);
                     Gauge1->setVisible(percent < 100);
                 },
                 {},
                 {}});
    setRunning(true);
    struct Done {
        TfrmDelDirectory& w;
        ~Done()
        {
            w.operation_ = nullptr;
            w.setRunning(false);
        }
    } done{*this};
    WaitCursor wait;
    lastResult_ = op.StartTheDeletionProcess();
    using Outcome = FolderDeletionResult::Outcome;
    return lastResult_.outcome == Outcome::Walked || lastResult_.outcome == Outcome::RemovedEmpty;
}

void TfrmDelDirectory::finish(bool ran)
{
    if (cancelRequested_) {
        QDialog::reject();
        return;
    }
    // An operation that did not run (the Safe Harbor question declined, a
    // folder that cannot be opened) leaves the window open.
    if (ran)
        accept();
}

void TfrmDelDirectory::setRunning(bool on)
{
    running_ = on;
    lastPumpMs_ = -1;
    // One operation at a time: nothing may start a second one.
    for (QWidget* w : {static_cast<QWidget*>(btDelete), static_cast<QWidget*>(btRecycle),
                       static_cast<QWidget*>(btZip), static_cast<QWidget*>(cbDelete)})
        w->setEnabled(!on);
    if (!on) {
        const QString upper = folder_.toUpper();
        btRecycle->setEnabled(!(upper.startsWith(u'A') || upper.startsWith(u'B')));
        Gauge1->hide();
    }
}

void TfrmDelDirectory::pump()
{
    if (pumpObserver)
        pumpObserver();
    const qint64 now = monotonicMs();
    if (lastPumpMs_ >= 0 && now - lastPumpMs_ < kPumpIntervalMs)
        return;
    lastPumpMs_ = now;
    QCoreApplication::processEvents();
}

void TfrmDelDirectory::BitBtn3Click()
{
    if (!running_) {
        QDialog::reject();
        return;
    }
    if (cancelRequested_)
        return;
    if (core::prompter().confirm(core::ConfirmKind::YesNo, QString::fromLatin1(kReallyAbortQuestion))
        == core::Answer::Yes) {
        cancelRequested_ = true;
        if (operation_)
            operation_->requestStop();
    }
}

void TfrmDelDirectory::reject()
{
    // Esc and the close box act as Cancel: while an operation runs they ask
    // to stop it instead of leaving it running behind a closed window.
    comp::guardSlot([this] { BitBtn3Click(); });
}

void TfrmDelDirectory::closeEvent(QCloseEvent* e)
{
    if (running_) {
        e->ignore();
        comp::guardSlot([this] { BitBtn3Click(); });
        return;
    }
    QDialog::closeEvent(e);
}

}  // namespace del

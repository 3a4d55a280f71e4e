#include "delete/frmunzipit.h"

#include "components/namedbutton.h"
#include "components/slotguard.h"
#include "core/helpers.h"
#include "core/prompter.h"
#include "delete/folderlistbox.h"
#include "delete/frmpassword.h"
#include "delete/frmzipdirectory.h"
#include "delete/zipsettings.h"
#include "platform/drives.h"
#include "platform/fileops.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QHash>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QShowEvent>
#include <QStyle>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <memory>

namespace del {

namespace {

using comp::guarded;

struct WaitCursor {
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
};

// A damaged archive can fail on every entry: past this many boxes the rest
// are counted in one.
constexpr int kMaxFailureBoxes = 15;

const QString kNoArchives = QStringLiteral(
    "It appears that there are no archive zip files in this folder for Trovik to unzip.  \r\r"
    "Note that Trovik can only unzip those files that have been originally zipped by Trovik.  It should not be "
    "used to unzip other non Trovik zip files.");

}  // namespace

TfrmUnZipIt::TfrmUnZipIt(QWidget* owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("frmUnZipIt"));
    setWindowTitle(QStringLiteral("Unzip Trovik Archive Zip Files"));
    buildControls();
    AskPassword = [this](const QString& entry) { return TfrmPassword::ask(this, entry); };

    connect(DirectoryListBox1, &FolderListBox::directoryChanged, this,
            [this](const QString& f) { comp::guardSlot([&] { DirectoryChange(f); }); });
    connect(DriveComboBox1, &DriveComboBox::driveChosen, this, [this](const QString& root) {
        comp::guardSlot([&] {
            try {
                DirectoryListBox1->setDirectory(root);
            } catch (...) {
                DriveComboBox1->showDriveOf(DirectoryListBox1->directory());
                throw;
            }
        });
    });
    connect(FileListBox1, &QListWidget::itemSelectionChanged, this, guarded([this] { updateButtons(); }));
    connect(FileListBox1, &QListWidget::itemDoubleClicked, this, guarded([this] { btViewClick(); }));
    connect(btView, &QPushButton::clicked, this, guarded([this] { btViewClick(); }));
    connect(btExtract, &QPushButton::clicked, this, guarded([this] { ExtractFiles1Click(); }));
    connect(btClose, &QPushButton::clicked, this, &QDialog::accept);
    connect(tmNoArchives, &QTimer::timeout, this, guarded([] { core::InfoBox(kNoArchives); }));
    connect(Outline, &QTreeWidget::itemExpanded, this, [](QTreeWidgetItem* item) {
        comp::guardSlot([&] { item->setIcon(0, QApplication::style()->standardIcon(QStyle::SP_DirOpenIcon)); });
    });
    connect(Outline, &QTreeWidget::itemCollapsed, this, [](QTreeWidgetItem* item) {
        comp::guardSlot([&] { item->setIcon(0, QApplication::style()->standardIcon(QStyle::SP_DirClosedIcon)); });
    });
}

TfrmUnZipIt::~TfrmUnZipIt() = default;

void TfrmUnZipIt::buildControls()
{
    DriveComboBox1 = new DriveComboBox(this);
    DriveComboBox1->setObjectName(QStringLiteral("DriveComboBox1"));
    DirectoryListBox1 = new FolderListBox(this);
    DirectoryListBox1->setObjectName(QStringLiteral("DirectoryListBox1"));
    FileListBox1 = new QListWidget(this);
    FileListBox1->setObjectName(QStringLiteral("FileListBox1"));
    FileListBox1->setSelectionMode(QAbstractItemView::SingleSelection);

    lblZip = new QLabel(this);
    lblZip->setObjectName(QStringLiteral("lblZip"));
    lblCount = new QLabel(this);
    lblCount->setObjectName(QStringLiteral("lblCount"));
    pnlComment = new QLabel(QStringLiteral("Archive zip file comments"), this);
    pnlComment->setObjectName(QStringLiteral("pnlComment"));
    pnlComment->setFrameShape(QFrame::Panel);
    pnlComment->setFrameShadow(QFrame::Sunken);
    pnlComment->setWordWrap(true);
    Outline = new QTreeWidget(this);
    Outline->setObjectName(QStringLiteral("Outline"));
    Outline->setHeaderHidden(true);
    Outline->setColumnCount(1);

    btView = comp::namedButton("&View files inside ZIP", "Extract Files...", this, "btView");
    btExtract = comp::namedButton("&Extract files from ZIP", "Extract Files...", this, "btExtract");
    btClose = comp::namedButton("Close", "Close window", this, "btClose");
    Gauge1 = new QProgressBar(this);
    Gauge1->setObjectName(QStringLiteral("Gauge1"));
    Gauge1->setRange(0, 100);
    Gauge1->setVisible(false);
    tmNoArchives = new QTimer(this);
    tmNoArchives->setObjectName(QStringLiteral("tmNoArchives"));
    tmNoArchives->setSingleShot(true);
    tmNoArchives->setInterval(600);

    auto* left = new QVBoxLayout;
    left->addWidget(DriveComboBox1);
    left->addWidget(DirectoryListBox1, 1);
    left->addWidget(new QLabel(QStringLiteral("Archive files (double click to view)"), this));
    left->addWidget(new QLabel(QStringLiteral("File mask: Drive*.zip"), this));
    left->addWidget(FileListBox1, 1);

    auto* right = new QVBoxLayout;
    right->addWidget(new QLabel(QStringLiteral("Contents of the Trovik archive zip file:"), this));
    right->addWidget(lblZip);
    right->addWidget(lblCount);
    right->addWidget(pnlComment);
    right->addWidget(Outline, 1);

    auto* columns = new QHBoxLayout;
    columns->addLayout(left, 2);
    columns->addLayout(right, 3);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(btView);
    bottom->addWidget(btExtract);
    bottom->addWidget(Gauge1, 1);
    bottom->addStretch();
    bottom->addWidget(btClose);
    auto* all = new QVBoxLayout(this);
    all->addLayout(columns, 1);
    all->addLayout(bottom);
    resize(720, 480);
    updateButtons();
}

void TfrmUnZipIt::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    if (!e->spontaneous())
        comp::guardSlot([&] { FormShow(); });
}

void TfrmUnZipIt::FormShow()
{
    lblZip->clear();
    QString folder = ZipFolder;
    if (folder.isEmpty())
        folder = readZipFolderSetting();
    try {
        DirectoryListBox1->setDirectory(folder);
    } catch (const plat::IoError&) {
        // The archive folder is gone (or on a drive that is not there): the
        // window opens on the current folder instead.
        DirectoryListBox1->setDirectory(plat::currentFolder());
    }
    if (FileListBox1->count() == 0)
        tmNoArchives->start();
}

void TfrmUnZipIt::DirectoryChange(const QString& folder)
{
    DriveComboBox1->showDriveOf(folder);
    plat::setCurrentFolder(folder);
    fillFileList();
}

void TfrmUnZipIt::fillFileList()
{
    const QString keep = selectedFile();
    FileListBox1->clear();
    FileListBox1->addItems(ArchiveFilesIn(DirectoryListBox1->directory()));
    if (!keep.isEmpty()) {
        const QList<QListWidgetItem*> again = FileListBox1->findItems(keep, Qt::MatchExactly);
        if (!again.isEmpty())
            FileListBox1->setCurrentItem(again.first());
    }
    updateButtons();
}

void TfrmUnZipIt::updateButtons()
{
    const bool selected = !selectedFile().isEmpty();
    btView->setEnabled(selected);
    btExtract->setEnabled(selected);
}

QString TfrmUnZipIt::selectedFile() const
{
    const QList<QListWidgetItem*> items = FileListBox1->selectedItems();
    return items.isEmpty() ? QString() : items.first()->text();
}

bool TfrmUnZipIt::loadSelected()
{
    const QString name = selectedFile();
    if (name.isEmpty())
        return false;
    WaitCursor wait;
    if (!archive_.load(DirectoryListBox1->directory(), name))
        return false;  // not an archive: the tree keeps what it showed
    showContents();
    return true;
}

void TfrmUnZipIt::showContents()
{
    const QIcon closed = QApplication::style()->standardIcon(QStyle::SP_DirClosedIcon);
    const QIcon file = QApplication::style()->standardIcon(QStyle::SP_FileIcon);
    Outline->clear();
    QHash<QString, QTreeWidgetItem*> folders;
    // The folder item of a stored folder path, made on first use.
    std::function<QTreeWidgetItem*(const QStringList&, int)> folderItem = [&](const QStringList& parts,
                                                                               int count) -> QTreeWidgetItem* {
        if (count == 0)
            return nullptr;
        const QString key = parts.mid(0, count).join(QLatin1Char('/'));
        if (QTreeWidgetItem* found = folders.value(key))
            return found;
        QTreeWidgetItem* parent = folderItem(parts, count - 1);
        auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(Outline);
        item->setText(0, parts.at(count - 1));
        item->setIcon(0, closed);
        folders.insert(key, item);
        return item;
    };
    for (const comp::ZipEntryInfo& e : archive_.entries()) {
        const QStringList parts = e.name.split(QLatin1Char('/'), Qt::SkipEmptyParts);
        if (parts.isEmpty())
            continue;
        if (e.isFolder) {
            folderItem(parts, int(parts.size()));
            continue;
        }
        QTreeWidgetItem* parent = folderItem(parts, int(parts.size()) - 1);
        auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(Outline);
        item->setText(0, parts.last());
        item->setIcon(0, file);
    }
    Outline->sortItems(0, Qt::AscendingOrder);

    lblZip->setText(archive_.path());
    lblCount->setText(QString::number(archive_.entryCount()) + QStringLiteral(" files"));
    pnlComment->setText(archive_.comment());
    IgnoreDuplicateWarnings = false;
    QPalette p = Outline->palette();
    p.setColor(QPalette::Base, palette().color(QPalette::Window));
    Outline->setPalette(p);
}

void TfrmUnZipIt::btViewClick()
{
    loadSelected();
}

void TfrmUnZipIt::ExtractFiles1Click()
{
    if (!loadSelected()) {
        // Restoring the archive viewed before in place of the one selected
        // would put the wrong files back.
        if (!selectedFile().isEmpty()) {
            const QString path = core::JoinPath(DirectoryListBox1->directory(), selectedFile());
            core::ErrorBox(archive_.refusal().isEmpty() ? NotAnArchiveText(path)
                                                        : RefusedArchiveText(path, archive_.refusal()));
        }
        return;
    }
    std::unique_ptr<TfrmZipDirectory> dest(new TfrmZipDirectory(this));
    dest->setArchivePath(lblZip->text());
    dest->setWindowTitle(QStringLiteral("Destination folder"));
    if (!archive_.BaseFolder.isEmpty()) {
        try {
            dest->DLB->setDirectory(plat::driveRoot(archive_.BaseFolder.at(0).toUpper()));
        } catch (const plat::IoError&) {
            // The dialog opens on the archive's drive anyway.
        }
    }
    if (dest->exec() != QDialog::Accepted)
        return;
    const QString folder = dest->chosenFolder();
    dest.reset();

    RestoreOutcome outcome;
    {
        WaitCursor wait;
        btView->setEnabled(false);
        btExtract->setEnabled(false);
        btClose->setEnabled(false);
        auto ask = [this](const QString& entry) {
            QApplication::restoreOverrideCursor();
            const std::optional<QByteArray> pw = AskPassword ? AskPassword(entry) : std::nullopt;
            QApplication::setOverrideCursor(Qt::WaitCursor);
            return pw;
        };
        outcome = archive_.extractAll(folder, ask, [this](int pc) { showProgress(pc); });
        Gauge1->setVisible(false);
        btClose->setEnabled(true);
        fillFileList();
    }
    reportOutcome(outcome, folder);
}

void TfrmUnZipIt::showProgress(int percent)
{
    Gauge1->setValue(percent);
    Gauge1->setVisible(percent < 100);
    // Repaint, but no clicks while the files are written.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void TfrmUnZipIt::reportOutcome(const RestoreOutcome& outcome, const QString& folder)
{
    if (!outcome.refusal.isEmpty()) {
        core::ErrorBox(outcome.refusal);
        return;
    }
    int boxes = 0;
    int unreported = 0;
    for (const RestoreFailure& f : outcome.failures) {
        const QString why = f.codecText.isEmpty() ? comp::describe(f.result) : f.codecText;
        const int needs = why.isEmpty() ? 1 : 2;
        if (unreported > 0 || boxes + needs > kMaxFailureBoxes) {
            ++unreported;
            continue;
        }
        OutlineProcessItemFailure(ItemAction::Extract, f.entry, false, why);
        boxes += needs;
    }
    if (unreported > 0)
        core::ErrorBox(MoreFailuresText(unreported, archive_.name()));
    if (outcome.existing > 0)
        core::WarningBox(ExistingTargetsText(outcome.existing, folder));
    core::InfoBox(outcome.summaryText());
}

void TfrmUnZipIt::OutlineProcessItemFailure(ItemAction action, const QString& entry, bool duplicateName,
                                            const QString& codecText)
{
    const QString archiveName = archive_.name();
    if (duplicateName && action != ItemAction::Extract) {
        if (!IgnoreDuplicateWarnings
            && core::prompter().confirm(core::ConfirmKind::YesNo,
                                        DuplicateWarningText(action == ItemAction::Add, entry),
                                        QStringLiteral("Warning"))
                   == core::Answer::Yes)
            IgnoreDuplicateWarnings = true;
        return;
    }
    core::ErrorBox(action == ItemAction::Extract ? ExtractFailureText(entry, archiveName)
                                                 : MoveFailureText(entry, archiveName));
    if (!codecText.isEmpty())
        core::ErrorBox(codecText);
}

}  // namespace del

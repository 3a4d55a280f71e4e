#include "browse/frmbrowse.h"

#include "browse/folderlisting.h"
#include "browse/frmdetails.h"
#include "browse/viewhook.h"
#include "components/clicklabel.h"
#include "components/resultgridview.h"
#include "components/slotguard.h"
#include "components/waitcursor.h"
#include "components/windowplacement.h"
#include "core/helpers.h"
#include "core/prompter.h"
#include "core/safeharbor.h"
#include "core/settings.h"
#include "delete/frmdeldirectory.h"
#include "finders/frmwildcard.h"
#include "finders/sortmenu.h"
#include "platform/desktop.h"
#include "platform/drives.h"
#include "platform/fileops.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTreeWidget>

#include <cmath>

namespace browse {

namespace {

const QString kSection = QStringLiteral("frmBrowse");

comp::PlacementKey placementKey()
{
    return {core::PlacementStore::Key::Shared, comp::executableSection(), kSection};
}

int RunFolderDeletion(QWidget* owner, const QString& folder)
{
    return comp::runModal<del::TfrmDelDirectory>(owner, [&](del::TfrmDelDirectory& w) { w.setFolder(folder); });
}

std::optional<QString> AskPattern(QWidget* owner, const QString& pattern)
{
    finders::TfrmWildCard w(owner);
    w.setPattern(pattern);
    if (w.exec() != QDialog::Accepted)
        return std::nullopt;
    return w.pattern();
}

}  // namespace

TfrmBrowse::TfrmBrowse(QWidget* owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("TfrmBrowse"));
    buildControls();
    buildMenu();
    marks_ = new finders::ResultMarks(grid, this);
    marks_->setButtons(btMark, btDeleteFiles);
    marks_->status = [this](const QString& text) { pnlScan->setText(QStringLiteral("Marked for deletion: ") + text); };
    folderPanel = RunFolderDeletion;
    patternPanel = AskPattern;
    grid->loadColumnWidths(kSection, BrowseColumnBases());
    nameWidth_ = grid->columnWidth(bcName);
    connect(grid->horizontalHeader(), &QHeaderView::sectionResized, this, [this](int column, int, int size) {
        if (column == bcName && !fittingName_)
            nameWidth_ = size;
    });
    connect(grid, &comp::ResultGridView::columnsFitted, this, [this] { fitNameColumn(); });
    QString start = plat::currentFolder();
    if (start.size() < 3)
        start = plat::driveRoot(u'C');
    setFolder(start);
}

TfrmBrowse::~TfrmBrowse()
{
    comp::guardSlot([this] {
        grid->saveColumnWidths(kSection);
        // The width the user gave "Filename", not the room it filled.
        core::SettingsStore::writeColumnWidth(kSection, bcName, nameWidth_);
    });
    if (shown_)
        comp::savePlacement(*this, placementKey());
}

void TfrmBrowse::setRequest(const BrowseRequest& request)
{
    if (!request.folder.isEmpty())
        setFolder(request.folder);
    Pattern = request.pattern.isEmpty() ? QStringLiteral("*.*") : request.pattern;
    FileToSelect = request.file;
}

void TfrmBrowse::setFolder(const QString& drivePath)
{
    folder_ = drivePath;
    while (folder_.size() > 3 && folder_.endsWith(u'\\'))
        folder_.chop(1);
    followDrive();
    if (shown_)
        DirectoryListBox1Change();
}

void TfrmBrowse::followDrive()
{
    const QChar letter = folder_.isEmpty() ? QChar() : folder_.at(0).toUpper();
    for (int i = 0; i < DriveCombobox1->count(); ++i)
        if (DriveCombobox1->itemText(i).startsWith(letter)) {
            DriveCombobox1->setCurrentIndex(i);
            return;
        }
}

void TfrmBrowse::onDriveChosen(int index)
{
    const QString text = DriveCombobox1->itemText(index);
    if (text.isEmpty() || (!folder_.isEmpty() && text.at(0).toUpper() == folder_.at(0).toUpper()))
        return;
    const QChar letter = text.at(0);
    if (!core::DriveReady(letter)) {
        followDrive();
        return;
    }
    setFolder(plat::driveRoot(letter));
}

void TfrmBrowse::onTreeDoubleClick(QTreeWidgetItem* item)
{
    if (item)
        setFolder(item->data(0, Qt::UserRole).toString());
}

void TfrmBrowse::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    if (!shown_) {
        shown_ = true;
        FormShow();
    }
}

void TfrmBrowse::resizeEvent(QResizeEvent* e)
{
    QDialog::resizeEvent(e);
    fitNameColumn();
    showFolderLabel();
}

void TfrmBrowse::fitNameColumn()
{
    int others = 0;
    for (int c = 0; c < bcCount; ++c)
        if (c != bcName)
            others += grid->columnWidth(c);
    const int width = std::max(nameWidth_, grid->viewport()->width() - others);
    if (grid->columnWidth(bcName) == width)
        return;
    fittingName_ = true;
    grid->setColumnWidth(bcName, width);
    fittingName_ = false;
}

void TfrmBrowse::FormShow()
{
    pnlWild->setText(QStringLiteral("Wildcard : ") + Pattern);
    DirectoryListBox1Change();
    const int dpi = logicalDpiX();
    int width = 635 * dpi / 96;
    if (const QScreen* s = screen())
        width = std::min(width, s->availableGeometry().width() - 10);
    setMinimumSize(width, 174 * logicalDpiY() / 96);
    comp::restorePlacement(*this, placementKey());
}

void TfrmBrowse::DirectoryListBox1Change()
{
    if (folder_.size() < 3 || !core::DriveReady(folder_.at(0)))
        return;
    // A folder that went away meanwhile: the nearest one above that is left.
    while (!plat::folderExists(folder_) && !ParentFolder(folder_).isEmpty())
        folder_ = ParentFolder(folder_);
    btDeleteFiles->setEnabled(false);
    int files = 0;
    {
        comp::WaitCursor wait;
        const FolderContents contents = ReadFolder(folder_, SplitPatterns(Pattern));
        fillTree(contents.folders);
        const GridTotals totals = FillBrowseGrid(grid->grid(), folder_, contents.files);
        marks_->reset();
        totalBytes_ = totals.bytes;
        files = totals.files;
        resort();
    }
    showCounts(files);
    showFolderLabel();
    fitNameColumn();
}

void TfrmBrowse::fillTree(const QStringList& subFolders)
{
    DirectoryListBox1->clear();
    QTreeWidgetItem* parent = nullptr;
    QTreeWidgetItem* current = nullptr;
    const QIcon open = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closed = style()->standardIcon(QStyle::SP_DirClosedIcon);
    for (const TreeLine& line : FolderTreeLines(folder_, subFolders)) {
        auto* item = parent && !line.open ? new QTreeWidgetItem(current)
                     : parent             ? new QTreeWidgetItem(parent)
                                          : new QTreeWidgetItem(DirectoryListBox1);
        item->setText(0, line.text);
        item->setData(0, Qt::UserRole, line.path);
        item->setIcon(0, line.open ? open : closed);
        if (line.open) {
            parent = item;
            current = item;
        }
    }
    DirectoryListBox1->expandAll();
    if (current) {
        DirectoryListBox1->setCurrentItem(current);
        DirectoryListBox1->scrollToItem(current);
    }
}

void TfrmBrowse::resort()
{
    // The order the user chose last, in its present direction.
    QAction* by = sort_->ticked() ? sort_->ticked() : sort_->item(QStringLiteral("Name"));
    sort_->flipRule = reports::FlipRule::Keep;
    sort_->sortBy(by);
    sort_->flipRule = reports::FlipRule::BeforeSort;
}

void TfrmBrowse::showCounts(int files)
{
    pnlScan->setText(QStringLiteral("Number of files : ") + core::FormatGrouped(files));
    pnlSize->setText(QStringLiteral("Total size : ") + core::FormatGroupedF(totalBytes_));
}

void TfrmBrowse::showFolderLabel()
{
    // A long path keeps both ends; the whole of it is in the window's state.
    Label1->setText(Label1->fontMetrics().elidedText(folder_, Qt::ElideMiddle, std::max(Label1->width(), 80)));
    QPalette p = palette();
    Label1->setToolTip(QString());
    if (core::programSafeHarbor().IsInSafeHarbor(folder_, false) != core::shNone) {
        p.setColor(QPalette::Window, p.color(QPalette::Highlight));
        p.setColor(QPalette::WindowText, p.color(QPalette::HighlightedText));
        Label1->setToolTip(QStringLiteral("Folder is ON the Non-Deletion List"));
    } else {
        p.setColor(QPalette::Window, p.color(QPalette::Button));
    }
    Label1->setPalette(p);
}

void TfrmBrowse::Markall1Click()
{
    marks_->markAll();
}

void TfrmBrowse::Unmarkall1Click()
{
    marks_->unmarkAll();
}

void TfrmBrowse::btDeleteFilesClick()
{
    const finders::MarkBook& book = marks_->book();
    if (book.count() <= 0)
        return;
    finders::CleanRequest request;
    request.files = book.list();
    request.potentialSavings = std::floor(book.bytes());
    if (cleanPanel)
        cleanPanel(this, request);
    else
        finders::RunDeletionPanel(this, request);
    DirectoryListBox1Change();
}

void TfrmBrowse::btDeleteDirectoryClick()
{
    const QString p = folder_;
    const QString refusal = DeleteFolderRefusal(p);
    if (!refusal.isEmpty()) {
        core::ErrorBox(refusal);
        return;
    }
    // The parent by the path's text: the folder itself may be gone after.
    const QString q = ParentFolder(p);
    setFolder(q);
    const int result = folderPanel(this, p);
    setFolder(result == QDialog::Rejected && plat::folderExists(p) ? p : q);
}

QString TfrmBrowse::selectedFile() const
{
    const int row = grid->currentRow();
    if (!marks_->isDataRow(row))
        return QString();
    const QString path = grid->grid().path(row);
    return plat::fileExists(path) ? path : QString();
}

void TfrmBrowse::btViewClick()
{
    const QString path = selectedFile();
    if (!path.isEmpty())
        viewFile(this, path);
}

void TfrmBrowse::btLaunchClick()
{
    const QString path = selectedFile();
    if (path.isEmpty())
        return;
    if (!plat::openWithDesktop(path))
        core::ErrorBox(QStringLiteral("Couldn't open ") + grid->grid().cell(grid->currentRow(), bcName));
}

void TfrmBrowse::Details1Click()
{
    const QString path = selectedFile();
    if (!path.isEmpty())
        comp::runModal<TfrmDetails>(this, [&](TfrmDetails& w) { w.FileToShow = path; });
}

void TfrmBrowse::pnlScanClick()
{
    if (const std::optional<QString> chosen = patternPanel(this, Pattern)) {
        Pattern = *chosen;
        DirectoryListBox1Change();
    }
    pnlWild->setText(QStringLiteral("Wildcard : ") + Pattern);
}

bool TfrmBrowse::FormCloseQuery()
{
    const int count = marks_->book().count();
    if (count <= 0)
        return true;
    return core::prompter().confirm(core::ConfirmKind::YesNo,
                                    QStringLiteral("You have ") + QString::number(count)
                                        + QStringLiteral(" files marked for deletion. ")
                                        + QStringLiteral("Do you really wish to exit without deleting?"))
           == core::Answer::Yes;
}

// Esc, "Close" and the close box all come here.
void TfrmBrowse::reject()
{
    bool close = true;
    comp::guardSlot([&] { close = FormCloseQuery(); });
    if (close)
        QDialog::reject();
}

void BrowseFolder(QWidget* owner, const BrowseRequest& request)
{
    comp::runModal<TfrmBrowse>(owner, [&](TfrmBrowse& w) { w.setRequest(request); });
}

}  // namespace browse

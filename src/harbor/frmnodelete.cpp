#include "harbor/frmnodelete.h"

#include "components/slotguard.h"
#include "core/helpers.h"
#include "core/prompter.h"
#include "core/safeharbor.h"
#include "harbor/extensionlist.h"
#include "harbor/foldereditor.h"
#include "harbor/folderlist.h"
#include "harbor/folderlistmodel.h"
#include "harbor/frmeditfolder.h"
#include "harbor/frmkeepfiles.h"
#include "harbor/harborbuilder.h"
#include "harbor/keytrees.h"

#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListView>
#include <QListWidget>
#include <QPushButton>
#include <QShowEvent>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <memory>

namespace harbor {

namespace {

const QString kTitle = QStringLiteral("Safe harbor - folders/files not to delete");
const QString kBuildingTitle = QStringLiteral("Building List ... standby");

// The hourglass for the life of a scope, also when an error leaves it.
class WaitCursor {
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

QLabel* makeText(const QString& text, const char* name, QWidget* parent)
{
    auto* l = new QLabel(text, parent);
    l->setObjectName(QLatin1String(name));
    l->setWordWrap(true);
    l->setTextFormat(Qt::PlainText);
    return l;
}

}  // namespace

// The window while the build runs: the title says so, the buttons that
// could start a second build, open another window or close this one are
// disabled, and the hourglass shows. Everything comes back when the build
// ends, also when an error ends it.
class TfrmNoDelete::BuildState {
public:
    explicit BuildState(TfrmNoDelete& w) : w_(w)
    {
        w_.building_ = true;
        w_.lblTitle->setText(kBuildingTitle);
        setButtonsEnabled(false);
        w_.lblCount->clear();
    }
    ~BuildState()
    {
        w_.lblTitle->setText(kTitle);
        setButtonsEnabled(true);
        w_.building_ = false;
    }
    BuildState(const BuildState&) = delete;
    BuildState& operator=(const BuildState&) = delete;

private:
    void setButtonsEnabled(bool on)
    {
        for (QPushButton* b : {w_.btBuild, w_.btAdd, w_.btDel, w_.btEdit, w_.btAddDel, w_.btClose})
            b->setEnabled(on);
    }
    TfrmNoDelete& w_;
    WaitCursor cursor_;
};

TfrmNoDelete::TfrmNoDelete(QWidget* owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("frmNoDelete"));
    setWindowTitle(QStringLiteral("Safe Harbor - List of folders that should not be deleted"));
    setModal(true);
    buildControls();
}

TfrmNoDelete::~TfrmNoDelete() = default;

const QStringList& TfrmNoDelete::entries() const
{
    return model_->entries();
}

void TfrmNoDelete::buildControls()
{
    lblTitle = new QLabel(kTitle, this);
    lblTitle->setObjectName(QStringLiteral("lblTitle"));
    QFont titleFont = lblTitle->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.4);
    lblTitle->setFont(titleFont);
    lblTitle->setAlignment(Qt::AlignCenter);

    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->addTab(buildFolderPage(), QStringLiteral("Folders not to delete"));
    PageControl1->addTab(buildTypesPage(), QStringLiteral("File types not to delete"));

    btClose = new QPushButton(QStringLiteral("Close"), this);
    btClose->setObjectName(QStringLiteral("btClose"));
    btClose->setToolTip(QStringLiteral("Close window"));
    btClose->setAutoDefault(false);
    // Esc rejects the dialog, which closes it like this button.
    connect(btClose, &QPushButton::clicked, this, &QDialog::reject);

    auto* bottom = new QHBoxLayout;
    bottom->addStretch(1);
    bottom->addWidget(btClose);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblTitle);
    layout->addWidget(PageControl1, 1);
    layout->addLayout(bottom);

    tmBuild = new QTimer(this);
    tmBuild->setObjectName(QStringLiteral("tmBuild"));
    tmBuild->setSingleShot(true);
    tmBuild->setInterval(kFirstBuildDelayMs);
    connect(tmBuild, &QTimer::timeout, this, [this] { comp::guardSlot([this] { btBuildClick(); }); });

    resize(600, 500);
}

QWidget* TfrmNoDelete::buildFolderPage()
{
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("tsFolders"));

    auto* lblInfo = makeText(
        QStringLiteral("This is a list of folders that are referenced in your Windows Registry.  When deleting a file "
                       "or folders, Trovik will check this list of folders and warn you before deleting the files "
                       "within the folder.  You may add or delete from this list."),
        "lblInfo", page);

    model_ = new FolderListModel(this);
    ListBox1 = new QListView(page);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    ListBox1->setModel(model_);
    ListBox1->setSelectionMode(QAbstractItemView::ExtendedSelection);
    ListBox1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Every row has the same height: the view then lays out thousands of
    // rows without measuring each, which keeps the redraws of a build cheap.
    ListBox1->setUniformItemSizes(true);
    ListBox1->setToolTip(QStringLiteral("Drag the mouse over the list to select multiple folders"));
    connect(ListBox1, &QListView::doubleClicked, this, [this] { comp::guardSlot([this] { btEditClick(); }); });

    auto makeButton = [page](const char* name, const QString& caption, const QString& hint) {
        auto* b = new QPushButton(caption, page);
        b->setObjectName(QLatin1String(name));
        b->setToolTip(hint);
        b->setAutoDefault(false);
        return b;
    };
    btAdd = makeButton("btAdd", QStringLiteral("&Add"), QStringLiteral("Add a new folder to this list"));
    btDel = makeButton("btDel", QStringLiteral("&Delete"),
                       QStringLiteral("Delete a folder.  Select multiple folders above to delete more than one."));
    btEdit = makeButton("btEdit", QStringLiteral("&Edit"), QStringLiteral("Edit a folder"));
    btBuild = makeButton("btBuild", QStringLiteral("Build list of folders"),
                         QStringLiteral("Build the list of folders referenced in the registry"));
    btBuild->setDefault(true);
    lblCount = makeText(QString(), "lblCount", page);

    connect(btAdd, &QPushButton::clicked, this, [this] { comp::guardSlot([this] { btAddClick(); }); });
    connect(btDel, &QPushButton::clicked, this, [this] { comp::guardSlot([this] { btDelClick(); }); });
    connect(btEdit, &QPushButton::clicked, this, [this] { comp::guardSlot([this] { btEditClick(); }); });
    connect(btBuild, &QPushButton::clicked, this, [this] { comp::guardSlot([this] { btBuildClick(); }); });

    auto* lblNote = makeText(QStringLiteral("Those folders that are marked with *.* include ALL sub-folders.  Note: It is "
                                            "recommended that you rebuild this list after installing or uninstalling "
                                            "programs."),
                             "lblNote", page);
    lblWhen = makeText(QString(), "lblWhen", page);
    lblToday = makeText(QString(), "lblToday", page);

    auto* buttons = new QVBoxLayout;
    for (QWidget* w : std::initializer_list<QWidget*>{btAdd, btDel, btEdit, btBuild, lblCount})
        buttons->addWidget(w);
    buttons->addStretch(1);
    auto* middle = new QHBoxLayout;
    middle->addWidget(ListBox1, 1);
    middle->addLayout(buttons);
    auto* dates = new QGridLayout;
    dates->addWidget(makeText(QStringLiteral("Date of last build:"), "lblWhenCaption", page), 0, 0);
    dates->addWidget(lblWhen, 0, 1);
    dates->addWidget(makeText(QStringLiteral("Today's date:"), "lblTodayCaption", page), 1, 0);
    dates->addWidget(lblToday, 1, 1);
    dates->setColumnStretch(1, 1);

    auto* layout = new QVBoxLayout(page);
    layout->addWidget(lblInfo);
    layout->addLayout(middle, 1);
    layout->addWidget(lblNote);
    layout->addLayout(dates);
    return page;
}

QWidget* TfrmNoDelete::buildTypesPage()
{
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("tsTypes"));
    PickList1 = new QListWidget(page);
    PickList1->setObjectName(QStringLiteral("PickList1"));
    PickList1->setToolTip(QStringLiteral("File extensions/types of files NOT to delete"));
    btAddDel = new QPushButton(QStringLiteral("Add/Delete"), page);
    btAddDel->setObjectName(QStringLiteral("btAddDel"));
    btAddDel->setToolTip(QStringLiteral("Add, delete file extensions"));
    btAddDel->setAutoDefault(false);
    connect(btAddDel, &QPushButton::clicked, this, [this] { comp::guardSlot([this] { btAddDelClick(); }); });

    auto* right = new QVBoxLayout;
    right->addWidget(btAddDel);
    right->addStretch(1);
    auto* middle = new QHBoxLayout;
    middle->addWidget(PickList1, 1);
    middle->addLayout(right);
    auto* layout = new QVBoxLayout(page);
    layout->addLayout(middle, 1);
    layout->addWidget(makeText(QStringLiteral("These file types as indicated by the file extension will NOT be deleted "
                                              "by Trovik.  When deleting files, you will be warned if one of the files "
                                              "matches the types above.  "),
                               "lblTypes", page));
    layout->addWidget(makeText(QStringLiteral("You can over-ride this setting by simply moving the file off of the safe "
                                              "harbor area when deleting the files."),
                               "lblOverride", page));
    return page;
}

void TfrmNoDelete::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    if (!e->spontaneous())
        comp::guardSlot([this] { FormShow(); });
}

void TfrmNoDelete::FormShow()
{
    {
        WaitCursor cursor;
        setEntries(LoadFolderList());
        updateCount();
        lblWhen->setText(LastBuildDate());
        fillExtensionPage();
        lblToday->setText(LongDateText(QDate::currentDate()));
        PageControl1->setCurrentIndex(0);
    }
    if (FirstBuild)
        tmBuild->start();
}

void TfrmNoDelete::fillExtensionPage()
{
    PickList1->clear();
    PickList1->addItems(ReadProtectedExtensionEntries());
}

void TfrmNoDelete::setEntries(const QStringList& list)
{
    model_->setEntries(list);
}

void TfrmNoDelete::updateCount()
{
    lblCount->setText(FolderCountText(model_->rowCount()));
}

QList<int> TfrmNoDelete::selectedRows() const
{
    QList<int> rows;
    for (const QModelIndex& i : ListBox1->selectionModel()->selectedRows())
        rows << i.row();
    return rows;
}

void TfrmNoDelete::btAddClick()
{
    if (building_)
        return;
    const std::optional<QString> chosen = core::prompter().pickFolder(FolderPickerCaption(), QString());
    if (!chosen)
        return;
    model_->append(*chosen);
    ListChanged = true;
    updateCount();
}

void TfrmNoDelete::btDelClick()
{
    if (building_)
        return;
    const QList<int> rows = selectedRows();
    if (rows.isEmpty()) {
        core::ErrorBox(NothingSelectedMessage());
        return;
    }
    if (core::prompter().confirm(core::ConfirmKind::OkCancel, DeleteFoldersQuestion()) != core::Answer::Ok)
        return;
    QStringList list = model_->entries();
    RemoveRows(list, rows);
    setEntries(list);
    ListChanged = true;
    updateCount();
}

void TfrmNoDelete::btEditClick()
{
    if (building_)  // a double click on the growing list
        return;
    const QModelIndex current = ListBox1->currentIndex();
    if (!current.isValid()) {
        core::ErrorBox(SelectFolderFirstMessage());
        ListBox1->setFocus();
        return;
    }
    const int row = current.row();
    const EntryEdit before = SplitEntry(model_->entries().at(row));
    EntryEdit after;
    {
        std::unique_ptr<TfrmEditFolder> w(new TfrmEditFolder(this));
        w->setEntryText(before.text, before.subtree);
        if (w->exec() != QDialog::Accepted)
            return;
        after = {w->folderText(), w->protectSubfolders()};
    }
    if (after.text.isEmpty())
        return;
    ListChanged = true;
    QStringList list = model_->entries();
    const int newRow = ApplyEntryEdit(list, row, after);
    setEntries(list);
    ListBox1->setCurrentIndex(model_->index(newRow));
    ListBox1->setFocus();
    if (after.subtree)
        updateCount();
}

void TfrmNoDelete::btBuildClick()
{
    if (building_)
        return;
    if (!FirstBuild && core::prompter().confirm(core::ConfirmKind::YesNo, BuildQuestion()) != core::Answer::Yes)
        return;

    QStringList list;
    for (const QString& e : model_->entries())
        if (e.contains(QLatin1String("*.*")))
            list << e;
    SafeHarborChanged = true;
    {
        BuildState state(*this);
        // Also when an error ends the scan, the list shows what it found.
        struct ShowAtEnd {
            TfrmNoDelete& w;
            QStringList& list;
            ~ShowAtEnd()
            {
                core::SortFolderList(list);
                w.setEntries(list);
                w.updateCount();
            }
        } showAtEnd{*this, list};

        core::SortFolderList(list);
        growth_.start(list);
        setEntries(list);
        QCoreApplication::processEvents();
        sinceRepaint_.start();

        HarborBuilder builder(list);
        builder.onAdded = [this, &list] { showBuildProgress(list); };
        builder.onKey = builder.onAdded;
        // Reading the machine tree (every package's file list) is the long
        // part before the scan; the window gets its events once more after it.
        const std::unique_ptr<plat::KeyTree> machine = MachineKeyTree();
        QCoreApplication::processEvents();
        const std::unique_ptr<plat::KeyTree> user = UserKeyTree();
        builder.build(*machine, *user);
    }
    updateLastDate();
    ListChanged = true;
}

void TfrmNoDelete::showBuildProgress(const QStringList& list)
{
    if (sinceRepaint_.elapsed() < kRepaintMs)
        return;
    setEntries(growth_.update(list));
    QCoreApplication::processEvents();
    sinceRepaint_.restart();
}

void TfrmNoDelete::updateLastDate()
{
    lblWhen->setText(RecordBuildDate(model_->rowCount() == 0));
    lblToday->setText(LongDateText(QDate::currentDate()));
}

void TfrmNoDelete::btAddDelClick()
{
    if (building_)
        return;
    comp::runModal<TfrmKeepFiles>(this);
    fillExtensionPage();
    SafeHarborChanged = true;
}

void TfrmNoDelete::done(int result)
{
    // The close box, Esc and Close all end here; none of them may end a build.
    if (building_)
        return;
    if (ListChanged && !saved_) {
        saved_ = true;
        comp::guardSlot([this] {
            if (!SaveFolderList(model_->entries()))
                core::ErrorBox(QStringLiteral("The list of folders could not be written to %1.").arg(FoldersFilePath()));
        });
    }
    QDialog::done(result);
}

}  // namespace harbor

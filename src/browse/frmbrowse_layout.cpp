// TfrmBrowse: its controls, its menu and where they stand.
#include "browse/frmbrowse.h"

#include "browse/folderlisting.h"
#include "browse/viewhook.h"
#include "components/clicklabel.h"
#include "components/namedbutton.h"
#include "components/resultgridview.h"
#include "components/slotguard.h"
#include "finders/filldrivelist.h"
#include "finders/sortmenu.h"

#include <QAction>
#include <QComboBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSplitter>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace browse {

namespace {

template <class W>
W* named(W* w, const char* name)
{
    w->setObjectName(QLatin1String(name));
    return w;
}

QLabel* statusPanel(QLabel* label, QHBoxLayout* row, int stretch)
{
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label->setMargin(2);
    row->addWidget(label, stretch);
    return label;
}

}  // namespace

void TfrmBrowse::buildControls()
{
    setWindowTitle(QStringLiteral("Browse through folders"));
    setWindowFlags(windowFlags() | Qt::WindowMaximizeButtonHint | Qt::WindowMinimizeButtonHint);
    setSizeGripEnabled(true);

    auto* split = new QSplitter(Qt::Horizontal, this);
    split->setChildrenCollapsible(false);

    auto* left = new QWidget(split);
    auto* leftCol = new QVBoxLayout(left);
    leftCol->setContentsMargins(0, 0, 0, 0);
    DriveCombobox1 = named(new QComboBox(left), "DriveCombobox1");
    finders::FillDriveCombo(*DriveCombobox1,
                            finders::DriveOffer{{plat::DriveKind::Fixed, plat::DriveKind::Removable,
                                                 plat::DriveKind::CdRom, plat::DriveKind::Network,
                                                 plat::DriveKind::RamDisk},
                                                true});
    leftCol->addWidget(DriveCombobox1);
    DirectoryListBox1 = named(new QTreeWidget(left), "DirectoryListBox1");
    DirectoryListBox1->setHeaderHidden(true);
    DirectoryListBox1->setRootIsDecorated(false);
    DirectoryListBox1->setItemsExpandable(false);
    DirectoryListBox1->setExpandsOnDoubleClick(false);
    DirectoryListBox1->setIndentation(12 * logicalDpiX() / 96);
    DirectoryListBox1->setToolTip(QStringLiteral("Double click to select"));
    leftCol->addWidget(DirectoryListBox1, 1);

    auto* right = new QWidget(split);
    auto* rightCol = new QVBoxLayout(right);
    rightCol->setContentsMargins(0, 0, 0, 0);
    auto* bar = new QHBoxLayout;
    btOptions = comp::namedButton("Options", "", right, "btOptions");
    btOptions->setAutoDefault(false);
    bar->addWidget(btOptions);
    Label1 = named(new QLabel(right), "Label1");
    Label1->setAutoFillBackground(true);
    Label1->setTextInteractionFlags(Qt::TextSelectableByMouse);
    Label1->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    bar->addWidget(Label1, 1);
    rightCol->addLayout(bar);
    grid = named(new comp::ResultGridView(right), "grid");
    grid->setToolTip(QStringLiteral("Double click to mark, right click for options"));
    grid->setRightAligned(bcSize, true);
    grid->setMarkColumn(bcName);
    grid->setColumnKind(bcModified, comp::ResultGridView::ColumnKind::Date);
    grid->setColumnKind(bcTime, comp::ResultGridView::ColumnKind::Time);
    grid->setColumnKind(bcAccess, comp::ResultGridView::ColumnKind::Date);
    grid->setColumnKind(bcSize, comp::ResultGridView::ColumnKind::Number);
    grid->grid().reset(BrowseTitles());
    rightCol->addWidget(grid, 1);
    split->addWidget(left);
    split->addWidget(right);
    split->setStretchFactor(1, 1);
    split->setSizes({200 * logicalDpiX() / 96, 440 * logicalDpiX() / 96});

    auto* buttons = new QHBoxLayout;
    const int dpi = logicalDpiX();
    buttons->setContentsMargins(10 * dpi / 96, 0, 12 * dpi / 96, 0);
    btDeleteDirectory =
        comp::namedButton("Delete &Folder", "Delete folder and all files/folders below", this, "btDeleteDirectory");
    btDetails = comp::namedButton("&Details", "View more file details", this, "btDetails");
    btLaunch = comp::namedButton("&Open", "Run/launch associated application", this, "btLaunch");
    btView = comp::namedButton("&View", "View file", this, "btView");
    btMark = comp::namedButton("&Mark", "Mark/unmark files for deletion", this, "btMark");
    btDeleteFiles = comp::namedButton("&Clean marked files", "Clean up marked files", this, "btDeleteFiles");
    btDeleteFiles->setEnabled(false);
    btClose = comp::namedButton("Close", "", this, "btClose");
    buttons->addWidget(btDeleteDirectory);
    buttons->addStretch(1);
    for (QPushButton* b : {btDetails, btLaunch, btView, btMark, btDeleteFiles, btClose})
        buttons->addWidget(b);
    for (QPushButton* b : {btDeleteDirectory, btDetails, btLaunch, btView, btMark, btDeleteFiles, btClose})
        b->setAutoDefault(false);
    btView->setEnabled(canViewFiles());

    auto* status = new QHBoxLayout;
    status->setSpacing(2);
    pnlScan = statusPanel(named(new QLabel(this), "pnlScan"), status, 3);
    pnlWild = named(new comp::ClickLabel(QString(), this), "pnlWild");
    pnlWild->setToolTip(QStringLiteral("Click to change the wildcard pattern"));
    statusPanel(pnlWild, status, 2);
    pnlSize = statusPanel(named(new QLabel(this), "pnlSize"), status, 2);

    auto* main = new QVBoxLayout(this);
    main->setContentsMargins(4, 4, 4, 2);
    main->addWidget(split, 1);
    main->addLayout(buttons);
    main->addLayout(status);

    connect(btClose, &QPushButton::clicked, this, &TfrmBrowse::reject);
    connect(btDeleteFiles, &QPushButton::clicked, this, comp::guarded([this] { btDeleteFilesClick(); }));
    connect(btDeleteDirectory, &QPushButton::clicked, this, comp::guarded([this] { btDeleteDirectoryClick(); }));
    connect(btDetails, &QPushButton::clicked, this, comp::guarded([this] { Details1Click(); }));
    connect(btLaunch, &QPushButton::clicked, this, comp::guarded([this] { btLaunchClick(); }));
    connect(btView, &QPushButton::clicked, this, comp::guarded([this] { btViewClick(); }));
    connect(pnlWild, &comp::ClickLabel::clicked, this, comp::guarded([this] { pnlScanClick(); }));
    connect(DriveCombobox1, &QComboBox::activated, this,
            [this](int index) { comp::guardSlot([&] { onDriveChosen(index); }); });
    connect(DirectoryListBox1, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem* item) { comp::guardSlot([&] { onTreeDoubleClick(item); }); });
}

void TfrmBrowse::buildMenu()
{
    PopupMenu1 = named(new QMenu(this), "PopupMenu1");
    auto item = [this](QMenu* menu, const char* name, const char* caption, std::function<void()> slot) {
        QAction* a = named(menu->addAction(QString::fromLatin1(caption)), name);
        connect(a, &QAction::triggered, this, comp::guarded(std::move(slot)));
        return a;
    };
    item(PopupMenu1, "Details1", "Details", [this] { Details1Click(); });
    QMenu* sortSub = named(new QMenu(QStringLiteral("Sort"), PopupMenu1), "Sort1");
    PopupMenu1->addMenu(sortSub);
    sort_ = new finders::SortMenu(QStringLiteral("TfrmBrowse"), grid, sortSub,
                                  {"Sortbydate1", "Sortbyaccess1", "Sortbysize1", "Sortbyname1", "Sortbytype1"}, this);
    // Every sort the user asks for reverses the last order of its column.
    sort_->flipRule = reports::FlipRule::BeforeSort;
    QAction* byName = sort_->item(QStringLiteral("Name"));
    sortSub->insertAction(sortSub->actions().value(0), byName);
    sort_->tick(byName);
    QMenu* markSub = named(new QMenu(QStringLiteral("Mark"), PopupMenu1), "Mark1");
    PopupMenu1->addMenu(markSub);
    item(markSub, "Markall1", "Mark all", [this] { Markall1Click(); });
    item(markSub, "Unmarkall1", "Unmark all", [this] { Unmarkall1Click(); });
    item(PopupMenu1, "Open1", "Open", [this] { btLaunchClick(); });
    QAction* view = item(PopupMenu1, "View1", "View", [this] { btViewClick(); });
    view->setEnabled(canViewFiles());

    auto popup = [this](QWidget* at, const QPoint& pos) { PopupMenu1->popup(at->mapToGlobal(pos)); };
    grid->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(grid, &QWidget::customContextMenuRequested, this,
            [this, popup](const QPoint& pos) { popup(grid->viewport(), pos); });
    connect(btOptions, &QPushButton::clicked, this,
            [this] { PopupMenu1->popup(btOptions->mapToGlobal(QPoint(0, btOptions->height()))); });
}

}  // namespace browse

#include "finders/resultlist.h"

#include "browse/frmdetails.h"
#include "browse/viewhook.h"
#include "components/panelshrinker.h"
#include "components/slotguard.h"
#include "core/helpers.h"
#include "core/safeharbor.h"
#include "finders/frmaddnewfolder.h"
#include "platform/desktop.h"
#include "platform/fileops.h"

#include <QAbstractScrollArea>
#include <QAction>
#include <QDialog>
#include <QMenu>
#include <QPushButton>

namespace finders {

QString FolderOfPath(const QString& path)
{
    const qsizetype slash = path.lastIndexOf(u'\\');
    if (slash < 0)
        return QString();
    return path.left(slash == 2 ? 3 : slash);
}

ResultList::ResultList(QDialog* window, comp::ResultGridView* grid, QWidget* topPanel, const ResultListSetup& setup)
    : QObject(window),
      window_(window),
      grid_(grid),
      archiveTag_(setup.archiveTag),
      defaultSort_(setup.defaultSort),
      harborColumn_(setup.harborColumn),
      harborTestsFile_(setup.harborTestsFile)
{
    marks_ = new ResultMarks(grid, this);
    marks_->busy = [this] { return busy && busy(); };
    listing_ = new ListingCommands(grid, this);
    shrinker_ = new comp::PanelShrinker(topPanel, this);
    buildMenu(setup);
    sort_->allowed = [this] { return !(busy && busy()) && (!sortable || sortable()); };

    grid->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(grid, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { comp::guardSlot([&] { popupAt(grid_->viewport(), pos); }); });
    grid->setCellLookHook(
        [this](int row, int column, comp::ResultGridView::CellLook& look) { harborLook(row, column, look); });
}

QAction* ResultList::addItem(QMenu* menu, const char* name, const QString& caption, void (ResultList::*slot)())
{
    QAction* a = menu->addAction(caption);
    a->setObjectName(QLatin1String(name));
    if (slot)
        connect(a, &QAction::triggered, this, [this, slot] { comp::guardSlot([&] { (this->*slot)(); }); });
    return a;
}

QAction* ResultList::addSubmenu(QMenu*& sub, const char* menuName, const char* itemName, const QString& caption)
{
    sub = new QMenu(caption, menu_);
    sub->setObjectName(QLatin1String(menuName));
    QAction* a = menu_->addMenu(sub);
    a->setObjectName(QLatin1String(itemName));
    return a;
}

void ResultList::buildMenu(const ResultListSetup& setup)
{
    menu_ = new QMenu(window_);
    menu_->setObjectName(QStringLiteral("PopupMenu1"));
    ResultMenuItems& m = items_;
    m.details = addItem(menu_, "miDetails", QStringLiteral("Details"), &ResultList::detailsCurrent);
    m.highlight = addItem(menu_, "miHighlight", QStringLiteral("Highlight folders on Safe Harbor list"),
                          &ResultList::onHighlight);
    m.highlight->setCheckable(true);
    m.highlight->setChecked(true);
    menu_->addSeparator();
    m.addFolder = addItem(menu_, "miAddFolder", setup.addFolderCaption, &ResultList::onAddFolder);
    menu_->addSeparator();

    m.sort = addSubmenu(m.sortMenu, "mnSort", "miSort", QStringLiteral("Sort"));
    sort_ = new SortMenu(setup.sortWindow, grid_, m.sortMenu, setup.sortItemNames, this);
    sort_->tick(sort_->item(defaultSort_));

    m.mark = addSubmenu(m.markMenu, "mnMark", "miMark", QStringLiteral("Mark"));
    m.markAll = addItem(m.markMenu, "miMarkAll", QStringLiteral("Mark all"), nullptr);
    connect(m.markAll, &QAction::triggered, this, [this] { comp::guardSlot([&] { marks_->markAll(); }); });
    m.unmarkAll = addItem(m.markMenu, "miUnmarkAll", QStringLiteral("Unmark all"), nullptr);
    connect(m.unmarkAll, &QAction::triggered, this, [this] { comp::guardSlot([&] { marks_->unmarkAll(); }); });

    QMenu* resize = nullptr;
    m.resize = addSubmenu(resize, "mnResize", "miResize", QStringLiteral("Resize"));
    m.shrink = addItem(resize, "miShrink", QStringLiteral("Shrink top panel"), nullptr);
    m.restore = addItem(resize, "miRestore", QStringLiteral("Restore top panel"), nullptr);
    shrinker_->setActions(m.shrink, m.restore);
    menu_->addSeparator();

    m.open = addItem(menu_, "miOpen", QStringLiteral("Open"), &ResultList::openCurrent);
    m.view = addItem(menu_, "miView", QStringLiteral("View"), &ResultList::viewCurrent);
    // Only where the program has a file viewer.
    m.view->setEnabled(browse::canViewFiles());
    menu_->addSeparator();
    m.print = addItem(menu_, "miPrint", QStringLiteral("Print"), nullptr);
    connect(m.print, &QAction::triggered, this, [this] { comp::guardSlot([&] { listing_->print(); }); });

    QMenu* clip = nullptr;
    m.clipboard = addSubmenu(clip, "mnClipboard", "miClipboard", QStringLiteral("Clipboard"));
    m.clipNames = addItem(clip, "miClipNames", QStringLiteral("Filenames only"), nullptr);
    connect(m.clipNames, &QAction::triggered, this, [this] { comp::guardSlot([&] { listing_->copyNames(); }); });
    m.clipGrid = addItem(clip, "miClipGrid", QStringLiteral("Entire grid separated by tabs"), nullptr);
    connect(m.clipGrid, &QAction::triggered, this, [this] { comp::guardSlot([&] { listing_->copyGrid(); }); });
    m.webPage = addItem(menu_, "miWebPage", QStringLiteral("Web page"), nullptr);
    connect(m.webPage, &QAction::triggered, this, [this] { comp::guardSlot([&] { listing_->saveWebPage(); }); });
}

void ResultList::setButtons(QPushButton* mark, QPushButton* clean, QPushButton* options, QPushButton* details)
{
    marks_->setButtons(mark, clean);
    if (clean)
        connect(clean, &QPushButton::clicked, this, [this] { comp::guardSlot([&] { this->clean(); }); });
    options_ = options;
    if (options)
        connect(options, &QPushButton::clicked, this, [this] { comp::guardSlot([&] { onOptions(); }); });
    if (details)
        connect(details, &QPushButton::clicked, this, [this] { comp::guardSlot([&] { detailsCurrent(); }); });
}

void ResultList::addMenuSource(QWidget* source)
{
    // The window's own menu, not the widget's.
    source->setContextMenuPolicy(Qt::CustomContextMenu);
    disconnect(source, &QWidget::customContextMenuRequested, nullptr, nullptr);
    QWidget* at = source;
    if (auto* area = qobject_cast<QAbstractScrollArea*>(source))
        at = area->viewport();
    connect(source, &QWidget::customContextMenuRequested, this,
            [this, at](const QPoint& pos) { comp::guardSlot([&] { popupAt(at, pos); }); });
}

void ResultList::popupAt(QWidget* w, const QPoint& pos)
{
    menu_->popup(w->mapToGlobal(pos));
}

void ResultList::onOptions()
{
    if (options_)
        menu_->popup(options_->mapToGlobal(QPoint(0, options_->height())));
}

void ResultList::onAddFolder()
{
    comp::runModal<TfrmAddNewFolder>(window_);
    if (afterAddFolder)
        afterAddFolder();
}

void ResultList::onHighlight()
{
    grid_->viewport()->update();
}

void ResultList::newResults()
{
    marks_->reset();
    sort_->tick(sort_->item(defaultSort_));
}

void ResultList::clean()
{
    marks_->clean(window_, archiveTag_, cleanGuard);
}

QString ResultList::currentPath() const
{
    const int row = grid_->currentRow();
    return marks_->isDataRow(row) ? grid_->grid().path(row) : QString();
}

void ResultList::openCurrent()
{
    const QString path = currentPath();
    if (path.isEmpty() || !plat::fileExists(path))
        return;
    if (!plat::openWithDesktop(path))
        core::ErrorBox(QStringLiteral("Couldn't open ") + path);
}

void ResultList::viewCurrent()
{
    const QString path = currentPath();
    if (!path.isEmpty() && plat::fileExists(path))
        browse::viewFile(window_, path);
}

void ResultList::detailsCurrent()
{
    const QString path = currentPath();
    if (path.isEmpty() || !plat::fileExists(path))
        return;
    comp::runModal<browse::TfrmDetails>(window_, [&](browse::TfrmDetails& w) { w.FileToShow = path; });
}

void ResultList::harborLook(int row, int column, comp::ResultGridView::CellLook& look) const
{
    // Tested by the row's real path: the file itself, or its folder.
    if (!items_.highlight || !items_.highlight->isChecked() || row < 1 || column != harborColumn_)
        return;
    const comp::ResultGrid& rows = grid_->grid();
    if (rows.cellView(row, column).isEmpty())
        return;
    const QString path = rows.path(row);
    if (path.isEmpty())
        return;
    const QString tested = harborTestsFile_ ? path : FolderOfPath(path);
    if (!tested.isEmpty() && core::programSafeHarbor().IsInSafeHarbor(tested, harborTestsFile_) != core::shNone)
        look.bold = true;
}

}  // namespace finders

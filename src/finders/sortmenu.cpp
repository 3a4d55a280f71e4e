#include "finders/sortmenu.h"

#include "components/resultgridview.h"
#include "components/slotguard.h"
#include "components/waitcursor.h"

#include <QAction>
#include <QMenu>

#include <memory>

namespace finders {

SortMenu::SortMenu(const QString& window, comp::ResultGridView* grid, QMenu* menu, const QList<const char*>& itemNames,
                   QObject* parent)
    : QObject(parent), window_(window), grid_(grid)
{
    int n = 0;
    for (const reports::SortCommand& c : reports::SortCommands()) {
        if (c.window != window)
            continue;
        QAction* a = menu->addAction(c.caption);
        if (n < itemNames.size())
            a->setObjectName(QLatin1String(itemNames[n]));
        ++n;
        a->setCheckable(true);
        connect(a, &QAction::triggered, this, [this, a] { comp::guardSlot([&] { sortBy(a); }); });
        items_ << a;
    }
    connect(grid, &comp::ResultGridView::titleClicked, this,
            [this](int column) { comp::guardSlot([&] { titleClick(column); }); });
}

QAction* SortMenu::item(const QString& caption) const
{
    for (QAction* a : items_)
        if (a->text() == caption)
            return a;
    return nullptr;
}

void SortMenu::showTick(QAction* item)
{
    for (QAction* a : items_)
        a->setChecked(a == item);
}

void SortMenu::tick(QAction* item)
{
    sortedBy_ = item;
    showTick(item);
}

void SortMenu::sortBy(QAction* item)
{
    // Qt has toggled the checkable item before this runs; on every way out
    // the tick goes back to the item of the last sort that ran, so a sort
    // that did not run (too few rows, a search running) leaves one tick.
    struct Retick {
        SortMenu& m;
        ~Retick() { m.showTick(m.sortedBy_); }
    } retick{*this};
    if (!item || !grid_ || (allowed && !allowed()))
        return;
    const reports::SortCommand* command = reports::FindSortCommand(window_, item->text());
    if (!command)
        return;
    std::unique_ptr<comp::WaitCursor> wait;
    const bool sorted = reports::RunSortCommand(grid_->grid(), *command, flipRule, [&] {
        wait = std::make_unique<comp::WaitCursor>();
        showTick(nullptr);
    });
    if (sorted)
        sortedBy_ = item;
    grid_->sync();
}

void SortMenu::titleClick(int column)
{
    if (allowed && !allowed())
        return;
    if (const reports::SortCommand* command = reports::SortCommandForColumn(window_, column))
        if (QAction* a = item(command->caption))
            sortBy(a);
}

}  // namespace finders

#pragma once
// The "Sort" submenu of a result window and the clicks on its grid's
// titles: one checkable item per sort command the window has in the sort
// table, the tick on the item of the last sort that ran, the hourglass
// while rows move.

#include "reports/sortcommand.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>

class QAction;
class QMenu;

namespace comp {
class ResultGridView;
}

namespace finders {

class SortMenu : public QObject {
    Q_OBJECT
public:
    // Fills menu with the commands of window (its name in the sort table),
    // in table order, each item named by the matching entry of itemNames.
    SortMenu(const QString& window, comp::ResultGridView* grid, QMenu* menu, const QList<const char*>& itemNames,
             QObject* parent = nullptr);

    // False while no sort may run (a search runs, rows that keep their
    // order): menu items and title clicks then do nothing.
    std::function<bool()> allowed;
    // How the direction flag is used; the result windows sort, then flip.
    reports::FlipRule flipRule = reports::FlipRule::AfterSort;

    const QList<QAction*>& items() const { return items_; }
    QAction* item(const QString& caption) const;

    // Sorts by an item's command; the tick goes to it when the sort ran and
    // stays where it was otherwise.
    void sortBy(QAction* item);
    // A click on a column title: the command of that column, if any.
    void titleClick(int column);
    // Puts the tick on an item (a fresh list is sorted by it); null: none.
    void tick(QAction* item);
    QAction* ticked() const { return sortedBy_; }

private:
    void showTick(QAction* item);

    QString window_;
    QPointer<comp::ResultGridView> grid_;
    QList<QAction*> items_;
    QAction* sortedBy_ = nullptr;
};

}  // namespace finders

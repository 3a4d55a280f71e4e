#pragma once
// The result list of a finder window, configured rather than copied: the
// grid's menu (PopupMenu1) with its items in their order, the marks and
// "Clean?", the sorts by menu and by title, the Safe Harbor bold, the
// commands on the current row (open, view, details), clipboard, print, web
// page and the shrinking top panel. The window keeps its criteria, its
// search and whatever only it has (duplicate groups, pairs).

#include "components/resultgridview.h"
#include "finders/listingcommands.h"
#include "finders/resultmarks.h"
#include "finders/sortmenu.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>

class QAction;
class QDialog;
class QMenu;
class QPushButton;

namespace comp {
class PanelShrinker;
}

namespace finders {

struct ResultListSetup {
    QString sortWindow;               // the window's name in the sort table
    QList<const char*> sortItemNames; // objectNames of its sort items, in table order
    QString defaultSort;              // the sort item ticked on a fresh list
    QString addFolderCaption;         // "Add a folder to the list of drives"
    int harborColumn = -1;            // the column drawn bold when protected
    bool harborTestsFile = false;     // the row's file is tested, else its folder
    QString archiveTag;               // of the hand-over to the deletion panel
};

// The items of the grid's menu, in their order.
struct ResultMenuItems {
    QAction* details = nullptr;
    QAction* highlight = nullptr;
    QAction* addFolder = nullptr;
    QAction* sort = nullptr;
    QAction* mark = nullptr;
    QAction* markAll = nullptr;
    QAction* unmarkAll = nullptr;
    QAction* resize = nullptr;
    QAction* shrink = nullptr;
    QAction* restore = nullptr;
    QAction* open = nullptr;
    QAction* view = nullptr;
    QAction* print = nullptr;
    QAction* clipboard = nullptr;
    QAction* clipNames = nullptr;
    QAction* clipGrid = nullptr;
    QAction* webPage = nullptr;
    QMenu* sortMenu = nullptr;
    QMenu* markMenu = nullptr;
};

// The folder of a drive path: "C:\A\b.txt" -> "C:\A", "C:\b.txt" -> "C:\".
QString FolderOfPath(const QString& path);

class ResultList : public QObject {
    Q_OBJECT
public:
    ResultList(QDialog* window, comp::ResultGridView* grid, QWidget* topPanel, const ResultListSetup& setup);

    // True while a search runs: marks, sorts and "Clean?" do nothing.
    std::function<bool()> busy;
    // False while the rows must keep their order (duplicate groups).
    std::function<bool()> sortable;
    // After "Add a folder ..." closed: the window refills its drive list.
    std::function<void()> afterAddFolder;
    // Asked before the hand-over; false keeps everything as it is.
    std::function<bool()> cleanGuard;

    // "&Mark", "Clean?", "Options" and "&Details"; any may be null.
    void setButtons(QPushButton* mark, QPushButton* clean, QPushButton* options, QPushButton* details);
    // A right click on this widget (the drive list) opens the menu too.
    void addMenuSource(QWidget* source);

    QMenu* menu() const { return menu_; }
    const ResultMenuItems& items() const { return items_; }
    ResultMarks& marks() { return *marks_; }
    const ResultMarks& marks() const { return *marks_; }
    SortMenu& sort() { return *sort_; }
    ListingCommands& listing() { return *listing_; }
    comp::PanelShrinker& shrinker() const { return *shrinker_; }

    // A fresh list is shown: no marks, "Clean?" disabled, the default sort
    // ticked.
    void newResults();
    // "Clean?".
    void clean();

    // The real path of the current data row; empty when there is none.
    QString currentPath() const;
    void openCurrent();
    void viewCurrent();
    void detailsCurrent();

    // The Safe Harbor bold of a data cell, while the menu's check item is on.
    void harborLook(int row, int column, comp::ResultGridView::CellLook& look) const;

private:
    void buildMenu(const ResultListSetup& setup);
    QAction* addItem(QMenu* menu, const char* name, const QString& caption, void (ResultList::*slot)());
    QAction* addSubmenu(QMenu*& sub, const char* menuName, const char* itemName, const QString& caption);
    void popupAt(QWidget* w, const QPoint& pos);
    void onAddFolder();
    void onHighlight();
    void onOptions();

    QDialog* window_;
    QPointer<comp::ResultGridView> grid_;
    QString archiveTag_;
    QString defaultSort_;
    int harborColumn_ = -1;
    bool harborTestsFile_ = false;
    QMenu* menu_ = nullptr;
    ResultMenuItems items_;
    ResultMarks* marks_ = nullptr;
    SortMenu* sort_ = nullptr;
    ListingCommands* listing_ = nullptr;
    comp::PanelShrinker* shrinker_ = nullptr;
    QPointer<QPushButton> options_;
};

}  // namespace finders

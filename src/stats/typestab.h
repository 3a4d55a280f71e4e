#pragma once
// The "Types" page: the extensions found, as a listing with a totals row or
// as a pie by size, by number of files or by average size. The listing
// sorts from its menu; the totals row never moves. Sorting and the pie work
// on the collected numbers, never on the texts shown.

#include "components/resultgrid.h"
#include "stats/statpages.h"

#include <QWidget>

class QAction;
class QGroupBox;
class QMenu;
class QPushButton;
class QRadioButton;
class QScrollBar;

namespace comp {
class PieChart;
class ResultGridView;
}  // namespace comp

namespace stats {

class TypesTab : public QWidget {
    Q_OBJECT
public:
    explicit TypesTab(QWidget* parent = nullptr);

    enum Mode { Listing = 0, PieBySize = 1, PieByFiles = 2, PieByAverage = 3 };
    Mode mode() const;
    void setMode(Mode mode);
    bool pieShown() const { return mode() != Listing; }

    // The grid's titles, written each time the window is shown.
    void writeTitles();
    // Empties the grid at the start of a collection.
    void blank();
    // Fills the grid from the extension totals, then shows the chosen mode.
    void doFileTypes(const ExtensionTotals& types);
    void rgTypesClick();
    // The totals row (column 1 "Totals", the byte and file sums).
    void doTotals();
    // The sort commands: 0 extension, 1 type, 2 size, 3 files, 4 average.
    // Fewer than 2 extension rows: nothing happens, the tick stays.
    void sortBy(int column);
    void SortbyExtensionClick() { sortBy(0); }
    // The checked sort command's column, -1 for none.
    int sortColumn() const { return sortTick_; }

    const comp::ResultGrid& typeGrid() const { return grid_; }
    QString printTitle() const { return printTitle_; }
    void setPrintTitle(const QString& title) { printTitle_ = title; }

    // One step of the pie's animation.
    void spin(int degrees);

    QGroupBox* rgTypes = nullptr;
    QRadioButton* rbTypes[4] = {};
    comp::ResultGridView* gridTypes = nullptr;
    comp::PieChart* chartPie = nullptr;
    QScrollBar* ScrollBar2 = nullptr;
    QPushButton* btSort = nullptr;
    QMenu* mnuSort = nullptr;
    QAction* sortItems[5] = {};

signals:
    // The pie was shown (true) or hidden (false): the spinning timer
    // follows.
    void animationWanted(bool on);
    // A click on the pie: the spinning timer is switched on or off.
    void pieClicked();

protected:
    void resizeEvent(QResizeEvent* e) override;

private:
    void fillPie();
    void applyTicks();

    comp::ResultGrid grid_;
    StatGrid table_;  // the rows the grid was filled from; row tags point here
    ExtensionTotals types_;
    QString printTitle_ = QStringLiteral("File Types");
    int sortTick_ = -1;
};

}  // namespace stats

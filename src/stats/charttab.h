#pragma once
// A result page that shows its totals as a bar chart or as a listing: the
// Sizes, Access, Created, Modified and Combined pages. Three radio buttons
// choose "Chart by Size (in MB)" (at start), "Chart by Number of Files" or
// "Listing"; the choice stays between collections.

#include "components/barchart.h"
#include "components/resultgrid.h"

#include <QWidget>

class QRadioButton;
class QToolButton;

namespace comp {
class ResultGridView;
}

namespace stats {

class ChartTab : public QWidget {
    Q_OBJECT
public:
    // prefix names the radio buttons ("rbSizes" gives rbSizesBySize,
    // rbSizesByCount, rbSizesListing); chartName and gridName are the
    // chart's and the grid's names; infoName, when not empty, adds the
    // page's "?" button.
    ChartTab(const QString& prefix, const QString& chartName, const QString& gridName, const QString& infoName,
              comp::BarChart::Layout layout, QWidget* parent = nullptr);

    bool bySize() const;
    bool listing() const;
    // Shows the grid or the chart, as chosen.
    void showChosen();

    comp::ResultGrid& table() { return table_; }

    QRadioButton* rbBySize = nullptr;
    QRadioButton* rbByCount = nullptr;
    QRadioButton* rbListing = nullptr;
    comp::BarChart* chart = nullptr;
    comp::ResultGridView* grid = nullptr;
    QToolButton* info = nullptr;

signals:
    // A radio button was chosen by the user.
    void modeChosen();

protected:
    void resizeEvent(QResizeEvent* e) override;

private:
    void placeGrid();
    comp::ResultGrid table_;
};

}  // namespace stats

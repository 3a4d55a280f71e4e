#pragma once
// The "Overhang" page: the space that rounding up to whole clusters wastes,
// for five cluster sizes, with an arrow at the drive's own cluster size and
// the totals beside. Shown only after a collection of one entry.
// (The widget of the page; the page's contents are stats::OverhangPage.)

#include "components/resultgrid.h"
#include "stats/statpages.h"

#include <QWidget>

class QFrame;
class QLabel;
class QTextEdit;

namespace comp {
class BarChart;
class ResultGridView;
}  // namespace comp

namespace stats {

class OverhangTab : public QWidget {
    Q_OBJECT
public:
    explicit OverhangTab(QWidget* parent = nullptr);

    // Shows the page's contents; answers false (nothing shown) when the
    // files found hold no bytes, and the page is then to be disabled.
    bool doOverHang(const StatTotals& totals);
    bool arrowShown() const;
    // The row the arrow points at (0 "4K" .. 4 "64K"), -1 when hidden.
    int arrowRow() const { return arrowRow_; }
    const comp::ResultGrid& table() const { return table_; }

    QLabel* lblOverhangTitle = nullptr;
    comp::ResultGridView* gridOverhang = nullptr;
    QLabel* imgArrow = nullptr;
    QFrame* pnlCluster = nullptr;
    QFrame* pnlOverhang = nullptr;
    QLabel* lblTotalSizes = nullptr;
    QLabel* lblFilesScanned = nullptr;
    QLabel* lblActualSpace = nullptr;
    comp::BarChart* chartOverhang = nullptr;
    QTextEdit* memOverhang = nullptr;

protected:
    void resizeEvent(QResizeEvent* e) override;

private:
    void drawClusterArrow();

    comp::ResultGrid table_;
    int arrowRow_ = -1;
    bool filled_ = false;  // a collection has been shown
};

}  // namespace stats

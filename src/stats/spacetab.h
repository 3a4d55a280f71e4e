#pragma once
// The "Space" page: capacity, free and used space of the ticked drives, as
// stacked bars in one unit or as one pie per drive, with two animations:
// the pies spin (Timer1) and the bars grow to their width (Timer2). Works
// without a collection.

#include "stats/statspace.h"

#include <QWidget>
#include <functional>

class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QRadioButton;
class QScrollBar;
class QTimer;

namespace comp {
class BarChart;
class DriveCheckList;
class PieChart;
}  // namespace comp

namespace stats {

class SpaceTab : public QWidget {
    Q_OBJECT
public:
    explicit SpaceTab(QWidget* parent = nullptr);

    static constexpr int kTimerMs = 50;

    // Fills the drive list (the drives, no added folders; the current
    // drive ticked) and empties the labels: at window creation.
    void fillDrives();
    void doDiskSize();
    void rgSpaceClick();
    void doPieCharts();
    void Timer1Timer();
    void Timer2Timer();
    // A click on a pie: the spinning timer on or off.
    void pie1Click();
    void ScrollBar1Change();

    // The bars' width grows with this depth, in percent of the slot.
    int barDepth() const { return depth_; }
    int drivesShown() const { return drivesShown_; }
    const SpacePage& lastRefresh() const { return page_; }

    // The window tells whether this page is the one showing, and may let
    // the spinning timer turn a pie of its own (the type pie).
    std::function<bool()> pageShowing;
    std::function<void()> otherPieTick;

    QComboBox* cbDrive = nullptr;
    QFrame* Panel4 = nullptr;
    comp::DriveCheckList* pckStatDrive = nullptr;
    QGroupBox* rgSpace = nullptr;
    QRadioButton* rbBar = nullptr;
    QRadioButton* rbPie = nullptr;
    QCheckBox* cbTotal = nullptr;
    QLabel* lblCapTotal = nullptr;
    QLabel* lblCapFree = nullptr;
    QLabel* lblCapUsed = nullptr;
    QLabel* lblTotal = nullptr;
    QLabel* lblFree = nullptr;
    QLabel* lblUsed = nullptr;
    QLabel* lblTot = nullptr;
    QLabel* lblPct = nullptr;
    QLabel* lblPct2 = nullptr;
    QFrame* shpFree = nullptr;
    QFrame* shpUsed = nullptr;
    comp::BarChart* chartSpaceBar = nullptr;
    QFrame* pnlPie = nullptr;
    comp::PieChart* pies[11] = {};
    comp::PieChart* pieTotal = nullptr;
    QScrollBar* ScrollBar1 = nullptr;
    QTimer* Timer1 = nullptr;
    QTimer* Timer2 = nullptr;

protected:
    void resizeEvent(QResizeEvent* e) override;

private:
    void buildCaptions();
    void buildPies();
    void emptyLabels();
    void setCaptionsVisible(bool on);
    void showBarWidth();
    bool showing() const;

    SpacePage page_;
    int drivesShown_ = 0;
    int depth_ = 1;
    bool refreshing_ = false;
    bool filling_ = false;
    bool ticking_ = false;
};

}  // namespace stats

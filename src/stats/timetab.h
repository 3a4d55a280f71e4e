#pragma once
// The "Time" page: how many files were modified, created and accessed in
// each half-hour of the day, as three lines of 48 points. The access line
// shows only where access times were counted.

#include "stats/stattotals.h"

#include <QWidget>

class QScrollBar;
class QToolButton;

namespace comp {
class LineChart;
}

namespace stats {

class TimeTab : public QWidget {
    Q_OBJECT
public:
    explicit TimeTab(QWidget* parent = nullptr);

    void doFileTimes(const StatTotals& totals);
    // The scroll bar's depth (8 to 70) as the chart's line width.
    void sbTimeChange();
    // The label of a half-hour slot in the short time format.
    static QString SlotText(int slot);

    comp::LineChart* Chart4 = nullptr;
    QScrollBar* sbTime = nullptr;
    QToolButton* SpeedButton5 = nullptr;

protected:
    void resizeEvent(QResizeEvent* e) override;
};

}  // namespace stats

#pragma once
// Bar charts: horizontal or vertical, the sets of a category stacked or side
// by side. The per-class charts of the statistics give every bar its own
// colour and legend entry: one set per class, stacked, each set holding its
// value in its own category only. Marks are texts the caller computed (a
// share, a value with its unit), put beside or inside the bars.

#include "components/chartpanel.h"

#include <QColor>
#include <QList>
#include <QString>
#include <QStringList>

class QAbstractBarSeries;
class QBarCategoryAxis;
class QCategoryAxis;

namespace comp {

class BarChart : public ChartPanel {
    Q_OBJECT
public:
    enum class Layout { Stacked, SideBySide };
    BarChart(Qt::Orientation orientation, Layout layout, QWidget* parent = nullptr);

    struct Set {
        QString name;
        QColor color;
        QList<double> values;  // one per category
    };
    // Where a mark goes: category, and the set whose segment it marks; -1
    // marks the whole bar (after its end).
    struct BarMark {
        int category = 0;
        int set = -1;
        QString text;
    };

    // Replaces the bars. No categories: the chart is cleared (no bars, no
    // marks), never left with earlier ones.
    void setBars(const QStringList& categories, const QList<Set>& sets, const QList<BarMark>& marks = {});
    void clear() { setBars({}, {}); }

    // One bar per class, each its own colour and legend entry, marked after
    // its end.
    struct ClassBar {
        QString label;
        double value = 0;
        QColor color;
        QString mark;
    };
    void setClassBars(const QList<ClassBar>& bars);

    // The unit after the value axis's numbers ("MB"); empty: numbers only.
    void setValueUnit(const QString& unit);
    // The share of its slot a bar takes, 0 to 1.
    void setBarWidth(double width);
    double barWidth() const { return barWidth_; }
    // The value axis's labels; categories keep theirs.
    void setValueLabelsVisible(bool on);

    // What is drawn, for checks.
    QStringList categories() const { return categories_; }
    int setCount() const { return int(sets_.size()); }
    const Set& set(int i) const { return sets_.at(i); }
    // The bar of a category: the sum of its sets.
    double barTotal(int category) const;
    double axisMax() const { return axisMax_; }
    QStringList valueAxisLabels() const;

protected:
    void resizeEvent(QResizeEvent* e) override;

private:
    void rebuild(const QList<BarMark>& marks);
    QString valueLabel(double value) const;
    QFont valueAxisFont() const;

    Qt::Orientation orientation_;
    Layout layout_;
    QStringList categories_;
    QList<Set> sets_;
    QString unit_;
    QList<BarMark> barMarks_;  // the last marks, for a rebuild at a new size
    double barWidth_ = 0.6;
    double axisMax_ = 1;
    int axisDecimals_ = 0;
    bool valueLabels_ = true;
    QAbstractBarSeries* series_ = nullptr;
    QBarCategoryAxis* categoryAxis_ = nullptr;
    QCategoryAxis* valueAxis_ = nullptr;
};

}  // namespace comp

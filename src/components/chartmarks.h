#pragma once
// The numbers the charts write beside their bars and slices, and the plan
// of a pie, without widgets: the chart widgets only draw what is computed
// here, so these rules are checked without drawing anything.

#include <QColor>
#include <QList>
#include <QString>

namespace comp {

// A share of a whole in percent, 0 when the whole is not above 0 (an empty
// chart shows 0 bars, never a division by zero).
double SharePercent(double part, double whole);

// A percent mark: the value with at most maxDecimals decimals (trailing
// zeros dropped), digit groups when grouped, then " %". Anything that is not
// a finite number shows as "0 %". Examples: 37.52 with 1 decimal gives
// "37.5 %", 12 gives "12 %".
QString PercentMark(double percent, int maxDecimals, bool grouped = false);

// A whole-number value with digit groups and a unit: "2,048 MB".
QString UnitMark(double value, const QString& unit);

// One slice as the caller offers it.
struct PieInput {
    QString label;
    double value = 0;
    QColor color;
};

// One slice as the pie draws it.
struct PieSlicePlan {
    QString label;
    double value = 0;
    QColor color;
    QString mark;           // "12.5 %"
    bool exploded = false;  // pulled out of the pie
    bool other = false;     // the merged slice
};

// The pie's rules: values that are not above 0 give no slice; the slices
// whose share of the whole is under otherBelowPercent are merged into one
// slice labelled "Other" (drawn last, in otherColor); the biggest remaining
// slice is pulled out. Marks show each slice's share with one decimal.
QList<PieSlicePlan> PlanPie(const QList<PieInput>& inputs, double otherBelowPercent = 5.0,
                            const QColor& otherColor = QColor(192, 192, 192));

}  // namespace comp

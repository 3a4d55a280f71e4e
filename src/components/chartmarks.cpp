#include "components/chartmarks.h"

#include "core/helpers.h"

#include <QLocale>
#include <cmath>

namespace comp {

double SharePercent(double part, double whole)
{
    if (!(whole > 0) || !std::isfinite(part) || !std::isfinite(whole))
        return 0;
    return 100.0 * part / whole;
}

QString PercentMark(double percent, int maxDecimals, bool grouped)
{
    if (!std::isfinite(percent))
        percent = 0;
    QLocale locale;
    if (!grouped)
        locale.setNumberOptions(locale.numberOptions() | QLocale::OmitGroupSeparator);
    else
        locale.setNumberOptions(locale.numberOptions() & ~QLocale::OmitGroupSeparator);
    // Rounded first, so that 99.96 with one decimal is "100", not "100.0".
    const double scale = std::pow(10.0, maxDecimals);
    double rounded = std::round(percent * scale) / scale;
    if (rounded == 0)
        rounded = 0;  // no "-0"
    QString text = locale.toString(rounded, 'f', maxDecimals);
    if (maxDecimals > 0) {
        const QString point = locale.decimalPoint();
        while (text.endsWith(QLatin1Char('0')))
            text.chop(1);
        if (text.endsWith(point))
            text.chop(point.size());
    }
    return text + QStringLiteral(" %");
}

QString UnitMark(double value, const QString& unit)
{
    return core::FormatGroupedF(std::isfinite(value) ? std::round(value) : 0) + QLatin1Char(' ') + unit;
}

QList<PieSlicePlan> PlanPie(const QList<PieInput>& inputs, double otherBelowPercent, const QColor& otherColor)
{
    double whole = 0;
    for (const PieInput& in : inputs)
        if (in.value > 0 && std::isfinite(in.value))
            whole += in.value;
    QList<PieSlicePlan> plan;
    PieSlicePlan other;
    other.label = QStringLiteral("Other");
    other.color = otherColor;
    other.other = true;
    int merged = 0;
    for (const PieInput& in : inputs) {
        if (!(in.value > 0) || !std::isfinite(in.value))
            continue;
        if (SharePercent(in.value, whole) < otherBelowPercent) {
            other.value += in.value;
            ++merged;
            continue;
        }
        plan.append({in.label, in.value, in.color, QString(), false, false});
    }
    if (merged > 0)
        plan.append(other);
    int biggest = -1;
    for (int i = 0; i < plan.size(); ++i) {
        if (!plan[i].other && (biggest < 0 || plan[i].value > plan[biggest].value))
            biggest = i;
    }
    if (biggest >= 0)
        plan[biggest].exploded = true;
    for (PieSlicePlan& s : plan)
        s.mark = PercentMark(SharePercent(s.value, whole), 1);
    return plan;
}

}  // namespace comp

#include "components/barchart.h"

#include "components/chartmarks.h"
#include "core/helpers.h"

#include <QBarCategoryAxis>
#include <QBarSet>
#include <QCategoryAxis>
#include <QChart>
#include <QFontMetrics>
#include <QLocale>
#include <QResizeEvent>
#include <QHorizontalBarSeries>
#include <QHorizontalStackedBarSeries>
#include <QLegend>
#include <QStackedBarSeries>
#include <QBarSeries>
#include <cmath>

namespace comp {

BarChart::BarChart(Qt::Orientation orientation, Layout layout, QWidget* parent)
    : ChartPanel(parent), orientation_(orientation), layout_(layout)
{
    chart()->legend()->setAlignment(orientation == Qt::Horizontal ? Qt::AlignRight : Qt::AlignBottom);
    // Room on the right for the last value label, centred on the axis end.
    if (orientation == Qt::Horizontal)
        chart()->setMargins(QMargins(4, 4, 20, 4));
    rebuild({});
}

void BarChart::setBars(const QStringList& categories, const QList<Set>& sets, const QList<BarMark>& marks)
{
    categories_ = categories;
    sets_ = sets;
    for (Set& s : sets_) {
        while (s.values.size() < categories_.size())
            s.values.append(0);
        s.values.resize(categories_.size());
        for (double& v : s.values)
            if (!std::isfinite(v) || v < 0)
                v = 0;
    }
    if (categories_.isEmpty())
        sets_.clear();
    rebuild(categories_.isEmpty() ? QList<BarMark>() : marks);
}

void BarChart::setClassBars(const QList<ClassBar>& bars)
{
    QStringList categories;
    QList<Set> sets;
    QList<BarMark> marks;
    for (int i = 0; i < bars.size(); ++i) {
        categories << bars[i].label;
        Set s;
        s.name = bars[i].label;
        s.color = bars[i].color;
        for (int k = 0; k < bars.size(); ++k)
            s.values << (k == i ? bars[i].value : 0.0);
        sets << s;
        if (!bars[i].mark.isEmpty())
            marks << BarMark{i, -1, bars[i].mark};
    }
    setBars(categories, sets, marks);
}

void BarChart::setValueUnit(const QString& unit)
{
    unit_ = unit;
}

void BarChart::setBarWidth(double width)
{
    barWidth_ = std::clamp(width, 0.01, 1.0);
    if (series_)
        series_->setBarWidth(barWidth_);
    placeMarks();
}

void BarChart::setValueLabelsVisible(bool on)
{
    valueLabels_ = on;
    if (valueAxis_)
        valueAxis_->setLabelsVisible(on);
}

double BarChart::barTotal(int category) const
{
    double total = 0;
    for (const Set& s : sets_)
        if (category >= 0 && category < s.values.size())
            total += s.values[category];
    return total;
}

QStringList BarChart::valueAxisLabels() const
{
    return valueAxis_ ? valueAxis_->categoriesLabels() : QStringList();
}

QString BarChart::valueLabel(double value) const
{
    // Steps below 1 need their decimals, or every label would read "0".
    QString label = axisDecimals_ > 0 ? QLocale().toString(value, 'f', axisDecimals_) : core::FormatGroupedF(value);
    if (!unit_.isEmpty())
        label += QLatin1Char(' ') + unit_;
    return label;
}

QFont BarChart::valueAxisFont() const
{
    QFont f = font();
    f.setPixelSize(11);
    return f;
}

void BarChart::resizeEvent(QResizeEvent* e)
{
    ChartPanel::resizeEvent(e);
    // The number of axis steps depends on the room the axis has.
    if (orientation_ == Qt::Horizontal && e->size().width() != e->oldSize().width())
        rebuild(barMarks_);
}

void BarChart::rebuild(const QList<BarMark>& marks)
{
    barMarks_ = marks;
    clearMarks();
    QChart* c = chart();
    c->removeAllSeries();
    for (QAbstractAxis* a : c->axes())
        c->removeAxis(a), delete a;
    series_ = nullptr;

    const bool horizontal = orientation_ == Qt::Horizontal;
    const bool stacked = layout_ == Layout::Stacked;
    if (horizontal)
        series_ = stacked ? static_cast<QAbstractBarSeries*>(new QHorizontalStackedBarSeries)
                          : static_cast<QAbstractBarSeries*>(new QHorizontalBarSeries);
    else
        series_ = stacked ? static_cast<QAbstractBarSeries*>(new QStackedBarSeries)
                          : static_cast<QAbstractBarSeries*>(new QBarSeries);
    series_->setBarWidth(barWidth_);
    double max = 0;
    for (int k = 0; k < categories_.size(); ++k) {
        if (stacked)
            max = std::max(max, barTotal(k));
        else
            for (const Set& s : sets_)
                max = std::max(max, s.values.value(k));
    }
    for (const Set& s : sets_) {
        auto* set = new QBarSet(ChartText(s.name));
        set->setColor(s.color);
        set->setBorderColor(s.color.darker(150));
        for (double v : s.values)
            set->append(v);
        series_->append(set);
    }
    c->addSeries(series_);

    categoryAxis_ = new QBarCategoryAxis;
    QStringList shown;
    for (const QString& category : categories_)
        shown << ChartText(category);
    categoryAxis_->append(shown.isEmpty() ? QStringList{QStringLiteral(" ")} : shown);
    categoryAxis_->setGridLineVisible(false);

    // Room beyond the longest bar for its mark.
    const double room = horizontal && !marks.isEmpty() ? 1.3 : 1.08;
    const double top = max > 0 ? max * room : 1;
    // Along a horizontal value axis the numbers stand side by side: fewer
    // steps when long numbers would not fit (Qt would cut them short).
    const QFontMetrics metrics(valueAxisFont());
    const double span = horizontal ? (c->plotArea().width() > 50 ? c->plotArea().width() : width() * 0.55) : 0;
    double step = NiceStep(top);
    axisDecimals_ = step < 1 ? int(std::ceil(-std::log10(step) - 1e-9)) : 0;
    for (int intervals = 5; horizontal && intervals >= 1; --intervals) {
        step = NiceStep(top, intervals);
        axisDecimals_ = step < 1 ? int(std::ceil(-std::log10(step) - 1e-9)) : 0;
        const double last = std::ceil(top / step) * step;
        const double needed = (last / step) * (metrics.horizontalAdvance(valueLabel(last)) + 12);
        if (needed <= span)
            break;
    }
    if (!(max > 0)) {
        step = 1;
        axisDecimals_ = 0;
    }
    axisMax_ = max > 0 ? std::ceil(top / step) * step : step * 5;
    valueAxis_ = new QCategoryAxis;
    valueAxis_->setLabelsFont(valueAxisFont());
    valueAxis_->setMin(0);
    valueAxis_->setMax(axisMax_);
    valueAxis_->setStartValue(-axisMax_ * 1e-9);
    valueAxis_->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    for (double v = 0; v <= axisMax_ * (1 + 1e-9); v += step)
        valueAxis_->append(valueLabel(v), v);
    valueAxis_->setLabelsVisible(valueLabels_);
    c->addAxis(categoryAxis_, horizontal ? Qt::AlignLeft : Qt::AlignBottom);
    c->addAxis(valueAxis_, horizontal ? Qt::AlignBottom : Qt::AlignLeft);
    series_->attachAxis(categoryAxis_);
    series_->attachAxis(valueAxis_);

    // Marks: after a bar's end, or in the middle of a stacked segment.
    QList<Mark> placed;
    const int n = int(sets_.size());
    for (const BarMark& m : marks) {
        if (m.category < 0 || m.category >= categories_.size())
            continue;
        double along = 0;
        double across = m.category;
        MarkSide side = horizontal ? MarkSide::Right : MarkSide::Above;
        if (m.set < 0) {
            along = stacked ? barTotal(m.category) : 0;
            if (!stacked)
                for (const Set& s : sets_)
                    along = std::max(along, s.values.value(m.category));
        } else if (m.set < n) {
            if (stacked) {
                for (int i = 0; i < m.set; ++i)
                    along += sets_[i].values.value(m.category);
                along += sets_[m.set].values.value(m.category) / 2;
                side = MarkSide::Centre;
            } else {
                along = sets_[m.set].values.value(m.category);
                across = m.category - barWidth_ / 2 + (m.set + 0.5) * barWidth_ / n;
            }
        } else {
            continue;
        }
        // A mark inside a dark segment is written in white.
        QColor ink(Qt::black);
        if (side == MarkSide::Centre) {
            const QColor& c = sets_[m.set].color;
            if (0.299 * c.red() + 0.587 * c.green() + 0.114 * c.blue() < 80)
                ink = Qt::white;
        }
        placed << Mark{horizontal ? QPointF(along, across) : QPointF(across, along), series_, m.text, side, ink};
    }
    setMarks(placed);
}

}  // namespace comp

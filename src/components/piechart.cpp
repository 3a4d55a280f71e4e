#include "components/piechart.h"

#include <QChart>
#include <QLegend>
#include <QPieLegendMarker>
#include <QPieSeries>
#include <QPieSlice>

namespace comp {

PieChart::PieChart(QWidget* parent) : ChartPanel(parent)
{
    series_ = new QPieSeries;
    series_->setPieSize(0.7);
    chart()->addSeries(series_);
    chart()->legend()->setAlignment(Qt::AlignRight);
    // A click anywhere on the pie counts, slices included.
    connect(series_, &QPieSeries::clicked, this, [this] { emit clicked(); });
}

void PieChart::setSlices(const QList<PieSlicePlan>& slices)
{
    slices_ = slices;
    apply();
}

void PieChart::setMarksVisible(bool on)
{
    marks_ = on;
    for (QPieSlice* s : series_->slices())
        s->setLabelVisible(on);
}

void PieChart::setRotation(int degrees)
{
    rotation_ = ((degrees % 360) + 360) % 360;
    series_->setPieStartAngle(rotation_);
    series_->setPieEndAngle(rotation_ + 360);
}

void PieChart::apply()
{
    series_->clear();
    for (const PieSlicePlan& plan : slices_) {
        auto* s = new QPieSlice(plan.mark, plan.value);
        s->setColor(plan.color);
        s->setBorderColor(QColor(64, 64, 64));
        s->setExploded(plan.exploded);
        s->setExplodeDistanceFactor(0.10);
        s->setLabelVisible(marks_);
        s->setLabelArmLengthFactor(0.08);
        series_->append(s);
    }
    // The legend names the slices; the slices themselves carry the marks.
    const QList<QLegendMarker*> markers = chart()->legend()->markers(series_);
    for (int i = 0; i < markers.size() && i < slices_.size(); ++i)
        markers[i]->setLabel(slices_[i].label);
    setRotation(rotation_);
}

}  // namespace comp

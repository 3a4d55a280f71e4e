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
    nameMarkers();
}

void PieChart::nameMarkers()
{
    // The legend names the slices; the slices themselves carry the marks.
    // Qt may rebuild a marker from its slice (text included) when slices come
    // and go or turn, so the names are put back after each change.
    const QList<QLegendMarker*> markers = chart()->legend()->markers(series_);
    // An empty name would give the marker its slice's text back (the mark):
    // a slice without a name gets a blank entry.
    for (int i = 0; i < markers.size() && i < slices_.size(); ++i) {
        const QString name = slices_[i].label.isEmpty() ? QStringLiteral(" ") : ChartText(slices_[i].label);
        if (markers[i]->label() != name)
            markers[i]->setLabel(name);
    }
}

void PieChart::apply()
{
    series_->clear();
    QList<QPieSlice*> slices;
    for (const PieSlicePlan& plan : slices_) {
        auto* s = new QPieSlice(ChartText(plan.mark), plan.value);
        s->setColor(plan.color);
        s->setBorderColor(QColor(64, 64, 64));
        s->setExploded(plan.exploded);
        s->setExplodeDistanceFactor(0.10);
        s->setLabelVisible(marks_);
        s->setLabelArmLengthFactor(0.08);
        slices << s;
    }
    series_->append(slices);
    setRotation(rotation_);
}

}  // namespace comp

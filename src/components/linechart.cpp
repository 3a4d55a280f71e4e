#include "components/linechart.h"

#include "core/helpers.h"

#include <QCategoryAxis>
#include <QChart>
#include <QLegend>
#include <QLineSeries>
#include <QPen>
#include <cmath>

namespace comp {

LineChart::LineChart(QWidget* parent) : ChartPanel(parent)
{
    bottom_ = new QCategoryAxis;
    left_ = new QCategoryAxis;
    bottom_->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    left_->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    chart()->addAxis(bottom_, Qt::AlignBottom);
    chart()->addAxis(left_, Qt::AlignLeft);
    chart()->legend()->setAlignment(Qt::AlignTop);
    setLines({}, {});
}

void LineChart::setLines(const QStringList& pointLabels, const QList<Line>& lines, int labelStep)
{
    lines_ = lines;
    for (QLineSeries* s : series_) {
        chart()->removeSeries(s);
        delete s;
    }
    series_.clear();

    double max = 0;
    for (const Line& line : lines_)
        if (line.visible)
            for (double v : line.values)
                if (std::isfinite(v))
                    max = std::max(max, v);
    for (const Line& line : lines_) {
        auto* s = new QLineSeries;
        s->setName(ChartText(line.name));
        QPen pen(line.color);
        pen.setWidthF(width_);
        s->setPen(pen);
        for (int k = 0; k < line.values.size(); ++k)
            s->append(k, std::isfinite(line.values[k]) ? line.values[k] : 0);
        chart()->addSeries(s);
        s->attachAxis(bottom_);
        s->attachAxis(left_);
        s->setVisible(line.visible);
        series_ << s;
    }

    for (const QString& l : bottom_->categoriesLabels())
        bottom_->remove(l);
    const int last = std::max(1, int(pointLabels.size()) - 1);
    bottom_->setStartValue(-1e-9);
    bottom_->setRange(0, last);
    const int step = std::max(1, labelStep);
    for (int k = 0; k < pointLabels.size(); k += step)
        bottom_->append(ChartText(pointLabels[k]), k);

    for (const QString& l : left_->categoriesLabels())
        left_->remove(l);
    const double yStep = NiceStep(max > 0 ? max * 1.05 : 1);
    const double yMax = max > 0 ? std::ceil(max * 1.05 / yStep) * yStep : 5 * yStep;
    left_->setStartValue(-yMax * 1e-9);
    left_->setRange(0, yMax);
    for (double v = 0; v <= yMax * (1 + 1e-9); v += yStep)
        left_->append(core::FormatGroupedF(v), v);
}

void LineChart::setAxisTitles(const QString& bottom, const QString& left)
{
    bottom_->setTitleText(ChartText(bottom));
    left_->setTitleText(ChartText(left));
}

void LineChart::setLineWidth(double pixels)
{
    width_ = std::clamp(pixels, 0.5, 12.0);
    for (QLineSeries* s : series_) {
        QPen pen = s->pen();
        pen.setWidthF(width_);
        s->setPen(pen);
    }
}

bool LineChart::lineShown(int i) const
{
    return i >= 0 && i < series_.size() && series_[i]->isVisible();
}

QStringList LineChart::bottomLabels() const
{
    return bottom_->categoriesLabels();
}

}  // namespace comp

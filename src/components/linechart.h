#pragma once
// A line chart over labelled points (the half-hours of a day): several
// lines, each its own colour and legend entry, that can be hidden one by
// one, with axis titles and a line width the caller sets.

#include "components/chartpanel.h"

#include <QColor>
#include <QList>
#include <QStringList>

class QCategoryAxis;
class QLineSeries;

namespace comp {

class LineChart : public ChartPanel {
    Q_OBJECT
public:
    explicit LineChart(QWidget* parent = nullptr);

    struct Line {
        QString name;
        QColor color;
        QList<double> values;  // point k at x = k
        bool visible = true;
    };
    // pointLabels name the points on the bottom axis; every labelStep-th
    // point shows its label, so that a day of half-hours stays legible.
    void setLines(const QStringList& pointLabels, const QList<Line>& lines, int labelStep = 4);
    void setAxisTitles(const QString& bottom, const QString& left);
    void setLineWidth(double pixels);
    double lineWidth() const { return width_; }

    const QList<Line>& lines() const { return lines_; }
    bool lineShown(int i) const;
    QStringList bottomLabels() const;

private:
    QList<Line> lines_;
    QList<QLineSeries*> series_;
    QCategoryAxis* bottom_ = nullptr;
    QCategoryAxis* left_ = nullptr;
    double width_ = 2;
};

}  // namespace comp

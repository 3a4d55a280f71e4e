#pragma once
// A pie: the slices of a plan (see chartmarks.h), the biggest pulled out by
// a tenth of the radius, each slice's mark beside it, a legend by label, and
// a rotation angle that a scroll bar or a timer turns.

#include "components/chartmarks.h"
#include "components/chartpanel.h"

class QPieSeries;

namespace comp {

class PieChart : public ChartPanel {
    Q_OBJECT
public:
    explicit PieChart(QWidget* parent = nullptr);

    // Replaces the slices; an empty plan leaves an empty pie.
    void setSlices(const QList<PieSlicePlan>& slices);
    void clear() { setSlices({}); }
    const QList<PieSlicePlan>& slices() const { return slices_; }

    // Slice marks drawn beside the slices (off for the small drive pies).
    void setMarksVisible(bool on);

    // Degrees, wrapped into 0 to 359.
    int rotation() const { return rotation_; }
    void setRotation(int degrees);
    void rotateBy(int degrees) { setRotation(rotation_ + degrees); }

private:
    void apply();
    void nameMarkers();

    QPieSeries* series_ = nullptr;
    QList<PieSlicePlan> slices_;
    int rotation_ = 0;
    bool marks_ = true;
};

}  // namespace comp

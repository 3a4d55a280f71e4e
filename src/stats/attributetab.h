#pragma once
// The "Attribute" page: how many files, and how many bytes, are hidden,
// read-only, system or archive files, as a table and as two charts of
// shares. The shares are of the files found and of their bytes.

#include "components/resultgrid.h"
#include "stats/stattotals.h"

#include <QWidget>

class QLabel;

namespace comp {
class BarChart;
class ResultGridView;
}  // namespace comp

namespace stats {

class AttributeTab : public QWidget {
    Q_OBJECT
public:
    explicit AttributeTab(QWidget* parent = nullptr);

    void doFileAttrs(const StatTotals& totals);
    const comp::ResultGrid& table() const { return table_; }

    comp::ResultGridView* gridAttr = nullptr;
    comp::BarChart* Chart2 = nullptr;  // % of total # files
    comp::BarChart* Chart3 = nullptr;  // % of total size
    QLabel* lblAttrNote = nullptr;

protected:
    void resizeEvent(QResizeEvent* e) override;

private:
    comp::ResultGrid table_;
};

}  // namespace stats

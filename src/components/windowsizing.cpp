#include "components/windowsizing.h"

#include "components/resultgridview.h"

#include <QLayout>
#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace comp {

void FillLastColumn(ResultGridView& grid, const QList<int>& bases96, int border96, int dpi)
{
    QList<int> widths;
    for (int base : bases96)
        widths << base * dpi / 96;
    // The widths above are the smallest: a size, date or time column whose
    // cells need more is wider, and the last column gives that up.
    grid.setColumnWidths(widths);
    int taken = 0;
    for (int c = 0; c < widths.size(); ++c)
        taken += grid.columnWidth(c);
    widths << std::max(40, grid.width() - taken - border96 * dpi / 96);
    grid.setColumnWidths(widths);
}

void SetSmallestSize(QWidget& window, const QWidget& panel, const QList<QWidget*>& buttons, int gap)
{
    int row = gap;
    for (const QWidget* b : buttons)
        row += b->minimumWidth() + gap;
    int width = row;
    if (const QLayout* layout = window.layout())
        width = std::max(width, layout->minimumSize().width());
    if (const QScreen* s = window.screen())
        width = std::min(width, s->availableGeometry().width() - 10);
    window.setMinimumSize(width, 2 * panel.sizeHint().height());
}

}  // namespace comp

#pragma once
// Sizes shared by the result windows: column widths that follow the window's
// width, and the smallest size a window with a top panel of buttons and a
// grid below may take.

#include <QList>

class QWidget;

namespace comp {

class ResultGridView;

// Gives the columns their widths at 96 dots per inch scaled to dpi (a
// number, date or time column stays wider when its cells need more), and
// one more column what is left of the grid's width less the others and
// border96 pixels of frame and scroll bar (scaled), at least 40 pixels.
void FillLastColumn(ResultGridView& grid, const QList<int>& bases96, int border96, int dpi);

// Wide enough for the row of buttons (gap pixels apart and at both ends)
// and the window's layout, but never wider than the screen less 10 pixels;
// as high as twice the top panel, so the grid gets at least its height.
void SetSmallestSize(QWidget& window, const QWidget& panel, const QList<QWidget*>& buttons, int gap);

}  // namespace comp

#pragma once
// The result grid of the finder windows, the folder browser and the
// statistics lists: shows a ResultGrid with its titles as the header, one
// selected row at a time, uniform row heights and no widget per row, so a
// million rows scroll as fast as fifty.
//
// What differs between windows is configured, not subclassed: right-aligned
// columns, the column that carries the mark picture, the shading of group
// rows, and a hook through which a window emboldens or colours single cells
// (the Safe Harbor highlighting).

#include "components/resultgrid.h"
#include "components/resultgridmodel.h"

#include <QColor>
#include <QList>
#include <QPixmap>
#include <QPoint>
#include <QSet>
#include <QTableView>

#include <functional>
#include <map>

namespace comp {

class ResultGridView : public QTableView {
    Q_OBJECT
public:
    explicit ResultGridView(QWidget* parent = nullptr);

    // The grid shown: the view's own until setGrid gives it another one,
    // which must outlive the view or tell it when it goes (it does).
    ResultGrid& grid() const;
    void setGrid(ResultGrid* grid);
    ResultGridModel* gridModel() const { return model_; }
    // Shows the grid's present state now instead of at the next event turn.
    void sync() { model_->sync(); }

    // Drawing.
    void setRightAligned(int column, bool on);
    bool rightAligned(int column) const { return rightAligned_.contains(column); }
    // The column whose cell shows the mark picture on a marked row; -1: none.
    void setMarkColumn(int column);
    int markColumn() const { return markColumn_; }
    // Group shading (off while a listing is saved as a web page).
    void setShadingEnabled(bool on);
    bool shadingEnabled() const { return shading_; }
    // Background of rows with this shade; shade A is light grey to start.
    void setShadeColor(quint8 shade, const QColor& color);
    QColor shadeColor(quint8 shade) const;

    struct CellLook {
        bool bold = false;
        QColor text;        // invalid: the palette's
        QColor background;  // invalid: shading or the palette's
    };
    // Asked for every data cell drawn (row in grid numbering), so the cost is
    // per visible cell, never per row of the grid.
    using CellLookHook = std::function<void(int row, int column, CellLook& look)>;
    void setCellLookHook(CellLookHook hook);

    static QPixmap markPicture();

    // The current data row in grid numbering, 0 when there is none.
    int currentRow() const;
    void setCurrentRow(int row);
    // The grid row under a viewport point, 0 when none.
    int gridRowAt(const QPoint& viewportPos) const;

    // Column widths in pixels, and the column-width convention of the
    // settings store (bases at 96 dots per inch, scaled to this screen).
    QList<int> columnWidths() const;
    void setColumnWidths(const QList<int>& widths);
    void loadColumnWidths(const QString& section, const QList<int>& bases96);
    void saveColumnWidths(const QString& section) const;

signals:
    // A title was clicked: the left button went down and came up again at
    // the very same point of the title row. Dragging a column border, or any
    // press and release apart, is no click.
    void titleClicked(int column);
    // A data row was double-clicked (grid numbering).
    void rowDoubleClicked(int row);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    friend class ResultGridDelegate;
    void setUp();

    ResultGridModel* model_ = nullptr;
    QSet<int> rightAligned_;
    int markColumn_ = -1;
    bool shading_ = true;
    std::map<quint8, QColor> shadeColors_;
    CellLookHook lookHook_;
    QPoint pressPos_;
    bool pressed_ = false;
};

}  // namespace comp

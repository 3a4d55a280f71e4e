#pragma once
// The result grid of the finder windows, the folder browser and the
// statistics lists: shows a ResultGrid with its titles as the header, one
// selected row at a time, uniform row heights and no widget per row, so a
// million rows scroll as fast as fifty.
//
// What differs between windows is configured, not subclassed: right-aligned
// columns, what each column holds (numbers, dates and times are never shown
// cut), the column that carries the mark picture, the shading of group rows,
// and a hook through which a window emboldens or colours single cells (the
// Safe Harbor highlighting).

#include "components/resultgrid.h"
#include "components/resultgridfit.h"
#include "components/resultgridmodel.h"

#include <QColor>
#include <QList>
#include <QPixmap>
#include <QPoint>
#include <QSet>
#include <QTableView>

#include <functional>
#include <map>
#include <memory>
#include <vector>

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

    // What a column holds. A number, date or time is never shown cut: as
    // rows come in, such a column widens to its widest cell and its title
    // (each row measured once, in the grid's font), and it cannot be made
    // narrower than that. A text column (names, folders, paths) keeps its
    // width and shows a text too long for it with "…" in the middle, the
    // whole text in the cell's tooltip.
    enum class ColumnKind { Text, Number, Date, Time };
    void setColumnKind(int column, ColumnKind kind);
    ColumnKind columnKind(int column) const;
    bool fitsContents(int column) const { return columnKind(column) != ColumnKind::Text; }
    // The width a number, date or time column needs for the rows measured
    // so far and its title; 0 for a text column.
    int neededWidth(int column) const;
    // Measures every row again, for a window that changed cells in place;
    // rows added at the end are measured as they come.
    void fitColumns();

    // The rectangle a data cell's text is drawn in (viewport coordinates,
    // row in grid numbering), and the text drawn there: the cell's text, or
    // when it does not fit, the text elided ("…" in the middle of a text,
    // at the start of anything else).
    QRect cellTextRect(int row, int column) const;
    QString shownText(int row, int column) const;
    // The whole text of a cell that shows it elided; empty otherwise, and
    // the view's own tooltip applies.
    QString cellToolTip(int row, int column) const;

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
    // The colour listings carry (web pages keep it in both looks).
    QColor shadeColor(quint8 shade) const;
    // The colour drawn on screen: the shade colour in the classic look; in
    // the desktop look a shaded row is the base colour with an eighth of the
    // text colour mixed in, so it reads on light and dark themes alike.
    QColor shownShadeColor(quint8 shade) const;

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
    // For a number, date or time column the width set is the smallest it
    // gets: it is wider when its cells need more.
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
    // Number, date or time columns took new widths because new rows needed
    // more, or a new fill started from the widths set; a window that gives
    // one column the rest of its width sets its widths again.
    void columnsFitted();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    friend class ResultGridDelegate;
    void setUp();
    void watchModel();
    // Measures the rows written since the last time; starts over when rows
    // went away or the grid was replaced.
    void catchUp();
    void startOver();
    void applyFit(bool fromSetWidths);
    void keepNeededWidth(int column, int newSize);
    QFont cellFont(int row, int column) const;
    bool markShown(int row, int column) const;
    // The text part of a cell rectangle (grid line excluded).
    static QRect textRectIn(const QRect& cell, bool marked);
    static QString fitText(const QString& text, const QFontMetrics& metrics, int width, bool middle);

    ResultGridModel* model_ = nullptr;
    QSet<int> rightAligned_;
    int markColumn_ = -1;
    bool shading_ = true;
    std::map<quint8, QColor> shadeColors_;
    CellLookHook lookHook_;
    QPoint pressPos_;
    bool pressed_ = false;

    std::map<int, ColumnKind> kinds_;
    std::map<int, int> setWidths_;  // the widths last set, per column
    std::vector<std::unique_ptr<TextWidthTally>> tallies_;  // per column, null for text
    int measuredRows_ = 0;          // grid rows 1 .. this are measured
    bool measuredUsedRows_ = false; // measured up to rowsUsed (else rowCount - 1)
    bool fitting_ = false;          // the view itself is setting widths
};

}  // namespace comp

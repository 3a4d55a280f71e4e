#pragma once
// The item-model face of a ResultGrid, for ResultGridView. Model row k is
// grid row k + 1; grid row 0 (the titles) is the horizontal header.
//
// The grid tells the model about every change, but the model passes them on
// to its views only once per turn of the event loop (or when sync() is
// called): a search that adds a million rows, letting events run every
// 20 ms, then costs the views a few hundred updates, not a million.

#include "components/resultgrid.h"

#include <QAbstractTableModel>
#include <QSet>

#include <memory>

namespace comp {

class ResultGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // A model over a grid of its own.
    explicit ResultGridModel(QObject* parent = nullptr);
    // A model over a grid the caller keeps; when that grid is destroyed
    // first, the model shows nothing from then on.
    explicit ResultGridModel(ResultGrid* grid, QObject* parent = nullptr);
    ~ResultGridModel() override;

    // Null only after an outside grid was destroyed.
    ResultGrid* grid() const { return grid_; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // Titles drawn to the right, over columns whose cells are.
    void setRightAlignedTitles(const QSet<int>& columns);

    // Roles beyond the text, for delegates and tests.
    enum Role { PathRole = Qt::UserRole + 1, MarkRole, ShadeRole, TagRole };

signals:
    // The views were brought up to the grid's state (new rows, titles, a
    // reset): whoever measures rows catches up here.
    void synced();

public slots:
    // Brings the views up to the grid's present state now.
    void sync();

private:
    void attach();
    void gridChanged();
    void gridGone();

    std::unique_ptr<ResultGrid> own_;
    ResultGrid* grid_;
    int shownRows_ = 0;  // the data rows the views know about
    int shownCols_ = 0;
    bool pending_ = false;
    QSet<int> rightTitles_;
};

}  // namespace comp

#include "components/resultgridmodel.h"

#include <QMetaObject>

namespace comp {

ResultGridModel::ResultGridModel(QObject* parent)
    : QAbstractTableModel(parent), own_(std::make_unique<ResultGrid>()), grid_(own_.get())
{
    attach();
}

ResultGridModel::ResultGridModel(ResultGrid* grid, QObject* parent)
    : QAbstractTableModel(parent), grid_(grid)
{
    attach();
}

ResultGridModel::~ResultGridModel()
{
    if (grid_) {
        grid_->setChangeHook({});
        grid_->setGoneHook({});
    }
}

void ResultGridModel::attach()
{
    shownRows_ = grid_->rowCount() - 1;
    shownCols_ = grid_->colCount();
    grid_->setChangeHook([this] { gridChanged(); });
    grid_->setGoneHook([this] { gridGone(); });
}

void ResultGridModel::gridGone()
{
    beginResetModel();
    grid_ = nullptr;
    shownRows_ = 0;
    shownCols_ = 0;
    endResetModel();
}

void ResultGridModel::gridChanged()
{
    if (pending_)
        return;
    pending_ = true;
    QMetaObject::invokeMethod(this, &ResultGridModel::sync, Qt::QueuedConnection);
}

void ResultGridModel::sync()
{
    pending_ = false;
    if (!grid_)
        return;
    const int rows = grid_->rowCount() - 1;
    const int cols = grid_->colCount();
    if (cols != shownCols_) {
        beginResetModel();
        shownRows_ = rows;
        shownCols_ = cols;
        endResetModel();
        emit synced();
        return;
    }
    if (rows > shownRows_) {
        beginInsertRows(QModelIndex(), shownRows_, rows - 1);
        shownRows_ = rows;
        endInsertRows();
    } else if (rows < shownRows_) {
        beginRemoveRows(QModelIndex(), rows, shownRows_ - 1);
        shownRows_ = rows;
        endRemoveRows();
    }
    // Which cells changed is not tracked; a view repaints only what it shows.
    if (shownRows_ > 0 && shownCols_ > 0)
        emit dataChanged(index(0, 0), index(shownRows_ - 1, shownCols_ - 1));
    if (shownCols_ > 0)
        emit headerDataChanged(Qt::Horizontal, 0, shownCols_ - 1);
    emit synced();
}

void ResultGridModel::setRightAlignedTitles(const QSet<int>& columns)
{
    rightTitles_ = columns;
    if (shownCols_ > 0)
        emit headerDataChanged(Qt::Horizontal, 0, shownCols_ - 1);
}

int ResultGridModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : shownRows_;
}

int ResultGridModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : shownCols_;
}

QVariant ResultGridModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || !grid_)
        return {};
    const int row = index.row() + 1;
    switch (role) {
    case Qt::DisplayRole:
        return grid_->cell(row, index.column());
    case PathRole:
        return grid_->path(row);
    case MarkRole:
        return grid_->marked(row);
    case ShadeRole:
        return int(grid_->shade(row));
    case TagRole:
        return QVariant::fromValue(grid_->tag(row));
    default:
        return {};
    }
}

QVariant ResultGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role == Qt::TextAlignmentRole && orientation == Qt::Horizontal)
        return QVariant::fromValue(Qt::Alignment(rightTitles_.contains(section) ? Qt::AlignRight : Qt::AlignLeft) |
                                   Qt::AlignVCenter);
    if (role != Qt::DisplayRole || !grid_)
        return {};
    if (orientation == Qt::Horizontal)
        return grid_->cell(0, section);
    return section + 1;
}

}  // namespace comp

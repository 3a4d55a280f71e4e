#include "harbor/folderlistmodel.h"

#include <QFont>

namespace harbor {

void FolderListModel::setEntries(const QStringList& entries)
{
    beginResetModel();
    entries_ = entries;
    endResetModel();
}

void FolderListModel::append(const QString& entry)
{
    const int row = int(entries_.size());
    beginInsertRows(QModelIndex(), row, row);
    entries_ << entry;
    endInsertRows();
}

int FolderListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(entries_.size());
}

QVariant FolderListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= entries_.size())
        return QVariant();
    const QString& entry = entries_.at(index.row());
    if (role == Qt::DisplayRole || role == Qt::EditRole)
        return entry;
    if (role == Qt::FontRole && entry.contains(QLatin1String("*.*"))) {
        QFont bold;
        bold.setBold(true);
        return bold;
    }
    return QVariant();
}

}  // namespace harbor

#pragma once
// The rows of the protected-folder list box: one text per entry, subtree
// rules (entries holding "*.*") in bold. The list holds thousands of
// entries, so it changes as a whole (a reset) rather than row by row.

#include <QAbstractListModel>
#include <QStringList>

namespace harbor {

class FolderListModel : public QAbstractListModel {
    Q_OBJECT
public:
    using QAbstractListModel::QAbstractListModel;

    const QStringList& entries() const { return entries_; }
    void setEntries(const QStringList& entries);
    void append(const QString& entry);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;

private:
    QStringList entries_;
};

}  // namespace harbor

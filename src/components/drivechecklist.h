#pragma once
// The drive check list of the finder windows (pckDrive): drives and folders
// with their pictures, in which the selected lines are the ticked ones. A
// click on a line ticks or unticks it; each line shows a check mark that
// follows its selection. The right-click menu holds "Select All" and
// "Deselect All"; windows append their own items.

#include "components/picklist.h"

#include <QPixmap>

namespace comp {

class DriveCheckList : public PickList {
    Q_OBJECT
public:
    explicit DriveCheckList(QWidget* parent = nullptr);

    // Appends a line with its picture.
    void addEntry(const QString& text, const QPixmap& picture);
    QStringList tickedEntries() const { return selectedLines(); }
    int tickedCount() const { return selectedCount(); }
    bool isTicked(int row) const;
    void setTicked(int row, bool on);

protected:
    QListWidgetItem* newItem(const QString& line) const override;

private:
    void showTicks();
};

}  // namespace comp

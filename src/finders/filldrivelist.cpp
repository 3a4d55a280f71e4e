#include "finders/filldrivelist.h"

#include "components/drivechecklist.h"
#include "components/drivepictures.h"

#include <QComboBox>
#include <QIcon>

namespace finders {

QComboBox* MakeDriveCombo(QWidget* parent, DriveListOwner owner)
{
    auto* cb = new QComboBox(parent);
    cb->setObjectName(QStringLiteral("cbDrive"));
    cb->hide();
    FillDriveCombo(*cb, DriveOfferFor(owner));
    return cb;
}

void FillDriveCombo(QComboBox& cbDrive, const DriveOffer& offer)
{
    cbDrive.clear();
    const QList<DriveEntry> entries = DriveEntries(offer);
    for (const DriveEntry& e : entries)
        cbDrive.addItem(QIcon(comp::drivePicture(e.kind)), e.text);
    cbDrive.setCurrentIndex(cbDrive.findText(CurrentDriveEntry(entries), Qt::MatchFixedString));
}

void FillDriveList(comp::DriveCheckList& list, const QComboBox& cbDrive, bool withFolders)
{
    list.clear();
    QStringList lines;
    for (int i = 0; i < cbDrive.count(); ++i) {
        lines << cbDrive.itemText(i);
        list.addEntry(cbDrive.itemText(i), cbDrive.itemIcon(i).pixmap(16, 16));
    }
    const DefaultTicks ticks = DefaultDriveTicks(lines, cbDrive.currentText());
    if (withFolders) {
        const QPixmap folder = comp::folderPicture();
        for (const QString& f : AddedFolders())
            list.addEntry(f, folder);
    }
    for (int row : ticks.rows)
        list.setTicked(row, true);
    if (ticks.defaultRow >= 0)
        list.setCurrentRow(ticks.defaultRow, QItemSelectionModel::NoUpdate);
}

}  // namespace finders

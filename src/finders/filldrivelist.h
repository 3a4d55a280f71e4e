#pragma once
// Filling a window's drive check list (pckDrive) from its hidden drive list
// (cbDrive): the offered drives with their pictures, the folders the user
// added, and the default tick.

#include "finders/drivelist.h"

class QComboBox;
class QWidget;

namespace comp {
class DriveCheckList;
}

namespace finders {

// The hidden drive list a window carries (objectName "cbDrive"): one line per
// offered drive with its picture; its text is the current drive's entry, or
// empty when the current drive is not offered.
QComboBox* MakeDriveCombo(QWidget* parent, DriveListOwner owner);
void FillDriveCombo(QComboBox& cbDrive, const DriveOffer& offer);

// Replaces the list's lines with the drive list's lines, ticks the default
// entry, and appends the added folders when withFolders is set. The user's
// earlier ticks are dropped.
void FillDriveList(comp::DriveCheckList& list, const QComboBox& cbDrive, bool withFolders);

}  // namespace finders

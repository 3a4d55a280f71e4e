#pragma once
// The 16 x 16 pictures of the drive check lists: one per drive kind, and the
// folder picture of the folders the user added.

#include "platform/drives.h"

#include <QPixmap>

namespace comp {

QPixmap drivePicture(plat::DriveKind kind);
// The folder picture; a plain painted folder until the program hands in
// its own (setFolderPicture), so that every list shows the main window's.
QPixmap folderPicture();
void setFolderPicture(const QPixmap& picture);  // a null pixmap restores the default

}  // namespace comp

#pragma once
// Whether a folder is where a file system is mounted.

#include <QString>

namespace plat {

// True when the folder a drive path names is the root of a mount: a drive
// root under any of its spellings ("C:\mnt\usb" when D: is mounted there),
// or a folder on another file system or mount than its parent folder (a
// mount the drive table leaves out, a bind mount). A link is never one.
bool isMountPoint(const QString& drivePath);

}  // namespace plat

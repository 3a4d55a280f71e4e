#pragma once
// File operations. None follows a symbolic link; the ones that change
// anything reach their entry the way TreeFolder::openParent does (each folder
// of the path opened from the drive root, no link and no other mount on the
// way) and refuse a path not spelled as cleanDrivePath() spells it.

#include <QString>
#include <QtGlobal>
#include <optional>
#include <stdexcept>

namespace plat {

// The platform's input/output error, raised where the Windows original raised one.
class IoError : public std::runtime_error {
public:
    explicit IoError(const std::string& what) : std::runtime_error(what) {}
};

// Removes a file or a link (never its target). Refuses folders.
bool deleteFile(const QString& drivePath);
// Removes an empty folder; a link to a folder is refused.
bool removeFolder(const QString& drivePath);
// Attributes of a path (faReadOnly, faHidden, faSystem, faDirectory,
// faReparse), or faInvalid when it cannot be read.
quint32 fileAttributes(const QString& drivePath);
// Sets the attributes: read-only clears the owner's write bit; clearing it
// sets the owner's write bit; hidden and system cannot be changed here and
// are ignored. Does nothing to a link. False on failure.
bool setFileAttributes(const QString& drivePath, quint32 attributes);
bool fileExists(const QString& drivePath);    // a regular file (no link)
bool folderExists(const QString& drivePath);  // a real folder (no link)

// Sends a file, link or folder to the freedesktop trash. True only when the
// item really left its place and landed in the trash with its record.
bool moveToTrash(const QString& drivePath);

struct DiskSpace {
    quint64 freeBytes = 0;
    quint64 totalBytes = 0;
    quint64 clusterSize = 0;
};
// Space of the drive holding the path (statvfs). Empty when the drive does
// not answer within 2 seconds or statvfs fails.
std::optional<DiskSpace> diskSpace(const QString& drivePath);
// A drive is ready when statvfs answers within 2 seconds.
bool driveReady(QChar letter);

// The program's current folder (a drive path), as SetCurrentDirectory keeps it.
// setCurrentFolder raises IoError when the folder does not exist.
void setCurrentFolder(const QString& drivePath);
QString currentFolder();

}  // namespace plat

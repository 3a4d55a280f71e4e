#pragma once
// The drive table: the program speaks drive paths ("C:\home\ann\a.txt"),
// the file system speaks POSIX paths. This table maps one to the other.

#include <QByteArray>
#include <QChar>
#include <QList>
#include <QString>
#include <optional>
#include <sys/types.h>

namespace plat {

enum class DriveKind { Fixed, Removable, CdRom, Network, RamDisk };

struct Drive {
    QChar letter;           // upper case, 'C'..'Z'
    QByteArray mountPoint;  // POSIX path of the drive root, no trailing '/' except for "/"
    DriveKind kind = DriveKind::Fixed;
    QString label;          // file system label, else the mount point's last name
};

// The drives in letter order. Built once from TROVIK_DRIVES when set
// ("C=/srv/data;D=/mnt/usb:removable"), else from the mount table.
const QList<Drive>& drives();
// Builds the table again (tests change TROVIK_DRIVES between cases).
void reloadDrives();
// The drive of a letter (either case), or nullptr.
const Drive* driveFor(QChar letter);
// Parses a TROVIK_DRIVES value; entries that do not parse are left out.
QList<Drive> parseDriveSpec(const QString& table);

// "C:\home\ann" -> "/home/ann" (on C=/). Accepts "C:", "C:\" and forward
// slashes are NOT treated as separators. Empty when the drive is unknown,
// the path is not absolute, or a component cannot be encoded.
std::optional<QByteArray> toPosix(const QString& drivePath);
// "/home/ann" -> "C:\home\ann", by the drive whose mount point is the
// longest prefix. Empty when no drive holds the path or a component cannot
// be a drive-path component.
std::optional<QString> toDrivePath(const QByteArray& posixPath);

// True when a raw file name can be a Windows path component: no '\\', no
// control character, and it survives QFile::decodeName/encodeName.
bool isRepresentableName(const QByteArray& rawName);

// The drive root text of a letter: 'C' -> "C:\".
QString driveRoot(QChar letter);

}  // namespace plat

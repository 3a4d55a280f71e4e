#pragma once
// Internal to the platform layer: the resolved form of a drive path and the
// pieces of the mount table parser that the tests check directly.

#include "platform/drives.h"

#include <QByteArray>
#include <QList>
#include <optional>

namespace plat::detail {

// A drive path taken apart: its drive, the POSIX path, and whether it names
// the drive root itself.
struct Resolved {
    QChar letter;
    QByteArray mountPoint;
    QByteArray posix;
    bool isRoot = false;
};
std::optional<Resolved> resolve(const QString& drivePath);

// Grows by one each time the drive table is rebuilt, so that caches keyed
// by drive letter know when to forget.
quint64 driveTableGeneration();

// One line of the mount table, reduced to what the drive table needs.
struct MountEntry {
    QByteArray mountPoint;  // unescaped
    QByteArray fsType;
    QByteArray source;
    quint32 major = 0;
    quint32 minor = 0;
    quint64 mountId = 0;  // the first field of mountinfo (statx STATX_MNT_ID); 0 from /proc/mounts
};
// Parses /proc/self/mountinfo text.
QList<MountEntry> parseMountInfo(const QByteArray& text);
// Parses /proc/mounts text (no device numbers).
QList<MountEntry> parseProcMounts(const QByteArray& text);
// True for the kernel's own file systems (proc, sysfs, cgroup, ...) and for
// mounts in the system's private trees (/proc, /sys, /dev, /run).
bool isPseudoMount(const MountEntry& m);
// The drive kind a file system type implies (Fixed when the type says nothing).
DriveKind kindOfFsType(const QByteArray& fsType);
// True when every component of a POSIX path is a representable name.
bool isRepresentablePath(const QByteArray& posixPath);
// Builds the drive list from mount entries: "/" is C:, the rest follow in
// mount-point order. removable and label are asked per entry.
QList<Drive> drivesFromMounts(const QList<MountEntry>& mounts);

}  // namespace plat::detail

#pragma once
// Internal to the platform layer: folders opened through handles, shared by
// folder deletion and the walk of the finders.

#include "platform/drives.h"
#include "platform/findfile_p.h"
#include "platform/foldertree.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

namespace plat::detail {

// The stat of a folder: the usual fields and the mount it lies on.
constexpr unsigned kTreeStatxMask = kStatxMask | STATX_MNT_ID;

// Where a folder lives: its file system and, where the kernel tells, its mount.
struct Place {
    dev_t dev = 0;
    quint64 mountId = 0;
    bool hasMountId = false;

    static Place of(const struct statx& st)
    {
        return {makedev(st.stx_dev_major, st.stx_dev_minor), st.stx_mnt_id, (st.stx_mask & STATX_MNT_ID) != 0};
    }
    bool sameAs(const Place& o) const
    {
        if (dev != o.dev)
            return false;
        // A bind mount shares the device but not the mount.
        return !(hasMountId && o.hasMountId) || mountId == o.mountId;
    }
};

inline FileIdentity identityOf(const struct statx& st)
{
    return {quint64(makedev(st.stx_dev_major, st.stx_dev_minor)), st.stx_ino};
}

// statx of a name in an open folder, the last part not followed.
bool statAt(int fd, const char* name, struct statx& st);
// statx of an open descriptor itself.
bool statFd(int fd, struct statx& st);
// Opens a sub-folder of an open folder: never a link, never a file.
int openFolderAt(int fd, const char* name);
// Why opening name in fd failed with err.
TreeError errorOfOpen(int fd, const char* name, int err);

// A drive path taken apart: its drive and its components, raw and as text.
// False when it is no full drive path of a known drive, or a component is
// empty, "." or "..", or cannot be a file name.
struct SplitPath {
    const Drive* drive = nullptr;
    QList<QByteArray> parts;
    QStringList names;
    qsizetype posixLength = 0;  // bytes of its POSIX path
};
bool splitDrivePath(const QString& drivePath, SplitPath& out);

// The root folder of a drive, and its stat; -1 with error set.
int openDriveRoot(const Drive& drive, struct statx& st, TreeError& error);
// One step down from an open folder: a sub-folder that is no link and lies
// on the drive's mount, and its stat; -1 with error set.
int stepInto(int at, const QByteArray& part, const Place& drive, struct statx& st, TreeError& error);

// A folder opened from its drive root one component at a time.
struct OpenedFolder {
    int fd = -1;            // the caller's to close
    struct statx self {};   // the folder, as opened
    Place drive;            // the mount of the drive root
    QString path;           // drive letter, ":\" and the components, no "." or ".."
    qsizetype posixLength = 0;  // bytes of its POSIX path
};
// Refuses any link on the way and any step onto another file system or
// mount than the drive root's; the drive root itself is followed (its mount
// point is configuration, not content). False with error set when it cannot.
bool openFromDriveRoot(const QString& drivePath, OpenedFolder& out, TreeError& error);

}  // namespace plat::detail

#include "platform/mountpoint.h"
#include "platform/drives.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

namespace plat {

namespace {

bool statNoFollow(const QByteArray& posix, struct statx& st)
{
    return ::statx(AT_FDCWD, posix.constData(), AT_SYMLINK_NOFOLLOW, STATX_TYPE | STATX_MNT_ID, &st) == 0;
}

}  // namespace

bool isMountPoint(const QString& drivePath)
{
    const auto posix = toPosix(drivePath);
    if (!posix || posix->isEmpty())
        return false;
    QByteArray path = *posix;
    while (path.size() > 1 && path.endsWith('/'))
        path.chop(1);
    if (path == "/")
        return true;
    for (const Drive& d : drives()) {
        if (d.mountPoint == path)
            return true;
    }
    struct statx st;
    if (!statNoFollow(path, st) || !S_ISDIR(st.stx_mode))
        return false;
    if (st.stx_attributes_mask & STATX_ATTR_MOUNT_ROOT)
        return (st.stx_attributes & STATX_ATTR_MOUNT_ROOT) != 0;
    // Older kernels: compare with the parent folder.
    const qsizetype slash = path.lastIndexOf('/');
    const QByteArray parent = slash <= 0 ? QByteArray("/") : path.left(slash);
    struct statx up;
    if (!statNoFollow(parent, up))
        return false;
    if (st.stx_dev_major != up.stx_dev_major || st.stx_dev_minor != up.stx_dev_minor)
        return true;
    return (st.stx_mask & up.stx_mask & STATX_MNT_ID) && st.stx_mnt_id != up.stx_mnt_id;
}

}  // namespace plat

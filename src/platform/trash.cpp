// Moving to the freedesktop trash, with the checks that make "true" mean
// the item really left its place and sits in a trash folder.
#include "platform/drives_p.h"
#include "platform/fileops.h"
#include "platform/fileops_p.h"
#include "platform/findfile_p.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace plat {

namespace detail {

struct Identity {
    dev_t dev = 0;
    ino_t ino = 0;
    quint64 mountId = 0;
    bool hasMountId = false;
};

bool identify(const QByteArray& path, Identity& id, bool follow = false)
{
    struct statx st;
    const int flags = AT_NO_AUTOMOUNT | (follow ? 0 : AT_SYMLINK_NOFOLLOW);
    if (statx(AT_FDCWD, path.constData(), flags, STATX_INO | STATX_MNT_ID, &st) != 0)
        return false;
    id.dev = makedev(st.stx_dev_major, st.stx_dev_minor);
    id.ino = ino_t(st.stx_ino);
    id.hasMountId = (st.stx_mask & STATX_MNT_ID) != 0;
    id.mountId = st.stx_mnt_id;
    return true;
}

QByteArray parentOf(const QByteArray& path)
{
    const int slash = path.lastIndexOf('/');
    return slash <= 0 ? QByteArray("/") : path.left(slash);
}

QByteArray nameOf(const QByteArray& path)
{
    return path.mid(path.lastIndexOf('/') + 1);
}

QByteArray canonical(const QByteArray& path)
{
    char buf[PATH_MAX];
    return realpath(path.constData(), buf) ? QByteArray(buf) : QByteArray();
}

// True when topdir is the top folder of the mount holding dev.
bool isMountTop(const QByteArray& topdir, dev_t dev)
{
    Identity top;
    if (!identify(topdir, top, true) || top.dev != dev)
        return false;
    if (canonical(topdir) == "/")
        return true;
    Identity up;
    if (!identify(parentOf(canonical(topdir)), up, true))
        return false;
    if (up.dev != top.dev)
        return true;
    return top.hasMountId && up.hasMountId && top.mountId != up.mountId;
}

QString dataHome()
{
    const QString xdg = qEnvironmentVariable("XDG_DATA_HOME");
    if (xdg.startsWith(u'/'))
        return QDir::cleanPath(xdg);
    return QDir::cleanPath(QDir::homePath() + "/.local/share");
}

bool isTrashLocation(const QByteArray& path, dev_t dev)
{
    if (!path.startsWith('/'))
        return false;
    const QByteArray name = nameOf(path);
    const QByteArray files = parentOf(path);
    if (name.isEmpty() || nameOf(files) != "files")
        return false;
    const QByteArray trash = parentOf(files);
    // The trash keeps a record of every item; an item without one was put
    // somewhere by mistake.
    if (access((trash + "/info/" + name + ".trashinfo").constData(), F_OK) != 0)
        return false;
    const QByteArray trashReal = canonical(trash);
    if (trashReal.isEmpty())
        return false;
    const QByteArray homeTrash = canonical(QFile::encodeName(dataHome()) + "/Trash");
    if (!homeTrash.isEmpty() && trashReal == homeTrash)
        return true;
    const QByteArray uid = QByteArray::number(qulonglong(getuid()));
    if (nameOf(trashReal) == ".Trash-" + uid)
        return isMountTop(parentOf(trashReal), dev);
    if (nameOf(trashReal) == uid && nameOf(parentOf(trashReal)) == ".Trash")
        return isMountTop(parentOf(parentOf(trashReal)), dev);
    return false;
}

}  // namespace detail

namespace {

// Moves the item at drivePath to the trash; with expected set, only while
// the path still denotes that very item.
bool trashChecked(const QString& drivePath, const detail::Identity* expected)
{
    const auto r = detail::resolve(drivePath);
    if (!r || r->isRoot)
        return false;
    detail::Identity before;
    if (!detail::identify(r->posix, before))
        return false;
    if (expected && (before.dev != expected->dev || before.ino != expected->ino))
        return false;
    // Without its data folder the trash call falls back to the current
    // folder and still reports success; make sure the folder is there.
    QDir().mkpath(detail::dataHome());

    QString trashed;
    if (!QFile::moveToTrash(QFile::decodeName(r->posix), &trashed))
        return false;
    const QByteArray landed = QFile::encodeName(QFileInfo(trashed).absoluteFilePath());

    detail::Identity now;
    const bool left = !detail::identify(r->posix, now) || now.dev != before.dev || now.ino != before.ino;
    detail::Identity there;
    const bool landedThere = !trashed.isEmpty() && detail::identify(landed, there);
    const bool arrived = landedThere && there.dev == before.dev && there.ino == before.ino;
    if (left && arrived && detail::isTrashLocation(landed, before.dev))
        return true;

    if (landedThere) {
        bool undone = false;
        if (arrived && !left) {
            // A second name of a file that never left its place.
            undone = ::unlink(landed.constData()) == 0;
        } else {
            // It went somewhere it should not have, or what went is not the
            // item that was checked (swapped in meanwhile): put it back.
            undone = ::renameat2(AT_FDCWD, landed.constData(), AT_FDCWD, r->posix.constData(), RENAME_NOREPLACE) == 0;
        }
        // An item that could not be put back keeps its record, so that it
        // can still be restored from the trash.
        if (undone) {
            const QByteArray info =
                detail::parentOf(detail::parentOf(landed)) + "/info/" + detail::nameOf(landed) + ".trashinfo";
            ::unlink(info.constData());
        }
    }
    return false;
}

}  // namespace

bool moveToTrash(const QString& drivePath)
{
    return trashChecked(drivePath, nullptr);
}

bool moveToTrashIfSame(const QString& drivePath, quint64 device, quint64 inode)
{
    detail::Identity expected;
    expected.dev = dev_t(device);
    expected.ino = ino_t(inode);
    return trashChecked(drivePath, &expected);
}

}  // namespace plat

// Our own freedesktop trash. An item leaves its folder by a rename from that
// folder's open handle, so what goes is the entry that was checked, whatever
// is done to its path meanwhile. Its record is made first and never over
// another, so two processes trashing at once never share a name, and a
// record is never left without its item.
#include "platform/drives_p.h"
#include "platform/fileops.h"
#include "platform/fileops_p.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>
#include <utility>

namespace plat {

namespace detail {

namespace {

const QByteArray kInfoSuffix = ".trashinfo";
// The ".2", ".3", ... tried before giving up on a crowded trash.
constexpr int kMaxTries = 10000;
// An extension longer than this is taken as part of the name.
constexpr int kMaxExtension = 16;

QByteArray g_testTop;

class Fd {
public:
    explicit Fd(int fd = -1) : fd_(fd) {}
    ~Fd()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Fd(Fd&& o) noexcept : fd_(std::exchange(o.fd_, -1)) {}
    Fd& operator=(Fd&& o) noexcept
    {
        std::swap(fd_, o.fd_);
        return *this;
    }
    int get() const { return fd_; }
    bool ok() const { return fd_ >= 0; }

private:
    int fd_;
};

// Where an object lies: its file system and, where the kernel tells, its
// mount. A rename works only within one mount.
struct Place {
    dev_t dev = 0;
    quint64 mountId = 0;
    bool hasMountId = false;
    bool sameAs(const Place& o) const
    {
        return dev == o.dev && (!(hasMountId && o.hasMountId) || mountId == o.mountId);
    }
};

bool statOf(int fd, const char* name, int flags, struct statx& st)
{
    return statx(fd, name, flags | AT_NO_AUTOMOUNT, STATX_BASIC_STATS | STATX_MNT_ID, &st) == 0;
}

bool statSelf(int fd, struct statx& st)
{
    return statOf(fd, "", AT_EMPTY_PATH, st);
}

Place placeOf(const struct statx& st)
{
    return {makedev(st.stx_dev_major, st.stx_dev_minor), st.stx_mnt_id, (st.stx_mask & STATX_MNT_ID) != 0};
}

FileIdentity identityOfStat(const struct statx& st)
{
    return {quint64(makedev(st.stx_dev_major, st.stx_dev_minor)), st.stx_ino};
}

// The sub-folder name of parent, made (owner only) when missing; a link
// is never followed.
Fd openFolder(int parent, const char* name, bool make)
{
    int fd = ::openat(parent, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0 && errno == ENOENT && make) {
        if (::mkdirat(parent, name, 0700) != 0 && errno != EEXIST)
            return Fd();
        fd = ::openat(parent, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    }
    return Fd(fd);
}

bool ownedByMe(int fd)
{
    struct statx st;
    return statSelf(fd, st) && st.stx_uid == ::getuid();
}

struct Trash {
    Fd files;
    Fd info;
    QByteArray topdir;  // empty for the home trash, whose records hold absolute paths
};

bool openParts(const Fd& trash, Trash& out)
{
    if (!trash.ok())
        return false;
    out.files = openFolder(trash.get(), "files", true);
    out.info = openFolder(trash.get(), "info", true);
    return out.files.ok() && out.info.ok();
}

enum class HomeTrash { Ready, Elsewhere, Failed };

// The home trash, when the home's file system holds the item. An item there
// never goes to a trash of its own at the top of that file system, also
// when the home trash cannot be made.
HomeTrash homeTrash(const Place& item, Trash& out)
{
    const QString home = dataHome();
    // A fresh account may not have its data folder yet.
    QDir().mkpath(home);
    const Fd data(::open(QFile::encodeName(home).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    struct statx st;
    if (!data.ok() || !statSelf(data.get(), st))
        return HomeTrash::Failed;
    if (!placeOf(st).sameAs(item))
        return HomeTrash::Elsewhere;
    out.topdir.clear();
    return openParts(openFolder(data.get(), "Trash", true), out) ? HomeTrash::Ready : HomeTrash::Failed;
}

// The mount point of the mount that holds the item at path.
QByteArray mountTopOf(const Place& item, const QByteArray& path)
{
    QFile table("/proc/self/mountinfo");
    if (!table.open(QIODevice::ReadOnly))
        return {};
    QByteArray best;
    for (const MountEntry& m : parseMountInfo(table.readAll())) {
        if (item.hasMountId) {
            if (m.mountId == item.mountId)
                return m.mountPoint;
            continue;
        }
        // Without mount ids: the deepest mount of the device above the item.
        const bool above = m.mountPoint == "/" || path.startsWith(m.mountPoint + '/');
        if (makedev(m.major, m.minor) == item.dev && above && m.mountPoint.size() > best.size())
            best = m.mountPoint;
    }
    return best;
}

// $topdir/.Trash/$uid when the administrator made $topdir/.Trash a real
// folder with the sticky bit, else $topdir/.Trash-$uid.
bool topTrash(const Place& item, const QByteArray& path, Trash& out)
{
    const QByteArray top = g_testTop.isEmpty() ? mountTopOf(item, path) : g_testTop;
    if (top.isEmpty())
        return false;
    const Fd topFd(::open(top.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    struct statx st;
    if (!topFd.ok() || !statSelf(topFd.get(), st) || !placeOf(st).sameAs(item))
        return false;
    out.topdir = top;
    const QByteArray uid = QByteArray::number(qulonglong(::getuid()));
    const Fd shared = openFolder(topFd.get(), ".Trash", false);
    if (shared.ok() && statSelf(shared.get(), st) && (st.stx_mode & S_ISVTX)) {
        const Fd mine = openFolder(shared.get(), uid.constData(), true);
        if (mine.ok() && ownedByMe(mine.get()) && openParts(mine, out))
            return true;
    }
    const Fd mine = openFolder(topFd.get(), (".Trash-" + uid).constData(), true);
    return mine.ok() && ownedByMe(mine.get()) && openParts(mine, out);
}

// The item's absolute path as the rest of the desktop sees it: the drive's
// mount point resolved (it is configuration, and may be given through a
// link), the rest as the drive path spells it.
QByteArray realPathOf(const QString& drivePath)
{
    const auto r = resolve(drivePath);
    if (!r || r->isRoot)
        return {};
    char buf[PATH_MAX];
    if (!realpath(r->mountPoint.constData(), buf))
        return {};
    const QByteArray mount(buf);
    const QByteArray rest = r->mountPoint == "/" ? r->posix : r->posix.mid(r->mountPoint.size());
    return mount == "/" ? rest : mount + rest;
}

// Relative to the top of a per-mount trash, so that the records stay true
// wherever the medium is mounted next.
QByteArray recordedPath(const QByteArray& path, const QByteArray& topdir)
{
    if (topdir.isEmpty())
        return path;
    if (topdir == "/")
        return path.mid(1);
    if (path.startsWith(topdir + '/'))
        return path.mid(topdir.size() + 1);
    return path;
}

bool writeAll(int fd, const QByteArray& data)
{
    qsizetype done = 0;
    while (done < data.size()) {
        const ssize_t n = ::write(fd, data.constData() + done, size_t(data.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += n;
    }
    return true;
}

// A name for the item in files/, its record made: the record's name when
// the record was made, empty when none could be.
QByteArray makeRecord(const Trash& trash, const QByteArray& name, int& n, const QByteArray& text)
{
    for (; n <= kMaxTries; ++n) {
        const QByteArray target = trashNameCandidate(name, n);
        const QByteArray infoName = target + kInfoSuffix;
        const int fd = ::openat(trash.info.get(), infoName.constData(),
                                O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd < 0) {
            if (errno == EEXIST)
                continue;
            return {};
        }
        const bool written = writeAll(fd, text);
        if (::close(fd) == 0 && written)
            return target;
        ::unlinkat(trash.info.get(), infoName.constData(), 0);
        return {};
    }
    return {};
}

// Renames without replacing; where the file system cannot promise that,
// the target is checked to be free first (the trash is the user's own).
int renameNoReplace(int fromFd, const char* from, int toFd, const char* to)
{
    if (::renameat2(fromFd, from, toFd, to, RENAME_NOREPLACE) == 0)
        return 0;
    if (errno != EINVAL)
        return -1;
    struct statx st;
    if (statOf(toFd, to, AT_SYMLINK_NOFOLLOW, st)) {
        errno = EEXIST;
        return -1;
    }
    return ::renameat(fromFd, from, toFd, to);
}

}  // namespace

QString dataHome()
{
    const QString xdg = qEnvironmentVariable("XDG_DATA_HOME");
    if (xdg.startsWith(u'/'))
        return QDir::cleanPath(xdg);
    return QDir::cleanPath(QDir::homePath() + "/.local/share");
}

QByteArray trashInfoText(const QByteArray& path, time_t when)
{
    struct tm tm {};
    localtime_r(&when, &tm);
    char date[32];
    std::strftime(date, sizeof date, "%Y-%m-%dT%H:%M:%S", &tm);
    return "[Trash Info]\nPath=" + path.toPercentEncoding("/") + "\nDeletionDate=" + date + "\n";
}

QByteArray trashNameCandidate(const QByteArray& name, int n)
{
    const qsizetype room = NAME_MAX - kInfoSuffix.size();
    if (n <= 1 && name.size() <= room)
        return name;
    QByteArray stem = name;
    QByteArray ext;
    const qsizetype dot = name.lastIndexOf('.');
    if (dot > 0 && name.size() - dot <= kMaxExtension) {
        stem = name.left(dot);
        ext = name.mid(dot);
    }
    const QByteArray number = n <= 1 ? QByteArray() : "." + QByteArray::number(n);
    qsizetype keep = room - number.size() - ext.size();
    if (stem.size() > keep) {
        // Never in the middle of a UTF-8 sequence.
        while (keep > 0 && (uchar(stem[keep]) & 0xC0) == 0x80)
            --keep;
        stem.truncate(keep);
    }
    return stem + number + ext;
}

void setTrashTopForTest(const QByteArray& topdir)
{
    g_testTop = topdir;
}

bool trashAt(int folderFd, const QByteArray& name, const FileIdentity& expected, const QString& drivePath)
{
    struct statx st;
    if (name.isEmpty() || !statOf(folderFd, name.constData(), AT_SYMLINK_NOFOLLOW, st))
        return false;
    if (identityOfStat(st) != expected) {
        errno = ESTALE;
        return false;
    }
    const Place item = placeOf(st);
    const QByteArray path = realPathOf(drivePath);
    if (path.isEmpty())
        return false;
    Trash trash;
    const HomeTrash home = g_testTop.isEmpty() ? homeTrash(item, trash) : HomeTrash::Elsewhere;
    if (home == HomeTrash::Failed || (home == HomeTrash::Elsewhere && !topTrash(item, path, trash)))
        return false;
    struct statx files;
    if (!statSelf(trash.files.get(), files) || !placeOf(files).sameAs(item)) {
        errno = EXDEV;
        return false;
    }

    const QByteArray text = trashInfoText(recordedPath(path, trash.topdir), std::time(nullptr));
    for (int n = 1; n <= kMaxTries; ++n) {
        const QByteArray target = makeRecord(trash, name, n, text);
        if (target.isEmpty())
            return false;
        const QByteArray infoName = target + kInfoSuffix;
        if (renameNoReplace(folderFd, name.constData(), trash.files.get(), target.constData()) != 0) {
            const int err = errno;
            ::unlinkat(trash.info.get(), infoName.constData(), 0);
            if (err == EEXIST)
                continue;  // an item without a record holds that name
            errno = err;
            return false;
        }
        // The rename took whatever the name denoted at that moment.
        struct statx moved;
        if (statOf(trash.files.get(), target.constData(), AT_SYMLINK_NOFOLLOW, moved)
            && identityOfStat(moved) == expected)
            return true;
        // Something put in the item's place after the check went instead:
        // it goes back. Should that fail it keeps its record, so that it can
        // still be restored from the trash.
        if (::renameat2(trash.files.get(), target.constData(), folderFd, name.constData(), RENAME_NOREPLACE) == 0)
            ::unlinkat(trash.info.get(), infoName.constData(), 0);
        errno = ESTALE;
        return false;
    }
    return false;
}

}  // namespace detail

bool moveToTrash(const QString& drivePath)
{
    TreeEntry e;
    TreeError error = TreeError::None;
    const auto folder = TreeFolder::openParent(drivePath, e, error);
    return folder && folder->trashEntry(e);
}

}  // namespace plat

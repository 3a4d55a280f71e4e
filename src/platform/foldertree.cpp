// Folder trees taken apart through open folder handles (openat, fstatat,
// unlinkat), never following a link and never stepping onto another file
// system or mount.
#include "platform/foldertree.h"
#include "platform/cleanpath.h"
#include "platform/drives.h"
#include "platform/fileops_p.h"
#include "platform/findfile_p.h"
#include "platform/foldertree_p.h"

#include <QFile>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace plat {

namespace detail {

bool statAt(int fd, const char* name, struct statx& st)
{
    return statx(fd, name, AT_SYMLINK_NOFOLLOW | AT_NO_AUTOMOUNT, kTreeStatxMask, &st) == 0;
}

bool statFd(int fd, struct statx& st)
{
    return statx(fd, "", AT_EMPTY_PATH, kTreeStatxMask, &st) == 0;
}

TreeError errorOfOpen(int fd, const char* name, int err)
{
    if (err == ELOOP || err == ENOTDIR) {
        struct statx st;
        if (statAt(fd, name, st) && S_ISLNK(st.stx_mode))
            return TreeError::IsLink;
        return err == ELOOP ? TreeError::IsLink : TreeError::NotFolder;
    }
    if (err == ENOENT)
        return TreeError::NotFound;
    if (err == EACCES || err == EPERM)
        return TreeError::Denied;
    return TreeError::Failed;
}

int openFolderAt(int fd, const char* name)
{
    return ::openat(fd, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY);
}

}  // namespace detail

namespace {

using detail::errorOfOpen;
using detail::openFolderAt;
using detail::Place;
using detail::statAt;
using detail::statFd;
constexpr unsigned kMask = detail::kTreeStatxMask;

bool isDotName(const char* n)
{
    return n[0] == '.' && (n[1] == 0 || (n[1] == '.' && n[2] == 0));
}

QString joined(const QString& folder, const QString& name)
{
    return folder.endsWith(u'\\') ? folder + name : folder + u'\\' + name;
}

}  // namespace

QString treeErrorText(TreeError error)
{
    switch (error) {
    case TreeError::None: return QString();
    case TreeError::BadPath: return QStringLiteral("it is not a full folder path");
    case TreeError::NotFound: return QStringLiteral("it does not exist");
    case TreeError::IsLink: return QStringLiteral("it is a symbolic link or lies behind one");
    case TreeError::NotFolder: return QStringLiteral("it is not a folder");
    case TreeError::OtherFileSystem: return QStringLiteral("it lies on another file system than its drive");
    case TreeError::DriveRoot: return QStringLiteral("it is the root of a drive");
    case TreeError::Denied: return QStringLiteral("access is denied");
    case TreeError::Failed: break;
    }
    return QStringLiteral("it cannot be opened");
}

bool liesInside(const QString& drivePath, const QString& folder)
{
    const auto file = toPosix(drivePath);
    const auto top = toPosix(folder);
    if (!file || !top)
        return false;
    char buf[PATH_MAX];
    if (!realpath(top->constData(), buf))
        return false;
    QByteArray topReal(buf);
    // The file's folder must exist for anything to be written there; the
    // file itself may not exist yet.
    const int slash = file->lastIndexOf('/');
    const QByteArray parent = slash <= 0 ? QByteArray("/") : file->left(slash);
    if (!realpath(parent.constData(), buf))
        return false;
    QByteArray at(buf);
    if (!at.endsWith('/'))
        at += '/';
    if (!topReal.endsWith('/'))
        topReal += '/';
    return at.startsWith(topReal);
}

struct TreeFolder::Impl {
    // One descriptor per open folder: the stream reads the entries, and its
    // descriptor serves every *at call, so a deep tree costs one a level.
    // The stream is made by the first next(): a folder opened only to reach
    // one file of it never lists anything.
    DIR* dir = nullptr;
    int fd = -1;
    Place place;
    struct statx self {};

    ~Impl()
    {
        if (dir)
            closedir(dir);
        else if (fd >= 0)
            ::close(fd);
    }
};

std::unique_ptr<TreeFolder> TreeFolder::adopt(std::unique_ptr<Impl> impl, const QString& path, TreeError& error)
{
    std::unique_ptr<TreeFolder> folder(new TreeFolder);
    folder->d = std::move(impl);
    folder->path_ = path;
    error = TreeError::None;
    return folder;
}

TreeFolder::~TreeFolder() = default;

bool detail::splitDrivePath(const QString& drivePath, SplitPath& out)
{
    if (drivePath.size() < 2 || drivePath[1] != u':')
        return false;
    out.drive = driveFor(drivePath[0]);
    const QStringView rest = QStringView(drivePath).mid(2);
    if (!out.drive || (!rest.isEmpty() && rest[0] != u'\\'))
        return false;
    // One backslash after the letter and one at the end are spelling; any
    // other empty part is a doubled backslash, and like "." and ".." it
    // would let a path name a file by another text than the one checked.
    QStringView inner = rest;
    if (inner.startsWith(u'\\'))
        inner = inner.mid(1);
    if (inner.endsWith(u'\\'))
        inner.chop(1);
    out.parts.clear();
    out.names.clear();
    out.posixLength = out.drive->mountPoint.size();
    const QList<QStringView> split = inner.isEmpty() ? QList<QStringView>() : inner.split(u'\\');
    for (QStringView c : split) {
        if (c.isEmpty() || c == u"." || c == u"..")
            return false;
        const QByteArray raw = QFile::encodeName(c.toString());
        if (!isRepresentableName(raw) || raw.contains('/'))
            return false;
        out.parts << raw;
        out.names << c.toString();
        out.posixLength += (out.posixLength == 1 ? 0 : 1) + raw.size();  // "/" is the only root ending in '/'
    }
    return true;
}

int detail::openDriveRoot(const Drive& drive, struct statx& st, TreeError& error)
{
    // The drive root is configuration, not content: it is followed.
    const int fd = ::open(drive.mountPoint.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        error = errorOfOpen(AT_FDCWD, drive.mountPoint.constData(), errno);
        return -1;
    }
    if (!statFd(fd, st)) {
        ::close(fd);
        error = TreeError::Failed;
        return -1;
    }
    return fd;
}

int detail::stepInto(int at, const QByteArray& part, const Place& drive, struct statx& st, TreeError& error)
{
    const int fd = openFolderAt(at, part.constData());
    if (fd < 0) {
        error = errorOfOpen(at, part.constData(), errno);
        return -1;
    }
    if (!statFd(fd, st)) {
        ::close(fd);
        error = TreeError::Failed;
        return -1;
    }
    if (!Place::of(st).sameAs(drive)) {
        ::close(fd);
        error = TreeError::OtherFileSystem;
        return -1;
    }
    return fd;
}

bool detail::openFromDriveRoot(const QString& drivePath, OpenedFolder& out, TreeError& error)
{
    error = TreeError::BadPath;
    SplitPath split;
    if (!splitDrivePath(drivePath, split))
        return false;
    struct statx st;
    int fd = openDriveRoot(*split.drive, st, error);
    if (fd < 0)
        return false;
    const Place drivePlace = Place::of(st);
    for (const QByteArray& part : split.parts) {
        const int sub = stepInto(fd, part, drivePlace, st, error);
        ::close(fd);
        if (sub < 0)
            return false;
        fd = sub;
    }
    out.fd = fd;
    out.self = st;
    out.drive = drivePlace;
    out.path = QString(drivePath[0]) + QStringLiteral(":\\") + split.names.join(u'\\');
    out.posixLength = split.posixLength;
    error = TreeError::None;
    return true;
}

std::unique_ptr<TreeFolder> TreeFolder::open(const QString& drivePath, TreeError& error)
{
    detail::OpenedFolder opened;
    if (!detail::openFromDriveRoot(drivePath, opened, error))
        return nullptr;
    auto impl = std::make_unique<Impl>();
    impl->fd = opened.fd;
    impl->place = opened.drive;
    impl->self = opened.self;
    return adopt(std::move(impl), opened.path, error);
}

std::unique_ptr<TreeFolder> TreeFolder::openParent(const QString& drivePath, TreeEntry& entry, TreeError& error)
{
    error = TreeError::BadPath;
    const qsizetype cut = drivePath.lastIndexOf(u'\\');
    // Only the one spelling the Safe Harbor saw may be acted on; a drive
    // root has no folder to hold it.
    if (cut < 2 || cut + 1 >= drivePath.size() || cleanDrivePath(drivePath) != drivePath)
        return nullptr;
    auto folder = open(drivePath.left(cut == 2 ? 3 : cut), error);
    if (!folder)
        return nullptr;
    if (!folder->lookup(drivePath.mid(cut + 1), entry)) {
        error = TreeError::NotFound;
        return nullptr;
    }
    return folder;
}

const TreeFolder* ParentFolderCache::openParent(const QString& drivePath, TreeEntry& entry, TreeError& error)
{
    const qsizetype cut = drivePath.lastIndexOf(u'\\');
    const QStringView folder = QStringView(drivePath).left(qMax<qsizetype>(cut, 0));
    if (folder_ && cut > 2 && folder == path_ && cleanDrivePath(drivePath) == drivePath) {
        if (folder_->lookup(drivePath.mid(cut + 1), entry)) {
            error = TreeError::None;
            return folder_.get();
        }
        error = TreeError::NotFound;
        return nullptr;
    }
    folder_ = TreeFolder::openParent(drivePath, entry, error);
    path_ = folder_ ? folder.toString() : QString();
    return folder_.get();
}

int TreeFolder::fd() const
{
    return d->fd;
}

FindData TreeFolder::self() const
{
    FindData out;
    detail::fillFromStatx(d->self, faDirectory, out);
    out.name = path_.mid(path_.lastIndexOf(u'\\') + 1);
    return out;
}

bool TreeFolder::next(TreeEntry& out)
{
    if (!d->dir && !(d->dir = fdopendir(d->fd)))
        return false;
    while (dirent* e = readdir(d->dir)) {
        const char* raw = e->d_name;
        if (isDotName(raw))
            continue;
        const QByteArray name = QByteArray::fromRawData(raw, qsizetype(strlen(raw)));
        if (!isRepresentableName(name)) {
            ++skipped_;
            continue;
        }
        struct statx st;
        if (!statAt(d->fd, raw, st))
            continue;  // gone since the folder was read
        detail::fillFromStatx(st, detail::attributesOf(st, raw[0] == '.'), out.data);
        out.name = QFile::decodeName(name);
        out.data.name = out.name;
        out.path = joined(path_, out.name);
        return true;
    }
    return false;
}

bool TreeFolder::lookup(const QString& name, TreeEntry& out) const
{
    const QByteArray raw = QFile::encodeName(name);
    if (name.isEmpty() || raw.contains('/') || isDotName(raw.constData()))
        return false;
    struct statx st;
    if (!statAt(d->fd, raw.constData(), st))
        return false;
    detail::fillFromStatx(st, detail::attributesOf(st, raw.startsWith('.')), out.data);
    out.name = name;
    out.data.name = name;
    out.path = joined(path_, name);
    return true;
}

bool TreeFolder::stillSame(const TreeEntry& e) const
{
    struct statx st;
    if (!statAt(d->fd, QFile::encodeName(e.name).constData(), st))
        return false;
    const bool isDir = S_ISDIR(st.stx_mode);
    const bool isLink = S_ISLNK(st.stx_mode);
    return quint64(makedev(st.stx_dev_major, st.stx_dev_minor)) == e.data.device && st.stx_ino == e.data.inode
           && isDir == e.isFolder() && isLink == e.isLink();
}

std::unique_ptr<TreeFolder> TreeFolder::openSub(const TreeEntry& e, TreeError& error) const
{
    if (e.isLink()) {
        error = TreeError::IsLink;
        return nullptr;
    }
    if (!e.isFolder()) {
        error = TreeError::NotFolder;
        return nullptr;
    }
    const QByteArray raw = QFile::encodeName(e.name);
    const int fd = openFolderAt(d->fd, raw.constData());
    if (fd < 0) {
        error = errorOfOpen(d->fd, raw.constData(), errno);
        return nullptr;
    }
    struct statx st;
    if (!statFd(fd, st)) {
        ::close(fd);
        error = TreeError::Failed;
        return nullptr;
    }
    if (!Place::of(st).sameAs(d->place)) {
        ::close(fd);
        error = TreeError::OtherFileSystem;
        return nullptr;
    }
    // Another folder put in the place of the one listed is not walked.
    if (quint64(makedev(st.stx_dev_major, st.stx_dev_minor)) != e.data.device || st.stx_ino != e.data.inode) {
        ::close(fd);
        error = TreeError::NotFound;
        return nullptr;
    }
    auto impl = std::make_unique<Impl>();
    impl->fd = fd;
    impl->place = d->place;
    impl->self = st;
    return adopt(std::move(impl), e.path, error);
}

bool TreeFolder::removeEntry(const TreeEntry& e) const
{
    if (e.isFolder() || !stillSame(e)) {
        errno = e.isFolder() ? EISDIR : ESTALE;
        return false;
    }
    return ::unlinkat(d->fd, QFile::encodeName(e.name).constData(), 0) == 0;
}

bool TreeFolder::removeEntryIfUnchanged(const TreeEntry& e, const FileIdentity& read, qint64 size,
                                        qint64 mtimeNs) const
{
    if (e.isFolder() || e.isLink() || identityOf(e) != read)
        return false;
    // One look at what the name denotes in this very folder, right before
    // the unlink: the listed file, the file that was read, unchanged.
    const QByteArray raw = QFile::encodeName(e.name);
    struct statx st;
    if (!statAt(d->fd, raw.constData(), st) || !S_ISREG(st.stx_mode))
        return false;
    const FileIdentity now{quint64(makedev(st.stx_dev_major, st.stx_dev_minor)), st.stx_ino};
    const qint64 mtime = qint64(st.stx_mtime.tv_sec) * 1'000'000'000LL + st.stx_mtime.tv_nsec;
    if (now != identityOf(e) || now != read || qint64(st.stx_size) != size || mtime != mtimeNs) {
        errno = ESTALE;
        return false;
    }
    return ::unlinkat(d->fd, raw.constData(), 0) == 0;
}

bool TreeFolder::removeSubfolder(const TreeEntry& e) const
{
    if (!e.isFolder() || !stillSame(e)) {
        errno = e.isFolder() ? ESTALE : ENOTDIR;
        return false;
    }
    return ::unlinkat(d->fd, QFile::encodeName(e.name).constData(), AT_REMOVEDIR) == 0;
}

bool TreeFolder::clearReadOnly(const TreeEntry& e) const
{
    return !e.isFolder() && setOwnerWrite(e, true);
}

bool TreeFolder::setOwnerWrite(const TreeEntry& e, bool writable) const
{
    if (e.isLink() || !stillSame(e))
        return false;
    const QByteArray raw = QFile::encodeName(e.name);
    struct statx st;
    if (!statAt(d->fd, raw.constData(), st))
        return false;
    const mode_t was = st.stx_mode & 07777;
    const mode_t mode = writable ? (was | S_IWUSR) : (was & ~mode_t(S_IWUSR));
    if (mode == was)
        return true;
    // With AT_SYMLINK_NOFOLLOW the C library changes the entry through an
    // O_PATH handle, so a link put in its place is not followed.
    if (::fchmodat(d->fd, raw.constData(), mode, AT_SYMLINK_NOFOLLOW) == 0)
        return true;
    if (!S_ISREG(st.stx_mode) && !S_ISDIR(st.stx_mode))
        return false;
    // Without /proc that route is closed: change the entry through a handle
    // of its own, opened without following a link.
    const int fd = ::openat(d->fd, raw.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct statx opened;
    const bool same = statFd(fd, opened) && opened.stx_ino == st.stx_ino
                      && (opened.stx_mode & S_IFMT) == (st.stx_mode & S_IFMT);
    const bool ok = same && ::fchmod(fd, mode) == 0;
    ::close(fd);
    return ok;
}

bool TreeFolder::pathIdentity(const TreeEntry& e, FileIdentity& out) const
{
    const auto posix = toPosix(e.path);
    if (!posix)
        return false;
    struct statx st;
    if (statx(AT_FDCWD, posix->constData(), AT_SYMLINK_NOFOLLOW | AT_NO_AUTOMOUNT, kMask, &st) != 0)
        return false;
    out = {quint64(makedev(st.stx_dev_major, st.stx_dev_minor)), st.stx_ino};
    return true;
}

bool TreeFolder::pathLeadsTo(const TreeEntry& e) const
{
    FileIdentity byPath;
    return stillSame(e) && pathIdentity(e, byPath) && byPath == identityOf(e);
}

bool TreeFolder::trashEntry(const TreeEntry& e) const
{
    // The trash records the entry's path for a later restore: that path
    // must still lead to the entry this handle listed.
    if (!pathLeadsTo(e))
        return false;
    return detail::trashAt(d->fd, QFile::encodeName(e.name), identityOf(e), e.path);
}

}  // namespace plat

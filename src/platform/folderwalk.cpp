// The walk of a folder tree through open folder handles.
#include "platform/folderwalk.h"
#include "platform/cleanpath.h"
#include "platform/findfile_p.h"
#include "platform/foldertree_p.h"

#include <QFile>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstddef>
#include <dirent.h>
#include <fcntl.h>
#include <linux/magic.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

namespace plat {

namespace {

std::atomic<quint64> g_folderReads{0};

// Opened folders are checked with a stat of "." rather than of the handle:
// looking a name up needs search permission, so a folder that could be
// opened for reading but not entered fails here as it would for chdir.
bool statEntered(int fd, struct statx& st)
{
    return detail::statAt(fd, ".", st);
}

// The longest record getdents64 gives: its fixed part, a name of NAME_MAX
// bytes and its terminator, rounded up to 8 bytes.
constexpr size_t kLongestRecord = (offsetof(dirent64, d_name) + NAME_MAX + 1 + 7) & ~size_t(7);

// File systems whose directory read fills the caller's buffer until it is
// full or the folder has no more entries (ext2/3/4, tmpfs, XFS, Btrfs).
// Others (network and FUSE file systems among them) may return part of
// what fits, so their folders are read until a read returns nothing.
bool FillsWholeBatches(int fd)
{
    struct statfs fs;
    if (fstatfs(fd, &fs) != 0)
        return false;
    switch (static_cast<unsigned long>(fs.f_type)) {
    case EXT4_SUPER_MAGIC:  // ext2 and ext3 share it
    case TMPFS_MAGIC:
    case XFS_SUPER_MAGIC:
    case BTRFS_SUPER_MAGIC:
        return true;
    default:
        return false;
    }
}

// QFile::encodeName, without the conversion for the plain ASCII names
// that most folders have.
QByteArray EncodeName(const QString& name)
{
    QByteArray raw(name.size(), Qt::Uninitialized);
    char* out = raw.data();
    for (QChar c : name) {
        if (c.unicode() >= 0x80)
            return QFile::encodeName(name);
        *out++ = char(c.unicode());
    }
    return raw;
}

}  // namespace

bool WalkContext::enter(const FileIdentity& id)
{
    return seen_.insert(id).second;
}

quint64 folderReads()
{
    return g_folderReads.load(std::memory_order_relaxed);
}

WalkFolder::~WalkFolder()
{
    if (fd_ >= 0)
        ::close(fd_);
}

std::unique_ptr<WalkFolder> WalkFolder::openRoot(const QString& drivePath, const WalkOptions& options,
                                                 TreeError& error)
{
    // A root is a folder the user typed or picked, so any spelling of it
    // is taken; the folders below it are reached by handle, not by text.
    detail::OpenedFolder opened;
    if (!detail::openFromDriveRoot(cleanDrivePath(drivePath), opened, error))
        return nullptr;
    struct statx st;
    if (!statEntered(opened.fd, st) || opened.posixLength > kMaxWalkPath) {
        error = opened.posixLength > kMaxWalkPath ? TreeError::BadPath
                : errno == EACCES || errno == EPERM ? TreeError::Denied
                                                     : TreeError::Failed;
        ::close(opened.fd);
        return nullptr;
    }
    std::unique_ptr<WalkFolder> f(new WalkFolder);
    f->fd_ = opened.fd;
    f->identity_ = detail::identityOf(st);
    f->rootDevice_ = f->identity_.device;
    f->mountId_ = opened.drive.mountId;
    f->hasMountId_ = opened.drive.hasMountId;
    f->posixLength_ = opened.posixLength;
    f->wholeBatches_ = FillsWholeBatches(opened.fd);
    f->options_ = options;
    f->path_ = opened.path;
    f->path_[0] = f->path_[0].toUpper();
    return f;
}

QString WalkFolder::childPath(const QString& name) const
{
    QString path;
    path.reserve(path_.size() + 1 + name.size());
    path += path_;
    if (!path_.endsWith(u'\\'))
        path += u'\\';
    path += name;
    return path;
}

void WalkFolder::refuse()
{
    refused_ = true;
    unconfirmed_ = false;
    entries_.clear();
    tooLong_.clear();
    boundInodes_.clear();
}

bool WalkFolder::confirmByStat()
{
    unconfirmed_ = false;
    struct statx st;
    const detail::Place root{dev_t(rootDevice_), mountId_, hasMountId_};
    if (statEntered(fd_, st) && detail::identityOf(st) == identity_ && detail::Place::of(st).sameAs(root))
        return true;
    refuse();
    return false;
}

void WalkFolder::read()
{
    entries_.clear();
    tooLong_.clear();
    boundInodes_.clear();
    if (fd_ < 0 || refused_)
        return;
    g_folderReads.fetch_add(1, std::memory_order_relaxed);
    const bool wantHidden = options_.hidden;
    const bool wantSystem = options_.system;
    const bool wantFileNames = options_.fileNames;
    // "/" is the only folder whose POSIX path ends in a separator.
    const qsizetype base = posixLength_ + (posixLength_ == 1 ? 0 : 1);
    const detail::Place root{dev_t(rootDevice_), mountId_, hasMountId_};
    // Whether the folder's "." entry names the inode that was listed.
    bool dotIsListed = false;
    alignas(dirent64) char buffer[32768];
    for (;;) {
        const ssize_t n = ::getdents64(fd_, buffer, sizeof buffer);
        if (n <= 0)
            break;  // the end, or a folder that went away while read
        // Room for every entry of this batch at once, rather than growing
        // (and moving the records) entry by entry.
        // While the folder is unconfirmed, find its "." here: folders read
        // in hash order (ext4) give it anywhere in the batch.
        size_t batch = 0;
        for (ssize_t at = 0; at < n;) {
            const auto* e = reinterpret_cast<const dirent64*>(buffer + at);
            at += e->d_reclen;
            ++batch;
            if (unconfirmed_ && e->d_name[0] == '.' && e->d_name[1] == 0 && e->d_ino == identity_.inode)
                dotIsListed = true;
        }
        entries_.reserve(entries_.size() + batch);
        for (ssize_t at = 0; at < n;) {
            const auto* e = reinterpret_cast<const dirent64*>(buffer + at);
            at += e->d_reclen;
            const char* raw = e->d_name;
            if (detail::isDotName(raw))
                continue;
            const bool hidden = raw[0] == '.';
            // Name and entry type spare a statx for what is never listed.
            if ((hidden && !wantHidden) || e->d_type == DT_LNK)
                continue;
            size_t len = 0;
            bool ascii = true;
            if (!detail::checkName(raw, len, ascii))
                continue;
            struct statx st;
            if (statx(fd_, raw, AT_SYMLINK_NOFOLLOW | AT_NO_AUTOMOUNT, detail::kTreeStatxMask, &st) != 0) {
                // A folder that may be read but not searched refuses every
                // name: the stat of the folder tells.
                if (unconfirmed_ && errno == EACCES && !confirmByStat())
                    return;
                continue;  // gone since the folder was read, or not ours to see
            }
            const detail::Place place = detail::Place::of(st);
            if (unconfirmed_) {
                // A child that is no mount point lies on its folder's mount,
                // and on that file system the inode names the folder; a
                // child that is a mount point leaves it to the stat.
                if (!(dotIsListed && place.sameAs(root)) && !confirmByStat())
                    return;
                unconfirmed_ = false;
            }
            const quint32 attributes = detail::attributesOf(st, hidden);
            if ((attributes & faReparse) || ((attributes & faSystem) && !wantSystem))
                continue;
            if ((attributes & faDirectory) && place.dev == dev_t(rootDevice_) && !place.sameAs(root))
                boundInodes_.push_back(st.stx_ino);
            FindData& out = entries_.emplace_back();
            detail::fillFromStatx(st, attributes, out);
            if (wantFileNames || (attributes & faDirectory))
                detail::assignName(out.name, raw, len, ascii);
            if (base + qsizetype(len) > kMaxWalkPath) {
                detail::assignName(out.name, raw, len, ascii);
                tooLong_ << childPath(out.name);
                entries_.pop_back();
            }
        }
        if (wholeBatches_ && size_t(n) + kLongestRecord <= sizeof buffer)
            break;
    }
    if (unconfirmed_)
        confirmByStat();
}

std::unique_ptr<WalkFolder> WalkFolder::openSub(const FindData& entry) const
{
    if (fd_ < 0 || !(entry.attributes & faDirectory) || (entry.attributes & faReparse))
        return nullptr;
    // Listed on another file system, or as a bind mount of this one.
    if (entry.device != rootDevice_
        || std::find(boundInodes_.begin(), boundInodes_.end(), entry.inode) != boundInodes_.end())
        return nullptr;
    const QByteArray raw = EncodeName(entry.name);
    const int fd = detail::openFolderAt(fd_, raw.constData());
    if (fd < 0)
        return nullptr;
    std::unique_ptr<WalkFolder> f(new WalkFolder);
    f->fd_ = fd;
    f->identity_ = FileIdentity{entry.device, entry.inode};
    f->rootDevice_ = rootDevice_;
    f->mountId_ = mountId_;
    f->hasMountId_ = hasMountId_;
    // Another folder put in the place of the one listed is not walked, nor
    // is a folder on another mount: told by the folder's read where its
    // file system allows, else by its stat now.
    if (wholeBatches_)
        f->unconfirmed_ = true;
    else if (!f->confirmByStat())
        return nullptr;
    f->posixLength_ = posixLength_ + (posixLength_ == 1 ? 0 : 1) + raw.size();
    f->wholeBatches_ = wholeBatches_;  // a walk stays on its root's mount
    f->options_ = options_;
    f->path_ = childPath(entry.name);
    return f;
}

void WalkFolder::park()
{
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
}

bool WalkFolder::unpark(const WalkFolder& sub)
{
    if (fd_ >= 0)
        return true;
    if (sub.fd_ < 0)
        return false;
    const int fd = detail::openFolderAt(sub.fd_, "..");
    if (fd < 0)
        return false;
    struct statx st;
    if (!statEntered(fd, st) || detail::identityOf(st) != identity_) {
        ::close(fd);
        return false;
    }
    fd_ = fd;
    return true;
}

namespace {

void walkFolder(WalkFolder& folder, int depth, WalkContext& context, WalkVisitor& visitor)
{
    if (visitor.aborted() || !context.enter(folder.identity()))
        return;
    folder.read();
    if (!folder.entered())
        return;
    for (const QString& path : folder.tooLong())
        visitor.leftOut(path);
    visitor.enterFolder(folder);
    bool first = true;
    for (const FindData& e : folder.entries()) {
        if (!(e.attributes & faDirectory) || !visitor.walkInto(e))
            continue;
        if (visitor.aborted())
            break;
        if (auto sub = folder.openSub(e)) {
            const bool park = depth + 1 >= folder.options().openFolders;
            if (park)
                folder.park();
            walkFolder(*sub, depth + 1, context, visitor);
            // A folder that cannot be taken back has moved away from under
            // the walk: the rest of its sub-folders are not walked.
            if (park && !folder.unpark(*sub))
                break;
        }
        if (!first)
            visitor.pump();
        first = false;
    }
    visitor.leaveFolder(folder);
}

}  // namespace

void walkTree(WalkFolder& root, WalkContext& context, WalkVisitor& visitor)
{
    walkFolder(root, 0, context, visitor);
}

}  // namespace plat

#include "platform/folderchain.h"
#include "platform/foldertree_p.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace plat {

namespace {
// Folder handles kept at most (besides the drive root's).
constexpr qsizetype kMostKept = 128;
}  // namespace

struct FolderChain::Place {
    detail::Place place;
};

FolderChain::FolderChain() : drivePlace_(std::make_unique<Place>()) {}

FolderChain::~FolderChain()
{
    forgetAll();
}

void FolderChain::forgetAll()
{
    for (const Kept& k : kept_)
        ::close(k.fd);
    kept_.clear();
    byPath_.clear();
    if (rootFd_ >= 0)
        ::close(rootFd_);
    rootFd_ = -1;
    lastFd_ = -1;
    letter_ = QChar();
}

int FolderChain::keep(const QString& path, int fd)
{
    kept_.push_front({path, fd});
    byPath_.insert(path, kept_.begin());
    // The least recently used go; never the ones of the folder being
    // opened, which are the newest.
    while (kept_.size() > size_t(kMostKept)) {
        byPath_.remove(kept_.back().path);
        ::close(kept_.back().fd);
        kept_.pop_back();
    }
    return fd;
}

int FolderChain::open(const QString& drivePath, TreeError& error)
{
    // The files of one folder come in a row.
    if (lastFd_ >= 0 && drivePath == lastPath_) {
        error = TreeError::None;
        return lastFd_;
    }
    lastFd_ = -1;
    error = TreeError::BadPath;
    detail::SplitPath split;
    if (!detail::splitDrivePath(drivePath, split))
        return -1;
    if (split.drive->letter != letter_)
        forgetAll();
    if (rootFd_ < 0) {
        struct statx st;
        rootFd_ = detail::openDriveRoot(*split.drive, st, error);
        if (rootFd_ < 0)
            return -1;
        drivePlace_->place = detail::Place::of(st);
        letter_ = split.drive->letter;
    }
    // Each folder on the way by its components joined: the same text
    // whatever spelling of the path was asked for.
    const qsizetype depth = split.names.size();
    QStringList prefixes;
    prefixes.reserve(depth);
    QString prefix;
    for (const QString& name : split.names) {
        prefix += u'\\';
        prefix += name;
        prefixes << prefix;
    }
    // The deepest folder kept.
    qsizetype have = depth;
    int at = rootFd_;
    while (have > 0) {
        const auto it = byPath_.constFind(prefixes[have - 1]);
        if (it != byPath_.constEnd()) {
            kept_.splice(kept_.begin(), kept_, *it);
            at = (*it)->fd;
            break;
        }
        --have;
    }
    for (qsizetype k = have; k < depth; ++k) {
        struct statx st;
        const int fd = detail::stepInto(at, split.parts[k], drivePlace_->place, st, error);
        if (fd < 0)
            return -1;
        at = keep(prefixes[k], fd);
    }
    lastPath_ = drivePath;
    lastFd_ = at;
    error = TreeError::None;
    return at;
}

}  // namespace plat

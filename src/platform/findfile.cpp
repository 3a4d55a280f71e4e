// Folder enumeration: one getdents pass per folder and one statx per entry,
// relative to the folder's descriptor, never following a link.
#include "platform/findfile.h"
#include "platform/drives.h"
#include "platform/drives_p.h"
#include "platform/findfile_p.h"
#include "platform/wildcard_p.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace plat {

// Seconds from 1601-01-01 to 1970-01-01.
constexpr qint64 kEpochDelta = 11644473600LL;

FileTime unixToFileTime(qint64 seconds, qint64 nanoseconds)
{
    const qint64 s = seconds + kEpochDelta;
    if (s < 0)
        return 0;  // before 1601: no such file time
    if (s > qint64(0x7fffffffffffffffLL / 10'000'000LL) - 1)
        return 0xffffffffffffffffULL;
    return FileTime(s) * 10'000'000ULL + FileTime(nanoseconds / 100);
}

namespace detail {

quint32 attributesOf(const struct statx& st, bool hiddenName)
{
    quint32 a = hiddenName ? faHidden : 0;
    const mode_t mode = st.stx_mode;
    if (S_ISLNK(mode))
        return a | faReparse;  // a link is only a link, never a folder
    if (S_ISDIR(mode))
        a |= faDirectory;
    else if (!S_ISREG(mode))
        a |= faSystem;  // device, FIFO, socket
    if (!(mode & S_IWUSR))
        a |= faReadOnly;
    return a;
}

void fillFromStatx(const struct statx& st, quint32 attributes, FindData& out)
{
    out.attributes = attributes;
    out.lastWriteTime = unixToFileTime(st.stx_mtime.tv_sec, st.stx_mtime.tv_nsec);
    // A write is an access too, but with relatime or noatime the system does
    // not record it so: the later of the two is the last access.
    out.lastAccessTime = std::max(out.lastWriteTime, unixToFileTime(st.stx_atime.tv_sec, st.stx_atime.tv_nsec));
    out.creationTime = (st.stx_mask & STATX_BTIME) ? unixToFileTime(st.stx_btime.tv_sec, st.stx_btime.tv_nsec) : 0;
    // Only a regular file has a size of contents; folders, links and devices have none.
    const quint64 size = S_ISREG(st.stx_mode) ? st.stx_size : 0;
    out.sizeHigh = quint32(size >> 32);
    out.sizeLow = quint32(size);
    out.device = makedev(st.stx_dev_major, st.stx_dev_minor);
    out.inode = st.stx_ino;
    out.linkCount = st.stx_nlink;
    out.owner = st.stx_uid;
}


bool statxPath(const QByteArray& posix, bool followLast, struct statx& out)
{
    const int flags = AT_NO_AUTOMOUNT | (followLast ? 0 : AT_SYMLINK_NOFOLLOW);
    return statx(AT_FDCWD, posix.constData(), flags, kStatxMask, &out) == 0;
}

void assignName(QString& dst, const char* raw, size_t len, bool ascii)
{
    if (!ascii) {
        dst = QFile::decodeName(QByteArray::fromRawData(raw, qsizetype(len)));
        return;
    }
    dst.resize(qsizetype(len));
    QChar* d = dst.data();
    for (size_t i = 0; i < len; ++i)
        d[i] = QChar(char16_t(static_cast<unsigned char>(raw[i])));
}

bool checkName(const char* raw, size_t& len, bool& ascii)
{
    ascii = true;
    size_t i = 0;
    for (; raw[i]; ++i) {
        const auto c = static_cast<unsigned char>(raw[i]);
        if (c < 0x20 || c == 0x7f || c == '\\')
            return false;
        if (c >= 0x80)
            ascii = false;
    }
    len = i;
    return ascii || isRepresentableName(QByteArray::fromRawData(raw, qsizetype(len)));
}

}  // namespace detail

namespace {

using detail::isDotName;

// The device of each drive root, remembered until the drive table changes.
dev_t rootDevice(const detail::Resolved& r, bool& ok)
{
    struct Cache {
        quint64 generation = ~0ULL;
        QChar letter;
        dev_t dev = 0;
    };
    thread_local Cache cache;
    const quint64 gen = detail::driveTableGeneration();
    if (cache.generation == gen && cache.letter == r.letter) {
        ok = true;
        return cache.dev;
    }
    struct statx st;
    ok = detail::statxPath(r.mountPoint, true, st);
    if (!ok)
        return 0;
    cache = {gen, r.letter, makedev(st.stx_dev_major, st.stx_dev_minor)};
    return cache.dev;
}

constexpr quint32 kSpecial = faHidden | faSystem | faDirectory | faReparse;

}  // namespace

struct FolderEnum::Impl {
    DIR* dir = nullptr;
    int fd = -1;
    quint32 mask = 0;
    detail::WildcardPattern pattern;
    bool atRoot = false;
    int dotStage = 0;  // 0: "." next, 1: ".." next, 2: directory entries
    struct statx self {};
    QString scratch;  // name buffer for pattern tests

    ~Impl() { close(); }

    void close()
    {
        if (dir)
            closedir(dir);  // also closes fd
        else if (fd >= 0)
            ::close(fd);
        dir = nullptr;
        fd = -1;
    }

    bool wants(quint32 attributes) const { return (attributes & kSpecial & ~mask) == 0; }

    bool dotEntry(const char* name, FindData& out)
    {
        if (!(mask & faDirectory))
            return false;
        const QString n = QString::fromLatin1(name);
        if (!pattern.matches(n))
            return false;
        struct statx st;
        if (name[1] == 0)
            st = self;
        else if (statx(fd, name, AT_SYMLINK_NOFOLLOW | AT_NO_AUTOMOUNT, detail::kStatxMask, &st) != 0)
            return false;
        // Dot entries are plain folders: no hidden bit from their name.
        detail::fillFromStatx(st, faDirectory, out);
        out.name = n;
        return true;
    }

    bool next(FindData& out)
    {
        if (!dir)
            return false;
        if (dotStage < 2 && !atRoot) {
            while (dotStage < 2) {
                const char* name = dotStage == 0 ? "." : "..";
                ++dotStage;
                if (dotEntry(name, out))
                    return true;
            }
        }
        dotStage = 2;
        const int dfd = fd;
        while (dirent* e = readdir(dir)) {
            const char* raw = e->d_name;
            if (isDotName(raw))
                continue;
            const bool hidden = raw[0] == '.';
            if (hidden && !(mask & faHidden))
                continue;
            // The directory entry type spares a statx for what the mask refuses.
            if (e->d_type == DT_LNK && !(mask & faReparse))
                continue;
            if (e->d_type == DT_DIR && !(mask & faDirectory))
                continue;
            size_t len = 0;
            bool ascii = true;
            if (!detail::checkName(raw, len, ascii))
                continue;
            if (!pattern.matchesAll()) {
                detail::assignName(scratch, raw, len, ascii);
                if (!pattern.matches(scratch))
                    continue;
            }
            struct statx st;
            if (statx(dfd, raw, AT_SYMLINK_NOFOLLOW | AT_NO_AUTOMOUNT, detail::kStatxMask, &st) != 0)
                continue;  // gone since the folder was read, or not ours to see
            const quint32 attributes = detail::attributesOf(st, hidden);
            if (!wants(attributes))
                continue;
            detail::fillFromStatx(st, attributes, out);
            if (pattern.matchesAll())
                detail::assignName(out.name, raw, len, ascii);
            else
                out.name = scratch;
            return true;
        }
        return false;
    }
};

FolderEnum::FolderEnum() : d(std::make_unique<Impl>()) {}
FolderEnum::~FolderEnum() = default;

void FolderEnum::close()
{
    d->close();
}

bool FolderEnum::findFirst(const QString& pattern, quint32 mask, FindData& out)
{
    d->close();
    lastError_ = 0;
    const qsizetype slash = pattern.lastIndexOf(u'\\');
    const QString namePattern = slash < 0 ? QString() : pattern.mid(slash + 1);
    if (slash < 2 || namePattern.isEmpty()) {
        lastError_ = ENOENT;
        return false;
    }
    const auto folder = detail::resolve(pattern.left(slash));
    if (!folder) {
        lastError_ = ENOENT;
        return false;
    }
    // The last component must be a real folder, not a link to one; the
    // drive root is taken as configured.
    const int flags = O_RDONLY | O_DIRECTORY | O_CLOEXEC | (folder->isRoot ? 0 : O_NOFOLLOW);
    d->fd = ::open(folder->posix.constData(), flags);
    if (d->fd < 0) {
        lastError_ = errno == ELOOP ? ENOTDIR : errno;
        return false;
    }
    if (statx(d->fd, "", AT_EMPTY_PATH, detail::kStatxMask, &d->self) != 0) {
        lastError_ = errno;
        d->close();
        return false;
    }
    const dev_t dev = makedev(d->self.stx_dev_major, d->self.stx_dev_minor);
    bool rootOk = false;
    const dev_t root = rootDevice(*folder, rootOk);
    if (!rootOk || dev != root) {
        lastError_ = rootOk ? EXDEV : ENOENT;
        d->close();
        return false;
    }
    d->dir = fdopendir(d->fd);
    if (!d->dir) {
        lastError_ = errno;
        d->close();
        return false;
    }
    d->mask = mask;
    d->pattern = detail::WildcardPattern(namePattern);
    d->atRoot = folder->isRoot;
    d->dotStage = 0;
    if (!d->next(out)) {
        lastError_ = ENOENT;
        d->close();
        return false;
    }
    return true;
}

bool FolderEnum::findNext(FindData& out)
{
    if (d->next(out))
        return true;
    d->close();
    return false;
}

bool statPath(const QString& drivePath, FindData& out)
{
    const auto r = detail::resolve(drivePath);
    if (!r)
        return false;
    struct statx st;
    if (!detail::statxPath(r->posix, r->isRoot, st))
        return false;
    const QByteArray raw = r->isRoot ? QByteArray() : r->posix.mid(r->posix.lastIndexOf('/') + 1);
    detail::fillFromStatx(st, detail::attributesOf(st, raw.startsWith('.')), out);
    out.name = QFile::decodeName(raw);
    return true;
}

quint32 currentUserId()
{
    return ::geteuid();
}

}  // namespace plat

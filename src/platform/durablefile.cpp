// Files and folders whose writes must be known to have reached the disk, and
// folder-relative operations that never follow a link.
#include "platform/durablefile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace plat {

namespace {

QString errnoText(int err)
{
    return QString::fromLocal8Bit(std::strerror(err));
}

FileStamp stampOf(const struct stat& st)
{
    FileStamp s;
    s.device = st.st_dev;
    s.inode = st.st_ino;
    s.size = st.st_size;
    s.mtimeNs = qint64(st.st_mtim.tv_sec) * 1'000'000'000LL + st.st_mtim.tv_nsec;
    return s;
}

int flagsFor(DurableFile::Mode mode)
{
    // O_NONBLOCK: opening a FIFO or a device swapped in for the file must
    // not wait; it is cleared again once the file is known to be regular.
    const int common = O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK;
    switch (mode) {
    case DurableFile::Mode::Read: return O_RDONLY | common;
    case DurableFile::Mode::Update: return O_RDWR | common;
    case DurableFile::Mode::CreateNew: return O_RDWR | O_CREAT | O_EXCL | common;
    }
    return O_RDONLY | common;
}

}  // namespace

bool stampOfRegularFile(const QByteArray& posixPath, FileStamp* out)
{
    struct stat st;
    if (::lstat(posixPath.constData(), &st) != 0 || !S_ISREG(st.st_mode))
        return false;
    *out = stampOf(st);
    return true;
}

// ---------------------------------------------------------------- DurableFile

DurableFile::~DurableFile()
{
    close();
}

bool DurableFile::fail(int err)
{
    err_ = err;
    return false;
}

static bool finishOpen(int fd, int* err)
{
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        *err = EINVAL;
        return false;
    }
    const int fl = ::fcntl(fd, F_GETFL);
    if (fl >= 0)
        ::fcntl(fd, F_SETFL, fl & ~O_NONBLOCK);
    return true;
}

bool DurableFile::open(const QByteArray& posixPath, Mode mode)
{
    close();
    err_ = 0;
    path_ = posixPath;
    const int fd = ::open(posixPath.constData(), flagsFor(mode), 0666);
    if (fd < 0)
        return fail(errno);
    if (!finishOpen(fd, &err_)) {
        ::close(fd);
        return false;
    }
    fd_ = fd;
    pos_ = 0;
    return true;
}

bool DurableFile::openAt(const FolderHandle& folder, const QByteArray& name, Mode mode)
{
    close();
    err_ = 0;
    path_ = name;
    if (!folder.isOpen() || name.isEmpty() || name.contains('/'))
        return fail(EINVAL);
    const int fd = ::openat(folder.fd(), name.constData(), flagsFor(mode), 0666);
    if (fd < 0)
        return fail(errno);
    if (!finishOpen(fd, &err_)) {
        ::close(fd);
        return false;
    }
    fd_ = fd;
    pos_ = 0;
    return true;
}

bool DurableFile::openAnonymousAt(const FolderHandle& folder)
{
    close();
    err_ = 0;
    path_.clear();
    if (!folder.isOpen())
        return fail(EINVAL);
    const int fd = ::openat(folder.fd(), ".", O_TMPFILE | O_RDWR | O_CLOEXEC, 0666);
    if (fd < 0)
        return fail(errno);
    fd_ = fd;
    pos_ = 0;
    return true;
}

bool DurableFile::linkAt(const FolderHandle& folder, const QByteArray& name)
{
    if (fd_ < 0)
        return fail(EBADF);
    if (!folder.isOpen() || name.isEmpty() || name.contains('/'))
        return fail(EINVAL);
    // Through /proc needs no privilege; AT_EMPTY_PATH (which needs
    // CAP_DAC_READ_SEARCH) only where /proc is not mounted.
    char proc[64];
    std::snprintf(proc, sizeof proc, "/proc/self/fd/%d", fd_);
    if (::linkat(AT_FDCWD, proc, folder.fd(), name.constData(), AT_SYMLINK_FOLLOW) == 0)
        return true;
    if (errno != ENOENT)
        return fail(errno);
    if (::linkat(fd_, "", folder.fd(), name.constData(), AT_EMPTY_PATH) == 0)
        return true;
    return fail(errno);
}

void DurableFile::close()
{
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
}

qint64 DurableFile::readAt(qint64 offset, char* buffer, qint64 len)
{
    if (fd_ < 0)
        return fail(EBADF), -1;
    for (;;) {
        const ssize_t n = ::pread(fd_, buffer, size_t(len), off_t(offset));
        if (n >= 0)
            return n;
        if (errno != EINTR)
            return fail(errno), -1;
    }
}

bool DurableFile::readFullyAt(qint64 offset, char* buffer, qint64 len)
{
    while (len > 0) {
        const qint64 n = readAt(offset, buffer, len);
        if (n < 0)
            return false;
        if (n == 0)
            return fail(EIO);  // short file
        offset += n;
        buffer += n;
        len -= n;
    }
    return true;
}

qint64 DurableFile::read(char* buffer, qint64 len)
{
    const qint64 n = readAt(pos_, buffer, len);
    if (n > 0)
        pos_ += n;
    return n;
}

bool DurableFile::writeAt(qint64 offset, const char* data, qint64 len)
{
    if (fd_ < 0)
        return fail(EBADF);
    while (len > 0) {
        const ssize_t n = ::pwrite(fd_, data, size_t(len), off_t(offset));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return fail(errno);
        }
        if (n == 0)
            return fail(ENOSPC);
        offset += n;
        data += n;
        len -= n;
    }
    return true;
}

bool DurableFile::truncate(qint64 size)
{
    if (fd_ < 0)
        return fail(EBADF);
    return ::ftruncate(fd_, off_t(size)) == 0 || fail(errno);
}

bool DurableFile::sync()
{
    if (fd_ < 0)
        return fail(EBADF);
    return ::fsync(fd_) == 0 || fail(errno);
}

bool DurableFile::syncFolder()
{
    QByteArray folder = path_;
    const int slash = folder.lastIndexOf('/');
    folder = slash < 0 ? QByteArray(".") : slash == 0 ? QByteArray("/") : folder.left(slash);
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return fail(errno);
    const bool ok = ::fsync(fd) == 0 || errno == EINVAL;  // some file systems cannot sync folders
    const int e = errno;
    ::close(fd);
    return ok || fail(e);
}

bool DurableFile::setModified(qint64 secondsSinceEpoch)
{
    if (fd_ < 0)
        return fail(EBADF);
    struct timespec times[2];
    times[0].tv_sec = 0;
    times[0].tv_nsec = UTIME_OMIT;
    times[1].tv_sec = time_t(secondsSinceEpoch);
    times[1].tv_nsec = 0;
    return ::futimens(fd_, times) == 0 || fail(errno);
}

FileStamp DurableFile::stamp() const
{
    struct stat st;
    if (fd_ < 0 || ::fstat(fd_, &st) != 0)
        return {};
    return stampOf(st);
}

DurableFile::LockResult DurableFile::lockExclusive()
{
    if (fd_ < 0)
        return fail(EBADF), LockResult::Failed;
    int rc = -1;
#ifdef F_OFD_SETLK
    struct flock fl {};
    fl.l_type = F_WRLCK;
    fl.l_whence = SEEK_SET;
    fl.l_start = 0;
    fl.l_len = 0;  // the whole file, however long it grows
    do
        rc = ::fcntl(fd_, F_OFD_SETLK, &fl);
    while (rc != 0 && errno == EINTR);
    if (rc == 0)
        return LockResult::Locked;
    if (errno != EINVAL) {
        const int e = errno;
        fail(e);
        return e == EAGAIN || e == EACCES ? LockResult::Busy : LockResult::Failed;
    }
    // EINVAL: a kernel without open file description locks.
#endif
    do
        rc = ::flock(fd_, LOCK_EX | LOCK_NB);
    while (rc != 0 && errno == EINTR);
    if (rc == 0)
        return LockResult::Locked;
    const int e = errno;
    fail(e);
    return e == EWOULDBLOCK ? LockResult::Busy : LockResult::Failed;
}

QString DurableFile::errorText() const
{
    return err_ == 0 ? QString() : errnoText(err_);
}

// --------------------------------------------------------------- FolderHandle

FolderHandle::~FolderHandle()
{
    if (fd_ >= 0)
        ::close(fd_);
}

FolderHandle::FolderHandle(FolderHandle&& o) noexcept : fd_(o.fd_), err_(o.err_)
{
    o.fd_ = -1;
}

FolderHandle& FolderHandle::operator=(FolderHandle&& o) noexcept
{
    if (this != &o) {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = o.fd_;
        err_ = o.err_;
        o.fd_ = -1;
    }
    return *this;
}

bool FolderHandle::open(const QByteArray& posixPath)
{
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = ::open(posixPath.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    err_ = fd_ < 0 ? errno : 0;
    return fd_ >= 0;
}

bool FolderHandle::openChild(const FolderHandle& parent, const QByteArray& name, bool create)
{
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
    if (!parent.isOpen() || name.isEmpty() || name.contains('/') || name == "." || name == "..") {
        err_ = EINVAL;
        return false;
    }
    if (create && ::mkdirat(parent.fd(), name.constData(), 0777) != 0 && errno != EEXIST) {
        err_ = errno;
        return false;
    }
    // O_NOFOLLOW with O_DIRECTORY: a link (even to a folder) gives ELOOP or
    // ENOTDIR, so a folder swapped for a link is never entered.
    fd_ = ::openat(parent.fd(), name.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    err_ = fd_ < 0 ? errno : 0;
    return fd_ >= 0;
}

bool FolderHandle::exists(const QByteArray& name) const
{
    struct stat st;
    if (::fstatat(fd_, name.constData(), &st, AT_SYMLINK_NOFOLLOW) == 0)
        return true;
    err_ = errno;
    return errno != ENOENT;  // an error other than "missing" counts as taken
}

bool FolderHandle::stampOfRegularFile(const QByteArray& name, FileStamp* out) const
{
    struct stat st;
    if (::fstatat(fd_, name.constData(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
        err_ = errno;
        return false;
    }
    if (!S_ISREG(st.st_mode))
        return false;
    *out = stampOf(st);
    return true;
}

FileStamp FolderHandle::stamp() const
{
    struct stat st;
    if (fd_ < 0 || ::fstat(fd_, &st) != 0)
        return {};
    return stampOf(st);
}

QList<QByteArray> FolderHandle::names() const
{
    QList<QByteArray> out;
    // fdopendir takes the descriptor over: hand it a copy of ours.
    const int fd = fd_ < 0 ? -1 : ::fcntl(fd_, F_DUPFD_CLOEXEC, 0);
    DIR* dir = fd < 0 ? nullptr : ::fdopendir(fd);
    if (!dir) {
        err_ = errno;
        if (fd >= 0)
            ::close(fd);
        return out;
    }
    ::rewinddir(dir);  // the copy shares its position with ours
    while (const dirent* e = ::readdir(dir)) {
        const QByteArray name(e->d_name);
        if (name != "." && name != "..")
            out << name;
    }
    ::closedir(dir);
    return out;
}

bool FolderHandle::renameNoReplace(const QByteArray& from, const QByteArray& to)
{
    if (::renameat2(fd_, from.constData(), fd_, to.constData(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS) {
        err_ = errno;
        return false;
    }
    // File systems without RENAME_NOREPLACE: a hard link fails on an
    // existing name just the same; then drop the temporary name.
    if (::linkat(fd_, from.constData(), fd_, to.constData(), 0) != 0) {
        err_ = errno;
        return false;
    }
    ::unlinkat(fd_, from.constData(), 0);
    return true;
}

bool FolderHandle::removeFile(const QByteArray& name)
{
    if (::unlinkat(fd_, name.constData(), 0) == 0)
        return true;
    err_ = errno;
    return false;
}

QString FolderHandle::errorText() const
{
    return err_ == 0 ? QString() : errnoText(err_);
}

}  // namespace plat

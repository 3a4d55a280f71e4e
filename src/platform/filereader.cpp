// The one reader of file contents.
#include "platform/filereader.h"
#include "platform/cleanpath.h"
#include "platform/foldertree.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
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
    return {quint64(st.st_dev), quint64(st.st_ino), qint64(st.st_size),
            qint64(st.st_mtim.tv_sec) * 1'000'000'000LL + st.st_mtim.tv_nsec};
}

}  // namespace

RegularFileReader::~RegularFileReader()
{
    close();
}

bool RegularFileReader::open(const QString& drivePath, ParentFolderCache* folders)
{
    close();
    error_.clear();
    TreeEntry e;
    TreeError error = TreeError::None;
    ParentFolderCache own;
    const TreeFolder* folder = (folders ? *folders : own).openParent(cleanDrivePath(drivePath), e, error);
    if (!folder) {
        // The common cases read as the system words them elsewhere.
        error_ = error == TreeError::BadPath    ? QStringLiteral("Not a file path: %1").arg(drivePath)
                 : error == TreeError::NotFound ? errnoText(ENOENT)
                 : error == TreeError::Denied   ? errnoText(EACCES)
                                                : QStringLiteral("Cannot open %1: %2").arg(drivePath, treeErrorText(error));
        return false;
    }
    return openIn(folder->fd(), QFile::encodeName(e.name), nullptr, drivePath);
}

bool RegularFileReader::openAt(const TreeFolder& folder, const TreeEntry& entry)
{
    close();
    error_.clear();
    FileStamp listed;
    listed.device = entry.data.device;
    listed.inode = entry.data.inode;
    return openIn(folder.fd(), QFile::encodeName(entry.name), &listed, entry.path);
}

bool RegularFileReader::openPosix(const QByteArray& posixPath)
{
    close();
    error_.clear();
    const qsizetype slash = posixPath.lastIndexOf('/');
    const QByteArray name = posixPath.mid(slash + 1);
    const QByteArray folder = slash < 0 ? QByteArray(".") : slash == 0 ? QByteArray("/") : posixPath.left(slash);
    const QString shown = QFile::decodeName(posixPath);
    if (name.isEmpty() || name == "." || name == "..") {
        error_ = QStringLiteral("Not a file path: %1").arg(shown);
        return false;
    }
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        error_ = errnoText(errno);
        return false;
    }
    const bool ok = openIn(fd, name, nullptr, shown);
    ::close(fd);
    return ok;
}

bool RegularFileReader::openIn(int folderFd, const QByteArray& name, const FileStamp* expected, const QString& shown)
{
    // Look before opening: opening a device or a FIFO can have effects of
    // its own (a tape rewinds, a FIFO waits for a writer).
    struct stat before;
    if (::fstatat(folderFd, name.constData(), &before, AT_SYMLINK_NOFOLLOW) != 0) {
        error_ = errnoText(errno);
        return false;
    }
    if (!S_ISREG(before.st_mode)) {
        error_ = QStringLiteral("Not a regular file: %1").arg(shown);
        return false;
    }
    if (expected && !stampOf(before).sameFile(*expected)) {
        error_ = QStringLiteral("Not the file that was listed: %1").arg(shown);
        return false;
    }
    // O_NONBLOCK keeps the open from waiting should the name have been
    // given to a FIFO since; O_NOFOLLOW refuses a link put in its place.
    const int fd = ::openat(folderFd, name.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        error_ = errno == ELOOP ? QStringLiteral("Not a regular file: %1").arg(shown) : errnoText(errno);
        return false;
    }
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || !stampOf(st).sameFile(stampOf(before))) {
        error_ = QStringLiteral("Not a regular file: %1").arg(shown);
        ::close(fd);
        return false;
    }
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags >= 0)
        ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    ::posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);
    fd_ = fd;
    opened_ = stampOf(st);
    size_ = st.st_size;
    pos_ = 0;
    return true;
}

FileStamp RegularFileReader::stampNow() const
{
    struct stat st;
    if (fd_ < 0 || ::fstat(fd_, &st) != 0)
        return {};
    return stampOf(st);
}

qint64 RegularFileReader::read(char* buffer, qint64 max)
{
    if (fd_ < 0)
        return -1;
    // Never beyond the size at open: a file that grows while it is read
    // (a log) must not make the reader run on.
    const qint64 want = qMin(max, size_ - pos_);
    if (want <= 0)
        return 0;
    qint64 got = 0;
    while (got < want) {
        const ssize_t n = ::pread(fd_, buffer + got, size_t(want - got), off_t(pos_ + got));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            if (got > 0)
                break;
            error_ = errnoText(errno);
            return -1;
        }
        if (n == 0)
            break;  // the file shrank
        got += n;
    }
    pos_ += got;
    return got;
}

bool RegularFileReader::seek(qint64 offset)
{
    if (fd_ < 0 || offset < 0 || offset > size_)
        return false;
    pos_ = offset;
    return true;
}

void RegularFileReader::close()
{
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
    size_ = 0;
    pos_ = 0;
    opened_ = {};
}

bool stampOfDriveFile(const QString& drivePath, FileStamp* out, ParentFolderCache* folders)
{
    TreeEntry e;
    TreeError error = TreeError::None;
    ParentFolderCache own;
    const TreeFolder* folder = (folders ? *folders : own).openParent(cleanDrivePath(drivePath), e, error);
    struct stat st;
    if (!folder || ::fstatat(folder->fd(), QFile::encodeName(e.name).constData(), &st, AT_SYMLINK_NOFOLLOW) != 0
        || !S_ISREG(st.st_mode))
        return false;
    *out = stampOf(st);
    return true;
}

}  // namespace plat

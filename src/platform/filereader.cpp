// The one reader of file contents.
#include "platform/filereader.h"
#include "platform/drives_p.h"

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

}  // namespace

RegularFileReader::~RegularFileReader()
{
    close();
}

bool RegularFileReader::open(const QString& drivePath)
{
    close();
    error_.clear();
    const auto r = detail::resolve(drivePath);
    if (!r || r->isRoot) {
        error_ = QStringLiteral("Not a file path: %1").arg(drivePath);
        return false;
    }
    return openResolved(r->posix, drivePath);
}

bool RegularFileReader::openPosix(const QByteArray& posixPath)
{
    close();
    error_.clear();
    if (!posixPath.startsWith('/')) {
        error_ = QStringLiteral("Not a file path: %1").arg(QFile::decodeName(posixPath));
        return false;
    }
    return openResolved(posixPath, QFile::decodeName(posixPath));
}

bool RegularFileReader::openResolved(const QByteArray& posix, const QString& shownName)
{
    // Look before opening: opening a device or a FIFO can have effects of
    // its own (a tape rewinds, a FIFO waits for a writer).
    struct stat before;
    if (::lstat(posix.constData(), &before) != 0) {
        error_ = errnoText(errno);
        return false;
    }
    if (!S_ISREG(before.st_mode)) {
        error_ = QStringLiteral("Not a regular file: %1").arg(shownName);
        return false;
    }
    // O_NONBLOCK keeps the open from waiting should the path have been
    // swapped for a FIFO since; O_NOFOLLOW refuses a swapped-in link.
    const int fd = ::open(posix.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        error_ = errno == ELOOP ? QStringLiteral("Not a regular file: %1").arg(shownName) : errnoText(errno);
        return false;
    }
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        error_ = QStringLiteral("Not a regular file: %1").arg(shownName);
        ::close(fd);
        return false;
    }
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags >= 0)
        ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    ::posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);
    fd_ = fd;
    size_ = st.st_size;
    pos_ = 0;
    mtimeNs_ = qint64(st.st_mtim.tv_sec) * 1'000'000'000LL + st.st_mtim.tv_nsec;
    return true;
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
    mtimeNs_ = 0;
}

}  // namespace plat

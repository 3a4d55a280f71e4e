#include "util.h"

#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace platform_test {

QMap<QString, plat::FindData> collect(const QString& pattern, quint32 mask, int* error)
{
    QMap<QString, plat::FindData> out;
    plat::FolderEnum e;
    plat::FindData fd;
    if (e.findFirst(pattern, mask, fd)) {
        do
            out.insert(fd.name, fd);
        while (e.findNext(fd));
    }
    if (error)
        *error = e.lastError();
    return out;
}

bool touchRaw(const QByteArray& posixPath)
{
    const int fd = ::open(posixPath.constData(), O_CREAT | O_WRONLY | O_CLOEXEC, 0644);
    if (fd < 0)
        return false;
    ::close(fd);
    return true;
}

bool makeSparse(const QByteArray& posixPath, qint64 size)
{
    const int fd = ::open(posixPath.constData(), O_CREAT | O_WRONLY | O_CLOEXEC, 0644);
    if (fd < 0)
        return false;
    const bool ok = ::ftruncate(fd, size) == 0;
    ::close(fd);
    return ok;
}

}  // namespace platform_test

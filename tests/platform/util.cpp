#include "util.h"

#include <cstring>
#include <fcntl.h>
#include <linux/capability.h>
#include <sys/syscall.h>
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

// Capabilities are per thread on Linux; the raw system calls change only
// the calling thread, which is all a test needs.
NoDacOverride::NoDacOverride()
{
    if (::geteuid() != 0) {
        ok_ = true;  // permission bits already apply
        return;
    }
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct data[2];
    if (::syscall(SYS_capget, &header, data) != 0)
        return;
    std::memcpy(saved_, data, sizeof data);
    data[0].effective &= ~((1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH));
    header = {_LINUX_CAPABILITY_VERSION_3, 0};
    changed_ = ok_ = ::syscall(SYS_capset, &header, data) == 0;
}

NoDacOverride::~NoDacOverride()
{
    if (!changed_)
        return;
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct data[2];
    std::memcpy(data, saved_, sizeof data);
    ::syscall(SYS_capset, &header, data);
}

}  // namespace platform_test

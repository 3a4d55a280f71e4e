// Open and mapped files, read from the process file system.
#include "platform/openfiles.h"

#include <QByteArray>
#include <QFile>

#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <functional>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>
#include <unordered_set>

namespace plat {

namespace {

bool isPid(const char* name)
{
    if (!*name)
        return false;
    for (const char* p = name; *p; ++p)
        if (*p < '0' || *p > '9')
            return false;
    return true;
}

// Each descriptor entry is a link to what the process holds; following it
// stats the very file, even one that has been renamed since.
template <typename Add>
void readDescriptors(int pidFd, Add add)
{
    const int fdDir = ::openat(pidFd, "fd", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fdDir < 0)
        return;
    DIR* d = ::fdopendir(fdDir);
    if (!d) {
        ::close(fdDir);
        return;
    }
    while (const dirent* e = ::readdir(d)) {
        if (!isPid(e->d_name))
            continue;
        struct stat st;
        if (::fstatat(fdDir, e->d_name, &st, 0) == 0 && S_ISREG(st.st_mode))
            add(st.st_dev, st.st_ino);
    }
    ::closedir(d);
}

// A mapping line: "start-end perms offset major:minor inode   path".
// The device there is the file system's own, which on some file systems
// differs from what stat reports for the file; so each mapped path is also
// statted, once per scan however many processes map it.
void readMappings(int pidFd, std::unordered_set<std::string>& paths,
                  const std::function<void(quint64, quint64)>& add)
{
    const int fd = ::openat(pidFd, "maps", O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return;
    FILE* f = ::fdopen(fd, "r");
    if (!f) {
        ::close(fd);
        return;
    }
    char* line = nullptr;
    size_t cap = 0;
    ssize_t len;
    while ((len = ::getline(&line, &cap, f)) > 0) {
        unsigned major = 0, minor = 0;
        unsigned long long inode = 0;
        int pathAt = 0;
        if (std::sscanf(line, "%*s %*s %*s %x:%x %llu %n", &major, &minor, &inode, &pathAt) < 3 || inode == 0)
            continue;
        add(makedev(major, minor), inode);
        std::string path(line + pathAt, size_t(len - pathAt));
        while (!path.empty() && path.back() == '\n')
            path.pop_back();
        // A file removed while mapped has no path left to stat.
        if (!path.empty() && path.front() == '/' && !path.ends_with(" (deleted)"))
            paths.insert(std::move(path));
    }
    std::free(line);
    std::fclose(f);
}

}  // namespace

OpenFiles OpenFiles::read(const QString& procRoot)
{
    OpenFiles result;
    const auto add = [&result](quint64 device, quint64 inode) { result.add(device, inode); };
    const int procFd = ::open(QFile::encodeName(procRoot).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (procFd < 0)
        return result;
    DIR* proc = ::fdopendir(procFd);
    if (!proc) {
        ::close(procFd);
        return result;
    }
    std::unordered_set<std::string> mappedPaths;
    const std::function<void(quint64, quint64)> addMapped = add;
    while (const dirent* e = ::readdir(proc)) {
        if (!isPid(e->d_name))
            continue;
        // A process that ends meanwhile just stops answering.
        const int pidFd = ::openat(procFd, e->d_name, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (pidFd < 0)
            continue;
        readDescriptors(pidFd, add);
        readMappings(pidFd, mappedPaths, addMapped);
        ::close(pidFd);
    }
    ::closedir(proc);
    for (const std::string& path : mappedPaths) {
        struct stat st;
        if (::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode))
            result.add(st.st_dev, st.st_ino);
    }
    return result;
}

bool OpenFiles::holds(quint64 device, quint64 inode) const
{
    return held_.contains(Id{device, inode});
}

}  // namespace plat

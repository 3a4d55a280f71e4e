#include "platform/browsercaches.h"

#include "platform/drives.h"
#include "platform/environment.h"

#include <QDir>
#include <QFile>

#include <algorithm>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

namespace plat {

namespace {

bool IsRealFolder(const QByteArray& path)
{
    struct stat st;
    return ::lstat(path.constData(), &st) == 0 && S_ISDIR(st.st_mode);
}

// base/rel when base and every folder of rel below it is a folder, not a link.
bool FolderChain(const QByteArray& base, const QByteArray& rel, QByteArray& out)
{
    out = base;
    if (!IsRealFolder(out))
        return false;
    for (const QByteArray& part : rel.split('/')) {
        out += '/' + part;
        if (!IsRealFolder(out))
            return false;
    }
    return true;
}

// The sub-folders of a folder (no links, no dot entries), in name order.
QList<QByteArray> SubFolders(const QByteArray& folder)
{
    QList<QByteArray> names;
    DIR* dir = ::opendir(folder.constData());
    if (!dir)
        return names;
    while (const dirent* e = ::readdir(dir)) {
        const QByteArray name(e->d_name);
        if (name == "." || name == "..")
            continue;
        struct stat st;
        if (::fstatat(::dirfd(dir), e->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISDIR(st.st_mode))
            names << name;
    }
    ::closedir(dir);
    std::sort(names.begin(), names.end());
    return names;
}

void Add(QStringList& out, const QByteArray& posix)
{
    const auto drivePath = toDrivePath(posix);
    if (drivePath && !out.contains(*drivePath))
        out << *drivePath;
}

// The browsers' cache folders below one cache home.
void CollectBelow(const QByteArray& cacheHome, QStringList& out)
{
    QByteArray firefox;
    if (FolderChain(cacheHome, "mozilla/firefox", firefox)) {
        for (const QByteArray& profile : SubFolders(firefox)) {
            QByteArray entries;
            if (FolderChain(firefox + '/' + profile, "cache2/entries", entries))
                Add(out, entries);
        }
    }
    static const char* const kChromiumFamily[] = {"chromium", "google-chrome", "BraveSoftware/Brave-Browser",
                                                  "microsoft-edge", "vivaldi"};
    for (const char* browser : kChromiumFamily) {
        QByteArray base;
        if (!FolderChain(cacheHome, browser, base))
            continue;
        for (const QByteArray& profile : SubFolders(base)) {
            QByteArray cache;
            if (FolderChain(base + '/' + profile, "Cache/Cache_Data", cache)
                || FolderChain(base + '/' + profile, "Cache", cache))
                Add(out, cache);
        }
    }
}

}  // namespace

QStringList browserCacheFolders()
{
    QStringList out;
    CollectBelow(QFile::encodeName(cacheHomePosix()), out);
    const QByteArray home = QFile::encodeName(QDir::cleanPath(QDir::homePath()));
    QByteArray apps;
    if (FolderChain(home, ".var/app", apps)) {
        for (const QByteArray& id : SubFolders(apps)) {
            QByteArray cacheHome;
            if (FolderChain(apps + '/' + id, "cache", cacheHome))
                CollectBelow(cacheHome, out);
        }
    }
    QByteArray snaps;
    if (FolderChain(home, "snap", snaps)) {
        for (const QByteArray& name : SubFolders(snaps)) {
            QByteArray cacheHome;
            if (FolderChain(snaps + '/' + name, "common/.cache", cacheHome))
                CollectBelow(cacheHome, out);
        }
    }
    return out;
}

}  // namespace plat

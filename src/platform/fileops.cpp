// File operations on drive paths. Every call looks at the path itself
// (lstat semantics); a link is acted on as a link.
#include "platform/fileops.h"
#include "platform/drives.h"
#include "platform/drives_p.h"
#include "platform/findfile.h"
#include "platform/findfile_p.h"
#include "platform/foldertree.h"

#include <QFile>
#include <QMutex>
#include <QMutexLocker>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace plat {

namespace {

// statx of a drive path; the drive root is followed, anything below is not.
bool statDrivePath(const QString& drivePath, struct statx& st, detail::Resolved* resolved = nullptr)
{
    const auto r = detail::resolve(drivePath);
    if (!r) {
        errno = ENOENT;
        return false;
    }
    if (resolved)
        *resolved = *r;
    return detail::statxPath(r->posix, r->isRoot, st);
}

QString g_currentFolder;
QMutex g_currentMutex;

}  // namespace

bool deleteFile(const QString& drivePath)
{
    TreeEntry e;
    TreeError error = TreeError::None;
    const auto folder = TreeFolder::openParent(drivePath, e, error);
    if (!folder)
        return false;
    if (e.isFolder()) {
        errno = EISDIR;
        return false;
    }
    return folder->removeEntry(e);
}

bool removeFolder(const QString& drivePath)
{
    TreeEntry e;
    TreeError error = TreeError::None;
    const auto folder = TreeFolder::openParent(drivePath, e, error);
    if (!folder)
        return false;
    if (!e.isFolder()) {
        errno = ENOTDIR;
        return false;
    }
    return folder->removeSubfolder(e);
}

quint32 fileAttributes(const QString& drivePath)
{
    detail::Resolved r;
    struct statx st;
    if (!statDrivePath(drivePath, st, &r))
        return faInvalid;
    const bool hidden = !r.isRoot && r.posix.mid(r.posix.lastIndexOf('/') + 1).startsWith('.');
    return detail::attributesOf(st, hidden);
}

bool setFileAttributes(const QString& drivePath, quint32 attributes)
{
    TreeEntry e;
    TreeError error = TreeError::None;
    const auto folder = TreeFolder::openParent(drivePath, e, error);
    if (!folder)
        return false;
    if (e.isLink())
        return true;  // a link has no permissions of its own to change
    return folder->setOwnerWrite(e, !(attributes & faReadOnly));
}

bool fileExists(const QString& drivePath)
{
    struct statx st;
    return statDrivePath(drivePath, st) && S_ISREG(st.stx_mode);
}

bool folderExists(const QString& drivePath)
{
    struct statx st;
    return statDrivePath(drivePath, st) && S_ISDIR(st.stx_mode);
}

void setCurrentFolder(const QString& drivePath)
{
    if (!folderExists(drivePath))
        throw IoError("I/O error 3");  // the path was not found
    QString folder = drivePath;
    // Keep "C:\" for a root, drop a trailing backslash elsewhere.
    while (folder.size() > 3 && folder.endsWith(u'\\'))
        folder.chop(1);
    if (folder.size() == 2)
        folder += u'\\';
    folder[0] = folder[0].toUpper();
    QMutexLocker lock(&g_currentMutex);
    g_currentFolder = folder;
}

QString currentFolder()
{
    QMutexLocker lock(&g_currentMutex);
    if (g_currentFolder.isEmpty()) {
        char buf[4096];
        if (::getcwd(buf, sizeof buf)) {
            if (const auto p = toDrivePath(QByteArray(buf)))
                return *p;
        }
        return driveRoot(u'C');
    }
    return g_currentFolder;
}

}  // namespace plat

#include "finders/folderrefusal.h"

#include "platform/cleanpath.h"
#include "platform/environment.h"
#include "platform/mountpoint.h"

namespace finders {

namespace {

// "c:\x" and "C:\x" name the same folder; the rest keeps its case, as the
// file system does.
QString Normalised(const QString& folder)
{
    QString path = plat::cleanDrivePath(folder.trimmed());
    if (path.size() >= 2 && path[1] == u':')
        path[0] = path[0].toUpper();
    return path;
}

bool IsWindowsName(const QString& path)
{
    const QString upper = path.toUpper();
    if (upper.size() == 10 && upper.mid(1) == QLatin1String(":\\WINDOWS"))
        return true;
    if (upper.size() < 8 || upper.size() > 10)
        return false;
    const QString head = upper.mid(1, 7);
    return head == QLatin1String(":\\WIN95") || head == QLatin1String(":\\WIN98") || head == QLatin1String(":\\WINNT");
}

}  // namespace

FolderRefusal RefuseFolder(const QString& folder, const QStringList& systemTrees)
{
    const QString path = Normalised(folder);
    if (path.size() <= 3 || plat::isMountPoint(path))
        return FolderRefusal::Root;
    if (IsWindowsName(path))
        return FolderRefusal::Windows;
    const QString below = path + u'\\';
    for (const QString& tree : systemTrees) {
        const QString t = Normalised(tree);
        if (t == path || t.startsWith(below))
            return FolderRefusal::Windows;
    }
    return FolderRefusal::None;
}

FolderRefusal RefuseFolder(const QString& folder)
{
    return RefuseFolder(folder, plat::systemTrees());
}

}  // namespace finders

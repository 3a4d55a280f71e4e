// The process environment in drive form.
#include "platform/environment.h"
#include "platform/drives.h"

#include <QDir>
#include <QFile>

#include <sys/stat.h>

namespace plat {

namespace {

// An XDG variable when it holds an absolute path (relative ones are to be
// ignored), else the default below the home folder.
QString xdgFolder(const char* variable, const char* homeRelative)
{
    const QString value = qEnvironmentVariable(variable);
    if (value.startsWith(u'/'))
        return QDir::cleanPath(value);
    return QDir::cleanPath(QDir::homePath() + u'/' + QLatin1String(homeRelative));
}

}  // namespace

QString searchPathText()
{
    QStringList out;
    for (const QByteArray& entry : qgetenv("PATH").split(':')) {
        if (entry.isEmpty())
            continue;  // an empty entry means the current folder; not a drive path
        if (const auto p = toDrivePath(entry))
            out << *p;
    }
    return out.join(u';');
}

namespace {
const char* const kSystemTrees[] = {"/usr", "/etc", "/boot", "/bin", "/sbin", "/lib",
                                    "/lib32", "/lib64", "/opt", "/var/lib", "/snap"};
}  // namespace

QStringList systemTrees()
{
    QStringList out;
    for (const char* t : kSystemTrees) {
        // lstat: /bin is often a link to /usr/bin and is still a system tree
        // under its own name.
        struct stat st;
        if (::lstat(t, &st) != 0)
            continue;
        if (const auto p = toDrivePath(QByteArray(t)))
            out << *p;
    }
    return out;
}

QStringList drivesInSystemTrees()
{
    QStringList out;
    for (const Drive& d : drives()) {
        for (const char* t : kSystemTrees) {
            const QByteArray tree(t);
            if (d.mountPoint == tree || d.mountPoint.startsWith(tree + '/')) {
                out << driveRoot(d.letter);
                break;
            }
        }
    }
    return out;
}

QString programFolderPosix()
{
    const QString home = qEnvironmentVariable("TROVIK_HOME");
    if (!home.isEmpty())
        return QDir::cleanPath(home);
    return xdgFolder("XDG_DATA_HOME", ".local/share") + "/Halvane/Trovik";
}

QString programFile(const QString& name)
{
    const QString folder = programFolderPosix();
    QDir().mkpath(folder);
    return folder + u'/' + name;
}

QString homeDrivePath()
{
    const QString home = QDir::homePath();
    if (const auto p = toDrivePath(QFile::encodeName(home)))
        return *p;
    return driveRoot(u'C');
}

QString configFile(const QString& name)
{
    return xdgFolder("XDG_CONFIG_HOME", ".config") + "/Halvane/" + name;
}

QString cacheHomePosix()
{
    return xdgFolder("XDG_CACHE_HOME", ".cache");
}

}  // namespace plat

namespace plat {

QString siteOverride()
{
    return qEnvironmentVariable("TROVIK_SITE").trimmed();
}

}  // namespace plat

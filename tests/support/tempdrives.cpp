#include "support/tempdrives.h"

#include "platform/drives.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <cstdio>
#include <cstdlib>
#include <ftw.h>

namespace testing_support {

namespace {

int removeEntry(const char* path, const struct stat*, int, struct FTW*)
{
    ::remove(path);
    return 0;
}

void removeRawTree(const QByteArray& path)
{
    ::nftw(path.constData(), removeEntry, 16, FTW_DEPTH | FTW_PHYS | FTW_MOUNT);
}

}  // namespace

TempDrives::TempDrives(const QString& letters, const QMap<QChar, QString>& kinds)
{
    QStringList entries;
    for (QChar l : letters) {
        const QChar up = l.toUpper();
        const QString path = dir_.path() + "/drive_" + QString(up).toLower();
        QDir().mkpath(path);
        QString entry = QString(up) + "=" + path;
        if (kinds.contains(up))
            entry += ":" + kinds.value(up);
        entries << entry;
    }
    QDir().mkpath(configHome());
    QDir().mkpath(programHome());
    QDir().mkpath(root() + "/home/.local/share");
    QDir().mkpath(root() + "/cache");
    setEnv("TROVIK_DRIVES", entries.join(';').toLocal8Bit());
    setEnv("XDG_CONFIG_HOME", configHome().toLocal8Bit());
    setEnv("XDG_DATA_HOME", (root() + "/home/.local/share").toLocal8Bit());
    setEnv("XDG_CACHE_HOME", (root() + "/cache").toLocal8Bit());
    setEnv("TROVIK_HOME", programHome().toLocal8Bit());
    setEnv("HOME", (root() + "/home").toLocal8Bit());
    plat::reloadDrives();
}

TempDrives::~TempDrives()
{
    for (auto& [name, value] : saved_) {
        if (value)
            qputenv(name.constData(), *value);
        else
            qunsetenv(name.constData());
    }
    plat::reloadDrives();
    // Lift any immutable bit a test left behind so the folder can go.
    // chattr complains about every link, FIFO and device it meets; only
    // its effect matters here.
    QProcess chattr;
    chattr.setStandardOutputFile(QProcess::nullDevice());
    chattr.setStandardErrorFile(QProcess::nullDevice());
    chattr.start("chattr", {"-R", "-i", dir_.path()});
    chattr.waitForFinished(10000);
    // Names that are not valid UTF-8 cannot be reached through QDir, so the
    // tree goes by its raw bytes before QTemporaryDir tries.
    removeRawTree(QFile::encodeName(dir_.path()));
}

void TempDrives::setEnv(const char* name, const QByteArray& value)
{
    if (!saved_.count(name))
        saved_[name] = qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name)) : std::nullopt;
    qputenv(name, value);
}

QString TempDrives::posix(QChar letter) const
{
    return dir_.path() + "/drive_" + QString(letter.toLower());
}

QString TempDrives::posix(const QString& drivePath) const
{
    const auto p = plat::toPosix(drivePath);
    return p ? QFile::decodeName(*p) : QString();
}

QString TempDrives::writeFile(QChar letter, const QString& relPath, const QByteArray& contents)
{
    const QString path = posix(letter) + "/" + relPath;
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(contents);
    return path;
}

QString TempDrives::makeFolder(QChar letter, const QString& relPath)
{
    const QString path = posix(letter) + "/" + relPath;
    QDir().mkpath(path);
    return path;
}

bool setImmutable(const QString& posixPath, bool on)
{
    QProcess p;
    p.start("chattr", {on ? "+i" : "-i", posixPath});
    if (!p.waitForFinished(5000))
        return false;
    return p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

bool immutableSupported(const QString& folder)
{
    const QString probe = folder + "/.immutable_probe";
    QFile f(probe);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    f.close();
    const bool ok = setImmutable(probe, true);
    setImmutable(probe, false);
    QFile::remove(probe);
    return ok;
}

}  // namespace testing_support

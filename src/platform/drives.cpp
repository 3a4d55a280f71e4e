// The drive table and the mapping between drive paths and POSIX paths.
#include "platform/drives.h"
#include "platform/drives_p.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QMap>
#include <QMutex>
#include <QMutexLocker>

#include <algorithm>
#include <atomic>
#include <climits>
#include <cstdlib>
#include <dirent.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace plat {

namespace {

constexpr int kMaxDrives = 24;  // C: .. Z:

QList<Drive>& table()
{
    static QList<Drive> t;
    return t;
}
bool g_loaded = false;
std::atomic<quint64> g_generation{0};
QMutex g_tableMutex;

// The last name of a POSIX path ("/mnt/usb" -> "usb", "/" -> "").
QString lastName(const QByteArray& path)
{
    const int slash = path.lastIndexOf('/');
    return QFile::decodeName(path.mid(slash + 1));
}

// Removes "." and empty components and resolves ".." textually, never above
// the root. The input must start with '/'.
QByteArray cleanPosix(const QByteArray& path)
{
    QList<QByteArray> parts;
    for (const QByteArray& c : path.split('/')) {
        if (c.isEmpty() || c == ".")
            continue;
        if (c == "..") {
            if (!parts.isEmpty())
                parts.removeLast();
            continue;
        }
        parts << c;
    }
    return "/" + parts.join('/');
}

std::optional<DriveKind> kindFromName(const QString& name)
{
    static const QHash<QString, DriveKind> kinds = {
        {"fixed", DriveKind::Fixed},     {"removable", DriveKind::Removable},
        {"cdrom", DriveKind::CdRom},     {"network", DriveKind::Network},
        {"ramdisk", DriveKind::RamDisk},
    };
    const auto it = kinds.find(name.trimmed().toLower());
    if (it == kinds.end())
        return std::nullopt;
    return *it;
}

// "\x20" style escapes of /dev/disk/by-label names.
QString decodeLabel(const QByteArray& raw)
{
    QByteArray out;
    for (int i = 0; i < raw.size(); ++i) {
        if (raw[i] == '\\' && i + 3 < raw.size() && raw[i + 1] == 'x') {
            bool ok = false;
            const int v = raw.mid(i + 2, 2).toInt(&ok, 16);
            if (ok) {
                out += char(v);
                i += 3;
                continue;
            }
        }
        out += raw[i];
    }
    return QString::fromUtf8(out);
}

// File system labels by block device number and by device path.
struct Labels {
    QHash<dev_t, QString> byDevice;
    QHash<QByteArray, QString> byPath;
};

Labels readLabels()
{
    Labels labels;
    const char* dirPath = "/dev/disk/by-label";
    DIR* dir = opendir(dirPath);
    if (!dir)
        return labels;
    while (dirent* e = readdir(dir)) {
        if (e->d_name[0] == '.')
            continue;
        const QByteArray link = QByteArray(dirPath) + "/" + e->d_name;
        const QString label = decodeLabel(e->d_name);
        struct stat st;
        if (stat(link.constData(), &st) == 0 && S_ISBLK(st.st_mode))
            labels.byDevice.insert(st.st_rdev, label);
        char real[PATH_MAX];
        if (realpath(link.constData(), real))
            labels.byPath.insert(QByteArray(real), label);
    }
    closedir(dir);
    return labels;
}

// The sysfs "removable" flag of the disk holding a block device. A
// partition has no flag of its own; its parent folder is the disk.
bool isRemovableDevice(quint32 major, quint32 minor)
{
    if (major == 0)
        return false;  // anonymous devices (tmpfs, btrfs subvolumes, ...)
    const QByteArray sysLink = "/sys/dev/block/" + QByteArray::number(major) + ":" + QByteArray::number(minor);
    char real[PATH_MAX];
    if (!realpath(sysLink.constData(), real))
        return false;
    QByteArray dir(real);
    if (access((dir + "/partition").constData(), F_OK) == 0)
        dir = dir.left(dir.lastIndexOf('/'));
    QFile f(QFile::decodeName(dir + "/removable"));
    if (!f.open(QIODevice::ReadOnly))
        return false;
    return f.readAll().trimmed() == "1";
}

QString labelOf(const detail::MountEntry& m, const Labels& labels)
{
    if (m.major != 0) {
        const auto it = labels.byDevice.constFind(makedev(m.major, m.minor));
        if (it != labels.byDevice.constEnd() && !it->isEmpty())
            return *it;
    }
    if (m.source.startsWith('/')) {
        char real[PATH_MAX];
        if (realpath(m.source.constData(), real)) {
            const auto it = labels.byPath.constFind(QByteArray(real));
            if (it != labels.byPath.constEnd() && !it->isEmpty())
                return *it;
        }
    }
    return lastName(m.mountPoint);
}

// Mount points are written with octal escapes for space, tab, newline and
// backslash.
QByteArray unescapeMountField(const QByteArray& s)
{
    QByteArray out;
    out.reserve(s.size());
    for (int i = 0; i < s.size(); ++i) {
        if (s[i] == '\\' && i + 3 < s.size()) {
            bool ok = false;
            const int v = s.mid(i + 1, 3).toInt(&ok, 8);
            if (ok) {
                out += char(v);
                i += 3;
                continue;
            }
        }
        out += s[i];
    }
    return out;
}

QList<Drive> buildFromMountTable()
{
    QList<detail::MountEntry> mounts;
    QFile info("/proc/self/mountinfo");
    if (info.open(QIODevice::ReadOnly)) {
        mounts = detail::parseMountInfo(info.readAll());
    } else {
        QFile procMounts("/proc/mounts");
        if (procMounts.open(QIODevice::ReadOnly))
            mounts = detail::parseProcMounts(procMounts.readAll());
    }
    // Containers bind single files (/etc/hosts); only folders can be drives.
    QList<detail::MountEntry> folders;
    for (const auto& m : mounts) {
        struct stat st;
        if (m.mountPoint == "/" || (stat(m.mountPoint.constData(), &st) == 0 && S_ISDIR(st.st_mode)))
            folders << m;
    }
    return detail::drivesFromMounts(folders);
}

QList<Drive> buildTable()
{
    const QByteArray text = qgetenv("TROVIK_DRIVES");
    if (!text.isEmpty())
        return parseDriveSpec(QString::fromLocal8Bit(text));
    return buildFromMountTable();
}

void ensureLoaded()
{
    QMutexLocker lock(&g_tableMutex);
    if (!g_loaded) {
        table() = buildTable();
        g_loaded = true;
        ++g_generation;
    }
}

}  // namespace

// ---------------------------------------------------------------------------
// Mount table parsing

namespace detail {

QList<MountEntry> parseMountInfo(const QByteArray& text)
{
    // "36 35 98:0 /mnt1 /mnt/parent rw,noatime master:1 - ext3 /dev/root rw"
    QList<MountEntry> out;
    for (const QByteArray& line : text.split('\n')) {
        const QList<QByteArray> f = line.split(' ');
        const int dash = f.indexOf("-");
        if (f.size() < 7 || dash < 6 || dash + 2 >= f.size())
            continue;
        MountEntry m;
        m.mountId = f[0].toULongLong();
        const QList<QByteArray> mm = f[2].split(':');
        if (mm.size() == 2) {
            m.major = mm[0].toUInt();
            m.minor = mm[1].toUInt();
        }
        m.mountPoint = unescapeMountField(f[4]);
        m.fsType = f[dash + 1];
        m.source = unescapeMountField(f[dash + 2]);
        out << m;
    }
    return out;
}

QList<MountEntry> parseProcMounts(const QByteArray& text)
{
    // "/dev/sda1 / ext4 rw,relatime 0 0"
    QList<MountEntry> out;
    for (const QByteArray& line : text.split('\n')) {
        const QList<QByteArray> f = line.split(' ');
        if (f.size() < 3)
            continue;
        MountEntry m;
        m.source = unescapeMountField(f[0]);
        m.mountPoint = unescapeMountField(f[1]);
        m.fsType = f[2];
        out << m;
    }
    return out;
}

bool isPseudoMount(const MountEntry& m)
{
    static const QList<QByteArray> pseudo = {
        "proc", "sysfs", "devtmpfs", "devpts", "cgroup", "cgroup2", "tracefs", "debugfs",
        "securityfs", "pstore", "bpf", "mqueue", "hugetlbfs", "configfs", "fusectl", "autofs",
        "binfmt_misc", "squashfs", "nsfs", "rpc_pipefs", "efivarfs", "selinuxfs", "overlay",
        "fuse.gvfsd-fuse", "fuse.portal", "fuse.lxcfs", "nfsd",
    };
    // The root stays whatever it is (containers run on overlay).
    if (m.mountPoint == "/")
        return false;
    if (pseudo.contains(m.fsType))
        return true;
    // The kernel's and the init system's trees: nothing a user cleans up.
    // Desktops mount removable media under /run/media on some systems.
    static const QList<QByteArray> privateTrees = {"/proc", "/sys", "/dev", "/run"};
    for (const QByteArray& t : privateTrees) {
        if (m.mountPoint == t || m.mountPoint.startsWith(t + "/"))
            return !m.mountPoint.startsWith("/run/media/");
    }
    return false;
}

DriveKind kindOfFsType(const QByteArray& fsType)
{
    if (fsType == "iso9660" || fsType == "udf")
        return DriveKind::CdRom;
    if (fsType == "nfs" || fsType == "nfs4" || fsType == "cifs" || fsType == "smb3"
        || fsType == "smbfs" || fsType == "fuse.sshfs" || fsType == "sshfs")
        return DriveKind::Network;
    if (fsType == "tmpfs" || fsType == "ramfs")
        return DriveKind::RamDisk;
    return DriveKind::Fixed;
}

QList<Drive> drivesFromMounts(const QList<MountEntry>& mounts)
{
    // A later line mounts over an earlier one at the same place.
    QMap<QByteArray, MountEntry> byPoint;
    for (const MountEntry& m : mounts) {
        if (!m.mountPoint.startsWith('/') || isPseudoMount(m))
            continue;
        const QByteArray point = cleanPosix(m.mountPoint);
        // A mount point the program could not name is no drive.
        if (!isRepresentablePath(point))
            continue;
        MountEntry clean = m;
        clean.mountPoint = point;
        byPoint.insert(point, clean);
    }
    const Labels labels = readLabels();
    QList<Drive> out;
    auto add = [&](QChar letter, const MountEntry& m) {
        Drive d;
        d.letter = letter;
        d.mountPoint = m.mountPoint;
        d.kind = kindOfFsType(m.fsType);
        if (d.kind == DriveKind::Fixed && isRemovableDevice(m.major, m.minor))
            d.kind = DriveKind::Removable;
        d.label = labelOf(m, labels);
        out << d;
    };
    MountEntry root;
    root.mountPoint = "/";
    add('C', byPoint.value("/", root));
    char letter = 'D';
    for (auto it = byPoint.cbegin(); it != byPoint.cend() && out.size() < kMaxDrives; ++it) {
        if (it.key() == "/")
            continue;
        add(QChar(letter++), it.value());
    }
    return out;
}

bool isRepresentablePath(const QByteArray& point)
{
    for (const QByteArray& c : point.split('/')) {
        if (!c.isEmpty() && !isRepresentableName(c))
            return false;
    }
    return true;
}

quint64 driveTableGeneration()
{
    ensureLoaded();
    return g_generation.load();
}

std::optional<Resolved> resolve(const QString& drivePath)
{
    if (drivePath.size() < 2 || drivePath[1] != u':' || !drivePath[0].isLetter()
        || drivePath[0].unicode() > 0x7f)
        return std::nullopt;
    const Drive* drive = driveFor(drivePath[0]);
    if (!drive)
        return std::nullopt;
    const QStringView rest = QStringView(drivePath).mid(2);
    // "C:" and "C:\..." are absolute; "C:dir" is relative to a per-drive
    // folder the program does not keep.
    if (!rest.isEmpty() && rest[0] != u'\\')
        return std::nullopt;
    QList<QByteArray> parts;
    for (QStringView c : rest.split(u'\\', Qt::SkipEmptyParts)) {
        if (c == u".")
            continue;
        if (c == u"..") {
            if (!parts.isEmpty())
                parts.removeLast();
            continue;
        }
        if (c.contains(u'/') || c.contains(QChar(0)))
            return std::nullopt;
        const QString name = c.toString();
        QByteArray raw = QFile::encodeName(name);
        if (QFile::decodeName(raw) != name)
            return std::nullopt;  // lone surrogates and the like
        parts << raw;
    }
    Resolved r;
    r.letter = drive->letter;
    r.mountPoint = drive->mountPoint;
    r.isRoot = parts.isEmpty();
    r.posix = drive->mountPoint;
    for (const QByteArray& p : parts) {
        if (!r.posix.endsWith('/'))
            r.posix += '/';
        r.posix += p;
    }
    return r;
}

}  // namespace detail

// ---------------------------------------------------------------------------
// Public interface

const QList<Drive>& drives()
{
    ensureLoaded();
    return table();
}

void reloadDrives()
{
    QMutexLocker lock(&g_tableMutex);
    table() = buildTable();
    g_loaded = true;
    ++g_generation;
}

const Drive* driveFor(QChar letter)
{
    const QChar up = letter.toUpper();
    for (const Drive& d : drives()) {
        if (d.letter == up)
            return &d;
    }
    return nullptr;
}

QList<Drive> parseDriveSpec(const QString& text)
{
    QList<Drive> out;
    for (const QString& rawEntry : text.split(u';', Qt::SkipEmptyParts)) {
        const qsizetype eq = rawEntry.indexOf(u'=');
        const QString letterText = rawEntry.left(eq).trimmed();
        if (eq < 0 || letterText.size() != 1)
            continue;
        const QChar letter = letterText[0].toUpper();
        if (letter < u'C' || letter > u'Z')
            continue;
        QString path = rawEntry.mid(eq + 1).trimmed();
        DriveKind kind = DriveKind::Fixed;
        // "/mnt/usb:removable": a suffix without '/' after the last ':' names
        // the kind; a kind we do not know makes the entry fail.
        const int colon = path.lastIndexOf(u':');
        if (colon > 0 && !path.mid(colon + 1).contains(u'/')) {
            const auto k = kindFromName(path.mid(colon + 1));
            if (!k)
                continue;
            kind = *k;
            path = path.left(colon).trimmed();
        }
        if (!path.startsWith(u'/'))
            continue;
        const bool taken = std::any_of(out.cbegin(), out.cend(), [&](const Drive& d) { return d.letter == letter; });
        if (taken || out.size() >= kMaxDrives)
            continue;
        Drive d;
        d.letter = letter;
        d.mountPoint = cleanPosix(QFile::encodeName(path));
        d.kind = kind;
        d.label = lastName(d.mountPoint);
        out << d;
    }
    std::sort(out.begin(), out.end(), [](const Drive& a, const Drive& b) { return a.letter < b.letter; });
    return out;
}

std::optional<QByteArray> toPosix(const QString& drivePath)
{
    const auto r = detail::resolve(drivePath);
    if (!r)
        return std::nullopt;
    return r->posix;
}

std::optional<QString> toDrivePath(const QByteArray& posixPath)
{
    if (!posixPath.startsWith('/'))
        return std::nullopt;
    const QByteArray path = cleanPosix(posixPath);
    const Drive* best = nullptr;
    for (const Drive& d : drives()) {
        const QByteArray& mp = d.mountPoint;
        const bool holds = mp == "/" || path == mp || path.startsWith(mp + '/');
        if (holds && (!best || mp.size() > best->mountPoint.size()))
            best = &d;
    }
    if (!best)
        return std::nullopt;
    const QByteArray rest = best->mountPoint == "/" ? path.mid(1) : path.mid(best->mountPoint.size() + 1);
    QString out = driveRoot(best->letter);
    bool first = true;
    for (const QByteArray& c : rest.split('/')) {
        if (c.isEmpty())
            continue;
        if (!isRepresentableName(c))
            return std::nullopt;
        if (!first)
            out += u'\\';
        out += QFile::decodeName(c);
        first = false;
    }
    return out;
}

bool isRepresentableName(const QByteArray& rawName)
{
    if (rawName.isEmpty())
        return false;
    bool ascii = true;
    for (char ch : rawName) {
        const auto c = static_cast<unsigned char>(ch);
        if (c < 0x20 || c == 0x7f || c == '\\' || c == '/')
            return false;
        if (c >= 0x80)
            ascii = false;
    }
    // Plain ASCII always survives the round trip; only other names pay for it.
    return ascii || QFile::encodeName(QFile::decodeName(rawName)) == rawName;
}

QString driveRoot(QChar letter)
{
    return QString(letter.toUpper()) + QStringLiteral(":\\");
}

}  // namespace plat

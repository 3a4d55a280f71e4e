// The drive table: parsing TROVIK_DRIVES and the mount table, and mapping
// drive paths to POSIX paths and back.
#include "platform/drives.h"
#include "platform/drives_p.h"
#include "support/tempdrives.h"

#include <QFile>
#include "util.h"

#include <gtest/gtest.h>

using plat::DriveKind;

namespace {

// Sets TROVIK_DRIVES for one test and puts the old value back.
class DrivesVariable {
public:
    explicit DrivesVariable(const QByteArray& value)
    {
        had_ = qEnvironmentVariableIsSet("TROVIK_DRIVES");
        old_ = qgetenv("TROVIK_DRIVES");
        if (value.isNull())
            qunsetenv("TROVIK_DRIVES");
        else
            qputenv("TROVIK_DRIVES", value);
        plat::reloadDrives();
    }
    ~DrivesVariable()
    {
        if (had_)
            qputenv("TROVIK_DRIVES", old_);
        else
            qunsetenv("TROVIK_DRIVES");
        plat::reloadDrives();
    }
private:
    bool had_ = false;
    QByteArray old_;
};

struct TableCase {
    const char* text;
    const char* expected;  // "C=/srv/data:fixed:data;D=..." or "" for none
};

QString describe(const QList<plat::Drive>& drives)
{
    static const char* kinds[] = {"fixed", "removable", "cdrom", "network", "ramdisk"};
    QStringList parts;
    for (const auto& d : drives)
        parts << QString("%1=%2:%3:%4").arg(d.letter).arg(QString::fromUtf8(d.mountPoint))
                     .arg(kinds[int(d.kind)]).arg(d.label);
    return parts.join(';');
}

}  // namespace

TEST(DriveTableText, ParsesEntries)
{
    const TableCase cases[] = {
        {"C=/srv/data;D=/mnt/usb:removable", "C=/srv/data:fixed:data;D=/mnt/usb:removable:usb"},
        {"c=/srv", "C=/srv:fixed:srv"},                                  // lower-case letter
        {" C = /srv ; D=/x ", "C=/srv:fixed:srv;D=/x:fixed:x"},           // blanks around entries
        {"E=/e;C=/c", "C=/c:fixed:c;E=/e:fixed:e"},                       // sorted by letter
        {"C=/srv/", "C=/srv:fixed:srv"},                                  // trailing slash
        {"C=/a//b/./c/../d", "C=/a/b/d:fixed:d"},                         // cleaned
        {"C=/", "C=/:fixed:"},
        {"D=/m/cd:cdrom;E=/net:network;F=/r:RAMDISK;G=/f:fixed",
         "D=/m/cd:cdrom:cd;E=/net:network:net;F=/r:ramdisk:r;G=/f:fixed:f"},
        {"C=/a;C=/b", "C=/a:fixed:a"},                                    // first wins
        {"A=/floppy;B=/b;C=/c", "C=/c:fixed:c"},                          // no A: or B:
        {"C=relative", ""},
        {"C=/x:floppy", ""},                                              // unknown kind
        {"CD=/x", ""},
        {"1=/x", ""},
        {"=/x", ""},
        {"", ""},
        {"C=/my:dir/sub", "C=/my:dir/sub:fixed:sub"},                     // ':' inside the path
    };
    for (const auto& c : cases)
        EXPECT_EQ(describe(plat::parseDriveSpec(QString::fromUtf8(c.text))), QString::fromUtf8(c.expected))
            << c.text;
}

TEST(DriveTableText, AtMostTwentyFourDrives)
{
    QStringList entries;
    for (char l = 'C'; l <= 'Z'; ++l)
        entries << QString("%1=/d%1").arg(QChar(l));
    const auto drives = plat::parseDriveSpec(entries.join(';'));
    ASSERT_EQ(drives.size(), 24);
    EXPECT_EQ(drives.first().letter, u'C');
    EXPECT_EQ(drives.last().letter, u'Z');
}

TEST(DriveTable, FromEnvironmentAndLookup)
{
    DrivesVariable env("C=/srv;D=/mnt/usb:removable");
    ASSERT_EQ(plat::drives().size(), 2);
    ASSERT_NE(plat::driveFor(u'd'), nullptr);
    EXPECT_EQ(plat::driveFor(u'd')->kind, DriveKind::Removable);
    EXPECT_EQ(plat::driveFor(u'E'), nullptr);
    EXPECT_EQ(plat::driveRoot(u'c'), "C:\\");
}

TEST(DriveTable, DefaultTableStartsWithRoot)
{
    DrivesVariable env{QByteArray()};  // unset: the real mount table
    const auto& drives = plat::drives();
    ASSERT_FALSE(drives.isEmpty());
    EXPECT_EQ(drives.first().letter, u'C');
    EXPECT_EQ(drives.first().mountPoint, "/");
    EXPECT_LE(drives.size(), 24);
    QChar expected = u'C';
    for (const auto& d : drives) {
        EXPECT_EQ(d.letter, expected);
        expected = QChar(expected.unicode() + 1);
        EXPECT_FALSE(d.mountPoint.startsWith("/proc")) << d.mountPoint.constData();
        EXPECT_FALSE(d.mountPoint.startsWith("/sys")) << d.mountPoint.constData();
    }
}

TEST(DrivePaths, ToPosix)
{
    DrivesVariable env("C=/srv;D=/mnt/usb;E=/");
    const struct {
        const char* in;
        const char* out;  // nullptr: no mapping
    } cases[] = {
        {"C:\\home\\ann", "/srv/home/ann"},
        {"c:\\home\\ann", "/srv/home/ann"},
        {"C:", "/srv"},
        {"C:\\", "/srv"},
        {"C:\\home\\", "/srv/home"},
        {"C:\\home\\\\ann", "/srv/home/ann"},
        {"C:\\a\\.\\b\\..\\c", "/srv/a/c"},
        {"C:\\..\\..\\etc", "/srv/etc"},          // never above the drive root
        {"D:\\Photos\\IMG 1.JPG", "/mnt/usb/Photos/IMG 1.JPG"},
        {"E:\\etc\\hosts", "/etc/hosts"},
        {"E:\\", "/"},
        {"C:\\a:b", "/srv/a:b"},
        {"F:\\x", nullptr},                        // unknown drive
        {"C:home", nullptr},                       // drive-relative
        {"\\home\\ann", nullptr},
        {"home", nullptr},
        {"", nullptr},
        {"\\\\server\\share", nullptr},
        {"C:\\a/b", nullptr},                      // '/' cannot be in a name
        {"1:\\x", nullptr},
    };
    for (const auto& c : cases) {
        const auto p = plat::toPosix(QString::fromUtf8(c.in));
        if (!c.out)
            EXPECT_FALSE(p.has_value()) << c.in;
        else
            EXPECT_EQ(p.value_or("<none>"), QByteArray(c.out)) << c.in;
    }
    // Non-ASCII names are encoded as the file system stores them.
    EXPECT_EQ(plat::toPosix(QString::fromUtf8("C:\\Gr\u00fc\u00dfe")).value_or(""), QByteArray("/srv/Gr\xc3\xbc\xc3\x9f" "e"));
    // A lone surrogate cannot be encoded.
    QString lone = "C:\\x";
    lone += QChar(0xd800);
    EXPECT_FALSE(plat::toPosix(lone).has_value());
}

TEST(DrivePaths, ToDrivePathTakesLongestMountPoint)
{
    DrivesVariable env("C=/;D=/mnt/usb;E=/mnt/usb/inner;F=/mnt/usb2");
    const struct {
        const char* in;
        const char* out;
    } cases[] = {
        {"/home/ann", "C:\\home\\ann"},
        {"/", "C:\\"},
        {"/mnt/usb", "D:\\"},
        {"/mnt/usb/", "D:\\"},
        {"/mnt/usb/a/b", "D:\\a\\b"},
        {"/mnt/usb/inner/x", "E:\\x"},
        {"/mnt/usb2/x", "F:\\x"},                  // component boundary, not text prefix
        {"/mnt/usbx", "C:\\mnt\\usbx"},
        {"//mnt///usb//a", "D:\\a"},
        {"/mnt/usb/inner/../y", "D:\\y"},
        {"relative/path", nullptr},
        {"/a/b\\c", nullptr},                      // a backslash in a name
        {"/a/b\x01", nullptr},                     // a control character
        {"/a/\xff\xfe", nullptr},                  // not UTF-8
    };
    for (const auto& c : cases) {
        const auto p = plat::toDrivePath(QByteArray(c.in));
        if (!c.out)
            EXPECT_FALSE(p.has_value()) << c.in;
        else
            EXPECT_EQ(p.value_or("<none>"), QString::fromUtf8(c.out)) << c.in;
    }
}

TEST(DrivePaths, NoDriveHoldsPath)
{
    DrivesVariable env("C=/srv;D=/mnt/usb");
    EXPECT_FALSE(plat::toDrivePath("/home/ann").has_value());
    EXPECT_FALSE(plat::toDrivePath("/srvx").has_value());
    EXPECT_EQ(plat::toDrivePath("/srv/x").value_or(""), "C:\\x");
}

TEST(DrivePaths, RoundTrip)
{
    DrivesVariable env("C=/srv;D=/mnt/usb");
    const char* paths[] = {
        "C:\\", "D:\\", "C:\\home\\ann\\a.txt", "D:\\Fotos\\Sommer 2023\\IMG_0001.JPG",
        "C:\\with.dots...\\x", "C:\\\u00e4\u00f6\u00fc\\\u65e5\u672c", "C:\\a;b,c=d",
    };
    for (const char* p : paths) {
        const QString drivePath = QString::fromUtf8(p);
        const auto posix = plat::toPosix(drivePath);
        ASSERT_TRUE(posix.has_value()) << p;
        EXPECT_EQ(plat::toDrivePath(*posix).value_or("<none>"), drivePath) << p;
    }
    // Lower-case letters and trailing separators come back in their usual form.
    EXPECT_EQ(plat::toDrivePath(*plat::toPosix("c:\\home\\")).value_or(""), "C:\\home");
}

TEST(DrivePaths, RepresentableNames)
{
    const struct {
        QByteArray name;
        bool ok;
    } cases[] = {
        {"plain.txt", true},
        {"with space", true},
        {".hidden", true},
        {"\xc3\xa4\xc3\xb6", true},          // UTF-8
        {"\xe6\x97\xa5", true},
        {"back\\slash", false},
        {"tab\there", false},
        {"nl\n", false},
        {"del\x7f", false},
        {"\xff\xfe", false},                 // not UTF-8
        {"\xc3", false},                     // cut short
        {"\xc0\xaf", false},                 // overlong
        {"", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(plat::isRepresentableName(c.name), c.ok) << c.name.toHex().constData();
}

TEST(MountTable, ParsesMountInfo)
{
    const QByteArray text =
        "26 1 254:0 / / rw,relatime - ext4 /dev/vda rw\n"
        "21 26 0:20 / /proc rw,relatime - proc proc rw\n"
        "40 26 8:17 / /media/My\\040Disk rw,nosuid shared:5 master:2 - vfat /dev/sdb1 rw\n"
        "broken line\n";
    const auto m = plat::detail::parseMountInfo(text);
    ASSERT_EQ(m.size(), 3);
    EXPECT_EQ(m[0].mountPoint, "/");
    EXPECT_EQ(m[0].fsType, "ext4");
    EXPECT_EQ(m[0].major, 254u);
    EXPECT_EQ(m[2].mountPoint, "/media/My Disk");
    EXPECT_EQ(m[2].fsType, "vfat");
    EXPECT_EQ(m[2].source, "/dev/sdb1");
    EXPECT_EQ(m[2].major, 8u);
    EXPECT_EQ(m[2].minor, 17u);

    const auto p = plat::detail::parseProcMounts("/dev/sda1 / ext4 rw 0 0\nnone /a\\040b tmpfs rw 0 0\n");
    ASSERT_EQ(p.size(), 2);
    EXPECT_EQ(p[1].mountPoint, "/a b");
    EXPECT_EQ(p[1].fsType, "tmpfs");
}

TEST(MountTable, KindsAndPseudoFileSystems)
{
    using plat::detail::kindOfFsType;
    EXPECT_EQ(kindOfFsType("iso9660"), DriveKind::CdRom);
    EXPECT_EQ(kindOfFsType("udf"), DriveKind::CdRom);
    EXPECT_EQ(kindOfFsType("nfs4"), DriveKind::Network);
    EXPECT_EQ(kindOfFsType("cifs"), DriveKind::Network);
    EXPECT_EQ(kindOfFsType("fuse.sshfs"), DriveKind::Network);
    EXPECT_EQ(kindOfFsType("tmpfs"), DriveKind::RamDisk);
    EXPECT_EQ(kindOfFsType("ext4"), DriveKind::Fixed);

    auto entry = [](const char* point, const char* type) {
        plat::detail::MountEntry m;
        m.mountPoint = point;
        m.fsType = type;
        return m;
    };
    using plat::detail::isPseudoMount;
    EXPECT_TRUE(isPseudoMount(entry("/proc", "proc")));
    EXPECT_TRUE(isPseudoMount(entry("/sys/fs/cgroup", "cgroup2")));
    EXPECT_TRUE(isPseudoMount(entry("/snap/core/1", "squashfs")));
    EXPECT_TRUE(isPseudoMount(entry("/dev/shm", "tmpfs")));
    EXPECT_TRUE(isPseudoMount(entry("/run/user/1000", "tmpfs")));
    EXPECT_TRUE(isPseudoMount(entry("/var/lib/docker/x", "overlay")));
    EXPECT_FALSE(isPseudoMount(entry("/", "overlay")));  // a container's root
    EXPECT_FALSE(isPseudoMount(entry("/run/media/ann/USB", "vfat")));
    EXPECT_FALSE(isPseudoMount(entry("/tmp", "tmpfs")));
    EXPECT_FALSE(isPseudoMount(entry("/home", "ext4")));
}

TEST(MountTable, DrivesInMountPointOrder)
{
    auto entry = [](const char* point, const char* type) {
        plat::detail::MountEntry m;
        m.mountPoint = point;
        m.fsType = type;
        return m;
    };
    const QList<plat::detail::MountEntry> mounts = {
        entry("/", "ext4"),          entry("/proc", "proc"),        entry("/tmp", "tmpfs"),
        entry("/home", "xfs"),       entry("/media/cd", "iso9660"), entry("/mnt/nas", "nfs4"),
        entry("/run/user/1", "tmpfs"), entry("/home", "ext4"),      entry("/dev/pts", "devpts"),
        entry("/mnt/bad\\name", "ext4"),
    };
    EXPECT_EQ(describe(plat::detail::drivesFromMounts(mounts)),
              "C=/:fixed:;D=/home:fixed:home;E=/media/cd:cdrom:cd;F=/mnt/nas:network:nas;G=/tmp:ramdisk:tmp");

    QList<plat::detail::MountEntry> many = {entry("/", "ext4")};
    QList<QByteArray> keep;
    for (int i = 0; i < 40; ++i) {
        keep << "/m/" + QByteArray::number(100 + i);
        many << entry(keep.last().constData(), "ext4");
    }
    const auto drives = plat::detail::drivesFromMounts(many);
    ASSERT_EQ(drives.size(), 24);
    EXPECT_EQ(drives.last().letter, u'Z');
    EXPECT_EQ(drives.last().mountPoint, "/m/122");
}

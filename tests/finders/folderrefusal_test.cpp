// The folders a whole-folder deletion is refused for.
#include "finders/folderrefusal.h"
#include "platform/drives.h"
#include "support/mounted.h"
#include "support/tempdrives.h"

#include <QDir>
#include <gtest/gtest.h>

using finders::FolderRefusal;

TEST(FolderRefusalTest, RootsWindowsFoldersAndSystemTrees)
{
    testing_support::TempDrives t("C");
    // D: is mounted inside C:, so "C:\mnt\usb" is D:'s root by another name.
    const QString c = t.posix(u'C');
    QDir().mkpath(c + "/mnt/usb");
    QDir().mkpath(c + "/var/lib");
    QDir().mkpath(c + "/usr/share/doc");
    QDir().mkpath(c + "/home/Ann/Work");
    qputenv("TROVIK_DRIVES", QFile::encodeName("C=" + c + ";D=" + c + "/mnt/usb"));
    plat::reloadDrives();
    const QStringList trees = {"C:\\usr", "C:\\var\\lib", "C:\\etc"};

    struct Row {
        QString folder;
        FolderRefusal expected;
    };
    const QList<Row> rows = {
        {"C:\\", FolderRefusal::Root},
        {"c:\\", FolderRefusal::Root},
        {"D:", FolderRefusal::Root},
        {"C:\\mnt\\usb", FolderRefusal::Root},
        {"c:\\mnt\\usb\\", FolderRefusal::Root},
        {"C:\\home\\..", FolderRefusal::Root},
        {"C:\\WINDOWS", FolderRefusal::Windows},
        {"d:\\Windows", FolderRefusal::Windows},
        {"D:\\WIN95", FolderRefusal::Windows},
        {"C:\\winnt", FolderRefusal::Windows},
        {"C:\\WINDOWS\\SYSTEM", FolderRefusal::None},
        {"C:\\WINDOWSX", FolderRefusal::None},
        {"C:\\usr", FolderRefusal::Windows},
        {"c:\\usr\\", FolderRefusal::Windows},
        {"C:\\home\\..\\usr", FolderRefusal::Windows},
        {"C:\\var", FolderRefusal::Windows},
        {"C:\\var\\lib", FolderRefusal::Windows},
        {"C:\\usr\\share", FolderRefusal::None},
        {"C:\\usr\\share\\doc", FolderRefusal::None},
        {"C:\\USR", FolderRefusal::None},
        {"C:\\variable", FolderRefusal::None},
        {"C:\\mnt", FolderRefusal::None},
        {"C:\\home\\Ann\\Work", FolderRefusal::None},
        {"D:\\stick", FolderRefusal::None},
    };
    for (const Row& r : rows)
        EXPECT_EQ(finders::RefuseFolder(r.folder, trees), r.expected) << r.folder.toStdString();
}

TEST(FolderRefusalTest, AMountTheDriveTableLeavesOutIsARoot)
{
    testing_support::TempDrives t("C");
    const QString mnt = t.makeFolder(u'C', "inner");
    t.makeFolder(u'C', "plain");
    testing_support::Mounted m("none", mnt, "tmpfs", 0);
    if (!m.ok())
        GTEST_SKIP() << "cannot mount here";
    EXPECT_EQ(finders::RefuseFolder("C:\\inner", {}), FolderRefusal::Root);
    EXPECT_EQ(finders::RefuseFolder("C:\\plain", {}), FolderRefusal::None);
}

#include "core/safeharbor.h"
#include "core/settings.h"
#include "platform/drives.h"
#include "support/tempdrives.h"

#include <QFile>
#include <gtest/gtest.h>

using namespace core;

namespace {

SafeHarbor Built(std::optional<QStringList> lines, const QString& path, const QStringList& system = {})
{
    SafeHarbor h;
    h.GetSearchPath({std::move(lines), path, system});
    return h;
}

TEST(SafeHarborTest, SearchPathExampleDropsEmptyEntries)
{
    SafeHarbor h = Built(QStringList{}, "C:\\Windows;C:\\WINDOWS\\COMMAND;;");
    EXPECT_EQ(h.SearchPathFolders, QStringList({"C:\\WINDOWS\\", "C:\\WINDOWS\\COMMAND\\"}));
    EXPECT_EQ(h.IsInSafeHarbor("C:\\WINDOWS\\COMMAND\\EDIT.COM", true), shSearchPath);
    EXPECT_EQ(SafeHarborReasonText(shSearchPath), "in the search path");
    EXPECT_FALSE(h.SafeHarborMissing);
}

TEST(SafeHarborTest, MissingFoldersFileStillProtectsPathAndSystem)
{
    SafeHarbor h = Built(std::nullopt, "C:\\BIN", {"C:\\usr\\*.*"});
    EXPECT_TRUE(h.SafeHarborMissing);
    EXPECT_EQ(h.IsInSafeHarbor("C:\\BIN\\LS", true), shSearchPath);
    EXPECT_EQ(h.IsInSafeHarbor("C:\\usr\\share\\doc\\a.txt", true), shWindowsFolder);
}

TEST(SafeHarborTest, ReasonPrecedence)
{
    struct Row {
        const char* name;
        QStringList lines;
        QString pathVar;
        QStringList system;
        QString path;
        bool isFile;
        QStringList extensions;
        int reason;
    };
    const QList<Row> rows = {
        {"system beats folders.txt", {"C:\\USR\\LIB"}, "", {"C:\\usr\\*.*"}, "C:\\usr\\lib\\x.so", true, {}, shWindowsFolder},
        {"system beats PATH", {}, "C:\\usr\\bin", {"C:\\usr\\*.*"}, "C:\\usr\\bin\\ls", true, {}, shWindowsFolder},
        {"plain folder, direct file", {"C:\\DATA"}, "", {}, "C:\\DATA\\A.TXT", true, {}, shRegistryFolder},
        {"plain folder, file below", {"C:\\DATA"}, "", {}, "C:\\DATA\\OLD\\A.TXT", true, {}, shNone},
        {"rule, direct file", {"C:\\DATA\\*.*"}, "", {}, "C:\\DATA\\A.TXT", true, {}, shRegistryFolder},
        {"rule, file below", {"C:\\DATA\\*.*"}, "", {}, "C:\\DATA\\OLD\\A.TXT", true, {}, shRegistryFolder},
        {"rule without backslash", {"C:\\DATA*.*"}, "", {}, "C:\\DATABASE\\X.TXT", true, {}, shRegistryFolder},
        {"lower-case path", {"C:\\Data"}, "", {}, "c:\\data\\a.txt", true, {}, shRegistryFolder},
        {"ext as file", {}, "", {}, "C:\\FREE\\IO.SYS", true, {"*.sys"}, shProtectedExtension},
        {"ext as folder", {}, "", {}, "C:\\FREE\\IO.SYS", false, {"*.sys"}, shNone},
        {"whole name", {}, "", {}, "C:\\FREE\\Keep.Me", true, {"KEEP.ME"}, shProtectedExtension},
        {"no extension", {}, "", {}, "C:\\FREE\\README", true, {"*.sys"}, shNone},
        {"folder tested as folder", {"C:\\DATA"}, "", {}, "C:\\DATA", false, {}, shRegistryFolder},
        {"empty line never matches", {"", "C:\\X"}, "", {}, "C:\\Y\\A", true, {}, shNone},
    };
    for (const Row& r : rows) {
        SafeHarbor h = Built(r.lines, r.pathVar, r.system);
        h.SetProtectedExtensions(r.extensions);
        EXPECT_EQ(h.IsInSafeHarbor(r.path, r.isFile), r.reason) << r.name;
    }
}

TEST(SafeHarborTest, LongEntriesCompareWhole)
{
    // Two folders that agree in their first 80 characters.
    const QString common = "C:\\" + QString(90, 'A');
    SafeHarbor h = Built(QStringList{common + "\\KEEP"}, "");
    EXPECT_EQ(h.IsInSafeHarbor(common + "\\KEEP\\F.TXT", true), shRegistryFolder);
    EXPECT_EQ(h.IsInSafeHarbor(common + "\\OTHER\\F.TXT", true), shNone);
}

TEST(SafeHarborTest, RuleFoundWhateverOtherEntriesExist)
{
    // The rule's text occurs in the path, but bisection walks away from it
    // because of the entries that sort around it.
    QStringList lines = {"C:\\DATA*.*", "C:\\AAA", "C:\\DATAZ", "C:\\ZZZ", "C:\\DATAB", "C:\\MMM"};
    SafeHarbor h = Built(lines, "");
    EXPECT_EQ(h.IsInSafeHarbor("D:\\BACKUP\\C:\\DATA\\X.TXT", true), shRegistryFolder);
    EXPECT_EQ(h.IsInSafeHarbor("C:\\DATABASE\\X.TXT", true), shRegistryFolder);
    EXPECT_EQ(h.IsInSafeHarbor("C:\\MM\\X.TXT", true), shNone);
}

TEST(SafeHarborTest, CacheAnswersSameFolderAndIsEmptiedOnRebuild)
{
    SafeHarbor h = Built(QStringList{"C:\\DATA"}, "");
    EXPECT_EQ(h.IsInSafeHarbor("C:\\DATA\\A.TXT", true), shRegistryFolder);
    EXPECT_EQ(h.LastTestedFolder, "C:\\DATA\\");
    EXPECT_EQ(h.IsInSafeHarbor("C:\\DATA\\B.TXT", true), shRegistryFolder);
    // A rebuild that drops the folder must not answer from the old entry.
    h.GetSearchPath({QStringList{}, QString(), {}});
    EXPECT_TRUE(h.LastTestedFolder.isEmpty());
    EXPECT_EQ(h.IsInSafeHarbor("C:\\DATA\\C.TXT", true), shNone);
    h.SetProtectedExtensions({"*.txt"});
    EXPECT_EQ(h.IsInSafeHarbor("C:\\DATA\\C.TXT", true), shProtectedExtension);
}

TEST(SafeHarborTest, CollapseSubtreeRules)
{
    QStringList list = {"C:\\A\\", "C:\\A\\B\\", "C:\\A\\*.*", "C:\\C\\"};
    QStringList rules;
    CollapseSubtreeRules(list, rules);
    EXPECT_EQ(list, QStringList({"C:\\A\\*.*", "C:\\C\\"}));
    EXPECT_EQ(rules, QStringList({"C:\\A\\*.*"}));
}

TEST(SafeHarborTest, IsUnderRuleIsAPrefixTest)
{
    EXPECT_TRUE(IsUnderRule("C:\\A\\*.*", "c:\\a\\b\\"));
    EXPECT_FALSE(IsUnderRule("C:\\A\\*.*", "D:\\C:\\A\\"));
    EXPECT_TRUE(IsUnderRule("C:\\A*.*", "C:\\AB\\"));
}

TEST(SafeHarborTest, ReasonTexts)
{
    EXPECT_EQ(SafeHarborReasonText(0), "");
    EXPECT_EQ(SafeHarborReasonText(1), "in the Windows/System folder");
    EXPECT_EQ(SafeHarborReasonText(3), "referenced in the registry");
    EXPECT_EQ(SafeHarborReasonText(4), "included in the protected file extensions");
    EXPECT_EQ(SafeHarborReasonText(5), "");
}

TEST(SafeHarborTest, FoldersFileWithCarriageReturns)
{
    testing_support::TempDrives drives("C");
    const QString path = drives.programHome() + "/folders.txt";
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("C:\\DATA\r\nC:\\KEEP\\*.*\r\n");
    f.close();
    const auto lines = ReadFoldersFile(path);
    ASSERT_TRUE(lines);
    EXPECT_EQ(*lines, QStringList({"C:\\DATA", "C:\\KEEP\\*.*"}));
    SafeHarbor h = Built(lines, "");
    EXPECT_EQ(h.IsInSafeHarbor("C:\\DATA\\X", true), shRegistryFolder);
    EXPECT_FALSE(ReadFoldersFile(drives.programHome() + "/none.txt"));
}

TEST(SafeHarborTest, ExtensionsFromSettingsList)
{
    testing_support::TempDrives drives("C");
    struct Row {
        const char* number;
        QStringList expected;
    };
    // A Number of two thousand million reads the stored values only.
    const QList<Row> rows = {{"3", {"*.sys", "keep.me"}},
                             {"2147483647", {"*.big", "*.sys", "keep.me"}},
                             {"1", {"*.sys"}},
                             {"-1", {}}};
    SettingsStore::writeString("NoDelExt", "File1", "*.SYS");
    SettingsStore::writeString("NoDelExt", "File3", "Keep.Me");
    SettingsStore::writeString("NoDelExt", "File2147483647", "*.BIG");
    for (const Row& r : rows) {
        SettingsStore::writeString("NoDelExt", "Number", r.number);
        SafeHarbor h;
        h.ReadSafeHarborExtensions();
        EXPECT_EQ(h.ProtectedExtensions, r.expected) << r.number;
    }
}

TEST(SafeHarborTest, DrivesMountedInsideSystemTreesAreProtectedWhole)
{
    testing_support::TempDrives drives("C");
    // Mount points given by name only: nothing on them is read or written.
    const QByteArray c = QFile::encodeName(drives.posix(u'C'));
    qputenv("TROVIK_DRIVES", "C=" + c + ";D=/boot/efi;E=/usr/local/share/x;F=/var/libx;G=/mnt/usb;H=/var;I=/opt");
    plat::reloadDrives();
    SafeHarbor h;
    h.GetSearchPath();
    const struct {
        const char* path;
        SafeHarborReason reason;
    } rows[] = {
        {"D:\\EFI\\BOOT\\BOOTX64.EFI", shWindowsFolder}, {"D:\\x.txt", shWindowsFolder},
        {"E:\\a.txt", shWindowsFolder},  {"F:\\a.txt", shNone},
        {"G:\\a.txt", shNone},           {"H:\\a.txt", shNone},
        {"I:\\bin\\tool", shWindowsFolder}, {"C:\\boot\\a.txt", shNone},
    };
    for (const auto& r : rows)
        EXPECT_EQ(h.IsInSafeHarbor(r.path, true), r.reason) << r.path;
    EXPECT_EQ(h.WindowsFolders.count("I:\\*.*"), 1);  // a system tree itself: listed once
}

}  // namespace

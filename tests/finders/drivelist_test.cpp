// Drive entries by kind and letter case, the kinds each window offers, the
// default tick and the added folders.
#include "core/settings.h"
#include "finders/drivelist.h"
#include "platform/fileops.h"
#include "support/tempdrives.h"

#include <gtest/gtest.h>

using finders::DriveListOwner;
using plat::DriveKind;

TEST(DriveEntryText, ByKindAndCase)
{
    struct Row {
        char letter;
        DriveKind kind;
        QString label;
        QString lower, upper;
    };
    const QList<Row> rows = {
        {'C', DriveKind::Fixed, "DATA disk", "c: Data disk", "C: Data disk"},
        {'C', DriveKind::Fixed, "", "c: ", "C: "},
        {'D', DriveKind::Removable, "STICK", "d:", "D:"},
        {'E', DriveKind::CdRom, "cdROM", "e: Cdrom", "E: Cdrom"},
        {'F', DriveKind::RamDisk, "tmp", "f: Tmp", "F: Tmp"},
        {'G', DriveKind::Network, "Server-Share", "g: server-share", "G: SERVER-SHARE"},
        {'G', DriveKind::Network, "", "g: ", "G: "},
    };
    for (const Row& r : rows) {
        plat::Drive d;
        d.letter = QChar(r.letter);
        d.kind = r.kind;
        d.label = r.label;
        EXPECT_EQ(finders::DriveEntryText(d, false), r.lower) << qPrintable(r.lower);
        EXPECT_EQ(finders::DriveEntryText(d, true), r.upper) << qPrintable(r.upper);
    }
}

TEST(DriveOffer, KindsAndCaseByWindow)
{
    using K = DriveKind;
    struct Row {
        DriveListOwner owner;
        QList<K> kinds;
        bool upper;
    };
    const QList<Row> rows = {
        {DriveListOwner::WhichDrive, {K::Fixed, K::Network, K::CdRom, K::RamDisk}, false},
        {DriveListOwner::StatisticsSpace, {K::Fixed, K::Network, K::CdRom, K::RamDisk}, false},
        {DriveListOwner::Dup, {K::Removable, K::Fixed, K::Network, K::CdRom}, true},
        {DriveListOwner::DirHog, {K::Removable, K::Fixed, K::Network, K::CdRom}, true},
        {DriveListOwner::Clean, {K::Removable, K::Fixed, K::Network, K::CdRom}, true},
        {DriveListOwner::Mods, {K::Removable, K::Fixed, K::Network}, true},
    };
    const QList<K> everyKind = {K::Fixed, K::Removable, K::CdRom, K::Network, K::RamDisk};
    for (const Row& r : rows) {
        const finders::DriveOffer offer = finders::DriveOfferFor(r.owner);
        EXPECT_EQ(offer.upperCase, r.upper) << int(r.owner);
        for (K k : everyKind)
            EXPECT_EQ(offer.offers(k), r.kinds.contains(k)) << int(r.owner) << " kind " << int(k);
    }
}

class DriveListTest : public ::testing::Test {
protected:
    testing_support::TempDrives drives{
        "CDEFG", {{'D', "removable"}, {'E', "cdrom"}, {'F', "network"}, {'G', "ramdisk"}}};

    static QStringList texts(const QList<finders::DriveEntry>& entries)
    {
        QStringList out;
        for (const auto& e : entries)
            out << e.text;
        return out;
    }
};

TEST_F(DriveListTest, EntriesOfTheOfferedDrivesInLetterOrder)
{
    EXPECT_EQ(texts(finders::DriveEntries(finders::DriveOfferFor(DriveListOwner::WhichDrive))),
              QStringList({"c: Drive_c", "e: Drive_e", "f: drive_f", "g: Drive_g"}));
    EXPECT_EQ(texts(finders::DriveEntries(finders::DriveOfferFor(DriveListOwner::Dup))),
              QStringList({"C: Drive_c", "D:", "E: Drive_e", "F: DRIVE_F"}));
    EXPECT_EQ(texts(finders::DriveEntries(finders::DriveOfferFor(DriveListOwner::Mods))),
              QStringList({"C: Drive_c", "D:", "F: DRIVE_F"}));
}

TEST_F(DriveListTest, CurrentDriveEntryOnlyWhenOffered)
{
    const auto scope = finders::DriveEntries(finders::DriveOfferFor(DriveListOwner::WhichDrive));
    plat::setCurrentFolder("E:\\");
    EXPECT_EQ(finders::CurrentDriveEntry(scope), "e: Drive_e");
    plat::setCurrentFolder("D:\\");  // removable: not offered here
    EXPECT_EQ(finders::CurrentDriveEntry(scope), "");
    EXPECT_EQ(finders::CurrentDriveEntry(finders::DriveEntries(finders::DriveOfferFor(DriveListOwner::Dup))), "D:");
    plat::setCurrentFolder("C:\\");
}

TEST_F(DriveListTest, CurrentDriveNotOfferedTicksTheCDrive)
{
    plat::setCurrentFolder("D:\\");
    const auto entries = finders::DriveEntries(finders::DriveOfferFor(DriveListOwner::WhichDrive));
    const finders::DefaultTicks t = finders::DefaultDriveTicks(texts(entries), finders::CurrentDriveEntry(entries));
    EXPECT_EQ(t.rows, QList<int>({0}));
    EXPECT_EQ(t.defaultRow, 0);
    plat::setCurrentFolder("C:\\");
}

TEST(DefaultDriveTicks, Table)
{
    struct Row {
        QStringList lines;
        QString current;
        QList<int> rows;
        int defaultRow;
    };
    const QList<Row> rows = {
        {{"c: A", "d: B", "e: C"}, "D: b", {1}, 1},        // found, ignoring case
        {{"c: A", "d: B", "e: C"}, "", {0}, 0},            // no current drive
        {{"c: A", "d: B", "e: C"}, "x: Gone", {0}, 0},     // current drive not listed
        {{"C: A", "c: B", "d: C"}, "", {0, 1}, 1},         // every c/C line; the last is default
        {{"d:", "e: Cd"}, "", {}, 0},                      // none: nothing ticked, first is default
        {{}, "c: A", {}, -1},
    };
    for (const Row& r : rows) {
        const finders::DefaultTicks t = finders::DefaultDriveTicks(r.lines, r.current);
        EXPECT_EQ(t.rows, r.rows) << qPrintable(r.lines.join('|') + " / " + r.current);
        EXPECT_EQ(t.defaultRow, r.defaultRow) << qPrintable(r.lines.join('|') + " / " + r.current);
    }
}

TEST(AddedFolders, StoredOrderWithoutEmptyValues)
{
    testing_support::TempDrives drives{"C"};
    EXPECT_TRUE(finders::AddedFolders().isEmpty());
    core::SettingsStore::writeInt("NewFolders", "Number", 3);
    core::SettingsStore::writeString("NewFolders", "File1", "D:\\Projects");
    core::SettingsStore::writeString("NewFolders", "File2", "");
    core::SettingsStore::writeString("NewFolders", "File3", "C:\\Archive");
    EXPECT_EQ(finders::AddedFolders(), QStringList({"D:\\Projects", "C:\\Archive"}));
    finders::WriteAddedFolders({"C:\\B", "C:\\A"});
    EXPECT_EQ(core::SettingsStore::readInt("NewFolders", "Number", -1), 2);
    EXPECT_EQ(finders::AddedFolders(), QStringList({"C:\\B", "C:\\A"}));
}

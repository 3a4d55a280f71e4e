#include "core/helpers.h"
#include "core/settings.h"
#include "support/tempdrives.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

#include <limits>

using namespace core;

namespace {

class SettingsTest : public ::testing::Test {
protected:
    testing_support::TempDrives drives{"C"};

    // Writes the settings file by hand, as a user with an editor would.
    void writeIni(const QByteArray& text)
    {
        const QString path = SettingsStore::filePath();
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(text);
    }

    QByteArray iniText()
    {
        QFile f(SettingsStore::filePath());
        if (!f.open(QIODevice::ReadOnly))
            return {};
        return f.readAll();
    }
};

TEST_F(SettingsTest, StoreLivesInTheConfigFolder)
{
    EXPECT_EQ(SettingsStore::filePath(), drives.configHome() + "/Halvane/Trovik-3.0.ini");
}

TEST_F(SettingsTest, MissingValuesReadTheirDefaults)
{
    EXPECT_EQ(SettingsStore::readString("ZipFile", "Path", "C:\\"), "C:\\");
    EXPECT_EQ(SettingsStore::readString("ZipFile", "Comment"), QString());
    EXPECT_EQ(SettingsStore::readInt("Options", "Days", 17), 17);
    EXPECT_EQ(SettingsStore::readInt64("Trovik", "SizeDelete", -1), -1);
    EXPECT_DOUBLE_EQ(SettingsStore::readFloat("Options", "X", 2.5), 2.5);
    EXPECT_FALSE(SettingsStore::hasValue("Options", "Days"));
    // Reading creates nothing.
    EXPECT_FALSE(QFile::exists(SettingsStore::filePath()));
}

TEST_F(SettingsTest, StringsRoundTripUnchanged)
{
    const QStringList values = {
        "",
        "plain",
        "a, b; c = d",
        "C:\\DOS\\",
        "C:\\temp\\new",
        " leading and trailing ",
        "tab\there",
        QString::fromUtf8("Gr\xc3\xb6\xc3\x9f" "e"),
        "@at sign",
        "#hash ;semi",
        "\"quoted\"",
        "line\nbreak",
    };
    for (int i = 0; i < values.size(); ++i)
        SettingsStore::writeString("Strings", QString("V%1").arg(i), values[i]);
    for (int i = 0; i < values.size(); ++i)
        EXPECT_EQ(SettingsStore::readString("Strings", QString("V%1").arg(i), "default"), values[i])
            << "row " << i;
}

TEST_F(SettingsTest, EveryValueIsWrittenAsTextInItsSectionAtOnce)
{
    SettingsStore::writeInt("Options", "Days", 37000);
    SettingsStore::writeString("ZipFile", "Comment", "old files");
    const QByteArray text = iniText();
    EXPECT_TRUE(text.contains("[Options]"));
    EXPECT_TRUE(text.contains("Days=37000"));
    EXPECT_TRUE(text.contains("[ZipFile]"));
    EXPECT_TRUE(text.contains("Comment=old files"));
    EXPECT_TRUE(SettingsStore::hasValue("Options", "Days"));
    EXPECT_EQ(SettingsStore::readString("Options", "Days"), "37000");
}

struct IntRow {
    const char* text;
    int expected;
};

TEST_F(SettingsTest, IntegerReadingRule)
{
    const int def = -77;
    const IntRow rows[] = {
        {"12", 12},
        {"-1", -1},
        {"+7", 7},
        {"0", 0},
        {"0x1F", 31},
        {"0X1f", 31},
        {"0x0", 0},
        {"0x7FFFFFFF", 2147483647},
        {"0x80000000", def},
        {"0x", def},
        {"0x1G", def},
        {"2147483647", 2147483647},
        {"2147483648", def},
        {"-2147483648", std::numeric_limits<int>::min()},
        {"-2147483649", def},
        {"3000000000", def},
        {"12abc", def},
        {"1.0", def},
        {"", def},
        {"-", def},
        {"abc", def},
    };
    for (const IntRow& row : rows) {
        SettingsStore::writeString("Ints", "V", row.text);
        EXPECT_EQ(SettingsStore::readInt("Ints", "V", def), row.expected) << "text '" << row.text << "'";
    }
}

TEST_F(SettingsTest, Integer64ReadingRule)
{
    struct Row {
        const char* text;
        qint64 expected;
    };
    const qint64 def = -5;
    const Row rows[] = {
        {"3000000000", 3000000000LL},
        {"0x100000000", 4294967296LL},
        {"9223372036854775807", std::numeric_limits<qint64>::max()},
        {"9223372036854775808", def},
        {"-9223372036854775808", std::numeric_limits<qint64>::min()},
        {"-9223372036854775809", def},
        {"0x7FFFFFFFFFFFFFFF", std::numeric_limits<qint64>::max()},
        {"0x8000000000000000", def},
        {"1e9", def},
        {"x", def},
    };
    for (const Row& row : rows) {
        SettingsStore::writeString("Ints", "V", row.text);
        EXPECT_EQ(SettingsStore::readInt64("Ints", "V", def), row.expected) << "text '" << row.text << "'";
    }
}

TEST(StoredIntegerTest, ParsesTextsDirectly)
{
    EXPECT_EQ(parseStoredInteger("0x1F", false), std::optional<qint64>(31));
    EXPECT_EQ(parseStoredInteger("-12", false), std::optional<qint64>(-12));
    EXPECT_EQ(parseStoredInteger("2147483648", false), std::nullopt);
    EXPECT_EQ(parseStoredInteger("2147483648", true), std::optional<qint64>(2147483648LL));
    EXPECT_EQ(parseStoredInteger(" 1", false), std::nullopt);
    EXPECT_EQ(parseStoredInteger("", true), std::nullopt);
}

TEST_F(SettingsTest, IntegersAreWrittenAsDecimalText)
{
    SettingsStore::writeInt("Ints", "Neg", -1);
    SettingsStore::writeInt("Ints", "Big", 3000000000LL);
    EXPECT_EQ(SettingsStore::readString("Ints", "Neg"), "-1");
    EXPECT_EQ(SettingsStore::readString("Ints", "Big"), "3000000000");
    EXPECT_EQ(SettingsStore::readInt("Ints", "Neg", 0), -1);
    EXPECT_EQ(SettingsStore::readInt("Ints", "Big", 9), 9);  // outgrows 32 bits
    EXPECT_EQ(SettingsStore::readInt64("Ints", "Big", 9), 3000000000LL);
}

TEST_F(SettingsTest, FloatsAreWrittenAsShortestText)
{
    SettingsStore::writeFloat("F", "Whole", 1234.0);
    SettingsStore::writeFloat("F", "Tenth", 0.1);
    SettingsStore::writeFloat("F", "Third", 1.0 / 3.0);
    SettingsStore::writeFloat("F", "Neg", -2.5);
    EXPECT_EQ(SettingsStore::readString("F", "Whole"), "1234");
    EXPECT_EQ(SettingsStore::readString("F", "Tenth"), "0.1");
    EXPECT_EQ(SettingsStore::readString("F", "Third"), "0.333333333333333");
    EXPECT_EQ(SettingsStore::readString("F", "Neg"), "-2.5");
    EXPECT_DOUBLE_EQ(SettingsStore::readFloat("F", "Tenth", 9), 0.1);
    EXPECT_DOUBLE_EQ(SettingsStore::readFloat("F", "Whole", 9), 1234.0);
    SettingsStore::writeString("F", "Bad", "twelve");
    EXPECT_DOUBLE_EQ(SettingsStore::readFloat("F", "Bad", 9), 9.0);
    // Whole numbers are readable as integers.
    EXPECT_EQ(SettingsStore::readInt("F", "Whole", 0), 1234);
}

TEST_F(SettingsTest, ListWithEmptyEntryYieldsTheOthersInOrder)
{
    writeIni("[TempFiles]\nNumber=3\nFile1=*.tmp\nFile2=\nFile3=*.bak\n");
    const auto list = SettingsStore::readList("TempFiles");
    ASSERT_TRUE(list.has_value());
    EXPECT_EQ(*list, QStringList({"*.tmp", "*.bak"}));
}

TEST_F(SettingsTest, ListNeverSavedIsEmptyOptional)
{
    EXPECT_FALSE(SettingsStore::readList("TempFiles").has_value());
    writeIni("[TempFiles]\nFile1=*.tmp\n[CacheFiles]\nNumber=-1\nFile1=x\n[Include]\nNumber=junk\nFile1=y\n");
    EXPECT_FALSE(SettingsStore::readList("TempFiles").has_value());
    EXPECT_FALSE(SettingsStore::readList("CacheFiles").has_value());
    EXPECT_FALSE(SettingsStore::readList("Include").has_value());
}

TEST_F(SettingsTest, ListSavedEmptyIsEmptyList)
{
    SettingsStore::writeList("NewFolders", {});
    const auto list = SettingsStore::readList("NewFolders");
    ASSERT_TRUE(list.has_value());
    EXPECT_TRUE(list->isEmpty());
    EXPECT_EQ(SettingsStore::readString("NewFolders", "Number"), "0");
}

TEST_F(SettingsTest, ShorterListLeavesHigherEntriesButReadsItsCount)
{
    SettingsStore::writeList("NoDelExt", {"*.a", "*.b", "*.c", "*.d", "*.e"});
    SettingsStore::writeList("NoDelExt", {"*.x", "*.y"});
    const auto list = SettingsStore::readList("NoDelExt");
    ASSERT_TRUE(list.has_value());
    EXPECT_EQ(*list, QStringList({"*.x", "*.y"}));
    EXPECT_EQ(SettingsStore::readString("NoDelExt", "Number"), "2");
    EXPECT_EQ(SettingsStore::readString("NoDelExt", "File3"), "*.c");
    EXPECT_EQ(SettingsStore::readString("NoDelExt", "File4"), "*.d");
    EXPECT_EQ(SettingsStore::readString("NoDelExt", "File5"), "*.e");
}

TEST_F(SettingsTest, ListStoresOnlyTheTextBeforeTheFirstTab)
{
    SettingsStore::writeList("Include", {"*.txt\tText Document", "*.abc", "*.htm\tWeb page\textra"});
    EXPECT_EQ(SettingsStore::readString("Include", "File1"), "*.txt");
    EXPECT_EQ(SettingsStore::readString("Include", "File3"), "*.htm");
    EXPECT_EQ(SettingsStore::readList("Include"), std::optional<QStringList>({"*.txt", "*.abc", "*.htm"}));
}

TEST_F(SettingsTest, ListWithHugeNumberReadsTheStoredEntries)
{
    // A hand-made Number costs nothing: only the values stored are read,
    // also when one of them carries that huge number.
    const struct {
        const char* ini;
        QStringList expected;
    } rows[] = {
        {"[CacheFiles]\nNumber=2000000000\nFile1=C:\\\\a\nFile7=C:\\\\b\nFileX=zz\n", {"C:\\a", "C:\\b"}},
        {"[CacheFiles]\nNumber=2147483647\nFile2147483647=last\nFile2=second\n", {"second", "last"}},
        {"[CacheFiles]\nNumber=0x7FFFFFFF\nFile10=ten\nFile9=nine\nFile09=not a name it writes\n",
         {"nine", "ten"}},
        {"[CacheFiles]\nNumber=5\nFile6=above\nFile0=below\nFile-1=minus\nFile3=in\n", {"in"}},
    };
    for (const auto& r : rows) {
        testing_support::TempDrives own("C");  // a file of its own: no cached copy of the last row's
        writeIni(r.ini);
        EXPECT_EQ(SettingsStore::readList("CacheFiles"), std::optional<QStringList>(r.expected)) << r.ini;
    }
}

TEST_F(SettingsTest, ListBoundedByNumber)
{
    writeIni("[Exclude]\nNumber=2\nFile1=*.a\nFile2=*.b\nFile3=*.c\n");
    EXPECT_EQ(SettingsStore::readList("Exclude"), std::optional<QStringList>({"*.a", "*.b"}));
}

TEST_F(SettingsTest, HandEditedValueWithCommaReadsAsText)
{
    writeIni("[ZipFile]\nComment=Old files, saved by hand\nPath=C:\\\\Archive\\\\\n"
             "[Options]\nDays=1, 2\n");
    EXPECT_EQ(SettingsStore::readString("ZipFile", "Comment"), "Old files, saved by hand");
    EXPECT_EQ(SettingsStore::readString("ZipFile", "Path"), "C:\\Archive\\");
    EXPECT_EQ(SettingsStore::readInt("Options", "Days", -3), -3);
    EXPECT_EQ(ReadUserRegString("Software\\Halvane\\Trovik\\3.0\\ZipFile", "Comment"), "Old files, saved by hand");
}

TEST_F(SettingsTest, NonStringValuesReadAsDefault)
{
    writeIni("[Odd]\nR=@Rect(1 2 3 4)\nB=@ByteArray(abc)\nI=@Invalid()\nV=@Variant(garbage)\n"
             "S=@String(x)\n");
    for (const char* name : {"R", "B", "I", "V"}) {
        EXPECT_EQ(SettingsStore::readString("Odd", name, "dflt"), "dflt") << name;
        EXPECT_EQ(SettingsStore::readInt("Odd", name, 4), 4) << name;
        EXPECT_EQ(ReadUserRegString("Software\\Halvane\\Trovik\\3.0\\Odd", name), QString()) << name;
    }
    EXPECT_EQ(SettingsStore::readString("Odd", "S", "dflt"), "x");
}

TEST_F(SettingsTest, GarbageFileNeverBreaksReading)
{
    static const char garbage[] = "\x00\xff\xfe[[[\n=\n[Options\nDays=\x01\x02\n\xc3(\n";
    writeIni(QByteArray(garbage, sizeof garbage - 1));
    EXPECT_EQ(SettingsStore::readInt("Options", "Days", 8), 8);
    EXPECT_EQ(SettingsStore::readString("Options", "Nothing", "d"), "d");
    EXPECT_FALSE(SettingsStore::readList("NoDelExt").has_value());
}

TEST_F(SettingsTest, ColumnWidthDefaultsScaleWithTheScreen)
{
    EXPECT_EQ(SettingsStore::readColumnWidth("frmBrowse", 0, 69, 96), 69);
    EXPECT_EQ(SettingsStore::readColumnWidth("frmBrowse", 4, 101, 144), 151);  // 144*101/96 = 151.5
    EXPECT_EQ(SettingsStore::readColumnWidth("frmBrowse", 5, 90, 120), 112);   // 112.5
    SettingsStore::writeColumnWidth("frmBrowse", 4, 230);
    EXPECT_EQ(SettingsStore::readString("frmBrowse", "ColWid4"), "230");
    EXPECT_EQ(SettingsStore::readColumnWidth("frmBrowse", 4, 101, 144), 230);
    EXPECT_EQ(SettingsStore::readColumnWidth("frmBrowse", 3, 65, 96), 65);
}

// Window placement.

TEST(WindowPlacementTest, TextIsTenIntegersEachFollowedByASpace)
{
    WindowPlacement p;
    p.flags = 0;
    p.showCommand = 3;
    p.minX = -1;
    p.minY = -1;
    p.maxX = -8;
    p.maxY = -30;
    p.left = 100;
    p.top = 200;
    p.right = 740;
    p.bottom = 680;
    EXPECT_EQ(p.toText(), "0 3 -1 -1 -8 -30 100 200 740 680 ");
    const WindowPlacement q = WindowPlacement::fromText(p.toText());
    EXPECT_EQ(q.toText(), p.toText());
    EXPECT_TRUE(q.applicable());
}

TEST(WindowPlacementTest, ParsingRules)
{
    struct Row {
        const char* text;
        const char* expected;  // toText of the result
        bool applicable;
    };
    const Row rows[] = {
        {"", "0 1 0 0 0 0 0 0 0 0 ", false},
        {"0 0 0 0 0 0 0 0 0 0 ", "0 0 0 0 0 0 0 0 0 0 ", false},
        {"2 x 1 2 3 4 10 20 abc 40 ", "2 1 1 2 3 4 10 20 0 40 ", false},
        {"0 3 0 0 0 0 5 6 7", "0 3 0 0 0 0 5 6 7 0 ", true},
        {"1  2", "1 1 2 0 0 0 0 0 0 0 ", false},
        {"0x10 2 0 0 0 0 0 0 0x20 0 ", "16 2 0 0 0 0 0 0 32 0 ", true},
        {"0 2 0 0 0 0 50 50 10 90 ", "0 2 0 0 0 0 50 50 10 90 ", false},
        {"0 2 0 0 0 0 9999999999 0 5 5 ", "0 2 0 0 0 0 0 0 5 5 ", true},
        {"0 1 0 0 0 0 1 2 3 4 5 6 7", "0 1 0 0 0 0 1 2 3 4 ", true},
    };
    for (const Row& row : rows) {
        const WindowPlacement p = WindowPlacement::fromText(row.text);
        EXPECT_EQ(p.toText(), row.expected) << "text '" << row.text << "'";
        EXPECT_EQ(p.applicable(), row.applicable) << "text '" << row.text << "'";
    }
}

TEST_F(SettingsTest, PlacementStoreKeepsTwoFilesBesideTheSettings)
{
    const QString shared = PlacementStore::filePath(PlacementStore::Key::Shared);
    const QString dates = PlacementStore::filePath(PlacementStore::Key::FilesByDate);
    EXPECT_NE(shared, dates);
    EXPECT_NE(shared, SettingsStore::filePath());
    EXPECT_EQ(QFileInfo(shared).absolutePath(), QFileInfo(SettingsStore::filePath()).absolutePath());
    EXPECT_EQ(QFileInfo(dates).absolutePath(), QFileInfo(SettingsStore::filePath()).absolutePath());
}

TEST_F(SettingsTest, PlacementRoundTripPerKeyAndSection)
{
    EXPECT_FALSE(PlacementStore::read(PlacementStore::Key::Shared, "trovik", "frmBrowse").applicable());
    WindowPlacement p = WindowPlacement::fromText("0 1 -1 -1 -1 -1 10 20 300 400 ");
    PlacementStore::write(PlacementStore::Key::Shared, "frmDups", "frmMods", p);
    WindowPlacement q = WindowPlacement::fromText("0 3 -1 -1 -1 -1 1 2 30 40 ");
    PlacementStore::write(PlacementStore::Key::FilesByDate, "trovik", "frmMods", q);

    EXPECT_EQ(PlacementStore::read(PlacementStore::Key::Shared, "frmDups", "frmMods").toText(), p.toText());
    EXPECT_EQ(PlacementStore::read(PlacementStore::Key::FilesByDate, "trovik", "frmMods").toText(), q.toText());
    EXPECT_FALSE(PlacementStore::read(PlacementStore::Key::Shared, "trovik", "frmMods").applicable());
    EXPECT_FALSE(PlacementStore::read(PlacementStore::Key::Shared, "frmMods", "frmMods").applicable());
    // The settings file itself holds none of it.
    EXPECT_FALSE(QFile::exists(SettingsStore::filePath()));
}

TEST_F(SettingsTest, PlacementWriteFailureIsIgnored)
{
    // The config folder is a plain file: nothing can be written below it.
    QFile blocker(drives.configHome() + "/Halvane");
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    PlacementStore::write(PlacementStore::Key::Shared, "trovik", "frmView",
                          WindowPlacement::fromText("0 1 0 0 0 0 1 1 50 50 "));
    EXPECT_FALSE(PlacementStore::read(PlacementStore::Key::Shared, "trovik", "frmView").applicable());
}

// CumulativeTotals.

TEST_F(SettingsTest, TotalsAbsentReadAsNothingCounted)
{
    const CumulativeTotals t = CumulativeTotals::load();
    for (qint64 v : {t.nDelete, t.sizeDelete, t.nWaste, t.sizeWaste, t.delDate, t.nZip, t.sizeZip, t.zipDate})
        EXPECT_EQ(v, -1);
}

TEST_F(SettingsTest, TotalsAboveTwoGigabytesRoundTripAs64Bit)
{
    CumulativeTotals t;
    t.nDelete = 12;
    t.sizeDelete = 5000000000LL;
    t.nWaste = 3;
    t.sizeWaste = 2147483648LL;
    t.delDate = 36526;
    t.nZip = 40;
    t.sizeZip = 9000000000000LL;
    t.zipDate = 36530;
    t.save();

    const CumulativeTotals r = CumulativeTotals::load();
    EXPECT_EQ(r.nDelete, 12);
    EXPECT_EQ(r.sizeDelete, 5000000000LL);
    EXPECT_EQ(r.nWaste, 3);
    EXPECT_EQ(r.sizeWaste, 2147483648LL);
    EXPECT_EQ(r.delDate, 36526);
    EXPECT_EQ(r.nZip, 40);
    EXPECT_EQ(r.sizeZip, 9000000000000LL);
    EXPECT_EQ(r.zipDate, 36530);
    // Plain decimal text, no exponent.
    EXPECT_EQ(SettingsStore::readString("Trovik", "SizeDelete"), "5000000000");
    EXPECT_EQ(SettingsStore::readString("Trovik", "SizeZip"), "9000000000000");
    EXPECT_EQ(SettingsStore::readString("Trovik", "Ndelete"), "12");
}

TEST_F(SettingsTest, TotalsResetWritesMinusOne)
{
    CumulativeTotals().save();
    EXPECT_EQ(SettingsStore::readString("Trovik", "SizeWaste"), "-1");
    EXPECT_EQ(SettingsStore::readString("Trovik", "DelDate"), "-1");
    EXPECT_EQ(CumulativeTotals::load().sizeWaste, -1);
}

TEST_F(SettingsTest, TotalsFromOlderStoresStillRead)
{
    struct Row {
        const char* text;
        qint64 expected;
    };
    const Row rows[] = {
        {"1234", 1234},
        {"1234.0", 1234},
        {"1.5E9", 1500000000LL},
        {"1.5e+10", 15000000000LL},
        {"0x10", 16},
        {"-1", -1},
        {"12.5", -1},
        {"lots", -1},
        {"", -1},
    };
    for (const Row& row : rows) {
        writeIni(QByteArray("[Trovik]\nNdelete=4\nSizeDelete=") + row.text + "\nSizeWaste=" + row.text
                 + "\nSizeZip=" + row.text + "\n");
        const CumulativeTotals t = CumulativeTotals::load();
        EXPECT_EQ(t.sizeDelete, row.expected) << "text '" << row.text << "'";
        EXPECT_EQ(t.sizeWaste, row.expected) << "text '" << row.text << "'";
        EXPECT_EQ(t.sizeZip, row.expected) << "text '" << row.text << "'";
        EXPECT_EQ(t.nDelete, 4);
        EXPECT_EQ(t.nZip, -1);
    }
}

TEST(DayNumberTest, DaysSinceTheEndOf1899)
{
    EXPECT_EQ(dayNumber(2000, 1, 1), 36526);
    EXPECT_EQ(dayNumber(1899, 12, 30), 0);
    EXPECT_EQ(dayNumber(1899, 12, 31), 1);
    EXPECT_EQ(dayNumber(1900, 1, 1), 2);
    EXPECT_EQ(dayNumber(1900, 3, 1), 61);
    EXPECT_EQ(dayNumber(1980, 1, 1), 29221);
    const QDate today = QDate::currentDate();
    EXPECT_EQ(todayDayNumber(), dayNumber(today.year(), today.month(), today.day()));
}

TEST_F(SettingsTest, UserRegistryReadsTheSettingsSections)
{
    SettingsStore::writeString("ZipFile", "Path", "D:\\zips\\");
    EXPECT_EQ(ReadUserRegString(SettingsRootKey() + "\\ZipFile", "Path"), "D:\\zips\\");
    EXPECT_EQ(ReadUserRegString("SOFTWARE\\halvane\\TROVIK\\3.0\\ZipFile", "Path"), "D:\\zips\\");
    EXPECT_EQ(ReadUserRegString(SettingsRootKey() + "\\ZipFile\\", "Path"), "D:\\zips\\");
    EXPECT_EQ(ReadUserRegString(SettingsRootKey() + "\\ZipFile", "Comment"), QString());
    EXPECT_EQ(ReadUserRegString(SettingsRootKey() + "\\Other", "Path"), QString());
    EXPECT_EQ(ReadUserRegString(SettingsRootKey(), "Path"), QString());
    EXPECT_EQ(ReadUserRegString("Software\\Other\\Program\\ZipFile", "Path"), QString());
    EXPECT_EQ(ReadUserRegString("", ""), QString());
    EXPECT_EQ(ReadMachineRegString(SettingsRootKey() + "\\ZipFile", "Path"), QString());
}

}  // namespace

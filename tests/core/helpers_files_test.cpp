#include "core/helpers.h"
#include "core/scriptedprompter.h"
#include "platform/fileops.h"
#include "platform/filetypes.h"
#include "support/tempdrives.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <sys/stat.h>

using namespace core;

namespace {

PackedDosDateTime dos(int y, int mo, int d, int h = 0, int mi = 0, int s = 0)
{
    return (PackedDosDateTime(y - 1980) << 25) | (PackedDosDateTime(mo) << 21) | (PackedDosDateTime(d) << 16)
        | (PackedDosDateTime(h) << 11) | (PackedDosDateTime(mi) << 5) | PackedDosDateTime(s / 2);
}

// 100-ns intervals since 1601 of a UTC date and time.
plat::FileTime fileTimeUtc(int y, int mo, int d, int h, int mi, int s)
{
    const qint64 seconds = QDateTime(QDate(y, mo, d), QTime(h, mi, s), Qt::UTC).toSecsSinceEpoch();
    return plat::FileTime(seconds + 11644473600LL) * 10000000ULL;
}

// Runs a block with a fixed time zone.
class TimeZoneScope {
public:
    explicit TimeZoneScope(const char* tz)
    {
        if (const char* old = std::getenv("TZ"))
            saved_ = old;
        had_ = std::getenv("TZ") != nullptr;
        setenv("TZ", tz, 1);
        tzset();
    }
    ~TimeZoneScope()
    {
        if (had_)
            setenv("TZ", saved_.c_str(), 1);
        else
            unsetenv("TZ");
        tzset();
    }

private:
    std::string saved_;
    bool had_ = false;
};

TEST(FindDataTest, SizeIsUnsigned64BitAsFloat)
{
    plat::FindData f;
    f.sizeHigh = 0;
    f.sizeLow = 3000000000u;
    EXPECT_DOUBLE_EQ(FindDataSize(f), 3000000000.0);
    f.sizeHigh = 1;
    f.sizeLow = 0;
    EXPECT_DOUBLE_EQ(FindDataSize(f), 4294967296.0);
    f.sizeHigh = 2;
    f.sizeLow = 0x80000000u;
    EXPECT_DOUBLE_EQ(FindDataSize(f), 2.0 * 4294967296.0 + 2147483648.0);
    f.sizeHigh = 0;
    f.sizeLow = 0;
    EXPECT_DOUBLE_EQ(FindDataSize(f), 0.0);
}

TEST(FindDataTest, FileTimesBecomeLocalDosTimes)
{
    TimeZoneScope utc("UTC");
    EXPECT_EQ(FileTimeToLocalDos(0), 0u);
    EXPECT_EQ(FileTimeToLocalDos(fileTimeUtc(2003, 4, 5, 13, 45, 30)), dos(2003, 4, 5, 13, 45, 30));
    EXPECT_EQ(FileTimeToLocalDos(fileTimeUtc(2003, 4, 5, 13, 45, 31)), dos(2003, 4, 5, 13, 45, 30));
    EXPECT_EQ(FileTimeToLocalDos(fileTimeUtc(1980, 1, 1, 0, 0, 0)), dos(1980, 1, 1));
    EXPECT_EQ(FileTimeToLocalDos(fileTimeUtc(1979, 12, 31, 23, 59, 59)), 0u);
    EXPECT_EQ(FileTimeToLocalDos(fileTimeUtc(2107, 12, 31, 23, 59, 58)), dos(2107, 12, 31, 23, 59, 58));
    EXPECT_EQ(FileTimeToLocalDos(fileTimeUtc(2108, 1, 1, 0, 0, 0)), 0u);
    EXPECT_EQ(FileTimeToLocalDos(1), 0u);  // 1601
    EXPECT_EQ(FileTimeToLocalDos(~plat::FileTime(0)), 0u);
}

TEST(FindDataTest, LocalTimeFollowsTheZone)
{
    TimeZoneScope est("EST5");  // five hours behind, no daylight saving
    EXPECT_EQ(FileTimeToLocalDos(fileTimeUtc(2003, 4, 5, 13, 45, 30)), dos(2003, 4, 5, 8, 45, 30));
    // 1980-01-01 03:00 UTC is still 1979 here.
    EXPECT_EQ(FileTimeToLocalDos(fileTimeUtc(1980, 1, 1, 3, 0, 0)), 0u);
}

TEST(FindDataTest, EachTimeFunctionReadsItsOwnField)
{
    TimeZoneScope utc("UTC");
    plat::FindData f;
    f.creationTime = fileTimeUtc(2001, 1, 1, 1, 1, 2);
    f.lastAccessTime = fileTimeUtc(2002, 2, 2, 2, 2, 4);
    f.lastWriteTime = fileTimeUtc(2003, 3, 3, 3, 3, 6);
    EXPECT_EQ(CreationDosTime(f), dos(2001, 1, 1, 1, 1, 2));
    EXPECT_EQ(LastAccessDosTime(f), dos(2002, 2, 2, 2, 2, 4));
    EXPECT_EQ(LastWriteDosTime(f), dos(2003, 3, 3, 3, 3, 6));
    f.creationTime = 0;  // not recorded
    EXPECT_EQ(CreationDosTime(f), 0u);
}

TEST(FindDataTest, EntryKind)
{
    struct Row {
        const char* name;
        quint32 attributes;
        int expected;
    };
    const Row rows[] = {
        {".", plat::faDirectory, ekDotEntry},
        {"..", plat::faDirectory, ekDotEntry},
        {".", 0, ekDotEntry},
        {"sub", plat::faDirectory, ekFolder},
        {"...", plat::faDirectory | plat::faHidden, ekFolder},
        {".profile", plat::faHidden, ekFile},
        {"a.txt", plat::faReadOnly, ekFile},
        {"fifo", plat::faSystem, ekFile},
    };
    for (const Row& row : rows) {
        plat::FindData f;
        f.name = row.name;
        f.attributes = row.attributes;
        EXPECT_EQ(EntryKind(f), row.expected) << row.name;
    }
}

class DriveTest : public ::testing::Test {
protected:
    testing_support::TempDrives drives{"CD"};
};

TEST_F(DriveTest, DiskSpaceAlwaysSucceeds)
{
    double freeBytes = -1, totalBytes = -1;
    EXPECT_TRUE(GetDiskSpace("C:\\", freeBytes, totalBytes));
    EXPECT_GT(totalBytes, 0.0);
    EXPECT_GE(freeBytes, 0.0);
    EXPECT_LE(freeBytes, totalBytes);
    freeBytes = totalBytes = -1;
    EXPECT_TRUE(GetDiskSpace("Q:\\", freeBytes, totalBytes));
    EXPECT_EQ(freeBytes, 0.0);
    EXPECT_EQ(totalBytes, 0.0);
}

TEST_F(DriveTest, DriveReady)
{
    EXPECT_TRUE(DriveReady(QChar('C')));
    EXPECT_TRUE(DriveReady(QChar('c')));
    EXPECT_TRUE(DriveReady(QChar('d')));
    EXPECT_FALSE(DriveReady(QChar('Q')));
    EXPECT_FALSE(DriveReady(QChar('q')));
    // A character that is not a letter stands for C, and C:\ becomes current.
    drives.makeFolder('D', "elsewhere");
    ChangeToFolder("D:\\elsewhere");
    ASSERT_EQ(plat::currentFolder(), "D:\\elsewhere");
    EXPECT_TRUE(DriveReady(QChar('1')));
    EXPECT_EQ(plat::currentFolder(), "C:\\");
}

TEST_F(DriveTest, PathDriveReady)
{
    EXPECT_TRUE(PathDriveReady(""));
    EXPECT_TRUE(PathDriveReady("C"));
    EXPECT_TRUE(PathDriveReady("C:\\some\\file"));
    EXPECT_TRUE(PathDriveReady("d:"));
    EXPECT_FALSE(PathDriveReady("Q:\\some\\file"));
    EXPECT_TRUE(PathDriveReady("\\\\server\\share"));
    EXPECT_TRUE(PathDriveReady("relative\\path"));
}

TEST_F(DriveTest, ChangeToFolderRules)
{
    drives.makeFolder('C', "dir/sub");
    ChangeToFolder("C:\\dir\\sub");
    EXPECT_EQ(plat::currentFolder(), "C:\\dir\\sub");
    ChangeToFolder("");  // nothing happens
    EXPECT_EQ(plat::currentFolder(), "C:\\dir\\sub");
    ChangeToFolder("D:");
    EXPECT_EQ(plat::currentFolder(), "D:\\");
    ChangeToFolder("C:\\dir");
    ChangeToFolder("d:whatever");  // drive and colon, no backslash: the root
    EXPECT_EQ(plat::currentFolder(), "D:\\");
    ChangeToFolder("C:\\dir\\\\sub");  // two backslashes in a row: the root
    EXPECT_EQ(plat::currentFolder(), "C:\\");
    ChangeToFolder("C:\\dir\\");
    EXPECT_EQ(plat::currentFolder(), "C:\\dir");
    EXPECT_THROW(ChangeToFolder("C:\\missing"), plat::IoError);
    EXPECT_THROW(ChangeToFolder("Q:"), plat::IoError);
    EXPECT_EQ(plat::currentFolder(), "C:\\dir");
}

// File types.

class FileTypesTest : public ::testing::Test {
protected:
    plat::FakeFileTypes fake{{
        {".txt", "Text Document"},
        {".htm", "HTML Document"},
        {".html", "HTML Document"},
        {".c", "C source code"},
        {".jpeg", "JPEG image"},
        {".longer", "Too long"},
        {".tar.gz", "Two dots"},
    }};
    void SetUp() override { plat::setFileTypes(&fake); }
    void TearDown() override { plat::setFileTypes(nullptr); }
};

TEST_F(FileTypesTest, FileTypeName)
{
    EXPECT_EQ(FileTypeName("*."), "No extension");
    EXPECT_EQ(FileTypeName(".txt"), "Text Document");
    EXPECT_EQ(FileTypeName(".htm"), "HTML Document");
    EXPECT_EQ(FileTypeName(".abc"), "ABC File");
    EXPECT_EQ(FileTypeName(".xyz"), "XYZ File");
    EXPECT_EQ(FileTypeName("*.abc"), "");
    EXPECT_EQ(FileTypeName("*.txt"), "");
    EXPECT_EQ(FileTypeName("*.*"), "");
    EXPECT_EQ(FileTypeName(""), "");
}

TEST_F(FileTypesTest, ListRegisteredExtensions)
{
    QStringList list = {"left over"};
    ListRegisteredExtensions(list, true);
    EXPECT_EQ(list, QStringList({"*.*", "*.c", "*.htm", "*.html", "*.jpeg", "*.txt"}));
    ListRegisteredExtensions(list, false);
    EXPECT_EQ(list, QStringList({"*.c", "*.htm", "*.html", "*.jpeg", "*.txt"}));
    for (const QString& e : list)
        EXPECT_LE(e.size(), 6) << e.toStdString();
}

TEST(FileTypesEmptyTest, NothingRegistered)
{
    plat::FakeFileTypes empty{{}};
    plat::setFileTypes(&empty);
    QStringList list = {"x"};
    ListRegisteredExtensions(list, true);
    EXPECT_EQ(list, QStringList({"*.*"}));
    ListRegisteredExtensions(list, false);
    EXPECT_TRUE(list.isEmpty());
    EXPECT_EQ(FileTypeName(".txt"), "TXT File");
    plat::setFileTypes(nullptr);
}

// A source that hands back what a registry would: unsorted, with
// duplicates and with long extensions.
class RawFileTypes : public plat::FileTypeSource {
public:
    QString typeName(const QString&) override { return {}; }
    QStringList registeredExtensions() override
    {
        return {".zip", ".longer", ".htm", ".", ".html", "noDot", ".htm", ".jpeg", ".a", ".abcde"};
    }
};

TEST(FileTypesRawTest, OnlyShortDotExtensionsSortedOnce)
{
    RawFileTypes raw;
    plat::setFileTypes(&raw);
    QStringList list;
    ListRegisteredExtensions(list, true);
    plat::setFileTypes(nullptr);
    EXPECT_EQ(list, QStringList({"*.*", "*.a", "*.htm", "*.html", "*.jpeg", "*.zip"}));
}

// The strings view.

// The bytes of a literal, embedded zeros included.
template <std::size_t N>
QByteArray B(const char (&text)[N])
{
    return QByteArray(text, qsizetype(N) - 1);
}

class TextRunsTest : public ::testing::Test {
protected:
    testing_support::TempDrives drives{"C"};
    ScriptedPrompter scripted;
    void SetUp() override { setPrompter(&scripted); }
    void TearDown() override { setPrompter(nullptr); }

    QStringList runs(const QByteArray& input, int minLen = 5, int maxLen = 100)
    {
        drives.writeFile('C', "in.bin", input);
        ExtractTextRuns("C:\\in.bin", "C:\\out.txt", minLen, maxLen);
        QFile f(drives.posix(QChar('C')) + "/out.txt");
        if (!f.open(QIODevice::ReadOnly))
            return {"<no output>"};
        const QString text = QString::fromLatin1(f.readAll());
        QStringList lines = text.split('\n');
        if (!lines.isEmpty() && lines.last().isEmpty())
            lines.removeLast();
        else
            lines << "<unterminated last line>";
        return lines;
    }
};

TEST_F(TextRunsTest, Rows)
{
    struct Row {
        const char* name;
        QByteArray input;
        int minLen, maxLen;
        QStringList expected;
    };
    const Row rows[] = {
        {"runs between binary bytes", B("Hello World\x01" "abc\x02Second run here\n"), 5, 100,
         {"Hello World", "Second run here"}},
        {"exactly the minimum", B("abcde\0abcd\0"), 5, 100, {"abcde"}},
        {"cut after maxLen + 1", B("ABCDEFGHIJ\0"), 5, 5, {"ABCDEF"}},
        {"cut keeps dropping until the run ends", B("ABCDEFGHIJ\0KLMNOPQ\0"), 3, 3,
         {"ABCD", "KLMN"}},
        {"consecutive equal lines once", B("hello\0hello\0world\0hello\0"), 5, 100,
         {"hello", "world", "hello"}},
        {"a short run between equal lines", B("hello\0ab\0hello\0"), 5, 100, {"hello"}},
        {"equal after the cut", B("abcdefXX\0abcdefYY\0"), 5, 5, {"abcdef"}},
        {"open run at the end is dropped", B("first\0unterminated"), 5, 100, {"first"}},
        {"space is a run character", B("caf\xc3\xa9 latte\0"), 5, 100, {" latte"}},
        {"tab and punctuation end runs", B("abcde\tfghij.klmno-pqrst\n"), 5, 100,
         {"abcde", "fghij", "klmno", "pqrst"}},
        {"empty input", QByteArray(), 5, 100, {}},
        {"only binary", B("\0\1\2\3\xff"), 5, 100, {}},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(runs(row.input, row.minLen, row.maxLen), row.expected) << row.name;
    }
    EXPECT_TRUE(scripted.records().isEmpty());
}

TEST_F(TextRunsTest, RunsAcrossBlockBoundaries)
{
    QByteArray input(2040, '\0');
    input += "spanning the block edge";
    input += '\0';
    input += QByteArray(2048 * 3, 'z');
    input += '\n';
    input += QByteArray(5000, '\x7f');
    input += "last one\n";
    EXPECT_EQ(runs(input, 5, 10000), QStringList({"spanning the block edge", QString(2048 * 3, 'z'), "last one"}));
}

TEST_F(TextRunsTest, OutputIsOverwritten)
{
    drives.writeFile('C', "out.txt", "old contents that must go\nold\n");
    EXPECT_EQ(runs(B("fresh\0")), QStringList({"fresh"}));
}

TEST_F(TextRunsTest, MissingInputIsReportedAndNoOutputMade)
{
    ExtractTextRuns("C:\\nothere.bin", "C:\\out.txt", 5, 100);
    ASSERT_EQ(scripted.records().size(), 1);
    EXPECT_EQ(scripted.records()[0].kind, ScriptedPrompter::Kind::Error);
    EXPECT_EQ(scripted.records()[0].text, "Could not open file C:\\nothere.bin");
    EXPECT_FALSE(QFile::exists(drives.posix(QChar('C')) + "/out.txt"));
}

TEST_F(TextRunsTest, FifoInputIsRefused)
{
    const QString fifo = drives.posix(QChar('C')) + "/pipe";
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    ExtractTextRuns("C:\\pipe", "C:\\out.txt", 5, 100);  // must not block
    ASSERT_EQ(scripted.records().size(), 1);
    EXPECT_EQ(scripted.records()[0].text, "Could not open file C:\\pipe");
    EXPECT_FALSE(QFile::exists(drives.posix(QChar('C')) + "/out.txt"));
    QFile::remove(fifo);
}

TEST_F(TextRunsTest, FolderInputIsRefused)
{
    drives.makeFolder('C', "folder");
    ExtractTextRuns("C:\\folder", "C:\\out.txt", 5, 100);
    ASSERT_EQ(scripted.records().size(), 1);
    EXPECT_EQ(scripted.records()[0].text, "Could not open file C:\\folder");
    EXPECT_FALSE(QFile::exists(drives.posix(QChar('C')) + "/out.txt"));
}

TEST_F(TextRunsTest, UncreatableOutputRaises)
{
    drives.writeFile('C', "in.bin", B("words here\0"));
    EXPECT_THROW(ExtractTextRuns("C:\\in.bin", "Q:\\out.txt", 5, 100), plat::IoError);
    EXPECT_THROW(ExtractTextRuns("C:\\in.bin", "C:\\no such folder\\out.txt", 5, 100), plat::IoError);
    EXPECT_TRUE(scripted.records().isEmpty());
}

}  // namespace

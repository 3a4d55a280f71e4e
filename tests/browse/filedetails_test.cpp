// The details texts: clusters, attribute words, dates, the printed lines,
// and the icon chosen for a file.
#include "browse/fileicon.h"
#include "browse/filedetails.h"
#include "pebuilder.h"
#include "platform/fileops.h"
#include "platform/findfile.h"
#include "support/localescope.h"
#include "support/tempdrives.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <utime.h>

using namespace browse;

TEST(FileDetails, ClusterText)
{
    struct Case {
        double size;
        std::optional<quint64> cluster;
        const char* text;
    };
    const Case cases[] = {
        {10000, 4096, "Cluster size: 4,096  Clusters used : 3"},
        {8192, 4096, "Cluster size: 4,096  Clusters used : 2"},
        {8193, 4096, "Cluster size: 4,096  Clusters used : 3"},
        {0, 4096, "Cluster size: 4,096  Clusters used : 0"},
        {4294967294.0, 65536, "Cluster size: 65,536  Clusters used : 65,536"},
        {4294967295.0, 4096, "Cluster size: 4,096"},
        {1e12, 4096, "Cluster size: 4,096"},
        // No cluster size (statvfs failed): no text, nothing divided.
        {10000, std::nullopt, ""},
        {10000, 0, ""},
    };
    testing_support::LocaleScope english(QLocale(QLocale::English, QLocale::UnitedStates));
    for (const Case& c : cases)
        EXPECT_EQ(ClusterText(c.size, c.cluster), c.text) << c.size;
}

TEST(FileDetails, AttributeWordsAndDates)
{
    using namespace plat;
    const std::pair<quint32, const char*> words[] = {
        {0, ""},
        {faReadOnly | faArchive, " ReadOnly Archive"},
        {faArchive | faDirectory | faVolumeId | faSystem | faHidden | faReadOnly,
         " ReadOnly Hidden System VolumeID Directory Archive"},
        {faReparse, ""},
    };
    for (const auto& [bits, text] : words)
        EXPECT_EQ(AttributeWords(bits), text) << bits;
    EXPECT_EQ(DateAgeText(0), "???");
    EXPECT_EQ(DateTimeAgeText(0), "???");
    const core::PackedDosDateTime t = core::DateTimeToDos(QDateTime(QDate(2021, 6, 7), QTime(8, 9, 10)));
    const QString date = core::DosDateText(t);
    const QString age = core::AgeText(core::DosToDateTime(t));
    EXPECT_EQ(DateAgeText(t), date + "  " + age);
    EXPECT_EQ(DateTimeAgeText(t), date + " " + core::DosTimeText(t) + "  " + age);
}

TEST(FileDetails, PrintedLinesOfAFile)
{
    testing_support::TempDrives drives("C");
    testing_support::LocaleScope english(QLocale(QLocale::English, QLocale::UnitedStates));
    const QString posix = drives.writeFile('C', "docs/Report.TXT", QByteArray(10000, 'r'));
    const QDateTime written(QDate(2020, 3, 4), QTime(5, 6, 8));
    const struct utimbuf times = {written.addDays(1).toSecsSinceEpoch(), written.toSecsSinceEpoch()};
    ASSERT_EQ(::utime(QFile::encodeName(posix).constData(), &times), 0);
    ASSERT_EQ(::chmod(QFile::encodeName(posix).constData(), 0444), 0);

    const FileDetails d = ReadFileDetails("C:\\docs\\Report.TXT");
    ASSERT_TRUE(d.found);
    const auto space = plat::diskSpace("C:\\");
    ASSERT_TRUE(space);
    const QString modified = DateAgeText(core::DateTimeToDos(written));
    const QStringList lines = DetailsPrintLines(d);
    const QStringList expected = {
        "Name of file : \tC:\\docs\\Report.TXT",
        "Type of file : \t" + core::FileTypeName(".txt"),
        " ",
        "Size of file : \t10,000 bytes",
        "               \t" + ClusterText(10000, space->clusterSize),
        " ",
        "Creation date     : \t" + d.createText,
        "Modification date : \t" + modified,
        "Access date       : \t" + DateAgeText(core::DateTimeToDos(written.addDays(1))),
        " ",
        "Attributes : \t ReadOnly",
        " ",
    };
    EXPECT_EQ(lines, expected);
    EXPECT_TRUE(d.versionLines.isEmpty());
    EXPECT_EQ(DetailsPrintTitle(d.path), "File details of C:\\docs\\Report.TXT");

    // An executable adds its version lines; a path that is gone, nothing.
    drives.writeFile('C', "bin/tool.dll", petest::PeImage({false, petest::VersionBlockBytes({0x409, 0x4E4, {}, petest::SampleStrings()})}));
    EXPECT_EQ(ReadFileDetails("C:\\bin\\tool.dll").versionLines.size(), 11);
    EXPECT_EQ(DetailsPrintLines(ReadFileDetails("C:\\bin\\tool.dll")).size(), 12 + 11);
    const FileDetails gone = ReadFileDetails("C:\\docs\\gone.txt");
    EXPECT_FALSE(gone.found);
    EXPECT_TRUE(gone.sizeText.isEmpty());
}

TEST(FileDetails, IconOfAFile)
{
    // A small icon theme of our own, so the lookups do not depend on the
    // machine's themes.
    QTemporaryDir themes;
    const QString theme = themes.path() + "/trovik-test";
    ASSERT_TRUE(QDir().mkpath(theme + "/32"));
    QFile index(theme + "/index.theme");
    ASSERT_TRUE(index.open(QIODevice::WriteOnly));
    index.write("[Icon Theme]\nName=trovik-test\nDirectories=32\n\n[32]\nSize=32\n");
    index.close();
    QImage red(32, 32, QImage::Format_ARGB32);
    red.fill(Qt::red);
    for (const char* name : {"text-plain", "application-pdf"})
        ASSERT_TRUE(red.save(theme + "/32/" + name + ".png"));
    const QStringList savedPaths = QIcon::themeSearchPaths();
    const QString savedName = QIcon::themeName();
    QIcon::setThemeSearchPaths({themes.path()});
    QIcon::setThemeName("trovik-test");

    testing_support::TempDrives drives("C");
    drives.writeFile('C', "f/notes.txt", "plain words");
    drives.writeFile('C', "f/report", "%PDF-1.4\n%\xE2\xE3\xCF\xD3\n1 0 obj\n");
    drives.writeFile('C', "f/blob", QByteArray("\x00\x01\x02\xFF\xFE\x00\x10", 7).repeated(100));
    ASSERT_EQ(::mkfifo(QFile::encodeName(drives.posix('C') + "/f/pipe").constData(), 0600), 0);
    const std::pair<const char*, IconKind> cases[] = {
        {"C:\\f", IconKind::Directory},
        {"C:\\f\\notes.txt", IconKind::Theme},      // by name
        {"C:\\f\\report", IconKind::Theme},         // by its first bytes
        {"C:\\f\\blob", IconKind::NoIcon},
        {"C:\\f\\pipe", IconKind::NoIcon},          // never opened
        {"C:\\f\\gone.bin", IconKind::NoIcon},
    };
    for (const auto& [path, kind] : cases) {
        QIcon icon;
        EXPECT_EQ(FileIconFor(path, icon), kind) << path;
        EXPECT_FALSE(icon.isNull()) << path;
    }
    QIcon::setThemeSearchPaths(savedPaths);
    QIcon::setThemeName(savedName);
}

// trovik-scan archive: the panel's zip operation from outside - protected
// files skipped unless --force, the archive folder and comment from the
// settings or the options, totals and log, and the exit statuses.
#include "components/zip/zipreader.h"
#include "core/settings.h"
#include "support/tempdrives.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

struct ScanResult {
    int status;
    QStringList out;
    QStringList err;
};

QStringList lines(const QByteArray& bytes)
{
    QStringList l = QString::fromUtf8(bytes).split('\n');
    if (!l.isEmpty() && l.last().isEmpty())
        l.removeLast();
    return l;
}

ScanResult Scan(const QStringList& args)
{
    QProcess p;
    p.start(TROVIK_SCAN, args);
    p.waitForFinished(60000);
    return {p.exitCode(), lines(p.readAllStandardOutput()), lines(p.readAllStandardError())};
}

class ArchiveCliTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // C:\keep is on the protected folder list.
        QFile f(drives.programHome() + "/folders.txt");
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("C:\\keep\r\n");
        drives.makeFolder('D', "zips");
    }
    QString file(const QString& rel, const QByteArray& data)
    {
        drives.writeFile('C', QString(rel).replace('\\', '/'), data);
        return "C:\\" + rel;
    }
    bool exists(const QString& drivePath) const { return QFileInfo::exists(drives.posix(drivePath)); }
    QStringList archives() const { return QDir(drives.posix(QChar('D')) + "/zips").entryList({"*.zip"}); }
    QStringList entryNames(const QString& name, QString* comment = nullptr) const
    {
        comp::ZipReader r;
        if (!r.openPosix(QFile::encodeName(drives.posix(QChar('D')) + "/zips/" + name)))
            return {"<not an archive>"};
        if (comment)
            *comment = r.comment();
        QStringList out;
        for (const auto& e : r.entries())
            out << e.name;
        return out;
    }
    static QString total(const char* name) { return core::SettingsStore::readString("Trovik", name, "<absent>"); }

    testing_support::TempDrives drives{"CD"};
};

TEST_F(ArchiveCliTest, ZipsDeletesAndSkipsProtectedFiles)
{
    const ScanResult r = Scan({"archive", "--tag", "Duplicates", "--folder", "D:\\zips", "--comment", "by script",
                               file("free\\a.txt", "aaaa"), drives.posix(QChar('C')) + "/free/b.txt",
                               file("keep\\c.txt", "cc")});
    // b.txt does not exist: it is named and stays out of the counts.
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, QStringList({"Safe Harbor, not removed (referenced in the registry): C:\\keep\\c.txt",
                                  "Couldn't zip up file - C:\\free\\b.txt"}));
    ASSERT_EQ(archives().size(), 1);
    const QString name = archives().first();
    EXPECT_TRUE(name.startsWith("Drive-C-Duplicates")) << qPrintable(name);
    EXPECT_EQ(name.size(), QString("Drive-C-Duplicates06Sep990533.zip").size());
    EXPECT_EQ(r.out, QStringList({"Archive: D:\\zips\\" + name, "1 files, 4 bytes zipped and deleted"}));
    QString comment;
    EXPECT_EQ(entryNames(name, &comment), QStringList({"free/a.txt"}));
    EXPECT_EQ(comment, "by script");
    EXPECT_FALSE(exists("C:\\free\\a.txt"));
    EXPECT_TRUE(exists("C:\\keep\\c.txt"));
    EXPECT_EQ(total("NZip"), "1");
    EXPECT_EQ(total("SizeZip"), "4");
}

TEST_F(ArchiveCliTest, ForceTakesProtectedFilesAndTheSettingsGiveFolderAndComment)
{
    core::SettingsStore::writeString("ZipFile", "Path", "D:\\zips");
    core::SettingsStore::writeString("ZipFile", "Comment", "from the settings");
    const ScanResult r = Scan({"archive", "--force", file("keep\\c.txt", "cc")});
    EXPECT_EQ(r.status, 0) << qPrintable(r.err.join('\n'));
    ASSERT_EQ(archives().size(), 1);
    // No tag: the time text follows the drive directly.
    EXPECT_TRUE(QRegularExpression("^Drive-C-\\d\\d[^0-9]+\\d{6}\\.zip$").match(archives().first()).hasMatch())
        << qPrintable(archives().first());
    QString comment;
    EXPECT_EQ(entryNames(archives().first(), &comment), QStringList({"keep/c.txt"}));
    EXPECT_EQ(comment, "from the settings");
    EXPECT_FALSE(exists("C:\\keep\\c.txt"));
}

TEST_F(ArchiveCliTest, AnUnreadableArchiveStopsWithNothingDeleted)
{
    // Whatever minute it runs in, the archive it would add to is not a zip.
    const QString f = file("free\\a.txt", "aaaa");
    for (int m = 0; m < 3; ++m) {
        const QDateTime t = QDateTime::currentDateTime().addSecs(60 * m);
        const QString name = QString("Drive-C-X%1%2%3%4%5.zip")
                                 .arg(t.date().day(), 2, 10, QChar('0'))
                                 .arg(QLocale().monthName(t.date().month(), QLocale::ShortFormat))
                                 .arg(t.date().year() % 100, 2, 10, QChar('0'))
                                 .arg(t.time().hour(), 2, 10, QChar('0'))
                                 .arg(t.time().minute(), 2, 10, QChar('0'));
        drives.writeFile('D', "zips/" + name, "not a zip");
    }
    const ScanResult r = Scan({"archive", "--force", "--tag", "X", "--folder", "D:\\zips", f});
    EXPECT_EQ(r.status, 1);
    ASSERT_EQ(r.err.size(), 1);
    EXPECT_TRUE(r.err.first().startsWith("Couldn't open the archive D:\\zips\\Drive-C-X")) << qPrintable(r.err.first());
    EXPECT_TRUE(exists(f));
    EXPECT_EQ(total("NZip"), "<absent>");
}

TEST_F(ArchiveCliTest, WithoutABuiltSafeHarborOnlyForceZips)
{
    ASSERT_TRUE(QFile::remove(drives.programHome() + "/folders.txt"));
    const QString f = file("free\\a.txt", "aaaa");
    const ScanResult refused = Scan({"archive", "--folder", "D:\\zips", f});
    EXPECT_EQ(refused.status, 1);
    EXPECT_TRUE(exists(f));
    EXPECT_TRUE(archives().isEmpty());
    EXPECT_EQ(total("NZip"), "<absent>");

    const ScanResult forced = Scan({"archive", "--force", "--folder", "D:\\zips", f});
    EXPECT_EQ(forced.status, 0) << qPrintable(forced.err.join('\n'));
    EXPECT_FALSE(exists(f));
    EXPECT_EQ(archives().size(), 1);
}

TEST_F(ArchiveCliTest, AnArchiveNeverMadeIsNotNamed)
{
    // Nothing could be stored: the archive of drive C was never created.
    const ScanResult r = Scan({"archive", "--force", "--folder", "D:\\zips", "C:\\free\\gone.txt"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, QStringList({"Couldn't zip up file - C:\\free\\gone.txt"}));
    EXPECT_TRUE(archives().isEmpty());
    EXPECT_EQ(r.out, QStringList({"0 files, 0 bytes zipped and deleted"}));
}

TEST_F(ArchiveCliTest, AMissingArchiveFolderStopsWithOneErrorAndNamesTheRest)
{
    const QString a = file("free\\a.txt", "aaaa");
    const QString b = file("free\\b.txt", "bb");
    const ScanResult r = Scan({"archive", "--force", "--folder", "D:\\nowhere", a, b});
    EXPECT_EQ(r.status, 1);
    ASSERT_EQ(r.err.size(), 3) << qPrintable(r.err.join('\n'));
    EXPECT_TRUE(r.err[0].startsWith("Couldn't write the archive D:\\nowhere\\Drive-C-")) << qPrintable(r.err[0]);
    EXPECT_EQ(r.err.mid(1), QStringList({"Not tried after the archive could not be written: " + a,
                                         "Not tried after the archive could not be written: " + b}));
    EXPECT_EQ(r.out, QStringList({"0 files, 0 bytes zipped and deleted"}));
    EXPECT_TRUE(exists(a));
    EXPECT_TRUE(exists(b));
}

TEST_F(ArchiveCliTest, UsageErrors)
{
    EXPECT_EQ(Scan({"archive"}).status, 2);
    EXPECT_EQ(Scan({"archive", "--tag"}).status, 2);
    EXPECT_EQ(Scan({"archive", "--bogus", "C:\\a"}).status, 2);
    EXPECT_EQ(Scan({"archive", "--folder", "relative", "C:\\a"}).status, 1);
    const ScanResult help = Scan({"--help"});
    EXPECT_TRUE(help.out.join('\n').contains("trovik-scan archive [--tag T] [--force] [--folder Z]"));
}

}  // namespace

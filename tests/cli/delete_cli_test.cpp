// trovik-scan delete: the deletion panel's operations from the command line.
#include "core/settings.h"
#include "delete/undeletable.h"
#include "support/tempdrives.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>

namespace {

struct ScanResult {
    int status;
    QString out;
    QString err;
};

ScanResult Scan(const QStringList& args)
{
    QProcess p;
    p.start(TROVIK_SCAN, args);
    p.waitForFinished(60000);
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
}

QString readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(f.readAll()) : QString();
}

class DeleteCliTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // C:\keep is on the protected folder list.
        QDir().mkpath(drives.programHome());
        QFile f(drives.programHome() + "/folders.txt");
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("C:\\keep\r\n");
    }
    QString file(const QString& rel, int size)
    {
        drives.writeFile('C', QString(rel).replace('\\', '/'), QByteArray(size, 'x'));
        return "C:\\" + rel;
    }
    bool exists(const QString& drivePath) const { return QFileInfo::exists(drives.posix(drivePath)); }
    static QString total(const char* name) { return core::SettingsStore::readString("Trovik", name, "<absent>"); }
    QString logFile() const { return drives.programHome() + "/grdelete.txt"; }

    testing_support::TempDrives drives{"C"};
};

TEST_F(DeleteCliTest, DeletesAndLeavesProtectedFilesAlone)
{
    const ScanResult r = Scan({"delete", file("free\\a", 100), file("free\\b", 200), file("keep\\c", 400)});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "Safe Harbor, not removed (referenced in the registry): C:\\keep\\c\n");
    EXPECT_EQ(r.out, "2 files, 300 bytes deleted\n");
    EXPECT_FALSE(exists("C:\\free\\a"));
    EXPECT_FALSE(exists("C:\\free\\b"));
    EXPECT_TRUE(exists("C:\\keep\\c"));
    EXPECT_EQ(total("Ndelete"), "2");
    EXPECT_EQ(total("SizeDelete"), "300");
    const QString log = readAll(logFile());
    EXPECT_TRUE(log.startsWith("7,3\ncw 0,127\n")) << qPrintable(log);
    EXPECT_TRUE(log.contains("\n1,1,2\n2,1,300\n3,1,0\n4,1,0\n5,1,0\n6,1,0\n")) << qPrintable(log);
}

TEST_F(DeleteCliTest, ForceRemovesProtectedFilesToo)
{
    const ScanResult r = Scan({"delete", "--force", file("keep\\c", 40), drives.posix(QChar('C')) + "/keep/c"});
    EXPECT_EQ(r.status, 0) << qPrintable(r.err);
    EXPECT_EQ(r.out, "1 files, 40 bytes deleted\n");  // the same file named twice is removed once
    EXPECT_FALSE(exists("C:\\keep\\c"));
}

TEST_F(DeleteCliTest, TrashCountsRecycledFiles)
{
    const ScanResult r = Scan({"delete", "--trash", file("free\\a", 1000), file("free\\b", 500)});
    EXPECT_EQ(r.status, 0) << qPrintable(r.err);
    EXPECT_EQ(r.out, "2 files, 1500 bytes sent to the trash\n");
    EXPECT_FALSE(exists("C:\\free\\a"));
    EXPECT_EQ(QDir(drives.root() + "/home/.local/share/Trash/files").entryList(QDir::Files),
              QStringList({"a", "b"}));
    EXPECT_EQ(total("NWaste"), "2");
    EXPECT_EQ(total("SizeWaste"), "1500");
    EXPECT_EQ(total("Ndelete"), "0");
}

TEST_F(DeleteCliTest, AFileThatCannotBeDeletedIsNamedAndNotCounted)
{
    const QStringList files = {file("free\\a", 1), file("free\\b", 2), file("free\\c", 4)};
    if (!delete_test::makeUndeletable(drives.posix(QString("C:\\free\\b"))))
        GTEST_SKIP() << "cannot make an undeletable file here";
    const ScanResult r = Scan(QStringList{"delete"} + files);
    delete_test::undoUndeletable(drives.posix(QString("C:\\free\\b")));
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "Couldn't delete file - C:\\free\\b\n");
    EXPECT_EQ(r.out, "2 files, 5 bytes deleted\n");
    EXPECT_EQ(total("Ndelete"), "2");
    EXPECT_EQ(total("SizeDelete"), "5");
}

TEST_F(DeleteCliTest, TheTrashStopsAtTheFirstRefusal)
{
    const ScanResult r = Scan({"delete", "--trash", file("free\\a", 1), "C:\\free\\gone", file("free\\z", 4)});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "Could not send to the trash - C:\\free\\gone\n"
                     "Not tried after the trash refused a file: C:\\free\\z\n");
    EXPECT_TRUE(exists("C:\\free\\z"));
    EXPECT_EQ(total("NWaste"), "1");
}

TEST_F(DeleteCliTest, OnlyProtectedFilesIsTheNoFilesMessage)
{
    const ScanResult r = Scan({"delete", file("keep\\c", 4)});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains("There are no files on the deletion panel."));
    EXPECT_TRUE(exists("C:\\keep\\c"));
    EXPECT_FALSE(QFile::exists(logFile()));
    EXPECT_EQ(total("Ndelete"), "<absent>");
}

TEST_F(DeleteCliTest, AnUnreadableLogStopsBeforeAnythingIsRemoved)
{
    QFile f(logFile());
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("damaged\n");
    f.close();
    const ScanResult r = Scan({"delete", file("free\\a", 4)});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains("could not be read")) << qPrintable(r.err);
    EXPECT_TRUE(exists("C:\\free\\a"));
    EXPECT_EQ(readAll(logFile()), "damaged\n");
}

TEST_F(DeleteCliTest, ANeverBuiltSafeHarborStopsBeforeAnythingIsRemoved)
{
    ASSERT_TRUE(QFile::remove(drives.programHome() + "/folders.txt"));
    const ScanResult r = Scan({"delete", file("free\\a", 4)});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "The Safe Harbor list of folders/files not to delete has not been created yet.  "
                     "Click on the Build Safe Harbor button to initialize.\n");
    EXPECT_TRUE(r.out.isEmpty()) << qPrintable(r.out);
    EXPECT_TRUE(exists("C:\\free\\a"));
    EXPECT_FALSE(QFile::exists(logFile()));
    EXPECT_EQ(total("Ndelete"), "<absent>");
}

TEST_F(DeleteCliTest, ForceNeedsNoSafeHarbor)
{
    ASSERT_TRUE(QFile::remove(drives.programHome() + "/folders.txt"));
    const ScanResult r = Scan({"delete", "--force", file("free\\a", 4)});
    EXPECT_EQ(r.status, 0) << qPrintable(r.err);
    EXPECT_EQ(r.out, "1 files, 4 bytes deleted\n");
    EXPECT_FALSE(exists("C:\\free\\a"));
}

TEST_F(DeleteCliTest, AProtectedFileCannotBeReachedByAnotherSpelling)
{
    file("keep\\c", 4);
    file("free\\x", 1);
    const QStringList spellings = {"C:\\free\\..\\keep\\c", "C:\\keep\\\\c", "C:\\.\\keep\\c", "C:\\keep\\c\\"};
    for (const char* command : {"delete", "archive"}) {
        for (const QString& spelling : spellings) {
            SCOPED_TRACE(std::string(command) + " " + spelling.toStdString());
            const ScanResult r = Scan({command, spelling});
            EXPECT_EQ(r.status, 1);
            EXPECT_TRUE(r.err.startsWith("Safe Harbor, not removed (referenced in the registry): C:\\keep\\c\n"))
                << qPrintable(r.err);
            EXPECT_TRUE(exists("C:\\keep\\c"));
        }
    }
    // Spellings of a free file are acted on in their cleaned form.
    const ScanResult r = Scan({"delete", "C:\\keep\\..\\free\\\\x"});
    EXPECT_EQ(r.status, 0) << qPrintable(r.err);
    EXPECT_FALSE(exists("C:\\free\\x"));
}

TEST_F(DeleteCliTest, UsageErrors)
{
    EXPECT_EQ(Scan({"delete"}).status, 2);
    EXPECT_EQ(Scan({"delete", "--trash"}).status, 2);
    EXPECT_EQ(Scan({"delete", "--bogus", "C:\\x"}).status, 2);
    EXPECT_TRUE(Scan({"--help"}).out.contains("trovik-scan delete [--trash] [--force] FILE..."));
    const ScanResult bad = Scan({"delete", "relative/path"});
    EXPECT_EQ(bad.status, 1);
    EXPECT_TRUE(bad.err.startsWith("Not a drive path"));
}

}  // namespace

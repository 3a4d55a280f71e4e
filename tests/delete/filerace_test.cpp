// Single-file removers racing a folder on their path that another thread
// keeps exchanging with a link to an outside folder holding files of the
// same names: nothing outside may be removed, trashed or zipped, and what a
// remover reports removed must really be gone from inside (and nothing
// gone may be reported as left). Counts only, never timing.
#include "components/zip/zipreader.h"
#include "delete/removebatch.h"
#include "delete/zipoperation.h"
#include "support/linkswapper.h"
#include "support/tempdrives.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QSet>
#include <cstdio>
#include <ostream>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

constexpr int kFiles = 2000;
constexpr int kFilesPerFolder = 20;

QByteArray raw(const QString& posix)
{
    return QFile::encodeName(posix);
}

// The files are spread over many folders, so that each remover reaches
// folders afresh from the drive root many times while the race runs.
QString folderOf(int i)
{
    return QStringLiteral("g%1").arg(i / kFilesPerFolder, 3, 10, QLatin1Char('0'));
}

QString nameOf(int i)
{
    return QStringLiteral("f%1").arg(i, 4, 10, QLatin1Char('0'));
}

QString relOf(int i)
{
    return folderOf(i) + "/" + nameOf(i);
}

class FileRaceTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        inside = drives.makeFolder('C', "in/sub");
        outside = drives.root() + "/outside";
        ASSERT_TRUE(QDir().mkpath(outside));
        link = drives.posix(QChar('C')) + "/in/swap";
        ASSERT_EQ(::symlink(raw(outside).constData(), raw(link).constData()), 0);
        drives.makeFolder('D', "zips");
    }

    // n files of the same names inside and outside.
    void populate(int n)
    {
        for (int i = 0; i < n; ++i) {
            for (const QString& top : {inside, outside}) {
                ASSERT_TRUE(QDir().mkpath(top + "/" + folderOf(i)));
                write(top + "/" + relOf(i), (top == inside ? "inside " : "outside ") + nameOf(i).toLatin1());
            }
            paths << "C:\\in\\sub\\" + folderOf(i) + "\\" + nameOf(i);
        }
    }

    static void write(const QString& path, const QByteArray& data)
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(data);
    }

    // Files in or below a folder whose contents begin with prefix.
    static int countWith(const QString& folder, const QByteArray& prefix)
    {
        int n = 0;
        QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            QFile f(it.next());
            if (f.open(QIODevice::ReadOnly) && f.readAll().startsWith(prefix))
                ++n;
        }
        return n;
    }

    testing_support::TempDrives drives{"CD"};
    QString inside, outside, link;
    QStringList paths;
};

// The trash stops at its first refusal: the rest is handed in again, so
// that every file meets the race.
QStringList trashAll(const QStringList& files)
{
    QStringList removed;
    QStringList rest = files;
    while (!rest.isEmpty()) {
        const del::BatchResult r = del::removeFiles(rest, del::RemoveMode::Trash);
        for (const del::FileOutcome& o : r.outcomes)
            if (o.removed)
                removed << o.path;
        rest = r.notTried;
    }
    return removed;
}

QStringList deleteAll(const QStringList& files)
{
    QStringList removed;
    for (const del::FileOutcome& o : del::removeFiles(files, del::RemoveMode::Delete).outcomes)
        if (o.removed)
            removed << o.path;
    return removed;
}

QStringList zipAll(const QStringList& files)
{
    del::ZipOperationSettings s;
    s.zipFolder = "D:\\zips";
    s.tag = "Race";
    s.start = QDateTime(QDate(2003, 3, 14), QTime(15, 9, 26));
    return del::zipThenDelete(files, s).zipped;
}

struct Remover {
    const char* name;
    QStringList (*run)(const QStringList& files);  // answers the paths reported removed
};

void PrintTo(const Remover& r, std::ostream* os)
{
    *os << r.name;
}

class FileRace : public FileRaceTest, public ::testing::WithParamInterface<Remover> {};

TEST_P(FileRace, NothingOutsideIsTouchedWhileAFolderOnThePathIsSwapped)
{
    if (!testing_support::LinkSwapper::supported(raw(inside), raw(link)))
        GTEST_SKIP() << "renameat2 RENAME_EXCHANGE is not supported here";
    populate(kFiles);
    testing_support::LinkSwapper swapper(raw(inside), raw(link));
    const QStringList removed = GetParam().run(paths);
    EXPECT_GT(swapper.stop(), 0);

    EXPECT_EQ(countWith(outside, "outside "), kFiles) << "files outside were removed";
    const QSet<QString> reported(removed.begin(), removed.end());
    int wrong = 0;
    for (int i = 0; i < kFiles; ++i)
        wrong += reported.contains(paths[i]) == QFile::exists(inside + "/" + relOf(i));
    EXPECT_EQ(wrong, 0) << "files reported removed but there, or gone but reported left";
    EXPECT_EQ(countWith(drives.root() + "/home/.local/share/Trash/files", "outside "), 0)
        << "files outside were trashed";
    comp::ZipReader zip;
    int foreign = 0;
    if (zip.open("D:\\zips\\Drive-C-Race14Mar031509.zip")) {
        for (int i = 0; i < int(zip.entries().size()); ++i) {
            QByteArray data;
            zip.readEntry(i, &data);
            foreign += !data.startsWith("inside ");
        }
    }
    EXPECT_EQ(foreign, 0) << "files outside were zipped";
    std::printf("[ %s ] %lld of %d removed\n", GetParam().name, (long long)removed.size(), kFiles);
}

TEST_P(FileRace, ALinkedFolderOnThePathIsRefused)
{
    // The link stays a link: every file named through it is refused.
    constexpr int n = 5;
    populate(n);
    QStringList throughLink;
    for (int i = 0; i < n; ++i)
        throughLink << "C:\\in\\swap\\" + folderOf(i) + "\\" + nameOf(i);
    EXPECT_TRUE(GetParam().run(throughLink).isEmpty());
    EXPECT_EQ(countWith(outside, "outside "), n);
    EXPECT_EQ(countWith(drives.root() + "/home/.local/share/Trash/files", ""), 0);
    EXPECT_FALSE(QFile::exists(drives.posix(QString("D:\\zips\\Drive-C-Race14Mar031509.zip"))));
}

INSTANTIATE_TEST_SUITE_P(Removers, FileRace,
                         ::testing::Values(Remover{"delete", deleteAll}, Remover{"trash", trashAll},
                                           Remover{"zip_then_delete", zipAll}),
                         [](const ::testing::TestParamInfo<Remover>& info) { return std::string(info.param.name); });

}  // namespace

// Single-file removers racing a folder on their path that another thread
// keeps exchanging with a link to an outside folder holding files of the
// same names: nothing outside may be removed, trashed or zipped, and what a
// remover reports removed must be gone from inside (and nothing gone may be
// reported as left). Counts only, never timing.
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

QByteArray raw(const QString& posix)
{
    return QFile::encodeName(posix);
}

// The paths reported removed. The trash stops at its first refusal: the rest
// is handed in again, so that every file meets the race.
QStringList removeAll(const QStringList& files, del::RemoveMode mode)
{
    QStringList removed;
    for (QStringList rest = files; !rest.isEmpty();) {
        const del::BatchResult r = del::removeFiles(rest, mode);
        for (const del::FileOutcome& o : r.outcomes)
            if (o.removed)
                removed << o.path;
        rest = r.notTried;
    }
    return removed;
}

struct Remover {
    const char* name;
    QStringList (*run)(const QStringList& files);
};

void PrintTo(const Remover& r, std::ostream* os)
{
    *os << r.name;
}

const Remover kRemovers[] = {
    {"delete", [](const QStringList& f) { return removeAll(f, del::RemoveMode::Delete); }},
    {"trash", [](const QStringList& f) { return removeAll(f, del::RemoveMode::Trash); }},
    {"zip_then_delete",
     [](const QStringList& f) {
         del::ZipOperationSettings s;
         s.zipFolder = "D:\\zips";
         s.tag = "Race";
         s.start = QDateTime(QDate(2003, 3, 14), QTime(15, 9, 26));
         return del::zipThenDelete(f, s).zipped;
     }},
};

class FileRace : public ::testing::TestWithParam<Remover> {
protected:
    void SetUp() override
    {
        inside = drives.makeFolder('C', "in/sub");
        ASSERT_TRUE(QDir().mkpath(outside));
        ASSERT_EQ(::symlink(raw(outside).constData(), raw(link).constData()), 0);
        drives.makeFolder('D', "zips");
    }

    // n files of the same names inside and outside, 20 to a folder, so that
    // folders are reached afresh from the drive root many times.
    void populate(int n, const QString& via = "sub")
    {
        for (int i = 0; i < n; ++i) {
            const QString rel = QString::asprintf("g%03d/f%04d", i / 20, i);
            for (const QString& top : {inside, outside}) {
                QDir().mkpath(top + "/" + rel.left(4));
                QFile f(top + "/" + rel);
                ASSERT_TRUE(f.open(QIODevice::WriteOnly));
                f.write(top == inside ? "inside" : "outside");
            }
            paths << "C:\\in\\" + via + "\\" + QString(rel).replace('/', '\\');
            rels << rel;
        }
    }

    // Files in or below a folder whose contents begin with prefix.
    static int countWith(const QString& folder, const QByteArray& prefix)
    {
        int n = 0;
        for (QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories); it.hasNext();) {
            QFile f(it.next());
            n += f.open(QIODevice::ReadOnly) && f.readAll().startsWith(prefix);
        }
        return n;
    }

    int zippedWith(const QByteArray& prefix) const
    {
        comp::ZipReader zip;
        int n = 0;
        if (zip.open("D:\\zips\\Drive-C-Race14Mar031509.zip"))
            for (int i = 0; i < int(zip.entries().size()); ++i) {
                QByteArray data;
                n += zip.readEntry(i, &data) == comp::ZipExtractResult::Extracted && data.startsWith(prefix);
            }
        return n;
    }

    testing_support::TempDrives drives{"CD"};
    QString inside, outside = drives.root() + "/outside", link = drives.posix(QChar('C')) + "/in/swap";
    QStringList paths, rels;
};

TEST_P(FileRace, NothingOutsideIsTouchedWhileAFolderOnThePathIsSwapped)
{
    if (!testing_support::LinkSwapper::supported(raw(inside), raw(link)))
        GTEST_SKIP() << "renameat2 RENAME_EXCHANGE is not supported here";
    constexpr int n = 2000;
    populate(n);
    testing_support::LinkSwapper swapper(raw(inside), raw(link));
    const QStringList removed = GetParam().run(paths);
    EXPECT_GT(swapper.stop(), 0);

    EXPECT_EQ(countWith(outside, "outside"), n) << "files outside were removed";
    EXPECT_EQ(countWith(drives.root() + "/home/.local/share/Trash/files", "outside"), 0) << "outside trashed";
    EXPECT_EQ(zippedWith("outside"), 0) << "files outside were zipped";
    const QSet<QString> reported(removed.begin(), removed.end());
    int wrong = 0;
    for (int i = 0; i < n; ++i)
        wrong += reported.contains(paths[i]) == QFile::exists(inside + "/" + rels[i]);
    EXPECT_EQ(wrong, 0) << "files reported removed but there, or gone but reported left";
    std::printf("[ %s ] %lld of %d removed\n", GetParam().name, (long long)removed.size(), n);
}

TEST_P(FileRace, ALinkedFolderOnThePathIsRefused)
{
    populate(5, "swap");
    EXPECT_TRUE(GetParam().run(paths).isEmpty());
    EXPECT_EQ(countWith(outside, "outside"), 5);
    EXPECT_EQ(countWith(drives.root() + "/home/.local/share/Trash/files", ""), 0);
    EXPECT_EQ(zippedWith(""), 0);
}

INSTANTIATE_TEST_SUITE_P(Removers, FileRace, ::testing::ValuesIn(kRemovers),
                         [](const ::testing::TestParamInfo<Remover>& info) { return std::string(info.param.name); });

}  // namespace

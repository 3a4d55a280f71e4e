// The quick clean's search and its stored list.
#include "core/typelist.h"
#include "finders/templists.h"
#include "finders/tempsearch.h"
#include "reports/sortcommand.h"
#include "support/tempdrives.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

using namespace finders;
using testing_support::TempDrives;

namespace {

QStringList foundPaths(const QStringList& patterns, const QStringList& roots)
{
    QStringList entries;
    for (const QString& p : patterns)
        entries << core::TypeEntry(p);
    TempSearch search({entries, roots});
    comp::ResultGrid grid;
    search.scan(grid);
    QStringList paths;
    for (int r = 1; r <= grid.rowsUsed(); ++r) {
        EXPECT_EQ(grid.path(r), grid.cell(r, tcFileName));
        paths << grid.path(r);
    }
    paths.sort();
    return paths;
}

}  // namespace

TEST(TempSearch, EntriesMatchByExtensionOnlyTable)
{
    TempDrives t("C");
    for (const char* name : {"report.tmp", "REPORT.TMP", "a.~mp", "a.~*", "noext", "dot.", "x.bak",
                             ".hidden.tmp", ".cache/c.tmp", "sub/d.tmp", "a.t"})
        t.writeFile('C', QString("w/") + name);
    ASSERT_EQ(::mkfifo(QFile::encodeName(t.posix(u'C') + "/w/pipe.tmp").constData(), 0600), 0);
    ASSERT_EQ(::symlink("report.tmp", QFile::encodeName(t.posix(u'C') + "/w/link.tmp").constData()), 0);
    struct Row {
        QStringList patterns;
        QStringList found;
    } const rows[] = {
        // Either case; hidden files in, hidden folders, FIFOs and links out.
        {{"*.TMP"}, {"C:\\w\\.hidden.tmp", "C:\\w\\REPORT.TMP", "C:\\w\\report.tmp", "C:\\w\\sub\\d.tmp"}},
        {{"*.~*"}, {}},
        {{"*.~*", "*.~mp"}, {"C:\\w\\a.~mp"}},
        {{"*"}, {}},
        {{"*."}, {}},
        {{"*.t?"}, {}},
        {{""}, {}},
        {{"*.bak", "*.t"}, {"C:\\w\\a.t", "C:\\w\\x.bak"}},
    };
    for (const Row& r : rows)
        EXPECT_EQ(foundPaths(r.patterns, {"C:\\w"}), r.found) << r.patterns.join(' ').toStdString();
}

TEST(TempSearch, FilesHeldByAProcessOrOwnedByOthersAreLeftOut)
{
    const QString sleepExe = QStandardPaths::findExecutable("sleep");
    ASSERT_FALSE(sleepExe.isEmpty());
    TempDrives t("C");
    t.writeFile('C', "w/free.tmp");
    const QString heldFile = t.writeFile('C', "w/held.tmp");
    const QString othersFile = t.writeFile('C', "w/others.tmp");
    // Only root can give a file away; others see their own files only.
    const bool canGiveAway = ::geteuid() == 0 && ::chown(QFile::encodeName(othersFile).constData(), 65534, 65534) == 0;
    QProcess child;
    child.setStandardInputFile(heldFile);
    child.start(sleepExe, {"60"});
    ASSERT_TRUE(child.waitForStarted());

    TempSearch search({{core::TypeEntry("*.tmp")}, {"C:\\w"}});
    comp::ResultGrid grid;
    search.scan(grid);
    QStringList paths;
    for (int r = 1; r <= grid.rowsUsed(); ++r)
        paths << grid.path(r);
    paths.sort();
    const QStringList expected = canGiveAway ? QStringList{"C:\\w\\free.tmp"}
                                             : QStringList{"C:\\w\\free.tmp", "C:\\w\\others.tmp"};
    EXPECT_EQ(paths, expected);
    EXPECT_EQ(search.heldCount(), 1);
    child.kill();
    child.waitForFinished();
}

TEST(TempSearch, RowsFollowTheWalkAndTheSizeSortFlips)
{
    TempDrives t("C");
    t.writeFile('C', "w/small.tmp", "1");
    t.writeFile('C', "w/in/big.tmp", QByteArray(5000, 'x'));
    t.writeFile('C', "w/mid.tmp", "12345");
    reports::ResetSortDirections();
    TempSearch search({{core::TypeEntry("*.tmp")}, {"C:\\w"}});
    comp::ResultGrid grid;
    search.scan(grid);
    ASSERT_EQ(grid.rowsUsed(), 3);
    EXPECT_EQ(grid.rowCount(), 4);
    EXPECT_EQ(grid.path(1), "C:\\w\\in\\big.tmp") << "a sub-folder comes before its parent's files";
    EXPECT_EQ(grid.titles(), TempTitles());
    EXPECT_EQ(grid.cell(1, tcSize), "5,000");

    ASSERT_TRUE(SortTempBySize(grid));
    EXPECT_EQ(grid.path(1), "C:\\w\\in\\big.tmp");
    EXPECT_EQ(grid.path(3), "C:\\w\\small.tmp");
    search.scan(grid);
    ASSERT_TRUE(SortTempBySize(grid));
    EXPECT_EQ(grid.path(1), "C:\\w\\small.tmp") << "the second sort of a run lists the smallest first";
    reports::ResetSortDirections();
}

TEST(TempLists, StoredListOrBuiltInTable)
{
    EXPECT_EQ(CleanDefaultPatterns().size(), 13);
    EXPECT_EQ(EditorResetPatterns().size(), 14);
    struct Row {
        const char* what;
        std::optional<QStringList> stored;
        QStringList defaults;
        QStringList patterns;
    } const rows[] = {
        {"never stored", std::nullopt, CleanDefaultPatterns(), CleanDefaultPatterns()},
        {"never stored, editor", std::nullopt, EditorDefaultPatterns(), {"*.tmp", "*.fts", "*.bak", "*.$$$"}},
        {"Number 0", QStringList{}, CleanDefaultPatterns(), {}},
        {"stored", QStringList{"*.old", "*.TMP"}, CleanDefaultPatterns(), {"*.old", "*.TMP"}},
    };
    for (const Row& r : rows) {
        TempDrives fresh("C");  // settings of its own
        if (r.stored) {
            QStringList entries;
            for (const QString& p : *r.stored)
                entries << core::TypeEntry(p);
            WriteTempList(entries);
        }
        QStringList patterns;
        for (const QString& e : ReadTempList(r.defaults)) {
            EXPECT_EQ(e, core::TypeEntry(core::TypeEntryPattern(e)));
            patterns << core::TypeEntryPattern(e);
        }
        EXPECT_EQ(patterns, r.patterns) << r.what;
    }
}

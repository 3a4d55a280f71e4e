// The folder-hog search on temporary drives, both modes.
#include "core/scriptedprompter.h"
#include "finders/dirhogsearch.h"
#include "platform/folderwalk.h"
#include "support/mounted.h"
#include "support/tempdrives.h"

#include <QDir>
#include <QFile>
#include <QMap>
#include <gtest/gtest.h>

#include <unistd.h>

using finders::DirHogMode;
using finders::DirHogSearch;

namespace {

struct Cells {
    QString size, used, files, subs;
};

// Name -> the line's cells, for every data row.
QMap<QString, Cells> LinesOf(const DirHogSearch& s)
{
    QMap<QString, Cells> out;
    const comp::ResultGrid& g = s.grid();
    for (int r = 1; r <= s.lines(); ++r)
        out.insert(g.cell(r, 5), {g.cell(r, 0), g.cell(r, 1), g.cell(r, 2), g.cell(r, 3)});
    return out;
}

void Sparse(const QString& path, qint64 size)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    ASSERT_TRUE(f.resize(size));
}

class DirHogTest : public ::testing::Test {
protected:
    void file(const QString& rel, int size) { drives.writeFile(u'C', rel, QByteArray(size, 'x')); }
    QString posix(const QString& rel) const { return drives.posix(u'C') + "/" + rel; }

    testing_support::TempDrives drives{"C"};
    core::ScriptedPrompter prompter;
};

}  // namespace

TEST_F(DirHogTest, LinesOfBothModes)
{
    // Case kept; hidden folders inside a main folder counted; a hidden main
    // folder and its files left out; links never counted; a file with two
    // names counted once, in the first line that meets it.
    file("Photos/2024/IMG_1.JPG", 1000);
    file("Photos/2024/.thumbs/t1", 10);
    file("Photos/.hidden.txt", 5);
    file("Work/.git/objects/pack", 3000);
    file("Work/notes.txt", 200);
    file(".cache/big", 7777);
    file("top.txt", 50);
    ASSERT_EQ(::link(QFile::encodeName(posix("Work/notes.txt")).constData(),
                     QFile::encodeName(posix("Work/.git/alias")).constData()), 0);
    QFile::link(posix("Photos"), posix("Work/photolink"));
    QFile::link(posix("top.txt"), posix("Work/filelink"));

    struct Row {
        DirHogMode mode;
        QMap<QString, std::pair<QString, QString>> lines;  // name -> files, sub-folders
        QMap<QString, QString> sizes;
        int count;
    };
    const QList<Row> rows = {
        {DirHogMode::MainFolders,
         {{"c:\\Photos", {"3", "2"}}, {"c:\\Work", {"2", "2"}}},
         {{"c:\\Photos", "1,015"}, {"c:\\Work", "3,200"}},
         2},
        {DirHogMode::AllFolders,
         {{"c:\\", {"1", "3"}}, {"c:\\Photos", {"1", "1"}}, {"c:\\Photos\\2024", {"1", "1"}},
          {"c:\\Work", {"1", "1"}}},
         {{"c:\\", "50"}, {"c:\\Photos", "5"}, {"c:\\Photos\\2024", "1,000"}, {"c:\\Work", "200"}},
         3},
    };
    for (const Row& r : rows) {
        DirHogSearch s;
        s.search({"C:"}, r.mode);
        const auto lines = LinesOf(s);
        EXPECT_EQ(lines.keys(), r.lines.keys());
        for (auto it = r.lines.begin(); it != r.lines.end(); ++it) {
            EXPECT_EQ(lines[it.key()].files, it->first) << it.key().toStdString();
            EXPECT_EQ(lines[it.key()].subs, it->second) << it.key().toStdString();
            EXPECT_EQ(lines[it.key()].size, r.sizes[it.key()]) << it.key().toStdString();
        }
        EXPECT_EQ(s.folderCount(), r.count);
        EXPECT_FALSE(s.noResult());
        // Largest first, and the rows carry the real path.
        EXPECT_EQ(s.grid().cell(1, 0), r.mode == DirHogMode::MainFolders ? "3,200" : "1,000");
        EXPECT_EQ(s.grid().path(1), r.mode == DirHogMode::MainFolders ? "C:\\Work" : "C:\\Photos\\2024");
    }
    EXPECT_TRUE(prompter.allTexts().isEmpty());
}

TEST_F(DirHogTest, EdgeCasesTable)
{
    struct Row {
        QString what;
        std::function<void()> make;
        QStringList roots;
        DirHogMode mode;
        int capacity;
        int lines, count;
        bool noResult, warned;
    };
    const QList<Row> rows = {
        {"root without sub-folders, all", [&] { file("a.txt", 10); }, {"C:"}, DirHogMode::AllFolders, 100, 1, 0,
         true, false},
        {"root without sub-folders, main", [&] { file("a.txt", 10); }, {"C:"}, DirHogMode::MainFolders, 100, 0, 0,
         true, false},
        {"one main folder is a result", [&] { file("only/a.txt", 10); }, {"C:"}, DirHogMode::MainFolders, 100, 1,
         1, false, false},
        {"capacity reached",
         [&] {
             for (int i = 0; i < 5; ++i)
                 file(QString("f%1/a").arg(i), 10);
         },
         {"C:"}, DirHogMode::AllFolders, 3, 3, 2, false, true},
        {"nested entries each get their lines", [&] { file("a/b/c.txt", 10); }, {"C:\\a", "C:\\a\\b"},
         DirHogMode::AllFolders, 100, 3, 2, false, false},
    };
    for (const Row& r : rows) {
        QDir(drives.posix(u'C')).removeRecursively();
        QDir().mkpath(drives.posix(u'C'));
        r.make();
        DirHogSearch s;
        s.capacity = r.capacity;
        int warnings = 0;
        s.warning = [&](const QString& text) {
            EXPECT_EQ(text, finders::kDirHogResourceLimitMessage);
            ++warnings;
        };
        s.search(r.roots, r.mode);
        EXPECT_EQ(s.lines(), r.lines) << r.what.toStdString();
        EXPECT_EQ(s.folderCount(), r.count) << r.what.toStdString();
        EXPECT_EQ(s.noResult(), r.noResult) << r.what.toStdString();
        EXPECT_EQ(warnings, r.warned ? 1 : 0) << r.what.toStdString();
    }
}

TEST_F(DirHogTest, BigSparseFilesAndTheDriveShare)
{
    // 64-bit totals: a 5 GiB file is exact; a file larger than the drive
    // makes its share unknown.
    QDir().mkpath(posix("five"));
    QDir().mkpath(posix("huge"));
    QDir().mkpath(posix("small"));
    Sparse(posix("five/a"), 5LL << 30);
    Sparse(posix("five/b"), 5LL << 30);
    Sparse(posix("huge/x"), 1LL << 43);  // 8 TiB
    file("small/s", 1);
    DirHogSearch s;
    s.search({"C:"}, DirHogMode::MainFolders);
    const auto lines = LinesOf(s);
    EXPECT_EQ(lines["c:\\five"].size, "10,737,418,240");
    EXPECT_NE(lines["c:\\five"].used, "???");
    EXPECT_EQ(lines["c:\\huge"].size, "8,796,093,022,208");
    EXPECT_EQ(lines["c:\\huge"].used, "???");
    EXPECT_EQ(lines["c:\\small"].used, QLocale().toString(0.0, 'f', 2));
}

TEST_F(DirHogTest, AbortKeepsThePartialMainFolder)
{
    for (int i = 0; i < 4; ++i) {
        file(QString("one/f%1").arg(i), 10);
        file(QString("two/f%1").arg(i), 10);
    }
    DirHogSearch s;
    s.pump = [&] { s.abort(); };
    s.search({"C:"}, DirHogMode::MainFolders);
    ASSERT_EQ(s.lines(), 1);
    EXPECT_EQ(s.grid().cell(1, 2), "1");
    EXPECT_FALSE(s.noResult());
}

TEST_F(DirHogTest, OneReadPerFolderAndNothingOnAnotherMount)
{
    file("a/b/c/d.txt", 1);
    file("a/.h/e.txt", 1);
    file("m/x.txt", 1);
    QDir().mkpath(posix("a/mnt"));
    testing_support::Mounted m("none", posix("a/mnt"), "tmpfs", 0);
    if (m.ok())
        file("a/mnt/inside/y.txt", 1);
    for (DirHogMode mode : {DirHogMode::MainFolders, DirHogMode::AllFolders}) {
        const quint64 before = plat::folderReads();
        DirHogSearch s;
        s.search({"C:"}, mode);
        // Main: C:, a, a\b, a\b\c, a\.h, m; All: the same less a\.h.
        EXPECT_EQ(plat::folderReads() - before, mode == DirHogMode::MainFolders ? 6u : 5u);
        for (int r = 1; r <= s.lines(); ++r)
            EXPECT_FALSE(s.grid().cell(r, 5).contains("mnt"));
    }
}

TEST_F(DirHogTest, RowsMeasuredAgainOrGone)
{
    file("keep/a", 100);
    file("keep/b", 200);
    file("swap/a", 10);
    DirHogSearch s;
    s.search({"C:"}, DirHogMode::MainFolders);
    auto rowOf = [&](const QString& name) {
        for (int r = 1; r <= s.lines(); ++r)
            if (s.grid().cell(r, 5) == name)
                return r;
        return -1;
    };
    const int keep = rowOf("c:\\keep"), swap = rowOf("c:\\swap");
    ASSERT_TRUE(s.stillMeasured(keep));
    QFile::remove(posix("keep/b"));
    EXPECT_TRUE(s.measureAgain(keep));
    EXPECT_EQ(s.grid().cell(keep, 0), "100");
    EXPECT_EQ(s.grid().cell(keep, 5), "c:\\keep");
    // Another folder by the same name, or a link in its place, is not the
    // folder measured.
    ASSERT_TRUE(QDir().rename(posix("swap"), posix("old")));
    QDir().mkpath(posix("swap"));
    EXPECT_FALSE(s.stillMeasured(swap));
    EXPECT_FALSE(s.measureAgain(swap));
    QDir(posix("swap")).removeRecursively();
    QFile::link(posix("keep"), posix("swap"));
    EXPECT_FALSE(s.stillMeasured(swap));
}

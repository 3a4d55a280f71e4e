// A collection on temporary drives: what the walk reaches, what each file
// adds, the type filter, overlapping entries, abort, and the failures.
#include "core/scriptedprompter.h"
#include "platform/fileops.h"
#include "platform/fileops_p.h"
#include "stats/statcollector.h"
#include "stats/stattexts.h"
#include "support/capabilities.h"
#include "support/tempdrives.h"
#include "zonescope.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace stats;
using core::ScriptedPrompter;
using testing_support::TempDrives;

namespace {

const QDate kToday(2024, 6, 15);

class CollectorTest : public ::testing::Test {
protected:
    void SetUp() override { core::setPrompter(&prompter); }
    void TearDown() override { core::setPrompter(nullptr); }

    // Sets a file's last access and last write time (local time of the zone
    // in force), without following a link.
    void setTimes(const QString& posix, const QDateTime& local)
    {
        const timespec t{time_t(local.toSecsSinceEpoch()), 0};
        const timespec times[2] = {t, t};
        ASSERT_EQ(utimensat(AT_FDCWD, QFile::encodeName(posix).constData(), times, AT_SYMLINK_NOFOLLOW), 0)
            << qPrintable(posix);
    }

    bool collect(StatCollector& c, const QStringList& roots,
                 finders::TypeMode mode = finders::TypeMode::AllFiles, const QStringList& types = {})
    {
        finders::ScanScope scope;
        scope.roots = roots;
        scope.typeMode = mode;
        scope.typeEntries = types;
        c.setScope(scope);
        c.today = kToday;
        c.status = [this](const QString& s) { lastStatus = s; };
        c.caption = [this](const QString& s) { lastCaption = s; };
        c.refreshPages = [this] { ++refreshes; };
        return c.collect();
    }

    static QStringList extensions(const StatCollector& c)
    {
        QStringList out;
        for (const ExtensionRow& r : c.types().rows())
            out << QStringLiteral("%1=%2").arg(r.extension).arg(r.count);
        return out;
    }

    stats_test::ZoneScope zone{"UTC"};
    ScriptedPrompter prompter;
    QString lastStatus;
    QString lastCaption;
    int refreshes = 0;
};

}  // namespace

TEST_F(CollectorTest, EveryFileOfOneTreeLandsInItsTallies)
{
    TempDrives drives("CD");
    const auto at = [](int daysBack, int h, int m, int s = 0) {
        return QDateTime(kToday.addDays(-daysBack), QTime(h, m, s));
    };
    struct File {
        const char* path;
        qint64 size;
        QDateTime time;
    };
    const File files[] = {
        {"a/x.txt", 16384, at(8, 0, 15)},               // slot 0 counts
        {".cache/y.DOC", 16385, at(0, 0, 0)},           // in a dot folder; exactly midnight: no slot
        {".hidden", 5000, QDateTime(QDate(1975, 6, 1), QTime(12, 0))},  // before 1980
        {"report.backup", 8192, at(0, 0, 30)},          // no extension row
        {"noext", 0, at(0, 12, 0)},
        {"big.iso", 5368709120LL, at(0, 12, 0)},        // 5 GiB, sparse
    };
    for (const File& f : files) {
        const QString p = drives.writeFile('C', f.path, "");
        ASSERT_TRUE(QFile::resize(p, f.size));
        setTimes(p, f.time);
    }
    // A hidden FIFO: hidden and system at once.
    const QString pipe = drives.posix(u'C') + "/.pipe";
    ASSERT_EQ(mkfifo(QFile::encodeName(pipe).constData(), 0644), 0);
    setTimes(pipe, at(0, 12, 0));
    ASSERT_EQ(chmod(QFile::encodeName(drives.posix(u'C') + "/.hidden").constData(), 0444), 0);
    drives.writeFile('D', "outside/o.txt");
    ASSERT_TRUE(QFile::link(drives.posix(u'D') + "/outside", drives.posix(u'C') + "/lnd"));
    ASSERT_TRUE(QFile::link(drives.posix(u'D') + "/outside/o.txt", drives.posix(u'C') + "/ln.txt"));

    StatCollector c;
    // A finder opened meanwhile changes the current folder: the walk must
    // not care.
    c.pump = [] { plat::setCurrentFolder(QStringLiteral("D:\\outside")); };
    ASSERT_TRUE(collect(c, {"C:"}));
    const StatTotals& t = c.totals();
    EXPECT_EQ(t.filesProcessed, 7u);
    EXPECT_EQ(t.filesFound, 7u);
    EXPECT_EQ(t.sizeCount[1], 5u);
    EXPECT_EQ(t.sizeCount[2], 1u);
    EXPECT_EQ(t.sizeCount[12], 1u);
    EXPECT_EQ(t.sizeBytes[12], 5368709120ULL);
    EXPECT_EQ(t.foundBytes(), 5368709120ULL + 16384 + 16385 + 5000 + 8192);

    EXPECT_EQ(t.attrCount, (std::array<quint64, 4>{1, 2, 1, 0}));  // read-only, hidden, system, archive
    EXPECT_EQ(t.attrBytes, (std::array<quint64, 4>{5000, 5000, 0, 0}));

    for (const DateTally* d : {&t.modified, &t.access}) {
        EXPECT_EQ(d->ageCount[1], 5u);
        EXPECT_EQ(d->ageCount[2], 1u);
        EXPECT_EQ(d->ageCount[9], 1u);  // 1975 counts as 1 January 1980
        EXPECT_EQ(d->ageCount[0], 0u);
        EXPECT_EQ(d->ageBytes[2], 16384u);
        EXPECT_EQ(d->hourCount[0], 1u);
        EXPECT_EQ(d->hourCount[1], 1u);
        EXPECT_EQ(d->hourCount[24], 4u);
    }

    EXPECT_EQ(extensions(c), QStringList({"=1", ".DOC=1", ".ISO=1", ".PIPE=1", ".TXT=1"}));
    EXPECT_EQ(c.types().find(u".iso")->bytes, 5368709120ULL);

    ASSERT_TRUE(c.overhangEnabled());
    for (int i = 0; i < kOverhangSizes; ++i) {
        quint64 expected = 0;
        for (const File& f : files)
            expected += OverhangOf(quint64(f.size), kOverhangClusters[size_t(i)]);
        EXPECT_EQ(t.overhang[size_t(i)], expected) << i;
    }
    EXPECT_EQ(t.clusterSize, plat::diskSpace("C:\\")->clusterSize);

    EXPECT_EQ(prompter.texts(ScriptedPrompter::Kind::Info), QStringList{ScanOneEntryMessage("C:")});
    EXPECT_EQ(lastCaption, "Stats done for C: ");
    EXPECT_EQ(lastStatus, "Finished - 7 files processed");
    EXPECT_TRUE(c.collected());
    EXPECT_FALSE(c.collecting());
}

TEST_F(CollectorTest, TypeFilterModes)
{
    TempDrives drives("C");
    for (const char* name : {"a.txt", "b.doc", "c", "report.backup"})
        drives.writeFile('C', name);
    struct Row {
        finders::TypeMode mode;
        QStringList types;
        quint64 found;
        QStringList rows;
    };
    using finders::TypeMode;
    const Row rows[] = {
        {TypeMode::Include, {"*.xls\tSpreadsheet"}, 0, {".XLS=0"}},
        {TypeMode::Include, {"*.doc\tWord"}, 1, {".DOC=1"}},
        {TypeMode::Exclude, {"*.doc\tWord"}, 3, {"=1", ".TXT=1"}},
        {TypeMode::AllFiles, {"*.doc\tWord"}, 4, {"=1", ".DOC=1", ".TXT=1"}},
    };
    for (const Row& r : rows) {
        StatCollector c;
        ASSERT_TRUE(collect(c, {"C:\\"}, r.mode, r.types));
        EXPECT_EQ(c.totals().filesProcessed, 4u);
        EXPECT_EQ(c.totals().filesFound, r.found);
        EXPECT_EQ(extensions(c), r.rows);
        const QString found = r.found == 4 ? QString() : QStringLiteral(" %1 files found").arg(r.found);
        EXPECT_EQ(lastStatus, "Finished - 4 files processed" + found);
    }
}

TEST_F(CollectorTest, OverlappingEntriesCountOnceWithoutOverhang)
{
    TempDrives drives("C");
    drives.writeFile('C', "a/one.txt", QByteArray(5000, 'x'));
    drives.writeFile('C', "two.txt");
    StatCollector c;
    ASSERT_TRUE(collect(c, {"C:\\", "C:\\a", "c:"}));
    EXPECT_EQ(c.totals().filesProcessed, 2u);
    EXPECT_FALSE(c.overhangEnabled());
    EXPECT_EQ(c.totals().overhang, (std::array<quint64, kOverhangSizes>{}));
    EXPECT_EQ(c.doneList(), "C:\\ C:\\a c: ");
    EXPECT_EQ(c.computePickListTotal(), 3 * plat::diskSpace("C:\\")->totalBytes);
    EXPECT_EQ(prompter.texts(ScriptedPrompter::Kind::Info), QStringList{kScanSeveralMessage});
    EXPECT_EQ(refreshes, 3);
}

TEST_F(CollectorTest, AbortInTheSecondOfThreeEntries)
{
    TempDrives drives("C");
    for (const char* folder : {"a", "b", "c"})
        for (const char* name : {"1", "2", "3"})
            drives.writeFile('C', QString("%1/%2.txt").arg(folder, name));
    StatCollector c;
    c.pump = [&c] {
        if (c.totals().filesProcessed == 4)
            c.abort();
    };
    ASSERT_TRUE(collect(c, {"C:\\a", "C:\\b", "C:\\c"}));
    EXPECT_EQ(c.totals().filesProcessed, 4u);
    EXPECT_EQ(c.doneList(), "C:\\a C:\\b ");
    EXPECT_EQ(lastCaption, kAbortedCaption);
    EXPECT_EQ(lastStatus, "Finished - 4 files processed INCOMPLETE ... ABORTED");
    EXPECT_EQ(refreshes, 2);  // the partial entry's pages are still refreshed
    EXPECT_TRUE(c.collected());
    EXPECT_FALSE(c.collecting());

    // A new collection starts from zero.
    c.pump = nullptr;
    ASSERT_TRUE(collect(c, {"C:\\c"}));
    EXPECT_EQ(c.totals().filesProcessed, 3u);
    EXPECT_FALSE(c.abortRequested());
}

TEST_F(CollectorTest, UnreadableFolderAndUnopenableEntry)
{
    TempDrives drives("C");
    drives.writeFile('C', "ok/f1.txt");
    drives.writeFile('C', "locked/f2.txt");
    const QByteArray locked = QFile::encodeName(drives.posix(u'C') + "/locked");
    ASSERT_EQ(chmod(locked.constData(), 0), 0);
    testing_support::NoDacOverride noOverride;
    if (!noOverride.ok()) {
        chmod(locked.constData(), 0755);
        GTEST_SKIP() << "permission bits cannot be made to apply";
    }
    StatCollector c;
    const bool ran = collect(c, {"C:\\nope", "C:\\"});
    chmod(locked.constData(), 0755);
    ASSERT_TRUE(ran);
    EXPECT_EQ(c.totals().filesProcessed, 1u);
    EXPECT_EQ(prompter.texts(ScriptedPrompter::Kind::Error), QStringList{"Can't open drive C:\\nope"});
    EXPECT_EQ(lastCaption, "Stats done for C:\\nope C:\\ ");
}

namespace {

int NoCapacity(const char*, struct statvfs* out)
{
    *out = {};
    out->f_frsize = 4096;
    return 0;
}

}  // namespace

TEST_F(CollectorTest, NoCapacityKeepsTheEarlierTotals)
{
    TempDrives drives("C");
    drives.writeFile('C', "f.txt");
    StatCollector c;
    ASSERT_TRUE(collect(c, {"C:"}));
    plat::detail::setStatvfsForTest(&NoCapacity);
    const bool ran = collect(c, {"C:"});
    plat::detail::setStatvfsForTest(nullptr);
    EXPECT_FALSE(ran);
    EXPECT_EQ(prompter.texts(ScriptedPrompter::Kind::Error), QStringList{kNoCapacityMessage});
    EXPECT_EQ(c.totals().filesProcessed, 1u);
    EXPECT_FALSE(collect(c, {}));  // a cancelled scope: nothing at all
    EXPECT_EQ(prompter.records().size(), 2);
}

// The files-by-date search: the date test on local days, and which files a
// search lists, in what order, with which cells.
#include "core/scriptedprompter.h"
#include "finders/datesearch.h"
#include "platform/filetypes.h"
#include "support/tempdrives.h"

#include <QFile>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <ctime>

using finders::DateCriteria;

namespace {

// Seconds since 1970 of a local wall-clock time in the zone TZ names.
qint64 LocalSeconds(int y, int mo, int d, int h, int mi, int s)
{
    std::tm t{};
    t.tm_year = y - 1900;
    t.tm_mon = mo - 1;
    t.tm_mday = d;
    t.tm_hour = h;
    t.tm_min = mi;
    t.tm_sec = s;
    t.tm_isdst = -1;
    return qint64(std::mktime(&t));
}

plat::FileTime Local(int y, int mo, int d, int h, int mi, int s)
{
    return plat::unixToFileTime(LocalSeconds(y, mo, d, h, mi, s), 0);
}

void SetTimes(const QString& posix, qint64 accessed, qint64 modified)
{
    const timespec times[2] = {{std::time_t(accessed), 0}, {std::time_t(modified), 0}};
    ASSERT_EQ(utimensat(AT_FDCWD, QFile::encodeName(posix).constData(), times, 0), 0) << qPrintable(posix);
}

// A time zone far from UTC with a summer time, for the length of a test.
class ZoneTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const char* tz = std::getenv("TZ");
        saved_ = tz ? QByteArray(tz) : QByteArray();
        had_ = tz != nullptr;
        setenv("TZ", "America/New_York", 1);
        tzset();
    }
    void TearDown() override
    {
        if (had_)
            setenv("TZ", saved_.constData(), 1);
        else
            unsetenv("TZ");
        tzset();
    }

private:
    QByteArray saved_;
    bool had_ = false;
};

}  // namespace

TEST_F(ZoneTest, DateTestComparesLocalDaysTable)
{
    // 10 March 2024 is the day summer time starts in this zone.
    const QDate day(2024, 3, 10);
    struct Row {
        int relation;
        plat::FileTime t;
        bool passes;
    };
    const plat::FileTime dayBefore = Local(2024, 3, 9, 23, 59, 59);
    const plat::FileTime first = Local(2024, 3, 10, 0, 0, 0);
    const plat::FileTime last = Local(2024, 3, 10, 23, 59, 59);
    const plat::FileTime dayAfter = Local(2024, 3, 11, 0, 0, 0);
    const Row rows[] = {
        {finders::drOnOrBefore, dayBefore, true}, {finders::drOnOrBefore, first, true},
        {finders::drOnOrBefore, last, true},      {finders::drOnOrBefore, dayAfter, false},
        {finders::drBetween, dayBefore, false},   {finders::drBetween, first, true},
        {finders::drBetween, last, true},         {finders::drBetween, dayAfter, false},
        {finders::drOnOrAfter, dayBefore, false}, {finders::drOnOrAfter, first, true},
        {finders::drOnOrAfter, last, true},       {finders::drOnOrAfter, dayAfter, true},
        // An unrecorded time: "On or Before" only.
        {finders::drOnOrBefore, 0, true},         {finders::drBetween, 0, false},
        {finders::drOnOrAfter, 0, false},
    };
    for (const Row& r : rows) {
        DateCriteria c;
        c.relation = r.relation;
        c.start = c.end = day;
        EXPECT_EQ(finders::PassesDateTest(r.t, c), r.passes) << r.relation << " " << r.t;
    }

    // Times a packed DOS date cannot hold compare by their real day and show
    // it; only the unrecorded time has no text.
    struct Far {
        plat::FileTime t;
        QDate day;
    };
    const Far far[] = {{Local(1970, 1, 1, 12, 0, 0), QDate(1970, 1, 1)},
                       {Local(2150, 6, 1, 8, 0, 0), QDate(2150, 6, 1)},
                       {0, QDate()}};
    for (const Far& f : far) {
        DateCriteria c;
        c.start = c.end = f.day;
        EXPECT_EQ(finders::FileTimeDay(f.t), f.day);
        EXPECT_EQ(finders::PassesDateTest(f.t, c), f.day.isValid()) << qPrintable(f.day.toString());
        EXPECT_EQ(finders::FileDateText(f.t).isEmpty(), !f.day.isValid());
    }
}

TEST_F(ZoneTest, SearchListsMatchingFilesInWalkOrderTable)
{
    testing_support::TempDrives drives("C");
    core::ScriptedPrompter prompter;
    core::setPrompter(&prompter);
    plat::FakeFileTypes types{{{".txt", "Text Document"}}};
    plat::setFileTypes(&types);
    const qint64 old = LocalSeconds(2015, 6, 1, 12, 0, 0);
    const qint64 recent = LocalSeconds(2024, 3, 10, 9, 0, 0);
    // Name -> accessed, modified.
    const struct {
        const char* file;
        qint64 accessed, modified;
    } files[] = {
        {"t/old.txt", old, old},
        // Read long ago, written lately: the last access is the write.
        {"t/written.txt", old, recent},
        {"t/sub/deep.txt", recent, old},
        {"t/sub/deep.log", recent, recent},
        {"t/.hidden.txt", recent, recent},
        {"t/.cache/in.txt", recent, recent},
        {"t/epoch.txt", LocalSeconds(1970, 1, 2, 0, 0, 0), LocalSeconds(1970, 1, 2, 0, 0, 0)},
    };
    for (const auto& f : files)
        SetTimes(drives.writeFile('C', f.file), f.accessed, f.modified);
    SetTimes(drives.writeFile('C', "root.txt"), recent, recent);

    struct Row {
        int kind, relation;
        QDate start, end;
        const char* wildcard;
        QStringList names;
    };
    const QDate day(2024, 3, 10);
    const Row rows[] = {
        {finders::tkAccessed, finders::drBetween, day, day, "*.*", {"deep.txt", "deep.log", "written.txt"}},
        {finders::tkModified, finders::drOnOrAfter, day, day, "*.txt", {"written.txt"}},
        {finders::tkModified, finders::drOnOrBefore, QDate(2016, 1, 1), day, "*.txt", {"deep.txt", "old.txt", "epoch.txt"}},
        {finders::tkModified, finders::drBetween, QDate(1970, 1, 2), QDate(1970, 1, 2), "*", {"epoch.txt"}},
    };
    for (const Row& r : rows) {
        DateCriteria c;
        c.kind = r.kind;
        c.relation = r.relation;
        c.start = r.start;
        c.end = r.end;
        c.wildcard = r.wildcard;
        c.roots = {"C:\\t"};
        finders::DateSearch search(c);
        comp::ResultGrid grid(7);
        const int found = search.search(grid);
        QStringList names, folders;
        for (int row = 1; row <= found; ++row) {
            names << grid.cell(row, finders::mcFilename);
            folders << grid.cell(row, finders::mcFolder);
        }
        EXPECT_EQ(QSet<QString>(names.begin(), names.end()), QSet<QString>(r.names.begin(), r.names.end()))
            << qPrintable(names.join(' '));
        // The files of a sub-folder come before those of its parent.
        EXPECT_TRUE(std::is_sorted(folders.begin(), folders.end(),
                                   [](const QString& a, const QString& b) { return a.size() > b.size(); }))
            << qPrintable(folders.join(' '));
        EXPECT_EQ(grid.rowCount(), std::max(found + 1, 2));
    }

    // The cells and the real path of a file in a drive's root.
    DateCriteria c;
    c.kind = finders::tkModified;
    c.relation = finders::drOnOrAfter;
    c.start = day;
    c.wildcard = "root.*";
    c.roots = {"C:"};
    finders::DateSearch search(c);
    comp::ResultGrid grid(7);
    ASSERT_EQ(search.search(grid), 1);
    EXPECT_EQ(grid.titles(), finders::ModsTitles());
    EXPECT_EQ(grid.cell(1, finders::mcFolder), "C:\\");
    EXPECT_EQ(grid.path(1), "C:\\root.txt");
    EXPECT_EQ(grid.cell(1, finders::mcSize), "1");
    EXPECT_EQ(grid.cell(1, finders::mcType), "Text Document");
    EXPECT_EQ(grid.cell(1, finders::mcModified), finders::FileDateText(plat::unixToFileTime(recent, 0)));
    plat::setFileTypes(nullptr);
    core::setPrompter(nullptr);
}

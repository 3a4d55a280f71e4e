// trovik-scan dates: its arguments and the rows it prints.
#include "support/tempdrives.h"

#include <QDate>
#include <QFile>
#include <QProcess>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

struct ScanResult {
    int status;
    QStringList out;
};

ScanResult Scan(const QStringList& args)
{
    QProcess p;
    p.start(TROVIK_SCAN, QStringList{"dates"} + args);
    p.waitForFinished(60000);
    QStringList lines = QString::fromUtf8(p.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    return {p.exitCode(), lines};
}

void SetModified(const QString& posix, int y, int m, int d)
{
    const qint64 s = QDateTime(QDate(y, m, d), QTime(12, 0)).toSecsSinceEpoch();
    const timespec times[2] = {{std::time_t(s), 0}, {std::time_t(s), 0}};
    ASSERT_EQ(utimensat(AT_FDCWD, QFile::encodeName(posix).constData(), times, 0), 0);
}

}  // namespace

TEST(DatesCliTest, ArgumentsAndRowsTable)
{
    testing_support::TempDrives drives("C");
    SetModified(drives.writeFile('C', "old/a.txt"), 2020, 5, 1);
    SetModified(drives.writeFile('C', "old/b.log"), 2021, 5, 1);
    drives.writeFile('C', "new.txt");
    struct Row {
        QStringList args;
        int status;
        int rows;  // data rows printed
    };
    const Row rows[] = {
        {{"--modified", "--before", "2020-12-31", "C:"}, 0, 1},
        {{"--modified", "--between", "2020-05-01", "2021-05-01", "C:"}, 0, 2},
        {{"--modified", "--between", "2020-05-01", "2021-05-01", "--wildcard", "*.log", "C:"}, 0, 1},
        {{"--after", "2030-01-01", "C:"}, 1, 0},
        {{"C:"}, 0, 1},  // accessed today, the default
        {{"--before", "2020-13-01", "C:"}, 2, 0},
        {{"--between", "2021-01-02", "2021-01-01", "C:"}, 2, 0},
        {{"--before", "C:"}, 2, 0},
        {{"--modified", "--created", "C:"}, 2, 0},
        {{"--modified"}, 2, 0},
        {{"--newer", "C:"}, 2, 0},
    };
    for (const Row& r : rows) {
        const ScanResult s = Scan(r.args);
        EXPECT_EQ(s.status, r.status) << qPrintable(r.args.join(' '));
        if (r.status == 0) {
            ASSERT_EQ(s.out.size(), r.rows + 1) << qPrintable(r.args.join(' '));
            EXPECT_EQ(s.out[0], "Filename\tAccessed\tCreated\tModified\tSize\tFolder\tType");
        } else {
            EXPECT_TRUE(s.out.isEmpty());
        }
    }
}

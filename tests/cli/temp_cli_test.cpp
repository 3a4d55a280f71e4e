#include "support/tempdrives.h"

#include <QProcess>
#include <gtest/gtest.h>

namespace {

struct ScanResult {
    int status;
    QStringList out;
};

ScanResult Scan(const QStringList& args)
{
    QProcess p;
    p.start(TROVIK_SCAN, args);
    p.waitForFinished(60000);
    QStringList lines = QString::fromUtf8(p.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    return {p.exitCode(), lines};
}

QStringList column(const QStringList& lines, int c)
{
    QStringList out;
    for (const QString& line : lines)
        out << line.split('\t').value(c);
    return out;
}

}  // namespace

TEST(TempCliTest, ListsTypesAndRowsTable)
{
    testing_support::TempDrives drives("C");
    drives.writeFile('C', "w/a.tmp", "12");
    drives.writeFile('C', "w/sub/b.BAK", "123456");
    drives.writeFile('C', "w/c.txt", "1234567890");
    struct Row {
        QStringList args;
        int status;
        QStringList names;  // the FileName column, titles first
    } const rows[] = {
        {{"temp", "C:\\w"}, 0, {"FileName", "C:\\w\\sub\\b.BAK", "C:\\w\\a.tmp"}},
        {{"temp", "--type", "*.tmp", drives.posix(u'C') + "/w"}, 0, {"FileName", "C:\\w\\a.tmp"}},
        {{"temp", "--type", "*", "C:\\w"}, 1, {}},
        {{"temp", "--type"}, 2, {}},
        {{"temp", "--bogus", "C:\\w"}, 2, {}},
    };
    for (const Row& r : rows) {
        const ScanResult s = Scan(r.args);
        EXPECT_EQ(s.status, r.status) << r.args.join(' ').toStdString();
        EXPECT_EQ(column(s.out, 4), r.names) << r.args.join(' ').toStdString();
    }
    const ScanResult list = Scan({"temp", "--list"});
    EXPECT_EQ(list.status, 0);
    EXPECT_EQ(column(list.out, 0).size(), 13);
    EXPECT_EQ(list.out.value(0).section('\t', 0, 0), "*.bak");
}

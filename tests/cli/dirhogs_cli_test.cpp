// trovik-scan dirhogs and deltree.
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

}  // namespace

TEST(DirHogsCliTest, GridRowsAndNoResult)
{
    testing_support::TempDrives drives("CD");
    drives.writeFile(u'C', "Big/a", QByteArray(3000, 'x'));
    drives.writeFile(u'C', "small/b", QByteArray(20, 'x'));
    drives.writeFile(u'D', "loose.txt", QByteArray(20, 'x'));

    const ScanResult main = Scan({"dirhogs", "C:"});
    EXPECT_EQ(main.status, 0);
    QStringList rows = main.out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(rows.size(), 3);
    EXPECT_EQ(rows[0], "Size\t% Used\t# Files\t# Sub-folders\tLatest File Access\tName");
    EXPECT_TRUE(rows[1].startsWith("3,000\t") && rows[1].endsWith("\tc:\\Big")) << rows[1].toStdString();
    EXPECT_TRUE(rows[2].endsWith("\tc:\\small"));

    // A drive with no folders: its root's line, then the message.
    const ScanResult all = Scan({"dirhogs", "--all", "D:", "C:\\nowhere"});
    EXPECT_EQ(all.status, 1);
    EXPECT_EQ(all.out.split('\n', Qt::SkipEmptyParts).size(), 2);
    EXPECT_EQ(all.err, "Can't open drive C:\\nowhere\nNo files found.\n");
}

TEST(DirHogsCliTest, DelTreeRefusesThenRemoves)
{
    testing_support::TempDrives drives("C");
    drives.writeFile(u'C', "old/stuff/a", QByteArray(100, 'x'));
    drives.writeFile(u'C', "WINDOWS/w", "x");
    struct Row {
        QStringList args;
        int status;
        QString err;
        bool oldStays;
    };
    const QList<Row> rows = {
        {{"C:\\"}, 1, "You cannot delete the root folder using Trovik\n", true},
        {{"c:\\windows"}, 1, "You cannot delete the Windows folder using Trovik\n", true},
        {{"C:\\old"}, 1, "", true},  // the Safe Harbor was never built
        {{"--force", "C:\\old"}, 0, "", false},
    };
    for (const Row& r : rows) {
        const ScanResult s = Scan(QStringList{"deltree"} + r.args);
        EXPECT_EQ(s.status, r.status) << r.args.join(' ').toStdString();
        if (!r.err.isEmpty())
            EXPECT_EQ(s.err, r.err);
        EXPECT_EQ(QDir(drives.posix(u'C') + "/old").exists(), r.oldStays) << r.args.join(' ').toStdString();
    }
    EXPECT_TRUE(QFile::exists(drives.posix(u'C') + "/WINDOWS/w"));
}

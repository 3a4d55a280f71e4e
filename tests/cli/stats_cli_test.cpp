#include "support/tempdrives.h"

#include <QProcess>
#include <gtest/gtest.h>

namespace {

struct ScanResult {
    int status;
    QStringList out;
    QString err;
};

ScanResult Scan(const QStringList& args)
{
    QProcess p;
    p.start(TROVIK_SCAN, args);
    p.waitForFinished(60000);
    QStringList lines = QString::fromUtf8(p.readAllStandardOutput()).split('\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return {p.exitCode(), lines, QString::fromUtf8(p.readAllStandardError())};
}

// The lines of one section, its title line first.
QStringList Section(const QStringList& out, const QString& name)
{
    const qsizetype at = out.indexOf("[" + name + "]");
    if (at < 0)
        return {};
    QStringList lines;
    for (qsizetype i = at + 1; i < out.size() && !out[i].startsWith('['); ++i)
        lines << out[i];
    return lines;
}

}  // namespace

TEST(StatsCliTest, EverySectionOnOneTree)
{
    testing_support::TempDrives drives("C");
    drives.writeFile('C', "docs/a.doc", QByteArray(5000, 'x'));
    drives.writeFile('C', ".config/b.txt", QByteArray(8192, 'x'));
    drives.writeFile('C', "c", "");
    const ScanResult r = Scan({"stats", "--today", "2024-06-15", "C:"});
    ASSERT_EQ(r.status, 0) << qPrintable(r.err);
    ASSERT_GE(r.out.size(), 2);
    EXPECT_EQ(r.out[0], "Files processed\t3");
    EXPECT_EQ(r.out[1], "Files found\t3");
    QStringList headers;
    for (const QString& line : r.out)
        if (line.startsWith('['))
            headers << line;
    EXPECT_EQ(headers, QStringList({"[Types]", "[Sizes]", "[Overhang]", "[Access]", "[Created]", "[Modified]",
                                    "[Attribute]", "[Time]"}));
    const QStringList types = Section(r.out, "Types");
    ASSERT_EQ(types.size(), 5);
    EXPECT_EQ(types[0], "Extension\tType\tSize\t# Files\tAvg File Size");
    EXPECT_TRUE(types[2].startsWith(".DOC\t")) << qPrintable(types[2]);
    EXPECT_TRUE(types[2].endsWith("\t5000\t1\t5000"));
    EXPECT_EQ(types[4], "\tTotals\t13192\t3\t");
    EXPECT_EQ(Section(r.out, "Sizes").last(), "0 - 16K\t13192\t3");
    const QStringList overhang = Section(r.out, "Overhang");
    ASSERT_EQ(overhang.size(), 9);
    EXPECT_EQ(overhang[1], "4K\t3192\t19.48");
    EXPECT_EQ(overhang[7], "Total file sizes\t13192");
    EXPECT_EQ(Section(r.out, "Attribute").value(1), "Hidden\t0.00\t0\t0.00\t0");
    const QStringList time = Section(r.out, "Time");
    ASSERT_EQ(time.size(), 49);
    EXPECT_EQ(time[0], "Time\tModified time\tCreated time\tAccess Time");
    EXPECT_TRUE(time[48].startsWith("23:30\t"));

    // Two roots: no Overhang section; types restricted.
    const ScanResult two = Scan({"stats", "--include", "doc", "C:\\docs", drives.posix(u'C')});
    ASSERT_EQ(two.status, 0) << qPrintable(two.err);
    EXPECT_EQ(two.out.mid(0, 2), QStringList({"Files processed\t3", "Files found\t1"}));
    EXPECT_FALSE(two.out.contains("[Overhang]"));
}

TEST(StatsCliTest, SpaceAndStatuses)
{
    testing_support::TempDrives drives("CD");
    drives.writeFile('C', "f.txt");
    const ScanResult space = Scan({"space", "C:", "D:"});
    ASSERT_EQ(space.status, 0) << qPrintable(space.err);
    ASSERT_EQ(space.out.size(), 7);
    EXPECT_TRUE(space.out[0].startsWith("C\t"));
    EXPECT_TRUE(space.out[2].startsWith("Total\t"));
    EXPECT_TRUE(space.out[3] == "Unit\tMB" || space.out[3] == "Unit\tKB") << qPrintable(space.out[3]);
    EXPECT_EQ(Scan({"space", "--no-total", "C:", "D:"}).out.size(), 6);

    struct Row {
        QStringList args;
        int status;
        QString err;
    };
    const QList<Row> rows = {
        {{"stats"}, 2, ""},
        {{"stats", "--today", "15.6.2024", "C:"}, 2, ""},
        {{"stats", "--include", "*.*", "C:"}, 2, ""},
        {{"stats", "--include", "doc", "--exclude", "txt", "C:"}, 2, ""},
        {{"stats", "C:\\nope"}, 1, "Can't open drive C:\\nope"},
        {{"stats", "Q:"}, 1, "Could not compute the total size of the disk drives selected."},
        {{"space"}, 2, ""},
        {{"space", "Q:"}, 1, "None of the drives is ready."},
    };
    for (const Row& r : rows) {
        const ScanResult s = Scan(r.args);
        EXPECT_EQ(s.status, r.status) << qPrintable(r.args.join(' '));
        if (!r.err.isEmpty())
            EXPECT_TRUE(s.err.contains(r.err)) << qPrintable(s.err);
    }
}

// trovik-scan list: a folder's files as the folder browser first shows them.
#include "support/tempdrives.h"

#include <QProcess>
#include <gtest/gtest.h>

TEST(ListCliTest, GridAsFirstShown)
{
    testing_support::TempDrives drives("C");
    drives.writeFile('C', "d/b.TXT", QByteArray(3, 'x'));
    drives.writeFile('C', "d/A.doc", QByteArray(1, 'x'));
    drives.writeFile('C', "d/c.bin");
    drives.makeFolder('C', "empty");
    const struct {
        QStringList args;
        int status;
        QStringList names;  // the Filename column below the titles
    } cases[] = {
        {{"C:\\d"}, 0, {"A.doc", "b.TXT", "c.bin"}},
        {{"--wildcard", "*.txt;*.DOC", drives.posix(u'C') + "/d"}, 0, {"A.doc", "b.TXT"}},
        {{"C:\\empty"}, 0, {""}},
        {{"C:\\gone"}, 1, {}},
        {{}, 2, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.join(' ').toStdString());
        QProcess p;
        p.start(TROVIK_SCAN, QStringList{"list"} + c.args);
        ASSERT_TRUE(p.waitForFinished(60000));
        EXPECT_EQ(p.exitCode(), c.status);
        if (c.status != 0)
            continue;
        QStringList lines = QString::fromUtf8(p.readAllStandardOutput()).split('\n');
        ASSERT_EQ(lines.takeLast(), "");
        ASSERT_FALSE(lines.isEmpty());
        EXPECT_EQ(lines.takeFirst(), "Modified\tTime\tAccess\tSize\tFilename\tType");
        QStringList names;
        for (const QString& l : lines)
            names << l.section('\t', 4, 4);
        EXPECT_EQ(names, c.names);
    }
}

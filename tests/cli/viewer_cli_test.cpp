// trovik-scan view and strings: the viewer's pages and the strings view on
// the command line.
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

TEST(ViewerCliTest, PagesAsTheViewerDoes)
{
    testing_support::TempDrives drives("C");
    drives.writeFile('C', "v.txt", "alpha\nbeta\tx\ngamma\ndelta\n");
    drives.writeFile('C', "bin.dat", QByteArray("\x01hello world\x02\x03" "abcd\x04" "data12345\x05", 30));
    const QString posix = drives.posix('C') + "/v.txt";
    const QStringList uncounted = {"Total: ?", "Bytes: 25"};
    const QStringList counted = {"Total: 4", "Bytes: 25"};
    struct Row {
        QStringList args;
        int status;
        QStringList out;
        QString err;
    };
    const QList<Row> rows = {
        {{"view", "C:\\v.txt"}, 0, QStringList{"alpha", "beta    x", "gamma", "delta"} + uncounted, ""},
        {{"view", "--tab", "2", "--lines", "2", posix}, 0, QStringList{"alpha", "beta  x"} + uncounted, ""},
        {{"view", "--from", "3", "C:\\v.txt"}, 0, QStringList{"gamma", "delta"} + counted, ""},
        {{"view", "--from", "9", "C:\\v.txt"}, 0, QStringList{"delta"} + counted, ""},
        {{"view", "--end", "--lines", "2", "C:\\v.txt"}, 0, QStringList{"gamma", "delta"} + uncounted, ""},
        {{"view", "--find", "BETA", "--lines", "2", "C:\\v.txt"}, 0, QStringList{"beta    x", "gamma"} + uncounted, ""},
        {{"view", "--end", "--find", "alpha", "--backward", "--lines", "1", "C:\\v.txt"}, 0,
         QStringList{"alpha"} + uncounted, ""},
        {{"view", "--find", "BETA", "--match-case", "C:\\v.txt"}, 1, {}, "Search string 'BETA' not found"},
        {{"view", "--hex", "--lines", "1", "C:\\v.txt"}, 0,
         {"00000000  61 6C 70 68 61 0A 62 65 74 61 09 78 0A 67 61 6D  alpha.beta.x.gam", "Total: 2", "Bytes: 25"}, ""},
        {{"view", "C:\\none.txt"}, 1, {}, "Cannot open file C:\\none.txt"},
        {{"view", "--tab", "0", "C:\\v.txt"}, 2, {}, ""},
        {{"view", "--from", "1", "--end", "C:\\v.txt"}, 2, {}, ""},
        {{"view", "--backward", "C:\\v.txt"}, 2, {}, ""},
        {{"strings", "C:\\bin.dat"}, 0, {"hello world", "data12345"}, ""},
        {{"strings", "C:\\none.dat"}, 1, {}, "Could not open file C:\\none.dat"},
    };
    for (const Row& r : rows) {
        const ScanResult got = Scan(r.args);
        EXPECT_EQ(got.status, r.status) << r.args.join(' ').toStdString() << ": " << got.err.toStdString();
        if (r.status != 2) {
            EXPECT_EQ(got.out, r.out) << r.args.join(' ').toStdString();
        }
        EXPECT_TRUE(got.err.contains(r.err)) << got.err.toStdString();
    }
}

}  // namespace

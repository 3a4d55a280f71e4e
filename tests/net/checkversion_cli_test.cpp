// trovik-scan checkversion against a scripted loopback server.
#include "net/scriptedserver.h"
#include "support/tempdrives.h"

#include <QEventLoop>
#include <QProcess>
#include <QTimer>
#include <gtest/gtest.h>

using namespace net_test;

namespace {

struct ScanResult {
    int status;
    QString out;
    QString err;
};

// Runs the command while this process's event loop serves the site.
ScanResult CheckVersion(const QString& site)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("TROVIK_SITE", site);
    p.setProcessEnvironment(env);
    QEventLoop loop;
    QObject::connect(&p, &QProcess::finished, &loop, &QEventLoop::quit);
    QTimer::singleShot(60000, &loop, &QEventLoop::quit);
    p.start(TROVIK_SCAN, {"checkversion"});
    loop.exec();
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
}

}  // namespace

TEST(CheckVersionCli, VerdictNotesAndFailure)
{
    testing_support::TempDrives drives("C");
    ScriptedServer web;
    web.answer("/version/trovik/ver.txt", okAnswer("4.2\r\n1 June 2005\r\n"));
    web.answer("/version/trovik/note.rtf", okAnswer("{\\rtf1 Faster\\par Smaller}"));
    const ScanResult outOfDate = CheckVersion(web.url("/").toString());
    EXPECT_EQ(outOfDate.status, 0) << qPrintable(outOfDate.err);
    EXPECT_EQ(outOfDate.out, "Your version is out of date, the latest version is 4.2 last updated on 1 June 2005\n"
                             "Out of date!  Last version was on 1 June 2005\n\nFaster\nSmaller\n");

    const ScanResult closed = CheckVersion(QString("http://127.0.0.1:%1/").arg(ScriptedServer::closedPort()));
    EXPECT_EQ(closed.status, 1);
    EXPECT_EQ(closed.err, "Could not establish connection to internet.\nError : Connection refused\n");
    EXPECT_TRUE(closed.out.isEmpty());
}

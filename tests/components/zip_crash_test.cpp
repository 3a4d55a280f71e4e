// Kills a zipping process (zip, commit, delete what is durable) at random
// moments after a random number of commits: every file must always be
// either in its place, unchanged, or restorable from the archive with the
// same contents, and the archive must list nothing else (zip files among
// the sources hold local headers of their own that must never pass for
// the archive's entries).
#include "components/zip/zipreader.h"
#include "zip_testutil.h"

#include <QMap>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <csignal>

using namespace comp;
using namespace ziptest;

namespace {

// Checks the invariant; returns how many files are only in the archive.
int checkNothingLost(const QString& root, const QString& archive, const QMap<QString, QByteArray>& files)
{
    QMap<QString, QByteArray> stored;
    ZipReader r;
    if (QFileInfo::exists(archive) && r.openPosix(posix(archive))) {
        for (size_t i = 0; i < r.entries().size(); ++i) {
            EXPECT_TRUE(files.contains(r.entries()[i].name)) << "stranger: " << r.entries()[i].name.toStdString();
            QByteArray data;
            if (r.readEntry(int(i), &data) == ZipExtractResult::Extracted)
                stored.insert(r.entries()[i].name, data);
        }
    }
    int archivedOnly = 0;
    for (auto it = files.begin(); it != files.end(); ++it) {
        const QString path = root + "/" + it.key();
        if (QFileInfo::exists(path)) {
            EXPECT_EQ(readAll(path), it.value()) << it.key().toStdString();
        } else {
            EXPECT_TRUE(stored.contains(it.key())) << "lost: " << it.key().toStdString();
            EXPECT_EQ(stored.value(it.key()), it.value()) << it.key().toStdString();
            ++archivedOnly;
        }
    }
    return archivedOnly;
}

// A zip file whose entries hold random bytes, so the archive stores it as it
// is (deflate does not make it smaller): entries all through it, like a
// document with pictures, so that an entry written over its start leaves
// some of them behind.
QByteArray storedZip(qsizetype size, quint32 seed)
{
    std::vector<RawEntry> entries = {{"[Content_Types].xml", randomBytes(600, seed)},
                                     {"word/document.xml", randomBytes(2500, seed + 1)}};
    for (qsizetype at = 0, n = 1; at < size; at += 20'000, ++n)
        entries.push_back({QString("word/media/image%1.bin").arg(n).toUtf8(), randomBytes(20'000, seed + quint32(n) + 1)});
    return buildArchive(entries);
}

}  // namespace

TEST(ZipCrash, KilledAtRandomMomentsLosesNothing)
{
    QTemporaryDir tmp;
    const QString root = tmp.path() + "/files";
    const QString archive = tmp.path() + "/Drive-C-crash.zip";
    QMap<QString, QByteArray> files;
    QRandomGenerator g(20261209);
    int kills = 0;
    for (int run = 0; run < 30; ++run) {
        // New files for every run, so each has work to be killed in.
        for (int i = 0; i < 80; ++i) {
            const QString rel = QString("r%1/d%2/f%3.dat").arg(run, 2, 10, QChar('0')).arg(i % 3).arg(i);
            QByteArray data = i % 3 == 0 ? randomBytes(1000 + i * 37, quint32(run * 100 + i)) : textBytes(2000 + i * 101);
            if (i == 40 && run % 4 == 0)
                data = textBytes(5 * 1024 * 1024 + run);  // streamed
            if (i == 7)
                data.clear();
            if (i % 20 == 5)  // zip files, stored as they are: in memory, and one streamed
                data = storedZip(i == 65 ? 5 * 1024 * 1024 : 100'000 + i * 5000, quint32(run * 100 + i));
            files.insert(rel, data);
            writeAll(root + "/" + rel, data);
        }
        QProcess p;
        p.setProcessChannelMode(QProcess::SeparateChannels);
        p.start(QStringLiteral(ZIP_CRASH_CHILD), {archive, root, QString::number(run)});
        ASSERT_TRUE(p.waitForStarted());
        // Kill once the archive is open and some commits are done, a short
        // while into the adds that follow. Half the kills fall among the
        // first adds after the open, over what the last kill left unfinished.
        const int lines = g.bounded(2) ? 1 : int(g.bounded(2, 6));
        const int delay = int(g.bounded(0, 12));
        int seen = 0;
        while (seen < lines && p.waitForReadyRead(30000))
            seen += int(p.readAllStandardOutput().count('\n'));
        p.waitForFinished(delay);
        // Only a running child is killed: the id of one that has ended is
        // 0, and kill(0) would hit the test's own process group.
        const qint64 pid = p.state() != QProcess::NotRunning ? p.processId() : 0;
        if (pid > 0) {
            ::kill(pid_t(pid), SIGKILL);
            p.waitForFinished();
            ++kills;
        } else {
            ASSERT_EQ(p.exitStatus(), QProcess::NormalExit) << "run " << run;
            ASSERT_EQ(p.exitCode(), 0) << "run " << run;
        }
        SCOPED_TRACE(run);
        checkNothingLost(root, archive, files);
    }
    EXPECT_GE(kills, 10);
    // A last, undisturbed run finishes the job.
    QProcess p;
    p.start(QStringLiteral(ZIP_CRASH_CHILD), {archive, root});
    ASSERT_TRUE(p.waitForFinished(120000));
    EXPECT_EQ(p.exitCode(), 0);
    checkNothingLost(root, archive, files);
    // Now every file is in the archive (a file whose entry was written but
    // not committed before a kill stays on disk as well: its name exists).
    ZipReader r;
    ASSERT_TRUE(r.openPosix(posix(archive)));
    EXPECT_FALSE(r.recovered());
    QStringList names;
    for (const auto& e : r.entries())
        names << e.name;
    for (auto it = files.begin(); it != files.end(); ++it)
        EXPECT_TRUE(names.contains(it.key())) << it.key().toStdString();
    EXPECT_EQ(names.size(), files.size());
    if (haveTool("unzip")) {
        QByteArray log;
        EXPECT_EQ(run("unzip", {"-tq", archive}, {}, &log), 0) << log.toStdString();
    }
}

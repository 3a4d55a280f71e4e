// trovik-scan archive killed with SIGKILL at random moments: after every
// kill each file is either still in its place or restorable from the
// archive with identical contents, and a second run over what is left
// (which reopens the interrupted archive) keeps that true.
//
// Defaults keep it short for CI (300 files, 5 kills); bench/zip_crash.sh
// runs it with TROVIK_CRASH_FILES=2000 TROVIK_CRASH_RUNS=20.
// TROVIK_CRASH_SEED repeats a run's kill moments.
#include "components/zip/zipreader.h"
#include "support/tempdrives.h"

#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QHash>
#include <QProcess>
#include <QThread>
#include <gtest/gtest.h>
#include <random>

namespace {

int envInt(const char* name, int def)
{
    bool ok = false;
    const int v = qEnvironmentVariableIntValue(name, &ok);
    return ok && v > 0 ? v : def;
}

// Mixed contents: mostly small files, some empty, some large enough that a
// kill lands inside a file being stored.
QByteArray contentsOf(int i)
{
    std::mt19937 rng(quint32(i) * 2654435761u);
    int size = int(rng() % 24000);
    if (i % 97 == 0)
        size = 0;
    else if (i % 53 == 0)
        size = 600000 + int(rng() % 400000);
    QByteArray out;
    out.reserve(size);
    static const char words[] = "archive entry folder drive total record window ";
    while (out.size() < size) {
        if (rng() % 4 == 0)
            out.append(char('a' + rng() % 26));
        else
            out.append(words, int(sizeof words - 1));
    }
    out.truncate(size);
    return out;
}

QString relPath(int i)
{
    return QStringLiteral("data/d%1/file %2.txt").arg(i / 100, 2, 10, QChar('0')).arg(i, 5, 10, QChar('0'));
}

struct Check {
    int onDisk = 0;
    int inArchive = 0;
    QStringList lost;
};

class ZipCrashTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        files_ = envInt("TROVIK_CRASH_FILES", 300);
        runs_ = envInt("TROVIK_CRASH_RUNS", 5);
        seed_ = quint32(envInt("TROVIK_CRASH_SEED", int(std::random_device{}() & 0x7fffffff)));
        std::cout << "files " << files_ << ", runs " << runs_ << ", TROVIK_CRASH_SEED=" << seed_ << std::endl;
    }

    void makeFiles(testing_support::TempDrives& drives)
    {
        for (int i = 0; i < files_; ++i)
            drives.writeFile('C', relPath(i), contentsOf(i));
        drives.makeFolder('Z', "zips");
    }

    QStringList arguments() const
    {
        QStringList args{"archive", "--force", "--folder", "Z:\\zips", "--tag", "Crash"};
        for (int i = 0; i < files_; ++i)
            args << "C:\\" + QString(relPath(i)).replace('/', '\\');
        return args;
    }

    // Every archive of the folder, read as the restore reads it (a central
    // directory that was not completed is recovered from the local headers).
    static QHash<QString, QByteArray> archived(const QString& folder)
    {
        QHash<QString, QByteArray> out;
        QDirIterator it(folder, {"*.zip"}, QDir::Files);
        while (it.hasNext()) {
            comp::ZipReader r;
            if (!r.openPosix(QFile::encodeName(it.next())))
                continue;
            for (int k = 0; k < int(r.entries().size()); ++k) {
                QByteArray data;
                if (r.readEntry(k, &data) == comp::ZipExtractResult::Extracted)
                    out.insert(r.entries()[k].name, data);
            }
        }
        return out;
    }

    Check check(testing_support::TempDrives& drives) const
    {
        Check c;
        const QHash<QString, QByteArray> stored = archived(drives.posix('Z') + "/zips");
        for (int i = 0; i < files_; ++i) {
            const QByteArray want = contentsOf(i);
            QFile f(drives.posix('C') + "/" + relPath(i));
            if (f.open(QIODevice::ReadOnly)) {
                // A file still in its place must be whole.
                if (f.readAll() == want) {
                    ++c.onDisk;
                    continue;
                }
                c.lost << relPath(i) + " (changed on disk)";
                continue;
            }
            const auto it = stored.constFind(relPath(i));
            if (it != stored.constEnd() && *it == want)
                ++c.inArchive;
            else
                c.lost << relPath(i);
        }
        return c;
    }

    int files_ = 0;
    int runs_ = 0;
    quint32 seed_ = 0;
};

TEST_F(ZipCrashTest, EveryFileSurvivesAKillAtAnyMoment)
{
    // How long an uninterrupted run takes, to spread the kills over it.
    qint64 fullMs = 0;
    {
        testing_support::TempDrives drives{"CZ"};
        makeFiles(drives);
        QElapsedTimer t;
        t.start();
        QProcess p;
        p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        p.start(TROVIK_SCAN, arguments());
        ASSERT_TRUE(p.waitForFinished(120000));
        fullMs = t.elapsed();
        ASSERT_EQ(p.exitCode(), 0);
        const Check c = check(drives);
        EXPECT_TRUE(c.lost.isEmpty()) << c.lost.join('\n').toStdString();
        EXPECT_EQ(c.inArchive, files_);
    }

    std::mt19937 rng(seed_);
    int killedWhileRunning = 0;
    for (int run = 0; run < runs_; ++run) {
        SCOPED_TRACE(run);
        testing_support::TempDrives drives{"CZ"};
        makeFiles(drives);
        const int delayMs = int(rng() % quint32(std::max<qint64>(1, fullMs)));
        QProcess p;
        p.setStandardOutputFile(QProcess::nullDevice());
        p.setStandardErrorFile(QProcess::nullDevice());
        p.start(TROVIK_SCAN, arguments());
        ASSERT_TRUE(p.waitForStarted());
        QThread::msleep(delayMs);
        if (p.state() == QProcess::Running) {
            p.kill();  // SIGKILL
            ++killedWhileRunning;
        }
        p.waitForFinished(30000);

        const Check afterKill = check(drives);
        EXPECT_TRUE(afterKill.lost.isEmpty())
            << "killed after " << delayMs << " ms; lost:\n" << afterKill.lost.join('\n').toStdString();

        // The rest in a second run, which adds to the interrupted archive
        // when it is still the same minute.
        QProcess again;
        again.setStandardOutputFile(QProcess::nullDevice());
        again.setStandardErrorFile(QProcess::nullDevice());
        again.start(TROVIK_SCAN, arguments());
        ASSERT_TRUE(again.waitForFinished(120000));
        const Check afterResume = check(drives);
        EXPECT_TRUE(afterResume.lost.isEmpty())
            << "after the second run; lost:\n" << afterResume.lost.join('\n').toStdString();
        // What stays is only what an archive held already under its name.
        EXPECT_LE(afterResume.onDisk, afterKill.onDisk);
    }
    // Most kills must have hit a running operation for the test to mean anything.
    EXPECT_GE(killedWhileRunning, (runs_ + 1) / 2);
}

}  // namespace

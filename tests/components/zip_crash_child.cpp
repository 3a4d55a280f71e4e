// Helper of the crash test: zips every file below a folder into an archive
// and deletes each source once its entry is durable, committing often, the
// way the deletion panel does. It prints a line once the archive is open and
// after each commit, so the test can kill it at random moments between and
// after commits.
//
// With --hold ARCHIVE [FILE] it is the other writer of the lock test: it
// opens the archive (adding FILE, which creates a new archive), prints
// "locked" and keeps the archive open until a line arrives on stdin; when
// the open or add fails it prints the error and exits with 2.
#include "components/zip/zipwriter.h"

#include <QCoreApplication>
#include <QDirIterator>
#include <QFile>
#include <QStringList>

#include <algorithm>
#include <cstdio>
#include <random>

static int holdArchive(int argc, char** argv)
{
    comp::ZipWriter w;
    bool ok = w.openPosix(argv[2]);
    if (ok && argc == 4)
        ok = w.addFilePosix(argv[3], QStringLiteral("held.txt")) == comp::ZipAddResult::Added;
    if (!ok) {
        const QString why = w.lastAddError().isEmpty() ? w.errorText() : w.lastAddError();
        std::printf("%s\n", why.toLocal8Bit().constData());
        std::fflush(stdout);
        return 2;
    }
    std::printf("locked\n");
    std::fflush(stdout);
    char line[16];
    (void)std::fgets(line, sizeof line, stdin);
    return w.close().ok ? 0 : 1;
}

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc >= 3 && QByteArray(argv[1]) == "--hold")
        return argc <= 4 ? holdArchive(argc, argv) : 64;
    if (argc != 3 && argc != 4)
        return 64;
    const QString archive = QString::fromLocal8Bit(argv[1]);
    const QString root = QString::fromLocal8Bit(argv[2]);
    QStringList files;
    QDirIterator it(root, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << it.next();
    std::sort(files.begin(), files.end());
    // With a seed, in an order of its own: a file left unfinished by the
    // last run is then seldom the first one written over it again.
    if (argc == 4)
        std::shuffle(files.begin(), files.end(), std::mt19937(uint(QByteArray(argv[3]).toUInt())));

    comp::ZipWriter w;
    if (!w.openPosix(QFile::encodeName(archive)))
        return 2;
    std::printf("opened\n");
    std::fflush(stdout);
    w.setComment("crash test");
    comp::CommitPolicy policy(15, 5);
    int commits = 0;
    auto deleteDurable = [&commits](const comp::ZipCommitResult& r) {
        for (const comp::ZipCommitted& c : r.entries)
            if (c.durable)
                QFile::remove(c.sourcePath);
        std::printf("commit %d\n", ++commits);
        std::fflush(stdout);
    };
    for (const QString& f : files) {
        w.addFilePosix(QFile::encodeName(f), f.mid(root.size() + 1));
        if (policy.due(w.pendingCount())) {
            deleteDurable(w.commit());
            policy.committed();
        }
    }
    deleteDurable(w.close());
    return 0;
}

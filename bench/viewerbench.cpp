// The file viewer on large files, against the tools a user has anyway:
//
// 1. A 4 GiB sparse file without a line feed: open, jump to the end (Ctrl+End)
//    and fetch the last screen, in text and in hex; median of 20 runs, as a
//    ratio to reading 1 MiB through the regular-file reader in the same run.
//    Goal: at most 3.
// 2. Hex paging through 256 MiB, then 10,000 random jumps, each fetching a
//    screen: growth of the peak resident memory. Goal: at most 16 MiB.
// 3. Counting the lines of a 1 GiB text file, against wc -l (median of 3,
//    each run on a warm page cache). Goal: at most 1.5 times.
//
//   viewerbench [FOLDER]      (default: the system's temporary folder)
//
// The files are made in FOLDER and removed at the end.
#include "components/viewerdoc.h"
#include "platform/drives.h"
#include "platform/filereader.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

#include <sys/resource.h>
#include <time.h>
#include <unistd.h>

namespace {

constexpr int kRows = 40;

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// Wall-clock and processor time of one run, in milliseconds. On a machine
// shared with other work the processor time is the fairer measure.
struct Took {
    double wall = -1;
    double cpu = -1;
};

class Stopwatch {
public:
    Stopwatch() { restart(); }
    void restart()
    {
        wall_.start();
        clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &cpu_);
    }
    Took took() const
    {
        timespec now;
        clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
        return {wall_.nsecsElapsed() / 1e6, (now.tv_sec - cpu_.tv_sec) * 1e3 + (now.tv_nsec - cpu_.tv_nsec) / 1e6};
    }

private:
    QElapsedTimer wall_;
    timespec cpu_;
};

struct Medians {
    std::vector<double> wall, cpu;
    void add(const Took& t)
    {
        wall.push_back(t.wall);
        cpu.push_back(t.cpu);
    }
};

// A line of /proc/self/status in KiB ("VmHWM", "VmRSS").
qint64 statusKiB(const QByteArray& name)
{
    QFile status("/proc/self/status");
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(name + ':'))
            return line.mid(name.size() + 1).trimmed().split(' ').first().toLongLong();
    }
    return -1;
}

// Starts the peak resident memory afresh from the current one, so that the
// files made before do not hide what the paging costs.
bool resetPeak()
{
    QFile clear("/proc/self/clear_refs");
    return clear.open(QIODevice::WriteOnly) && clear.write("5") == 1;
}

// Fetches a screen as the view paints it: the text of kRows lines from top.
qint64 fetchScreen(comp::ViewerDocument& doc, qint64 top)
{
    qint64 chars = 0;
    for (int r = 0; r < kRows && top < doc.size(); ++r) {
        const comp::ViewerDocument::Line line = doc.lineFrom(top);
        chars += doc.lineText(line, {}).size();
        top = line.next;
    }
    return chars;
}

Took readOneMiB(const QString& file)
{
    Stopwatch t;
    plat::RegularFileReader reader;
    if (!reader.open(file))
        return {};
    static std::vector<char> buffer(1 << 20);
    reader.seek(reader.size() - qint64(buffer.size()));
    qint64 got = 0;
    while (got < qint64(buffer.size())) {
        const qint64 n = reader.read(buffer.data() + got, qint64(buffer.size()) - got);
        if (n <= 0)
            break;
        got += n;
    }
    return t.took();
}

Took openJumpFetch(const QString& file, bool hex)
{
    Stopwatch t;
    comp::ViewerDocument doc;
    doc.setHexMode(hex);
    if (!doc.open(file))
        return {};
    const qint64 top = doc.lastScreenTop(kRows);
    if (fetchScreen(doc, top) <= 0)
        return {};
    return t.took();
}

bool makeSparse(const QString& posix, qint64 size)
{
    QFile f(posix);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.resize(size);
}

bool makeText(const QString& posix, qint64 size)
{
    QFile f(posix);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    QRandomGenerator random(7);
    QByteArray block;
    while (block.size() < (8 << 20)) {
        const int length = random.bounded(0, 100);
        for (int i = 0; i < length; ++i)
            block += char('a' + random.bounded(26));
        block += '\n';
    }
    for (qint64 written = 0; written < size; written += block.size()) {
        if (f.write(block) != block.size())
            return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QString base = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::tempPath();
    QTemporaryDir dir(base + "/viewerbench-XXXXXX");
    if (!dir.isValid()) {
        std::fprintf(stderr, "cannot make a folder in %s\n", qPrintable(base));
        return 1;
    }
    qputenv("TROVIK_DRIVES", QFile::encodeName("C=" + dir.path()));
    plat::reloadDrives();

    // 1. Open, Ctrl+End and the last screen of a 4 GiB file.
    if (!makeSparse(dir.path() + "/sparse.bin", 4LL << 30)) {
        std::fprintf(stderr, "cannot make the sparse file\n");
        return 1;
    }
    Medians read, text, hex;
    for (int i = 0; i < 20; ++i) {
        read.add(readOneMiB("C:\\sparse.bin"));
        text.add(openJumpFetch("C:\\sparse.bin", false));
        hex.add(openJumpFetch("C:\\sparse.bin", true));
    }
    std::printf("4 GiB sparse file, open + Ctrl+End + last screen of %d lines (median of 20):\n", kRows);
    std::printf("                  wall ms   cpu ms   ratio wall  ratio cpu (goal <= 3)\n");
    const auto row = [&](const char* name, const Medians& m) {
        std::printf("  %-12s %9.3f %8.3f %10.2f %10.2f\n", name, median(m.wall), median(m.cpu),
                    median(m.wall) / median(read.wall), median(m.cpu) / median(read.cpu));
    };
    row("read 1 MiB", read);
    row("text", text);
    row("hex", hex);
    QFile::remove(dir.path() + "/sparse.bin");

    // 2. Memory while paging in hex and jumping about.
    if (!makeText(dir.path() + "/paging.bin", 256LL << 20)) {
        std::fprintf(stderr, "cannot make the paging file\n");
        return 1;
    }
    {
        comp::ViewerDocument doc;
        doc.setHexMode(true);
        doc.open("C:\\paging.bin");
        fetchScreen(doc, 0);
        const bool reset = resetPeak();
        const qint64 before = reset ? statusKiB("VmHWM") : statusKiB("VmRSS");
        Stopwatch t;
        qint64 screens = 0;
        for (qint64 top = 0; top < doc.size(); top += comp::ViewerDocument::kPageSize / 4, ++screens)
            fetchScreen(doc, top);
        QRandomGenerator random(99);
        for (int i = 0; i < 10000; ++i, ++screens)
            fetchScreen(doc, doc.lineAt(random.bounded(doc.size())).start);
        const qint64 after = statusKiB("VmHWM");
        std::printf("hex paging through 256 MiB and 10,000 random jumps (%lld screens, %.2f s):\n",
                    static_cast<long long>(screens), t.took().wall / 1000.0);
        std::printf("  peak resident memory grew %.2f MiB (goal <= 16), from %.1f to %.1f MiB%s\n",
                    (after - before) / 1024.0, before / 1024.0, after / 1024.0,
                    reset ? "" : " (peak not reset: growth against the resident memory before)");
    }
    QFile::remove(dir.path() + "/paging.bin");

    // 3. Counting lines against wc -l.
    const QString textFile = dir.path() + "/lines.txt";
    if (!makeText(textFile, 1LL << 30)) {
        std::fprintf(stderr, "cannot make the text file\n");
        return 1;
    }
    Medians ours, wc;
    qint64 ourCount = 0;
    QByteArray wcCount;
    for (int i = 0; i < 4; ++i) {
        // wc's processor time is that of the child, from /usr/bin/time's
        // view: user + system of the finished child.
        rusage before;
        getrusage(RUSAGE_CHILDREN, &before);
        QElapsedTimer wall;
        wall.start();
        QProcess p;
        p.start("wc", {"-l", textFile});
        p.waitForFinished(-1);
        const double wcWall = wall.nsecsElapsed() / 1e6;
        rusage after;
        getrusage(RUSAGE_CHILDREN, &after);
        const auto ms = [](const timeval& t) { return t.tv_sec * 1e3 + t.tv_usec / 1e3; };
        const double wcCpu = ms(after.ru_utime) - ms(before.ru_utime) + ms(after.ru_stime) - ms(before.ru_stime);
        wcCount = p.readAllStandardOutput().split(' ').first();
        Stopwatch t;
        comp::ViewerDocument doc;
        doc.open("C:\\lines.txt");
        doc.countAll({});
        const Took took = t.took();
        ourCount = doc.lineCount();
        if (i == 0)
            continue;  // the first run warms the page cache
        wc.add({wcWall, wcCpu});
        ours.add(took);
    }
    std::printf("counting the lines of a 1 GiB text file (median of 3, warm cache):\n");
    std::printf("                  wall ms   cpu ms   ratio wall  ratio cpu (goal <= 1.5)   lines\n");
    std::printf("  %-12s %9.1f %8.1f %10s %10s   %s\n", "wc -l", median(wc.wall), median(wc.cpu), "", "",
                wcCount.constData());
    std::printf("  %-12s %9.1f %8.1f %10.2f %10.2f   %lld\n", "viewer", median(ours.wall), median(ours.cpu),
                median(ours.wall) / median(wc.wall), median(ours.cpu) / median(wc.cpu),
                static_cast<long long>(ourCount));
    return wcCount.toLongLong() == ourCount ? 0 : 1;
}

#pragma once
// Helpers for the zip codec tests: files in a temporary folder, hand-made
// archives (for hostile names and damaged data) and the external zip tools.

#include "components/zip/zipformat.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QString>
#include <QStringList>

#include <vector>

#include <zlib.h>

namespace ziptest {

inline QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline void writeAll(const QString& path, const QByteArray& data)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(data);
}

inline QByteArray randomBytes(qsizetype n, quint32 seed = 7)
{
    QRandomGenerator g(seed);
    QByteArray b(n, Qt::Uninitialized);
    for (qsizetype i = 0; i < n; ++i)
        b[i] = char(g.bounded(256));
    return b;
}

inline QByteArray textBytes(qsizetype n)
{
    QByteArray line = "The quick brown fox jumps over the lazy dog 0123456789.\n";
    QByteArray b;
    while (b.size() < n)
        b += line;
    return b.left(n);
}

inline QByteArray posix(const QString& p)
{
    return QFile::encodeName(p);
}

// True when the program is on the PATH.
inline bool haveTool(const QString& name)
{
    return !QStandardPaths::findExecutable(name).isEmpty();
}

// Runs a program; its exit code (-1 when it did not run).
inline int run(const QString& program, const QStringList& args, const QString& workDir = {},
               QByteArray* output = nullptr)
{
    QProcess p;
    if (!workDir.isEmpty())
        p.setWorkingDirectory(workDir);
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, args);
    if (!p.waitForFinished(60000))
        return -1;
    if (output)
        *output = p.readAll();
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

// A hand-made stored entry: any name, any Unix mode, any data.
struct RawEntry {
    QByteArray name;
    QByteArray data;
    quint32 mode = 0100644;
};

// Builds an archive of stored entries byte by byte.
inline QByteArray buildArchive(const std::vector<RawEntry>& entries, const QByteArray& comment = {})
{
    using namespace comp::zipfmt;
    QByteArray out, central;
    for (const RawEntry& r : entries) {
        NewEntry e;
        e.rawName = r.name;
        e.method = kStored;
        e.crc = quint32(crc32Of(r.data));
        e.compressedSize = e.uncompressedSize = quint64(r.data.size());
        e.dosDateTime = dosDateTime(1'000'000'000);
        e.unixMode = r.mode;
        e.localOffset = quint64(out.size());
        out += localHeader(e);
        out += r.data;
        central += centralRecord(e, 0xFFFFFFFFu);
    }
    const quint64 cdOffset = quint64(out.size());
    out += central;
    out += endRecords(entries.size(), quint64(central.size()), cdOffset, comment, 0xFFFFFFFFu, 0xFFFF);
    return out;
}

// Raw deflate of data (no zlib header), as zip entries hold it.
inline QByteArray rawDeflate(const QByteArray& data)
{
    z_stream z{};
    deflateInit2(&z, 9, Z_DEFLATED, -MAX_WBITS, 9, Z_DEFAULT_STRATEGY);
    QByteArray out(qsizetype(deflateBound(&z, uLong(data.size()))), Qt::Uninitialized);
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.constData()));
    z.avail_in = uInt(data.size());
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = uInt(out.size());
    deflate(&z, Z_FINISH);
    out.resize(qsizetype(z.total_out));
    deflateEnd(&z);
    return out;
}

// An archive whose entries overlap: each entry's deflate stream first quotes
// the next entry's local header in a stored block, then runs on through the
// entries after it into one shared block of kernelBytes zeros. Every entry
// is valid on its own (names match, CRCs are right), yet count entries
// unpack to about count * kernelBytes from a few kilobytes.
inline QByteArray overlapBomb(int count, qsizetype kernelBytes)
{
    using namespace comp::zipfmt;
    const QByteArray kernelOut(kernelBytes, '\0');
    const QByteArray kernel = rawDeflate(kernelOut);
    // From the last entry back: each output is the next header, then the
    // next entry's output.
    std::vector<NewEntry> e(static_cast<size_t>(count));
    std::vector<QByteArray> headers(static_cast<size_t>(count));
    quint32 crcAfter = crc32Of(kernelOut);
    quint64 outAfter = quint64(kernelOut.size());
    quint64 inAfter = quint64(kernel.size());
    for (int i = count - 1; i >= 0; --i) {
        NewEntry& n = e[size_t(i)];
        n.rawName = QByteArray("bomb") + QByteArray::number(i);
        n.method = kDeflated;
        n.dosDateTime = dosDateTime(1'000'000'000);
        n.crc = crcAfter;
        n.uncompressedSize = outAfter;
        n.compressedSize = inAfter;
        headers[size_t(i)] = localHeader(n);
        if (i > 0) {
            // The entry before quotes this header: 5 bytes of stored block
            // header, then the header itself, then what this entry reads.
            const QByteArray& h = headers[size_t(i)];
            crcAfter = quint32(crc32_combine(crc32Of(h), crcAfter, z_off_t(outAfter)));
            outAfter += quint64(h.size());
            inAfter += 5 + quint64(h.size());
        }
    }
    QByteArray out, central;
    for (int i = 0; i < count; ++i) {
        e[size_t(i)].localOffset = quint64(out.size());
        out += headers[size_t(i)];
        if (i + 1 < count) {
            const quint16 len = quint16(headers[size_t(i) + 1].size());
            out += char(0);  // not final, stored
            put16(out, len);
            put16(out, quint16(~len));
        }
    }
    out += kernel;
    for (const NewEntry& n : e)
        central += centralRecord(n, 0xFFFFFFFFu);
    const quint64 cdOffset = quint64(out.size());
    out += central;
    out += endRecords(quint64(count), quint64(central.size()), cdOffset, {}, 0xFFFFFFFFu, 0xFFFF);
    return out;
}

// Every path below root (relative, sorted), links included.
inline QStringList listTree(const QString& root)
{
    QStringList out;
    QDir dir(root);
    const auto infos = dir.entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                                         QDir::Name);
    for (const QFileInfo& i : infos) {
        out << i.fileName();
        if (i.isDir() && !i.isSymLink())
            for (const QString& sub : listTree(i.filePath()))
                out << i.fileName() + "/" + sub;
    }
    return out;
}

}  // namespace ziptest

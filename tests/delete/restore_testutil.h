#pragma once
// Archives for the restore tests: ones written by our own writer from
// files on a temporary drive, ones made by Debian's zip, and hand-made
// archive bytes whose entry names and attributes no honest writer would
// produce (traversal, absolute names, links).

#include "components/zip/zipwriter.h"
#include "platform/drives.h"

#include <QByteArray>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QList>
#include <QMap>
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QtEndian>

namespace restore_test {

// Zips the given drive paths into archive (a drive path) under their stored
// names, as the deletion panel does, and commits.
inline bool WriteArchive(const QString& archive, const QStringList& sources, const QString& comment = QString())
{
    comp::ZipWriter w;
    if (!w.open(archive))
        return false;
    w.setComment(comment);
    for (const QString& s : sources) {
        QString entry = s.mid(3);
        entry.replace('\\', '/');
        if (w.addFile(s, entry) != comp::ZipAddResult::Added)
            return false;
    }
    return w.close().ok;
}

inline quint32 Crc32(const QByteArray& data)
{
    quint32 crc = 0xFFFFFFFFu;
    for (const char ch : data) {
        crc ^= quint8(ch);
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

struct RawEntry {
    QByteArray name;
    QByteArray data;
    quint32 unixMode = 0;  // e.g. 0120777 for a link; 0 = made on a DOS system
};

// A stored (uncompressed) archive of the entries, byte by byte.
inline QByteArray RawZip(const QList<RawEntry>& entries)
{
    QByteArray out, central;
    auto u16 = [](QByteArray& b, quint16 v) { b.append(char(v & 0xFF)).append(char(v >> 8)); };
    auto u32 = [&](QByteArray& b, quint32 v) {
        u16(b, quint16(v & 0xFFFF));
        u16(b, quint16(v >> 16));
    };
    for (const RawEntry& e : entries) {
        const quint32 offset = quint32(out.size());
        const quint32 crc = Crc32(e.data);
        u32(out, 0x04034b50);
        u16(out, 10);
        u16(out, 0x0800);  // UTF-8 names
        u16(out, 0);       // stored
        u16(out, 0);
        u16(out, 0x5921);  // a date in 2024
        u32(out, crc);
        u32(out, quint32(e.data.size()));
        u32(out, quint32(e.data.size()));
        u16(out, quint16(e.name.size()));
        u16(out, 0);
        out += e.name;
        out += e.data;

        u32(central, 0x02014b50);
        u16(central, e.unixMode ? quint16((3 << 8) | 20) : 20);
        u16(central, 10);
        u16(central, 0x0800);
        u16(central, 0);
        u16(central, 0);
        u16(central, 0x5921);
        u32(central, crc);
        u32(central, quint32(e.data.size()));
        u32(central, quint32(e.data.size()));
        u16(central, quint16(e.name.size()));
        u16(central, 0);
        u16(central, 0);
        u16(central, 0);
        u16(central, 0);
        u32(central, e.unixMode << 16);
        u32(central, offset);
        central += e.name;
    }
    const quint32 centralOffset = quint32(out.size());
    out += central;
    u32(out, 0x06054b50);
    u16(out, 0);
    u16(out, 0);
    u16(out, quint16(entries.size()));
    u16(out, quint16(entries.size()));
    u32(out, quint32(central.size()));
    u32(out, centralOffset);
    u16(out, 0);
    return out;
}

inline bool WriteBytes(const QString& posixPath, const QByteArray& bytes)
{
    QFile f(posixPath);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

inline QByteArray ReadBytes(const QString& posixPath)
{
    QFile f(posixPath);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

// Every path below root (relative, '/' separators) with the contents of its
// files; folders map to "<dir>", links to "<link>".
inline QMap<QString, QByteArray> TreeOf(const QString& root)
{
    QMap<QString, QByteArray> tree;
    QDirIterator it(root, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString p = it.next();
        const QFileInfo fi = it.fileInfo();
        const QString rel = QDir(root).relativeFilePath(p);
        if (fi.isSymLink())
            tree[rel] = "<link>";
        else if (fi.isDir())
            tree[rel] = "<dir>";
        else
            tree[rel] = ReadBytes(p);
    }
    return tree;
}

// Runs Debian's zip in folder with args; false when zip is not there or fails.
inline bool RunZip(const QString& folder, const QStringList& args)
{
    const QString zip = QStandardPaths::findExecutable("zip");
    if (zip.isEmpty())
        return false;
    QProcess p;
    p.setWorkingDirectory(folder);
    p.start(zip, args);
    return p.waitForFinished(60000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

inline bool HaveZip()
{
    return !QStandardPaths::findExecutable("zip").isEmpty();
}

}  // namespace restore_test

#pragma once
// Adds files to a ZIP archive (PKWARE application note format, Deflate) so
// that a caller may delete each source as soon as the archive provably holds
// it. How to use it, batch by batch:
//
//   comp::ZipWriter w;
//   if (!w.open(archivePath)) { ErrorBox(w.errorText()); return; }   // never touches a non-zip
//   w.setComment(comment);
//   comp::CommitPolicy policy;
//   for (each file) {
//       auto r = w.addFile(path, entryName, progress, &abortFlag);   // pending, not yet durable
//       if (r != comp::ZipAddResult::Added) { report; continue; }
//       if (policy.due(w.pendingCount())) { deleteDurable(w.commit()); policy.committed(); }
//   }
//   deleteDurable(w.commit());   // delete only ZipCommitted::durable sources
//
// An added entry is written after the stored ones (over the old central
// directory); commit() writes the central directory and end records, fsyncs
// the archive (and its folder when the archive is new), reads every pending
// entry back and checks its CRC, and checks that the source is unchanged.
// When the directory cannot be written (disk full) the last good one is
// written again in its place and the pending entries are reported not
// durable. Should the process die at any moment, the entries already written
// can be recovered by ZipReader, which scans the local headers when the end
// records are missing or do not add up.

#include "components/zip/zipentry.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QString>
#include <QtGlobal>

#include <functional>
#include <memory>
#include <vector>

namespace comp {

// One entry of a commit: durable means that its data and a central directory
// listing it are on disk and what was stored reads back with the CRC of what
// was read from the source. Only then may the source be deleted.
struct ZipCommitted {
    QString sourcePath;     // drive path given to addFile
    QString entryName;
    bool durable = false;
    QString errorText;      // why not, when not durable
    qint64 sourceSize = 0;  // size and mtime (ns) the source had while it was read,
    qint64 sourceMtimeNs = 0;  // so the caller can see a change before deleting
    quint64 sourceDevice = 0;  // device and inode of the file that was opened and read
    quint64 sourceInode = 0;   // (fstat of its descriptor): delete only that same file
};

struct ZipCommitResult {
    bool ok = true;               // false: the central directory could not be written or synced
    QString errorText;
    std::vector<ZipCommitted> entries;  // the entries that were pending, in add order
};

class ZipWriter {
public:
    // Percent (0..100) of the file being added.
    using Progress = std::function<void(int percent)>;

    ZipWriter();
    ~ZipWriter();  // commits what is pending (the result is lost: call commit() yourself)
    ZipWriter(const ZipWriter&) = delete;
    ZipWriter& operator=(const ZipWriter&) = delete;

    // Opens an existing archive for update or creates a new one (drive path).
    // An existing file that is not a readable ZIP archive is refused and left
    // byte for byte as it is. An archive whose central directory is damaged
    // is opened with the entries recovered from its local headers
    // (recovered() is then true); new entries go after the last good one.
    // The archive is locked exclusively (against other processes and other
    // ZipWriters of this one) until close(); when another holds the lock,
    // open fails with "The archive <name> is in use by another operation."
    // and nothing is written.
    bool open(const QString& archiveDrivePath);
    // The same with a POSIX path (tests, tools).
    bool openPosix(const QByteArray& posixPath);
    bool isOpen() const;
    QString errorText() const;
    bool recovered() const;
    // Device and inode of the open archive; false while it does not exist yet
    // (a new archive is created by the first addFile). Lets a caller refuse to
    // add one of its own open archives.
    bool archiveIdentity(quint64& device, quint64& inode) const;

    // Comment written into the end record at the next commit (UTF-8, at most
    // 65535 bytes; longer text is cut).
    void setComment(const QString& comment);

    // Adds a regular file under entryName ('/' separators, no leading '/',
    // no "." or ".." component: names the reader would refuse are BadName).
    // Reads the source once (a large file that deflate cannot shrink is read
    // twice, to store it); the abort flag is looked at between blocks of
    // 256 KB. An entry that is not Added leaves nothing in the archive: what
    // a failed add wrote is cut off again; should that fail, every later add
    // is WriteFailed until a commit has succeeded.
    ZipAddResult addFile(const QString& sourceDrivePath, const QString& entryName,
                         const Progress& progress = {}, const bool* abortFlag = nullptr);
    ZipAddResult addFilePosix(const QByteArray& sourcePosixPath, const QString& entryName,
                              const Progress& progress = {}, const bool* abortFlag = nullptr);
    // The reason of the last addFile result other than Added.
    QString lastAddError() const;

    bool contains(const QString& entryName) const;
    int entryCount() const;    // stored + pending
    int pendingCount() const;

    // Writes the central directory and end records, syncs and verifies; see
    // above. Nothing pending and no new comment: returns ok with no entries.
    ZipCommitResult commit();
    // Commits when needed and closes the archive.
    ZipCommitResult close();

    // Test knob: entries and archives at or above this many bytes (and more
    // entries than this) get ZIP64 records. Default 0xFFFFFFFF / 0xFFFF.
    static void setZip64ThresholdForTesting(quint64 bytes, quint32 entries);

private:
    // shownName names the archive in error texts (the path the caller gave).
    bool openAs(const QByteArray& posixPath, const QString& shownName);

    struct Impl;
    std::unique_ptr<Impl> d;
};

// When to commit: after maxFiles pending files or maxMs since the last
// commit, whichever comes first, but never sooner than four times the last
// commit took (so commits cost at most a fifth of the time, however large
// the archive). Few files wait for deletion, and the cost per file stays flat.
class CommitPolicy {
public:
    explicit CommitPolicy(int maxFiles = 1000, int maxMs = 250);
    bool due(int pendingCount);  // true: commit now, then call committed()
    void committed();            // after commit(): measures how long it took

private:
    int maxFiles_;
    int maxMs_;
    qint64 lastCommitMs_ = 0;
    bool inCommit_ = false;
    QElapsedTimer since_;
    QElapsedTimer commitTimer_;
};

}  // namespace comp

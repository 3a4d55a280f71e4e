#pragma once
// The per-file step of every zip-then-delete operation: one archive, files
// added one by one, and batches made durable so that their sources may be
// deleted. The caller deletes (its own way: by path, or through an open
// folder handle) only what a commit hands back as durable, and only when the
// source did not change since it was read.
//
//   ArchiveBatch a(archivePath, comment);
//   if (!a.open()) { report a.errorText(); stop; }   // an unreadable archive is left as it is
//   for (each file) {
//       r = a.add(path, StoredEntryName(path), progress, &abort);
//       ...
//       for (const comp::ZipCommitted& c : a.commitIfDue().entries) deleteIfDurable(c);
//   }
//   for (const comp::ZipCommitted& c : a.close().entries) deleteIfDurable(c);

#include "components/zip/zipwriter.h"

#include <QString>
#include <memory>

namespace plat {
class ParentFolderCache;
}

namespace del {

class ArchiveBatch {
public:
    // commitIntervalMs: the longest a pending entry waits in commitIfDue.
    ArchiveBatch(const QString& archiveDrivePath, const QString& comment, int commitIntervalMs = 250);
    ~ArchiveBatch();  // closes; what is pending then is committed but not handed back
    ArchiveBatch(const ArchiveBatch&) = delete;
    ArchiveBatch& operator=(const ArchiveBatch&) = delete;

    const QString& archivePath() const { return path_; }
    // Opens the archive for adding (a missing one is made with the first
    // file). False when an existing file cannot be read as an archive: it is
    // then left exactly as it is.
    bool open();
    bool isOpen() const;
    QString errorText() const;
    // Device and inode of the archive file; false while it does not exist yet.
    bool identity(quint64& device, quint64& inode) const;

    // Adds one regular file under entryName as a pending entry. NameExists:
    // the archive holds that name already, the file is not stored again.
    // The comment goes in with the first entry added: an archive nothing was
    // added to is never rewritten.
    comp::ZipAddResult add(const QString& sourceDrivePath, const QString& entryName,
                           const comp::ZipWriter::Progress& progress = {}, const bool* abortFlag = nullptr);
    QString lastAddError() const;
    int pendingCount() const;

    // Commits the pending entries when enough of them have gathered (a few
    // hundred milliseconds' worth); otherwise an empty, ok result.
    comp::ZipCommitResult commitIfDue();
    // Commits whatever is pending now.
    comp::ZipCommitResult commit();
    // Commits and closes.
    comp::ZipCommitResult close();

private:
    QString path_;
    QString comment_;
    comp::ZipWriter writer_;
    comp::CommitPolicy policy_;
    bool commentSet_ = false;
};

// Deletes a zipped source when its path, reached from the drive root with
// no link or other mount on the way, still names the file that was read (the
// same device and inode) with the committed size and modification time.
// False otherwise (the file changed, was replaced, vanished, lies behind a
// link, or could not be deleted): it then stays.
// folders, when given, keeps the folder of the last source open for the next.
bool deleteIfUnchanged(const comp::ZipCommitted& committed, plat::ParentFolderCache* folders = nullptr);

}  // namespace del

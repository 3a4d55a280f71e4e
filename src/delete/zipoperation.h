#pragma once
// Zip then delete: the deletion panel's zip operation (and trovik-scan
// archive). The operation takes its time once, at the start; every file
// goes into the archive of its drive letter (ArchiveNameFor), under its
// stored entry name, and is deleted only after a commit made it durable and
// verified, and only when it did not change since it was read. An archive
// that already exists is added to; one that cannot be read as an archive
// stops the operation before anything is touched. No widgets: the window
// shows progress and lets events run through the callbacks.

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <functional>

namespace del {

class DeletionLog;

// The message texts, followed by the file's path.
extern const char* const kZipUpFailed;    // "Couldn't zip up file - "
extern const char* const kZipDeleteFailed;  // "Couldn't delete file - "

struct ZipOperationSettings {
    QString zipFolder;    // drive path; empty = "c:\"
    QString tag;          // the caller's ArchiveTag
    QString comment;      // written into every archive of the operation
    QDateTime start;      // the operation's time; now when not valid
    bool deleteAfterZip = true;
    // Longest wait before pending entries are committed (and their sources
    // deleted); tests raise it so that one commit at the end takes all.
    int commitIntervalMs = 250;
};

struct ZipOperationCallbacks {
    // Before each file: its index in the list and its path.
    std::function<void(int index, const QString& path)> fileStarted;
    // Progress within the file being stored, in percent.
    std::function<void(int percent)> fileProgress;
    // A file left in place ("Couldn't zip up file - " / "Couldn't delete
    // file - " + path) or the reason the operation stopped.
    std::function<void(const QString& message)> error;
};

struct ZipOperationResult {
    bool ran = false;        // false: an archive could not be opened; nothing was touched
    bool aborted = false;    // the abort flag ended it
    bool stopped = false;    // an archive could not be written; the rest stayed
    int zippedFiles = 0;     // stored durably (and deleted, when asked)
    double zippedBytes = 0;
    QStringList zipped;      // their paths, in the order they were committed
    QStringList notZipped;   // could not be stored: left in place
    QStringList notDeleted;  // stored, but could not be deleted
    QStringList notTried;    // after an abort or a stop
    QStringList archives;    // the archives the operation opened, in first-use order
};

// Runs the operation over files in list order. abortFlag (may be null) is
// looked at between files and inside the file being stored.
ZipOperationResult zipThenDelete(const QStringList& files, const ZipOperationSettings& settings,
                                 const bool* abortFlag = nullptr, const ZipOperationCallbacks& callbacks = {});

// Records the operation: UpdateZipTotals with the files and bytes actually
// zipped. False when the log row could not be saved.
bool recordZipOperation(const ZipOperationResult& result, DeletionLog& log);

}  // namespace del

#pragma once
// Removing a whole folder tree: delete every file and sub-folder, send every
// file to the trash (removing the emptied folders), or zip every file into an
// archive and, by default, delete the files and folders afterwards. The walk
// never follows a link (a link is removed as a link), never enters another
// file system, and works through open folder handles (plat::TreeFolder).
// It asks before it removes read-only, hidden or system files, can be
// stopped between files, reports what it could not remove, and records only
// what it removed in the totals and the deletion log. No widgets: questions
// and messages go through the prompter, and the window's side of the work
// (letting events run, showing progress) through hooks.

#include "components/zip/zipwriter.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <functional>

namespace core {
class SafeHarbor;
}

namespace del {

class DeletionLog;

enum class FolderMode { Delete, Recycle, Zip };

// The texts of the walk.
extern const char* const kFolderHarborQuestion;  // "... is " + reason + ".  You may ..."
extern const char* const kDeleteThisFileQuestion;
extern const char* const kDeletedSummary;        // "Deleted %1 files for a savings of %2 bytes."
extern const char* const kDeleteCanceledNote;
extern const char* const kZipCanceledNote;
extern const char* const kCouldntDeleteFile;
extern const char* const kCouldntZipFile;
extern const char* const kCouldntTrashFile;

// The archive a zip operation writes into, as the zip options gave it.
struct FolderZipTarget {
    QString zipFolder;  // drive path of the archive folder
    QString comment;
    QDateTime time;     // the operation's start; now when not set
};

// The name of a folder zip's archive: ArchiveNameFor with the tag
// "FolderClean" and the folder path's first character as it is written.
QString FolderArchiveName(const QString& zipFolder, const QString& folder, const QDateTime& time);

// The reason the folder or any folder below it is protected: the folder's
// own test first, then the protected folders that exist somewhere below it.
int ProtectedReasonAtOrBelow(core::SafeHarbor& harbor, const QString& folder);

struct FolderDeletionHooks {
    // Lets queued window events run; called before every entry.
    std::function<void()> pump;
    // A file was taken on: the running count and its full path.
    std::function<void(qint64 count, const QString& path)> fileHandled;
    // Progress within the file being zipped, in percent.
    std::function<void(int percent)> zipProgress;
    // After every archive commit (tests count them).
    std::function<void()> committed;
    // Right before a file's contents are handed to the archive, after the
    // check that its path leads to the listed file (tests act here as a
    // rival process would).
    std::function<void(const QString& path)> beforeZipAdd;
};

struct FolderDeletionResult {
    enum class Outcome {
        Declined,      // the Safe Harbor question was not answered Yes
        Refused,       // the folder could not be opened (the error was shown)
        RemovedEmpty,  // the folder was empty and is gone
        Walked,        // the walk ran (to its end or to a stop request)
    };
    Outcome outcome = Outcome::Declined;
    qint64 handled = 0;        // files the walk took on
    double handledBytes = 0;
    qint64 removed = 0;        // files deleted, sent to the trash, or zipped and deleted
    double removedBytes = 0;
    qint64 zipped = 0;         // files durably stored in the archive
    double zippedBytes = 0;
    bool stopped = false;      // a stop request ended the walk
    bool folderRemoved = false;
    QStringList failures;      // one line per file or folder left in place
    QString archive;           // drive path of the archive written, if any
};

class FolderDeletion {
public:
    explicit FolderDeletion(const QString& folder);

    void setMode(FolderMode mode) { mode_ = mode; }
    FolderMode mode() const { return mode_; }
    // Zip only: delete the files and folders once they are stored.
    void setDeleteAfterZip(bool on) { deleteAfterZip_ = on; }
    void setZipTarget(const FolderZipTarget& target) { zipTarget_ = target; }
    void setHooks(FolderDeletionHooks hooks) { hooks_ = std::move(hooks); }
    // When the archive commits (and the stored files may go): by default
    // every few hundred files or milliseconds, not once per folder.
    void setCommitPolicy(const comp::CommitPolicy& policy) { policy_ = policy; }
    // Defaults: the program's Safe Harbor and deletion log (not owned).
    void setSafeHarbor(core::SafeHarbor& harbor) { harbor_ = &harbor; }
    void setLog(DeletionLog& log) { log_ = &log; }

    // The whole operation: the Safe Harbor question, the walk, the report of
    // what stayed, the summary, the totals and the removal of the folder.
    FolderDeletionResult StartTheDeletionProcess();

    bool running() const { return running_; }
    // Set by a confirmed Cancel; the walk ends at the next entry and the file
    // being zipped is abandoned.
    void requestStop() { stop_ = true; }
    bool stopRequested() const { return stop_; }

private:
    struct Walk;
    bool willDelete() const;
    void report(const FolderDeletionResult& r) const;

    QString folder_;
    FolderMode mode_ = FolderMode::Delete;
    bool deleteAfterZip_ = true;
    FolderZipTarget zipTarget_;
    FolderDeletionHooks hooks_;
    comp::CommitPolicy policy_;
    core::SafeHarbor* harbor_ = nullptr;
    DeletionLog* log_ = nullptr;
    bool running_ = false;
    bool stop_ = false;
};

}  // namespace del

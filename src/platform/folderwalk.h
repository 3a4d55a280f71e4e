#pragma once
// The one walk of a folder tree that the finders, the statistics and the
// folder hogs share. Each folder is opened through its parent's open handle
// (never by its path text), checked to be the very folder that was listed,
// and left alone when it lies on another mount than the walk's root; so a
// folder swapped for a link, a bind mount or another file system inside the
// tree is never entered. Each folder is read once (one pass over the
// directory, one statx per entry, relative to the folder's handle).

#include "platform/findfile.h"
#include "platform/foldertree.h"

#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <memory>
#include <unordered_set>
#include <vector>

namespace plat {

// The longest POSIX path an entry of a walk may have: what the path-based
// services the results are handed to can still open. Deeper entries are
// left out and named.
constexpr qsizetype kMaxWalkPath = 4095;

// Remembers the folders one walk (or several roots walked as one) has
// entered, so that none is walked twice.
class WalkContext {
public:
    // True the first time a folder is entered; false when seen before.
    bool enter(const FileIdentity& id);

private:
    struct Hash {
        size_t operator()(const FileIdentity& id) const { return std::hash<quint64>()(id.inode * 31 + id.device); }
    };
    std::unordered_set<FileIdentity, Hash> seen_;
};

// What a walk lists of each folder. Links, "." and ".." and names that
// cannot be drive-path components are never listed.
struct WalkOptions {
    bool hidden = false;  // names that start with '.', files and folders alike
    bool system = false;  // devices, FIFOs and sockets (faSystem)
    // Whether entries other than folders carry their names; a walk that
    // only counts and sums its files spares making a string per file.
    // (Which entries are listed does not change.)
    bool fileNames = true;
    // Folders held open at once; deeper folders give their handle up while
    // a sub-folder is walked and take it back from that sub-folder's "..".
    int openFolders = 64;
};

// One folder of a walk.
class WalkFolder {
public:
    ~WalkFolder();
    WalkFolder(const WalkFolder&) = delete;
    WalkFolder& operator=(const WalkFolder&) = delete;

    // The folder a walk starts in, opened from its drive root one component
    // at a time (no link followed, nothing on another file system or mount
    // than the drive root) and checked to be enterable. Null with error set
    // when it cannot be opened so.
    static std::unique_ptr<WalkFolder> openRoot(const QString& drivePath, const WalkOptions& options,
                                                TreeError& error);

    // Its drive path: upper-case drive letter, no trailing backslash except
    // at a drive root.
    const QString& path() const { return path_; }
    FileIdentity identity() const { return identity_; }
    const WalkOptions& options() const { return options_; }

    // Reads the folder's entries, in the order the file system gives them.
    // Entries the options leave out are not statted where the name or the
    // directory entry already tells; an entry whose path would be longer
    // than kMaxWalkPath is left out and its drive path put in tooLong().
    void read();
    const std::vector<FindData>& entries() const { return entries_; }
    const QStringList& tooLong() const { return tooLong_; }

    // Opens a listed sub-folder relative to this folder's handle. Null when
    // its name no longer denotes the folder that was listed, when it is a
    // link, lies on another mount than the walk's root, or cannot be entered.
    // On file systems whose reads tell a folder's own inode (the "." entry),
    // that check is finished by the sub-folder's read(): see entered().
    std::unique_ptr<WalkFolder> openSub(const FindData& entry) const;

    // False when read() found the folder is not the one listed, lies on
    // another mount or cannot be entered: it has no entries then and is
    // not to be walked.
    bool entered() const { return !refused_; }

    // Gives the handle up for a while (see WalkOptions::openFolders) and
    // takes it back through the ".." of a sub-folder opened from it, only
    // when that is still this very folder; false otherwise.
    void park();
    bool unpark(const WalkFolder& sub);

private:
    WalkFolder() = default;
    QString childPath(const QString& name) const;
    bool confirmByStat();
    void refuse();
    int fd_ = -1;
    FileIdentity identity_;
    // The walk root's file system; entries whose stat shows another are
    // never entered.
    quint64 rootDevice_ = 0;
    quint64 mountId_ = 0;
    bool hasMountId_ = false;
    qsizetype posixLength_ = 0;
    // The walk's file system hands out every remaining entry that fits in
    // one read, so a read that leaves room for the longest entry was the
    // last; the read that would return nothing is spared.
    bool wholeBatches_ = false;
    // Opened without a stat of its own yet: read() confirms it is the folder
    // listed, on the root's mount and enterable, from its "." entry and the
    // stat of a child (or, failing that, a stat of the folder).
    bool unconfirmed_ = false;
    bool refused_ = false;
    // Listed sub-folders that are mount points of the root's file system
    // (bind mounts): same device, another mount.
    std::vector<quint64> boundInodes_;
    WalkOptions options_;
    QString path_;
    std::vector<FindData> entries_;
    QStringList tooLong_;
};

// What a walk tells its user, folder by folder.
class WalkVisitor {
public:
    virtual ~WalkVisitor() = default;
    // Tested before each folder is read and before each sub-folder is entered.
    virtual bool aborted() { return false; }
    // A folder has been read; its sub-folders come next.
    virtual void enterFolder(const WalkFolder&) {}
    // Whether a listed sub-folder is walked (every one unless overridden).
    virtual bool walkInto(const FindData&) { return true; }
    // After each sub-folder the walk went through, but the first.
    virtual void pump() {}
    // All sub-folders are done (or the walk was aborted): the folder's own
    // entries are the visitor's to use. Called for every folder read.
    virtual void leaveFolder(const WalkFolder&) {}
    // An entry left out because its path would be too long.
    virtual void leftOut(const QString&) {}
};

// Walks root and every folder below it that is not in context yet:
// sub-folders in the order read, each before its parent's leaveFolder.
void walkTree(WalkFolder& root, WalkContext& context, WalkVisitor& visitor);

// How many folders walks have read since the program started.
quint64 folderReads();

}  // namespace plat

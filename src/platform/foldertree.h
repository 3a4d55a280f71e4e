#pragma once
// Removing a whole folder tree safely: every step works relative to an open
// folder handle, so a folder that is swapped for a link while the walk runs
// is never followed. No link is ever followed (a link is removed as a link),
// and no folder on another file system or mount than the tree's top is
// entered. Paths are drive paths, as everywhere above the platform layer.

#include "platform/findfile.h"

#include <QString>
#include <QtGlobal>
#include <memory>

namespace plat {

// Why a folder could not be opened.
enum class TreeError {
    None,
    BadPath,          // not a full drive path, or it holds "." / ".." parts
    NotFound,
    IsLink,           // the folder, or a folder on its way, is a symbolic link
    NotFolder,
    OtherFileSystem,  // another file system or mount than its drive's
    DriveRoot,        // a drive root has no parent to remove it from
    Denied,
    Failed,
};

// A plain description of the error, for messages.
QString treeErrorText(TreeError error);

// One entry of an open folder, as it was when it was listed.
struct TreeEntry {
    QString name;   // as the file system spells it
    QString path;   // the folder's drive path joined with the name
    FindData data;  // attributes, size, device and inode
    bool isFolder() const { return data.attributes & faDirectory; }
    bool isLink() const { return data.attributes & faReparse; }
};

// Which file system object an entry is: the pair that tells two files
// apart however alike their names, sizes and times are.
struct FileIdentity {
    quint64 device = 0;
    quint64 inode = 0;
    bool operator==(const FileIdentity&) const = default;
};
inline FileIdentity identityOf(const TreeEntry& e)
{
    return {e.data.device, e.data.inode};
}

// True when the file at drivePath (which need not exist yet) would lie in
// folder or below it, links resolved: an archive written there would be
// swept up by a walk of that folder.
bool liesInside(const QString& drivePath, const QString& folder);

class TreeFolder {
public:
    ~TreeFolder();
    TreeFolder(const TreeFolder&) = delete;
    TreeFolder& operator=(const TreeFolder&) = delete;

    // Opens a folder from its drive root, one component at a time, refusing
    // any link on the way and any step onto another file system or mount.
    // Null with error set when it cannot.
    static std::unique_ptr<TreeFolder> open(const QString& drivePath, TreeError& error);
    // Opens the folder that holds what a drive path names, as open() does,
    // and looks the last part up in it without following a link: the one way
    // a single file is reached for deleting, trashing or reading. The path
    // must be spelled as cleanDrivePath() spells it. Null with error set
    // when the folder cannot be opened or the entry is not there.
    static std::unique_ptr<TreeFolder> openParent(const QString& drivePath, TreeEntry& entry, TreeError& error);

    // The drive path of this folder, and what it was when it was opened.
    const QString& path() const { return path_; }
    FindData self() const;

    // The next entry, hidden and system ones and links included; "." and ".."
    // are passed over, and so are names that cannot be a drive-path component
    // (counted in skippedNames). False at the end.
    bool next(TreeEntry& out);
    int skippedNames() const { return skipped_; }

    // The entry of one name, without following a link. False when it is gone.
    bool lookup(const QString& name, TreeEntry& out) const;

    // True while the name still denotes the very entry that was listed.
    bool stillSame(const TreeEntry& e) const;

    // Opens a listed sub-folder: refused when it is no longer the folder that
    // was listed, is a link, or lies on another file system or mount.
    std::unique_ptr<TreeFolder> openSub(const TreeEntry& e, TreeError& error) const;

    // Removes a listed non-folder entry (a file, a link as a link, a device)
    // when it is still the entry that was listed.
    bool removeEntry(const TreeEntry& e) const;
    // Removes a listed regular file only when what its name denotes in this
    // folder is still the entry listed and the file whose contents were read
    // (read: its identity as seen when it was read), and still has the size
    // and modification time (ns since the epoch) it had then, so that neither
    // another file nor anything written since is lost.
    bool removeEntryIfUnchanged(const TreeEntry& e, const FileIdentity& read, qint64 size, qint64 mtimeNs) const;
    // Removes a listed sub-folder when it is empty and still the one listed.
    bool removeSubfolder(const TreeEntry& e) const;
    // Sets the owner's write bit of a listed regular file (clears read-only).
    bool clearReadOnly(const TreeEntry& e) const;
    // Sets or clears the owner's write bit of a listed entry that is not a
    // link, while it is still the entry listed.
    bool setOwnerWrite(const TreeEntry& e, bool writable) const;
    // True when the entry's drive path, resolved by name as path-based
    // services (the trash, a file reader) will, still leads to the listed entry.
    bool pathLeadsTo(const TreeEntry& e) const;
    // What the entry's drive path, resolved by name, denotes now (the last
    // part not followed). False when nothing is there.
    bool pathIdentity(const TreeEntry& e, FileIdentity& out) const;
    // Sends a listed entry to the trash when its path still leads to the
    // entry that was listed (the trash records that path); it is moved out
    // of this folder by name and checked to be that entry.
    bool trashEntry(const TreeEntry& e) const;

    // The open folder's descriptor, for the *at calls of the platform layer.
    int fd() const;

private:
    TreeFolder() = default;
    struct Impl;
    static std::unique_ptr<TreeFolder> adopt(std::unique_ptr<Impl> impl, const QString& path, TreeError& error);
    std::unique_ptr<Impl> d;
    QString path_;
    int skipped_ = 0;
};

// The folder of the last file reached, kept open: the files of one folder
// (the lists are sorted) are reached through one handle, opened as
// TreeFolder::openParent opens it, which stays the folder that was found
// whatever is done to its path meanwhile.
class ParentFolderCache {
public:
    // TreeFolder::openParent, through the folder kept when the path's folder
    // is the one reached last. The folder stays owned by the cache.
    const TreeFolder* openParent(const QString& drivePath, TreeEntry& entry, TreeError& error);

private:
    std::unique_ptr<TreeFolder> folder_;
    QString path_;
};

}  // namespace plat

#pragma once
// Files and folders for code that must know what reached the disk: archive
// writing (positioned reads and writes, fsync, never following a link) and
// safe extraction (folders made and entered relative to open handles, so a
// folder swapped for a link is not followed; rename without replacing).

#include <QByteArray>
#include <QList>
#include <QString>
#include <QtGlobal>

namespace plat {

// Identity and state of a file, to see whether it changed or is the same file.
struct FileStamp {
    quint64 device = 0;
    quint64 inode = 0;
    qint64 size = 0;
    qint64 mtimeNs = 0;
    bool sameFile(const FileStamp& o) const { return device == o.device && inode == o.inode; }
    bool unchanged(const FileStamp& o) const
    {
        return sameFile(o) && size == o.size && mtimeNs == o.mtimeNs;
    }
};

// lstat of a path; false when it does not exist or is not a regular file.
bool stampOfRegularFile(const QByteArray& posixPath, FileStamp* out);

class FolderHandle;

class DurableFile {
public:
    enum class Mode {
        Read,       // existing regular file, read only
        Update,     // existing regular file, read and write (never truncated on open)
        CreateNew,  // new file (fails when the name exists)
    };

    DurableFile() = default;
    ~DurableFile();
    DurableFile(const DurableFile&) = delete;
    DurableFile& operator=(const DurableFile&) = delete;

    // Never follows a link in the last component; refuses non-regular files
    // without blocking on a FIFO or a device.
    bool open(const QByteArray& posixPath, Mode mode);
    // The same relative to a folder handle (name must be a single component).
    bool openAt(const FolderHandle& folder, const QByteArray& name, Mode mode);
    // A new file without a name in the folder (O_TMPFILE), read and write:
    // it vanishes with the process unless linkAt names it. Fails (EOPNOTSUPP,
    // EISDIR, EINVAL, ...) where the file system or kernel cannot do it.
    bool openAnonymousAt(const FolderHandle& folder);
    // Gives the file opened by openAnonymousAt a name in folder; fails with
    // EEXIST when the name is taken (nothing is replaced).
    bool linkAt(const FolderHandle& folder, const QByteArray& name);
    void close();
    bool isOpen() const { return fd_ >= 0; }

    // Reads up to len bytes at offset: the count read, 0 at the end, -1 on error.
    qint64 readAt(qint64 offset, char* buffer, qint64 len);
    // Reads exactly len bytes; false on error or short file.
    bool readFullyAt(qint64 offset, char* buffer, qint64 len);
    // Sequential read from the current position (sources).
    qint64 read(char* buffer, qint64 len);
    bool writeAt(qint64 offset, const char* data, qint64 len);
    bool truncate(qint64 size);
    bool sync();                 // fsync
    bool syncFolder();           // fsync of the folder that holds the file (by its path)
    bool setModified(qint64 secondsSinceEpoch);
    FileStamp stamp() const;     // fstat now (size 0 and device 0 on error)

    enum class LockResult { Locked, Busy, Failed };
    // Takes an exclusive lock on the whole file without waiting, held until
    // close(). It is an open file description lock, so a second descriptor
    // of this same process is refused just like another process (flock where
    // those locks are not available). Busy: someone else holds it.
    LockResult lockExclusive();
    qint64 size() const { return stamp().size; }

    int errorCode() const { return err_; }
    QString errorText() const;
    QByteArray path() const { return path_; }

private:
    bool fail(int err);
    int fd_ = -1;
    qint64 pos_ = 0;
    int err_ = 0;
    QByteArray path_;
};

// An open folder, entered without following links.
class FolderHandle {
public:
    FolderHandle() = default;
    ~FolderHandle();
    FolderHandle(FolderHandle&& o) noexcept;
    FolderHandle& operator=(FolderHandle&& o) noexcept;
    FolderHandle(const FolderHandle&) = delete;
    FolderHandle& operator=(const FolderHandle&) = delete;

    // Opens a folder path; the last component must not be a link.
    bool open(const QByteArray& posixPath);
    // Opens (and with create, first makes) the sub-folder name of parent;
    // fails with ELOOP/ENOTDIR when name is a link or not a folder.
    bool openChild(const FolderHandle& parent, const QByteArray& name, bool create);
    bool isOpen() const { return fd_ >= 0; }
    int fd() const { return fd_; }

    // True when anything (file, folder, link...) has this name here.
    bool exists(const QByteArray& name) const;
    // lstat of a name here; false unless it is a regular file.
    bool stampOfRegularFile(const QByteArray& name, FileStamp* out) const;
    // The folder's own identity (device and inode; zero on error).
    FileStamp stamp() const;
    // The names in this folder ("." and ".." left out), in no order.
    QList<QByteArray> names() const;
    // Renames from -> to inside this folder; fails (EEXIST) when to exists.
    bool renameNoReplace(const QByteArray& from, const QByteArray& to);
    bool removeFile(const QByteArray& name);

    int errorCode() const { return err_; }
    QString errorText() const;

private:
    int fd_ = -1;
    mutable int err_ = 0;
};

}  // namespace plat

#pragma once
// Folder enumeration in the shape of FindFirstFile/FindNextFile.

#include <QString>
#include <QtGlobal>
#include <memory>

namespace plat {

// Attribute bits, as the Windows find-data record carries them.
constexpr quint32 faReadOnly = 0x01;
constexpr quint32 faHidden = 0x02;
constexpr quint32 faSystem = 0x04;   // devices, FIFOs and sockets
constexpr quint32 faVolumeId = 0x08;
constexpr quint32 faDirectory = 0x10;
constexpr quint32 faArchive = 0x20;  // never set on this platform
constexpr quint32 faNormal = 0x80;   // never set; kept for callers' masks
constexpr quint32 faReparse = 0x400; // a symbolic link
// Everything except links: what finders and statistics ask for.
constexpr quint32 faAnyFile = faReadOnly | faHidden | faSystem | faVolumeId | faDirectory | faArchive;
constexpr quint32 faInvalid = 0xFFFFFFFFu;  // attribute query failed

// A 64-bit file time: 100-ns intervals since 1601-01-01 UTC; 0 = not recorded.
using FileTime = quint64;
FileTime unixToFileTime(qint64 seconds, qint64 nanoseconds);

struct FindData {
    quint32 attributes = 0;
    FileTime creationTime = 0;  // statx birth time, 0 where not recorded
    FileTime lastAccessTime = 0;
    FileTime lastWriteTime = 0;
    quint32 sizeHigh = 0;
    quint32 sizeLow = 0;
    QString name;  // long name; the short name is the same name
    // Identity of the file, so a walk can tell a second hard link to a file
    // it has already listed.
    quint64 device = 0;
    quint64 inode = 0;
    quint32 linkCount = 1;
    quint32 owner = 0;  // the owner's user id
    quint64 size() const { return (quint64(sizeHigh) << 32) | sizeLow; }
};

// FindFirst/FindNext over one folder. The pattern is a drive path whose last
// component may hold the wildcards '*' and '?' ("C:\dir\*.*", "C:\dir\*.txt"),
// matched without regard to case; "*.*" and "*" match every name.
// An entry is returned only when each of its special attributes (hidden,
// system, directory, reparse) is in the mask, as with the classic FindFirst:
// faAnyFile gives everything but links; links need faReparse.
// "." and ".." are returned (as directories) except at a drive root.
// The folder is not entered when it lies on another file system than its
// drive (a mount point). This serves callers that look into one folder;
// walks of a tree use the walk of folderwalk.h, which opens each folder
// through its parent's handle.
class FolderEnum {
public:
    FolderEnum();
    ~FolderEnum();
    FolderEnum(const FolderEnum&) = delete;
    FolderEnum& operator=(const FolderEnum&) = delete;

    bool findFirst(const QString& pattern, quint32 mask, FindData& out);
    bool findNext(FindData& out);
    void close();
    // errno of the last failure of findFirst (ENOENT, EACCES, EXDEV for
    // another file system); 0 on success.
    int lastError() const { return lastError_; }

private:
    struct Impl;
    std::unique_ptr<Impl> d;
    int lastError_ = 0;
};

// The user id the program runs as, to compare with FindData::owner.
quint32 currentUserId();

// Find-data of one path (without following a link); false when it is gone.
bool statPath(const QString& drivePath, FindData& out);

// True when the Windows-style wildcard pattern matches name, ignoring case.
bool matchesWildcard(const QString& pattern, const QString& name);

}  // namespace plat

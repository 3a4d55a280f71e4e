#pragma once
// The one reader of file contents: refuses anything but a regular file (no
// link, device, FIFO or socket), reaches it without following a link on its
// way, and reads at most the size the file had when it was opened.

#include "platform/durablefile.h"

#include <QByteArray>
#include <QString>
#include <QtGlobal>

namespace plat {

class ParentFolderCache;
class TreeFolder;
struct TreeEntry;

class RegularFileReader {
public:
    RegularFileReader() = default;
    ~RegularFileReader();
    RegularFileReader(const RegularFileReader&) = delete;
    RegularFileReader& operator=(const RegularFileReader&) = delete;

    // Opens a drive path for reading, in its cleaned spelling, the way
    // TreeFolder::openParent reaches it: each folder opened from the drive
    // root, no link and no other mount on the way (or through folders, the
    // folder found before). False (and errorText set) when the path cannot
    // be mapped, is not a regular file, or cannot be opened.
    bool open(const QString& drivePath, ParentFolderCache* folders = nullptr);
    // Opens an entry of an open folder, only while its name there still
    // denotes that very entry and it is a regular file.
    bool openAt(const TreeFolder& folder, const TreeEntry& entry);
    // A POSIX path, for tools and tests that work outside the drives: only
    // its last part is opened without following a link.
    bool openPosix(const QByteArray& posixPath);
    // Reads up to max bytes; 0 at the end, -1 on a read error.
    qint64 read(char* buffer, qint64 max);
    qint64 size() const { return size_; }  // size at open
    qint64 position() const { return pos_; }
    bool seek(qint64 offset);
    void close();
    bool isOpen() const { return fd_ >= 0; }
    QString errorText() const { return error_; }
    // mtime (ns since the epoch) at open, to see whether the file changed.
    qint64 modifiedNs() const { return opened_.mtimeNs; }
    // Device, inode, size and mtime of the file at open, and now (through
    // the open handle; all 0 when closed or on an error).
    FileStamp stampAtOpen() const { return opened_; }
    FileStamp stampNow() const;

private:
    bool openIn(int folderFd, const QByteArray& name, const FileStamp* expected, const QString& shown);
    int fd_ = -1;
    qint64 size_ = 0;
    qint64 pos_ = 0;
    FileStamp opened_;
    QString error_;
};

// What a drive path (in its cleaned spelling) names now, reached as
// RegularFileReader::open reaches it. False when it cannot be reached that
// way or is not a regular file.
bool stampOfDriveFile(const QString& drivePath, FileStamp* out, ParentFolderCache* folders = nullptr);

}  // namespace plat

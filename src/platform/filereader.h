#pragma once
// The one reader of file contents: refuses anything but a regular file (no
// link, device, FIFO or socket) and reads at most the size the file had when
// it was opened.

#include <QString>
#include <QtGlobal>

namespace plat {

class RegularFileReader {
public:
    RegularFileReader() = default;
    ~RegularFileReader();
    RegularFileReader(const RegularFileReader&) = delete;
    RegularFileReader& operator=(const RegularFileReader&) = delete;

    // Opens a drive path for reading. False (and errorText set) when the path
    // cannot be mapped, is not a regular file, or cannot be opened.
    bool open(const QString& drivePath);
    // The same for a file the program made itself outside the drives (a
    // temporary file), by its POSIX path.
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
    qint64 modifiedNs() const { return mtimeNs_; }

private:
    bool openResolved(const QByteArray& posix, const QString& shownName);

    int fd_ = -1;
    qint64 size_ = 0;
    qint64 pos_ = 0;
    qint64 mtimeNs_ = 0;
    QString error_;
};

}  // namespace plat

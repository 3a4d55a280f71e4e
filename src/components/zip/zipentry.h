#pragma once
// What the zip codec knows about one entry of an archive, and the results it
// hands back per file, so that callers can report each file on its own.

#include <QDateTime>
#include <QString>
#include <QtGlobal>

namespace comp {

struct ZipEntryInfo {
    QString name;                 // stored name, '/' separators ("DOS/OLD.TXT")
    quint64 compressedSize = 0;   // bytes of data in the archive (with the 12-byte crypt header)
    quint64 uncompressedSize = 0;
    quint16 method = 0;           // 0 stored, 8 deflated; anything else is unsupported
    quint32 crc = 0;
    bool encrypted = false;       // traditional PKWARE encryption
    bool isFolder = false;        // name ends in '/'
    bool isSymlink = false;       // Unix attributes say link (never extracted)
    bool isSpecial = false;       // device, FIFO or socket (never extracted)
    QDateTime modified;           // local time from the DOS date/time
    quint64 localHeaderOffset = 0;
};

// Result of ZipWriter::addFile.
enum class ZipAddResult {
    Added,          // written as a pending entry; durable only after commit()
    NameExists,     // the archive already holds this name: nothing written
    ReadFailed,     // the source could not be opened or read (or is not a regular file)
    SourceChanged,  // size or mtime changed while it was read: entry dropped
    WriteFailed,    // the archive could not be written (disk full, I/O error, not open)
    Aborted,        // the abort flag was set: entry dropped
    IsArchive,      // the source is the archive being written
    BadName,        // the entry name could not be restored safely (absolute, "..", drive, ...)
};

// Result of extracting one entry.
enum class ZipExtractResult {
    Extracted,    // written and CRC-checked
    Exists,       // a file (or anything) of that name exists already: left as it is
    BadName,      // absolute, drive, "." / "..", backslash, or the way passes a link
    CrcError,     // stored data does not match its CRC, or the entry is damaged
    BadPassword,  // encrypted and no password, or the password is wrong
    WriteFailed,  // the target could not be created or written
    Unsupported,  // link, device, unknown method, strong encryption
};

// Plain English for the results, for error boxes and logs.
QString describe(ZipAddResult r);
QString describe(ZipExtractResult r);

}  // namespace comp

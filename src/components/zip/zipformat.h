#pragma once
// Internal to the zip codec: the records of the ZIP format (little-endian
// fields, local headers, central directory, end records, ZIP64), DOS dates
// and the byte sources the reader works on.

#include "components/zip/zipentry.h"

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <vector>

namespace plat { class DurableFile; }

namespace comp::zipfmt {

constexpr quint32 kLocalSig = 0x04034b50;
constexpr quint32 kCentralSig = 0x02014b50;
constexpr quint32 kEndSig = 0x06054b50;
constexpr quint32 kZip64EndSig = 0x06064b50;
constexpr quint32 kZip64LocatorSig = 0x07064b50;
constexpr quint32 kDescriptorSig = 0x08074b50;
// Written in place of kLocalSig while an entry's data is being written; the
// header is rewritten with kLocalSig and the sizes once the data is complete,
// so an entry cut short by a crash never looks like a complete one.
constexpr quint32 kPendingSig = 0x0403725a;

constexpr int kLocalHeaderSize = 30;
constexpr int kCentralHeaderSize = 46;
constexpr int kEndSize = 22;
constexpr int kZip64EndSize = 56;
constexpr int kZip64LocatorSize = 20;

constexpr quint16 kFlagEncrypted = 0x0001;
constexpr quint16 kFlagDescriptor = 0x0008;
constexpr quint16 kFlagStrongCrypt = 0x0040;
constexpr quint16 kFlagUtf8 = 0x0800;

constexpr quint16 kStored = 0;
constexpr quint16 kDeflated = 8;

// -- little-endian helpers
inline quint16 get16(const char* p)
{
    const auto* u = reinterpret_cast<const uchar*>(p);
    return quint16(u[0] | (u[1] << 8));
}
inline quint32 get32(const char* p)
{
    const auto* u = reinterpret_cast<const uchar*>(p);
    return quint32(u[0]) | (quint32(u[1]) << 8) | (quint32(u[2]) << 16) | (quint32(u[3]) << 24);
}
inline quint64 get64(const char* p)
{
    return quint64(get32(p)) | (quint64(get32(p + 4)) << 32);
}
void put16(QByteArray& b, quint16 v);
void put32(QByteArray& b, quint32 v);
void put64(QByteArray& b, quint64 v);
void set32(QByteArray& b, int at, quint32 v);

// -- where archive bytes come from
class ByteSource {
public:
    virtual ~ByteSource() = default;
    virtual quint64 size() const = 0;
    // Exactly len bytes at offset; false when they are not there.
    virtual bool readAt(quint64 offset, char* buffer, qint64 len) = 0;
};

class MemorySource : public ByteSource {
public:
    explicit MemorySource(const QByteArray& data) : data_(data) {}
    quint64 size() const override { return quint64(data_.size()); }
    bool readAt(quint64 offset, char* buffer, qint64 len) override;

private:
    QByteArray data_;
};

class FileSource : public ByteSource {
public:
    explicit FileSource(plat::DurableFile& file);
    quint64 size() const override { return size_; }
    bool readAt(quint64 offset, char* buffer, qint64 len) override;

private:
    plat::DurableFile& file_;
    quint64 size_;
};

// CRC-32 of a whole buffer (zlib's).
quint32 crc32Of(const QByteArray& data);

// -- dates
// DOS time (low 16 bits) and date (high 16 bits) of a moment, local time;
// before 1980 gives 1980-01-01 00:00.
quint32 dosDateTime(qint64 secondsSinceEpoch);
QDateTime fromDosDateTime(quint16 time, quint16 date);

// -- names
// Names with the UTF-8 flag, or that are valid UTF-8, are UTF-8; others are
// code page 437.
QString decodeName(const QByteArray& raw, quint16 flags);

// True when a stored name can be extracted below a folder: not empty, not
// absolute, no drive ("C:" first), no backslash or NUL, no empty, "." or
// ".." component, each component a name the drives layer can show. The
// writer refuses what the reader would refuse, so that nothing is deleted
// that could not be restored.
bool isSafeEntryName(const QString& name);

// -- entries as the codec keeps them
struct Entry {
    ZipEntryInfo info;
    QByteArray rawName;
    quint16 flags = 0;
    quint16 versionMadeBy = 0;
    quint32 externalAttributes = 0;
    quint16 dosTime = 0;
    quint16 dosDate = 0;
    qint64 unixMtime = -1;    // from the extended timestamp extra field
    QByteArray centralRecord; // the central directory record as it is (or will be) written
};

// Fills the ZipEntryInfo fields that follow from the raw ones.
void finishInfo(Entry& e);

struct Directory {
    std::vector<Entry> entries;
    QByteArray comment;
    quint64 centralOffset = 0;  // where new entries may start
    bool recovered = false;
    // Set by readCentral when entries overlap each other or the central
    // directory: such an archive must not be extracted (a few kilobytes of
    // data listed a thousand times fill the disk).
    QString overlap;
    // Recovery only: where local header signatures did not start a
    // complete, valid entry (damage a writer must not paper over, unless it
    // is the unfinished tail it left itself). Capped; see unparsedOverflow.
    std::vector<quint64> unparsedHeaders;
    bool unparsedOverflow = false;
};

// True when the local header at offset has exactly the layout this codec's
// writer gives its headers (flags, versions, extra fields).
bool looksLikeOurHeader(ByteSource& src, quint64 offset);

enum class ReadStatus { Ok, NotZip, Damaged };

// Reads the end records and the central directory. Damaged: something that
// looks like an end record is there but the directory does not add up (or is
// missing); NotZip: no end record at all.
ReadStatus readCentral(ByteSource& src, Directory* dir, QString* why);

// For a writer about to add to an archive whose central directory read
// well: true when new entries may go at its central directory offset. Each
// entry's stored bytes (local header, data, data descriptor) must end by
// then, no two may overlap, and between them nothing may look like a local
// header or an unfinished entry (the layout of a directory that was not
// written for these bytes). Never write over stored data.
bool layoutAllowsAppend(ByteSource& src, const Directory& dir, QString* why);

// A parsed local header.
struct LocalHeader {
    quint16 flags = 0;
    quint16 method = 0;
    quint16 dosTime = 0;
    quint16 dosDate = 0;
    quint32 crc = 0;
    quint64 compressedSize = 0;
    quint64 uncompressedSize = 0;
    QByteArray rawName;
    QByteArray extra;
    quint64 dataOffset = 0;
};
bool readLocalHeader(ByteSource& src, quint64 offset, LocalHeader* out, quint32 signature = kLocalSig);

// -- writing
struct NewEntry {
    QByteArray rawName;   // UTF-8
    quint16 flags = kFlagUtf8;
    quint16 method = kStored;
    quint32 crc = 0;
    quint64 compressedSize = 0;
    quint64 uncompressedSize = 0;
    quint32 dosDateTime = 0;
    qint64 unixMtime = -1;
    quint32 unixMode = 0100644;
    quint64 localOffset = 0;
    bool zip64Local = false;  // the local header carries a ZIP64 extra field
};
QByteArray localHeader(const NewEntry& e, quint32 signature = kLocalSig);
QByteArray centralRecord(const NewEntry& e, quint64 zip64Threshold);
// End records (ZIP64 end record and locator when needed, then the classic end
// record) for a central directory of count records at offset.
QByteArray endRecords(quint64 count, quint64 centralSize, quint64 centralOffset,
                      const QByteArray& comment, quint64 zip64Threshold, quint32 zip64Entries);

}  // namespace comp::zipfmt

// The records of the ZIP format: reading the end records and the central
// directory, local headers, and building the records the writer emits.
#include "components/zip/zipformat.h"

#include "platform/drives.h"
#include "platform/durablefile.h"

#include <QFile>

#include <QStringDecoder>
#include <QTimeZone>

#include <zlib.h>

#include <algorithm>
#include <cstring>

namespace comp::zipfmt {

void put16(QByteArray& b, quint16 v)
{
    const char c[2] = {char(v & 0xff), char(v >> 8)};
    b.append(c, 2);
}

void put32(QByteArray& b, quint32 v)
{
    const char c[4] = {char(v & 0xff), char((v >> 8) & 0xff), char((v >> 16) & 0xff), char(v >> 24)};
    b.append(c, 4);
}

void put64(QByteArray& b, quint64 v)
{
    put32(b, quint32(v));
    put32(b, quint32(v >> 32));
}

void set32(QByteArray& b, int at, quint32 v)
{
    b[at] = char(v & 0xff);
    b[at + 1] = char((v >> 8) & 0xff);
    b[at + 2] = char((v >> 16) & 0xff);
    b[at + 3] = char(v >> 24);
}

bool MemorySource::readAt(quint64 offset, char* buffer, qint64 len)
{
    if (len < 0 || offset > size() || quint64(len) > size() - offset)
        return false;
    std::memcpy(buffer, data_.constData() + offset, size_t(len));
    return true;
}

FileSource::FileSource(plat::DurableFile& file) : file_(file), size_(quint64(file.size())) {}

bool FileSource::readAt(quint64 offset, char* buffer, qint64 len)
{
    if (len < 0 || offset > size_ || quint64(len) > size_ - offset)
        return false;
    return file_.readFullyAt(qint64(offset), buffer, len);
}

quint32 crc32Of(const QByteArray& data)
{
    return quint32(crc32_z(crc32(0, nullptr, 0), reinterpret_cast<const Bytef*>(data.constData()),
                           size_t(data.size())));
}

// ---------------------------------------------------------------------- dates

quint32 dosDateTime(qint64 secondsSinceEpoch)
{
    const QDateTime t = QDateTime::fromSecsSinceEpoch(secondsSinceEpoch);
    const QDate d = t.date();
    const QTime tm = t.time();
    if (d.year() < 1980)
        return quint32((0 << 9 | 1 << 5 | 1)) << 16;
    if (d.year() > 2107)
        return (quint32((127 << 9) | (12 << 5) | 31) << 16) | quint32((23 << 11) | (59 << 5) | 29);
    const quint32 date = quint32(((d.year() - 1980) << 9) | (d.month() << 5) | d.day());
    const quint32 time = quint32((tm.hour() << 11) | (tm.minute() << 5) | (tm.second() / 2));
    return (date << 16) | time;
}

QDateTime fromDosDateTime(quint16 time, quint16 date)
{
    const QDate d(1980 + (date >> 9), qBound(1, (date >> 5) & 0x0f, 12), qBound(1, date & 0x1f, 31));
    const QTime t(qMin(time >> 11, 23), qMin((time >> 5) & 0x3f, 59), qMin((time & 0x1f) * 2, 59));
    if (!d.isValid())
        return QDateTime(QDate(1980, 1, 1), QTime(0, 0));
    return QDateTime(d, t);
}

// ---------------------------------------------------------------------- names

namespace {

// Code page 437, bytes 0x80..0xFF.
const char16_t kCp437High[128] = {
    0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E4, 0x00E0, 0x00E5, 0x00E7, 0x00EA, 0x00EB, 0x00E8, 0x00EF,
    0x00EE, 0x00EC, 0x00C4, 0x00C5, 0x00C9, 0x00E6, 0x00C6, 0x00F4, 0x00F6, 0x00F2, 0x00FB, 0x00F9,
    0x00FF, 0x00D6, 0x00DC, 0x00A2, 0x00A3, 0x00A5, 0x20A7, 0x0192, 0x00E1, 0x00ED, 0x00F3, 0x00FA,
    0x00F1, 0x00D1, 0x00AA, 0x00BA, 0x00BF, 0x2310, 0x00AC, 0x00BD, 0x00BC, 0x00A1, 0x00AB, 0x00BB,
    0x2591, 0x2592, 0x2593, 0x2502, 0x2524, 0x2561, 0x2562, 0x2556, 0x2555, 0x2563, 0x2551, 0x2557,
    0x255D, 0x255C, 0x255B, 0x2510, 0x2514, 0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x255E, 0x255F,
    0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550, 0x256C, 0x2567, 0x2568, 0x2564, 0x2565, 0x2559,
    0x2558, 0x2552, 0x2553, 0x256B, 0x256A, 0x2518, 0x250C, 0x2588, 0x2584, 0x258C, 0x2590, 0x2580,
    0x03B1, 0x00DF, 0x0393, 0x03C0, 0x03A3, 0x03C3, 0x00B5, 0x03C4, 0x03A6, 0x0398, 0x03A9, 0x03B4,
    0x221E, 0x03C6, 0x03B5, 0x2229, 0x2261, 0x00B1, 0x2265, 0x2264, 0x2320, 0x2321, 0x00F7, 0x2248,
    0x00B0, 0x2219, 0x00B7, 0x221A, 0x207F, 0x00B2, 0x25A0, 0x00A0,
};

}  // namespace

QString decodeName(const QByteArray& raw, quint16 flags)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString s = utf8.decode(raw);
    if ((flags & kFlagUtf8) || !utf8.hasError())
        return s;
    QString out;
    out.reserve(raw.size());
    for (char c : raw) {
        const uchar u = uchar(c);
        out.append(u < 0x80 ? QChar(u) : QChar(kCp437High[u - 0x80]));
    }
    return out;
}

bool isSafeEntryName(const QString& name)
{
    if (name.isEmpty() || name.startsWith(QLatin1Char('/')) || name.contains(QLatin1Char('\\'))
        || name.contains(QChar(0)))
        return false;
    if (name.size() >= 2 && name[1] == QLatin1Char(':') && name[0].isLetter())
        return false;
    const QString body = name.endsWith(QLatin1Char('/')) ? name.chopped(1) : name;
    for (const QString& part : body.split(QLatin1Char('/'))) {
        if (part.isEmpty() || part == QLatin1String(".") || part == QLatin1String(".."))
            return false;
        const QByteArray raw = QFile::encodeName(part);
        if (raw.size() > 255 || !plat::isRepresentableName(raw))
            return false;
    }
    return true;
}

// ------------------------------------------------------------------- reading

namespace {

// Reads the ZIP64 extended information extra field: only the fields whose
// classic value is all ones are present, in this order.
void applyZip64Extra(const QByteArray& extra, quint64* usize, quint64* csize, quint64* offset)
{
    int p = 0;
    while (p + 4 <= extra.size()) {
        const quint16 id = get16(extra.constData() + p);
        const quint16 len = get16(extra.constData() + p + 2);
        const int body = p + 4;
        if (body + len > extra.size())
            return;
        if (id == 0x0001) {
            int q = body;
            const int end = body + len;
            auto take = [&](quint64* v) {
                if (v && *v == 0xFFFFFFFFu && q + 8 <= end) {
                    *v = get64(extra.constData() + q);
                    q += 8;
                }
            };
            take(usize);
            take(csize);
            take(offset);
            return;
        }
        p = body + len;
    }
}

qint64 unixTimeExtra(const QByteArray& extra)
{
    int p = 0;
    while (p + 4 <= extra.size()) {
        const quint16 id = get16(extra.constData() + p);
        const quint16 len = get16(extra.constData() + p + 2);
        const int body = p + 4;
        if (body + len > extra.size())
            return -1;
        if (id == 0x5455 && len >= 5 && (extra[body] & 1))
            return qint64(qint32(get32(extra.constData() + body + 1)));
        p = body + len;
    }
    return -1;
}

// True when a writer of ours left something at offset: the start of an
// unfinished entry, or a local header the way ours are made.
bool oursAt(ByteSource& src, quint64 offset)
{
    char sig[4];
    if (!src.readAt(offset, sig, 4))
        return false;
    return get32(sig) == kPendingSig || looksLikeOurHeader(src, offset);
}

// An end record is only trusted when the entries it lists are where it says:
// each has a local header of the same name at its offset. And where the
// listed entries leave a gap, nothing of our writer may start: a central
// directory at the end of an unfinished stored entry (a zip file being
// archived when the writer died) would otherwise pass for the archive's own
// and hide the entries committed before it.
//
// Entries whose stored bytes overlap each other or the central directory
// (one block of data listed under many names, which unpacks to far more than
// the archive holds) are told in *overlap; the directory itself still reads,
// so that a writer can refuse to add to it on its own terms.
bool localHeadersMatch(ByteSource& src, const std::vector<Entry>& entries, quint64 cdOffset, QString* why,
                       QString* overlap)
{
    std::vector<std::pair<quint64, quint64>> spans;  // local header offset, end of data
    spans.reserve(entries.size());
    for (const Entry& e : entries) {
        LocalHeader lh;
        if (!readLocalHeader(src, e.info.localHeaderOffset, &lh) || lh.rawName != e.rawName) {
            *why = QStringLiteral("an entry's local header is missing or does not match");
            return false;
        }
        spans.emplace_back(e.info.localHeaderOffset, lh.dataOffset + e.info.compressedSize);
    }
    std::sort(spans.begin(), spans.end());
    overlap->clear();
    for (size_t i = 0; i < spans.size() && overlap->isEmpty(); ++i) {
        if (i + 1 < spans.size() && spans[i].second > spans[i + 1].first)
            *overlap = QStringLiteral("its entries overlap (the same stored data is listed under more than one name)");
        else if (spans[i].second > cdOffset)
            *overlap = QStringLiteral("an entry's data reaches into its central directory");
    }
    quint64 covered = 0;
    for (size_t i = 0; i <= spans.size(); ++i) {
        const quint64 next = i < spans.size() ? spans[i].first : cdOffset;
        if (next > covered && covered < cdOffset && oursAt(src, covered)) {
            *why = QStringLiteral("entries are missing from the central directory");
            return false;
        }
        if (i < spans.size())
            covered = std::max(covered, spans[i].second);
    }
    return true;
}

}  // namespace

void finishInfo(Entry& e)
{
    ZipEntryInfo& i = e.info;
    i.name = decodeName(e.rawName, e.flags);
    i.isFolder = i.name.endsWith(QLatin1Char('/'));
    i.encrypted = (e.flags & kFlagEncrypted) != 0;
    const bool unixHost = (e.versionMadeBy >> 8) == 3;
    const quint32 type = (e.externalAttributes >> 16) & 0170000;
    i.isSymlink = unixHost && type == 0120000;
    i.isSpecial = unixHost && type != 0 && type != 0100000 && type != 0040000 && type != 0120000;
    i.modified = e.unixMtime >= 0 ? QDateTime::fromSecsSinceEpoch(e.unixMtime)
                                  : fromDosDateTime(e.dosTime, e.dosDate);
}

ReadStatus readCentral(ByteSource& src, Directory* dir, QString* why)
{
    const quint64 size = src.size();
    if (size < quint64(kEndSize)) {
        *why = QStringLiteral("too short for a zip archive");
        return ReadStatus::NotZip;
    }
    const quint64 tailLen = std::min<quint64>(size, kEndSize + 0xFFFF);
    QByteArray tail(qsizetype(tailLen), Qt::Uninitialized);
    if (!src.readAt(size - tailLen, tail.data(), qint64(tailLen))) {
        *why = QStringLiteral("cannot read the end of the archive");
        return ReadStatus::Damaged;
    }
    // The end record closest to the end whose comment reaches exactly to the end.
    qint64 found = -1;
    for (qint64 p = qint64(tailLen) - kEndSize; p >= 0; --p) {
        if (get32(tail.constData() + p) != kEndSig)
            continue;
        const quint16 commentLen = get16(tail.constData() + p + 20);
        if (quint64(p) + kEndSize + commentLen == tailLen) {
            found = p;
            break;
        }
    }
    if (found < 0) {
        *why = QStringLiteral("no end of central directory record");
        return ReadStatus::NotZip;
    }
    const char* e = tail.constData() + found;
    const quint64 endPos = size - tailLen + quint64(found);
    const quint16 disk = get16(e + 4), cdDisk = get16(e + 6);
    quint64 countDisk = get16(e + 8), count = get16(e + 10);
    quint64 cdSize = get32(e + 12), cdOffset = get32(e + 16);
    dir->comment = tail.mid(found + kEndSize);
    quint64 structuresStart = endPos;

    // A ZIP64 locator right before the end record leads to the ZIP64 end record.
    if (endPos >= quint64(kZip64LocatorSize)) {
        char loc[kZip64LocatorSize];
        if (src.readAt(endPos - kZip64LocatorSize, loc, kZip64LocatorSize) && get32(loc) == kZip64LocatorSig) {
            const quint64 z64 = get64(loc + 8);
            char rec[kZip64EndSize];
            if (z64 > endPos - kZip64LocatorSize || !src.readAt(z64, rec, kZip64EndSize)
                || get32(rec) != kZip64EndSig) {
                *why = QStringLiteral("damaged ZIP64 end record");
                return ReadStatus::Damaged;
            }
            countDisk = get64(rec + 24);
            count = get64(rec + 32);
            cdSize = get64(rec + 40);
            cdOffset = get64(rec + 48);
            structuresStart = z64;
        }
    }
    if ((disk != 0 && disk != 0xFFFF) || (cdDisk != 0 && cdDisk != 0xFFFF) || countDisk != count) {
        *why = QStringLiteral("archives on several disks are not supported");
        return ReadStatus::Damaged;
    }
    if (cdOffset > structuresStart || cdSize != structuresStart - cdOffset) {
        *why = QStringLiteral("the central directory is not where the end record says");
        return ReadStatus::Damaged;
    }
    // Each record takes at least 46 bytes: a count that cannot fit is a lie.
    if (count > cdSize / kCentralHeaderSize) {
        *why = QStringLiteral("the central directory is too short");
        return ReadStatus::Damaged;
    }
    QByteArray cd(qsizetype(cdSize), Qt::Uninitialized);
    if (cdSize > 0 && !src.readAt(cdOffset, cd.data(), qint64(cdSize))) {
        *why = QStringLiteral("cannot read the central directory");
        return ReadStatus::Damaged;
    }
    std::vector<Entry> entries;
    entries.reserve(size_t(count));
    qsizetype p = 0;
    for (quint64 n = 0; n < count; ++n) {
        if (p + kCentralHeaderSize > cd.size() || get32(cd.constData() + p) != kCentralSig) {
            *why = QStringLiteral("damaged central directory");
            return ReadStatus::Damaged;
        }
        const char* r = cd.constData() + p;
        const int nameLen = get16(r + 28), extraLen = get16(r + 30), commentLen = get16(r + 32);
        const qsizetype recLen = kCentralHeaderSize + nameLen + extraLen + commentLen;
        if (p + recLen > cd.size()) {
            *why = QStringLiteral("damaged central directory");
            return ReadStatus::Damaged;
        }
        Entry en;
        en.versionMadeBy = get16(r + 4);
        en.flags = get16(r + 8);
        en.info.method = get16(r + 10);
        en.dosTime = get16(r + 12);
        en.dosDate = get16(r + 14);
        en.info.crc = get32(r + 16);
        en.info.compressedSize = get32(r + 20);
        en.info.uncompressedSize = get32(r + 24);
        en.externalAttributes = get32(r + 38);
        en.info.localHeaderOffset = get32(r + 42);
        en.rawName = cd.mid(p + kCentralHeaderSize, nameLen);
        const QByteArray extra = cd.mid(p + kCentralHeaderSize + nameLen, extraLen);
        applyZip64Extra(extra, &en.info.uncompressedSize, &en.info.compressedSize, &en.info.localHeaderOffset);
        en.unixMtime = unixTimeExtra(extra);
        if (en.info.localHeaderOffset > cdOffset
            || cdOffset - en.info.localHeaderOffset < quint64(kLocalHeaderSize) + nameLen
            || en.info.compressedSize > cdOffset - en.info.localHeaderOffset) {
            *why = QStringLiteral("an entry lies outside the archive");
            return ReadStatus::Damaged;
        }
        en.centralRecord = cd.mid(p, recLen);
        finishInfo(en);
        entries.push_back(std::move(en));
        p += recLen;
    }
    if (p != cd.size()) {
        *why = QStringLiteral("the central directory holds more than its count");
        return ReadStatus::Damaged;
    }
    if (!localHeadersMatch(src, entries, cdOffset, why, &dir->overlap))
        return ReadStatus::Damaged;
    dir->entries = std::move(entries);
    dir->centralOffset = cdOffset;
    dir->recovered = false;
    return ReadStatus::Ok;
}

bool readLocalHeader(ByteSource& src, quint64 offset, LocalHeader* out, quint32 signature)
{
    char h[kLocalHeaderSize];
    if (!src.readAt(offset, h, kLocalHeaderSize) || get32(h) != signature)
        return false;
    out->flags = get16(h + 6);
    out->method = get16(h + 8);
    out->dosTime = get16(h + 10);
    out->dosDate = get16(h + 12);
    out->crc = get32(h + 14);
    out->compressedSize = get32(h + 18);
    out->uncompressedSize = get32(h + 22);
    const int nameLen = get16(h + 26), extraLen = get16(h + 28);
    QByteArray rest(nameLen + extraLen, Qt::Uninitialized);
    if (!src.readAt(offset + kLocalHeaderSize, rest.data(), rest.size()))
        return false;
    out->rawName = rest.left(nameLen);
    out->extra = rest.mid(nameLen);
    applyZip64Extra(out->extra, &out->uncompressedSize, &out->compressedSize, nullptr);
    out->dataOffset = offset + kLocalHeaderSize + quint64(nameLen) + quint64(extraLen);
    return true;
}

bool looksLikeOurHeader(ByteSource& src, quint64 offset)
{
    char h[kLocalHeaderSize];
    if (!src.readAt(offset, h, kLocalHeaderSize) || get32(h) != kLocalSig)
        return false;
    const quint16 version = get16(h + 4), flags = get16(h + 6), method = get16(h + 8);
    const int nameLen = get16(h + 26), extraLen = get16(h + 28);
    if (flags != kFlagUtf8 || (version != 10 && version != 20 && version != 45)
        || (method != kStored && method != kDeflated))
        return false;
    QByteArray extra(extraLen, Qt::Uninitialized);
    if (!src.readAt(offset + kLocalHeaderSize + quint64(nameLen), extra.data(), extraLen))
        return false;
    int p = 0;
    while (p + 4 <= extra.size()) {
        const quint16 id = get16(extra.constData() + p), len = get16(extra.constData() + p + 2);
        if (!((id == 0x0001 && len == 16) || (id == 0x5455 && len == 5)))
            return false;
        p += 4 + len;
    }
    return p == extra.size();
}

namespace {

// Position of the first local header or unfinished-entry signature in
// [from, to), or -1.
qint64 findAnySignature(ByteSource& src, quint64 from, quint64 to)
{
    QByteArray buf;
    while (from + 4 <= to) {
        const qint64 n = qint64(std::min<quint64>(1024 * 1024, to - from));
        buf.resize(n);
        if (!src.readAt(from, buf.data(), n))
            return qint64(from);  // unreadable: treat as taken
        for (qint64 i = 0; i + 4 <= n; ++i) {
            const quint32 v = get32(buf.constData() + i);
            if (v == kLocalSig || v == kPendingSig)
                return qint64(from) + i;
        }
        if (from + quint64(n) >= to)
            return -1;
        from += quint64(n) - 3;
    }
    return -1;
}

bool hasZip64Field(const QByteArray& extra)
{
    int p = 0;
    while (p + 4 <= extra.size()) {
        if (get16(extra.constData() + p) == 0x0001)
            return true;
        p += 4 + get16(extra.constData() + p + 2);
    }
    return false;
}

}  // namespace

bool layoutAllowsAppend(ByteSource& src, const Directory& dir, QString* why)
{
    std::vector<std::pair<quint64, quint64>> spans;
    spans.reserve(dir.entries.size());
    for (const Entry& e : dir.entries) {
        LocalHeader lh;
        if (!readLocalHeader(src, e.info.localHeaderOffset, &lh) || lh.rawName != e.rawName) {
            *why = QStringLiteral("an entry's local header is missing or does not match");
            return false;
        }
        const bool descriptor = (e.flags | lh.flags) & kFlagDescriptor;
        // Without a data descriptor the local header knows the size too; a
        // directory that claims more would let an entry cover foreign bytes.
        if (!descriptor && lh.compressedSize != e.info.compressedSize) {
            *why = QStringLiteral("an entry's sizes differ between its headers");
            return false;
        }
        quint64 end = lh.dataOffset + e.info.compressedSize;
        if (descriptor) {
            // Optional signature, CRC, then both sizes (8 bytes each in ZIP64).
            char sig[4] = {};
            if (src.readAt(end, sig, 4) && get32(sig) == kDescriptorSig)
                end += 4;
            const bool zip64 = hasZip64Field(lh.extra) || e.info.compressedSize >= 0xFFFFFFFFu
                               || e.info.uncompressedSize >= 0xFFFFFFFFu;
            end += zip64 ? 20 : 12;
        }
        spans.emplace_back(e.info.localHeaderOffset, end);
    }
    std::sort(spans.begin(), spans.end());
    for (size_t i = 0; i < spans.size(); ++i) {
        const quint64 next = i + 1 < spans.size() ? spans[i + 1].first : dir.centralOffset;
        if (spans[i].second > next) {
            *why = i + 1 < spans.size() ? QStringLiteral("entries overlap")
                                        : QStringLiteral("an entry reaches into the central directory");
            return false;
        }
        if (findAnySignature(src, spans[i].second, next) >= 0) {
            *why = QStringLiteral("the central directory does not list every entry");
            return false;
        }
    }
    return true;
}

// ------------------------------------------------------------------- writing

namespace {

QByteArray timeExtra(qint64 unixMtime)
{
    QByteArray x;
    if (unixMtime < 0 || unixMtime > 0x7FFFFFFF)
        return x;
    put16(x, 0x5455);
    put16(x, 5);
    x.append(char(1));
    put32(x, quint32(unixMtime));
    return x;
}

}  // namespace

QByteArray localHeader(const NewEntry& e, quint32 signature)
{
    QByteArray extra;
    if (e.zip64Local) {
        put16(extra, 0x0001);
        put16(extra, 16);
        put64(extra, e.uncompressedSize);
        put64(extra, e.compressedSize);
    }
    extra += timeExtra(e.unixMtime);
    QByteArray h;
    h.reserve(kLocalHeaderSize + e.rawName.size() + extra.size());
    put32(h, signature);
    put16(h, e.zip64Local ? 45 : (e.method == kDeflated ? 20 : 10));
    put16(h, e.flags);
    put16(h, e.method);
    put32(h, e.dosDateTime);
    put32(h, e.crc);
    put32(h, e.zip64Local ? 0xFFFFFFFFu : quint32(e.compressedSize));
    put32(h, e.zip64Local ? 0xFFFFFFFFu : quint32(e.uncompressedSize));
    put16(h, quint16(e.rawName.size()));
    put16(h, quint16(extra.size()));
    h += e.rawName;
    h += extra;
    return h;
}

QByteArray centralRecord(const NewEntry& e, quint64 zip64Threshold)
{
    const bool bigU = e.uncompressedSize >= zip64Threshold;
    const bool bigC = e.compressedSize >= zip64Threshold;
    const bool bigO = e.localOffset >= zip64Threshold;
    QByteArray extra;
    if (bigU || bigC || bigO) {
        put16(extra, 0x0001);
        put16(extra, quint16(8 * (int(bigU) + int(bigC) + int(bigO))));
        if (bigU)
            put64(extra, e.uncompressedSize);
        if (bigC)
            put64(extra, e.compressedSize);
        if (bigO)
            put64(extra, e.localOffset);
    }
    extra += timeExtra(e.unixMtime);
    const quint16 version = (bigU || bigC || bigO || e.zip64Local) ? 45 : (e.method == kDeflated ? 20 : 10);
    QByteArray r;
    r.reserve(kCentralHeaderSize + e.rawName.size() + extra.size());
    put32(r, kCentralSig);
    put16(r, quint16(0x0300 | version));  // made by: Unix, so the mode bits count
    put16(r, version);
    put16(r, e.flags);
    put16(r, e.method);
    put32(r, e.dosDateTime);
    put32(r, e.crc);
    put32(r, bigC ? 0xFFFFFFFFu : quint32(e.compressedSize));
    put32(r, bigU ? 0xFFFFFFFFu : quint32(e.uncompressedSize));
    put16(r, quint16(e.rawName.size()));
    put16(r, quint16(extra.size()));
    put16(r, 0);  // comment
    put16(r, 0);  // disk
    put16(r, 0);  // internal attributes
    put32(r, e.unixMode << 16);
    put32(r, bigO ? 0xFFFFFFFFu : quint32(e.localOffset));
    r += e.rawName;
    r += extra;
    return r;
}

QByteArray endRecords(quint64 count, quint64 centralSize, quint64 centralOffset,
                      const QByteArray& comment, quint64 zip64Threshold, quint32 zip64Entries)
{
    const bool bigN = count >= zip64Entries;
    const bool bigS = centralSize >= zip64Threshold;
    const bool bigO = centralOffset >= zip64Threshold;
    QByteArray b;
    if (bigN || bigS || bigO) {
        const quint64 z64 = centralOffset + centralSize;
        put32(b, kZip64EndSig);
        put64(b, kZip64EndSize - 12);
        put16(b, 0x0300 | 45);
        put16(b, 45);
        put32(b, 0);
        put32(b, 0);
        put64(b, count);
        put64(b, count);
        put64(b, centralSize);
        put64(b, centralOffset);
        put32(b, kZip64LocatorSig);
        put32(b, 0);
        put64(b, z64);
        put32(b, 1);
    }
    const quint16 n16 = bigN ? 0xFFFF : quint16(count);
    put32(b, kEndSig);
    put16(b, 0);
    put16(b, 0);
    put16(b, n16);
    put16(b, n16);
    put32(b, bigS ? 0xFFFFFFFFu : quint32(centralSize));
    put32(b, bigO ? 0xFFFFFFFFu : quint32(centralOffset));
    put16(b, quint16(comment.size()));
    b += comment;
    return b;
}

}  // namespace comp::zipfmt

// Adding files to an archive so that their sources can be deleted safely.
#include "components/zip/zipwriter.h"

#include "components/zip/zipformat.h"
#include "components/zip/zipscan.h"
#include "platform/drives.h"
#include "platform/durablefile.h"
#include "platform/filereader.h"
#include "platform/foldertree.h"

#include <QSet>

#include <zlib.h>

#include <cerrno>

namespace comp {

using namespace zipfmt;

namespace {

quint64 g_zip64Threshold = 0xFFFFFFFFu;
quint32 g_zip64Entries = 0xFFFF;

constexpr qint64 kBlock = 256 * 1024;
// Files up to this size are compressed in memory, so that "store when
// deflate does not help" is decided before anything is written.
constexpr qint64 kInMemoryLimit = 4 * 1024 * 1024;

struct Deflater {
    z_stream z{};
    bool ok = false;
    Deflater() { ok = deflateInit2(&z, 6, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) == Z_OK; }
    ~Deflater()
    {
        if (ok)
            deflateEnd(&z);
    }
};

}  // namespace

// A source as the caller named it: by drive path, reached from the drive
// root with no link and no other mount on the way (through folders, which
// keeps the folder of the last source open), or (tools and tests) by POSIX
// path.
struct SourceName {
    QString path;      // as given
    QByteArray posix;  // without a drive path only
    bool byDrive = false;

    bool open(plat::RegularFileReader& r, plat::ParentFolderCache& folders) const
    {
        return byDrive ? r.open(path, &folders) : r.openPosix(posix);
    }
    // What the name denotes now.
    bool stamp(plat::FileStamp* out, plat::ParentFolderCache& folders) const
    {
        return byDrive ? plat::stampOfDriveFile(path, out, &folders) : plat::stampOfRegularFile(posix, out);
    }
};

struct PendingEntry {
    NewEntry ne;
    SourceName source;
    QString entryName;
    plat::FileStamp stamp;
};

struct ZipWriter::Impl {
    plat::DurableFile file;
    plat::ParentFolderCache folders;  // of the sources
    QByteArray path;
    QString shownName;           // the archive as the caller named it, for error texts
    bool opened = false;
    bool created = false;        // we created the file; its folder needs a sync
    bool folderSynced = false;
    bool recovered = false;
    bool dirty = false;          // bytes after the last central directory were written
    bool commentChanged = false;
    QByteArray comment;
    QByteArray central;          // records of the committed entries
    quint64 committedCount = 0;
    QSet<QByteArray> names;
    std::vector<PendingEntry> pending;
    quint64 appendAt = 0;
    quint64 committedEnd = 0;    // end of the entries listed by the last good central directory
    plat::FileStamp archiveStamp;
    QString error;
    QString lastAddError;
    Deflater deflater;
    QByteArray raw;
    QByteArray packed;

    void reset();
    bool ensureCreated();
    bool lock();
    QString inUseText() const
    {
        return QStringLiteral("The archive %1 is in use by another operation.").arg(shownName);
    }
    bool wrote = false;          // the add under way wrote bytes at appendAt
    bool mustNotAdd = false;     // bytes of a failed add could not be cut off
    ZipAddResult add(const SourceName& src, const QString& entryName, const Progress& progress,
                     const bool* abortFlag);
    ZipAddResult addEntry(const SourceName& src, const QString& entryName, const Progress& progress,
                          const bool* abortFlag);
    void discardFailedAdd();
    ZipAddResult addFail(ZipAddResult r, const QString& why)
    {
        lastAddError = why;
        return r;
    }
    bool verify(const PendingEntry& p, QString* why);
    bool writeEnd(quint64 at, const QByteArray& records, quint64 count);
    void rollBack();
};

ZipWriter::ZipWriter() : d(std::make_unique<Impl>()) {}

ZipWriter::~ZipWriter()
{
    close();
}

void ZipWriter::Impl::reset()
{
    file.close();
    path.clear();
    shownName.clear();
    opened = created = folderSynced = recovered = dirty = commentChanged = false;
    wrote = mustNotAdd = false;
    comment.clear();
    central.clear();
    committedCount = 0;
    names.clear();
    pending.clear();
    appendAt = 0;
    committedEnd = 0;
    archiveStamp = {};
    error.clear();
    lastAddError.clear();
}

bool ZipWriter::open(const QString& archiveDrivePath)
{
    const auto posix = plat::toPosix(archiveDrivePath);
    if (!posix) {
        close();
        d->error = QStringLiteral("Not a file path: %1").arg(archiveDrivePath);
        return false;
    }
    return openAs(*posix, archiveDrivePath);
}

bool ZipWriter::openPosix(const QByteArray& posixPath)
{
    return openAs(posixPath, QString::fromLocal8Bit(posixPath));
}

// Two writers appending to one archive would both start at the same central
// directory offset, and the later one would overwrite entries whose sources
// the earlier one has already deleted. So one writer at a time: an exclusive
// lock on the archive, held until close.
bool ZipWriter::Impl::lock()
{
    switch (file.lockExclusive()) {
    case plat::DurableFile::LockResult::Locked:
        return true;
    case plat::DurableFile::LockResult::Busy:
        error = inUseText();
        break;
    case plat::DurableFile::LockResult::Failed:
        // Without a lock a second writer could not be kept out: refuse.
        error = QStringLiteral("Cannot lock the archive %1: %2").arg(shownName, file.errorText());
        break;
    }
    file.close();
    return false;
}

bool ZipWriter::openAs(const QByteArray& posixPath, const QString& shownName)
{
    close();
    d->reset();
    d->path = posixPath;
    d->shownName = shownName;
    if (!d->file.open(posixPath, plat::DurableFile::Mode::Update)) {
        if (d->file.errorCode() == ENOENT) {
            // A new archive: the file is made with the first entry, so a
            // batch in which nothing can be added leaves no empty archive.
            d->opened = true;
            return true;
        }
        d->error = QStringLiteral("Cannot open the archive %1: %2")
                       .arg(shownName, d->file.errorCode() == EINVAL
                                                                    ? QStringLiteral("not a regular file")
                                                                    : d->file.errorText());
        return false;
    }
    // Locked before anything is read: the directory read must be the one
    // the last writer left, not one it is still changing.
    if (!d->lock())
        return false;
    d->archiveStamp = d->file.stamp();
    FileSource src(d->file);
    Directory dir;
    QString why;
    const ReadStatus status = readCentral(src, &dir, &why);
    if (status == ReadStatus::Ok && !layoutAllowsAppend(src, dir, &why)) {
        // New entries go at the central directory offset: a directory that
        // does not account for every byte before it could have us write
        // over stored data.
        d->error = QStringLiteral("%1 cannot be added to safely (%2); it was left unchanged.")
                       .arg(shownName, why);
        d->file.close();
        return false;
    }
    if (status != ReadStatus::Ok) {
        scanLocalHeaders(src, &dir);
        if (dir.entries.empty()) {
            // Ours when empty or when it holds only the start of an entry
            // that was being written when the writer died. Anything else is
            // not a zip archive and is left exactly as it is.
            char head[4] = {};
            const bool ours = src.size() == 0
                              || (src.size() >= 4 && src.readAt(0, head, 4) && get32(head) == kPendingSig);
            if (!ours) {
                d->error = QStringLiteral("%1 is not a zip archive that can be added to (%2); it was left unchanged.")
                               .arg(shownName, why);
                d->file.close();
                return false;
            }
        }
        // Entries the scan could not follow: writing after the last good
        // one could overwrite them. Only a cut-off entry of our own after
        // the last good one may be written over (it was never committed).
        bool safe = !dir.unparsedOverflow;
        for (quint64 at : dir.unparsedHeaders)
            safe = safe && at >= dir.centralOffset && looksLikeOurHeader(src, at);
        if (!safe) {
            d->error = QStringLiteral("%1 is damaged (%2) and cannot be added to safely; it was left unchanged.")
                           .arg(shownName, why);
            d->file.close();
            return false;
        }
        d->recovered = !dir.entries.empty();
        d->dirty = true;  // the next commit writes a complete central directory
        for (Entry& e : dir.entries) {
            NewEntry ne;
            ne.rawName = e.rawName;
            ne.flags = e.flags;
            ne.method = e.info.method;
            ne.crc = e.info.crc;
            ne.compressedSize = e.info.compressedSize;
            ne.uncompressedSize = e.info.uncompressedSize;
            ne.dosDateTime = (quint32(e.dosDate) << 16) | e.dosTime;
            ne.unixMtime = e.unixMtime;
            ne.localOffset = e.info.localHeaderOffset;
            e.centralRecord = centralRecord(ne, g_zip64Threshold);
        }
    }
    for (const Entry& e : dir.entries) {
        d->central += e.centralRecord;
        d->names.insert(e.rawName);
    }
    d->committedCount = dir.entries.size();
    d->comment = dir.comment;
    d->appendAt = dir.centralOffset;
    d->committedEnd = dir.centralOffset;
    d->opened = true;
    return true;
}

bool ZipWriter::isOpen() const { return d->opened; }

bool ZipWriter::archiveIdentity(quint64& device, quint64& inode) const
{
    if (!d->file.isOpen())
        return false;
    device = d->archiveStamp.device;
    inode = d->archiveStamp.inode;
    return true;
}
QString ZipWriter::errorText() const { return d->error; }
bool ZipWriter::recovered() const { return d->recovered; }
QString ZipWriter::lastAddError() const { return d->lastAddError; }
int ZipWriter::pendingCount() const { return int(d->pending.size()); }
int ZipWriter::entryCount() const { return int(d->committedCount + d->pending.size()); }

bool ZipWriter::contains(const QString& entryName) const
{
    return d->names.contains(entryName.toUtf8());
}

void ZipWriter::setComment(const QString& comment)
{
    QByteArray c = comment.toUtf8().left(0xFFFF);
    if (c != d->comment) {
        d->comment = c;
        d->commentChanged = true;
    }
}

void ZipWriter::setZip64ThresholdForTesting(quint64 bytes, quint32 entries)
{
    g_zip64Threshold = bytes;
    g_zip64Entries = entries;
}

bool ZipWriter::Impl::ensureCreated()
{
    if (file.isOpen())
        return true;
    if (!file.open(path, plat::DurableFile::Mode::CreateNew)) {
        // Not there at open, there now: another writer made it meanwhile.
        // Opening it now would skip reading its directory; stop adding.
        error = file.errorCode() == EEXIST ? inUseText() : file.errorText();
        mustNotAdd = file.errorCode() == EEXIST;
        return false;
    }
    // Someone may open the new empty file before the lock is taken; then it
    // is theirs (this writer has written nothing).
    if (!lock()) {
        mustNotAdd = true;
        return false;
    }
    created = true;
    archiveStamp = file.stamp();
    return true;
}

ZipAddResult ZipWriter::addFile(const QString& sourceDrivePath, const QString& entryName,
                                const Progress& progress, const bool* abortFlag)
{
    return d->add({sourceDrivePath, QByteArray(), true}, entryName, progress, abortFlag);
}

ZipAddResult ZipWriter::addFilePosix(const QByteArray& sourcePosixPath, const QString& entryName,
                                     const Progress& progress, const bool* abortFlag)
{
    return d->add({QString::fromLocal8Bit(sourcePosixPath), sourcePosixPath, false}, entryName, progress, abortFlag);
}

ZipAddResult ZipWriter::Impl::add(const SourceName& src, const QString& entryName, const Progress& progress,
                                  const bool* abortFlag)
{
    lastAddError.clear();
    if (!opened)
        return addFail(ZipAddResult::WriteFailed, QStringLiteral("No archive is open"));
    if (mustNotAdd)
        return addFail(ZipAddResult::WriteFailed, error);
    wrote = false;
    const ZipAddResult r = addEntry(src, entryName, progress, abortFlag);
    if (r != ZipAddResult::Added && wrote)
        discardFailedAdd();
    return r;
}

// An add that failed after it wrote leaves a complete or partial entry at
// appendAt. The next entry goes there too; should it be shorter and the
// process die before a commit cuts the file, the recovery scan would find
// what lies behind it (a stored zip file holds valid local headers of its
// own) and list it as entries. So the bytes go now.
void ZipWriter::Impl::discardFailedAdd()
{
    if (file.truncate(qint64(appendAt)))
        return;
    // Writing on could leave them behind a shorter entry: no more adds until
    // a commit has cut the file at its end records.
    mustNotAdd = true;
    error = QStringLiteral("Cannot cut the archive after a failed add: %1").arg(file.errorText());
}

ZipAddResult ZipWriter::Impl::addEntry(const SourceName& src, const QString& entryName, const Progress& progress,
                                       const bool* abortFlag)
{
    const QByteArray rawName = entryName.toUtf8();
    if (rawName.size() > 0xFFFF || !isSafeEntryName(entryName) || entryName.endsWith(QLatin1Char('/')))
        return addFail(ZipAddResult::BadName, QStringLiteral("Unusable entry name: %1").arg(entryName));
    if (names.contains(rawName))
        return addFail(ZipAddResult::NameExists,
                       QStringLiteral("The archive holds %1 already").arg(entryName));
    if (abortFlag && *abortFlag)
        return addFail(ZipAddResult::Aborted, QStringLiteral("Aborted"));

    plat::RegularFileReader source;
    if (!src.open(source, folders))
        return addFail(ZipAddResult::ReadFailed, source.errorText());
    const plat::FileStamp before = source.stampAtOpen();
    if (file.isOpen() && before.sameFile(archiveStamp))
        return addFail(ZipAddResult::IsArchive, QStringLiteral("The archive cannot hold itself"));
    if (!ensureCreated())
        return addFail(ZipAddResult::WriteFailed, error);

    PendingEntry p;
    p.source = src;
    p.entryName = entryName;
    p.stamp = before;
    NewEntry& ne = p.ne;
    ne.rawName = rawName;
    ne.localOffset = appendAt;
    const qint64 secs = before.mtimeNs / 1'000'000'000LL;
    ne.dosDateTime = dosDateTime(secs);
    ne.unixMtime = secs;

    int lastPercent = -1;
    auto report = [&](qint64 done) {
        if (!progress)
            return;
        const int pc = before.size <= 0 ? 100 : int(qMin<qint64>(100, done * 100 / before.size));
        if (pc != lastPercent) {
            lastPercent = pc;
            progress(pc);
        }
    };
    report(0);
    dirty = true;  // from here on the bytes after appendAt are ours to overwrite
    uLong crc = crc32(0, nullptr, 0);
    qint64 total = 0;
    z_stream& z = deflater.z;
    if (!deflater.ok || deflateReset(&z) != Z_OK)
        return addFail(ZipAddResult::WriteFailed, QStringLiteral("Deflate failed"));

    if (before.size <= kInMemoryLimit) {
        // Read it whole, then choose: deflated when smaller, else stored.
        // The reader stops at the size the file had when it was opened; a
        // file that grew or shrank since is caught by its stamp below.
        raw.resize(before.size);
        while (total < before.size) {
            if (abortFlag && *abortFlag)
                return addFail(ZipAddResult::Aborted, QStringLiteral("Aborted"));
            const qint64 n = source.read(raw.data() + total, qMin<qint64>(kBlock, before.size - total));
            if (n < 0)
                return addFail(ZipAddResult::ReadFailed, source.errorText());
            if (n == 0)
                break;
            total += n;
            report(total);
        }
        crc = crc32_z(crc, reinterpret_cast<const Bytef*>(raw.constData()), size_t(total));
        packed.resize(qsizetype(deflateBound(&z, uLong(total))));
        z.next_in = reinterpret_cast<Bytef*>(raw.data());
        z.avail_in = uInt(total);
        z.next_out = reinterpret_cast<Bytef*>(packed.data());
        z.avail_out = uInt(packed.size());
        if (deflate(&z, Z_FINISH) != Z_STREAM_END)
            return addFail(ZipAddResult::WriteFailed, QStringLiteral("Deflate failed"));
        const qint64 packedLen = packed.size() - qint64(z.avail_out);
        const bool useDeflate = packedLen < total;
        ne.method = useDeflate ? kDeflated : kStored;
        ne.crc = quint32(crc);
        ne.uncompressedSize = quint64(total);
        ne.compressedSize = quint64(useDeflate ? packedLen : total);
        ne.zip64Local = ne.uncompressedSize >= g_zip64Threshold || ne.compressedSize >= g_zip64Threshold;
        // Header and data in one write, still marked unfinished; then the
        // signature, so a write cut short never leaves a complete-looking
        // header in front of partial data.
        QByteArray out = localHeader(ne, kPendingSig);
        out.append(useDeflate ? packed.constData() : raw.constData(), useDeflate ? packedLen : total);
        wrote = true;
        if (!file.writeAt(qint64(appendAt), out.constData(), out.size()))
            return addFail(ZipAddResult::WriteFailed, file.errorText());
        if (!file.writeAt(qint64(appendAt), localHeader(ne).constData(), 4))
            return addFail(ZipAddResult::WriteFailed, file.errorText());
    } else {
        // Large: stream it. The header is written first under a pending
        // signature and completed once the data is all there.
        const quint64 bound = quint64(before.size) + quint64(before.size) / 100 + 65536;
        ne.zip64Local = bound >= g_zip64Threshold;
        ne.method = kDeflated;
        const qint64 headerLen = localHeader(ne).size();
        const qint64 dataAt = qint64(appendAt) + headerLen;
        wrote = true;
        if (!file.writeAt(qint64(appendAt), localHeader(ne, kPendingSig).constData(), headerLen))
            return addFail(ZipAddResult::WriteFailed, file.errorText());
        raw.resize(kBlock);
        packed.resize(kBlock);
        qint64 outPos = 0;
        bool finished = false;
        while (!finished) {
            if (abortFlag && *abortFlag)
                return addFail(ZipAddResult::Aborted, QStringLiteral("Aborted"));
            const qint64 n = source.read(raw.data(), kBlock);
            if (n < 0)
                return addFail(ZipAddResult::ReadFailed, source.errorText());
            crc = crc32_z(crc, reinterpret_cast<const Bytef*>(raw.constData()), size_t(n));
            total += n;
            z.next_in = reinterpret_cast<Bytef*>(raw.data());
            z.avail_in = uInt(n);
            const int flush = n == 0 ? Z_FINISH : Z_NO_FLUSH;
            do {
                z.next_out = reinterpret_cast<Bytef*>(packed.data());
                z.avail_out = uInt(kBlock);
                const int rc = deflate(&z, flush);
                if (rc == Z_STREAM_ERROR)
                    return addFail(ZipAddResult::WriteFailed, QStringLiteral("Deflate failed"));
                const qint64 got = kBlock - qint64(z.avail_out);
                if (got > 0 && !file.writeAt(dataAt + outPos, packed.constData(), got))
                    return addFail(ZipAddResult::WriteFailed, file.errorText());
                outPos += got;
                if (rc == Z_STREAM_END)
                    finished = true;
            } while (z.avail_out == 0 && !finished);
            report(total);
        }
        ne.crc = quint32(crc);
        ne.uncompressedSize = quint64(total);
        ne.compressedSize = quint64(outPos);
        if (outPos >= total) {
            // Deflate did not help: store it instead, reading it once more
            // and making sure it is still the same data.
            ne.method = kStored;
            uLong crc2 = crc32(0, nullptr, 0);
            qint64 pos = 0;
            for (;;) {
                if (abortFlag && *abortFlag)
                    return addFail(ZipAddResult::Aborted, QStringLiteral("Aborted"));
                const qint64 n = source.seek(pos) ? source.read(raw.data(), qMin<qint64>(kBlock, total - pos)) : -1;
                if (n < 0)
                    return addFail(ZipAddResult::ReadFailed, source.errorText());
                if (n == 0)
                    break;
                crc2 = crc32_z(crc2, reinterpret_cast<const Bytef*>(raw.constData()), size_t(n));
                if (!file.writeAt(dataAt + pos, raw.constData(), n))
                    return addFail(ZipAddResult::WriteFailed, file.errorText());
                pos += n;
            }
            if (pos != total || quint32(crc2) != ne.crc)
                return addFail(ZipAddResult::SourceChanged, QStringLiteral("The file changed while it was read"));
            ne.compressedSize = quint64(total);
        }
        const QByteArray header = localHeader(ne);
        if (header.size() != headerLen || !file.writeAt(qint64(appendAt), header.constData(), headerLen))
            return addFail(ZipAddResult::WriteFailed, file.errorText());
    }

    // Only a file that stayed the same while read may later be deleted.
    plat::FileStamp byPath;
    const plat::FileStamp after = source.stampNow();
    if (total != before.size || !after.unchanged(before) || !src.stamp(&byPath, folders) || !byPath.unchanged(before))
        return addFail(ZipAddResult::SourceChanged, QStringLiteral("The file changed while it was read"));
    report(before.size);

    const qint64 headerLen = localHeader(ne).size();
    appendAt = ne.localOffset + quint64(headerLen) + ne.compressedSize;
    names.insert(rawName);
    pending.push_back(std::move(p));
    return ZipAddResult::Added;
}

bool ZipWriter::Impl::verify(const PendingEntry& p, QString* why)
{
    FileSource src(file);
    LocalHeader lh;
    if (!readLocalHeader(src, p.ne.localOffset, &lh) || lh.rawName != p.ne.rawName || lh.method != p.ne.method
        || lh.crc != p.ne.crc) {
        *why = QStringLiteral("The stored entry does not read back");
        return false;
    }
    DecodeRequest rq;
    rq.dataOffset = lh.dataOffset;
    rq.compressedSize = p.ne.compressedSize;
    rq.method = p.ne.method;
    rq.expectedSize = p.ne.uncompressedSize;
    rq.expectedCrc = p.ne.crc;
    if (decodeData(src, rq).status != DecodeStatus::Ok) {
        *why = QStringLiteral("The stored data does not match the file (CRC)");
        return false;
    }
    // A file changed after it was read would lose its new contents.
    plat::FileStamp now;
    if (!p.source.stamp(&now, folders) || !now.unchanged(p.stamp)) {
        *why = QStringLiteral("The file changed after it was stored");
        return false;
    }
    return true;
}

// Writes central directory records and end records at offset at, cuts what
// lies behind them and syncs.
bool ZipWriter::Impl::writeEnd(quint64 at, const QByteArray& records, quint64 count)
{
    QByteArray tail = records;
    tail += endRecords(count, quint64(records.size()), at, comment, g_zip64Threshold, g_zip64Entries);
    const qint64 end = qint64(at) + tail.size();
    bool ok = file.writeAt(qint64(at), tail.constData(), tail.size());
    // Bytes beyond the end records are left-overs of a failed or aborted add.
    if (ok && file.size() > end)
        ok = file.truncate(end);
    ok = ok && file.sync();
    if (ok && created && !folderSynced)
        ok = folderSynced = file.syncFolder();
    return ok;
}

// The new central directory could not be written (disk full, I/O error):
// give up the pending entries and write the last good directory again where
// it was, so the archive is whole. It takes no more room than before.
void ZipWriter::Impl::rollBack()
{
    for (const PendingEntry& p : pending)
        names.remove(p.ne.rawName);
    pending.clear();
    appendAt = committedEnd;
    dirty = !writeEnd(committedEnd, central, committedCount);
    if (!dirty)
        mustNotAdd = false;  // cut at the end records again
}

ZipCommitResult ZipWriter::commit()
{
    ZipCommitResult res;
    if (!d->opened) {
        res.ok = false;
        res.errorText = QStringLiteral("No archive is open");
        return res;
    }
    if (!d->file.isOpen() || (!d->dirty && !d->commentChanged && d->pending.empty()))
        return res;

    QByteArray records = d->central;
    for (const PendingEntry& p : d->pending)
        records += centralRecord(p.ne, g_zip64Threshold);
    const quint64 count = d->committedCount + d->pending.size();
    const bool ok = d->writeEnd(d->appendAt, records, count);
    if (!ok) {
        res.ok = false;
        res.errorText = QStringLiteral("Cannot write the archive: %1").arg(d->file.errorText());
        d->error = res.errorText;
    }
    for (const PendingEntry& p : d->pending) {
        ZipCommitted c;
        c.sourcePath = p.source.path;
        c.entryName = p.entryName;
        c.sourceSize = p.stamp.size;
        c.sourceMtimeNs = p.stamp.mtimeNs;
        c.sourceDevice = p.stamp.device;
        c.sourceInode = p.stamp.inode;
        c.durable = ok && d->verify(p, &c.errorText);
        if (!ok)
            c.errorText = res.errorText;
        res.entries.push_back(std::move(c));
    }
    if (!ok) {
        d->rollBack();
        return res;
    }
    d->central = std::move(records);
    d->committedCount = count;
    d->committedEnd = d->appendAt;
    d->mustNotAdd = false;  // the file now ends at its end records
    d->pending.clear();
    d->dirty = false;
    d->commentChanged = false;
    return res;
}

ZipCommitResult ZipWriter::close()
{
    ZipCommitResult res;
    if (d->opened)
        res = commit();
    d->file.close();
    d->opened = false;
    return res;
}

// --------------------------------------------------------------- CommitPolicy

CommitPolicy::CommitPolicy(int maxFiles, int maxMs) : maxFiles_(maxFiles), maxMs_(maxMs)
{
    since_.start();
    commitTimer_.start();
}

bool CommitPolicy::due(int pendingCount)
{
    if (pendingCount <= 0)
        return false;
    const qint64 elapsed = since_.elapsed();
    // Never spend more than a fifth of the time on commits: with many
    // entries a central directory write costs more, so commits get rarer
    // and the cost per file stays flat.
    if (elapsed < 4 * lastCommitMs_)
        return false;
    if (pendingCount >= maxFiles_ || elapsed >= maxMs_) {
        inCommit_ = true;
        commitTimer_.restart();
        since_.restart();
        return true;
    }
    return false;
}

void CommitPolicy::committed()
{
    if (inCommit_)
        lastCommitMs_ = commitTimer_.elapsed();
    inCommit_ = false;
    since_.restart();
}

}  // namespace comp

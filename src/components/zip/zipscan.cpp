// Decoding entry data and recovering archives from their local headers.
#include "components/zip/zipscan.h"

#include "components/zip/zipcrypt.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <memory>

namespace comp::zipfmt {

namespace {

constexpr qint64 kChunk = 256 * 1024;
// Bytes that candidates which are no entries may cost on top of twice the
// archive's size (see scanLocalHeaders).
constexpr quint64 kFailureAllowance = 4 * 1024 * 1024;

struct Inflater {
    z_stream z{};
    bool ok = false;
    Inflater() { ok = inflateInit2(&z, -MAX_WBITS) == Z_OK; }
    ~Inflater()
    {
        if (ok)
            inflateEnd(&z);
    }
};

}  // namespace

DecodeResult decodeData(ByteSource& src, const DecodeRequest& req, const DataSink& sink,
                        const ConsumedProgress& progress)
{
    DecodeResult res;
    if (req.method != kStored && req.method != kDeflated) {
        res.status = DecodeStatus::Unsupported;
        return res;
    }
    if (req.dataOffset > src.size() || req.compressedSize > src.size() - req.dataOffset) {
        if (!req.stopAtStreamEnd) {
            res.status = DecodeStatus::ReadError;
            return res;
        }
    }
    const quint64 available = std::min(req.compressedSize, src.size() - std::min(src.size(), req.dataOffset));
    if (req.method == kStored && req.stopAtStreamEnd) {
        res.status = DecodeStatus::Unsupported;  // a stored entry has no end of its own
        return res;
    }
    // A size limit guards against data that inflates without end.
    const quint64 limit = req.stopAtStreamEnd ? ~quint64(0) : req.expectedSize;
    // Buffers no larger than the entry needs: most entries are small. When
    // only the deflate stream knows its end, reads start small and grow, so
    // that finding the end of a short entry does not read far past it.
    const qint64 inLen = qint64(std::clamp<quint64>(available, 1, kChunk));
    qint64 chunk = req.stopAtStreamEnd ? std::min<qint64>(inLen, 4096) : inLen;
    const qint64 outLen = req.stopAtStreamEnd ? 64 * 1024 : qint64(std::clamp<quint64>(req.expectedSize, 4096, kChunk));
    std::unique_ptr<char[]> in(new char[size_t(chunk)]);
    std::unique_ptr<char[]> out(new char[size_t(outLen)]);
    uLong crc = crc32(0, nullptr, 0);
    Inflater inf;
    if (req.method == kDeflated && !inf.ok) {
        res.status = DecodeStatus::Corrupt;
        return res;
    }
    bool streamEnd = false;
    quint64 pos = 0;
    while (pos < available && !streamEnd) {
        if (pos > 0 && chunk < inLen) {
            chunk = std::min(inLen, chunk * 2);
            in.reset(new char[size_t(chunk)]);
        }
        const qint64 n = qint64(std::min<quint64>(quint64(chunk), available - pos));
        res.bytesRead += quint64(n);
        if (!src.readAt(req.dataOffset + pos, in.get(), n)) {
            res.status = DecodeStatus::ReadError;
            return res;
        }
        if (req.cipher)
            req.cipher->decrypt(in.get(), n);
        if (req.method == kStored) {
            if (res.produced + quint64(n) > limit) {
                res.status = DecodeStatus::Corrupt;
                return res;
            }
            crc = crc32_z(crc, reinterpret_cast<const Bytef*>(in.get()), size_t(n));
            res.produced += quint64(n);
            if (sink && !sink(in.get(), n)) {
                res.status = DecodeStatus::SinkError;
                return res;
            }
            pos += quint64(n);
        } else {
            inf.z.next_in = reinterpret_cast<Bytef*>(in.get());
            inf.z.avail_in = uInt(n);
            while (inf.z.avail_in > 0 || !streamEnd) {
                inf.z.next_out = reinterpret_cast<Bytef*>(out.get());
                inf.z.avail_out = uInt(outLen);
                const int rc = inflate(&inf.z, Z_NO_FLUSH);
                if (rc != Z_OK && rc != Z_STREAM_END && rc != Z_BUF_ERROR) {
                    res.status = DecodeStatus::Corrupt;
                    return res;
                }
                const qint64 got = outLen - qint64(inf.z.avail_out);
                if (got > 0) {
                    if (res.produced + quint64(got) > limit) {
                        res.status = DecodeStatus::Corrupt;
                        return res;
                    }
                    crc = crc32_z(crc, reinterpret_cast<const Bytef*>(out.get()), size_t(got));
                    res.produced += quint64(got);
                    if (sink && !sink(out.get(), got)) {
                        res.status = DecodeStatus::SinkError;
                        return res;
                    }
                }
                if (rc == Z_STREAM_END) {
                    streamEnd = true;
                    break;
                }
                if (got == 0 && (rc == Z_BUF_ERROR || inf.z.avail_in == 0))
                    break;  // needs more input
            }
            pos += quint64(n) - inf.z.avail_in;
        }
        if (progress)
            progress(pos);
    }
    res.consumed = pos;
    res.crc = quint32(crc);
    if (req.method == kDeflated && !streamEnd) {
        res.status = DecodeStatus::Corrupt;
        return res;
    }
    if (req.stopAtStreamEnd)
        return res;
    if (res.produced != req.expectedSize)
        res.status = DecodeStatus::Corrupt;
    else if (res.crc != req.expectedCrc)
        res.status = DecodeStatus::CrcMismatch;
    return res;
}

// ------------------------------------------------------------------ recovery

namespace {

// Finds local header signatures going forward through an archive. The
// bytes read last are kept, so that a run of small entries does not read
// the same stretch again for each of them: every byte is read once, plus
// three at each seam, however many signatures there are.
class SignatureFinder {
public:
    explicit SignatureFinder(ByteSource& src) : src_(src) {}

    // Position of the next signature at or after from, or -1. from must not
    // go back between calls.
    qint64 next(quint64 from)
    {
        static const QByteArray sig("PK\x03\x04", 4);
        const quint64 size = src_.size();
        while (from + 4 <= size) {
            const quint64 end = base_ + quint64(buf_.size());
            if (from < base_ || from + 4 > end) {
                const qint64 n = qint64(std::min<quint64>(kWindow, size - from));
                buf_.resize(n);
                if (!src_.readAt(from, buf_.data(), n)) {
                    buf_.clear();
                    return -1;
                }
                base_ = from;
                continue;
            }
            const qsizetype at = buf_.indexOf(sig, qsizetype(from - base_));
            if (at >= 0)
                return qint64(base_) + at;
            if (end >= size)
                return -1;
            from = end - 3;  // a signature may straddle the seam
        }
        return -1;
    }

private:
    static constexpr quint64 kWindow = 1024 * 1024;
    ByteSource& src_;
    QByteArray buf_;
    quint64 base_ = 0;
};

// Keeps the last stretch read, for a walk that goes forward in small steps:
// the headers, short entries and descriptors of a run of small entries are
// then read from the archive once, not once for each look at them.
class ForwardCache : public ByteSource {
public:
    explicit ForwardCache(ByteSource& src) : src_(src) {}
    quint64 size() const override { return src_.size(); }
    bool readAt(quint64 offset, char* buffer, qint64 len) override
    {
        if (len < 0 || offset > size() || quint64(len) > size() - offset)
            return false;
        const quint64 end = base_ + quint64(buf_.size());
        if (offset < base_ || offset + quint64(len) > end) {
            if (quint64(len) >= kWindow)
                return src_.readAt(offset, buffer, len);
            const qint64 n = qint64(std::min<quint64>(kWindow, size() - offset));
            buf_.resize(n);
            if (!src_.readAt(offset, buf_.data(), n)) {
                buf_.clear();
                return false;
            }
            base_ = offset;
        }
        std::memcpy(buffer, buf_.constData() + (offset - base_), size_t(len));
        return true;
    }

private:
    static constexpr quint64 kWindow = 256 * 1024;
    ByteSource& src_;
    QByteArray buf_;
    quint64 base_ = 0;
};

// Reads the data descriptor after an entry's data; its length or 0.
int readDescriptor(ByteSource& src, quint64 at, bool zip64, quint32* crc, quint64* csize, quint64* usize)
{
    char d[24];
    const int body = zip64 ? 20 : 12;
    quint64 p = at;
    if (src.readAt(at, d, 4) && get32(d) == kDescriptorSig)
        p += 4;
    if (!src.readAt(p, d, body))
        return 0;
    *crc = get32(d);
    *csize = zip64 ? get64(d + 4) : get32(d + 4);
    *usize = zip64 ? get64(d + 12) : get32(d + 8);
    return int(p - at) + body;
}

bool hasZip64Extra(const QByteArray& extra)
{
    int p = 0;
    while (p + 4 <= extra.size()) {
        if (get16(extra.constData() + p) == 0x0001)
            return true;
        p += 4 + get16(extra.constData() + p + 2);
    }
    return false;
}

// Checks the entry whose local header is at offset; on success fills e and
// returns the offset just past it (data and descriptor), else 0. *cost is
// set to the bytes read to find out.
quint64 tryEntry(ByteSource& src, quint64 offset, Entry* e, quint64* cost)
{
    LocalHeader lh;
    *cost = kLocalHeaderSize;
    if (!readLocalHeader(src, offset, &lh))
        return 0;
    *cost = lh.dataOffset - offset;
    if (lh.rawName.isEmpty() || lh.dataOffset > src.size())
        return 0;
    const bool encrypted = lh.flags & kFlagEncrypted;
    quint64 csize = lh.compressedSize, usize = lh.uncompressedSize;
    quint32 crc = lh.crc;
    quint64 end = 0;
    if (lh.flags & kFlagDescriptor) {
        // Sizes follow the data; only a deflate stream tells where it ends.
        if (encrypted || lh.method != kDeflated || (lh.flags & kFlagStrongCrypt))
            return 0;
        DecodeRequest rq;
        rq.dataOffset = lh.dataOffset;
        rq.compressedSize = src.size() - lh.dataOffset;
        rq.method = kDeflated;
        rq.stopAtStreamEnd = true;
        const DecodeResult r = decodeData(src, rq);
        *cost += r.bytesRead;
        if (r.status != DecodeStatus::Ok)
            return 0;
        const int dlen = readDescriptor(src, lh.dataOffset + r.consumed, hasZip64Extra(lh.extra), &crc, &csize, &usize);
        if (dlen == 0 || crc != r.crc || csize != r.consumed || usize != r.produced)
            return 0;
        end = lh.dataOffset + r.consumed + quint64(dlen);
    } else {
        if (csize > src.size() - lh.dataOffset)
            return 0;
        end = lh.dataOffset + csize;
        const bool checkable = !encrypted && (lh.method == kStored || lh.method == kDeflated);
        if (checkable) {
            DecodeRequest rq;
            rq.dataOffset = lh.dataOffset;
            rq.compressedSize = csize;
            rq.method = lh.method;
            rq.expectedSize = usize;
            rq.expectedCrc = crc;
            const DecodeResult r = decodeData(src, rq);
            *cost += r.bytesRead;
            if (r.status != DecodeStatus::Ok)
                return 0;
        } else if (encrypted && csize < 12) {
            return 0;
        }
    }
    e->rawName = lh.rawName;
    e->flags = lh.flags;
    e->versionMadeBy = 0;  // no host: mode bits unknown, so never a link
    e->externalAttributes = 0;
    e->dosTime = lh.dosTime;
    e->dosDate = lh.dosDate;
    e->info.method = lh.method;
    e->info.crc = crc;
    e->info.compressedSize = csize;
    e->info.uncompressedSize = usize;
    e->info.localHeaderOffset = offset;
    // Extended timestamp, when the local header has one.
    int p = 0;
    while (p + 4 <= lh.extra.size()) {
        const quint16 id = get16(lh.extra.constData() + p);
        const quint16 len = get16(lh.extra.constData() + p + 2);
        if (p + 4 + len > lh.extra.size())
            break;
        if (id == 0x5455 && len >= 5 && (lh.extra[p + 4] & 1))
            e->unixMtime = qint64(qint32(get32(lh.extra.constData() + p + 5)));
        p += 4 + len;
    }
    finishInfo(*e);
    return end;
}

}  // namespace

void scanLocalHeaders(ByteSource& archive, Directory* dir)
{
    ForwardCache src(archive);
    dir->entries.clear();
    dir->comment.clear();
    dir->recovered = true;
    dir->overlap.clear();
    dir->centralOffset = 0;
    dir->unparsedHeaders.clear();
    dir->unparsedOverflow = false;
    quint64 pos = 0;
    SignatureFinder finder(archive);
    // Good entries never overlap, so checking them reads each byte once.
    // Candidates that turn out not to be entries cost as much as they claim,
    // and one may start at every byte: past this budget the walk stops, and
    // says that it left headers unfollowed.
    const quint64 budget = 2 * src.size() + kFailureAllowance;
    quint64 spent = 0;
    // Our writer puts each entry right after the one before. Once entries
    // are ours, whatever is not a header exactly where the last entry ends
    // is the end of the entries: an old central directory, or the data of
    // an entry cut short. That data is never searched for signatures, as
    // a stored zip file is full of local headers with right CRCs.
    bool strict = looksLikeOurHeader(src, 0);
    for (;;) {
        // Our writer has one unfinished entry at most, the last one: what
        // follows it is its data (which may well hold an archive of its own)
        // and never a real entry.
        char sig[4];
        const bool haveSig = src.readAt(pos, sig, 4);
        if (haveSig && get32(sig) == kPendingSig)
            break;
        qint64 at = -1;
        if (strict) {
            if (!haveSig || get32(sig) != kLocalSig)
                break;
            at = qint64(pos);
        } else {
            at = finder.next(pos);
            if (at < 0)
                break;
        }
        // Asked before the entry is read, while its header is still at hand.
        const bool oursHere = strict || looksLikeOurHeader(src, quint64(at));
        Entry e;
        quint64 cost = 0;
        const quint64 end = tryEntry(src, quint64(at), &e, &cost);
        if (end == 0) {
            spent += cost;
            if (spent > budget) {
                dir->unparsedOverflow = true;
                break;
            }
            if (dir->unparsedHeaders.size() < 1000)
                dir->unparsedHeaders.push_back(quint64(at));
            else
                dir->unparsedOverflow = true;
            if (!strict) {
                pos = quint64(at) + 1;
                continue;
            }
            // A damaged entry of ours: step over it by the size its header
            // gives; a header not of ours ends the walk.
            LocalHeader lh;
            if (!looksLikeOurHeader(src, quint64(at)) || !readLocalHeader(src, quint64(at), &lh)
                || lh.dataOffset > src.size() || lh.compressedSize > src.size() - lh.dataOffset)
                break;
            pos = lh.dataOffset + lh.compressedSize;
            continue;
        }
        strict = oursHere;
        dir->entries.push_back(std::move(e));
        dir->centralOffset = end;
        pos = end;
    }
}

}  // namespace comp::zipfmt

// Reading archives: listing, and extraction that never leaves the base folder.
#include "components/zip/zipreader.h"

#include "components/zip/zipcrypt.h"
#include "components/zip/zipformat.h"
#include "components/zip/zipscan.h"
#include "platform/drives.h"
#include "platform/durablefile.h"

#include <QFile>
#include <QRandomGenerator>

#include <cerrno>
#include <set>
#include <utility>

namespace comp {

using namespace zipfmt;

struct ZipReader::Impl {
    plat::DurableFile file;
    std::unique_ptr<ByteSource> src;
    Directory dir;
    std::vector<ZipEntryInfo> infos;
    QString error;
    QByteArray password;
    bool havePassword = false;
    bool passwordCancelled = false;
    bool refused = false;
    PasswordProvider provider;

    // Folders whose stale part files this extraction has removed already.
    std::set<std::pair<quint64, quint64>> sweptFolders;

    // The password questions of one entry.
    struct EntryPassword {
        int asked = 0;          // at most three per entry
        bool typedNow = false;  // the password in use was typed for this entry
        bool reject = false;    // the password in use proved wrong: ask first
    };

    bool load();
    ZipExtractReport extractOne(plat::FolderHandle& root, int index,
                                const std::function<void(quint64)>& consumed);
    // Prepares decoding of one entry: local header, cipher. Returns a result
    // other than Extracted when the entry cannot be decoded.
    ZipExtractResult prepare(int index, DecodeRequest* req, std::unique_ptr<TraditionalCipher>* cipher,
                             QString* why, EntryPassword* pw);
    // Decodes one entry into sink, asking again for the password when one
    // typed for it passed the check byte but the data came out wrong. restart
    // is called before each further attempt.
    ZipExtractResult decodeEntry(int index, const DataSink& sink, const std::function<bool()>& restart,
                                 const ConsumedProgress& consumed, DecodeResult* dr, QString* why);
    bool wantsAnotherPassword(const EntryPassword& pw) const
    {
        return provider && !passwordCancelled && pw.asked < 3;
    }
    // Where named temporary files must serve: removes part files that a
    // killed extraction left in this folder (once per folder and run).
    void sweepStaleParts(plat::FolderHandle& folder);
};

namespace {
bool g_anonymousTempFiles = true;
}

namespace detail {
void allowAnonymousTempFiles(bool allow)
{
    g_anonymousTempFiles = allow;
}
}  // namespace detail

ZipReader::ZipReader() : d(std::make_unique<Impl>()) {}
ZipReader::~ZipReader() = default;

bool ZipReader::Impl::load()
{
    QString why;
    const ReadStatus st = readCentral(*src, &dir, &why);
    if (st == ReadStatus::Ok && !dir.overlap.isEmpty()) {
        // Not recovered from the local headers either: the directory is
        // there and says what it says, it is only not to be believed.
        refused = true;
        error = dir.overlap + QStringLiteral("; such an archive is refused.");
        dir = Directory();
        src.reset();
        file.close();
        return false;
    }
    if (st != ReadStatus::Ok) {
        // No usable central directory: the writer may have died while
        // writing it. List what the local headers still hold.
        scanLocalHeaders(*src, &dir);
        if (dir.entries.empty()) {
            error = QStringLiteral("Not a zip archive (%1)").arg(why);
            src.reset();
            file.close();
            return false;
        }
    }
    infos.clear();
    infos.reserve(dir.entries.size());
    for (const Entry& e : dir.entries)
        infos.push_back(e.info);
    return true;
}

bool ZipReader::open(const QString& archiveDrivePath)
{
    close();
    const auto posix = plat::toPosix(archiveDrivePath);
    if (!posix) {
        d->error = QStringLiteral("Not a file path: %1").arg(archiveDrivePath);
        return false;
    }
    return openPosix(*posix);
}

bool ZipReader::openPosix(const QByteArray& posixPath)
{
    close();
    if (!d->file.open(posixPath, plat::DurableFile::Mode::Read)) {
        d->error = d->file.errorText();
        return false;
    }
    d->src = std::make_unique<FileSource>(d->file);
    return d->load();
}

bool ZipReader::openMemory(const QByteArray& data)
{
    close();
    d->src = std::make_unique<MemorySource>(data);
    return d->load();
}

void ZipReader::close()
{
    d->src.reset();
    d->file.close();
    d->dir = Directory();
    d->infos.clear();
    d->error.clear();
    d->passwordCancelled = false;
    d->refused = false;
}

bool ZipReader::isOpen() const { return d->src != nullptr; }
QString ZipReader::errorText() const { return d->error; }
bool ZipReader::refused() const { return d->refused; }
const std::vector<ZipEntryInfo>& ZipReader::entries() const { return d->infos; }
QString ZipReader::comment() const { return decodeName(d->dir.comment, 0); }
bool ZipReader::recovered() const { return d->dir.recovered; }

void ZipReader::setPassword(const QByteArray& password)
{
    d->password = password;
    d->havePassword = true;
}

void ZipReader::setPasswordProvider(PasswordProvider provider)
{
    d->provider = std::move(provider);
}

ZipExtractResult ZipReader::Impl::prepare(int index, DecodeRequest* req,
                                          std::unique_ptr<TraditionalCipher>* cipher, QString* why,
                                          EntryPassword* pw)
{
    const Entry& e = dir.entries[size_t(index)];
    if ((e.flags & kFlagStrongCrypt) || (e.info.method != kStored && e.info.method != kDeflated)) {
        *why = QStringLiteral("compression method %1 is not supported").arg(e.info.method);
        return ZipExtractResult::Unsupported;
    }
    LocalHeader lh;
    if (!readLocalHeader(*src, e.info.localHeaderOffset, &lh) || lh.dataOffset > src->size()
        || e.info.compressedSize > src->size() - lh.dataOffset) {
        *why = QStringLiteral("the entry's data is missing or damaged");
        return ZipExtractResult::CrcError;
    }
    req->dataOffset = lh.dataOffset;
    req->compressedSize = e.info.compressedSize;
    req->method = e.info.method;
    req->expectedSize = e.info.uncompressedSize;
    req->expectedCrc = e.info.crc;
    if (!e.info.encrypted)
        return ZipExtractResult::Extracted;

    if (req->compressedSize < 12) {
        *why = QStringLiteral("the entry's data is missing or damaged");
        return ZipExtractResult::CrcError;
    }
    char header[12];
    if (!src->readAt(lh.dataOffset, header, 12)) {
        *why = QStringLiteral("the entry's data is missing or damaged");
        return ZipExtractResult::CrcError;
    }
    // With sizes after the data the writer did not know the CRC yet and
    // used the time for the check byte.
    const quint8 check = (lh.flags & kFlagDescriptor) ? quint8(lh.dosTime >> 8) : quint8(e.info.crc >> 24);
    // The password that served the last entry is tried first; the user is
    // asked at most three times per entry.
    for (;;) {
        if (havePassword && !pw->reject) {
            auto c = std::make_unique<TraditionalCipher>(password);
            char h[12];
            std::copy(header, header + 12, h);
            if (c->headerMatches(h, check)) {
                *cipher = std::move(c);
                req->cipher = cipher->get();
                req->dataOffset += 12;
                req->compressedSize -= 12;
                return ZipExtractResult::Extracted;
            }
        }
        pw->reject = false;
        if (!wantsAnotherPassword(*pw))
            break;
        ++pw->asked;
        const std::optional<QByteArray> typed = provider(e.info.name);
        if (!typed) {
            passwordCancelled = true;
            break;
        }
        password = *typed;
        havePassword = true;
        pw->typedNow = true;
    }
    *why = havePassword ? QStringLiteral("wrong password") : QStringLiteral("a password is needed");
    return ZipExtractResult::BadPassword;
}

namespace {

// Splits a stored name into file-system names; empty when it must not be
// extracted.
QList<QByteArray> safeComponents(const QString& name, bool* isFolder)
{
    if (!isSafeEntryName(name))
        return {};
    *isFolder = name.endsWith(QLatin1Char('/'));
    QList<QByteArray> out;
    for (const QString& part : (*isFolder ? name.chopped(1) : name).split(QLatin1Char('/')))
        out.append(QFile::encodeName(part));
    return out;
}

ZipExtractResult fromDecode(DecodeStatus s, bool encrypted)
{
    switch (s) {
    case DecodeStatus::Ok: return ZipExtractResult::Extracted;
    case DecodeStatus::CrcMismatch:
        // The check byte passes one wrong password in 256; the CRC catches it.
        return encrypted ? ZipExtractResult::BadPassword : ZipExtractResult::CrcError;
    case DecodeStatus::Corrupt:
        return encrypted ? ZipExtractResult::BadPassword : ZipExtractResult::CrcError;
    case DecodeStatus::ReadError: return ZipExtractResult::CrcError;
    case DecodeStatus::SinkError: return ZipExtractResult::WriteFailed;
    case DecodeStatus::Unsupported: return ZipExtractResult::Unsupported;
    }
    return ZipExtractResult::CrcError;
}

bool isPartName(const QByteArray& name)
{
    static const QByteArray prefix(".trovik-"), suffix(".part");
    return name.size() > prefix.size() + suffix.size() && name.startsWith(prefix) && name.endsWith(suffix);
}

}  // namespace

ZipExtractResult ZipReader::Impl::decodeEntry(int index, const DataSink& sink, const std::function<bool()>& restart,
                                              const ConsumedProgress& consumed, DecodeResult* dr, QString* why)
{
    const Entry& e = dir.entries[size_t(index)];
    EntryPassword pw;
    for (int attempt = 0;; ++attempt) {
        DecodeRequest req;
        std::unique_ptr<TraditionalCipher> cipher;
        const ZipExtractResult prep = prepare(index, &req, &cipher, why, &pw);
        if (prep != ZipExtractResult::Extracted)
            return prep;
        if (attempt > 0 && restart && !restart()) {
            *dr = DecodeResult();
            dr->status = DecodeStatus::SinkError;
            return ZipExtractResult::WriteFailed;
        }
        *dr = decodeData(*src, req, sink, consumed);
        const bool wrongData = dr->status == DecodeStatus::CrcMismatch || dr->status == DecodeStatus::Corrupt;
        // A password typed for this entry that passes the check byte and
        // still gives wrong data is a wrong password: ask again.
        if (e.info.encrypted && wrongData && pw.typedNow && wantsAnotherPassword(pw)) {
            pw.reject = true;
            continue;
        }
        const ZipExtractResult r = fromDecode(dr->status, e.info.encrypted);
        if (r == ZipExtractResult::BadPassword)
            *why = QStringLiteral("wrong password");
        else if (r == ZipExtractResult::CrcError)
            *why = QStringLiteral("CRC error or damaged data");
        return r;
    }
}

void ZipReader::Impl::sweepStaleParts(plat::FolderHandle& folder)
{
    const plat::FileStamp id = folder.stamp();
    if (!sweptFolders.insert({id.device, id.inode}).second)
        return;
    for (const QByteArray& name : folder.names()) {
        if (!isPartName(name))
            continue;
        // A part file being written is locked by its writer; one nobody
        // holds was left by an extraction that died.
        plat::DurableFile part;
        if (!part.openAt(folder, name, plat::DurableFile::Mode::Update)
            || part.lockExclusive() != plat::DurableFile::LockResult::Locked)
            continue;
        plat::FileStamp now;
        if (folder.stampOfRegularFile(name, &now) && now.sameFile(part.stamp()))
            folder.removeFile(name);
    }
}

ZipExtractReport ZipReader::Impl::extractOne(plat::FolderHandle& root, int index,
                                             const std::function<void(quint64)>& consumed)
{
    const Entry& e = dir.entries[size_t(index)];
    ZipExtractReport rep;
    rep.index = index;
    rep.entryName = e.info.name;
    auto fail = [&](ZipExtractResult r, const QString& why) {
        rep.result = r;
        rep.errorText = why;
        return rep;
    };
    bool isFolder = false;
    const QList<QByteArray> parts = safeComponents(e.info.name, &isFolder);
    if (parts.isEmpty())
        return fail(ZipExtractResult::BadName, QStringLiteral("unsafe name"));
    if (e.info.isSymlink || e.info.isSpecial)
        return fail(ZipExtractResult::Unsupported, QStringLiteral("links and special files are not extracted"));

    // Enter (and make) each folder relative to the one before, never
    // following a link: a folder swapped for a link ends the walk.
    const qsizetype folderCount = isFolder ? parts.size() : parts.size() - 1;
    plat::FolderHandle here;
    plat::FolderHandle* cur = &root;
    for (qsizetype i = 0; i < folderCount; ++i) {
        plat::FolderHandle next;
        if (!next.openChild(*cur, parts[i], true)) {
            const int err = next.errorCode();
            if (err == ELOOP || err == ENOTDIR)
                return fail(ZipExtractResult::BadName, QStringLiteral("the way passes a link or a file"));
            return fail(ZipExtractResult::WriteFailed, next.errorText());
        }
        here = std::move(next);
        cur = &here;
    }
    if (isFolder)
        return rep;

    const QByteArray& leaf = parts.last();
    if (cur->exists(leaf))
        return fail(ZipExtractResult::Exists, QStringLiteral("the file exists already"));

    // The data goes into a file without a name, which gets its name only
    // once its CRC is right: a crash in between leaves nothing behind. Where
    // the file system cannot make such files, a named part file serves
    // instead, locked while written, and stale ones are cleared first.
    plat::DurableFile out;
    QByteArray temp;
    if (!g_anonymousTempFiles || !out.openAnonymousAt(*cur)) {
        sweepStaleParts(*cur);
        for (int attempt = 0; attempt < 8; ++attempt) {
            temp = ".trovik-" + QByteArray::number(QRandomGenerator::global()->generate(), 36) + ".part";
            if (out.openAt(*cur, temp, plat::DurableFile::Mode::CreateNew) || out.errorCode() != EEXIST)
                break;
        }
        if (!out.isOpen())
            return fail(ZipExtractResult::WriteFailed, out.errorText());
        out.lockExclusive();
    }
    auto discard = [&] {
        out.close();
        if (!temp.isEmpty())
            cur->removeFile(temp);
    };
    qint64 written = 0;
    DecodeResult dr;
    QString why;
    const ZipExtractResult r = decodeEntry(
        index,
        [&](const char* data, qint64 len) {
            if (!out.writeAt(written, data, len))
                return false;
            written += len;
            return true;
        },
        [&] {
            written = 0;
            return out.truncate(0);
        },
        consumed, &dr, &why);
    if (r != ZipExtractResult::Extracted) {
        if (dr.status == DecodeStatus::SinkError)
            why = out.errorText();
        discard();
        return fail(r, why);
    }
    if (e.info.modified.isValid())
        out.setModified(e.info.modified.toSecsSinceEpoch());
    if (temp.isEmpty()) {
        if (!out.linkAt(*cur, leaf)) {
            const int err = out.errorCode();
            const QString text = out.errorText();
            out.close();
            if (err == EEXIST)
                return fail(ZipExtractResult::Exists, QStringLiteral("the file exists already"));
            return fail(ZipExtractResult::WriteFailed, text);
        }
        out.close();
        return rep;
    }
    // Renamed while still open and locked, so that no sweep takes it for
    // a stale one in between.
    const bool renamed = cur->renameNoReplace(temp, leaf);
    out.close();
    if (!renamed) {
        const int err = cur->errorCode();
        const QString text = cur->errorText();
        cur->removeFile(temp);
        if (err == EEXIST)
            return fail(ZipExtractResult::Exists, QStringLiteral("the file exists already"));
        return fail(ZipExtractResult::WriteFailed, text);
    }
    return rep;
}

std::vector<ZipExtractReport> ZipReader::extractAll(const QString& baseFolderDrivePath, const Progress& progress)
{
    const auto posix = plat::toPosix(baseFolderDrivePath);
    if (!posix) {
        std::vector<ZipExtractReport> reps;
        for (size_t i = 0; i < d->infos.size(); ++i)
            reps.push_back({int(i), d->infos[i].name, ZipExtractResult::WriteFailed,
                            QStringLiteral("Not a folder path: %1").arg(baseFolderDrivePath)});
        return reps;
    }
    return extractAllPosix(*posix, progress);
}

std::vector<ZipExtractReport> ZipReader::extractAllPosix(const QByteArray& baseFolderPosix, const Progress& progress)
{
    std::vector<ZipExtractReport> reps;
    if (!d->src)
        return reps;
    d->passwordCancelled = false;
    d->sweptFolders.clear();
    plat::FolderHandle root;
    const bool rootOk = root.open(baseFolderPosix);
    quint64 total = 0;
    for (const ZipEntryInfo& i : d->infos)
        total += i.compressedSize;
    quint64 before = 0;
    int lastPercent = -1;
    auto report = [&](quint64 done) {
        const int pc = total == 0 ? 100 : int(qMin<quint64>(100, done * 100 / total));
        if (pc != lastPercent && progress) {
            lastPercent = pc;
            progress(pc);
        }
    };
    for (size_t i = 0; i < d->infos.size(); ++i) {
        if (!rootOk) {
            reps.push_back({int(i), d->infos[i].name, ZipExtractResult::WriteFailed, root.errorText()});
            continue;
        }
        reps.push_back(d->extractOne(root, int(i), [&](quint64 c) { report(before + c); }));
        before += d->infos[i].compressedSize;
        report(before);
    }
    report(total);
    return reps;
}

ZipExtractResult ZipReader::readEntry(int index, QByteArray* out)
{
    out->clear();
    if (!d->src || index < 0 || size_t(index) >= d->infos.size())
        return ZipExtractResult::Unsupported;
    const ZipEntryInfo& info = d->infos[size_t(index)];
    if (info.isSymlink || info.isSpecial)
        return ZipExtractResult::Unsupported;
    if (info.isFolder)
        return ZipExtractResult::Extracted;
    // Memory is taken as the data arrives, never from the announced size.
    DecodeResult dr;
    QString why;
    const ZipExtractResult r = d->decodeEntry(
        index,
        [&](const char* data, qint64 len) {
            if (out->size() + len > (qint64(1) << 30))
                return false;
            out->append(data, len);
            return true;
        },
        [&] {
            out->clear();
            return true;
        },
        {}, &dr, &why);
    if (r != ZipExtractResult::Extracted)
        out->clear();
    return r;
}

}  // namespace comp

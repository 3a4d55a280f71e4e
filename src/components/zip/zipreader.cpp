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
    PasswordProvider provider;

    bool load();
    ZipExtractReport extractOne(plat::FolderHandle& root, int index,
                                const std::function<void(quint64)>& consumed);
    // Prepares decoding of one entry: local header, cipher. Returns a result
    // other than Extracted when the entry cannot be decoded.
    ZipExtractResult prepare(int index, DecodeRequest* req, std::unique_ptr<TraditionalCipher>* cipher,
                             QString* why);
};

ZipReader::ZipReader() : d(std::make_unique<Impl>()) {}
ZipReader::~ZipReader() = default;

bool ZipReader::Impl::load()
{
    QString why;
    const ReadStatus st = readCentral(*src, &dir, &why);
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
}

bool ZipReader::isOpen() const { return d->src != nullptr; }
QString ZipReader::errorText() const { return d->error; }
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
                                          std::unique_ptr<TraditionalCipher>* cipher, QString* why)
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
    for (int asked = 0;; ++asked) {
        if (havePassword) {
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
        if (!provider || passwordCancelled || asked == 3)
            break;
        const std::optional<QByteArray> pw = provider(e.info.name);
        if (!pw) {
            passwordCancelled = true;
            break;
        }
        password = *pw;
        havePassword = true;
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

}  // namespace

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

    DecodeRequest req;
    std::unique_ptr<TraditionalCipher> cipher;
    QString why;
    const ZipExtractResult prep = prepare(index, &req, &cipher, &why);
    if (prep != ZipExtractResult::Extracted)
        return fail(prep, why);

    // Write under a temporary name in the target folder; only a file whose
    // CRC is right gets its real name.
    plat::DurableFile out;
    QByteArray temp;
    for (int attempt = 0; attempt < 8; ++attempt) {
        temp = ".trovik-" + QByteArray::number(QRandomGenerator::global()->generate(), 36) + ".part";
        if (out.openAt(*cur, temp, plat::DurableFile::Mode::CreateNew) || out.errorCode() != EEXIST)
            break;
    }
    if (!out.isOpen())
        return fail(ZipExtractResult::WriteFailed, out.errorText());
    qint64 written = 0;
    const DecodeResult dr = decodeData(
        *src, req,
        [&](const char* data, qint64 len) {
            if (!out.writeAt(written, data, len))
                return false;
            written += len;
            return true;
        },
        consumed);
    const ZipExtractResult r = fromDecode(dr.status, e.info.encrypted);
    if (r != ZipExtractResult::Extracted) {
        const QString text = dr.status == DecodeStatus::SinkError ? out.errorText()
                             : r == ZipExtractResult::BadPassword ? QStringLiteral("wrong password")
                                                                  : QStringLiteral("CRC error or damaged data");
        out.close();
        cur->removeFile(temp);
        return fail(r, text);
    }
    if (e.info.modified.isValid())
        out.setModified(e.info.modified.toSecsSinceEpoch());
    out.close();
    plat::FolderHandle* folder = cur;
    if (!folder->renameNoReplace(temp, leaf)) {
        const int err = folder->errorCode();
        const QString text = folder->errorText();
        folder->removeFile(temp);
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
    DecodeRequest req;
    std::unique_ptr<TraditionalCipher> cipher;
    QString why;
    const ZipExtractResult prep = d->prepare(index, &req, &cipher, &why);
    if (prep != ZipExtractResult::Extracted)
        return prep;
    // Memory is taken as the data arrives, never from the announced size.
    const DecodeResult dr = decodeData(*d->src, req, [&](const char* data, qint64 len) {
        if (out->size() + len > (qint64(1) << 30))
            return false;
        out->append(data, len);
        return true;
    });
    if (dr.status != DecodeStatus::Ok)
        out->clear();
    return dr.status == DecodeStatus::SinkError ? ZipExtractResult::WriteFailed : fromDecode(dr.status, info.encrypted);
}

}  // namespace comp

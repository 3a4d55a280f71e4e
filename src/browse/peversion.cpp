#include "browse/peversion.h"

#include "platform/filereader.h"

#include <QSet>
#include <QVarLengthArray>

#include <algorithm>

#include <vector>

namespace browse {

namespace {

constexpr quint32 kRtVersion = 16;
constexpr quint32 kVersionId = 1;  // VS_VERSION_INFO
constexpr quint32 kHighBit = 0x80000000u;
constexpr qint64 kDirectoryHeader = 16;
constexpr qint64 kDirectoryEntry = 8;
constexpr qint64 kDataEntry = 16;
constexpr qint64 kSectionHeader = 40;

quint16 u16(const char* p)
{
    const auto* b = reinterpret_cast<const uchar*>(p);
    return quint16(b[0] | (b[1] << 8));
}

quint32 u32(const char* p)
{
    const auto* b = reinterpret_cast<const uchar*>(p);
    return quint32(b[0]) | (quint32(b[1]) << 8) | (quint32(b[2]) << 16) | (quint32(b[3]) << 24);
}

qsizetype align4(qsizetype n)
{
    return (n + 3) & ~qsizetype(3);
}

struct Section {
    quint32 va = 0;
    quint32 rawSize = 0;
    quint32 rawPtr = 0;
};

struct DirEntry {
    quint32 name = 0;
    quint32 offset = 0;
    bool named() const { return name & kHighBit; }
    bool subdirectory() const { return offset & kHighBit; }
    quint32 target() const { return offset & ~kHighBit; }
};

class PeImage {
public:
    explicit PeImage(ByteSource& source) : src_(source) {}

    std::optional<QByteArray> versionBlock()
    {
        if (!readHeaders())
            return std::nullopt;
        // The resource tree: type, name, language.
        std::vector<DirEntry> types;
        if (!readDirectory(0, types))
            return std::nullopt;
        const DirEntry* type = nullptr;
        for (const DirEntry& e : types)
            if (!e.named() && e.name == kRtVersion && e.subdirectory()) {
                type = &e;
                break;
            }
        if (!type)
            return std::nullopt;
        std::vector<DirEntry> names;
        if (!readDirectory(type->target(), names))
            return std::nullopt;
        const DirEntry* name = nullptr;
        for (const DirEntry& e : names)
            if (e.subdirectory() && (!name || (!e.named() && e.name == kVersionId && name->name != kVersionId)))
                name = &e;
        if (!name)
            return std::nullopt;
        std::vector<DirEntry> languages;
        if (!readDirectory(name->target(), languages))
            return std::nullopt;
        for (const DirEntry& e : languages)
            if (!e.subdirectory())
                return readData(e.target());
        return std::nullopt;
    }

private:
    bool read(qint64 offset, qint64 len, QByteArray& out) { return len >= 0 && src_.readAt(offset, len, out); }

    bool readHeaders()
    {
        QByteArray dos;
        if (!read(0, 64, dos) || dos[0] != 'M' || dos[1] != 'Z')
            return false;
        const qint64 pe = u32(dos.constData() + 0x3C);
        QByteArray coff;
        if (!read(pe, 24, coff) || !coff.startsWith(QByteArray("PE\0\0", 4)))
            return false;
        const int sectionCount = u16(coff.constData() + 6);
        const int optionalSize = u16(coff.constData() + 20);
        QByteArray opt;
        if (optionalSize < 2 || !read(pe + 24, optionalSize, opt))
            return false;
        const quint16 magic = u16(opt.constData());
        qsizetype countAt = 0;
        qsizetype dirsAt = 0;
        if (magic == 0x10b) {
            countAt = 92;
            dirsAt = 96;
        } else if (magic == 0x20b) {
            countAt = 108;
            dirsAt = 112;
        } else {
            return false;
        }
        // The resource directory is the third data directory.
        if (opt.size() < dirsAt + 3 * 8 || u32(opt.constData() + countAt) < 3)
            return false;
        resourceRva_ = u32(opt.constData() + dirsAt + 16);
        if (resourceRva_ == 0 || u32(opt.constData() + dirsAt + 20) == 0)
            return false;

        QByteArray table;
        if (!read(pe + 24 + optionalSize, qint64(sectionCount) * kSectionHeader, table))
            return false;
        for (int i = 0; i < sectionCount; ++i) {
            const char* s = table.constData() + i * kSectionHeader;
            sections_.push_back({u32(s + 12), u32(s + 16), u32(s + 20)});
        }
        // The resource tree lies in the section that holds its start; its
        // offsets count from there and may not leave that section.
        for (const Section& s : sections_)
            if (resourceRva_ >= s.va && qint64(resourceRva_) < qint64(s.va) + s.rawSize) {
                resourceFile_ = qint64(s.rawPtr) + (resourceRva_ - s.va);
                resourceLimit_ = qint64(s.va) + s.rawSize - resourceRva_;
                return true;
            }
        return false;
    }

    // The entries of the directory at a tree offset; false when it was seen
    // before or does not fit.
    bool readDirectory(quint32 offset, std::vector<DirEntry>& out)
    {
        if (visited_.contains(offset))
            return false;
        visited_.insert(offset);
        QByteArray head;
        if (!readTree(offset, kDirectoryHeader, head))
            return false;
        const qint64 count = qint64(u16(head.constData() + 12)) + u16(head.constData() + 14);
        QByteArray entries;
        if (!readTree(qint64(offset) + kDirectoryHeader, count * kDirectoryEntry, entries))
            return false;
        out.reserve(size_t(count));
        for (qint64 i = 0; i < count; ++i) {
            const char* e = entries.constData() + i * kDirectoryEntry;
            out.push_back({u32(e), u32(e + 4)});
        }
        return true;
    }

    bool readTree(qint64 offset, qint64 len, QByteArray& out)
    {
        if (offset < 0 || len < 0 || offset + len > resourceLimit_)
            return false;
        return read(resourceFile_ + offset, len, out);
    }

    std::optional<QByteArray> readData(quint32 entryOffset)
    {
        QByteArray entry;
        if (!readTree(entryOffset, kDataEntry, entry))
            return std::nullopt;
        const quint32 rva = u32(entry.constData());
        const qint64 size = u32(entry.constData() + 4);
        for (const Section& s : sections_) {
            if (rva < s.va || qint64(rva) >= qint64(s.va) + s.rawSize)
                continue;
            // At most the block's largest size, and no more than the section
            // and the file hold; the block's own lengths are checked later.
            const qint64 offset = qint64(s.rawPtr) + (rva - s.va);
            qint64 len = std::min({size, kMaxVersionBlock, qint64(s.va) + s.rawSize - rva,
                                   src_.size() - offset});
            QByteArray data;
            if (len < 6 || !read(offset, len, data))
                return std::nullopt;
            return data;
        }
        return std::nullopt;
    }

    ByteSource& src_;
    std::vector<Section> sections_;
    quint32 resourceRva_ = 0;
    qint64 resourceFile_ = 0;
    qint64 resourceLimit_ = 0;
    QSet<quint32> visited_;
};

bool isControl(char16_t c)
{
    return c < 0x20 || (c >= 0x7F && c < 0xA0);
}

}  // namespace

bool MemorySource::readAt(qint64 offset, qint64 len, QByteArray& out)
{
    if (offset < 0 || len < 0 || offset > data_.size() || len > data_.size() - offset)
        return false;
    out = data_.mid(offset, len);
    return true;
}

qint64 FileSource::size() const
{
    return reader_.size();
}

bool FileSource::readAt(qint64 offset, qint64 len, QByteArray& out)
{
    if (offset < 0 || len < 0 || offset > reader_.size() || len > reader_.size() - offset)
        return false;
    if (!reader_.seek(offset))
        return false;
    out.resize(len);
    return reader_.read(out.data(), len) == len;
}

std::optional<QByteArray> FindVersionBlock(ByteSource& source)
{
    return PeImage(source).versionBlock();
}

std::optional<VersionBlock::Node> VersionBlock::node(qsizetype at, qsizetype limit) const
{
    limit = std::min(limit, data_.size());
    if (at < 0 || at + 6 > limit)
        return std::nullopt;
    const char* p = data_.constData();
    const qsizetype length = u16(p + at);
    const qsizetype valueLength = u16(p + at + 2);
    const quint16 type = u16(p + at + 4);
    if (length < 6 || length > limit - at)
        return std::nullopt;
    Node n;
    n.end = at + length;
    // The key runs to its NUL, inside the block.
    qsizetype k = at + 6;
    QVarLengthArray<char16_t, 32> key;
    for (;; k += 2) {
        if (k + 2 > n.end)
            return std::nullopt;
        const char16_t c = u16(p + k);
        if (c == 0)
            break;
        key.append(c);
    }
    n.key = QString(reinterpret_cast<const QChar*>(key.constData()), key.size());
    n.valueStart = std::min(align4(k + 2), n.end);
    // Text values count characters, binary ones bytes; some writers count
    // bytes for text too, which the clamp to the block absorbs.
    const qsizetype bytes = type == 1 ? valueLength * 2 : valueLength;
    n.valueBytes = std::min(bytes, n.end - n.valueStart);
    n.childrenStart = std::min(align4(n.valueStart + n.valueBytes), n.end);
    return n;
}

std::optional<VersionBlock::Node> VersionBlock::find(QStringView path) const
{
    std::optional<Node> current = node(0, data_.size());
    if (!current)
        return std::nullopt;
    for (QStringView part : path.split(u'\\', Qt::SkipEmptyParts)) {
        std::optional<Node> found;
        qsizetype at = current->childrenStart;
        while (auto child = node(at, current->end)) {
            if (child->key.compare(part, Qt::CaseInsensitive) == 0) {
                found = child;
                break;
            }
            at = align4(child->end);
        }
        if (!found)
            return std::nullopt;
        current = found;
    }
    return current;
}

std::optional<QByteArray> VersionBlock::value(QStringView path) const
{
    const auto n = find(path);
    if (!n)
        return std::nullopt;
    return data_.mid(n->valueStart, n->valueBytes);
}

std::optional<QString> VersionBlock::text(QStringView path) const
{
    const auto bytes = value(path);
    if (!bytes)
        return std::nullopt;
    QString out;
    out.reserve(bytes->size() / 2);
    for (qsizetype i = 0; i + 2 <= bytes->size(); i += 2) {
        const char16_t c = u16(bytes->constData() + i);
        if (c == 0)
            break;
        out.append(QChar(isControl(c) ? u' ' : c));
    }
    return out;
}

std::optional<std::pair<quint16, quint16>> VersionBlock::translation() const
{
    const auto bytes = value(u"\\VarFileInfo\\Translation");
    if (!bytes || bytes->size() < 4)
        return std::nullopt;
    return std::pair<quint16, quint16>(u16(bytes->constData()), u16(bytes->constData() + 2));
}

QString StringTableName(quint16 language, quint16 codePage)
{
    return QStringLiteral("%1%2").arg(language, 4, 16, QLatin1Char('0')).arg(codePage, 4, 16, QLatin1Char('0'));
}

}  // namespace browse

#include "components/resultgrid.h"

#include <QVarLengthArray>

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <string_view>
#include <unordered_map>

namespace comp {

namespace {

// A row's data: the number of entries, one character that says which
// entries make the path, one descriptor per stored entry, then the
// characters the row itself keeps, entry after entry. Entry 0 is the path,
// entry c + 1 the cell of column c. Trailing empty entries are not stored,
// so an empty row has no data at all.
//
// Numbers below 0x4000 take one character; larger ones (below 2^30) two,
// the first with bit 0x8000 set. A descriptor is such a number, the length
// of an entry the row keeps; or the number of a shared text, tagged 0x4000
// (below 0x2000 in one character, else two with 0x2000 set in the first);
// or the number of a shared folder tagged 0xC000 the same way, followed by
// the length of the name the row keeps (the entry reads as the folder, a
// backslash and the name).
//
// A path that the row's cells already spell out is not stored again: the
// path is one of the cells (a file hog's file name), or a folder cell and a
// name cell joined as a path joins them (a duplicate's folder and file name).
// The path character then holds the entry of the cell or folder in its low
// byte and that of the name in its high byte (0 when the path is the first
// alone, kUpperFirst when it is the first with its leading letter in upper
// case: a folder hog's cell spells the drive letter in lower case), and
// entry 0 has no descriptor. Whatever changes a row encodes it
// again, so a path follows no later change of a cell.

using Views = QVarLengthArray<QStringView, 16>;

constexpr char16_t kLongNumber = 0x8000;
constexpr char16_t kTagMask = 0xC000;
constexpr char16_t kSharedTag = 0x4000;
constexpr char16_t kJoinedTag = 0xC000;
// The high byte of a path recipe that names one cell whose first letter the
// path spells in upper case (so at most 255 entries take part in a recipe).
constexpr char16_t kUpperFirst = 0xFF;
// Longer texts are cut to this many characters (half a billion: no file
// system gives such a name, and no grid shows such a cell); no more texts
// are shared than that either.
constexpr qsizetype kMaxNumber = (qsizetype(1) << 29) - 1;

void putNumber(char16_t*& out, qsizetype n)
{
    if (n < 0x4000) {
        *out++ = char16_t(n);
    } else {
        *out++ = char16_t(kLongNumber | (n >> 16));
        *out++ = char16_t(n & 0xFFFF);
    }
}

void putTagged(char16_t*& out, char16_t tag, quint32 id)
{
    if (id < 0x2000) {
        *out++ = char16_t(tag | id);
    } else {
        *out++ = char16_t(tag | 0x2000 | (id >> 16));
        *out++ = char16_t(id & 0xFFFF);
    }
}

qsizetype numberSize(qsizetype n)
{
    return n < 0x4000 ? 1 : 2;
}

qsizetype takeNumber(const char16_t*& p)
{
    const char16_t c = *p++;
    if (c < 0x4000)
        return c;
    return (qsizetype(c & 0x3FFF) << 16) | *p++;
}

enum PartKind : quint8 { pkInline, pkShared, pkJoined };

struct Part {
    PartKind kind = pkInline;
    quint32 id = 0;             // shared text or folder
    qsizetype length = 0;       // characters kept in the row
    const char16_t* chars = nullptr;
};

struct Parsed {
    qsizetype count = 0;
    char16_t recipe = 0;  // 0: the path is stored
    QVarLengthArray<Part, 16> parts;  // entries firstStored() .. count - 1
    const char16_t* end = nullptr;
    qsizetype firstStored() const { return recipe ? 1 : 0; }
    const Part* part(qsizetype entry) const
    {
        return entry >= firstStored() && entry < count ? &parts[entry - firstStored()] : nullptr;
    }
};

void parse(const char16_t* p, Parsed& out)
{
    out.parts.clear();
    out.count = 0;
    out.recipe = 0;
    out.end = p;
    if (!p)
        return;
    out.count = takeNumber(p);
    out.recipe = *p++;
    for (qsizetype i = out.firstStored(); i < out.count; ++i) {
        Part part;
        const char16_t c = *p;
        if ((c & kTagMask) == kSharedTag || (c & kTagMask) == kJoinedTag) {
            part.kind = (c & kTagMask) == kSharedTag ? pkShared : pkJoined;
            if (c & 0x2000) {
                part.id = (quint32(c & 0x1FFF) << 16) | p[1];
                p += 2;
            } else {
                part.id = c & 0x1FFF;
                ++p;
            }
            if (part.kind == pkJoined)
                part.length = takeNumber(p);
        } else {
            part.length = takeNumber(p);
        }
        out.parts.append(part);
    }
    for (Part& part : out.parts) {
        part.chars = p;
        p += part.length;
    }
    out.end = p;
}

// folder and name joined with one backslash, as paths are joined.
void joinPath(QStringView folder, QStringView name, QString& out)
{
    out.resize(0);
    out += folder;
    if (!folder.isEmpty() && !folder.endsWith(u'\\'))
        out += u'\\';
    out += name;
}

// The entries that spell out the path (entries[0]), or 0.
char16_t recipeFor(const Views& entries, qsizetype count)
{
    const QStringView path = entries[0];
    if (path.isEmpty() || count > 255)
        return 0;
    for (qsizetype a = 1; a < count; ++a)
        if (entries[a] == path)
            return char16_t(a);
    const QChar lead = path[0];
    if (lead.unicode() >= u'A' && lead.unicode() <= u'Z') {
        const QChar lower(lead.unicode() + (u'a' - u'A'));
        for (qsizetype a = 1; a < count; ++a)
            if (entries[a].size() == path.size() && entries[a][0] == lower && entries[a].mid(1) == path.mid(1))
                return char16_t(a | (kUpperFirst << 8));
    }
    for (qsizetype a = 1; a < count; ++a) {
        const QStringView folder = entries[a];
        if (folder.isEmpty() || folder.size() >= path.size() || !path.startsWith(folder))
            continue;
        qsizetype at = folder.size();
        if (!folder.endsWith(u'\\')) {
            if (path[at] != u'\\')
                continue;
            ++at;
        }
        const QStringView name = path.mid(at);
        for (qsizetype b = 1; b < count; ++b)
            if (entries[b] == name)
                return char16_t(a | (b << 8));
    }
    return 0;
}

// Memory handed out in large chunks that never move; a request larger than
// a quarter chunk gets a chunk of its own. A place is also named by a 32-bit
// reference (never 0): the chunk's number plus one, times 2^15, plus the
// offset in it.
class Chunks {
public:
    static constexpr qsizetype kChunk = 32768;  // characters
    static constexpr int kShift = 15;

    struct Taken {
        char16_t* at;
        quint32 ref;
    };
    Taken take(qsizetype n)
    {
        if (chunks_.size() + 1 >= (size_t(1) << (32 - kShift)))
            throw std::length_error("result grid: text store full");
        if (n > kChunk / 4) {
            chunks_.emplace_back(new char16_t[size_t(n)]);
            chars_ += size_t(n);
            return {chunks_.back().get(), quint32(chunks_.size() << kShift)};
        }
        if (n > left_) {
            chunks_.emplace_back(new char16_t[size_t(kChunk)]);
            chars_ += size_t(kChunk);
            current_ = chunks_.size();
            left_ = kChunk;
        }
        const qsizetype offset = kChunk - left_;
        left_ -= n;
        return {chunks_[current_ - 1].get() + offset, quint32((current_ << kShift) | size_t(offset))};
    }
    const char16_t* at(quint32 ref) const
    {
        return ref ? chunks_[(ref >> kShift) - 1].get() + (ref & ((1u << kShift) - 1)) : nullptr;
    }
    // Characters held, and the bytes that costs.
    size_t chars() const { return chars_; }
    size_t bytes() const { return chars_ * sizeof(char16_t) + chunks_.size() * (16 + sizeof(void*)); }

private:
    std::vector<std::unique_ptr<char16_t[]>> chunks_;
    size_t current_ = 0;  // the chunk that takes small requests, plus one
    qsizetype left_ = 0;
    size_t chars_ = 0;
};

}  // namespace

struct ResultGrid::Store {
    Chunks rows;
    size_t live = 0;   // characters of row data in use
    size_t waste = 0;  // characters of row data no row refers to any more

    // Shared texts: each distinct one once, by number.
    Chunks textChunks;
    std::vector<std::u16string_view> texts;
    std::unordered_map<std::u16string_view, quint32> ids;
    size_t textChars = 0;

    // The texts interned lately, by where the caller held them: a search
    // hands in its own shared texts (dates, types) row after row, and a
    // match of the characters is cheaper than a hash of them.
    struct Recent {
        const char16_t* at = nullptr;
        qsizetype size = 0;
        quint32 id = 0;
    };
    std::vector<Recent> recent = std::vector<Recent>(1024);

    quint32 intern(QStringView text)
    {
        Recent& r = recent[(quintptr(text.utf16()) >> 1 ^ size_t(text.size()) * 31) % recent.size()];
        if (r.at == text.utf16() && r.size == text.size() && r.id < texts.size()
            && texts[r.id].size() == size_t(text.size()) && std::equal(texts[r.id].begin(), texts[r.id].end(), text.utf16()))
            return r.id;
        const quint32 id = internByHash(text);
        r = {text.utf16(), text.size(), id};
        return id;
    }
    quint32 internByHash(QStringView text)
    {
        const std::u16string_view key(text.utf16(), size_t(text.size()));
        const auto it = ids.find(key);
        if (it != ids.end())
            return it->second;
        char16_t* at = textChunks.take(text.size()).at;
        std::copy_n(text.utf16(), text.size(), at);
        const std::u16string_view kept(at, key.size());
        const auto id = quint32(texts.size());
        texts.push_back(kept);
        ids.emplace(kept, id);
        textChars += kept.size();
        return id;
    }
    QStringView text(quint32 id) const
    {
        return id < texts.size() ? QStringView(texts[id].data(), qsizetype(texts[id].size())) : QStringView();
    }
    // Whether more texts and folders can be numbered.
    bool canIntern() const { return texts.size() < size_t(kMaxNumber) && folders.size() < size_t(kMaxNumber); }

    // Shared folders: a folder is its parent folder (up to its last
    // backslash), a backslash and its name, or only a name; so a long path
    // costs its last part once per folder.
    struct Folder {
        const char16_t* name;
        quint32 length;
        quint32 parent;  // the parent's number plus one, 0 for none
    };
    std::vector<Folder> folders;
    std::unordered_multimap<size_t, quint32> folderByHash;  // by the hash of the folder's text

    // Folders are long texts hashed once per row, so the hash reads them
    // eight bytes at a time; a match is always checked against the text.
    static size_t hashOf(QStringView text)
    {
        const auto* p = reinterpret_cast<const unsigned char*>(text.utf16());
        size_t n = size_t(text.size()) * sizeof(char16_t);
        quint64 h = 0x9E3779B97F4A7C15ULL ^ n;
        auto mix = [&h](quint64 w) {
            h = (h ^ w) * 0xBF58476D1CE4E5B9ULL;
            h ^= h >> 31;
        };
        for (; n >= 8; p += 8, n -= 8) {
            quint64 w;
            std::memcpy(&w, p, 8);
            mix(w);
        }
        quint64 tail = 0;
        if (n)
            std::memcpy(&tail, p, n);
        mix(tail);
        return size_t(h);
    }
    bool folderIs(quint32 id, QStringView text) const
    {
        const char16_t* begin = text.utf16();
        const char16_t* end = begin + text.size();
        for (;;) {
            const Folder& f = folders[id];
            if (end - begin < qsizetype(f.length))
                return false;
            end -= f.length;
            if (std::memcmp(end, f.name, f.length * sizeof(char16_t)) != 0)
                return false;
            if (f.parent == 0)
                return end == begin;
            if (end == begin || *--end != u'\\')
                return false;
            id = f.parent - 1;
        }
    }
    qint64 findFolder(QStringView text) const
    {
        const auto [from, to] = folderByHash.equal_range(hashOf(text));
        for (auto it = from; it != to; ++it)
            if (folderIs(it->second, text))
                return it->second;
        return -1;
    }
    quint32 internFolder(QStringView text)
    {
        // The longest part of the text, up to a backslash, that is known
        // already; then the folders after it, shortest first.
        QVarLengthArray<qsizetype, 32> ends;
        qint64 parent = -1;
        for (qsizetype end = text.size();;) {
            const QStringView prefix = text.left(end);
            parent = findFolder(prefix);
            if (parent >= 0)
                break;
            ends.append(end);
            end = prefix.lastIndexOf(u'\\');
            if (end < 0)
                break;
        }
        for (qsizetype i = ends.size() - 1; i >= 0; --i) {
            const QStringView prefix = text.left(ends[i]);
            const qsizetype start = parent >= 0 ? prefix.lastIndexOf(u'\\') + 1 : 0;
            const QStringView name = prefix.mid(start);
            char16_t* at = textChunks.take(name.size()).at;
            std::copy_n(name.utf16(), name.size(), at);
            folders.push_back({at, quint32(name.size()), quint32(parent + 1)});
            textChars += size_t(name.size());
            parent = qint64(folders.size() - 1);
            folderByHash.emplace(hashOf(prefix), quint32(parent));
        }
        return quint32(parent);
    }
    // A folder's text is written from its last name back, once its length
    // is known.
    qsizetype folderLength(quint32 id) const
    {
        qsizetype length = -1;
        for (quint64 f = quint64(id) + 1; f != 0 && f <= folders.size(); f = folders[size_t(f - 1)].parent)
            length += qsizetype(folders[size_t(f - 1)].length) + 1;
        return std::max<qsizetype>(length, 0);
    }
    // Writes the text of folderLength(id) characters ending at end.
    void writeFolder(quint32 id, char16_t* end) const
    {
        bool last = true;
        for (quint64 f = quint64(id) + 1; f != 0 && f <= folders.size(); f = folders[size_t(f - 1)].parent) {
            const Folder& folder = folders[size_t(f - 1)];
            if (!last)
                *--end = u'\\';
            last = false;
            end -= folder.length;
            std::copy_n(folder.name, folder.length, end);
        }
    }
    void folderText(quint32 id, QString& out) const
    {
        const qsizetype length = folderLength(id);
        const qsizetype at = out.size();
        out.resize(at + length);
        writeFolder(id, reinterpret_cast<char16_t*>(out.data()) + at + length);
    }
    // A cell of a folder and a name.
    void joinedText(quint32 folder, QStringView name, QString& out) const
    {
        out.resize(0);
        folderText(folder, out);
        out += u'\\';
        out += name;
    }

    // Writes a row's entries; 0 when they are all empty. stores[c] is the
    // way the cell of column c is kept (the path is kept in the row).
    quint32 encode(const Views& entries, const std::vector<CellStore>& stores)
    {
        qsizetype count = entries.size();
        while (count > 0 && entries[count - 1].isEmpty())
            --count;
        if (count == 0)
            return 0;
        const char16_t recipe = recipeFor(entries, count);
        const qsizetype first = recipe ? 1 : 0;
        QVarLengthArray<char16_t, 64> desc;
        QVarLengthArray<QStringView, 16> kept;
        qsizetype keptChars = 0;
        for (qsizetype i = first; i < count; ++i) {
            QStringView e = entries[i].left(kMaxNumber);
            const CellStore how = i > 0 && size_t(i - 1) < stores.size() ? stores[size_t(i - 1)] : Inline;
            char16_t buf[4];
            char16_t* out = buf;
            if (how == Shared && !e.isEmpty() && canIntern()) {
                putTagged(out, kSharedTag, intern(e));
                e = {};
            } else if (how == ByFolder && canIntern()) {
                const qsizetype slash = e.lastIndexOf(u'\\');
                if (slash >= 0) {
                    putTagged(out, kJoinedTag, internFolder(e.left(slash)));
                    e = e.mid(slash + 1);
                }
                putNumber(out, e.size());
            } else {
                putNumber(out, e.size());
            }
            desc.append(buf, out - buf);
            kept.append(e);
            keptChars += e.size();
        }
        const qsizetype total = numberSize(count) + 1 + desc.size() + keptChars;
        const Chunks::Taken data = rows.take(total);
        char16_t* out = data.at;
        putNumber(out, count);
        *out++ = recipe;
        out = std::copy(desc.begin(), desc.end(), out);
        for (QStringView e : kept)
            out = std::copy_n(e.utf16(), e.size(), out);
        live += size_t(total);
        return data.ref;
    }
    const char16_t* row(quint32 ref) const { return rows.at(ref); }
};

namespace {

qsizetype dataLength(const char16_t* data)
{
    if (!data)
        return 0;
    Parsed parsed;
    parse(data, parsed);
    return parsed.end - data;
}

}  // namespace

ResultGrid::ResultGrid(int columns, int rows)
    : rows_(size_t(std::max(rows, 1))), store_(std::make_unique<Store>()), cols_(std::max(columns, 0))
{
}

ResultGrid::ResultGrid(const ResultGrid& other) : store_(std::make_unique<Store>())
{
    copyFrom(other);
}

ResultGrid& ResultGrid::operator=(const ResultGrid& other)
{
    if (this != &other) {
        copyFrom(other);
        notify();
    }
    return *this;
}

ResultGrid::~ResultGrid()
{
    if (gone_)
        gone_();
}

void ResultGrid::copyFrom(const ResultGrid& other)
{
    // The shared texts are numbered again in the same order, so they keep
    // their numbers and the rows' data is copied as it is.
    auto store = std::make_unique<Store>();
    for (const std::u16string_view& t : other.store_->texts)
        store->intern(QStringView(t.data(), qsizetype(t.size())));
    QString text;
    for (size_t f = 0; f < other.store_->folders.size(); ++f) {
        text.resize(0);
        other.store_->folderText(quint32(f), text);
        store->internFolder(text);
    }
    std::vector<Row> rows = other.rows_;
    for (Row& r : rows) {
        const char16_t* data = other.store_->row(r.data);
        const qsizetype n = dataLength(data);
        if (n == 0)
            continue;
        const Chunks::Taken to = store->rows.take(n);
        std::copy_n(data, n, to.at);
        r.data = to.ref;
        store->live += size_t(n);
    }
    rows_ = std::move(rows);
    store_ = std::move(store);
    columnStores_ = other.columnStores_;
    cols_ = other.cols_;
    rowsUsed_ = other.rowsUsed_;
}

void ResultGrid::dropData(Row& r)
{
    const auto n = size_t(dataLength(store_->row(r.data)));
    store_->live -= n;
    store_->waste += n;
    r.data = 0;
}

void ResultGrid::compactIfWasteful()
{
    Store& s = *store_;
    if (s.waste <= size_t(Chunks::kChunk) || s.waste <= s.live)
        return;
    Chunks fresh;
    for (Row& r : rows_) {
        const char16_t* data = s.row(r.data);
        const qsizetype n = dataLength(data);
        if (n == 0)
            continue;
        const Chunks::Taken to = fresh.take(n);
        std::copy_n(data, n, to.at);
        r.data = to.ref;
    }
    s.rows = std::move(fresh);
    s.waste = 0;
}

void ResultGrid::setColumnStore(int column, CellStore how)
{
    if (column < 0 || column >= 4096)
        return;
    if (size_t(column) >= columnStores_.size())
        columnStores_.resize(size_t(column) + 1, Inline);
    columnStores_[size_t(column)] = how;
}

ResultGrid::CellStore ResultGrid::columnStore(int column) const
{
    return column >= 0 && size_t(column) < columnStores_.size() ? columnStores_[size_t(column)] : Inline;
}

void ResultGrid::setRowCount(int rows)
{
    const size_t n = size_t(std::max(rows, 1));
    for (size_t r = n; r < rows_.size(); ++r)
        dropData(rows_[r]);
    rows_.resize(n);
    compactIfWasteful();
    notify();
}

namespace {

// Every entry of a row as text: views of the row's data and the shared
// texts, and texts put together in owned (a path made of cells, a cell of
// a folder and a name).
void decode(const char16_t* data, const ResultGrid::Store& store, Views& out, std::vector<QString>& owned)
{
    out.clear();
    owned.clear();
    Parsed parsed;
    parse(data, parsed);
    if (parsed.count == 0)
        return;
    owned.reserve(size_t(parsed.count) + 1);  // views of them must not move
    if (parsed.recipe)
        out.append(QStringView());
    for (const Part& part : parsed.parts) {
        const QStringView own(part.chars, part.length);
        if (part.kind == pkShared) {
            out.append(store.text(part.id));
        } else if (part.kind == pkJoined) {
            owned.emplace_back();
            store.joinedText(part.id, own, owned.back());
            out.append(owned.back());
        } else {
            out.append(own);
        }
    }
    if (parsed.recipe) {
        const qsizetype a = parsed.recipe & 0xFF;
        const qsizetype b = parsed.recipe >> 8;
        owned.emplace_back();
        if (b == 0) {
            owned.back() = out[a].toString();
        } else if (b == kUpperFirst) {
            owned.back() = out[a].toString();
            owned.back()[0] = QChar(owned.back()[0].unicode() - (u'a' - u'A'));
        } else {
            joinPath(out[a], out[b], owned.back());
        }
        out[0] = owned.back();
    }
}

}  // namespace

void ResultGrid::setData(int row, const void* entries)
{
    Row& r = rows_[size_t(row)];
    const char16_t* old = store_->row(r.data);
    r.data = store_->encode(*static_cast<const Views*>(entries), columnStores_);
    // The old data stays where it was until the grid is compacted: the new
    // texts may have been views of it.
    const auto n = size_t(dataLength(old));
    store_->live -= n;
    store_->waste += n;
    compactIfWasteful();
}

void ResultGrid::setColCount(int columns)
{
    columns = std::max(columns, 0);
    if (columns < cols_) {
        // Dropped columns must not come back when the grid widens again.
        Views v;
        std::vector<QString> owned;
        for (size_t r = 0; r < rows_.size(); ++r) {
            decode(store_->row(rows_[r].data), *store_, v, owned);
            if (v.size() > columns + 1) {
                v.resize(columns + 1);
                setData(int(r), &v);
            }
        }
    }
    cols_ = columns;
    notify();
}

QStringView ResultGrid::entryView(int row, int entry) const
{
    if (!valid(row))
        return {};
    Parsed parsed;
    parse(store_->row(rows_[size_t(row)].data), parsed);
    const Part* part = parsed.part(entry);
    if (!part)
        return {};  // a path made of cells has no view of its own: see path()
    const QStringView own(part->chars, part->length);
    switch (part->kind) {
    case pkShared:
        return store_->text(part->id);
    case pkJoined: {
        QString& s = joined_[size_t(nextJoined_)];
        nextJoined_ = (nextJoined_ + 1) % kJoinedViews;
        store_->joinedText(part->id, own, s);
        return s;
    }
    case pkInline:
        break;
    }
    return own;
}

void ResultGrid::appendJoinedCells(int row, QChar separator, QString& out) const
{
    if (!valid(row) || cols_ <= 0)
        return;
    Parsed parsed;
    parse(store_->row(rows_[size_t(row)].data), parsed);
    // The length first, then one write: a listing prints a million rows.
    qsizetype length = cols_ - 1;
    for (int c = 0; c < cols_; ++c) {
        if (const Part* part = parsed.part(c + 1)) {
            length += part->length;
            if (part->kind == pkShared)
                length += store_->text(part->id).size();
            else if (part->kind == pkJoined)
                length += store_->folderLength(part->id) + 1;
        }
    }
    const qsizetype at = out.size();
    out.resize(at + length);
    char16_t* p = reinterpret_cast<char16_t*>(out.data()) + at;
    for (int c = 0; c < cols_; ++c) {
        if (c)
            *p++ = separator.unicode();
        const Part* part = parsed.part(c + 1);
        if (!part)
            continue;
        if (part->kind == pkShared) {
            const QStringView text = store_->text(part->id);
            p = std::copy_n(text.utf16(), text.size(), p);
        } else if (part->kind == pkJoined) {
            p += store_->folderLength(part->id);
            store_->writeFolder(part->id, p);
            *p++ = u'\\';
        }
        p = std::copy_n(part->chars, part->length, p);
    }
}

QString ResultGrid::path(int row) const
{
    if (!valid(row))
        return QString();
    const char16_t* data = store_->row(rows_[size_t(row)].data);
    Parsed parsed;
    parse(data, parsed);
    if (parsed.count == 0)
        return QString();
    if (parsed.recipe == 0)
        return entryView(row, 0).toString();
    Views v;
    std::vector<QString> owned;
    decode(data, *store_, v, owned);
    return v[0].toString();
}

QStringView ResultGrid::cellView(int row, int column) const
{
    if (column < 0 || column >= cols_)
        return {};
    return entryView(row, column + 1);
}

void ResultGrid::setEntry(int row, int entry, QStringView text)
{
    Views v;
    std::vector<QString> owned;
    decode(store_->row(rows_[size_t(row)].data), *store_, v, owned);
    // QVarLengthArray::resize leaves new views uninitialised; append them.
    while (v.size() <= entry)
        v.append(QStringView());
    // The text may be a view of a buffer that reading the row reuses.
    const QString copy = text.toString();
    v[entry] = copy;
    setData(row, &v);
    notify();
}

void ResultGrid::setCell(int row, int column, const QString& text)
{
    if (valid(row) && column >= 0 && column < cols_)
        setEntry(row, column + 1, text);
}

QStringList ResultGrid::rowCells(int row) const
{
    QStringList cells;
    cells.reserve(cols_);
    for (int c = 0; c < cols_; ++c)
        cells.append(cellView(row, c).toString());
    return cells;
}

void ResultGrid::setRow(int row, const QStringList& cells, const QString& path)
{
    if (!valid(row))
        return;
    Views v;
    v.append(path);
    for (int c = 0; c < cols_; ++c)
        v.append(c < cells.size() ? QStringView(cells[c]) : QStringView());
    setData(row, &v);
    notify();
}

void ResultGrid::setRowCells(int row, const QStringList& cells)
{
    if (valid(row))
        setRow(row, cells, path(row));
}

void ResultGrid::setPath(int row, const QString& path)
{
    if (valid(row))
        setEntry(row, 0, path);
}

void ResultGrid::setMarked(int row, bool on)
{
    if (valid(row) && rows_[size_t(row)].mark != on) {
        rows_[size_t(row)].mark = on;
        notify();
    }
}

int ResultGrid::markedCount() const
{
    return int(std::count_if(rows_.begin(), rows_.end(), [](const Row& r) { return r.mark; }));
}

void ResultGrid::clearMarks()
{
    for (Row& r : rows_)
        r.mark = false;
    notify();
}

void ResultGrid::setShade(int row, quint8 shade)
{
    if (valid(row)) {
        rows_[size_t(row)].shade = shade;
        notify();
    }
}

void ResultGrid::setTag(int row, quint64 tag)
{
    if (valid(row))
        rows_[size_t(row)].tag = tag;
}

void ResultGrid::clearRow(int row)
{
    if (valid(row)) {
        dropData(rows_[size_t(row)]);
        rows_[size_t(row)] = Row();
        compactIfWasteful();
        notify();
    }
}

void ResultGrid::reset(const QStringList& titles)
{
    rows_.clear();
    rows_.resize(2);
    store_ = std::make_unique<Store>();
    rowsUsed_ = 0;
    cols_ = int(titles.size());
    setTitles(titles);
}

int ResultGrid::addRow(const QStringList& cells, const QString& path)
{
    const int r = rowsUsed_ + 1;
    if (r >= rowCount())
        rows_.resize(rows_.size() + kGrowBy);
    rowsUsed_ = r;
    setRow(r, cells, path);
    return r;
}

int ResultGrid::addRowViews(std::span<const QStringView> cells, QStringView path)
{
    const int r = rowsUsed_ + 1;
    if (r >= rowCount())
        rows_.resize(rows_.size() + kGrowBy);
    rowsUsed_ = r;
    Views v;
    v.append(path);
    for (int c = 0; c < cols_; ++c)
        v.append(size_t(c) < cells.size() ? cells[size_t(c)] : QStringView());
    setData(r, &v);
    notify();
    return r;
}

void ResultGrid::fitRowCount()
{
    setRowCount(std::max(rowsUsed_ + 1, 2));
}

void ResultGrid::removeRow(int row)
{
    if (row < 1 || row >= rowCount())
        return;
    dropData(rows_[size_t(row)]);
    rows_.erase(rows_.begin() + row);
    compactIfWasteful();
    notify();
}

void ResultGrid::permuteRows(int first, const std::vector<int>& order)
{
    const size_t n = order.size();
    if (n == 0)
        return;
    if (first < 0 || size_t(first) + n > rows_.size())
        throw std::out_of_range("permuteRows: block outside the grid");
    std::vector<bool> seen(n, false);
    for (int from : order) {
        const long k = long(from) - first;
        if (k < 0 || size_t(k) >= n || seen[size_t(k)])
            throw std::invalid_argument("permuteRows: not a permutation");
        seen[size_t(k)] = true;
    }
    std::vector<Row> old(rows_.begin() + first, rows_.begin() + first + long(n));
    for (size_t k = 0; k < n; ++k)
        rows_[size_t(first) + k] = old[size_t(order[k] - first)];
    notify();
}

size_t ResultGrid::memoryBytes() const
{
    // A hash node costs its key, its value and the allocator's bookkeeping;
    // a bucket one pointer.
    const Store& s = *store_;
    size_t bytes = sizeof(*this) + sizeof(Store) + rows_.capacity() * sizeof(Row) + s.rows.bytes()
                   + s.textChunks.bytes() + s.texts.capacity() * sizeof(std::u16string_view)
                   + s.ids.bucket_count() * sizeof(void*) + s.ids.size() * 48
                   + s.folders.capacity() * sizeof(Store::Folder) + s.folderByHash.bucket_count() * sizeof(void*)
                   + s.folderByHash.size() * 48
                   + columnStores_.capacity() * sizeof(CellStore) + s.recent.capacity() * sizeof(Store::Recent);
    for (const QString& j : joined_)
        if (!j.isNull())
            bytes += 32 + size_t(j.capacity()) * sizeof(QChar);
    return bytes;
}

size_t ResultGrid::textBytes() const
{
    // The characters stored: a path made of cells is no extra text, and a
    // shared text counts once.
    size_t chars = store_->textChars;
    Parsed parsed;
    for (const Row& r : rows_) {
        parse(store_->row(r.data), parsed);
        for (const Part& part : parsed.parts)
            chars += size_t(part.length);
    }
    return chars * sizeof(QChar);
}

}  // namespace comp

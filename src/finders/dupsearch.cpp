#include "finders/dupsearch.h"

#include "core/dostexts.h"
#include "core/helpers.h"
#include "finders/blockcrc.h"
#include "finders/filewalk.h"
#include "finders/scanscope.h"
#include "platform/fileops.h"
#include "reports/sortgrid.h"

#include <QDate>
#include <QLocale>

#include <algorithm>
#include <array>
#include <limits>
#include <numeric>

namespace finders {

namespace {

// The line fields of each matching mode, in line order, as indexes into the
// field texts name, size, date, time, access, folder, type.
enum Field { fName, fSize, fDate, fTime, fAccess, fFolder, fType, kFieldCount };
using FieldOrder = std::array<int, kFieldCount>;
constexpr FieldOrder kNameFirst = {fName, fSize, fDate, fTime, fAccess, fFolder, fType};
constexpr FieldOrder kSizeFirst = {fSize, fName, fDate, fTime, fAccess, fFolder, fType};
constexpr FieldOrder kTypeFirst = {fType, fDate, fTime, fName, fSize, fAccess, fFolder};

const FieldOrder& OrderOf(int mode)
{
    if (mode >= mmSize && mode <= mmSizeType)
        return kSizeFirst;
    if (mode == mmTypeDateTime)
        return kTypeFirst;
    return kNameFirst;
}

// The line fields (1-based, as TabField counts) that make the key.
QList<int> KeyFieldsOf(int mode)
{
    switch (mode) {
    case mmFilename: return {1};
    case mmFilenameSize: return {1, 2};
    case mmFilenameSizeDateTime: return {1, 2, 3, 4};
    case mmSize: return {1};
    case mmSizeDateTime: return {1, 3, 4};
    case mmSizeType: return {1, 7};
    case mmTypeDateTime: return {1, 2, 3};
    default: return {1};
    }
}

QString FolderText(const QString& folder)
{
    // No trailing backslash except at a drive's root.
    if (folder.size() > 3 && folder.endsWith('\\'))
        return folder.chopped(1);
    return folder;
}

}  // namespace

QStringList MatchModeCaptions()
{
    return {QStringLiteral("Filename only"),
            QStringLiteral("Filename and size (CRC)"),
            QStringLiteral("Filename, size and modify date/time (CRC)"),
            QStringLiteral("Size only (CRC)"),
            QStringLiteral("Size and modify date/time (CRC)"),
            QStringLiteral("Size and type"),
            QStringLiteral("Type and modify date/time")};
}

bool MatchModeOffersCrc(int mode)
{
    return mode >= mmFilenameSize && mode <= mmSizeDateTime;
}

qint64 LowerLimit(const DupCriteria& c)
{
    return qint64(c.num1) * (c.unitKB ? 1024 : 1);
}

qint64 UpperLimit(const DupCriteria& c)
{
    return qint64(c.num2) * (c.unitKB ? 1024 : 1);
}

bool PassesSizeTest(quint64 size, SizeRelation relation, qint64 lower, qint64 upper)
{
    const auto s = qint64(std::min<quint64>(size, quint64(std::numeric_limits<qint64>::max())));
    switch (relation) {
    case SizeRelation::LargerOrEqual: return s >= lower;
    case SizeRelation::SmallerOrEqual: return s <= lower;
    case SizeRelation::Between: return lower <= s && s <= upper;
    }
    return false;
}

QStringList DupTitles()
{
    return {"Filename", "Size", "Modified", "Time", "Access", "Folder", "Type"};
}

QStringList HogTitles()
{
    return {"Size", "Modified", "Time", "Access", "FileName", "Type"};
}

// ---------------------------------------------------------------------------
// The listing
//
// Each listed file stands for a line: its field texts joined by tabs in the
// order of the matching mode. The lines are sorted without regard to case,
// ties in order of arrival, and runs of equal keys become the groups. The
// lines are never built; records stand for them exactly, at a fraction of
// the memory and time:
//
// - A line compares without regard to case field by field: the fields are
//   separated by tabs, and no field holds a character below the tab (names
//   and folders have no control characters; the type names and date and
//   time texts are taken to have none either, as splitting the line at its
//   tabs always did), so the first field that differs decides, and a field
//   that is a prefix of the other sorts first, as the tab after it does.
// - A date, time, folder or type text is made once per DOS date, DOS time,
//   folder or extension; two files that share one compare equal there
//   without looking at it. A name compares as text. A size compares by a
//   number made from its grouped digits that orders as the text does.
// - Keys and row cells are made from the same texts the lines held, and the
//   sort is stable on records in the order the files were found.

namespace {

constexpr quint32 kUnset = 0xFFFFFFFFu;

// Leading and trailing blanks and control characters off, as TabField does.
QStringView TrimControls(QStringView s)
{
    qsizetype b = 0, e = s.size();
    while (b < e && s[b].unicode() <= 32)
        ++b;
    while (e > b && s[e - 1].unicode() <= 32)
        --e;
    return s.mid(b, e - b);
}

// Texts back to back in blocks; a text is its start and length. A text
// longer than a block gets a block of its own. A start is the block's number
// times 2^14 plus the offset in it: room for 4 G characters.
class TextStore {
public:
    quint32 add(QStringView s)
    {
        const qsizetype n = s.size();
        if (n == 0)
            return 0;
        if (n > kBlock) {
            blocks_.emplace_back(new char16_t[size_t(n)]);
            used_ = kBlock;  // nothing more goes into it
        } else if (blocks_.empty() || used_ + n > kBlock) {
            blocks_.emplace_back(new char16_t[size_t(kBlock)]);
            used_ = 0;
        }
        Q_ASSERT(blocks_.size() <= (size_t(1) << (32 - kShift)));
        const auto at = quint32((blocks_.size() - 1) << kShift | size_t(used_));
        std::copy_n(s.utf16(), n, blocks_.back().get() + used_);
        used_ += n;
        return at;
    }
    QStringView view(quint32 at, quint32 length) const
    {
        if (length == 0)
            return {};
        return QStringView(blocks_[at >> kShift].get() + (at & (kBlock - 1)), qsizetype(length));
    }

private:
    static constexpr int kShift = 14;
    static constexpr qsizetype kBlock = qsizetype(1) << kShift;  // characters
    std::vector<std::unique_ptr<char16_t[]>> blocks_;
    qsizetype used_ = 0;
};

// Texts, each with a number. The same text may come twice (say the time
// text of a valid time and the fallback text for an invalid one); ranks
// compare them as equal, and equality tests compare the texts.
class TextTable {
public:
    quint32 add(QStringView text)
    {
        spans_.push_back({store_.add(text), quint32(text.size())});
        return quint32(spans_.size() - 1);
    }
    QStringView text(quint32 id) const { return store_.view(spans_[id].first, spans_[id].second); }
    size_t size() const { return spans_.size(); }

private:
    TextStore store_;
    std::vector<std::pair<quint32, quint32>> spans_;
};

// The sign of QString::compare(a, b, Qt::CaseInsensitive), sooner: while
// both texts are ASCII, folding the case is making A to Z lower case.
int CompareNoCase(QStringView a, QStringView b)
{
    const qsizetype n = std::min(a.size(), b.size());
    for (qsizetype i = 0; i < n; ++i) {
        char16_t x = a[i].unicode(), y = b[i].unicode();
        if (x >= 128 || y >= 128) {
            // What came before is plain ASCII, so no surrogate pair is cut.
            const int c = a.mid(i).compare(b.mid(i), Qt::CaseInsensitive);
            return c < 0 ? -1 : (c > 0 ? 1 : 0);
        }
        if (x >= u'A' && x <= u'Z')
            x += 32;
        if (y >= u'A' && y <= u'Z')
            y += 32;
        if (x != y)
            return x < y ? -1 : 1;
    }
    return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

// Sizes as FormatGroupedF writes them, and numbers that order as those texts
// do without regard to case.
class SizeTexts {
public:
    using Key = unsigned __int128;

    SizeTexts() : separator_(QLocale().groupSeparator())
    {
        // Each character of the text becomes 4 bits of the key, in the order
        // of its folded code: the end of the text 0, then the separator and
        // the digits as they compare. A separator that folds to a digit, or
        // one of several characters, leaves the texts to be compared as such.
        if (separator_.isEmpty()) {
            keys_ = true;
            digitBase_ = 1;
        } else if (separator_.size() == 1) {
            const char16_t folded = separator_.at(0).toCaseFolded().unicode();
            if (folded < u'0') {
                keys_ = true;
                separatorCode_ = 1;
                digitBase_ = 2;
            } else if (folded > u'9') {
                keys_ = true;
                digitBase_ = 1;
                separatorCode_ = 11;
            }
        }
    }

    bool hasKeys() const { return keys_; }

    // The text of a size; out's buffer is reused.
    void text(quint64 size, QString& out) const
    {
        if (size >= kExact) {
            out = core::FormatGroupedF(double(size));
            return;
        }
        char16_t digits[20];
        int n = 0;
        do {
            digits[n++] = char16_t(u'0' + size % 10);
            size /= 10;
        } while (size);
        // Sized once and written in place: a million rows each take this.
        const qsizetype sep = separator_.size();
        out.resize(n + (n - 1) / 3 * sep);
        char16_t* o = reinterpret_cast<char16_t*>(out.data());
        for (int i = 0; i < n; ++i) {
            if (i > 0 && (n - i) % 3 == 0)
                o = std::copy_n(reinterpret_cast<const char16_t*>(separator_.constData()), sep, o);
            *o++ = digits[n - 1 - i];
        }
    }
    QString text(quint64 size) const
    {
        QString out;
        text(size, out);
        return out;
    }

    // Only where hasKeys().
    Key key(quint64 size) const
    {
        Key key = 0;
        int shift = 124;
        auto put = [&](unsigned code) {
            key |= Key(code) << shift;
            shift -= 4;
        };
        if (size >= kExact) {
            for (QChar c : core::FormatGroupedF(double(size)))
                put(c.isDigit() && c.unicode() < 128 ? digitBase_ + (c.unicode() - u'0') : separatorCode_);
            return key;
        }
        unsigned digits[20];
        int n = 0;
        do {
            digits[n++] = unsigned(size % 10);
            size /= 10;
        } while (size);
        for (int i = 0; i < n; ++i) {
            if (i > 0 && (n - i) % 3 == 0 && separatorCode_)
                put(separatorCode_);
            put(digitBase_ + digits[n - 1 - i]);
        }
        return key;
    }

    // Below 2^53 a size's text is its digits, grouped.
    static bool exact(quint64 size) { return size < kExact; }
    // Whether the number sort reads such a text as the size itself.
    bool keyIsValue(QChar decimalPoint) const { return reports::GroupedDigitsReadAsValue(separator_, decimalPoint); }

    // Whether two sizes have the same text.
    bool sameText(quint64 a, quint64 b) const
    {
        if (a < kExact && b < kExact)
            return a == b;
        return text(a) == text(b);
    }

private:
    // Below 2^53 a size is exact as a double, and its text is its digits.
    static constexpr quint64 kExact = quint64(1) << 53;
    QString separator_;
    bool keys_ = false;
    unsigned separatorCode_ = 0;
    unsigned digitBase_ = 1;
};

// Plain ASCII compares and lowers cheaply.
bool IsAscii(QStringView s)
{
    for (QChar c : s)
        if (c.unicode() >= 128)
            return false;
    return true;
}

bool SameLowerCase(QStringView a, QStringView b)
{
    if (IsAscii(a) && IsAscii(b)) {
        if (a.size() != b.size())
            return false;
        for (qsizetype i = 0; i < a.size(); ++i) {
            char16_t x = a[i].unicode(), y = b[i].unicode();
            if (x >= u'A' && x <= u'Z')
                x += 32;
            if (y >= u'A' && y <= u'Z')
                y += 32;
            if (x != y)
                return false;
        }
        return true;
    }
    return a.toString().toLower() == b.toString().toLower();
}

// A list that grows in blocks: nothing is copied as it grows, and no more
// memory is touched than the items take.
template <typename T>
class BlockList {
public:
    void push_back(const T& item)
    {
        if (size_ % kBlock == 0)
            blocks_.emplace_back(new T[kBlock]);
        blocks_.back()[size_ % kBlock] = item;
        ++size_;
    }
    size_t size() const { return size_; }
    const T& operator[](size_t i) const { return blocks_[i / kBlock][i % kBlock]; }

private:
    static constexpr size_t kBlock = 4096;
    std::vector<std::unique_ptr<T[]>> blocks_;
    size_t size_ = 0;
};

// The hog line's fields, in line order; fPath is the file's full path.
constexpr int fPath = kFieldCount;
constexpr std::array<int, 6> kHogOrder = {fSize, fDate, fTime, fAccess, fPath, fType};

}  // namespace

struct DupSearch::Listing {
    // One listed file: 40 bytes, and its name in the store.
    struct Entry {
        quint64 size;
        quint32 nameAt;
        quint32 nameLength;
        quint32 folder;  // in folders
        quint32 date;    // modified date, in dates
        quint32 time;    // modified time, in times
        quint32 access;  // access date, in dates
        quint32 type;    // in types
    };

    BlockList<Entry> entries;
    BlockList<std::pair<quint64, quint64>> fileIds;  // by entry, when kept
    bool keepFileIds = false;
    TextStore names;
    TextTable folders;  // as the folder column shows them
    TextTable dates;
    TextTable times;
    TextTable types;
    std::vector<quint32> dateByDos = std::vector<quint32>(0x10000, kUnset);
    std::vector<quint32> timeByDos = std::vector<quint32>(0x10000, kUnset);
    QHash<QString, quint32> typeByExtension;  // lower-case extension with its dot
    QString extension;                        // scratch
    SizeTexts sizes;
    const core::DosTexts dosTexts;
    core::LocalDosClock clock;  // LastWriteDosTime and LastAccessDosTime
    const quint32 emptyDate = dates.add(QString());  // no time recorded
    const quint32 emptyTime = times.add(QString());

    // The texts DosDateText and DosTimeText give, by the parts they depend
    // on: the date text by the date when the time is valid, the time text by
    // the time when the date is valid; anything else is asked for each time.
    quint32 dateId(core::PackedDosDateTime t)
    {
        if (t == 0)
            return emptyDate;
        quint32 uncached = kUnset;
        quint32& id = TimeValid(t) ? dateByDos[t >> 16] : uncached;
        if (id == kUnset)
            id = dates.add(dosTexts.date(t));
        return id;
    }
    quint32 timeId(core::PackedDosDateTime t)
    {
        if (t == 0)
            return emptyTime;
        quint32 uncached = kUnset;
        quint32& id = DateValid(t) ? timeByDos[t & 0xFFFF] : uncached;
        if (id == kUnset)
            id = times.add(dosTexts.time(t));
        return id;
    }
    static bool TimeValid(core::PackedDosDateTime t)
    {
        return ((t >> 11) & 0x1F) < 24 && ((t >> 5) & 0x3F) < 60 && (t & 0x1F) * 2 < 60;
    }
    static bool DateValid(core::PackedDosDateTime t)
    {
        return QDate::isValid(int(t >> 25) + 1980, int((t >> 21) & 0x0F), int((t >> 16) & 0x1F));
    }

    // The lookups that only new files need.
    void walkDone()
    {
        dateByDos = {};
        timeByDos = {};
        typeByExtension = {};
    }

    // The type text of a file name, by its lower-case extension.
    quint32 typeId(const QString& fileName)
    {
        const qsizetype dot = fileName.lastIndexOf(u'.');
        const QStringView ext = dot < 0 ? QStringView() : QStringView(fileName).mid(dot);
        if (IsAscii(ext)) {
            extension.resize(ext.size());
            QChar* out = extension.data();
            for (qsizetype i = 0; i < ext.size(); ++i) {
                char16_t c = ext[i].unicode();
                out[i] = QChar(char16_t(c >= u'A' && c <= u'Z' ? c + 32 : c));
            }
        } else {
            extension = ext.toString().toLower();
        }
        const auto it = typeByExtension.constFind(extension);
        if (it != typeByExtension.constEnd())
            return *it;
        const quint32 id = types.add(core::FileTypeName(extension));
        typeByExtension.insert(extension, id);
        extension = QString();  // the table holds the old buffer now
        return id;
    }

    QStringView name(const Entry& e) const { return names.view(e.nameAt, e.nameLength); }

    // The line text of one field (fPath: the full path, into scratch).
    QStringView field(const Entry& e, int f, QString& scratch) const
    {
        switch (f) {
        case fName: return name(e);
        case fSize: sizes.text(e.size, scratch); return scratch;
        case fDate: return dates.text(e.date);
        case fTime: return times.text(e.time);
        case fAccess: return dates.text(e.access);
        case fFolder: return folders.text(e.folder);
        case fType: return types.text(e.type);
        case fPath: pathOf(e, scratch); return scratch;
        }
        return {};
    }

    // The order of the lines: without regard to case, ties in order of
    // arrival. fields are the line's fields in line order.
    std::vector<quint32> sortedLines(std::span<const int> fields) const
    {
        const size_t n = entries.size();
        std::vector<SizeTexts::Key> sizeKeys;
        if (sizes.hasKeys()) {
            sizeKeys.resize(n);
            for (size_t i = 0; i < n; ++i)
                sizeKeys[i] = sizes.key(entries[i].size);
        }
        QString scratchA, scratchB;
        auto compareField = [&](int f, quint32 ia, quint32 ib) -> int {
            const Entry& a = entries[ia];
            const Entry& b = entries[ib];
            // A shared text compares equal to itself; other pairs are
            // compared as they come, which is cheaper than ranking every
            // distinct text up front when most comparisons end at an
            // earlier field.
            auto byText = [](const TextTable& t, quint32 x, quint32 y) {
                return x == y ? 0 : CompareNoCase(t.text(x), t.text(y));
            };
            switch (f) {
            case fName: return CompareNoCase(name(a), name(b));
            case fSize:
                if (!sizeKeys.empty())
                    return sizeKeys[ia] < sizeKeys[ib] ? -1 : (sizeKeys[ia] > sizeKeys[ib] ? 1 : 0);
                break;
            case fDate: return byText(dates, a.date, b.date);
            case fTime: return byText(times, a.time, b.time);
            case fAccess: return byText(dates, a.access, b.access);
            case fFolder: return byText(folders, a.folder, b.folder);
            case fType: return byText(types, a.type, b.type);
            default: break;
            }
            return CompareNoCase(field(a, f, scratchA), field(b, f, scratchB));
        };
        std::vector<quint32> order(n);
        if (!sizeKeys.empty() && !fields.empty() && fields[0] == fSize) {
            // Lines that begin with their size: the keys sorted with their
            // lines' numbers beside them, which keeps the sort in one array.
            struct Keyed {
                SizeTexts::Key key;
                quint32 line;
            };
            std::vector<Keyed> keyed(n);
            for (size_t i = 0; i < n; ++i)
                keyed[i] = {sizeKeys[i], quint32(i)};
            sizeKeys = {};
            const std::span<const int> rest = fields.subspan(1);
            std::stable_sort(keyed.begin(), keyed.end(), [&](const Keyed& a, const Keyed& b) {
                if (a.key != b.key)
                    return a.key < b.key;
                for (int f : rest)
                    if (const int c = compareField(f, a.line, b.line))
                        return c < 0;
                return false;
            });
            for (size_t i = 0; i < n; ++i)
                order[i] = keyed[i].line;
            return order;
        }
        std::iota(order.begin(), order.end(), 0u);
        std::stable_sort(order.begin(), order.end(), [&](quint32 a, quint32 b) {
            for (int f : fields)
                if (const int c = compareField(f, a, b))
                    return c < 0;
            return false;
        });
        return order;
    }

    // Only these entries stay, in this order, with their names.
    void keepOnly(const std::vector<quint32>& which)
    {
        BlockList<Entry> kept;
        BlockList<std::pair<quint64, quint64>> keptIds;
        TextStore keptNames;
        for (quint32 index : which) {
            Entry e = entries[index];
            e.nameAt = keptNames.add(name(e));
            kept.push_back(e);
            if (keepFileIds)
                keptIds.push_back(fileIds[index]);
        }
        entries = std::move(kept);
        fileIds = std::move(keptIds);
        names = std::move(keptNames);
    }

    // JoinPath of the folder text and the name.
    void pathOf(const Entry& e, QString& out) const
    {
        const QStringView folder = folders.text(e.folder);
        out.resize(0);
        out += folder;
        if (!folder.isEmpty() && !folder.endsWith(u'\\'))
            out += u'\\';
        out += name(e);
    }
};

DupSearch::DupSearch(DupCriteria criteria) : criteria_(std::move(criteria)) {}

DupSearch::~DupSearch() = default;

QString DupSearch::lineFor(const plat::FindData& f, const QString& folder)
{
    const core::PackedDosDateTime written = core::LastWriteDosTime(f);
    const QString size = core::FormatGroupedF(core::FindDataSize(f));
    const QString date = core::DosDateText(written);
    const QString time = core::DosTimeText(written);
    const QString access = core::DosDateText(core::LastAccessDosTime(f));
    const QString type = typeNames_.ofFile(f.name);
    const QChar tab('\t');
    if (!criteria_.duplicateMode)
        return size + tab + date + tab + time + tab + access + tab + core::JoinPath(folder, f.name) + tab + type;
    const QString fields[kFieldCount] = {f.name, size, date, time, access, folder, type};
    QString line;
    for (int i = 0; i < kFieldCount; ++i) {
        if (i)
            line += tab;
        line += fields[OrderOf(criteria_.matchMode)[i]];
    }
    return line;
}

QString DupSearch::keyOf(const QString& line) const
{
    QString key;
    for (int field : KeyFieldsOf(criteria_.matchMode))
        key += core::TabField(line, field);
    return key;
}

void DupSearch::addLine(const plat::FindData& f, quint32 folder)
{
    if (!PassesSizeTest(f.size(), criteria_.relation, lower_, upper_))
        return;
    // A second hard link to a file already listed is the same file: listing
    // it again would group a file with itself.
    if (f.linkCount > 1) {
        const std::pair<quint64, quint64> id{f.device, f.inode};
        if (linkedFiles_.contains(id))
            return;
        linkedFiles_.insert(id);
    }
    Listing& l = *listing_;
    Listing::Entry e;
    e.size = f.size();
    const core::PackedDosDateTime written = l.clock(f.lastWriteTime);
    e.date = l.dateId(written);
    e.time = l.timeId(written);
    e.access = l.dateId(l.clock(f.lastAccessTime));
    e.type = l.typeId(f.name);
    e.nameAt = l.names.add(f.name);
    e.nameLength = quint32(f.name.size());
    e.folder = folder;
    l.entries.push_back(e);
    if (l.keepFileIds)
        l.fileIds.push_back({f.device, f.inode});
}

void DupSearch::scan()
{
    std::vector<ResultRow> rows;
    scan([&rows](std::span<const QStringView> cells, QStringView path, char shade) {
        ResultRow row;
        row.cells.reserve(qsizetype(cells.size()));
        for (QStringView c : cells)
            row.cells.append(c.toString());
        row.path = path.toString();
        row.shade = shade;
        rows.push_back(std::move(row));
    });
    rows_ = std::move(rows);
}

void DupSearch::scan(const RowSink& sink, const std::function<void(qsizetype)>& expect)
{
    rows_.clear();
    linkedFiles_.clear();
    lower_ = LowerLimit(criteria_);
    upper_ = UpperLimit(criteria_);
    abortFlag = false;
    listing_ = std::make_unique<Listing>();
    listing_->keepFileIds = criteria_.duplicateMode && bool(rowFile);

    // Hidden and system entries and links are left out; one walk context
    // for all roots.
    FileWalkOptions options;
    options.wildcard = criteria_.wildcard;
    FileWalk walk(options);
    walk.status = status;
    walk.pump = pump;
    walk.aborted = [this] { return abortFlag; };
    walk.leftOut = [this](const QString& path) {
        const QString text = QString::fromLatin1(kPathTooLongNote) + path;
        if (note)
            note(text);
        else if (status)
            status(text);
    };
    quint32 shown = 0;
    walk.file = [&](const plat::WalkFolder& folder, const plat::FindData& f, bool first) {
        if (first)
            shown = listing_->folders.add(FolderText(folder.path()));
        addLine(f, shown);
    };
    walk.run(criteria_.roots);
    linkedFiles_.clear();
    linkedFiles_.squeeze();
    listing_->walkDone();
    finish(sink, expect);
    listing_.reset();
}

void DupSearch::finish(const RowSink& sink, const std::function<void(qsizetype)>& expect)
{
    Listing& l = *listing_;
    using Entry = Listing::Entry;
    lineCount_ = qsizetype(l.entries.size());
    const bool dup = criteria_.duplicateMode;
    std::vector<quint32> order = l.sortedLines(dup ? std::span<const int>(OrderOf(criteria_.matchMode))
                                                   : std::span<const int>(kHogOrder));
    QString sizeText, pathText;
    if (!dup) {
        // File hogs: the lines backwards, then perhaps as the size sort
        // would put them; its keys are those it would read from the cells.
        std::reverse(order.begin(), order.end());
        if (hogsBySize && order.size() > 1) {
            const QString point = QLocale().decimalPoint();
            const QChar p = point.isEmpty() ? QChar(u'.') : point.at(0);
            const bool values = l.sizes.keyIsValue(p);
            std::vector<long double> keys(order.size());
            for (size_t k = 0; k < order.size(); ++k) {
                const quint64 size = l.entries[order[k]].size;
                if (values && SizeTexts::exact(size)) {
                    keys[k] = (long double)size;
                } else {
                    l.sizes.text(size, sizeText);
                    keys[k] = reports::NumberSortKey(sizeText, p);
                }
            }
            const std::vector<int> bySize = reports::NumberKeyOrder(keys, true);
            keys = {};
            std::vector<quint32> sorted(order.size());
            for (size_t k = 0; k < order.size(); ++k)
                sorted[k] = order[size_t(bySize[k])];
            order = std::move(sorted);
        }
        if (expect)
            expect(qsizetype(order.size()));
        for (auto it = order.begin(); it != order.end(); ++it) {
            const Entry& e = l.entries[*it];
            l.sizes.text(e.size, sizeText);
            l.pathOf(e, pathText);
            const QStringView cells[] = {sizeText, l.dates.text(e.date), l.times.text(e.time),
                                         l.dates.text(e.access), pathText, l.types.text(e.type)};
            sink(cells, pathText, 0);
        }
        return;
    }

    // Groups: runs of lines with equal keys (the key fields' trimmed texts
    // joined, with only a to z upper-cased; keys compare exactly otherwise);
    // lines without a partner are left out. The files of the groups are
    // picked first, and only they are kept while the rows are made.
    std::vector<quint32> picked;
    {
        QList<int> keyFields;
        for (int position : KeyFieldsOf(criteria_.matchMode))
            keyFields << OrderOf(criteria_.matchMode)[position - 1];
        QString scratch;
        auto keyOfEntry = [&](quint32 index, QString& key) {
            key.resize(0);
            for (int f : keyFields)
                key += TrimControls(l.field(l.entries[index], f, scratch));
            for (QChar& c : key)
                if (c >= u'a' && c <= u'z')
                    c = QChar(c.unicode() - 32);
        };
        const size_t n = order.size();
        QString key, next;
        bool haveKey = false;
        size_t i = 0;
        while (i + 1 < n) {
            if (!haveKey)
                keyOfEntry(order[i], key);
            size_t j = i + 1;
            haveKey = false;
            for (; j < n; ++j) {
                keyOfEntry(order[j], next);
                if (next != key) {
                    std::swap(key, next);  // the key of line j, where the next run starts
                    haveKey = true;
                    break;
                }
                if (j == i + 1)
                    picked.push_back(order[i]);
                picked.push_back(order[j]);
            }
            i = j;
        }
    }
    order = {};
    l.keepOnly(picked);
    picked = {};

    // Shades alternate from group to group, as the row above compares.
    const Entry* above = nullptr;
    char aboveShade = 0;
    auto sameGroup = [&](const Entry& a, const Entry& b) {
        auto eqName = [&] { return SameLowerCase(l.name(a), l.name(b)); };
        auto eqSize = [&] { return l.sizes.sameText(a.size, b.size); };
        auto eqTime = [&] { return a.time == b.time || l.times.text(a.time) == l.times.text(b.time); };
        auto eqType = [&] { return a.type == b.type || l.types.text(a.type) == l.types.text(b.type); };
        switch (criteria_.matchMode) {
        case mmFilename: return eqName();
        case mmFilenameSize: return eqName() && eqSize();
        case mmFilenameSizeDateTime: return eqName() && eqSize() && eqTime();
        case mmSize: return eqSize();
        case mmSizeDateTime: return eqSize() && eqTime();
        case mmSizeType: return eqSize() && eqType();
        case mmTypeDateTime: return eqType() && eqTime();
        default: return false;
        }
    };
    if (expect)
        expect(qsizetype(l.entries.size()));
    for (size_t k = 0; k < l.entries.size(); ++k) {
        const Entry& e = l.entries[k];
        char shade = kShadeA;
        if (above)
            shade = sameGroup(*above, e) ? aboveShade : (aboveShade == kShadeA ? kShadeB : kShadeA);
        l.sizes.text(e.size, sizeText);
        l.pathOf(e, pathText);
        const QStringView cells[kFieldCount] = {l.name(e), sizeText, l.dates.text(e.date), l.times.text(e.time),
                                                l.dates.text(e.access), l.folders.text(e.folder),
                                                l.types.text(e.type)};
        sink(cells, pathText, shade);
        if (l.keepFileIds)
            rowFile(l.fileIds[k].first, l.fileIds[k].second);
        above = &e;
        aboveShade = shade;
    }
}

// ---------------------------------------------------------------------------
// The checksum pass

namespace {

// The engine's own rows.
class RowVectorCrcRows : public CrcRows {
public:
    explicit RowVectorCrcRows(std::vector<ResultRow>& rows) : rows_(rows) {}
    int count() const override { return int(rows_.size()); }
    QString path(int row) const override { return rows_[size_t(row)].path; }
    QString sizeText(int row) const override { return rows_[size_t(row)].cells[dcSize]; }
    void setCrcText(int row, const QString& text) override { rows_[size_t(row)].cells[dcType] = text; }
    void keepRows(const std::vector<bool>& keep) override
    {
        std::vector<ResultRow> kept;
        kept.reserve(rows_.size());
        for (size_t c = 0; c < rows_.size(); ++c)
            if (keep[c])
                kept.push_back(std::move(rows_[c]));
        rows_ = std::move(kept);
    }
    void setShade(int row, char shade) override { rows_[size_t(row)].shade = shade; }

private:
    std::vector<ResultRow>& rows_;
};

}  // namespace

bool DupSearch::computeCrcValues(bool eliminate, const CrcFunction& crc)
{
    RowVectorCrcRows rows(rows_);
    return computeCrcValues(rows, eliminate, crc);
}

bool DupSearch::computeCrcValues(CrcRows& rows, bool eliminate, const CrcFunction& crc)
{
    const int total = rows.count();
    for (int b = 0; b < total; ++b)
        rows.setCrcText(b, QString());
    // The value each row shows (0 for a file that could not be read), and
    // whether it could be read.
    std::vector<quint32> values(size_t(total), 0);
    std::vector<bool> unreadable(size_t(total), false);
    for (int b = 0; b < total; ++b) {
        if (abortFlag)
            return false;
        const QString path = rows.path(b);
        if (status)
            status(QStringLiteral("%1 of %2").arg(b + 1).arg(total) + QStringLiteral(" computing CRC for ") + path);
        if (pump)
            pump();
        if (abortFlag)
            return false;
        const std::optional<quint32> value = crc(path);
        unreadable[size_t(b)] = !value;
        values[size_t(b)] = value.value_or(0);
        rows.setCrcText(b, CrcText(values[size_t(b)]));
    }

    settleCrcRows(rows, eliminate, values, unreadable);
    return true;
}

bool DupSearch::computeCrcValues(CrcRows& rows, bool eliminate)
{
    const int total = rows.count();
    const size_t count = size_t(total);
    std::vector<QString> paths(count);
    std::vector<std::pair<quint64, quint64>> ids(count);
    for (int b = 0; b < total; ++b) {
        rows.setCrcText(b, QString());
        paths[size_t(b)] = rows.path(b);
        ids[size_t(b)] = rows.fileId(b);
    }
    std::vector<int> order = BlockCrcReadOrder(paths, ids);
    ids = {};
    std::vector<quint32> values(count, 0);
    std::vector<bool> unreadable(count, false);
    int done = 0;
    // One pass over the files of order; limit > 0: their first bytes only.
    auto pass = [&](const std::vector<int>& which, qint64 limit, auto&& take) {
        BlockCrcBatch batch(paths, which, limit);
        int b = 0;
        std::optional<quint32> sum;
        for (size_t k = 0;; ++k) {
            if (abortFlag)
                return false;
            if (status && k < which.size())
                status(QStringLiteral("%1 of %2").arg(std::min(done + 1, total)).arg(total)
                       + QStringLiteral(" computing CRC for ") + paths[size_t(which[k])]);
            if (pump)
                pump();
            if (abortFlag)
                return false;
            if (!batch.next(b, sum))
                return true;
            take(b, sum, batch.sizeAtOpen(b));
        }
    };
    auto setValue = [&](int b, const std::optional<quint32>& sum) {
        unreadable[size_t(b)] = !sum;
        values[size_t(b)] = sum.value_or(0);
        rows.setCrcText(b, CrcText(values[size_t(b)]));
        ++done;
    };

    std::vector<int> full = order;
    if (eliminate && total > 1) {
        constexpr qint64 kHead = 4096;
        std::vector<quint32> heads(count, 0);
        std::vector<bool> whole(count, false);
        if (!pass(order, kHead, [&](int b, const std::optional<quint32>& sum, qint64 size) {
                unreadable[size_t(b)] = !sum;
                heads[size_t(b)] = sum.value_or(0);
                whole[size_t(b)] = sum && size <= kHead;
                if (whole[size_t(b)] || !sum)
                    setValue(b, sum);
            }))
            return false;
        // Within each run of rows of equal size, a row goes on to the full
        // pass when another readable row of the run has its first 4 KiB
        // sum; the others can match no file and are dropped below.
        std::vector<bool> needed(count, false);
        std::vector<quint32> run;
        size_t first = 0;
        while (first < count) {
            size_t last = first;
            const QString size = rows.sizeText(int(first));
            while (last + 1 < count && rows.sizeText(int(last + 1)) == size)
                ++last;
            run.clear();
            for (size_t c = first; c <= last; ++c)
                if (!unreadable[c])
                    run.push_back(heads[c]);
            std::sort(run.begin(), run.end());
            for (size_t c = first; c <= last; ++c) {
                if (unreadable[c])
                    continue;
                const auto range = std::equal_range(run.begin(), run.end(), heads[c]);
                needed[c] = range.second - range.first > 1;
                if (!needed[c]) {
                    // Kept out of every match, as a file that cannot be read.
                    unreadable[c] = true;
                    if (!whole[c])
                        ++done;
                }
            }
            first = last + 1;
        }
        full.clear();
        for (int b : order)
            if (needed[size_t(b)] && !whole[size_t(b)])
                full.push_back(b);
    }
    if (!pass(full, 0, [&](int b, const std::optional<quint32>& sum, qint64) { setValue(b, sum); }))
        return false;
    settleCrcRows(rows, eliminate, values, unreadable);
    return true;
}

void DupSearch::settleCrcRows(CrcRows& rows, bool eliminate, std::vector<quint32>& values,
                              const std::vector<bool>& unreadable)
{
    const int total = rows.count();
    if (eliminate) {
        if (status)
            status(QStringLiteral("Eliminating non CRC duplicates ... standby"));
        if (pump)
            pump();
        // Within each run of adjacent rows of equal size, a row stays when
        // another readable row of the run has its checksum. A file that could
        // not be read matches nothing.
        const size_t count = size_t(total);
        std::vector<bool> keep(count, false);
        std::vector<QString> sizes(count);
        for (size_t c = 0; c < count; ++c)
            sizes[c] = rows.sizeText(int(c));
        std::vector<quint32> run;
        size_t first = 0;
        while (first < count) {
            size_t last = first;
            while (last + 1 < count && sizes[last + 1] == sizes[first])
                ++last;
            run.clear();
            for (size_t c = first; c <= last; ++c)
                if (!unreadable[c])
                    run.push_back(values[c]);
            std::sort(run.begin(), run.end());
            for (size_t c = first; c <= last; ++c) {
                if (unreadable[c])
                    continue;
                const auto range = std::equal_range(run.begin(), run.end(), values[c]);
                keep[c] = range.second - range.first > 1;
            }
            first = last + 1;
        }
        rows.keepRows(keep);
        std::vector<quint32> kept;
        for (size_t c = 0; c < count; ++c)
            if (keep[c])
                kept.push_back(values[c]);
        values = std::move(kept);
    }

    // Shades change where the checksum text does.
    char shade = kShadeA;
    for (size_t c = 0; c < values.size(); ++c) {
        if (c > 0 && values[c] != values[c - 1])
            shade = shade == kShadeA ? kShadeB : kShadeA;
        rows.setShade(int(c), shade);
    }
    if (status)
        status(QString());
}

}  // namespace finders

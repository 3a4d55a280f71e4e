#include "finders/dupsearch.h"

#include "core/helpers.h"
#include "finders/blockcrc.h"
#include "finders/scanscope.h"
#include "platform/fileops.h"

#include <algorithm>
#include <array>
#include <limits>
#include <unordered_map>

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

// Only the letters a to z change; keys are compared exactly otherwise.
QString UpperAscii(QString s)
{
    for (QChar& c : s)
        if (c >= u'a' && c <= u'z')
            c = QChar(c.unicode() - 32);
    return s;
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

DupSearch::DupSearch(DupCriteria criteria) : criteria_(std::move(criteria)) {}

QString DupSearch::typeName(const QString& fileName)
{
    const qsizetype dot = fileName.lastIndexOf('.');
    const QString ext = dot < 0 ? QString() : fileName.mid(dot).toLower();
    auto it = typeNames_.constFind(ext);
    if (it == typeNames_.constEnd())
        it = typeNames_.insert(ext, core::FileTypeName(ext));
    return *it;
}

QString DupSearch::lineFor(const plat::FindData& f, const QString& folder)
{
    const core::PackedDosDateTime written = core::LastWriteDosTime(f);
    const QString size = core::FormatGroupedF(core::FindDataSize(f));
    const QString date = core::DosDateText(written);
    const QString time = core::DosTimeText(written);
    const QString access = core::DosDateText(core::LastAccessDosTime(f));
    const QString type = typeName(f.name);
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

void DupSearch::addLine(const plat::FindData& f, const QString& folder)
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
    lines_.emplace_back(lineFor(f, folder), core::JoinPath(folder, f.name));
}

void DupSearch::scanDir(const QString& folder, plat::WalkContext& walk)
{
    if (abortFlag)
        return;
    if (status)
        status(folder);
    // One read of the folder gives both its sub-folders and its files;
    // hidden and system entries and links are left out by the mask.
    plat::FolderEnum e;
    plat::FindData f;
    std::vector<QString> subfolders;
    std::vector<plat::FindData> files;
    const quint32 mask = plat::faDirectory | plat::faReadOnly | plat::faArchive;
    const bool allNames = criteria_.wildcard == QLatin1String("*.*") || criteria_.wildcard == QLatin1String("*");
    if (e.findFirst(core::JoinPath(folder, QStringLiteral("*.*")), mask, f, &walk)) {
        do {
            if (core::EntryKind(f) == core::ekFolder)
                subfolders.push_back(f.name);
            else if (core::EntryKind(f) == core::ekFile
                     && (allNames || plat::matchesWildcard(criteria_.wildcard, f.name)))
                files.push_back(f);
        } while (e.findNext(f));
    }
    e.close();
    for (size_t i = 0; i < subfolders.size(); ++i) {
        if (abortFlag)
            return;
        scanDir(core::JoinPath(folder, subfolders[i]), walk);
        if (i && pump)
            pump();
    }
    // The files of the folder come after all of its sub-folders.
    if (abortFlag)
        return;
    const QString shown = FolderText(folder);
    for (size_t i = 0; i < files.size(); ++i) {
        if (i) {
            if (abortFlag)
                return;
            if (pump)
                pump();
        }
        addLine(files[i], shown);
    }
}

void DupSearch::scan()
{
    lines_.clear();
    rows_.clear();
    linkedFiles_.clear();
    lower_ = LowerLimit(criteria_);
    upper_ = UpperLimit(criteria_);
    abortFlag = false;

    // One walk context for all roots: a folder reached again through a
    // nested or repeated root is not walked twice.
    plat::WalkContext walk;
    for (const QString& root : criteria_.roots) {
        if (EnterRoot(root) != RootStart::Entered)
            continue;
        scanDir(plat::currentFolder(), walk);
    }

    // The sorted line list: without regard to case, ties in order of arrival.
    std::stable_sort(lines_.begin(), lines_.end(), [](const auto& a, const auto& b) {
        return QString::compare(a.first, b.first, Qt::CaseInsensitive) < 0;
    });
    lineCount_ = qsizetype(lines_.size());
    if (criteria_.duplicateMode)
        addDups();
    else
        reSort();
    lines_.clear();
    lines_.shrink_to_fit();
}

void DupSearch::addDups()
{
    const qsizetype n = qsizetype(lines_.size());
    qsizetype i = 0;
    while (i < n - 1) {
        const QString key = UpperAscii(keyOf(lines_[i].first));
        qsizetype j = i + 1;
        for (; j < n; ++j) {
            if (UpperAscii(keyOf(lines_[j].first)) != key)
                break;
            if (j == i + 1)
                addToGrid(lines_[i].first, lines_[i].second);
            addToGrid(lines_[j].first, lines_[j].second);
        }
        i = j;
    }
}

void DupSearch::reSort()
{
    rows_.reserve(lines_.size());
    for (auto it = lines_.rbegin(); it != lines_.rend(); ++it)
        addToGrid(it->first, it->second);
}

void DupSearch::addToGrid(const QString& line, const QString& path)
{
    const QStringList fields = line.split('\t');
    ResultRow row;
    row.path = path;
    if (!criteria_.duplicateMode) {
        row.cells = fields;
        rows_.push_back(std::move(row));
        return;
    }
    const FieldOrder& order = OrderOf(criteria_.matchMode);
    row.cells.resize(kFieldCount);
    for (int i = 0; i < kFieldCount && i < fields.size(); ++i)
        row.cells[order[i]] = fields[i];
    if (rows_.empty())
        row.shade = kShadeA;
    else {
        const ResultRow& above = rows_.back();
        row.shade = sameGroup(above, row) ? above.shade : (above.shade == kShadeA ? kShadeB : kShadeA);
    }
    rows_.push_back(std::move(row));
}

bool DupSearch::sameGroup(const ResultRow& a, const ResultRow& b) const
{
    auto eq = [&](int col) { return a.cells[col] == b.cells[col]; };
    auto eqName = [&] { return a.cells[dcFilename].toLower() == b.cells[dcFilename].toLower(); };
    switch (criteria_.matchMode) {
    case mmFilename: return eqName();
    case mmFilenameSize: return eqName() && eq(dcSize);
    case mmFilenameSizeDateTime: return eqName() && eq(dcSize) && eq(dcTime);
    case mmSize: return eq(dcSize);
    case mmSizeDateTime: return eq(dcSize) && eq(dcTime);
    case mmSizeType: return eq(dcSize) && eq(dcType);
    case mmTypeDateTime: return eq(dcType) && eq(dcTime);
    default: return false;
    }
}

bool DupSearch::computeCrcValues(bool eliminate, const CrcFunction& crc)
{
    for (ResultRow& r : rows_)
        r.cells[dcType].clear();
    std::vector<bool> unreadable(rows_.size(), false);
    const int total = int(rows_.size());
    for (int b = 0; b < total; ++b) {
        if (abortFlag)
            return false;
        ResultRow& r = rows_[size_t(b)];
        if (status)
            status(QStringLiteral("%1 of %2").arg(b + 1).arg(total) + QStringLiteral(" computing CRC for ") + r.path);
        if (pump)
            pump();
        if (abortFlag)
            return false;
        const std::optional<quint32> value = crc(r.path);
        unreadable[size_t(b)] = !value;
        r.cells[dcType] = CrcText(value.value_or(0));
    }

    if (eliminate) {
        if (status)
            status(QStringLiteral("Eliminating non CRC duplicates ... standby"));
        if (pump)
            pump();
        // Within each run of adjacent rows of equal size, a row stays when
        // another readable row of the run has its checksum. A file that could
        // not be read matches nothing.
        std::vector<bool> keep(rows_.size(), false);
        size_t first = 0;
        while (first < rows_.size()) {
            size_t last = first;
            while (last + 1 < rows_.size() && rows_[last + 1].cells[dcSize] == rows_[first].cells[dcSize])
                ++last;
            std::unordered_map<std::u16string, int> counts;
            for (size_t c = first; c <= last; ++c)
                if (!unreadable[c])
                    ++counts[rows_[c].cells[dcType].toStdU16String()];
            for (size_t c = first; c <= last; ++c)
                keep[c] = !unreadable[c] && counts[rows_[c].cells[dcType].toStdU16String()] > 1;
            first = last + 1;
        }
        std::vector<ResultRow> kept;
        kept.reserve(rows_.size());
        for (size_t c = 0; c < rows_.size(); ++c)
            if (keep[c])
                kept.push_back(std::move(rows_[c]));
        rows_ = std::move(kept);
    }

    for (size_t c = 0; c < rows_.size(); ++c) {
        if (c == 0)
            rows_[c].shade = kShadeA;
        else if (rows_[c].cells[dcType] != rows_[c - 1].cells[dcType])
            rows_[c].shade = rows_[c - 1].shade == kShadeA ? kShadeB : kShadeA;
        else
            rows_[c].shade = rows_[c - 1].shade;
    }
    if (status)
        status(QString());
    return true;
}

}  // namespace finders

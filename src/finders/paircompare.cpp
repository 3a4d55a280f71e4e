#include "finders/paircompare.h"

#include "browse/filedetails.h"
#include "browse/versionstrings.h"
#include "core/safeharbor.h"
#include "finders/blockcrc.h"
#include "finders/dupsearch.h"
#include "platform/findfile.h"

#include <algorithm>
#include <cmath>

namespace finders {

const char* const kFileNotFound = "File not found";
const char* const kProfileAbsent = "Extended profile absent";
const char* const kInNonDeleteList = "** In Non-Delete List **";
const char* const kEndOfList = "End of list";
const char* const kStartOfList = "Start of list";
const char* const kCannotReadFile = "Cannot read file";

namespace {

QString dateOrUnknown(core::PackedDosDateTime t)
{
    const QString date = core::DosDateText(t);
    return date.isEmpty() ? QStringLiteral("???") : date;
}

QString ageOrUnknown(core::PackedDosDateTime t)
{
    if (t == 0)
        return QStringLiteral("???");
    return core::AgeText(QDateTime(core::DosToDateTime(t).date(), QTime(0, 0)));
}

QString hoursMinutes(qint64 seconds)
{
    return QStringLiteral("%1 hrs %2 min")
        .arg(seconds / 3600, 2, 10, QLatin1Char('0'))
        .arg((seconds / 60) % 60, 2, 10, QLatin1Char('0'));
}

bool sameCell(const comp::ResultGrid& g, int row, int column)
{
    return g.cellView(row, column) == g.cellView(row + 1, column);
}

bool sameName(const comp::ResultGrid& g, int row)
{
    return g.cellView(row, dcFilename).compare(g.cellView(row + 1, dcFilename), Qt::CaseInsensitive) == 0;
}

}  // namespace

PairSide ReadPairSide(const comp::ResultGrid& rows, int row, core::SafeHarbor& harbor)
{
    PairSide s;
    if (row < 1 || row >= rows.rowCount() || rows.path(row).isEmpty())
        return s;
    s.name = rows.cell(row, dcFilename);
    s.folder = rows.cell(row, dcFolder);
    s.path = rows.path(row);
    plat::FindData f;
    if (!plat::statPath(s.path, f) || (f.attributes & (plat::faDirectory | plat::faReparse))) {
        s.state = PairSide::State::Missing;
        s.sizeText = QString::fromLatin1(kFileNotFound);
        s.simpleSize = s.sizeText;
        return s;
    }
    s.state = PairSide::State::Found;
    s.size = core::FindDataSize(f);
    s.created = core::CreationDosTime(f);
    s.modified = core::LastWriteDosTime(f);
    s.accessed = core::LastAccessDosTime(f);
    browse::ReadVersionStrings(s.path, s.versionLines, true);
    if (s.versionLines.isEmpty())
        s.versionLines << QString::fromLatin1(kProfileAbsent);
    s.sizeText = core::FormatGroupedF(s.size) + QStringLiteral(" bytes");
    s.typeText = core::FileTypeName(browse::ExtensionOf(f.name));
    s.accessText = browse::DateAgeText(s.accessed);
    s.createText = browse::DateTimeAgeText(s.created);
    s.modifyText = browse::DateTimeAgeText(s.modified);
    s.attributesText = browse::AttributeWords(f.attributes);
    s.isProtected = harbor.IsInSafeHarbor(s.path, true) != core::shNone;
    if (s.isProtected)
        s.harborText = QString::fromLatin1(kInNonDeleteList);
    s.simpleAccess = QStringLiteral("Accessed : ") + ageOrUnknown(s.accessed);
    s.simpleCreate = QStringLiteral("Created : ") + dateOrUnknown(s.created);
    s.simpleSize = s.sizeText;
    return s;
}

QString CreationCompareText(core::PackedDosDateTime c1, core::PackedDosDateTime c2)
{
    // A time the file system did not record cannot be compared.
    if (c1 == 0 || c2 == 0)
        return QStringLiteral("???");
    if (c1 == c2)
        return QStringLiteral("Same Creation Date/Time");
    const QDateTime d1 = core::DosToDateTime(c1);
    const QDateTime d2 = core::DosToDateTime(c2);
    const qint64 n = d2.date().toJulianDay() - d1.date().toJulianDay();
    if (n > 0)
        return QString::number(n) + QStringLiteral(" days newer");
    if (n < 0)
        return QString::number(-n) + QStringLiteral(" days older");
    const qint64 seconds = d1.time().secsTo(d2.time());
    return seconds >= 0 ? hoursMinutes(seconds) + QStringLiteral(" newer")
                        : hoursMinutes(-seconds) + QStringLiteral(" older");
}

QString SizeCompareText(double s1, double s2)
{
    if (s1 == s2)
        return QStringLiteral("Same size");
    // The difference as a share of the smaller file, which may be empty.
    if (s2 > s1) {
        if (s1 <= 0)
            return QStringLiteral("Larger (left file is empty)");
        const double p = (s2 - s1) * 100 / s1;
        return p >= 1 ? core::FormatGrouped(std::llround(p)) + QStringLiteral("% larger")
                      : QStringLiteral("Slightly larger");
    }
    if (s2 <= 0)
        return QStringLiteral("Empty file");
    const double p = (s1 - s2) * 100 / s2;
    return p >= 1 ? core::FormatGrouped(std::llround(p)) + QStringLiteral("% smaller")
                  : QStringLiteral("Slightly smaller");
}

QString CrcField(quint32 value)
{
    return QStringLiteral("%1").arg(value, 8, 16, QLatin1Char(' ')).toUpper();
}

std::pair<QString, QString> CrcCompareTexts(std::optional<quint32> left, std::optional<quint32> right)
{
    if (left && right) {
        const QString verdict = *left == *right ? QStringLiteral(" file contents are identical")
                                                : QStringLiteral(" file contents differ");
        return {CrcField(*left) + verdict, CrcField(*right) + verdict};
    }
    // Without both checksums there is no verdict either way.
    auto text = [](std::optional<quint32> v) { return v ? CrcField(*v) : QString::fromLatin1(kCannotReadFile); };
    return {text(left), text(right)};
}

Arrow ArrowFor(quint32 left, quint32 right)
{
    if (left == 0 || right == 0)
        return Arrow::Hidden;
    if (left == right)
        return Arrow::Equal;
    return left > right ? Arrow::Left : Arrow::Right;
}

bool PairMatches(const comp::ResultGrid& g, int row, int matchMode)
{
    if (row < 1 || row + 1 >= g.rowCount())
        return false;
    const bool dateTime = sameCell(g, row, dcModified) && sameCell(g, row, dcTime);
    switch (matchMode) {
    case mmFilename:
        return sameName(g, row);
    case mmFilenameSize:
        return sameName(g, row) && sameCell(g, row, dcSize);
    case mmFilenameSizeDateTime:
        return sameName(g, row) && sameCell(g, row, dcSize) && dateTime;
    case mmSize:
        return sameCell(g, row, dcSize);
    case mmSizeDateTime:
        return sameCell(g, row, dcSize) && dateTime;
    case mmSizeType:
        return sameCell(g, row, dcSize) && sameCell(g, row, dcType);
    case mmTypeDateTime:
        return sameCell(g, row, dcType) && dateTime;
    default:
        return false;
    }
}

void PairList::load(const comp::ResultGrid& grid, int currentRow, int matchMode)
{
    rows_ = grid;
    matchMode_ = matchMode;
    r_ = std::clamp(currentRow, 1, std::max(1, lastRow()));
    left_ = PairSide();
    right_ = PairSide();
}

PairList::Step PairList::next()
{
    if (r_ >= rows_.rowCount() - 2)
        return Step::EndOfList;
    do
        ++r_;
    while (!PairMatches(rows_, r_, matchMode_) && r_ < lastRow());
    return Step::Moved;
}

PairList::Step PairList::prev()
{
    if (r_ < 2)
        return Step::StartOfList;
    do
        --r_;
    while (!PairMatches(rows_, r_, matchMode_) && r_ > 1);
    return Step::Moved;
}

void PairList::fill(core::SafeHarbor& harbor)
{
    left_ = ReadPairSide(rows_, r_, harbor);
    right_ = ReadPairSide(rows_, r_ + 1, harbor);
    if (left_.found() && right_.found()) {
        right_.simpleCreate = CreationCompareText(left_.created, right_.created);
        right_.simpleSize = SizeCompareText(left_.size, right_.size);
    }
}

void PairList::computeCrc()
{
    if (!canComputeCrc())
        return;
    const auto texts = CrcCompareTexts(TryBlockCrcSum(left_.path), TryBlockCrcSum(right_.path));
    left_.crcText = texts.first;
    right_.crcText = texts.second;
}

QList<bool> PairList::differences() const
{
    auto texts = [](const PairSide& s) {
        return QStringList{s.sizeText,   s.typeText,       s.createText, s.modifyText,
                           s.accessText, s.attributesText, s.crcText};
    };
    const QStringList a = texts(left_);
    const QStringList b = texts(right_);
    QList<bool> out;
    for (qsizetype i = 0; i < a.size(); ++i)
        out << (a[i] != b[i]);
    return out;
}

Arrow PairList::createArrow() const
{
    return left_.found() && right_.found() ? ArrowFor(left_.created, right_.created) : Arrow::Hidden;
}

Arrow PairList::accessArrow() const
{
    // Whole days: the date half of the packed time.
    return left_.found() && right_.found() ? ArrowFor(left_.accessed >> 16, right_.accessed >> 16) : Arrow::Hidden;
}

Arrow PairList::modifyArrow() const
{
    return left_.found() && right_.found() ? ArrowFor(left_.modified, right_.modified) : Arrow::Hidden;
}

bool PairList::versionLineDiffers(int i) const
{
    const QStringList& a = left_.versionLines;
    const QStringList& b = right_.versionLines;
    if (a.size() < 2 || b.size() < 2 || i < 0)
        return false;
    return i >= a.size() || i >= b.size() || a[i] != b[i];
}

}  // namespace finders

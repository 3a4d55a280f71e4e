#include "finders/datesearch.h"

#include "core/helpers.h"
#include "finders/dupsearch.h"
#include "finders/filewalk.h"

#include <array>
#include <ctime>

namespace finders {

namespace {

// 100-ns intervals since 1601-01-01 UTC -> seconds since 1970-01-01 UTC.
qint64 UnixSeconds(plat::FileTime t)
{
    constexpr qint64 kEpochDifference = 11644473600LL;
    return qint64(t / 10000000ULL) - kEpochDifference;
}

QString FolderText(const QString& folder)
{
    // No trailing backslash except at a drive's root.
    if (folder.size() > 3 && folder.endsWith(u'\\'))
        return folder.chopped(1);
    return folder;
}

}  // namespace

QStringList ModsTitles()
{
    return {QStringLiteral("Filename"), QStringLiteral("Accessed"), QStringLiteral("Created"),
            QStringLiteral("Modified"), QStringLiteral("Size"),     QStringLiteral("Folder"),
            QStringLiteral("Type")};
}

QDate FileTimeDay(plat::FileTime t)
{
    if (t == 0)
        return QDate();
    const std::time_t seconds = std::time_t(UnixSeconds(t));
    std::tm local{};
    if (!localtime_r(&seconds, &local))
        return QDate();
    return QDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
}

QString FileDateText(plat::FileTime t)
{
    const QDate day = FileTimeDay(t);
    return day.isValid() ? core::SafeDateToStr(day) : QString();
}

plat::FileTime ChosenTime(const plat::FindData& f, int kind)
{
    switch (kind) {
    case tkCreated:
        return f.creationTime;
    case tkModified:
        return f.lastWriteTime;
    default:
        return f.lastAccessTime;
    }
}

bool PassesDateTest(plat::FileTime t, const DateCriteria& c)
{
    const QDate day = FileTimeDay(t);
    if (!day.isValid())
        return c.relation == drOnOrBefore;
    switch (c.relation) {
    case drOnOrBefore:
        return day <= c.start;
    case drOnOrAfter:
        return day >= c.start;
    default:
        return c.start <= day && day <= c.end;
    }
}

QString ModsPrintTitle(int kind, int relation, const QString& startText, const QString& endText)
{
    static const char* const kinds[] = {"Last accessed", "Created", "Modified"};
    QString range;
    if (relation == drOnOrBefore)
        range = QStringLiteral("before ") + startText;
    else if (relation == drOnOrAfter)
        range = QStringLiteral("after ") + startText;
    else
        range = QStringLiteral("between ") + startText + QStringLiteral(" and ") + endText;
    return QStringLiteral("Files ") + QLatin1String(kinds[kind >= 0 && kind <= 2 ? kind : 0]) + u' ' + range;
}

DateSearch::DateSearch(DateCriteria criteria) : criteria_(std::move(criteria)) {}

const QString& DateSearch::dateText(plat::FileTime t)
{
    // Formatting a date is dear and a tree holds few distinct days: each
    // day is written once.
    const QDate day = FileTimeDay(t);
    if (!day.isValid())
        return noDate_;
    auto it = dateTexts_.find(day.toJulianDay());
    if (it == dateTexts_.end())
        it = dateTexts_.insert(day.toJulianDay(), core::SafeDateToStr(day));
    return *it;
}

int DateSearch::search(comp::ResultGrid& grid)
{
    abortFlag = false;
    grid.reset(ModsTitles());
    // Dates, folders and types repeat from row to row: each distinct text is
    // kept once. Names and sizes seldom repeat.
    using G = comp::ResultGrid;
    for (int c : {1, 2, 3, 5, 6})
        grid.setColumnStore(c, G::Shared);
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
    QString folder;
    QString path;
    walk.file = [&](const plat::WalkFolder& where, const plat::FindData& f, bool first) {
        if (first)
            folder = FolderText(where.path());
        if (!PassesDateTest(ChosenTime(f, criteria_.kind), criteria_))
            return;
        const QString size = core::FormatGroupedF(core::FindDataSize(f));
        const QString type = typeNames_.ofFile(f.name);
        const std::array<QStringView, 7> cells = {f.name,
                                                  dateText(f.lastAccessTime),
                                                  dateText(f.creationTime),
                                                  dateText(f.lastWriteTime),
                                                  size,
                                                  folder,
                                                  type};
        path = core::JoinPath(folder, f.name);
        grid.addRowViews(cells, path);
    };
    walk.run(criteria_.roots);
    grid.fitRowCount();
    return grid.rowsUsed();
}

}  // namespace finders

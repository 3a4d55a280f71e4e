#pragma once
// The search of the files-by-date window, shared with the command line:
// walks the roots and lists every file whose time of the chosen kind falls
// on, before, after or between the given days, as rows of a result grid.

#include "components/resultgrid.h"
#include "core/helpers.h"
#include "platform/findfile.h"

#include <QDate>
#include <QHash>
#include <QString>
#include <QStringList>
#include <functional>

namespace finders {

// Which of a file's times is compared, by its index in "Search for files
// that were".
enum TimeKind { tkAccessed = 0, tkCreated = 1, tkModified = 2 };
// How it is compared with the days, by its index in the relation group.
enum DateRelation { drOnOrBefore = 0, drBetween = 1, drOnOrAfter = 2 };

struct DateCriteria {
    int kind = tkAccessed;
    int relation = drBetween;
    QDate start;  // whole days; the end is used by "In between" only
    QDate end;
    QString wildcard = QStringLiteral("*.*");
    QStringList roots;  // drive-list entries
};

enum ModsColumn { mcFilename = 0, mcAccessed, mcCreated, mcModified, mcSize, mcFolder, mcType };
QStringList ModsTitles();

// The local calendar day of a file time; invalid for an unrecorded time (0).
// Any recorded time has its day, also one before 1980 or after 2107.
QDate FileTimeDay(plat::FileTime t);
// The day in the user's short date format; empty for an unrecorded time.
QString FileDateText(plat::FileTime t);
// The date test: the file time's day against the criteria's days, both
// ends inclusive. An unrecorded time passes "On or Before" only.
bool PassesDateTest(plat::FileTime t, const DateCriteria& c);
// The time of the chosen kind.
plat::FileTime ChosenTime(const plat::FindData& f, int kind);

// "Files Last accessed between 1/2/2024 and 3/4/2024", from the kind, the
// relation and the date fields' texts.
QString ModsPrintTitle(int kind, int relation, const QString& startText, const QString& endText);

class DateSearch {
public:
    explicit DateSearch(DateCriteria criteria);

    std::function<void(const QString&)> status;  // folders as they are read
    std::function<void()> pump;
    std::function<void(const QString&)> note;    // entries the walk leaves out
    bool abortFlag = false;

    const DateCriteria& criteria() const { return criteria_; }
    // Fills the grid afresh: the titles, one row per matching file in walk
    // order (the grid grows in steps while files are found), then its exact
    // size. Returns the number of files found.
    int search(comp::ResultGrid& grid);

private:
    const QString& dateText(plat::FileTime t);

    DateCriteria criteria_;
    core::FileTypeNames typeNames_;
    QHash<qint64, QString> dateTexts_;
    QString noDate_;
};

}  // namespace finders

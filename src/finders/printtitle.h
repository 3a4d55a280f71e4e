#pragma once
// The titles of the finder windows' printed listings, built from the search
// criteria: which drives, which sizes, which files.

#include "finders/dupsearch.h"

#include <QString>
#include <QStringList>

namespace finders {

// The first character of every ticked drive-list entry, each followed by a
// blank: "C D ".
QString DriveListText(const QStringList& tickedEntries);
// "larger or equal to 250 KB", "smaller or equal to 5 bytes",
// "in between 10 KB and 20 KB".
QString SizeRuleText(SizeRelation relation, int num1, int num2, bool unitKB);
// "Duplicates " or "File Hogs ", the size rule, " matching ", the wildcard,
// " on drive(s) " and the drive text.
QString DupPrintTitle(const DupCriteria& criteria);

}  // namespace finders

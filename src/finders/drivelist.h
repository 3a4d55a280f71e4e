#pragma once
// The lines of a drive check list: one entry per offered drive, in letter
// order, then the folders the user added (settings list "NewFolders"), and
// the rule that picks the entries ticked by default.

#include "platform/drives.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace finders {

// The windows that carry a drive check list; each offers its own drive kinds.
enum class DriveListOwner { WhichDrive, StatisticsSpace, Dup, DirHog, Clean, Mods };

struct DriveOffer {
    QList<plat::DriveKind> kinds;
    bool upperCase = false;  // letters "C:" instead of "c:"
    bool offers(plat::DriveKind kind) const { return kinds.contains(kind); }
};
DriveOffer DriveOfferFor(DriveListOwner owner);

struct DriveEntry {
    QString text;  // "c: Data", "a:", "e: server"
    plat::DriveKind kind = plat::DriveKind::Fixed;
};

// The text of a drive's entry. A removable drive shows only its letter; the
// others add the label with its first character in upper case and the rest in
// lower case. A network drive names its connection (the label here) in the
// letter's case, or shows as a fixed drive when there is no name.
QString DriveEntryText(const plat::Drive& drive, bool upperCase);
// The entries of the offered drives of the drive table, in letter order.
QList<DriveEntry> DriveEntries(const DriveOffer& offer);
// The entry of the drive holding the current folder; empty when that drive
// is not among the entries.
QString CurrentDriveEntry(const QList<DriveEntry>& entries);

struct DefaultTicks {
    QList<int> rows;      // the rows to tick
    int defaultRow = -1;  // the default entry; -1 for an empty list
};
// The current drive's line when the list has it (ignoring case); otherwise
// every line starting with "c" or "C", the last of them being the default
// entry (the first line when none starts so).
DefaultTicks DefaultDriveTicks(const QStringList& lines, const QString& currentEntry);

// The folders the user added, in stored order; empty values are passed over.
QStringList AddedFolders();
void WriteAddedFolders(const QStringList& folders);

}  // namespace finders

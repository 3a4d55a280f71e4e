#pragma once
// The list operations of the Safe Harbor folder editor, without widgets:
// editing one entry as a folder or a subtree rule, deleting rows, and the
// fixed texts the window shows and asks.

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

namespace harbor {

// One entry as the edit window shows it: the folder text, and whether its
// sub-folders are protected too (the entry is a subtree rule).
struct EntryEdit {
    QString text;
    bool subtree = false;
};

// A rule loses its last 3 characters (the "*.*") and ticks the box; any
// other entry is shown as it is.
EntryEdit SplitEntry(const QString& entry);
// The stored entry: the text, with "*.*" appended directly when ticked
// (C:\DATA ticked gives C:\DATA*.*, as typed).
QString JoinEntry(const EntryEdit& edit);

// The explanation under the box of the edit window.
QString EditFolderExplanation(const QString& folder, bool subtree);

// Replaces the entry at row by the edit. A new rule swallows the entries
// below it (and the list is sorted again). Returns the row of the edited
// entry afterwards.
int ApplyEntryEdit(QStringList& list, int row, const EntryEdit& edit);

// Removes the given rows (any order, duplicates allowed).
void RemoveRows(QStringList& list, QList<int> rows);

// The list a build adds to, as the window shows it while it grows: sorted
// without regard to case. Each update merges in only what was appended since
// the last one; sorting thousands of entries anew every 50 ms would cost
// more than the scan itself.
class SortedGrowth {
public:
    // The list before the scan.
    void start(const QStringList& list);
    // The same list, grown at its end.
    const QStringList& update(const QStringList& list);
    const QStringList& sorted() const { return sorted_; }

private:
    QStringList sorted_;
    qsizetype seen_ = 0;
};

// lblCount: the entry count + " folders".
QString FolderCountText(qsizetype count);

// lblToday: a date in the long date format.
QString LongDateText(const QDate& date);

// The questions and messages of the folder page.
QString BuildQuestion();
QString NothingSelectedMessage();
QString DeleteFoldersQuestion();
QString SelectFolderFirstMessage();
QString FolderPickerCaption();

}  // namespace harbor

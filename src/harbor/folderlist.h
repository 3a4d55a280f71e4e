#pragma once
// The protected-folder list file (folders.txt in the program folder) and the
// record of the last build.

#include <QDateTime>
#include <QString>
#include <QStringList>

namespace harbor {

QString FoldersFilePath();
// The lines of folders.txt; empty when it does not exist.
QStringList LoadFolderList();
// Sorts the list (case-insensitive) and writes it, one entry per line, with
// a safe replace; an empty list deletes the file. False when the write failed.
bool SaveFolderList(QStringList list);

// "Not recorded" for an empty list, else the long date and long time of when.
QString BuildDateText(bool listEmpty, const QDateTime& when);
// Stores the text in "Folders"/"When" and returns it.
QString RecordBuildDate(bool listEmpty);
QString LastBuildDate();

}  // namespace harbor

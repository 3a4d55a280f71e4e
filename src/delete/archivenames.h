#pragma once
// Names of the zip archives that removed files go into, and the names their
// files are stored under. One archive per source drive and operation:
// "Drive-C-Duplicates06Sep990533.zip" in the archive folder.

#include <QChar>
#include <QDateTime>
#include <QString>

namespace del {

// Two-digit day, the locale's short month name, two-digit year, hour (0-23)
// and minute: 06Sep990533.
QString ArchiveTimeText(const QDateTime& time);

// zipFolder (or the default archive folder, the home folder, when empty)
// joined with "Drive-" + letter + "-" + tag + the time text + ".zip". The
// letter is upper-cased.
QString ArchiveNameFor(const QString& zipFolder, const QString& tag, QChar letter, const QDateTime& time);

// The drive letter an archive operation files a path under: the path's
// upper-cased first character.
QChar ArchiveLetterOf(const QString& drivePath);

// The name a file is stored under: the path without its drive and the
// leading backslash, every backslash turned into a slash
// (C:\DOS\OLD.TXT -> DOS/OLD.TXT). Empty for a path without a drive.
QString StoredEntryName(const QString& drivePath);

}  // namespace del

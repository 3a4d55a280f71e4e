#pragma once
// The two file-type lists of the statistics: "Include" for counting only the
// listed types, "Exclude" for counting all but them. Free functions, so that
// the statistics window can offer them as its own operations and every other
// window can call them without it.

#include <QString>
#include <QStringList>

namespace comp {

inline const QString kIncludeSection = QStringLiteral("Include");
inline const QString kExcludeSection = QStringLiteral("Exclude");

// The types offered before a list was ever stored.
QStringList DefaultStatPatterns();  // *.doc, *.exe, *.dll

// Fills list with the type entries ("*.doc\t<type name>") of a section; a
// section never written gives the three default types, which are not
// written back.
void ReadStatFilesFromDisk(QStringList& list, const QString& section);
QStringList ReadStatFiles(const QString& section);
// Stores the patterns (the text before each tab) of a list in a section.
// Values beyond the new count stay; nothing reads them.
void WriteStatFilesToDisk(const QStringList& list, const QString& section);

}  // namespace comp

#pragma once
// Type lists: lines of a file pattern, a tab and the type name of the
// pattern's extension ("*.doc\tWord document"). Only the pattern is stored;
// the name is looked up again whenever a list is read.

#include <QString>
#include <QStringList>

namespace core {

// The pattern's extension with its dot, from its last '.'; empty without one.
QString PatternExtension(const QString& pattern);
// pattern + tab + FileTypeName of its extension.
QString TypeEntry(const QString& pattern);
// The text before the first tab.
QString TypeEntryPattern(const QString& entry);

// Reads a list section into type entries; a list never saved gives the
// entries of defaults (patterns) instead, which are not written back.
QStringList ReadTypeList(const QString& section, const QStringList& defaultPatterns);
// Stores the patterns of the entries in a list section.
void WriteTypeList(const QString& section, const QStringList& entries);

// Adds a line unless the list holds it already (compared without regard to
// case). True when it was added.
bool AddUniqueLine(QStringList& lines, const QString& line);

}  // namespace core

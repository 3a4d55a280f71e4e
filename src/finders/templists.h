#pragma once
// The temporary-file list of the quick clean: type entries ("*.tmp", a tab,
// the type name) kept in the settings section "TempFiles", with the
// built-in lists of the two windows that show it.

#include <QString>
#include <QStringList>

namespace finders {

extern const char* const kTempFilesSection;

// What the quick clean offers while no list was ever stored.
QStringList CleanDefaultPatterns();
// What the list editor shows while no list was ever stored.
QStringList EditorDefaultPatterns();
// What the editor's "D&efaults" adds.
QStringList EditorResetPatterns();

// The stored list as type entries, or defaults (patterns) when none is stored.
QStringList ReadTempList(const QStringList& defaults);
void WriteTempList(const QStringList& entries);

// The extension by which an entry matches file names: its text from the
// second character up to the first tab, in lower case (".tmp" for *.tmp).
// Empty when the entry can match no file: no extension, a bare ".", or a
// wildcard character in it (*.~* is listed, but by extension only).
QString TempMatchExtension(const QString& entry);

}  // namespace finders

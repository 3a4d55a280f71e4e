#pragma once
// The version lines of a file: eleven lines, label, separator and value of
// a named string of its version information, in a fixed order.

#include "browse/peversion.h"

#include <QString>
#include <QStringList>

namespace browse {

// The string names of the lines, in their order, and their labels.
QStringList VersionStringNames();
QStringList VersionLabels();

// The eleven lines from a version block; none when the block has no
// \VarFileInfo\Translation. The separator is a TAB when useTab is set, else
// nothing; the copyright line carries it twice. Values lose their leading
// blanks; a string the block lacks gives an empty value.
QStringList VersionLinesOf(const VersionBlock& block, bool useTab);

// Empties lines and, when the file has version information, fills them with
// the eleven lines. The file is read through the regular-file reader: a
// device or FIFO has none.
void ReadVersionStrings(const QString& drivePath, QStringList& lines, bool useTab);

}  // namespace browse

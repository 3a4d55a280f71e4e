#pragma once
// The texts shown beside a wildcard box, and the list the box offers.

#include <QString>
#include <QStringList>

namespace finders {

// "All files" for exactly "*.*", else empty.
QString WildcardAllText(const QString& pattern);
// The type name of the pattern without its first character ("*.txt" ->
// the name of ".txt"); empty for patterns such as "a*.txt" or "*.*".
QString WildcardTypeText(const QString& pattern);
// The one-label form of the finder windows: "All files" or the type name.
QString WildcardLabel(const QString& pattern);
// "*.*" followed by the registered-extension patterns.
QStringList WildcardChoices();

}  // namespace finders

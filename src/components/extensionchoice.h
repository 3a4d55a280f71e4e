#pragma once
// What the extension picker returns, and what its callers do with it.

#include <QString>
#include <QStringList>

namespace comp {

struct ExtensionChoice {
    bool severalChosen = false;   // more than one line of the picker's list was selected
    QString chosenPattern;        // the single pattern, normalised; empty when nothing usable
    QString chosenTypeName;       // the type name of chosenPattern's extension
    QStringList selectedLines;    // the selected type entries when severalChosen
};

// A typed pattern made usable: doc -> *.doc, .doc -> *.doc, other texts as
// typed; "*.*", ".*" and "*" give an empty pattern (nothing to add).
QString NormalizeExtensionPattern(const QString& typed);

// The choice for a picker's state: its selected lines and the edit text.
ExtensionChoice MakeExtensionChoice(const QStringList& selectedLines, const QString& editText);

// The callers' common step: adds the chosen pattern (with its type name), or
// each selected line, to a type list unless the list holds the line already
// (without regard to case). True when something was added.
bool AddChosenExtensions(QStringList& lines, const ExtensionChoice& choice);

}  // namespace comp

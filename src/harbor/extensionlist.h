#pragma once
// The protected extensions as their editors show them, without widgets:
// type entries (pattern, tab, type name) read from and written to the
// settings list "NoDelExt".

#include "components/extensionchoice.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace harbor {

// "*.sys" and "*.drv": shown while the list was never saved; only saving
// makes them protected.
QStringList DefaultProtectedPatterns();

// The stored list as type entries, in stored order; the defaults when the
// list was never saved.
QStringList ReadProtectedExtensionEntries();

// The list of the extension editor: kept sorted without regard to case, as
// the window shows it, and stored in that order.
class ExtensionListEditor {
public:
    const QStringList& lines() const { return lines_; }

    void load();
    // The editor's "Close", whatever way it is closed.
    void save() const;

    // The picker's choice; true when a line was added.
    bool add(const comp::ExtensionChoice& choice);
    // "*.sys" and "*.drv", each unless the list holds it.
    bool addDefaults();
    void remove(const QList<int>& rows);
    void clear() { lines_.clear(); }

private:
    void sort();
    QStringList lines_;
};

QString DeleteExtensionsQuestion(int count);
QString ClearExtensionsQuestion();

}  // namespace harbor

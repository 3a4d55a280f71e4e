#pragma once
// The scope of one search: the ticked entries of a drive check list, the
// file-name wildcard and the file-type filter, with the rules by which a
// root entry becomes the folder a walk starts in and by which a file passes
// the type filter.

#include "platform/folderwalk.h"

#include <QString>
#include <QStringList>
#include <memory>

namespace finders {

enum class TypeMode { AllFiles, Include, Exclude };

struct ScanScope {
    QStringList roots;                // ticked drive and folder entries, in list order
    QString wildcard = QStringLiteral("*.*");
    TypeMode typeMode = TypeMode::AllFiles;
    QStringList typeEntries;          // "*.doc\tWord document"; unused in AllFiles mode
};

// The extension a type entry stands for: its text from the second character
// up to the first tab, lower case ("*.doc\t..." -> ".doc").
QString TypeEntryExtension(const QString& entry);
// A file name's extension: from its last '.', lower case; empty without one.
QString FileExtension(const QString& fileName);

// The type test. The entries' extensions are taken apart once, because the
// statistics run it on every file of a drive.
class TypeFilter {
public:
    TypeFilter() = default;
    TypeFilter(TypeMode mode, const QStringList& typeEntries);
    explicit TypeFilter(const ScanScope& scope) : TypeFilter(scope.typeMode, scope.typeEntries) {}

    // True when the file counts: every file in AllFiles mode; otherwise a
    // file whose extension equals an entry's counts in Include mode only and
    // the others in Exclude mode only. A file without extension equals none.
    bool isThisSelected(const QString& fileName) const;

private:
    TypeMode mode_ = TypeMode::AllFiles;
    QStringList extensions_;
};

// How a walk starts at one root entry.
enum class RootStart {
    Entered,   // the entry's folder is now the current folder
    NotReady,  // a drive entry whose drive is not ready: passed over silently
    Failed     // the folder could not be entered; the user was told
};

// Opens a root entry for a walk and makes it the current folder. A drive
// entry ("c:", "c: Label", "d: \\server\share") stands for its drive's root;
// anything else is a folder path. The folder is opened from its drive root
// without following a link or leaving the drive's mount, and must be one
// that can be entered. When it cannot be opened so, "Can't open drive " and
// the entry are shown in an error box and the caller goes on with its next
// root. folder is the opened folder when the result is Entered.
RootStart EnterRoot(const QString& entry, const plat::WalkOptions& options,
                    std::unique_ptr<plat::WalkFolder>& folder);

}  // namespace finders

#pragma once
// The folders a whole-folder deletion is never offered for, whichever window
// asks (folder hogs, the folder browser); each window words the refusal in
// its own message.

#include <QString>
#include <QStringList>

namespace finders {

enum class FolderRefusal {
    None,
    Root,     // a drive root or any other mount point
    Windows,  // a system folder, or a folder holding one
};

// The rule for a folder's drive path as the window holds it (any spelling:
// a lower-case drive letter, "." and ".." parts, a trailing backslash).
// systemTrees are drive paths of the system trees; a folder is refused when
// it is one of them or holds one, and goes on when it lies below one. The
// literal Windows folder names (":\WINDOWS", ":\WIN95", ":\WIN98", ":\WINNT"
// directly under a drive root) are refused on every drive, since a mounted
// Windows partition is a real one.
FolderRefusal RefuseFolder(const QString& folder, const QStringList& systemTrees);
// The same with the system trees of this machine.
FolderRefusal RefuseFolder(const QString& folder);

}  // namespace finders

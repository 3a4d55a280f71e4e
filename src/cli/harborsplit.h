#pragma once
// The steps before a removal that trovik-scan's removing commands share, as
// the deletion panel takes them: the file list, and the Safe Harbor split
// that leaves protected files alone and names them.

#include <QStringList>

namespace cli {

// The FILE arguments of a removing command as drive paths, sorted and each
// once, as the deletion panel lists them. An argument that is no path on a
// drive is named on standard error and sets status to kMessage.
QStringList FilesToRemove(const QStringList& arguments, int& status);

// Loads the Safe Harbor as the main window does and takes the files it
// protects out of paths, naming each with its reason on standard error
// (anyProtected is then set). Without a built Safe Harbor nothing can be
// trusted: its message is printed and false returned, paths untouched.
bool RemoveProtectedFiles(QStringList& paths, bool& anyProtected);

// The message of an empty list, as the panel gives it.
void ReportNoFilesToRemove();

}  // namespace cli

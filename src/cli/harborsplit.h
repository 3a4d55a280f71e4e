#pragma once
// The Safe Harbor step that trovik-scan's removing commands share, as the
// deletion panel takes it: protected files are left alone and named.

#include <QStringList>

namespace cli {

// Loads the Safe Harbor as the main window does and takes the files it
// protects out of paths, naming each with its reason on standard error
// (anyProtected is then set). Without a built Safe Harbor nothing can be
// trusted: its message is printed and false returned, paths untouched.
bool RemoveProtectedFiles(QStringList& paths, bool& anyProtected);

// The message of an empty list, as the panel gives it.
void ReportNoFilesToRemove();

}  // namespace cli

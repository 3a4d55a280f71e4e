#pragma once
// How the windows of this folder show a file in the file viewer: through a
// hook the program sets at start-up. Until one is set, the "View" commands
// stay disabled.

#include <QString>

#include <functional>

class QWidget;

namespace browse {

// Shows the viewer modally for a drive path, owned by owner.
using ViewFileHook = std::function<void(QWidget* owner, const QString& drivePath)>;

void setViewFileHook(ViewFileHook hook);  // an empty hook removes it
bool canViewFiles();
// Runs the hook; false when none is set.
bool viewFile(QWidget* owner, const QString& drivePath);

}  // namespace browse

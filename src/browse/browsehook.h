#pragma once
// How the finder windows open the folder browser: through a hook the program
// sets at start-up, so that their libraries need not link the browser's
// window. Until one is set, their "&Browse" buttons stay disabled.

#include <QString>

#include <functional>

class QWidget;

namespace browse {

// What a caller points the browser at before it is shown.
struct BrowseRequest {
    QString folder;                            // drive path of the tree's folder
    QString pattern = QStringLiteral("*.*");   // the file list's mask
    QString file;                              // the name to select, if listed
};

// Shows the folder browser modally, owned by owner.
using BrowseHook = std::function<void(QWidget* owner, const BrowseRequest& request)>;

void setBrowseHook(BrowseHook hook);  // an empty hook removes it
bool canBrowse();
// Runs the hook; false when none is set.
bool browseFolder(QWidget* owner, const BrowseRequest& request);

}  // namespace browse

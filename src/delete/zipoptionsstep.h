#pragma once
// The step before every zip operation: the zip options window, which says
// where the archives go and which comment they carry. The window writes
// both settings when it closes, whichever button closed it.

#include "delete/folderdeletion.h"

#include <optional>

class QWidget;

namespace del {

// Shows TfrmZipOptions modally over owner. nullopt on Cancel; otherwise the
// folder and comment it showed, with the time of now.
std::optional<FolderZipTarget> showZipOptions(QWidget* owner);

// The archive folder ("ZipFile"/"Path", default the home folder) and the
// comment ("ZipFile"/"Comment") as stored, with the time of now; no window.
std::optional<FolderZipTarget> zipTargetFromSettings();

}  // namespace del

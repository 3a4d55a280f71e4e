#include "app/programwindows.h"

#include "app/frmmain.h"

namespace app {

// Each entry creates its window with the main window as owner, shows it and
// destroys it afterwards, for example
//
//   main.registerAction("btDuplicate", [](TfrmMain& m) { comp::runModal<TfrmDup>(&m); });
//
// The Safe Harbor guard and DuplicateMode are applied by the main window
// before the action runs (see launcherFunctions()). Help and Exit are the
// main window's own.
void registerProgramWindows(TfrmMain& main)
{
    (void)main;
}

}  // namespace app

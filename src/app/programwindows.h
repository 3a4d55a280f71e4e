#pragma once
// The windows of the launcher buttons. Giving a button its window is one
// registerAction call here; a button without one stays disabled.

namespace app {

class TfrmMain;

void registerProgramWindows(TfrmMain& main);

}  // namespace app

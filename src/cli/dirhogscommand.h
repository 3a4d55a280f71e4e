#pragma once
#include <QStringList>

namespace cli {

// trovik-scan dirhogs [--all] ROOT...
int RunDirHogs(const QStringList& args);
// trovik-scan deltree [--trash] [--force] FOLDER
int RunDelTree(const QStringList& args);
extern const char* const kDirHogsUsage;

}  // namespace cli

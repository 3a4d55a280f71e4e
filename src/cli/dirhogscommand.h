#pragma once
#include <QStringList>

namespace cli {

// trovik-scan dirhogs [--all] ROOT...
int RunDirHogs(const QStringList& args);
// trovik-scan deltree [--trash] [--force] FOLDER
int RunDelTree(const QStringList& args);
extern const char* const kDirHogsUsage;

// The folder hogs window's refusal of a folder, in its words; empty when
// the folder may be offered for deletion.
QString DirHogRefusalMessage(const QString& folder);

}  // namespace cli

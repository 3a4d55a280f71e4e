#pragma once
#include <QStringList>

namespace cli {

// trovik-scan restore [--password P] ARCHIVE FOLDER
int RunRestore(const QStringList& args);
extern const char* const kRestoreUsage;

}  // namespace cli

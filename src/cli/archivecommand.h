#pragma once
#include <QStringList>

namespace cli {

// trovik-scan archive [--tag T] [--force] [--folder Z] FILE...
int RunArchive(const QStringList& args);
extern const char* const kArchiveUsage;

}  // namespace cli

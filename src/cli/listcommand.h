#pragma once
#include <QStringList>

namespace cli {

// trovik-scan list [--wildcard P] FOLDER
int RunList(const QStringList& args);
extern const char* const kListUsage;

}  // namespace cli

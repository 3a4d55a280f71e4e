#pragma once
#include <QStringList>

namespace cli {

// trovik-scan stats ... | space ...
int RunStats(const QStringList& args);
int RunSpace(const QStringList& args);
extern const char* const kStatsUsage;

}  // namespace cli

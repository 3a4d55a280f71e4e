#pragma once
#include <QStringList>

namespace cli {

// trovik-scan harbor [--folder] PATH... | harbor --build
int RunHarbor(const QStringList& args);
extern const char* const kHarborUsage;

}  // namespace cli

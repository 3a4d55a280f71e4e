#pragma once
#include <QStringList>

namespace cli {

// trovik-scan temp [--type P]... ROOT... | temp --list
int RunTemp(const QStringList& args);
extern const char* const kTempUsage;

}  // namespace cli

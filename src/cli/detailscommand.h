#pragma once
#include <QStringList>

namespace cli {

// trovik-scan details FILE... | compare [--crc] A B
int RunDetails(const QStringList& args);
int RunCompare(const QStringList& args);
extern const char* const kDetailsUsage;

}  // namespace cli

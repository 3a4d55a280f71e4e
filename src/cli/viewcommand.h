#pragma once
#include <QStringList>

namespace cli {

// trovik-scan view ... FILE | strings FILE
int RunView(const QStringList& args);
int RunStrings(const QStringList& args);
extern const char* const kViewUsage;

}  // namespace cli

#pragma once
#include <QStringList>

namespace cli {

// trovik-scan delete [--trash] [--force] FILE...
int RunDelete(const QStringList& args);
extern const char* const kDeleteUsage;

}  // namespace cli

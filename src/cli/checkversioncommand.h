#pragma once
#include <QStringList>

namespace cli {

// trovik-scan checkversion
int RunCheckVersion(const QStringList& args);
extern const char* const kCheckVersionUsage;

}  // namespace cli

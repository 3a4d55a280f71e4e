#pragma once
#include <QStringList>

namespace cli {

// trovik-scan dups ... | hogs ... | crc FILE...
int RunDups(const QStringList& args, bool duplicateMode);
int RunCrc(const QStringList& args);
extern const char* const kDupsUsage;

}  // namespace cli

#pragma once
#include <QStringList>

namespace cli {

// trovik-scan dates ...
int RunDates(const QStringList& args);
extern const char* const kDatesUsage;

}  // namespace cli

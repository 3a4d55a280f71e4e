#pragma once
#include <QStringList>

namespace cli {

// trovik-scan cache [--days N] [--folder F]... | --list | --init
int RunCache(const QStringList& args);
extern const char* const kCacheUsage;

}  // namespace cli

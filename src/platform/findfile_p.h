#pragma once
// Internal to the platform layer: how a stat record becomes find-data, shared
// by the enumeration, statPath and the attribute calls of fileops.

#include "platform/findfile.h"

#include <QByteArray>
#include <fcntl.h>
#include <sys/stat.h>

namespace plat::detail {

// What every stat of this layer asks for.
constexpr unsigned kStatxMask = STATX_BASIC_STATS | STATX_BTIME;

// Attributes of an entry: hidden comes from the name, the rest from the mode.
quint32 attributesOf(const struct statx& st, bool hiddenName);

// Fills everything but the name.
void fillFromStatx(const struct statx& st, quint32 attributes, FindData& out);

// statx of a path without following a link in its last component (a drive
// root is followed: its mount point is configuration, not content).
bool statxPath(const QByteArray& posix, bool followLast, struct statx& out);

}  // namespace plat::detail

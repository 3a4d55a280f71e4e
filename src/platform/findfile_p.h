#pragma once
// Internal to the platform layer: how a stat record becomes find-data, shared
// by the enumeration, statPath and the attribute calls of fileops.

#include "platform/findfile.h"

#include <QByteArray>
#include <QString>
#include <cstddef>
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

inline bool isDotName(const char* n)
{
    return n[0] == '.' && (n[1] == 0 || (n[1] == '.' && n[2] == 0));
}

// A name the program can carry (no backslash, no control character, and it
// survives the name conversion); also tells its length and whether it is
// plain ASCII, so the caller can take the cheap conversion.
bool checkName(const char* raw, size_t& len, bool& ascii);

// Sets a QString to a name, reusing its buffer when nobody else holds it:
// callers usually fill the same record for a whole folder.
void assignName(QString& dst, const char* raw, size_t len, bool ascii);

}  // namespace plat::detail

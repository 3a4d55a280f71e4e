#pragma once
// The one spelling of a drive path that every remover tests and acts on.

#include <QString>

namespace plat {

// "C:\free\..\prot\\p.txt" -> "C:\prot\p.txt": "." parts and doubled or
// trailing backslashes dropped, ".." taking away the part before it (never
// the drive root), by the text alone. A drive root comes out as "C:\". Text
// that is not a drive path ("X:" then nothing or a backslash) is answered
// unchanged, for the caller to refuse.
QString cleanDrivePath(const QString& drivePath);

}  // namespace plat

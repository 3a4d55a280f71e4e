#pragma once
// The icon that stands for a file, and the program's two icons of its own.

#include <QIcon>
#include <QString>

namespace browse {

enum class IconKind { Directory, Theme, NoIcon };

// "DIRECTORY" for a folder; else the theme icon of the file's MIME type,
// found by its name, then by its first 4 KiB (read through the regular-file
// reader, so a FIFO or device is never opened); else "NOICON".
IconKind FileIconFor(const QString& drivePath, QIcon& icon);

// The program's icons "DIRECTORY" and "NOICON" (32 x 32).
QIcon DirectoryIcon();
QIcon NoIcon();

}  // namespace browse

#pragma once
// Process environment in drive form: PATH, the system trees, the program
// folder, the home folder.

#include <QString>
#include <QStringList>

namespace plat {

// $PATH split at ':', each entry mapped to a drive path (unmappable entries
// left out), joined with ';' as the Windows PATH variable would be.
QString searchPathText();
// The system trees (/usr, /etc, /boot, /bin, /sbin, /lib, /lib32, /lib64,
// /opt, /var/lib, /snap) that exist, in drive form.
QStringList systemTrees();
// The roots ("D:\") of the drives mounted at or inside a system tree (an
// EFI partition at /boot/efi, a /usr or /var/lib of its own): the system
// trees cover them whole, though their files lie on drives of their own.
QStringList drivesInSystemTrees();
// POSIX path of the program folder: $TROVIK_HOME when set, else
// $XDG_DATA_HOME/Halvane/Trovik (XDG default ~/.local/share). Created on demand
// by programFolderPath().
QString programFolderPosix();
// Full POSIX path of a file in the program folder (the folder is created).
QString programFile(const QString& name);
// The user's home folder in drive form ("C:\home\ann"), else "C:\".
QString homeDrivePath();
// The settings INI files: $XDG_CONFIG_HOME (default ~/.config)/Halvane/<name>.
QString configFile(const QString& name);
// The user's cache folder: $XDG_CACHE_HOME, default ~/.cache (POSIX path).
QString cacheHomePosix();

}  // namespace plat

namespace plat {

// $TROVIK_SITE: the address of the maker's web site when set, else empty.
QString siteOverride();

}  // namespace plat

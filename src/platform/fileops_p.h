#pragma once
// Internal to the platform layer: the checks behind moveToTrash and the
// statvfs seam the disk-space tests use.

#include <QByteArray>
#include <QString>
#include <sys/statvfs.h>
#include <sys/types.h>

namespace plat::detail {

// $XDG_DATA_HOME when it is an absolute path, else $HOME/.local/share.
QString dataHome();

// True when an absolute POSIX path is an entry of a freedesktop trash that
// can hold an item of device dev: <trash>/files/<name> with its
// <trash>/info/<name>.trashinfo, where <trash> is the home trash
// (dataHome()/Trash) or <topdir>/.Trash-<uid> or <topdir>/.Trash/<uid> of
// the mount holding the item.
bool isTrashLocation(const QByteArray& path, dev_t dev);

// Replaces statvfs for the disk-space calls (nullptr restores it), so a test
// can stand in for a mount that does not answer.
using StatvfsFn = int (*)(const char*, struct statvfs*);
void setStatvfsForTest(StatvfsFn fn);

}  // namespace plat::detail

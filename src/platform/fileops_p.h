#pragma once
// Internal to the platform layer: the trash behind moveToTrash and
// TreeFolder::trashEntry, and the seams the trash and disk-space tests use.

#include "platform/foldertree.h"

#include <QByteArray>
#include <QString>
#include <sys/statvfs.h>
#include <sys/types.h>

namespace plat::detail {

// $XDG_DATA_HOME when it is an absolute path, else $HOME/.local/share.
QString dataHome();

// Moves the entry name of the open folder folderFd into the freedesktop
// trash of its file system, while it is the object expected; drivePath is
// where it lies, recorded for a restore. The home trash serves the home's
// file system; any other mount $topdir/.Trash/$uid (a real, sticky folder)
// or else $topdir/.Trash-$uid. The record (files' name + ".trashinfo") is
// made first, never over an existing one; then the entry is renamed into
// files/ under the record's name. True only when the entry left its place
// and sits in the trash with its record; on failure no record is left
// behind, and whatever was moved in error is put back.
bool trashAt(int folderFd, const QByteArray& name, const FileIdentity& expected, const QString& drivePath);

// The text of a trash record: Path percent-encoded, DeletionDate local time.
QByteArray trashInfoText(const QByteArray& path, time_t when);

// The names tried in files/ for an item called name: the name itself, then
// "stem.2.ext", "stem.3.ext", ... (n = 1, 2, ...), cut to leave room for
// the ".trashinfo" of the record.
QByteArray trashNameCandidate(const QByteArray& name, int n);

// Makes the trash treat every item as lying outside the home's file system,
// on a mount whose top is topdir (empty: the mount table again), so that a
// test can reach the per-mount trashes without mounting anything.
void setTrashTopForTest(const QByteArray& topdir);

// Replaces statvfs for the disk-space calls (nullptr restores it), so a test
// can stand in for a mount that does not answer.
using StatvfsFn = int (*)(const char*, struct statvfs*);
void setStatvfsForTest(StatvfsFn fn);

}  // namespace plat::detail

#pragma once
// The internet cache clean-up without its window: the list of browser cache
// folders (stored in section "CacheFiles", first filled from the browsers'
// own folders), "&Initialize", and the files "&Clear internet cache" hands to
// the deletion panel.

#include "platform/findfile.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <functional>

namespace finders {

extern const char* const kCacheSection;       // "CacheFiles"
extern const char* const kCacheArchiveTag;    // "InternetCache"
extern const char* const kNoCacheFilesMessage;
extern const char* const kNoCacheFoldersMessage;
extern const char* const kSelectCacheFolderMessage;
extern const char* const kReallyDeleteCacheFolder;  // followed by the folder

// The age limit's range, in days.
constexpr int kMinCacheDays = 0;
constexpr int kMaxCacheDays = 100;

// The list as the window shows it: the stored one, or, when none was ever
// stored, the browsers' cache folders.
QStringList LoadCacheFolders();
// Stores the list ("Number", "File1".."FileN"), as the window does on closing.
void SaveCacheFolders(const QStringList& folders);
// "&Initialize": appends the browsers' cache folders that are not listed yet
// (compared without regard to case). Gives how many were added.
int AddBrowserCacheFolders(QStringList& folders);

// "C:\..." (any drive letter, a backslash after the colon).
bool IsFullDrivePath(const QString& path);

// Whole days from a file's last access (the later of its access and write
// times, as local days) to today; an access after today is 0 days old.
// -1 when neither time is recorded.
int CacheAgeInDays(const plat::FindData& file, const QDate& today);

struct CacheFiles {
    QStringList paths;    // drive paths, as the file system spells them
    QList<quint64> sizes;  // in bytes, one for each path
    double totalBytes = 0;
};

// True for a file some process holds open or mapped.
using FileHeld = std::function<bool(const plat::FindData&)>;

// The files of the listed folders (not their sub-folders) whose age is at
// least days: regular files only, hidden ones included, no links; a file
// held by a process is left out; an entry that is not a full drive path, a
// folder that cannot be entered and a folder or file reached a second time
// give nothing.
CacheFiles FindCacheFiles(const QStringList& folders, int days, const FileHeld& held, const QDate& today);
// The same today, leaving out the files the running processes hold.
CacheFiles FindCacheFiles(const QStringList& folders, int days);

}  // namespace finders

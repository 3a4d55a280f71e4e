#include "finders/cacheclear.h"

#include "core/helpers.h"
#include "core/settings.h"
#include "platform/browsercaches.h"
#include "platform/folderwalk.h"
#include "platform/openfiles.h"

#include <QDateTime>

#include <algorithm>

namespace finders {

const char* const kCacheSection = "CacheFiles";
const char* const kCacheArchiveTag = "InternetCache";
const char* const kNoCacheFilesMessage = "No files found to clear";
const char* const kNoCacheFoldersMessage =
    "Could not find any internet cache folders on your machine.  You may add them in manually if you know "
    "where they are located.  Typically they will exist under your browser folder with the folder name of "
    "\"cache\".";
const char* const kSelectCacheFolderMessage = "Select a folder from the list above";
const char* const kReallyDeleteCacheFolder = "Really delete ";

QStringList LoadCacheFolders()
{
    if (auto stored = core::SettingsStore::readList(QLatin1String(kCacheSection)))
        return *stored;
    return plat::browserCacheFolders();
}

void SaveCacheFolders(const QStringList& folders)
{
    core::SettingsStore::writeList(QLatin1String(kCacheSection), folders);
}

int AddBrowserCacheFolders(QStringList& folders)
{
    int added = 0;
    for (const QString& folder : plat::browserCacheFolders()) {
        if (folder.isEmpty() || folders.contains(folder, Qt::CaseInsensitive))
            continue;
        folders << folder;
        ++added;
    }
    return added;
}

bool IsFullDrivePath(const QString& path)
{
    return path.size() >= 3 && path[0].isLetter() && path[0].unicode() < 128 && path[1] == u':' && path[2] == u'\\';
}

int CacheAgeInDays(const plat::FindData& file, const QDate& today)
{
    // A write is an access too; this system does not count it as one.
    const plat::FileTime t = std::max(file.lastAccessTime, file.lastWriteTime);
    if (t == 0)
        return -1;
    constexpr qint64 kEpochDifference = 11644473600LL;  // 1601 to 1970, in seconds
    const qint64 seconds = qint64(t / 10000000ULL) - kEpochDifference;
    // The real local day, also outside the years a DOS time can hold.
    const QDate day = QDateTime::fromSecsSinceEpoch(seconds).date();
    if (!day.isValid())
        return -1;
    const qint64 age = day.daysTo(today);
    return age < 0 ? 0 : int(std::min<qint64>(age, INT_MAX));
}

CacheFiles FindCacheFiles(const QStringList& folders, int days, const FileHeld& held, const QDate& today)
{
    CacheFiles found;
    plat::WalkOptions options;
    options.hidden = true;
    plat::WalkContext foldersSeen;
    plat::WalkContext filesSeen;
    for (const QString& entry : folders) {
        if (!IsFullDrivePath(entry))
            continue;
        plat::TreeError error{};
        const auto folder = plat::WalkFolder::openRoot(entry, options, error);
        if (!folder || !foldersSeen.enter(folder->identity()))
            continue;
        folder->read();
        for (const plat::FindData& f : folder->entries()) {
            if (f.attributes & (plat::faDirectory | plat::faSystem | plat::faReparse))
                continue;
            const int age = CacheAgeInDays(f, today);
            if (age < 0 || age < days || (held && held(f)) || !filesSeen.enter({f.device, f.inode}))
                continue;
            found.totalBytes += core::FindDataSize(f);
            found.paths << core::JoinPath(folder->path(), f.name);
            found.sizes << f.size();
        }
    }
    return found;
}

CacheFiles FindCacheFiles(const QStringList& folders, int days)
{
    // This system lets a file be deleted while a browser still writes it.
    const plat::OpenFiles open = plat::OpenFiles::read();
    return FindCacheFiles(
        folders, days, [&open](const plat::FindData& f) { return open.holds(f); }, QDate::currentDate());
}

}  // namespace finders

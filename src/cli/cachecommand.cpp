#include "cli/cachecommand.h"

#include "cli/cliargs.h"
#include "finders/cacheclear.h"

namespace cli {

const char* const kCacheUsage =
    "  trovik-scan cache [--days N] [--folder F]...\n"
    "      Lists what \"Clear internet cache\" hands to the deletion panel: the\n"
    "      files of the cache folders (the stored list, else the browsers' cache\n"
    "      folders; or the --folder folders) not accessed for N days (0 to 100,\n"
    "      default 0). Prints \"Size\" and \"File\", then one line per file: its\n"
    "      size in bytes, a tab, and its path.\n"
    "  trovik-scan cache --list\n"
    "      Prints the cache folders as the window lists them; writes nothing.\n"
    "  trovik-scan cache --init\n"
    "      \"Initialize\": adds the browsers' cache folders not listed yet, stores\n"
    "      the list as closing the window does, and prints it.\n";

namespace {

enum class Mode { Clear, List, Init };

struct CacheOptions {
    Mode mode = Mode::Clear;
    int days = 0;
    QStringList folders;
};

bool ParseCache(QStringList args, CacheOptions& o)
{
    bool clearOptions = false;
    while (!args.isEmpty()) {
        const QString a = args.takeFirst();
        if ((a == "--list" || a == "--init") && o.mode == Mode::Clear) {
            o.mode = a == "--list" ? Mode::List : Mode::Init;
        } else if (a == "--days" && !args.isEmpty()) {
            bool ok = false;
            o.days = args.takeFirst().toInt(&ok);
            if (!ok || o.days < finders::kMinCacheDays || o.days > finders::kMaxCacheDays)
                return false;
            clearOptions = true;
        } else if (a == "--folder" && !args.isEmpty()) {
            const auto folder = DrivePathArgument(args.takeFirst());
            if (!folder)
                return false;
            o.folders << *folder;
            clearOptions = true;
        } else {
            return false;
        }
    }
    return o.mode == Mode::Clear || !clearOptions;
}

}  // namespace

int RunCache(const QStringList& args)
{
    CacheOptions o;
    if (!ParseCache(args, o))
        return kUsage;
    if (o.mode != Mode::Clear) {
        QStringList list = finders::LoadCacheFolders();
        if (o.mode == Mode::Init) {
            finders::AddBrowserCacheFolders(list);
            finders::SaveCacheFolders(list);
        }
        for (const QString& folder : list)
            Out(folder);
        if (o.mode == Mode::Init && list.isEmpty()) {
            Err(QString::fromLatin1(finders::kNoCacheFoldersMessage));
            return kMessage;
        }
        return kOk;
    }
    const QStringList folders = o.folders.isEmpty() ? finders::LoadCacheFolders() : o.folders;
    const finders::CacheFiles found = finders::FindCacheFiles(folders, o.days);
    if (found.paths.isEmpty()) {
        Err(QString::fromLatin1(finders::kNoCacheFilesMessage));
        return kMessage;
    }
    Out(QStringLiteral("Size\tFile"));
    for (qsizetype i = 0; i < found.paths.size(); ++i)
        Out(QString::number(found.sizes[i]) + u'\t' + found.paths[i]);
    return kOk;
}

}  // namespace cli

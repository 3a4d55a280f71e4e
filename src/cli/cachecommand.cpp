#include "cli/cachecommand.h"

#include "cli/cliargs.h"
#include "cli/rowoutput.h"
#include "finders/cacheclear.h"

#include <QJsonArray>
#include <QJsonObject>

namespace cli {

const char* const kCacheUsage =
    "  trovik-scan cache [--days N] [--folder F]... [--json|--print0]\n"
    "      Lists what \"Clear internet cache\" hands to the deletion panel: the\n"
    "      files of the cache folders (the stored list, else the browsers' cache\n"
    "      folders; or the --folder folders) not accessed for N days (0 to 100,\n"
    "      default 0). Prints \"Size\" and \"File\", then one line per file: its\n"
    "      size in bytes, a tab, and its path. --json prints one JSON document\n"
    "      instead, --print0 only the paths, each ended by a NUL byte.\n"
    "  trovik-scan cache --list [--json|--print0]\n"
    "      Prints the cache folders as the window lists them; writes nothing.\n"
    "  trovik-scan cache --init [--json|--print0]\n"
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
        if (RowOutput* out = rowOutput())
            out->setCriteria({{"mode", o.mode == Mode::Init ? "init" : "list"}});
        for (const QString& folder : list) {
            if (RowOutput* out = rowOutput())
                out->addFolder(folder, {});
            else
                Out(folder);
        }
        if (o.mode == Mode::Init && list.isEmpty()) {
            Err(QString::fromLatin1(finders::kNoCacheFoldersMessage));
            return kMessage;
        }
        return kOk;
    }
    const QStringList folders = o.folders.isEmpty() ? finders::LoadCacheFolders() : o.folders;
    RowOutput* out = rowOutput();
    if (out) {
        out->setCriteria({{"days", o.days}, {"folders", QJsonArray::fromStringList(folders)}});
        out->testSafeHarbor();
    }
    const finders::CacheFiles found = finders::FindCacheFiles(folders, o.days);
    if (found.paths.isEmpty()) {
        Err(QString::fromLatin1(finders::kNoCacheFilesMessage));
        return kMessage;
    }
    if (out) {
        out->addFiles(int(found.paths.size()), [&](int i) { return found.paths[i]; });
        return kOk;
    }
    Out(QStringLiteral("Size\tFile"));
    for (qsizetype i = 0; i < found.paths.size(); ++i)
        Out(QString::number(found.sizes[i]) + u'\t' + found.paths[i]);
    return kOk;
}

}  // namespace cli

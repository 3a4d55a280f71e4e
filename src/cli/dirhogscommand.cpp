#include "cli/dirhogscommand.h"

#include "cli/cliargs.h"
#include "cli/rowoutput.h"
#include "cli/stderrprompter.h"
#include "core/safeharbor.h"
#include "delete/deletionlog.h"
#include "delete/folderdeletion.h"
#include "finders/dirhogsearch.h"
#include "finders/dupresults.h"
#include "platform/environment.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QStringEncoder>
#include <algorithm>
#include <cstdio>

namespace cli {

const char* const kDirHogsUsage =
    "  trovik-scan dirhogs [--all] [--json|--print0] ROOT...\n"
    "      Lists the folders that hold the most, largest first, as the \"Folder\n"
    "      hogs\" window does: one line per folder directly under each ROOT,\n"
    "      totalled over its whole tree, or with --all one line per folder with\n"
    "      the files directly in it. Prints the grid: titles first, then one\n"
    "      line per row, tab-separated; --json one JSON document instead (each\n"
    "      row with its size, files and subFolders), --print0 only the folders'\n"
    "      paths, each ended by a NUL byte.\n"
    "  trovik-scan deltree [--trash] [--force] FOLDER\n"
    "      Removes a whole folder as the folder hogs window's \"Clean?\" does:\n"
    "      deletes it for good, or with --trash sends its files to the trash.\n"
    "      Drive roots, mount points and system folders are always refused. The\n"
    "      questions about the Safe Harbor and about read-only, hidden or system\n"
    "      files are answered Yes only with --force; without --force it refuses\n"
    "      to run while the Safe Harbor was never built. Exit status 1 when the\n"
    "      folder was refused or anything stayed.\n";

namespace {

// Answers Yes to every question, and says so, for --force.
class YesPrompter : public StderrPrompter {
public:
    core::Answer confirm(core::ConfirmKind, const QString& text, const QString&) override
    {
        Err(text + " - Yes");
        return core::Answer::Yes;
    }
};

struct PrompterScope {
    explicit PrompterScope(core::Prompter* p) : old(&core::prompter()) { core::setPrompter(p); }
    ~PrompterScope() { core::setPrompter(old); }
    core::Prompter* old;
};

// The grid's figures as numbers: its counts are whole numbers, written
// exactly (grouped by the locale).
void WriteFolderRows(RowOutput& out, const finders::DirHogSearch& search)
{
    const comp::ResultGrid& grid = search.grid();
    auto count = [&](int row, int column) {
        const auto n = ParseGroupedCount(grid.cellView(row, column));
        return n ? QJsonValue(qint64(*n)) : QJsonValue();
    };
    for (int r = 1; r <= std::min(grid.rowsUsed(), grid.rowCount() - 1); ++r)
        out.addFolder(grid.path(r), {{"size", count(r, 0)}, {"files", count(r, 2)}, {"subFolders", count(r, 3)}});
}

}  // namespace

int RunDirHogs(const QStringList& args)
{
    finders::DirHogMode mode = finders::DirHogMode::MainFolders;
    QStringList roots;
    for (const QString& a : args) {
        if (a == "--all") {
            mode = finders::DirHogMode::AllFolders;
        } else if (a.startsWith("--")) {
            return kUsage;
        } else {
            const auto root = DrivePathArgument(a);
            if (!root) {
                Err("Not a drive entry or an absolute path on a drive: " + a);
                return kUsage;
            }
            roots << *root;
        }
    }
    if (roots.isEmpty())
        return kUsage;

    RowOutput* out = rowOutput();
    if (out) {
        out->setCriteria({{"roots", QJsonArray::fromStringList(roots)},
                          {"mode", mode == finders::DirHogMode::AllFolders ? "all" : "main"}});
        out->testSafeHarbor();
    }
    finders::DirHogSearch search;
    QStringList late;  // boxes the window shows after its rows are in place
    search.warning = [&](const QString& text) { late << text; };
    search.search(roots, mode);
    if (out) {
        WriteFolderRows(*out, search);
        if (search.noResult())
            late << QString::fromLatin1(finders::kNoFilesMessage);
        for (const QString& text : late)
            Err(text);
        return late.isEmpty() ? kOk : kMessage;
    }

    QStringEncoder toUtf8(QStringEncoder::Utf8, QStringEncoder::Flag::Stateless);
    QByteArray bytes;
    search.writeGridLines([&](QStringView line) {
        bytes.resize(toUtf8.requiredSpace(line.size()) + 1);
        char* end = toUtf8.appendToBuffer(bytes.data(), line);
        *end++ = '\n';
        std::fwrite(bytes.constData(), 1, size_t(end - bytes.constData()), stdout);
    });
    std::fflush(stdout);
    if (search.noResult())
        late << QString::fromLatin1(finders::kNoFilesMessage);
    for (const QString& text : late)
        Err(text);
    return late.isEmpty() ? kOk : kMessage;
}

int RunDelTree(const QStringList& args)
{
    bool trash = false, force = false;
    QStringList folders;
    for (const QString& a : args) {
        if (a == "--trash")
            trash = true;
        else if (a == "--force")
            force = true;
        else if (a.startsWith("--"))
            return kUsage;
        else
            folders << a;
    }
    if (folders.size() != 1)
        return kUsage;
    const auto folder = DrivePathArgument(folders.first());
    if (!folder) {
        Err("Not a drive path or an absolute path on a drive: " + folders.first());
        return kUsage;
    }
    const QString refusal = finders::DirHogRefusalMessage(*folder);
    if (!refusal.isEmpty()) {
        Err(refusal);
        return kMessage;
    }

    core::SafeHarbor harbor;
    harbor.ReadSafeHarborExtensions();
    harbor.GetSearchPath();
    if (harbor.SafeHarborMissing && !force) {
        Err(core::SafeHarborMissingMessage());
        return kMessage;
    }
    del::DeletionLog log(plat::programFile("grdelete.txt"));
    if (!log.load()) {
        Err("The deletion log " + log.file() + " could not be read: " + log.lastError());
        return kMessage;
    }

    YesPrompter yes;
    std::optional<PrompterScope> scope;
    if (force)
        scope.emplace(&yes);
    del::FolderDeletion deletion(*folder);
    deletion.setMode(trash ? del::FolderMode::Recycle : del::FolderMode::Delete);
    deletion.setSafeHarbor(harbor);
    deletion.setLog(log);
    const del::FolderDeletionResult r = deletion.StartTheDeletionProcess();
    Out(QString("%1 files, %2 bytes %3")
            .arg(r.removed)
            .arg(del::DeletionLog::plainNumber(r.removedBytes))
            .arg(trash ? "sent to the trash" : "deleted"));
    return r.folderRemoved && r.failures.isEmpty() ? kOk : kMessage;
}

}  // namespace cli

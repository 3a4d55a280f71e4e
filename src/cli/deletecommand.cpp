#include "cli/deletecommand.h"

#include "cli/cliargs.h"
#include "cli/harborsplit.h"
#include "core/safeharbor.h"
#include "delete/deletionlog.h"
#include "delete/removebatch.h"
#include "platform/environment.h"

namespace cli {

const char* const kDeleteUsage =
    "  trovik-scan delete [--trash] [--force] FILE...\n"
    "      Removes the files as the deletion panel does, without asking: deletes\n"
    "      them for good, or with --trash sends them to the trash (which stops at\n"
    "      the first file it refuses). Files the Safe Harbor protects are left\n"
    "      alone and listed on standard error, unless --force; without --force it\n"
    "      refuses to run while the Safe Harbor was never built. Each file that\n"
    "      could not be removed is named on standard error. The files actually\n"
    "      removed are added to the totals and as one row to the deletion log\n"
    "      (grdelete.txt); prints how many files and bytes that was. Exit status\n"
    "      1 when any file named was left in place.\n";

namespace {

struct Options {
    bool trash = false;
    bool force = false;
    QStringList files;
};

std::optional<Options> Parse(const QStringList& args)
{
    Options o;
    bool onlyFiles = false;
    for (const QString& a : args) {
        if (onlyFiles || !a.startsWith("--"))
            o.files << a;
        else if (a == "--")
            onlyFiles = true;
        else if (a == "--trash")
            o.trash = true;
        else if (a == "--force")
            o.force = true;
        else
            return std::nullopt;
    }
    if (o.files.isEmpty())
        return std::nullopt;
    return o;
}

}  // namespace

int RunDelete(const QStringList& args)
{
    const auto options = Parse(args);
    if (!options)
        return kUsage;

    int status = kOk;
    QStringList paths = FilesToRemove(options->files, status);

    // An unreadable log is not replaced by a new one: nothing is removed.
    del::DeletionLog log(plat::programFile("grdelete.txt"));
    if (!log.load()) {
        Err("The deletion log " + log.file() + " could not be read: " + log.lastError());
        return kMessage;
    }

    if (!options->force) {
        bool anyProtected = false;
        if (!RemoveProtectedFiles(paths, anyProtected))
            return kMessage;
        if (anyProtected)
            status = kMessage;
    }
    if (paths.isEmpty()) {
        ReportNoFilesToRemove();
        return kMessage;
    }

    const del::RemoveMode mode = options->trash ? del::RemoveMode::Trash : del::RemoveMode::Delete;
    del::BatchCallbacks callbacks;
    callbacks.failed = [&](const QString& path) {
        Err((options->trash ? "Could not send to the trash - " : "Couldn't delete file - ") + path);
        status = kMessage;
    };
    const del::BatchResult result = del::removeFiles(paths, mode, callbacks);
    for (const QString& p : result.notTried)
        Err("Not tried after the trash refused a file: " + p);

    if (!del::recordBatch(result, log)) {
        Err("The deletion log could not be saved to " + log.file() + ": " + log.lastError());
        status = kMessage;
    }
    Out(QString("%1 files, %2 bytes %3")
            .arg(result.removedFiles)
            .arg(del::DeletionLog::plainNumber(result.removedBytes))
            .arg(options->trash ? "sent to the trash" : "deleted"));
    return status;
}

}  // namespace cli

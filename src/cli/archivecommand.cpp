#include "cli/archivecommand.h"

#include "cli/cliargs.h"
#include "cli/harborsplit.h"
#include "core/safeharbor.h"
#include "delete/deletionlog.h"
#include "delete/removebatch.h"
#include "delete/zipoperation.h"
#include "delete/zipsettings.h"
#include "platform/environment.h"
#include "platform/fileops.h"

#include <optional>

namespace cli {

const char* const kArchiveUsage =
    "  trovik-scan archive [--tag T] [--force] [--folder Z] [--comment C] FILE...\n"
    "      Zips the files as the deletion panel does and deletes each one once\n"
    "      the archive provably holds it: one archive per drive letter,\n"
    "      Drive-<letter>-<T><ddmmmyyhhmm>.zip, in the folder Z (default: the\n"
    "      archive folder of the settings), with the comment C (default: the\n"
    "      comment of the settings). An archive of the same name is added to.\n"
    "      Files the Safe Harbor protects are left alone and listed on standard\n"
    "      error, unless --force; without --force it refuses to run while the\n"
    "      Safe Harbor was never built. Each file left in place is named on standard\n"
    "      error. The files zipped and deleted are added to the totals and as\n"
    "      one row to the deletion log; prints how many files and bytes that\n"
    "      was and the archives written. Exit status 1 when any file named was\n"
    "      left in place.\n";

namespace {

struct Options {
    QString tag;
    std::optional<QString> folder;
    std::optional<QString> comment;
    bool force = false;
    QStringList files;
};

std::optional<Options> Parse(const QStringList& args)
{
    Options o;
    bool onlyFiles = false;
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args.at(i);
        const auto value = [&]() -> std::optional<QString> {
            if (i + 1 >= args.size())
                return std::nullopt;
            return args.at(++i);
        };
        if (onlyFiles || !a.startsWith("--")) {
            o.files << a;
        } else if (a == "--") {
            onlyFiles = true;
        } else if (a == "--force") {
            o.force = true;
        } else if (a == "--tag") {
            const auto v = value();
            if (!v)
                return std::nullopt;
            o.tag = *v;
        } else if (a == "--folder") {
            o.folder = value();
            if (!o.folder)
                return std::nullopt;
        } else if (a == "--comment") {
            o.comment = value();
            if (!o.comment)
                return std::nullopt;
        } else {
            return std::nullopt;
        }
    }
    if (o.files.isEmpty())
        return std::nullopt;
    return o;
}

}  // namespace

int RunArchive(const QStringList& args)
{
    const auto options = Parse(args);
    if (!options)
        return kUsage;

    int status = kOk;
    QStringList paths = FilesToRemove(options->files, status);

    QString folder = del::readZipFolderSetting();
    if (options->folder) {
        const auto drivePath = DrivePathArgument(*options->folder);
        if (!drivePath) {
            Err("Not a drive path or an absolute path on a drive: " + *options->folder);
            return kMessage;
        }
        folder = *drivePath;
    }

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

    del::ZipOperationSettings settings;
    settings.zipFolder = folder;
    settings.tag = options->tag;
    settings.comment = options->comment.value_or(del::readZipCommentSetting());
    del::ZipOperationCallbacks callbacks;
    callbacks.error = [&](const QString& message) {
        Err(message);
        status = kMessage;
    };
    const del::ZipOperationResult result = del::zipThenDelete(paths, settings, nullptr, callbacks);
    if (!result.ran)
        return kMessage;
    for (const QString& p : result.notTried)
        Err("Not tried after the archive could not be written: " + p);

    if (!del::recordZipOperation(result, log)) {
        Err("The deletion log could not be saved to " + log.file() + ": " + log.lastError());
        status = kMessage;
    }
    // An archive nothing could be added to was never made: name only those
    // that exist.
    for (const QString& a : result.archives)
        if (plat::fileExists(a))
            Out("Archive: " + a);
    Out(QString("%1 files, %2 bytes zipped and deleted")
            .arg(result.zippedFiles)
            .arg(del::DeletionLog::plainNumber(result.zippedBytes)));
    return status;
}

}  // namespace cli

#include "cli/restorecommand.h"

#include "cli/cliargs.h"
#include "delete/restore.h"
#include "platform/fileops.h"

#include <optional>

namespace cli {

const char* const kRestoreUsage =
    "  trovik-scan restore [--password P] ARCHIVE FOLDER\n"
    "      Extracts every file of the zip archive into FOLDER with its stored\n"
    "      folder path, as \"&Unzip archive files\" does: names that would land\n"
    "      outside FOLDER, links and device entries are refused, each file is\n"
    "      checked against its CRC before it gets its name, and a file that\n"
    "      exists already is left as it is. --password is used for encrypted\n"
    "      entries. Each entry that was not restored is named on standard error\n"
    "      with the reason; prints how many files were restored. Exit status 1\n"
    "      when any entry was not restored.\n";

namespace {

struct Options {
    QString password;
    bool havePassword = false;
    QStringList paths;
};

std::optional<Options> Parse(QStringList args)
{
    Options o;
    bool onlyPaths = false;
    while (!args.isEmpty()) {
        const QString a = args.takeFirst();
        if (onlyPaths || !a.startsWith("--")) {
            o.paths << a;
        } else if (a == "--") {
            onlyPaths = true;
        } else if (a == "--password") {
            if (args.isEmpty())
                return std::nullopt;
            o.password = args.takeFirst();
            o.havePassword = true;
        } else {
            return std::nullopt;
        }
    }
    if (o.paths.size() != 2)
        return std::nullopt;
    return o;
}

}  // namespace

int RunRestore(const QStringList& args)
{
    const auto options = Parse(args);
    if (!options)
        return kUsage;
    const auto archive = DrivePathArgument(options->paths[0]);
    const auto folder = DrivePathArgument(options->paths[1]);
    if (!archive || !folder) {
        Err("Not a drive path or an absolute path on a drive: " + options->paths[archive ? 1 : 0]);
        return kMessage;
    }
    if (!plat::folderExists(*folder)) {
        Err("The folder " + *folder + " does not exist.");
        return kMessage;
    }
    const int slash = int(archive->lastIndexOf('\\'));
    del::LoadedArchive loaded;
    if (!loaded.load(archive->left(slash + 1), archive->mid(slash + 1))) {
        Err(loaded.refusal().isEmpty() ? del::NotAnArchiveText(*archive)
                                       : del::RefusedArchiveText(*archive, loaded.refusal()));
        return kMessage;
    }
    // No one to ask: the password given, else none.
    comp::ZipReader::PasswordProvider ask;
    if (options->havePassword) {
        const QByteArray pw = options->password.toUtf8();
        bool given = false;
        ask = [pw, given](const QString&) mutable -> std::optional<QByteArray> {
            if (given)
                return std::nullopt;  // it was wrong
            given = true;
            return pw;
        };
    }
    const del::RestoreOutcome outcome = loaded.extractAll(*folder, ask, {});
    if (!outcome.refusal.isEmpty()) {
        Err(outcome.refusal);
        return kMessage;
    }
    for (const del::RestoreFailure& f : outcome.failures)
        Err(del::ExtractFailureText(f.entry, loaded.name()) + ": "
            + (f.codecText.isEmpty() ? comp::describe(f.result) : f.codecText));
    for (const QString& entry : outcome.existingEntries)
        Err(del::ExtractFailureText(entry, loaded.name()) + ": " + comp::describe(comp::ZipExtractResult::Exists));
    Out(QString("%1 of %2 files restored into %3").arg(outcome.extracted).arg(outcome.files).arg(*folder));
    return outcome.complete() ? kOk : kMessage;
}

}  // namespace cli

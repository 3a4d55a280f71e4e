// trovik-scan: runs the program's engines from the command line, with the
// same settings and program-folder files as the program.
#include "cli/archivecommand.h"
#include "cli/cachecommand.h"
#include "cli/checkversioncommand.h"
#include "cli/cliargs.h"
#include "cli/datescommand.h"
#include "cli/deletecommand.h"
#include "cli/detailscommand.h"
#include "cli/dirhogscommand.h"
#include "cli/dupscommand.h"
#include "cli/harborcommand.h"
#include "cli/listcommand.h"
#include "cli/restorecommand.h"
#include "cli/rowoutput.h"
#include "cli/statscommand.h"
#include "cli/stderrprompter.h"
#include "cli/tempcommand.h"
#include "cli/viewcommand.h"
#include "net/versioncheck.h"

#include <QCoreApplication>
#include <cstdio>
#include <optional>

namespace {

void PrintUsage(FILE* to)
{
    std::fputs("Usage: trovik-scan COMMAND [OPTIONS] ARGS...\n"
               "Paths are drive paths (\"C:\\usr\\bin\\ls\") or absolute paths, which are\n"
               "mapped to their drive (see TROVIK_DRIVES).\n\n"
               "Commands:\n",
               to);
    std::fputs(cli::kHarborUsage, to);
    std::fputs(cli::kDupsUsage, to);
    std::fputs(cli::kDatesUsage, to);
    std::fputs(cli::kTempUsage, to);
    std::fputs(cli::kDeleteUsage, to);
    std::fputs(cli::kDirHogsUsage, to);
    std::fputs(cli::kRestoreUsage, to);
    std::fputs(cli::kArchiveUsage, to);
    std::fputs(cli::kDetailsUsage, to);
    std::fputs(cli::kCheckVersionUsage, to);
    std::fputs(cli::kViewUsage, to);
    std::fputs(cli::kCacheUsage, to);
    std::fputs(cli::kStatsUsage, to);
    std::fputs(cli::kListUsage, to);
    std::fputs("  trovik-scan --help\n      This text.\n"
               "  trovik-scan --version\n      The program's version.\n\n"
               "The commands that list files or folders (harbor, dups, hogs, crc, dates,\n"
               "temp, dirhogs, cache, list) also take --json: one JSON document on\n"
               "standard output, {\"version\": 1, \"command\", \"criteria\", \"rows\",\n"
               "\"messages\"}, the messages also on standard error (no document after a\n"
               "usage error); or --print0: only the rows' POSIX paths, each ended by a\n"
               "NUL byte, for xargs -0.\n\n"
               "Exit status: 0 done, 1 a message the program would show in a box\n"
               "(printed on standard error), 2 a usage error.\n",
               to);
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    cli::StderrPrompter prompter;
    core::setPrompter(&prompter);
    QStringList args = app.arguments().mid(1);
    if (args.isEmpty()) {
        PrintUsage(stderr);
        return cli::kUsage;
    }
    if (args.first() == "--help" || args.first() == "-h") {
        PrintUsage(stdout);
        return cli::kOk;
    }
    if (args.first() == "--version") {
        std::printf("trovik-scan %s\n", net::kOwnVersion);
        return cli::kOk;
    }
    const QString command = args.takeFirst();
    cli::OutputFormat format = cli::OutputFormat::Text;
    const bool formatOk = cli::TakeOutputFormat(args, format);
    static const QStringList rowCommands = {"harbor", "dups", "hogs", "crc",  "dates",
                                            "temp",   "cache", "dirhogs", "list"};
    if (!formatOk || (format != cli::OutputFormat::Text && !rowCommands.contains(command))) {
        PrintUsage(stderr);
        return cli::kUsage;
    }
    std::optional<cli::RowOutput> rows;
    if (format != cli::OutputFormat::Text) {
        rows.emplace(format, command);
        cli::setRowOutput(&*rows);
    }
    int status = cli::kUsage;
    if (command == "harbor")
        status = cli::RunHarbor(args);
    else if (command == "dups")
        status = cli::RunDups(args, true);
    else if (command == "hogs")
        status = cli::RunDups(args, false);
    else if (command == "dates")
        status = cli::RunDates(args);
    else if (command == "temp")
        status = cli::RunTemp(args);
    else if (command == "crc")
        status = cli::RunCrc(args);
    else if (command == "delete")
        status = cli::RunDelete(args);
    else if (command == "dirhogs")
        status = cli::RunDirHogs(args);
    else if (command == "deltree")
        status = cli::RunDelTree(args);
    else if (command == "restore")
        status = cli::RunRestore(args);
    else if (command == "archive")
        status = cli::RunArchive(args);
    else if (command == "details")
        status = cli::RunDetails(args);
    else if (command == "compare")
        status = cli::RunCompare(args);
    else if (command == "checkversion")
        status = cli::RunCheckVersion(args);
    else if (command == "view")
        status = cli::RunView(args);
    else if (command == "strings")
        status = cli::RunStrings(args);
    else if (command == "cache")
        status = cli::RunCache(args);
    else if (command == "stats")
        status = cli::RunStats(args);
    else if (command == "space")
        status = cli::RunSpace(args);
    else if (command == "list")
        status = cli::RunList(args);
    if (status == cli::kUsage)
        PrintUsage(stderr);
    else if (rows)
        rows->finish();
    return status;
}

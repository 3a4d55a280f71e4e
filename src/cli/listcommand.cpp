#include "cli/listcommand.h"

#include "browse/folderlisting.h"
#include "cli/cliargs.h"
#include "cli/rowoutput.h"

namespace cli {

const char* const kListUsage =
    "  trovik-scan list [--wildcard P] [--json|--print0] FOLDER\n"
    "      Lists the files of one folder as the folder browser first shows them:\n"
    "      titles first, then one tab-separated line per file in name order (one\n"
    "      empty row when none matches). --wildcard takes patterns separated by\n"
    "      \";\" (default *.*); hidden and system files are not listed. --json\n"
    "      prints one JSON document instead (no row when none matches),\n"
    "      --print0 only the paths, each ended by a NUL byte.\n";

int RunList(const QStringList& args)
{
    QString pattern = QStringLiteral("*.*");
    QStringList rest;
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--wildcard")) {
            if (++i >= args.size())
                return kUsage;
            pattern = args[i];
        } else {
            rest << args[i];
        }
    }
    if (rest.size() != 1)
        return kUsage;
    const auto folder = DrivePathArgument(rest.first());
    if (!folder) {
        Err("Not a drive path or an absolute path on a drive: " + rest.first());
        return kUsage;
    }
    RowOutput* out = rowOutput();
    if (out) {
        out->setCriteria({{"folder", *folder}, {"wildcard", pattern}});
        out->testSafeHarbor();
    }
    comp::ResultGrid grid;
    browse::GridTotals totals;
    if (!browse::ListFolderAsShown(grid, *folder, pattern, totals)) {
        Err("Can't open folder " + *folder);
        return kMessage;
    }
    if (out) {
        // The grid's one empty row of an empty folder stands for no file.
        for (int r = 1; r < grid.rowCount(); ++r)
            if (!grid.path(r).isEmpty())
                out->addFile(grid.path(r));
        return kOk;
    }
    for (int r = 0; r < grid.rowCount(); ++r)
        Out(grid.rowCells(r).join(u'\t'));
    return kOk;
}

}  // namespace cli

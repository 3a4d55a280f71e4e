#include "cli/harborcommand.h"

#include "cli/cliargs.h"
#include "cli/rowoutput.h"
#include "core/safeharbor.h"
#include "harbor/folderlist.h"
#include "harbor/harborbuilder.h"

#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonObject>

namespace cli {

const char* const kHarborUsage =
    "  trovik-scan harbor [--folder] [--json|--print0] PATH...\n"
    "      For each path, the Safe Harbor protection the program computes from\n"
    "      the same settings and folders.txt: the reason code, a tab, the\n"
    "      reason text, a tab, the path. --folder tests the paths as folders,\n"
    "      otherwise they are tested as files. Reason codes: 0 not protected,\n"
    "      1 system folder, 2 search path, 3 protected folder list,\n"
    "      4 protected file extension. --json prints one JSON document instead\n"
    "      (each row with its harbor code), --print0 only the paths, each ended\n"
    "      by a NUL byte.\n"
    "  trovik-scan harbor --build\n"
    "      Builds the protected folder list as the Safe Harbor window's\n"
    "      \"Build list of folders\" does (subtree rules are kept) and writes\n"
    "      folders.txt; prints the folder count and the time taken.\n";

namespace {

int Build()
{
    QElapsedTimer timer;
    timer.start();
    QStringList list = harbor::LoadFolderList();
    auto machine = plat::machineKeyTree();
    auto user = plat::userKeyTree();
    harbor::BuildFolderList(list, *machine, *user);
    if (!harbor::SaveFolderList(list)) {
        Err("Could not write " + harbor::FoldersFilePath());
        return kMessage;
    }
    harbor::RecordBuildDate(list.isEmpty());
    Out(QString("%1 folders in %2 ms").arg(list.size()).arg(timer.elapsed()));
    return kOk;
}

}  // namespace

int RunHarbor(const QStringList& args)
{
    if (args == QStringList{"--build"})
        return rowOutput() ? kUsage : Build();
    bool asFolder = false;
    QStringList paths;
    for (const QString& a : args) {
        if (a == "--folder")
            asFolder = true;
        else if (a.startsWith("--"))
            return kUsage;
        else
            paths << a;
    }
    if (paths.isEmpty())
        return kUsage;

    core::SafeHarbor harbor;
    // The main window's load order: extensions first, then the folder lists.
    harbor.ReadSafeHarborExtensions();
    harbor.GetSearchPath();
    RowOutput* out = rowOutput();
    if (out)
        out->setCriteria({{"paths", QJsonArray::fromStringList(paths)}, {"folder", asFolder}});
    int status = kOk;
    for (const QString& p : paths) {
        const auto drivePath = DrivePathArgument(p);
        if (!drivePath) {
            Err("Not a drive path or an absolute path on a drive: " + p);
            status = kMessage;
            continue;
        }
        const int reason = harbor.IsInSafeHarbor(*drivePath, !asFolder);
        if (out)
            out->addRow(*drivePath, {{"harbor", reason}});
        else
            Out(QString("%1\t%2\t%3").arg(reason).arg(core::SafeHarborReasonText(reason), *drivePath));
    }
    return status;
}

}  // namespace cli

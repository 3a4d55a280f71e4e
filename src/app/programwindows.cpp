#include "app/programwindows.h"

#include "app/frmmain.h"
#include "browse/browsehook.h"
#include "browse/frmbrowse.h"
#include "browse/frmview.h"
#include "browse/viewhook.h"
#include "delete/frmunzipit.h"
#include "finders/frmcache.h"
#include "finders/frmdirhog.h"
#include "finders/frmclean.h"
#include "finders/frmdup.h"
#include "finders/frmmods.h"
#include "harbor/frmnodelete.h"
#include "net/frmabout.h"
#include "stats/frmstatistics.h"

#include <QApplication>
#include <memory>

namespace app {

namespace {

// "Build &safe harbor": the builder builds at once when there is no list
// yet; after a change the new lists take effect at once, which also
// recomputes SafeHarborMissing.
void btBuildClick(TfrmMain& main)
{
    std::unique_ptr<harbor::TfrmNoDelete> window;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    try {
        window.reset(new harbor::TfrmNoDelete(&main));
    } catch (...) {
        QApplication::restoreOverrideCursor();
        throw;
    }
    QApplication::restoreOverrideCursor();
    window->FirstBuild = main.launcher().SafeHarborMissing;
    window->exec();
    const bool changed = window->SafeHarborChanged;
    window.reset();
    if (changed)
        main.reloadSafeHarbor();
}

// "&Duplicate files" and "&File hogs": one window, whose mode the main
// window has just set in DuplicateMode.
void btDuplicateClick(TfrmMain& main)
{
    const std::unique_ptr<finders::TfrmDup> window(new finders::TfrmDup(&main, main.launcher().DuplicateMode == 1));
    window->exec();
}

// "Files &accessed": the files-by-date window.
void btFilesClick(TfrmMain& main)
{
    const std::unique_ptr<finders::TfrmMods> window(new finders::TfrmMods(&main));
    window->exec();
}

// "&Clear internet files".
void btClearCacheClick(TfrmMain& main)
{
    const std::unique_ptr<finders::TfrmCache> window(new finders::TfrmCache(&main));
    window->exec();
}

// "Folder &hogs".
void btDirHogsClick(TfrmMain& main)
{
    const std::unique_ptr<finders::TfrmDirHog> window(new finders::TfrmDirHog(&main));
    window->exec();
}

// "&Quick clean".
void btCleanClick(TfrmMain& main)
{
    const std::unique_ptr<finders::TfrmClean> window(new finders::TfrmClean(&main));
    window->exec();
}

// "&Unzip archive files": the restore window opens on the archive folder.
void btZipClick(TfrmMain& main)
{
    const std::unique_ptr<del::TfrmUnZipIt> window(new del::TfrmUnZipIt(&main));
    window->ZipFolder = main.launcher().ZipFolder;
    window->exec();
}

// "&Statistics": the statistics window made at start-up, shown without
// being modal; it keeps its last results between showings.
void btStatisticClick(TfrmMain&)
{
    stats::TfrmStatistics* window = stats::TfrmStatistics::instance();
    if (!window)
        return;
    window->show();
    window->raise();
    window->activateWindow();
}

// "&Browse": the browser starts in the process's current folder with "*.*".
void btBrowseClick(TfrmMain& main)
{
    browse::BrowseFolder(&main, browse::BrowseRequest{});
}

// "Ab&out" and the two maker labels of the main window.
void btReachClick(TfrmMain& main)
{
    const std::unique_ptr<net::TfrmAbout> window(new net::TfrmAbout(&main));
    window->exec();
}

}  // namespace

// Each entry creates its window with the main window as owner, shows it and
// destroys it afterwards, for example
//
//   main.registerAction("btDuplicate", [](TfrmMain& m) { comp::runModal<TfrmDup>(&m); });
//
// The Safe Harbor guard and DuplicateMode are applied by the main window
// before the action runs (see launcherFunctions()). Help and Exit are the
// main window's own.
void registerProgramWindows(TfrmMain& main)
{
    main.registerAction(QStringLiteral("btBuild"), btBuildClick);
    main.registerAction(QStringLiteral("btDuplicate"), btDuplicateClick);
    main.registerAction(QStringLiteral("btFileHog"), btDuplicateClick);
    main.registerAction(QStringLiteral("btFiles"), btFilesClick);
    main.registerAction(QStringLiteral("btClearCache"), btClearCacheClick);
    main.registerAction(QStringLiteral("btDirHogs"), btDirHogsClick);
    main.registerAction(QStringLiteral("btClean"), btCleanClick);
    main.registerAction(QStringLiteral("btZip"), btZipClick);
    main.registerAction(QStringLiteral("btStatistic"), btStatisticClick);
    main.registerAction(QStringLiteral("btReach"), btReachClick);
    main.registerAction(QStringLiteral("btBrowse"), btBrowseClick);
    // The result windows reach the viewer through a hook, so that the
    // finder libraries need not link the viewer's windows.
    browse::setViewFileHook([](QWidget* owner, const QString& drivePath) { browse::ViewFile(owner, drivePath); });
    // The finder windows' "&Browse" reach the folder browser the same way.
    browse::setBrowseHook(browse::BrowseFolder);
}

}  // namespace app

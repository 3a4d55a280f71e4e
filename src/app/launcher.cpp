#include "app/launcher.h"

#include "core/helpers.h"
#include "core/settings.h"
#include "delete/zipsettings.h"
#include "platform/environment.h"
#include "reports/listings.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#ifndef TROVIK_SHARE_DIR
#define TROVIK_SHARE_DIR ""
#endif

namespace app {

const QList<LauncherFunction>& launcherFunctions()
{
    static const QList<LauncherFunction> functions = {
        {"btDuplicate", "&Duplicate files", "Locate duplicate files", true, 1},
        {"btFileHog", "&File hogs", "Locate large files", true, 0},
        {"btFiles", "Files &accessed", "Locate old and recent files", true, -1},
        {"btDirHogs", "Folder &hogs", "Locate folders taking the most space", true, -1},
        {"btClean", "&Quick clean", "Quickly clean up temporary files", true, -1},
        {"btStatistic", "&Statistics", "Compute disk statistics", false, -1},
        {"btBrowse", "&Browse", "Browse through disks/folders", true, -1},
        {"btClearCache", "&Clear internet files", "Clean up web browser cache folders", true, -1},
        {"btZip", "&Unzip archive files", "Unzip files that have been zipped up by Trovik (compressed)", false, -1},
        {"btBuild", "Build &safe harbor",
         "Build list of folders that will not be deleted in Trovik without warning", false, -1},
        {"btReach", "Ab&out", "", false, -1},
        {"btHelp", "H&elp", "", false, -1},
        {"btClose", "E&xit", "Quit and close ", false, -1},
    };
    return functions;
}

const LauncherFunction* findLauncherFunction(const QString& name)
{
    for (const LauncherFunction& f : launcherFunctions())
        if (f.name == name)
            return &f;
    return nullptr;
}

Launcher& Launcher::program()
{
    static Launcher state;
    // The windows below the launcher reach the same lists through core.
    static const bool registered = (core::setProgramSafeHarbor(&state), true);
    (void)registered;
    // The zip options window changes the archive folder for the whole program.
    static const bool followsZipFolder =
        (del::setZipFolderObserver([](const QString& folder) { state.ZipFolder = folder; }), true);
    (void)followsZipFolder;
    return state;
}

void Launcher::fix2000()
{
    core::SetShortDateFormat(core::WidenDateFormat(core::ShortDateFormat()));
}

void Launcher::formShow()
{
    LastTestedFolder.clear();
    getDefaultZipPath();
    ReadSafeHarborExtensions();
    GetSearchPath();
}

QString Launcher::defaultZipFolder()
{
    return del::defaultZipFolder();
}

void Launcher::getDefaultZipPath()
{
    ZipFolder = del::readZipFolderSetting();
}

QString Launcher::safeHarborListFile()
{
    return plat::programFile(QStringLiteral("folders.txt"));
}

void Launcher::reloadSafeHarbor()
{
    GetSearchPath();
    ReadSafeHarborExtensions();
}

QString Launcher::safeHarborMissingMessage()
{
    return core::SafeHarborMissingMessage();
}

bool Launcher::checkExceptionList()
{
    if (!SafeHarborMissing)
        return true;
    core::ErrorBox(safeHarborMissingMessage());
    return false;
}

bool Launcher::beforeOpen(const LauncherFunction& f)
{
    if (f.needsSafeHarbor && !checkExceptionList())
        return false;
    if (f.duplicateMode >= 0)
        DuplicateMode = quint8(f.duplicateMode);
    return true;
}

QString Launcher::helpFileName()
{
    return QStringLiteral("trvk30.html");
}

QStringList Launcher::helpSearchDirs()
{
    QStringList dirs;
    const QString exeDir = QCoreApplication::applicationDirPath();
    if (!exeDir.isEmpty()) {
        dirs << exeDir;
        dirs << QDir::cleanPath(exeDir + QStringLiteral("/../share/trovik"));
    }
    const QString installed = QStringLiteral(TROVIK_SHARE_DIR);
    if (!installed.isEmpty() && !dirs.contains(installed))
        dirs << installed;
    return dirs;
}

QString Launcher::locateHelpFile(const QStringList& dirs)
{
    for (const QString& dir : dirs) {
        const QFileInfo info(QDir(dir).filePath(helpFileName()));
        if (info.isFile())
            return info.absoluteFilePath();
    }
    return QString();
}

core::SaveRequest Launcher::webPageSaveRequest()
{
    // The finder windows below the launcher ask the listings for it directly.
    return reports::WebPageSaveRequest();
}

}  // namespace app

#pragma once
// The launcher's state and rules, without widgets: the program-wide values
// the main window owns (DuplicateMode, ZipFolder, LastTestedFolder), the
// Safe Harbor guard of the finder buttons, the archive folder setting, the
// date-format widening of start-up and the table of launcher functions.

#include "core/prompter.h"
#include "core/safeharbor.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QtGlobal>

namespace app {

// One launcher button.
struct LauncherFunction {
    QString name;          // objectName of the button, "btDuplicate"
    QString caption;       // with its accelerator, "&Duplicate files"
    QString hint;          // tooltip; empty = none
    bool needsSafeHarbor;  // the button first calls checkExceptionList
    int duplicateMode;     // value for DuplicateMode before opening; -1 = leave it
};

// The launcher functions in their order on the main window.
const QList<LauncherFunction>& launcherFunctions();
// The function of a button name, or nullptr.
const LauncherFunction* findLauncherFunction(const QString& name);

// The launcher holds the Safe Harbor lists (ProtectedFolders, ..., with
// SafeHarborMissing and the LastTestedFolder cache) for the whole program.
class Launcher : public core::SafeHarbor {
public:
    Launcher() { SafeHarborMissing = true; }

    // Read by the duplicate/file-hog window when it is created: 1 = find
    // duplicate files, 0 = find file hogs. Keeps its last value.
    quint8 DuplicateMode = 1;
    // Folder where zip archives are written and looked for (drive path).
    QString ZipFolder;

    // The state of the running program.
    static Launcher& program();

    // Start-up: widen the program-wide short date format.
    static void fix2000();

    // The parts of the main window's show handler that need no widgets, in
    // their order: empty LastTestedFolder, load the archive folder, load the
    // Safe Harbor lists.
    void formShow();

    // ZipFolder := setting "ZipFile"/"Path", default the user's home folder.
    void getDefaultZipPath();
    static QString defaultZipFolder();

    // Loads the Safe Harbor lists again after the builder reported a change:
    // the folder lists first (which recomputes SafeHarborMissing), then the
    // protected extensions.
    void reloadSafeHarbor();
    // POSIX path of folders.txt in the program folder.
    static QString safeHarborListFile();

    // The guard of the finder buttons: true when the Safe Harbor exists,
    // else the error box and false.
    bool checkExceptionList();
    static QString safeHarborMissingMessage();

    // What a launcher button does before its window opens: the Safe Harbor
    // guard where needed, then DuplicateMode. False = open nothing.
    bool beforeOpen(const LauncherFunction& f);

    // Fewer than 15 bits per pixel: the gradient replaces the tiled picture.
    static bool useGradient(int bitsPerPixel) { return bitsPerPixel < 15; }

    // The help file and where it is looked for: beside the executable, then
    // in the installed share folder.
    static QString helpFileName();
    static QStringList helpSearchDirs();
    // The first existing help file in dirs; empty when there is none.
    static QString locateHelpFile(const QStringList& dirs);
    static QString helpContentsAnchor() { return QStringLiteral("contents"); }

    // The save dialog shared by the finder windows' "Web page" command.
    static core::SaveRequest webPageSaveRequest();
};

}  // namespace app

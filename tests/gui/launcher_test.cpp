// The launcher engine: the Safe Harbor guard, DuplicateMode, the archive
// folder, the date-format widening and the help file lookup.
#include "app/launcher.h"
#include "core/helpers.h"
#include "core/scriptedprompter.h"
#include "core/settings.h"
#include "platform/environment.h"
#include "support/tempdrives.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using app::Launcher;
using core::ScriptedPrompter;

namespace {

class LauncherTest : public ::testing::Test {
protected:
    void SetUp() override { core::setPrompter(&prompter); }
    void TearDown() override { core::setPrompter(nullptr); }
    void makeSafeHarborList()
    {
        QFile f(drives.programHome() + "/folders.txt");
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("C:\\KEEP\\\n");
    }
    testing_support::TempDrives drives;
    ScriptedPrompter prompter;
};

const QString kMissing =
    "The Safe Harbor list of folders/files not to delete has not been created yet.  "
    "Click on the Build Safe Harbor button to initialize.";

}  // namespace

TEST(LauncherTable, ButtonsCaptionsAndHints)
{
    const auto& f = app::launcherFunctions();
    ASSERT_EQ(f.size(), 13);
    struct Row {
        const char* name;
        const char* caption;
        const char* hint;
        bool guard;
    };
    const Row rows[] = {
        {"btDuplicate", "&Duplicate files", "Locate duplicate files", true},
        {"btFileHog", "&File hogs", "Locate large files", true},
        {"btFiles", "Files &accessed", "Locate old and recent files", true},
        {"btDirHogs", "Folder &hogs", "Locate folders taking the most space", true},
        {"btClean", "&Quick clean", "Quickly clean up temporary files", true},
        {"btStatistic", "&Statistics", "Compute disk statistics", false},
        {"btBrowse", "&Browse", "Browse through disks/folders", true},
        {"btClearCache", "&Clear internet files", "Clean up web browser cache folders", true},
        {"btZip", "&Unzip archive files", "Unzip files that have been zipped up by Trovik (compressed)", false},
        {"btBuild", "Build &safe harbor", "Build list of folders that will not be deleted in Trovik without warning",
         false},
        {"btReach", "Ab&out", "", false},
        {"btHelp", "H&elp", "", false},
        {"btClose", "E&xit", "Quit and close ", false},
    };
    for (const Row& r : rows) {
        const app::LauncherFunction* lf = app::findLauncherFunction(r.name);
        ASSERT_NE(lf, nullptr) << r.name;
        EXPECT_EQ(lf->caption, QString(r.caption));
        EXPECT_EQ(lf->hint, QString(r.hint));
        EXPECT_EQ(lf->needsSafeHarbor, r.guard) << r.name;
    }
    EXPECT_EQ(app::findLauncherFunction("btNothing"), nullptr);
}

TEST_F(LauncherTest, MissingSafeHarborListRefusesWithTheMessage)
{
    Launcher l;
    l.reloadSafeHarbor();
    EXPECT_TRUE(l.SafeHarborMissing);
    EXPECT_FALSE(l.checkExceptionList());
    ASSERT_EQ(prompter.texts(ScriptedPrompter::Kind::Error), QStringList{kMissing});
    EXPECT_EQ(Launcher::safeHarborMissingMessage(), kMissing);
}

TEST_F(LauncherTest, ExistingSafeHarborListPassesSilently)
{
    makeSafeHarborList();
    Launcher l;
    l.reloadSafeHarbor();
    EXPECT_FALSE(l.SafeHarborMissing);
    EXPECT_TRUE(l.checkExceptionList());
    EXPECT_TRUE(prompter.records().isEmpty());
    EXPECT_EQ(QDir::cleanPath(Launcher::safeHarborListFile()), QDir::cleanPath(drives.programHome() + "/folders.txt"));
}

TEST_F(LauncherTest, SafeHarborAppearingLaterIsSeenAfterReload)
{
    Launcher l;
    l.reloadSafeHarbor();
    EXPECT_FALSE(l.checkExceptionList());
    makeSafeHarborList();
    EXPECT_FALSE(l.checkExceptionList());  // not reloaded yet
    l.reloadSafeHarbor();
    EXPECT_TRUE(l.checkExceptionList());
    EXPECT_EQ(prompter.texts(ScriptedPrompter::Kind::Error).size(), 2);
}

TEST_F(LauncherTest, BeforeOpenGuardsFindersAndSetsDuplicateMode)
{
    Launcher l;
    l.reloadSafeHarbor();
    l.DuplicateMode = 7;
    EXPECT_FALSE(l.beforeOpen(*app::findLauncherFunction("btFileHog")));
    EXPECT_EQ(l.DuplicateMode, 7);  // the guard came first
    // Functions without the guard work without a Safe Harbor.
    for (const char* name : {"btStatistic", "btZip", "btBuild", "btReach", "btHelp", "btClose"})
        EXPECT_TRUE(l.beforeOpen(*app::findLauncherFunction(name))) << name;
    EXPECT_EQ(prompter.texts(ScriptedPrompter::Kind::Error).size(), 1);

    makeSafeHarborList();
    l.reloadSafeHarbor();
    EXPECT_TRUE(l.beforeOpen(*app::findLauncherFunction("btDuplicate")));
    EXPECT_EQ(l.DuplicateMode, 1);
    EXPECT_TRUE(l.beforeOpen(*app::findLauncherFunction("btFileHog")));
    EXPECT_EQ(l.DuplicateMode, 0);
    EXPECT_TRUE(l.beforeOpen(*app::findLauncherFunction("btFiles")));
    EXPECT_EQ(l.DuplicateMode, 0);  // keeps its last value
}

TEST_F(LauncherTest, DefaultZipPathIsTheHomeFolder)
{
    // A home folder on drive C: (TempDrives restores HOME afterwards).
    qputenv("HOME", drives.makeFolder('C', "home/ann").toLocal8Bit());
    Launcher l;
    l.getDefaultZipPath();
    EXPECT_EQ(l.ZipFolder, "C:\\home\\ann");
    EXPECT_EQ(l.ZipFolder, plat::homeDrivePath());
    EXPECT_EQ(Launcher::defaultZipFolder(), "C:\\home\\ann");
}

TEST_F(LauncherTest, StoredZipPathWins)
{
    core::SettingsStore::writeString("ZipFile", "Path", "D:\\Archive\\");
    Launcher l;
    l.getDefaultZipPath();
    EXPECT_EQ(l.ZipFolder, "D:\\Archive\\");
}

TEST_F(LauncherTest, FormShowEmptiesTheCacheAndLoads)
{
    core::SettingsStore::writeString("ZipFile", "Path", "D:\\Zips");
    makeSafeHarborList();
    Launcher l;
    l.LastTestedFolder = "C:\\SOMEWHERE\\";
    l.formShow();
    EXPECT_TRUE(l.LastTestedFolder.isEmpty());
    EXPECT_EQ(l.ZipFolder, "D:\\Zips");
    EXPECT_FALSE(l.SafeHarborMissing);
}

TEST(LauncherDates, Fix2000WidensTheShortDateFormat)
{
    const QString saved = core::ShortDateFormat();
    struct Case {
        const char* in;
        const char* out;
    };
    for (const Case& c : {Case{"d-MMM-yy", "d-MM-yyyy"}, Case{"M/d/yy", "M/d/yyyy"},
                          Case{"dd-MMM-yy", "dd-MM-yyyy"}, Case{"dd.MM.yyyy", "dd.MM.yyyy"},
                          Case{"MMMM d, yy", "MMM d, yyyy"}}) {
        core::SetShortDateFormat(c.in);
        Launcher::fix2000();
        EXPECT_EQ(core::ShortDateFormat(), QString(c.out)) << c.in;
    }
    core::SetShortDateFormat(saved);
}

TEST(LauncherScreen, GradientBelowFifteenBits)
{
    EXPECT_TRUE(Launcher::useGradient(8));
    EXPECT_TRUE(Launcher::useGradient(14));
    EXPECT_FALSE(Launcher::useGradient(15));
    EXPECT_FALSE(Launcher::useGradient(16));
    EXPECT_FALSE(Launcher::useGradient(24));
}

TEST(LauncherHelp, FindsTheFirstExistingHelpFile)
{
    QTemporaryDir a, b;
    const QStringList dirs{a.path(), b.path()};
    EXPECT_TRUE(Launcher::locateHelpFile(dirs).isEmpty());
    QFile f(b.path() + "/" + Launcher::helpFileName());
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("<html></html>");
    f.close();
    EXPECT_EQ(Launcher::locateHelpFile(dirs), QFileInfo(f).absoluteFilePath());
    // Beside the program in the build tree, then where an install under any
    // prefix puts it.
    const QString exeDir = QCoreApplication::applicationDirPath();
    const QStringList searched = Launcher::helpSearchDirs();
    ASSERT_GE(searched.size(), 2);
    EXPECT_EQ(searched[0], exeDir);
    EXPECT_EQ(searched[1], QDir::cleanPath(exeDir + "/../share/trovik"));
}

TEST(LauncherSaveDialog, WebPageRequest)
{
    const core::SaveRequest r = Launcher::webPageSaveRequest();
    EXPECT_EQ(r.caption, "Save file listing as web page");
    EXPECT_EQ(r.defaultSuffix, ".htm");
    EXPECT_EQ(r.initialName, "save.htm");
    EXPECT_EQ(r.filter, "HTM files|*.htm|HTML files|*.html|All files|*.*");
}

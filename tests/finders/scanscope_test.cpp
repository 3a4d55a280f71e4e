// The type test and the start of a walk at a root entry.
#include "core/scriptedprompter.h"
#include "finders/scanscope.h"
#include "platform/fileops.h"
#include "support/tempdrives.h"

#include <QDir>
#include <gtest/gtest.h>

using finders::RootStart;
using finders::TypeFilter;
using finders::TypeMode;

namespace {

const QStringList kEntries = {"*.doc\tWord document", "*.EXE\tProgram", "*.tar.gz\tTarball"};

}  // namespace

TEST(TypeTest, ExtensionsOfEntriesAndFiles)
{
    EXPECT_EQ(finders::TypeEntryExtension("*.doc\tWord document"), ".doc");
    EXPECT_EQ(finders::TypeEntryExtension("*.EXE\tProgram"), ".exe");
    EXPECT_EQ(finders::TypeEntryExtension("*.dll"), ".dll");
    EXPECT_EQ(finders::TypeEntryExtension("*.tar.gz\tTarball"), ".tar.gz");
    EXPECT_EQ(finders::FileExtension("REPORT.DOC"), ".doc");
    EXPECT_EQ(finders::FileExtension("archive.tar.gz"), ".gz");
    EXPECT_EQ(finders::FileExtension("README"), "");
    EXPECT_EQ(finders::FileExtension(".profile"), ".profile");
}

TEST(TypeTest, CountsByModeTable)
{
    struct Row {
        QString file;
        bool all, include, exclude;
    };
    const QList<Row> rows = {
        {"REPORT.DOC", true, true, false},
        {"report.doc", true, true, false},
        {"setup.exe", true, true, false},
        {"archive.tar.gz", true, false, true},  // its extension is .gz, not .tar.gz
        {"README", true, false, true},
        {"notes.txt", true, false, true},
        {"doc", true, false, true},
    };
    const TypeFilter all(TypeMode::AllFiles, kEntries);
    const TypeFilter include(TypeMode::Include, kEntries);
    const TypeFilter exclude(TypeMode::Exclude, kEntries);
    for (const Row& r : rows) {
        EXPECT_EQ(all.isThisSelected(r.file), r.all) << qPrintable(r.file);
        EXPECT_EQ(include.isThisSelected(r.file), r.include) << qPrintable(r.file);
        EXPECT_EQ(exclude.isThisSelected(r.file), r.exclude) << qPrintable(r.file);
    }
}

TEST(TypeTest, AFileWithoutExtensionNeverEqualsAnEntry)
{
    // An entry whose extension is empty ("*" alone) still matches nothing.
    const TypeFilter include(TypeMode::Include, {"*\tAnything"});
    EXPECT_FALSE(include.isThisSelected("README"));
    const TypeFilter exclude(TypeMode::Exclude, {"*\tAnything"});
    EXPECT_TRUE(exclude.isThisSelected("README"));
}

TEST(TypeTest, ScopeCarriesItsFilter)
{
    finders::ScanScope scope;
    EXPECT_EQ(scope.wildcard, "*.*");
    scope.typeMode = TypeMode::Include;
    scope.typeEntries = {"*.gz\tGzip"};
    EXPECT_TRUE(TypeFilter(scope).isThisSelected("archive.tar.gz"));
    EXPECT_FALSE(TypeFilter(scope).isThisSelected("archive.tar"));
}

class EnterRootTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        core::setPrompter(&prompter);
        drives.makeFolder('C', "data/sub");
        plat::setCurrentFolder("C:\\");
    }
    void TearDown() override { core::setPrompter(nullptr); }
    // A root gives an open folder exactly when it is entered.
    static RootStart Enter(const QString& entry)
    {
        std::unique_ptr<plat::WalkFolder> folder;
        const RootStart result = finders::EnterRoot(entry, {}, folder);
        EXPECT_EQ(bool(folder), result == RootStart::Entered) << qPrintable(entry);
        return result;
    }
    testing_support::TempDrives drives{"CDE"};
    core::ScriptedPrompter prompter;
};

TEST_F(EnterRootTest, EntriesBecomeTheirFolders)
{
    struct Row {
        QString entry;
        QString folder;
    };
    const QList<Row> rows = {
        {"c: Drive_c", "C:\\"},
        {"C:", "C:\\"},
        {"d:", "D:\\"},
        {"e: \\\\server\\share", "E:\\"},
        {"C:\\data", "C:\\data"},
        {"c:\\data\\sub", "c:\\data\\sub"},
    };
    for (const Row& r : rows) {
        plat::setCurrentFolder("C:\\");
        EXPECT_EQ(Enter(r.entry), RootStart::Entered) << qPrintable(r.entry);
        EXPECT_EQ(plat::currentFolder().toUpper(), r.folder.toUpper()) << qPrintable(r.entry);
    }
    EXPECT_TRUE(prompter.records().isEmpty());
}

TEST_F(EnterRootTest, DriveNotReadyIsPassedOverSilently)
{
    ASSERT_TRUE(QDir(drives.posix('D')).removeRecursively());
    EXPECT_EQ(Enter("d: Drive_d"), RootStart::NotReady);
    EXPECT_EQ(Enter("D:\\anything"), RootStart::NotReady);
    EXPECT_EQ(plat::currentFolder(), "C:\\");
    EXPECT_TRUE(prompter.records().isEmpty());
}

TEST_F(EnterRootTest, MissingFolderIsReportedAndLeftOut)
{
    EXPECT_EQ(Enter("C:\\gone"), RootStart::Failed);
    EXPECT_EQ(Enter("E:\\data"), RootStart::Failed);
    EXPECT_EQ(prompter.texts(core::ScriptedPrompter::Kind::Error),
              QStringList({"Can't open drive C:\\gone", "Can't open drive E:\\data"}));
    EXPECT_EQ(plat::currentFolder(), "C:\\");
}

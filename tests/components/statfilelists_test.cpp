// Reading and writing the statistics type lists "Include" and "Exclude".
#include "core/settings.h"
#include "platform/filetypes.h"
#include "components/statfilelists.h"
#include "support/tempdrives.h"

#include <gtest/gtest.h>

using core::SettingsStore;

namespace {

class StatFileListsTest : public ::testing::Test {
protected:
    void SetUp() override { plat::setFileTypes(&types); }
    void TearDown() override { plat::setFileTypes(nullptr); }
    testing_support::TempDrives drives{"C"};
    plat::FakeFileTypes types{{{".doc", "Word document"}, {".exe", "Program"}, {".dll", "Library"}}};
};

const QStringList kDefaults = {"*.doc\tWord document", "*.exe\tProgram", "*.dll\tLibrary"};

}  // namespace

TEST_F(StatFileListsTest, FirstReadGivesTheDefaultsWithoutWritingThem)
{
    for (const QString& section : {comp::kIncludeSection, comp::kExcludeSection}) {
        QStringList list = {"left over"};
        comp::ReadStatFilesFromDisk(list, section);
        EXPECT_EQ(list, kDefaults) << qPrintable(section);
        EXPECT_FALSE(SettingsStore::hasValue(section, "Number"));
    }
}

TEST_F(StatFileListsTest, NumberThatIsNoNumberReadsAsNeverWritten)
{
    SettingsStore::writeString("Include", "Number", "many");
    SettingsStore::writeString("Include", "File1", "*.txt");
    EXPECT_EQ(comp::ReadStatFiles("Include"), kDefaults);
}

TEST_F(StatFileListsTest, WritesPatternsAloneAndReadsNamesAgain)
{
    comp::WriteStatFilesToDisk({"*.exe\tstale name", "*.zip\t"}, "Exclude");
    EXPECT_EQ(SettingsStore::readInt("Exclude", "Number", -1), 2);
    EXPECT_EQ(SettingsStore::readString("Exclude", "File1"), "*.exe");
    EXPECT_EQ(SettingsStore::readString("Exclude", "File2"), "*.zip");
    EXPECT_EQ(comp::ReadStatFiles("Exclude"), QStringList({"*.exe\tProgram", "*.zip\tZIP File"}));
    EXPECT_EQ(comp::ReadStatFiles("Include"), kDefaults);  // the other list is untouched
}

TEST_F(StatFileListsTest, EmptyListReadsEmptyNotDefaults)
{
    comp::WriteStatFilesToDisk({}, "Include");
    EXPECT_EQ(SettingsStore::readInt("Include", "Number", -1), 0);
    EXPECT_TRUE(comp::ReadStatFiles("Include").isEmpty());
}

TEST_F(StatFileListsTest, ShrinkingLeavesTheOldValuesUnread)
{
    comp::WriteStatFilesToDisk({"*.a", "*.b", "*.c", "*.d", "*.e"}, "Include");
    comp::WriteStatFilesToDisk({"*.x", "*.y", "*.z"}, "Include");
    EXPECT_EQ(SettingsStore::readInt("Include", "Number", -1), 3);
    EXPECT_EQ(SettingsStore::readString("Include", "File4"), "*.d");
    EXPECT_EQ(SettingsStore::readString("Include", "File5"), "*.e");
    EXPECT_EQ(comp::ReadStatFiles("Include"), QStringList({"*.x\tX File", "*.y\tY File", "*.z\tZ File"}));
}

TEST_F(StatFileListsTest, EmptyStoredPatternIsPassedOver)
{
    SettingsStore::writeInt("Exclude", "Number", 3);
    SettingsStore::writeString("Exclude", "File1", "*.doc");
    SettingsStore::writeString("Exclude", "File2", "");
    SettingsStore::writeString("Exclude", "File3", "*.dll");
    EXPECT_EQ(comp::ReadStatFiles("Exclude"), QStringList({"*.doc\tWord document", "*.dll\tLibrary"}));
}

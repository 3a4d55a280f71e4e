#include "core/settings.h"
#include "core/typelist.h"
#include "platform/filetypes.h"
#include "support/tempdrives.h"

#include <gtest/gtest.h>

using namespace core;

namespace {

class TypeListTest : public ::testing::Test {
protected:
    void SetUp() override { plat::setFileTypes(&types_); }
    void TearDown() override { plat::setFileTypes(nullptr); }
    testing_support::TempDrives drives_{"C"};
    plat::FakeFileTypes types_{{{".doc", "Word document"}, {".exe", "Program"}}};
};

TEST_F(TypeListTest, EntriesCarryTheTypeName)
{
    struct Row {
        QString pattern;
        QString entry;
    };
    const QList<Row> rows = {
        {"*.doc", "*.doc\tWord document"},
        {"*.xyz", "*.xyz\tXYZ File"},
        {"a*.exe", "a*.exe\tProgram"},
        {"*.tar.gz", "*.tar.gz\tGZ File"},
        {"README", "README\t"},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(TypeEntry(r.pattern), r.entry) << qPrintable(r.pattern);
        EXPECT_EQ(TypeEntryPattern(r.entry), r.pattern);
    }
}

TEST_F(TypeListTest, NeverSavedGivesDefaultsWhichAreNotWritten)
{
    EXPECT_EQ(ReadTypeList("Include", {"*.doc", "*.exe"}), QStringList({"*.doc\tWord document", "*.exe\tProgram"}));
    EXPECT_FALSE(SettingsStore::hasValue("Include", "Number"));
}

TEST_F(TypeListTest, SavedEmptyListStaysEmptyAndPatternsAloneAreStored)
{
    WriteTypeList("Include", {});
    EXPECT_TRUE(ReadTypeList("Include", {"*.doc"}).isEmpty());
    WriteTypeList("Exclude", {"*.exe\tProgram", "*.doc\tWord document"});
    EXPECT_EQ(SettingsStore::readString("Exclude", "File1"), "*.exe");
    EXPECT_EQ(ReadTypeList("Exclude", {}), QStringList({"*.exe\tProgram", "*.doc\tWord document"}));
    SettingsStore::writeString("Exclude", "Number", "-3");
    EXPECT_EQ(ReadTypeList("Exclude", {"*.doc"}), QStringList({"*.doc\tWord document"}));
}

TEST_F(TypeListTest, AddUniqueLineIgnoresCase)
{
    QStringList lines = {"*.doc\tWord document"};
    EXPECT_FALSE(AddUniqueLine(lines, "*.DOC\tWord document"));
    EXPECT_TRUE(AddUniqueLine(lines, "*.exe\tProgram"));
    EXPECT_EQ(lines.size(), 2);
}

}  // namespace

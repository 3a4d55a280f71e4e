// What the extension picker hands its callers, and what they add.
#include "components/extensionchoice.h"
#include "platform/filetypes.h"

#include <gtest/gtest.h>

namespace {

class ExtensionChoiceTest : public ::testing::Test {
protected:
    void SetUp() override { plat::setFileTypes(&types); }
    void TearDown() override { plat::setFileTypes(nullptr); }
    plat::FakeFileTypes types{{{".doc", "Word document"}, {".exe", "Program"}}};
};

}  // namespace

TEST_F(ExtensionChoiceTest, TypedPatternsAreNormalised)
{
    struct Row {
        QString typed, pattern;
    };
    const QList<Row> rows = {
        {"doc", "*.doc"}, {".doc", "*.doc"}, {"*.doc", "*.doc"}, {"*.*", ""}, {".*", ""},
        {"*", ""},        {"a.doc", "a.doc"}, {"*doc", "*doc"},  {"", ""},
    };
    for (const Row& r : rows)
        EXPECT_EQ(comp::NormalizeExtensionPattern(r.typed), r.pattern) << qPrintable(r.typed);
}

TEST_F(ExtensionChoiceTest, OnePatternCarriesItsTypeName)
{
    const comp::ExtensionChoice c = comp::MakeExtensionChoice({"*.exe\tProgram"}, ".doc");
    EXPECT_FALSE(c.severalChosen);
    EXPECT_EQ(c.chosenPattern, "*.doc");
    EXPECT_EQ(c.chosenTypeName, "Word document");
    const comp::ExtensionChoice none = comp::MakeExtensionChoice({}, "*");
    EXPECT_TRUE(none.chosenPattern.isEmpty());
    EXPECT_TRUE(none.chosenTypeName.isEmpty());
}

TEST_F(ExtensionChoiceTest, SeveralLinesAreReturnedAsTheyAre)
{
    const QStringList three = {"*.doc\tWord document", "*.exe\tProgram", "*.zzz\tZZZ File"};
    const comp::ExtensionChoice c = comp::MakeExtensionChoice(three, "*.txt");
    EXPECT_TRUE(c.severalChosen);
    EXPECT_EQ(c.selectedLines, three);
    EXPECT_TRUE(c.chosenPattern.isEmpty());
}

TEST_F(ExtensionChoiceTest, CallersAddEachLineOnce)
{
    QStringList list = {"*.DOC\tWord document"};
    EXPECT_FALSE(comp::AddChosenExtensions(list, comp::MakeExtensionChoice({}, "doc")));
    EXPECT_FALSE(comp::AddChosenExtensions(list, comp::MakeExtensionChoice({}, "*.*")));
    EXPECT_TRUE(comp::AddChosenExtensions(list, comp::MakeExtensionChoice({}, "exe")));
    EXPECT_TRUE(comp::AddChosenExtensions(
        list, comp::MakeExtensionChoice({"*.exe\tProgram", "*.zip\tZIP File"}, "")));
    EXPECT_EQ(list, QStringList({"*.DOC\tWord document", "*.exe\tProgram", "*.zip\tZIP File"}));
}

// The Qt prompter's conversions; its dialogs are never shown in tests.
#include "components/qtprompter.h"
#include "support/tempdrives.h"

#include <gtest/gtest.h>

using comp::QtPrompter;

TEST(QtPrompter, FilterConversion)
{
    EXPECT_EQ(QtPrompter::toQtFilters("HTM files|*.htm|All files|*.*"),
              (QStringList{"HTM files (*.htm)", "All files (*)"}));
    EXPECT_EQ(QtPrompter::toQtFilters("HTM files|*.htm|HTML files|*.html|All files|*.*"),
              (QStringList{"HTM files (*.htm)", "HTML files (*.html)", "All files (*)"}));
    EXPECT_EQ(QtPrompter::toQtFilters("Text files|*.txt;*.log"), (QStringList{"Text files (*.txt *.log)"}));
    EXPECT_TRUE(QtPrompter::toQtFilters("").isEmpty());
}

TEST(QtPrompter, InitialSavePathMapsDrives)
{
    testing_support::TempDrives drives("CD");
    EXPECT_EQ(QtPrompter::initialSavePath("D:\\lists\\save.htm"), drives.posix('D') + "/lists/save.htm");
    EXPECT_EQ(QtPrompter::initialSavePath("Q:\\nowhere\\save.htm"), "save.htm");
    EXPECT_TRUE(QtPrompter::initialSavePath("").isEmpty());
    const QString bare = QtPrompter::initialSavePath("save.htm");
    EXPECT_TRUE(bare.endsWith("save.htm"));
}

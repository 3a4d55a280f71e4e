#include "harbor/folderlist.h"
#include "support/tempdrives.h"

#include <QFile>
#include <gtest/gtest.h>

using namespace harbor;

namespace {

TEST(FolderListTest, SaveSortsAndEmptyListDeletesTheFile)
{
    testing_support::TempDrives drives("C");
    ASSERT_TRUE(SaveFolderList({"C:\\b", "C:\\A\\*.*", "c:\\a"}));
    QFile f(FoldersFilePath());
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("c:\\a\nC:\\A\\*.*\nC:\\b\n"));
    f.close();
    EXPECT_EQ(LoadFolderList(), QStringList({"c:\\a", "C:\\A\\*.*", "C:\\b"}));
    ASSERT_TRUE(SaveFolderList({}));
    EXPECT_FALSE(QFile::exists(FoldersFilePath()));
    EXPECT_TRUE(LoadFolderList().isEmpty());
}

TEST(FolderListTest, BuildDateText)
{
    EXPECT_EQ(BuildDateText(true, QDateTime::currentDateTime()), "Not recorded");
    const QString text = BuildDateText(false, QDateTime(QDate(2026, 3, 4), QTime(5, 6, 7)));
    EXPECT_TRUE(text.contains("2026")) << qPrintable(text);
    testing_support::TempDrives drives("C");
    EXPECT_EQ(LastBuildDate(), "Not recorded");
    const QString recorded = RecordBuildDate(false);
    EXPECT_NE(recorded, "Not recorded");
    EXPECT_EQ(LastBuildDate(), recorded);
}

}  // namespace

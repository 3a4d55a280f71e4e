// The deletion panel's operations: delete, trash, Cancel, and what they
// record in the totals and the deletion log.
#include "delete/undeletable.h"
#include "gui/finders_testutil.h"
#include "gui/panel_fixture.h"

#include <QDir>
#include <QLabel>
#include <QProgressBar>

using namespace panel_test;
using del::TfrmReallyDelete;

namespace {

TEST_F(PanelTest, NoToReallyDeleteLeavesEverythingAsItWas)
{
    auto w = makePanel({file("free\\a"), file("BIN\\b")}, 20);
    w->show();
    prompter.queue(core::Answer::No);
    w->btDelete->click();
    EXPECT_EQ(questions(), QStringList({"Really delete?"}));
    // A stray Enter must not delete for good.
    EXPECT_EQ(prompter.records()[0].defaultButton, core::Answer::No);
    EXPECT_EQ(infos(), QStringList({"Files not deleted"}));
    EXPECT_EQ(w->deletionList(), QStringList({"C:\\free\\a"}));
    EXPECT_EQ(w->harborList(), QStringList({"C:\\BIN\\b"}));
    EXPECT_TRUE(w->isVisible());
    EXPECT_TRUE(w->pnlButtons->isVisible());
    EXPECT_FALSE(w->pnlProgress->isVisible());
    EXPECT_TRUE(exists("C:\\free\\a"));
    EXPECT_EQ(log.usedRows(), 0);
    EXPECT_EQ(total("Ndelete"), "<absent>");
    w->reject();
}

TEST_F(PanelTest, ThreeFilesOfWhichOneCannotBeDeleted)
{
    const QStringList files = {file("data\\a", 100), file("data\\b", 200), file("data\\c", 400)};
    if (!delete_test::makeUndeletable(drives.posix(QString("C:\\data\\b"))))
        GTEST_SKIP() << "cannot make an undeletable file here";
    auto w = makePanel(files, 700);
    w->show();
    prompter.queue(core::Answer::Yes);
    w->btDelete->click();
    delete_test::undoUndeletable(drives.posix(QString("C:\\data\\b")));

    EXPECT_EQ(errors(), QStringList({"Couldn't delete file - C:\\data\\b"}));
    EXPECT_FALSE(exists("C:\\data\\a"));
    EXPECT_TRUE(exists("C:\\data\\b"));
    EXPECT_FALSE(exists("C:\\data\\c"));
    // Only what was removed is counted; the panel's figure stays as shown.
    EXPECT_EQ(total("Ndelete"), "2");
    EXPECT_EQ(total("SizeDelete"), "500");
    EXPECT_EQ(total("NWaste"), "0");
    EXPECT_EQ(log.cell(1, 1), "2");
    EXPECT_EQ(log.cell(2, 1), "500");
    EXPECT_EQ(w->PotentialSavings, 700);
    EXPECT_EQ(w->lastResult().removedFiles, 2);
    // The operation closes the panel with OK and an empty list.
    EXPECT_EQ(w->result(), QDialog::Accepted);
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(w->deletionList(), QStringList());
    EXPECT_EQ(w->lblDelete->text(), "Delete - 0, Do NOT delete - 0");
    EXPECT_TRUE(w->btClose->isEnabled());
    EXPECT_FALSE(w->bar->isVisible());
    EXPECT_EQ(w->lblName->text(), "C:\\data\\c");
}

TEST_F(PanelTest, FilesOnTheSafeHarborListAreNotTouchedNorCounted)
{
    auto w = makePanel({file("free\\a", 5), file("KEEP\\k", 50), file("free\\moved", 500)}, 555);
    w->show();
    w->lb1->findItems("C:\\free\\moved", Qt::MatchExactly).first()->setSelected(true);
    w->btToAgainst->click();
    prompter.queue(core::Answer::Yes);
    w->btDelete->click();
    EXPECT_FALSE(exists("C:\\free\\a"));
    EXPECT_TRUE(exists("C:\\KEEP\\k"));
    EXPECT_TRUE(exists("C:\\free\\moved"));
    EXPECT_EQ(total("Ndelete"), "1");
    EXPECT_EQ(total("SizeDelete"), "5");
    EXPECT_EQ(w->harborList(), QStringList({"C:\\free\\moved", "C:\\KEEP\\k"}));  // case-blind order
}

TEST_F(PanelTest, TheTrashTakesTheFilesAndCountsThemAsRecycled)
{
    auto w = makePanel({file("free\\a", 1000), file("free\\b", 500)}, 1500);
    w->show();
    prompter.queue(core::Answer::Yes);
    w->btRecycle->click();
    EXPECT_EQ(questions(), QStringList({del::kTrashQuestion}));
    EXPECT_TRUE(QString(del::kTrashQuestion).contains(" \r\rSend to the recycle bin anyway?"));
    EXPECT_TRUE(errors().isEmpty());
    EXPECT_FALSE(exists("C:\\free\\a"));
    EXPECT_FALSE(exists("C:\\free\\b"));
    // The trash of the temporary home holds them now.
    const QDir trash(drives.root() + "/home/.local/share/Trash/files");
    EXPECT_EQ(trash.entryList(QDir::Files), QStringList({"a", "b"}));
    EXPECT_EQ(total("NWaste"), "2");
    EXPECT_EQ(total("SizeWaste"), "1500");
    EXPECT_EQ(total("Ndelete"), "0");
    EXPECT_EQ(log.cell(3, 1), "2");
    EXPECT_EQ(log.cell(4, 1), "1500");
    EXPECT_EQ(w->result(), QDialog::Accepted);
}

TEST_F(PanelTest, NoToTheTrashQuestionKeepsTheFiles)
{
    auto w = makePanel({file("free\\a")});
    w->show();
    prompter.queue(core::Answer::No);
    w->btRecycle->click();
    EXPECT_EQ(prompter.records()[0].defaultButton, core::Answer::Yes) << "the trash can give the files back";
    EXPECT_EQ(infos(), QStringList({"Files not deleted"}));
    EXPECT_TRUE(exists("C:\\free\\a"));
    EXPECT_TRUE(w->isVisible());
    w->reject();
}

TEST_F(PanelTest, TheTrashStopsAtAFileItRefuses)
{
    const QStringList files = {file("data\\a", 1), file("data\\b", 2), file("data\\c", 4)};
    if (!delete_test::makeUndeletable(drives.posix(QString("C:\\data\\b"))))
        GTEST_SKIP() << "cannot make a file the trash refuses here";
    auto w = makePanel(files, 7);
    w->show();
    prompter.queue(core::Answer::Yes);
    w->btRecycle->click();
    delete_test::undoUndeletable(drives.posix(QString("C:\\data\\b")));
    EXPECT_EQ(errors(), QStringList({del::kTrashFailedMessage}));
    EXPECT_FALSE(exists("C:\\data\\a"));
    EXPECT_TRUE(exists("C:\\data\\b"));
    EXPECT_TRUE(exists("C:\\data\\c"));  // never tried
    EXPECT_EQ(total("NWaste"), "1");
    EXPECT_EQ(total("SizeWaste"), "1");
    EXPECT_EQ(w->result(), QDialog::Accepted);
}

TEST_F(PanelTest, ALongPathIsShownAndRemovedWhole)
{
    QString rel = "free";
    for (int i = 0; i < 5; ++i)
        rel += "\\" + QString(70, QChar('a' + i));
    const QString path = file(rel + "\\long.txt", 8);
    ASSERT_GT(path.size(), 255);
    auto w = makePanel({path}, 8);
    w->show();
    ASSERT_EQ(w->deletionList(), QStringList({path}));
    prompter.queue(core::Answer::Yes);
    w->btRecycle->click();
    EXPECT_TRUE(errors().isEmpty());
    EXPECT_EQ(w->lblName->text(), path);
    EXPECT_FALSE(exists(path));
    EXPECT_EQ(total("NWaste"), "1");
}

TEST_F(PanelTest, ALogThatCannotBeSavedIsReported)
{
    log.setFile(drives.root() + "/missing folder/grdelete.txt");
    auto w = makePanel({file("free\\a", 3)});
    w->show();
    prompter.queue(core::Answer::Yes);
    w->btDelete->click();
    const QStringList warnings = prompter.texts(core::ScriptedPrompter::Kind::Warning);
    ASSERT_EQ(warnings.size(), 1);
    EXPECT_TRUE(warnings[0].startsWith("The deletion log could not be saved to " + log.file() + ": "));
    EXPECT_EQ(log.usedRows(), 1);
    EXPECT_EQ(total("Ndelete"), "1");
    EXPECT_EQ(w->result(), QDialog::Accepted);
}

TEST_F(PanelTest, CancelGivesCancelAndAnOperationGivesOk)
{
    {
        auto w = makePanel({file("free\\a")});
        finders_test::whenModal<TfrmReallyDelete>([](TfrmReallyDelete& p) { p.btClose->click(); });
        EXPECT_EQ(w->exec(), QDialog::Rejected);
        EXPECT_TRUE(exists("C:\\free\\a"));
    }
    {
        auto w = makePanel({file("free\\a")});
        finders_test::whenModal<TfrmReallyDelete>([this](TfrmReallyDelete& p) {
            prompter.queue(core::Answer::Yes);
            p.btDelete->click();
        });
        EXPECT_EQ(w->exec(), QDialog::Accepted);
        EXPECT_FALSE(exists("C:\\free\\a"));
    }
}

TEST_F(PanelTest, TheProgramLogIsUsedWhenNoneIsSet)
{
    del::DeletionLog programLog(drives.root() + "/program-grdelete.txt");
    del::setProgramLog(&programLog);
    auto w = std::make_unique<TfrmReallyDelete>();
    w->setSafeHarbor(harbor);
    w->setFiles({file("free\\a", 9)});
    w->show();
    prompter.queue(core::Answer::Yes);
    w->btDelete->click();
    del::setProgramLog(nullptr);
    EXPECT_EQ(programLog.cell(2, 1), "9");
    EXPECT_TRUE(QFile::exists(drives.root() + "/program-grdelete.txt"));
}

}  // namespace

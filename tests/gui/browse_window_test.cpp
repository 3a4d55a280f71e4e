// The folder browser's wiring on temporary drives: counts and marks in the
// status line, the hand-over to the deletion panel, the sorts the user asks
// for, closing with marks, the wildcard and "Delete &Folder".
#include "browse/frmbrowse.h"

#include "browse/folderlisting.h"

#include "components/clicklabel.h"
#include "components/resultgridview.h"
#include "finders_testutil.h"
#include "reports/sortcommand.h"
#include "support/localescope.h"

#include <QAction>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

using browse::TfrmBrowse;
using Kind = core::ScriptedPrompter::Kind;

namespace {

class BrowseWindowTest : public finders_test::WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        reports::ResetSortDirections();
        drives.writeFile('C', "d/a.txt", QByteArray(1000, 'a'));
        drives.writeFile('C', "d/b.doc", QByteArray(2500, 'b'));
        drives.writeFile('C', "d/c.bin", QByteArray(10, 'c'));
        drives.makeFolder('C', "d/sub");
        w = std::make_unique<TfrmBrowse>();
        w->setFolder("C:\\d");
        w->show();
    }
    QStringList column(int c) const
    {
        QStringList out;
        for (int r = 1; r < w->grid->grid().rowCount(); ++r)
            out << w->grid->grid().cell(r, c);
        return out;
    }
    int rowOf(const QString& name) const { return int(column(browse::bcName).indexOf(name)) + 1; }
    void sortBy(const char* item) { w->findChild<QAction*>(item)->trigger(); }

    testing_support::LocaleScope locale{QLocale::c()};
    std::unique_ptr<TfrmBrowse> w;
};

}  // namespace

TEST_F(BrowseWindowTest, MarksCountAndGoToThePanelWhole)
{
    EXPECT_EQ(w->pnlScan->text(), "Number of files : 3");
    EXPECT_EQ(w->pnlSize->text(), "Total size : 3,510");
    EXPECT_EQ(w->pnlWild->text(), "Wildcard : *.*");
    EXPECT_EQ(column(browse::bcName), QStringList({"a.txt", "b.doc", "c.bin"}));
    EXPECT_FALSE(w->btDeleteFiles->isEnabled());

    emit w->grid->rowDoubleClicked(rowOf("a.txt"));
    w->grid->setCurrentRow(rowOf("b.doc"));
    w->btMark->click();
    EXPECT_EQ(w->pnlScan->text(), "Marked for deletion: 2 files 3,500 bytes");
    EXPECT_EQ(w->grid->currentRow(), rowOf("c.bin"));
    EXPECT_TRUE(w->btDeleteFiles->isEnabled());

    finders::CleanRequest handed;
    w->cleanPanel = [&](QWidget*, const finders::CleanRequest& r) {
        handed = r;
        return int(QDialog::Accepted);
    };
    w->btDeleteFilesClick();
    EXPECT_EQ(handed.files, QStringList({"C:\\d\\a.txt", "C:\\d\\b.doc"}));
    EXPECT_EQ(handed.potentialSavings, 3500.0);
    EXPECT_TRUE(handed.archiveTag.isEmpty());
    // Back from the panel: a fresh listing without marks.
    EXPECT_EQ(w->marks().count(), 0);
    EXPECT_FALSE(w->btDeleteFiles->isEnabled());
    EXPECT_EQ(w->pnlScan->text(), "Number of files : 3");

    // A path far beyond 255 characters goes over whole.
    QString deep = "d";
    while (deep.size() < 300)
        deep += "/Long Folder Name " + QString::number(deep.size());
    drives.writeFile('C', deep + "/Report.TXT", QByteArray(5, 'r'));
    const QString folder = "C:\\" + QString(deep).replace('/', '\\');
    w->setFolder(folder);
    w->Markall1Click();
    w->btDeleteFilesClick();
    EXPECT_EQ(handed.files, QStringList{folder + "\\Report.TXT"});
}

TEST_F(BrowseWindowTest, SortsTheUserAsksForReverseTheirColumn)
{
    const struct {
        const char* item;
        QStringList names;
    } steps[] = {
        {"Sortbysize1", {"c.bin", "a.txt", "b.doc"}},  // smallest first
        {"Sortbysize1", {"b.doc", "a.txt", "c.bin"}},
        {"Sortbyname1", {"c.bin", "b.doc", "a.txt"}},  // Z to A after the A to Z listing
    };
    for (const auto& s : steps) {
        sortBy(s.item);
        EXPECT_EQ(column(browse::bcName), s.names) << s.item;
    }
    // A refresh keeps the sort and its direction; a click on "Time" sorts nothing.
    w->DirectoryListBox1Change();
    emit w->grid->titleClicked(browse::bcTime);
    EXPECT_EQ(column(browse::bcName), steps[2].names);
    EXPECT_TRUE(w->findChild<QAction*>("Sortbyname1")->isChecked());
}

TEST_F(BrowseWindowTest, ClosingWithMarksAsksFirst)
{
    w->Markall1Click();
    prompter.queue(core::Answer::No);
    w->btClose->click();
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(prompter.texts(Kind::Confirm),
              QStringList{"You have 3 files marked for deletion. Do you really wish to exit without deleting?"});
    // Changing folder clears the marks; then nothing is asked.
    w->setFolder("C:\\d\\sub");
    EXPECT_EQ(w->marks().count(), 0);
    EXPECT_FALSE(w->btDeleteFiles->isEnabled());
    EXPECT_EQ(w->pnlScan->text(), "Number of files : 0");
    w->btClose->click();
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(prompter.texts(Kind::Confirm).size(), 1);
}

TEST_F(BrowseWindowTest, WildcardAndTreeFollowTheFolder)
{
    w->patternPanel = [](QWidget*, const QString& old) -> std::optional<QString> {
        EXPECT_EQ(old, "*.*");
        return QString("*.TXT;*.doc");
    };
    QTest::mouseClick(w->pnlWild, Qt::LeftButton);
    EXPECT_EQ(w->pnlWild->text(), "Wildcard : *.TXT;*.doc");
    EXPECT_EQ(column(browse::bcName), QStringList({"a.txt", "b.doc"}));

    QTreeWidgetItem* sub = w->DirectoryListBox1->findItems("sub", Qt::MatchExactly | Qt::MatchRecursive).value(0);
    ASSERT_NE(sub, nullptr);
    emit w->DirectoryListBox1->itemDoubleClicked(sub, 0);
    EXPECT_EQ(w->folder(), "C:\\d\\sub");
    EXPECT_EQ(w->Label1->text(), "C:\\d\\sub");
}

TEST_F(BrowseWindowTest, DeleteFolderGoesBackOnlyToAFolderThatIsLeft)
{
    const QString p = "C:\\d\\sub";
    const struct {
        const char* name;
        int result;
        bool removeIt;
        QString after;
    } cases[] = {
        {"cancelled", QDialog::Rejected, false, p},
        {"cancelled after removing", QDialog::Rejected, true, "C:\\d"},
        {"done", QDialog::Accepted, true, "C:\\d"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        drives.makeFolder('C', "d/sub");
        w->setFolder(p);
        QString shownWith, treeDuring;
        w->folderPanel = [&](QWidget*, const QString& folder) {
            shownWith = folder;
            treeDuring = w->folder();
            if (c.removeIt)
                QDir(drives.posix(p)).removeRecursively();
            return c.result;
        };
        w->btDeleteDirectory->click();
        EXPECT_EQ(shownWith, p);
        EXPECT_EQ(treeDuring, "C:\\d");
        EXPECT_EQ(w->folder(), c.after);
    }
    // The root is refused before anything opens.
    w->setFolder("C:\\");
    w->folderPanel = [](QWidget*, const QString&) -> int {
        ADD_FAILURE() << "opened for the root";
        return QDialog::Rejected;
    };
    w->btDeleteDirectory->click();
    ASSERT_EQ(prompter.texts(Kind::Error).size(), 1);
    EXPECT_TRUE(prompter.texts(Kind::Error).first().startsWith("Cannot delete the root folder!"));
}

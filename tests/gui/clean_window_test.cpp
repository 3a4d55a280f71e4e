// The quick clean window and its list editor: wiring of the list, the
// search, the marks, the sort after each search and the hand-over.
#include "finders_testutil.h"

#include "components/drivechecklist.h"
#include "components/picklist.h"
#include "core/settings.h"
#include "finders/eventpump.h"
#include "finders/frmclean.h"
#include "finders/frmtempfiles.h"
#include "finders/templists.h"
#include "reports/sortcommand.h"

#include <QAbstractButton>
#include <QAction>
#include <QPushButton>

using finders::TfrmClean;
using finders::TfrmTempFiles;
using Kind = core::ScriptedPrompter::Kind;

namespace {

class CleanWindowTest : public finders_test::WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        reports::ResetSortDirections();
    }
    static void click(QWidget& w, const char* name)
    {
        auto* b = w.findChild<QAbstractButton*>(QLatin1String(name));
        ASSERT_NE(b, nullptr) << name;
        ASSERT_TRUE(b->isVisible() && b->isEnabled()) << name;
        b->click();
    }
    static QStringList storedPatterns()
    {
        return core::SettingsStore::readList(QString::fromLatin1(finders::kTempFilesSection)).value_or(QStringList{"-"});
    }
    static QStringList fileColumn(TfrmClean& w)
    {
        QStringList out;
        for (int r = 1; r <= w.results().rowsUsed(); ++r)
            out << w.results().path(r);
        return out;
    }
};

}  // namespace

TEST_F(CleanWindowTest, ListEditorReadsAndStoresTheList)
{
    TfrmClean w;
    w.show();
    EXPECT_EQ(w.PickList1->count(), 13);
    EXPECT_EQ(w.PickList1->selectedCount(), 13);

    // Closed unchanged: the editor's own four are stored and offered, none selected.
    finders_test::whenModal<TfrmTempFiles>([](TfrmTempFiles& e) {
        EXPECT_EQ(e.PickList1->count(), 4);
        click(e, "btClose");
    });
    click(w, "btEdit");
    EXPECT_EQ(storedPatterns(), QStringList({"*.$$$", "*.bak", "*.fts", "*.tmp"}));
    EXPECT_EQ(w.PickList1->count(), 4);
    EXPECT_EQ(w.PickList1->selectedCount(), 0);
    click(w, "btScan");
    EXPECT_EQ(prompter.texts(Kind::Error), QStringList{"Select at least one file extension"});

    // Defaults add what is missing; deleting several asks; Esc stores too.
    finders_test::whenModal<TfrmTempFiles>([this](TfrmTempFiles& e) {
        click(e, "btDefaults");
        EXPECT_EQ(e.PickList1->count(), 14);
        e.PickList1->item(0)->setSelected(true);
        e.PickList1->item(1)->setSelected(true);
        prompter.queue(core::Answer::No);
        click(e, "btDelete");
        EXPECT_EQ(e.PickList1->count(), 14);
        prompter.queue(core::Answer::Yes);
        click(e, "btDelete");
        EXPECT_EQ(e.PickList1->count(), 12);
        e.reject();
    });
    click(w, "btEdit");
    EXPECT_EQ(storedPatterns().size(), 12);
    EXPECT_EQ(w.PickList1->count(), 12);
    EXPECT_EQ(prompter.texts(Kind::Confirm), QStringList(2, "Really delete 2 extensions?"));
}

TEST_F(CleanWindowTest, SearchesMarksSortAndHandOver)
{
    drives.writeFile('C', "w/small.tmp", "1");
    TfrmClean w;
    w.show();
    ASSERT_EQ(w.pckDrive->tickedEntries().value(0).left(1).toUpper(), "C");
    click(w, "btScan");
    EXPECT_EQ(w.results().rowCount(), 2) << "one file";
    EXPECT_EQ(w.statusText(), "1 tempfiles found");

    drives.writeFile('C', "w/big.bak", QByteArray(3000, 'x'));
    w.grid->setCurrentRow(1);
    click(w, "btMark");
    EXPECT_EQ(w.marks().count(), 1);
    click(w, "btScan");
    EXPECT_EQ(w.results().rowCount(), 3) << "two files";
    EXPECT_EQ(w.marks().count(), 0) << "a new search starts without marks";
    // The first search of a run lists the largest first, the next the smallest.
    EXPECT_EQ(fileColumn(w), QStringList({"C:\\w\\small.tmp", "C:\\w\\big.bak"}));
    EXPECT_EQ(w.printTitle(), "Temporary files on drive(s) C ");

    w.grid->setCurrentRow(2);
    click(w, "btMark");
    QList<finders::CleanRequest> seen;
    w.setCleanPanel([&](QWidget*, const finders::CleanRequest& r) {
        seen << r;
        return int(QDialog::Rejected);
    });
    click(w, "btDelete");
    ASSERT_EQ(seen.size(), 1);
    EXPECT_EQ(seen[0].files, QStringList{"C:\\w\\big.bak"});
    EXPECT_EQ(seen[0].archiveTag, "TempClean");
    EXPECT_EQ(seen[0].potentialSavings, 3000.0);
    EXPECT_TRUE(w.isVisible()) << "a cancelled panel leaves the window open";

    {
        // The direction lives for the run: a window opened again goes on from it.
        TfrmClean again;
        again.show();
        click(again, "btScan");
        EXPECT_EQ(fileColumn(again), QStringList({"C:\\w\\big.bak", "C:\\w\\small.tmp"}));
    }

    // "&Abort" during the walk keeps what was found and says so.
    w.eventPump().observer = [&] {
        if (w.btAbort->isVisible())
            w.btAbort->click();
    };
    click(w, "btScan");
    EXPECT_EQ(prompter.texts(Kind::Warning), QStringList{"LIST INCOMPLETE ... ABORTED BY USER"});
    EXPECT_FALSE(w.searching());
}

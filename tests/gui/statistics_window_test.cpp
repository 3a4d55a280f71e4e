// The statistics window's wiring: a collection started through the scope
// window uncovers the result pages, Esc and the close box stop a running
// one, the Space page swaps bars and pies, and the Deleted page follows the
// deletion log and the running totals.
#include "finders_testutil.h"

#include "components/backgrounds.h"
#include "components/resultgridview.h"
#include "core/helpers.h"
#include "core/settings.h"
#include "delete/deletetotals.h"
#include "delete/deletionlog.h"
#include "finders/frmwhichdrive.h"
#include "stats/deletedtab.h"
#include "stats/frmstatistics.h"
#include "stats/spacetab.h"
#include "stats/stattexts.h"
#include "stats/typestab.h"

#include <QCloseEvent>
#include <QFile>
#include <QFrame>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QTest>

using core::ScriptedPrompter;
using stats::TfrmStatistics;

namespace {

class StatisticsWindowTest : public finders_test::WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        del::programLog().clear();
        del::ResetTotals();
    }
    // Three files on each drive.
    void fillDrives()
    {
        for (QChar d : {QChar('C'), QChar('D')})
            for (const char* name : {"a.txt", "sub/b.doc", ".hidden/c.exe"})
                drives.writeFile(d, QLatin1String(name), "12345");
    }
    static bool covered(TfrmStatistics& w, int page)
    {
        w.OvcNotebook1->setCurrentIndex(page);
        return w.pnlNotYet->isVisible();
    }
};

}  // namespace

TEST_F(StatisticsWindowTest, CollectionThroughTheScopeWindowUncoversTheResultPages)
{
    fillDrives();
    TfrmStatistics w;
    w.show();
    EXPECT_FALSE(covered(w, TfrmStatistics::pgDeleted));
    EXPECT_TRUE(covered(w, TfrmStatistics::pgSizes));

    finders_test::whenModal<finders::TfrmWhichDrive>([](finders::TfrmWhichDrive& scope) {
        scope.findChild<QPushButton*>("btNext1")->click();
        scope.findChild<QPushButton*>("btNext2")->click();
    });
    w.btOK->click();

    EXPECT_FALSE(w.pnlNotYet->isVisible());
    EXPECT_FALSE(w.btAbort->isVisible());
    EXPECT_EQ(w.collector().totals().filesFound, 3u);
    EXPECT_EQ(w.StatusBar1->currentMessage(), stats::FinishedStatus(3, 3, false));
    // The Types listing: the titles, one row per extension, the totals row.
    EXPECT_EQ(w.typesTab->typeGrid().rowCount(), 5);
    EXPECT_FALSE(covered(w, TfrmStatistics::pgTime));
    EXPECT_TRUE(w.btOK->isEnabled());
}

TEST_F(StatisticsWindowTest, EscAndTheCloseBoxStopARunningCollection)
{
    const struct {
        const char* how;
        std::function<void(TfrmStatistics&)> act;
    } cases[] = {
        {"Esc", [](TfrmStatistics& w) { QTest::keyClick(&w, Qt::Key_Escape); }},
        {"close box", [](TfrmStatistics& w) { w.close(); }},
        {"Abort", [](TfrmStatistics& w) { w.btAbort->click(); }},
    };
    fillDrives();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.how);
        TfrmStatistics w;
        w.show();
        int pumps = 0;
        w.pump().observer = [&] {
            if (++pumps == 1)
                c.act(w);
        };
        finders::ScanScope scope;
        scope.roots = {"c: Drive_c", "d: Drive_d"};
        w.runCollection(scope);
        EXPECT_GE(pumps, 1);
        EXPECT_TRUE(w.isVisible()) << "only the collection stops";
        EXPECT_FALSE(w.collector().collecting());
        EXPECT_LT(w.collector().totals().filesFound, 6u);
        EXPECT_EQ(w.windowTitle(), stats::kAbortedCaption);
        EXPECT_FALSE(w.btAbort->isVisible());
        EXPECT_TRUE(w.btOK->isEnabled());
    }
}

TEST_F(StatisticsWindowTest, SpaceModesSwapBarsAndPies)
{
    TfrmStatistics w;
    w.show();
    stats::SpaceTab& space = *w.spaceTab;
    space.rbPie->click();
    EXPECT_TRUE(space.pnlPie->isVisible());
    EXPECT_FALSE(space.Panel4->isVisible());
    EXPECT_TRUE(space.Timer1->isActive());
    space.rbBar->click();
    EXPECT_FALSE(space.pnlPie->isVisible());
    EXPECT_TRUE(space.Panel4->isVisible());
}

TEST_F(StatisticsWindowTest, DeletedPageFollowsTheLogAndTheTotals)
{
    TfrmStatistics w;
    w.show();
    stats::DeletedTab& page = *w.deletedTab;
    w.OvcNotebook1->setCurrentIndex(TfrmStatistics::pgDeleted);
    EXPECT_EQ(page.edNdelete->text(), "n/a");

    // A batch removed while the window is open shows at once in the log,
    // and in the totals when the page is chosen again; 3 GB is no "n/a".
    ASSERT_TRUE(del::UpdateDeleteTotals(del::programLog(), 2, 0, 3e9, 0));
    EXPECT_EQ(page.logGrid().cell(1, 2), del::programLog().cell(2, 1));
    EXPECT_EQ(page.logGrid().cell(1, 2), "3000000000");
    w.OvcNotebook1->setCurrentIndex(TfrmStatistics::pgSpace);
    w.OvcNotebook1->setCurrentIndex(TfrmStatistics::pgDeleted);
    EXPECT_EQ(page.edNdelete->text(), core::FormatGrouped(2) + " files");
    EXPECT_EQ(page.edSzDelete->text(), core::FormatGrouped(3000000000LL) + " bytes");
    EXPECT_EQ(page.edNZip->text(), "n/a");

    // The log menu: CSV and web page through the save dialog, a failed
    // write reported, clear and reset after their questions.
    const QString csv = drives.posix(QChar('C')) + "/delete.csv";
    prompter.queue(QString("C:\\delete.csv"));
    page.Saveas1Click();
    QFile f(csv);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_TRUE(f.readLine().startsWith("Date/Time,"));
    EXPECT_EQ(prompter.texts(ScriptedPrompter::Kind::Info).last(), "CSV file saved as C:\\delete.csv");

    prompter.queue(QString("C:\\delete.htm"));
    page.SaveasawebpageHTML1Click();
    EXPECT_TRUE(QFile::exists(drives.posix(QChar('C')) + "/delete.htm"));

    prompter.queue(QString("C:\\no such folder\\delete.csv"));
    page.Saveas1Click();
    ASSERT_FALSE(prompter.texts(ScriptedPrompter::Kind::Error).isEmpty());
    EXPECT_TRUE(prompter.texts(ScriptedPrompter::Kind::Error).last().startsWith("Cannot write the file "));

    prompter.queue(core::Answer::Yes);
    page.Cleargrid1Click();
    EXPECT_EQ(del::programLog().usedRows(), 0);
    EXPECT_TRUE(page.logGrid().cell(1, 2).isEmpty());

    prompter.queue(core::Answer::Yes);
    page.Button1->click();
    for (QLineEdit* e : {page.edNdelete, page.edSzDelete, page.edNZip, page.edSzZip, page.edNWaste, page.edSzWaste})
        EXPECT_EQ(e->text(), "n/a");
    EXPECT_EQ(core::CumulativeTotals::load().nDelete, -1);
}

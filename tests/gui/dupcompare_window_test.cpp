// The pair window's wiring with the duplicate window: "P&airs" shows it as
// a child of that window, stepping moves the duplicate window's current
// row, "&Mark" marks there by real path, a new search and the duplicate
// window's end hand it back hidden; "&Details" opens the details window.
#include "browse/frmdetails.h"
#include "dupresults_fixture.h"
#include "finders/frmdupcompare.h"
#include "../browse/pebuilder.h"

#include <QCheckBox>
#include <QFile>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

using namespace duptest;
using finders::TfrmDup;
using finders::TfrmDupCompare;

namespace {

class DupCompareTest : public DupResultsTest {
protected:
    void SetUp() override
    {
        DupResultsTest::SetUp();
        finders::setProgramPairWindow(&pairs);
    }
    void TearDown() override
    {
        finders::setProgramPairWindow(nullptr);
        DupResultsTest::TearDown();
    }
    // Two groups: C:\x\same.txt and C:\y\same.txt; C:\x\two.txt, C:\y\two.txt.
    void makeTwoGroups()
    {
        makeDups();
        drives.writeFile('C', "x/two.txt", "abc");
        drives.writeFile('C', "y/two.txt", "abcd");
    }
    TfrmDupCompare pairs;
};

}  // namespace

TEST_F(DupCompareTest, PairsShowsTheCurrentPairAsAChildOfTheDuplicateWindow)
{
    makeTwoGroups();
    auto w = std::make_unique<TfrmDup>();
    dupSearch(*w);
    ASSERT_EQ(rows(*w), 4);
    gridOf(*w)->setCurrentRow(rowOf(*w, "C:\\x\\two.txt"));
    click(*w, "btCompare");
    ASSERT_TRUE(pairs.isVisible());
    EXPECT_EQ(pairs.parentWidget(), w.get());
    EXPECT_TRUE(pairs.isWindow());
    EXPECT_EQ(pairs.GroupBox1->title(), "two.txt");
    EXPECT_EQ(pairs.lblFolder1->toolTip(), "C:\\x");
    EXPECT_EQ(pairs.lblFolder2->toolTip(), "C:\\y");
    EXPECT_EQ(pairs.lblSSize2->text(), "33% larger");
    snapshot(pairs, "dupcompare-simple");
    pairs.cbDetails->setChecked(true);
    EXPECT_TRUE(pairs.pnlDetailed->isVisible());
    EXPECT_FALSE(pairs.pnlSimple->isVisible());
    pairs.btCompute->click();
    EXPECT_TRUE(pairs.lblCRC1->text().endsWith("file contents differ"));
    snapshot(pairs, "dupcompare-detailed");

    // "M&ark" marks the right file's row in the duplicate window.
    pairs.btMark2->click();
    EXPECT_EQ(w->marks().list(), QStringList{"C:\\y\\two.txt"});
    EXPECT_TRUE(button(*w, "btDelete")->isEnabled());

    // Page Down at the last pair: "End of list"; Page Up steps back, and
    // the duplicate window follows.
    QKeyEvent down(QEvent::KeyRelease, Qt::Key_PageDown, Qt::NoModifier);
    QApplication::sendEvent(pairs.btCompute, &down);
    EXPECT_EQ(prompter.texts(Kind::Info), QStringList{"End of list"});
    const int before = gridOf(*w)->currentRow();
    pairs.sbL1->click();
    EXPECT_EQ(gridOf(*w)->currentRow(), before - 2);
    EXPECT_EQ(pairs.GroupBox1->title(), "same.txt");

    // The duplicate window goes: the pair window stays, hidden and free.
    w.reset();
    EXPECT_FALSE(pairs.isVisible());
    EXPECT_EQ(pairs.parentWidget(), nullptr);
}

TEST_F(DupCompareTest, ANewSearchHidesTheWindowAndAGoneFileShowsNothingOld)
{
    makeDups();
    TfrmDup w;
    dupSearch(w);
    gridOf(w)->setCurrentRow(1);
    click(w, "btCompare");
    ASSERT_TRUE(pairs.isVisible());
    click(w, "btScan");
    EXPECT_FALSE(pairs.isVisible());

    ASSERT_TRUE(QFile::remove(drives.posix(QString("C:\\y\\same.txt"))));
    gridOf(w)->setCurrentRow(1);
    click(w, "btCompare");
    EXPECT_EQ(pairs.lblSizebytes2->text(), "File not found");
    EXPECT_EQ(pairs.lblSSize2->text(), "File not found");
    EXPECT_EQ(pairs.lblFolder2->toolTip(), "C:\\y");
    EXPECT_TRUE(pairs.lblCreate2->text().isEmpty());
    EXPECT_FALSE(pairs.btMark2->isEnabled());
    EXPECT_FALSE(pairs.btLaunch2->isEnabled());
    EXPECT_TRUE(pairs.btMark1->isEnabled());
    EXPECT_TRUE(pairs.imModify->isHidden());
}

TEST_F(DupCompareTest, DetailsOpensTheDetailsWindowOnTheCurrentRow)
{
    makeDups();
    TfrmDup w;
    dupSearch(w);
    gridOf(w)->setCurrentRow(2);
    QString shown;
    finders_test::whenModal<browse::TfrmDetails>([&](browse::TfrmDetails& d) {
        shown = d.lblFileName->text();
        d.reject();
    });
    click(w, "btDetails");
    EXPECT_EQ(shown, w.results().path(2));
}

TEST_F(DupCompareTest, VersionListsShowWithTheirDifferences)
{
    petest::VersionSpec v;
    v.strings = petest::SampleStrings();
    drives.writeFile('C', "Program Files/Halvane/Trovik 4.0/tool.dll", petest::PeImage({false, petest::VersionBlockBytes(v)}));
    v.strings[2].second = "1.2.3.5";
    drives.writeFile('C', "Program Files/Halvane/Trovik 4.1/tool.dll", petest::PeImage({true, petest::VersionBlockBytes(v)}));
    TfrmDup w;
    dupSearch(w);
    gridOf(w)->setCurrentRow(1);
    click(w, "btCompare");
    ASSERT_TRUE(pairs.tlBox1->isVisible());
    ASSERT_EQ(pairs.tlBox2->count(), 11);
    EXPECT_EQ(pairs.tlBox2->item(2)->background(), QBrush(Qt::cyan));
    EXPECT_EQ(pairs.tlBox2->item(1)->background(), QBrush());
    pairs.cbDetails->setChecked(true);
    snapshot(pairs, "dupcompare-versions");
}

// The files-by-date window: its wiring to the shared result list, the
// search's rows, marks and hand-over, sorting, the date fields and titles.
#include "finders_testutil.h"

#include "app/frmmain.h"
#include "app/programwindows.h"
#include "components/drivechecklist.h"
#include "components/resultgridview.h"
#include "core/helpers.h"
#include "finders/frmmods.h"
#include "reports/sortcommand.h"

#include <QAbstractButton>
#include <QAction>
#include <QButtonGroup>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QMenu>
#include <QPushButton>

using finders::TfrmMods;
using Kind = core::ScriptedPrompter::Kind;

namespace {

class ModsWindowTest : public finders_test::WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        reports::ResetSortDirections();
        core::SetShortDateFormat("yyyy-MM-dd");
    }
    void TearDown() override
    {
        core::SetShortDateFormat(QString());
        WindowTest::TearDown();
    }
    static void start(TfrmMods& w)
    {
        ASSERT_TRUE(w.btOK->isVisible() && w.btOK->isEnabled());
        w.btOK->click();
    }
    static QStringList names(const TfrmMods& w)
    {
        QStringList out;
        for (int r = 1; r <= w.results().rowsUsed(); ++r)
            out << w.results().cell(r, finders::mcFilename);
        return out;
    }
    static QAction* item(TfrmMods& w, const char* name)
    {
        auto* a = w.findChild<QAction*>(QLatin1String(name));
        EXPECT_NE(a, nullptr) << name;
        return a;
    }
    // Saves a picture of the window when TROVIK_SNAPSHOT_DIR names a folder.
    static void snapshot(QWidget& w, const QString& name)
    {
        const QString dir = qEnvironmentVariable("TROVIK_SNAPSHOT_DIR");
        if (!dir.isEmpty()) {
            EXPECT_TRUE(w.grab().save(QDir(dir).filePath(name + ".png")));
        }
    }
};

}  // namespace

TEST_F(ModsWindowTest, FilesFoundToday)
{
    // Files written now were accessed today: the window's own criteria.
    struct Row {
        int files;
        int gridRows;
        QStringList infos;
    };
    const Row rows[] = {{0, 2, {"No files found."}}, {1, 2, {}}, {2, 3, {}}};
    int made = 0;
    for (const Row& r : rows) {
        for (; made < r.files; ++made)
            drives.writeFile('C', QString("f%1.txt").arg(made));
        prompter.clear();
        TfrmMods w;
        w.show();
        start(w);
        EXPECT_EQ(w.results().rowsUsed(), r.files);
        EXPECT_EQ(w.results().rowCount(), r.gridRows);
        EXPECT_EQ(w.statusText(), "Found : " + QString::number(r.files));
        EXPECT_EQ(prompter.texts(Kind::Info), r.infos);
        EXPECT_EQ(w.btMark->isVisible(), r.files > 0);
        EXPECT_EQ(w.btDelete->isVisible() && !w.btDelete->isEnabled(), r.files > 0);
    }
}

TEST_F(ModsWindowTest, MarksGoToThePanelAndASecondSearchClearsThem)
{
    const QString a = drives.writeFile('C', "a.txt", "12345");
    drives.writeFile('C', "b.txt", "123");
    TfrmMods w;
    finders::CleanRequest handed;
    int panels = 0;
    w.setCleanPanel([&](QWidget*, const finders::CleanRequest& request) {
        handed = request;
        ++panels;
        return int(QDialog::Rejected);
    });
    w.show();
    start(w);
    const int row = names(w).indexOf("a.txt") + 1;
    ASSERT_GT(row, 0);
    w.grid->setCurrentRow(row);
    w.btMark->click();
    EXPECT_EQ(w.marks().count(), 1);
    EXPECT_EQ(w.statusText(), "1 files 5 bytes");
    w.btDelete->click();
    EXPECT_EQ(panels, 1);
    EXPECT_EQ(handed.files, QStringList{"C:\\a.txt"});
    EXPECT_EQ(handed.archiveTag, "FileDates");
    EXPECT_EQ(handed.potentialSavings, 5);
    EXPECT_TRUE(w.isVisible()) << "a panel closed without an operation leaves the window";

    start(w);
    EXPECT_EQ(w.marks().count(), 0);
    EXPECT_FALSE(w.results().marked(row));
    EXPECT_FALSE(w.btDelete->isEnabled());
    EXPECT_EQ(w.statusText(), "Found : 2");
}

TEST_F(ModsWindowTest, SortingTwiceReversesAndTheDirectionOutlivesTheWindow)
{
    for (const char* n : {"b.txt", "c.txt", "a.txt"})
        drives.writeFile('C', n);
    const QStringList up = {"a.txt", "b.txt", "c.txt"};
    const QStringList down = {"c.txt", "b.txt", "a.txt"};
    {
        TfrmMods w;
        w.show();
        start(w);
        EXPECT_TRUE(item(w, "miSortName")->isChecked());
        item(w, "miSortName")->trigger();
        EXPECT_EQ(names(w), up);
        emit w.grid->titleClicked(finders::mcFilename);
        EXPECT_EQ(names(w), down);
        item(w, "miSortName")->trigger();
        EXPECT_EQ(names(w), up);
        item(w, "miSortSize")->trigger();
        EXPECT_TRUE(item(w, "miSortSize")->isChecked());
        EXPECT_FALSE(item(w, "miSortName")->isChecked());
    }
    TfrmMods w;
    w.show();
    start(w);
    item(w, "miSortName")->trigger();
    EXPECT_EQ(names(w), down) << "the first window's last sort by name left the flag descending";
}

TEST_F(ModsWindowTest, CriteriaFieldsTitlesAndTheirLockWhileSearching)
{
    drives.writeFile('C', "a.txt");
    drives.writeFile('C', "c.txt");
    drives.writeFile('C', "d/b.txt");
    TfrmMods w;
    w.show();
    EXPECT_EQ(w.dtStart->date(), QDate::currentDate());
    EXPECT_EQ(w.dtEnd->date(), QDate::currentDate());

    // Each date field pushes the other.
    w.dtStart->setDate(QDate(2024, 1, 2));
    w.dtEnd->setDate(QDate(2024, 1, 1));
    EXPECT_EQ(w.dtStart->date(), QDate(2024, 1, 1));
    w.dtEnd->setDate(QDate(2024, 3, 4));
    w.dtStart->setDate(QDate(2024, 1, 2));
    EXPECT_EQ(w.dtEnd->date(), QDate(2024, 3, 4));

    struct Row {
        int what, when;
        bool endShown;
        const char* title;
    };
    const Row rows[] = {
        {0, 1, true, "Files Last accessed between 2024-01-02 and 2024-03-04"},
        {1, 0, false, "Files Created before 2024-01-02"},
        {2, 2, false, "Files Modified after 2024-01-02"},
    };
    for (const Row& r : rows) {
        w.whatGroup->button(r.what)->click();
        w.whenGroup->button(r.when)->click();
        EXPECT_EQ(w.dtEnd->isVisible(), r.endShown);
        EXPECT_EQ(w.printTitle(), r.title);
    }

    // The criteria are read once and locked while the walk runs.
    w.whenGroup->button(finders::drOnOrAfter)->click();
    QStringList enabled;
    bool looked = false;
    w.eventPump().observer = [&] {
        if (looked)
            return;
        looked = true;
        for (QWidget* c : {static_cast<QWidget*>(w.rgWhat), static_cast<QWidget*>(w.rgWhen),
                           static_cast<QWidget*>(w.dtStart), static_cast<QWidget*>(w.cbWildCard),
                           static_cast<QWidget*>(w.pckDrive), static_cast<QWidget*>(w.btOK),
                           static_cast<QWidget*>(w.btClose), static_cast<QWidget*>(w.btAbort)})
            if (c->isEnabled())
                enabled << c->objectName();
    };
    start(w);
    EXPECT_TRUE(looked);
    EXPECT_EQ(enabled, QStringList{"btAbort"});
    EXPECT_EQ(w.results().rowsUsed(), 3);
    EXPECT_TRUE(w.rgWhat->isEnabled() && w.cbWildCard->isEnabled());
    w.grid->resize(1000, 300);
    snapshot(w, "frmmods");
}

TEST_F(ModsWindowTest, LauncherButtonOpensTheWindow)
{
    QFile list(drives.programHome() + "/folders.txt");
    ASSERT_TRUE(list.open(QIODevice::WriteOnly));
    list.write("C:\\KEEP\\\n");
    list.close();
    app::Launcher state;
    app::TfrmMain main(state);
    app::registerProgramWindows(main);
    main.show();
    bool seen = false;
    finders_test::whenModal<TfrmMods>([&](TfrmMods& w) {
        seen = true;
        EXPECT_EQ(w.parentWidget(), &main);
        EXPECT_EQ(w.windowTitle(), "Files in a range of dates");
        w.btClose->click();
    });
    main.button("btFiles")->click();
    EXPECT_TRUE(seen);
    EXPECT_TRUE(main.findChildren<TfrmMods*>().isEmpty()) << "destroyed after closing";
}

TEST_F(ModsWindowTest, AbortKeepsTheRowsFoundSoFar)
{
    for (int i = 0; i < 5; ++i)
        drives.writeFile('C', QString("f%1.txt").arg(i));
    TfrmMods w;
    w.show();
    w.eventPump().observer = [&] {
        if (w.btAbort->isVisible())
            w.btAbort->click();
    };
    start(w);
    EXPECT_FALSE(w.searching());
    // Aborted at the pump before the second file: that file is still
    // listed, none after it.
    EXPECT_EQ(w.results().rowsUsed(), 2);
    EXPECT_EQ(prompter.texts(Kind::Info), QStringList{"LIST INCOMPLETE ... ABORTED BY USER"});
    EXPECT_TRUE(w.btMark->isVisible());
}

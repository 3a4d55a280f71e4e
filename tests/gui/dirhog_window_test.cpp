// The folder hogs window's wiring: scans, the refusals of "Clean?", the
// hand-over to the folder deletion window and what the row shows after it,
// the sorts, clipboard and print title.
#include "finders_testutil.h"

#include "app/frmmain.h"
#include "app/launcher.h"
#include "app/programwindows.h"
#include "components/drivechecklist.h"
#include "core/safeharbor.h"
#include "delete/deletionlog.h"
#include "delete/frmdeldirectory.h"
#include "browse/browsehook.h"
#include "finders/frmdirhog.h"
#include "reports/sortcommand.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <functional>
#include <memory>

using finders::TfrmDirHog;
using Kind = core::ScriptedPrompter::Kind;

namespace {

class DirHogWindowTest : public finders_test::WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        reports::ResetSortDirections();
        core::setProgramSafeHarbor(&harbor);
        del::setProgramLog(&log);
        w = std::make_unique<TfrmDirHog>();
        w->show();
    }
    void TearDown() override
    {
        w.reset();
        del::setProgramLog(nullptr);
        core::setProgramSafeHarbor(nullptr);
        WindowTest::TearDown();
    }
    void tick(const QStringList& letters)
    {
        for (int i = 0; i < w->pckDrive->count(); ++i)
            w->pckDrive->setTicked(i, letters.contains(w->pckDrive->item(i)->text().left(1)));
    }
    int rowOf(const QString& name) const
    {
        for (int r = 1; r <= w->results().rowsUsed(); ++r)
            if (w->results().cell(r, 5) == name)
                return r;
        return -1;
    }
    // A user's click on a row, then "Clean?".
    void cleanRow(int row)
    {
        w->grid->setCurrentRow(row);
        const QRect cell = w->grid->visualRect(w->grid->model()->index(row - 1, 0));
        QTest::mouseClick(w->grid->viewport(), Qt::LeftButton, {}, cell.center());
        ASSERT_EQ(w->lastClick(), row);
        w->btDeleteClick();
    }

    core::SafeHarbor harbor;
    del::DeletionLog log;
    std::unique_ptr<TfrmDirHog> w;
};

}  // namespace

TEST_F(DirHogWindowTest, ScanShowsRowsStatusAndButtons)
{
    drives.writeFile(u'C', "Big/a", QByteArray(3000, 'x'));
    drives.writeFile(u'C', "Big/sub/b", QByteArray(10, 'x'));
    drives.writeFile(u'C', "small/c", QByteArray(5, 'x'));
    tick({});
    EXPECT_FALSE(w->btTop->isEnabled() || w->btAll->isEnabled());
    tick({"C", "D"});
    ASSERT_TRUE(w->btTop->isEnabled());
    EXPECT_EQ(w->printTitle(), "Folder hogs on drive(s) C D ");

    struct Row {
        QPushButton* button;
        QString status;
        QStringList names;  // largest first
    };
    const QList<Row> rows = {
        {w->btTop, "Folders : 2", {"c:\\Big", "c:\\small"}},
        {w->btAll, "Folders : 4", {"c:\\Big", "c:\\Big\\sub", "c:\\small", "c:\\", "d:\\"}},
    };
    for (const Row& r : rows) {
        r.button->click();
        EXPECT_EQ(w->statusText(), r.status);
        QStringList names;
        for (int i = 1; i <= w->results().rowsUsed(); ++i)
            names << w->results().cell(i, 5);
        EXPECT_EQ(names.mid(0, 3), r.names.mid(0, 3));
        EXPECT_TRUE(w->btDelete->isVisible() && w->btOptions->isVisible() && w->btBrowse->isVisible());
        EXPECT_FALSE(w->btAbort->isVisible());
        EXPECT_FALSE(w->btBrowse->isEnabled());
    }
    // The first sort by size after a scan is ascending; the "% Used" title
    // sorts nothing.
    const QString largest = w->results().cell(1, 5);
    emit w->grid->titleClicked(1);
    EXPECT_EQ(w->results().cell(1, 5), largest);
    w->miSortSize->trigger();
    EXPECT_EQ(w->results().cell(w->results().rowsUsed(), 5), largest);
    EXPECT_TRUE(w->miSortSize->isChecked());
    EXPECT_TRUE(prompter.allTexts().isEmpty()) << prompter.allTexts().join('|').toStdString();
}

TEST_F(DirHogWindowTest, NoResultAndClipboardWithAnEmptyRow)
{
    drives.writeFile(u'D', "loose.txt", "x");
    tick({"D"});
    w->btTop->click();
    EXPECT_EQ(prompter.texts(Kind::Info), QStringList{"No files found."});
    EXPECT_EQ(w->statusText(), "Folders : 0");
    EXPECT_FALSE(w->btDelete->isVisible());
    w->miClipNames->trigger();
    EXPECT_EQ(QApplication::clipboard()->text(), "\r\n");
    w->miClipGrid->trigger();
    EXPECT_EQ(QApplication::clipboard()->text(),
              "Size\t% Used\t# Files\t# Sub-folders\tLatest File Access\tName\r\n\t\t\t\t\t\r\n");
}

TEST_F(DirHogWindowTest, CleanRefusesOrHandsTheFolderOver)
{
    drives.writeFile(u'C', "WINDOWS/SYSTEM/s", "x");
    drives.writeFile(u'C', "gone/g", "x");
    drives.writeFile(u'C', "del/a", QByteArray(100, 'x'));
    drives.writeFile(u'C', "trash/a", QByteArray(100, 'x'));
    drives.writeFile(u'C', "zip/a", QByteArray(100, 'x'));
    drives.makeFolder(u'D', "zips");
    tick({"C"});
    w->btAll->click();
    QDir(drives.posix(u'C') + "/gone").removeRecursively();

    using Work = std::function<void(del::TfrmDelDirectory&)>;
    const Work cancel = [](del::TfrmDelDirectory& d) { d.BitBtn3Click(); };
    const Work remove = [](del::TfrmDelDirectory& d) { d.btDeleteClick(); };
    const Work recycle = [](del::TfrmDelDirectory& d) { d.btRecycleClick(); };
    const Work zipOnly = [](del::TfrmDelDirectory& d) {
        d.askZipOptions = [] { return std::optional<del::FolderZipTarget>(del::FolderZipTarget{"D:\\zips", "", {}}); };
        d.cbDelete->setChecked(false);
        d.btZipClick();
    };
    struct Row {
        QString name;
        Work work;         // null: the folder deletion window must not open
        QString error;     // the error box, if any
        QString sizeAfter;
    };
    const QList<Row> rows = {
        {"c:\\", nullptr, "You cannot delete the root folder using Trovik", "0"},
        {"c:\\WINDOWS", nullptr, "You cannot delete the Windows folder using Trovik", "0"},
        {"c:\\gone", nullptr, "Folder already deleted/recycled", "1"},
        {"c:\\WINDOWS\\SYSTEM", cancel, "", "1"},
        {"c:\\del", remove, "", "DELETED"},
        {"c:\\del", nullptr, "Folder already deleted/recycled", "DELETED"},
        {"c:\\trash", recycle, "", "RECYCLED"},
        {"c:\\zip", zipOnly, "", "100"},
    };
    for (const Row& r : rows) {
        const int row = rowOf(r.name);
        ASSERT_GT(row, 0) << r.name.toStdString();
        prompter.clear();
        prompter.queue(core::Answer::Yes);  // the trash question
        bool opened = false;
        if (r.work)
            finders_test::whenModal<del::TfrmDelDirectory>([&](del::TfrmDelDirectory& d) {
                opened = true;
                EXPECT_EQ(d.folder(), "C:" + r.name.mid(2));
                r.work(d);
            });
        cleanRow(row);
        EXPECT_EQ(opened, bool(r.work)) << r.name.toStdString();
        EXPECT_EQ(prompter.texts(Kind::Error), r.error.isEmpty() ? QStringList() : QStringList{r.error})
            << r.name.toStdString();
        EXPECT_EQ(w->results().cell(row, 0), r.sizeAfter) << r.name.toStdString();
    }
}

TEST_F(DirHogWindowTest, TheLauncherOpensIt)
{
    QDir().mkpath(drives.programHome());
    QFile list(drives.programHome() + "/folders.txt");
    ASSERT_TRUE(list.open(QIODevice::WriteOnly));
    list.write("C:\\KEEP\\\n");
    list.close();
    app::Launcher state;
    app::TfrmMain main(state);
    app::registerProgramWindows(main);
    main.show();
    bool seen = false;
    finders_test::whenModal<TfrmDirHog>([&](TfrmDirHog& hogs) {
        seen = true;
        EXPECT_EQ(hogs.parentWidget(), &main);
        EXPECT_EQ(hogs.windowTitle(), "Folder Hogs");
        hogs.btClose->click();
    });
    main.button("btDirHogs")->click();
    EXPECT_TRUE(seen);
    EXPECT_EQ(main.findChildren<TfrmDirHog*>().size(), 0);
}

TEST_F(DirHogWindowTest, BrowseOpensTheRowsRealFolderWhenABrowserIsThere)
{
    drives.writeFile(u'C', "Big Folder/a", QByteArray(3000, 'x'));
    QList<browse::BrowseRequest> asked;
    browse::setBrowseHook([&](QWidget*, const browse::BrowseRequest& r) { asked << r; });
    TfrmDirHog withBrowser;
    for (int i = 0; i < withBrowser.pckDrive->count(); ++i)
        withBrowser.pckDrive->setTicked(i, withBrowser.pckDrive->item(i)->text().startsWith(u'C'));
    withBrowser.btTop->click();
    EXPECT_TRUE(withBrowser.btBrowse->isEnabled());
    int row = -1;
    for (int r = 1; r <= withBrowser.results().rowsUsed(); ++r)
        if (withBrowser.results().cell(r, 5).endsWith(QLatin1String("Big Folder")))
            row = r;
    ASSERT_GT(row, 0);
    withBrowser.grid->setCurrentRow(row);
    withBrowser.btBrowseClick();
    browse::setBrowseHook({});
    ASSERT_EQ(asked.size(), 1);
    EXPECT_EQ(asked[0].folder, withBrowser.results().path(row));
    EXPECT_EQ(asked[0].pattern, "*.*");
}

// TfrmNoDelete: the protected-folder list, its builder on key trees of the
// test's own, the hand edits, the extension page, saving on close, and the
// launcher's "Build &safe harbor".
#include "app/frmmain.h"
#include "app/programwindows.h"
#include "harbor/foldereditor.h"
#include "harbor/folderlist.h"
#include "harbor/frmeditfolder.h"
#include "harbor/frmkeepfiles.h"
#include "harbor/frmnodelete.h"
#include "harborfixture.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>

using harbor::TfrmNoDelete;
using harbortest::HarborFixture;
using Kind = core::ScriptedPrompter::Kind;

namespace {

const QString kQuestion =
    "Trovik will now scan the registry for references to folders.  Those folders ending with *.* will not be "
    "discarded during the scan.  It may take a few minutes.  Continue? ";

class NoDeleteTest : public HarborFixture {
protected:
    static QListView* list(TfrmNoDelete& w) { return w.findChild<QListView*>("ListBox1"); }
    static QString label(TfrmNoDelete& w, const char* name) { return w.findChild<QLabel*>(name)->text(); }
    static void select(TfrmNoDelete& w, const QList<int>& rows)
    {
        QListView* v = list(w);
        v->clearSelection();
        for (int r : rows)
            v->selectionModel()->select(v->model()->index(r, 0), QItemSelectionModel::Select);
    }
    static void setCurrent(TfrmNoDelete& w, int row)
    {
        QListView* v = list(w);
        v->selectionModel()->setCurrentIndex(v->model()->index(row, 0), QItemSelectionModel::ClearAndSelect);
    }
    // Folders on drive C: that exist, and a machine key naming a file in each.
    void installedFolders(const QStringList& relFolders)
    {
        QStringList values;
        for (const QString& rel : relFolders) {
            drives.writeFile('C', rel + "/prog.exe");
            values << "C:\\" + QString(rel).replace('/', '\\') + "\\prog.exe,1";
        }
        machine << Key{"Installed", values};
    }
};

TEST_F(NoDeleteTest, CaptionControlsAndFixedTexts)
{
    TfrmNoDelete w;
    EXPECT_EQ(w.windowTitle(), "Safe Harbor - List of folders that should not be deleted");
    EXPECT_FALSE(w.ListChanged);
    EXPECT_FALSE(w.SafeHarborChanged);
    EXPECT_FALSE(w.FirstBuild);
    EXPECT_EQ(label(w, "lblTitle"), "Safe harbor - folders/files not to delete");
    auto* pages = w.findChild<QTabWidget*>("PageControl1");
    ASSERT_NE(pages, nullptr);
    ASSERT_EQ(pages->count(), 2);
    EXPECT_EQ(pages->tabText(0), "Folders not to delete");
    EXPECT_EQ(pages->tabText(1), "File types not to delete");
    ASSERT_NE(list(w), nullptr);
    EXPECT_EQ(list(w)->selectionMode(), QAbstractItemView::ExtendedSelection);
    EXPECT_EQ(list(w)->toolTip(), "Drag the mouse over the list to select multiple folders");
    struct Row {
        const char* name;
        const char* caption;
        const char* hint;
    };
    for (const Row& r : {Row{"btAdd", "&Add", "Add a new folder to this list"},
                         Row{"btDel", "&Delete", "Delete a folder.  Select multiple folders above to delete more than one."},
                         Row{"btEdit", "&Edit", "Edit a folder"},
                         Row{"btBuild", "Build list of folders", "Build the list of folders referenced in the registry"},
                         Row{"btAddDel", "Add/Delete", "Add, delete file extensions"},
                         Row{"btClose", "Close", "Close window"}}) {
        auto* b = w.findChild<QPushButton*>(r.name);
        ASSERT_NE(b, nullptr) << r.name;
        EXPECT_EQ(b->text(), r.caption) << r.name;
        EXPECT_EQ(b->toolTip(), r.hint) << r.name;
    }
    EXPECT_TRUE(w.findChild<QPushButton*>("btBuild")->isDefault());
    EXPECT_EQ(w.findChild<QListWidget*>("PickList1")->toolTip(), "File extensions/types of files NOT to delete");
    EXPECT_EQ(label(w, "lblInfo"),
              "This is a list of folders that are referenced in your Windows Registry.  When deleting a file or "
              "folders, Trovik will check this list of folders and warn you before deleting the files within the "
              "folder.  You may add or delete from this list.");
    EXPECT_EQ(label(w, "lblNote"),
              "Those folders that are marked with *.* include ALL sub-folders.  Note: It is recommended that you "
              "rebuild this list after installing or uninstalling programs.");
    EXPECT_EQ(label(w, "lblWhenCaption"), "Date of last build:");
    EXPECT_EQ(label(w, "lblTodayCaption"), "Today's date:");
    EXPECT_EQ(label(w, "lblTypes"),
              "These file types as indicated by the file extension will NOT be deleted by Trovik.  When deleting "
              "files, you will be warned if one of the files matches the types above.  ");
    EXPECT_EQ(label(w, "lblOverride"),
              "You can over-ride this setting by simply moving the file off of the safe harbor area when deleting "
              "the files.");
}

TEST_F(NoDeleteTest, ShowLoadsTheListCountAndDates)
{
    writeFoldersFile({"C:\\A\\", "C:\\PROGRAM FILES\\*.*", "C:\\Z"});
    {
        TfrmNoDelete w;
        w.show();
        EXPECT_EQ(w.entries(), QStringList({"C:\\A\\", "C:\\PROGRAM FILES\\*.*", "C:\\Z"}));
        EXPECT_EQ(label(w, "lblCount"), "3 folders");
        EXPECT_EQ(label(w, "lblWhen"), "Not recorded");
        EXPECT_EQ(label(w, "lblToday"), harbor::LongDateText(QDate::currentDate()));
        EXPECT_EQ(w.findChild<QTabWidget*>("PageControl1")->currentIndex(), 0);
        // Subtree rules are drawn in bold.
        const QAbstractItemModel* m = list(w)->model();
        for (int row = 0; row < 3; ++row) {
            const QFont f = m->index(row, 0).data(Qt::FontRole).value<QFont>();
            EXPECT_EQ(f.bold(), row == 1) << row;
        }
        EXPECT_FALSE(w.findChild<QTimer*>("tmBuild")->isActive()) << "no build without FirstBuild";
    }
    core::SettingsStore::writeString("Folders", "When", "Sunday, 1 March 2026 10:00:00");
    TfrmNoDelete w;
    w.show();
    EXPECT_EQ(label(w, "lblWhen"), "Sunday, 1 March 2026 10:00:00");
}

TEST_F(NoDeleteTest, ExtensionPageShowsStoredOrDefaultExtensions)
{
    {
        TfrmNoDelete w;
        w.show();
        auto* p = w.findChild<QListWidget*>("PickList1");
        ASSERT_EQ(p->count(), 2);
        EXPECT_EQ(p->item(0)->text(), "*.sys\tSystem file");
        EXPECT_EQ(p->item(1)->text(), "*.drv\tDevice driver");
    }
    core::SettingsStore::writeList("NoDelExt", {"*.bak"});
    TfrmNoDelete w;
    w.show();
    auto* p = w.findChild<QListWidget*>("PickList1");
    ASSERT_EQ(p->count(), 1);
    EXPECT_EQ(p->item(0)->text(), "*.bak\tBackup file");
}

TEST_F(NoDeleteTest, FirstBuildStartsAboutASecondAfterShowingWithoutAsking)
{
    installedFolders({"Program Files/Acme", "Tools"});
    TfrmNoDelete w;
    w.FirstBuild = true;
    QElapsedTimer clock;
    clock.start();
    w.show();
    auto* timer = w.findChild<QTimer*>("tmBuild");
    EXPECT_TRUE(timer->isActive());
    EXPECT_TRUE(timer->isSingleShot());
    EXPECT_EQ(timer->interval(), 1000);
    QTest::qWait(600);
    EXPECT_EQ(treesMade, 0) << "not before the second is up";
    ASSERT_TRUE(harbortest::waitUntil([&] { return treesMade > 0 && !w.building(); }, 5000));
    EXPECT_GE(clock.elapsed(), 950);
    EXPECT_TRUE(prompter.records().isEmpty()) << "no question on the first build";
    EXPECT_EQ(w.entries(), QStringList({"C:\\Program Files\\Acme", "C:\\Tools"}));
    EXPECT_TRUE(w.SafeHarborChanged);
    EXPECT_TRUE(w.ListChanged);
    EXPECT_EQ(label(w, "lblCount"), "2 folders");
    EXPECT_NE(label(w, "lblWhen"), "Not recorded");
    EXPECT_EQ(label(w, "lblWhen"), harbor::LastBuildDate()) << "stored in Folders/When";
    QTest::qWait(1200);
    EXPECT_EQ(treesMade, 2) << "one build only";
    w.close();
    EXPECT_EQ(foldersFileLines(), QStringList({"C:\\Program Files\\Acme", "C:\\Tools"}));
}

TEST_F(NoDeleteTest, BuildGoesAheadOnlyOnYes)
{
    installedFolders({"Tools"});
    struct Row {
        std::optional<core::Answer> answer;
        bool builds;
    };
    for (const Row& r : {Row{std::nullopt, false}, Row{core::Answer::No, false}, Row{core::Answer::Yes, true}}) {
        prompter.clear();
        writeFoldersFile({"C:\\KEEP\\"});
        TfrmNoDelete w;
        w.show();
        if (r.answer)
            prompter.queue(*r.answer);
        harbortest::click(w, "btBuild");
        EXPECT_EQ(prompter.texts(Kind::Confirm), QStringList{kQuestion});
        EXPECT_EQ(w.SafeHarborChanged, r.builds);
        EXPECT_EQ(w.ListChanged, r.builds);
        EXPECT_EQ(w.entries(), r.builds ? QStringList{"C:\\Tools"} : QStringList{"C:\\KEEP\\"});
        w.close();
        EXPECT_EQ(foldersFileLines(), w.entries());
    }
}

TEST_F(NoDeleteTest, BuildKeepsRulesAndDropsTheFoldersBelowThem)
{
    installedFolders({"Program Files/Acme", "Program Files/Other/bin", "Tools"});
    user << Key{"Applications", {"C:\\Tools\\t.exe", "C:\\Games\\g.exe", "C:\\A;C:\\B", "%SystemRoot%\\x.dll"}};
    writeFoldersFile({"C:\\OLD\\", "C:\\PROGRAM FILES\\*.*", "D:\\MINE\\"});
    TfrmNoDelete w;
    w.show();
    prompter.queue(core::Answer::Yes);
    harbortest::click(w, "btBuild");
    EXPECT_EQ(w.entries(), QStringList({"C:\\PROGRAM FILES\\*.*", "C:\\Tools"}));
    EXPECT_EQ(label(w, "lblCount"), "2 folders");
    EXPECT_EQ(label(w, "lblTitle"), "Safe harbor - folders/files not to delete");
    for (const char* name : {"btBuild", "btAdd", "btDel", "btEdit", "btClose", "btAddDel"})
        EXPECT_TRUE(w.findChild<QPushButton*>(name)->isEnabled()) << name;
}

TEST_F(NoDeleteTest, BuildShowsItselfAndRepaintsTheGrowingListAtMostEvery50ms)
{
    // 300 folders, each named by a key that takes 2 ms to read: the build
    // lasts well over half a second.
    QStringList folders;
    for (int i = 0; i < 300; ++i)
        folders << QString("Apps/P%1").arg(i, 3, 10, QChar('0'));
    // Named in reverse order: the list is seen sorted only if it is kept so.
    std::reverse(folders.begin(), folders.end());
    for (const QString& f : folders) {
        drives.writeFile('C', f + "/x.exe");
        machine << Key{"K" + f.mid(5), {"C:\\" + QString(f).replace('/', '\\') + "\\x.exe"}};
    }
    keyDelayMs = 2;
    TfrmNoDelete w;
    w.FirstBuild = true;
    w.show();

    // Watch the window from inside the build: each pass of pending events
    // runs this timer once.
    struct Seen {
        qint64 at;
        int rows;
        bool sorted;
    };
    QList<Seen> seen;
    QStringList titles;
    QStringList disabled;
    QElapsedTimer clock;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (!w.building())
            return;
        if (seen.isEmpty()) {
            titles << w.findChild<QLabel*>("lblTitle")->text();
            for (const char* name : {"btBuild", "btAdd", "btDel", "btEdit", "btClose", "btAddDel"})
                if (!w.findChild<QPushButton*>(name)->isEnabled())
                    disabled << name;
            EXPECT_TRUE(label(w, "lblCount").isEmpty());
            w.close();
            w.reject();
            EXPECT_TRUE(w.isVisible()) << "the window stays while the build runs";
        }
        QStringList shown = w.entries();
        QStringList sorted = shown;
        std::sort(sorted.begin(), sorted.end(),
                  [](const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
        seen << Seen{clock.elapsed(), int(shown.size()), shown == sorted};
    });
    clock.start();
    watch.start(0);
    ASSERT_TRUE(harbortest::waitUntil([&] { return treesMade > 0 && !w.building(); }, 20000));
    watch.stop();

    EXPECT_EQ(titles, QStringList{"Building List ... standby"});
    EXPECT_EQ(disabled, QStringList({"btBuild", "btAdd", "btDel", "btEdit", "btClose", "btAddDel"}));
    EXPECT_EQ(w.entries().size(), 300);
    ASSERT_GE(seen.size(), 4) << "the list was redrawn while it grew";
    bool grew = false;
    for (int i = 1; i < seen.size(); ++i) {
        EXPECT_GE(seen[i].rows, seen[i - 1].rows);
        grew = grew || (seen[i].rows > seen[i - 1].rows && seen[i].rows < 300);
        EXPECT_TRUE(seen[i].sorted) << i;
    }
    EXPECT_TRUE(grew);
    // Not more often than every 50 ms, besides the passes before the scan
    // and between the two trees.
    const qint64 took = seen.last().at - seen.first().at;
    EXPECT_GE(took, 500);
    EXPECT_LE(seen.size(), took / 50 + 3) << took << " ms";
    EXPECT_TRUE(w.isVisible());
}

TEST_F(NoDeleteTest, BuildRunsEventsWhereKeysAddNothing)
{
    // 200 keys naming folders that do not exist, 3 ms each: no folder is
    // added, yet the window must get its events.
    for (int i = 0; i < 200; ++i)
        machine << Key{QString("Gone%1").arg(i), {QString("C:\\Gone%1\\x.exe").arg(i)}};
    keyDelayMs = 3;
    TfrmNoDelete w;
    w.FirstBuild = true;
    w.show();
    QList<qint64> passes;
    QElapsedTimer clock;
    clock.start();
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (w.building())
            passes << clock.elapsed();
    });
    watch.start(0);
    ASSERT_TRUE(harbortest::waitUntil([&] { return treesMade > 0 && !w.building(); }, 20000));
    watch.stop();
    EXPECT_TRUE(w.entries().isEmpty());
    ASSERT_GE(passes.size(), 2);
    qint64 longest = 0;
    for (int i = 2; i < passes.size(); ++i)  // the first gap reads the trees
        longest = std::max(longest, passes[i] - passes[i - 1]);
    EXPECT_GE(passes.size(), 6);
    EXPECT_LT(longest, 200);
}

TEST_F(NoDeleteTest, AddAppendsThePickedFolderUnchanged)
{
    writeFoldersFile({"C:\\B\\", "C:\\C\\"});
    TfrmNoDelete w;
    w.show();
    prompter.queue(QString("C:\\A"));
    harbortest::click(w, "btAdd");
    prompter.queue(QString("C:\\A"));
    harbortest::click(w, "btAdd");
    harbortest::click(w, "btAdd");  // cancelled
    EXPECT_EQ(w.entries(), QStringList({"C:\\B\\", "C:\\C\\", "C:\\A", "C:\\A"}));
    EXPECT_EQ(label(w, "lblCount"), "4 folders");
    EXPECT_TRUE(w.ListChanged);
    EXPECT_FALSE(w.SafeHarborChanged) << "a hand edit reaches the Safe Harbor at the next load";
    ASSERT_EQ(prompter.records().size(), 3);
    EXPECT_EQ(prompter.records()[0].caption, "Select a folder that won't be deleted");
    w.close();
    EXPECT_EQ(foldersFileLines(), QStringList({"C:\\A", "C:\\A", "C:\\B\\", "C:\\C\\"})) << "sorted on close";
}

TEST_F(NoDeleteTest, DeleteWithNothingSelected)
{
    writeFoldersFile({"C:\\B\\"});
    TfrmNoDelete w;
    w.show();
    harbortest::click(w, "btDel");
    EXPECT_EQ(prompter.texts(Kind::Error), QStringList{"Select one or more folders from the list above"});
    EXPECT_TRUE(prompter.texts(Kind::Confirm).isEmpty());
    EXPECT_EQ(w.entries().size(), 1);
    EXPECT_FALSE(w.ListChanged);
}

TEST_F(NoDeleteTest, DeleteRemovesTheSelectedFoldersOnOk)
{
    struct Row {
        std::optional<core::Answer> answer;
        QStringList remaining;
    };
    for (const Row& r : {Row{core::Answer::Ok, {"C:\\B\\", "C:\\D\\"}},
                         Row{core::Answer::Cancel, {"C:\\A\\", "C:\\B\\", "C:\\C\\", "C:\\D\\"}},
                         Row{std::nullopt, {"C:\\A\\", "C:\\B\\", "C:\\C\\", "C:\\D\\"}}}) {
        prompter.clear();
        writeFoldersFile({"C:\\A\\", "C:\\B\\", "C:\\C\\", "C:\\D\\"});
        TfrmNoDelete w;
        w.show();
        select(w, {0, 2});
        if (r.answer)
            prompter.queue(*r.answer);
        harbortest::click(w, "btDel");
        EXPECT_EQ(prompter.texts(Kind::Confirm), QStringList{"Really delete the selected folders?"});
        EXPECT_EQ(w.entries(), r.remaining);
        EXPECT_EQ(label(w, "lblCount"), harbor::FolderCountText(r.remaining.size()));
        EXPECT_EQ(w.ListChanged, r.remaining.size() == 2);
    }
}

TEST_F(NoDeleteTest, DeletingEveryEntryAndClosingDeletesTheFile)
{
    writeFoldersFile({"C:\\A\\", "C:\\B\\"});
    TfrmNoDelete w;
    w.show();
    list(w)->selectAll();
    prompter.queue(core::Answer::Ok);
    harbortest::click(w, "btDel");
    EXPECT_TRUE(w.entries().isEmpty());
    EXPECT_EQ(label(w, "lblCount"), "0 folders");
    EXPECT_TRUE(QFile::exists(foldersFile()));
    harbortest::click(w, "btClose");
    EXPECT_FALSE(w.isVisible());
    EXPECT_FALSE(QFile::exists(foldersFile()));
}

TEST_F(NoDeleteTest, ClosingWithoutChangesLeavesTheFileAlone)
{
    writeFoldersFile({"C:\\Z\\", "C:\\A\\"});  // unsorted: a rewrite would show
    TfrmNoDelete w;
    w.show();
    QTest::keyClick(&w, Qt::Key_Escape);
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(foldersFileLines(), QStringList({"C:\\Z\\", "C:\\A\\"}));
}

TEST_F(NoDeleteTest, EditWithoutAFocusedEntry)
{
    writeFoldersFile({"C:\\A\\"});
    TfrmNoDelete w;
    w.show();
    list(w)->setCurrentIndex(QModelIndex());
    harbortest::click(w, "btEdit");
    EXPECT_EQ(prompter.texts(Kind::Error), QStringList{"Select a folder first"});
    EXPECT_FALSE(w.ListChanged);
}

TEST_F(NoDeleteTest, EditAnEntryAsFolderOrSubtreeRule)
{
    struct Row {
        const char* what;
        QStringList before;
        int row;
        QString shownText;   // in Edit1
        bool shownTicked;    // cbAll
        std::function<void(harbor::TfrmEditFolder&)> act;
        QStringList after;
        QString current;     // the focused entry afterwards
        bool changed;
    };
    auto untickAndOk = [](harbor::TfrmEditFolder& d) {
        d.cbAll->click();
        harbortest::click(d, "btOK");
    };
    auto tickAndOk = [](harbor::TfrmEditFolder& d) {
        d.cbAll->click();
        harbortest::click(d, "btOK");
    };
    auto cancel = [](harbor::TfrmEditFolder& d) {
        d.cbAll->click();
        harbortest::click(d, "btCancel");
    };
    auto emptyOk = [](harbor::TfrmEditFolder& d) {
        d.Edit1->clear();
        harbortest::click(d, "btOK");
    };
    const QList<Row> rows = {
        {"untick a rule", {"C:\\B\\", "C:\\DATA\\*.*"}, 1, "C:\\DATA\\", true, untickAndOk,
         {"C:\\B\\", "C:\\DATA\\"}, "C:\\DATA\\", true},
        {"tick a folder", {"C:\\DATA", "C:\\DATABASE\\OLD\\", "C:\\A\\"}, 0, "C:\\DATA", false, tickAndOk,
         {"C:\\A\\", "C:\\DATA*.*"}, "C:\\DATA*.*", true},
        {"cancel", {"C:\\DATA\\*.*"}, 0, "C:\\DATA\\", true, cancel, {"C:\\DATA\\*.*"}, "C:\\DATA\\*.*", false},
        {"empty text", {"C:\\DATA\\"}, 0, "C:\\DATA\\", false, emptyOk, {"C:\\DATA\\"}, "C:\\DATA\\", false},
    };
    for (const Row& r : rows) {
        writeFoldersFile(r.before);
        TfrmNoDelete w;
        w.show();
        setCurrent(w, r.row);
        QString shownText;
        bool shownTicked = false;
        QString explanation;
        harbortest::onNextModal<harbor::TfrmEditFolder>([&](harbor::TfrmEditFolder& d) {
            shownText = d.Edit1->text();
            shownTicked = d.cbAll->isChecked();
            explanation = d.lblExample->text();
            r.act(d);
        });
        harbortest::click(w, "btEdit");
        EXPECT_EQ(shownText, r.shownText) << r.what;
        EXPECT_EQ(shownTicked, r.shownTicked) << r.what;
        EXPECT_EQ(explanation, harbor::EditFolderExplanation(r.shownText, r.shownTicked)) << r.what;
        EXPECT_EQ(w.entries(), r.after) << r.what;
        EXPECT_EQ(list(w)->currentIndex().data().toString(), r.current) << r.what;
        EXPECT_EQ(label(w, "lblCount"), harbor::FolderCountText(r.after.size())) << r.what;
        EXPECT_EQ(w.ListChanged, r.changed) << r.what;
        EXPECT_FALSE(w.SafeHarborChanged) << r.what;
    }
}

TEST_F(NoDeleteTest, DoubleClickEdits)
{
    writeFoldersFile({"C:\\A\\", "C:\\B\\"});
    TfrmNoDelete w;
    w.show();
    QListView* v = list(w);
    const QRect r = v->visualRect(v->model()->index(1, 0));
    harbortest::onNextModal<harbor::TfrmEditFolder>([](harbor::TfrmEditFolder& d) {
        d.Edit1->setText("C:\\BB\\");
        harbortest::click(d, "btOK");
    });
    QTest::mouseClick(v->viewport(), Qt::LeftButton, {}, r.center());
    QTest::mouseDClick(v->viewport(), Qt::LeftButton, {}, r.center());
    EXPECT_EQ(w.entries(), QStringList({"C:\\A\\", "C:\\BB\\"}));
    EXPECT_TRUE(w.ListChanged);
}

TEST_F(NoDeleteTest, AddDeleteOpensTheExtensionsAndRefillsThePage)
{
    TfrmNoDelete w;
    w.show();
    harbortest::onNextModal<harbor::TfrmKeepFiles>([](harbor::TfrmKeepFiles& k) {
        harbortest::click(k, "btDefaults");
        k.PickList1->item(0)->setSelected(true);  // *.drv
        harbortest::click(k, "btDel");
        harbortest::click(k, "btClose");
    });
    harbortest::click(w, "btAddDel");
    EXPECT_TRUE(w.SafeHarborChanged);
    EXPECT_FALSE(w.ListChanged);
    EXPECT_EQ(core::SettingsStore::readList("NoDelExt"), QStringList{"*.sys"});
    auto* p = w.findChild<QListWidget*>("PickList1");
    ASSERT_EQ(p->count(), 1);
    EXPECT_EQ(p->item(0)->text(), "*.sys\tSystem file");
}

// The launcher: no finder opens before the first build; "Build &safe
// harbor" builds at once, and afterwards the Safe Harbor exists.
class LauncherBuildTest : public NoDeleteTest {};

TEST_F(LauncherBuildTest, FirstRunBuildsAtOnceAndUnlocksTheFinders)
{
    installedFolders({"Program Files/Acme"});
    app::Launcher state;
    app::TfrmMain main(state);
    app::registerProgramWindows(main);
    int finderOpened = 0;
    main.registerAction("btDuplicate", [&](app::TfrmMain&) { ++finderOpened; });
    main.show();
    ASSERT_TRUE(state.SafeHarborMissing);
    EXPECT_TRUE(main.button("btBuild")->isEnabled());

    main.button("btDuplicate")->click();
    EXPECT_EQ(finderOpened, 0);
    EXPECT_EQ(prompter.texts(Kind::Error), QStringList{app::Launcher::safeHarborMissingMessage()});

    bool firstBuild = false;
    QStringList built;
    harbortest::onNextModal<TfrmNoDelete>([&](TfrmNoDelete& w) {
        firstBuild = w.FirstBuild;
        EXPECT_EQ(w.parentWidget(), &main);
        // Closes it once the build that starts by itself is over.
        auto* poll = new QTimer(&w);
        auto clock = std::make_shared<QElapsedTimer>();
        clock->start();
        QObject::connect(poll, &QTimer::timeout, &w, [&w, poll, &built, clock, this] {
            if ((treesMade == 0 || w.building()) && clock->elapsed() < 5000)
                return;
            poll->stop();
            built = w.entries();
            harbortest::click(w, "btClose");
        });
        poll->start(20);
    }, 10000);
    main.button("btBuild")->click();
    EXPECT_TRUE(firstBuild);
    EXPECT_EQ(built, QStringList{"C:\\Program Files\\Acme"});
    EXPECT_TRUE(prompter.texts(Kind::Confirm).isEmpty());
    EXPECT_FALSE(state.SafeHarborMissing);
    EXPECT_TRUE(state.ProtectedFolders.contains("C:\\PROGRAM FILES\\ACME\\"));
    EXPECT_TRUE(main.findChildren<TfrmNoDelete*>().isEmpty()) << "destroyed after closing";

    main.button("btDuplicate")->click();
    EXPECT_EQ(finderOpened, 1);
}

TEST_F(LauncherBuildTest, NoChangeLeavesTheSafeHarborAsItWas)
{
    writeFoldersFile({"C:\\KEEP\\"});
    app::Launcher state;
    app::TfrmMain main(state);
    app::registerProgramWindows(main);
    main.show();
    ASSERT_FALSE(state.SafeHarborMissing);
    bool firstBuild = true;
    harbortest::onNextModal<TfrmNoDelete>([&](TfrmNoDelete& w) {
        firstBuild = w.FirstBuild;
        w.findChild<QListView*>("ListBox1")->selectAll();
        prompter.queue(core::Answer::Ok);
        harbortest::click(w, "btDel");
        harbortest::click(w, "btClose");
    });
    main.button("btBuild")->click();
    EXPECT_FALSE(firstBuild);
    EXPECT_FALSE(QFile::exists(foldersFile()));
    EXPECT_FALSE(state.SafeHarborMissing) << "a hand edit takes effect at the next load";
    EXPECT_EQ(treesMade, 0);
}

}  // namespace

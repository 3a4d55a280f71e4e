// The duplicate/file-hog window as part of the program: opened by the
// launcher buttons, placed and sized, its layout, and its drive list menu.
#include "frmdup_fixture.h"

#include "app/frmmain.h"
#include "app/programwindows.h"
#include "components/windowplacement.h"
#include "core/settings.h"
#include "finders/frmaddnewfolder.h"

#include <QAction>
#include <QFile>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using finders::TfrmDup;
using namespace duptest;

namespace {

class DupProgramTest : public DupWindowTest {
protected:
    void makeSafeHarborList()
    {
        QFile f(drives.programHome() + "/folders.txt");
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("C:\\KEEP\\\n");
    }
};

// Fails the test and closes any TfrmDup that opens while it lives.
class NoDupWindow {
public:
    NoDupWindow()
    {
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            if (auto* w = qobject_cast<TfrmDup*>(QApplication::activeModalWidget())) {
                opened = true;
                w->reject();
            }
        });
        timer_.start(10);
    }
    bool opened = false;

private:
    QTimer timer_;
};

}  // namespace

TEST_F(DupProgramTest, LauncherButtonsOpenTheWindowInTheirMode)
{
    makeSafeHarborList();
    app::Launcher state;
    app::TfrmMain main(state);
    app::registerProgramWindows(main);
    main.show();
    ASSERT_FALSE(state.SafeHarborMissing);

    struct Row {
        const char* button;
        bool dupMode;
        const char* caption;
    };
    const Row table[] = {{"btDuplicate", true, "Find and delete duplicate files"},
                         {"btFileHog", false, "Find and delete file hogs"},
                         {"btDuplicate", true, "Find and delete duplicate files"}};
    for (const Row& r : table) {
        SCOPED_TRACE(r.button);
        ASSERT_TRUE(main.button(r.button)->isEnabled());
        bool seen = false;
        finders_test::whenModal<TfrmDup>([&](TfrmDup& w) {
            seen = true;
            EXPECT_EQ(w.parentWidget(), &main);
            EXPECT_EQ(w.duplicateMode(), r.dupMode);
            EXPECT_EQ(w.windowTitle(), r.caption);
            EXPECT_EQ(find<QWidget>(w, "cbDup")->isVisible(), r.dupMode);
            snapshot(w, QString("frmdup-launched-") + r.button);
            click(w, "btClose");
        });
        main.button(r.button)->click();
        EXPECT_TRUE(seen);
        EXPECT_EQ(state.DuplicateMode, r.dupMode ? 1 : 0);
        EXPECT_TRUE(main.findChildren<TfrmDup*>().isEmpty()) << "destroyed after closing";
    }
    EXPECT_TRUE(prompter.records().isEmpty());
}

TEST_F(DupProgramTest, WithoutTheSafeHarborListTheWindowStaysShut)
{
    app::Launcher state;
    app::TfrmMain main(state);
    app::registerProgramWindows(main);
    main.show();
    ASSERT_TRUE(state.SafeHarborMissing);
    for (const char* button : {"btDuplicate", "btFileHog"}) {
        prompter.clear();
        NoDupWindow guard;
        main.button(button)->click();
        EXPECT_FALSE(guard.opened) << button;
        EXPECT_EQ(prompter.texts(Kind::Error), QStringList{app::Launcher::safeHarborMissingMessage()}) << button;
    }
}

TEST_F(DupProgramTest, PlacementIsKeptPerMode)
{
    struct Row {
        bool dupMode;
        const char* section;
        QPoint at;
        QSize more;  // beyond the smallest size
        QRect rect = {};
    };
    Row table[] = {{true, "frmDups", {40, 30}, {10, 60}}, {false, "frmMods", {20, 10}, {30, 90}}};
    for (Row& r : table) {
        {
            TfrmDup w(nullptr, r.dupMode);
            w.show();
            r.rect = QRect(r.at, w.minimumSize() + r.more);
            w.setGeometry(r.rect);
        }
        const core::WindowPlacement p = core::PlacementStore::read(core::PlacementStore::Key::Shared, r.section, "frmMods");
        EXPECT_LT(p.left, p.right) << r.section;
        EXPECT_EQ(QRect(p.left, p.top, p.right - p.left, p.bottom - p.top), r.rect) << r.section;
    }
    // Each mode comes back where it was left.
    for (const Row& r : table) {
        TfrmDup w(nullptr, r.dupMode);
        w.show();
        EXPECT_EQ(w.geometry(), r.rect) << r.section;
    }
}

TEST_F(DupProgramTest, LayoutFollowsTheWindowSize)
{
    drives.writeFile('C', "a/x.txt", "1");
    drives.writeFile('C', "b/x.txt", "2");
    for (bool dupMode : {true, false}) {
        SCOPED_TRACE(dupMode ? "duplicates" : "file hogs");
        TfrmDup w(nullptr, dupMode);
        w.show();
        setSize(w, "rbLarger", 0, 0, false);
        setMode(w, finders::mmFilename);
        click(w, "btScan");
        ASSERT_GT(rows(w), 0);
        QTest::qWait(1);

        // The smallest size holds the whole row of buttons and a grid as
        // high as the top panel.
        const QSize smallest = w.minimumSize();
        auto* panel = find<QWidget>(w, "Panel1");
        EXPECT_GE(smallest.height(), 2 * panel->height());
        w.resize(smallest);
        QTest::qWait(1);
        QWidget* previous = nullptr;
        for (const char* name : {"btScan", "btClose", "btMark", "btDelete", "btOptions", "btBrowse", "btDetails", "btCompare"}) {
            auto* b = find<QWidget>(w, name);
            if (b->isHidden())
                continue;
            const QRect g(b->mapTo(&w, QPoint(0, 0)), b->size());
            EXPECT_TRUE(w.rect().contains(g)) << name;
            if (previous) {
                EXPECT_EQ(g.left(), previous->mapTo(&w, QPoint(previous->width(), 0)).x() + 3) << name;
                EXPECT_EQ(g.top(), previous->mapTo(&w, QPoint(0, 0)).y()) << name;
            } else {
                EXPECT_EQ(g.left(), 3) << "\"&Start\" 3 pixels from the left";
            }
            previous = b;
        }
        // Abort and Mark share their place.
        auto* abort = find<QWidget>(w, "btAbort");
        auto* mark = find<QWidget>(w, "btMark");
        EXPECT_EQ(abort->width(), mark->width());

        for (int width : {smallest.width(), smallest.width() + 300}) {
            w.resize(width, smallest.height() + 100);
            QTest::qWait(1);
            auto* drivesList = find<QWidget>(w, "pckDrive");
            EXPECT_EQ(drivesList->mapTo(&w, QPoint(drivesList->width(), 0)).x(), w.width() - 8)
                << "the drive list 8 pixels from the right edge";
            auto* grid = find<comp::ResultGridView>(w, "grid");
            const QList<int> widths = grid->columnWidths();
            const int dpi = grid->logicalDpiX();
            const QList<int> bases = dupMode ? QList<int>{93, 58, 64, 70, 70, 184} : QList<int>{64, 64, 64, 64, 296};
            ASSERT_EQ(widths.size(), bases.size() + 1);
            // Sizes, dates and times take more when their cells need it; the
            // last column gives that up, keeping 25 pixels for border and bar.
            int taken = 0;
            for (int c = 0; c < bases.size(); ++c) {
                EXPECT_EQ(widths[c], std::max(bases[c] * dpi / 96, grid->neededWidth(c))) << c;
                taken += widths[c];
            }
            EXPECT_EQ(widths.last(), std::max(40, grid->width() - taken - 25 * dpi / 96));
            // The status line never widens the window.
            w.findChild<QLabel*>("lblStatus")->setText(QString(400, 'x'));
            QTest::qWait(1);
            EXPECT_EQ(w.width(), width);
            EXPECT_EQ(w.minimumSize(), smallest);
        }
        w.resize(760, 540);
        QTest::qWait(1);
        snapshot(w, dupMode ? "frmdup-duplicates" : "frmdup-filehogs");
    }
}

TEST_F(DupProgramTest, AddingAFolderRefillsTheDriveList)
{
    TfrmDup w;
    w.show();
    auto* list = find<comp::DriveCheckList>(w, "pckDrive");
    ASSERT_EQ(list->lines(), QStringList({"C: Drive_c", "D: Drive_d"}));
    list->setTicked(1, true);
    auto* add = w.findChild<QAction*>("miAddFolder");
    ASSERT_NE(add, nullptr);
    drives.makeFolder('D', "Projects");
    finders_test::whenModal<finders::TfrmAddNewFolder>([&](finders::TfrmAddNewFolder& f) {
        prompter.queue(QString("D:\\Projects"));
        click(f, "btAdd");
        click(f, "btClose");
    });
    add->trigger();
    EXPECT_EQ(list->lines(), QStringList({"C: Drive_c", "D: Drive_d", "D:\\Projects"}));
    EXPECT_EQ(list->tickedEntries(), QStringList{"C: Drive_c"}) << "the ticks start again from the default";
    EXPECT_TRUE(find<QWidget>(w, "btScan")->isEnabled());
}

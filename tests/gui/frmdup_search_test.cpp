// The duplicate/file-hog window while a search runs: the searching state,
// the refused ways of closing, the hints, the pump, and "&Abort" during the
// walk and during the checksum pass.
#include "frmdup_fixture.h"

#include "finders/eventpump.h"
#include "finders/hintswitch.h"

#include <QFile>
#include <QHelpEvent>
#include <QTest>
#include <QToolTip>

using finders::TfrmDup;
using namespace duptest;

namespace {

class DupSearchStateTest : public DupWindowTest {
protected:
    // Groups that the walk completes one after the other: folder gNN holds
    // x/sameNN.txt and y/sameNN.txt.
    void makeGroups(int n)
    {
        for (int i = 0; i < n; ++i) {
            const QString g = QString("g%1").arg(i, 2, 10, QChar('0'));
            drives.writeFile('C', g + "/x/same" + g + ".txt", "12345");
            drives.writeFile('C', g + "/y/same" + g + ".txt", "12345");
        }
    }
    static void bytesFromZero(TfrmDup& w) { setSize(w, "rbLarger", 0, 0, false); }
};

// Whether a hint shows when the mouse rests on the widget.
bool hintShows(QWidget* w)
{
    QToolTip::hideText();
    const QPoint p(3, 3);
    QHelpEvent e(QEvent::ToolTip, p, w->mapToGlobal(p));
    QApplication::sendEvent(w, &e);
    const bool shown = QToolTip::isVisible() && QToolTip::text() == w->toolTip();
    QToolTip::hideText();
    return shown;
}

}  // namespace

TEST_F(DupSearchStateTest, SearchingStateRefusesClosingAndLeavesItAfterwards)
{
    makeGroups(6);
    TfrmDup w;
    w.show();
    bytesFromZero(w);
    setMode(w, finders::mmFilename);

    struct Seen {
        bool searching = false;
        QStringList enabled;
        QStringList visible;
        Qt::CursorShape cursor = Qt::ArrowCursor;
        bool hints = true;
        bool closed = true;
        bool visibleAfterEsc = false;
        QStringList statuses;
    };
    Seen seen;
    int calls = 0;
    w.eventPump().observer = [&] {
        if (++calls != 3)
            return;
        seen.searching = w.searching();
        for (const char* name : {"btScan", "btClose", "pckDrive", "num1", "num2", "cbKB1", "cbWildCard", "rbLarger",
                                 "rbSmaller", "rbBetween", "cbDup", "btAbort"})
            if (find<QWidget>(w, name)->isEnabled())
                seen.enabled << name;
        seen.visible = visibleButtons(w);
        seen.cursor = find<QWidget>(w, "grid")->cursor().shape();
        seen.hints = w.hints().hintsShown();
        // The close box and Alt+F4 both arrive as a close event.
        seen.closed = w.close();
        QTest::keyClick(&w, Qt::Key_Escape);
        seen.visibleAfterEsc = w.isVisible();
        seen.statuses << w.statusText();
        snapshot(w, "frmdup-searching");
    };
    click(w, "btScan");
    EXPECT_GE(calls, 3);
    EXPECT_TRUE(seen.searching);
    EXPECT_EQ(seen.enabled, QStringList{"btAbort"});
    EXPECT_EQ(seen.visible, QStringList({"btScan", "btClose", "btAbort"}));
    EXPECT_EQ(seen.cursor, Qt::WaitCursor);
    EXPECT_FALSE(seen.hints);
    EXPECT_FALSE(seen.closed) << "the close box is refused";
    EXPECT_TRUE(seen.visibleAfterEsc) << "Esc and Alt+F4 are refused";
    ASSERT_EQ(seen.statuses.size(), 1);
    EXPECT_TRUE(seen.statuses[0].startsWith("C:\\")) << "the walk shows its folder: " << qPrintable(seen.statuses[0]);

    // After the search: everything back, and the window closes again.
    EXPECT_FALSE(w.searching());
    EXPECT_EQ(rows(w), 12);
    EXPECT_TRUE(w.hints().hintsShown());
    EXPECT_NE(find<QWidget>(w, "grid")->cursor().shape(), Qt::WaitCursor);
    for (const char* name : {"btScan", "btClose", "pckDrive", "num1", "cbKB1", "cbWildCard", "rbLarger", "cbDup"})
        EXPECT_TRUE(find<QWidget>(w, name)->isEnabled()) << name;
    EXPECT_TRUE(prompter.texts(Kind::Warning).isEmpty());
    QTest::keyClick(&w, Qt::Key_Escape);
    EXPECT_FALSE(w.isVisible()) << "Esc closes an idle window";
    EXPECT_EQ(w.result(), QDialog::Rejected);
}

TEST_F(DupSearchStateTest, HintsAreOffOnlyWhileSearching)
{
    makeGroups(3);
    TfrmDup w;
    w.show();
    QWidget* start = find<QWidget>(w, "btScan");
    QWidget* close = find<QWidget>(w, "btClose");
    if (!hintShows(close))
        GTEST_SKIP() << "this platform shows no tool tips";
    bytesFromZero(w);
    setMode(w, finders::mmFilename);
    bool shownDuring = true;
    bool othersDuring = false;
    QLabel outside;
    outside.setToolTip("not the window's");
    outside.show();
    w.eventPump().observer = [&] {
        shownDuring = hintShows(close);
        othersDuring = hintShows(&outside);
    };
    click(w, "btScan");
    EXPECT_FALSE(shownDuring);
    EXPECT_TRUE(othersDuring) << "only the window's hints are off";
    EXPECT_TRUE(hintShows(close));
    EXPECT_TRUE(hintShows(start));
}

TEST_F(DupSearchStateTest, AbortDuringTheWalkKeepsTheGroupsFoundSoFar)
{
    makeGroups(20);
    QStringList all;
    {
        TfrmDup full;
        full.show();
        bytesFromZero(full);
        setMode(full, finders::mmFilename);
        click(full, "btScan");
        all = paths(full);
        ASSERT_EQ(all.size(), 40);
    }

    prompter.clear();
    TfrmDup w;
    w.show();
    bytesFromZero(w);
    setMode(w, finders::mmFilename);
    int calls = 0;
    bool abortHid = false;
    w.eventPump().observer = [&] {
        if (++calls == 12) {
            click(w, "btAbort");
            abortHid = find<QWidget>(w, "btAbort")->isHidden();
        }
    };
    click(w, "btScan");
    EXPECT_TRUE(abortHid);
    EXPECT_EQ(prompter.texts(Kind::Warning), QStringList{"List incomplete ... aborted by user"});
    EXPECT_LT(calls, 40) << "the walk stopped";
    const int found = rows(w);
    EXPECT_GT(found, 0);
    EXPECT_LT(found, 40);
    EXPECT_EQ(found % 2, 0) << "whole groups";
    for (const QString& p : paths(w)) {
        EXPECT_TRUE(all.contains(p)) << qPrintable(p);
        EXPECT_TRUE(QFile::exists(drives.posix(p))) << qPrintable(p);
    }
    EXPECT_EQ(w.statusText(), QString::number(found) + " duplicates found");
    EXPECT_TRUE(prompter.texts(Kind::Info).isEmpty());
}

TEST_F(DupSearchStateTest, AbortBeforeAnythingWasFound)
{
    makeGroups(10);
    TfrmDup w(nullptr, false);
    w.show();
    bytesFromZero(w);
    w.eventPump().observer = [&] {
        if (!find<QWidget>(w, "btAbort")->isHidden())
            click(w, "btAbort");
    };
    click(w, "btScan");
    EXPECT_EQ(prompter.texts(Kind::Warning), QStringList{"List incomplete ... aborted by user"});
    EXPECT_LT(rows(w), 20);
    if (rows(w) == 0) {
        EXPECT_EQ(prompter.texts(Kind::Info), QStringList{"No files found."});
    }
}

TEST_F(DupSearchStateTest, ChecksumPassRunsAfterAnAbortedWalkAndCanBeAbortedItself)
{
    makeGroups(8);
    struct Row {
        const char* name;
        bool abortWalk;
        bool abortCrc;
        QStringList warnings;
    };
    const Row table[] = {
        {"walk aborted", true, false, {"List incomplete ... aborted by user"}},
        {"checksums aborted", false, true, {"CRC values incomplete ... aborted by user"}},
        {"both", true, true, {"List incomplete ... aborted by user", "CRC values incomplete ... aborted by user"}},
    };
    for (const Row& r : table) {
        SCOPED_TRACE(r.name);
        prompter.clear();
        prompter.queue(core::Answer::Yes);
        prompter.queue(core::Answer::No);
        TfrmDup w;
        w.show();
        bytesFromZero(w);
        int walkCalls = 0;
        bool abortShownForCrc = false;
        w.eventPump().observer = [&] {
            const bool crc = w.statusText().contains(" computing CRC for ");
            QWidget* abort = find<QWidget>(w, "btAbort");
            if (!crc && r.abortWalk && ++walkCalls == 6)
                click(w, "btAbort");
            if (crc && w.statusText().startsWith("1 of "))
                abortShownForCrc = !abort->isHidden();
            if (crc && r.abortCrc && w.statusText().startsWith("3 of "))
                click(w, "btAbort");
        };
        click(w, "btScan");
        EXPECT_EQ(prompter.texts(Kind::Warning), r.warnings);
        EXPECT_TRUE(abortShownForCrc) << "\"&Abort\" shows again for the checksum pass";
        ASSERT_GE(rows(w), 4);
        EXPECT_EQ(w.results().titles().last(), "CRC Values");
        const QStringList crcs = column(w, finders::dcType);
        if (r.abortCrc) {
            // The pass reads in disk order, so which two rows got theirs
            // depends on the inodes the files were given.
            EXPECT_EQ(crcs.count(QString()), crcs.size() - 2) << "two computed, the rest stay empty";
        } else {
            EXPECT_EQ(crcs.count(QString()), 0);
        }
    }
}

TEST(EventPump, RunsPendingEventsAtMostEvery20ms)
{
    finders::EventPump pump;
    qint64 now = 1000;
    pump.clock = [&] { return now; };
    int posted = 0;
    int ran = 0;
    int observed = 0;
    pump.observer = [&] { ++observed; };

    pump.start();
    struct Step {
        qint64 at;
        int runs;  // times pending events ran so far
    };
    // Started at 1000: nothing runs before 1020; then not again before
    // 20 ms after the last run.
    const Step steps[] = {{1000, 0}, {1019, 0}, {1020, 1}, {1030, 1}, {1039, 1}, {1040, 2}, {1100, 3}, {1119, 3}};
    int runs = 0;
    for (const Step& s : steps) {
        now = s.at;
        ++posted;
        QMetaObject::invokeMethod(qApp, [&] { ++ran; }, Qt::QueuedConnection);
        pump.pump();
        EXPECT_EQ(pump.runs(), s.runs) << "at " << s.at;
        if (s.runs > runs)
            EXPECT_EQ(ran, posted) << "a run empties the queue, at " << s.at;
        else
            EXPECT_LT(ran, posted) << "no run, at " << s.at;
        runs = s.runs;
    }
    EXPECT_EQ(observed, int(std::size(steps)));
    QCoreApplication::processEvents();  // what is still queued
}

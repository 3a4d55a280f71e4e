// The deletion panel before any operation: its controls, the Safe Harbor
// sorting at show, moving files between the lists, and the Reason texts.
#include "components/standbyprogress.h"
#include "gui/finders_testutil.h"
#include "gui/panel_fixture.h"
#include "support/localescope.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QLayout>
#include <QLocale>
#include <QProgressBar>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

using namespace panel_test;
using del::TfrmReallyDelete;

namespace {

TEST_F(PanelTest, CaptionControlsAndTexts)
{
    auto w = makePanel({file("free\\a.txt"), file("free\\b.txt")}, 1234567.89);
    EXPECT_EQ(w->windowTitle(), "Clean up the following files");
    for (const char* name : {"lb1", "lb2", "lblDelete", "lblSavings", "lblLeft", "lblRight", "btToAgainst",
                             "btMoveLeft", "btReason", "btZip", "btDelete", "btRecycle", "btClose", "pnlButtons",
                             "pnlProgress", "lblName", "bar", "Gauge1"})
        EXPECT_NE(w->findChild<QWidget*>(name), nullptr) << name;
    EXPECT_EQ(w->pages->tabText(0), "Files to be deleted");
    EXPECT_EQ(w->pages->tabText(1), "Safe Harbor - Do not delete these files");
    EXPECT_EQ(w->btDelete->text(), "&Delete all files");
    EXPECT_EQ(w->btDelete->toolTip(), "Delete the files shown above permanently.  Cannot be undeleted.");
    EXPECT_EQ(w->btRecycle->toolTip(), "Send to recycle bin.  Recycle bin can be emptied later.");
    EXPECT_EQ(w->btClose->toolTip(), "Cancel and close.  May cancel an operation in progress.");
    EXPECT_EQ(w->btToAgainst->text(), "Move files OFF to safe harbor");
    EXPECT_EQ(w->btReason->toolTip(), "Why the file is on the list of non-deleted files");

    testing_support::LocaleScope cLocale(QLocale::c());
    w->show();
    EXPECT_EQ(w->lblSavings->text(), "1,234,567 bytes");
    EXPECT_EQ(w->lblDelete->text(), "Delete - 2, Do NOT delete - 0");
    EXPECT_EQ(w->lblLeft->text(), "Deletion Panel - files to be deleted: 2");
    EXPECT_EQ(w->lblRight->text(), "Safe Harbor - files NOT to be deleted: 0");
    EXPECT_TRUE(w->btZip->isEnabled());
    EXPECT_TRUE(w->btDelete->isEnabled());
    EXPECT_TRUE(w->pnlButtons->isVisible());
    EXPECT_FALSE(w->pnlProgress->isVisible());
    EXPECT_EQ(w->pages->currentIndex(), 0);
    EXPECT_FALSE(w->tmWarning->isActive());
    w->reject();
}

TEST(PanelSavingsTest, CutBeforeTheLocalesDecimalSeparator)
{
    testing_support::LocaleScope restore{QLocale()};  // each row sets its own
    struct Row {
        QLocale locale;
        double bytes;
        QString text;
    };
    const Row rows[] = {
        {QLocale::c(), 0, "0"},
        {QLocale::c(), 999.996, "1,000"},
        {QLocale::c(), 1234567.25, "1,234,567"},
        {QLocale(QLocale::German, QLocale::Germany), 1234567.25, "1.234.567"},
        {QLocale(QLocale::French, QLocale::France), 1234.5, QLocale(QLocale::French).toString(1234)},
    };
    for (const Row& r : rows) {
        QLocale::setDefault(r.locale);
        EXPECT_EQ(TfrmReallyDelete::savingsText(r.bytes), r.text) << r.locale.name().toStdString();
    }
}

TEST_F(PanelTest, TheSamePathHandedOverTwiceIsListedOnceWithItsCase)
{
    auto w = makePanel({"C:\\free\\b.txt", "C:\\free\\A.txt", "C:\\free\\b.txt", "C:\\free\\a.txt"});
    EXPECT_EQ(w->deletionList(), QStringList({"C:\\free\\A.txt", "C:\\free\\a.txt", "C:\\free\\b.txt"}));
    w->setFiles({"C:\\free\\c.txt"});  // replaces the list
    EXPECT_EQ(w->deletionList(), QStringList({"C:\\free\\c.txt"}));
}

TEST_F(PanelTest, EverythingProtectedShowsTheSafeHarborPageHalfASecondAfterShowing)
{
    auto w = makePanel({file("BIN\\tool"), file("KEEP\\notes.txt")}, 20);
    w->show();
    EXPECT_EQ(w->deletionList(), QStringList());
    EXPECT_EQ(w->harborList(), QStringList({"C:\\BIN\\tool", "C:\\KEEP\\notes.txt"}));
    EXPECT_EQ(w->lblDelete->text(), "Delete - 0, Do NOT delete - 2");
    // The note comes from a one-shot timer of half a second, not at once.
    EXPECT_TRUE(w->tmWarning->isActive());
    EXPECT_TRUE(w->tmWarning->isSingleShot());
    EXPECT_EQ(w->tmWarning->interval(), 500);
    EXPECT_TRUE(infos().isEmpty());
    EXPECT_EQ(w->pages->currentIndex(), 0);

    QTRY_VERIFY_WITH_TIMEOUT(!infos().isEmpty(), 10000);
    EXPECT_EQ(infos(), QStringList({del::kAllProtectedMessage}));
    EXPECT_EQ(w->pages->currentIndex(), 1);

    // Nothing on the deletion panel: the operations only say so.
    w->btDelete->click();
    w->btRecycle->click();
    EXPECT_EQ(infos().mid(1), QStringList({del::kNoFilesMessage, del::kNoFilesMessage}));
    EXPECT_TRUE(questions().isEmpty());
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(log.usedRows(), 0);
    EXPECT_TRUE(exists("C:\\BIN\\tool"));
    w->reject();
}

// Records the standby calls and what the panel allowed meanwhile.
struct FakeStandby : comp::StandbyProgress {
    TfrmReallyDelete* panel = nullptr;
    QStringList calls;
    bool anythingEnabled = false;
    void begin(int maximum) override { calls << QString("begin %1").arg(maximum); }
    void step(int value) override
    {
        calls << QString("step %1").arg(value);
        for (QPushButton* b : {panel->btDelete, panel->btRecycle, panel->btZip, panel->btToAgainst,
                               panel->btMoveLeft, panel->btReason})
            anythingEnabled = anythingEnabled || b->isEnabled();
        // A click that arrives while sorting changes nothing.
        panel->btToAgainstClick();
        panel->DeleteAllClick();
    }
    void end() override { calls << "end"; }
};

TEST_F(PanelTest, SortingShowsTheStandbyBarAndLocksTheOperations)
{
    auto w = makePanel({file("free\\a"), file("BIN\\b"), file("free\\c")});
    w->lb1->item(0)->setSelected(true);
    FakeStandby standby;
    standby.panel = w.get();
    comp::setStandbyProgress(&standby);
    w->show();
    comp::setStandbyProgress(nullptr);
    EXPECT_EQ(standby.calls, QStringList({"begin 2", "step 0", "step 1", "step 2", "end"}));
    EXPECT_FALSE(standby.anythingEnabled);
    EXPECT_TRUE(questions().isEmpty());
    EXPECT_EQ(w->deletionList(), QStringList({"C:\\free\\a", "C:\\free\\c"}));
    EXPECT_EQ(w->harborList(), QStringList({"C:\\BIN\\b"}));
    EXPECT_TRUE(w->btDelete->isEnabled());
    w->reject();
}

TEST_F(PanelTest, MovingAllFilesBackAndForthSwitchesPages)
{
    auto w = makePanel({file("free\\a"), file("free\\b"), file("free\\c")});
    w->show();
    EXPECT_FALSE(w->btToAgainst->isEnabled());  // nothing selected yet
    w->lb1->item(1)->setSelected(true);
    EXPECT_TRUE(w->btToAgainst->isEnabled());
    w->btToAgainst->click();
    EXPECT_EQ(w->deletionList(), QStringList({"C:\\free\\a", "C:\\free\\c"}));
    EXPECT_EQ(w->harborList(), QStringList({"C:\\free\\b"}));
    EXPECT_EQ(w->pages->currentIndex(), 0);

    selectAll(w->lb1);
    w->btToAgainst->click();
    EXPECT_EQ(w->deletionList(), QStringList());
    EXPECT_EQ(w->harborList(), QStringList({"C:\\free\\a", "C:\\free\\b", "C:\\free\\c"}));
    EXPECT_EQ(w->pages->currentIndex(), 1);
    EXPECT_EQ(w->lblLeft->text(), "Deletion Panel - files to be deleted: 0");
    EXPECT_EQ(w->lblRight->text(), "Safe Harbor - files NOT to be deleted: 3");
    EXPECT_EQ(w->lblDelete->text(), "Delete - 0, Do NOT delete - 3");

    EXPECT_FALSE(w->btMoveLeft->isEnabled());
    EXPECT_FALSE(w->btReason->isEnabled());
    selectAll(w->lb2);
    EXPECT_TRUE(w->btMoveLeft->isEnabled());
    EXPECT_TRUE(w->btReason->isEnabled());
    w->btMoveLeft->click();
    EXPECT_EQ(w->deletionList(), QStringList({"C:\\free\\a", "C:\\free\\b", "C:\\free\\c"}));
    EXPECT_EQ(w->harborList(), QStringList());
    EXPECT_EQ(w->pages->currentIndex(), 0);
    // Moving changes nothing of the savings the caller handed over.
    EXPECT_EQ(w->PotentialSavings, 0);
    w->reject();
}

TEST_F(PanelTest, ReasonTexts)
{
    auto w = makePanel({file("usr\\lib\\x.so"), file("BIN\\ls"), file("free\\mine.txt")});
    w->show();
    w->lb1->item(0)->setSelected(true);
    w->btToAgainst->click();  // the user's own choice
    ASSERT_EQ(w->harborList(), QStringList({"C:\\BIN\\ls", "C:\\free\\mine.txt", "C:\\usr\\lib\\x.so"}));

    for (int i = 0; i < 3; ++i) {
        w->lb2->setCurrentRow(i);
        w->btReason->click();
    }
    EXPECT_EQ(infos(), QStringList({
                           "This file \"C:\\BIN\\ls\" is on the Safe Harbor List since the folder that it is "
                           "stored in is in the search path",
                           "This file \"C:\\free\\mine.txt\" is on the Safe Harbor List because you moved it here.",
                           "This file \"C:\\usr\\lib\\x.so\" is on the Safe Harbor List since the folder that it "
                           "is stored in is in the Windows/System folder",
                       }));
    w->reject();
}

TEST_F(PanelTest, ExactCaseDecidesWhatMoves)
{
    auto w = makePanel({file("free\\Same.txt"), file("free\\same.txt")});
    w->show();
    ASSERT_EQ(w->deletionList(), QStringList({"C:\\free\\Same.txt", "C:\\free\\same.txt"}));
    w->lb1->item(1)->setSelected(true);
    w->btToAgainst->click();
    EXPECT_EQ(w->deletionList(), QStringList({"C:\\free\\Same.txt"}));
    EXPECT_EQ(w->harborList(), QStringList({"C:\\free\\same.txt"}));
    w->reject();
}

}  // namespace

// At the smallest size and larger ones, on both pages, the two notes lie one
// below the other, each as tall as its lines need, in an area inside the
// window that no other control covers; where the panel is too small for all
// their lines they scroll, and at its first size they show whole.
TEST_F(PanelTest, TheNotesNeverOverlap)
{
    auto w = makePanel({file("free\\a"), file("BIN\\b")});
    w->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w.get()));
    EXPECT_EQ(w->minimumSize(), QSize(430, 324));
    const QSize needed = w->layout()->totalMinimumSize();
    EXPECT_TRUE(needed.width() <= 430 && needed.height() <= 324) << needed.width() << "x" << needed.height();
    const QSize first = w->size();
    auto inWindow = [&w](const QWidget* c) { return QRect(c->mapTo(w.get(), QPoint(0, 0)), c->size()); };
    for (const QSize size : {QSize(430, 324), QSize(431, 700), QSize(900, 330), first}) {
        w->resize(size);
        for (int page : {0, 1}) {
            w->pages->setCurrentIndex(page);
            // The notes' height follows their width one layout pass later.
            for (int pass = 0; pass < 3; ++pass)
                QApplication::processEvents();
            SCOPED_TRACE(QString("%1x%2 page %3").arg(w->width()).arg(w->height()).arg(page).toStdString());
            auto* area = w->findChild<QScrollArea*>(page ? "pnlHarborNotes" : "pnlDeleteNotes");
            ASSERT_NE(area, nullptr);
            const QList<QLabel*> notes = {w->findChild<QLabel*>(page ? "lblHarborNote" : "lblDeleteNote"),
                                          w->findChild<QLabel*>(page ? "lblHarborHowTo" : "lblDeleteHowTo")};
            for (QLabel* note : notes) {
                ASSERT_NE(note, nullptr);
                EXPECT_TRUE(area->isAncestorOf(note));
                EXPECT_GE(note->height(), note->heightForWidth(note->width())) << note->objectName().toStdString();
                EXPECT_LE(note->width(), area->viewport()->width());
            }
            EXPECT_FALSE(inWindow(notes[0]).intersects(inWindow(notes[1])));

            const QRect shown = inWindow(area->viewport());
            EXPECT_TRUE(w->rect().contains(shown));
            EXPECT_GE(shown.height(), 2 * area->fontMetrics().lineSpacing());
            for (QWidget* other : w->findChildren<QWidget*>()) {
                if (!other->isVisible() || other == area || area->isAncestorOf(other) || other->isAncestorOf(area))
                    continue;
                EXPECT_FALSE(inWindow(other).intersects(shown))
                    << other->metaObject()->className() << " " << other->objectName().toStdString();
            }
            if (size == first)
                EXPECT_FALSE(area->verticalScrollBar()->isVisible()) << "the notes show whole";
            if (size == QSize(430, 324))
                snapshot(*w, QString("panel-smallest-page%1").arg(page));
            if (size == first)
                snapshot(*w, QString("panel-first-page%1").arg(page));
        }
    }
    w->reject();
}

// Closed either way, the panel hands the keyboard back to the window that
// opened it, on the control that had it.
TEST_F(PanelTest, FocusGoesBackToTheOpener)
{
    for (bool operation : {false, true}) {
        SCOPED_TRACE(operation ? "after an operation" : "after Cancel");
        QDialog opener;
        new QLineEdit(&opener);
        auto* edit = new QLineEdit(&opener);  // not the first in the focus chain
        opener.show();
        opener.activateWindow();
        edit->setFocus();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&opener));
        const QString path = file(operation ? "free\\gone" : "free\\kept");
        finders_test::whenModal<del::TfrmReallyDelete>([&](del::TfrmReallyDelete& panel) {
            EXPECT_TRUE(QTest::qWaitForWindowActive(&panel));
            if (operation) {
                prompter.queue(core::Answer::Yes);
                panel.btDelete->click();
            } else {
                panel.btClose->click();
            }
        });
        {
            del::TfrmReallyDelete panel(&opener);
            panel.setSafeHarbor(harbor);
            panel.setLog(log);
            panel.setFiles({path});
            panel.exec();
        }
        EXPECT_TRUE(QTest::qWaitForWindowActive(&opener));
        EXPECT_EQ(QApplication::focusWidget(), edit);
    }
}
